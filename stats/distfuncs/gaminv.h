// The inverse of the incomplete gamma ratio P(a, x) of gratio.h, after
// DiDonato and Morris (ACM TOMS Algorithm 654): a first approximation
// chosen by the size of a and of the probabilities, then third-order
// Schroeder steps on the smaller of p and q, aiming at about ten
// significant digits.
//
// gaminv(a, x, x0, p, q, ierr): x receives the value with P(a, x) = p,
// q = 1 - p given by the caller.  x0 > 0 is a start for the iteration in
// place of the first approximation; any other x0 (callers pass -1.0)
// asks for none.  On return ierr is
//    0     the first approximation was accepted without iterating (also
//          for p = 0, which gives x = 0, q = 0, which gives the largest
//          double, and a = 1, which is solved directly);
//    1-20  the number of steps taken;
//   -2     a <= 0 or not a number (x = 0);
//   -3     no first approximation could be formed (x = 0);
//   -4     p + q differs from 1 by more than the machine epsilon, or one
//          of them is not a number (x = 0);
//   -6     20 steps did not converge (x holds the last step);
//   -7     a step gave x <= 0 (x holds that value);
//   -8     the accuracy cannot be reached: p (or q) at the bottom of the
//          double range, x a relative machine epsilon or two from a when
//          a is huge, or an underflow on the way (x holds the last
//          approximation, or the largest double).
// Tables are constants and working values locals: gaminv is reentrant.
#ifndef VORDEL_STATS_DISTFUNCS_GAMINV_H
#define VORDEL_STATS_DISTFUNCS_GAMINV_H

namespace numlib {

void gaminv(const double* a, double* x, const double* x0, const double* p, const double* q,
            int* ierr);

}  // namespace numlib

#endif
