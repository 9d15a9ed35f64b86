// Front factors and power series of the incomplete beta ratio: brcomp,
// brcmp1, bpser, bup, apser and fpser.
#include <algorithm>
#include <cmath>

#include "stats/distfuncs/beta_pieces.h"
#include "stats/distfuncs/digamma.h"
#include "stats/distfuncs/elementary.h"
#include "stats/distfuncs/ipmpar.h"
#include "stats/distfuncs/log_beta.h"
#include "stats/distfuncs/log_gamma.h"
#include "stats/distfuncs/specfuncs.h"

namespace numlib {

namespace {

// Arguments of exparg: the largest and the most negative exponent.
constexpr int kLargestExponent = 0;
constexpr int kSmallestExponent = 1;

// 1/Gamma(1 + s) for 0 < s <= 2, through gam1 on its interval.
double recip_gamma_1p(double s) {
  if (s > 1.0) {
    const double u = s - 1.0;
    return (1.0 + gam1(&u)) / s;
  }
  return 1.0 + gam1(&s);
}

// For a0 < 1 < b0 < 8: ln Gamma(1 + a0) less the log of the factors
// (b0 - k)/(a0 + b0 - k) split off while b0 is brought down to (1, 2) by
// the recurrence; b0 is left there, less one.
double reduce_b(double a0, double& b0) {
  double u = gamln1(&a0);
  const int m = static_cast<int>(b0 - 1.0);
  if (m >= 1) {
    double c = 1.0;
    for (int i = 1; i <= m; ++i) {
      b0 -= 1.0;
      c *= b0 / (a0 + b0);
    }
    u = std::log(c) + u;
  }
  b0 -= 1.0;
  return u;
}

// bup's scaling: mu (near 708) and d = e^-mu, for a first term formed
// e^mu times too large.
void scaling(int& mu, double& d) {
  mu = std::min(static_cast<int>(std::fabs(exparg(&kSmallestExponent))),
                static_cast<int>(exparg(&kLargestExponent)));
  d = std::exp(static_cast<double>(-mu));
}

// The sum of bup's n terms over the first, d + d t_1 + d t_1 t_2 + ...,
// with t_i = (a + b + i - 1) / (a + i) x.  The terms grow up to the k-th and
// fall after it: the rising ones are all added, the others until they no
// longer count.
double bup_terms(double a, double b, double x, double y, int n, double eps, double d) {
  const double apb = a + b;
  const double ap1 = a + 1.0;
  const int nm1 = n - 1;
  double w = d;
  int k = 0;
  if (b > 1.0) {
    if (y > 1e-4) {
      const double r = (b - 1.0) * x / y - a;
      // r is unbounded: take the minimum before converting.
      if (r >= 1.0) k = static_cast<int>(std::min(static_cast<double>(nm1), r));
    } else {
      k = nm1;
    }
  }
  for (int i = 1; i <= k; ++i) {
    const int l = i - 1;
    d = ((apb + l) / (ap1 + l)) * x * d;
    w += d;
  }
  if (k == nm1) return w;
  for (int i = k + 1; i <= nm1; ++i) {
    const int l = i - 1;
    d = ((apb + l) / (ap1 + l)) * x * d;
    w += d;
    if (d <= eps * w) break;
  }
  return w;
}

}  // namespace

double brcmp1(const int* mu, const double* a, const double* b, const double* x, const double* y) {
  constexpr double kRt2Pin = 0.398942280401433;  // 1/sqrt(2 pi)
  const double a0 = std::min(*a, *b);
  if (a0 >= 8.0) {
    // Both large: the exponent as sums of rlog1 terms about the mode.
    double h, x0, y0, lambda;
    if (*a > *b) {
      h = *b / *a;
      x0 = 1.0 / (1.0 + h);
      y0 = h / (1.0 + h);
      lambda = (*a + *b) * *y - *b;
    } else {
      h = *a / *b;
      x0 = h / (1.0 + h);
      y0 = 1.0 / (1.0 + h);
      lambda = *a - (*a + *b) * *x;
    }
    double e = -lambda / *a;
    const double u = std::fabs(e) > 0.6 ? e - std::log(*x / x0) : rlog1(&e);
    e = lambda / *b;
    const double v = std::fabs(e) > 0.6 ? e - std::log(*y / y0) : rlog1(&e);
    const double exponent = -(*a * u + *b * v);
    const double z = esum(mu, &exponent);
    return kRt2Pin * std::sqrt(*b * x0) * z * std::exp(-bcorr(a, b));
  }
  // ln x and ln y, each from whichever of x and y keeps its digits.
  double lnx, lny;
  if (*x <= 0.375) {
    const double minus_x = -*x;
    lnx = std::log(*x);
    lny = alnrel(&minus_x);
  } else if (*y > 0.375) {
    lnx = std::log(*x);
    lny = std::log(*y);
  } else {
    const double minus_y = -*y;
    lnx = alnrel(&minus_y);
    lny = std::log(*y);
  }
  double z = *a * lnx + *b * lny;
  if (a0 >= 1.0) {
    const double e = z - betaln(a, b);
    return esum(mu, &e);
  }
  double b0 = std::max(*a, *b);
  if (b0 >= 8.0) {
    const double e = z - (gamln1(&a0) + algdiv(&a0, &b0));
    return a0 * esum(mu, &e);
  }
  if (b0 > 1.0) {
    z -= reduce_b(a0, b0);
    const double t = recip_gamma_1p(a0 + b0);
    return a0 * esum(mu, &z) * (1.0 + gam1(&b0)) / t;
  }
  const double r = esum(mu, &z);
  if (r == 0.0) return 0.0;
  const double c = (1.0 + gam1(a)) * (1.0 + gam1(b)) / recip_gamma_1p(*a + *b);
  return r * a0 * c / (1.0 + a0 / b0);
}

double brcomp(const double* a, const double* b, const double* x, const double* y) {
  if (*x == 0.0 || *y == 0.0) return 0.0;
  // esum(0, z) is exactly e^z.
  constexpr int kNoScale = 0;
  return brcmp1(&kNoScale, a, b, x, y);
}

double bpser(const double* a, const double* b, const double* x, const double* eps) {
  if (*x == 0.0) return 0.0;
  // r = x^a / (a Beta(a, b)), the leading term.
  const double a0 = std::min(*a, *b);
  double r;
  if (a0 >= 1.0) {
    r = std::exp(*a * std::log(*x) - betaln(a, b)) / *a;
  } else {
    double b0 = std::max(*a, *b);
    if (b0 >= 8.0) {
      const double u = gamln1(&a0) + algdiv(&a0, &b0);
      r = (a0 / *a) * std::exp(*a * std::log(*x) - u);
    } else if (b0 > 1.0) {
      const double z = *a * std::log(*x) - reduce_b(a0, b0);
      const double t = recip_gamma_1p(a0 + b0);
      r = std::exp(z) * (a0 / *a) * (1.0 + gam1(&b0)) / t;
    } else {
      r = std::pow(*x, *a);
      if (r == 0.0) return 0.0;
      const double apb = *a + *b;
      const double c = (1.0 + gam1(a)) * (1.0 + gam1(b)) / recip_gamma_1p(apb);
      r = r * c * *b / apb;
    }
  }
  if (r == 0.0 || *a <= 0.1 * *eps) return r;
  double sum = 0.0;
  double n = 0.0;
  double c = 1.0;
  const double tol = *eps / *a;
  double t;
  do {
    n += 1.0;
    c = c * (0.5 - *b / n + 0.5) * *x;
    t = c / (*a + n);
    sum += t;
  } while (std::fabs(t) > tol);
  return r * (1.0 + *a * sum);
}

double bup(const double* a, const double* b, const double* x, const double* y, const int* n,
           const double* eps) {
  // Scale by e^mu (mu near 708) when the terms can fall below the exponent
  // range while their sum does not.
  const bool can_rise = *n != 1 && *a + *b >= 1.1 * (*a + 1.0);
  int mu = 0;
  double d = 1.0;
  if (can_rise && *a >= 1.0) scaling(mu, d);
  const double result = brcmp1(&mu, a, b, x, y) / *a;
  if (*n == 1) return result;
  const double sum = result == 0.0 ? 0.0 : result * bup_terms(*a, *b, *x, *y, *n, *eps, d);
  const double smallest_normal = spmpar(&kSmallestNormal);
  if (!(can_rise && *a < 1.0 && result < smallest_normal)) return sum;

  // For a < 1 the first term is formed unscaled, and here it has fallen
  // below the normal range, losing digits or all of itself, while the later
  // terms, up to (a + b) x / (a + 1) times larger each, can carry the sum
  // back into it.  The sum formed scaled replaces it where it is a normal
  // number that the unscaled one misses by more than 1e-12; below the
  // normal range both are underflow.
  constexpr double kAgreement = 1e-12;
  scaling(mu, d);
  const double first = brcmp1(&mu, a, b, x, y) / *a;
  if (first == 0.0) return sum;
  const double scaled = first * bup_terms(*a, *b, *x, *y, *n, *eps, d);
  if (scaled >= smallest_normal && std::fabs(scaled - sum) > kAgreement * scaled) return scaled;
  return sum;
}

double apser(const double* a, const double* b, const double* x, const double* eps) {
  constexpr double kEuler = 0.577215664901533;
  const double bx = *b * *x;
  double t = *x - bx;
  double c;
  if (*b * *eps <= 0.02)
    c = std::log(*x) + psi(b) + kEuler + t;
  else
    c = std::log(bx) + kEuler + t;
  const double tol = 5.0 * *eps * std::fabs(c);
  double j = 1.0;
  double s = 0.0;
  double aj;
  do {
    j += 1.0;
    t = t * (*x - bx / j);
    aj = t / j;
    s += aj;
  } while (std::fabs(aj) > tol);
  return -*a * (c + s);
}

double fpser(const double* a, const double* b, const double* x, const double* eps) {
  double r = 1.0;
  if (*a > 0.001 * *eps) {
    const double t = *a * std::log(*x);
    if (t < exparg(&kSmallestExponent)) return 0.0;  // x^a underflows
    r = std::exp(t);
  }
  r = (*b / *a) * r;
  const double tol = *eps / *a;
  double an = *a + 1.0;
  double t = *x;
  double s = t / an;
  double c;
  do {
    an += 1.0;
    t = *x * t;
    c = t / an;
    s += c;
  } while (std::fabs(c) > tol);
  return r * (1.0 + *a * s);
}

}  // namespace numlib
