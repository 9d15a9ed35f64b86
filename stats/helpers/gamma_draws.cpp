// Chi-square, gamma, Dirichlet and beta draws from the gamma-family variates.
#include "stats/helpers/draws.h"

#include "random/vorand2.h"

namespace stathelp {

double genchi(int df) {
  ChiSq chi_square(df, 0.0);
  return chi_square.Next();
}

double rgamma(double shape, double rate) {
  Gamma gamma(shape);
  return gamma.Next() / rate;
}

void rdirichlet(double* out, const double* alpha, const int* k) {
  double sum = 0.0;
  for (int i = 0; i < *k; ++i) {
    Gamma gamma(alpha[i]);
    out[i] = gamma.Next();
    sum += out[i];
  }
  const double divisor = (*k * 0.01 + 1.0) * sum;
  for (int i = 0; i < *k; ++i) out[i] = (out[i] + 0.01 * sum) / divisor;
}

double genbet(float a, float b) {
  Gamma gamma_a(a);
  Gamma gamma_b(b);
  const double x = gamma_a.Next();
  const double y = gamma_b.Next();
  return x / (x + y);
}

}  // namespace stathelp
