#include "random/negative_binomial_probability.h"

#include <cmath>

#include "random/log_gamma.h"

namespace {

constexpr double two_pi = 6.283185307179586;

// From here on the Stirling series' tail, cut after its fourth term, is
// within 1 / (1188 k^9) < 5e-17 of ln Gamma(k + 1) - ((k + 1/2) ln k - k +
// ln(2 pi) / 2).
constexpr double stirling_from = 30;

// Stirling's series without its leading terms: ln Gamma(y) - ((y - 1/2) ln y
// - y + ln(2 pi) / 2), cut after 1 / (1680 y^7).
double stirling_tail(double y) {
  const double w = 1.0 / (y * y);
  return (((-1.0 / 1680 * w + 1.0 / 1260) * w - 1.0 / 360) * w + 1.0 / 12) / y;
}

// x ln(x / M) + M - x for x > 0 and M = x - d > 0, from the difference d
// itself.  Near M = x, where the two parts cancel, as the series in
// v = d / (x + M): d v + 2 x (v^3 / 3 + v^5 / 5 + ...).
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
