// The gamma family of distfuncs.h: cumgam and cdfgam.
#include "stats/distfuncs/distfuncs.h"

#include <cmath>
#include <limits>

#include "stats/distfuncs/cdf_checks.h"
#include "stats/distfuncs/gaminv.h"
#include "stats/distfuncs/gratio.h"
#include "stats/distfuncs/log_gamma.h"
#include "stats/distfuncs/search_loops.h"
#include "stats/distfuncs/specfuncs.h"

namespace numlib {

namespace {

constexpr int kFullAccuracy = 0;
// gaminv's argument asking for its own first approximation.
constexpr double kNoStart = -1.0;
// X, SHAPE and SCALE are finite (an infinite X or SCALE would make the
// answer of which 4 or 2 zero): an infinite one is refused with this bound.
constexpr double kLargest = std::numeric_limits<double>::max();
constexpr double kSmallestNormal = std::numeric_limits<double>::min();
// ln of the P above which P (x^a / Gamma(a + 1), a < 1) counts as near 1
// and Q is formed directly, as in the incomplete gamma ratio.
constexpr double kNearOne = -0.13394;

// x with P(shape, x) = p, q = 1 - p; false when gaminv reports an error.
// gaminv wants p + q within one machine epsilon of 1, where the checks of
// cdfgam allow three: it is given the smaller tail and its complement.
bool invert_ratio(const double* shape, double p, double q, double* x) {
  if (p <= q)
    q = 0.5 + (0.5 - p);
  else
    p = 0.5 + (0.5 - q);
  int ierr = 0;
  gaminv(shape, x, &kNoStart, &p, &q, &ierr);
  return ierr >= 0;
}

// *out = value with status 0, unless value overflowed (X for a SCALE below
// about 1e-308, SCALE for an X below it): status 10, *out not written.
void set_answer(double value, double* out, int* status) {
  if (std::isinf(value)) {
    *status = 10;
    return;
  }
  *out = value;
  *status = 0;
}

// Whether x scale underflows: its exact value lies below the smallest
// normal double and is not representable, so that the product is 0 or
// keeps only some of its digits.  x and scale are positive and finite; the
// product of their fractions is split into its rounded value and error
// (exact in the normal range) and tested against the value that survives
// scaling into the subnormal range.
bool product_underflows(double x, double scale) {
  if (!(x * scale < kSmallestNormal)) return false;
  int ex = 0, es = 0;
  const double fx = std::frexp(x, &ex);
  const double fs = std::frexp(scale, &es);
  const double head = fx * fs;
  const double tail = std::fma(fx, fs, -head);
  return tail != 0.0 || std::ldexp(std::ldexp(head, ex + es), -(ex + es)) != head;
}

// P and Q of the gamma distribution at x with the given shape and scale
// (which 1 and the search of which 3).  Where x scale underflows it is not
// formed: its exact value is then below 2.2e-308, x scale / (shape + 1) is
// negligible, and P = (x scale)^shape / Gamma(shape + 1) to double
// precision, whose logarithm z - ln Gamma(shape + 1),
// z = shape (ln x + ln scale), is formed from the two logarithms.  For
// shape < 1, 1/Gamma(shape + 1) = 1 + gam1; where P is near 1, Q is formed
// from e^z - 1 so that it keeps its digits, as the power series of the
// incomplete gamma ratio does.  For shape >= 1, z is below -708 and Q = 1.
void gamma_tails(double x, double scale, const double* shape, double* cum, double* ccum) {
  if (!(x > 0.0 && product_underflows(x, scale))) {
    const double xscale = x * scale;
    cumgam(&xscale, shape, cum, ccum);
    return;
  }
  const double z = *shape * (std::log(x) + std::log(scale));
  if (*shape >= 1.0) {
    const double shape_plus_one = *shape + 1.0;
    *cum = std::exp(z - gamln(&shape_plus_one));
    *ccum = 0.5 + (0.5 - *cum);
    return;
  }
  const double h = gam1(shape);
  const double g = 1.0 + h;
  if (z > kNearOne) {
    const double l = rexp(&z);
    *ccum = -(l * g + h);
    *cum = 0.5 + (0.5 - *ccum);
    return;
  }
  *cum = std::exp(z) * g;
  *ccum = 0.5 + (0.5 - *cum);
}

}  // namespace

void cumgam(const double* x, const double* a, double* cum, double* ccum) {
  if (*x <= 0.0) {
    *cum = 0.0;
    *ccum = 1.0;
    return;
  }
  gratio(a, x, cum, ccum, &kFullAccuracy);
}

void cdfgam(int* which, double* p, double* q, double* x, double* shape, double* scale, int* status,
            double* bound) {
  if (!check_which(*which, 4, status, bound)) return;
  if (*which != 1) {
    if (!check_argument(2, *p, Domain::closed(0.0, 1.0), status, bound)) return;
    if (!check_argument(3, *q, Domain::open_closed(0.0, 1.0), status, bound)) return;
  }
  // SCALE = x/X for which 4 needs X > 0.
  const Domain x_domain =
      *which == 4 ? Domain::open_closed(0.0, kLargest) : Domain::closed(0.0, kLargest);
  if (*which != 2 && !check_argument(4, *x, x_domain, status, bound)) return;
  if (*which != 3 && !check_argument(5, *shape, Domain::open_closed(0.0, kLargest), status, bound))
    return;
  if (*which != 4 && !check_argument(6, *scale, Domain::open_closed(0.0, kLargest), status, bound))
    return;

  if (*which == 1) {
    *status = 0;
    gamma_tails(*x, *scale, shape, p, q);
    if (*p > 1.5) *status = 10;
    return;
  }

  if (!check_pair_sum(3, *p, *q, status, bound)) return;
  double xx = 0.0;
  switch (*which) {
    case 2:
      if (!invert_ratio(shape, *p, *q, &xx)) {
        *status = 10;
        return;
      }
      set_answer(xx / *scale, x, status);
      return;
    case 3: {
      const auto tails_at = [x, scale, shape] {
        Tails t;
        gamma_tails(*x, *scale, shape, &t.cum, &t.ccum);
        // The incomplete gamma ratio signals an error by P = 2.0 and
        // leaves Q as it was, so P is tested whichever tail is compared.
        t.failed = t.cum > 1.5;
        return t;
      };
      search_for_unknown(shape, kSearchStart, {1e-300, 1e300}, smaller_tail(*p, *q), tails_at,
                         status, bound);
      return;
    }
    default:
      if (!invert_ratio(shape, *p, *q, &xx)) {
        *status = 10;
        return;
      }
      set_answer(xx / *x, scale, status);
      return;
  }
}

}  // namespace numlib
