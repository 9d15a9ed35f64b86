// The Poisson distribution function: its status and bound table, P and Q
// against Boost's incomplete gamma ratio Q(S + 1, XLAM) for real S, the
// inverses for S and XLAM against gamma_q_inva and gamma_q_inv, and the
// closed forms at S = 0.
#include "stats/distfuncs/distfuncs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include <boost/math/special_functions/gamma.hpp>

#include "oracle_helpers.h"

namespace {

using oracle::rel_err;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kEps = std::numeric_limits<double>::epsilon();
// Marks a value the routine must not write.
constexpr double kUntouched = -77.0;

struct Call {
  int which;
  double p, q, s, xlam;
  int status = -99;
  double bound = kUntouched;
};

Call cdfpoi(int which, double p, double q, double s, double xlam) {
  Call c{which, p, q, s, xlam};
  numlib::cdfpoi(&c.which, &c.p, &c.q, &c.s, &c.xlam, &c.status, &c.bound);
  return c;
}

std::string where(double p, double v) {
  return "P = " + std::to_string(p) + ", " + std::to_string(v);
}

TEST(Cdfpoi, StatusAndBound) {
  struct Row {
    const char* what;
    int which;
    double p, q, s, xlam;
    int status;
    double bound;  // kUntouched: not written
  };
  const Row rows[] = {
      {"which too small", 0, 0.5, 0.5, 1.0, 1.0, -1, 1.0},
      {"which too large", 4, 0.5, 0.5, 1.0, 1.0, -1, 3.0},
      {"P below 0", 2, -0.1, 0.5, 1.0, 1.0, -2, 0.0},
      {"P above 1", 3, 1.1, 0.5, 1.0, 1.0, -2, 1.0},
      {"P not a number", 2, kNaN, 0.5, 1.0, 1.0, -2, 0.0},
      {"Q zero", 3, 1.0, 0.0, 1.0, 1.0, -3, 0.0},
      {"Q above 1", 2, 0.5, 1.5, 1.0, 1.0, -3, 1.0},
      {"Q not a number", 3, 0.5, kNaN, 1.0, 1.0, -3, 0.0},
      {"S negative", 1, 0.5, 0.5, -1.0, 1.0, -4, 0.0},
      {"S not a number", 1, 0.5, 0.5, kNaN, 1.0, -4, 0.0},
      {"S not a number, which 3", 3, 0.5, 0.5, kNaN, 1.0, -4, 0.0},
      {"XLAM negative", 2, 0.5, 0.5, 1.0, -1.0, -5, 0.0},
      {"XLAM not a number", 1, 0.5, 0.5, 1.0, kNaN, -5, 0.0},
      {"XLAM not a number, which 2", 2, 0.5, 0.5, 1.0, kNaN, -5, 0.0},
      {"P + Q above 1", 2, 0.3, 0.8, 1.0, 1.0, 3, 1.0},
      {"P + Q below 1", 3, 0.3, 0.6, 1.0, 1.0, 3, 1.0},
      {"which 1 ignores P and Q", 1, kNaN, 7.0, 1.0, 1.0, 0, kUntouched},
      {"which 2 ignores S", 2, 0.5, 0.5, kNaN, 1.0, 0, kUntouched},
      {"which 3 ignores XLAM", 3, 0.3, 0.7, 1.0, kNaN, 0, kUntouched},
      {"S search fails low: P(none) = e^-1 already above P", 2, 0.1, 0.9, 1.0, 1.0, 1, 0.0},
      {"S search fails low, Q compared", 2, 0.9, 0.1, 1.0, 0.01, 1, 0.0},
      {"XLAM search fails high: P is 1 for every XLAM", 3, 0.3, 0.7, kInf, 1.0, 2, 1e300},
      {"incomplete gamma ratio error (S = XLAM = 1e30)", 1, 0.5, 0.5, 1e30, 1e30, 10, kUntouched},
      // The searches reach S + 1 = XLAM = 1e300 at their upper end, with
      // either tail compared.
      {"ratio error in the S search", 2, 0.1, 0.9, 1.0, 1e300, 10, kUntouched},
      {"ratio error in the S search, Q compared", 2, 0.9, 0.1, 1.0, 1e300, 10, kUntouched},
      {"ratio error in the XLAM search", 3, 0.1, 0.9, 1e300, 1.0, 10, kUntouched},
      {"ratio error in the XLAM search, Q compared", 3, 0.9, 0.1, 1e300, 1.0, 10, kUntouched},
      // Two bad arguments: the first checked is reported.
      {"which and P bad", 4, -0.1, 0.5, 1.0, 1.0, -1, 3.0},
      {"P and Q bad", 3, -0.1, 1.5, 1.0, 1.0, -2, 0.0},
      {"Q and S bad", 3, 0.5, 0.0, -1.0, 1.0, -3, 0.0},
      {"S and XLAM bad", 1, 0.5, 0.5, -1.0, -1.0, -4, 0.0},
      {"S bad, P + Q off", 3, 0.3, 0.8, -1.0, 1.0, -4, 0.0},
      {"XLAM bad, P + Q off", 2, 0.3, 0.8, 1.0, -1.0, -5, 0.0},
  };
  for (const Row& r : rows) {
    const Call c = cdfpoi(r.which, r.p, r.q, r.s, r.xlam);
    EXPECT_EQ(c.status, r.status) << r.what;
    EXPECT_EQ(c.bound, r.bound) << r.what;
  }
}

TEST(Cdfpoi, TailsAreTheIncompleteGammaRatioAtSPlusOne) {
  for (double s : {0.0, 0.5, 1.0, 2.5, 3.0, 10.0, 18.7, 19.0, 40.0, 1e3})
    for (double ratio : {1e-3, 0.1, 0.5, 0.9, 1.0, 1.1, 2.0, 5.0}) {
      const double xlam = (s + 1.0) * ratio;
      const Call c = cdfpoi(1, 0.0, 0.0, s, xlam);
      ASSERT_EQ(c.status, 0);
      const double bp = boost::math::gamma_q(s + 1.0, xlam);
      const double bq = boost::math::gamma_p(s + 1.0, xlam);
      const double tol = oracle::gamma_ratio_tolerance(s + 1.0, xlam, 1e-12);
      if (bp > 1e-290) {
        EXPECT_LE(rel_err(c.p, bp), tol) << "S = " << s << ", XLAM = " << xlam;
      }
      if (bq > 1e-290) {
        EXPECT_LE(rel_err(c.q, bq), tol) << "S = " << s << ", XLAM = " << xlam;
      }
    }
  // S = 0: no event, P = e^-XLAM, whose relative error is XLAM times that
  // of XLAM; XLAM = 0: no event ever.
  for (double xlam : {1e-8, 0.3, 1.0, 7.0, 300.0}) {
    const Call c = cdfpoi(1, 0.0, 0.0, 0.0, xlam);
    EXPECT_LE(rel_err(c.p, std::exp(-xlam)), 1e-14 + 4 * kEps * xlam) << xlam;
  }
  for (double s : {0.0, 2.5, 1e6}) {
    const Call c = cdfpoi(1, 0.0, 0.0, s, 0.0);
    EXPECT_EQ(c.p, 1.0) << s;
    EXPECT_EQ(c.q, 0.0) << s;
  }
}

TEST(Cdfpoi, InverseForS) {
  // P falls as XLAM grows and rises with S; gamma_q_inva(XLAM, P) is the
  // a with Q(a, XLAM) = P, and S = a - 1 where a >= 1.
  for (double xlam : {0.5, 3.0, 20.0, 500.0})
    for (double p : {0.05, 0.3, 0.5, 0.7, 0.95, 0.9999}) {
      if (p <= std::exp(-xlam)) continue;  // the answer would lie below S = 0
      const Call c = cdfpoi(2, p, 0.5 + (0.5 - p), 0.0, xlam);
      ASSERT_EQ(c.status, 0) << where(p, xlam);
      const double want = boost::math::gamma_q_inva(xlam, p) - 1.0;
      // The search stops at relative width 1e-8; S near 0 absolutely.
      EXPECT_LE(std::fabs(c.s - want), 1e-7 * std::fmax(want, 1.0)) << where(p, xlam);
    }
}

TEST(Cdfpoi, InverseForXlam) {
  for (double s : {0.0, 0.5, 4.0, 30.0, 1e3})
    for (double p : {1e-4, 0.05, 0.3, 0.5, 0.7, 0.95, 0.9999}) {
      const Call c = cdfpoi(3, p, 0.5 + (0.5 - p), s, 0.0);
      ASSERT_EQ(c.status, 0) << where(p, s);
      EXPECT_LE(rel_err(c.xlam, boost::math::gamma_q_inv(s + 1.0, p)), 1e-7) << where(p, s);
    }
  // S = 0: P = e^-XLAM, so the median is ln 2.
  const Call c = cdfpoi(3, 0.5, 0.5, 0.0, 0.0);
  EXPECT_LE(rel_err(c.xlam, std::log(2.0)), 1e-8);
}

}  // namespace
