#include "stats/distfuncs/beta_quotient.h"

#include <cmath>
#include <limits>

#include "stats/distfuncs/bratio.h"

namespace numlib {

void bratio_quotient(double a, double b, double d, double u, double v, double* w, double* w1) {
  constexpr double kSmallestNormal = std::numeric_limits<double>::min();
  // d = md 2^ed and u v = m 2^e, m rounded once as u v would be; both are
  // divided by 2^e.
  int ed = 0, eu = 0, ev = 0;
  const double md = std::frexp(d, &ed);
  const double m = std::frexp(u, &eu) * std::frexp(v, &ev);
  const int e = eu + ev;
  const double scaled_d = std::ldexp(md, ed - e);
  const double sum = scaled_d + m;
  const double x = scaled_d / sum;
  int ierr = 0;
  if (x >= kSmallestNormal) {
    const double y = m / sum;
    bratio(&a, &b, &x, &y, w, w1, &ierr);
    return;
  }
  // Below the normal range: the first series term, scaled from x1.
  const double x1 = kSmallestNormal;
  const double y1 = 1.0;  // 1 - x1, rounded
  double w_at_x1 = 0.0, w1_at_x1 = 0.0;
  bratio(&a, &b, &x1, &y1, &w_at_x1, &w1_at_x1, &ierr);
  // ln (x / x1)^a, negative
  const double ln_scale = a * ((std::log(d) - std::log(u) - std::log(v)) - std::log(x1));
  const double scale = std::exp(ln_scale);
  *w = scale * w_at_x1;
  *w1 = -std::expm1(ln_scale) + scale * w1_at_x1;
}

}  // namespace numlib
