#include "sim/pick_candidate.h"

#include <cassert>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

std::uint64_t bits_of(double x) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}

// 2^e for -1022 <= e <= 1023.
double power_of_two(int e) {
  const std::uint64_t bits = static_cast<std::uint64_t>(e + 1023) << 52;
  double x = 0.0;
  std::memcpy(&x, &bits, sizeof x);
  return x;
}

}  // namespace

// The loop of pick_candidate is u_(i+1) = fl(u_i - w) for i = 0, 1, ... until
// u_(i+1) <= 0.  Let u lie in [2^e, 2^(e+1)), where the doubles are the
// multiples of q = 2^(e-52), u = m q.  Write w = k q + r with 0 <= r < q.
// While the exact difference stays in [2^e, 2^(e+1)), its rounding is the
// nearest multiple of q: u - k q when r < q/2, u - (k+1) q when r > q/2
// (a tie, r = q/2, depends on the parity of m and is left to a plain step).
// So each step takes off the same d = k or k + 1 multiples of q.  A step
// whose result m - d is at least 2^52 + 1 had an exact difference of at
// least 2^e + q/2, inside the binade: all steps down to that bound can be
// taken at once, as integer arithmetic on m.  The next step, which leaves
// the binade (or may), is a plain subtraction.  Batches are taken only
// while w < u, so k < m < 2^53; a step from u <= w ends the pick.  Every
// binade from u down to w costs a batch and a step or two: some 60 at most.
// (A u so large or small that q or 1/q is not a normal double takes plain
// steps.)
int pick_candidate(double u, const EqualWeights& weights) {
  if (u <= 0.0) return -1;
  const std::int64_t count = static_cast<std::int64_t>(weights.size());
  if (count == 0) return -1;
  // An infinite draw, or not a number, never reaches 0.
  if (!(u < std::numeric_limits<double>::infinity())) return static_cast<int>(count) - 1;
  const double w = weights[0];
  assert(w > 0.0 && w <= 1.0);
  constexpr std::int64_t kBinadeBottom = std::int64_t{1} << 52;
  std::int64_t i = 0;  // subtractions done
  while (i < count) {
    const std::uint64_t bits = bits_of(u);
    const int biased = static_cast<int>(bits >> 52);  // u > 0: no sign bit
    if (w < u && biased > 53 && biased < 2046) {
      // u = m q with q = 2^(biased - 1075); w / q is exact.
      const std::int64_t m = static_cast<std::int64_t>(bits & (kBinadeBottom - 1)) | kBinadeBottom;
      const double wq = w * power_of_two(1075 - biased);
      const std::int64_t k = static_cast<std::int64_t>(wq);
      const double r = wq - static_cast<double>(k);  // exact
      const std::int64_t room = m - (kBinadeBottom + 1);
      if (r != 0.5 && room >= 0) {
        const std::int64_t d = r < 0.5 ? k : k + 1;
        std::int64_t steps = count - i;
        if (d > 0 && room / d < steps) steps = room / d;
        if (steps > 0) {
          u = static_cast<double>(m - steps * d) * power_of_two(biased - 1075);
          i += steps;
          if (i == count) break;
        }
      }
    }
    u -= w;
    ++i;
    if (u <= 0.0) return static_cast<int>(i - 1);
  }
  return static_cast<int>(count) - 1;
}
