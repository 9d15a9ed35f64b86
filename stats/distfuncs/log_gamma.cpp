#include "stats/distfuncs/log_gamma.h"

#include <cmath>
#include <cstdint>

#include "stats/distfuncs/elementary.h"
#include "stats/distfuncs/ftnstop.h"
#include "stats/distfuncs/horner.h"
#include "stats/distfuncs/stirling.h"

namespace numlib {

namespace {

constexpr double kLnSqrt2Pi = 0.9189385332046728;  // ln sqrt(2 pi)

}  // namespace

double gamln1(const double* a) {
  // ln Gamma(1 + a) = -a w(a) near 0 and x w(x), x = a - 1, near 1, with
  // rational w; each set is listed from the constant term upward.
  constexpr double p[7] = {0.577215664901533,   0.844203922187225,  -0.168860593646662,
                           -0.780427615533591,  -0.402055799310489, -0.0673562214325671,
                           -0.00271935708322958};
  constexpr double q[7] = {1.0,
                           2.88743195473681,
                           3.12755088914843,
                           1.56875193295039,
                           0.361951990101499,
                           0.0325038868253937,
                           0.000667465618796164};
  constexpr double r[6] = {0.422784335098467, 0.848044614534529, 0.565221050691933,
                           0.156513060486551, 0.017050248402265, 0.000497958207639485};
  constexpr double s[6] = {1.0,
                           1.24313399877507,
                           0.548042109832463,
                           0.10155218743983,
                           0.00713309612391,
                           0.000116165475989616};
  if (*a < 0.6) {
    const double w = horner(p, *a) / horner(q, *a);
    return -*a * w;
  }
  const double x = (*a - 0.5) - 0.5;
  const double w = horner(r, x) / horner(s, x);
  return x * w;
}

double gamln(const double* a) {
  constexpr double d = 0.418938533204673;  // 0.5 (ln(2 pi) - 1)
  if (*a <= 0.8) return gamln1(a) - std::log(*a);
  if (*a <= 2.25) {
    const double t = (*a - 0.5) - 0.5;
    return gamln1(&t);
  }
  if (*a < 10.0) {
    // Gamma(a) = (a - 1)(a - 2)...(a - n) Gamma(a - n), a - n in [1.25, 2.25)
    const int n = static_cast<int>(*a - 1.25);
    double t = *a;
    double w = 1.0;
    for (int i = 1; i <= n; ++i) {
      t -= 1.0;
      w *= t;
    }
    const double t1 = t - 1.0;
    return gamln1(&t1) + std::log(w);
  }
  const double r = 1.0 / *a;
  const double w = horner(kStirlingDel, r * r) / *a;
  return (d + w) + (*a - 0.5) * (std::log(*a) - 1.0);
}

double dlngam(const double* a) { return gamln(a); }

double alngam(const double* x) {
  // Gamma(2 + u) for u in [0, 1] as a rational function, constant term first
  constexpr double num[9] = {62.00383800712726,   36.036772530024834, 20.782472531792127,
                             6.338067999387272,   2.1599431284605908, 0.39806713102035707,
                             0.10931159567104395, 0.0092381945590276, 0.0029737866448101653};
  constexpr double den[4] = {62.00383800712699, 9.822521104713996, -8.906016659497462, 1.0};
  // Stirling's series in 1/x^2
  constexpr double stirling[5] = {0.08333333333333302, -0.002777777776881881, 0.00079365006754279,
                                  -0.000594997310889, 0.0008065880899};
  // Not a number has no log-gamma, and must not reach the integer count of
  // recurrence steps below.
  if (std::isnan(*x)) return *x;
  if (*x <= 6.0) {
    // Move the argument into [2, 3] by the recurrence, collecting factors.
    double prod = 1.0;
    double xx = *x;
    while (xx > 3.0) {
      xx -= 1.0;
      prod *= xx;
    }
    if (*x < 2.0) {
      while (xx < 2.0) {
        prod /= xx;
        xx += 1.0;
      }
    }
    const double u = xx - 2.0;
    return std::log(prod * horner(num, u) / horner(den, u));
  }
  // Raise the argument to at least 12 before the series.
  double offset = kLnSqrt2Pi;
  const double twelve_less = 12.0 - *x;
  const std::int64_t n = fifidint(&twelve_less);
  double xx = *x;
  if (n > 0) {
    double prod = 1.0;
    for (std::int64_t i = 0; i < n; ++i) prod *= *x + static_cast<double>(i);
    offset -= std::log(prod);
    xx = *x + static_cast<double>(n);
  }
  return horner(stirling, 1.0 / (xx * xx)) / xx + offset + (xx - 0.5) * std::log(xx) - xx;
}

double gsumln(const double* a, const double* b) {
  const double x = *a + *b - 2.0;
  if (x <= 0.25) {
    const double t = 1.0 + x;
    return gamln1(&t);
  }
  if (x <= 1.25) return gamln1(&x) + alnrel(&x);
  const double t = x - 1.0;
  return gamln1(&t) + std::log(x * (1.0 + x));
}

double dstrem(const double* z) {
  // B(2k) / (2k (2k - 1)) for k = 1 .. 9, behind a 0 for the power 0
  constexpr double coef[10] = {
      0.0,          1.0 / 12.0,        -1.0 / 360.0, 1.0 / 1260.0,       -1.0 / 1680.0,
      1.0 / 1188.0, -691.0 / 360360.0, 1.0 / 156.0,  -3617.0 / 122400.0, 43867.0 / 244188.0};
  if (*z <= 0.0) ftnstop("Zero or negative argument in DSTREM");
  if (*z <= 6.0) return gamln(z) - (((*z - 0.5) * std::log(*z) + kLnSqrt2Pi) - *z);
  return *z * horner(coef, 1.0 / (*z * *z));
}

}  // namespace numlib
