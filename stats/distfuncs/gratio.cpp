#include "stats/distfuncs/gratio.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "stats/distfuncs/horner.h"
#include "stats/distfuncs/ipmpar.h"
#include "stats/distfuncs/specfuncs.h"
#include "stats/distfuncs/temme.h"

namespace numlib {

namespace {

constexpr double kLn10 = 2.30258509299405;
constexpr double kRt2Pin = 0.398942280401433;  // 1/sqrt(2 pi)
constexpr double kRtPi = 1.77245385090552;     // sqrt(pi)
constexpr double kThird = 0.333333333333333;

// Per accuracy level (ind 0, 1, other): requested accuracy, a from which
// the large-a methods apply, the half-width of Temme's x = a band (times
// 1/sqrt(a)), and x from which the asymptotic expansion applies.
constexpr double kAcc0[3] = {5e-15, 5e-7, 5e-4};
constexpr double kBig[3] = {20.0, 14.0, 10.0};
constexpr double kE00[3] = {2.5e-4, 0.025, 0.14};
constexpr double kX00[3] = {31.0, 17.0, 9.7};

// Arguments of erfc1.
constexpr int kPlain = 0;
constexpr int kScaled = 1;

void set_ratio(double* ans, double* qans, double p, double q) {
  *ans = p;
  *qans = q;
}

// The error value of gratio; qans keeps what it held.
void set_error(double* ans) { *ans = 2.0; }

// P = 0 or 1 when the leading factor underflows, by the side of a that x lies.
void set_limit(double a, double x, double* ans, double* qans) {
  if (x <= a)
    set_ratio(ans, qans, 0.0, 1.0);
  else
    set_ratio(ans, qans, 1.0, 0.0);
}

// Power series for P(a, x)/x^a, for a < 1 and x < 1.1.
void power_series_xa(double a, double x, double acc, double* ans, double* qans) {
  double an = 3.0;
  double c = x;
  double sum = x / (a + 3.0);
  const double tol = 3.0 * acc / (a + 1.0);
  double t;
  do {
    an += 1.0;
    c = -c * (x / an);
    t = c / (a + an);
    sum += t;
  } while (std::fabs(t) > tol);
  const double j = a * x * ((sum / 6.0 - 0.5 / (a + 2.0)) * x + 1.0 / (a + 1.0));
  const double z = a * std::log(x);
  const double h = gam1(&a);
  const double g = 1.0 + h;
  if ((x < 0.25 && z > -0.13394) || (x >= 0.25 && a < x / 2.59)) {
    // P is near 1: form Q directly from e^z - 1
    const double l = rexp(&z);
    const double w = 0.5 + (0.5 + l);
    *qans = (w * j - l) * g - h;
    if (*qans < 0.0) {
      set_ratio(ans, qans, 1.0, 0.0);
      return;
    }
    *ans = 0.5 + (0.5 - *qans);
    return;
  }
  const double w = std::exp(z);
  *ans = w * g * (0.5 + (0.5 - j));
  *qans = 0.5 + (0.5 - *ans);
}

// Power series for P/r, r = x^a e^-x / Gamma(a).  The first terms down to
// 1e-3 are kept and added last, smallest first.
void power_series_r(double a, double x, double r, double acc, double* ans, double* qans) {
  double wk[20];
  double apn = a + 1.0;
  double t = x / apn;
  wk[0] = t;
  int n;
  for (n = 2; n <= 20; ++n) {
    apn += 1.0;
    t = t * (x / apn);
    if (t <= 1e-3) break;
    wk[n - 1] = t;
  }
  if (n > 20) n = 20;
  double sum = t;
  const double tol = 0.5 * acc;
  do {
    apn += 1.0;
    t = t * (x / apn);
    sum += t;
  } while (t > tol);
  for (int m = n - 1; m >= 1; --m) sum += wk[m - 1];
  *ans = r / a * (1.0 + sum);
  *qans = 0.5 + (0.5 - *ans);
}

// Asymptotic expansion for Q/r, for large x.
void asymptotic(double a, double x, double r, double acc, double* ans, double* qans) {
  double wk[20];
  double amn = a - 1.0;
  double t = amn / x;
  wk[0] = t;
  int n;
  for (n = 2; n <= 20; ++n) {
    amn -= 1.0;
    t = t * (amn / x);
    if (std::fabs(t) <= 1e-3) break;
    wk[n - 1] = t;
  }
  if (n > 20) n = 20;
  double sum = t;
  while (std::fabs(t) > acc) {
    amn -= 1.0;
    t = t * (amn / x);
    sum += t;
  }
  for (int m = n - 1; m >= 1; --m) sum += wk[m - 1];
  *qans = r / x * (1.0 + sum);
  *ans = 0.5 + (0.5 - *qans);
}

// Continued fraction for Q/r (Legendre's), evaluated by its convergents.
void continued_fraction(double a, double x, double r, double e, double acc, double* ans,
                        double* qans) {
  const double tol = std::max(5.0 * e, acc);
  double a2nm1 = 1.0, a2n = 1.0;
  double b2nm1 = x;
  double b2n = x + (1.0 - a);
  double c = 1.0;
  double am0, an0;
  do {
    a2nm1 = x * a2n + c * a2nm1;
    b2nm1 = x * b2n + c * b2nm1;
    am0 = a2nm1 / b2nm1;
    c += 1.0;
    const double cma = c - a;
    a2n = a2nm1 + cma * a2n;
    b2n = b2nm1 + cma * b2n;
    an0 = a2n / b2n;
  } while (!(std::fabs(an0 - am0) < tol * an0));
  *qans = r * an0;
  *ans = 0.5 + (0.5 - *qans);
}

// Finite sums for Q when a is a whole number or a half-integer.
void finite_sums(double a, double x, double* ans, double* qans) {
  const int i = static_cast<int>(a + a) / 2;
  double sum, t, c;
  int n;
  if (a == i) {
    sum = std::exp(-x);
    t = sum;
    n = 1;
    c = 0.0;
  } else {
    const double rtx = std::sqrt(x);
    sum = erfc1(&kPlain, &rtx);
    t = std::exp(-x) / (kRtPi * rtx);
    n = 0;
    c = -0.5;
  }
  while (n != i) {
    n += 1;
    c += 1.0;
    t = x * t / c;
    sum += t;
  }
  *qans = sum;
  *ans = 0.5 + (0.5 - *qans);
}

// Given r = x^a e^-x / Gamma(a), choose the series, the continued fraction
// or the asymptotic expansion by the size of x.
void from_leading_factor(double a, double x, double r, double e, double acc, double x0, double* ans,
                         double* qans) {
  if (r == 0.0) {
    set_limit(a, x, ans, qans);
    return;
  }
  if (x <= std::max(a, kLn10))
    power_series_r(a, x, r, acc, ans, qans);
  else if (x < x0)
    continued_fraction(a, x, r, e, acc, ans, qans);
  else
    asymptotic(a, x, r, acc, ans, qans);
}

// Temme's sum t = c0 + c1 u + c2 u^2 + ... with c_k(z) = dk0 + dk[0] z +
// dk[1] z^2 + ... (temme.h).  Per accuracy level (iop 1 to 3) the number of
// terms c_k, and for the short coefficient set (x close to a) and the long
// one how many powers of z each c_k keeps (0: its constant alone).
constexpr std::size_t kTemmeTerms[3] = {8, 3, 1};
constexpr std::size_t kTemmeShort[3][8] = {{7, 6, 5, 4, 2, 2, 1, 0}, {2, 1, 0}, {1}};
constexpr std::size_t kTemmeLong[3][8] = {{13, 12, 10, 8, 6, 4, 2, 0}, {6, 4, 1}, {3}};
constexpr double kTemmeConstant[8] = {-kThird,    temme::d10, temme::d20, temme::d30,
                                      temme::d40, temme::d50, temme::d60, temme::d70};
constexpr const double* kTemmeTable[8] = {temme::d0, temme::d1, temme::d2, temme::d3,
                                          temme::d4, temme::d5, temme::d6, nullptr};

double temme_sum(bool short_set, int iop, double z, double u) {
  const std::size_t* const powers = (short_set ? kTemmeShort : kTemmeLong)[iop - 1];
  const std::size_t terms = kTemmeTerms[iop - 1];
  double c[8] = {};
  for (std::size_t k = 0; k < terms; ++k) {
    c[k] = kTemmeConstant[k];
    if (powers[k] > 0) c[k] += horner(kTemmeTable[k], powers[k], z) * z;
  }
  return horner(c, terms, u);
}

// Large a (a >= big): Temme's expansions for x near a, otherwise the
// leading factor from Stirling's series.
void large_a(double a, double x, int iop, double e, double acc, double e0, double x0, double* ans,
             double* qans) {
  const double l = x / a;
  if (l == 0.0) {
    set_ratio(ans, qans, 0.0, 1.0);
    return;
  }
  const double s = 0.5 + (0.5 - l);
  double z = rlog(&l);
  if (z >= 700.0 / a) {
    if (std::fabs(s) <= 2.0 * e) {
      set_error(ans);
      return;
    }
    set_limit(a, x, ans, qans);
    return;
  }
  const double y = a * z;
  const double rta = std::sqrt(a);
  double c, w;
  bool short_set;
  if (std::fabs(s) <= e0 / rta) {
    // Temme's expansion for x = a
    if (a * e * e > 3.28e-3) {
      set_error(ans);
      return;
    }
    c = 0.5 + (0.5 - y);
    w = (0.5 - std::sqrt(y) * (0.5 + (0.5 - y / 3.0)) / kRtPi) / c;
    short_set = true;
  } else if (std::fabs(s) <= 0.4) {
    // Temme's general uniform expansion
    if (std::fabs(s) <= 2.0 * e && a * e * e > 3.28e-3) {
      set_error(ans);
      return;
    }
    c = std::exp(-y);
    const double rty = std::sqrt(y);
    w = 0.5 * erfc1(&kScaled, &rty);
    short_set = iop == 1 && std::fabs(s) <= 1e-3;
  } else {
    const double t = (1.0 / a) * (1.0 / a);
    const double t1 = (((0.75 * t - 1.0) * t + 3.5) * t - 105.0) / (a * 1260.0) - y;
    const double r = kRt2Pin * rta * std::exp(t1);
    from_leading_factor(a, x, r, e, acc, x0, ans, qans);
    return;
  }
  const double u = 1.0 / a;
  z = std::sqrt(z + z);
  if (l < 1.0) z = -z;
  const double t = temme_sum(short_set, iop, z, u);
  if (l >= 1.0) {
    *qans = c * (w + kRt2Pin * t / rta);
    *ans = 0.5 + (0.5 - *qans);
  } else {
    *ans = c * (w - kRt2Pin * t / rta);
    *qans = 0.5 + (0.5 - *ans);
  }
}

}  // namespace

void gratio_half(double x, double* p, double* q) {
  const double rtx = std::sqrt(x);
  if (x < 0.25) {
    *p = erf1(&rtx);
    *q = 0.5 + (0.5 - *p);
  } else {
    *q = erfc1(&kPlain, &rtx);
    *p = 0.5 + (0.5 - *q);
  }
}

void gratio(const double* a, const double* x, double* ans, double* qans, const int* ind) {
  const double e = spmpar(&kMachineEpsilon);
  // A not-a-number argument would never satisfy the convergence tests of
  // the series and continued fractions: refuse it with the error value.
  if (std::isnan(*a) || std::isnan(*x) || *a < 0.0 || *x < 0.0) {
    set_error(ans);
    return;
  }
  if (*a == 0.0 && *x == 0.0) {
    set_error(ans);
    return;
  }
  // An infinite x leaves nothing above it: P = 1 for every finite a.
  if (std::isinf(*x)) {
    if (std::isinf(*a))
      set_error(ans);
    else
      set_ratio(ans, qans, 1.0, 0.0);
    return;
  }
  // Only a or x zero is a limit.  Positive a and x whose product underflows
  // (one of them tiny, both below 1) have P = x^a / Gamma(a + 1) to double
  // precision and, for tiny a, Q about a E1(x): the erf form and the power
  // series in x below compute both.
  if (*a == 0.0 || *x == 0.0) {
    set_limit(*a, *x, ans, qans);
    return;
  }

  const int iop = (*ind == 0 || *ind == 1) ? *ind + 1 : 3;
  const int level = iop - 1;
  const double acc = std::max(kAcc0[level], e);
  const double e0 = kE00[level];
  const double x0 = kX00[level];

  if (*a >= kBig[level]) {
    large_a(*a, *x, iop, e, acc, e0, x0, ans, qans);
    return;
  }
  if (*a == 0.5) {
    gratio_half(*x, ans, qans);
    return;
  }
  if (*a < 1.0) {
    if (*x < 1.1) {
      power_series_xa(*a, *x, acc, ans, qans);
      return;
    }
    const double t1 = *a * std::log(*x) - *x;
    const double u = *a * std::exp(t1);
    if (u == 0.0) {
      set_ratio(ans, qans, 1.0, 0.0);
      return;
    }
    const double g1 = gam1(a);
    const double r = u * (1.0 + g1);
    continued_fraction(*a, *x, r, e, acc, ans, qans);
    return;
  }
  // 1 <= a < big
  if (*a <= *x && *x < x0) {
    const double twoa = *a + *a;
    const int m = static_cast<int>(twoa);
    if (twoa == m) {
      finite_sums(*a, *x, ans, qans);
      return;
    }
  }
  const double t1 = *a * std::log(*x) - *x;
  const double r = std::exp(t1) / Xgamm(a);
  from_leading_factor(*a, *x, r, e, acc, x0, ans, qans);
}

}  // namespace numlib
