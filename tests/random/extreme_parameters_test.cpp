// The log-gamma functions and the variates at the ends of their parameter
// ranges: arguments near 0, a million trials or more, odds near 0, means
// beyond where their square overflows, and uniforms above the rounded sum
// of every probability.  One row per case, each checked against Boost.Math,
// std::tgamma or a closed form.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <functional>
#include <map>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <boost/math/distributions.hpp>
#include <boost/math/special_functions/gamma.hpp>

#include "random/discrete_variates.h"
#include "random/log_gamma.h"
#include "random/variable_parameter.h"
#include "tests/random/variate_test_support.h"

namespace {

const double nearly_one = 1 - std::ldexp(1.0, -53);

// Both log-gamma forms and rbd_gamma at x, relative 1e-14 (the reflection
// formula is off by about 4e-17 / x in the logarithm here).
void log_gamma_near_zero(double x) {
  int sign = 0;
  const double expected = boost::math::lgamma(x);
  EXPECT_NEAR(ln_gamma(x, sign), expected, 1e-14 * expected);
  EXPECT_EQ(sign, 1);
  EXPECT_NEAR(ln_gamma(x), expected, 1e-14 * expected);
  const double gamma = std::tgamma(x);  // infinite for the least subnormal
  if (std::isinf(gamma))
    EXPECT_EQ(rbd_gamma(x), gamma);
  else
    EXPECT_NEAR(rbd_gamma(x) / gamma, 1.0, 1e-14);
}

// Binomial(n, p) is built (its alias table accepts the probabilities); the
// table's mean gives back n p to the accuracy of its centre probability
// (every other entry is a multiple of it), and 10^6 draws fit Boost's law:
// Pearson's statistic exceeds the quantile of 1 - 1e-4 with probability
// 1e-4 for a correct sampler.
void binomial_law(int n, double p, double mean_accuracy) {
  Binomial b(n, p);
  EXPECT_NEAR(b.Mean().Value(), n * p, mean_accuracy * n * p);
  MT generator(0.918);
  Random::Set(generator);
  constexpr int N = 1000000;
  std::map<int, int> count;
  for (int i = 0; i < N; ++i) ++count[int(b.Next())];
  int cells = 0;
  const boost::math::binomial_distribution<> d(n, p);
  const double statistic = pooled_chi_square(count, N, d, cells);
  EXPECT_LT(statistic, quantile(boost::math::chi_squared(cells - 1), 1 - 1e-4)) << cells;
}

// NegativeBinomial(N, P) with odds so small that every draw is 0 (the
// probability of 1 or more is about N P); its step density at 1 is
// N P / (1 + P)^(N + 1), at 0 it is (1 + P)^-N.
void negative_binomial_small_odds(double N, double P, double accuracy) {
  NegativeBinomial nb(N, P);
  EXPECT_NEAR(nb.Density(1.5) / (N * P * std::pow(1 + P, -(N + 1))), 1.0, accuracy);
  EXPECT_NEAR(nb.Density(0.5), std::pow(1 + P, -N), 1e-15);
  MT generator(0.125);
  Random::Set(generator);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(nb.Next(), 0.0);
}

// The negative binomial law with N successes and odds P, as an independent
// closed form: the ratios P(k + 1) / P(k) = (N + k) P / ((k + 1) (1 + P)),
// taken outward from the mode in long double and normalised, from 0 to
// where the terms fall below 1e-30 of the mode's.  pdf and the complement
// of cdf in the form pooled_chi_square asks for.
struct RatioLaw {
  std::vector<double> prob, above;  // P(k) and P(X > k)
  RatioLaw(double N, double P) {
    const long double q = P / (1.0L + P);
    const long long mode = std::max(0.0L, std::floor((N - 1) * (long double)P));
    std::vector<long double> up = {1.0L}, down;
    for (long long k = mode; up.back() > 1e-30L; ++k)
      up.push_back(up.back() * (N + k) * q / (k + 1));
    long double t = 1.0L;
    for (long long k = mode; k > 0 && t > 1e-30L; --k)
      down.push_back(t = t * k / ((N + k - 1) * q));
    const long double total = std::accumulate(up.begin(), up.end(), 0.0L) +
                              std::accumulate(down.begin(), down.end(), 0.0L);
    prob.assign(mode - down.size(), 0.0);
    for (auto it = down.rbegin(); it != down.rend(); ++it) prob.push_back(*it / total);
    for (long double u : up) prob.push_back(u / total);
    above.resize(prob.size());
    long double sum = 0;
    for (std::size_t k = prob.size(); k-- > 0;) above[k] = sum, sum += prob[k];
  }
};
double pdf(const RatioLaw& d, int k) { return k < int(d.prob.size()) ? d.prob[k] : 0.0; }
std::pair<const RatioLaw*, int> complement(const RatioLaw& d, int k) { return {&d, k}; }
double cdf(std::pair<const RatioLaw*, int> tail) {
  return tail.second < int(tail.first->above.size()) ? tail.first->above[tail.second] : 0.0;
}

// 10^6 draws of NegativeBinomial(N, P) against RatioLaw, by Pearson's
// statistic as for the binomial rows; and its density at x against
// P(floor x) computed offline (mpmath, 400 bits), within 5e-14 relative.
void negative_binomial_law(double N, double P) {
  NegativeBinomial nb(N, P);
  MT generator(0.625);
  Random::Set(generator);
  constexpr int draws = 1000000;
  std::map<int, int> count;
  for (int i = 0; i < draws; ++i) ++count[int(nb.Next())];
  int cells = 0;
  const double statistic = pooled_chi_square(count, draws, RatioLaw(N, P), cells);
  EXPECT_LT(statistic, quantile(boost::math::chi_squared(cells - 1), 1 - 1e-4)) << cells;
}
void negative_binomial_density(double N, double P, double k, double expected) {
  EXPECT_NEAR(NegativeBinomial(N, P).Density(k + 0.5), expected, 5e-14 * expected) << k;
}

// Beyond about 1.34e154, mu^2 overflows; the spread sqrt(mu) is then far
// below the spacing of doubles near mu, so every draw is mu to within the
// rounding of a square root and a square.
void poisson_huge_mean(double mu) {
  MT generator(0.35);
  Random::Set(generator);
  VariPoisson v;
  for (int i = 0; i < 300; ++i) {
    const double x = v.Next(mu);
    ASSERT_TRUE(std::isfinite(x)) << i;
    ASSERT_NEAR(x / mu, 1.0, 1e-15) << i;
  }
}

// A uniform above the rounded sum of every probability ends the search at
// the value reached.
void binomial_above_the_sum(int n, double p, double low, double high) {
  VariBinomial v;
  ScriptedRandom script({nearly_one});
  const double x = v.Next(n, p);
  EXPECT_GE(x, low);
  EXPECT_LE(x, high);
  EXPECT_EQ(script.draws(), 1u);
}

double below(double x) { return std::nextafter(x, 0.0); }

}  // namespace

