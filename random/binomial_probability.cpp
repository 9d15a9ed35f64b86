#include "random/binomial_probability.h"

#include <cmath>

#include "random/log_gamma.h"

double binomial_log_probability(int n, int m, double p) {
  double sum = 0.0;
  for (int j = 0; j < m; ++j) sum += std::log((n - j) * p);
  return sum - ln_gamma(m + 1.0) + (n - m) * std::log1p(-p);
}
