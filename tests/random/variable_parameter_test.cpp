// Poisson, binomial and log-normal draws with parameters given at each
// call: samples of every exact range against Boost.Math, the normal
// approximations by their moments, and single draws followed uniform by
// uniform (the hand-computed cases sum the probabilities, from 0 or
// outward from the mode, until they pass the uniform).
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <map>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>
#include <boost/math/distributions.hpp>

#include "random/round_to_int.h"
#include "random/variable_parameter.h"
#include "tests/random/variate_test_support.h"

namespace {

constexpr int sample_size = 100000;
const double nearly_one = 1 - std::ldexp(1.0, -53);

// The chi-square statistic of N = 10^6 draws of next() against d stays
// below the quantile of 1 - 1e-4 unless the sampler is wrong; a cell
// holding a tenth of the draws, off by 0.3% of N, adds about 90.
template <class F, class D>
void fits(F next, const D& d) {
  constexpr int N = 1000000;
  MT generator(0.7071);
  Random::Set(generator);
  std::map<int, int> count;
  for (int i = 0; i < N; ++i) ++count[int(next())];
  int cells = 0;
  const double statistic = pooled_chi_square(count, N, d, cells);
  EXPECT_LT(statistic, quantile(boost::math::chi_squared(cells - 1), 1 - 1e-4)) << cells;
}

// The sample mean and variance of N draws of next(), against mean and
// variance: within 5 standard errors (sqrt(variance / N) and variance
// sqrt(2 / N)), plus 0.1 for the approximation's bias (below 0.05 in these
// cases, rounding to integers included).
template <class F>
void moments(F next, double mean, double variance) {
  MT generator(0.3333);
  Random::Set(generator);
  double sum = 0, squares = 0;
  for (int i = 0; i < sample_size; ++i) {
    const double x = next() - mean;
    sum += x, squares += x * x;
  }
  const double m = sum / sample_size, v = squares / sample_size - m * m;
  EXPECT_NEAR(m, 0.0, 5 * std::sqrt(variance / sample_size) + 0.1) << mean;
  EXPECT_NEAR(v, variance, 5 * variance * std::sqrt(2.0 / sample_size) + 0.1) << mean;
}

}  // namespace

TEST(VariPoisson, SamplesFitEveryRange) {
  using boost::math::poisson;
  VariPoisson v;
  for (double mu : {3.0, 9.5, 10.0, 50.0, 105.0, 150.0, 250.0}) {
    SCOPED_TRACE(mu);
    fits([&] { return v.Next(mu); }, poisson(mu));
  }
  for (double mu : {300.0, 1000.0, 1e5}) moments([&] { return v.Next(mu); }, mu, mu);
}

TEST(VariBinomial, SamplesFitEveryRange) {
  using boost::math::binomial;
  VariBinomial v;
  // The last two: inversion, and the search from the mode with the centre
  // probability of many trials.
  const std::pair<int, double> exact[] = {
      {50, 0.1}, {20, 0.5},  {200, 0.25},          {1000, 0.15},
      {40, 0.8}, {300, 0.9}, {2000000000, 2.5e-9}, {2000000000, 6e-9}};
  for (auto [n, p] : exact) {
    SCOPED_TRACE(std::to_string(n) + " " + std::to_string(p));
    fits([&] { return v.Next(n, p); }, binomial(n, p));
  }
  for (auto [n, p] : {std::pair{1000, 0.3}, std::pair{100000, 0.5}, std::pair{2000, 0.85}})
    moments([&] { return v.Next(n, p); }, n * p, n * p * (1 - p));
}

