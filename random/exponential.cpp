// The exponential variate with mean 1.
#include <cmath>

#include "random/vorand2.h"

const char* Exponential::Name() { return "Exponential"; }

double Exponential::Density(double x) const { return (x > 40.0 || x < 0) ? 0.0 : std::exp(-x); }
