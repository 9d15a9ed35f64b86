// Mixtures: the components picked by the alias table in the order the
// expression lists them, the mixture's moments, a sample against the mixture
// of Boost.Math's distribution functions, and the nodes and components
// released on every path (the sanitizer build's LeakSanitizer reports any
// node left behind).
#include <cmath>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>
#include <boost/math/distributions.hpp>

#include "random/arithmetic.h"
#include "random/mixture.h"
#include "tests/random/variate_test_support.h"

namespace {

// A Constant that counts the calls of its tDelete.
struct Counted : Constant {
  explicit Counted(double v) : Constant(v) {}
  void tDelete() override { ++deletes; }
  int deletes = 0;
};

double step(double x) { return x < 0.99 ? 1.0 : 0.0; }

}  // namespace

// The table of {0.2, 0.3, 0.5} sends cell 0 to 2 with probability 0.4 and
// cell 1 to 2 with 0.1: the first uniform picks the cell, the second the
// alias; the component's draw comes after (the Uniform's, a third uniform).
TEST(MixedRandom, PicksComponentsInTheExpressionsOrder) {
  Counted a(10), b(20), c(30);
  Uniform u;
  const double p[] = {0.2, 0.3, 0.5};
  Random* parts[] = {&a, &b, &u};
  {
    MixedRandom left(a(0.2) + b(0.3) + c(0.5)), right(a(0.2) + (b(0.3) + c(0.5))),
        both(a(0.1) + a(0.1) + (b(0.3) + c(0.5))), arrays(3, p, parts);
    const struct {
      MixedRandom& m;
      std::vector<double> script;
      double expected;
    } cases[] = {{left, {0.1, 0.5}, 10},  {left, {0.1, 0.3}, 30},
                 {left, {0.5, 0.2}, 20},  {left, {0.5, 0.05}, 30},
                 {right, {0.1, 0.5}, 10}, {right, {0.5, 0.2}, 20},
                 {right, {0.9, 0.2}, 30}, {both, {0.3, 0.9}, 10},
                 {both, {0.6, 0.9}, 20},  {arrays, {0.9, 0.5, 0.625}, 0.625},
                 {arrays, {0.5, 0.9}, 20}};
    for (const auto& t : cases) EXPECT_EQ(draw_with(t.script, t.m), t.expected);
    EXPECT_STREQ(left.Name(), "MixedRandom");
    EXPECT_NEAR(left.Mean().Value(), 23, 1e-14);
    EXPECT_NEAR(left.Variance().Value(), 61, 1e-13);
  }
  // Each mixture released each of its components once.
  EXPECT_EQ(a.deletes, 5);
  EXPECT_EQ(b.deletes + c.deletes, 7);
}

// 0.3 Normal + 0.7 Exponential: mean 0.7, variance 0.3 (1 + 0.49) + 0.7 (1
// + 0.09) = 1.21; N = 10^5 draws against 0.3 Phi(x) + 0.7 (1 - exp(-x)), by
// the Kolmogorov-Smirnov statistic (below 2.2 with probability 0.9999).
// The codes of components without finite moments carry over.
TEST(MixedRandom, MomentsAndSample) {
  Normal z;
  Exponential e;
  Cauchy c;
  Pareto heavy(1.5);
  PosGenX table(step);
  MixedRandom m(z(0.3) + e(0.7));
  EXPECT_NEAR(m.Mean().Value(), 0.7, 1e-15);
  EXPECT_NEAR(m.Variance().Value(), 1.21, 1e-15);
  MT generator(0.1234);
  Random::Set(generator);
  std::vector<double> xs(100000);
  for (double& x : xs) x = m.Next();
  const auto mixture = [](double x) {
    return 0.3 * cdf(boost::math::normal(), x) +
           0.7 * (x > 0 ? cdf(boost::math::exponential(), x) : 0.0);
  };
  EXPECT_LT(kolmogorov_smirnov(xs, mixture), 2.2);

  const struct {
    MixedRandom m;
    ExtRealCode mean, variance;
  } codes[] = {{MixedRandom(z(0.5) + c(0.5)), Indefinite, Indefinite},
               {MixedRandom(z(0.5) + heavy(0.5)), Finite, PlusInfinity},
               {MixedRandom(z(0.5) + table(0.5)), Missing, Missing},
               {MixedRandom(e(0.4) + heavy(0.6)), Finite, PlusInfinity}};
  for (const auto& t : codes) {
    EXPECT_EQ(t.m.Mean().Code(), t.mean);
    EXPECT_EQ(t.m.Variance().Code(), t.variance);
  }
  EXPECT_NEAR(codes[3].m.Mean().Value(), 0.4 + 0.6 * 3.0, 1e-15);
}

// A constructor that throws has released the nodes (LeakSanitizer) and
// called each component's tDelete once, so a component that is an
// expression is freed too.  Nodes cannot be drawn from; a variate that is
// no selection cannot be read as one.
TEST(MixedRandom, FailuresReleaseEverything) {
  Counted a(1), b(2);
  Normal z;
  const double short_sum[] = {0.3, 0.6}, p[] = {0.5, 0.5};
  const auto refused = [](auto f, const char* message) {
    EXPECT_TRUE(contains(thrown_message<RBD_COMMON::BaseException>(f), message)) << message;
  };
  refused([&] { MixedRandom m(a(0.3) + b(0.6)); }, "Vorand: probs don't add to 1 (b)");
  refused([&] { MixedRandom m(a(0.3) + (2.0 * z)(0.6) + b(0.3)); },
          "Vorand: probs don't add to 1 (a)");
  Random* parts[] = {&a, &(z + 1.0)};
  refused([&] { MixedRandom m(2, short_sum, parts); }, "Vorand: probs don't add to 1 (b)");
  refused([&] { MixedRandom m(0, p, parts); }, "Vorand: illegal parameters");
  EXPECT_EQ(a.deletes, 3);
  EXPECT_EQ(b.deletes, 2);

  SelectedRandom& s = a(0.5);
  AddedSelectedRandom& sum = b(0.5) + z(0.5);
  refused([&] { s.Next(); }, "Vorand: Next not defined");
  refused([&] { sum.Next(); }, "Vorand: Next not defined");
  EXPECT_EQ(sum.nelems(), 2);
  s.tDelete();
  sum.tDelete();
  EXPECT_EQ(a.deletes + b.deletes, 7);
  int index = 0;
  double probabilities[1];
  Random* variates[1];
  refused([&] { z.load(&index, probabilities, variates); }, "Vorand: illegal combination");
}

// A copy would release the components twice.
static_assert(!std::is_copy_constructible_v<MixedRandom> &&
              !std::is_copy_assignable_v<MixedRandom>);
