// Draws over the variate library: each against the variate it widens, and
// the discrete choices for chosen uniforms.
#include "stats/varlib/draws.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <functional>

#include "chosen_uniform.h"
#include "stats/varlib/com.h"
#include "stats/varlib/varlib.h"

namespace {

TEST(Draws, WidenTheVariates) {
  const double mu = -1.5, sd = 3;
  // (draw, the same from the variates)
  const std::pair<std::function<double()>, std::function<double()>> rows[] = {
      {numlib::runif, numlib::ranf},
      {[&] { return numlib::rnorm(&mu, &sd); }, [&] { return numlib::snorm() * sd + mu; }},
      {[] { return numlib::rgamma(2.5, 4); }, [] { return numlib::gengam(4, 2.5); }},
      {[] { return numlib::rgamma(0.5, 0.1); }, [] { return numlib::gengam(0.1f, 0.5); }},
  };
  for (std::size_t row = 0; row < std::size(rows); ++row)
    for (int seed = 1; seed < 50; ++seed) {
      numlib::setall(seed, 99);
      const double x = rows[row].first();
      numlib::setall(seed, 99);
      ASSERT_EQ(x, rows[row].second()) << row << " " << seed;
    }

  const double alpha[] = {0.3, 2, 5};
  for (int k = 1; k <= 3; ++k) {
    numlib::setall(7, k);
    double g[3], s = 0;
    for (int i = 0; i < k; ++i) s += g[i] = numlib::gengam(1, float(alpha[i]));
    double out[3] = {-1, -1, -1}, total = 0;
    numlib::setall(7, k);
    numlib::rdirichlet(out, alpha, &k);
    for (int i = 0; i < k; ++i) {
      EXPECT_NEAR(out[i], (g[i] + 0.01 * s) / ((0.01 * k + 1) * s), 1e-15) << k << " " << i;
      EXPECT_GT(out[i], 0);
      total += out[i];
    }
    EXPECT_NEAR(total, 1, 1e-15) << k;
    EXPECT_EQ(out[k % 3], k == 3 ? out[0] : -1);  // nothing past k
  }
  const int none = 0;
  double out = -1;
  numlib::rdirichlet(&out, alpha, &none);
  EXPECT_EQ(out, -1);
}

TEST(Draws, ChoicesForChosenUniforms) {
  const double p[] = {0.2, 0.3, 0.5}, thirds[] = {1 / 3.0, 1 / 3.0, 1 / 3.0},
               short_p[] = {0.1, 0.1};
  const auto choose = [](const double* q, int ncat) {
    return [q, ncat](int) {
      int out = -1;
      numlib::rmultinom(&out, q, ncat);
      return out;
    };
  };
  // (choice, n, u, result); the last rows of each hold the caps at n or at
  // the last category for u = 1.0.
  const std::tuple<std::function<int(int)>, int, float, int> rows[] = {
      {numlib::rmultinom_unif_fast, 4, 0.25f, 2},
      {numlib::rmultinom_unif_fast, 10, 0.05f, 1},
      {numlib::rmultinom_unif_fast, 0, 0.5f, 0},
      {numlib::rmultinom_unif_fast, -3, 0.5f, 0},
      {numlib::rmultinom_unif_fast, 4, 1.0f, 4},
      {numlib::rmultinom_unif_fast, INT_MAX, 1.0f, INT_MAX},
      {numlib::rmultinom_unif, 4, 0.25f, 1},
      {numlib::rmultinom_unif, 4, 0.26f, 2},
      {numlib::rmultinom_unif, 4, 0.99f, 4},
      {numlib::rmultinom_unif, 0, 0.5f, 0},
      {numlib::rmultinom_unif, -2, 0.5f, 0},
      {numlib::rmultinom_unif, 3, 1.0f, 3},
      {numlib::rmultinom_unif, 1, 1.0f, 1},
      {choose(p, 3), 0, 0.4f, 2},
      {choose(p, 3), 0, 0.19f, 1},
      {choose(p, 3), 0, 0.51f, 3},
      {choose(short_p, 2), 0, 0.9f, 2},
      {choose(p, 0), 0, 0.1f, 0},
      {choose(thirds, 3), 0, 1.0f, 3},
      {choose(p, 3), 0, 1.0f, 3},
  };
  for (const auto& [choice, n, u, want] : rows) {
    std::int64_t s1 = 0, s2 = 0, t1 = 0, t2 = 0;
    chosen_uniform::next_ranf(u);
    numlib::ranf();
    numlib::getsd(&s1, &s2);
    chosen_uniform::next_ranf(u);
    EXPECT_EQ(choice(n), want) << n << " " << u;
    numlib::getsd(&t1, &t2);
    EXPECT_TRUE(s1 == t1 && s2 == t2) << n << " " << u;  // one ranf()
  }
}

}  // namespace
