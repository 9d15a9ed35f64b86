// Binomial draws with the number of trials and the probability given at
// each call.  The methods below take p <= 0.5, so q = 1 - p >= 0.5.
#include <cmath>

#include <newmat/myexcept.h>

#include "random/binomial_probability.h"
#include "random/round_to_int.h"
#include "random/variable_parameter.h"

namespace {

// q^n for q = 1 - p rounded.  The rounding of q (up to 2^-54 of it) would
// come n times into q^n, 1.2e-7 of it at n = 2^31, and the inversion's terms
// would sum to 1 less that much: a uniform above the sum then ended the
// search in the far tail, at a value of probability 1e-17 or less.  The
// rounding d = (1 - q) - p is exact (1 - q is, by Sterbenz's lemma, and so
// is its difference from p), and (q + d)^n = q^n (1 + d / q)^n: the factor
// is exactly 1 where q is exact, and q^n unchanged there.
double power_of_complement(int n, double p, double q) {
  const double d = (1.0 - q) - p;
  return std::pow(q, n) * std::exp(n * std::log1p(d / q));
}

// Inversion from 0 for n p <= 10: the least k whose cumulative probability
// reaches one uniform.  A uniform above the rounded sum ends the search at
// the value reached: at n, or, past the mode, where a term no longer
// changes the sum, since the later terms are smaller still.  (Before the
// mode no term is that small.)
double inversion(int n, double p) {
  const double q = 1.0 - p;
  const double r = p / q;
  const double u = Random::RNG->Next();
  double pk = power_of_complement(n, p, q);
  double sum = pk;
  if (sum >= u) return 0.0;
  for (int k = 1; k <= n; ++k) {
    pk = pk * (n - k + 1) * r / k;
    const double next = sum + pk;
    if (next == sum) return k;
    sum = next;
    if (sum >= u) return k;
  }
  return n;
}

// The small-mean method for 10 < n p <= 200: one uniform, then the
// probabilities summed outward from m = trunc(n p), one step up (while below
// n) and then one step down (while above 0), until the sum reaches the
// uniform.  Every term comes from the probability of m by the ratios of its
// neighbours, so the terms sum to 1 as nearly as that one is right: it
// comes from the saddle-point form, within a few roundings at any n (from
// ln Gamma(n + 1) - ln Gamma(m + 1) - ln Gamma(n - m + 1) it lost about
// 1e-14 n of itself, and the uniforms above the sum ended in the far tail).
// A uniform above the rounded sum ends the search at the upper value
// reached: when both ends are reached, or when a round changes the sum on
// neither side (the terms only shrink away from the mode).
double small_mean(int n, double p) {
  const double q = 1.0 - p;
  const double r = p / q;
  const double u = Random::RNG->Next();
  const int m = static_cast<int>(n * r / (r + 1.0));
  const double pm = std::exp(binomial_saddle_log_probability(n, m, p));
  if (u <= pm) return m;
  double sum = pm, p_up = pm, p_down = pm;
  int k = m, j = m;
  for (;;) {
    bool gained = false;
    if (k < n) {
      ++k;
      p_up = p_up * (n - k + 1) * r / k;
      const double next = sum + p_up;
      gained = next != sum;
      sum = next;
      if (sum >= u) return k;
    }
    if (j > 0) {
      p_down = p_down * j / (n - j + 1) / r;
      --j;
      const double next = sum + p_down;
      gained = gained || next != sum;
      sum = next;
      if (sum >= u) return j;
    } else if (k >= n) {
      return k;
    }
    if (!gained) return k;
  }
}

}  // namespace

double VariBinomial::Next(int n, double p) {
  if (p > 0.5) return n - Next(n, 1.0 - p);
  if (n < 0 || !(p >= 0.0)) throw RBD_COMMON::Logic_error("Vorand: illegal parameters");
  if (n == 0 || p == 0.0) return 0.0;
  const double np = n * p;
  if (np <= 10.0) return inversion(n, p);
  if (np <= 200.0) return small_mean(n, p);
  const double z = normal.Next();
  return std::floor(np + std::sqrt(np * (1.0 - p) - 1.0 / 12.0) * z + 0.5);
}

int VariBinomial::iNext(int n, double p) {
  RBD_COMMON::Tracer trace("VariBinomial::iNext ");
  return round_to_int(Next(n, p));
}
