// ln Gamma in its forms and the digamma function against Boost.Math; the
// Stirling remainders and ln Beta with its corrections, small differences
// of large quantities, against 50-digit arithmetic.  The grids cross every
// switch of method.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <boost/math/special_functions/digamma.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>

#include "oracle_helpers.h"
#include "stats/distfuncs/digamma.h"
#include "stats/distfuncs/distfuncs.h"
#include "stats/distfuncs/log_beta.h"
#include "stats/distfuncs/log_gamma.h"

namespace {

using mp = boost::multiprecision::cpp_bin_float_50;
using boost::math::lgamma;
using oracle::by_value;
using oracle::expect_close;
using oracle::grid;
using oracle::rel_err;

double digamma(double x) { return boost::math::digamma(x); }
double log1p_tgamma1pm1(double a) { return std::log1p(boost::math::tgamma1pm1(a)); }

// ln Gamma(x) - ((x - 0.5) ln x - x + ln sqrt(2 pi))
mp del(const mp& x) {
  return lgamma(x) - ((x - 0.5) * log(x) - x + log(boost::math::constants::root_two_pi<mp>()));
}
double del_sum(double a, double b) { return static_cast<double>(del(a) + del(b) - del(mp(a) + b)); }

TEST(LogGamma, AgainstBoost) {
  // Boost's ln Gamma(1 + a) keeps its relative accuracy near a = 0 and 1.
  expect_close("gamln1", grid(-0.2, 1.25, 290, {-1e-12, 0.6, 1.0 + 1e-12}),
               by_value<numlib::gamln1>, log1p_tgamma1pm1, 1e-12);
  // Absolute error near the zeros at 1 and 2.
  const auto xs = grid(0.01, 30.0, 600, {0.8, 1.0, 2.0, 2.25, 3.0, 6.0, 10.0, 11.0, 12.0, 1e5});
  const oracle::Fn log_gammas[] = {by_value<numlib::gamln>, by_value<numlib::dlngam>,
                                   by_value<numlib::alngam>};
  for (const auto& f : log_gammas)
    expect_close(
        "ln Gamma", xs, f, [](double x) { return lgamma(x); }, 1e-12, 1.0);
  // a + b - 2 crosses 0.25 and 1.25 on this grid, and reaches both exactly.
  for (double a : grid(1.0, 2.0, 20))
    expect_close(
        "gsumln", grid(1.0, 2.0, 20), [a](double b) { return numlib::gsumln(&a, &b); },
        [a](double b) { return lgamma(a + b); }, 1e-12, 1.0);
  // Absolute error near the zero at 1.4616 and those of the reflection;
  // close to the poles, relative error shows any loss in reducing x.
  expect_close("psi", grid(-5.3, 40.0, 900, {0.5, 3.0, 1e-9, -1e-9, -1.9999999, 1e3, 1e9}),
               by_value<numlib::psi>, digamma, 1e-12, 1.0);
  for (double x : {0.0, -2.0, -7.0, -2147483647.5}) EXPECT_EQ(by_value<numlib::psi>(x), 0.0) << x;
}

TEST(LogGamma, StirlingRemainder) {
  expect_close(
      "dstrem", grid(0.05, 30.0, 300, {6.0, 1e4}), by_value<numlib::dstrem>,
      [](double z) { return static_cast<double>(del(z)); }, 1e-12);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(by_value<numlib::dstrem>(0.0), ::testing::ExitedWithCode(1),
              "^Zero or negative argument in DSTREM\n$");
}

TEST(LogBeta, AgainstMultiprecision) {
  const double args[] = {0.05, 0.5, 0.99, 1.0,  1.5,   2.0,   2.01,   3.7,
                         7.99, 8.0, 8.01, 20.0, 150.0, 999.0, 1001.0, 5000.0};
  for (double a : args) {
    for (double b : args) {
      const double got = numlib::betaln(&a, &b);
      const double want = static_cast<double>(lgamma(mp(a)) + lgamma(mp(b)) - lgamma(mp(a) + b));
      // absolute near the zero at (1, 1)
      EXPECT_LE(std::fabs(got - want), 1e-12 * std::fmax(std::fabs(want), 1.0)) << a << ", " << b;
      EXPECT_EQ(got, numlib::betaln(&b, &a));
      EXPECT_EQ(got, numlib::dlnbet(&a, &b));
      EXPECT_LE(rel_err(numlib::dbetrm(&a, &b), del_sum(a, b)), 1e-12) << a << ", " << b;
      if (b < 8.0) continue;
      const double ratio = static_cast<double>(lgamma(mp(b)) - lgamma(mp(a) + b));
      EXPECT_LE(rel_err(numlib::algdiv(&a, &b), ratio), 1e-12) << a << ", " << b;
      if (a < 8.0) continue;
      EXPECT_LE(rel_err(numlib::bcorr(&a, &b), del_sum(a, b)), 1e-12) << a << ", " << b;
    }
  }
}

// Not a number has neither log-gamma nor log-beta, and must not be turned
// into a count of recurrence steps (the sanitizer build checks the
// conversions); the noncentral chi-square reaches both through its Poisson
// weights.
TEST(LogGammaAndBeta, NotANumberGivesNotANumber) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(std::isnan(by_value<numlib::alngam>(nan)));
  const double pairs[][2] = {{nan, 2.0}, {2.0, nan}, {nan, 10.0}, {10.0, nan}, {0.5, nan}};
  for (const auto& ab : pairs) EXPECT_TRUE(std::isnan(numlib::betaln(&ab[0], &ab[1])));
  const double x = 1.0, df = 2.0;
  double cum = 0.0, ccum = 0.0;
  numlib::cumchn(&x, &df, &nan, &cum, &ccum);
  EXPECT_FALSE(cum >= 0.0 && cum <= 1.0 && cum + ccum == 1.0) << cum << " " << ccum;
}

}  // namespace
