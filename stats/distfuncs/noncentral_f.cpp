// The noncentral F family of distfuncs.h: cumfnc and cdffnc.
#include "stats/distfuncs/distfuncs.h"

#include <cmath>
#include <limits>

#include "stats/distfuncs/beta_quotient.h"
#include "stats/distfuncs/bratio.h"
#include "stats/distfuncs/cdf_checks.h"
#include "stats/distfuncs/log_beta.h"
#include "stats/distfuncs/log_gamma.h"
#include "stats/distfuncs/search_loops.h"

namespace numlib {

namespace {

// Below this noncentrality the central distribution is used.
constexpr double kCentralNoncentrality = 1e-10;
// A sum stops when its term falls below this fraction of the sum, or when
// the sum itself is below the floor and its terms no longer rise.
constexpr double kTermTolerance = 1e-4;
constexpr double kSumFloor = 1e-20;
constexpr double kLogTermTolerance = -9.210340371976184;  // ln kTermTolerance
// The floor is waived for rising terms at most this far below the centre.
constexpr int kMaxRisingTerms = 1000;
// Below this the walk's starting difference has fewer significant digits
// than the term tolerance asks for: it lies so far in the subnormal range
// that its rounding, carried to every lower term, would exceed it.
constexpr double kWalkFloor = std::numeric_limits<double>::denorm_min() / kTermTolerance;
// The largest noncentrality accepted.  The sums' relative tolerance leaves
// an absolute error in P that grows with PNONC: at most about 4e-4 at 300
// and 8.8e-4 at 1000, beyond 1e-3 from about 1300 and 3.2e-3 at 1e4.  The
// search for PNONC still runs over [0, 10000], so that every answer up to
// this bound is found exactly as before.
constexpr double kLargestNoncentrality = 1e3;

// Whether a sum goes on after adding the term: while the term is not small
// beside the sum, and the sum is not below the floor unless the terms are
// still rising.  The sums have no iteration limit, so a term or sum that is
// not a number must end them, and so must an infinite term: a huge
// noncentrality makes the terms meaningless (their indices no longer change
// by one).
bool keeps_going(double term, double sum, bool rising) {
  return std::isfinite(term) && (sum >= kSumFloor || rising) && term >= kTermTolerance * sum;
}

// Whether a term past the point where a sum ends must still be taken: it
// is larger than the last term taken and not small beside the sum.
bool rises_out_of_line(double term, double last_taken, double sum) {
  return term > last_taken && keeps_going(term, sum, true);
}

double log_gamma(double x) { return alngam(&x); }

// I_xx(a, b) - I_xx(a + 1, b) from the same difference at a + 1: that one
// times (a + 1)/((a + b) xx).  Where xx or a + b is tiny (DFN F tiny beside
// DFD, or both degrees of freedom tiny) the ratio overflows, though the
// difference, at most 1, does not.  There the difference is divided by xx
// first, which gives at most max(1, b) times the result, then by
// (a + b)/(a + 1): neither overflows where the result is finite.
double next_difference(double a, double b, double xx, double difference) {
  const double ratio = (a + 1.0) / ((a + b) * xx);
  if (std::isfinite(ratio)) return ratio * difference;
  return difference / xx / ((a + b) / (a + 1.0));
}

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
  // Where the quotient xx or its complement yy underflows to 0, every
  // ratio reads 0 or 1, and the walks below, formed from their logarithms,
  // are lost too.  Each ratio is then formed on its own, from the quotient
  // formed apart:
  // - xx, of order DFN F/DFD, underflows: I_xx(a, b) is the first term of
  //   its power series, xx^a / (a B(a, b)); the next is smaller by a
  //   factor of about (1 - b) xx, and b xx = DFN F/2 is then below
  //   1.3e-324 DFD, negligible for every DFD.  With DFN/2 tiny the ratio
  //   of the last term is far from 0;
  // - yy, of order DFD/(DFN F), underflows: 1 - I_xx(a, b) is of order
  //   yy^b, not small where b is tiny.  Where reading 1 would be off by
  //   more than the term tolerance, I_xx is the complement of the ratio at
  //   yy, formed apart (beta_quotient.h).
  const bool finite = std::isfinite(*dfn) && std::isfinite(*f) && std::isfinite(*dfd);
  const double ln_dfn_f_over_dfd = std::log(*dfn) + std::log(*f) - std::log(*dfd);
  const bool xx_lost = xx == 0.0 && finite;
  const bool yy_lost = yy == 0.0 && finite && -b * ln_dfn_f_over_dfd > kLogTermTolerance;
  const bool quotient_lost = xx_lost || yy_lost;
  // I_xx(a, b).
  const auto ratio = [&](double a) {
    double w = 0.0, w1 = 0.0;
    if (xx_lost) {
      w = std::exp(a * ln_dfn_f_over_dfd - std::log(a) - betaln(&a, &b));
    } else if (yy_lost) {
      bratio_quotient(b, a, *dfd, *dfn, *f, &w1, &w);
    } else {
      int ierr = 0;
      bratio(&a, &b, &xx, &yy, &w, &w1, &ierr);
    }
    return w;
  };
  const double half_dfn = *dfn / 2.0;
  const double acent = half_dfn + icent;
  double betdn = ratio(acent);
  const double betcent = betdn;
  double sum = centwt * betdn;

