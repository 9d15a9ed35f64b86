#include "stats/varlib/linalg.h"

#include <cmath>
#include <cstdint>

namespace numlib {

float sdot(std::int64_t n, const float* sx, std::int64_t incx, const float* sy, std::int64_t incy) {
  float stemp = 0.0f;
  if (n < 1) return stemp;
  if (incx == 1 && incy == 1) {
    const std::int64_t m = n % 5;
    for (std::int64_t i = 0; i < m; ++i) stemp += sx[i] * sy[i];
    for (std::int64_t i = m; i < n; i += 5) {
      const float group = sx[i] * sy[i] + sx[i + 1] * sy[i + 1] + sx[i + 2] * sy[i + 2] +
                          sx[i + 3] * sy[i + 3] + sx[i + 4] * sy[i + 4];
      stemp += group;
    }
    return stemp;
  }
  std::int64_t ix = incx < 0 ? (1 - n) * incx : 0;
  std::int64_t iy = incy < 0 ? (1 - n) * incy : 0;
  for (std::int64_t i = 0; i < n; ++i) {
    stemp += sx[ix] * sy[iy];
    ix += incx;
    iy += incy;
  }
  return stemp;
}

void spofa(float* a, std::int64_t lda, std::int64_t n, std::int64_t* info) {
  // a(k, j), 1-based, in column order.
  const auto at = [a, lda](std::int64_t k, std::int64_t j) -> float& {
    return a[(k - 1) + (j - 1) * lda];
  };
  for (std::int64_t j = 1; j <= n; ++j) {
    *info = j;
    float s = 0.0f;
    for (std::int64_t k = 1; k <= j - 1; ++k) {
      float t = at(k, j) - sdot(k - 1, &at(1, k), 1, &at(1, j), 1);
      t = t / at(k, k);
      at(k, j) = t;
      s += t * t;
    }
    s = at(j, j) - s;
    // Written so that a pivot that is not a number fails too.
    if (!(s > 0.0f)) return;
    at(j, j) = std::sqrt(s);
  }
  *info = 0;
}

}  // namespace numlib
