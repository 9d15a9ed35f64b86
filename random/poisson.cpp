// Poisson variates: the facade Poisson and its implementations Poisson1
// (table method, large means) and Poisson2 (alias table, small means).
#include <array>
#include <cmath>

#include <newmat/myexcept.h>

#include "random/allocate.h"
#include "random/discrete_variates.h"
#include "random/log_gamma.h"

namespace {

constexpr int table_size = 40;  // Poisson2 leaves out outcomes from 40 up

// A negative or NaN mean is refused.
double checked_mean(double mu) {
  if (!(mu >= 0.0)) throw RBD_COMMON::Logic_error("Vorand: illegal parameters");
  return mu;
}

// The probabilities of 0 .. 39.
DiscreteGen poisson_table(double mu) {
  std::array<double, table_size> p;
  p[0] = std::exp(-checked_mean(mu));
  for (int k = 1; k < table_size; ++k) p[k] = p[k - 1] * mu / k;
  return DiscreteGen(table_size, p.data());
}

}  // namespace

Poisson::Poisson(double mu) {
  if (checked_mean(mu) > 8.0)
    implementation = allocate<Poisson1>(mu);
  else
    implementation = allocate<Poisson2>(mu);
}

const char* Poisson::Name() { return "Poisson"; }

Poisson1::Poisson1(double mean) : AsymGen(mean), mu(checked_mean(mean)), ln_mu(std::log(mean)) {}

double Poisson1::Next() { return std::floor(AsymGen::Next()); }

double Poisson1::Density(double x) const {
  if (x < 0.0) return 0.0;
  const double ix = std::floor(x);
  const double t = ix * ln_mu - mu - ln_gamma(ix + 1.0);
  return t < -40.0 ? 0.0 : std::exp(t);
}

Poisson2::Poisson2(double mu) : table(poisson_table(mu)) {}
