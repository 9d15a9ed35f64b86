// The random-number library's log-gamma and gamma functions.
//
//   ln_gamma(x, sign)    ln |Gamma(x)|, with sign set to the sign of Gamma(x)
//   ln_gamma(x)          ln Gamma(x) where Gamma(x) > 0
//   ln_gamma_gt_1(x)     ln Gamma(x) for x >= 0.9
//   gamma_series(z)      the rational sum of the Lanczos approximation
//   ln_gamma_lanczos(x)  ln Gamma(x) by the Lanczos formula alone, no checks
//   rbd_gamma(x)         Gamma(x)
//
// Each range has its method: Taylor series around 1 on [0.9, 1.1) and
// around 2 on [1.9, 2.1), Stirling's series from 100 up, the Lanczos formula
// elsewhere above 0.9, and below 0.9 the reflection formula, but for
// 0 < x < 0.2, where Gamma(x) = Gamma(1 + x) / x keeps the digits that the
// reflection's sine loses (about 1e-16 / x of Gamma(x)).  Below 0.2,
// Gamma(x) and ln Gamma(x) are within 2.2e-16 of their values, relative;
// from 0.2 to 0.9, Gamma(x) within 1.3e-15 relative and ln Gamma(x) within
// 1.4e-15 absolute.  Sums are carried in extended precision.
// ln_gamma(1) and ln_gamma(2) are exactly 0.
//
// Errors throw newmat's Invalid_argument: "Non-positive integer argument "
// (a pole), "Negative gamma value " (ln_gamma(x) where Gamma(x) < 0),
// "Argument less than 1" (ln_gamma_gt_1 below 0.9), and "Not-a-number
// argument " for a NaN argument of ln_gamma and rbd_gamma, which has no
// range to take a method from.  ln_gamma, ln_gamma_gt_1 and rbd_gamma each
// push a newmat Tracer with their name for the duration of the call.
#ifndef VORDEL_RANDOM_LOG_GAMMA_H
#define VORDEL_RANDOM_LOG_GAMMA_H

double ln_gamma(double x, int& sign);
double ln_gamma(double x);
double ln_gamma_gt_1(double x);
double gamma_series(long double z);
double ln_gamma_lanczos(double x);
double rbd_gamma(double x);

#endif
