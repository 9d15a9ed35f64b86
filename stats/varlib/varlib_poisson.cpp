// Poisson variates: Ahrens and Dieter's algorithm PD (1982) for means from
// 10 up to 2^23, inversion by a cumulative table below, and sums of PD
// deviates above.
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

// PD's coefficients of the correction polynomial of ln(k! e^mu / mu^k).
constexpr float kA[8] = {-0.5,       0.3333333, -0.2500068, 0.2000118,
                         -0.1661269, 0.1421878, -0.1384794, 0.125006};
// 0! .. 9!.
constexpr float kFactorial[10] = {1.0,   1.0,   2.0,    6.0,     24.0,
                                  120.0, 720.0, 5040.0, 40320.0, 362880.0};

// PD's step-1 set-up, made for the mean mu (0: none).
struct PdSetup {
  float mu = 0.0f;
  float s = 0.0f, d = 0.0f;  // sqrt(mu), 6 mu^2
  std::int64_t l = 0;        // deviates from l on are accepted at once
};
// PD's step-3 coefficients.
struct PdCoefficients {
  float omega = 0.0f, b1 = 0.0f, b2 = 0.0f, c3 = 0.0f, c2 = 0.0f, c1 = 0.0f, c0 = 0.0f, c = 0.0f;
};
// The cumulative table of the inversion: pp[k - 1] = P(X <= k) for
// k = 1..l, p the last term, q = pp[l - 1] (p0 when l = 0).
struct InversionTable {
  std::int64_t m = 1, l = 0;
  float p = 1.0f, q = 1.0f, p0 = 1.0f;
  float pp[35] = {};
};

PdSetup pd_setup;
// PD's coefficients and the inversion table are both kept for muold (they
// never serve the same mean); the table starts as the one for mean 0.
float muold = 0.0f;
PdCoefficients coefficients;
InversionTable table;

// PD's F: the terms of its acceptance tests for the deviate k.
struct PdTerms {
  float px = 0.0f, py = 0.0f, fx = 0.0f, fy = 0.0f;
};

PdTerms pd_terms(float mu, std::int64_t k, float fk, float difmuk) {
  PdTerms t;
  if (k < 10) {
    t.px = -mu;
    t.py = static_cast<float>(std::pow(static_cast<double>(mu), static_cast<double>(k)) /
                              kFactorial[k]);
  } else {
    float del = static_cast<float>(0.08333333 / fk);
    del = static_cast<float>(del - 4.8 * del * del * del);
    const float v = difmuk / fk;
    if (std::fabs(v) <= 0.25) {
      float poly = kA[7];
      for (int i = 6; i >= 0; --i) poly = poly * v + kA[i];
      t.px = fk * v * v * poly - del;
    } else {
      t.px = static_cast<float>(fk * std::log(1.0 + v) - difmuk - del);
    }
    t.py = static_cast<float>(0.3989423 / std::sqrt(static_cast<double>(fk)));
  }
  const PdCoefficients& c = coefficients;
  const float x = static_cast<float>((0.5 - difmuk) / pd_setup.s);
  const float xx = x * x;
  t.fx = static_cast<float>(-0.5 * xx);
  t.fy = c.omega * (((c.c3 * xx + c.c2) * xx + c.c1) * xx + c.c0);
  return t;
}

