#include "oracle_helpers.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

}  // namespace oracle
