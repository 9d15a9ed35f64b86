#include "stats/distfuncs/log_beta.h"

#include <algorithm>
#include <cmath>

#include "stats/distfuncs/elementary.h"
#include "stats/distfuncs/horner.h"
#include "stats/distfuncs/log_gamma.h"
#include "stats/distfuncs/stirling.h"

namespace numlib {

namespace {

// del(b) - del(a + b) for b >= 8, given x = b/(a + b), c = a/(a + b) and
// t = (1/b)^2: Stirling's series with the k-th term weighted by
// s(2k+1) = 1 + x + ... + x^(2k), times c/b.
double stirling_difference(double x, double c, double b, double t) {
  const double x2 = x * x;
  const double s3 = 1.0 + (x + x2);
  const double s5 = 1.0 + (x + x2 * s3);
  const double s7 = 1.0 + (x + x2 * s5);
  const double s9 = 1.0 + (x + x2 * s7);
  const double s11 = 1.0 + (x + x2 * s9);
  const double weighted[6] = {kStirlingDel[0],      kStirlingDel[1] * s3, kStirlingDel[2] * s5,
                              kStirlingDel[3] * s7, kStirlingDel[4] * s9, kStirlingDel[5] * s11};
  return horner(weighted, t) * c / b;
}

double inverse_square(double a) {
  const double r = 1.0 / a;
  return r * r;
}

}  // namespace

double bcorr(const double* a0, const double* b0) {
  const double a = std::min(*a0, *b0);
  const double b = std::max(*a0, *b0);
  const double h = a / b;
  const double c = h / (1.0 + h);
  const double x = 1.0 / (1.0 + h);
  const double w = stirling_difference(x, c, b, inverse_square(b));
  return horner(kStirlingDel, inverse_square(a)) / a + w;
}

double algdiv(const double* a, const double* b) {
  double h, c, x, d;
  if (*a <= *b) {
    h = *a / *b;
    c = h / (1.0 + h);
    x = 1.0 / (1.0 + h);
    d = *b + (*a - 0.5);
  } else {
    h = *b / *a;
    c = 1.0 / (1.0 + h);
    x = h / (1.0 + h);
    d = *a + (*b - 0.5);
  }
  const double w = stirling_difference(x, c, *b, inverse_square(*b));
  const double a_over_b = *a / *b;
  const double u = d * alnrel(&a_over_b);
  const double v = *a * (std::log(*b) - 1.0);
  // Subtract the larger of u and v last.
  if (u > v) return (w - v) - u;
  return (w - u) - v;
}

double betaln(const double* a0, const double* b0) {
  constexpr double e = 0.918938533204673;  // 0.5 ln(2 pi)
  // min and max would drop a not-a-number argument, and the recurrence
  // counts below must not be formed from one.
  if (std::isnan(*a0)) return *a0;
  if (std::isnan(*b0)) return *b0;
  double a = std::min(*a0, *b0);
  double b = std::max(*a0, *b0);
  if (a >= 8.0) {
    const double w = bcorr(&a, &b);
    const double h = a / b;
    const double c = h / (1.0 + h);
    const double u = -(a - 0.5) * std::log(c);
    const double v = b * alnrel(&h);
    if (u > v) return (((-0.5 * std::log(b) + e) + w) - v) - u;
    return (((-0.5 * std::log(b) + e) + w) - u) - v;
  }
  if (a < 1.0) {
    if (b < 8.0) {
      const double apb = a + b;
      return gamln(&a) + (gamln(&b) - gamln(&apb));
    }
    return gamln(&a) + algdiv(&a, &b);
  }
  // From here 1 <= a < 8; w collects ln of the factors split off from a.
  double w = 0.0;
  if (a <= 2.0) {
    if (b <= 2.0) return gamln(&a) + gamln(&b) - gsumln(&a, &b);
    if (b >= 8.0) return gamln(&a) + algdiv(&a, &b);
  } else {
    // Reduce a to (1, 2] by the recurrence.
    const int n = static_cast<int>(a - 1.0);
    if (b > 1000.0) {
      double prod = 1.0;
      for (int i = 1; i <= n; ++i) {
        a -= 1.0;
        prod = prod * a / (1.0 + a / b);
      }
      return (std::log(prod) - n * std::log(b)) + (gamln(&a) + algdiv(&a, &b));
    }
    double prod = 1.0;
    for (int i = 1; i <= n; ++i) {
      a -= 1.0;
      const double h = a / b;
      prod = prod * h / (1.0 + h);
    }
    w = std::log(prod);
    if (b >= 8.0) return w + gamln(&a) + algdiv(&a, &b);
  }
  // Reduce b (< 8) to [1, 2) by the recurrence.
  const int n = static_cast<int>(b - 1.0);
  double z = 1.0;
  for (int i = 1; i <= n; ++i) {
    b -= 1.0;
    z = z * b / (a + b);
  }
  return w + std::log(z) + (gamln(&a) + (gamln(&b) - gsumln(&a, &b)));
}

double dlnbet(const double* a0, const double* b0) { return betaln(a0, b0); }

double dbetrm(const double* a, const double* b) {
  // Summed from the smallest term to the largest.
  const double apb = *a + *b;
  const double big = std::max(*a, *b);
  const double small = std::min(*a, *b);
  double sum = -dstrem(&apb);
  sum += dstrem(&big);
  sum += dstrem(&small);
  return sum;
}

}  // namespace numlib