// The probabilities summed by hand (from 0 below 10, else from the mode
// up, down, up, ...) pass each uniform at the value given.  Next(0) draws
// nothing; the members are drawn before the small-mean method; a uniform
// that the rounded sum never passes still ends the search.
TEST(VariPoisson, DrawsFollowTheUniforms) {
  VariPoisson v;
  const struct {
    double mu;
    std::vector<double> script;
    double expected;
  } cases[] = {{3, {0.04}, 0},     {3, {0.3}, 2},     {3, {0.5}, 3},    {3, {0.99}, 8},
               {10.5, {0.1}, 10},  {10.5, {0.2}, 11}, {10.5, {0.3}, 9}, {10.5, {0.95}, 4},
               {50, {0.02}, 50},   {50, {0.07}, 51},  {50, {0.5}, 55},  {50, {0.999}, 74},
               {60.25, {0.6}, 67}, {0, {}, 0}};
  for (const auto& c : cases) {
    ScriptedRandom script(c.script);
    EXPECT_EQ(v.Next(c.mu), c.expected) << c.mu << " " << c.script.size();
    EXPECT_EQ(script.remaining(), 0u);
  }
  // The member's three uniforms (an interval near its mode, accepted at
  // once), then the small-mean method's one.
  const std::vector<double> member = {0.3, 0.5, 0.0};
  Poisson hundred(100.0), two_hundred(200.0);
  const double from_100 = draw_with(member, hundred), from_200 = draw_with(member, two_hundred);
  const struct {
    double mu, last_uniform, expected;
  } sums[] = {{150, 0.07, from_100 + 51},
              {250, 0.07, from_200 + 51},
              {103, 0.3, from_100 + 2},
              {100, -1, from_100},
              {200, -1, from_200}};  // -1: no fourth uniform
  for (const auto& s : sums) {
    std::vector<double> uniforms = member;
    if (s.last_uniform >= 0) uniforms.push_back(s.last_uniform);
    ScriptedRandom script(uniforms);
    EXPECT_EQ(v.Next(s.mu), s.expected) << s.mu;
    EXPECT_EQ(script.remaining(), 0u);
  }
  for (double mu : {7.0, 20.0, 50.0, 150.0}) {
    ScriptedRandom script(mu > 100 ? std::vector<double>{0.3, 0.5, 0.0, nearly_one}
                                   : std::vector<double>{nearly_one});
    EXPECT_GT(v.Next(mu), std::fmod(mu, 100) + 8 * std::sqrt(std::fmod(mu, 100))) << mu;
  }
  // Large means: one uniform picks the approximation, then the normal draw
  // (z about 1.8, where the two approximations round to different values).
  Normal z;
  const double normal = draw_with({0.45, 0.3, 0.0}, z), a = (400 - 1.0 / 12) / 2,
               s = std::sqrt(400 * 400 - a), c = std::sqrt(a / (400 + s));
  const double by_square = std::floor(std::pow(c * normal + std::sqrt(s), 2) + 0.5);
  const double by_line = std::floor(normal * std::sqrt(400 - 1.0 / 12) + 400.5);
  ASSERT_GT(std::fabs(by_square - by_line), 0.5);
  for (auto [u, expected] : {std::pair{0.2, by_line}, std::pair{0.9, by_square}}) {
    ScriptedRandom script({u, 0.45, 0.3, 0.0});
    EXPECT_EQ(v.Next(400), expected) << u;
  }
}

TEST(VariBinomial, DrawsFollowTheUniforms) {
  VariBinomial v;
  const struct {
    int n;
    double p;
    std::vector<double> script;
    double expected;
  } cases[] = {{20, 0.25, {0.1}, 3},   {20, 0.25, {0.5}, 5},  {20, 0.25, {0.97}, 9},
               {100, 0.3, {0.05}, 30}, {100, 0.3, {0.2}, 29}, {100, 0.3, {0.3}, 32},
               {100, 0.3, {0.9}, 38},  {10, 0.0, {}, 0},      {10, 1.0, {}, 10},
               {0, 0.3, {}, 0},        {20, 0.5, {0.3}, 9},   {21, 0.5, {0.3}, 11}};
  // n p = 10 by inversion, 10.5 by the search from the mode
  for (const auto& c : cases) {
    ScriptedRandom script(c.script);
    EXPECT_EQ(v.Next(c.n, c.p), c.expected) << c.n << " " << c.p << " " << c.script.size();
    EXPECT_EQ(script.remaining(), 0u);
  }
  // The far tail, 4 standard deviations out at least, for a uniform next to 1.
  for (auto [n, p] : {std::pair{20, 0.25}, std::pair{100, 0.3}}) {
    ScriptedRandom script({nearly_one});
    const double x = v.Next(n, p);
    EXPECT_GT(x, n * p + 4 * std::sqrt(n * p * (1 - p)));
    EXPECT_LE(x, n);
  }
  for (double u : {0.01, 0.2, 0.5, 0.8, 0.99}) {
    ScriptedRandom script({u, u});
    EXPECT_EQ(v.Next(10, 0.7), 10 - v.Next(10, 0.3)) << u;
  }
  Normal z;
  const double normal = draw_with({0.7, 0.3, 0.0}, z);
  ScriptedRandom script({0.7, 0.3, 0.0});
  EXPECT_EQ(v.Next(1000, 0.3), std::floor(300 + std::sqrt(210 - 1.0 / 12) * normal + 0.5));
}

// A binomial draw from one scripted uniform u: the value it must give.
struct ScriptedBinomialRow {
  int n;
  double p, u;
  double expected;
};

