// The two ways the distribution functions (distfuncs.h) invert themselves,
// each a whole calling loop around the reverse-communication engine of
// search.h:
//
//   search_for_unknown         the monotone search (dstinv/dinvr) for one
//                              quantity over a range;
//   search_complementary_pair  the zero finder (dstzr/dzror) on [0, 1] for a
//                              pair of complementary values (X and Y = 1 - X,
//                              PR and OMPR = 1 - PR).
//
// Both drive the function fx = cum - p or ccum - q (TailTarget) to zero,
// asking tails_at for (cum, ccum) after writing the trial value into the
// caller's variables; tails_at reads them there, through the pointers the
// distribution function holds.  Both use the search constants every inverse
// case shares: absolute and relative first step 0.5, step multiplier 5.0,
// absolute tolerance 1e-50, relative tolerance 1e-8.
//
// On return status is
//    0  success: the answer is in the sought variable(s);
//    1  the answer lies below the range: bound = its lower end;
//    2  the answer lies above the range: bound = its upper end;
//   10  tails_at reported a failure (bound not written; the sought variable
//       holds the value tried).
// A distribution function whose reported bound differs from the range end
// overwrites it after the call.
//
// The loops run the one search engine of search.h: one inverse computation
// at a time in the process.
#ifndef VORDEL_STATS_DISTFUNCS_SEARCH_LOOPS_H
#define VORDEL_STATS_DISTFUNCS_SEARCH_LOOPS_H

#include <functional>

namespace numlib {

// Where the inverse cases start the sought quantity, unless a distribution
// function has a better start of its own.
inline constexpr double kSearchStart = 5.0;

// The two tails of a distribution function at a trial value; failed when
// the routine computing them reported an error.
struct Tails {
  double cum = 0.0;
  double ccum = 0.0;
  bool failed = false;
};

// The given tail a search matches: fx = cum - p when lower, else ccum - q.
struct TailTarget {
  bool lower;
  double p;
  double q;

  double fx(const Tails& t) const { return lower ? t.cum - p : t.ccum - q; }
};

// Matches whichever given tail is smaller (P when P <= Q), for accuracy.
constexpr TailTarget smaller_tail(double p, double q) { return {p <= q, p, q}; }
// Matches P whatever its size.
constexpr TailTarget lower_tail(double p) { return {true, p, 0.0}; }

using TailsAt = std::function<Tails()>;

struct SearchRange {
  double low;
  double high;
};

// Sets *unknown = start (which must lie in range) and searches range for
// the value where target.fx is zero, the distribution function being
// monotone in *unknown.  Writes *status and, on status 1 or 2, *bound.
void search_for_unknown(double* unknown, double start, SearchRange range, const TailTarget& target,
                        const TailsAt& tails_at, int* status, double* bound);

// Runs the zero finder over [0, 1] on *varied and keeps
// *complement = 1 - *varied after every step, so tails_at always
// sees a complementary pair.  The distribution function passes as varied
// the member whose tail it matches (X when target.lower, else Y).  On
// status 0 *varied holds the last point the zero finder asked for, which
// lies in its final bracket; on status 1 (bound 0) or 2 (bound 1) the pair
// holds the last values tried.
void search_complementary_pair(double* varied, double* complement, const TailTarget& target,
                               const TailsAt& tails_at, int* status, double* bound);

}  // namespace numlib

#endif
