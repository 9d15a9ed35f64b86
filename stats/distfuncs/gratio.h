// Regularised incomplete gamma ratios P(a, x) = gamma(a, x) / Gamma(a) and
// Q(a, x) = 1 - P(a, x), by the algorithm of DiDonato and Morris (ACM TOMS
// Algorithm 654): power series, continued fraction, asymptotic expansion,
// finite sums, error-function forms and Temme's uniform expansion, chosen by
// the size of a and x.
//
// gratio(a, x, ans, qans, ind): ans = P(a, x), qans = Q(a, x).  ind selects
// the accuracy: 0 about 14 significant digits, 1 about 6, any other value
// about 3.  ans = 2.0 signals an error (a or x negative or not a number,
// a = x = 0, infinite a and x, or an accuracy Temme's expansion cannot
// reach); qans is then left unchanged.  a = 0 gives P = 1 and x = 0 gives
// P = 0; positive a and x are computed even where their product underflows
// (P is then x^a / Gamma(a + 1), and Q about a E1(x) for tiny a).
// Tables are constants and working values locals: gratio is reentrant.
#ifndef VORDEL_STATS_DISTFUNCS_GRATIO_H
#define VORDEL_STATS_DISTFUNCS_GRATIO_H

namespace numlib {

void gratio(const double* a, const double* x, double* ans, double* qans, const int* ind);

// P(1/2, x) = erf(sqrt x) and Q(1/2, x) = erfc(sqrt x) for x >= 0, each tail
// from its own error function so that the smaller one keeps its digits.
void gratio_half(double x, double* p, double* q);

}  // namespace numlib

#endif
