// The gamma distribution function: its status and bound table, P and Q
// against Boost's incomplete gamma ratios, X and SCALE against Boost's
// inverses, SHAPE against gamma_p_inva, and the exponential's closed forms.
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
constexpr double kEps = std::numeric_limits<double>::epsilon();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kLargest = std::numeric_limits<double>::max();
// Marks a bound the routine must not write.
constexpr double kUntouched = -77.0;

struct Call {
  int which;
  double p, q, x, shape, scale;
  int status = -99;
  double bound = kUntouched;
};

Call cdfgam(int which, double p, double q, double x, double shape, double scale) {
  Call c{which, p, q, x, shape, scale};
  numlib::cdfgam(&c.which, &c.p, &c.q, &c.x, &c.shape, &c.scale, &c.status, &c.bound);
  return c;
}

// Equal, or both not a number.
bool same(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

std::string where(double p, double shape) {
  return "P = " + std::to_string(p) + ", SHAPE = " + std::to_string(shape);
}

TEST(Cdfgam, StatusAndBound) {
  struct Row {
    const char* what;
    int which;
    double p, q, x, shape, scale;
    int status;
    double bound;  // kUntouched: not written
  };
  const Row rows[] = {
      {"which too small", 0, 0.5, 0.5, 1.0, 1.0, 1.0, -1, 1.0},
      {"which too large", 5, 0.5, 0.5, 1.0, 1.0, 1.0, -1, 4.0},
      {"P below 0", 2, -0.1, 0.5, 1.0, 1.0, 1.0, -2, 0.0},
      {"P above 1", 4, 1.1, 0.5, 1.0, 1.0, 1.0, -2, 1.0},
      {"P not a number", 3, kNaN, 0.5, 1.0, 1.0, 1.0, -2, 0.0},
      {"Q zero, refused before gaminv", 2, 1.0, 0.0, 1.0, 1.0, 1.0, -3, 0.0},
      {"Q above 1", 4, 0.5, 1.5, 1.0, 1.0, 1.0, -3, 1.0},
      {"Q not a number", 2, 0.5, kNaN, 1.0, 1.0, 1.0, -3, 0.0},
      {"X negative", 1, 0.5, 0.5, -1.0, 1.0, 1.0, -4, 0.0},
      {"X not a number", 3, 0.5, 0.5, kNaN, 1.0, 1.0, -4, 0.0},
      {"X zero, which 4: no SCALE", 4, 0.5, 0.5, 0.0, 1.0, 1.0, -4, 0.0},
      {"X not a number, which 4", 4, 0.5, 0.5, kNaN, 1.0, 1.0, -4, 0.0},
      {"SHAPE zero", 1, 0.5, 0.5, 1.0, 0.0, 1.0, -5, 0.0},
      {"SHAPE not a number", 2, 0.5, 0.5, 1.0, kNaN, 1.0, -5, 0.0},
      {"SHAPE not a number, which 4", 4, 0.5, 0.5, 1.0, kNaN, 1.0, -5, 0.0},
      {"SCALE negative", 3, 0.5, 0.5, 1.0, 1.0, -2.0, -6, 0.0},
      {"SCALE not a number", 1, 0.5, 0.5, 1.0, 1.0, kNaN, -6, 0.0},
      {"SCALE not a number, which 2", 2, 0.5, 0.5, 1.0, 1.0, kNaN, -6, 0.0},
      {"P + Q above 1", 2, 0.3, 0.8, 1.0, 1.0, 1.0, 3, 1.0},
      {"P + Q 4 epsilons above 1", 4, 0.5, 0.5 + 4 * kEps, 1.0, 1.0, 1.0, 3, 1.0},
      {"P + Q below 1", 3, 0.3, 0.6, 1.0, 1.0, 1.0, 3, 1.0},
      {"which 1 ignores P and Q", 1, kNaN, -3.0, 1.0, 1.0, 1.0, 0, kUntouched},
      {"which 2 ignores X", 2, 0.3, 0.7, kNaN, 1.0, 1.0, 0, kUntouched},
      {"which 3 ignores SHAPE", 3, 0.3, 0.7, 1.0, kNaN, 1.0, 0, kUntouched},
      {"which 4 ignores SCALE", 4, 0.3, 0.7, 1.0, 1.0, kNaN, 0, kUntouched},
      // gaminv demands P + Q within one epsilon of 1; the checks allow three.
      {"P + Q 2 epsilons above 1, which 2", 2, 0.5, 0.5 + 2 * kEps, 1.0, 3.0, 1.0, 0, kUntouched},
      {"P + Q 2 epsilons above 1, which 4", 4, 0.5 + 2 * kEps, 0.5, 1.0, 3.0, 1.0, 0, kUntouched},
      {"SHAPE search fails low: P is 0 at X = 0", 3, 0.3, 0.7, 0.0, 1.0, 1.0, 1, 1e-300},
      {"SHAPE search fails high: Q is 1 at X = 0", 3, 0.7, 0.3, 0.0, 1.0, 1.0, 2, 1e300},
      {"incomplete gamma ratio error (SHAPE = X = 1e30)", 1, 0.5, 0.5, 1e30, 1e30, 1.0, 10,
       kUntouched},
      // The search meets SHAPE = X SCALE = 1e300 at its upper end.  The ratio
      // leaves Q as it was on an error: it must be seen whichever tail is
      // compared.
      {"ratio error in the SHAPE search, P compared", 3, 0.1, 0.9, 1e300, 1.0, 1.0, 10, kUntouched},
      {"ratio error in the SHAPE search, Q compared", 3, 0.9, 0.1, 1e300, 1.0, 1.0, 10, kUntouched},
      {"gaminv: x^SHAPE underflows (ierr -3)", 2, 1e-300, 1.0, 1.0, 0.5, 1.0, 10, kUntouched},
      {"gaminv: P at the bottom of the range (ierr -8)", 4, 1e-300, 1.0, 1.0, 0.99, 1.0, 10,
       kUntouched},
      // Infinite arguments have no answer; neither has one beyond the
      // largest double.
      {"X infinite", 1, 0.5, 0.5, kInf, 1.0, 1.0, -4, kLargest},
      {"X infinite, which 4", 4, 0.5, 0.5, kInf, 1.0, 1.0, -4, kLargest},
      {"SHAPE infinite", 2, 0.5, 0.5, 1.0, kInf, 1.0, -5, kLargest},
      {"SCALE infinite", 3, 0.5, 0.5, 1.0, 1.0, kInf, -6, kLargest},
      {"X overflows (SCALE 1e-320)", 2, 0.5, 0.5, 1.0, 3.0, 1e-320, 10, kUntouched},
      {"SCALE overflows (X 1e-320)", 4, 0.5, 0.5, 1e-320, 3.0, 1.0, 10, kUntouched},
      // Two bad arguments: the first checked is reported.
      {"which and P bad", 0, -0.1, 0.5, 1.0, 1.0, 1.0, -1, 1.0},
      {"P and Q bad", 2, 1.5, 0.0, 1.0, 1.0, 1.0, -2, 1.0},
      {"Q and X bad", 3, 0.5, 1.5, -1.0, 1.0, 1.0, -3, 1.0},
      {"X and SHAPE bad", 1, 0.5, 0.5, kInf, 0.0, 1.0, -4, kLargest},
      {"SHAPE and SCALE bad", 2, 0.5, 0.5, 1.0, -1.0, kInf, -5, 0.0},
      {"SCALE bad, P + Q off", 3, 0.3, 0.8, 1.0, 1.0, 0.0, -6, 0.0},
  };
  for (const Row& r : rows) {
    const Call c = cdfgam(r.which, r.p, r.q, r.x, r.shape, r.scale);
    EXPECT_EQ(c.status, r.status) << r.what;
    EXPECT_EQ(c.bound, r.bound) << r.what;
    if (r.status != 0 && r.status != 1 && r.status != 2) {
      // A refusal writes nothing but status and bound.
      EXPECT_TRUE(same(c.x, r.x)) << r.what;
      EXPECT_TRUE(same(c.scale, r.scale)) << r.what;
    }
  }
}

TEST(Cdfgam, TailsMatchBoost) {
  // P is the incomplete gamma ratio at (SHAPE, X SCALE), SCALE a rate.
  for (double shape : {0.05, 0.5, 1.0, 2.5, 10.0, 19.5, 20.0, 150.0, 1e4})
    for (double ratio : {1e-3, 0.1, 0.5, 0.9, 1.0, 1.1, 2.0, 5.0, 30.0})
      for (double scale : {0.25, 1.0, 8.0}) {
        const double x = shape * ratio / scale;
        const Call c = cdfgam(1, 0.0, 0.0, x, shape, scale);
        ASSERT_EQ(c.status, 0);
        const double xs = x * scale;
        const double bp = boost::math::gamma_p(shape, xs), bq = boost::math::gamma_q(shape, xs);
        const double tol = oracle::gamma_ratio_tolerance(shape, xs, 1e-12);
        if (bp > 1e-290) {
          EXPECT_LE(rel_err(c.p, bp), tol) << "X = " << x << ", " << where(bp, shape);
        }
        if (bq > 1e-290) {
          EXPECT_LE(rel_err(c.q, bq), tol) << "X = " << x << ", " << where(bp, shape);
        }
      }
  const Call c = cdfgam(1, 0.0, 0.0, 0.0, 3.0, 2.0);
  EXPECT_EQ(c.p, 0.0);
  EXPECT_EQ(c.q, 1.0);
}

TEST(Cdfgam, InversesForXAndScale) {
  for (double shape : {0.05, 0.5, 1.0, 2.5, 10.0, 150.0, 1e4})
    for (double p : {1e-10, 1e-3, 0.05, 0.3, 0.5, 0.7, 0.95, 0.999, 1.0 - 1e-10}) {
      const double q = 0.5 + (0.5 - p);
      const double want =
          p <= 0.5 ? boost::math::gamma_p_inv(shape, p) : boost::math::gamma_q_inv(shape, q);
      Call c = cdfgam(2, p, q, 0.0, shape, 4.0);
      ASSERT_EQ(c.status, 0) << where(p, shape);
      EXPECT_LE(rel_err(c.x, want / 4.0), 1e-10) << where(p, shape);
      c = cdfgam(4, p, q, 3.0, shape, 0.0);
      ASSERT_EQ(c.status, 0) << where(p, shape);
      EXPECT_LE(rel_err(c.scale, want / 3.0), 1e-10) << where(p, shape);
    }
  // P = 0 is X = 0.
  const Call c = cdfgam(2, 0.0, 1.0, 7.0, 2.0, 1.0);
  EXPECT_EQ(c.status, 0);
  EXPECT_EQ(c.x, 0.0);
}

TEST(Cdfgam, ExponentialClosedForms) {
  // SHAPE = 1: P = 1 - e^(-X SCALE), X = -ln Q / SCALE.
  for (double q : {1e-12, 0.01, 0.3, 0.5, 0.89}) {
    const Call c = cdfgam(2, 0.5 + (0.5 - q), q, 0.0, 1.0, 2.0);
    ASSERT_EQ(c.status, 0) << q;
    EXPECT_LE(rel_err(c.x, -std::log(q) / 2.0), 1e-14) << q;
  }
  for (double x : {1e-9, 0.1, 1.0, 20.0}) {
    const Call c = cdfgam(1, 0.0, 0.0, x, 1.0, 0.5);
    EXPECT_LE(rel_err(c.q, std::exp(-x * 0.5)), 1e-14) << x;
    EXPECT_LE(rel_err(c.p, -std::expm1(-x * 0.5)), 1e-14) << x;
  }
}

TEST(Cdfgam, InverseForShape) {
  for (double shape : {0.05, 0.5, 1.0, 2.5, 10.0, 150.0, 1e4})
    for (double p : {1e-4, 0.05, 0.3, 0.5, 0.7, 0.95, 0.9999}) {
      const double xs = boost::math::gamma_p_inv(shape, p);
      const Call c = cdfgam(3, p, 0.5 + (0.5 - p), xs / 2.0, 0.0, 2.0);
      ASSERT_EQ(c.status, 0) << where(p, shape);
      // The search stops at relative width 1e-8.
      EXPECT_LE(rel_err(c.shape, boost::math::gamma_p_inva(xs, p)), 1e-7) << where(p, shape);
    }
}

TEST(Cdfgam, ProductOfXAndScaleUnderflows) {
  // X SCALE below the smallest normal double, 0 or with digits lost: P is
  // (X SCALE)^SHAPE / Gamma(SHAPE + 1) to double precision, from
  // SHAPE (ln X + ln SCALE).  Values from mpmath at 60 digits.
  struct TailRow {
    double x, scale, shape, p, q;
  } const tails[] = {
      {1e-200, 1e-200, 7.530464201167519e-4, 0.5, 0.5},
      {1e-200, 1e-200, 1e-300, 1.0, 9.2045682153271676e-298},
      {1e-200, 1e-200, 0.5, 1.1283791670955126e-200, 1.0},
      {1e-200, 1e-200, 2.0, 0.0, 1.0},  // 5e-801
      // a subnormal P above shape 1: its divisor is Gamma(SHAPE + 1)
      {1e-154, 1e-154, 1.001, 4.918313944762324e-309, 1.0},
      // 1e-320 as a product keeps 11 bits
      {1e-160, 1e-160, 0.5, 1.1283791670955126e-160, 1.0},
      {1e-160, 1e-160, 1e-3, 0.47890605116661427, 0.52109394883338573},
      // 2^-1050 is exact: the incomplete gamma ratio at the product
      {std::ldexp(1.0, -600), std::ldexp(1.0, -450), 0.5, 1.027323767356717e-158, 1.0},
  };
  for (const TailRow& r : tails) {
    const Call c = cdfgam(1, 0.0, 0.0, r.x, r.shape, r.scale);
    const std::string at = "X = " + std::to_string(r.x) + ", " + where(r.p, r.shape);
    EXPECT_EQ(c.status, 0) << at;
    // The exponent z = SHAPE ln(X SCALE) carries a few roundings of its
    // size, which become relative errors of P; gam1 and e^z - 1 add a few
    // roundings more.
    const double z = r.shape * (std::log(r.x) + std::log(r.scale));
    const double tol = 8.0 * kEps * (std::fabs(z) + 4.0);
    EXPECT_LE(rel_err(c.p, r.p), tol) << at;
    EXPECT_LE(rel_err(c.q, r.q), tol) << at;
  }
  struct ShapeRow {
    double x, scale, p, shape;
  } const shapes[] = {
      {1e-200, 1e-200, 0.5, 7.5304642011675187e-4},   {1e-200, 1e-200, 0.01, 5.0031131726978141e-3},
      {1e-200, 1e-200, 0.99, 1.0918856289978674e-5},  {1e-160, 1e-160, 0.5, 9.4145526470923607e-4},
      {1e-300, 1e-300, 1e-10, 1.6673468713072981e-2}, {1e-300, 1e-30, 0.999, 1.3177033252926696e-6},
  };
  for (const ShapeRow& r : shapes) {
    const Call c = cdfgam(3, r.p, 0.5 + (0.5 - r.p), r.x, 0.0, r.scale);
    const std::string at = "X = " + std::to_string(r.x) + ", " + where(r.p, r.shape);
    EXPECT_EQ(c.status, 0) << at;
    // The search stops at relative width 1e-8.
    EXPECT_LE(rel_err(c.shape, r.shape), 1e-7) << at;
  }
}

}  // namespace
