// Gamma variates: the facade Gamma and its implementations Gamma1 (shape
// below 1) and Gamma2 (shape above 1).
#include <cmath>
#include <utility>

#include "random/allocate.h"
#include "random/log_gamma.h"
#include "random/vorand2.h"

Gamma::Gamma(double alpha) {
  if (alpha < 1.0) {
    auto small = allocate<Gamma1>(alpha);
    small_shape = small.get();
    implementation = std::move(small);
    log_scale = alpha;
  } else if (alpha == 1.0)
    implementation = allocate<Exponential>();
  else
    implementation = allocate<Gamma2>(alpha);
}

double Gamma::NextWithLog(double& log_value) {
  double scaled_log;
  return NextWithLog(log_value, scaled_log);
}

double Gamma::NextWithLog(double& log_value, double& scaled_log) {
  if (small_shape) return small_shape->NextWithLog(log_value, scaled_log);
  const double x = implementation->Next();  // of shape 1 or more: not near 0
  scaled_log = log_value = std::log(x);
  return x;
}

const char* Gamma::Name() { return "Gamma"; }

Gamma1::Gamma1(double alpha)
    : log_norm(ln_gamma(alpha + 1.0)), inv_shape(1.0 / alpha), shape(alpha) {}

double Gamma1::Next() { return std::pow(PosGen::Next(), inv_shape); }

double Gamma1::NextWithLog(double& log_value) {
  double log_table_draw;
  return NextWithLog(log_value, log_table_draw);
}

double Gamma1::NextWithLog(double& log_value, double& log_table_draw) {
  const double x = PosGen::Next();
  log_table_draw = std::log(x);
  log_value = log_table_draw * inv_shape;
  return std::pow(x, inv_shape);
}

double Gamma1::Density(double x) const {
  const double t = -std::pow(x, inv_shape) - log_norm;
  return t >= -40.0 ? std::exp(t) : 0.0;
}

Gamma2::Gamma2(double alpha) : AsymGen(alpha - 1.0), shape(alpha), log_norm(ln_gamma(alpha)) {}

double Gamma2::Density(double x) const {
  if (x <= 0.0) return 0.0;
  const double t = std::log(x) * (shape - 1.0) - x - log_norm;
  return t >= -40.0 ? std::exp(t) : 0.0;
}
