// The normal family of distfuncs.h: cdfnor, cumnor, dinvnr, stvaln and
// dlanor.
#include <cmath>
#include <limits>
#include <utility>

#include "stats/distfuncs/anorm_coefficients.h"
#include "stats/distfuncs/cdf_checks.h"
#include "stats/distfuncs/distfuncs.h"
#include "stats/distfuncs/elementary.h"
#include "stats/distfuncs/ftnstop.h"
#include "stats/distfuncs/horner.h"
#include "stats/distfuncs/ipmpar.h"

namespace numlib {

namespace {

// Where cumnor changes from the central to the intermediate approximation,
// and from that to the tail one (sqrt 32).
constexpr double kCentralEnd = 0.66291;
constexpr double kIntermediateEnd = 5.656854248;
// Beyond this |arg| the smaller tail lies below the smallest normal double
// and is flushed to 0: the limits are returned directly, which also covers
// infinite arguments.
constexpr double kFlushedBeyond = 38.0;
// 1/sqrt(2 pi) as the tail approximation and Newton's step use it.
constexpr double kTailScale = 0.3989422804014327;
constexpr double kNewtonDensityScale = 0.3989422804014326;
constexpr double kLnSqrt2Pi = 0.9189385332046728;

constexpr int kMaxNewtonSteps = 100;
constexpr double kNewtonRelTol = 1e-13;

// exp(-x^2/2) for the tails, x > kCentralEnd: x^2 is split into the square of
// xsq = trunc(1.6 x)/1.6, a number of few bits, and the small remainder
// (x - xsq)(x + xsq), so the rounding of x^2 is not magnified by the
// exponential.
double half_gaussian(double x) {
  const double xsq = std::trunc(x * 1.6) / 1.6;
  const double del = (x - xsq) * (x + xsq);
  return std::exp(-xsq * xsq * 0.5) * std::exp(-del * 0.5);
}

// P(Z <= -y) for kCentralEnd < y <= kIntermediateEnd.
double intermediate_tail(double y) {
  using anorm::c;
  using anorm::d;
  double xnum = c[8] * y;
  double xden = y;
  for (int i = 0; i < 7; ++i) {
    xnum = (xnum + c[i]) * y;
    xden = (xden + d[i]) * y;
  }
  const double r = (xnum + c[7]) / (xden + d[7]);
  return half_gaussian(y) * r;
}

// P(Z <= -y) for y = |arg| > kIntermediateEnd.
double far_tail(double arg, double y) {
  using anorm::p;
  using anorm::q;
  const double xsq = 1.0 / (arg * arg);
  double xnum = p[5] * xsq;
  double xden = xsq;
  for (int i = 0; i < 4; ++i) {
    xnum = (xnum + p[i]) * xsq;
    xden = (xden + q[i]) * xsq;
  }
  double r = xsq * (xnum + p[4]) / (xden + q[4]);
  r = (kTailScale - r) / y;
  return half_gaussian(y) * r;
}

// The largest double: MEAN and SD are finite, and so is X where it
// determines a parameter (which 3 and 4).
constexpr double kLargest = std::numeric_limits<double>::max();

// value a finite number for the k-th argument: not a number is refused
// with bound 0, an infinity with the largest double of its sign.
bool check_finite(int k, double value, int* status, double* bound) {
  return check_number(k, value, status, bound) &&
         check_argument(k, value, Domain::closed(-kLargest, kLargest), status, bound);
}

// The three forms of cdfnor, (x - mean)/sd, sd z + mean and x - sd z, as
// if in a wider exponent range: when the direct form overflows, every
// operand is halved (exactly, the operands being that large) and the result
// doubled, so it is the same correctly rounded value, and infinite only
// when the result itself lies beyond the largest double.
double standardized(double x, double mean, double sd) {
  const double d = x - mean;
  if (std::isfinite(d)) return d / sd;
  return 2.0 * ((0.5 * x - 0.5 * mean) / sd);
}

double from_standard(double z, double mean, double sd) {
  const double x = sd * z + mean;
  if (std::isfinite(x)) return x;
  return 2.0 * ((0.5 * sd) * z + 0.5 * mean);
}

double mean_from_standard(double z, double x, double sd) {
  const double mean = x - sd * z;
  if (std::isfinite(mean)) return mean;
  return 2.0 * (0.5 * x - (0.5 * sd) * z);
}

}  // namespace

void cumnor(const double* arg, double* result, double* ccum) {
  const double eps = spmpar(&kMachineEpsilon) * 0.5;
  const double min = spmpar(&kSmallestNormal);
  const double y = std::fabs(*arg);
  if (y <= kCentralEnd) {
    using anorm::a;
    using anorm::b;
    const double xsq = y > eps ? *arg * *arg : 0.0;
    double xnum = a[4] * xsq;
    double xden = xsq;
    for (int i = 0; i < 3; ++i) {
      xnum = (xnum + a[i]) * xsq;
      xden = (xden + b[i]) * xsq;
    }
    const double temp = *arg * (xnum + a[3]) / (xden + b[3]);
    *result = 0.5 + temp;
    *ccum = 0.5 - temp;
  } else if (y > kFlushedBeyond) {
    *result = *arg < 0.0 ? 0.0 : 1.0;
    *ccum = *arg < 0.0 ? 1.0 : 0.0;
    return;
  } else {
    // The lower tail at -y, then its complement; swapped for a positive arg.
    *result = y <= kIntermediateEnd ? intermediate_tail(y) : far_tail(*arg, y);
    *ccum = 1.0 - *result;
    if (*arg > 0.0) std::swap(*result, *ccum);
  }
  if (*result < min) *result = 0.0;
  if (*ccum < min) *ccum = 0.0;
}

double stvaln(const double* p) {
  constexpr double xnum[5] = {-0.322232431088, -1.0, -0.342242088547, -0.0204231210245,
                              -4.53642210148e-05};
  constexpr double xden[5] = {0.099348462606, 0.588581570495, 0.531103462366, 0.10353775285,
                              0.0038560700634};
  const double sign = *p <= 0.5 ? -1.0 : 1.0;
  const double z = *p <= 0.5 ? *p : 1.0 - *p;
  const double y = std::sqrt(-2.0 * std::log(z));
  return sign * (y + horner(xnum, y) / horner(xden, y));
}

double dinvnr(const double* p, const double* q) {
  // Newton's method on the smaller tail, whose digits the larger would lose.
  const bool qporq = *p <= *q;
  const double pp = qporq ? *p : *q;
  const double strtx = stvaln(&pp);
  double xcur = strtx;
  for (int step = 0; step < kMaxNewtonSteps; ++step) {
    double cum = 0.0, ccum = 0.0;
    cumnor(&xcur, &cum, &ccum);
    const double dx = (cum - pp) / (kNewtonDensityScale * std::exp(-0.5 * xcur * xcur));
    xcur -= dx;
    if (std::fabs(dx / xcur) < kNewtonRelTol) return qporq ? xcur : -xcur;
  }
  return qporq ? strtx : -strtx;
}

double dlanor(const double* x) {
  // (-1)^k (2k - 1)!! for k = 1..12: the asymptotic series of
  // P(Z <= -x) sqrt(2 pi) x exp(x^2/2) - 1 in 1/x^2
  constexpr double coef[12] = {-1.0,        3.0,         -15.0,          105.0,
                               -945.0,      10395.0,     -135135.0,      2027025.0,
                               -34459425.0, 654729075.0, -13749310575.0, 316234143225.0};
  const double xx = std::fabs(*x);
  if (xx < 5.0) ftnstop(" Argument too small in DLANOR");
  const double approx = -kLnSqrt2Pi - xx * xx / 2.0 - std::log(xx);
  const double xx2 = xx * xx;
  const double inv_xx2 = 1.0 / xx2;
  const double series = horner(coef, inv_xx2) / xx2;
  return approx + dln1px(&series);
}

void cdfnor(int* which, double* p, double* q, double* x, double* mean, double* sd, int* status,
            double* bound) {
  if (!check_which(*which, 4, status, bound)) return;
  if (*which != 1) {
    if (!check_argument(2, *p, Domain::open_closed(0.0, 1.0), status, bound)) return;
    if (!check_argument(3, *q, Domain::open_closed(0.0, 1.0), status, bound)) return;
    if (!check_pair_sum(3, *p, *q, status, bound)) return;
  }
  // An infinite X has P = 0 or 1, but no MEAN or SD puts it at a quantile.
  if (*which == 1 && !check_number(4, *x, status, bound)) return;
  if ((*which == 3 || *which == 4) && !check_finite(4, *x, status, bound)) return;
  if (*which != 3 && !check_finite(5, *mean, status, bound)) return;
  if (*which != 4 && !check_argument(6, *sd, Domain::open_closed(0.0, kLargest), status, bound))
    return;

  *status = 0;
  if (*which == 1) {
    const double z = standardized(*x, *mean, *sd);
    cumnor(&z, p, q);
    return;
  }
  const double z = dinvnr(p, q);
  double answer;
  if (*which == 2) {
    answer = from_standard(z, *mean, *sd);
  } else if (*which == 3) {
    answer = mean_from_standard(z, *x, *sd);
  } else {
    // A positive SD exists only when X - MEAN and z have the same sign, and
    // fits only below the largest double.  When the matched tail is exactly
    // one half, z is 0 in truth and the computed one a rounding residue of
    // either sign: no SD is determined.
    const bool at_median = (*p <= *q ? *p : *q) == 0.5;
    answer = standardized(*x, *mean, z);
    if (at_median || !(answer > 0.0 && answer <= kLargest)) {
      *status = -6;
      *bound = 0.0;
      return;
    }
  }
  // An X or MEAN beyond the largest double is not written.
  if (std::isinf(answer)) {
    *status = 10;
    return;
  }
  double* const sought = *which == 2 ? x : (*which == 3 ? mean : sd);
  *sought = answer;
}

}  // namespace numlib