  // Backward: terms icent - 1 down to 0.  dnterm is the difference
  // I_xx(adn, b) - I_xx(adn + 1, b), a beta density scaled by 1/adn.
  // Below the centre the ratios grow, steeply where xx is small (F small
  // beside the degrees of freedom), and may outrun the falling weights:
  // the terms then rise from a tiny central term to a large sum.  So each
  // next term is formed first, and the floor ends the sum only where it
  // would be no larger than the last.  Where dnterm, below the mean of its
  // beta distribution, underflows to 0 or to a few digits, the walk from it
  // stays at 0 or carries that rounding to every lower ratio, however large
  // they are: each ratio is then computed on its own.
  double adn = acent;
  double xmult = centwt;
  double i = icent;
  double dnterm = std::exp(log_gamma(adn + b) - log_gamma(adn + 1.0) - log_gamma(b) +
                           adn * std::log(xx) + b * std::log(yy));
  const bool walk_lost = quotient_lost || (dnterm < kWalkFloor && xx * (acent + b) < acent);
  // The sum may end before its last term, i = 0, where that term rises
  // out of line with those before it.  Each step down to the shape a
  // scales the difference by (a + 1)/((a + b) xx): where b >= 1 that
  // factor shrinks as a falls, so terms that have begun to fall keep
  // falling (their logarithms are concave in i); where b < 1 and a >= 1 it
  // lies between 1/xx and 2/xx.  Only the last shape, dfn/2, below 1 with b
  // below 1 can make it large: at tiny shapes the beta law puts its mass
  // b/(a + b) at 0, so the last ratio is about b/(dfn/2 + b) where the one
  // before is about b |ln yy|.  There, where the sum would end, the last
  // term is formed, and where it rises out of line the sum goes on to it,
  // taking every term between (together they need not be small beside it).
  const bool last_may_jump = half_dfn < 1.0 && b < 1.0;
  bool to_the_end = false;
  double term = xmult * betdn;
  int steps = 0;
  while (i > 0.0) {
    const double next_xmult = xmult * i / xnonc;
    double next_adn = adn - 1.0;
    // The shapes step down from acent = dfn/2 + icent by whole numbers.
    // Where dfn/2 is tiny beside icent, acent's rounding has taken its
    // digits, and the last shape, dfn/2 itself, comes out as 0 or a few
    // units of icent's last place.  Only where b is as tiny does it matter:
    // the step to it takes its a + b, and bratio its a, off by as much as
    // a itself.  There the last shape is dfn/2.
    if (i == 1.0 &&
        (quotient_lost || std::fabs(next_adn - half_dfn) > kTermTolerance * (half_dfn + b)))
      next_adn = half_dfn;
    double next_dnterm = dnterm;
    double next_betdn = 0.0;
    if (walk_lost) {
      next_betdn = ratio(next_adn);
    } else {
      next_dnterm = next_difference(next_adn, b, xx, dnterm);
      next_betdn = betdn + next_dnterm;
    }
    const double next = next_xmult * next_betdn;
    // Terms that underflow to 0 count as still to rise, for at most
    // kMaxRisingTerms terms below the centre: the sum has no other limit.
    const bool rising = (next > term || (next == 0.0 && term == 0.0)) && steps < kMaxRisingTerms;
    if (!to_the_end && !keeps_going(term, sum, rising)) {
      if (!last_may_jump) break;
      // Its ratio is at most 1: it is not formed where its weight alone
      // would not rise out of line.
      const double last_weight = std::exp(-xnonc);
      double last = next;
      if (i > 1.0)
        last = rises_out_of_line(last_weight, term, sum) ? last_weight * ratio(half_dfn) : 0.0;
      if (!rises_out_of_line(last, term, sum)) break;
      to_the_end = true;
    }
    ++steps;
    xmult = next_xmult;
    i -= 1.0;
    adn = next_adn;
    dnterm = next_dnterm;
    betdn = next_betdn;
    term = next;
    sum += term;
  }

  // Forward: terms icent + 1 upward.  upterm is I_xx(aup - 1, b) -
  // I_xx(aup, b).  Past the centre both the weights and the ratios fall,
  // and so do these terms.  Where the quotient is lost, so is upterm: each
  // ratio is formed on its own.
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
    if (quotient_lost) {
      betup = ratio(aup);
    } else {
      upterm = (aup + b - 2.0) * xx / (aup - 1.0) * upterm;
      betup -= upterm;
    }
    sum += xmult * betup;
  } while (keeps_going(xmult * betup, sum, false));

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
  if (*which != 5 &&
      !check_argument(7, *pnonc, Domain::closed(0.0, kLargestNoncentrality), status, bound))
    return;

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
  // An answer beyond the largest noncentrality accepted lies above the
  // range, wherever the search found it.
  if (*which == 5 && (*status == 2 || (*status == 0 && *pnonc > kLargestNoncentrality))) {
    *status = 2;
    *bound = kLargestNoncentrality;
  }
}

}  // namespace numlib
