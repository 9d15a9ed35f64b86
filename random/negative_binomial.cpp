// The negative binomial variate, by the table method on its step density.
#include <cmath>

#include <newmat/myexcept.h>

#include "random/discrete_variates.h"
#include "random/log_gamma.h"
#include "random/negative_binomial_probability.h"

namespace {

// Below these odds 1 - 1 / (1 + P) keeps fewer than half the digits of the
// failure probability (its relative error is about 2e-16 / P), and below
// about 1.1e-16 none: 1 + P is 1.  There the logarithms come from log1p.
constexpr double small_odds = 1e-8;

// The table starts at the mode (N - 1) P, or at 0 when that is below 1.
double negative_binomial_mode(double N, double P) {
  const double mode = (N - 1.0) * P;
  return mode < 1.0 ? 0.0 : mode;
}

}  // namespace

NegativeBinomial::NegativeBinomial(double N, double P)
    : AsymGen(negative_binomial_mode(N, P)), shape_n(N), odds(P) {
  if (!(N > 0.0 && P > 0.0)) throw RBD_COMMON::Logic_error("Vorand: illegal parameters");
  q = 1.0 + P;
  p = 1.0 / q;
  if (P < small_odds) {
    // 1 - p = P / (1 + P) and p = 1 / (1 + P), in logarithms.
    const double ln_1p = std::log1p(P);
    ln_q = std::log(P) - ln_1p;
    log_norm = -N * ln_1p - ln_gamma(N);
  } else {
    ln_q = std::log(1.0 - p);
    log_norm = N * std::log(p) - ln_gamma(N);
  }
}

double NegativeBinomial::Next() { return std::floor(AsymGen::Next()); }

const char* NegativeBinomial::Name() { return "NegativeBinomial"; }

double NegativeBinomial::Density(double x) const {
  if (x < 0.0) return 0.0;
  const double ix = std::floor(x);
  const double t = shape_n >= large_shape
                       ? negative_binomial_log_probability(shape_n, odds, ix)
                       : ln_gamma(ix + shape_n) + log_norm - ln_gamma(ix + 1.0) + ix * ln_q;
  return t < -40.0 ? 0.0 : std::exp(t);
}
