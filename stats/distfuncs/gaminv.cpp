#include "stats/distfuncs/gaminv.h"

#include <algorithm>
#include <cmath>

#include "stats/distfuncs/elementary.h"
#include "stats/distfuncs/gratio.h"
#include "stats/distfuncs/horner.h"
#include "stats/distfuncs/ipmpar.h"
#include "stats/distfuncs/log_gamma.h"
#include "stats/distfuncs/specfuncs.h"

namespace numlib {

namespace {

// Per accuracy level (0: machine epsilon at most 1e-10, as for doubles;
// 1: coarser arithmetic):
//   kAmin, kDmin  for a >= kAmin the normal-based first approximation is
//                 accepted when it lies within kDmin of a, relatively;
//   kBmin         for a < 1 the asymptotic series is accepted when
//                 b = q Gamma(a) is at most kBmin;
//   kEmin         for a > 1 the small-x approximation is accepted when x
//                 is at most kEmin (a + 1);
//   kEps0         the relative accuracy the iteration aims at.
constexpr double kAmin[2] = {500.0, 100.0};
constexpr double kBmin[2] = {1e-28, 1e-13};
constexpr double kDmin[2] = {1e-6, 1e-4};
constexpr double kEmin[2] = {2e-3, 6e-3};
constexpr double kEps0[2] = {1e-10, 1e-8};

constexpr double kEuler = 0.577215664901533;
constexpr double kLn10 = 2.302585;

// The normal quantile for the tail probability e^w, w <= ln 1/2, as
// t - top(t)/bot(t) with t = sqrt(-2w); constant term first.
constexpr double kQuantileTop[4] = {3.31125922108741, 11.6616720288968, 4.28342155967104,
                                    0.213623493715853};
constexpr double kQuantileBot[5] = {1.0, 6.61053765625462, 6.40691597760039, 1.27364489782223,
                                    0.036117081018842};

constexpr int kFullAccuracy = 0;
constexpr int kMaxSteps = 20;

// The arguments of one inversion and the constants of its level.
struct Problem {
  double a, p, q;
  int level;
  double eps;   // the accuracy the iteration aims at
  double e2;    // twice the machine epsilon
  double amax;  // beyond it, x within e2 of a cannot be resolved
  double xmin;  // the smallest normal double
  double xmax;  // the largest double
};

// What a first approximation leads to: the iteration from x, or x
// returned at once with ierr (0: accepted, negative: failed).
struct Start {
  bool iterate;
  double x;
  int ierr;
};

Start iterate_from(double x) { return {true, x, 0}; }
Start accept(double x) { return {false, x, 0}; }
Start fail(double x, int ierr) { return {false, x, ierr}; }

// The solution x of Gamma(a, x) = e^-y (the upper incomplete gamma
// function) for large y, as a series in 1/y with s = 1 - a and z = ln y:
// x = y + c1 + c2/y + ... + c5/y^4.
double asymptotic_series(double a, double s, double y, double z) {
  const double c1 = -s * z;
  const double c2 = -s * (1.0 + c1);
  const double c3 = s * ((0.5 * c1 + (2.0 - a)) * c1 + (2.5 - 1.5 * a));
  const double c4 = -s * (((c1 / 3.0 + (2.5 - 1.5 * a)) * c1 + ((a - 6.0) * a + 7.0)) * c1 +
                          ((11.0 * a - 46.0) * a + 47.0) / 6.0);
  const double c5 =
      -s * ((((-0.25 * c1 + (11.0 * a - 17.0) / 6.0) * c1 + ((13.0 - 3.0 * a) * a - 13.0)) * c1 +
             0.5 * (((2.0 * a - 25.0) * a + 72.0) * a - 61.0)) *
                c1 +
            (((25.0 * a - 195.0) * a + 477.0) * a - 379.0) / 12.0);
  return ((((c5 / y + c4) / y + c3) / y + c2) / y + c1) + y;
}

// First approximation for a < 1.
Start small_shape_start(const Problem& pr) {
  const double a = pr.a, p = pr.p, q = pr.q;
  const double ap1 = a + 1.0;
  const double g = Xgamm(&ap1);
  const double qg = q * g;
  if (qg == 0.0) return fail(pr.xmax, -8);
  const double b = qg / a;
  if (qg <= 0.6 * a) {
    if (a < 0.3 && b >= 0.35) {
      // x small, q near 1 - x^a/Gamma(a + 1) corrected
      const double t = std::exp(-(b + kEuler));
      const double u = t * std::exp(t);
      return iterate_from(t * std::exp(u));
    }
    if (b < 0.45) {
      // q small: x large, from y = -ln(q Gamma(a))
      if (b == 0.0) return fail(pr.xmax, -8);
      const double y = -std::log(b);
      const double s = 0.5 + (0.5 - a);
      const double z = std::log(y);
      const double t = y - s * z;
      if (b >= 0.15) return iterate_from(y - s * std::log(t) - std::log(1.0 + s / (t + 1.0)));
      if (b > 0.01) {
        const double u =
            ((t + 2.0 * (3.0 - a)) * t + (2.0 - a) * (3.0 - a)) / ((t + (5.0 - a)) * t + 2.0);
        return iterate_from(y - s * std::log(t) - std::log(u));
      }
      const double xn = asymptotic_series(a, s, y, z);
      if (b <= kBmin[pr.level]) return accept(xn);
      return iterate_from(xn);
    }
  }
  // p not small: x from the leading term x^a/Gamma(a + 1) of P.
  double xn;
  if (b * q <= 1e-8) {
    xn = std::exp(-(q / a + kEuler));
  } else if (p > 0.9) {
    const double mq = -q;
    xn = std::exp((alnrel(&mq) + gamln1(&a)) / a);
  } else {
    xn = std::exp(std::log(p * g) / a);
  }
  if (xn == 0.0) return fail(0.0, -3);
  return iterate_from(xn / (0.5 + (0.5 - xn / (a + 1.0))));
}

// p <= 1/2 for a > 1, when xn (the normal-based value) is not large: from
// x^a e^-x / Gamma(a + 1) times its series, with w = ln p + ln Gamma(a + 1).
// x is the normal-based value when a is large enough to have trusted it,
// else 0.
Start lower_tail_start(const Problem& pr, double xn, double x, double w) {
  const double a = pr.a;
  const double ap1 = a + 1.0;
  if (xn > 0.7 * ap1) return iterate_from(xn);
  w += gamln(&ap1);
  if (xn <= 0.15 * ap1) {
    // Fixed-point steps on x = (p Gamma(a + 1) e^x / (1 + x/(a + 1) + ...))^(1/a).
    const double ap2 = a + 2.0;
    const double ap3 = a + 3.0;
    x = std::exp((w + x) / a);
    for (int k = 0; k < 2; ++k)
      x = std::exp((x + w - std::log(1.0 + (x / ap1) * (1.0 + x / ap2))) / a);
    x = std::exp((x + w - std::log(1.0 + (x / ap1) * (1.0 + (x / ap2) * (1.0 + x / ap3)))) / a);
    xn = x;
    if (xn <= 0.01 * ap1) {
      if (xn <= kEmin[pr.level] * ap1) return accept(xn);
      return iterate_from(xn);
    }
  }
  // The whole series 1 + x/(a + 1) + x^2/((a + 1)(a + 2)) + ..., then one
  // Newton step on ln P.  Written so that a not-a-number term ends it.
  double apn = ap1;
  double t = xn / apn;
  double sum = 1.0 + t;
  do {
    apn += 1.0;
    t = t * xn / apn;
    sum += t;
  } while (t > 1e-4);
  t = w - std::log(sum);
  xn = std::exp((xn + t) / a);
  xn = xn * (1.0 - (a * std::log(xn) - xn - t) / (a - xn));
  return iterate_from(xn);
}

// p > 1/2 for a > 1, when xn is far in the upper tail: from
// Q = x^(a-1) e^-x / Gamma(a) (1 + ...), with w = ln q.
Start upper_tail_start(const Problem& pr, double xn, double w) {
  const double a = pr.a;
  if (xn < 3.0 * a) return iterate_from(xn);
  const double y = -(w + gamln(&a));
  const double d = std::max(2.0, a * (a - 1.0));
  if (y < kLn10 * d) {
    const double t = a - 1.0;
    for (int k = 0; k < 2; ++k) {
      const double r = -t / (xn + 1.0);
      xn = y + t * std::log(xn) - alnrel(&r);
    }
    return iterate_from(xn);
  }
  return iterate_from(asymptotic_series(a, 1.0 - a, y, std::log(y)));
}

// First approximation for a > 1: the Cornish-Fisher expansion of x in the
// normal quantile s, accepted for large a near the median, refined in the
// tails.
Start large_shape_start(const Problem& pr) {
  const double a = pr.a, p = pr.p, q = pr.q;
  const double w = q <= 0.5 ? std::log(q) : std::log(p);
  const double t = std::sqrt(-2.0 * w);
  double s = t - horner(kQuantileTop, t) / horner(kQuantileBot, t);
  if (q > 0.5) s = -s;
  const double rta = std::sqrt(a);
  const double s2 = s * s;
  double xn = a + s * rta + (s2 - 1.0) / 3.0 + s * (s2 - 7.0) / (36.0 * rta) -
              ((3.0 * s2 + 7.0) * s2 - 16.0) / (810.0 * a) +
              s * ((9.0 * s2 + 256.0) * s2 - 433.0) / (38880.0 * a * rta);
  xn = std::max(xn, 0.0);
  double x = 0.0;
  if (a >= kAmin[pr.level]) {
    x = xn;
    if (std::fabs(0.5 + (0.5 - xn / a)) <= kDmin[pr.level]) return accept(xn);
  }
  if (p <= 0.5) return lower_tail_start(pr, xn, x, w);
  return upper_tail_start(pr, xn, w);
}

// Third-order Schroeder steps from xn on p (p <= 1/2) or on q, counting
// them in *ierr.
void iterate(const Problem& pr, double xn, double* x, int* ierr) {
  const double a = pr.a, p = pr.p, q = pr.q;
  const bool on_p = p <= 0.5;
  *x = xn;
  if ((on_p ? p : q) <= pr.xmin * 1e10) {
    *ierr = -8;
    return;
  }
  for (;;) {
    if (a > pr.amax && std::fabs(0.5 + (0.5 - xn / a)) <= pr.e2) {
      *x = xn;
      *ierr = -8;
      return;
    }
    if (*ierr >= kMaxSteps) {
      *ierr = -6;
      return;
    }
    ++*ierr;
    // An error of gratio (its P = 2.0) leaves qn at 0: ierr -8 below.
    double pn = 0.0, qn = 0.0;
    gratio(&a, &xn, &pn, &qn, &kFullAccuracy);
    if (pn == 0.0 || qn == 0.0) {
      *x = xn;
      *ierr = -8;
      return;
    }
    const double r = rcomp(&a, &xn);
    if (r == 0.0) {
      *x = xn;
      *ierr = -8;
      return;
    }
    // t: the Newton correction relative to x; w: half the second
    // derivative's ratio, for the third-order term.
    const double t = on_p ? (pn - p) / r : (q - qn) / r;
    const double w = (a - 0.5 - 0.5 - xn) / 2.0;
    double d;
    if (std::fabs(t) <= 0.1 && std::fabs(w * t) <= 0.1) {
      const double h = t * (1.0 + w * t);
      *x = xn * (1.0 - h);
      d = std::fabs(h);
      if (std::fabs(w) >= 1.0 && std::fabs(w) * t * t <= pr.eps) return;
    } else {
      *x = xn * (1.0 - t);
      d = std::fabs(t);
    }
    if (*x <= 0.0) {
      *ierr = -7;
      return;
    }
    xn = *x;
    if (d <= 1e-5) {
      if (d <= pr.eps) return;
      if (on_p ? std::fabs(p - pn) <= 1e-5 * p : std::fabs(q - qn) <= 1e-5 * q) return;
    }
  }
}

}  // namespace

void gaminv(const double* a, double* x, const double* x0, const double* p, const double* q,
            int* ierr) {
  const double e = spmpar(&kMachineEpsilon);
  *x = 0.0;
  // Both tests are written so that a not-a-number argument fails them.
  if (!(*a > 0.0)) {
    *ierr = -2;
    return;
  }
  if (!(std::fabs((*p + *q) - 1.0) <= e)) {
    *ierr = -4;
    return;
  }
  *ierr = 0;
  if (*p == 0.0) return;
  if (*q == 0.0) {
    *x = spmpar(&kLargestFinite);
    return;
  }
  if (*a == 1.0) {
    // The exponential distribution: x = -ln q, from whichever of p and q
    // carries the digits.
    if (*q < 0.9) {
      *x = -std::log(*q);
    } else {
      const double mp = -*p;
      *x = -alnrel(&mp);
    }
    return;
  }

  const int level = e <= 1e-10 ? 0 : 1;
  const Problem pr{*a,
                   *p,
                   *q,
                   level,
                   kEps0[level],              // eps
                   2.0 * e,                   // e2
                   4e-11 / (e * e),           // amax
                   spmpar(&kSmallestNormal),  // xmin
                   spmpar(&kLargestFinite)};  // xmax

  Start start;
  if (*x0 > 0.0)
    start = iterate_from(*x0);
  else if (*a < 1.0)
    start = small_shape_start(pr);
  else
    start = large_shape_start(pr);
  if (!start.iterate) {
    *x = start.x;
    *ierr = start.ierr;
    return;
  }
  iterate(pr, start.x, x, ierr);
}

}  // namespace numlib
