// The noncentral chi-square family of distfuncs.h: cumchn and cdfchn.
#include <cmath>
#include <limits>

#include "stats/distfuncs/cdf_checks.h"
#include "stats/distfuncs/distfuncs.h"
#include "stats/distfuncs/elementary.h"
#include "stats/distfuncs/log_gamma.h"
#include "stats/distfuncs/search_loops.h"

namespace numlib {

namespace {

// At or below this noncentrality the central distribution is used.
constexpr double kCentralNoncentrality = 1e-10;
// A sum stops when its term falls below this fraction of the sum, when the
// sum itself is below the floor and its terms no longer rise, or after the
// largest number of terms.
constexpr double kTermTolerance = 1e-5;
constexpr double kSumFloor = 1e-20;
constexpr int kMaxExtraTerms = 1000;
// Above this half degrees of freedom the central term's gamma density is
// formed around its mode: the rounding of the three terms of its logarithm,
// which cancel, would move P by more than the sums' tolerance.
constexpr double kLargeHalfDf = 5e14;
constexpr double kLnSqrt2Pi = 0.9189385332046728;
// Below this the walk's starting difference has fewer significant digits
// than the term tolerance asks for: it lies so far in the subnormal range
// that its rounding, carried to every lower term, would exceed it.
constexpr double kWalkFloor = std::numeric_limits<double>::denorm_min() / kTermTolerance;
// The largest noncentrality accepted.  The sums' relative tolerance and
// their 1001 terms each way leave an absolute error in P that grows with
// PNONC: at most about 3e-4 at 1e4 and 9.3e-4 at 1e5 (where every central P
// is 1), beyond 1e-3 from about 1.1e5 and 0.16 at 1e6.
constexpr double kLargestNoncentrality = 1e5;

// chid2^dfd2 e^-chid2 / Gamma(1 + dfd2), the gamma density with shape
// 1 + dfd2 at chid2.  Written as exp(dfd2 ln chid2 - chid2 - ln Gamma(1 +
// dfd2)), its exponent is a difference of terms near dfd2 ln dfd2, whose
// rounding alone nears 1 as dfd2 nears 1e15.  Around the mode,
// with u = (chid2 - dfd2)/dfd2 and Stirling's remainder r, it is
//   exp(-dfd2 (u - ln(1 + u)) - r(dfd2)) / sqrt(2 pi dfd2),
// a small exponent formed without the cancellation.
double central_gamma_density(double dfd2, double chid2) {
  if (dfd2 <= kLargeHalfDf) {
    const double dfd2_plus_1 = 1.0 + dfd2;
    return std::exp(dfd2 * std::log(chid2) - chid2 - alngam(&dfd2_plus_1));
  }
  const double u = (chid2 - dfd2) / dfd2;
  return std::exp(-dfd2 * rlog1(&u) - dstrem(&dfd2) - kLnSqrt2Pi) / std::sqrt(dfd2);
}

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
  const double centaj = central_gamma_density(dfcent / 2.0, chid2);

  double sum = centwt * pcent;

  // Backward: terms icent - 1 down to 0.  Below the centre the central P
  // grows, steeply where x is small beside df + 2 icent, and may outrun
  // the falling weights: the terms then rise from a tiny central term to a
  // large sum.  So the floor ends this sum only once its last term is no
  // larger than the one before.  Where centaj, left of its mode,
  // underflows to 0 or to a few digits, the walk from it stays at 0 or
  // carries that rounding to every lower term, however large they are:
  // each central P is then computed on its own.
  const bool walk_lost = centaj < kWalkFloor && chid2 < dfcent / 2.0;
  double before = sum;
  bool falling = false;
  double sumadj = 0.0;
  double adj = centaj;
  double wt = centwt;
  double i = icent;
  int iter = 0;
  double term = 0.0;
  do {
    double pterm = 0.0;
    if (walk_lost) {
      const double dfi = *df + 2.0 * (i - 1.0);
      double qterm = 0.0;
      cumchi(x, &dfi, &pterm, &qterm);
    } else {
      adj = adj * ((*df + 2.0 * i) / 2.0) / chid2;
      sumadj += adj;
      pterm = pcent + sumadj;
    }
    wt = wt * i / xnonc;
    term = wt * pterm;
    sum += term;
    i -= 1.0;
    ++iter;
    // Terms that underflow to 0 count as still to rise.
    falling = term < before || (term == before && term != 0.0);
    before = term;
  } while (!(iter > kMaxExtraTerms || (sum < kSumFloor && falling) || term < kTermTolerance * sum ||
             i == 0.0));

  // Forward: terms icent + 1 upward.  Both the weights (past the centre)
  // and the central P fall: these terms fall from the first.
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
  if (*which != 4 &&
      !check_argument(6, *pnonc, Domain::closed(0.0, kLargestNoncentrality), status, bound))
    return;

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
