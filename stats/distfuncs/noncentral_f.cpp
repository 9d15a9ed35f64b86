// The noncentral F family of distfuncs.h: cumfnc and cdffnc.
#include "stats/distfuncs/distfuncs.h"

#include <cmath>

#include "stats/distfuncs/bratio.h"
#include "stats/distfuncs/cdf_checks.h"
#include "stats/distfuncs/log_gamma.h"
#include "stats/distfuncs/search_loops.h"

namespace numlib {

namespace {

// Below this noncentrality the central distribution is used.
constexpr double kCentralNoncentrality = 1e-10;
// A sum stops when its term falls below this fraction of the sum, or when
// the sum itself is below the floor.
constexpr double kTermTolerance = 1e-4;
constexpr double kSumFloor = 1e-20;

// Whether a sum goes on after adding the term: while neither the term is
// small beside the sum nor the sum itself below the floor.  The sums have
// no iteration limit, so a term or sum that is not a number must end them,
// and so must an infinite term: a huge noncentrality makes the terms
// meaningless (their indices no longer change by one).
bool keeps_going(double term, double sum) {
  return std::isfinite(term) && sum >= kSumFloor && term >= kTermTolerance * sum;
}

double log_gamma(double x) { return alngam(&x); }

}  // namespace

void cumfnc(const double* f, const double* dfn, const double* dfd, const double* pnonc, double* cum,
            double* ccum) {
  if (*f <= 0.0) {
    *cum = 0.0;
    *ccum = 1.0;
    return;
  }
  if (*pnonc < kCentralNoncentrality) {
    cumf(f, dfn, dfd, cum, ccum);
    return;
  }
  // P is the Poisson(xnonc)-weighted sum over i of I_xx(dfn/2 + i, dfd/2),
  // summed outward from the central term i = icent.  Indices are
  // whole-valued doubles: icent can exceed every integer type.
  const double xnonc = *pnonc / 2.0;
  double icent = std::trunc(xnonc);
  if (icent == 0.0) icent = 1.0;
  const double centwt = std::exp(-xnonc + icent * std::log(xnonc) - log_gamma(icent + 1.0));

  // The smaller of xx and yy is computed directly, the larger as its
  // complement.
  const double prod = *dfn * *f;
  const double dsum = *dfd + prod;
  double yy = *dfd / dsum;
  double xx;
  if (yy > 0.5) {
    xx = prod / dsum;
    yy = 1.0 - xx;
  } else {
    xx = 1.0 - yy;
  }

  const double b = *dfd / 2.0;
  const double acent = *dfn / 2.0 + icent;
  double betdn = 0.0, unused = 0.0;
  int ierr = 0;
  bratio(&acent, &b, &xx, &yy, &betdn, &unused, &ierr);
  const double betcent = betdn;
  double sum = centwt * betdn;

  // Backward: terms icent - 1 down to 0.  dnterm is the difference
  // I_xx(adn, b) - I_xx(adn + 1, b), a beta density scaled by 1/adn.
  double adn = acent;
  double xmult = centwt;
  double i = icent;
  double dnterm = std::exp(log_gamma(adn + b) - log_gamma(adn + 1.0) - log_gamma(b) +
                           adn * std::log(xx) + b * std::log(yy));
  while (keeps_going(xmult * betdn, sum) && i > 0.0) {
    xmult = xmult * i / xnonc;
    i -= 1.0;
    adn -= 1.0;
    dnterm = (adn + 1.0) / ((adn + b) * xx) * dnterm;
    betdn += dnterm;
    sum += xmult * betdn;
  }

  // Forward: terms icent + 1 upward.  upterm is I_xx(aup - 1, b) -
  // I_xx(aup, b).
  double aup = acent;
  double betup = betcent;
  xmult = centwt;
  i = icent + 1.0;
  const double head = aup - 1.0 + b;
  double upterm =
      head == 0.0
          ? std::exp(-log_gamma(aup) - log_gamma(b) + (aup - 1.0) * std::log(xx) + b * std::log(yy))
          : std::exp(log_gamma(head) - log_gamma(aup) - log_gamma(b) + (aup - 1.0) * std::log(xx) +
                     b * std::log(yy));
  do {
    xmult = xmult * xnonc / i;
    i += 1.0;
    aup += 1.0;
    upterm = (aup + b - 2.0) * xx / (aup - 1.0) * upterm;
    betup -= upterm;
    sum += xmult * betup;
  } while (keeps_going(xmult * betup, sum));

  *cum = sum;
  *ccum = 0.5 + (0.5 - sum);
}

void cdffnc(int* which, double* p, double* q, double* f, double* dfn, double* dfd, double* pnonc,
            int* status, double* bound) {
  if (!check_which(*which, 5, status, bound)) return;
  if (*which != 1 && !check_argument(2, *p, Domain::closed(0.0, kLargestBelowOne), status, bound))
    return;
  if (*which != 2 && !check_argument(4, *f, Domain::at_least(0.0), status, bound)) return;
  if (*which != 3 && !check_argument(5, *dfn, Domain::above(0.0), status, bound)) return;
  if (*which != 4 && !check_argument(6, *dfd, Domain::above(0.0), status, bound)) return;
  if (*which != 5 && !check_argument(7, *pnonc, Domain::at_least(0.0), status, bound)) return;

  if (*which == 1) {
    *status = 0;
    cumfnc(f, dfn, dfd, pnonc, p, q);
    if (!within_probability_rounding(*p)) *status = 10;
    return;
  }

  const auto tails_at = [f, dfn, dfd, pnonc] {
    Tails t;
    cumfnc(f, dfn, dfd, pnonc, &t.cum, &t.ccum);
    t.failed = !within_probability_rounding(t.cum);
    return t;
  };
  // Q is never read: the search always matches the lower tail.
  const TailTarget target = lower_tail(*p);
  if (*which == 2)
    search_for_unknown(f, kSearchStart, {0.0, 1e300}, target, tails_at, status, bound);
  else if (*which == 3)
    search_for_unknown(dfn, kSearchStart, {1e-300, 1e300}, target, tails_at, status, bound);
  else if (*which == 4)
    search_for_unknown(dfd, kSearchStart, {1e-300, 1e300}, target, tails_at, status, bound);
  else
    search_for_unknown(pnonc, kSearchStart, {0.0, 1e4}, target, tails_at, status, bound);
}

}  // namespace numlib
