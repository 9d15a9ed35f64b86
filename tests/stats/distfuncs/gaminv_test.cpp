// The inverse incomplete gamma ratio against Boost's gamma_p_inv and
// gamma_q_inv on grids that reach each first approximation, its exits and
// error codes, and rcomp against Boost's gamma density.
#include "stats/distfuncs/gaminv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <string>

#include <boost/math/distributions/normal.hpp>
#include <boost/math/special_functions/gamma.hpp>

#include "oracle_helpers.h"
#include "stats/distfuncs/specfuncs.h"

namespace {

using oracle::rel_err;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kEps = std::numeric_limits<double>::epsilon();
constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kNoStart = -1.0;

struct Result {
  double x;
  int ierr;
};

Result gaminv(double a, double p, double q, double x0 = kNoStart) {
  Result r{-99.0, -99};
  numlib::gaminv(&a, &r.x, &x0, &p, &q, &r.ierr);
  return r;
}

// The x with P(a, x) = p, from the tail Boost inverts more accurately.
double boost_inverse(double a, double p, double q) {
  return p <= 0.5 ? boost::math::gamma_p_inv(a, p) : boost::math::gamma_q_inv(a, q);
}

// The Wilson-Hilferty inverse a (1 - 1/(9a) + z/(3 sqrt a))^3, z the
// normal quantile at p: relative error O(1/a), below 1e-12 for the huge a
// where Boost's own inverse gives up.
double wilson_hilferty(double a, double p) {
  const double z = boost::math::quantile(boost::math::normal(), p);
  const double c = 1.0 - 1.0 / (9.0 * a) + z / (3.0 * std::sqrt(a));
  return a * c * c * c;
}

TEST(Gaminv, FirstApproximationsLeadToTheInverse) {
  // Each row a family of (a, p) that one first approximation serves; every
  // p is also inverted from the other side (p and q exchanged).  The
  // iteration aims at about ten digits (its step test is 1e-10).
  struct Row {
    const char* what;
    double a;
    std::initializer_list<double> ps;
  };
  const Row rows[] = {
      // a < 1, by b = q Gamma(a): b in [0.35, 0.6] with a < 0.3; b in
      // [0.15, 0.45), (0.01, 0.15), at most 0.01; b > 0.6 with tiny q,
      // with p > 0.9, and otherwise.
      {"a < 0.3, b in [0.35, 0.6]", 0.1, {0.94, 0.95, 0.96}},
      {"b in [0.15, 0.45)", 0.5, {0.75, 0.85, 0.88}},
      {"b in (0.01, 0.15)", 0.5, {0.92, 0.97, 0.99}},
      {"b <= 0.01", 0.5, {0.995, 1.0 - 1e-4, 1.0 - 1e-8}},
      {"b <= 0.01, a near 1", 0.99, {0.999, 1.0 - 1e-9, 1.0 - 1e-14}},
      {"b q <= 1e-8", 1e-9, {1.0 - 1e-9, 1.0 - 1e-12}},
      {"b > 0.6, p > 0.9", 0.1, {0.91, 0.92}},
      {"b > 0.6, small p", 0.5, {1e-200, 1e-20, 1e-5, 0.1, 0.3, 0.5}},
      {"b > 0.6, small a", 0.01, {1e-10, 0.1, 0.3, 0.5}},
      // a > 1: p <= 1/2 with x above 0.7 (a + 1), between 0.15 and 0.7,
      // between 0.01 and 0.15 and below after the fixed-point steps;
      // p > 1/2 below 3a, and above with and without the asymptotic series.
      {"p <= 1/2, x above 0.7 (a + 1)", 5.0, {0.3, 0.45, 0.5}},
      {"p <= 1/2, x in (0.15, 0.7] (a + 1)", 2.0, {0.05, 0.1, 0.2}},
      {"p <= 1/2, x in (0.01, 0.15] (a + 1)", 2.0, {1e-3, 0.01, 0.04}},
      {"p <= 1/2, x in (0.002, 0.01] (a + 1)", 2.0, {1e-4, 3e-4}},
      {"p <= 1/2, x at most 0.002 (a + 1)", 2.0, {1e-5, 1e-10, 1e-100}},
      {"p > 1/2, x below 3a", 5.0, {0.6, 0.9, 0.99}},
      {"p > 1/2, x above 3a, two steps", 5.0, {1.0 - 1e-5, 1.0 - 1e-10}},
      {"p > 1/2, x above 3a, asymptotic series", 1.5, {1.0 - 1e-4, 1.0 - 1e-8, 1.0 - 1e-15}},
      {"large a, iterating", 200.0, {1e-20, 0.01, 0.5, 0.99}},
      {"a >= 500, far from the median", 600.0, {1e-10, 0.01, 0.99, 1.0 - 1e-10}},
      {"a >= 500, p tiny after the fixed-point steps", 500.0, {1e-280}},
  };
  for (const Row& r : rows)
    for (double p : r.ps)
      for (bool swapped : {false, true}) {
        const double q = 0.5 + (0.5 - p);
        const double pp = swapped ? q : p, qq = swapped ? p : q;
        const Result got = gaminv(r.a, pp, qq);
        const std::string where =
            std::string(r.what) + ": a = " + std::to_string(r.a) + ", p = " + std::to_string(pp);
        const double want = boost_inverse(r.a, pp, qq);
        // An x below the double range (a tiny a with p not near 1) is an
        // error exit, tested below.
        if (want < std::numeric_limits<double>::min()) continue;
        // Each first approximation starts within reach of a few
        // third-order steps; a poorer one takes more.
        ASSERT_GE(got.ierr, 0) << where;
        EXPECT_LE(got.ierr, 3) << where;
        EXPECT_LE(rel_err(got.x, want), 1e-10) << where;
      }
}

TEST(Gaminv, ExitsWithoutIterating) {
  // ierr 0: answered by the first approximation or a closed form.
  struct Row {
    const char* what;
    double a, p, q;
  };
  const Row rows[] = {
      {"b <= 1e-28, asymptotic series accepted", 0.5, 1.0, 1e-30},
      {"b <= 1e-28, a small", 0.05, 1.0, 1e-40},
      {"x <= 0.002 (a + 1) after the fixed-point steps", 2.0, 1e-10, 1.0 - 1e-10},
      {"x <= 0.002 (a + 1), a larger", 30.0, 1e-100, 1.0},
      // x within 1e-6 of a: a beyond about 1e12 s^2, s the normal quantile
      {"a >= 500 at the median", 1e7, 0.5, 0.5},
      {"a >= 500 in the lower tail", 1e13, 0.3, 0.7},
      {"a >= 500 in the upper tail", 1e15, 0.5 + (0.5 - 1e-12), 1e-12},
      {"a = 1 from q", 1.0, 0.3, 0.7},
      {"a = 1 from p", 1.0, 0.95, 0.5 + (0.5 - 0.95)},
  };
  for (const Row& r : rows) {
    const Result got = gaminv(r.a, r.p, r.q);
    EXPECT_EQ(got.ierr, 0) << r.what;
    EXPECT_LE(rel_err(got.x, r.a < 1e10 ? boost_inverse(r.a, r.p, r.q) : wilson_hilferty(r.a, r.p)),
              1e-8)
        << r.what;
  }
  // With q = 1 - 1e-30 held as 1 the exponential's p carries the digits.
  EXPECT_LE(rel_err(gaminv(1.0, 1e-30, 1.0).x, 1e-30), 1e-15);
  EXPECT_LE(rel_err(gaminv(1.0, 0.75, 0.25).x, std::log(4.0)), 1e-15);

  Result r = gaminv(3.0, 0.0, 1.0);
  EXPECT_EQ(r.x, 0.0);
  EXPECT_EQ(r.ierr, 0);
  r = gaminv(3.0, 1.0, 0.0);
  EXPECT_EQ(r.x, kMax);
  EXPECT_EQ(r.ierr, 0);
}

TEST(Gaminv, ErrorCodes) {
  struct Row {
    const char* what;
    double a, p, q, x0;
    int ierr;
    double x;  // NaN: not checked
  };
  const Row rows[] = {
      {"a zero", 0.0, 0.5, 0.5, kNoStart, -2, 0.0},
      {"a negative", -1.0, 0.5, 0.5, kNoStart, -2, 0.0},
      {"a not a number", kNaN, 0.5, 0.5, kNoStart, -2, 0.0},
      {"p + q above 1 by 2 epsilons", 2.0, 0.5, 0.5 + 2 * kEps, kNoStart, -4, 0.0},
      {"p + q below 1", 2.0, 0.3, 0.6, kNoStart, -4, 0.0},
      {"p not a number", 2.0, kNaN, 0.5, kNoStart, -4, 0.0},
      {"q not a number", 2.0, 0.5, kNaN, kNoStart, -4, 0.0},
      {"x^a underflows in the first approximation", 0.9, 1e-299, 1.0, kNoStart, -3, 0.0},
      {"p at the bottom of the double range", 0.99, 1e-300, 1.0, kNoStart, -8, kNaN},
      {"q at the bottom of the double range", 3.0, 1.0, 1e-300, kNoStart, -8, kNaN},
      {"a huge and x within 2 epsilons of a", 1e22, 0.5, 0.5, 1e22, -8, 1e22},
      {"P underflows at the start", 5.0, 0.5, 0.5, 1e-300, -8, 1e-300},
      // x = a + s sqrt(a) + ... is not a number; the series loop of the
      // lower tail must end on it.
      {"a infinite", kInf, 0.3, 0.7, kNoStart, -8, kNaN},
      {"a step overshoots below 0", 5.0, 0.5, 0.5, 100.0, -7, kNaN},
      // The multiplicative steps from far below gain too little for a
      // tiny a: x^0.01 hardly moves.
      {"20 steps without convergence", 0.01, 0.5, 0.5, 1e-300, -6, kNaN},
  };
  for (const Row& r : rows) {
    const Result got = gaminv(r.a, r.p, r.q, r.x0);
    EXPECT_EQ(got.ierr, r.ierr) << r.what;
    if (!std::isnan(r.x)) {
      EXPECT_EQ(got.x, r.x) << r.what;
    }
  }
  // The last approximation stands beside ierr -8 for a tiny p.
  EXPECT_LE(rel_err(gaminv(0.99, 1e-300, 1.0).x, boost::math::gamma_p_inv(0.99, 1e-300)), 1e-8);
}

TEST(Gaminv, IteratesFromAGivenStart) {
  // A start close to the answer converges in a few steps, on p or on q.
  for (double p : {0.2, 0.5, 0.9}) {
    const double q = 0.5 + (0.5 - p);
    const double want = boost_inverse(5.0, p, q);
    const Result got = gaminv(5.0, p, q, want * 0.9);
    EXPECT_GE(got.ierr, 1) << p;
    EXPECT_LE(got.ierr, 6) << p;
    EXPECT_LE(rel_err(got.x, want), 1e-10) << p;
  }
  // Below a = 4e-11 / epsilon^2 (about 8e20) a start at a itself is
  // resolved; above it the same start is ierr -8 (ErrorCodes).
  const Result got = gaminv(1e20, 0.5, 0.5, 1e20);
  EXPECT_EQ(got.ierr, 1);
  EXPECT_LE(rel_err(got.x, 1e20), 1e-15);
}

TEST(Rcomp, IsXTimesTheGammaDensity) {
  // Below a = 20 from x^a e^-x / Gamma(a) directly, from 20 on by
  // Stirling's form; both within a few roundings of the exponent a ln x - x
  // (amplified by its size, up to about 100 here).
  for (double a : {0.05, 0.5, 0.99, 1.0, 3.0, 19.9, 20.0, 20.1, 50.0, 1e3, 1e6})
    for (double ratio : {0.01, 0.3, 0.9, 1.0, 1.1, 2.0, 5.0}) {
      const double x = a * ratio;
      double aa = a, xx = x;
      const double want = x * boost::math::gamma_p_derivative(a, x);
      if (want < 1e-290) continue;
      const double exponent = std::fabs(a * std::log(x) - x) + std::fabs(a * std::log(a) - a);
      EXPECT_LE(rel_err(numlib::rcomp(&aa, &xx), want), 1e-13 + 8 * kEps * exponent)
          << "a = " << a << ", x = " << x;
    }
  for (double a : {0.5, 5.0, 20.0, 100.0}) {
    double aa = a, zero = 0.0;
    EXPECT_EQ(numlib::rcomp(&aa, &zero), 0.0) << a;
  }
}

}  // namespace
