// The binomial and negative binomial distribution functions: their status
// and bound tables side by side, P and Q against the incomplete beta ratio
// of Boost (through which Boost's own distributions take real S and XN),
// closed forms, and the inverses substituted back or against ibeta_inv.
#include "stats/distfuncs/distfuncs.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include <boost/math/distributions/binomial.hpp>
#include <boost/math/special_functions/beta.hpp>

#include "oracle_helpers.h"

namespace {

using oracle::rel_err;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kEps = std::numeric_limits<double>::epsilon();
// Marks a bound the routine must not write.
constexpr double kUntouched = -77.0;
// A search that does not end is stopped by this alarm in a child process.
// The slowest row takes some 550 evaluations of the incomplete beta ratio,
// well under a second even in the sanitizer build.
constexpr unsigned kAlarmSeconds = 10;

using Cdf = void (*)(int*, double*, double*, double*, double*, double*, double*, int*, double*);

struct Call {
  int which;
  double p, q, s, xn, pr, ompr;
  int status = -99;
  double bound = kUntouched;
};

Call call(Cdf f, int which, double p, double q, double s, double xn, double pr, double ompr) {
  Call c{which, p, q, s, xn, pr, ompr};
  f(&c.which, &c.p, &c.q, &c.s, &c.xn, &c.pr, &c.ompr, &c.status, &c.bound);
  return c;
}

// P(X <= s) and P(X > s) of the binomial and P(X <= s) of the negative
// binomial, real s and xn.
double binomial_p(double s, double xn, double pr) {
  return s >= xn ? 1.0 : boost::math::ibetac(s + 1.0, xn - s, pr);
}
double binomial_q(double s, double xn, double pr) {
  return s >= xn ? 0.0 : boost::math::ibeta(s + 1.0, xn - s, pr);
}
double negative_binomial_p(double s, double xn, double pr) {
  return boost::math::ibeta(xn, s + 1.0, pr);
}

TEST(CdfbinCdfnbn, StatusAndBound) {
  struct Row {
    const char* what;
    int which;
    double p, q, s, xn, pr, ompr;
    int bin_status;
    double bin_bound;  // kUntouched: not written
    int nbn_status;
    double nbn_bound;
  };
  const double u = kUntouched;
  const Row rows[] = {
      {"which too small", 0, 0.5, 0.5, 3, 10, 0.5, 0.5, -1, 1, -1, 1},
      {"which too large", 5, 0.5, 0.5, 3, 10, 0.5, 0.5, -1, 4, -1, 4},
      {"P negative", 2, -0.1, 0.5, 3, 10, 0.5, 0.5, -2, 0, -2, 0},
      {"P above 1", 3, 1.1, 0.5, 3, 10, 0.5, 0.5, -2, 1, -2, 1},
      {"P not a number", 4, kNaN, 0.5, 3, 10, 0.5, 0.5, -2, 0, -2, 0},
      {"Q negative", 2, 0.5, -0.1, 3, 10, 0.5, 0.5, -3, 0, -3, 0},
      {"Q above 1", 2, 0.5, 1.1, 3, 10, 0.5, 0.5, -3, 1, -3, 1},
      {"Q not a number", 3, 0.5, kNaN, 3, 10, 0.5, 0.5, -3, 0, -3, 0},
      {"Q zero", 2, 1.0, 0.0, 3, 10, 0.5, 0.5, 0, u, -3, 0},
      {"XN zero", 1, 0.5, 0.5, 0, 0, 0.5, 0.5, -5, 0, 0, u},
      {"XN negative", 2, 0.5, 0.5, 3, -1, 0.5, 0.5, -5, 0, -5, 0},
      {"XN not a number", 1, 0.5, 0.5, 3, kNaN, 0.5, 0.5, -5, 0, -5, 0},
      {"XN infinite", 4, 0.5, 0.5, 3, kInf, 0.5, 0.5, -5, kMax, -5, kMax},
      {"S negative", 1, 0.5, 0.5, -1, 10, 0.5, 0.5, -4, 0, -4, 0},
      {"S not a number", 1, 0.5, 0.5, kNaN, 10, 0.5, 0.5, -4, 0, -4, 0},
      {"S not a number, which 3", 3, 0.5, 0.5, kNaN, 10, 0.5, 0.5, -4, 0, -4, 0},
      {"S above XN", 1, 0.5, 0.5, 11, 10, 0.5, 0.5, -4, 10, 0, u},
      {"S above XN, which 4", 4, 0.5, 0.5, 11, 10, 0.5, 0.5, -4, 10, 0, u},
      {"S above XN, XN sought", 3, 0.5, 0.5, 11, 10, 0.5, 0.5, 0, u, 0, u},
      {"S infinite, XN sought", 3, 0.5, 0.5, kInf, 10, 0.5, 0.5, -4, kMax, -4, kMax},
      {"PR negative", 1, 0.5, 0.5, 3, 10, -0.5, 0.5, -6, 0, -6, 0},
      {"PR above 1", 2, 0.5, 0.5, 3, 10, 1.5, 0.5, -6, 1, -6, 1},
      {"PR not a number", 3, 0.5, 0.5, 3, 10, kNaN, 0.5, -6, 0, -6, 0},
      {"OMPR negative", 1, 0.5, 0.5, 3, 10, 0.5, -0.5, -7, 0, -7, 0},
      {"OMPR above 1", 2, 0.5, 0.5, 3, 10, 0.5, 1.5, -7, 1, -7, 1},
      {"OMPR not a number", 3, 0.5, 0.5, 3, 10, 0.5, kNaN, -7, 0, -7, 0},
      {"P + Q above 1", 2, 0.5, 0.5 + 4 * kEps, 3, 10, 0.5, 0.5, 3, 1, 3, 1},
      {"P + Q just 1", 2, 0.5, 0.5 + kEps, 3, 10, 0.5, 0.5, 0, u, 0, u},
      {"PR + OMPR below 1", 1, 0.5, 0.5, 3, 10, 0.3, 0.6, 4, 1, 4, 1},
      {"PR + OMPR above 1", 3, 0.5, 0.5, 3, 10, 0.5, 0.5 + 4 * kEps, 4, 1, 4, 1},
      {"which 1 ignores P and Q", 1, kNaN, -2, 3, 10, 0.5, 0.5, 0, u, 0, u},
      {"which 2 ignores S", 2, 0.5, 0.5, kNaN, 10, 0.5, 0.5, 0, u, 0, u},
      {"which 3 ignores XN", 3, 0.5, 0.5, 3, kNaN, 0.5, 0.5, 0, u, 0, u},
      {"which 4 ignores PR and OMPR", 4, 0.5, 0.5, 3, 10, kNaN, -1, 0, u, 0, u},
      // The search for S starts inside [0, XN] when XN < 5.
      {"S sought, XN below the start", 2, 0.3, 0.7, 0, 3, 0.5, 0.5, 0, u, 0, u},
      {"S search fails low: P(X <= 0) above P", 2, 0.01, 0.99, 0, 3, 0.5, 0.5, 1, 0, 1, 0},
      {"PR search fails: S = XN gives P = 1 for every PR", 4, 0.3, 0.7, 10, 10, 0, 0, 2, 1, 0, u},
      // Two bad arguments: the first checked is reported.  XN comes before
      // S, and S's bound XN before PR.
      {"which and P bad", 0, -0.1, 0.5, 3, 10, 0.5, 0.5, -1, 1, -1, 1},
      {"P and Q bad", 2, 1.1, -0.1, 3, 10, 0.5, 0.5, -2, 1, -2, 1},
      {"Q and XN bad", 2, 0.5, 1.5, 3, -1, 0.5, 0.5, -3, 1, -3, 1},
      {"XN and S bad", 1, 0.5, 0.5, -1, -1, 0.5, 0.5, -5, 0, -5, 0},
      {"S and PR bad", 1, 0.5, 0.5, -1, 10, 1.5, 0.5, -4, 0, -4, 0},
      {"S above XN and PR bad", 1, 0.5, 0.5, 11, 10, -0.5, 0.5, -4, 10, -6, 0},
      {"PR and OMPR bad", 3, 0.5, 0.5, 3, 10, 1.5, -0.5, -6, 1, -6, 1},
      {"OMPR bad, P + Q off", 2, 0.3, 0.8, 3, 10, 0.5, 1.5, -7, 1, -7, 1},
      {"P + Q and PR + OMPR off", 3, 0.3, 0.8, 3, 10, 0.3, 0.6, 3, 1, 3, 1},
  };
  for (const Row& r : rows) {
    Call c = call(numlib::cdfbin, r.which, r.p, r.q, r.s, r.xn, r.pr, r.ompr);
    EXPECT_EQ(c.status, r.bin_status) << "cdfbin: " << r.what;
    EXPECT_EQ(c.bound, r.bin_bound) << "cdfbin: " << r.what;
    c = call(numlib::cdfnbn, r.which, r.p, r.q, r.s, r.xn, r.pr, r.ompr);
    EXPECT_EQ(c.status, r.nbn_status) << "cdfnbn: " << r.what;
    EXPECT_EQ(c.bound, r.nbn_bound) << "cdfnbn: " << r.what;
  }
  // The search for S stays within [0, XN].
  const Call c = call(numlib::cdfbin, 2, 0.3, 0.7, 0.0, 3.0, 0.5, 0.5);
  EXPECT_GE(c.s, 0.0);
  EXPECT_LE(c.s, 3.0);
}

TEST(CdfbinCdfnbn, ClosedForms) {
  // P(X <= 3) of 10 fair trials: (1 + 10 + 45 + 120) / 1024
  Call c = call(numlib::cdfbin, 1, 0, 0, 3, 10, 0.5, 0.5);
  EXPECT_LE(rel_err(c.p, 176.0 / 1024.0), 1e-14);
  EXPECT_LE(rel_err(c.q, 848.0 / 1024.0), 1e-14);
  struct Row {
    const char* what;
    Cdf f;
    double s, xn, pr, p;
  };
  const double pr = 0.375, ompr = 0.625;
  const Row rows[] = {
      {"binomial, S = XN", numlib::cdfbin, 4.5, 4.5, pr, 1.0},
      {"binomial, S = XN - 1", numlib::cdfbin, 6, 7, pr, 1.0 - std::pow(pr, 7)},
      {"binomial, PR = 0", numlib::cdfbin, 2, 7, 0.0, 1.0},
      {"binomial, PR = 1", numlib::cdfbin, 2, 7, 1.0, 0.0},
      // The geometric distribution, real S included.
      {"geometric", numlib::cdfnbn, 4, 1, pr, 1.0 - std::pow(ompr, 5)},
      {"geometric, real S", numlib::cdfnbn, 2.5, 1, pr, 1.0 - std::pow(ompr, 3.5)},
      {"negative binomial, XN = 0", numlib::cdfnbn, 3, 0, pr, 1.0},
      {"negative binomial, PR = 0", numlib::cdfnbn, 3, 2, 0.0, 0.0},
      {"negative binomial, PR = 1", numlib::cdfnbn, 3, 2, 1.0, 1.0},
  };
  for (const Row& r : rows) {
    c = call(r.f, 1, kNaN, kNaN, r.s, r.xn, r.pr, 0.5 + (0.5 - r.pr));
    EXPECT_EQ(c.status, 0) << r.what;
    EXPECT_LE(rel_err(c.p, r.p), 1e-14) << r.what;
    EXPECT_LE(rel_err(c.q, 0.5 + (0.5 - r.p)), 1e-14) << r.what;
  }
}

TEST(CdfbinCdfnbn, TailProbabilitiesMatchBoost) {
  for (double xn : {1.0, 2.5, 10.0, 37.0, 400.0})
    for (double frac : {0.0, 0.1, 0.35, 0.5, 0.8, 0.99})
      for (double pr : {0.01, 0.25, 0.5, 0.6, 0.9}) {
        const double s = std::floor(frac * xn) + (xn == 2.5 ? 0.25 : 0.0);
        const std::string where =
            std::to_string(s) + ", " + std::to_string(xn) + ", " + std::to_string(pr);
        Call c = call(numlib::cdfbin, 1, 0, 0, s, xn, pr, 1.0 - pr);
        // Boost's own binomial for whole S and XN, the same ratio for real.
        const boost::math::binomial whole(xn, pr);
        const bool real = xn == 2.5;
        const double bp = real ? binomial_p(s, xn, pr) : boost::math::cdf(whole, s);
        const double bq =
            real ? binomial_q(s, xn, pr) : boost::math::cdf(boost::math::complement(whole, s));
        EXPECT_LE(rel_err(c.p, bp), 1e-12) << "binomial " << where;
        EXPECT_LE(rel_err(c.q, bq), 1e-12) << "binomial " << where;
        c = call(numlib::cdfnbn, 1, 0, 0, s, xn, pr, 1.0 - pr);
        EXPECT_LE(rel_err(c.p, negative_binomial_p(s, xn, pr)), 1e-12) << "negative " << where;
        EXPECT_LE(rel_err(c.q, boost::math::ibetac(xn, s + 1.0, pr)), 1e-12)
            << "negative " << where;
      }
}

TEST(CdfbinCdfnbn, Inverses) {
  struct Case {
    double s, xn, pr;
  };
  const Case cases[] = {{0.5, 3, 0.5},  {3, 10, 0.5},   {2.25, 8, 0.125},
                        {30, 100, 0.4}, {7, 12.5, 0.9}, {250, 1000, 0.2}};
  // Each family: its routine and P, which rises with S and falls with XN.
  struct Family {
    const char* name;
    Cdf f;
    double (*p)(double, double, double);
    bool binomial;
  };
  const Family families[] = {{"binomial", numlib::cdfbin, binomial_p, true},
                             {"negative binomial", numlib::cdfnbn, negative_binomial_p, false}};
  for (const Family& fam : families)
    for (const Case& k : cases) {
      const double p = fam.p(k.s, k.xn, k.pr), q = 1.0 - p;
      const double ompr = 1.0 - k.pr;
      const std::string where = std::string(fam.name) + " " + std::to_string(k.s) + ", " +
                                std::to_string(k.xn) + ", " + std::to_string(k.pr);
      // S and XN substituted back: P at 1e-7 relative either side brackets
      // the target (the search stops at 1e-8).
      Call c = call(fam.f, 2, p, q, 0, k.xn, k.pr, ompr);
      ASSERT_EQ(c.status, 0) << where;
      EXPECT_LE(fam.p(c.s * (1 - 1e-7), k.xn, k.pr), p) << where;
      EXPECT_GE(fam.p(c.s * (1 + 1e-7), k.xn, k.pr), p) << where;
      c = call(fam.f, 3, p, q, k.s, 0, k.pr, ompr);
      ASSERT_EQ(c.status, 0) << where;
      EXPECT_GE(fam.p(k.s, c.xn * (1 - 1e-7), k.pr), p) << where;
      EXPECT_LE(fam.p(k.s, c.xn * (1 + 1e-7), k.pr), p) << where;
      // PR and OMPR from the inverse incomplete beta ratio.
      c = call(fam.f, 4, p, q, k.s, k.xn, 0, 0);
      ASSERT_EQ(c.status, 0) << where;
      const double want = fam.binomial ? boost::math::ibeta_inv(k.s + 1, k.xn - k.s, q)
                                       : boost::math::ibeta_inv(k.xn, k.s + 1, p);
      EXPECT_LE(rel_err(c.pr, want), 1e-7) << where;
      // The member of the smaller tail is searched, the other its complement.
      if (p <= q) {
        EXPECT_EQ(c.ompr, 1.0 - c.pr) << where;
      } else {
        EXPECT_EQ(c.pr, 1.0 - c.ompr) << where;
      }
    }
}

TEST(CdfbinCdfnbn, SearchesEndAtTheLargestCounts) {
  // Where XN (or S) lies near the largest double the distribution is a
  // step at its mean to double precision (its width is some 1e-154 of
  // it), so the answer is the mean to the searches' 1e-8; 1e-7 allows the
  // zero finder's half-tolerance steps.  The S search on [0, XN] once never
  // ended once both ends of its bracket passed half the largest double.
  // Each row runs in a child process under an alarm.
  struct Row {
    const char* what;
    Cdf f;
    int which;
    double p, s, xn, pr;
    double want;  // the sought S, XN or PR
  };
  const double ompr_tiny = 0.5 + (0.5 - (1.0 - 1e-10));
  const Row rows[] = {
      {"binomial S, XN 1.7e308", numlib::cdfbin, 2, 0.3, 0, 1.7e308, 0.5, 0.85e308},
      {"binomial S, XN 1.6e308, PR 0.9", numlib::cdfbin, 2, 0.7, 0, 1.6e308, 0.9, 1.6e308 * 0.9},
      {"binomial S, XN 9e307, PR near 1", numlib::cdfbin, 2, 1e-10, 0, 9e307, 1.0 - 1e-10,
       9e307 * (1.0 - 1e-10)},
      {"binomial S, XN the largest double", numlib::cdfbin, 2, 0.5, 0, kMax, 0.5, kMax * 0.5},
      {"negative binomial S, XN the largest double", numlib::cdfnbn, 2, 0.3, 0, kMax, 1.0 - 1e-10,
       kMax * (ompr_tiny / (1.0 - 1e-10))},
      {"negative binomial PR, S = XN = 1.7e308", numlib::cdfnbn, 4, 0.5, 1.7e308, 1.7e308, 0, 0.5},
  };
  for (const Row& r : rows) {
    const auto run = [&r] {
      alarm(kAlarmSeconds);
      const Call c =
          call(r.f, r.which, r.p, 0.5 + (0.5 - r.p), r.s, r.xn, r.pr, 0.5 + (0.5 - r.pr));
      const double got = r.which == 2 ? c.s : (r.which == 3 ? c.xn : c.pr);
      const bool right = c.status == 0 && rel_err(got, r.want) <= 1e-7;
      if (!right) std::fprintf(stderr, "status %d, answer %.17g\n", c.status, got);
      std::exit(right ? 0 : 1);
    };
    EXPECT_EXIT(run(), ::testing::ExitedWithCode(0), "") << r.what;
  }
}

TEST(CdfbinCdfnbn, ShapesWhoseSumOverflows) {
  // S + 1 + (XN - S), or XN + S + 1, beyond the largest double: P is the
  // step at the mean, 1/2 exactly at it.
  struct Row {
    const char* what;
    Cdf f;
    double s, xn, pr, p;
  };
  const Row rows[] = {
      {"binomial, S below the mean XN/2", numlib::cdfbin, 7.9247291937865875e307, kMax, 0.5, 0.0},
      {"binomial, S above the mean XN/2", numlib::cdfbin, 9e307, kMax, 0.5, 1.0},
      {"negative binomial, S below the mean", numlib::cdfnbn, 1.6e308, 1.7e308, 0.5, 0.0},
      {"negative binomial, S above the mean", numlib::cdfnbn, 1.7e308, 1.6e308, 0.5, 1.0},
      {"negative binomial, S at the mean", numlib::cdfnbn, 1.7e308, 1.7e308, 0.5, 0.5},
  };
  for (const Row& r : rows) {
    const Call c = call(r.f, 1, kNaN, kNaN, r.s, r.xn, r.pr, 0.5 + (0.5 - r.pr));
    EXPECT_EQ(c.status, 0) << r.what;
    EXPECT_EQ(c.p, r.p) << r.what;
    EXPECT_EQ(c.q, 1.0 - r.p) << r.what;
  }
}

}  // namespace
