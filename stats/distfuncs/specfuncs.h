// Small special functions shared by the incomplete gamma and incomplete
// beta ratios, after DiDonato and Morris (ACM TOMS Algorithm 654).
//
//   gam1(a)       1/Gamma(a + 1) - 1, for -0.5 <= a <= 1.5
//   rlog(x)       x - 1 - ln x
//   rexp(x)       e^x - 1
//   erf1(x)       the error function
//   erfc1(ind, x) erfc(x) when ind = 0, e^(x^2) erfc(x) otherwise
//   exparg(l)     0.99999 times the largest w with e^w finite (l = 0),
//                 otherwise the most negative such w
//   Xgamm(a)      Gamma(a), or 0.0 when it cannot be computed (a pole,
//                 overflow, |a| >= 1000)
//   rcomp(a, x)   x^a e^-x / Gamma(a), for a > 0 and x >= 0: x times the
//                 density of the gamma distribution with shape a at x
//
// Arguments are passed by address and only read.  Tables are constants and
// working values locals: every function is reentrant.
#ifndef VORDEL_STATS_DISTFUNCS_SPECFUNCS_H
#define VORDEL_STATS_DISTFUNCS_SPECFUNCS_H

namespace numlib {

double gam1(const double* a);
double rlog(const double* x);
double rexp(const double* x);
double erf1(const double* x);
double erfc1(const int* ind, const double* x);
double exparg(const int* l);
double Xgamm(const double* a);
double rcomp(const double* a, const double* x);

}  // namespace numlib

#endif