template <std::size_t N>
void expect_inverses(VariBinomial& v, const ScriptedBinomialRow (&rows)[N]) {
  for (const ScriptedBinomialRow& r : rows) {
    ScriptedRandom script({r.u});
    EXPECT_EQ(v.Next(r.n, r.p), r.expected) << r.n << " " << r.p << " " << r.u;
  }
}

// Inversion at many trials: q^n carried the rounding of q = 1 - p n times
// (1.2e-7 of it at 2^31), so the terms summed to less than 1 and a uniform
// above their sum ended in the far tail, at 27 for (2^31 - 1, 1.37799e-9).
// Each uniform here has the value given as its exact inverse, the least k
// with P(X <= k) >= u, computed offline (mpmath, 200 bits); u lies at least
// 5e-10 of itself from the distribution function at k and k - 1, far beyond
// the 1e-15 to which the terms now sum.  The last two rows are draws of a
// seeded stream whose old value was one off.  Then, 10^7 seeded draws stay
// below 20, of probability 6.6e-11 (the old inversion gave 27 about 18 times
// in 10^8).
TEST(VariBinomial, InversionSumsToOneAtManyTrials) {
  VariBinomial v;
  const ScriptedBinomialRow rows[] = {
      {2147483647, 1.37799e-9, 0.5, 3},
      {2147483647, 1.37799e-9, 0.99, 8},
      {2147483647, 1.37799e-9, 1 - 1e-6, 14},
      {2147483647, 1.37799e-9, 1 - 3e-8, 16},
      {2147483647, 1.37799e-9, 1 - 1e-9, 18},
      {2147483647, 1.37799e-9, 1 - 1e-12, 22},
      {1000000000, 1e-8, 0.86446439928840846, 13},
      {2147483647, 4.656612875245797e-09, 0.22022064693737775, 8},
  };
  expect_inverses(v, rows);
  MT generator(0.5);
  Random::Set(generator);
  double largest = 0;
  for (int i = 0; i < 10000000; ++i) largest = std::max(largest, v.Next(2147483647, 1.37799e-9));
  EXPECT_LT(largest, 20);
}

// The search from the mode at any n: its terms come from the probability of
// m, which the log-gamma difference made up to 3e-9 too small or too large
// below 2^20 trials and the sum of logarithms 4e-12 from there, so that the
// partial sums were off by that much of themselves and a uniform above
// their total (1 - 1.7e-9 at 947217 trials, 1 - 2.2e-9 at 2^20 - 1) ended
// in the far tail.  Each uniform lies between the exact partial sum at the
// value given and the old one, or above the old total; the value given is
// its exact inverse, the first value in the search order m, m + 1, m - 1,
// ... whose partial sum reaches it, computed offline (mpmath, 250 bits).
// The partial sums either side lie at least 4.8e-11 from the uniform
// (1.8e-13 at 986 and 2^31 - 1 trials), and the terms now sum to 1 within
// 2e-15.  The old code gave another value for every row.
TEST(VariBinomial, SearchFromTheModeSumsToOne) {
  VariBinomial v;
  const ScriptedBinomialRow rows[] = {
      {947217, 20.5 / 947217, 0.2606195938442781, 19},
      {947217, 20.5 / 947217, 0.9026464445908765, 13},
      {947217, 20.5 / 947217, 0.9987710590078049, 5},
      {947217, 20.5 / 947217, 1 - 2e-9, 52},
      {947217, 20.5 / 947217, 1 - 1e-9, 53},  // old: 69
      {1048575, 150.5 / 1048575, 0.2864153311337449, 146},
      {1048575, 150.5 / 1048575, 0.8972540969062585, 170},
      {1048575, 150.5 / 1048575, 0.9989324792091923, 110},
      {1048575, 150.5 / 1048575, 1 - 2.5e-9, 228},
      {1048575, 150.5 / 1048575, 1 - 1e-9, 230},  // old: 262
      {1048000, 10.5 / 1048000, 0.24159380530272315, 9},
      {1048000, 10.5 / 1048000, 0.9105729370676262, 16},
      {1048000, 10.5 / 1048000, 0.9987137997556044, 22},
      {986, 0.02099773937094121, 0.26159287258245323, 22},
      {986, 0.02099773937094121, 0.9024660860818213, 28},
      {986, 0.02099773937094121, 0.998722678995071, 36},
      {2147483647, 9.313179184362842e-08, 0.30258240116299084, 205},
      {2147483647, 9.313179184362842e-08, 0.9028636127891427, 223},
      {2147483647, 9.313179184362842e-08, 0.9990338605698185, 152},
      {2147483647, 199.9 / 2147483647, 0.3027212695383455, 194},
      {2147483647, 199.9 / 2147483647, 0.9030959457537664, 176},
      {2147483647, 199.9 / 2147483647, 0.9990458856732259, 246},
  };
  expect_inverses(v, rows);
  // A seeded stream whose draw 184928 has the largest uniform the Mersenne
  // Twister gives, 1 - 2^-33: the old search ended at 69, where
  // P(X >= 69) = 3.3e-17; its exact inverse is 55, above which no stream
  // can now go.
  MT generator(0.0177);
  Random::Set(generator);
  double draw = 0, largest = 0;
  for (int i = 0; i <= 184928; ++i) {
    draw = v.Next(947217, 20.5 / 947217);
    largest = std::max(largest, draw);
  }
  EXPECT_EQ(draw, 55);
  EXPECT_EQ(largest, 55);
}

