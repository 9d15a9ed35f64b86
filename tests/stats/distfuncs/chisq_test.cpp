// The chi-square distribution function: its status and bound table, P and
// Q against Boost's chi-squared distribution, and the inverses for X and
// DF checked against Boost's quantile and gamma_p_inva and by substituting
// the answer back.
#include "stats/distfuncs/distfuncs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/special_functions/erf.hpp>
#include <boost/math/special_functions/gamma.hpp>

#include "oracle_helpers.h"

namespace {

using oracle::rel_err;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
// Marks a bound the routine must not write.
constexpr double kUntouched = -77.0;

struct Call {
  int which;
  double p, q, x, df;
  int status = -99;
  double bound = kUntouched;
};

Call cdfchi(int which, double p, double q, double x, double df) {
  Call c{which, p, q, x, df};
  numlib::cdfchi(&c.which, &c.p, &c.q, &c.x, &c.df, &c.status, &c.bound);
  return c;
}

double boost_p(double x, double df) { return boost::math::cdf(boost::math::chi_squared(df), x); }
double boost_q(double x, double df) {
  return boost::math::cdf(boost::math::complement(boost::math::chi_squared(df), x));
}

TEST(Cdfchi, StatusAndBound) {
  struct Row {
    const char* what;
    int which;
    double p, q, x, df;
    int status;
    double bound;  // kUntouched: not written
  };
  const Row rows[] = {
      {"which too small", 0, 0.5, 0.5, 1.0, 1.0, -1, 1.0},
      {"which too large", 4, 0.5, 0.5, 1.0, 1.0, -1, 3.0},
      {"P below 0", 2, -0.1, 0.5, 1.0, 1.0, -2, 0.0},
      {"P above 1", 2, 1.1, 0.5, 1.0, 1.0, -2, 1.0},
      {"P not a number", 3, kNaN, 0.5, 1.0, 1.0, -2, 0.0},
      {"Q zero", 2, 0.5, 0.0, 1.0, 1.0, -3, 0.0},
      {"Q above 1", 3, 0.5, 1.5, 1.0, 1.0, -3, 1.0},
      {"Q not a number", 2, 0.5, kNaN, 1.0, 1.0, -3, 0.0},
      {"X negative", 1, 0.5, 0.5, -1.0, 1.0, -4, 0.0},
      {"X negative, which 3", 3, 0.5, 0.5, -1.0, 1.0, -4, 0.0},
      {"X not a number", 1, 0.5, 0.5, kNaN, 1.0, -4, 0.0},
      {"X not a number, which 3", 3, 0.5, 0.5, kNaN, 1.0, -4, 0.0},
      {"DF zero", 1, 0.5, 0.5, 1.0, 0.0, -5, 0.0},
      {"DF negative, which 2", 2, 0.5, 0.5, 1.0, -2.0, -5, 0.0},
      {"DF not a number", 1, 0.5, 0.5, 1.0, kNaN, -5, 0.0},
      {"DF not a number, which 2", 2, 0.5, 0.5, 1.0, kNaN, -5, 0.0},
      {"P + Q above 1", 2, 0.3, 0.8, 1.0, 1.0, 3, 1.0},
      {"P + Q below 1", 3, 0.3, 0.6, 1.0, 1.0, 3, 1.0},
      {"P + Q = 1", 2, 0.3, 0.7, 1.0, 1.0, 0, kUntouched},
      {"which 1 ignores P and Q", 1, -5.0, 7.0, 1.0, 1.0, 0, kUntouched},
      {"which 1 ignores P and Q not numbers", 1, kNaN, kNaN, 1.0, 1.0, 0, kUntouched},
      {"which 2 ignores X", 2, 0.3, 0.7, kNaN, 1.0, 0, kUntouched},
      {"which 3 ignores DF", 3, 0.3, 0.7, 1.0, kNaN, 0, kUntouched},
      {"DF search fails low: P is 0 at X = 0 for every DF", 3, 0.3, 0.7, 0.0, 1.0, 1, 1e-300},
      {"DF search fails high: P above the target even at DF = 1e300", 3, 0.1, 0.9, 1.5e300, 1.0, 2,
       1e300},
      {"incomplete gamma ratio error in the DF search (X/2 = DF/2 = 5e299)", 3, 0.1, 0.9, 1e300,
       1.0, 10, kUntouched},
      // The ratio leaves Q as it was on an error: the error must still be
      // seen when the upper tail is the one compared.
      {"incomplete gamma ratio error in the DF search, Q the smaller tail", 3, 0.9, 0.1, 1e300, 1.0,
       10, kUntouched},
      {"X search fails low: Q is 1 for infinite DF", 2, 0.3, 0.7, 1.0, kInf, 1, 0.0},
      {"incomplete gamma ratio error", 1, 0.5, 0.5, kInf, kInf, 10, kUntouched},
      // Two bad arguments: the first checked is reported.
      {"which and P bad", 0, -0.1, 0.5, 1.0, 1.0, -1, 1.0},
      {"P and Q bad", 2, 1.1, 0.0, 1.0, 1.0, -2, 1.0},
      {"Q and X bad", 3, 0.5, 1.5, -1.0, 1.0, -3, 1.0},
      {"X and DF bad", 1, 0.5, 0.5, -1.0, 0.0, -4, 0.0},
      {"X bad, P + Q off", 3, 0.3, 0.8, -1.0, 1.0, -4, 0.0},
      {"DF bad, P + Q off", 2, 0.3, 0.8, 1.0, -2.0, -5, 0.0},
  };
  for (const Row& r : rows) {
    const Call c = cdfchi(r.which, r.p, r.q, r.x, r.df);
    EXPECT_EQ(c.status, r.status) << r.what;
    EXPECT_EQ(c.bound, r.bound) << r.what;
  }
}

TEST(Cdfchi, OnlyTheUnknownIsWritten) {
  Call c = cdfchi(1, -5.0, 7.0, 3.0, 2.0);
  EXPECT_EQ(c.x, 3.0);
  EXPECT_EQ(c.df, 2.0);
  c = cdfchi(2, 0.25, 0.75, 123.0, 4.0);
  EXPECT_EQ(c.p, 0.25);
  EXPECT_EQ(c.q, 0.75);
  EXPECT_EQ(c.df, 4.0);
  c = cdfchi(3, 0.25, 0.75, 3.0, 123.0);
  EXPECT_EQ(c.x, 3.0);
  // Refusals write nothing but status and bound.
  c = cdfchi(2, 0.3, 0.8, 11.0, 12.0);
  EXPECT_EQ(c.x, 11.0);
  EXPECT_EQ(c.p, 0.3);
  EXPECT_EQ(c.q, 0.8);
}

TEST(Cdfchi, ClosedForms) {
  Call c = cdfchi(1, 0.0, 0.0, 0.0, 3.0);
  EXPECT_EQ(c.status, 0);
  EXPECT_EQ(c.p, 0.0);
  EXPECT_EQ(c.q, 1.0);

  c = cdfchi(1, 0.0, 0.0, 2.0, 2.0);
  EXPECT_LE(rel_err(c.q, std::exp(-1.0)), 1e-15);

  // One degree of freedom: Q = erfc(sqrt(X/2)), below X = 0.5 through
  // erf and above through erfc.
  for (double x : {1e-6, 0.01, 0.2, 0.4999, 0.5, 0.5001, 1.0, 3.84, 10.0, 50.0, 200.0}) {
    c = cdfchi(1, 0.0, 0.0, x, 1.0);
    EXPECT_EQ(c.status, 0);
    EXPECT_LE(rel_err(c.q, boost::math::erfc(std::sqrt(x / 2.0))), 1e-14) << "X = " << x;
    EXPECT_LE(rel_err(c.p, boost::math::erf(std::sqrt(x / 2.0))), 1e-14) << "X = " << x;
  }

  // An infinite X leaves nothing in the upper tail.
  c = cdfchi(1, 0.0, 0.0, kInf, 3.0);
  EXPECT_EQ(c.status, 0);
  EXPECT_EQ(c.p, 1.0);
  EXPECT_EQ(c.q, 0.0);

  // The median of two degrees of freedom is 2 ln 2.
  c = cdfchi(2, 0.5, 0.5, 0.0, 2.0);
  EXPECT_EQ(c.status, 0);
  EXPECT_NEAR(c.x, 2.0 * std::log(2.0), 1e-8 * 2.0 * std::log(2.0));
}

TEST(Cdfchi, TailProbabilitiesMatchBoost) {
  // Degrees of freedom of a test with one to many SNPs and beyond,
  // fractional ones included; X from deep in the lower tail to far in
  // the upper one.
  for (double df : {0.05, 0.5, 1.0, 2.0, 3.0, 5.0, 7.5, 10.0, 39.0, 40.0, 41.0, 100.0, 1e3, 1e5})
    for (double ratio : {1e-4, 0.01, 0.2, 0.5, 0.9, 0.99, 1.0, 1.01, 1.1, 1.5, 2.0, 5.0, 20.0}) {
      const double x = df * ratio;
      const Call c = cdfchi(1, 0.0, 0.0, x, df);
      ASSERT_EQ(c.status, 0);
      // P = P(df/2, x/2) of the incomplete gamma ratio at full accuracy.
      const double tol = oracle::gamma_ratio_tolerance(df / 2.0, x / 2.0, 1e-12);
      const double bp = boost_p(x, df), bq = boost_q(x, df);
      if (bp > 1e-290) {
        EXPECT_LE(rel_err(c.p, bp), tol) << "X = " << x << ", DF = " << df;
      }
      if (bq > 1e-290) {
        EXPECT_LE(rel_err(c.q, bq), tol) << "X = " << x << ", DF = " << df;
      }
    }
}

TEST(Cdfchi, InverseForX) {
  for (double df : {0.5, 1.0, 2.0, 3.5, 10.0, 50.0, 300.0, 5000.0})
    for (double p : {1e-6, 1e-3, 0.05, 0.3, 0.5, 0.7, 0.95, 0.999, 1.0 - 1e-9}) {
      const double q = 0.5 + (0.5 - p);
      const Call c = cdfchi(2, p, q, 0.0, df);
      const std::string where = "P = " + std::to_string(p) + ", DF = " + std::to_string(df);
      ASSERT_EQ(c.status, 0) << where;
      const double want = boost::math::quantile(boost::math::chi_squared(df), p);
      EXPECT_LE(rel_err(c.x, want), 1e-7) << where;
      // Substituted back, the answer's neighbourhood of relative
      // width 1e-7 holds the wanted probability.
      EXPECT_LE(boost_p(c.x * (1.0 - 1e-7), df), p) << where;
      EXPECT_GE(boost_p(c.x * (1.0 + 1e-7), df), p) << where;
    }
}

TEST(Cdfchi, InverseForDegreesOfFreedom) {
  for (double df : {0.5, 1.0, 2.0, 3.5, 10.0, 50.0, 300.0, 5000.0})
    for (double p : {1e-4, 0.05, 0.3, 0.5, 0.7, 0.95, 0.9999}) {
      const double x = boost::math::quantile(boost::math::chi_squared(df), p);
      const Call c = cdfchi(3, p, 0.5 + (0.5 - p), x, 0.0);
      const std::string where = "P = " + std::to_string(p) + ", X = " + std::to_string(x);
      ASSERT_EQ(c.status, 0) << where;
      const double want = 2.0 * boost::math::gamma_p_inva(x / 2.0, p);
      EXPECT_LE(rel_err(c.df, want), 1e-7) << where;
      EXPECT_LE(rel_err(c.df, df), 1e-7) << where;
      // P falls as DF grows.
      EXPECT_GE(boost_p(x, c.df * (1.0 - 1e-7)), p) << where;
      EXPECT_LE(boost_p(x, c.df * (1.0 + 1e-7)), p) << where;
    }
}

}  // namespace
