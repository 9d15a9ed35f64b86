// The log-gamma functions against Boost.Math's lgamma (with sign) and
// std::tgamma, and the series coefficients against their quoted values.
#include "random/log_gamma.h"

#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>
#include <boost/math/special_functions/gamma.hpp>

#include "random/log_gamma_series.h"
#include "tests/random/variate_test_support.h"

namespace {
const double not_a_number = std::numeric_limits<double>::quiet_NaN();
double below(double x) { return std::nextafter(x, -1e300); }
double distance_to_integer(double x) { return std::fabs(x - std::round(x)); }
}  // namespace

TEST(LogGammaSeries, GeneratedCoefficientsRoundToTheQuotedValues) {
  const long double generated[] = {log_gamma_c[0],  log_gamma_c[1],  log_gamma_c[2],
                                   log_gamma_c[14], log_gamma_d[0],  log_gamma_d[1],
                                   log_gamma_d[2],  log_gamma_d[18], log_gamma_d[19]};
  const double quoted[] = {0.42278433509846713,    0.3224670334241132,   -0.0673523010531981,
                           -2.039215753801366e-06, -0.5772156649015329,  0.8224670334241132,
                           -0.40068563438653143,   -0.05263167937961666, 1.0000009539620338};
  for (int k = 0; k < 9; ++k) EXPECT_EQ(static_cast<double>(generated[k]), quoted[k]) << k;
}

// Relative 1e-13 from 0.9 up (absolute 1e-15 at the zeros at 1 and 2); below
// 0.9 the reflection's sine loses about 1e-16 over the distance to the
// nearest integer.  Grid: -10 to 12 densely, geometric to 1e7, and each
// range's threshold with the double below it.
TEST(LnGamma, AgreesWithBoostThroughEveryRange) {
  std::vector<double> xs = {1e-300, 1e-8, -1e-8, 1.0, 2.0};
  for (int k = 0; k <= 22000; ++k) xs.push_back(-10.0 + 0.001 * k + 1e-7);
  for (double x = 12.0; x < 1e7; x *= 1.01) xs.push_back(x);
  for (double t : {0.9, 1.1, 1.9, 2.1, 100.0}) xs.insert(xs.end(), {t, below(t)});
  for (double x : xs) {
    int boost_sign = 0, sign = 0;
    const double expected = boost::math::lgamma(x, &boost_sign);
    const double result = ln_gamma(x, sign);
    double tolerance = std::max(1e-13 * std::fabs(expected), 1e-15);
    if (x < 0.9) tolerance += 1e-15 / distance_to_integer(x);
    EXPECT_NEAR(result, expected, tolerance) << "x = " << x;
    EXPECT_EQ(sign, boost_sign) << "x = " << x;
    EXPECT_EQ(x >= 0.9 ? ln_gamma_gt_1(x) : result, result) << "x = " << x;
    EXPECT_EQ(sign > 0 ? ln_gamma(x) : result, result) << "x = " << x;
  }
  EXPECT_EQ(ln_gamma(1.0), 0.0);
  EXPECT_EQ(ln_gamma(2.0), 0.0);
}

