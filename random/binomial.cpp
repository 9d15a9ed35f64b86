// Binomial variates: the facade Binomial and its implementations Binomial1
// (table method, large means) and Binomial2 (alias table, small means).
#include <algorithm>
#include <array>
#include <cmath>

#include <newmat/myexcept.h>

#include "random/allocate.h"
#include "random/binomial_probability.h"
#include "random/discrete_variates.h"
#include "random/log_gamma.h"

namespace {

constexpr int table_size = 40;  // Binomial2's table holds at most 0 .. 39

// A negative count, or a probability outside [0, 1] or NaN, is refused.
double checked_probability(int n, double p) {
  if (n < 0 || !(p >= 0.0 && p <= 1.0)) throw RBD_COMMON::Logic_error("Vorand: illegal parameters");
  return p;
}

// count ln x, taken as 0 when the count is 0 (also for x = 0, where the
// probability p^0 or q^0 is 1).
double count_log(double count, double x) { return count == 0.0 ? 0.0 : count * std::log(x); }

// ln of the probability of m in n trials.
double centre_log_probability(int n, int m, double p, double q) {
  if (n >= many_trials) return binomial_log_probability(n, m, p);
  return ln_gamma(n + 1.0) - ln_gamma(m + 1.0) - ln_gamma(n - m + 1.0) + count_log(m, p) +
         count_log(n - m, q);
}

// The probabilities of 0 .. min(n, 39), from the centre floor(n p) outward.
DiscreteGen binomial_table(int n, double prob) {
  const double p = checked_probability(n, prob);
  const double q = 1.0 - p;
  const int m = static_cast<int>(n * p);
  const int kmax = std::min(n, table_size - 1);
  if (m > kmax) throw RBD_COMMON::Logic_error("Vorand: illegal parameters");
  std::array<double, table_size> pk;
  pk[m] = std::exp(centre_log_probability(n, m, p, q));
  for (int k = m + 1; k <= kmax; ++k) pk[k] = pk[k - 1] * p * (n - k + 1) / q / k;
  for (int k = m - 1; k >= 0; --k) pk[k] = pk[k + 1] * q * (k + 1) / p / (n - k);
  return DiscreteGen(kmax + 1, pk.data());
}

}  // namespace

Binomial::Binomial(int n, double p) {
  checked_probability(n, p);
  if (p == 0.0 || p == 1.0)
    implementation = allocate<Constant>(n * p);  // 0 or n: nothing to draw
  else if (n >= 40 && n * p > 8.0)
    implementation = allocate<Binomial1>(n, p);
  else
    implementation = allocate<Binomial2>(n, p);
}

const char* Binomial::Name() { return "Binomial"; }

Binomial1::Binomial1(int trials, double prob)
    : AsymGen((trials + 1.0) * prob),
      p(checked_probability(trials, prob)),
      q(1.0 - p),
      ln_p(std::log(p)),
      ln_q(std::log(q)),
      log_norm(ln_gamma(trials + 1.0)),
      n(trials) {}

double Binomial1::Next() { return std::floor(AsymGen::Next()); }

double Binomial1::Density(double x) const {
  const double ix = std::floor(x);
  if (ix < 0.0 || ix > n) return 0.0;
  const double t =
      log_norm - ln_gamma(ix + 1.0) - ln_gamma(n - ix + 1.0) + ix * ln_p + (n - ix) * ln_q;
  return t < -40.0 ? 0.0 : std::exp(t);
}

Binomial2::Binomial2(int n, double p) : table(binomial_table(n, p)) {}
