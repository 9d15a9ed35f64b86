// Uniform variates on an interval, uniform integers and random
// permutations.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "stats/varlib/com.h"
#include "stats/varlib/varlib.h"

namespace numlib {

namespace {

// The largest ignlgi() - 1.
constexpr std::int64_t kLargestDraw = 2147483561;

}  // namespace

float genunf(float low, float high) {
  if (!(low <= high)) {
    std::fprintf(stderr, "LOW > HIGH in GENUNF: LOW %16.6E HIGH: %16.6E\n", low, high);
    std::fputs("Abort", stderr);
    std::exit(EXIT_FAILURE);
  }
  if (std::isinf(low) || std::isinf(high)) {
    std::fprintf(stderr, "LOW or HIGH infinite in GENUNF: LOW %16.6E HIGH: %16.6E\n", low, high);
    std::fputs("Abort", stderr);
    std::exit(EXIT_FAILURE);
  }
  const float width = high - low;
  const float u = ranf();
  // A width beyond the floats is formed in double; the draw still lies in
  // [low, high].
  if (std::isinf(width)) return static_cast<float>(low + (static_cast<double>(high) - low) * u);
  return low + width * u;
}

std::int64_t ignuin(std::int64_t low, std::int64_t high) {
  if (low > high) {
    std::fputs(" low > high in ignuin - ABORT", stderr);
    std::exit(EXIT_FAILURE);
  }
  // Formed unsigned: high - low can exceed the largest signed value.
  const std::uint64_t range = static_cast<std::uint64_t>(high) - static_cast<std::uint64_t>(low);
  if (range > static_cast<std::uint64_t>(kLargestDraw)) {
    std::fputs(" high - low too large in ignuin - ABORT", stderr);
    std::exit(EXIT_FAILURE);
  }
  if (low == high) return low;
  const std::int64_t ranp1 = static_cast<std::int64_t>(range) + 1;
  // For the widest range the multiple would be 0, accepting only a draw of
  // 0; there every draw is already uniform.
  const std::int64_t maxnow = ranp1 > kLargestDraw ? kLargestDraw : kLargestDraw / ranp1 * ranp1;
  std::int64_t ign = 0;
  do {
    ign = ignlgi() - 1;
  } while (ign > maxnow);
  return low + ign % ranp1;
}

void genprm(std::int64_t* iarray, int larray) {
  for (int i = 1; i <= larray; ++i) {
    const std::int64_t j = ignuin(i, larray);
    std::swap(iarray[i - 1], iarray[j - 1]);
  }
}

}  // namespace numlib
