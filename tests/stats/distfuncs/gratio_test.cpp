// The incomplete gamma ratio against Boost's gamma_p and gamma_q at each
// accuracy level, on grids that straddle every boundary of its method
// choice, plus its exact cases and error returns.
#include "stats/distfuncs/gratio.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <boost/math/special_functions/erf.hpp>
#include <boost/math/special_functions/gamma.hpp>

#include "oracle_helpers.h"

namespace {

using oracle::rel_err;

struct Ratio {
  double p;
  double q;
};

Ratio gratio(double a, double x, int ind = 0, double q_before = -7.0) {
  Ratio r{-7.0, q_before};
  numlib::gratio(&a, &x, &r.p, &r.q, &ind);
  return r;
}

// Accuracy each level promises: about 14 digits at ind 0 (checked at
// 1e-12), then the requested accuracies 5e-7 and 5e-4 of the lower levels.
constexpr double kLevelTol[3] = {1e-12, 5e-7, 5e-4};
// Method boundaries of each level: big (large-a methods), x0 (asymptotic
// expansion).
constexpr double kBig[3] = {20.0, 14.0, 10.0};
constexpr double kX0[3] = {31.0, 17.0, 9.7};

// Compares P and Q, each relative to itself, with Boost.  Values below
// 1e-290 are left out: Boost and the routine legitimately differ in where
// they underflow.
void expect_matches_boost(double a, double x, int ind, const std::string& where) {
  const Ratio r = gratio(a, x, ind);
  const double bp = boost::math::gamma_p(a, x);
  const double bq = boost::math::gamma_q(a, x);
  const double tol = oracle::gamma_ratio_tolerance(a, x, kLevelTol[ind]);
  if (bp > 1e-290) {
    EXPECT_LE(rel_err(r.p, bp), tol)
        << where << ": P at a = " << a << ", x = " << x << ", ind " << ind;
  }
  if (bq > 1e-290) {
    EXPECT_LE(rel_err(r.q, bq), tol)
        << where << ": Q at a = " << a << ", x = " << x << ", ind " << ind;
  }
}

class GratioLevel : public ::testing::TestWithParam<int> {};

TEST_P(GratioLevel, SmallShape) {
  // a < 1: the power series for P/x^a below x = 1.1 (both of its final
  // forms, split at x = 0.25 and a = x/2.59), the continued fraction
  // above, and the erf forms at a = 0.5.
  const int ind = GetParam();
  for (double a : {1e-8, 0.01, 0.1, 0.3, 0.49999, 0.5, 0.50001, 0.7, 0.99, 0.999999})
    for (double x : {1e-6, 1e-3, 0.1, 0.2499, 0.25, 0.2501, 0.5, 0.9, 1.0999, 1.1, 1.1001, 1.5, 2.3,
                     5.0, 30.0, 100.0, 700.0})
      expect_matches_boost(a, x, ind, "a < 1");
}

TEST_P(GratioLevel, MediumShape) {
  // 1 <= a < big: finite sums for whole and half-integer a with
  // a <= x < x0, otherwise the series for P/r (x <= max(a, ln 10)), the
  // continued fraction (below x0) and the asymptotic expansion.
  const int ind = GetParam();
  const double x0 = kX0[ind];
  for (double a : {1.0, 1.0000001, 1.5, 2.0, 2.5, 3.3, 7.0, 7.5, 9.5, 9.99, 10.2, 13.5, 13.99, 19.0,
                   19.5, 19.99}) {
    if (a >= kBig[ind]) continue;
    for (double x : {1e-3, 0.5 * a, 0.999 * a, a, 1.001 * a, 1.5 * a, 2.3, 2.31, x0 - 1e-9, x0,
                     x0 + 1e-9, 50.0, 100.0, 800.0})
      expect_matches_boost(a, x, ind, "1 <= a < big");
  }
}

TEST_P(GratioLevel, LargeShape) {
  // a >= big: Temme's expansion at x = a (|1 - x/a| <= e0/sqrt(a)), his
  // general expansion (|1 - x/a| <= 0.4, with the short coefficient set
  // within 1e-3 at ind 0), and the leading factor from Stirling's series
  // with the series, continued fraction or asymptotic expansion beyond.
  // (Boost's own series give up near x = a from about a = 1e11.)
  const int ind = GetParam();
  const double big = kBig[ind];
  for (double a : {big, big + 0.5, 21.0, 25.0, 50.0, 100.0, 1000.0, 1e5, 1e8, 1e10})
    for (double s :
         {0.0, 1e-9, -1e-9,  1e-5,    -1e-5,  9.99e-4, -9.99e-4, 1.001e-3, -1.001e-3, 0.01, -0.01,
          0.1, -0.1, 0.3999, -0.3999, 0.4001, -0.4001, 0.6,      -0.6,     0.9,       -1.0, -3.0}) {
      expect_matches_boost(a, a * (1.0 - s), ind, "a >= big");
    }
}

TEST_P(GratioLevel, RandomPoints) {
  // Log-uniform a over [1e-3, 1e9], x spread over several standard
  // deviations around a or a factor e^4 either side; a fixed seed makes
  // the set reproducible, and the tolerance already allows the worst
  // point of a sweep of a million.
  const int ind = GetParam();
  std::mt19937_64 gen(20260612 + ind);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  for (int k = 0; k < 4000; ++k) {
    double a = std::exp(std::log(1e-3) + u(gen) * std::log(1e12));
    if (k % 5 == 0) a = std::round(2.0 * a) / 2.0;  // whole and half-integers
    if (a <= 0.0) continue;
    const double x =
        k % 2 ? a * std::exp((u(gen) - 0.5) * 8.0) : a + (u(gen) - 0.5) * 12.0 * std::sqrt(a);
    if (x <= 0.0) continue;
    expect_matches_boost(a, x, ind, "random");
  }
}

INSTANTIATE_TEST_SUITE_P(Levels, GratioLevel, ::testing::Values(0, 1, 2));

TEST(Gratio, ErrorFunctionForms) {
  // a = 1/2: P = erf(sqrt x) below x = 0.25, Q = erfc(sqrt x) above.
  Ratio r = gratio(0.5, 0.2);
  EXPECT_LE(rel_err(r.p, boost::math::erf(std::sqrt(0.2))), 1e-14);
  EXPECT_LE(rel_err(r.q, boost::math::erfc(std::sqrt(0.2))), 1e-14);
  r = gratio(0.5, 1.0);
  EXPECT_LE(rel_err(r.q, boost::math::erfc(1.0)), 1e-14);
  EXPECT_LE(rel_err(r.p, boost::math::erf(1.0)), 1e-14);
}

TEST(Gratio, ExponentialByFiniteSum) {
  for (double x = 1.0; x < 31.0; x += 0.75) {
    const Ratio r = gratio(1.0, x);
    EXPECT_LE(rel_err(r.q, std::exp(-x)), 1e-14) << "x = " << x;
    EXPECT_EQ(r.p, 0.5 + (0.5 - r.q));
  }
}

TEST(Gratio, EndValues) {
  Ratio r = gratio(0.0, 5.0);
  EXPECT_EQ(r.p, 1.0);
  EXPECT_EQ(r.q, 0.0);
  r = gratio(3.0, 0.0);
  EXPECT_EQ(r.p, 0.0);
  EXPECT_EQ(r.q, 1.0);
  // Leading factor underflows: P and Q are 0 and 1 by the side of a.
  r = gratio(5.0, 1e6);
  EXPECT_EQ(r.p, 1.0);
  EXPECT_EQ(r.q, 0.0);
  r = gratio(0.3, 1e4);
  EXPECT_EQ(r.p, 1.0);
  EXPECT_EQ(r.q, 0.0);
  r = gratio(1e4, 1.0);
  EXPECT_EQ(r.p, 0.0);
  EXPECT_EQ(r.q, 1.0);
}

TEST(Gratio, ProductOfArgumentsUnderflows) {
  // a x rounds to 0 though neither is 0: P is x^a / Gamma(a + 1), anywhere
  // from below 1e-100 to near 1, and Q about a (-ln x - 0.5772) for tiny a
  // and x.
  const struct {
    double a, x;
  } rows[] = {
      {0.5, 4.9406564584124654e-324},  // erf form
      {0.4, 4.9406564584124654e-324},  // P = 5.4e-130
      {1e-10, 1e-320},                 // P = 0.99999993
      {5e-201, 5e-201},                // Q = 2.3e-198
      {1e-200, 1e-300},
      {1e-300, 1e-30},  // Q = 6.8e-299
  };
  for (const auto& r : rows) {
    ASSERT_EQ(r.a * r.x, 0.0);
    const Ratio got = gratio(r.a, r.x);
    EXPECT_LE(rel_err(got.p, boost::math::gamma_p(r.a, r.x)), 1e-13) << r.a << " " << r.x;
    EXPECT_LE(rel_err(got.q, boost::math::gamma_q(r.a, r.x)), 1e-13) << r.a << " " << r.x;
  }
}

TEST(Gratio, InfiniteArguments) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double a : {0.0, 0.3, 0.5, 3.0, 19.5, 50.0, 1e30}) {
    const Ratio r = gratio(a, inf);
    EXPECT_EQ(r.p, 1.0) << "a = " << a;
    EXPECT_EQ(r.q, 0.0) << "a = " << a;
  }
  const Ratio r = gratio(inf, 1.0);
  EXPECT_EQ(r.p, 0.0);
  EXPECT_EQ(r.q, 1.0);
  EXPECT_EQ(gratio(inf, inf, 0, 0.25).p, 2.0);
}

