// Stable laws by the method of Chambers, Mallows and Stuck, in its form
// that is continuous in alpha.
//
// With the angle phi uniform on (-pi/2, pi/2), W exponential, eps = 1 - alpha
// and zeta = beta tan(alpha pi / 2), a draw in notation CMS is
//   X = z^(eps/alpha) (sin(alpha phi) + zeta cos(alpha phi)) / cos(phi) - zeta,
//   z = (cos(eps phi) + zeta sin(eps phi)) / (W cos(phi)).
// zeta grows without bound as alpha nears 1, so the draw is computed from
// tan(phi/2), tan(eps phi/2) and tau = eps zeta, which stay finite, with
// tan2(x) = tan(x)/x and d2(x) = (exp(x) - 1)/x written so that they keep
// their accuracy as x nears 0.
#include <cmath>

#include <newmat/myexcept.h>

#include "random/vorand2.h"

namespace {

constexpr double half_pi = 1.570796327;
constexpr double quarter_pi = 0.785398163;

// tan(x) / x; a rational approximation for |x| <= pi/4.
double tan2(double x) {
  if (std::fabs(x) > quarter_pi) return std::tan(x) / x;
  const double s = (x / quarter_pi) * (x / quarter_pi);
  return ((s * 0.0528644456 - 8.87662377) * s + 129.221035) /
         ((s * (s - 45.1320561) + 164.529332) * quarter_pi);
}

// (exp(x) - 1) / x; a rational approximation for |x| <= 0.1.
double d2(double x) {
  if (std::fabs(x) > 0.1) return (std::exp(x) - 1.0) / x;
  const double x2 = x * x;
  const double w = x2 * 20.001114158996458 + 840.0668525364832;
  return 2.0 * w / ((x2 * (x2 + 180.01337040739003) + 1680.1337050729664) - x * w);
}

}  // namespace

Stable::Stable(double alpha_parameter, double beta_parameter, Notation notation_parameter)
    : alpha(alpha_parameter), beta(beta_parameter), notation(notation_parameter) {
  switch (notation) {
    case CMS:
    case Shifted:
      break;
    case Rescaled:
      beta_given = beta_parameter;
      if (alpha == 1.0)
        beta = beta_given;
      else if (std::fabs(beta_given) == 1.0)  // the sign alone, free of rounding
        beta = alpha > 1.0 ? -beta_given : beta_given;
      else
        beta = std::tan((1.0 - std::fabs(1.0 - alpha)) * half_pi * beta_given) /
               std::tan(half_pi * alpha);
      break;
    default:  // unspecified: only where every notation gives the same draws
      if (!(beta == 0.0 || alpha == 1.0 || alpha == 2.0))
        throw RBD_COMMON::Logic_error("Vorand: must specify Stable notation");
      notation = CMS;
  }
}

double Stable::Next() {
  const double phiby2 = half_pi * (Random::RNG->Next() - 0.5);  // half the angle
  const double w = -std::log(Random::RNG->Next());              // exponential
  const double eps = 1.0 - alpha;
  // tau = eps beta tan(alpha pi / 2), away from alpha = 2 as
  // beta / (tan2(eps pi / 2) pi / 2), which is finite at alpha = 1.
  const double tau = eps <= -0.99 ? std::tan(alpha * half_pi) * eps * beta
                                  : beta / (tan2(eps * half_pi) * half_pi);
  const double a = phiby2 * tan2(phiby2);  // tan(phi / 2)
  const double bb = tan2(eps * phiby2);
  const double b = eps * phiby2 * bb;  // tan(eps phi / 2)
  const double a2 = a * a, b2 = b * b;
  // 1 - a^2 = cos(phi) (1 + a^2), and 1 - b^2, 2 b are cos(eps phi), sin(eps phi)
  // times 1 + b^2; phiby2 bb tau = b zeta.
  const double z =
      (1.0 + a2) * ((1.0 - b2) + 2.0 * phiby2 * bb * tau) / (w * (1.0 - a2) * (1.0 + b2));
  const double log_z = std::log(z);
  const double d = d2(eps * log_z / alpha) * (log_z / alpha);  // (z^(eps/alpha) - 1) / eps
  double x = (1.0 + eps * d) * 2.0 *
                 ((a - b) * (1.0 + a * b) - phiby2 * tau * bb * (b * (1.0 - a2) - 2.0 * a)) /
                 ((1.0 - a2) * (1.0 + b2)) +
             tau * d;
  if (notation != CMS && beta != 0.0 && alpha != 1.0 && alpha != 2.0) {
    if (notation == Shifted) {
      x = x + beta * std::tan(alpha * half_pi);
    } else {  // Rescaled
      const double angle = (1.0 - std::fabs(1.0 - alpha)) * half_pi * beta_given;
      x = (x + std::tan(angle)) * std::pow(std::cos(angle), 1.0 / alpha);
    }
  }
  return x;
}

const char* Stable::Name() { return "Stable"; }

ExtReal Stable::Mean() const {
  if (alpha < 1.0) {
    if (beta == 1.0) return PlusInfinity;
    if (beta == -1.0) return MinusInfinity;
    return Indefinite;
  }
  if (alpha > 1.0) {
    if (notation == CMS) return -beta * std::tan(alpha * half_pi);
    return 0.0;
  }
  return Indefinite;  // alpha = 1 (and a NaN alpha)
}

ExtReal Stable::Variance() const {
  if (alpha == 2.0) return 2.0;
  if (alpha > 0.0 && alpha < 2.0) return PlusInfinity;
  return Missing;
}
