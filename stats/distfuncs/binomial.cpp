// The binomial and negative binomial families of distfuncs.h: cumbin,
// cdfbin, cumnbn and cdfnbn, which share their order of checks and their
// searches.
#include "stats/distfuncs/distfuncs.h"

#include <algorithm>
#include <limits>

#include "stats/distfuncs/cdf_checks.h"
#include "stats/distfuncs/search_loops.h"

namespace numlib {

namespace {

using Cumulative = void (*)(const double* s, const double* xn, const double* pr, const double* ompr,
                            double* cum, double* ccum);

// Where the two families differ.
struct Family {
  Cumulative cumulative;  // P and Q
  Domain q;               // of Q: a negative binomial upper tail is never 0
  Domain xn;              // of XN: the negative binomial admits XN = 0
  // S is bounded by XN (the binomial: no more successes than trials).
  bool s_within_xn;
  SearchRange xn_range;  // where XN is searched
};

constexpr double kHuge = 1e300;
// S and XN are finite: the incomplete beta ratio refuses an infinite shape
// and would leave P = Q = 0.
constexpr double kLargest = std::numeric_limits<double>::max();

constexpr Family kBinomial = {
    cumbin, Domain::closed(0.0, 1.0), Domain::open_closed(0.0, kLargest), true, {1e-300, kHuge}};
constexpr Family kNegativeBinomial = {
    cumnbn, Domain::open_closed(0.0, 1.0), Domain::closed(0.0, kLargest), false, {0.0, kHuge}};

// The arguments which reads, in order; false with status and bound at the
// first that fails.
bool arguments_pass(const Family& f, int which, double p, double q, double s, double xn, double pr,
                    double ompr, int* status, double* bound) {
  if (!check_which(which, 4, status, bound)) return false;
  if (which != 1) {
    if (!check_argument(2, p, Domain::closed(0.0, 1.0), status, bound)) return false;
    if (!check_argument(3, q, f.q, status, bound)) return false;
  }
  if (which != 3 && !check_argument(5, xn, f.xn, status, bound)) return false;
  if (which != 2) {
    const Domain s_domain = Domain::closed(0.0, f.s_within_xn && which != 3 ? xn : kLargest);
    if (!check_argument(4, s, s_domain, status, bound)) return false;
  }
  if (which != 4) {
    if (!check_argument(6, pr, Domain::closed(0.0, 1.0), status, bound)) return false;
    if (!check_argument(7, ompr, Domain::closed(0.0, 1.0), status, bound)) return false;
  }
  if (which != 1 && !check_pair_sum(3, p, q, status, bound)) return false;
  if (which != 4 && !check_pair_sum(4, pr, ompr, status, bound)) return false;
  return true;
}

void cdf(const Family& f, int* which, double* p, double* q, double* s, double* xn, double* pr,
         double* ompr, int* status, double* bound) {
  if (!arguments_pass(f, *which, *p, *q, *s, *xn, *pr, *ompr, status, bound)) return;

  if (*which == 1) {
    *status = 0;
    f.cumulative(s, xn, pr, ompr, p, q);
    return;
  }
  const auto tails_at = [&f, s, xn, pr, ompr] {
    Tails t;
    f.cumulative(s, xn, pr, ompr, &t.cum, &t.ccum);
    return t;
  };
  const TailTarget target = smaller_tail(*p, *q);
  if (*which == 2) {
    // The usual start, unless the range of S ends below it.
    const SearchRange range = {0.0, f.s_within_xn ? *xn : kHuge};
    search_for_unknown(s, std::min(kSearchStart, range.high), range, target, tails_at, status,
                       bound);
  } else if (*which == 3) {
    search_for_unknown(xn, kSearchStart, f.xn_range, target, tails_at, status, bound);
  } else if (target.lower) {
    search_complementary_pair(pr, ompr, target, tails_at, status, bound);
  } else {
    search_complementary_pair(ompr, pr, target, tails_at, status, bound);
  }
}

}  // namespace

void cumbin(const double* s, const double* xn, const double* pr, const double* ompr, double* cum,
            double* ccum) {
  if (*s < *xn) {
    // P(X > s) = I_pr(s + 1, xn - s)
    const double a = *s + 1.0;
    const double b = *xn - *s;
    cumbet(pr, ompr, &a, &b, ccum, cum);
  } else {
    *cum = 1.0;
    *ccum = 0.0;
  }
}

void cumnbn(const double* s, const double* xn, const double* pr, const double* ompr, double* cum,
            double* ccum) {
  // P(at most s failures before the xn-th success) = I_pr(xn, s + 1)
  const double b = *s + 1.0;
  cumbet(pr, ompr, xn, &b, cum, ccum);
}

void cdfbin(int* which, double* p, double* q, double* s, double* xn, double* pr, double* ompr,
            int* status, double* bound) {
  cdf(kBinomial, which, p, q, s, xn, pr, ompr, status, bound);
}

void cdfnbn(int* which, double* p, double* q, double* s, double* xn, double* pr, double* ompr,
            int* status, double* bound) {
  cdf(kNegativeBinomial, which, p, q, s, xn, pr, ompr, status, bound);
}

}  // namespace numlib