// Gamma(x) and ln Gamma(x) on both sides of 0.2, where Gamma(1 + x) / x
// gives way to the reflection formula, against 200-bit values written in
// (mpmath, at the doubles named).  Below 0.2 within 3 units of 2^-53
// relative (the largest error found on a dense grid is 1.95); from 0.2 the
// reflection's sine, taken of pi (1 - x), carries the rounding of 1 - x:
// within 1.5e-15 relative for Gamma and absolute for its logarithm (1.3e-15
// and 1.4e-15 found).  At 1e-8 and 1e-7 the reflection was off by 1.1e-8
// and 1e-10.
TEST(LnGamma, NearZeroAgainstOfflineValues) {
  const struct {
    double x;
    double gamma, log_gamma;
  } rows[] = {
      {1e-8, 99999999.422784342897, 18.420680738180208884},
      {1.5e-8, 66666666.089451022559, 18.015215627185966391},
      {1e-7, 9999999.4227844344566, 16.118095593236761568},
      {1e-5, 99999.422794225559493, 11.512919692895825626},
      {1e-3, 999.4237724845954453, 6.9071788853838536617},
      {0.05, 19.470085311255511756, 2.9688792010517307685},
      {0.1, 9.5135076986687312858, 2.252712651734205902},
      {0.15, 6.2202728740498778598, 1.8278137762148344588},
      {below(0.2), 4.5908437119988034576, 1.524063822430784613},
      {0.2, 4.5908437119988027836, 1.5240638224307844662},
      {0.21, 4.3598880619207563824, 1.4724463831599773233},
      {0.25, 3.6256099082219083119, 1.2880225246980774574},
      {0.3, 2.9915689876875907446, 1.0957979948180755606},
      {0.5, 1.7724538509055160273, 0.57236494292470008707},
      {0.7, 1.298055332647557856, 0.26086724653166656857},
      {0.85, 1.1124837369484652673, 0.1065951164781176567},
  };
  for (const auto& r : rows) {
    const bool series = r.x < 0.2;
    const double relative = series ? 3 * 0x1p-53 : 1.5e-15;
    int sign = 0;
    EXPECT_NEAR(rbd_gamma(r.x), r.gamma, relative * r.gamma) << r.x;
    EXPECT_NEAR(ln_gamma(r.x, sign), r.log_gamma, series ? relative * r.log_gamma : relative)
        << r.x;
    EXPECT_EQ(sign, 1);
    EXPECT_EQ(ln_gamma(r.x), ln_gamma(r.x, sign)) << r.x;
  }
}

// Thresholds are inclusive from below: 1.1 and 2.1 start Lanczos ranges,
// 1.9 and 100 end them.
TEST(LnGamma, ThresholdsBelongToTheRangeAbove) {
  for (double t : {1.1, 2.1, below(1.9), below(100.0)})
    EXPECT_EQ(ln_gamma_gt_1(t), ln_gamma_lanczos(t)) << t;
  for (double t : {below(1.1), below(2.1), 1.9, 100.0})
    EXPECT_NE(ln_gamma_gt_1(t), ln_gamma_lanczos(t)) << t;
}

// Relative 1e-12 up to where Gamma overflows (pow loses digits as x grows);
// below 1 the reflection's loss as above.
TEST(RbdGamma, AgreesWithTgamma) {
  std::vector<double> xs;
  for (double x = 1.0; x <= 171.6; x += 0.0173) xs.push_back(x);
  for (double x = -10.0 + 1e-7; x < 1.0; x += 0.00731) xs.push_back(x);
  for (double x : xs) {
    const double tolerance = 1e-12 + (x < 1.0 ? 1e-15 / distance_to_integer(x) : 0.0);
    EXPECT_NEAR(rbd_gamma(x) / std::tgamma(x), 1.0, tolerance) << "x = " << x;
  }
  EXPECT_NEAR(rbd_gamma(0.5), std::sqrt(M_PI), 1e-15);
  EXPECT_EQ(rbd_gamma(171.7), std::numeric_limits<double>::infinity());
}

// Each error names the calls it passed through (trailing blanks included),
// and leaves no trace record behind.
TEST(LogGamma, ErrorsAndTheirTrace) {
  const struct {
    double (*call)(double);
    double x;
    const char* message;
  } cases[] = {
      {ln_gamma, 0.0, "Non-positive integer argument Trace: ln_gamma(sign); ln_gamma."},
      {ln_gamma, -3.0, "Non-positive integer argument Trace: ln_gamma(sign); ln_gamma."},
      {ln_gamma, -0.5, "Negative gamma value Trace: ln_gamma."},
      {ln_gamma, not_a_number, "Not-a-number argument Trace: ln_gamma(sign); ln_gamma."},
      {ln_gamma_gt_1, below(0.9), "Argument less than 1Trace: ln_gamma_gt_1 ."},
      {ln_gamma_gt_1, not_a_number, "Argument less than 1Trace: ln_gamma_gt_1 ."},
      {rbd_gamma, -2.0, "Non-positive integer argument Trace: rbd_gamma."},
      {rbd_gamma, 0.0, "Non-positive integer argument Trace: rbd_gamma."},
      {rbd_gamma, not_a_number, "Not-a-number argument Trace: rbd_gamma."},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(
        contains(thrown_message<RBD_COMMON::Invalid_argument>([&] { c.call(c.x); }), c.message))
        << c.message;
    EXPECT_EQ(RBD_COMMON::Tracer::last, nullptr);
  }
}
