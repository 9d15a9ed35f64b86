// The beta family of distfuncs.h: cumbet and cdfbet.
#include "stats/distfuncs/distfuncs.h"

#include "stats/distfuncs/bratio.h"
#include "stats/distfuncs/cdf_checks.h"
#include "stats/distfuncs/search_loops.h"

namespace numlib {

void cumbet(const double* x, const double* y, const double* a, const double* b, double* cum,
            double* ccum) {
  if (*x <= 0.0) {
    *cum = 0.0;
    *ccum = 1.0;
    return;
  }
  if (*y <= 0.0) {
    *cum = 1.0;
    *ccum = 0.0;
    return;
  }
  // The callers have checked the arguments; the ratio's own status adds
  // nothing they do not know.
  int ierr = 0;
  bratio(a, b, x, y, cum, ccum, &ierr);
}

void cdfbet(int* which, double* p, double* q, double* x, double* y, double* a, double* b,
            int* status, double* bound) {
  constexpr Domain kUnit = Domain::closed(0.0, 1.0);
  if (!check_which(*which, 4, status, bound)) return;
  if (*which != 1) {
    if (!check_argument(2, *p, kUnit, status, bound)) return;
    if (!check_argument(3, *q, kUnit, status, bound)) return;
  }
  if (*which != 2) {
    if (!check_argument(4, *x, kUnit, status, bound)) return;
    if (!check_argument(5, *y, kUnit, status, bound)) return;
  }
  if (*which != 3 && !check_argument(6, *a, Domain::above(0.0), status, bound)) return;
  if (*which != 4 && !check_argument(7, *b, Domain::above(0.0), status, bound)) return;
  if (*which != 1 && !check_pair_sum(3, *p, *q, status, bound)) return;
  if (*which != 2 && !check_pair_sum(4, *x, *y, status, bound)) return;

  const auto tails_at = [x, y, a, b] {
    Tails t;
    cumbet(x, y, a, b, &t.cum, &t.ccum);
    t.failed = bratio_refused(t.cum, t.ccum);
    return t;
  };
  if (*which == 1) {
    const Tails t = tails_at();
    *p = t.cum;
    *q = t.ccum;
    *status = t.failed ? 10 : 0;
    return;
  }

  // The search matches the smaller tail, for accuracy.
  const TailTarget target = smaller_tail(*p, *q);
  if (*which == 2) {
    // The zero finder varies the member of (X, Y) whose tail it matches and
    // keeps the other its complement.
    if (target.lower)
      search_complementary_pair(x, y, target, tails_at, status, bound);
    else
      search_complementary_pair(y, x, target, tails_at, status, bound);
  } else if (*which == 3) {
    search_for_unknown(a, kSearchStart, {1e-300, 1e300}, target, tails_at, status, bound);
  } else {
    search_for_unknown(b, kSearchStart, {1e-300, 1e300}, target, tails_at, status, bound);
  }
}

}  // namespace numlib
