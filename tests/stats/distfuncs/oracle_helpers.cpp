#include "oracle_helpers.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>
#include <boost/math/special_functions/gamma.hpp>

namespace oracle {

double rel_err(double got, double want) {
  if (want == 0.0) return std::fabs(got);
  return std::fabs(got - want) / std::fabs(want);
}

double gamma_ratio_tolerance(double a, double x, double acc) {
  const double eps = std::numeric_limits<double>::epsilon();
  const double p = boost::math::gamma_p(a, x);
  const double q = boost::math::gamma_q(a, x);
  const double density = boost::math::gamma_p_derivative(a, x);
  const double kappa = density == 0.0 ? 0.0 : x * density / std::min(p, q);
  return acc + 16.0 * eps * kappa;
}

std::vector<double> grid(double lo, double hi, int n, std::initializer_list<double> edges) {
  std::vector<double> v;
  for (int k = 0; k <= n; ++k) v.push_back(lo + (hi - lo) * k / n);
  for (double e : edges)
    v.insert(v.end(), {std::nextafter(e, -HUGE_VAL), e, std::nextafter(e, HUGE_VAL)});
  return v;
}

void expect_close(const char* what, const std::vector<double>& xs, const Fn& got, const Fn& want,
                  double tol, double floor) {
  for (double x : xs) {
    const double w = want(x);
    EXPECT_LE(std::fabs(got(x) - w), tol * std::max(std::fabs(w), floor)) << what << " at " << x;
  }
}

}  // namespace oracle
