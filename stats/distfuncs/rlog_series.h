// The rational series behind rlog (x - 1 - ln x) and rlog1 (x - ln(1 + x)).
//
// For u near 0, with r = u/(u + 2), ln(1 + u) = 2 atanh(r), so
//   u - ln(1 + u) = 2 r^2 (1/(1 - r) - r w(r^2)),
// where w(t) = (1/3 + t/5 + ...) is replaced by a rational function of
// degree 2/2.  Both callers reduce their argument to |u| <= 0.18 or so by
// moving to one of two centres, where they add the exact value there.
#ifndef VORDEL_STATS_DISTFUNCS_RLOG_SERIES_H
#define VORDEL_STATS_DISTFUNCS_RLOG_SERIES_H

#include "stats/distfuncs/horner.h"

namespace numlib {

// u - ln(1 + u) at the reduction centres u = -0.3 and u = 1/3.
inline constexpr double kRlogAtMinusThreeTenths = 0.0566749439387324;
inline constexpr double kRlogAtOneThird = 0.0456512608815524;

inline double rlog_series(double u) {
  constexpr double p[3] = {0.333333333333333, -0.224696413112536, 0.00620886815375787};
  constexpr double q[3] = {1.0, -1.27408923933623, 0.354508718369557};
  const double r = u / (u + 2.0);
  const double t = r * r;
  const double w = horner(p, t) / horner(q, t);
  return 2.0 * t * (1.0 / (1.0 - r) - r * w);
}

}  // namespace numlib

#endif
