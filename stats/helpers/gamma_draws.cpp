// Chi-square, gamma, Dirichlet and beta draws from the gamma-family variates.
#include "stats/helpers/draws.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

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

namespace {

// Whether the shares g_i / s can be taken from the draws g themselves.  A
// draw below DBL_MIN (of a small shape) has lost digits, up to DBL_MIN of
// its value; against a sum of 2^-950 or more that is below 2^-60 of the
// sum, far below the 0.01 share each output carries.  Below that, and for
// a sum that overflows, the shares come from the logarithms.
bool shares_from_draws(const double* g, int k, double sum) {
  if (!(sum <= DBL_MAX)) return false;
  if (sum >= 0x1p-950) return true;
  return std::all_of(g, g + k, [](double x) { return std::isnormal(x); });
}

// The shares exp(ln g_i - the largest) from the scaled logarithms s_i ln g_i
// (scales s_i > 0), where every ln g_i passes -DBL_MAX (shapes below about
// 1e-306): multiplied by s / s_i for the least scale s they compare as the
// ln g_i do, and their differences divided by s are those of the ln g_i.
void shares_from_scaled_logs(double* share, const double* scaled_log, const double* scale, int k) {
  const double least = *std::min_element(scale, scale + k);
  std::vector<double> common(k);
  for (int i = 0; i < k; ++i) common[i] = scaled_log[i] * (least / scale[i]);
  const double largest = *std::max_element(common.begin(), common.end());
  for (int i = 0; i < k; ++i) share[i] = std::exp((common[i] - largest) / least);
}

}  // namespace

void rdirichlet(double* out, const double* alpha, const int* k) {
  if (*k <= 0) return;
  std::vector<double> log_draw(*k), scaled_log(*k), scale(*k);
  double sum = 0.0;
  for (int i = 0; i < *k; ++i) {
    Gamma gamma(alpha[i]);
    out[i] = gamma.NextWithLog(log_draw[i], scaled_log[i]);
    scale[i] = gamma.LogScale();
    sum += out[i];
  }
  if (shares_from_draws(out, *k, sum)) {
    const double divisor = (*k * 0.01 + 1.0) * sum;
    for (int i = 0; i < *k; ++i) out[i] = (out[i] + 0.01 * sum) / divisor;
    return;
  }
  // The shares scaled by the largest draw, from the logarithms.
  const double largest = *std::max_element(log_draw.begin(), log_draw.end());
  if (largest == -HUGE_VAL)
    shares_from_scaled_logs(out, scaled_log.data(), scale.data(), *k);
  else
    for (int i = 0; i < *k; ++i) out[i] = std::exp(log_draw[i] - largest);
  double total = 0.0;
  for (int i = 0; i < *k; ++i) total += out[i];
  for (int i = 0; i < *k; ++i) out[i] = (out[i] / total + 0.01) / (*k * 0.01 + 1.0);
}

double genbet(float a, float b) {
  Gamma gamma_a(a);
  Gamma gamma_b(b);
  double log_x, log_y;
  const double x = gamma_a.NextWithLog(log_x);
  const double y = gamma_b.NextWithLog(log_y);
  if (std::isnormal(x) && std::isnormal(y)) return x / (x + y);
  // A draw below DBL_MIN (of a small shape) has lost its digits, and with
  // them those of a small result: 1 / (1 + y / x) from the logarithms, the
  // smaller ratio exponentiated.
  if (log_x >= log_y) return 1.0 / (1.0 + std::exp(log_y - log_x));
  const double ratio = std::exp(log_x - log_y);
  return ratio / (1.0 + ratio);
}

}  // namespace stathelp
