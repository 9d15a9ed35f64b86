// Random variates of the procedural variate library, drawn from the current
// virtual generator of the combined generator (stats/varlib/com.h).
//
// Reals are single-precision floats.  Each routine is the published
// algorithm named at it; intermediate values are floats except where a
// formula is formed in double, as the algorithms were written.  The
// set-up caches of sgamma, genbet, ignbin and ignpoi are keyed by their
// parameters, so a draw depends only on its arguments and the generator's
// state.
//
// Arguments refused by a check (a NaN is refused by every check) make the
// routine write a fixed message to standard error and end the process with
// status 1.
#ifndef VORDEL_STATS_VARLIB_VARLIB_H
#define VORDEL_STATS_VARLIB_VARLIB_H

#include <cstdint>

namespace numlib {

// low + (high - low) x ranf(); one draw also when low = high.  A width
// high - low beyond the floats is formed in double.
// Refused: not low <= high, or an infinite bound.
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
// Refused: not dfn > 0, not dfd > 0, or an infinite one.
float genf(float dfn, float dfd);

// Noncentral F deviate (gennch(dfn, xnonc) / dfn) / (genchi(dfd) / dfd),
// with genf's overflow guard.
// Refused: not dfn > 1, not dfd > 0, not xnonc >= 0, or an infinite
// argument.
float gennf(float dfn, float dfd, float xnonc);

// Beta deviate in (0, 1): Cheng's algorithm BB when both parameters exceed
// 1, else BC (1978).  The set-up is redone (and the check run) when the
// pair differs from the previous call's.  Results too close to 0 or 1 for
// a float are 0 or 1.
// A first uniform of exactly 1 (ranf rounds its 63 largest integers to 1)
// is the limit of the candidate, the deviate 1 (0 with the shapes swapped):
// BB, whose acceptance tends to nothing there, draws again; BC accepts it
// with the limits of its tests.
// Refused: not aa > 0, not bb > 0, an infinite parameter, or one below
// 1e-37 or above 2^17 = 131072: outside those bounds the single-precision
// algorithms no longer draw the beta law.
float genbet(float aa, float bb);

// num with the sign of sign; num unchanged when sign is 0.
float fsign(float num, float sign);

// Discrete and multivariate variates; counts and deviates are 64-bit
// integers.  The routines that stop through ftnstop
// (stats/distfuncs/ftnstop.h) write their message and a newline, also with
// status 1.

// Uniform integer in low..high: low + (ignlgi() - 1) mod (high - low + 1),
// rejecting draws above the largest multiple of high - low + 1 that does
// not exceed 2147483561 (that multiple itself is accepted, so low is a
// shade likelier, by about 2^-31); for the widest range, high - low =
// 2147483561, every draw is accepted.  low = high returns low without
// drawing.  Refused: low > high, or high - low > 2147483561.
std::int64_t ignuin(std::int64_t low, std::int64_t high);

// Permutes iarray[0..larray-1] in place: for i = 1..larray, element i swaps
// with element ignuin(i, larray) (1-based).  larray < 1 does nothing.
void genprm(std::int64_t* iarray, int larray);

// Binomial deviate of n trials with success probability pp.  With
// p = min(pp, 1 - pp): inversion when n p < 30 (at most 111 per attempt),
// else Kachitvichyanukul and Schmeiser's algorithm BTPE (1988); pp > 0.5
// returns n minus a draw with p.  Refused: n < 0, pp outside [0, 1], or,
// when n p >= 30, n above 2^46 or n p above 2^23, where BTPE in single
// precision no longer draws the binomial law (only every second count once
// n p passes 2^24).
std::int64_t ignbin(std::int64_t n, float pp);

// Poisson deviate of mean mu: Ahrens and Dieter's algorithm PD (1982) for
// 10 <= mu <= 2^23, table inversion (35 cumulative terms) below; above 2^23
// the sum of PD deviates of mean 2^23 and one deviate of the mean left over,
// which has the Poisson law of mean mu exactly (PD alone works in single
// precision, whose integers are exact only up to 2^24: from a mean of 2^24
// on it would return only every second count).  Draws at means up to 2^23
// are those of PD and the table alone.  A mean <= 0 gives 0.
// Refused: mu not a number, infinite, or above 2^33, which bounds the cost
// to 1024 PD draws.
std::int64_t ignpoi(float mu);

// Negative binomial deviate: failures before the n-th success with success
// probability p, as ignpoi(gengam(p / (1 - p), n)); n = 0 gives 0 without
// drawing.  Stops through ftnstop: n < 0, p <= 0 or p >= 1 (or not a
// number), or, decided from n and p alone, when the gamma-distributed
// Poisson mean could pass ignpoi's bound 2^33 with a probability above
// 2^-30: refused when n + sqrt(2 n t) + t > 2^33 p / (1 - p), t = 30 ln 2,
// the point a gamma variate of shape n and rate 1 passes with probability at
// most e^-t.  So n = 1 is refused for p below 3.29e-9, n = 1000 below
// 1.43e-7, and a large n where p / (1 - p) is below about n / 2^33.  The
// rare mean beyond 2^33 is drawn all the same, as a longer sum.
std::int64_t ignnbn(std::int64_t n, float p);

// Multinomial counts ix[0..ncat-1] of n events over ncat categories with
// probabilities p[0..ncat-2] (the last takes what is left; p[ncat-1] is not
// read), by successive binomials: ix[i] = ignbin(events left, p[i] / share
// left), stopping once no event is left.  Stops through ftnstop: n < 0,
// ncat <= 1, some p[i] < 0 or > 1 or not a number (tested in index order),
// or p[0] + ... + p[ncat-2] > 0.99999; and, before a binomial draw that
// ignbin would refuse for the events left, the same way.
void genmul(std::int64_t n, const float* p, std::int64_t ncat, std::int64_t* ix);

// Set-up of genmn for the mean meanv[0..p-1] and the p x p covariance covm
// (column order, leading dimension p; overwritten by its Cholesky factor):
// parm, of p (p + 3) / 2 + 1 floats, gets p, the mean, and the rows of the
// upper-triangular R with covm = R'R (row i from column i on).
// Refused: p <= 0, or covm not positive definite (after the mean is
// copied).
void setgmn(const float* meanv, float* covm, std::int64_t p, float* parm);

// Multivariate normal vector x[0..p-1] = mean + R' z from the parm of
// setgmn, z being p snorm() draws kept in work[0..p-1].  p < 1 does nothing.
void genmn(const float* parm, float* x, float* work);

}  // namespace numlib

#endif
