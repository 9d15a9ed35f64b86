// The incomplete beta ratio at a quotient x = d / (d + u v), as the t and F
// distributions form it, for arguments where that quotient cannot be formed
// directly: u v or the sum overflows, or x underflows to 0.
//
// bratio_quotient(a, b, d, u, v, w, w1), d, u, v positive and finite:
// w = I_x(a, b) and w1 = 1 - I_x(a, b).  d and u v are first scaled by one
// power of two, exactly, so that neither overflows; where x then lies in
// the normal range the ratio comes from bratio at it, x and 1 - x each
// formed directly.  Below that range, where b x is negligible, I_x(a,
// b) is the first term of its power series, x^a / (a B(a, b)); the next is
// smaller by a factor of about b x.  It is therefore (x / x1)^a I_x1(a, b)
// for x1 the smallest normal double, with ln x = ln d - ln u - ln v, and
//   1 - I_x(a, b) = (1 - (x / x1)^a) + (x / x1)^a (1 - I_x1(a, b)),
// two terms of one sign, keeps its digits where it is small.  This holds
// while b x1 is negligible, b up to about 1e292; beyond, w and w1 carry a
// relative error up to about a b x1 / (a + 1).
#ifndef VORDEL_STATS_DISTFUNCS_BETA_QUOTIENT_H
#define VORDEL_STATS_DISTFUNCS_BETA_QUOTIENT_H

namespace numlib {

void bratio_quotient(double a, double b, double d, double u, double v, double* w, double* w1);

}  // namespace numlib

#endif
