// Random variates of the procedural variate library, drawn from the current
// virtual generator of the combined generator (stats/com.h).
//
// Reals are single-precision floats.  Each routine is the published
// algorithm named at it; intermediate values are floats except where a
// formula is formed in double, as the algorithms were written.  The
// set-up caches of sgamma and genbet are keyed by their parameters, so a
// draw depends only on its arguments and the generator's state.
//
// Arguments refused by a check (a NaN is refused by every check) make the
// routine write a fixed message to standard error and end the process with
// status 1.
#ifndef VORDEL_STATS_VARLIB_VARLIB_H
#define VORDEL_STATS_VARLIB_VARLIB_H

namespace numlib {

// low + (high - low) x ranf(); one draw also when low = high.
// Refused: not low <= high.
float genunf(float low, float high);

// Standard normal deviate: Ahrens and Dieter's method FL (1973), 32
// intervals.
float snorm();

// sd x snorm() + av; nothing checked.
float gennor(float av, float sd);

// Standard exponential deviate: Ahrens and Dieter's algorithm SA (1972).
float sexpo();

// av x sexpo(); nothing checked.
float genexp(float av);

// Standard gamma deviate of shape a: algorithm GS (Ahrens and Dieter 1974)
// for a < 1, GD (Ahrens and Dieter 1982) for a >= 1.  Refused: not a > 0.
float sgamma(float a);

// Gamma deviate sgamma(r) / a: a is the rate, r the shape; nothing checked
// beyond sgamma's check of r.
float gengam(float a, float r);

// Chi-square deviate 2 sgamma(df / 2).  Refused: not df > 0.
float genchi(float df);

// Noncentral chi-square deviate genchi(df - 1) + (snorm() + sqrt(xnonc))^2,
// drawn in that order.  Refused: not df > 1, or not xnonc >= 0.
float gennch(float df, float xnonc);

// F deviate (genchi(dfn) / dfn) / (genchi(dfd) / dfd).  When the
// denominator is at most 9.999999999998E-39 times the numerator it writes a
// warning to standard error and returns 1.0E38.
// Refused: not dfn > 0, or not dfd > 0.
float genf(float dfn, float dfd);

// Noncentral F deviate (gennch(dfn, xnonc) / dfn) / (genchi(dfd) / dfd),
// with genf's overflow guard.
// Refused: not dfn > 1, not dfd > 0, or not xnonc >= 0.
float gennf(float dfn, float dfd, float xnonc);

// Beta deviate in (0, 1): Cheng's algorithm BB when both parameters exceed
// 1, else BC (1978).  The set-up is redone (and the check run) when the
// pair differs from the previous call's.
// Refused: not aa > 0, not bb > 0, or an infinite parameter.
float genbet(float aa, float bb);

// num with the sign of sign; num unchanged when sign is 0.
float fsign(float num, float sign);

}  // namespace numlib

#endif
