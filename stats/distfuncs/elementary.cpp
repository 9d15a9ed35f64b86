#include "stats/distfuncs/elementary.h"

#include <cmath>

#include "stats/distfuncs/horner.h"
#include "stats/distfuncs/rlog_series.h"
#include "stats/distfuncs/specfuncs.h"

namespace numlib {

double devlpl(const double a[], const int* n, const double* x) {
  double term = a[*n - 1];
  for (int i = *n - 2; i >= 0; --i) term = a[i] + term * *x;
  return term;
}

double fifdint(const double* a) { return static_cast<double>(static_cast<std::int64_t>(*a)); }

double fifdmax1(const double* a, const double* b) { return *b > *a ? *b : *a; }

double fifdmin1(const double* a, const double* b) { return *a < *b ? *a : *b; }

double fifdsign(const double* mag, const double* sign) {
  return *sign < 0.0 ? -std::fabs(*mag) : std::fabs(*mag);
}

std::int64_t fifidint(const double* a) {
  if (*a < 1.0) return 0;
  return static_cast<std::int64_t>(*a);
}

std::int64_t fifmod(std::int64_t a, std::int64_t b) { return a % b; }

double rlog1(const double* x) {
  if (*x < -0.39 || *x > 0.57) {
    const double w = (*x + 0.5) + 0.5;
    return *x - std::log(w);
  }
  // Reduce to |h| <= about 0.18 around 0, -0.3 or 1/3.
  if (*x < -0.18) {
    const double h = (*x + 0.3) / 0.7;
    return rlog_series(h) + (kRlogAtMinusThreeTenths - 0.3 * h);
  }
  if (*x > 0.18) {
    const double h = 0.75 * *x - 0.25;
    return rlog_series(h) + (kRlogAtOneThird + h / 3.0);
  }
  return rlog_series(*x);
}

double dexpm1(const double* x) { return rexp(x); }

double alnrel(const double* a) {
  // ln(1 + a) = 2 atanh(t) with t = a/(a + 2): a rational function of t^2
  constexpr double p[4] = {1.0, -1.29418923021993, 0.405303492862024, -0.0178874546012214};
  constexpr double q[4] = {1.0, -1.62752256355323, 0.747811014037616, -0.0845104217945565};
  if (std::fabs(*a) > 0.375) return std::log(1.0 + *a);
  const double t = *a / (*a + 2.0);
  const double t2 = t * t;
  const double w = horner(p, t2) / horner(q, t2);
  return 2.0 * t * w;
}

double dln1px(const double* a) { return alnrel(a); }

double dln1mx(const double* x) {
  const double a = -*x;
  return alnrel(&a);
}

double esum(const int* mu, const double* x) {
  // e^mu e^x keeps every digit of x; the sum is formed instead when x
  // outweighs an integer part of the other sign, where e^mu and e^x could
  // overflow and underflow apart.
  const double w = *mu + *x;
  const bool split = *x > 0.0 ? (*mu > 0 || w < 0.0) : (*mu < 0 || w > 0.0);
  if (split) return std::exp(static_cast<double>(*mu)) * std::exp(*x);
  return std::exp(w);
}

}  // namespace numlib
