// The parts of the saddle-point forms of the binomial and negative binomial
// probabilities: the tail of Stirling's series and the deviance.
//
// Written with them, a probability such as C(n, m) p^m (1 - p)^(n - m) is a
// sum of small terms (the tails, the deviances and half the logarithm of a
// variance), where the log-gamma values and the logarithms of n, m and p
// that the plain formula adds would cancel to a small remainder and leave
// it the roundings of the large terms.
#ifndef VORDEL_RANDOM_SADDLE_POINT_H
#define VORDEL_RANDOM_SADDLE_POINT_H

constexpr double two_pi = 6.283185307179586;

// From here on stirling_tail cuts the series after its fourth term, within
// 1 / (1188 y^9) < 5e-17 of the tail.
constexpr double stirling_from = 30;

// Stirling's series without its leading terms, for y > 0:
// ln Gamma(y) - ((y - 1/2) ln y - y + ln(2 pi) / 2), which is also
// ln Gamma(y + 1) - ((y + 1/2) ln y - y + ln(2 pi) / 2).  From stirling_from
// on, four terms; from 8 on, eight terms, within 8e-17 (the ninth term,
// 43867 / (244188 y^17)); below 8, from ln_gamma, within 5e-15 (the
// roundings of ln Gamma(y), up to 8.5).  The errors are absolute: the tail
// enters a logarithm.
double stirling_tail(double y);

// D(x, M) = x ln(x / M) + M - x for x > 0 and M = x - d > 0, from the
// difference d itself.  Near M = x, where the two parts cancel, as the
// series in v = d / (x + M): d v + 2 x (v^3 / 3 + v^5 / 5 + ...).
double deviance(double x, double d);

#endif
