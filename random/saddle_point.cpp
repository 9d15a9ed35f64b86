#include "random/saddle_point.h"

#include <cmath>

#include "random/log_gamma.h"

namespace {

// The series' coefficients B(2k) / (2k (2k - 1)) for k = 1 .. 8, B the
// Bernoulli numbers.
constexpr double stirling_coefficients[] = {1.0 / 12,    -1.0 / 360,      1.0 / 1260,
                                            -1.0 / 1680, 1.0 / 1188,      -691.0 / 360360,
                                            1.0 / 156,   -3617.0 / 122400};

// Where eight terms are within 8e-17 of the tail; below it the series no
// longer converges fast enough.
constexpr double eight_terms_from = 8;

// The first terms of the series, by Horner's rule in 1 / y^2.
double stirling_series(double y, int terms) {
  const double w = 1.0 / (y * y);
  double sum = stirling_coefficients[terms - 1];
  for (int k = terms - 2; k >= 0; --k) sum = sum * w + stirling_coefficients[k];
  return sum / y;
}

}  // namespace

double stirling_tail(double y) {
  if (y >= stirling_from) return stirling_series(y, 4);
  if (y >= eight_terms_from) return stirling_series(y, 8);
  return ln_gamma(y) - ((y - 0.5) * std::log(y) - y + 0.5 * std::log(two_pi));
}

double deviance(double x, double d) {
  const double sum_xm = 2 * x - d;
  if (std::fabs(d) < 0.1 * sum_xm) {
    const double v = d / sum_xm, v2 = v * v;
    double sum = d * v, term = 2 * x * v;
    for (int j = 1;; ++j) {  // |v| < 0.1: a digit a term
      term *= v2;
      const double next = sum + term / (2 * j + 1);
      if (next == sum) return sum;
      sum = next;
    }
  }
  return -x * std::log1p(-d / x) - d;
}