TEST(Gratio, ErrorsLeaveQUnchanged) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double a, x;
    int ind;
    const char* why;
  };
  const Case cases[] = {
      {-1.0, 1.0, 0, "negative a"},
      {1.0, -1.0, 0, "negative x"},
      {0.0, 0.0, 0, "a = x = 0"},
      {nan, 1.0, 0, "a not a number"},
      {2.0, nan, 0, "x not a number"},
      {0.3, nan, 1, "x not a number, a < 1"},
      {50.0, nan, 2, "x not a number, large a"},
      {nan, nan, 0, "both not numbers"},
      // Temme's expansion at x = a cannot reach the accuracy for a e^2 > 0.00328
      {1e30, 1e30, 0, "Temme at x = a, a too large"},
      // exponent out of range with x/a within 2 e of 1
      {1e40, 1e40 * (1.0 + std::numeric_limits<double>::epsilon()), 0, "x/a next to 1"},
  };
  for (const Case& c : cases) {
    const Ratio r = gratio(c.a, c.x, c.ind, 0.25);
    EXPECT_EQ(r.p, 2.0) << c.why;
    EXPECT_EQ(r.q, 0.25) << c.why;
  }
}

TEST(Gratio, AccuracyLevelsDiffer) {
  // ind 1 and any value other than 0 and 1 select the lower accuracies:
  // at a = 15 (large-a methods from 14 at ind 1, from 10 at ind >= 2)
  // the results differ from the full-accuracy value by no more than their
  // level allows, and ind 2 and ind 7 agree exactly.
  const double a = 15.0, x = 15.3;
  const Ratio full = gratio(a, x, 0);
  const Ratio mid = gratio(a, x, 1);
  const Ratio low = gratio(a, x, 2);
  const Ratio other = gratio(a, x, 7);
  EXPECT_LE(rel_err(mid.q, full.q), 5e-7);
  EXPECT_LE(rel_err(low.q, full.q), 5e-4);
  EXPECT_NE(low.q, full.q);
  EXPECT_EQ(other.q, low.q);
  EXPECT_EQ(other.p, low.p);
}

}  // namespace
