// The Poisson family of distfuncs.h: cumpoi and cdfpoi.
#include "stats/distfuncs/distfuncs.h"

#include "stats/distfuncs/cdf_checks.h"
#include "stats/distfuncs/gratio.h"
#include "stats/distfuncs/search_loops.h"

namespace numlib {

namespace {

constexpr int kFullAccuracy = 0;

}  // namespace

void cumpoi(const double* s, const double* xlam, double* cum, double* ccum) {
  // At most s events with mean xlam is at least s + 1 arrivals after time
  // xlam failing: P = Q(s + 1, xlam), the chi-square distribution with
  // 2 (s + 1) degrees of freedom at 2 xlam with its tails exchanged.
  if (*xlam <= 0.0) {
    *cum = 1.0;
    *ccum = 0.0;
    return;
  }
  const double a = *s + 1.0;
  gratio(&a, xlam, ccum, cum, &kFullAccuracy);
}

void cdfpoi(int* which, double* p, double* q, double* s, double* xlam, int* status, double* bound) {
  if (!check_which(*which, 3, status, bound)) return;
  if (*which != 1) {
    if (!check_argument(2, *p, Domain::closed(0.0, 1.0), status, bound)) return;
    if (!check_argument(3, *q, Domain::open_closed(0.0, 1.0), status, bound)) return;
  }
  if (*which != 2 && !check_argument(4, *s, Domain::at_least(0.0), status, bound)) return;
  if (*which != 3 && !check_argument(5, *xlam, Domain::at_least(0.0), status, bound)) return;

  // The incomplete gamma ratio signals an error by 2.0 in its first
  // result, which cumpoi returns as the upper tail Q.
  if (*which == 1) {
    *status = 0;
    cumpoi(s, xlam, p, q);
    if (*q > 1.5) *status = 10;
    return;
  }

  if (!check_pair_sum(3, *p, *q, status, bound)) return;
  const auto tails_at = [s, xlam] {
    Tails t;
    cumpoi(s, xlam, &t.cum, &t.ccum);
    t.failed = t.ccum > 1.5;
    return t;
  };
  double* const unknown = *which == 2 ? s : xlam;
  search_for_unknown(unknown, kSearchStart, {0.0, 1e300}, smaller_tail(*p, *q), tails_at, status,
                     bound);
}

}  // namespace numlib
