// Stirling's series tail and the deviance against values computed offline
// with mpmath (300 bits).
#include "random/saddle_point.h"

#include <cmath>

#include <gtest/gtest.h>

// Each range of the tail with its bound, absolute (the tail enters a
// logarithm): from 30 four terms, truncated within 1 / (1188 y^9) < 5e-17;
// from 8 eight terms, within 43867 / (244188 y^17) < 8e-17; below 8 from
// ln_gamma, whose roundings of its own value (up to 8.5) leave 5e-15.  The
// rows either side of 8 and 30 catch a switch moved (the series a range
// below its start is off by 2e-13 at 5 and 1.6e-15 at 20).
TEST(StirlingTail, EachRangeWithinItsBound) {
  const struct {
    double y, expected;
  } rows[] = {
      {1.0, 0.08106146679532725822},
      {2.5, 0.033162873519936287485},
      {5.0, 0.016644691189821192163},
      {7.999999999999999, 0.010411265261972097652},
      {8.0, 0.010411265261972096497},
      {9.0, 0.0092554621827127329177},
      {12.25, 0.0068012128650719785688},
      {20.0, 0.0041663196919969224575},
      {29.999999999999996, 0.0027776749297526939325},
      {30.0, 0.0027776749297526936036},
      {100.0, 0.00083333055563491468338},
      {1048576.0, 7.9472859700518423995e-8},
      {2147483647.0, 3.8805107293714974367e-11},
  };
  for (const auto& r : rows) {
    const double bound = r.y < 8 ? 5e-15 : r.y < 30 ? 1e-16 : 6e-17;
    EXPECT_NEAR(stirling_tail(r.y), r.expected, bound) << r.y;
  }
}

// x ln(x / M) + M - x for M = x - d: the series near M = x (the first five
// rows, down to 5e-24 where the two parts would cancel entirely) and the
// logarithm beyond, where -x log1p(-d / x) - d cancels to a sixth of its
// parts at most in these rows: 2e-15 relative.
TEST(Deviance, SeriesAndLogarithmAgainstOfflineValues) {
  const struct {
    double x, d, expected;
  } rows[] = {
      {10.0, 0.5, 0.012932943875505334262},    {10.0, -0.75, 0.026793384203738793796},
      {200.0, 0.99, 0.0024583659629915124918}, {1e9, 0.3, 4.5000000008999996671e-11},
      {1e9, -1e-7, 4.9999999999999992141e-24}, {100.0, 30.0, 5.6674943938732378913},
      {2.0, -5.0, 2.4944740630092640086},      {5.0, -40.0, 29.013877113318903086},
  };
  for (const auto& r : rows)
    EXPECT_NEAR(deviance(r.x, r.d), r.expected, 2e-15 * r.expected) << r.x << " " << r.d;
}
