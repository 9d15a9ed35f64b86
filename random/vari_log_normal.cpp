// Log-normal draws with the mean and standard deviation given at each call.
#include <cmath>

#include "random/variable_parameter.h"

double VariLogNormal::Next(double mean, double sd) {
  const double ratio = sd / mean;
  const double s2 = std::log(1.0 + ratio * ratio);  // the variance of the log
  const double z = normal.Next();
  return mean * std::exp(-0.5 * s2 + std::sqrt(s2) * z);
}
