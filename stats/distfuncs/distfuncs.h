// Cumulative distribution functions and their inverses: the one public
// header of the distribution functions, one implementation file per family
// (chisq.cpp, normal.cpp, noncentral_chisq.cpp, ...).
//
// Every argument is passed by address.  `which` selects what is computed
// from the others; only the sought quantities, status and bound are written.
// `status` is 0 on success and `bound` reports the limit that was violated
// or reached on failure:
//   -1       which out of range (bound 1 when too small, else the largest which)
//   -k       the k-th argument out of its domain or not a number (bound the
//            violated limit); the sought quantity is not checked
//    1, 2    the search ended at the lower or upper end of its range (bound
//            that end)
//    3       P + Q differs from 1 by more than 3 machine epsilons
//    4       the second complementary pair (X + Y, PR + OMPR) likewise
//   10       an inner routine reported an error (bound not written)
// The checks are in cdf_checks.h and the inverse searches in search_loops.h.
// The searches reach tails down to the smallest double; they stop within a
// relative 1e-8 of the answer or an absolute 1e-50, whichever is larger, so
// an answer below about 1e-42 has fewer correct digits.
// Computing P and Q (which 1) keeps nothing in static storage and is
// reentrant; an inverse case runs the one search engine of the process
// (search.h), so one at a time.
#ifndef VORDEL_STATS_DISTFUNCS_DISTFUNCS_H
#define VORDEL_STATS_DISTFUNCS_DISTFUNCS_H

