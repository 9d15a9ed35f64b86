// Uniform and Constant.
#include "random/vorand2.h"

const char* Uniform::Name() { return "Uniform"; }

double Uniform::Density(double x) const { return (x >= 0.0 && x <= 1.0) ? 1.0 : 0.0; }

const char* Constant::Name() { return "Constant"; }
