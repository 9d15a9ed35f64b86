// The regularised incomplete beta function ratio I_x(a, b) and its
// complement, by the algorithm of DiDonato and Morris (ACM TOMS Algorithm
// 708): power series, continued fraction, asymptotic expansions and shifts
// of a or b by whole numbers, chosen by the size of a, b and x.  One of the
// pair is computed directly and the other as 0.5 + (0.5 - that value);
// exchanging (a, x) with (b, y) decides which tail is the direct one.  The
// pieces are declared in beta_pieces.h.
//
// bratio(a, b, x, y, w, w1, ierr), y = 1 - x given by the caller so that it
// can be exact: w = I_x(a, b), w1 = 1 - I_x(a, b) and the status ierr
//   0  w and w1 computed
//   1  a or b negative, infinite or not a number
//   2  a = b = 0
//   3  x outside [0, 1] or not a number
//   4  y outside [0, 1] or not a number
//   5  x + y differs from 1 by more than 3 machine epsilons
//   6  x = 0 and a = 0
//   7  y = 0 and b = 0
// w and w1 are set to 0 before the checks, so every refusal leaves both 0.
// Accuracy is about 14 significant digits in each of w and w1; a tail
// below the smallest normal double (2.2e-308) may lose digits or come out 0.
// Where a + b exceeds the largest double (both then above 2^970), the ratio
// is the step at its mean a / (a + b), to which its width (below 1e-146 of
// the mean) is lost: w = 0 below the mean, 1 above it and 1/2 at it.
// Tables are constants and working values locals: bratio is reentrant.
#ifndef VORDEL_STATS_DISTFUNCS_BRATIO_H
#define VORDEL_STATS_DISTFUNCS_BRATIO_H

namespace numlib {

void bratio(const double* a, const double* b, const double* x, const double* y, double* w,
            double* w1, int* ierr);

// True when bratio refused its arguments, read from its two results alone
// (both 0 on a refusal; they sum to 1 on success): for callers that pass
// checked arguments and do not keep ierr, such as an infinite shape, which
// passes a distribution function's checks.
inline bool bratio_refused(double w, double w1) { return !(w + w1 > 0.5); }

}  // namespace numlib

#endif
