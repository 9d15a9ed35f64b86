// The small intrinsics against hand-worked values, and ln(1 + x),
// ln(1 - x), x - ln(1 + x), e^x - 1 and exp(mu + x) against Boost.Math.
#include "stats/distfuncs/elementary.h"

#include <gtest/gtest.h>

#include <cmath>

#include <boost/math/special_functions/expm1.hpp>
#include <boost/math/special_functions/log1p.hpp>

#include "oracle_helpers.h"

namespace {

using oracle::by_value;
using oracle::expect_close;
using oracle::grid;

double devlpl(const double* c, int n, double x) { return numlib::devlpl(c, &n, &x); }
double minus_log1pmx(double x) { return -boost::math::log1pmx(x); }
double log1p(double x) { return boost::math::log1p(x); }
double log1m(double x) { return boost::math::log1p(-x); }
double expm1(double x) { return boost::math::expm1(x); }

TEST(Elementary, SmallIntrinsics) {
  const double c[3] = {2.5, 7.0, 9.0};
  // truncation toward zero, through 64 bits; fifidint is 0 below 1
  EXPECT_EQ(by_value<numlib::fifdint>(-3.7), -3.0);
  EXPECT_EQ(by_value<numlib::fifdint>(5e9 + 0.5), 5e9);
  EXPECT_EQ(by_value<numlib::fifidint>(-3.7), 0);
  EXPECT_EQ(by_value<numlib::fifidint>(1.0), 1);
  EXPECT_EQ(by_value<numlib::fifidint>(5e9 + 0.5), 5000000000);
  // a zero sign counts as positive
  EXPECT_EQ(by_value<numlib::fifdsign>(-2.0, 0.0), 2.0);
  EXPECT_EQ(by_value<numlib::fifdsign>(2.0, -0.5), -2.0);
  EXPECT_EQ(by_value<numlib::fifdmax1>(1.0, 2.0) + 10 * by_value<numlib::fifdmax1>(2.0, 1.0), 22.0);
  EXPECT_EQ(by_value<numlib::fifdmin1>(1.0, 2.0) + 10 * by_value<numlib::fifdmin1>(2.0, 1.0), 11.0);
  // the remainder takes the sign of the dividend
  EXPECT_EQ(numlib::fifmod(-7, 3), -1);
  EXPECT_EQ(numlib::fifmod(7, -3), 1);
  EXPECT_EQ(numlib::fifmod(6000000001, 3000000000), 1);
  EXPECT_EQ(devlpl(c, 1, 4.0), 2.5);
  EXPECT_EQ(devlpl(c, 3, 4.0), 2.5 + 7.0 * 4 + 9.0 * 16);
}

TEST(Elementary, AgainstBoost) {
  // Boost forms log1p, log1pmx and expm1 without cancellation near 0.
  expect_close("rlog1", grid(-0.95, 2.0, 590, {-0.39, -0.18, 0.18, 0.57, 1e-12, -1e-6}),
               by_value<numlib::rlog1>, minus_log1pmx, 1e-12);
  for (oracle::Fn f : {oracle::Fn(by_value<numlib::alnrel>), oracle::Fn(by_value<numlib::dln1px>)})
    expect_close("alnrel", grid(-0.95, 2.0, 590, {-0.375, 0.375, 1e-12, -1e-6}), f, log1p, 1e-12);
  // ln(1 - x): the rational branch up to |x| = 0.375, the logarithm beyond,
  // on both sides of 0
  expect_close("dln1mx", grid(-2.0, 0.95, 590, {-0.375, 0.375, 1e-12, -1e-6}),
               by_value<numlib::dln1mx>, log1m, 1e-12);
  expect_close("dexpm1", grid(-40.0, 40.0, 800, {-0.15, 0.15, 1e-12, -1e-6}),
               by_value<numlib::dexpm1>, expm1, 1e-12);
}

TEST(Elementary, Esum) {
  // Every mu + x here is exact, and e^(mu + x) in long double is exact to
  // double precision; esum's two exponentials and product cost a few ulps.
  for (int mu : {-700, -30, -1, 0, 1, 30, 700}) {
    for (double x : {-690.0, -31.25, -0.5, 0.0, 0.5, 31.25, 690.0}) {
      if (std::fabs(mu + x) > 700.0) continue;
      const double want = static_cast<double>(std::exp(static_cast<long double>(mu) + x));
      EXPECT_LE(oracle::rel_err(numlib::esum(&mu, &x), want), 1e-14) << mu << " + " << x;
    }
  }
  // e^720 alone would overflow
  EXPECT_LE(oracle::rel_err(oracle::by_value<numlib::esum>(720, -730.0), std::exp(-10.0)), 1e-14);
}

}  // namespace
