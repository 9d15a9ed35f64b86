// Multinomial variates, as a chain of binomial variates.
#include <algorithm>
#include <cstdint>

#include "stats/distfuncs/ftnstop.h"
#include "stats/varlib/varlib.h"
#include "stats/varlib/varlib_bounds.h"

namespace numlib {

void genmul(std::int64_t n, const float* p, std::int64_t ncat, std::int64_t* ix) {
  if (n < 0) ftnstop("N < 0 in GENMUL");
  if (ncat <= 1) ftnstop("NCAT <= 1 in GENMUL");
  float ptot = 0.0f;
  for (std::int64_t i = 0; i < ncat - 1; ++i) {
    if (!(p[i] >= 0.0f)) ftnstop("Some P(i) < 0 in GENMUL");
    if (p[i] > 1.0f) ftnstop("Some P(i) > 1 in GENMUL");
    ptot += p[i];
  }
  if (ptot > 0.99999) ftnstop("Sum of P(i) > 1 in GENMUL");

  std::int64_t ntot = n;
  float sum = 1.0f;
  std::fill(ix, ix + ncat, std::int64_t{0});
  for (std::int64_t icat = 0; icat < ncat - 1; ++icat) {
    // The share left can round below p[icat] after many categories; a
    // probability is at most 1.
    const float prob = std::min(p[icat] / sum, 1.0f);
    // Refused here rather than by ignbin, so that the message names this
    // routine; it depends on the events left, so only the draw can tell.
    if (!ignbin_in_bounds(ntot, prob)) ftnstop("N too large for the binomial draws in GENMUL");
    ix[icat] = ignbin(ntot, prob);
    ntot -= ix[icat];
    if (ntot <= 0) return;
    sum -= p[icat];
  }
  ix[ncat - 1] = ntot;
}

}  // namespace numlib
