#include "stats/distfuncs/specfuncs.h"

#include <cmath>

#include "stats/distfuncs/horner.h"
#include "stats/distfuncs/ipmpar.h"
#include "stats/distfuncs/rlog_series.h"

namespace numlib {

namespace {

// 1/sqrt(pi), the leading coefficient of the asymptotic form of erfc.
constexpr double kRecipSqrtPi = 0.564189583547756;

// Rational approximations of erf and erfc (Cody's forms as used by
// DiDonato and Morris).  Each set is listed from the constant term upward.
constexpr double kErfA[5] = {0.128379167095513, 0.0479137145607681, 0.0323076579225834,
                             -0.00133733772997339, 7.7105849500132e-5};
constexpr double kErfB[4] = {1.0, 0.375795757275549, 0.0538971687740286, 0.00301048631703895};
constexpr double kErfP[8] = {300.459261020162,  451.918953711873,    339.320816734344,
                             152.98928504694,   43.1622272220567,    7.21175825088309,
                             0.564195517478974, -1.36864857382717e-7};
constexpr double kErfQ[8] = {300.459260956983, 790.950925327898, 931.35409485061,  638.980264465631,
                             277.585444743988, 77.0001529352295, 12.7827273196294, 1.0};
constexpr double kErfR[5] = {0.282094791773523, 4.6580782871847, 21.3688200555087, 26.2370141675169,
                             2.10144126479064};
constexpr double kErfS[5] = {1.0, 18.0124575948747, 99.0191814623914, 187.11481179959,
                             94.153775055546};

// Numerator of erf(x)/x for |x| <= 0.5, in t = x^2; its constant term
// 0.1283... + 1 is 2/sqrt(pi), split so that the one is added last.
double erf_small_top(double t) { return horner(kErfA, t) + 1.0; }

// gam1: P/Q on (0, 1], R/S on [-0.5, 0), constant term first.
constexpr double kGam1P[7] = {0.577215664901533,   -0.409078193005776, -0.230975380857675,
                              0.0597275330452234,  0.0076696818164949, -0.00514889771323592,
                              0.000589597428611429};
constexpr double kGam1Q[5] = {1.0, 0.427569613095214, 0.158451672430138, 0.0261132021441447,
                              0.00423244297896961};
constexpr double kGam1R[9] = {-0.422784335098468,  -0.771330383816272,   -0.244757765222226,
                              0.118378989872749,   0.000930357293360349, -0.0118290993445146,
                              0.00223047661158249, 0.000266505979058923, -0.000132674909766242};
constexpr double kGam1S[3] = {1.0, 0.273076135303957, 0.0559398236957378};

// rexp: e^x - 1 = x P(x)/Q(x) for |x| <= 0.15.
constexpr double kRexpP[3] = {1.0, 9.14041914819518e-10, 0.0238082361044469};
constexpr double kRexpQ[5] = {1.0, -0.499999999085958, 0.107141568980644, -0.0119041179760821,
                              0.000595130811860248};

// Xgamm: Gamma(1 + x) on [0, 1) as P(x)/Q(x), constant term first.
constexpr double kGammaP[7] = {1.0,
                               0.553413866010467,
                               0.279648642639792,
                               0.0730981088720487,
                               0.020449366759492,
                               0.0026193926004269,
                               0.000539637273585445};
constexpr double kGammaQ[7] = {1.0,
                               1.13062953091122,
                               -0.056790276197494,
                               -0.17045896931336,
                               0.022521113103534,
                               0.00470059485860584,
                               -0.000832979206704073};
// Xgamm: Stirling's correction series in 1/x^2.
constexpr double kStirling[5] = {0.0833333333333333, -0.00277777777770481, 0.000793650663183693,
                                 -0.000595156336428591, 0.000820756370353826};

// Arguments of exparg: the largest and the most negative exponent.
constexpr int kLargestExponent = 0;
constexpr int kSmallestExponent = 1;

}  // namespace

double gam1(const double* a) {
  double t = *a;
  const double d = *a - 0.5;
  if (d > 0.0) t = d - 0.5;
  if (t == 0.0) return 0.0;
  if (t > 0.0) {
    const double top = horner(kGam1P, t);
    const double bot = horner(kGam1Q, t);
    const double w = top / bot;
    if (d > 0.0) return t / *a * ((w - 0.5) - 0.5);
    return *a * w;
  }
  const double top = horner(kGam1R, t);
  const double bot = horner(kGam1S, t);
  const double w = top / bot;
  if (d > 0.0) return t * w / *a;
  return *a * ((w + 0.5) + 0.5);
}

double rlog(const double* x) {
  if (*x < 0.61 || *x > 1.57) return *x - 0.5 - 0.5 - std::log(*x);
  // Reduce the argument to near 1 and use the rational series in u = x - 1.
  if (*x < 0.82) {
    const double u = (*x - 0.7) / 0.7;
    return rlog_series(u) + (kRlogAtMinusThreeTenths - u * 0.3);
  }
  if (*x > 1.18) {
    const double u = 0.75 * *x - 1.0;
    return rlog_series(u) + (kRlogAtOneThird + u / 3.0);
  }
  return rlog_series(*x - 0.5 - 0.5);
}

double rexp(const double* x) {
  if (std::fabs(*x) <= 0.15) return *x * horner(kRexpP, *x) / horner(kRexpQ, *x);
  const double w = std::exp(*x);
  if (*x <= 0.0) return w - 0.5 - 0.5;
  return w * (0.5 + (0.5 - 1.0 / w));
}

double erf1(const double* x) {
  const double ax = std::fabs(*x);
  if (ax <= 0.5) {
    const double t = *x * *x;
    const double top = erf_small_top(t);
    const double bot = horner(kErfB, t);
    return *x * top / bot;
  }
  if (ax <= 4.0) {
    const double top = horner(kErfP, ax);
    const double bot = horner(kErfQ, ax);
    const double v = 0.5 + (0.5 - std::exp(-(*x * *x)) * top / bot);
    return *x < 0.0 ? -v : v;
  }
  if (ax < 5.8) {
    const double x2 = *x * *x;
    const double t = 1.0 / x2;
    const double top = horner(kErfR, t);
    const double bot = horner(kErfS, t);
    double v = (kRecipSqrtPi - top / (x2 * bot)) / ax;
    v = 0.5 + (0.5 - std::exp(-x2) * v);
    return *x < 0.0 ? -v : v;
  }
  return *x < 0.0 ? -1.0 : 1.0;
}

double erfc1(const int* ind, const double* x) {
  const double ax = std::fabs(*x);
  if (ax <= 0.5) {
    const double t = *x * *x;
    const double top = erf_small_top(t);
    const double bot = horner(kErfB, t);
    double result = 0.5 + (0.5 - *x * top / bot);
    if (*ind != 0) result *= std::exp(t);
    return result;
  }
  double v;
  if (ax <= 4.0) {
    const double top = horner(kErfP, ax);
    const double bot = horner(kErfQ, ax);
    v = top / bot;
  } else {
    if (*x <= -5.6) {
      // erfc is 2 to double precision here
      if (*ind == 0) return 2.0;
      return 2.0 * std::exp(*x * *x);
    }
    if (*ind == 0 && (*x > 100.0 || *x * *x > -exparg(&kSmallestExponent))) return 0.0;
    const double t = (1.0 / *x) * (1.0 / *x);
    const double top = horner(kErfR, t);
    const double bot = horner(kErfS, t);
    v = (kRecipSqrtPi - t * top / bot) / ax;
  }
  // v is the scaled complement e^(x^2) erfc(|x|)
  if (*ind != 0) {
    if (*x < 0.0) v = 2.0 * std::exp(*x * *x) - v;
    return v;
  }
  double result = std::exp(-(*x * *x)) * v;
  if (*x < 0.0) result = 2.0 - result;
  return result;
}

double exparg(const int* l) {
  const int b = ipmpar(&kFloatBase);
  double lnb;
  if (b == 2)
    lnb = 0.69314718055995;
  else if (b == 8)
    lnb = 2.0794415416798;
  else if (b == 16)
    lnb = 2.7725887222398;
  else
    lnb = std::log(static_cast<double>(b));
  const int m = *l == 0 ? ipmpar(&kDoubleEmax) : ipmpar(&kDoubleEmin) - 1;
  return 0.99999 * (m * lnb);
}

double Xgamm(const double* a) {
  constexpr double d = 0.4189385332046727;  // 0.5 ln(2 pi) - 0.5
  constexpr double pi = 3.1415926535898;

  double x = *a;
  if (std::fabs(*a) < 15.0) {
    // Shift the argument into [1, 2) by the recurrence, collecting the
    // factors in t, and use the rational form of Gamma(1 + x).
    double t = 1.0;
    if (*a >= 1.0) {
      const int m = static_cast<int>(*a) - 1;
      for (int j = 1; j <= m; ++j) {
        x -= 1.0;
        t = x * t;
      }
      x -= 1.0;
    } else {
      t = *a;
      if (*a <= 0.0) {
        const int m = -static_cast<int>(*a);
        for (int j = 1; j <= m; ++j) {
          x += 1.0;
          t = x * t;
        }
        x += 1.0;
        t = x * t;
        if (t == 0.0) return 0.0;
      }
      if (std::fabs(t) < 1e-30) {
        if (std::fabs(t) * spmpar(&kLargestFinite) <= 1.0001) return 0.0;
        return 1.0 / t;
      }
    }
    const double top = horner(kGammaP, x);
    const double bot = horner(kGammaQ, x);
    double result = top / bot;
    if (*a >= 1.0)
      result *= t;
    else
      result /= t;
    return result;
  }
  if (std::fabs(*a) >= 1000.0) return 0.0;
  double s = 0.0;
  if (*a <= 0.0) {
    // reflection: Gamma(a) = pi / (sin(pi a) Gamma(1 - a))
    x = -*a;
    const int n = static_cast<int>(x);
    double t = x - n;
    if (t > 0.9) t = 1.0 - t;
    s = std::sin(pi * t) / pi;
    if (n % 2 == 0) s = -s;
    if (s == 0.0) return 0.0;
  }
  // Stirling's formula for |a| >= 15
  x = std::fabs(*a);
  const double t = 1.0 / (x * x);
  const double g = horner(kStirling, t) / x;
  const double lnx = std::log(x);
  const double w = g + d + (x - 0.5) * (lnx - 1.0);
  if (w > 0.99999 * exparg(&kLargestExponent)) return 0.0;
  double result = std::exp(w);
  if (*a < 0.0) result = 1.0 / (result * s) / x;
  return result;
}

double rcomp(const double* a, const double* x) {
  constexpr double rt2pin = 0.398942280401433;  // 1/sqrt(2 pi)
  if (*a < 20.0) {
    const double t = *a * std::log(*x) - *x;
    if (*a < 1.0) return *a * std::exp(t) * (1.0 + gam1(a));
    return std::exp(t) / Xgamm(a);
  }
  // x^a e^-x / Gamma(a) = sqrt(a / (2 pi)) e^(-a rlog(x/a)) times the
  // reciprocal of Stirling's correction, here its series in 1/a^2: the
  // large powers and exponentials cancel before they are formed.
  const double u = *x / *a;
  if (u == 0.0) return 0.0;
  const double t = (1.0 / *a) * (1.0 / *a);
  const double t1 = (((0.75 * t - 1.0) * t + 3.5) * t - 105.0) / (*a * 1260.0) - *a * rlog(&u);
  return rt2pin * std::sqrt(*a) * std::exp(t1);
}

}  // namespace numlib
