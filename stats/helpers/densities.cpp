// The scalar densities and the Dirichlet density.
#include "stats/helpers/densities.h"

#include <cmath>

namespace stathelp {

namespace {
constexpr double kTwoPi = 6.283185308;
constexpr double kSqrtTwoPi = 2.5066282747946493;
}  // namespace

double dnorm(double x, const double* mu, const double* sd) {
  const double d = x - *mu;
  return std::exp(-0.5 * (d * d) / (*sd * *sd)) / (kSqrtTwoPi * *sd);
}

double log_dnorm(double x, double mu, double v) {
  const double d = x - mu;
  return -0.5 * ((d * d) / v + std::log(kTwoPi * v));
}

double dgamma(double x, double a, double b, int flag) {
  const double log_density = a * std::log(b) + (a - 1.0) * std::log(x) - b * x - std::lgamma(a);
  return flag == 0 ? std::exp(log_density) : log_density;
}

double log_dgamma(double x, double a, double b) {
  return a * std::log(b) - std::lgamma(a) + (a - 1.0) * std::log(x) - b * x;
}

double log_dbeta(double x, double a, double b) {
  return (a - 1.0) * std::log(x) + (b - 1.0) * std::log(1.0 - x) + std::lgamma(a + b) -
         std::lgamma(a) - std::lgamma(b);
}

double log_dscaled_Inv_Chi_Squared(double x, double nu, double s2) {
  const double half_nu = nu / 2.0;
  return half_nu * std::log(nu * s2 / 2.0) - std::lgamma(half_nu) - (half_nu + 1.0) * std::log(x) -
         nu * s2 / (2.0 * x);
}

double ddirichlet(const double* x, const double* alpha, const int* k) {
  double alpha_sum = 0.0;
  double terms = 0.0;
  for (int i = 0; i < *k; ++i) {
    alpha_sum += alpha[i];
    terms += (alpha[i] - 1.0) * std::log(x[i]) - std::lgamma(alpha[i]);
  }
  return std::lgamma(alpha_sum) + terms;
}

}  // namespace stathelp
