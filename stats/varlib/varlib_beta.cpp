// Beta variates by Cheng's algorithms BB (both parameters above 1) and BC
// (1978).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "stats/varlib/com.h"
#include "stats/varlib/varlib.h"

namespace numlib {

namespace {

// The set-up of the last accepted pair (aa, bb).
struct BetaSetup {
  bool made = false;
  float aa = 0.0f, bb = 0.0f;
  bool use_bb = false;  // algorithm BB, else BC
  float a = 0.0f, b = 0.0f, alpha = 0.0f, beta = 0.0f;
  float gamma = 0.0f;          // BB
  float k1 = 0.0f, k2 = 0.0f;  // BC
};
BetaSetup setup;

[[noreturn]] void refuse(const char* what, float aa, float bb) {
  std::fputs(what, stderr);
  std::fprintf(stderr, " AA: %16.6E BB %16.6E\n", aa, bb);
  std::exit(EXIT_FAILURE);
}

// The shapes the single-precision algorithms draw the law for.  Above 2^17
// the acceptance tests, which cancel terms of the size of the larger shape
// (s = r + a - w; b + w), lose enough to rounding that 10^6 draws see it:
// the variance of (a, a) comes out 0.1% too large at 1e5, 0.8% at 1e6 and
// 28% at 1e8.  Below
// 1e-37, v = ln(u1 / (1 - u1)) / b overflows the floats for some uniforms
// and BC rejects draws it should accept: at 1e-38 the end 1 comes 2% too
// often, at 1e-39 every time.
constexpr float kSmallestShape = 1e-37f;
constexpr float kLargestShape = 131072.0f;  // 2^17

BetaSetup make_setup(float aa, float bb) {
  // A NaN fails the first test; an infinite parameter leaves no acceptance
  // test that can pass.
  if (!(aa > 0.0f) || !(bb > 0.0f)) refuse(" AA or BB <= 0 in GENBET - Abort!", aa, bb);
  if (std::isinf(aa) || std::isinf(bb)) refuse(" AA or BB infinite in GENBET - Abort!", aa, bb);
  if (std::min(aa, bb) < kSmallestShape || std::max(aa, bb) > kLargestShape)
    refuse(" AA or BB below 1E-37 or above 2^17 in GENBET - Abort!", aa, bb);
  BetaSetup s;
  s.made = true;
  s.aa = aa;
  s.bb = bb;
  s.use_bb = std::min(aa, bb) > 1.0f;
  if (s.use_bb) {
    s.a = std::min(aa, bb);
    s.b = std::max(aa, bb);
    s.alpha = s.a + s.b;
    s.beta = static_cast<float>(std::sqrt((s.alpha - 2.0) / (2.0 * s.a * s.b - s.alpha)));
    s.gamma = static_cast<float>(s.a + 1.0 / s.beta);
  } else {
    s.a = std::max(aa, bb);
    s.b = std::min(aa, bb);
    s.alpha = s.a + s.b;
    s.beta = static_cast<float>(1.0 / s.b);
    const float delta = static_cast<float>(1.0 + s.a - s.b);
    s.k1 = static_cast<float>(delta * (0.0138889 + 0.0416667 * s.b) / (s.a * s.beta - 0.777778));
    s.k2 = static_cast<float>(0.25 + (0.5 + 0.25 / delta) * s.b);
  }
  return s;
}

// a exp(v), capped at 1.0E38; infinite for an infinite v.
float scaled_exp(float a, float v) {
  if (std::isinf(v)) return v;
  return v > 89.0 ? 1.0E38f : static_cast<float>(a * std::exp(static_cast<double>(v)));
}

// beta ln(u1 / (1 - u1)).  Infinite when u1 is 1, as ranf returns for its
// 63 largest integers: that candidate stands for the limit u1 -> 1, where
// w -> inf and the deviate is 1 (or 0 when the shapes were swapped).
float log_odds(float beta, float u1) {
  return static_cast<float>(beta * std::log(u1 / (1.0 - u1)));
}

// Algorithm BB: the w of the accepted pair of uniforms.
float draw_bb(const BetaSetup& p) {
  for (;;) {
    const float u1 = ranf();
    const float u2 = ranf();
    const float v = log_odds(p.beta, u1);
    // The limit candidate has no chance: as v -> inf the bound of the last
    // test falls like (1 / beta - b) v, and 1 / beta < b for shapes above 1
    // (b^2 (alpha - 2) - (2 a b - alpha) = alpha (b - 1)^2).  The capped w
    // would accept it at once, as the deviate 1.
    if (std::isinf(v)) continue;
    const float w = scaled_exp(p.a, v);
    const float z = u1 * u1 * u2;
    const float r = static_cast<float>(p.gamma * v - 1.3862944);
    const float s = r + p.a - w;
    if (s + 2.609438 >= 5.0 * z) return w;
    const float t = std::log(z);
    if (s > t) return w;
    if (r + p.alpha * std::log(static_cast<double>(p.alpha / (p.b + w))) >= t) return w;
  }
}

// Algorithm BC: the w of the accepted pair of uniforms.
float draw_bc(const BetaSetup& s) {
  for (;;) {
    const float u1 = ranf();
    const float u2 = ranf();
    float z = 0.0f;
    if (u1 < 0.5f) {
      const float y = u1 * u2;
      z = u1 * y;
      if (0.25 * u2 + z - y >= s.k1) continue;
    } else {
      z = u1 * u1 * u2;
      // Accepted at once, the limit candidate too (w infinite).
      if (z <= 0.25f) return scaled_exp(s.a, log_odds(s.beta, u1));
      if (z >= s.k2) continue;
    }
    const float v = log_odds(s.beta, u1);
    if (std::isinf(v)) {
      // The limit candidate (w infinite): the bound below tends to
      // alpha ln(alpha / a) - ln 4 as v -> inf; with the capped w it would be
      // infinite and accept every such candidate.
      if (std::log(static_cast<double>(z)) <=
          s.alpha * std::log(static_cast<double>(s.alpha) / s.a) - 1.3862944)
        return scaled_exp(s.a, v);
      continue;
    }
    const float w = scaled_exp(s.a, v);
    if (std::log(static_cast<double>(z)) <=
        s.alpha * (std::log(static_cast<double>(s.alpha / (s.b + w))) + v) - 1.3862944)
      return w;
  }
}

}  // namespace

float genbet(float aa, float bb) {
  if (!setup.made || aa != setup.aa || bb != setup.bb) setup = make_setup(aa, bb);
  const float w = setup.use_bb ? draw_bb(setup) : draw_bc(setup);
  // a exp(v) exceeds the floats for v just below 89 when a > 0.75, and is
  // infinite for the limit candidate: there w / (b + w) is 1, not
  // inf / inf (and b / (b + w) is 0).
  if (aa == setup.a) return std::isinf(w) ? 1.0f : w / (setup.b + w);
  return setup.b / (setup.b + w);
}

}  // namespace numlib
