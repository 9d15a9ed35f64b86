// Binomial variates: inversion for small n p, Kachitvichyanukul and
// Schmeiser's algorithm BTPE (1988) otherwise.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "stats/varlib/com.h"
#include "stats/varlib/varlib.h"
#include "stats/varlib/varlib_bounds.h"

namespace numlib {

namespace {

// BTPE's bounds on n and n p (see varlib_bounds.h).
constexpr std::int64_t kLargestBtpeTrials = std::int64_t{1} << 46;
constexpr float kLargestBtpeMean = 8388608.0f;  // 2^23

// min(pp, 1 - pp), compared in double.
float smaller_probability(float pp) {
  return static_cast<float>(std::min(static_cast<double>(pp), 1.0 - pp));
}

// The set-up of the last (n, pp); the caller's pp starts at -1.0 and n at
// -1, so the first call makes it.
struct BinomialSetup {
  float psave = -1.0f;
  std::int64_t nsave = -1;
  float p = 0.0f, q = 0.0f;  // p = min(pp, 1 - pp), q = 1 - p
  float xnp = 0.0f;          // n p; inversion below 30
  // Inversion: f(0) = q^n and the ratio f(i) / f(i - 1) = g / i - r.
  float qn = 0.0f, r = 0.0f, g = 0.0f;
  // BTPE: the mode m, the triangle's half width p1 around xm, the
  // exponential tails' slopes xll and xlr beyond xl and xr, and the
  // cumulative areas p1 < p2 < p3 < p4 of triangle, parallelograms and
  // tails.
  std::int64_t m = 0;
  float ffm = 0.0f, fm = 0.0f, xnpq = 0.0f, p1 = 0.0f, xm = 0.0f, xl = 0.0f, xr = 0.0f, c = 0.0f;
  float xll = 0.0f, xlr = 0.0f, p2 = 0.0f, p3 = 0.0f, p4 = 0.0f;
};
BinomialSetup setup;

void set_probability(float pp) {
  setup.psave = pp;
  setup.p = smaller_probability(pp);
  setup.q = 1.0f - setup.p;
}

void set_trials(std::int64_t n) {
  BinomialSetup& s = setup;
  s.nsave = n;
  s.xnp = n * s.p;
  if (s.xnp < 30.0f) {
    // q^n in double from p itself: q rounded to a float is 1 for p below
    // about 3e-8, which would make every such draw 0.
    s.qn = static_cast<float>(std::exp(n * std::log1p(-static_cast<double>(s.p))));
    s.r = s.p / s.q;
    // n + 1 formed unsigned: it passes the 64-bit signed integers at
    // n = 2^63 - 1.  Converted to a float as before.
    s.g = s.r * static_cast<float>(static_cast<std::uint64_t>(n) + 1);
    return;
  }
  s.ffm = s.xnp + s.p;
  s.m = static_cast<std::int64_t>(s.ffm);
  s.fm = static_cast<float>(s.m);
  s.xnpq = s.xnp * s.q;
  s.p1 = static_cast<float>(
      static_cast<std::int64_t>(2.195 * std::sqrt(static_cast<double>(s.xnpq)) - 4.6 * s.q) + 0.5);
  s.xm = static_cast<float>(s.fm + 0.5);
  s.xl = s.xm - s.p1;
  s.xr = s.xm + s.p1;
  s.c = static_cast<float>(0.134 + 20.5 / (15.3 + s.fm));
  float al = (s.ffm - s.xl) / (s.ffm - s.xl * s.p);
  s.xll = static_cast<float>(al * (1.0 + 0.5 * al));
  al = (s.xr - s.ffm) / (s.xr * s.q);
  s.xlr = static_cast<float>(al * (1.0 + 0.5 * al));
  s.p2 = static_cast<float>(s.p1 * (1.0 + s.c + s.c));
  s.p3 = s.p2 + s.c / s.xll;
  s.p4 = s.p3 + s.c / s.xlr;
}

std::int64_t inversion() {
  const BinomialSetup& s = setup;
  for (;;) {
    std::int64_t ix = 0;
    float f = s.qn;
    float u = ranf();
    for (;;) {
      if (u < f) return ix;
      if (ix > 110) break;
      u = u - f;
      ++ix;
      f = f * (s.g / ix - s.r);
    }
  }
}

// Stirling's correction term of ln(y!) (BTPE's final test).
double stirling(double y) {
  const double y2 = y * y;
  return (13860.0 - (462.0 - (132.0 - (99.0 - 140.0 / y2) / y2) / y2) / y2) / y / 166320.0;
}

// BTPE's acceptance test of ix with the scaled uniform v.
bool btpe_accepts(std::int64_t n, std::int64_t ix, float v) {
  const BinomialSetup& s = setup;
  const std::int64_t k = ix > s.m ? ix - s.m : s.m - ix;
  if (k <= 20 || k >= s.xnpq / 2 - 1) {
    // f(ix) / f(m) by the recursion of successive ratios.
    float f = 1.0f;
    const float r = s.p / s.q;
    const float g = (n + 1) * r;
    if (s.m < ix) {
      for (std::int64_t i = s.m + 1; i <= ix; ++i) f = f * (g / i - r);
    } else if (s.m > ix) {
      for (std::int64_t i = ix + 1; i <= s.m; ++i) f = f / (g / i - r);
    }
    return v <= f;
  }
  // Squeeze on ln f(ix) / f(m) around its normal approximation.
  const double kd = static_cast<double>(k);
  const float amaxp = static_cast<float>(
      (kd / s.xnpq) * ((kd * (kd / 3.0 + 0.625) + 0.1666666666666) / s.xnpq + 0.5));
  const float ynorm = static_cast<float>(-(kd * kd) / (2.0 * s.xnpq));
  const float alv = std::log(v);
  if (alv < ynorm - amaxp) return true;
  if (alv > ynorm + amaxp) return false;
  // Stirling's formula for ln f(ix) / f(m).
  // In double: above 2^24 trials a float would move the bound by whole units.
  const double x1 = static_cast<double>(ix + 1), f1 = s.fm + 1.0;
  const double z = static_cast<double>(n + 1) - s.fm, w = static_cast<double>(n - ix + 1);
  const double bound = s.xm * std::log(f1 / x1) +
                       (static_cast<double>(n - s.m) + 0.5) * std::log(z / w) +
                       static_cast<double>(ix - s.m) * std::log(w * s.p / (x1 * s.q)) +
                       stirling(f1) + stirling(z) + stirling(x1) + stirling(w);
  return alv <= bound;
}

std::int64_t btpe(std::int64_t n) {
  const BinomialSetup& s = setup;
  for (;;) {
    const float u = ranf() * s.p4;
    float v = ranf();
    std::int64_t ix = 0;
    if (u <= s.p1) return static_cast<std::int64_t>(s.xm - s.p1 * v + u);  // triangle
    if (u <= s.p2) {                                                       // parallelograms
      const float x = s.xl + (u - s.p1) / s.c;
      v = static_cast<float>(v * s.c + 1.0 - std::fabs(static_cast<double>(s.xm - x)) / s.p1);
      if (v > 1.0f || v <= 0.0f) continue;
      ix = static_cast<std::int64_t>(x);
    } else if (u <= s.p3) {  // left tail
      ix = static_cast<std::int64_t>(s.xl + std::log(static_cast<double>(v)) / s.xll);
      if (ix < 0) continue;
      v = v * (u - s.p2) * s.xll;
    } else {  // right tail
      ix = static_cast<std::int64_t>(s.xr - std::log(static_cast<double>(v)) / s.xlr);
      if (ix > n) continue;
      v = v * (u - s.p3) * s.xlr;
    }
    if (btpe_accepts(n, ix, v)) return ix;
  }
}

}  // namespace

bool ignbin_in_bounds(std::int64_t n, float pp) {
  const float xnp = n * smaller_probability(pp);  // as the set-up forms it
  return xnp < 30.0f || (n <= kLargestBtpeTrials && xnp <= kLargestBtpeMean);
}

std::int64_t ignbin(std::int64_t n, float pp) {
  if (n < 0) {
    std::fputs("N < 0 in IGNBIN - ABORT", stderr);
    std::fprintf(stderr, "Value of N: %12ld\n", static_cast<long>(n));
    std::exit(EXIT_FAILURE);
  }
  if (!(pp >= 0.0f && pp <= 1.0f)) {
    std::fputs("PP < 0 or PP > 1 in IGNBIN - ABORT", stderr);
    std::fprintf(stderr, "Value of PP: %16.6E\n", pp);
    std::exit(EXIT_FAILURE);
  }
  if (!ignbin_in_bounds(n, pp)) {
    std::fputs("N above 2^46 or N x P above 2^23 in IGNBIN - ABORT", stderr);
    std::fprintf(stderr, "Value of N: %12ld Value of PP: %16.6E\n", static_cast<long>(n), pp);
    std::exit(EXIT_FAILURE);
  }
  if (pp != setup.psave) {
    set_probability(pp);
    set_trials(n);
  } else if (n != setup.nsave) {
    set_trials(n);
  }
  const std::int64_t ix = setup.xnp < 30.0f ? inversion() : btpe(n);
  return setup.psave > 0.5f ? n - ix : ix;
}

}  // namespace numlib
