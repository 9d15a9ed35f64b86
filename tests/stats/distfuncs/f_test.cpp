// The F distribution function: its status and bound table, P and Q against
// Boost's fisher_f and the closed form at 2 and 2 degrees of freedom, F
// against the quantile, and DFN and DFD substituted back.
#include "stats/distfuncs/distfuncs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <boost/math/distributions/fisher_f.hpp>

#include "oracle_helpers.h"

namespace {

using oracle::rel_err;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
// Marks a value the routine must not write.
constexpr double kUntouched = -77.0;

// A call of cdff: its arguments, then the status and bound it gave (in a
// table row, should give).  The unknown is passed as not-a-number: it must
// be neither read nor checked.
struct Call {
  int which;
  double p, q, f, dfn, dfd;
  int status = -99;
  double bound = kUntouched;
};

Call run(Call c) {
  c.bound = kUntouched;
  numlib::cdff(&c.which, &c.p, &c.q, &c.f, &c.dfn, &c.dfd, &c.status, &c.bound);
  return c;
}

double boost_p(double f, double dfn, double dfd) { return cdf(boost::math::fisher_f(dfn, dfd), f); }
double boost_q(double f, double dfn, double dfd) {
  return cdf(complement(boost::math::fisher_f(dfn, dfd), f));
}

TEST(Cdff, StatusAndBound) {
  const struct {
    const char* what;
    Call call;
  } rows[] = {
      {"which too small", {0, .5, .5, 1, 1, 1, -1, 1.0}},
      {"which too large", {5, .5, .5, 1, 1, 1, -1, 4.0}},
      {"P below 0", {2, -.1, .5, kNaN, 1, 1, -2, 0.0}},
      {"P above 1", {3, 1.1, .5, 1, kNaN, 1, -2, 1.0}},
      {"P not a number", {4, kNaN, .5, 1, 1, kNaN, -2, 0.0}},
      {"Q zero", {2, 1, 0, kNaN, 1, 1, -3, 0.0}},
      {"Q above 1", {3, .5, 1.5, 1, kNaN, 1, -3, 1.0}},
      {"Q not a number", {2, .5, kNaN, kNaN, 1, 1, -3, 0.0}},
      {"F negative", {1, kNaN, kNaN, -1, 1, 1, -4, 0.0}},
      {"F not a number", {3, .5, .5, kNaN, kNaN, 1, -4, 0.0}},
      {"DFN zero", {1, kNaN, kNaN, 1, 0, 1, -5, 0.0}},
      {"DFN not a number", {4, .5, .5, 1, kNaN, kNaN, -5, 0.0}},
      {"DFD negative", {2, .5, .5, kNaN, 1, -1, -6, 0.0}},
      {"DFD not a number", {1, kNaN, kNaN, 1, 1, kNaN, -6, 0.0}},
      {"P + Q above 1", {2, .3, .8, kNaN, 1, 1, 3, 1.0}},
      {"P + Q below 1", {4, .3, .6, 1, 1, kNaN, 3, 1.0}},
      {"P = 0 passes", {2, 0, 1, kNaN, 2, 3, 0, kUntouched}},
      {"which 1 ignores P and Q", {1, -5, 0, 1, 1, 1, 0, kUntouched}},
      {"which 2 ignores F", {2, .3, .7, -1, 1, 1, 0, kUntouched}},
      // DFN or DFD infinite passes its check; the incomplete beta ratio
      // refuses it (or the not-a-number that dfd/(dfd + dfn f) gives).
      {"infinite DFN", {1, kNaN, kNaN, 1, kInf, 2, 10, kUntouched}},
      {"infinite DFD", {1, kNaN, kNaN, 1, 2, kInf, 10, kUntouched}},
      {"infinite DFD in the F search", {2, .3, .7, kNaN, 2, kInf, 10, kUntouched}},
      // P(F <= 1) tends to 1 as DFN tends to 0, and to 0 as DFD does.
      {"DFN search fails low", {3, 1, 1e-310, 1, kNaN, 1, 1, 1e-300}},
      {"DFN search fails high", {3, .01, .99, 1, kNaN, 1, 2, 1e300}},
      {"DFD search fails low", {4, 1e-310, 1, 1, 1, kNaN, 1, 1e-300}},
      {"DFD search fails high", {4, .99, .01, 1, 1, kNaN, 2, 1e300}},
      // Two bad arguments: the first checked is reported.
      {"which and P bad", {5, -.1, .5, 1, 1, 1, -1, 4.0}},
      {"P and Q bad", {2, -.1, 0, kNaN, 1, 1, -2, 0.0}},
      {"Q and F bad", {3, .5, 1.5, -1, kNaN, 1, -3, 1.0}},
      {"F and DFN bad", {4, .5, .5, -1, 0, kNaN, -4, 0.0}},
      {"DFN and DFD bad", {1, kNaN, kNaN, 1, 0, -1, -5, 0.0}},
      {"DFD bad, P + Q off", {2, .3, .8, kNaN, 1, 0, -6, 0.0}},
  };
  for (const auto& r : rows) {
    const Call c = run(r.call);
    EXPECT_EQ(c.status, r.call.status) << r.what;
    EXPECT_EQ(c.bound, r.call.bound) << r.what;
  }
}

TEST(Cumf, MatchesBoostAndTheClosedForm) {
  // Both branches of the pair (xx above and below 1/2) and both tails to
  // 1e-12 relative where Boost's exceed the underflow threshold.
  for (double dfn : {0.1, 1.0, 2.0, 7.5, 60.0, 1e4})
    for (double dfd : {0.3, 1.0, 4.0, 25.0, 1e3})
      for (double f : {1e-6, 0.01, 0.3, 0.9, 1.0, 1.1, 3.0, 50.0, 1e6}) {
        const double bp = boost_p(f, dfn, dfd), bq = boost_q(f, dfn, dfd);
        double cum = 0, ccum = 0;
        numlib::cumf(&f, &dfn, &dfd, &cum, &ccum);
        if (bp > 1e-290) {
          EXPECT_LE(rel_err(cum, bp), 1e-12) << f << " " << dfn << " " << dfd;
        }
        if (bq > 1e-290) {
          EXPECT_LE(rel_err(ccum, bq), 1e-12) << f << " " << dfn << " " << dfd;
        }
        // cdff's which 1 is cumf.
        const Call c = run({1, kNaN, kNaN, f, dfn, dfd});
        EXPECT_TRUE(c.status == 0 && c.p == cum && c.q == ccum) << f << " " << dfn << " " << dfd;
      }
  // Two and two degrees of freedom: P = f / (1 + f), Q = 1 / (1 + f).
  for (double f : {1e-9, 0.25, 1.0, 3.0, 1e9}) {
    const Call c = run({1, kNaN, kNaN, f, 2, 2});
    EXPECT_LE(rel_err(c.p, f / (1 + f)), 1e-14) << f;
    EXPECT_LE(rel_err(c.q, 1 / (1 + f)), 1e-14) << f;
  }
  // F = 0 and below: the ends, without the ratio.
  for (double f : {0.0, -1.0}) {
    double dfn = kNaN, dfd = kNaN, cum = -1, ccum = -1;
    numlib::cumf(&f, &dfn, &dfd, &cum, &ccum);
    EXPECT_TRUE(cum == 0 && ccum == 1) << f;
  }
}

TEST(Cdff, InverseForF) {
  for (double dfn : {0.5, 1.0, 2.0, 9.0, 120.0})
    for (double dfd : {0.7, 2.0, 10.0, 500.0})
      for (double p : {1e-6, 0.01, 0.3, 0.5, 0.8, 0.99, 1.0 - 1e-9}) {
        const Call c = run({2, p, 0.5 + (0.5 - p), kNaN, dfn, dfd});
        ASSERT_EQ(c.status, 0) << p << " " << dfn << " " << dfd;
        const double want = quantile(boost::math::fisher_f(dfn, dfd), p);
        EXPECT_LE(rel_err(c.f, want), 1e-7) << p << " " << dfn << " " << dfd;
      }
  // The median of F(2, 2) is 1.
  EXPECT_LE(rel_err(run({2, 0.5, 0.5, kNaN, 2, 2}).f, 1.0), 1e-8);
}

TEST(Cdff, InverseForDegreesOfFreedom) {
  // P from Boost at known degrees of freedom; each is found again to the
  // search's relative 1e-8.  The search assumes P monotone in the unknown,
  // which P(F <= f) is not everywhere: DFN is sought below f = 1, where P
  // falls as DFN grows, and DFD above, with few numerator degrees of
  // freedom, where P rises with DFD.
  for (double dfd : {0.7, 3.0, 20.0, 200.0}) {
    for (double dfn : {0.5, 2.5, 20.0})
      for (double f : {0.2, 0.5, 0.8}) {
        const Call c = run({3, boost_p(f, dfn, dfd), boost_q(f, dfn, dfd), f, kNaN, dfd});
        EXPECT_EQ(c.status, 0) << f << " " << dfn << " " << dfd;
        EXPECT_LE(rel_err(c.dfn, dfn), 1e-7) << f << " " << dfn << " " << dfd;
      }
    for (double dfn : {0.5, 1.0, 4.0})
      for (double f : {1.5, 6.0}) {
        const Call c = run({4, boost_p(f, dfn, dfd), boost_q(f, dfn, dfd), f, dfn, kNaN});
        EXPECT_EQ(c.status, 0) << f << " " << dfn << " " << dfd;
        EXPECT_LE(rel_err(c.dfd, dfd), 1e-7) << f << " " << dfn << " " << dfd;
      }
  }
}

}  // namespace