namespace numlib {

// Chi-square distribution: which 1 computes P and Q from X and DF, 2 X from
// P, Q and DF, 3 DF from P, Q and X.  X >= 0, DF > 0 (any real), P in
// [0, 1], Q in (0, 1]; for which 1, P and Q are neither read nor checked.
// The inverses search from 5.0 to relative accuracy 1e-8, X in [0, 1e300]
// and DF in [1e-300, 1e300].  P and Q keep their digits at the ends: a tiny
// DF with a tiny X gives P near 1 and a Q of order DF.
void cdfchi(int* which, double* p, double* q, double* x, double* df, int* status, double* bound);

// cum = P and ccum = Q of the chi-square distribution with df degrees of
// freedom at x (cum = 2.0 when the incomplete gamma ratio fails).
void cumchi(const double* x, const double* df, double* cum, double* ccum);

// Gamma distribution with density proportional to t^(SHAPE-1) e^(-SCALE t)
// (SCALE a rate): which 1 computes P and Q from X, SHAPE and SCALE, 2 X, 3
// SHAPE and 4 SCALE from P, Q and the other two.  X >= 0 (X > 0 for which
// 4), SHAPE > 0, SCALE > 0, P in [0, 1], Q in (0, 1]; X, SHAPE and SCALE
// finite (infinity refused with the largest double as bound).  X and SCALE
// come from the inverse incomplete gamma ratio (gaminv.h), to relative
// accuracy 1e-10; an error of it, or an answer beyond the largest double
// (X for a SCALE below about 1e-308, SCALE for such an X), is status 10 and
// leaves the answer unwritten.  SHAPE is searched from 5.0 over
// [1e-300, 1e300] to relative accuracy 1e-8.  Where X SCALE underflows
// (below 2.2e-308 and not exact, or 0 though X > 0), P and Q (which 1 and
// 3) are formed from SHAPE (ln X + ln SCALE), P being
// (X SCALE)^SHAPE / Gamma(SHAPE + 1) there.
void cdfgam(int* which, double* p, double* q, double* x, double* shape, double* scale, int* status,
            double* bound);

// cum = P(a, x) and ccum = Q(a, x) of the incomplete gamma ratio, x being
// X times SCALE and a SHAPE: 0 and 1 for x <= 0 (cum = 2.0 when the ratio
// fails).
void cumgam(const double* x, const double* a, double* cum, double* ccum);

// Poisson distribution extended to real S: which 1 computes P (at most S
// events) and Q from S and XLAM (the mean), 2 S and 3 XLAM from P, Q and
// the other.  S >= 0, XLAM >= 0, P in [0, 1], Q in (0, 1].  The inverses
// search from 5.0 over [0, 1e300] to relative accuracy 1e-8.  An error of
// the incomplete gamma ratio is status 10.
void cdfpoi(int* which, double* p, double* q, double* s, double* xlam, int* status, double* bound);

// cum = Q(s + 1, xlam) and ccum = P(s + 1, xlam) of the incomplete gamma
// ratio: for whole s the probabilities of at most s and of more than s
// events with mean xlam; 1 and 0 for xlam <= 0 (ccum = 2.0 when the ratio
// fails).
void cumpoi(const double* s, const double* xlam, double* cum, double* ccum);

// Normal distribution: which 1 computes P and Q from X, MEAN and SD, 2 X
// from P, Q, MEAN and SD, 3 MEAN from P, Q, X and SD, 4 SD from P, Q, X and
// MEAN.  P and Q in (0, 1]; MEAN finite, SD > 0 and finite; X any number
// for which 1 (an infinite X gives P = 0 or 1) and finite for which 3 and
// 4.  Not-a-number is refused with bound 0, an infinity with the largest
// double of its sign.  No search: the inverses come from dinvnr.
// (X - MEAN)/SD, SD z + MEAN and X - SD z are formed without overflow in
// between: an X or MEAN beyond the largest double is status 10 and is not
// written.  Which 4 refuses, with status -6 and bound 0, the cases where no
// positive SD fits: X = MEAN, P = Q = 1/2, X - MEAN and the quantile of
// opposite signs, or an SD beyond the largest double.
void cdfnor(int* which, double* p, double* q, double* x, double* mean, double* sd, int* status,
            double* bound);

// result = P(Z <= arg) and ccum = 1 - result for a standard normal Z
// (Cody's rational Chebyshev approximations); values below the smallest
// normal double are flushed to 0, and |arg| > 38 gives the limits 0 and 1.
void cumnor(const double* arg, double* result, double* ccum);

// The x with P(Z <= x) = p, by Newton's method from stvaln on the smaller
// of p and q = 1 - p; after 100 steps without convergence, the start value.
double dinvnr(const double* p, const double* q);

// A starting approximation of the normal quantile at p in (0, 1) (Odeh and
// Evans).
double stvaln(const double* p);

// ln P(Z <= -|x|) for |x| >= 5, by the first 12 terms of the asymptotic
// series; a smaller |x| ends the process (message on standard error, exit
// status 1).
double dlanor(const double* x);

// Noncentral chi-square distribution: which 1 computes P and Q from X, DF
// and PNONC, 2 X, 3 DF and 4 PNONC from P and the other two.  X >= 0,
// DF > 0, 0 <= PNONC <= 1e5 (bound 1e5 above: beyond it the sums of cumchn
// can leave P more than 1e-3 off), P in [0, 1) (bound 0.9999999999999999
// above); Q is neither read nor checked, only written by which 1.  The
// inverses match P and search from 5.0: X in [0, 1e300], DF in
// [1e-300, 1e300], PNONC in [0, 10000] (status 1 reports bound 1e-300 for
// DF and PNONC).  A computed P outside [0, 1] beyond rounding (an infinite
// DF) is status 10.
void cdfchn(int* which, double* p, double* q, double* x, double* df, double* pnonc, int* status,
            double* bound);

// cum = P and ccum = 1 - P of the noncentral chi-square distribution at x
// with df degrees of freedom and noncentrality pnonc: the Poisson-weighted
// sum of central distributions, summed outward from the central term until
// a term falls below 1e-5 of the sum, with at most 1001 terms each way.
// The accuracy is absolute only: the error in P grows with pnonc, to about
// 3e-4 at 1e4 and 9.3e-4 at 1e5, and beyond, where the 1001 terms no longer
// reach, fast (0.16 at 1e6).  A sum below 1e-20 ends once its terms no
// longer rise, so that a tiny central term (x small beside df + pnonc)
// still leads to the large terms below it; where the central term's
// density underflows, the central P of each term below is computed apart.
// The central distribution at pnonc <= 1e-10.
void cumchn(const double* x, const double* df, const double* pnonc, double* cum, double* ccum);

// Beta distribution: which 1 computes P and Q from X, Y, A and B, 2 X and Y
// from P, Q, A and B, 3 A from P, Q, X, Y and B, 4 B from P, Q, X, Y and A.
// P, Q, X, Y in [0, 1] with P + Q = 1 and X + Y = 1; A > 0, B > 0.  The
// inverses match the smaller of P and Q.  Which 2 runs the zero finder on
// [0, 1] over X (Y when Q is the smaller tail), keeping the other member its
// complement; which 3 and 4 search from 5.0 over [1e-300, 1e300].  Status
// 10: the incomplete beta ratio refused the shapes (an infinite A or B).
void cdfbet(int* which, double* p, double* q, double* x, double* y, double* a, double* b,
            int* status, double* bound);

// cum = I_x(a, b) and ccum = 1 - I_x(a, b), the beta distribution at x with
// y = 1 - x given by the caller: 0 and 1 for x <= 0, else 1 and 0 for
// y <= 0, else the incomplete beta ratio (bratio), whose status is not
// read: a refused argument leaves cum = ccum = 0.
void cumbet(const double* x, const double* y, const double* a, const double* b, double* cum,
            double* ccum);

// F distribution: which 1 computes P and Q from F, DFN and DFD, 2 F, 3 DFN
// and 4 DFD from P, Q and the other two.  F >= 0, DFN > 0, DFD > 0, P in
// [0, 1], Q in (0, 1], P + Q = 1.  The inverses match the smaller of P and
// Q and search from 5.0: F in [0, 1e300], DFN and DFD in [1e-300, 1e300].
// P need not be monotone in DFN or DFD; where it is not, their search may
// end at a limit of its range or at another solution.  Status 10: the
// incomplete beta ratio refused its arguments (an infinite DFN or DFD).
void cdff(int* which, double* p, double* q, double* f, double* dfn, double* dfd, int* status,
          double* bound);

// cum = P and ccum = Q of the F distribution with dfn and dfd degrees of
// freedom at f: 0 and 1 for f <= 0, else the incomplete beta ratio at the
// smaller of dfd/(dfd + dfn f) and its complement computed directly, whose
// status is not read: a refused argument leaves cum = ccum = 0.  Where
// dfn f or the sum overflows, or the quotient underflows to 0, the quotient
// is formed apart (beta_quotient.h): both tails keep their digits, to a
// relative error that grows with dfd/2, which multiplies the rounding of
// the quotient's logarithm (about 700 in size): measured against mpmath at
// 677 points of that path with dfn up to 1e292, at most 1.3e-12 in Q (F
// 1e18, DFN 1e291, DFD 20: Q 2.7557319224021e-177 for
// 2.755731922398589e-177) and 2.3e-15 in P; beyond dfd of about 20 Q
// underflows there.  Where dfn exceeds about 1e292 they may carry a relative
// error up to about dfn 1e-308 (1e-8 at dfn 1e300, 1e-3 at 1e305).
void cumf(const double* f, const double* dfn, const double* dfd, double* cum, double* ccum);

// Noncentral F distribution: which 1 computes P and Q from F, DFN, DFD and
// PNONC, 2 F, 3 DFN, 4 DFD and 5 PNONC from P and the other three.  F >= 0,
// DFN > 0, DFD > 0, 0 <= PNONC <= 1000 (bound 1000 above: beyond it the
// sums of cumfnc can leave P more than 1e-3 off), P in [0, 1) (bound
// 0.9999999999999999 above); Q is neither read nor checked, only written by
// which 1.  The inverses match P and search from 5.0: F in [0, 1e300], DFN
// and DFD in [1e-300, 1e300], PNONC in [0, 10000], an answer beyond 1000
// being status 2 with bound 1000.  As in cdff, the DFN and DFD searches may
// end at a limit or another solution where P is not monotone in them (P
// tends to e^(-PNONC/2) as DFN tends to 0, and may dip below that in
// between).  A computed P that is not a number or lies outside [0, 1]
// beyond rounding (an infinite DFN) is status 10.
void cdffnc(int* which, double* p, double* q, double* f, double* dfn, double* dfd, double* pnonc,
            int* status, double* bound);

// cum = P and ccum = 1 - P of the noncentral F distribution at f with dfn
// and dfd degrees of freedom and noncentrality pnonc: the Poisson-weighted
// sum of incomplete beta ratios, summed outward from the central term until
// a term falls below 1e-4 of the sum, or the sum is below 1e-20 and its
// terms no longer rise (the floor is waived for at most 1000 rising terms);
// a term that is not a finite number ends the sums, leaving a P that is not
// one either.  The accuracy is absolute only: the error in P grows with
// pnonc, to about 4e-4 at 300, 8.8e-4 at 1000 and 3.2e-3 at 1e4.  A tiny
// central term (f or dfn small) still leads to the large terms below it;
// where the central term's beta density underflows, each ratio below is
// computed apart.  The step from one term below the centre to the next
// does not overflow where dfn f is tiny or subnormal beside dfd, and the
// last of them takes the shape dfn/2 itself where it is lost in dfn/2 plus
// the central index and dfd is as tiny.  Where xx, of order dfn f/dfd,
// underflows, each ratio is the first term of its series, formed from
// ln dfn + ln f - ln dfd; where 1 - xx, of order dfd/(dfn f), underflows
// while dfd is so small that 1 - I_xx is not negligible, each ratio is
// formed from that quotient apart (beta_quotient.h).  Where dfn/2 and dfd/2
// are both below 1, the last term of the backward sum (shape dfn/2) may rise
// far out of line with those before it (at tiny shapes its ratio is about
// dfd/(dfn + dfd), theirs about dfd/2 |ln(1 - xx)|): where the sum would end
// before it, it is formed, and where it is larger than the last term taken
// and not below 1e-4 of the sum, the sum goes on to it, taking every term
// between.  The central distribution (cumf) below pnonc = 1e-10.
void cumfnc(const double* f, const double* dfn, const double* dfd, const double* pnonc, double* cum,
            double* ccum);

// Student's t distribution: which 1 computes P and Q from T and DF, 2 T
// from P, Q and DF, 3 DF from P, Q and T.  P and Q in (0, 1], DF > 0 and
// finite (infinity refused with the largest double as bound), T any number
// (not-a-number refused with bound 0).  T is searched over
// [-1e300, 1e300] from dt1's approximation (brought into that range), DF
// over [1e-300, 1e10] from 5.0, both to relative accuracy 1e-8; a T beyond
// that range is status 1 or 2.  Where DF is so small that P is 1/2 to
// double precision over the whole range, the search cannot tell which side
// of it the answer lies on and reports status 2.
void cdft(int* which, double* p, double* q, double* t, double* df, int* status, double* bound);

// cum = P(T' <= t) and ccum = 1 - cum for T' with df degrees of freedom,
// through the incomplete beta ratio at df/(df + t^2) (cumbet).  Where t^2
// overflows (|t| above about 1.34e154) or the quotient underflows to 0 (df
// tiny beside t^2), the quotient is formed apart from ln df - 2 ln|t|
// (beta_quotient.h): the tails keep their digits, to about 1e-13, for every
// finite t, and underflow only where their value does.
void cumt(const double* t, const double* df, double* cum, double* ccum);

// An approximate t quantile for the tails p and q = 1 - p with df degrees
// of freedom: four terms of its expansion in powers of 1/df around the
// normal quantile (dinvnr).  For tiny df the value may be huge, infinite
// or not a number.
double dt1(const double* p, const double* q, const double* df);

// Binomial distribution: which 1 computes P and Q from S, XN, PR and OMPR,
// 2 S, 3 XN, and 4 PR and OMPR from the others.  S successes in XN trials
// of success probability PR, OMPR = 1 - PR; S and XN real (non-integers
// interpolate through the beta function).  P and Q in [0, 1], XN > 0,
// 0 <= S <= XN (only S >= 0 when XN is sought), PR and OMPR in [0, 1];
// S and XN finite (infinity refused with the largest double as bound);
// P + Q and PR + OMPR must be 1.  S is searched over [0, XN] from
// min(5.0, XN), XN over [1e-300, 1e300] from 5.0, PR or OMPR (the one of
// the smaller tail; the other is its complement) over [0, 1].  Where
// S + 1 + (XN - S) exceeds the largest double (XN near it), P is the step
// at the mean XN PR (bratio.h).
void cdfbin(int* which, double* p, double* q, double* s, double* xn, double* pr, double* ompr,
            int* status, double* bound);

// cum = P(X <= s) and ccum = 1 - cum for X binomial with xn trials and
// success probability pr (ompr = 1 - pr); cum = 1 when s >= xn.
void cumbin(const double* s, const double* xn, const double* pr, const double* ompr, double* cum,
            double* ccum);

// Negative binomial distribution: as cdfbin, with S the number of failures
// before the XN-th success, except: Q in (0, 1], XN >= 0, S >= 0 with no
// bound by XN, S searched over [0, 1e300] from 5.0 and XN over [0, 1e300].
void cdfnbn(int* which, double* p, double* q, double* s, double* xn, double* pr, double* ompr,
            int* status, double* bound);

// cum = the probability of at most s failures before the xn-th success,
// success probability pr (ompr = 1 - pr), and ccum = 1 - cum.
void cumnbn(const double* s, const double* xn, const double* pr, const double* ompr, double* cum,
            double* ccum);

}  // namespace numlib

#endif
