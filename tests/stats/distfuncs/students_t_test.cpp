// The Student's t distribution function: its status and bound table, P and
// Q against Boost's students_t and closed forms, the quantile start dt1 by
// its order of accuracy, and the inverses for T and DF against Boost's
// quantile and by substituting the answer back.
#include "stats/distfuncs/distfuncs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include <boost/math/distributions/students_t.hpp>

#include "oracle_helpers.h"

namespace {

using oracle::rel_err;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kMax = std::numeric_limits<double>::max();
// Marks a bound the routine must not write.
constexpr double kUntouched = -77.0;
constexpr double kPi = 3.14159265358979323846;

struct Call {
  int which;
  double p, q, t, df;
  int status = -99;
  double bound = kUntouched;
};

Call cdft(int which, double p, double q, double t, double df) {
  Call c{which, p, q, t, df};
  numlib::cdft(&c.which, &c.p, &c.q, &c.t, &c.df, &c.status, &c.bound);
  return c;
}

double boost_p(double t, double df) { return boost::math::cdf(boost::math::students_t(df), t); }

TEST(Cdft, StatusAndBound) {
  struct Row {
    const char* what;
    int which;
    double p, q, t, df;
    int status;
    double bound;  // kUntouched: not written
  };
  const Row rows[] = {
      {"which too small", 0, 0.5, 0.5, 1.0, 1.0, -1, 1.0},
      {"which too large", 4, 0.5, 0.5, 1.0, 1.0, -1, 3.0},
      {"P zero", 2, 0.0, 1.0, 1.0, 1.0, -2, 0.0},
      {"P above 1", 3, 1.1, 0.5, 1.0, 1.0, -2, 1.0},
      {"P not a number", 2, kNaN, 0.5, 1.0, 1.0, -2, 0.0},
      {"Q zero", 2, 1.0, 0.0, 1.0, 1.0, -3, 0.0},
      {"Q above 1", 3, 0.5, 1.5, 1.0, 1.0, -3, 1.0},
      {"Q not a number", 3, 0.5, kNaN, 1.0, 1.0, -3, 0.0},
      {"T not a number", 1, 0.5, 0.5, kNaN, 1.0, -4, 0.0},
      {"T not a number, which 3", 3, 0.5, 0.5, kNaN, 1.0, -4, 0.0},
      {"DF zero", 1, 0.5, 0.5, 1.0, 0.0, -5, 0.0},
      {"DF negative, which 2", 2, 0.5, 0.5, 1.0, -1.0, -5, 0.0},
      {"DF not a number", 1, 0.5, 0.5, 1.0, kNaN, -5, 0.0},
      {"DF infinite", 1, 0.5, 0.5, 1.0, kInf, -5, kMax},
      {"P + Q above 1", 2, 0.975, 0.125, 1.0, 1.0, 3, 1.0},
      {"P + Q below 1", 3, 0.3, 0.6, 1.0, 1.0, 3, 1.0},
      {"which 1 ignores P and Q", 1, kNaN, -7.0, 1.0, 1.0, 0, kUntouched},
      {"which 2 ignores T", 2, 0.3, 0.7, kNaN, 1.0, 0, kUntouched},
      {"which 3 ignores DF", 3, 0.3, 0.7, -1.0, kNaN, 0, kUntouched},
      {"infinite T", 1, 0.5, 0.5, -kInf, 3.0, 0, kUntouched},
      {"DF search fails low: P >= 1/2 at T = 1", 3, 0.4, 0.6, 1.0, 1.0, 1, 1e-300},
      {"DF search fails high: P below the normal limit", 3, 0.975, 0.025, 1.9, 1.0, 2, 1e10},
      // dt1 starts beyond the range (infinite for the denormal DF) or is
      // not a number (0 / 0 at P = Q = 1/2).  The first two answers lie
      // beyond the range too: P is 1/2 to double precision all over it.
      {"T start beyond the range", 2, 0.975, 0.025, 0.0, 1e-100, 2, 1e300},
      {"T start infinite", 2, 0.025, 0.975, 0.0, 1e-320, 2, 1e300},
      {"T start not a number", 2, 0.5, 0.5, 0.0, 1e-200, 0, kUntouched},
      // Two bad arguments: the first checked is reported.
      {"which and P bad", 4, 0.0, 0.5, 1.0, 1.0, -1, 3.0},
      {"P and Q bad", 3, 1.1, 0.0, 1.0, 1.0, -2, 1.0},
      {"Q and T bad", 3, 0.5, 1.5, kNaN, 1.0, -3, 1.0},
      {"T and DF bad", 1, 0.5, 0.5, kNaN, 0.0, -4, 0.0},
      {"DF bad, P + Q off", 2, 0.3, 0.8, 1.0, kInf, -5, kMax},
  };
  for (const Row& r : rows) {
    const Call c = cdft(r.which, r.p, r.q, r.t, r.df);
    EXPECT_EQ(c.status, r.status) << r.what;
    EXPECT_EQ(c.bound, r.bound) << r.what;
    if (r.which == 2) {
      EXPECT_LE(std::fabs(c.t), 1e300) << r.what;
    }
  }
  // From the median 0, where P is met at once.
  EXPECT_EQ(cdft(2, 0.5, 0.5, 9.0, 1e-200).t, 0.0);
}

TEST(Cdft, ClosedForms) {
  for (double t : {-1e6, -30.0, -2.0, -0.5, 0.0, 1e-8, 0.75, 3.0, 1e3}) {
    // One degree of freedom is the Cauchy distribution, P = 1/2 + atan(T)/pi,
    // and with two P = 1/2 + T / (2 sqrt(2 + T^2)); both written here
    // without the cancellation in the smaller tail.
    Call c = cdft(1, 0.0, 0.0, t, 1.0);
    EXPECT_LE(rel_err(c.p, std::atan2(1.0, -t) / kPi), 1e-13) << "T = " << t;
    EXPECT_LE(rel_err(c.q, std::atan2(1.0, t) / kPi), 1e-13) << "T = " << t;
    c = cdft(1, 0.0, 0.0, t, 2.0);
    const double s = std::sqrt(2.0 + t * t);
    const double smaller = 1.0 / (s * (s + std::fabs(t)));
    EXPECT_LE(rel_err(t <= 0.0 ? c.p : c.q, smaller), 1e-13) << "T = " << t;
    EXPECT_LE(rel_err(t <= 0.0 ? c.q : c.p, 1.0 - smaller), 1e-15) << "T = " << t;
  }
  for (double df : {1e-3, 0.5, 7.0, 1e12}) {
    const Call c = cdft(1, 0.0, 0.0, 0.0, df);
    EXPECT_EQ(c.p, 0.5);
    EXPECT_EQ(c.q, 0.5);
  }
}

TEST(Cdft, TailProbabilitiesMatchBoost) {
  for (double df : {0.3, 0.9, 1.0, 2.5, 4.0, 10.0, 30.0, 100.0, 1e4, 1e6, 1e9})
    for (double t : {-40.0, -8.0, -2.5, -1.0, -0.1, 0.3, 1.0, 2.0, 5.0, 12.0, 40.0}) {
      const Call c = cdft(1, 0.0, 0.0, t, df);
      ASSERT_EQ(c.status, 0);
      const double bp = boost_p(t, df), bq = boost_p(-t, df);
      // Relative accuracy ends where the tails leave the normal doubles.
      if (bp > 1e-290) {
        EXPECT_LE(rel_err(c.p, bp), 1e-12) << "T = " << t << ", DF = " << df;
      }
      if (bq > 1e-290) {
        EXPECT_LE(rel_err(c.q, bq), 1e-12) << "T = " << t << ", DF = " << df;
      }
    }
}

TEST(Dt1, ErrorFallsLikeTheFifthPowerOfDf) {
  // Four terms in 1/DF leave an error of order DF^-5: doubling DF divides
  // it by about 32, where a wrong term would leave a lower power.
  for (double p : {0.6, 0.9, 0.975, 0.999, 1e-6}) {
    double q = 0.5 + (0.5 - p);
    double err[2];
    for (int k = 0; k < 2; ++k) {
      double df = 40.0 * (k + 1);
      err[k] = numlib::dt1(&p, &q, &df) - boost::math::quantile(boost::math::students_t(df), p);
    }
    EXPECT_NEAR(err[0] / err[1], 32.0, 3.0) << "P = " << p;
  }
}

TEST(Cdft, InverseForT) {
  for (double df : {0.1, 0.5, 1.0, 2.0, 5.0, 30.0, 1e3, 1e9})
    for (double p : {1e-6, 0.025, 0.3, 0.45, 0.7, 0.975, 1.0 - 1e-9}) {
      const double q = 0.5 + (0.5 - p);
      const Call c = cdft(2, p, q, 0.0, df);
      const std::string where = "P = " + std::to_string(p) + ", DF = " + std::to_string(df);
      ASSERT_EQ(c.status, 0) << where;
      const double want = boost::math::quantile(boost::math::students_t(df), p);
      EXPECT_LE(rel_err(c.t, want), 1e-7) << where;
      // Substituted back, the answer's neighbourhood of relative width
      // 1e-7 holds the wanted probability.
      EXPECT_LE(boost_p(c.t - 1e-7 * std::fabs(c.t), df), p) << where;
      EXPECT_GE(boost_p(c.t + 1e-7 * std::fabs(c.t), df), p) << where;
    }
  // The median.
  EXPECT_LE(std::fabs(cdft(2, 0.5, 0.5, 1.0, 3.0).t), 1e-12);
}

TEST(Cdft, InverseForDegreesOfFreedom) {
  for (double df : {0.5, 1.0, 3.0, 10.0, 100.0})
    for (double p : {1e-4, 0.025, 0.2, 0.8, 0.975}) {
      const double t = boost::math::quantile(boost::math::students_t(df), p);
      const Call c = cdft(3, p, 0.5 + (0.5 - p), t, 0.0);
      const std::string where = "P = " + std::to_string(p) + ", T = " + std::to_string(t);
      ASSERT_EQ(c.status, 0) << where;
      EXPECT_LE(rel_err(c.df, df), 1e-6) << where;
      // P moves with DF away from 1/2: the answer's neighbourhood holds P.
      const double below = boost_p(t, c.df * (1.0 - 1e-7)), above = boost_p(t, c.df * (1.0 + 1e-7));
      EXPECT_LE(std::min(below, above), p) << where;
      EXPECT_GE(std::max(below, above), p) << where;
    }
}

}  // namespace