// Refused parameters; iNext rounds, and refuses a draw that is no int
// before converting it (the sanitizer build catches a conversion out of
// range).
TEST(VariableParameter, RefusalsAndIntegerDraws) {
  EXPECT_EQ(round_to_int(-2147483648.4), INT_MIN);
  EXPECT_EQ(round_to_int(2147483646.6), INT_MAX);
  EXPECT_EQ(round_to_int(-2.5), -2);
  VariPoisson poisson;
  VariBinomial binomial;
  const double nan = std::nan("");
  const auto refused = [](auto f, const char* message) {
    EXPECT_TRUE(contains(thrown_message<RBD_COMMON::BaseException>(f), message)) << message;
    EXPECT_EQ(RBD_COMMON::Tracer::last, nullptr);
  };
  const char* illegal = "Vorand: illegal parameters";
  refused([&] { poisson.Next(-1.0); }, illegal);
  refused([&] { poisson.iNext(-1e-300); }, illegal);
  const std::pair<int, double> binomials[] = {
      {-1, 0.3}, {10, -0.1}, {10, nan}, {10, 1.5}, {-5, 0.9}};
  for (auto [n, p] : binomials) refused([&] { binomial.iNext(n, p); }, illegal);
  MT generator(0.5);
  Random::Set(generator);
  for (double mu : {3e9, 1e300, nan, HUGE_VAL})
    refused([&] { poisson.iNext(mu); },
            "Cannot convert to integer Trace: Round ; VariPoisson::iNext .");
  for (double x : {-2147483648.6, 2147483647.5})
    refused([&] { round_to_int(x); }, "Cannot convert to integer Trace: Round .");
  EXPECT_NEAR(poisson.iNext(2e9), 2e9, 5e5);
  ScriptedRandom script({0.3, 0.5});
  EXPECT_EQ(poisson.iNext(3.0), 2);
  EXPECT_EQ(binomial.iNext(20, 0.25), 5);
}

// Boost's lognormal(location, scale) with scale^2 = ln(1 + (sd/mean)^2) and
// location = ln(mean) - scale^2 / 2; the Kolmogorov-Smirnov statistic of
// N = 10^5 draws stays below 2.2 with probability 0.9999.
TEST(VariLogNormal, SamplesFitTheLogNormal) {
  VariLogNormal v;
  for (auto [mean, sd] : {std::pair{2.0, 1.0}, std::pair{0.5, 2.0}}) {
    MT generator(0.4142);
    Random::Set(generator);
    std::vector<double> xs(sample_size);
    for (double& x : xs) x = v.Next(mean, sd);
    const double s2 = std::log(1 + sd * sd / (mean * mean));
    const boost::math::lognormal d(std::log(mean) - s2 / 2, std::sqrt(s2));
    EXPECT_LT(kolmogorov_smirnov(xs, [&](double x) { return cdf(d, x); }), 2.2) << mean;
  }
  Normal z;  // a larger normal draw gives a larger value
  const double normal = draw_with({0.3, 0.5, 0.0}, z), s2 = std::log(1.25);
  ScriptedRandom script({0.3, 0.5, 0.0});
  EXPECT_NEAR(v.Next(2, 1), 2 * std::exp(-s2 / 2 + std::sqrt(s2) * normal), 1e-14);
}

// A copy would count one more user of the shared normal table than exists.
static_assert(!std::is_copy_constructible_v<VariPoisson> &&
              !std::is_copy_constructible_v<VariBinomial> &&
              !std::is_copy_constructible_v<VariLogNormal> &&
              !std::is_copy_assignable_v<VariPoisson> && !std::is_copy_assignable_v<VariBinomial> &&
              !std::is_copy_assignable_v<VariLogNormal>);
