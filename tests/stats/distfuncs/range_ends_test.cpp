// The distribution functions at the ends of their range: inverses of tails
// of 1e-200 and 1e-300, checked by substituting the answer into Boost.Math,
// and single cases where an underflowing product, an overflowing difference
// or an infinite argument once gave a wrong answer with status 0.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/gamma.hpp>

#include "oracle_helpers.h"
#include "stats/distfuncs/distfuncs.h"

namespace {

using oracle::rel_err;

// An inverse case: solve(p, q, &status) runs it and returns the answer;
// lower(u) is Boost's P at the answer u (Q being 1 - P, computed apart).
struct Inverse {
  const char* what;
  std::function<double(double p, double q, int* status)> solve;
  std::function<double(double u)> lower;
  std::function<double(double u)> upper;
};

// The searches stop within a relative 1e-8 of the answer: Boost's tail at
// the answer moved by 2e-8 either way must enclose the target.
void expect_encloses(const Inverse& inv, double p, double q) {
  const bool lower = p <= q;
  const double target = lower ? p : q;
  int status = -99;
  const double u = inv.solve(p, q, &status);
  const std::string where =
      std::string(inv.what) + (lower ? ", P = " : ", Q = ") + std::to_string(std::log10(target));
  ASSERT_EQ(status, 0) << where;
  const auto& tail = lower ? inv.lower : inv.upper;
  const double a = tail(u * (1.0 - 2e-8)), b = tail(u * (1.0 + 2e-8));
  EXPECT_LE(std::fmin(a, b), target * (1.0 + 1e-12)) << where << ": answer " << u;
  EXPECT_GE(std::fmax(a, b), target * (1.0 - 1e-12)) << where << ": answer " << u;
}

TEST(RangeEnds, TinyTailsThroughTheInverses) {
  using boost::math::gamma_p;
  using boost::math::gamma_q;
  using boost::math::ibeta;
  using boost::math::ibetac;
  const boost::math::students_t t2(2.0), t10(10.0);
  const boost::math::fisher_f f_300_50(300.0, 50.0);
  const Inverse inverses[] = {
      {"cdfchi X, DF 30",
       [](double p, double q, int* st) {
         int w = 2;
         double x = 0, df = 30, bound = 0;
         numlib::cdfchi(&w, &p, &q, &x, &df, st, &bound);
         return x;
       },
       [](double x) { return gamma_p(15.0, x / 2); },
       [](double x) { return gamma_q(15.0, x / 2); }},
      {"cdfchi DF, X 2000",
       [](double p, double q, int* st) {
         int w = 3;
         double x = 2000, df = 0, bound = 0;
         numlib::cdfchi(&w, &p, &q, &x, &df, st, &bound);
         return df;
       },
       [](double df) { return gamma_p(df / 2, 1000.0); },
       [](double df) { return gamma_q(df / 2, 1000.0); }},
      {"cdfgam SHAPE, X 1000, SCALE 1.5",
       [](double p, double q, int* st) {
         int w = 3;
         double x = 1000, shape = 0, scale = 1.5, bound = 0;
         numlib::cdfgam(&w, &p, &q, &x, &shape, &scale, st, &bound);
         return shape;
       },
       [](double a) { return gamma_p(a, 1500.0); }, [](double a) { return gamma_q(a, 1500.0); }},
      {"cdfpoi S, XLAM 2000",
       [](double p, double q, int* st) {
         int w = 2;
         double s = 0, xlam = 2000, bound = 0;
         numlib::cdfpoi(&w, &p, &q, &s, &xlam, st, &bound);
         return s;
       },
       [](double s) { return gamma_q(s + 1, 2000.0); },
       [](double s) { return gamma_p(s + 1, 2000.0); }},
      {"cdfpoi XLAM, S 100",
       [](double p, double q, int* st) {
         int w = 3;
         double s = 100, xlam = 0, bound = 0;
         numlib::cdfpoi(&w, &p, &q, &s, &xlam, st, &bound);
         return xlam;
       },
       [](double xlam) { return gamma_q(101.0, xlam); },
       [](double xlam) { return gamma_p(101.0, xlam); }},
      {"cdft T, DF 2",
       [](double p, double q, int* st) {
         int w = 2;
         double t = 0, df = 2, bound = 0;
         numlib::cdft(&w, &p, &q, &t, &df, st, &bound);
         return t;
       },
       [&t2](double t) { return cdf(t2, t); }, [&t2](double t) { return cdf(complement(t2, t)); }},
      {"cdft T, DF 10",
       [](double p, double q, int* st) {
         int w = 2;
         double t = 0, df = 10, bound = 0;
         numlib::cdft(&w, &p, &q, &t, &df, st, &bound);
         return t;
       },
       [&t10](double t) { return cdf(t10, t); },
       [&t10](double t) { return cdf(complement(t10, t)); }},
      {"cdfbet X (Y for Q), A 20, B 30",
       [](double p, double q, int* st) {
         int w = 2;
         double x = 0, y = 0, a = 20, b = 30, bound = 0;
         numlib::cdfbet(&w, &p, &q, &x, &y, &a, &b, st, &bound);
         return p <= q ? x : y;
       },
       [](double x) { return ibeta(20.0, 30.0, x); },
       [](double y) { return ibeta(30.0, 20.0, y); }},
      {"cdfbet A, X 0.4, B 3000",
       [](double p, double q, int* st) {
         int w = 3;
         double x = 0.4, y = 0.6, a = 0, b = 3000, bound = 0;
         numlib::cdfbet(&w, &p, &q, &x, &y, &a, &b, st, &bound);
         return a;
       },
       [](double a) { return ibeta(a, 3000.0, 0.4); },
       [](double a) { return ibetac(a, 3000.0, 0.4); }},
      {"cdfbet B, X 0.4, A 1000",
       [](double p, double q, int* st) {
         int w = 4;
         double x = 0.4, y = 0.6, a = 1000, b = 0, bound = 0;
         numlib::cdfbet(&w, &p, &q, &x, &y, &a, &b, st, &bound);
         return b;
       },
       [](double b) { return ibeta(1000.0, b, 0.4); },
       [](double b) { return ibetac(1000.0, b, 0.4); }},
      {"cdff F, DFN 300, DFD 50",
       [](double p, double q, int* st) {
         int w = 2;
         double f = 0, dfn = 300, dfd = 50, bound = 0;
         numlib::cdff(&w, &p, &q, &f, &dfn, &dfd, st, &bound);
         return f;
       },
       [&f_300_50](double f) { return cdf(f_300_50, f); },
       [&f_300_50](double f) { return cdf(complement(f_300_50, f)); }},
  };
  for (const Inverse& inv : inverses)
    for (const double tail : {1e-200, 1e-300}) {
      expect_encloses(inv, tail, 1.0 - tail);
      expect_encloses(inv, 1.0 - tail, tail);
    }
}

// Inverse cases of single rows: the searches once lost their bracket where
// the tails compared are below 1e-154, and the incomplete gamma ratio took
// P as 0 or 1 wherever SHAPE X underflowed.
TEST(RangeEnds, InversesOnceWrongWithStatusZero) {
  using boost::math::gamma_p;
  using boost::math::gamma_q;
  const boost::math::students_t t2(2.0);
  const struct {
    Inverse inv;
    double p;
    double q;
  } rows[] = {
      {{"cdfchi X, DF 10",
        [](double p, double q, int* st) {
          int w = 2;
          double x = 0, df = 10, bound = 0;
          numlib::cdfchi(&w, &p, &q, &x, &df, st, &bound);
          return x;  // 5.21e-40
        },
        [](double x) { return gamma_p(5.0, x / 2); }, nullptr},
       1e-200,
       1.0},
      {{"cdfpoi XLAM, S 3",
        [](double p, double q, int* st) {
          int w = 3;
          double s = 3, xlam = 0, bound = 0;
          numlib::cdfpoi(&w, &p, &q, &s, &xlam, st, &bound);
          return xlam;  // 477.24
        },
        [](double xlam) { return gamma_q(4.0, xlam); }, nullptr},
       1e-200,
       1.0},
      {{"cdft T, DF 2",
        [](double p, double q, int* st) {
          int w = 2;
          double t = 0, df = 2, bound = 0;
          numlib::cdft(&w, &p, &q, &t, &df, st, &bound);
          return t;
        },
        [&t2](double t) { return cdf(t2, t); }, nullptr},
       1e-300,
       1.0},
      {{"cdfchi DF, X 1e-284",
        [](double p, double q, int* st) {
          int w = 3;
          double x = 1e-284, df = 0, bound = 0;
          numlib::cdfchi(&w, &p, &q, &x, &df, st, &bound);
          return df;  // 3.06e-42
        },
        nullptr, [](double df) { return gamma_q(df / 2, 0.5e-284); }},
       1.0,
       1e-39},
  };
  for (const auto& r : rows) expect_encloses(r.inv, r.p, r.q);
}

// P and Q where SHAPE X underflows, and the normal family where X - MEAN,
// SD z or their sum overflows though the answer does not.
TEST(RangeEnds, ValuesOnceWrongWithStatusZero) {
  int which = 1, status = -99;
  double p = 0, q = 0, x = 1e-200, df = 1e-200, bound = 0;
  numlib::cdfchi(&which, &p, &q, &x, &df, &status, &bound);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(p, 1.0);
  EXPECT_LE(rel_err(q, boost::math::gamma_q(0.5e-200, 0.5e-200)), 1e-13);  // 2.3e-198

  const boost::math::normal std_normal;
  // X 1e308, MEAN -1e308, SD 1e308: z = 2.
  double mean = -1e308, sd = 1e308;
  x = 1e308;
  numlib::cdfnor(&which, &p, &q, &x, &mean, &sd, &status, &bound);
  EXPECT_EQ(status, 0);
  EXPECT_LE(rel_err(p, cdf(std_normal, 2.0)), 1e-15);
  EXPECT_LE(rel_err(q, cdf(complement(std_normal, 2.0))), 1e-14);
  // The inverses from P = 0.97725: z = 2.0000024, 1e308 (z - 1) and so on,
  // formed in long double, whose exponent range holds them.
  p = 0.97725;
  q = 0.02275;
  const long double z = quantile(std_normal, p), big = 1e308L;
  const struct {
    int which;
    double x, mean, sd;
    long double want;
  } rows[] = {
      {2, 0, -1e308, 1e308, big * z - big},
      {3, 1e308, 0, 1e308, big - big * z},
      {4, 1e308, -1e308, 0, 2 * big / z},
  };
  for (const auto& r : rows) {
    which = r.which;
    x = r.x;
    mean = r.mean;
    sd = r.sd;
    numlib::cdfnor(&which, &p, &q, &x, &mean, &sd, &status, &bound);
    EXPECT_EQ(status, 0) << r.which;
    const double got = r.which == 2 ? x : (r.which == 3 ? mean : sd);
    EXPECT_LE(rel_err(got, static_cast<double>(r.want)), 1e-12) << r.which;
  }
}

}  // namespace
