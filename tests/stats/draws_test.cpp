// Draws over the current generator: choices and samples with scripted
// uniforms, the continuous draws against Boost.Math with a seeded MT, and
// the Dirichlet and Wishart transforms replayed from the same seed.
#include "stats/draws.h"

#include <gtest/gtest.h>
#include <newmat/newmat.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include <boost/math/distributions/beta.hpp>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/gamma.hpp>

#include "common/scripted_random.h"
#include "random/vorand2.h"

namespace {

using Sample = std::vector<int>;

TEST(Draws, ChoicesBySubtraction) {
  const std::vector<double> p = {0.2, 0.3, 0.5}, short_p = {0.2, 0.3}, none;
  const struct {
    double u;
    std::function<int()> draw;
    int want;
  } rows[] = {
      {1e-300, [] { return stathelp::rmultinom_unif(4); }, 1},
      {0.25, [] { return stathelp::rmultinom_unif(4); }, 1},
      {0.26, [] { return stathelp::rmultinom_unif(4); }, 2},
      {0.76, [] { return stathelp::rmultinom_unif(4); }, 4},
      {0.0, [] { return stathelp::rmultinom_unif(4); }, 0},
      {0.5, [] { return stathelp::rmultinom_unif(0); }, 0},
      {0.4, [&] { return stathelp::rmultinom(&p); }, 2},
      {0.2, [&] { return stathelp::rmultinom(&p); }, 1},
      {0.9, [&] { return stathelp::rmultinom(&short_p); }, 2},
      {0.5, [&] { return stathelp::rmultinom(&none); }, 0},
      {0.0, [&] { return stathelp::rmultinom(&p); }, 0},
  };
  for (const auto& row : rows) {
    ScriptedRandom script({row.u});
    EXPECT_EQ(row.draw(), row.want) << row.u;
    EXPECT_EQ(script.draws(), 1u) << row.u;
  }
  // Weights 1, 0.6, 0.2 out of 2: shares 0.5, 0.3, 0.1.
  stathelp::WeightedEntries entries = {{0.6, {2}}, {1.0, {1}}, {0.2, {3}}};
  for (const auto& [u, want] : std::vector<std::pair<double, int>>{{0.4, 1}, {0.7, 2}, {0.95, 3}}) {
    ScriptedRandom script({u});
    EXPECT_EQ(stathelp::rmultinom(&entries, 2.0)->second[0], want) << u;
  }
  ScriptedRandom zero({0.0});
  EXPECT_THROW(stathelp::rmultinom(&entries, 2.0), RBD_COMMON::Logic_error);
  stathelp::WeightedEntries empty;
  EXPECT_THROW(stathelp::rmultinom(&empty, 1.0), RBD_COMMON::Logic_error);
}

TEST(Draws, Samples) {
  const struct {
    bool pairs;
    int N, M, p;
    std::vector<double> u;
    Sample want;  // from out = {-1, ..., -1} of 6 entries
  } rows[] = {
      // 8 candidates 2..9: 0.05 picks 2; 0.99 of 3..9 picks 9; 0.45 of 3..8 picks 5.
      {false, 10, 2, 5, {0.05, 0.99, 0.45}, {0, 1, 2, 9, 5, -1}},
      // Pair starts 2, 4, 6, 8: 0.99 picks 8; 0.1 of 2, 4, 6 picks 2.
      {true, 10, 2, 6, {0.99, 0.1}, {0, 1, 8, 9, 2, 3}},
      // N - M odd: 4 has no partner below 5, so 0.99 picks 2 among 0, 2.
      {true, 5, 0, 5, {0.99, 0.99}, {2, 3, 0, 1, -1, -1}},
      // p outside [M, N], or M < 0: the message, no draws, nothing written.
      {false, 10, 2, 11, {}, {-1, -1, -1, -1, -1, -1}},
      {false, 10, -1, 3, {}, {-1, -1, -1, -1, -1, -1}},
      {true, 10, 4, 3, {}, {-1, -1, -1, -1, -1, -1}},
      // A longer sample grows the vector.
      {false, 8, 0, 8, std::vector<double>(8, 0.01), {0, 1, 2, 3, 4, 5, 6, 7}},
  };
  for (const auto& row : rows) {
    ScriptedRandom script(row.u);
    Sample out(6, -1);
    testing::internal::CaptureStdout();
    (row.pairs ? stathelp::samp1 : stathelp::samp)(row.N, row.M, row.p, &out);
    const bool refused = row.u.empty();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              refused ? "need p >= M and p <= N in samp function\n" : "");
    EXPECT_EQ(out, row.want) << row.N << " " << row.M << " " << row.p;
    EXPECT_EQ(script.remaining(), 0u);
  }
  for (const auto sample : {stathelp::samp, stathelp::samp1}) {
    ScriptedRandom script({0.0});
    Sample out(4);
    EXPECT_THROW(sample(6, 0, 4, &out), RBD_COMMON::Logic_error);
  }
}

// Kolmogorov-Smirnov distance of n draws from the distribution's cdf.
template <class Distribution>
double ks_distance(const std::function<double()>& draw, const Distribution& d, int n) {
  std::vector<double> x(n);
  for (double& v : x) v = draw();
  std::sort(x.begin(), x.end());
  double distance = 0.0;
  for (int i = 0; i < n; ++i) {
    const double f = boost::math::cdf(d, x[i]);
    distance = std::max({distance, f - double(i) / n, double(i + 1) / n - f});
  }
  return distance;
}

// 4000 draws from a correct sampler exceed the KS distance 1.95 / sqrt(n) with
// probability 0.001; the seed is fixed, so the test is deterministic.
TEST(Draws, ContinuousAgainstBoost) {
  MT generator(0.4142);
  Random::Set(generator);
  constexpr int n = 4000;
  const double limit = 1.95 / std::sqrt(n);
  namespace bm = boost::math;
  EXPECT_LT(
      ks_distance([] { return stathelp::rgamma(0.6, 2.0); }, bm::gamma_distribution<>(0.6, 0.5), n),
      limit);
  EXPECT_LT(
      ks_distance([] { return stathelp::rgamma(3.7, 0.5); }, bm::gamma_distribution<>(3.7, 2.0), n),
      limit);
  EXPECT_LT(ks_distance([] { return stathelp::genchi(3); }, bm::chi_squared(3), n), limit);
  EXPECT_LT(ks_distance([] { return stathelp::genbet(2.5f, 0.7f); },
                        bm::beta_distribution<>(2.5, 0.7), n),
            limit);
}

// The Dirichlet and p = 1 Wishart draws against the same gamma and
// chi-square draws replayed from the seed, in closed form.
TEST(Draws, DirichletAndWishartReplayed) {
  const double alpha[] = {0.3, 2.0, 5.0};
  const int k = 3;
  double out[k];
  MT generator(0.25);
  Random::Set(generator);
  stathelp::rdirichlet(out, alpha, &k);
  NEWMAT::SymmetricMatrix S(1), W(1), W_inverse(1);
  S << 2.5;
  stathelp::rwish(&W, 7, &S, false);
  stathelp::rwish(&W_inverse, 7, &S, true);
  MT replay(0.25);
  Random::Set(replay);
  double g[k], sum = 0.0;
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
  NEWMAT::SymmetricMatrix S(2);
  S << 2.0 << 0.8 << 1.0;
  for (const auto& [inverse, df, factor] :
       {std::tuple{false, 8, 8.0}, std::tuple{true, 12, 1.0 / 9}}) {
    NEWMAT::SymmetricMatrix sum(2), W(2);
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
