// Draws over the current generator: choices and samples with scripted
// uniforms, the continuous draws against Boost.Math with a seeded MT, and
// the Dirichlet and Wishart transforms replayed from the same seed.
#include "stats/helpers/draws.h"

#include <gtest/gtest.h>
#include <newmat/newmat.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

#include <boost/math/distributions/beta.hpp>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/gamma.hpp>

#include "common/scripted_random.h"
#include "random/vorand2.h"

namespace {

TEST(Draws, ChoicesBySubtraction) {
  const std::vector<double> p = {0.2, 0.3, 0.5}, short_p = {0.2, 0.3};
  // Weights 1, 0.6, 0.2 out of 2: shares 0.5, 0.3, 0.1.
  stathelp::WeightedEntries entries = {{0.6, {2}}, {1.0, {1}}, {0.2, {3}}}, empty;
  const std::tuple<double, std::function<int()>, int> rows[] = {
      {0.25, [] { return stathelp::rmultinom_unif(4); }, 1},
      {0.26, [] { return stathelp::rmultinom_unif(4); }, 2},
      {0.76, [] { return stathelp::rmultinom_unif(4); }, 4},
      {0.0, [] { return stathelp::rmultinom_unif(4); }, 0},
      {0.5, [] { return stathelp::rmultinom_unif(0); }, 0},
      {0.4, [&] { return stathelp::rmultinom(&p); }, 2},
      {0.9, [&] { return stathelp::rmultinom(&short_p); }, 2},
      {0.0, [&] { return stathelp::rmultinom(&p); }, 0},
      {0.4, [&] { return stathelp::rmultinom(&entries, 2.0)->second[0]; }, 1},
      {0.7, [&] { return stathelp::rmultinom(&entries, 2.0)->second[0]; }, 2},
      {0.95, [&] { return stathelp::rmultinom(&entries, 2.0)->second[0]; }, 3},
  };
  for (const auto& [u, draw, want] : rows) {
    ScriptedRandom script({u});
    EXPECT_EQ(draw(), want) << u;
  }
  ScriptedRandom zero({0.0});
  EXPECT_THROW(stathelp::rmultinom(&entries, 2.0), RBD_COMMON::Logic_error);
  EXPECT_THROW(stathelp::rmultinom(&empty, 1.0), RBD_COMMON::Logic_error);
}

TEST(Draws, Samples) {
  using Sample = std::vector<int>;
  const Sample untouched(6, -1);  // every output starts as this
  const std::tuple<decltype(&stathelp::samp), int, int, int, std::vector<double>, Sample> rows[] = {
      // 8 candidates 2..9: 0.05 picks 2; 0.99 of 3..9 picks 9; 0.45 of 3..8 picks 5.
      {stathelp::samp, 10, 2, 5, {0.05, 0.99, 0.45}, {0, 1, 2, 9, 5, -1}},
      // Pair starts 2, 4, 6, 8: 0.99 picks 8; 0.1 of 2, 4, 6 picks 2.
      {stathelp::samp1, 10, 2, 6, {0.99, 0.1}, {0, 1, 8, 9, 2, 3}},
      // N - M odd: 4 has no partner below 5, so 0.99 picks 2 of 0, 2.
      {stathelp::samp1, 5, 0, 5, {0.99, 0.99}, {2, 3, 0, 1, -1, -1}},
      // A longer sample grows the vector.
      {stathelp::samp, 7, 0, 7, std::vector<double>(7, 0.01), {0, 1, 2, 3, 4, 5, 6}},
      // p outside [M, N], or M < 0: only the message (empty script: no draws).
      {stathelp::samp, 10, 2, 11, {}, untouched},
      {stathelp::samp, 10, -1, 3, {}, untouched},
      {stathelp::samp1, 10, 4, 3, {}, untouched},
  };
  for (const auto& [sample, N, M, p, u, want] : rows) {
    ScriptedRandom script(u);
    Sample out = untouched;
    testing::internal::CaptureStdout();
    sample(N, M, p, &out);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              u.empty() ? "need p >= M and p <= N in samp function\n" : "");
    EXPECT_EQ(out, want) << N << " " << M << " " << p;
    EXPECT_EQ(script.remaining(), 0u);
  }
  for (const auto sample : {stathelp::samp, stathelp::samp1}) {
    ScriptedRandom script({0.0});
    Sample out(4);
    EXPECT_THROW(sample(6, 0, 4, &out), RBD_COMMON::Logic_error);
  }
}

