#include "random/binomial_probability.h"

#include <cmath>

#include "random/log_gamma.h"
#include "random/saddle_point.h"

double binomial_log_probability(int n, int m, double p) {
  double sum = 0.0;
  for (int j = 0; j < m; ++j) sum += std::log((n - j) * p);
  return sum - ln_gamma(m + 1.0) + (n - m) * std::log1p(-p);
}

// With Stirling's series for n!, m! and (n - m)!, and n p + n (1 - p) = n,
// ln C(n, m) p^m (1 - p)^(n - m) = tail(n) - tail(m) - tail(n - m)
// - D(m, n p) - D(n - m, n (1 - p)) - ln(2 pi m (n - m) / n) / 2.  Both means
// are taken from their common distance n p - m = (n - m) - n (1 - p), rounded
// once (a fused multiply-add): n p itself, rounded, would leave 1e-16 n p of
// an error in the deviances, and n (1 - p) 1e-16 n.
double binomial_saddle_log_probability(int n, int m, double p) {
  const double gap = std::fma(n, p, -m);
  const double rest = n - m;
  return (stirling_tail(n) - stirling_tail(m) - stirling_tail(rest)) - deviance(m, -gap) -
         deviance(rest, gap) - 0.5 * std::log(two_pi * (m * rest / n));
}
