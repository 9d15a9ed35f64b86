// Negative binomial variates, as Poisson variates of a gamma-distributed
// mean.
#include <cstdint>

#include "stats/distfuncs/ftnstop.h"
#include "stats/varlib/varlib.h"
#include "stats/varlib/varlib_bounds.h"

namespace numlib {

std::int64_t ignnbn(std::int64_t n, float p) {
  if (n < 0) ftnstop("N < 0 in IGNNBN");
  if (!(p > 0.0f)) ftnstop("P <= 0 in IGNNBN");
  if (!(p < 1.0f)) ftnstop("P >= 1 in IGNNBN");
  // No success to wait for: sgamma refuses a shape of 0.
  if (n == 0) return 0;
  const float r = static_cast<float>(n);
  const float a = p / (1.0f - p);
  const float mu = gengam(a, r);
  // Refused here rather than by ignpoi, so that the message names this
  // routine.
  if (!(mu <= kLargestPoissonMean)) ftnstop("Poisson mean above 2^23 in IGNNBN");
  return ignpoi(mu);
}

}  // namespace numlib
