// Bounds of the arguments that ignbin and ignpoi accept, shared with the
// routines that draw through them (ignnbn, genmul), so that those refuse
// under their own names before the inner routine would.
#ifndef VORDEL_STATS_VARLIB_VARLIB_BOUNDS_H
#define VORDEL_STATS_VARLIB_VARLIB_BOUNDS_H

#include <cstdint>

namespace numlib {

// The largest mean PD draws directly, 2^23.  PD forms its deviates in single
// precision, whose integers are exact only up to 2^24: from a mean of 2^24
// on it returns only every second count (and coarser further up), so the
// law is lost.  Below 2^23 a deviate would need to lie some 2900 standard
// deviations above the mean to reach 2^24.
constexpr float kLargestPdMean = 8388608.0f;

// The largest mean ignpoi accepts, 2^33.  A larger mean is drawn as the sum
// of deviates of mean 2^23 and one of the mean left over (independent
// Poisson deviates add to a Poisson deviate of the summed mean, so the law
// is exact); the cost grows with the number of parts, mu / 2^23, which this
// bound keeps to at most 1024 PD draws, some 50 microseconds.
constexpr float kLargestPoissonMean = 8589934592.0f;

// A Poisson deviate of mean mu (finite; <= 0 gives 0), as ignpoi draws it
// but without its bound: beyond 2^33 the sum simply takes more parts.  For
// ignnbn, whose gamma-distributed mean may pass ignpoi's bound in a rare
// draw that must not be refused.
std::int64_t poisson_deviate(float mu);

// Whether ignbin accepts n trials with success probability pp, for n >= 0
// and pp in [0, 1]: always by inversion (n p < 30, p = min(pp, 1 - pp));
// by BTPE only while n <= 2^46 and n p <= 2^23.  BTPE's last test, in
// double, is off by about n 2^-53 in its logarithm, and its set-up and
// triangle, in single precision, reach only every second count once n p
// passes 2^24.
bool ignbin_in_bounds(std::int64_t n, float pp);

}  // namespace numlib

#endif
