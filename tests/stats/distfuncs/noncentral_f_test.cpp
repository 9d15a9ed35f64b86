// The noncentral F distribution function: its status and bound table, P
// against Boost's non_central_f, the central branch against cdff, the
// inverses substituted back, and sums that end on a not-a-number argument
// or a noncentrality too large for them.
#include "stats/distfuncs/distfuncs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <boost/math/distributions/non_central_f.hpp>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
// Marks a value the routine must not write.
constexpr double kUntouched = -77.0;

// A call of cdffnc: its arguments, then the status and bound it gave (in a
// table row, should give).  Q is only written; the unknown is passed as
// not-a-number: it must be neither read nor checked.
struct Call {
  int which;
  double p, f, dfn, dfd, pnonc;
  int status = -99;
  double bound = kUntouched;
  double q = kUntouched;
};

Call run(Call c) {
  c.bound = kUntouched;
  numlib::cdffnc(&c.which, &c.p, &c.q, &c.f, &c.dfn, &c.dfd, &c.pnonc, &c.status, &c.bound);
  return c;
}

double boost_p(double f, double dfn, double dfd, double pnonc) {
  return cdf(boost::math::non_central_f(dfn, dfd, pnonc), f);
}

TEST(Cdffnc, StatusAndBound) {
  const struct {
    const char* what;
    Call call;
  } rows[] = {
      {"which too small", {0, .5, 1, 1, 1, 1, -1, 1.0}},
      {"which too large", {6, .5, 1, 1, 1, 1, -1, 5.0}},
      {"P below 0", {2, -.1, kNaN, 1, 1, 1, -2, 0.0}},
      {"P = 1", {3, 1, 1, kNaN, 1, 1, -2, 0.9999999999999999}},
      {"P not a number", {5, kNaN, 1, 1, 1, kNaN, -2, 0.0}},
      {"F negative", {1, kNaN, -1, 1, 1, 1, -4, 0.0}},
      {"F not a number", {3, .5, kNaN, kNaN, 1, 1, -4, 0.0}},
      {"DFN zero", {1, kNaN, 1, 0, 1, 1, -5, 0.0}},
      {"DFN not a number", {4, .5, 1, kNaN, kNaN, 1, -5, 0.0}},
      {"DFD negative", {2, .5, kNaN, 1, -1, 1, -6, 0.0}},
      {"DFD not a number", {5, .5, 1, 1, kNaN, kNaN, -6, 0.0}},
      {"PNONC negative", {2, .5, kNaN, 1, 1, -1e-300, -7, 0.0}},
      {"PNONC not a number", {1, kNaN, 1, 1, 1, kNaN, -7, 0.0}},
      {"which 1 ignores P", {1, -5, 1, 1, 1, 1, 0, kUntouched}},
      {"P = 0 passes", {2, 0, kNaN, 1, 1, 1, 0, kUntouched}},
      {"which 2 ignores F", {2, .5, -1, 1, 1, 1, 0, kUntouched}},
      {"which 5 ignores PNONC", {5, .2, 1, 1, 1, -1, 0, kUntouched}},
      // An argument that passes its check but defeats the sums.
      {"infinite DFN", {1, kNaN, 1, kInf, 1, 1, 10, kUntouched}},
      {"infinite DFN, F sought", {2, .5, kNaN, kInf, 1, 1, 10, kUntouched}},
      {"infinite DFN, PNONC sought", {5, .5, 1, kInf, 1, kNaN, 10, kUntouched}},
      // PNONC up to 1000: beyond, the sums may leave P more than 1e-3 off.
      {"PNONC 1000", {1, kNaN, 1e20, 1, 1, 1e3, 0, kUntouched}},
      {"PNONC above 1000", {1, kNaN, 1, 1, 1, 1000.0000000000001, -7, 1e3}},
      {"infinite PNONC", {1, kNaN, 1, 1, 1, kInf, -7, 1e3}},
      {"PNONC 1e16", {1, kNaN, 1e20, 1, 1, 1e16, -7, 1e3}},
      {"PNONC 1e16, F sought", {2, .5, kNaN, 1, 1, 1e16, -7, 1e3}},
      {"PNONC 1e16, DFN sought", {3, .5, 1, kNaN, 1, 1e16, -7, 1e3}},
      {"DFD bad before PNONC", {2, .5, kNaN, 1, 0, 1e16, -6, 0.0}},
      // P falls as PNONC grows: 0.5 at F = 1 and PNONC = 0 for DFN = DFD;
      // at F = 1e6, 0.974 at PNONC 1000 and 0.917 at 10000; at F = 3, 0.37
      // at PNONC 3.
      {"PNONC search fails low", {5, .99, 1, 1, 1, kNaN, 1, 0.0}},
      {"PNONC search ends at its cap", {5, .9, 1e6, 1, 1, kNaN, 2, 1e3}},
      {"PNONC answer between 1000 and 10000", {5, .95, 1e6, 1, 1, kNaN, 2, 1e3}},
      {"PNONC answer below 1000", {5, .19, 3, 1, 1, kNaN, 0, kUntouched}},
      // P at F = 1, DFD = 1, PNONC = 1 falls from e^-1/2 = 0.61 at DFN = 0
      // to 0.32; at F = 5 it rises from 0.61 to 0.66.
      {"DFN search fails low", {3, .99, 1, kNaN, 1, 1, 1, 1e-300}},
      {"DFN search fails high", {3, .99, 5, kNaN, 1, 1, 2, 1e300}},
      {"DFD search fails high", {4, .99, 1, 1, kNaN, 1, 2, 1e300}},
      // Two bad arguments: the first checked is reported.
      {"which and P bad", {0, -.1, 1, 1, 1, 1, -1, 1.0}},
      {"P and F bad", {3, 1, -1, kNaN, 1, 1, -2, 0.9999999999999999}},
      {"F and DFN bad", {4, .5, -1, 0, kNaN, 1, -4, 0.0}},
      {"DFN and DFD bad", {5, .5, 1, 0, -1, kNaN, -5, 0.0}},
      {"DFD and PNONC bad", {2, .5, kNaN, 1, 0, -1, -6, 0.0}},
  };
  for (const auto& r : rows) {
    const Call c = run(r.call);
    EXPECT_EQ(c.status, r.call.status) << r.what;
    EXPECT_EQ(c.bound, r.call.bound) << r.what;
    // Q is written by which 1 alone, and not when an argument is refused.
    EXPECT_EQ(c.q == kUntouched, c.which != 1 || c.status < 0) << r.what;
  }
}

