#include "stats/varlib/draws.h"

#include <algorithm>
#include <cmath>

#include "stats/varlib/com.h"
#include "stats/varlib/varlib.h"

namespace numlib {

double runif() { return ranf(); }

double rnorm(const double* mu, const double* sd) {
  return static_cast<double>(snorm()) * *sd + *mu;
}

double rgamma(double shape, double rate) {
  return gengam(static_cast<float>(rate), static_cast<float>(shape));
}

void rdirichlet(double* out, const double* alpha, const int* k) {
  double s = 0.0;
  for (int i = 0; i < *k; ++i) {
    out[i] = gengam(1.0f, static_cast<float>(alpha[i]));
    s += out[i];
  }
  for (int i = 0; i < *k; ++i) out[i] = (out[i] + 0.01 * s) / ((*k * 0.01 + 1.0) * s);
}

int rmultinom_unif_fast(int n) {
  const double u = ranf();
  if (n < 1) return 0;
  const double choice = std::floor(static_cast<float>(n) * u) + 1.0;
  return static_cast<int>(std::min(choice, static_cast<double>(n)));
}

int rmultinom_unif(int n) {
  double u = ranf();
  if (n < 1) return 0;
  int count = 0;
  do {
    u = u + (-1.0 / n);
    ++count;
  } while (u > 0.0 && count < n);
  return count;
}

void rmultinom(int* out, const double* p, int ncat) {
  double u = ranf();
  if (ncat < 1) {
    *out = 0;
    return;
  }
  int i = 0;
  do {
    u = u - p[i];
    ++i;
  } while (u > 0.0 && i < ncat);
  *out = i;
}

}  // namespace numlib
