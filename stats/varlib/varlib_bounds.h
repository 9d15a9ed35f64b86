// Bounds of the arguments that ignbin and ignpoi accept, shared with the
// routines that draw through them (ignnbn, genmul), so that those refuse
// under their own names before the inner routine would.
#ifndef VORDEL_STATS_VARLIB_VARLIB_BOUNDS_H
#define VORDEL_STATS_VARLIB_VARLIB_BOUNDS_H

#include <cstdint>

namespace numlib {

// The largest mean ignpoi accepts, 2^62: above it mu + sqrt(mu) times the
// largest normal or exponential step could leave the 64-bit integers.
constexpr float kLargestPoissonMean = 4.611686018427387904e18f;

// Whether ignbin accepts n trials with success probability pp, for n >= 0
// and pp in [0, 1]: always by inversion (n p < 30, p = min(pp, 1 - pp));
// by BTPE only while n <= 2^46 and n p <= 2^23.  BTPE's last test, in
// double, is off by about n 2^-53 in its logarithm, and its set-up and
// triangle, in single precision, reach only every second count once n p
// passes 2^24.
bool ignbin_in_bounds(std::int64_t n, float pp);

}  // namespace numlib

#endif
