// The small special functions against Boost.Math on grids over their
// ranges and branch boundaries, and the exact values they must return.
#include "stats/distfuncs/specfuncs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include <boost/math/special_functions/erf.hpp>
#include <boost/math/special_functions/expm1.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <boost/math/special_functions/log1p.hpp>

#include "oracle_helpers.h"

namespace {

using oracle::rel_err;

double gam1(double a) { return numlib::gam1(&a); }
double rlog(double x) { return numlib::rlog(&x); }
double rexp(double x) { return numlib::rexp(&x); }
double erf1(double x) { return numlib::erf1(&x); }
double erfc1(int ind, double x) { return numlib::erfc1(&ind, &x); }
double exparg(int l) { return numlib::exparg(&l); }
double Xgamm(double a) { return numlib::Xgamm(&a); }

std::vector<double> grid(double lo, double hi, int n) {
  std::vector<double> v;
  for (int k = 0; k <= n; ++k) v.push_back(lo + (hi - lo) * k / n);
  return v;
}

// The rational approximations are accurate to a few units of 1e-15; 1e-13
// leaves room for the rounding of the polynomial evaluation.
constexpr double kSmallTol = 1e-13;

TEST(SpecFuncs, ExactValues) {
  EXPECT_EQ(rlog(1.0), 0.0);
  EXPECT_EQ(rexp(0.0), 0.0);
  EXPECT_EQ(gam1(0.0), 0.0);
  EXPECT_EQ(gam1(1.0), 0.0);
  EXPECT_EQ(erfc1(0, 30.0), 0.0);
  EXPECT_EQ(erfc1(0, -6.0), 2.0);
  EXPECT_EQ(erf1(6.0), 1.0);
  EXPECT_EQ(erf1(-6.0), -1.0);
  EXPECT_EQ(Xgamm(5.0), 24.0);
  EXPECT_EQ(Xgamm(0.0), 0.0);
  EXPECT_EQ(Xgamm(-3.0), 0.0);
  EXPECT_EQ(Xgamm(-20.0), 0.0);
  EXPECT_EQ(Xgamm(1000.0), 0.0);
  EXPECT_EQ(Xgamm(-1000.5), 0.0);
  EXPECT_EQ(Xgamm(200.0), 0.0);  // overflows the double range
}

TEST(SpecFuncs, Gam1) {
  // 1/Gamma(1 + a) - 1 = -g/(1 + g) with g = Gamma(1 + a) - 1, which Boost
  // forms without cancellation near a = 0 and a = 1.
  for (double a : grid(-0.5, 1.5, 400)) {
    const double g = boost::math::tgamma1pm1(a);
    const double want = -g / (1.0 + g);
    if (want == 0.0) continue;
    EXPECT_LE(rel_err(gam1(a), want), kSmallTol) << "a = " << a;
  }
  for (double a : {1e-10, -1e-10, 1.0 + 1e-9, 1.0 - 1e-9, 0.5, 0.5 + 1e-12}) {
    const double g = boost::math::tgamma1pm1(a);
    EXPECT_LE(rel_err(gam1(a), -g / (1.0 + g)), 1e-12) << "a = " << a;
  }
}

TEST(SpecFuncs, Rlog) {
  // x - 1 - ln x = -log1pmx(x - 1); x - 1 is exact for x in [0.5, 2].
  std::vector<double> xs = grid(0.5, 2.0, 300);
  for (double x : {0.6099, 0.61, 0.8199, 0.82, 1.18, 1.1801, 1.57, 1.5701, 0.999999, 1.000001})
    xs.push_back(x);
  for (double x : xs) {
    if (x == 1.0) continue;
    EXPECT_LE(rel_err(rlog(x), -boost::math::log1pmx(x - 1.0)), kSmallTol) << "x = " << x;
  }
  for (double x : {1e-300, 1e-5, 0.1, 3.0, 100.0, 1e300})
    EXPECT_LE(rel_err(rlog(x), x - 1.0 - std::log(x)), kSmallTol) << "x = " << x;
}

TEST(SpecFuncs, Rexp) {
  std::vector<double> xs = grid(-3.0, 3.0, 300);
  for (double x : {-0.15, 0.15, -0.1500001, 0.1500001, 1e-12, -1e-12, -50.0, 50.0, 700.0})
    xs.push_back(x);
  for (double x : xs) {
    if (x == 0.0) continue;
    EXPECT_LE(rel_err(rexp(x), boost::math::expm1(x)), kSmallTol) << "x = " << x;
  }
}

TEST(SpecFuncs, ErrorFunctions) {
  std::vector<double> xs = grid(-7.0, 7.0, 700);
  for (double x : {0.5, 0.5000001, 4.0, 4.0000001, 5.6, 5.8, 5.7999999, -5.6, -5.6000001})
    xs.push_back(x);
  for (double x : xs) {
    if (x != 0.0) {
      EXPECT_LE(rel_err(erf1(x), boost::math::erf(x)), kSmallTol) << "x = " << x;
    }
    EXPECT_LE(rel_err(erfc1(0, x), boost::math::erfc(x)), kSmallTol) << "x = " << x;
  }
  // Far tail of erfc, down to the exponent limit of e^(-x^2).
  for (double x : {10.0, 20.0, 26.0, 26.5})
    EXPECT_LE(rel_err(erfc1(0, x), boost::math::erfc(x)), kSmallTol) << "x = " << x;
  EXPECT_EQ(erfc1(0, 27.0), 0.0);
  EXPECT_EQ(erfc1(0, 101.0), 0.0);
}

TEST(SpecFuncs, ScaledComplementaryErrorFunction) {
  // e^(x^2) erfc(x) in long double, whose range holds both factors for
  // |x| <= 100.
  std::vector<double> xs = grid(-5.5, 10.0, 310);
  for (double x : {-5.6, -5.7, 20.0, 50.0, 99.0, 100.0}) xs.push_back(x);
  for (double x : xs) {
    const long double lx = x;
    const double want = static_cast<double>(std::exp(lx * lx) * boost::math::erfc(lx));
    EXPECT_LE(rel_err(erfc1(1, x), want), kSmallTol) << "x = " << x;
  }
  // Beyond, the asymptotic series e^(x^2) erfc(x) =
  // (1 - 1/(2y) + 3/(4y^2) - 15/(8y^3)) / (x sqrt(pi)) + O(x^-9), y = x^2.
  const double x = 150.0;
  const double y = x * x;
  const double want =
      (1.0 - 0.5 / y + 0.75 / (y * y) - 1.875 / (y * y * y)) / (x * std::sqrt(M_PI));
  EXPECT_LE(rel_err(erfc1(1, x), want), kSmallTol);
}

TEST(SpecFuncs, Exparg) {
  const double ln2 = std::log(2.0);
  EXPECT_LE(rel_err(exparg(0), 0.99999 * 1024 * ln2), 1e-14);
  EXPECT_LE(rel_err(exparg(1), 0.99999 * -1022 * ln2), 1e-14);
  EXPECT_NEAR(exparg(0), 709.78, 0.01);
  EXPECT_NEAR(exparg(1), -708.39, 0.01);
  EXPECT_TRUE(std::isfinite(std::exp(exparg(0))));
  EXPECT_GT(std::exp(exparg(1)), 0.0);
}

TEST(SpecFuncs, Xgamm) {
  EXPECT_LE(rel_err(Xgamm(0.5), std::sqrt(M_PI)), kSmallTol);
  EXPECT_LE(rel_err(Xgamm(-1.5), 4.0 * std::sqrt(M_PI) / 3.0), kSmallTol);
  // Both sides of the 15 switch to Stirling's series, negative arguments
  // by reflection, and tiny ones where Gamma(a) is about 1/a.
  std::vector<double> as = grid(-14.95, 14.95, 299);
  for (double a : {1.0, 2.0, 14.0, 14.999, 15.0, 15.5, 30.25, 100.7, 170.5, -15.5, -20.3, -100.7,
                   1e-20, -1e-20, 1e-35})
    as.push_back(a);
  for (double a : as) {
    if (a == std::round(a) && a <= 0.0) continue;
    // Stirling's series with five terms holds about 13 digits near 15,
    // and the reflection adds the rounding of sin(pi t).
    const double tol = std::fabs(a) >= 15.0 ? 1e-12 : kSmallTol;
    EXPECT_LE(rel_err(Xgamm(a), boost::math::tgamma(a)), tol) << "a = " << a;
  }
}

}  // namespace
