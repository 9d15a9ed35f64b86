#include "stats/distfuncs/digamma.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "stats/distfuncs/horner.h"
#include "stats/distfuncs/ipmpar.h"

namespace numlib {

namespace {

constexpr double kPiOver4 = 0.785398163397448;
constexpr double kZero = 1.4616321449683622;  // the positive zero of psi
constexpr double kSmall = 1e-9;               // below this, pi cot(pi x) is 1/x to double precision

// psi(x)/(x - kZero) on [0.5, 3], constant term first; the denominator is monic.
constexpr double kNear[7] = {1305.60269827897,  4138.10161269013, 3633.51846806499,
                             1186.45200713425,  142.441585084029, 4.77762828042627,
                             0.0089538502298197};
constexpr double kNearDen[7] = {6.91091682714533e-06,
                                1908.310765963,
                                3641.27349079381,
                                2210.0079924783,
                                520.752771467162,
                                44.8452573429826,
                                1.0};
// psi(x) - ln x + 0.5/x above 3, as w times a rational function of w = 1/x^2.
constexpr double kFar[4] = {-0.648157123766197, -4.48616543918019, -7.01677227766759,
                            -2.12940445131011};
constexpr double kFarDen[5] = {7.77788548522962, 54.6117738103215, 89.2920700481861,
                               32.2703493791143, 1.0};

// The bound on |x| of the reflection, min(largest int, 1/epsilon): its
// reduction works in int, and beyond 1/epsilon x has no fractional part.
double xmax1() {
  return std::min(static_cast<double>(ipmpar(&kLargestInt)), 1.0 / spmpar(&kMachineEpsilon));
}

// psi(x) - psi(1 - x) = -pi cot(pi x), for x < 0.5 and |x| > kSmall, with
// the argument reduced to [0, pi/4] so that sin and cos lose nothing.
// Nothing at the poles (x an integer) and beyond xmax1.
std::optional<double> reflection_term(double x) {
  double w = -x;
  double sgn = kPiOver4;
  if (w <= 0.0) {
    w = -w;
    sgn = -sgn;
  }
  if (w >= xmax1()) return std::nullopt;
  // w modulo 1, then the octant nq and the position w in [0, 1] within it
  w -= static_cast<int>(w);
  const int nq = static_cast<int>(w * 4.0);
  w = 4.0 * (w - nq * 0.25);
  int n = nq / 2;
  if (n + n != nq) w = 1.0 - w;
  const double z = kPiOver4 * w;
  if (n % 2 != 0) sgn = -sgn;
  n = (nq + 1) / 2;
  const int m = 2 * (n / 2);
  if (m == n) {
    if (z == 0.0) return std::nullopt;
    return 4.0 * sgn * std::cos(z) / std::sin(z);
  }
  return 4.0 * sgn * std::sin(z) / std::cos(z);
}

}  // namespace

double psi(const double* xx) {
  double x = *xx;
  double aug = 0.0;
  if (x < 0.5) {
    // psi(x) = psi(1 - x) - pi cot(pi x)
    if (std::fabs(x) <= kSmall) {
      if (x == 0.0) return 0.0;
      aug = -1.0 / x;
    } else {
      const std::optional<double> term = reflection_term(x);
      if (!term) return 0.0;
      aug = *term;
    }
    x = 1.0 - x;
  }
  if (x <= 3.0) return horner(kNear, x) / horner(kNearDen, x) * (x - kZero) + aug;
  if (x < xmax1()) {
    const double w = 1.0 / (x * x);
    aug = aug + horner(kFar, w) * w / horner(kFarDen, w) - 0.5 / x;
  }
  return aug + std::log(x);
}

}  // namespace numlib
