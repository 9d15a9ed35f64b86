// The variates at the ends of their parameter ranges, each row in a child
// process: a row that must draw its law reports "law holds" (or what it
// found) and exits with status 0; a row beyond a bound must be refused with
// its routine's message and status 1.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/poisson.hpp>

#include "chi_square.h"
#include "exact_message.h"
#include "stats/varlib/com.h"
#include "stats/varlib/varlib.h"

namespace {

using std::int64_t;

// Ends the child process with the verdict on its law.
[[noreturn]] void verdict(bool holds, const std::string& found) {
  std::fputs(holds ? "law holds" : found.c_str(), stderr);
  std::exit(0);
}

// Pearson's test at level 0.001 of ignbin(n, pp) against the binomial law;
// beyond 2^53 trials, where Boost's binomial loses (1 - p)^n, against the
// Poisson law of mean n p, which differs by about p + k^2 / n.
void binomial_law(int64_t n, float pp, int count = 200000) {
  namespace bm = boost::math;
  std::vector<int64_t> x(count);
  std::generate(x.begin(), x.end(), [&] { return numlib::ignbin(n, pp); });
  const double nd = static_cast<double>(n);
  const bm::binomial binomial(nd, pp);
  const bm::poisson poisson(nd * pp);
  const double p = chi_square_p(x, [&](int64_t k) {
    return nd > 0x1p53 ? bm::pdf(poisson, double(k)) : bm::pdf(binomial, double(k));
  });
  verdict(p > 0.001, "p = " + std::to_string(p));
}

// Mean and variance of count draws within 4.5 standard errors of the law's;
// the variance's standard error is estimated from the sample's fourth
// moment, since some of these laws are far from normal.
void moments_hold(const std::function<double()>& draw, double mean, double variance,
                  int count = 100000) {
  std::vector<double> x(count);
  std::generate(x.begin(), x.end(), draw);
  double m = 0, v = 0, m4 = 0;
  for (double y : x) m += y / count;
  for (double y : x) v += (y - m) * (y - m) / count, m4 += std::pow(y - m, 4) / count;
  const bool holds = std::fabs(m - mean) <= 4.5 * std::sqrt(variance / count) &&
                     std::fabs(v - variance) <= 4.5 * std::sqrt((m4 - v * v) / count);
  verdict(holds, "mean " + std::to_string(m) + ", variance " + std::to_string(v));
}

// Pearson's test at level 0.001 of ignpoi(mu) against Boost's Poisson law,
// over 40 cells of about equal probability.
void poisson_law(float mu, int count) {
  namespace bm = boost::math;
  const bm::poisson law(mu);
  std::vector<int64_t> edges;
  for (int j = 1; j < 40; ++j)
    edges.push_back(std::llround(mu + std::sqrt(mu) * bm::quantile(bm::normal(), j / 40.0)));
  std::vector<int64_t> x(count);
  std::generate(x.begin(), x.end(), [mu] { return numlib::ignpoi(mu); });
  const double p = binned_chi_square_p(
      x, edges, [&](int64_t k) { return bm::cdf(bm::complement(law, k - 1.0)); });
  verdict(p > 0.001, "p = " + std::to_string(p));
}

// The same of ignnbn(1, p), the failures before the first success, against
// the geometric law P(X >= k) = (1 - p)^k, over 100 cells of about equal
// probability.
void geometric_law(float p, int count) {
  std::vector<int64_t> edges;
  for (int j = 1; j < 100; ++j) edges.push_back(std::llround(-std::log(1 - j / 100.0) / p));
  std::vector<int64_t> x(count);
  std::generate(x.begin(), x.end(), [p] { return numlib::ignnbn(1, p); });
  const double q = binned_chi_square_p(
      x, edges, [p](int64_t k) { return std::exp(k * std::log1p(-static_cast<double>(p))); });
  verdict(q > 0.001, "p = " + std::to_string(q));
}

// Mean and variance of ignnbn(n, p) against n (1 - p) / p and n (1 - p) / p^2.
void negative_binomial_moments(int64_t n, float p, int count) {
  const double q = 1.0 - p, mean = n * q / p;
  moments_hold([n, p] { return numlib::ignnbn(n, p); }, mean, mean / p, count);
}

TEST(ExtremeParametersDeathTest, BoundsAndTheLawWithin) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // fresh set-up caches in every row
  const float inf = INFINITY;
  const std::string holds = "law holds";
  const std::string binomial = "N above 2^46 or N x P above 2^23 in IGNBIN - ABORTValue of N: ";
  const std::string beta = " AA or BB below 1E-37 or above 2^17 in GENBET - Abort! AA: ";
  const std::string f = "Degrees of freedom infinite in GENF - abort!DFN value: ";
  const std::string nf = "In GENNF - an argument is infinite*";
  const std::string nbn =
      "N (1 - P) / P too large in IGNNBN: its Poisson mean passes 2^33 with probability above "
      "2^-30\n";
  constexpr int64_t k2to46 = int64_t{1} << 46, k2to24 = int64_t{1} << 24;
  constexpr int64_t k2to33 = int64_t{1} << 33;
  constexpr float k2to33f = 8589934592.0f;
  struct Row {
    std::function<void()> call;
    int status;
    std::string message;
  };
  const Row rows[] = {
      // ignbin: Stirling's bound in double above 2^24 trials (in single
      // precision the variances were 92, 118 and 90 where they are 100).
      {[] { binomial_law(20000000, 5e-6f); }, 0, holds},
      {[] { binomial_law(100000000, 1e-6f); }, 0, holds},
      {[] { binomial_law(1000000000, 1e-7f); }, 0, holds},
      {[] { binomial_law(k2to46, 1e-12f); }, 0, holds},  // BTPE's largest n
      {[] { numlib::ignbin(k2to46 + 1, 1e-12f); }, 1,
       binomial + "70368744177665 Value of PP:     1.000000E-12\n"},
      {[] { binomial_law(1000000000000000000, 1e-17f); }, 0, holds},  // inversion, any n
      // The largest n: the inversion's n + 1 overflowed, and every draw of
      // these three came out 0 or too small.
      {[] { binomial_law(INT64_MAX, 1e-20f); }, 0, holds},
      {[] { binomial_law(INT64_MAX, 1e-19f); }, 0, holds},
      {[] { binomial_law(INT64_MAX, 3e-18f); }, 0, holds},
      {[] {
         bool ends = true;
         for (int i = 0; i < 1000; ++i)
           ends = ends && numlib::ignbin(INT64_MAX, 0) == 0 &&
                  numlib::ignbin(INT64_MAX, 1) == INT64_MAX;
         verdict(ends, "not 0 and n");
       },
       0, holds},
      {[] {
         moments_hold(
             [] {
               const float p[] = {0, 1e-20f, 0};
               int64_t ix[3];
               numlib::genmul(INT64_MAX, p, 3, ix);
               return ix[0] + ix[1] + ix[2] == INT64_MAX ? ix[1] : -1e30;
             },
             INT64_MAX * double{1e-20f}, INT64_MAX * double{1e-20f});
       },
       0, holds},
      {[] { numlib::ignbin(3000000000000000, .5f); }, 1, binomial + "*"},  // used to hang
      // n p = 2^23: odd and even counts alike (from 2^24 on, BTPE's floats
      // reached only even ones).
      {[] { moments_hold([] { return numlib::ignbin(k2to24, .5f) % 2; }, .5, .25); }, 0, holds},
      {[] {
         moments_hold([] { return numlib::ignbin(k2to24, .5f) - k2to24 / 2.0; }, 0, k2to24 / 4.0);
       },
       0, holds},
      {[] { numlib::ignbin(k2to24 + 2, .5f); }, 1,
       binomial + "    16777218 Value of PP:     5.000000E-01\n"},
      // ignpoi up to a mean of 2^23 by PD: odd and even counts alike, and
      // the Poisson variance (from 2^24 on, PD's floats reached only even
      // ones).
      {[] { moments_hold([] { return numlib::ignpoi(8388608.0f) % 2; }, .5, .25); }, 0, holds},
      {[] { moments_hold([] { return numlib::ignpoi(8388608.0f) - 8388608.0; }, 0, 8388608.0); }, 0,
       holds},
      // Above 2^23 the sum of deviates of mean 2^23 and one of the mean left
      // (5, by the table; 1e9 - 119 x 2^23, by PD), up to the cost bound 2^33.
      {[] { poisson_law(8388613.0f, 200000); }, 0, holds},
      {[] { moments_hold([] { return numlib::ignpoi(8388613.0f) % 2; }, .5, .25); }, 0, holds},
      {[] { poisson_law(1e9f, 100000); }, 0, holds},
      {[] { moments_hold([] { return numlib::ignpoi(k2to33f) - k2to33f; }, 0, k2to33f, 2000); }, 0,
       holds},
      {[] { numlib::ignpoi(8589935616.0f); }, 1,
       "MU not a number, infinite or above 2^33 in IGNPOI - ABORTValue of MU:     8.589936E+09\n"},
      // A mean of 0 in a fresh process, before any table is built.
      {[] { verdict(numlib::ignpoi(0) == 0, "not 0"); }, 0, holds},
      // ignnbn: its gamma-distributed mean used to be refused when a draw
      // passed 2^23 (at (1, 1e-6) about once in 4000 draws).  Now the
      // arguments alone decide: refused where the mean passes 2^33 with a
      // probability above 2^-30, both sides of that line drawn here.
      {[] { geometric_law(1e-6f, 1000000); }, 0, holds},
      {[] { negative_binomial_moments(1000, 1e-4f, 100000); }, 0, holds},
      {[] { negative_binomial_moments(1, 3.3e-9f, 20000); }, 0, holds},
      {[] { numlib::ignnbn(1, 3.28e-9f); }, 1, nbn},
      {[] { negative_binomial_moments(1000, 1.43e-7f, 5000); }, 0, holds},
      {[] { numlib::ignnbn(1000, 1.42e-7f); }, 1, nbn},
      {[] { negative_binomial_moments(k2to33 - (1 << 20), .5f, 1000); }, 0, holds},
      {[] { numlib::ignnbn(k2to33, .5f); }, 1, nbn},
      // Refused by the routine called, not by the one it draws through.
      {[] { numlib::ignnbn(1, 1e-20f); }, 1, nbn},
      {[] {
         const float p[] = {.5f, .25f, 0};
         int64_t ix[3];
         numlib::genmul(k2to24 * 2, p, 3, ix);
       },
       1, "N too large for the binomial draws in GENMUL\n"},
      // genbet: the shapes the law holds for, and beyond.
      {[] { moments_hold([] { return numlib::genbet(131072, 131072); }, .5, 1 / (4 * 262145.0)); },
       0, holds},
      {[] { numlib::genbet(131073, 2); }, 1, beta + "    1.310730E+05 BB     2.000000E+00\n"},
      {[] { numlib::genbet(1, 1e8f); }, 1, beta + "*"},
      {[] { numlib::genbet(2e38f, 2e38f); }, 1, beta + "*"},
      {[] { numlib::genbet(1e38f, .5f); }, 1, beta + "*"},
      // Tiny shapes: 0 or 1, the end 1 with probability a / (a + b).
      {[] { moments_hold([] { return numlib::genbet(1e-37f, 3e-37f); }, .25, .1875); }, 0, holds},
      {[] { numlib::genbet(1e-40f, 1e-40f); }, 1, beta + "*"},
      {[] { numlib::genbet(.5f, 9e-38f); }, 1, beta + "*"},
      // a exp(v) beyond the floats gave inf / inf for 0.1% of these draws.
      {[] {
         moments_hold([] { return numlib::genbet(1, .01f); }, 1 / 1.01, .01 / (1.0201 * 2.01));
       },
       0, holds},
      // genunf: a width beyond the floats; infinite bounds.
      {[] { moments_hold([] { return numlib::genunf(-3e38f, 3e38f) / 3e38; }, 0, 1 / 3.0); }, 0,
       holds},
      {[&] { numlib::genunf(-inf, 1); }, 1,
       "LOW or HIGH infinite in GENUNF: LOW             -INF HIGH:     1.000000E+00\nAbort"},
      {[&] { numlib::genunf(0, inf); }, 1, "LOW or HIGH infinite in GENUNF*"},
      {[&] { numlib::genunf(inf, inf); }, 1, "LOW or HIGH infinite in GENUNF*"},
      // genf and gennf: infinite arguments.
      {[&] { numlib::genf(inf, 5); }, 1, f + "             INF" + "DFD value:     5.000000E+00\n"},
      {[&] { numlib::genf(5, inf); }, 1, f + "*"},
      {[&] { numlib::gennf(2, inf, 0); }, 1, nf},
      {[&] { numlib::gennf(inf, 2, 0); }, 1, nf},
      {[&] { numlib::gennf(2, 5, inf); }, 1, nf},
  };
  for (std::size_t row = 0; row < std::size(rows); ++row) {
    const Row& r = rows[row];
    EXPECT_EXIT((numlib::setall(20240607, 11), r.call()), ::testing::ExitedWithCode(r.status),
                quoted(r.message))
        << "row " << row;
  }
}

}  // namespace