// Kolmogorov-Smirnov distance of 4000 draws from the distribution's cdf.  A
// correct sampler exceeds 1.95 / sqrt(4000) with probability 0.001; the seed
// is fixed, so the test is deterministic.
template <class Distribution>
void expect_ks_fit(const std::function<double()>& draw, const Distribution& d) {
  std::vector<double> x(4000);
  for (double& v : x) v = draw();
  std::sort(x.begin(), x.end());
  double distance = 0.0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    const double f = boost::math::cdf(d, x[i]), n = x.size();
    distance = std::max({distance, f - i / n, (i + 1) / n - f});
  }
  EXPECT_LT(distance, 1.95 / std::sqrt(4000.0));
}

TEST(Draws, ContinuousAgainstBoost) {
  MT generator(0.4142);
  Random::Set(generator);
  namespace bm = boost::math;
  expect_ks_fit([] { return stathelp::rgamma(3.7, 0.5); }, bm::gamma_distribution<>(3.7, 2.0));
  expect_ks_fit([] { return stathelp::genchi(3); }, bm::chi_squared(3));
  expect_ks_fit([] { return stathelp::genbet(2.5f, 0.7f); }, bm::beta_distribution<>(2.5, 0.7));
}

// Small shapes, whose gamma draws underflow: the fraction of N = 20000 draws
// at or below each point t against Boost's beta distribution function F
// (of the first component's share for the Dirichlet rows, which is
// (B + 0.01) / (1 + 0.01 k) for B of Beta(alpha_0, the rest)), within five
// standard errors sqrt(F (1 - F) / N) and 1e-3.  Every value is a number;
// Dirichlet rows are never 0 and sum to 1.
TEST(Draws, SmallShapes) {
  constexpr int N = 20000;
  const struct {
    std::vector<double> alpha;  // two shapes: genbet; more: rdirichlet
    bool dirichlet;
    std::vector<double> points;
  } rows[] = {
      {{0.001, 0.001}, false, {1e-300, 1e-30, 0.5, 1 - 1e-10}},
      {{1e-10, 1e-10}, false, {1e-300, 0.5, 1 - 1e-10}},
      {{1e-40f, 1e-40f}, false, {1e-300, 0.5}},
      {{0.001, 0.002}, false, {1e-300, 1e-30, 0.5}},
      {{0.001, 0.5}, false, {1e-300, 1e-30, 0.25}},
      {{0.001, 0.001}, true, {0.25, 0.5, 0.75}},
      {{1e-10, 1e-10, 1e-10}, true, {0.25, 0.5}},
      {{0.001, 0.5, 1e-5}, true, {0.25, 0.5}},
  };
  MT generator(0.6931);
  Random::Set(generator);
  for (const auto& row : rows) {
    const int k = row.alpha.size();
    // genbet takes its shapes as floats
    const double a = row.dirichlet ? row.alpha[0] : static_cast<float>(row.alpha[0]),
                 rest = row.dirichlet ? std::accumulate(row.alpha.begin() + 1, row.alpha.end(), 0.0)
                                      : static_cast<float>(row.alpha[1]);
    SCOPED_TRACE(std::to_string(a) + " " + std::to_string(rest) +
                 (row.dirichlet ? " rdirichlet" : ""));
    std::vector<double> first(N), out(k);
    for (double& x : first) {
      if (!row.dirichlet) {
        x = stathelp::genbet(row.alpha[0], row.alpha[1]);
        ASSERT_TRUE(x >= 0 && x <= 1) << x;
        continue;
      }
      stathelp::rdirichlet(out.data(), row.alpha.data(), &k);
      double sum = 0;
      for (double o : out) {
        ASSERT_TRUE(o > 0 && o < 1) << o;
        sum += o;
      }
      ASSERT_NEAR(sum, 1.0, 1e-15);
      x = out[0];
    }
    const boost::math::beta_distribution<> beta(a, rest);
    for (double t : row.points) {
      const double point = row.dirichlet ? (t + 0.01) / (1 + 0.01 * k) : t;
      const double F = boost::math::cdf(beta, t);
      const double below =
          std::count_if(first.begin(), first.end(), [&](double x) { return x <= point; });
      EXPECT_NEAR(below / N, F, 5 * std::sqrt(F * (1 - F) / N) + 1e-3) << t;
    }
  }
  // Ordinary shapes keep x / (x + y) of the two gamma draws exactly.
  MT seeded(0.5);
  const double beta = stathelp::genbet(2.5f, 0.7f);
  MT replay(0.5);
  const double x = Gamma(2.5).Next(), y = Gamma(0.7f).Next();
  EXPECT_EQ(beta, x / (x + y));
}

