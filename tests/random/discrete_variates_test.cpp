// The alias table rebuilt cell by cell and followed draw by draw, samples of
// the Poisson, binomial and negative binomial variates against Boost.Math,
// and the parameters they refuse or serve without drawing.
#include <cmath>
#include <map>
#include <numeric>
#include <random>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>
#include <boost/math/distributions.hpp>

#include "random/arithmetic.h"
#include "random/discrete_variates.h"
#include "tests/random/variate_test_support.h"

// Each cell i gives its outcome the mass (1 - alias_prob[i]) / n and its
// alias alias_prob[i] / n; together they must give back every p[i].
TEST(DiscreteGen, TableGivesBackEveryProbability) {
  std::mt19937 gen(4711);
  std::uniform_real_distribution<double> u;
  for (int n = 1; n <= 200; ++n) {
    std::vector<double> p(n), mass(n);
    for (double& x : p) x = u(gen) < 0.2 ? 0.0 : u(gen);
    p[0] += 1e-3;  // not all 0
    const double sum = std::accumulate(p.begin(), p.end(), 0.0);
    for (double& x : p) x /= sum;
    const DiscreteGen d(n, p.data());
    for (int i = 0; i < n; ++i) {
      const double prob = d.AliasProbabilities()[i];
      mass[i] += (1 - prob) / n, mass.at(d.Aliases()[i]) += prob / n;
    }
    for (int i = 0; i < n; ++i) EXPECT_NEAR(mass[i], p[i], 1e-12) << n << " " << i;
  }
}

// Two uniforms a draw: the cell, then whether to take its alias.  The
// tables by hand: {0.2, 0.3, 0.5} sends cell 0 to 2 with probability 0.4
// and cell 1 to 2 with 0.1.  Ties go to the last cell: {0.4, 0.4, 0.2} sends
// cell 2 to 1 (0.4) and cell 1 to 0 (0.2); {0.1, 0.1, 0.4, 0.4} sends cell 1
// to 3 and cell 0 to 2 (0.6 each).
TEST(DiscreteGen, DrawsAndMoments) {
  const double p[] = {0.2, 0.3, 0.5}, v[] = {10, 20, 30}, ties[] = {0.1, 0.1, 0.4, 0.4, 0.2};
  DiscreteGen values(3, p, v), tied(4, ties), tied3(3, ties + 2), indices(3, p);
  const struct {
    DiscreteGen& d;
    std::vector<double> script;
    double expected;
  } cases[] = {{values, {0.1, 0.5}, 10}, {values, {0.1, 0.3}, 30}, {values, {0.5, 0.2}, 20},
               {tied, {0.3, 0.5}, 3},    {tied, {0.1, 0.5}, 2},    {tied3, {0.9, 0.3}, 1},
               {tied3, {0.5, 0.1}, 0},   {indices, {0.5, 0.05}, 2}};
  for (const auto& c : cases) EXPECT_EQ(draw_with(c.script, c.d), c.expected);
  EXPECT_STREQ(values.Name(), "DiscreteGen");
  EXPECT_NEAR(indices.Mean().Value(), 1.3, 1e-15);
  EXPECT_NEAR(indices.Variance().Value(), 0.61, 1e-15);
  EXPECT_NEAR(values.Mean().Value(), 23, 1e-14);
  EXPECT_NEAR(values.Variance().Value(), 61, 1e-13);
}

