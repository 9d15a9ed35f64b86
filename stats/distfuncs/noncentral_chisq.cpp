// The noncentral chi-square family of distfuncs.h: cumchn and cdfchn.
#include <cmath>

#include "stats/distfuncs/cdf_checks.h"
#include "stats/distfuncs/distfuncs.h"
#include "stats/distfuncs/log_gamma.h"
#include "stats/distfuncs/search_loops.h"

namespace numlib {

namespace {

// At or below this noncentrality the central distribution is used.
constexpr double kCentralNoncentrality = 1e-10;
// A sum stops when its term falls below this fraction of the sum, when the
// sum itself is below the floor, or after the largest number of terms.
constexpr double kTermTolerance = 1e-5;
constexpr double kSumFloor = 1e-20;
constexpr int kMaxExtraTerms = 1000;

}  // namespace

void cumchn(const double* x, const double* df, const double* pnonc, double* cum, double* ccum) {
  if (*x <= 0.0) {
    *cum = 0.0;
    *ccum = 1.0;
    return;
  }
  if (*pnonc <= kCentralNoncentrality) {
    cumchi(x, df, cum, ccum);
    return;
  }
  // P is the Poisson(xnonc)-weighted sum over i of the central P at
  // df + 2i degrees of freedom, summed outward from the central term i =
  // icent.  Indices are whole-valued doubles: icent can exceed every
  // integer type.
  const double xnonc = *pnonc / 2.0;
  double icent = std::trunc(xnonc);
  if (icent == 0.0) icent = 1.0;
  const double chid2 = *x / 2.0;

  const double icent_plus_1 = icent + 1.0;
  const double centwt = std::exp(-xnonc + icent * std::log(xnonc) - alngam(&icent_plus_1));
  const double dfcent = *df + 2.0 * icent;
  double pcent = 0.0, qcent = 0.0;
  cumchi(x, &dfcent, &pcent, &qcent);
  // centaj: the difference between the central P at dfcent and at
  // dfcent + 2 (a gamma density at chid2); adj walks it from term to term.
  const double dfd2 = dfcent / 2.0;
  const double dfd2_plus_1 = 1.0 + dfd2;
  const double centaj = std::exp(dfd2 * std::log(chid2) - chid2 - alngam(&dfd2_plus_1));

  double sum = centwt * pcent;

  // Backward: terms icent - 1 down to 0.
  double sumadj = 0.0;
  double adj = centaj;
  double wt = centwt;
  double i = icent;
  int iter = 0;
  double term = 0.0;
  do {
    adj = adj * ((*df + 2.0 * i) / 2.0) / chid2;
    sumadj += adj;
    const double pterm = pcent + sumadj;
    wt = wt * i / xnonc;
    term = wt * pterm;
    sum += term;
    i -= 1.0;
    ++iter;
  } while (!(iter > kMaxExtraTerms || sum < kSumFloor || term < kTermTolerance * sum || i == 0.0));

  // Forward: terms icent + 1 upward.
  sumadj = adj = centaj;
  wt = centwt;
  i = icent;
  iter = 0;
  do {
    wt = wt * xnonc / (i + 1.0);
    const double pterm = pcent - sumadj;
    term = wt * pterm;
    sum += term;
    i += 1.0;
    adj = adj * chid2 / ((*df + 2.0 * i) / 2.0);
    sumadj += adj;
    ++iter;
  } while (!(iter > kMaxExtraTerms || sum < kSumFloor || term < kTermTolerance * sum));

  *cum = sum;
  *ccum = 0.5 + (0.5 - sum);
}

void cdfchn(int* which, double* p, double* q, double* x, double* df, double* pnonc, int* status,
            double* bound) {
  if (!check_which(*which, 4, status, bound)) return;
  if (*which != 1 && !check_argument(2, *p, Domain::closed(0.0, kLargestBelowOne), status, bound))
    return;
  if (*which != 2 && !check_argument(4, *x, Domain::at_least(0.0), status, bound)) return;
  if (*which != 3 && !check_argument(5, *df, Domain::above(0.0), status, bound)) return;
  if (*which != 4 && !check_argument(6, *pnonc, Domain::at_least(0.0), status, bound)) return;

  if (*which == 1) {
    *status = 0;
    cumchn(x, df, pnonc, p, q);
    if (!within_probability_rounding(*p)) *status = 10;
    return;
  }

  const auto tails_at = [x, df, pnonc] {
    Tails t;
    cumchn(x, df, pnonc, &t.cum, &t.ccum);
    t.failed = !within_probability_rounding(t.cum);
    return t;
  };
  // Q is never read: the search always matches the lower tail.
  if (*which == 2) {
    search_for_unknown(x, kSearchStart, {0.0, 1e300}, lower_tail(*p), tails_at, status, bound);
  } else if (*which == 3) {
    search_for_unknown(df, kSearchStart, {1e-300, 1e300}, lower_tail(*p), tails_at, status, bound);
  } else {
    search_for_unknown(pnonc, kSearchStart, {0.0, 1e4}, lower_tail(*p), tails_at, status, bound);
    // An answer below the range is reported against the smallest positive
    // noncentrality, as the DF search reports it.
    if (*status == 1) *bound = 1e-300;
  }
}

}  // namespace numlib
