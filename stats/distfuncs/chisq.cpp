// The chi-square family of distfuncs.h: cumchi and cdfchi.
#include "stats/distfuncs/distfuncs.h"

#include "stats/distfuncs/cdf_checks.h"
#include "stats/distfuncs/gratio.h"
#include "stats/distfuncs/search_loops.h"

namespace numlib {

namespace {

constexpr int kFullAccuracy = 0;

}  // namespace

void cumchi(const double* x, const double* df, double* cum, double* ccum) {
  const double a = *df * 0.5;
  const double xx = 0.5 * *x;
  if (xx <= 0.0) {
    *cum = 0.0;
    *ccum = 1.0;
    return;
  }
  gratio(&a, &xx, cum, ccum, &kFullAccuracy);
}

void cdfchi(int* which, double* p, double* q, double* x, double* df, int* status, double* bound) {
  if (!check_which(*which, 3, status, bound)) return;
  if (*which != 1) {
    if (!check_argument(2, *p, Domain::closed(0.0, 1.0), status, bound)) return;
    if (!check_argument(3, *q, Domain::open_closed(0.0, 1.0), status, bound)) return;
  }
  if (*which != 2 && !check_argument(4, *x, Domain::at_least(0.0), status, bound)) return;
  if (*which != 3 && !check_argument(5, *df, Domain::above(0.0), status, bound)) return;

  if (*which == 1) {
    *status = 0;
    cumchi(x, df, p, q);
    if (*p > 1.5) *status = 10;
    return;
  }

  if (!check_pair_sum(3, *p, *q, status, bound)) return;
  const auto tails_at = [x, df] {
    Tails t;
    cumchi(x, df, &t.cum, &t.ccum);
    // The incomplete gamma ratio signals an error by P = 2.0 and leaves
    // Q as it was, so P is tested whichever tail is compared.
    t.failed = t.cum > 1.5;
    return t;
  };
  if (*which == 2)
    search_for_unknown(x, kSearchStart, {0.0, 1e300}, smaller_tail(*p, *q), tails_at, status,
                       bound);
  else
    search_for_unknown(df, kSearchStart, {1e-300, 1e300}, smaller_tail(*p, *q), tails_at, status,
                       bound);
}

}  // namespace numlib
