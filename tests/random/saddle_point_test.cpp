// Stirling's series tail, the deviance and the saddle-point binomial
// probability against values computed offline with mpmath (300 bits).
#include "random/saddle_point.h"

#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "random/binomial_probability.h"

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

// ln C(n, m) p^m (1 - p)^(n - m), at the centre from 21 to 2^31 - 1 trials
// (where the log-gamma difference lost up to 3e-9 of the probability and the
// sum of logarithms 4e-12), and far from it, m = 1 and n - m = 1 included.
// Bounds, absolute: at the centre 1.5e-15 (the log is above -4 there: a few
// of its roundings and the tails' 8e-17); far out 2e-15 of the value, as the
// deviance's logarithm cancels to a seventh of its parts (m = 3000 for a
// mean of 2147), plus ln_gamma's 5e-15 where m or n - m is below 8.
TEST(BinomialSaddleLogProbability, CentreAndTailsAgainstOfflineValues) {
  const struct {
    int n, m;
    double p, expected;
  } rows[] = {
      {21, 10, 0.4925677690674728, -1.7701270101632918967},
      {100, 20, 0.2, -2.3096075447024869875},
      {986, 20, 0.02099773937094121, -2.4230822869547694989},
      {947217, 20, 20.5 / 947217, -2.4271083124820507448},
      {1048575, 150, 150.5 / 1048575, -3.4255718095636399212},
      {2147483647, 199, 9.313179184362842e-08, -3.5685088391847113122},
      {1000, 100, 0.05, -23.823904870930003832},
      {1000, 10, 0.05, -26.809687141326664369},
      {2147483647, 3000, 1e-6, -155.35255177975669025},
      {2147483647, 1, 1e-9, -1.3831868871275097468},
      {50, 49, 0.5, -30.745336022569119412},
  };
  for (const auto& r : rows) {
    const bool centre = std::fabs(r.expected) < 4;
    const double small_count = std::min(r.m, r.n - r.m) < 8 ? 5e-15 : 0.0;
    const double bound = (centre ? 1.5e-15 : 2e-15 * std::fabs(r.expected)) + small_count;
    EXPECT_NEAR(binomial_saddle_log_probability(r.n, r.m, r.p), r.expected, bound)
        << r.n << " " << r.m << " " << r.p;
  }
}
