// The beta distribution function: its status and bound table, cumbet and
// P and Q against Boost's incomplete beta ratio, X and Y against ibeta_inv
// and ibetac_inv, and A and B against ibeta_inva and ibeta_invb.
#include "stats/distfuncs/distfuncs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <boost/math/special_functions/beta.hpp>

#include "oracle_helpers.h"

namespace {

using oracle::rel_err;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
// Marks a value the routine must not write.
constexpr double kUntouched = -77.0;

// A call of cdfbet: its arguments, then the status and bound it gave (in a
// table row, should give).  The unknown is passed as not-a-number: it must
// be neither read nor checked.
struct Call {
  int which;
  double p, q, x, y, a, b;
  int status = -99;
  double bound = kUntouched;
};

Call run(Call c) {
  c.bound = kUntouched;
  numlib::cdfbet(&c.which, &c.p, &c.q, &c.x, &c.y, &c.a, &c.b, &c.status, &c.bound);
  return c;
}

bool same(double u, double v) { return u == v || (std::isnan(u) && std::isnan(v)); }

TEST(Cdfbet, StatusAndBound) {
  const struct {
    const char* what;
    Call call;
  } rows[] = {
      {"which too small", {0, .5, .5, .5, .5, 1, 1, -1, 1.0}},
      {"which too large", {5, .5, .5, .5, .5, 1, 1, -1, 4.0}},
      {"P below 0", {2, -.1, .5, kNaN, kNaN, 1, 1, -2, 0.0}},
      {"P above 1", {3, 1.1, .5, .5, .5, kNaN, 1, -2, 1.0}},
      {"P not a number", {4, kNaN, .5, .5, .5, 1, kNaN, -2, 0.0}},
      {"Q below 0", {2, .5, -.1, kNaN, kNaN, 1, 1, -3, 0.0}},
      {"Q above 1", {2, .5, 1.5, kNaN, kNaN, 1, 1, -3, 1.0}},
      {"Q not a number", {3, .5, kNaN, .5, .5, kNaN, 1, -3, 0.0}},
      {"X below 0", {1, kNaN, kNaN, -.1, .5, 1, 1, -4, 0.0}},
      {"X above 1", {3, .5, .5, 1.1, .5, kNaN, 1, -4, 1.0}},
      {"X not a number", {1, kNaN, kNaN, kNaN, .5, 1, 1, -4, 0.0}},
      {"Y below 0", {4, .5, .5, .5, -.1, 1, kNaN, -5, 0.0}},
      {"Y above 1", {1, kNaN, kNaN, .5, 1.1, 1, 1, -5, 1.0}},
      {"Y not a number", {1, kNaN, kNaN, .5, kNaN, 1, 1, -5, 0.0}},
      {"A zero", {1, kNaN, kNaN, .5, .5, 0, 1, -6, 0.0}},
      {"A not a number", {2, .5, .5, kNaN, kNaN, kNaN, 1, -6, 0.0}},
      {"B negative", {3, .5, .5, .5, .5, kNaN, -1, -7, 0.0}},
      {"B not a number", {1, kNaN, kNaN, .5, .5, 1, kNaN, -7, 0.0}},
      {"P + Q above 1", {2, .3, .8, kNaN, kNaN, 1, 1, 3, 1.0}},
      {"P + Q below 1", {4, .3, .6, .5, .5, 1, kNaN, 3, 1.0}},
      {"X + Y below 1", {1, kNaN, kNaN, .3, .6, 1, 1, 4, 1.0}},
      {"X + Y below 1, which 3", {3, .3, .7, .3, .6, kNaN, 1, 4, 1.0}},
      {"P = Q = 0 refused by the sum, not by Q", {2, 0, 0, kNaN, kNaN, 1, 1, 3, 1.0}},
      {"which 1 ignores P and Q", {1, -5, 7, .3, .7, 1, 1, 0, kUntouched}},
      {"which 3 ignores A", {3, .3, .7, .3, .7, -1, 1, 0, kUntouched}},
      {"which 4 ignores B", {4, .3, .7, .3, .7, 1, 0, 0, kUntouched}},
      // A infinite passes its check; the incomplete beta ratio refuses it.
      {"infinite A", {1, kNaN, kNaN, .5, .5, kInf, 1, 10, kUntouched}},
      {"infinite B in the X search", {2, .3, .7, kNaN, kNaN, 1, kInf, 10, kUntouched}},
      {"infinite B in the A search", {3, .3, .7, .5, .5, kNaN, kInf, 10, kUntouched}},
      // P falls as A grows and rises as B grows.
      {"A search fails low: Q at A = 1e-300 above 1e-310",
       {3, 1, 1e-310, .5, .5, kNaN, 2, 1, 1e-300}},
      {"A search fails high: P at A = B = 1e300 near 1",
       {3, .3, .7, .6, .4, kNaN, 1e300, 2, 1e300}},
      {"B search fails low: P at B = 1e-300 above 1e-310",
       {4, 1e-310, 1, .5, .5, 2, kNaN, 1, 1e-300}},
      {"B search fails high: P at A = B = 1e300 near 0",
       {4, .7, .3, .4, .6, 1e300, kNaN, 2, 1e300}},
      // Two bad arguments: the first checked is reported.
      {"which and P bad", {0, -.1, .5, .5, .5, 1, 1, -1, 1.0}},
      {"P and Q bad", {2, 1.1, -.1, kNaN, kNaN, 1, 1, -2, 1.0}},
      {"Q and X bad", {3, .5, 1.5, -.1, .5, kNaN, 1, -3, 1.0}},
      {"X and Y bad", {4, .5, .5, 1.1, -.1, 1, kNaN, -4, 1.0}},
      {"Y and A bad", {1, kNaN, kNaN, .5, 1.1, 0, 1, -5, 1.0}},
      {"A and B bad", {2, .5, .5, kNaN, kNaN, -1, 0, -6, 0.0}},
      {"B bad, P + Q off", {3, .3, .8, .5, .5, kNaN, 0, -7, 0.0}},
      {"P + Q and X + Y off", {3, .3, .8, .3, .6, kNaN, 1, 3, 1.0}},
  };
  for (const auto& r : rows) {
    const Call c = run(r.call);
    EXPECT_EQ(c.status, r.call.status) << r.what;
    EXPECT_EQ(c.bound, r.call.bound) << r.what;
    // A refusal writes nothing but status and bound.
    const Call& w = r.call;
    if (c.status < 0 || c.status == 3 || c.status == 4) {
      EXPECT_TRUE(same(c.p, w.p) && same(c.q, w.q) && same(c.x, w.x) && same(c.y, w.y) &&
                  same(c.a, w.a) && same(c.b, w.b))
          << r.what;
    }
  }
}

TEST(Cumbet, MatchesBoostAndItsEnds) {
  // Shapes from tiny to large, X across (0, 1): both tails to 1e-12
  // relative wherever Boost's exceed the underflow threshold.
  for (double a : {0.01, 0.5, 1.0, 2.5, 10.0, 100.0, 1e4})
    for (double b : {0.01, 0.5, 1.0, 3.0, 30.0, 1e3})
      for (double x : {1e-5, 0.01, 0.2, 0.5, 0.7, 0.99, 0.99999}) {
        const double y = 0.5 + (0.5 - x);
        double cum = 0, ccum = 0;
        numlib::cumbet(&x, &y, &a, &b, &cum, &ccum);
        const double bp = boost::math::ibeta(a, b, x), bq = boost::math::ibetac(a, b, x);
        if (bp > 1e-290) {
          EXPECT_LE(rel_err(cum, bp), 1e-12) << a << " " << b << " " << x;
        }
        if (bq > 1e-290) {
          EXPECT_LE(rel_err(ccum, bq), 1e-12) << a << " " << b << " " << x;
        }
        // cdfbet's which 1 is cumbet.
        const Call c = run({1, kNaN, kNaN, x, y, a, b});
        EXPECT_TRUE(c.status == 0 && c.p == cum && c.q == ccum && c.x == x && c.y == y &&
                    c.a == a && c.b == b)
            << a << " " << b << " " << x;
      }
  // The ends, decided before the ratio is called, whatever the shapes.
  const double ends[][6] = {{0, 1, 1, 1, 0, 1}, {1, 0, 1, 1, 1, 0}, {0, 1, kInf, kNaN, 0, 1}};
  for (const auto& e : ends) {
    double cum = -1, ccum = -1;
    numlib::cumbet(&e[0], &e[1], &e[2], &e[3], &cum, &ccum);
    EXPECT_TRUE(cum == e[4] && ccum == e[5]) << e[0] << " " << e[2];
  }
  // A = B = 1 is the uniform distribution.
  const Call u = run({1, kNaN, kNaN, 0.3, 0.7, 1, 1});
  EXPECT_NEAR(u.p, 0.3, 1e-15);
  EXPECT_NEAR(u.q, 0.7, 1e-15);
}

TEST(Cdfbet, InverseForXAndY) {
  for (double a : {0.1, 1.0, 2.5, 40.0})
    for (double b : {0.3, 1.0, 7.0, 500.0})
      for (double p : {1e-10, 1e-3, 0.25, 0.5, 0.6, 0.9, 0.999, 1.0 - 1e-9}) {
        const double q = 0.5 + (0.5 - p);
        const Call c = run({2, p, q, kNaN, kNaN, a, b});
        ASSERT_TRUE(c.status == 0 && c.p == p && c.q == q && c.a == a && c.b == b) << a << b << p;
        // The member not varied is the complement of the other.
        EXPECT_TRUE(p <= q ? c.y == 1.0 - c.x : c.x == 1.0 - c.y);
        // The zero finder stops at relative 1e-8 on the member it varies:
        // X when P is the smaller tail, else Y, which Boost gives directly
        // from Q.
        double wy = 0;
        const double wx =
            p <= q ? boost::math::ibeta_inv(a, b, p, &wy) : boost::math::ibetac_inv(a, b, q, &wy);
        // Beside it the absolute tolerance 1e-50 matters only for answers
        // below about 1e-42.
        const double got = p <= q ? c.x : c.y, want = p <= q ? wx : wy;
        if (want > 1e-40) {
          EXPECT_LE(rel_err(got, want), 1e-7) << a << " " << b << " " << p;
        }
      }
  // The uniform distribution: X = P.
  const Call u = run({2, 0.25, 0.75, kNaN, kNaN, 1, 1});
  EXPECT_LE(rel_err(u.x, 0.25), 1e-8);
  EXPECT_LE(rel_err(u.y, 0.75), 1e-8);
}

TEST(Cdfbet, InverseForShapes) {
  // P and Q from Boost at shapes and an X whose Y = 1 - X is exact; A and B
  // are found again to the search's relative 1e-8, and agree with
  // ibeta_inva and ibeta_invb.
  for (double a : {0.1, 1.0, 2.5, 40.0})
    for (double b : {0.3, 1.0, 7.0, 500.0})
      for (double x : {0.001, 0.1, 0.5, 0.75, 0.9, 0.999}) {
        const double y = 1.0 - x;
        const double p = boost::math::ibeta(a, b, x), q = boost::math::ibetac(a, b, x);
        if (p < 1e-12 || q < 1e-12) continue;
        const Call ca = run({3, p, q, x, y, kNaN, b});
        const Call cb = run({4, p, q, x, y, a, kNaN});
        ASSERT_TRUE(ca.status == 0 && cb.status == 0) << a << " " << b << " " << x;
        // Only the unknown is written.
        EXPECT_TRUE(ca.p == p && ca.q == q && ca.x == x && ca.y == y && ca.b == b);
        EXPECT_TRUE(cb.p == p && cb.q == q && cb.x == x && cb.y == y && cb.a == a);
        EXPECT_LE(rel_err(ca.a, a), 1e-7) << a << " " << b << " " << x;
        EXPECT_LE(rel_err(cb.b, b), 1e-7) << a << " " << b << " " << x;
        EXPECT_LE(rel_err(ca.a, boost::math::ibeta_inva(b, x, p)), 1e-7) << a << " " << b << x;
        EXPECT_LE(rel_err(cb.b, boost::math::ibeta_invb(a, x, p)), 1e-7) << a << " " << b << x;
      }
}

}  // namespace
