#include "sim/pick_candidate.h"

#include <cassert>
#include <cstdint>
#include <limits>

#include "sim/binade_steps.h"

// The loop of pick_candidate is u_(i+1) = fl(u_i - w) for i = 0, 1, ... until
// u_(i+1) <= 0.  Within the binade of u each step takes off the same whole
// number d of multiples of q (sim/binade_steps.h): the steps whose result
// stays at or above the safe bound are taken at once, as integer arithmetic
// on m; the next one, which leaves the binade (or may), is a plain
// subtraction, and so is every step of a tie.  Batches are taken only while
// w < u (a step from u <= w ends the pick), so every binade from u down to w
// costs a batch and a step or two: some 60 at most.  (A u so large or small
// that q or 1/q is not a normal double takes plain steps.)
int pick_candidate(double u, const EqualWeights& weights) {
  if (u <= 0.0) return -1;
  const std::int64_t count = static_cast<std::int64_t>(weights.size());
  if (count == 0) return -1;
  // An infinite draw, or not a number, never reaches 0.
  if (!(u < std::numeric_limits<double>::infinity())) return static_cast<int>(count) - 1;
  const double w = weights[0];
  assert(w > 0.0 && w <= 1.0);
  std::int64_t i = 0;  // subtractions done
  while (i < count) {
    const int biased = binade::exponent_of(u);
    if (w < u && binade::gridded(biased)) {
      const std::int64_t m = binade::multiple_of(u);
      const std::int64_t d = binade::fixed_step(w, biased);
      const std::int64_t room = m - (binade::kBottom + 1);
      if (d >= 0 && room >= 0) {
        std::int64_t steps = count - i;
        if (d > 0 && room / d < steps) steps = room / d;
        if (steps > 0) {
          u = binade::from_multiple(m - steps * d, biased);
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
