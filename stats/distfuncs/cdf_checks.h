// Argument checks of the distribution functions (distfuncs.h).
//
// Every check returns true when its argument passes.  A failing check writes
// the status and bound of the distribution functions' convention and returns
// false, so that a routine checks its arguments in order and returns at the
// first failure:
//
//   if (!check_which(*which, 3, status, bound)) return;
//   if (*which != 1 && !check_argument(2, *p, Domain::closed(0.0, 1.0), status, bound)) return;
//
// A passing check writes nothing.  Every comparison is written so that a
// not-a-number argument fails it.
#ifndef VORDEL_STATS_DISTFUNCS_CDF_CHECKS_H
#define VORDEL_STATS_DISTFUNCS_CDF_CHECKS_H

#include <limits>

namespace numlib {

// The values an argument may take: from low, included or excluded, to high,
// included (an infinite high admits every number above low).
struct Domain {
  double low;
  bool low_included;
  double high;

  // [low, high]
  static constexpr Domain closed(double low, double high) { return {low, true, high}; }
  // (low, high]
  static constexpr Domain open_closed(double low, double high) { return {low, false, high}; }
  // [low, infinity]
  static constexpr Domain at_least(double low) {
    return {low, true, std::numeric_limits<double>::infinity()};
  }
  // (low, infinity]
  static constexpr Domain above(double low) {
    return {low, false, std::numeric_limits<double>::infinity()};
  }
};

// The largest double below 1: the bound of a P that must stay below 1
// because P = 1 has no finite answer (the noncentral families).
inline constexpr double kLargestBelowOne = 0.9999999999999999;

// A P computed by a sum of many terms that is a probability up to rounding
// (within 1e-9 of [0, 1]); beyond that, or not a number, its sums have lost
// their meaning (a huge noncentrality) and the routine reports status 10.
inline bool within_probability_rounding(double p) { return p >= -1e-9 && p <= 1.0 + 1e-9; }

// which in 1..largest; otherwise status -1 and bound 1 (which < 1) or
// largest (which > largest).
bool check_which(int which, int largest, int* status, double* bound);

// value in domain for the k-th argument of the routine; otherwise status -k
// and bound the end the value lies beyond: low when it fails the lower end
// or is not a number, else high.
bool check_argument(int k, double value, const Domain& domain, int* status, double* bound);

// value a number (any, infinities included) for the k-th argument, which
// has no limit; otherwise status -k and bound 0.
bool check_number(int k, double value, int* status, double* bound);

// a + b equal to 1 within 3 machine epsilons, the difference formed as
// ((a + b) - 0.5) - 0.5; otherwise status code (3 for P + Q, 4 for the
// second complementary pair) and bound 0 when a + b < 0, else 1 (also when
// the sum is not a number).
bool check_pair_sum(int code, double a, double b, int* status, double* bound);

}  // namespace numlib

#endif
