// The normal and noncentral chi-square families against Boost.Math, their
// status and bound table, and Cody's coefficient tables against the
// published ends.
#include <gtest/gtest.h>

#include <cmath>

#include <boost/math/distributions/non_central_chi_squared.hpp>
#include <boost/math/distributions/normal.hpp>

#include "oracle_helpers.h"
#include "stats/distfuncs/anorm_coefficients.h"
#include "stats/distfuncs/distfuncs.h"

namespace {

using Cdf = void (*)(int*, double*, double*, double*, double*, double*, int*, double*);
constexpr Cdf nor = numlib::cdfnor, chn = numlib::cdfchn;
constexpr double kNaN = NAN, kUntouched = -77.0;  // a value the routine must not write
constexpr double kInf = INFINITY, kLargest = 1.7976931348623157e308;
const boost::math::normal kStd;

// A call of cdfnor (P, Q, X, MEAN, SD) or cdfchn (P, Q, X, DF, PNONC): its
// arguments, then the status and bound it gave (in a table row, should give).
// The tests pass the unknown as not-a-number: it must be neither read nor
// checked.
struct Call {
  Cdf f;
  int which;
  double p, q, x, a, b;
  int status = 0;
  double bound = kUntouched;
};

Call run(Call c) {
  c.bound = kUntouched;
  c.f(&c.which, &c.p, &c.q, &c.x, &c.a, &c.b, &c.status, &c.bound);
  return c;
}

TEST(Normal, CoefficientTablesEndInThePublishedValues) {
  using namespace numlib::anorm;
  const double ends[] = {a[0], a[4], b[0], b[3], c[0], c[8], d[0], d[7], p[0], p[5], q[0], q[4]};
  const double published[] = {2.2352520354606837,   0.06568233791820745, 47.202581904688245,
                              45507.78933502673,    0.39894151208813466, 1.0765576773720192e-8,
                              22.266688044328117,   19685.429676859992,  0.215898534057957,
                              0.023073441764940174, 1.284260096144911,   7.297515550839662e-05};
  for (int k = 0; k < 12; ++k) EXPECT_EQ(ends[k], published[k]) << k;
}

TEST(Normal, CumnorMatchesBoostOnItsThreeRanges) {
  // Both tails relative where Boost's exceed 1e-290 (smaller ones are
  // flushed to 0), across each range boundary and up to the infinities.
  const auto xs = oracle::grid(-38.0, 38.0, 3000,
                               {-HUGE_VAL, -5.656854248, -0.66291, 0.66291, 5.656854248, HUGE_VAL});
  for (double x : xs) {
    double r = 0, c = 0, br = cdf(kStd, x), bc = cdf(complement(kStd, x));
    numlib::cumnor(&x, &r, &c);
    EXPECT_LE(std::fabs(r - br) + std::fabs(c - bc), 1e-12 * std::fmax(std::fmin(br, bc), 1e-290));
  }
}

TEST(Normal, InversesMatchBoostQuantileAndPrintNothing) {
  testing::internal::CaptureStdout();
  for (double p : {1e-300, 1e-20, 1e-5, 0.025, 0.3, 0.4999, 0.5001, 0.7, 0.975, 1 - 1e-12}) {
    const double q = 0.5 + (0.5 - p), z = quantile(kStd, p), side = z < 0 ? -4.0 : 4.0;
    // Relative accuracy, absolute near the median where z passes 0.
    const double tol = 3e-12 * std::fmax(std::fabs(z), 1e-3);
    EXPECT_NEAR(run({nor, 2, p, q, kNaN, 3.0, 2.0}).x, 3.0 + 2.0 * z, tol) << p;
    EXPECT_NEAR(run({nor, 3, p, q, 1.0, kNaN, 2.0}).a, 1.0 - 2.0 * z, tol) << p;
    // SD for X - MEAN of the quantile's sign, substituted back.
    const double sd = run({nor, 4, p, q, side, 0.0, kNaN}).b;
    EXPECT_NEAR(run({nor, 1, kNaN, kNaN, side, 0.0, sd}).p, p, 1e-12 * p) << p;
  }
  // A failed expectation above shows in this comparison's difference.
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(Normal, DlanorIsTheAsymptoticLogTail) {
  // The 12-term series is asymptotic: its error falls fast with |x|.
  const double rows[][2] = {{-5, 3e-6}, {6, 3e-8}, {8, 1e-10}, {12, 1e-13}, {37, 3e-13}};
  for (const auto& r : rows)
    EXPECT_NEAR(numlib::dlanor(&r[0]), std::log(cdf(kStd, -std::fabs(r[0]))), r[1]) << r[0];
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const double small = 4.9;
  EXPECT_EXIT(numlib::dlanor(&small), testing::ExitedWithCode(1),
              "^ Argument too small in DLANOR\n$");
}

TEST(NoncentralChisq, MatchesBoostAndItsInversesSubstituteBack) {
  for (double pnonc : {0.0, 1e-10, 2e-10, 0.01, 0.7, 3.0, 10.0, 45.0, 300.0, 1000.0})
    for (double df : {0.5, 1.0, 4.0, 30.0, 200.0})
      for (double x : {0.02, 0.3, 0.8, 1.0, 1.3, 2.0, 4.0}) {
        // The 1e-5 relative stop of the sums gives absolute accuracy only.
        x *= df + pnonc;
        const Call c = run({chn, 1, kNaN, kNaN, x, df, pnonc});
        EXPECT_NEAR(c.p, cdf(boost::math::non_central_chi_squared(df, pnonc), x), 1e-4) << x;
        double cp = 0, cq = 0;
        numlib::cumchi(&x, &df, &cp, &cq);
        // Exactly the central distribution up to PNONC = 1e-10.
        EXPECT_TRUE(pnonc > 1e-10 || (c.p == cp && c.q == cq && c.status == 0)) << x;
        if (c.p < 1e-3 || c.p > 0.999) continue;
        // Each unknown is found to relative 1e-8, which moves P by far less
        // than 1e-6; PNONC only where P depends on it noticeably.
        for (const Call& i :
             {run({chn, 2, c.p, kNaN, kNaN, df, pnonc}), run({chn, 3, c.p, kNaN, x, kNaN, pnonc}),
              run({chn, 4, c.p, kNaN, x, df, kNaN})})
          if (i.which < 4 || pnonc > 0.5) {
            EXPECT_NEAR(run({chn, 1, 0, 0, i.x, i.a, i.b}).p, c.p, 1e-6) << i.which << i.status;
          }
      }
}

TEST(NoncentralChisq, AtXZeroPIsZeroAndQOne) {
  for (double pnonc : {0.0, 2e-10, 3.0, 1e5})
    for (double df : {1e-300, 0.5, 40.0}) {
      const Call c = run({chn, 1, kNaN, kNaN, 0.0, df, pnonc});
      EXPECT_TRUE(c.status == 0 && c.p == 0.0 && c.q == 1.0) << pnonc << " " << df;
    }
}

TEST(NormalAndNoncentralChisq, StatusAndBound) {
  // Refused arguments in the order of the checks; cdfnor's which 4 where no
  // positive SD fits (SD not written); cdfchn's PNONC up to 1e5, beyond
  // which its sums may leave P more than 1e-3 off; its searches ending at
  // their limits.
  const Call rows[] = {
      {nor, 5, .5, .5, 0, 0, 1, -1, 4.0},
      {nor, 2, 0, 1, 0, 0, 1, -2, 0.0},
      {nor, 3, 1.1, .5, 0, 0, 1, -2, 1.0},
      {nor, 4, .5, kNaN, 1, 0, 1, -3, 0.0},
      {nor, 2, .3, .8, 0, 0, 1, 3, 1.0},
      {nor, 1, 0, 0, kNaN, 0, 1, -4, 0.0},
      {nor, 4, .3, .7, 1, kNaN, 0, -5, 0.0},
      {nor, 3, .3, .7, 0, 0, 0, -6, 0.0},
      {nor, 4, .5, .5, 1, 1, kUntouched, -6, 0.0},
      {nor, 4, .5, .5, 2, 1, kUntouched, -6, 0.0},
      {nor, 4, .3, .7, 1, 1, kUntouched, -6, 0.0},
      {nor, 4, .3, .7, 2, 1, kUntouched, -6, 0.0},
      {nor, 4, .7, .3, 1, 2, kUntouched, -6, 0.0},
      {nor, 4, .3, .7, -1e308, 1e308, kUntouched, -6, 0},
      // MEAN and SD finite, and X where it fixes a parameter; an X or MEAN
      // beyond the largest double is status 10.
      {nor, 1, 0, 0, 0, kInf, 1, -5, kLargest},
      {nor, 1, 0, 0, kInf, kInf, 1, -5, kLargest},
      {nor, 2, .3, .7, kNaN, -kInf, 1, -5, -kLargest},
      {nor, 1, 0, 0, 0, 0, kInf, -6, kLargest},
      {nor, 3, .3, .7, kInf, kNaN, 1, -4, kLargest},
      {nor, 4, .3, .7, -kInf, 0, kNaN, -4, -kLargest},
      {nor, 2, .01, .99, kNaN, 0, 1.7e308, 10, kUntouched},
      {nor, 3, .99, .01, -1.7e308, kNaN, 1.7e308, 10, kUntouched},
      // Two bad arguments: the first checked is reported.
      {nor, 0, -1, .5, 0, 0, 1, -1, 1.0},
      {nor, 2, 0, 0, 0, 0, 1, -2, 0.0},
      {nor, 2, .5, 0, 0, 0, 1, -3, 0.0},
      {nor, 3, .3, .8, kInf, kNaN, 1, 3, 1.0},
      {nor, 1, 0, 0, kNaN, kInf, 0, -4, 0.0},
      {nor, 2, .3, .7, kNaN, kNaN, -1, -5, 0.0},
      {chn, 0, .5, 0, 1, 1, 1, -1, 1.0},
      {chn, 5, .5, 0, 1, 1, 1, -1, 4.0},
      {chn, 2, -.1, 0, 1, 1, 1, -2, 0.0},
      {chn, 2, 1.0, 0, 1, 1, 1, -2, 0.9999999999999999},
      {chn, 1, kNaN, kNaN, -1, 1, 1, -4, 0.0},
      {chn, 4, .5, 0, 1, kNaN, 1, -5, 0.0},
      {chn, 3, .5, 0, 1, 1, -1e-300, -6, 0.0},
      {chn, 1, 0, 0, 1e16, 3, 1e16, -6, 1e5},
      {chn, 1, 0, 0, 1e300, 3, 1e300, -6, 1e5},
      {chn, 2, .5, 0, 1, 3, 1e16, -6, 1e5},
      {chn, 3, .5, 0, 1, 1, 100000.00000000001, -6, 1e5},
      {chn, 1, 0, 0, 1e5, 3, 1e5, 0, kUntouched},
      {chn, 2, .5, 0, 1, 0, 1e6, -5, 0.0},
      {chn, 4, .99, 0, 1, 3, 1, 1, 1e-300},
      {chn, 4, .5, 0, 2e4, 3, 1, 2, 1e4},
      {chn, 3, .99, 0, 1, 1, 1, 1, 1e-300},
      // An infinite DF passes its check but gives P not a number: the
      // searches report it.
      {chn, 2, .5, 0, kNaN, kInf, 1, 10, kUntouched},
      {chn, 4, .5, 0, 1, kInf, kNaN, 10, kUntouched},
      // Two bad arguments: the first checked is reported.
      {chn, 9, -.1, 0, 1, 1, 1, -1, 4.0},
      {chn, 3, 1.0, 0, -1, 1, 1, -2, 0.9999999999999999},
      {chn, 4, .5, 0, -1, 0, 1, -4, 0.0},
      {chn, 2, .5, 0, 1, 0, -1, -5, 0.0},
  };
  for (const Call& r : rows) {
    const Call c = run(r);
    EXPECT_TRUE(c.status == r.status && c.bound == r.bound) << &r - rows << ": " << c.status;
    EXPECT_TRUE(r.b != kUntouched || c.b == kUntouched) << &r - rows;
  }
}

}  // namespace
