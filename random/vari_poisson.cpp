// Poisson draws with the mean given at each call.
#include <cmath>

#include <newmat/myexcept.h>

#include "random/log_gamma.h"
#include "random/round_to_int.h"
#include "random/variable_parameter.h"

namespace {

// Inversion from 0 for 0 < mu < 10: the least k whose cumulative
// probability passes one uniform.  Past the mode the terms only shrink, so
// once one leaves the sum unchanged the sum can never pass the uniform: the
// search ends at the k reached.  (Before the mode no term is that small.)
double inversion(double mu) {
  double p = std::exp(-mu);
  double sum = p;
  const double u = Random::RNG->Next();
  int k = 0;
  while (u > sum) {
    ++k;
    p = p * mu / k;
    const double next = sum + p;
    if (next == sum) break;
    sum = next;
  }
  return k;
}

// A normal approximation for mu >= 300 (and NaN): one uniform, then one
// normal draw.
double large_mean(double mu, Normal& normal) {
  const double u = Random::RNG->Next();
  double x;
  if (u > 1.0 / 3.0) {
    const double a = (mu - 1.0 / 12.0) * 0.5;
    double s, c;
    if (std::isinf(mu * mu)) {
      // From about 1.34e154 mu^2 overflows; a / mu^2 (about 1 / (2 mu)) is
      // then lost against 1, so s is mu, and mu + s = 2 mu may overflow too.
      s = mu;
      c = std::sqrt(a / mu * 0.5);
    } else {
      s = std::sqrt(mu * mu - a);
      c = std::sqrt(a / (mu + s));
    }
    const double z = normal.Next();
    const double root = c * z + std::sqrt(s);
    x = std::floor(root * root + 0.5);
  } else {
    const double z = normal.Next();
    x = std::floor(z * std::sqrt(mu - 1.0 / 12.0) + mu + 0.5);
  }
  return x < 0.0 ? 0.0 : x;
}

// The small-mean method for 10 <= mu < 100 (below 10 the inversion, 0 at
// 0): starting from the mode m = trunc(mu), the probabilities are summed
// outward, one step up and then, while there is one, one step down, until
// the sum passes one uniform.  Both sides' terms shrink as they leave the
// mode, so a round in which neither changes the sum ends the search.
double small_mean(double mu) {
  if (mu == 0.0) return 0.0;
  if (mu < 10.0) return inversion(mu);
  const int m = static_cast<int>(mu);
  const double u = Random::RNG->Next();
  const double pm = std::exp(m * std::log(mu) - mu - ln_gamma(m + 1.0));
  if (pm > u) return m;
  double sum = pm, p_up = pm, p_down = pm;
  int k = m, j = m;
  for (;;) {
    ++k;
    p_up = p_up * mu / k;
    double next = sum + p_up;
    bool gained = next != sum;
    sum = next;
    if (sum > u) return k;
    if (j > 0) {
      p_down = p_down * j / mu;
      --j;
      next = sum + p_down;
      gained = gained || next != sum;
      sum = next;
      if (sum > u) return j;
    }
    if (!gained) return k;
  }
}

}  // namespace

double VariPoisson::Next(double mu) {
  if (mu < 0.0) throw RBD_COMMON::Logic_error("Vorand: illegal parameters");
  if (mu == 0.0) return 0.0;
  if (mu < 10.0) return inversion(mu);
  if (mu < 100.0) return small_mean(mu);
  if (mu < 200.0) {
    const double first = poisson_100.Next();
    return first + small_mean(mu - 100.0);
  }
  if (mu < 300.0) {
    const double first = poisson_200.Next();
    return first + small_mean(mu - 200.0);
  }
  return large_mean(mu, normal);
}

int VariPoisson::iNext(double mu) {
  RBD_COMMON::Tracer trace("VariPoisson::iNext ");
  return round_to_int(Next(mu));
}