std::int64_t pd(float mu) {
  PdSetup& s = pd_setup;
  if (mu != s.mu) {
    s.mu = mu;
    s.s = static_cast<float>(std::sqrt(static_cast<double>(mu)));
    s.d = static_cast<float>(6.0 * mu * mu);
    s.l = static_cast<std::int64_t>(mu - 1.1484);
  }
  // Step 2: a normal deviate, accepted at once when large enough.
  const float g = mu + s.s * snorm();
  std::int64_t k = 0;
  float fk = 0.0f, difmuk = 0.0f, u = 0.0f;
  if (g >= 0.0f) {
    k = static_cast<std::int64_t>(g);
    if (k >= s.l) return k;
    fk = static_cast<float>(k);
    difmuk = mu - fk;
    u = ranf();
    if (s.d * u >= difmuk * difmuk * difmuk) return k;
  }
  if (mu != muold) {
    muold = mu;
    PdCoefficients& c = coefficients;
    c.omega = static_cast<float>(0.3989423 / s.s);
    c.b1 = static_cast<float>(0.04166667 / mu);
    c.b2 = static_cast<float>(0.3 * c.b1 * c.b1);
    c.c3 = static_cast<float>(0.1428571 * c.b1 * c.b2);
    c.c2 = static_cast<float>(c.b2 - 15.0 * c.c3);
    c.c1 = static_cast<float>(c.b1 - 6.0 * c.b2 + 45.0 * c.c3);
    c.c0 = static_cast<float>(1.0 - c.b1 + 3.0 * c.b2 - 15.0 * c.c3);
    c.c = static_cast<float>(0.1069 / mu);
  }
  // Step 4: the quotient acceptance of the normal deviate.
  if (g >= 0.0f) {
    const PdTerms t = pd_terms(mu, k, fk, difmuk);
    if (t.fy - u * t.fy <= t.py * std::exp(static_cast<double>(t.px - t.fx))) return k;
  }
  // Step 5: double-exponential deviates t, rejected against the Poisson
  // probability.
  for (;;) {
    const float e = sexpo();
    u = ranf();
    u = static_cast<float>((u - 1.0) + u);
    const float t = static_cast<float>(1.8 + fsign(e, u));
    if (t <= -0.6744) continue;
    k = static_cast<std::int64_t>(mu + s.s * t);
    fk = static_cast<float>(k);
    difmuk = mu - fk;
    const PdTerms f = pd_terms(mu, k, fk, difmuk);
    if (coefficients.c * std::fabs(u) <= f.py * std::exp(static_cast<double>(f.px + e)) -
                                             f.fy * std::exp(static_cast<double>(f.fx + e)))
      return k;
  }
}

std::int64_t inversion(float mu) {
  pd_setup.mu = 0.0f;  // this branch keeps no PD set-up
  InversionTable& t = table;
  if (mu != muold) {
    muold = mu;
    t.m = mu >= 1.0f ? static_cast<std::int64_t>(mu) : 1;
    t.l = 0;
    t.p = t.q = t.p0 = static_cast<float>(std::exp(-static_cast<double>(mu)));
  }
  for (;;) {
    const float u = ranf();
    if (u <= t.p0) return 0;
    if (t.l > 0) {
      const std::int64_t j = u > 0.458 ? std::min(t.l, t.m) : 1;
      for (std::int64_t k = j; k <= t.l; ++k)
        if (u <= t.pp[k - 1]) return k;
      if (t.l == 35) continue;
    }
    for (std::int64_t k = t.l + 1; k <= 35; ++k) {
      t.p = t.p * mu / k;
      t.q = t.q + t.p;
      t.pp[k - 1] = t.q;
      if (u <= t.q) {
        t.l = k;
        return k;
      }
    }
    t.l = 35;
  }
}

// The sum of deviates of mean 2^23 and one of the mean left, for a mean
// above 2^23.  Each subtraction is exact: mu and 2^23 are both multiples of
// the spacing of the floats at mu (at most 2^23 below 2^47), and so is the
// difference.
std::int64_t sum_of_parts(float mu) {
  std::int64_t sum = 0;
  float left = mu;
  for (; left > kLargestPdMean; left -= kLargestPdMean) sum += pd(kLargestPdMean);
  return sum + (left >= 10.0f ? pd(left) : inversion(left));
}

}  // namespace

std::int64_t poisson_deviate(float mu) {
  if (mu > kLargestPdMean) return sum_of_parts(mu);
  return mu >= 10.0f ? pd(mu) : inversion(mu);
}

std::int64_t ignpoi(float mu) {
  if (std::isnan(mu) || std::isinf(mu) || mu > kLargestPoissonMean) {
    std::fputs("MU not a number, infinite or above 2^33 in IGNPOI - ABORT", stderr);
    std::fprintf(stderr, "Value of MU: %16.6E\n", mu);
    std::exit(EXIT_FAILURE);
  }
  return poisson_deviate(mu);
}

}  // namespace numlib