// N = 10^6 draws from a fixed seed, in cells pooled to expected counts of at
// least 5.  The statistic of a correct sampler exceeds the chi-square
// quantile of 1 - 1e-4 with probability 1e-4; a wrong density, mode, table
// entry or truncation moves it far beyond (a cell holding a tenth of the
// draws, off by 0.3% of N, adds about 90).  The alias tables' reported moments are those of their
// outcomes 0 .. 39, equal to the full ones to 1e-9 in these cases.
TEST(DiscreteVariates, SamplesFitTheirDistributions) {
  using namespace boost::math;
  // uniforms: by a draw accepted at once, 2 (alias table) or 3 (table method)
  const auto fits = [](auto&& r, const char* name, std::size_t uniforms, auto d) {
    SCOPED_TRACE(name + (" " + std::to_string(mean(d))));
    EXPECT_STREQ(r.Name(), name);
    EXPECT_NEAR(r.Mean().Value(), mean(d), 1e-9 * mean(d));
    EXPECT_NEAR(r.Variance().Value(), variance(d), 1e-9 * variance(d));
    ScriptedRandom script({0.01, 0.5, 0.0});  // the table method: an interval near the mode
    r.Next();
    EXPECT_EQ(script.draws(), uniforms);

    constexpr int N = 1000000;
    MT generator(0.271828);
    Random::Set(generator);
    std::map<int, int> count;
    for (int i = 0; i < N; ++i) {
      const double x = r.Next();
      ASSERT_EQ(x, std::floor(x));
      ++count[int(x)];
    }
    int cells = 0;
    const double statistic = pooled_chi_square(count, N, d, cells);
    EXPECT_LT(statistic, quantile(chi_squared(cells - 1), 1 - 1e-4)) << cells;
  };
  fits(Poisson(8.0), "Poisson", 2, poisson(8.0));
  fits(Poisson(8.5), "Poisson", 3, poisson(8.5));
  fits(Poisson2(0.7), "Random", 2, poisson(0.7));
  fits(Poisson1(2.0), "AsymGen", 3, poisson(2.0));
  fits(Binomial(39, 0.9), "Binomial", 2, binomial(39, 0.9));
  fits(Binomial(40, 0.2), "Binomial", 2, binomial(40, 0.2));
  fits(Binomial(100, 0.5), "Binomial", 3, binomial(100, 0.5));
  fits(Binomial(2000, 0.01), "Binomial", 3, binomial(2000, 0.01));
  fits(Binomial(40, 0.21), "Binomial", 3, binomial(40, 0.21));
  fits(Binomial1(20, 0.1), "AsymGen", 3, binomial(20, 0.1));
  fits(NegativeBinomial(2.5, 1.5), "NegativeBinomial", 3, negative_binomial(2.5, 1 / (1 + 1.5)));
  fits(NegativeBinomial(0.5, 3.0), "NegativeBinomial", 3, negative_binomial(0.5, 1 / (1 + 3.0)));
}

// Refused: parameters out of range (an alias table of no cells, a Binomial2
// centre outside its 40 entries), probabilities that do not add to 1.
// Served: p = 0 and p = 1 give 0 and n, through Binomial without a draw.
TEST(DiscreteVariates, RefusedAndDegenerateParameters) {
  const double nan = std::nan(""), p[] = {0.2, 0.3, 0.4, 0.4}, negative[] = {-0.05, 0.55, 0.5};
  const auto refused = [](const Factory& f, const char* message = "Vorand: illegal parameters") {
    EXPECT_TRUE(contains(thrown_message<RBD_COMMON::BaseException>(f), message)) << message;
  };
  const std::pair<int, double> binomials[] = {{-1, 0.5}, {10, -0.1}, {50, 1.5}, {10, nan}};
  const std::pair<double, double> negative_binomials[] = {
      {0.0, 1.0}, {2.0, -1.0}, {nan, 1.0}, {1.0, nan}};
  for (int n : {0, -1}) refused(make<DiscreteGen>(n, p)), refused(make<DiscreteGen>(n, p, p));
  for (double mu : {-0.5, nan})
    refused(make<Poisson>(mu)), refused(make<Poisson1>(mu)), refused(make<Poisson2>(mu));
  for (auto [n, q] : binomials)
    refused(make<Binomial>(n, q)), refused(make<Binomial1>(n, q)), refused(make<Binomial2>(n, q));
  refused(make<Binomial2>(100, 0.5));
  for (auto [N, P] : negative_binomials) refused(make<NegativeBinomial>(N, P));
  refused(make<DiscreteGen>(3, p), "Vorand: probs don't add to 1 (b)");
  refused(make<DiscreteGen>(3, p + 1), "Vorand: probs don't add to 1 (a)");
  refused(make<DiscreteGen>(3, negative), "Vorand: probs don't add to 1 (a)");
  // Binomial serves p = 0 and 1 without a draw, Binomial2 with its two.
  Binomial none(10, 0.0), all(100, 1.0), no_trials(0, 0.5);
  Binomial2 none2(10, 0.0), all2(7, 1.0);
  ScriptedRandom script({0.5, 0.9, 0.5, 0.9, 0.5, 0.9});
  const std::pair<Random*, double> served[] = {
      {&none, 0}, {&all, 100}, {&none2, 0}, {&all2, 7}, {&no_trials, 0}};
  for (auto [r, value] : served) {
    EXPECT_EQ(r->Next(), value);
    EXPECT_EQ(r->Mean().Value(), value);
    EXPECT_EQ(r->Variance().Value(), 0.0);
  }
  EXPECT_EQ(script.draws(), 6u);
}

// A copy would free a table, a part or an expression twice.
template <class... T>
constexpr bool uncopyable = ((!std::is_copy_constructible_v<T> &&
                              !std::is_copy_assignable_v<T>)&&...);
static_assert(uncopyable<DiscreteGen, Poisson, Binomial, SumRandom>);
