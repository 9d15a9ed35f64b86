// The standard Cauchy variate.
#include <cmath>

#include "random/vorand2.h"

const char* Cauchy::Name() { return "Cauchy"; }

double Cauchy::Density(double x) const {
  return std::fabs(x) > 1e15 ? 0.0 : 0.31830988618 / (x * x + 1);
}
