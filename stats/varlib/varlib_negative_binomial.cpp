// Negative binomial variates, as Poisson variates of a gamma-distributed
// mean.
#include <cmath>
#include <cstdint>

#include "stats/distfuncs/ftnstop.h"
#include "stats/varlib/varlib.h"
#include "stats/varlib/varlib_bounds.h"

namespace numlib {

namespace {

// t = 30 ln 2: a gamma variate G of shape r and rate 1 is sub-gamma on the
// right with variance factor r and scale 1 (ln E exp(l (G - r)) <= r l^2 /
// (2 (1 - l)) for 0 < l < 1), so P(G >= r + sqrt(2 r t) + t) <= e^-t =
// 2^-30.
constexpr double kTailExponent = 20.794415416798359;

// Whether the Poisson mean, sgamma(r) / a, stays within ignpoi's bound but
// for a probability of at most 2^-30: decided from the arguments alone.
bool mean_in_bounds(float r, float a) {
  const double shape = r;
  const double tail = shape + std::sqrt(2.0 * shape * kTailExponent) + kTailExponent;
  return tail <= static_cast<double>(kLargestPoissonMean) * a;
}

}  // namespace

std::int64_t ignnbn(std::int64_t n, float p) {
  if (n < 0) ftnstop("N < 0 in IGNNBN");
  if (!(p > 0.0f)) ftnstop("P <= 0 in IGNNBN");
  if (!(p < 1.0f)) ftnstop("P >= 1 in IGNNBN");
  // No success to wait for: sgamma refuses a shape of 0.
  if (n == 0) return 0;
  const float r = static_cast<float>(n);
  const float a = p / (1.0f - p);
  // Refused here rather than by ignpoi, so that the message names this
  // routine.
  if (!mean_in_bounds(r, a))
    ftnstop(
        "N (1 - P) / P too large in IGNNBN: its Poisson mean passes 2^33 with probability above "
        "2^-30");
  // A mean beyond 2^33 (probability at most 2^-30) is drawn all the same,
  // as a longer sum: GD's draws stay below (sqrt(n) + 16)^2 (its normal and
  // exponential steps are bounded through ranf's smallest value), so such a
  // mean is at most about ten times the bound.
  return poisson_deviate(gengam(a, r));
}

}  // namespace numlib
