// The Pareto variate, by inversion.
#include <cmath>

#include <newmat/myexcept.h>

#include "random/vorand2.h"

Pareto::Pareto(double shape_parameter)
    : shape(shape_parameter), minus_inv_shape(-1.0 / shape_parameter) {
  if (shape <= 0.0) throw RBD_COMMON::Logic_error("Vorand: illegal parameter");
}

double Pareto::Next() { return std::pow(Random::RNG->Next(), minus_inv_shape); }

const char* Pareto::Name() { return "Pareto"; }

ExtReal Pareto::Mean() const {
  if (shape > 1.0) return shape / (shape - 1.0);
  return PlusInfinity;
}

ExtReal Pareto::Variance() const {
  if (shape > 2.0) return shape / ((shape - 1.0) * (shape - 1.0)) / (shape - 2.0);
  return PlusInfinity;
}
