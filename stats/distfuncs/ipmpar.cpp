#include "stats/distfuncs/ipmpar.h"

#include <cassert>
#include <cmath>

namespace numlib {

namespace {

// Entry i of the machine table (entry 0 unused).
constexpr int kMachine[11] = {0,
                              // 32-bit integers
                              2, 31, 2147483647,
                              // floating base, then IEEE single precision
                              2, 24, -125, 128,
                              // IEEE double precision
                              53, -1021, 1024};

}  // namespace

int ipmpar(const int* i) {
  assert(*i >= 1 && *i <= 10);
  return kMachine[*i];
}

double spmpar(const int* i) {
  if (*i <= 1) {
    // machine epsilon b^(1 - m)
    const double b = ipmpar(&kFloatBase);
    const int m = ipmpar(&kDoubleDigits);
    return std::pow(b, static_cast<double>(1 - m));
  }
  if (*i == 2) {
    // smallest normal magnitude b^(emin + 2) / b^3
    const double b = ipmpar(&kFloatBase);
    const int emin = ipmpar(&kDoubleEmin);
    const double one = 1.0;
    const double binv = one / b;
    const double w = std::pow(b, static_cast<double>(emin + 2));
    return w * binv * binv * binv;
  }
  // largest magnitude (1 - b^-m) b^emax, built without overflow
  const int ibeta = ipmpar(&kFloatBase);
  const int m = ipmpar(&kDoubleDigits);
  const int emax = ipmpar(&kDoubleEmax);
  const double b = ibeta;
  const double bm1 = ibeta - 1;
  const double one = 1.0;
  double z = std::pow(b, static_cast<double>(m - 1));
  const double w = ((z - one) * b + bm1) / (b * z);
  z = std::pow(b, static_cast<double>(emax - 2));
  return w * z * b * b;
}

}  // namespace numlib