TEST(ExtremeParameters, EachRowKeepsItsLaw) {
  const struct {
    std::string name;
    std::function<void()> check;
  } rows[] = {
      // ln Gamma(x) = ln Gamma(1 + x) - ln x below 0.2.
      {"ln_gamma(least subnormal)", [] { log_gamma_near_zero(4.9406564584124654e-324); }},
      {"ln_gamma(1e-300)", [] { log_gamma_near_zero(1e-300); }},
      {"ln_gamma(1e-20)", [] { log_gamma_near_zero(1e-20); }},
      {"ln_gamma(1e-16)", [] { log_gamma_near_zero(1e-16); }},
      {"ln_gamma(1e-15)", [] { log_gamma_near_zero(1e-15); }},
      {"ln_gamma(below 1e-8)", [] { log_gamma_near_zero(below(1e-8)); }},
      // The centre probability without the cancelling log-gamma difference
      // from 2^20 trials; below that the old difference, good to 1e-8.
      {"Binomial(1.5e8, 5 / 1.5e8)", [] { binomial_law(150000000, 5 / 150000000., 1e-12); }},
      {"Binomial(2^31 - 1, 3e-9)", [] { binomial_law(2147483647, 3e-9, 1e-12); }},
      {"Binomial(2^20, 7.5 / 2^20)", [] { binomial_law(1 << 20, 7.5 / (1 << 20), 1e-12); }},
      {"Binomial(2^20 - 1, 7.5 / (2^20 - 1))",
       [] { binomial_law((1 << 20) - 1, 7.5 / ((1 << 20) - 1), 1e-8); }},
      // ln(1 - p) and ln p by log1p below odds of 1e-8.
      {"NegativeBinomial(1, 1e-17)", [] { negative_binomial_small_odds(1, 1e-17, 1e-12); }},
      {"NegativeBinomial(2.5, 1e-12)", [] { negative_binomial_small_odds(2.5, 1e-12, 1e-12); }},
      {"NegativeBinomial(2.5, 1e-8)", [] { negative_binomial_small_odds(2.5, 1e-8, 1e-7); }},
      // From 2^20 successes the density as a Poisson probability and a
      // deviance, without the cancelling ln Gamma(k + N) - ln Gamma(N) that
      // put it 6% off at 1e13 (the first row failed with p = 5e-25, and the
      // old density refused (1e13, 1) as "area too small"); below, the old
      // difference, good to 1e-9.
      {"NegativeBinomial(1e13, 1e-12)", [] { negative_binomial_law(1e13, 1e-12); }},
      {"NegativeBinomial(2^20, 7.5 / 2^20)",
       [] { negative_binomial_law(1 << 20, 7.5 / (1 << 20)); }},
      {"NegativeBinomial(2^20 - 1, 7.5 / (2^20 - 1))",
       [] { negative_binomial_law((1 << 20) - 1, 7.5 / ((1 << 20) - 1)); }},
      {"NegativeBinomial(1e10, 1e-6)", [] { negative_binomial_law(1e10, 1e-6); }},
      {"NegativeBinomial densities",
       [] {
         negative_binomial_density(1e13, 1e-12, 0, 0.000045399929762711860316);
         negative_binomial_density(1e13, 1e-12, 10, 0.12511003572107074397);
         negative_binomial_density(1e13, 1e-12, 25, 0.000029269109009621365393);
         negative_binomial_density(1 << 20, 7.5 / (1 << 20), 7, 0.14648336068602087164);
         negative_binomial_density(1 << 20, 1.0, 1 << 20, 0.00027548316225152386186);
         negative_binomial_density(1 << 20, 1.0, 1050000, 0.00016975854530938199006);
         negative_binomial_density(1e10, 1e-6, 10000, 0.0039893875642695421539);
         negative_binomial_density(1e10, 1e-6, 10350, 9.2021040315310720524e-6);
         // Mean 30: k = 29 and 30 either side of where ln k! turns to
         // Stirling's series, 36 and 37 either side of where the deviance
         // of k from the mean turns from its series to its logarithms.
         negative_binomial_density(1e13, 3e-12, 12, 0.00010382062415367644261);
         negative_binomial_density(1e13, 3e-12, 29, 0.072634526471489803428);
         negative_binomial_density(1e13, 3e-12, 30, 0.072634526471482543404);
         negative_binomial_density(1e13, 3e-12, 36, 0.03775683340545931481);
         negative_binomial_density(1e13, 3e-12, 37, 0.030613648707147543804);
         negative_binomial_density(1e13, 3e-12, 45, 0.0023110542707022258639);
         negative_binomial_density(1e13, 0.5, 5e12, 1.4567312407894104354e-7);
         negative_binomial_density(1e18, 10.0, 1e19, 3.8037653963109111876e-11);
       }},
      // VariPoisson's large-mean method with and without mu^2.
      {"VariPoisson(1e154)", [] { poisson_huge_mean(1e154); }},
      {"VariPoisson(1.5e154)", [] { poisson_huge_mean(1.5e154); }},
      {"VariPoisson(1e200)", [] { poisson_huge_mean(1e200); }},
      {"VariPoisson(DBL_MAX)", [] { poisson_huge_mean(DBL_MAX); }},
      // Inversion through all n + 1 terms (their sum is 1 - 2^-52); the
      // search from the mode reaching both ends (sum 1 - 51 2^-53), up last,
      // and its mirror image.
      {"VariBinomial(5, 0.04) inverted to n", [] { binomial_above_the_sum(5, 0.04, 5, 5); }},
      {"VariBinomial(21, 0.48) both ends", [] { binomial_above_the_sum(21, 0.48, 21, 21); }},
      {"VariBinomial(21, 0.52) both ends", [] { binomial_above_the_sum(21, 0.52, 0, 0); }},
      // Terms that no longer change the sum end the search in the far tail
      // (over 8 standard deviations out), not after all n terms.
      {"VariBinomial(1000, 0.005) inversion tail",
       [] {
         binomial_above_the_sum(1000, 0.005, 5 + 8 * std::sqrt(4.975), 5 + 30 * std::sqrt(4.975));
       }},
      {"VariBinomial(2e9, 5e-8) search tail",
       [] { binomial_above_the_sum(2000000000, 5e-8, 100 + 8 * 10, 100 + 30 * 10); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    try {
      row.check();
    } catch (const RBD_COMMON::BaseException&) {
      ADD_FAILURE() << RBD_COMMON::BaseException::what();
    }
  }
}