// Shapes so small that ln g = ln X / alpha of a gamma draw passes -DBL_MAX
// (below about 1e-306): a row whose every logarithm did so came out NaN
// (2.7% of them at 1e-308, every one at subnormal shapes).  At these shapes
// a Dirichlet draw is one component with all of the share, and the others
// none: component i with probability alpha_i / (sum of alpha), the limit of
// P(g_i is the largest) as the shapes go to 0 (g_i = X_i^(1 / alpha_i) for
// X_i uniform on (0, 1), and -ln X_i / alpha_i is exponential with rate
// alpha_i).  Each row of N = 20000 is a number in (0, 1), sums to 1 and is
// one-hot: 1.01 / (1 + 0.01 k) for the winner, 0.01 / (1 + 0.01 k) for the
// rest, within 1e-15; the winners' counts fit alpha_i / (sum of alpha) by
// Pearson's statistic below the chi-square quantile of 1 - 1e-4.
TEST(Draws, DirichletAtTheSmallestShapes) {
  constexpr int N = 20000;
  const std::vector<double> rows[] = {
      {1e-308, 1e-308},
      {2.2250738585072014e-308, 2.2250738585072014e-308},
      {1e-308, 1e-308, 1e-308, 1e-308, 1e-308},
      {4.9406564584124654e-324, 9.8813129168249309e-324},  // the least subnormals
      {1e-320, 3e-320, 2e-320},
  };
  MT generator(0.1234);
  Random::Set(generator);
  for (const auto& alpha : rows) {
    const int k = alpha.size();
    SCOPED_TRACE(testing::Message() << k << " shapes from " << alpha[0]);
    const double others = 0.01 / (1 + 0.01 * k), winner = 1.01 / (1 + 0.01 * k);
    std::vector<double> out(k);
    std::vector<int> wins(k);
    for (int r = 0; r < N; ++r) {
      stathelp::rdirichlet(out.data(), alpha.data(), &k);
      ASSERT_NEAR(std::accumulate(out.begin(), out.end(), 0.0), 1.0, 1e-15);
      const int i = std::max_element(out.begin(), out.end()) - out.begin();
      for (int j = 0; j < k; ++j) ASSERT_NEAR(out[j], j == i ? winner : others, 1e-15) << j;
      ++wins[i];
    }
    const double total = std::accumulate(alpha.begin(), alpha.end(), 0.0);
    double statistic = 0;
    for (int i = 0; i < k; ++i) {
      const double expected = N * alpha[i] / total;
      statistic += (wins[i] - expected) * (wins[i] - expected) / expected;
    }
    EXPECT_LT(statistic, boost::math::quantile(boost::math::chi_squared(k - 1), 1 - 1e-4));
  }
}

// The Dirichlet and p = 1 Wishart draws against the same gamma and
// chi-square draws replayed from the seed, in closed form.
TEST(Draws, DirichletAndWishartReplayed) {
  const double alpha[] = {0.3, 2.0, 5.0};
  const int k = 3;
  double out[k], g[k], sum = 0.0;
  NEWMAT::SymmetricMatrix S(1), W(1), W_inverse(1);
  S << 2.5;
  MT generator(0.25);
  Random::Set(generator);
  stathelp::rdirichlet(out, alpha, &k);
  stathelp::rwish(&W, 7, &S, false);
  stathelp::rwish(&W_inverse, 7, &S, true);
  MT replay(0.25);  // reseeds the one state that every MT draws from
  for (int i = 0; i < k; ++i) sum += g[i] = Gamma(alpha[i]).Next();
  for (int i = 0; i < k; ++i) EXPECT_DOUBLE_EQ(out[i], (g[i] + 0.01 * sum) / (1.03 * sum));
  EXPECT_DOUBLE_EQ(W(1, 1), ChiSq(7, 0.0).Next() * 2.5);
  EXPECT_DOUBLE_EQ(W_inverse(1, 1), 1 / (ChiSq(7, 0.0).Next() / 2.5));
}

// Sample means of 4000 draws: df S for Wishart and S / (df - p - 1) for the
// inverse.  The standard errors of these means are at most 1.2% of them here
// (Var W_ij = df (S_ij^2 + S_ii S_jj), and for the inverse
// ((df - p + 1) S_ij^2 + (df - p - 1) S_ii S_jj) / ((df - p) (df - p - 1)^2
// (df - p - 3))): 5% is over four standard errors.
TEST(Draws, WishartMeans) {
  MT generator(0.777);
  Random::Set(generator);
  NEWMAT::SymmetricMatrix S(2), W(2), sum(2);
  S << 2.0 << 0.8 << 1.0;
  for (const auto& [inverse, df, factor] : {std::tuple{false, 8, 8.0}, {true, 12, 1.0 / 9}}) {
    sum = 0.0;
    for (int r = 0; r < 4000; ++r) {
      stathelp::rwish(&W, df, &S, inverse);
      sum += W;
    }
    for (int i = 1; i <= 2; ++i)
      for (int j = 1; j <= i; ++j)
        EXPECT_NEAR(sum(i, j) / 4000, factor * S(i, j), 0.05 * factor * S(i, j)) << inverse;
  }
}

}  // namespace