TEST(Cdffnc, AtFZeroPIsZeroAndQOne) {
  for (double pnonc : {1e-10, 3.0, 1e3})
    for (double dfn : {1e-300, 0.5, 40.0}) {
      const Call c = run({1, kNaN, 0.0, dfn, 2.0, pnonc});
      EXPECT_TRUE(c.status == 0 && c.p == 0.0 && c.q == 1.0) << pnonc << " " << dfn;
    }
}

TEST(Cdffnc, CentralBranchIsCdff) {
  // Up to PNONC = 1e-10 (exclusive) exactly the central distribution.
  for (double pnonc : {0.0, 1e-11, 0.99e-10})
    for (double dfn : {0.5, 3.0, 40.0})
      for (double dfd : {0.7, 5.0, 300.0})
        for (double f : {0.0, 0.05, 0.9, 1.0, 4.0, 1e3}) {
          const Call c = run({1, kNaN, f, dfn, dfd, pnonc});
          double cum = 0, ccum = 0;
          numlib::cumf(&f, &dfn, &dfd, &cum, &ccum);
          EXPECT_TRUE(c.status == 0 && c.p == cum && c.q == ccum) << pnonc << " " << f;
        }
}

TEST(Cdffnc, MatchesBoostAndItsInversesSubstituteBack) {
  // The sums stop on a relative term of 1e-4: absolute accuracy only, about
  // 4e-4 at PNONC = 300.  PNONC below 2 sums from the central index 1.
  for (double pnonc : {1e-10, 0.5, 1.5, 3.0, 10.0, 45.0, 300.0})
    for (double dfn : {0.5, 1.0, 4.0, 30.0})
      for (double dfd : {0.7, 3.0, 20.0, 200.0})
        for (double m : {0.1, 0.5, 1.0, 2.0, 5.0, 30.0}) {
          // F around the mean of the numerator, 1 + PNONC/DFN.
          const double f = m * (1 + pnonc / dfn);
          const Call c = run({1, kNaN, f, dfn, dfd, pnonc});
          ASSERT_EQ(c.status, 0) << pnonc << " " << dfn << " " << dfd << " " << f;
          EXPECT_NEAR(c.p, boost_p(f, dfn, dfd, pnonc), 1e-3) << pnonc << " " << dfn << " " << f;
          EXPECT_EQ(c.q, 0.5 + (0.5 - c.p));
          if (c.p < 1e-3 || c.p > 0.999) continue;
          // F and PNONC, in which P is monotone, are found to relative 1e-8;
          // P there moves by far less than 1e-6.  F agrees with Boost's
          // quantile as far as P's absolute accuracy goes.
          const Call cf = run({2, c.p, kNaN, dfn, dfd, pnonc});
          ASSERT_EQ(cf.status, 0) << pnonc << " " << dfn << " " << dfd << " " << f;
          EXPECT_NEAR(run({1, kNaN, cf.f, dfn, dfd, pnonc}).p, c.p, 1e-6) << f;
          EXPECT_NEAR(boost_p(cf.f, dfn, dfd, pnonc), c.p, 1e-3) << f;
          if (pnonc < 0.5) continue;  // P hardly depends on PNONC there
          const Call cn = run({5, c.p, f, dfn, dfd, kNaN});
          ASSERT_EQ(cn.status, 0) << pnonc << " " << dfn << " " << dfd << " " << f;
          EXPECT_NEAR(run({1, kNaN, f, dfn, dfd, cn.pnonc}).p, c.p, 1e-6) << f;
        }
}

