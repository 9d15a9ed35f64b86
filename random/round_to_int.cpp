#include "random/round_to_int.h"

#include <climits>
#include <cmath>

#include <newmat/myexcept.h>

int round_to_int(double x) {
  RBD_COMMON::Tracer trace("Round ");
  const double rounded = std::floor(x + 0.5);
  // Checked before the conversion, which is undefined outside the range.
  if (!(rounded >= INT_MIN && rounded <= INT_MAX))
    throw RBD_COMMON::Runtime_error("Cannot convert to integer ");
  return static_cast<int>(rounded);
}
