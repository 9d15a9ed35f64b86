// Multivariate normal variates: a set-up that packs the mean and the
// Cholesky factor of the covariance, and the draw mean + R' z.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "stats/varlib/linalg.h"
#include "stats/varlib/varlib.h"

namespace numlib {

void setgmn(const float* meanv, float* covm, std::int64_t p, float* parm) {
  if (p <= 0) {
    std::fputs("P nonpositive in SETGMN", stderr);
    std::fprintf(stderr, "Value of P: %12ld\n", static_cast<long>(p));
    std::exit(EXIT_FAILURE);
  }
  parm[0] = static_cast<float>(p);
  for (std::int64_t i = 0; i < p; ++i) parm[i + 1] = meanv[i];
  std::int64_t info = 0;
  spofa(covm, p, p, &info);
  if (info != 0) {
    std::fputs(" COVM not positive definite in SETGMN", stderr);
    std::exit(EXIT_FAILURE);
  }
  // R row by row, each from its diagonal on.
  std::int64_t icount = p + 1;
  for (std::int64_t i = 0; i < p; ++i)
    for (std::int64_t j = i; j < p; ++j) parm[icount++] = covm[i + j * p];
}

void genmn(const float* parm, float* x, float* work) {
  const std::int64_t p = static_cast<std::int64_t>(parm[0]);
  for (std::int64_t j = 0; j < p; ++j) work[j] = snorm();
  // Row j of R (0-based) starts at p + 1 + j p - j (j - 1) / 2, its
  // diagonal entry first.
  const auto r = [parm, p](std::int64_t j, std::int64_t i) {
    return parm[p + 1 + j * p - j * (j - 1) / 2 + (i - j)];
  };
  for (std::int64_t i = 0; i < p; ++i) {
    float ae = 0.0f;
    for (std::int64_t j = 0; j <= i; ++j) ae += r(j, i) * work[j];
    x[i] = ae + parm[i + 1];
  }
}

}  // namespace numlib