TEST(Cdffnc, InverseForDegreesOfFreedomSubstitutesBack) {
  // P is not monotone in DFN or DFD everywhere.  At F twice and five times
  // the numerator's mean and few denominator degrees of freedom the
  // searches from 5.0 find a solution wherever P at the two ends of the
  // range lies on either side of the target, and otherwise end at a limit:
  // at PNONC 1.5, DFN 4, DFD 0.7, twice the mean, P falls from e^-3/4 =
  // 0.4724 at DFN 0 to 0.425 and rises back to 0.4720, above the target
  // 0.4508 at both ends.
  int found = 0;
  for (double pnonc : {1.5, 45.0, 300.0})
    for (double dfn : {0.5, 1.0, 4.0, 30.0})
      for (double dfd : {0.7, 3.0})
        for (double m : {2.0, 5.0}) {
          const double f = m * (1 + pnonc / dfn);
          const double p = run({1, kNaN, f, dfn, dfd, pnonc}).p;
          const auto brackets = [p](double at_low, double at_high) {
            return (at_low < p) != (at_high < p);
          };
          const Call cn = run({3, p, f, kNaN, dfd, pnonc});
          if (brackets(run({1, kNaN, f, 1e-300, dfd, pnonc}).p,
                       run({1, kNaN, f, 1e300, dfd, pnonc}).p)) {
            ASSERT_EQ(cn.status, 0) << pnonc << " " << dfn << " " << dfd << " " << m;
            EXPECT_NEAR(run({1, kNaN, f, cn.dfn, dfd, pnonc}).p, p, 1e-6) << pnonc << " " << dfn;
            ++found;
          } else {
            EXPECT_TRUE(cn.status == 1 || cn.status == 2) << pnonc << " " << dfn << " " << dfd;
          }
          const Call cd = run({4, p, f, dfn, kNaN, pnonc});
          if (brackets(run({1, kNaN, f, dfn, 1e-300, pnonc}).p,
                       run({1, kNaN, f, dfn, 1e300, pnonc}).p)) {
            ASSERT_EQ(cd.status, 0) << pnonc << " " << dfn << " " << dfd << " " << m;
            EXPECT_NEAR(run({1, kNaN, f, dfn, cd.dfd, pnonc}).p, p, 1e-6) << pnonc << " " << dfd;
            ++found;
          } else {
            EXPECT_TRUE(cd.status == 1 || cd.status == 2) << pnonc << " " << dfn << " " << dfd;
          }
        }
  EXPECT_GE(found, 80);
}

TEST(Cumfnc, NotANumberEndsTheSums) {
  // The sums have no iteration limit: each of these must return, with a P
  // that is not a number.
  const double rows[][4] = {
      {kNaN, 1, 1, 1}, {1, kNaN, 1, 1}, {1, 1, kNaN, 1}, {1, 1, 1, kNaN}, {1, 1, 1, kInf}};
  for (const auto& r : rows) {
    double cum = 0, ccum = 0;
    numlib::cumfnc(&r[0], &r[1], &r[2], &r[3], &cum, &ccum);
    EXPECT_TRUE(std::isnan(cum)) << &r - rows;
  }
}

TEST(Cdffnc, HugeNoncentralityIsRefusedAndEndsTheSums) {
  // PNONC beyond 1000 is out of range.  Beyond about 1e16 the indices of
  // the sums no longer change by one and P comes out anywhere; cumfnc,
  // which has no iteration limit, must still return, from a tiny F (where
  // its terms underflow and the floor is waived while they rise) as from a
  // huge one.
  for (double pnonc : {1e16, 1e20, 1e300})
    for (double dfn : {1.0, 3.0, 100.0})
      for (double dfd : {1.0, 5.0, 1e3})
        for (double f = 1e-300; f < 1e300; f *= 1e20) {
          const Call c = run({1, kNaN, f, dfn, dfd, pnonc});
          EXPECT_TRUE(c.status == -7 && c.bound == 1e3) << pnonc << " " << f;
          double cum = 0, ccum = 0;
          numlib::cumfnc(&f, &dfn, &dfd, &pnonc, &cum, &ccum);
        }
}

}  // namespace
