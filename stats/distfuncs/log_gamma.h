// The logarithm of the gamma function and its pieces, as the distribution
// routines need them:
//
//   gamln1(a)     ln Gamma(1 + a), for -0.2 <= a <= 1.25
//   gamln(a)      ln Gamma(a), a > 0
//   dlngam(a)     the same as gamln
//   alngam(x)     ln Gamma(x), x > 0, by a rational function below 6 and
//                 Stirling's series above (an approximation of its own,
//                 apart from gamln's); not a number for not a number
//   gsumln(a, b)  ln Gamma(a + b), for 1 <= a <= 2 and 1 <= b <= 2
//   dstrem(z)     the Stirling remainder
//                 ln Gamma(z) - ((z - 0.5) ln z - z + ln sqrt(2 pi)), z > 0;
//                 a non-positive z ends the process (message on standard
//                 error, exit status 1)
//
// Arguments are passed by address and only read.  Outside their domains
// the functions return whatever the arithmetic gives.
#ifndef VORDEL_STATS_DISTFUNCS_LOG_GAMMA_H
#define VORDEL_STATS_DISTFUNCS_LOG_GAMMA_H

namespace numlib {

double gamln1(const double* a);
double gamln(const double* a);
double dlngam(const double* a);
double alngam(const double* x);
double gsumln(const double* a, const double* b);
double dstrem(const double* z);

}  // namespace numlib

#endif
