// The F family of distfuncs.h: cumf and cdff.
#include "stats/distfuncs/distfuncs.h"

#include <cmath>

#include "stats/distfuncs/beta_quotient.h"
#include "stats/distfuncs/bratio.h"
#include "stats/distfuncs/cdf_checks.h"
#include "stats/distfuncs/search_loops.h"

namespace numlib {

void cumf(const double* f, const double* dfn, const double* dfd, double* cum, double* ccum) {
  if (*f <= 0.0) {
    *cum = 0.0;
    *ccum = 1.0;
    return;
  }
  // P = 1 - I_xx(dfd/2, dfn/2) with xx = dfd/(dfd + dfn f).  The smaller of
  // xx and yy = 1 - xx is computed directly, the larger as its complement,
  // so neither loses digits to the subtraction.
  const double a = *dfd / 2.0;
  const double b = *dfn / 2.0;
  const double prod = *dfn * *f;
  const double dsum = *dfd + prod;
  double xx = *dfd / dsum;
  if (xx == 0.0 && std::isfinite(*dfn) && std::isfinite(*f)) {
    // The product or the sum overflowed, or xx underflowed: xx is formed
    // apart.
    bratio_quotient(a, b, *dfd, *dfn, *f, ccum, cum);
    return;
  }
  double yy;
  if (xx > 0.5) {
    yy = prod / dsum;
    xx = 1.0 - yy;
  } else {
    yy = 1.0 - xx;
  }
  // The ratio at xx is the upper tail of F, its complement the lower.  The
  // callers have checked the arguments; the ratio's status is not read.
  int ierr = 0;
  bratio(&a, &b, &xx, &yy, ccum, cum, &ierr);
}

void cdff(int* which, double* p, double* q, double* f, double* dfn, double* dfd, int* status,
          double* bound) {
  if (!check_which(*which, 4, status, bound)) return;
  if (*which != 1) {
    if (!check_argument(2, *p, Domain::closed(0.0, 1.0), status, bound)) return;
    if (!check_argument(3, *q, Domain::open_closed(0.0, 1.0), status, bound)) return;
  }
  if (*which != 2 && !check_argument(4, *f, Domain::at_least(0.0), status, bound)) return;
  if (*which != 3 && !check_argument(5, *dfn, Domain::above(0.0), status, bound)) return;
  if (*which != 4 && !check_argument(6, *dfd, Domain::above(0.0), status, bound)) return;

  const auto tails_at = [f, dfn, dfd] {
    Tails t;
    cumf(f, dfn, dfd, &t.cum, &t.ccum);
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

  if (!check_pair_sum(3, *p, *q, status, bound)) return;
  // The search matches the smaller tail, for accuracy.
  const TailTarget target = smaller_tail(*p, *q);
  if (*which == 2)
    search_for_unknown(f, kSearchStart, {0.0, 1e300}, target, tails_at, status, bound);
  else if (*which == 3)
    search_for_unknown(dfn, kSearchStart, {1e-300, 1e300}, target, tails_at, status, bound);
  else
    search_for_unknown(dfd, kSearchStart, {1e-300, 1e300}, target, tails_at, status, bound);
}

}  // namespace numlib
