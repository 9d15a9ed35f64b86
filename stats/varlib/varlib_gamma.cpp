// Gamma variates of Ahrens and Dieter (GS for shapes below 1, GD from 1
// up) and the chi-square variates built on them.
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include "stats/varlib/com.h"
#include "stats/varlib/varlib.h"

namespace numlib {

namespace {

// GD's coefficients: q0's series in 1/a, the series of q in v, and the
// series of exp(q) - 1.
constexpr float kQ[7] = {0.04166669,  0.02083148, 0.00801191, 0.00144121,
                         -0.00007388, 0.00024511, 0.0002424};
constexpr float kA[7] = {0.3333333, -0.250003,  0.2000062, -0.1662921,
                         0.1423657, -0.1367177, 0.1233795};
constexpr float kE[5] = {1.0, 0.4999897, 0.166829, 0.0407753, 0.010293};

// (c[N-1] x + c[N-2]) x + ... + c[0], in single precision; the callers
// multiply by x once more, each in its own precision.
template <std::size_t N>
float nested(const float (&c)[N], float x) {
  float s = c[N - 1];
  for (std::size_t k = N - 1; k-- > 0;) s = s * x + c[k];
  return s;
}

// GD's set-ups, each cached under the shape it was made for (0: none).
struct GdNormal {  // step 1
  float aa = 0.0f;
  float s2 = 0.0f, s = 0.0f, d = 0.0f;
};
struct GdRejection {  // step 4; its b is GD's own, never GS's
  float aaa = 0.0f;
  float q0 = 0.0f, b = 0.0f, si = 0.0f, c = 0.0f;
};
GdNormal normal_setup;
GdRejection rejection_setup;

// Algorithm GS, 0 < a < 1.
float gamma_small(float a) {
  const float b = static_cast<float>(1.0 + 0.3678794 * a);
  for (;;) {
    const float p = b * ranf();
    if (p < 1.0f) {
      const float x = static_cast<float>(std::exp(std::log(static_cast<double>(p)) / a));
      if (x <= sexpo()) return x;
    } else {
      const float x = -std::log((b - p) / a);
      if (sexpo() >= (1.0 - a) * std::log(static_cast<double>(x))) return x;
    }
  }
}

// q of GD's steps 5 and 7: the log of the ratio of the gamma density to the
// normal one at x = s + t / 2, v = t / (s + s).
float gamma_q(const GdNormal& n, float q0, float t, float v) {
  if (std::fabs(v) <= 0.25) return static_cast<float>(q0 + 0.5 * t * t * nested(kA, v) * v);
  return static_cast<float>(q0 - n.s * t + 0.25 * t * t + (n.s2 + n.s2) * std::log(1.0 + v));
}

void make_rejection_setup(float a, const GdNormal& n) {
  GdRejection& r = rejection_setup;
  r.aaa = a;
  const float inverse = static_cast<float>(1.0 / a);
  r.q0 = nested(kQ, inverse) * inverse;
  if (a <= 3.686) {
    r.b = static_cast<float>(0.463 + n.s + 0.178 * n.s2);
    r.si = 1.235f;
    r.c = static_cast<float>(0.195 / n.s - 0.079 + 0.16 * n.s);
  } else if (a <= 13.022) {
    r.b = static_cast<float>(1.654 + 0.0076 * n.s2);
    r.si = static_cast<float>(1.68 / n.s + 0.275);
    r.c = static_cast<float>(0.062 / n.s + 0.024);
  } else {
    r.b = 1.77f;
    r.si = 0.75f;
    r.c = static_cast<float>(0.1515 / n.s);
  }
}

// Algorithm GD, a >= 1.
float gamma_large(float a) {
  GdNormal& n = normal_setup;
  if (a != n.aa) {
    n.aa = a;
    n.s2 = static_cast<float>(a - 0.5);
    n.s = static_cast<float>(std::sqrt(static_cast<double>(n.s2)));
    n.d = static_cast<float>(5.656854 - 12.0 * n.s);
  }
  float t = snorm();
  float x = static_cast<float>(n.s + 0.5 * t);
  if (t >= 0.0f) return x * x;
  float u = ranf();
  if (n.d * u <= t * t * t) return x * x;

  if (a != rejection_setup.aaa) make_rejection_setup(a, n);
  const GdRejection& r = rejection_setup;
  if (x > 0.0f) {
    const float q = gamma_q(n, r.q0, t, t / (n.s + n.s));
    if (std::log(1.0 - u) <= q) return x * x;
  }
  for (;;) {
    float e = 0.0f;
    do {
      e = sexpo();
      u = ranf();
      u = static_cast<float>((u - 1.0) + u);
      t = r.b + fsign(r.si * e, u);
    } while (t < -0.7187449);
    const float q = gamma_q(n, r.q0, t, t / (n.s + n.s));
    if (q <= 0.0f) continue;
    const float w =
        q > 0.5 ? static_cast<float>(std::exp(static_cast<double>(q)) - 1.0) : nested(kE, q) * q;
    if (r.c * std::fabs(u) > w * std::exp(e - 0.5 * t * t)) continue;
    x = static_cast<float>(n.s + 0.5 * t);
    return x * x;
  }
}

}  // namespace

float fsign(float num, float sign) {
  if ((sign > 0.0f && num < 0.0f) || (sign < 0.0f && num > 0.0f)) return -num;
  return num;
}

float sgamma(float a) {
  if (!(a > 0.0f)) {
    std::fputs("A <= 0 in SGAMMA - ABORT", stderr);
    std::fprintf(stderr, "Value of A: %16.6E\n", a);
    std::exit(EXIT_FAILURE);
  }
  return a < 1.0f ? gamma_small(a) : gamma_large(a);
}

float gengam(float a, float r) { return sgamma(r) / a; }

float genchi(float df) {
  if (!(df > 0.0f)) {
    std::fputs("DF <= 0 in GENCHI - ABORT", stderr);
    std::fprintf(stderr, "Value of DF: %16.6E\n", df);
    std::exit(EXIT_FAILURE);
  }
  return static_cast<float>(2.0 * sgamma(static_cast<float>(df / 2.0)));
}

float gennch(float df, float xnonc) {
  if (!(df > 1.0f) || !(xnonc >= 0.0f)) {
    std::fputs("DF <= 1 or XNONC < 0 in GENNCH - ABORT", stderr);
    std::fprintf(stderr, "Value of DF: %16.6E Value of XNONC%16.6E\n", df, xnonc);
    std::exit(EXIT_FAILURE);
  }
  const float central = genchi(static_cast<float>(df - 1.0));
  const double shifted = snorm() + std::sqrt(static_cast<double>(xnonc));
  return static_cast<float>(central + shifted * shifted);
}

}  // namespace numlib
