#include "random/negative_binomial_probability.h"

#include <cmath>

#include "random/log_gamma.h"
#include "random/saddle_point.h"

namespace {

// ln(mean^k exp(-mean) / k!) for mean = k + gap.  Below stirling_from
// directly, from the mean as given (k + gap would lose its digits where the
// mean is far below k); from there on as -D(k, mean) - ln(2 pi k) / 2 less
// the Stirling tail at k, which keeps the digits that k ln(mean) - mean -
// ln Gamma(k + 1) loses at large k.
double poisson_log_probability(double k, double mean, double gap) {
  if (k < stirling_from) return k * std::log(mean) - mean - ln_gamma(k + 1.0);
  return -deviance(k, -gap) - 0.5 * std::log(two_pi * k) - stirling_tail(k);
}

}  // namespace

// With T = N + k and Stirling's series for Gamma(T) and Gamma(N),
// p^N (1 - p)^k = (T p)^N (T (1 - p))^k / T^T and T p + T (1 - p) = T, the
// logarithm is ln Poisson(k; T (1 - p)) - D(N, T p) - ln(T / N) / 2 plus
// the tails.  Both means are taken from their common distance
// N - T p = T (1 - p) - k = (N P - k) / (1 + P), whose N P - k is rounded
// once (a fused multiply-add): the means themselves, rounded to about
// 1e-16 T, would leave that much of T in the sum.
double negative_binomial_log_probability(double N, double P, double k) {
  const double gap = std::fma(N, P, -k) / (1.0 + P);
  const double mean = (N + k) * (P / (1.0 + P));
  return poisson_log_probability(k, mean, gap) - deviance(N, gap) - 0.5 * std::log1p(k / N) +
         (stirling_tail(N + k) - stirling_tail(N));
}
