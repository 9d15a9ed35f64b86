// The expansions from which bratio (bratio.h) assembles the incomplete beta
// ratio I_x(a, b), and their front factors.  Each is valid on the region
// where bratio calls it (given below); elsewhere it returns whatever its
// arithmetic gives.  y is 1 - x, passed separately so that it can be exact.
//
//   bpser(a, b, x, eps)           I_x(a, b) by its power series; for b <= 1
//                                 or b x <= 0.7
//   bup(a, b, x, y, n, eps)       I_x(a, b) - I_x(a + n, b), n >= 1 whole
//   bfrac(a, b, x, y, lambda, eps)
//                                 I_x(a, b) by continued fraction, a, b > 1,
//                                 lambda = (a + b) y - b
//   bgrat(a, b, x, y, w, eps, ierr)
//                                 adds I_x(a, b) to w by the asymptotic
//                                 expansion for large a (>= 15) and b <= 1;
//                                 ierr 0, or 1 when the expansion cannot be
//                                 formed (w is then left as it was)
//   basym(a, b, lambda, eps)      I_x(a, b) by the asymptotic expansion for
//                                 large a and b, lambda = (a + b) y - b
//   apser(a, b, x, eps)           I_x(a, b) for very small a:
//                                 a <= min(eps, eps b), b x <= 1, x <= 0.5
//   fpser(a, b, x, eps)           I_x(a, b) for very small b:
//                                 b < min(eps, eps a), x <= 0.5
//   brcomp(a, b, x, y)            x^a y^b / Beta(a, b)
//   brcmp1(mu, a, b, x, y)        e^mu x^a y^b / Beta(a, b), without the
//                                 early 0 of brcomp at x = 0 or y = 0
//   grat1(a, x, r, p, q, eps)     the incomplete gamma ratios p = P(a, x),
//                                 q = Q(a, x) for a <= 1, given
//                                 r = e^-x x^a / Gamma(a)
//
// eps is the accuracy sought.  Arguments are passed by address; inputs are
// only read.  Tables are constants and working values locals: every
// function is reentrant.  A not-a-number input makes every loop that runs
// to a tolerance stop at once.
#ifndef VORDEL_STATS_DISTFUNCS_BETA_PIECES_H
#define VORDEL_STATS_DISTFUNCS_BETA_PIECES_H

namespace numlib {

double bpser(const double* a, const double* b, const double* x, const double* eps);
double bup(const double* a, const double* b, const double* x, const double* y, const int* n,
           const double* eps);
double bfrac(const double* a, const double* b, const double* x, const double* y,
             const double* lambda, const double* eps);
void bgrat(const double* a, const double* b, const double* x, const double* y, double* w,
           const double* eps, int* ierr);
double basym(const double* a, const double* b, const double* lambda, const double* eps);
double apser(const double* a, const double* b, const double* x, const double* eps);
double fpser(const double* a, const double* b, const double* x, const double* eps);
double brcomp(const double* a, const double* b, const double* x, const double* y);
double brcmp1(const int* mu, const double* a, const double* b, const double* x, const double* y);
void grat1(const double* a, const double* x, const double* r, double* p, double* q,
           const double* eps);

}  // namespace numlib

#endif
