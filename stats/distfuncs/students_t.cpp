// The Student's t family of distfuncs.h: cumt, dt1 and cdft.
#include "stats/distfuncs/distfuncs.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "stats/distfuncs/beta_quotient.h"
#include "stats/distfuncs/cdf_checks.h"
#include "stats/distfuncs/elementary.h"
#include "stats/distfuncs/search_loops.h"

namespace numlib {

namespace {

// The search for T runs over [-kTLimit, kTLimit]; the search for DF over
// kDfRange.
constexpr double kTLimit = 1e300;
constexpr SearchRange kDfRange = {1e-300, 1e10};
// DF is finite: an infinite one would make df / (df + t^2) not a number
// and P one half whatever T.
constexpr double kLargestDf = std::numeric_limits<double>::max();

// dt1's series divides by powers of DF: for DF below about 1e-75 it runs
// beyond the search range or to infinity, and to not-a-number once the
// powers underflow to 0.  Such a start is brought to the nearer end of the
// range, or to the median 0.
double t_search_start(double approx) {
  if (std::isnan(approx)) return 0.0;
  return std::clamp(approx, -kTLimit, kTLimit);
}

}  // namespace

void cumt(const double* t, const double* df, double* cum, double* ccum) {
  // P(|T'| > |t|) = I_x(df/2, 1/2) with x = df / (df + t^2).
  const double tt = *t * *t;
  const double dfptt = *df + tt;
  const double xx = *df / dfptt;
  const double yy = tt / dfptt;
  const double a = 0.5 * *df;
  const double b = 0.5;
  double two_sided = 0.0, central = 0.0;
  if (xx == 0.0 && std::isfinite(*t)) {
    // t^2 overflowed or x underflowed: x is formed apart.
    const double abs_t = std::fabs(*t);
    bratio_quotient(a, b, *df, abs_t, abs_t, &two_sided, &central);
  } else {
    cumbet(&xx, &yy, &a, &b, &two_sided, &central);
  }
  if (*t <= 0.0) {
    *cum = 0.5 * two_sided;
    *ccum = central + *cum;
  } else {
    *ccum = 0.5 * two_sided;
    *cum = central + *ccum;
  }
}

double dt1(const double* p, const double* q, const double* df) {
  // The quantile is x + sum_i P_i(x^2) x / (denom_i df^i) around the normal
  // quantile x, P_i with its coefficients constant term first.
  constexpr double coef[4][5] = {{1.0, 1.0, 0.0, 0.0, 0.0},
                                 {3.0, 16.0, 5.0, 0.0, 0.0},
                                 {-15.0, 17.0, 19.0, 3.0, 0.0},
                                 {-945.0, -1920.0, 1482.0, 776.0, 79.0}};
  constexpr int ideg[4] = {2, 3, 4, 5};
  constexpr double denom[4] = {4.0, 96.0, 384.0, 92160.0};
  const double x = std::fabs(dinvnr(p, q));
  const double xx = x * x;
  double sum = x;
  double denpow = 1.0;
  for (int i = 0; i < 4; ++i) {
    const double term = devlpl(coef[i], &ideg[i], &xx) * x;
    denpow *= *df;
    sum += term / (denpow * denom[i]);
  }
  return *p >= 0.5 ? sum : -sum;
}

void cdft(int* which, double* p, double* q, double* t, double* df, int* status, double* bound) {
  if (!check_which(*which, 3, status, bound)) return;
  if (*which != 1) {
    if (!check_argument(2, *p, Domain::open_closed(0.0, 1.0), status, bound)) return;
    if (!check_argument(3, *q, Domain::open_closed(0.0, 1.0), status, bound)) return;
  }
  if (*which != 2 && !check_number(4, *t, status, bound)) return;
  if (*which != 3 && !check_argument(5, *df, Domain::open_closed(0.0, kLargestDf), status, bound))
    return;
  if (*which != 1 && !check_pair_sum(3, *p, *q, status, bound)) return;

  if (*which == 1) {
    *status = 0;
    cumt(t, df, p, q);
    return;
  }
  const auto tails_at = [t, df] {
    Tails r;
    cumt(t, df, &r.cum, &r.ccum);
    return r;
  };
  if (*which == 2)
    search_for_unknown(t, t_search_start(dt1(p, q, df)), {-kTLimit, kTLimit}, smaller_tail(*p, *q),
                       tails_at, status, bound);
  else
    search_for_unknown(df, kSearchStart, kDfRange, smaller_tail(*p, *q), tails_at, status, bound);
}

}  // namespace numlib
