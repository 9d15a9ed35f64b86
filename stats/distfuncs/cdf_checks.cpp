#include "stats/distfuncs/cdf_checks.h"

#include <cmath>

#include "stats/distfuncs/ipmpar.h"

namespace numlib {

namespace {

bool refuse(int code, double limit, int* status, double* bound) {
  *status = code;
  *bound = limit;
  return false;
}

}  // namespace

bool check_which(int which, int largest, int* status, double* bound) {
  if (which >= 1 && which <= largest) return true;
  return refuse(-1, which < 1 ? 1.0 : largest, status, bound);
}

bool check_argument(int k, double value, const Domain& domain, int* status, double* bound) {
  const bool above_low = domain.low_included ? value >= domain.low : value > domain.low;
  if (!above_low) return refuse(-k, domain.low, status, bound);
  if (!(value <= domain.high)) return refuse(-k, domain.high, status, bound);
  return true;
}

bool check_number(int k, double value, int* status, double* bound) {
  if (!std::isnan(value)) return true;
  return refuse(-k, 0.0, status, bound);
}

bool check_pair_sum(int code, double a, double b, int* status, double* bound) {
  const double sum = a + b;
  if (std::fabs(sum - 0.5 - 0.5) <= 3.0 * spmpar(&kMachineEpsilon)) return true;
  return refuse(code, sum < 0.0 ? 0.0 : 1.0, status, bound);
}

}  // namespace numlib
