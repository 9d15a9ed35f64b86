// The logarithm of the beta function and its pieces, as the incomplete beta
// routines need them:
//
//   bcorr(a0, b0)   del(a0) + del(b0) - del(a0 + b0) for a0, b0 >= 8, where
//                   del(x) = ln Gamma(x) - ((x - 0.5) ln x - x + 0.5 ln(2 pi))
//   algdiv(a, b)    ln(Gamma(b) / Gamma(a + b)), b >= 8
//   betaln(a0, b0)  ln Beta(a0, b0), a0 > 0, b0 > 0; not a number when either is
//   dlnbet(a0, b0)  the same as betaln
//   dbetrm(a, b)    the Stirling remainder of ln Beta(a, b):
//                   dstrem(max) + dstrem(min) - dstrem(a + b), a, b > 0
//
// Arguments are passed by address and only read.  Outside their domains
// the functions return whatever the arithmetic gives (dbetrm ends the
// process through dstrem when a or b is not positive).
#ifndef VORDEL_STATS_DISTFUNCS_LOG_BETA_H
#define VORDEL_STATS_DISTFUNCS_LOG_BETA_H

namespace numlib {

double bcorr(const double* a0, const double* b0);
double algdiv(const double* a, const double* b);
double betaln(const double* a0, const double* b0);
double dlnbet(const double* a0, const double* b0);
double dbetrm(const double* a, const double* b);

}  // namespace numlib

#endif
