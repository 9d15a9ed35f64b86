// Standard normal and standard exponential variates of Ahrens and Dieter,
// and their scaled forms.
#include "stats/varlib/com.h"
#include "stats/varlib/varlib.h"
#include "stats/varlib/varlib_tables.h"

namespace numlib {

namespace {

using varlib_tables::snorm_a;
using varlib_tables::snorm_d;
using varlib_tables::snorm_h;
using varlib_tables::snorm_t;

// |deviate| from interval i (1..31) of the centre, ustar = u - i being the
// position inside it.
float snorm_centre(float u, int i) {
  float ustar = u - i;
  const float aa = snorm_a[i - 1];
  for (;;) {
    if (ustar > snorm_t[i - 1]) return aa + (ustar - snorm_t[i - 1]) * snorm_h[i - 1];
    u = ranf();
    const float w = u * (snorm_a[i] - aa);
    float tt = static_cast<float>((0.5 * w + aa) * w);
    for (;;) {
      if (ustar > tt) return aa + w;
      u = ranf();
      if (ustar < u) break;
      tt = u;
      ustar = ranf();
    }
    ustar = ranf();
  }
}

// |deviate| beyond a[31]: u in (0, 1) picks the tail interval by halving.
float snorm_tail(float u) {
  int i = 6;
  float aa = snorm_a[31];
  u = u + u;
  while (u < 1.0f) {
    aa += snorm_d[i - 1];
    ++i;
    u = u + u;
  }
  u = u - 1.0f;
  for (;;) {
    const float w = u * snorm_d[i - 1];
    float tt = static_cast<float>((0.5 * w + aa) * w);
    for (;;) {
      const float ustar = ranf();
      if (ustar > tt) return aa + w;
      u = ranf();
      if (ustar < u) break;
      tt = u;
    }
    u = ranf();
  }
}

}  // namespace

float snorm() {
  float u = ranf();
  const float s = u > 0.5f ? 1.0f : 0.0f;
  u = static_cast<float>(32.0 * (u + (u - s)));
  int i = static_cast<int>(u);
  if (i == 32) i = 31;
  const float y = i == 0 ? snorm_tail(u) : snorm_centre(u, i);
  return s == 1.0f ? -y : y;
}

float gennor(float av, float sd) { return sd * snorm() + av; }

float sexpo() {
  using varlib_tables::sexpo_q;
  float a = 0.0f;
  float u = ranf();
  u = u + u;
  while (u <= 1.0f) {
    a += sexpo_q[0];
    u = u + u;
  }
  u = u - 1.0f;
  if (u <= sexpo_q[0]) return a + u;
  int i = 0;
  float umin = ranf();
  do {
    const float ustar = ranf();
    if (ustar < umin) umin = ustar;
    ++i;
  } while (u > sexpo_q[i]);
  return a + umin * sexpo_q[0];
}

float genexp(float av) { return av * sexpo(); }

}  // namespace numlib
