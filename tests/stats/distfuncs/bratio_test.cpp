// The incomplete beta ratio against Boost's ibeta and ibetac at points that
// reach each of its expansions, with the symmetry of its two tails; its
// front factor and gamma ratios against Boost; its status table; and the
// pieces' loops ending on a not-a-number.
#include "stats/distfuncs/bratio.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/gamma.hpp>

#include "oracle_helpers.h"
#include "stats/distfuncs/beta_pieces.h"

namespace {

constexpr double kEps = std::numeric_limits<double>::epsilon();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct Result {
  double w;
  double w1;
  int ierr;
};

Result bratio(double a, double b, double x, double y) {
  Result r{-7.0, -7.0, -7};
  numlib::bratio(&a, &b, &x, &y, &r.w, &r.w1, &r.ierr);
  return r;
}

// 1e-12 relative.  Where the tail is formed as 0.5 + (0.5 - the other),
// that other is the smaller (every row below), so the rounding of the
// complement stays within this too; a tail computed directly must keep its
// digits however small it is.
void expect_tail(double got, double want, const char* what) {
  EXPECT_LE(oracle::rel_err(got, want), 1e-12) << what;
}

struct Point {
  const char* path;
  double a, b, x;
};

// Each row's path as the dispatch takes it (x after the exchange of the
// tails where x > 0.5 or lambda < 0).
constexpr Point kPoints[] = {
    {"fpser", 0.5, 1e-16, 0.3},
    {"fpser", 3.0, 1e-17, 0.01},
    {"fpser", 100.0, 5e-16, 0.5},
    {"apser", 1e-16, 0.5, 0.1},
    {"apser", 1e-16, 2.0, 0.5},
    {"apser, ln bx", 1e-17, 1e14, 5e-15},
    {"first series, both <= 1", 0.5, 0.5, 0.2},
    {"first series, b <= 1", 5.0, 0.5, 0.3},
    {"first series, (x b)^a <= 0.7", 0.5, 3.0, 0.05},
    {"first series, b x <= 0.7", 5.0, 3.0, 0.2},
    {"first series, b x <= 0.7", 39.0, 1.2, 0.0179},
    {"second series", 0.5, 3.0, 0.4},
    {"second series, both <= 1", 0.05, 0.5, 0.35},
    {"second series", 0.9, 14.0, 0.3},
    {"bup + bpser", 3.0, 2.5, 0.5},
    {"bup + bpser, terms falling from the first", 1.2, 3.5, 0.25},
    {"bup scaled + bpser", 30.0, 20.0, 0.5},
    {"bup + bpser, r beyond int", 1e10, 30.0, 0.5},
    {"bup + bpser, 38 terms", 2.0, 39.5, 0.02},
    // The shifted sum's first term, for the fraction of b below 1, is about
    // e^-763 here, below the exponent range, while the tail is not.
    {"bup + bpser, first term underflows", 1500.0, 17.5, 0.6},
    {"bup + bpser, first term underflows", 1500.0, 39.5, 0.6},
    {"bup + bpser, first term underflows, tail near 2.5e-306", 1500.0, 14.5, 0.6},
    {"bup + bpser, first term subnormal", 1200.0, 32.1, 0.54},
    {"bup + bpser, first term subnormal", 1250.0, 32.1, 0.5625},
    {"bup + bgrat", 20.0, 5.5, 0.75},
    {"bup + bgrat", 16.0, 1.5, 0.9},
    {"bup + shifted bgrat", 10.0, 3.5, 0.72},
    {"bgrat", 0.5, 20.0, 0.2},
    {"bgrat", 1.0, 100.0, 0.05},
    {"shifted bgrat", 0.5, 5.0, 0.2},
    {"shifted bgrat, both <= 1", 0.01, 0.5, 0.2},
    {"shifted bgrat", 0.8, 15.0, 0.12},
    {"shifted bgrat, a tiny", 1e-10, 0.5, 0.2},
    {"bfrac", 50.0, 60.0, 0.45},
    {"bfrac, lambda > 0.03 min", 500.0, 500.0, 0.4},
    {"bfrac", 40.0, 2000.0, 0.01},
    {"basym", 500.0, 500.0, 0.5},
    {"basym", 200.0, 300.0, 0.41},
    {"basym", 1e4, 2e4, 0.3334},
    {"bfrac, front factor underflows", 50.0, 5000.0, 0.5},
};

TEST(Bratio, AgainstBoostOnEveryPath) {
  for (const Point& p : kPoints) {
    SCOPED_TRACE(testing::Message()
                 << p.path << ": a = " << p.a << ", b = " << p.b << ", x = " << p.x);
    const double y = 1.0 - p.x;
    const Result r = bratio(p.a, p.b, p.x, y);
    EXPECT_EQ(r.ierr, 0);
    expect_tail(r.w, boost::math::ibeta(p.a, p.b, p.x), "w");
    expect_tail(r.w1, boost::math::ibetac(p.a, p.b, p.x), "w1");
    // The other tail of the exchanged parameters, by the other path.
    const Result s = bratio(p.b, p.a, y, p.x);
    expect_tail(s.w, r.w1, "symmetric w");
    expect_tail(s.w1, r.w, "symmetric w1");
  }
}

TEST(Bratio, StatusTableAndSpecialValues) {
  const double y5 = 0.5 + 4.0 * kEps;  // x + y = 1 + 4 eps
  struct Row {
    double a, b, x, y;
    int ierr;
    double w, w1;
  } const rows[] = {
      {-1.0, 1.0, 0.5, 0.5, 1, 0.0, 0.0},      {1.0, -1.0, 0.5, 0.5, 1, 0.0, 0.0},
      {kNaN, 1.0, 0.5, 0.5, 1, 0.0, 0.0},      {1.0, kNaN, 0.5, 0.5, 1, 0.0, 0.0},
      {kInf, 0.7, 0.05, 0.95, 1, 0.0, 0.0},    {0.7, kInf, 0.05, 0.95, 1, 0.0, 0.0},
      {0.0, 0.0, 0.5, 0.5, 2, 0.0, 0.0},       {1.0, 1.0, -0.1, 0.5, 3, 0.0, 0.0},
      {1.0, 1.0, 1.5, 0.5, 3, 0.0, 0.0},       {1.0, 1.0, kNaN, 0.5, 3, 0.0, 0.0},
      {1.0, 1.0, 0.5, -0.1, 4, 0.0, 0.0},      {1.0, 1.0, 0.5, 1.5, 4, 0.0, 0.0},
      {1.0, 1.0, 0.5, kNaN, 4, 0.0, 0.0},      {1.0, 1.0, 0.5, y5, 5, 0.0, 0.0},
      {0.0, 1.0, 0.0, 1.0, 6, 0.0, 0.0},       {1.0, 0.0, 1.0, 0.0, 7, 0.0, 0.0},
      {2.0, 3.0, 0.0, 1.0, 0, 0.0, 1.0},       {2.0, 3.0, 1.0, 0.0, 0, 1.0, 0.0},
      {0.0, 2.0, 0.3, 0.7, 0, 1.0, 0.0},       {2.0, 0.0, 0.3, 0.7, 0, 0.0, 1.0},
      {1.0, 1.0, 0.3, 0.7, 0, 0.3, 0.7},       {1e-20, 1e-20, 0.3, 0.7, 0, 0.5, 0.5},
      {1e-20, 3e-20, 0.9, 0.1, 0, 0.75, 0.25}, {500.0, 500.0, 0.5, 0.5, 0, 0.5, 0.5},
  };
  for (const Row& row : rows) {
    const Result r = bratio(row.a, row.b, row.x, row.y);
    SCOPED_TRACE(testing::Message()
                 << "a = " << row.a << ", b = " << row.b << ", x = " << row.x << ", y = " << row.y);
    EXPECT_EQ(r.ierr, row.ierr);
    EXPECT_NEAR(r.w, row.w, 4.0 * kEps);
    EXPECT_NEAR(r.w1, row.w1, 4.0 * kEps);
  }
}

TEST(Bratio, ShapesWhoseSumOverflowsAreAStepAtTheMean) {
  // a + b beyond the largest double: the ratio's width is below 1e-146 of
  // its mean a / (a + b), so it is 0 below the mean, 1 above and 1/2 at it.
  // The last rows lie within an ulp of the mean, where a y and b x agree
  // to rounding; the side was found in exact rational arithmetic.
  constexpr double kMax = std::numeric_limits<double>::max();
  const double a3 = std::ldexp(3.0, 1022), b1 = std::ldexp(1.0, 1022);  // mean 3/4
  struct Row {
    double a, b, x, w;
  } const rows[] = {
      {1e308, 1e308, 0.5, 0.5},
      {1e308, 1e308, 0.49, 0.0},
      {1e308, 1e308, 0.51, 1.0},
      {kMax, 1.6e308, 0.529, 0.0},  // mean 0.52909...
      {kMax, 1.6e308, 0.5292, 1.0},
      {1e300, kMax, 5.5e-9, 0.0},  // mean 5.5627e-9
      {1e300, kMax, 5.6e-9, 1.0},
      {a3, b1, 0.75, 0.5},
      {a3, b1, std::nextafter(0.75, 1.0), 1.0},
      {a3, b1, std::nextafter(0.75, 0.0), 0.0},
      {1.4591745751965864e308, 1.5658970877895432e308, 0.4823603331618914, 1.0},
      {1.5873864811168267e308, 1.0432756057289182e308, 0.6034170975642706, 0.0},
      {1.7087321866386183e308, 1.0016242172945937e308, 0.6304455695047863, 1.0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "a = " << row.a << ", b = " << row.b << ", x = " << row.x);
    const double y = 0.5 + (0.5 - row.x);
    const Result r = bratio(row.a, row.b, row.x, y);
    EXPECT_EQ(r.ierr, 0);
    EXPECT_EQ(r.w, row.w);
    EXPECT_EQ(r.w1, 1.0 - row.w);
    // The exchanged shapes give the other tail.
    const Result s = bratio(row.b, row.a, y, row.x);
    EXPECT_EQ(s.w, r.w1);
    EXPECT_EQ(s.w1, r.w);
  }
}

TEST(BetaPieces, FrontFactorAgainstBoost) {
  // Both parameters >= 8 (about the mode and away from it), the smaller
  // below 1 with the larger >= 8, between 1 and 8 or <= 1, and both in
  // [1, 8); x and y each side of 0.375.
  for (double a : {0.3, 0.9, 1.5, 5.0, 9.0, 30.0})
    for (double b : {0.3, 0.9, 1.5, 5.0, 9.0, 30.0})
      for (double x : {0.01, 0.3, 0.5, 0.7, 0.99}) {
        const double y = 1.0 - x;
        const double want = x * y * boost::math::ibeta_derivative(a, b, x);
        EXPECT_LE(oracle::rel_err(numlib::brcomp(&a, &b, &x, &y), want), 1e-12)
            << a << ", " << b << ", " << x;
        // e^mu times the same
        const int mu = 20;
        EXPECT_LE(oracle::rel_err(numlib::brcmp1(&mu, &a, &b, &x, &y), std::exp(20.0) * want),
                  1e-12)
            << a << ", " << b << ", " << x;
      }
  const double a = 2.0, b = 3.0, zero = 0.0, one = 1.0;
  EXPECT_EQ(numlib::brcomp(&a, &b, &zero, &one), 0.0);
  EXPECT_EQ(numlib::brcomp(&a, &b, &one, &zero), 0.0);
}

TEST(BetaPieces, GammaRatiosAgainstBoost) {
  const double eps = 1e-15;
  for (double a : {0.05, 0.3, 0.5, 0.7, 1.0})
    for (double x : {0.01, 0.1, 0.2, 0.3, 0.9, 1.0999, 1.1, 2.0, 10.0, 40.0}) {
      const double r = x * boost::math::gamma_p_derivative(a, x);  // e^-x x^a / Gamma(a)
      double p, q;
      numlib::grat1(&a, &x, &r, &p, &q, &eps);
      EXPECT_LE(oracle::rel_err(p, boost::math::gamma_p(a, x)), 1e-12) << a << ", " << x;
      EXPECT_LE(oracle::rel_err(q, boost::math::gamma_q(a, x)), 1e-12) << a << ", " << x;
    }
  // a x = 0: the ratios by the side of a that x lies.
  double p, q;
  const double half = 0.5, zero = 0.0, one = 1.0;
  numlib::grat1(&half, &zero, &one, &p, &q, &eps);
  EXPECT_EQ(p, 0.0);
  EXPECT_EQ(q, 1.0);
  numlib::grat1(&zero, &half, &one, &p, &q, &eps);
  EXPECT_EQ(p, 1.0);
  EXPECT_EQ(q, 0.0);
}

TEST(BetaPieces, LoopsEndOnNotANumber) {
  // Each of these loops runs until a tolerance is met, which a not-a-number
  // never meets: they must end all the same (a hang fails by the timeout).
  const double eps = 1e-15, nan = kNaN, inf = kInf;
  const double tiny = 1e-16, half = 0.5, a7 = 0.7, one = 1.0, x = 0.45, y = 0.55;
  const double b60 = 60.0, lambda = 0.5;
  EXPECT_TRUE(std::isnan(numlib::bpser(&half, &half, &nan, &eps)));
  EXPECT_TRUE(std::isnan(numlib::apser(&tiny, &half, &nan, &eps)));
  EXPECT_TRUE(std::isnan(numlib::fpser(&half, &tiny, &nan, &eps)));
  EXPECT_TRUE(std::isnan(numlib::bfrac(&nan, &b60, &x, &y, &lambda, &eps)));
  double p, q;
  numlib::grat1(&nan, &half, &one, &p, &q, &eps);  // Taylor series
  EXPECT_TRUE(std::isnan(q));
  numlib::grat1(&a7, &nan, &one, &p, &q, &eps);  // continued fraction
  EXPECT_TRUE(std::isnan(q));
  numlib::grat1(&a7, &inf, &nan, &p, &q, &eps);  // as an infinite b would reach it
  EXPECT_TRUE(std::isnan(q));
}

TEST(BetaPieces, ShiftedDifference) {
  // bup(a, b, x, y, n) = I_x(a, b) - I_x(a + n, b), the sum of n terms.
  const double eps = 1e-15;
  // The first term, about e^-755, is formed scaled by e^mu and the sum
  // scaled back.
  {
    const double a = 5.0, b = 2200.0, x = 0.3, y = 0.7;
    const int n = 20;
    const double want = boost::math::ibetac(a + n, b, x) - boost::math::ibetac(a, b, x);
    EXPECT_LE(oracle::rel_err(numlib::bup(&a, &b, &x, &y, &n, &eps), want), 1e-12);
  }
  // The count of rising terms, (b - 1) x / y - a, is about 5e9 here: it is
  // bounded by n - 1 before it becomes an int.  (With x + y = 1 it stays
  // far below the int range wherever the first term does not underflow.)
  // The two terms are x^a y^b / (a Beta(a, b)) (1 + (a + b) x / (a + 1)).
  {
    const double a = 0.5, b = 1e10, x = 0.5, y = 1.0 - 1e-12;
    const int n = 2;
    const double first = std::pow(x, a) * std::pow(y, b) / (a * boost::math::beta(a, b));
    EXPECT_LE(oracle::rel_err(numlib::bup(&a, &b, &x, &y, &n, &eps),
                              first * (1.0 + (a + b) / (a + 1.0) * x)),
              1e-12);
  }
}

}  // namespace
