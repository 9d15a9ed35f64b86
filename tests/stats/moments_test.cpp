// Batch moments on hand-computed samples, and the running moments against
// the batch ones.
#include "stats/moments.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

TEST(Moments, HandComputedSamples) {
  const std::vector<double> x = {1, 2, 3, 4}, y = {2, 4, 7, 100};
  EXPECT_EQ(stathelp::meanvec(&x, 4), 2.5);
  EXPECT_DOUBLE_EQ(stathelp::varvec1(&x, 4), 5.0 / 3.0);
  EXPECT_EQ(stathelp::varvec(&x, 0.0, 4), 10.0);
  // The first three: x - 1 = 0, 1, 2 and y - 4 = -2, 0, 3 sum to 6; centred 5.
  EXPECT_EQ(stathelp::covvec(&x, &y, 1.0, 4.0, 3), 3.0);
  EXPECT_DOUBLE_EQ(stathelp::covvec1(&x, &y, 3), 2.5);
  EXPECT_TRUE(std::isnan(stathelp::meanvec(&x, 0)));
  EXPECT_TRUE(std::isnan(stathelp::varvec1(&x, 1)));
  // Running over 2, 4, 9: variance 2 then 13; n = 1.5 leaves the slots alone.
  double mean = 0.0, v = -1.0, s = -1.0;
  const double obs[] = {2, 4, 9, 50}, n[] = {1, 2, 3, 1.5}, want_v[] = {2, 2, 13, 13};
  for (int i = 0; i < 4; ++i) {
    stathelp::sequential_mean(&mean, &obs[i], n[i]);
    stathelp::sequential_variance(&v, &mean, &obs[i], n[i]);
    stathelp::sequential_sd(&s, &mean, &obs[i], n[i]);
    EXPECT_DOUBLE_EQ(v, want_v[i]) << i;
    EXPECT_DOUBLE_EQ(s, i == 0 ? 2.0 : std::sqrt(want_v[i])) << i;
  }
}

// Three columns of seeded normal data run through the vector forms agree
// with the batch moments of their first n values: both are sums in double of
// well-scaled values, far inside 1e-12.
TEST(Moments, RunningAgreesWithBatch) {
  constexpr int kColumns = 3;
  std::mt19937 engine(4321);
  std::normal_distribution<double> normal(5.0, 2.0);
  std::vector<double> column[kColumns];
  double mean[kColumns] = {}, v[kColumns] = {}, s[kColumns] = {};
  for (int r = 0; r < 200; ++r) {
    double row[kColumns];
    for (int c = 0; c < kColumns; ++c) column[c].push_back(row[c] = normal(engine) * (c + 1));
    stathelp::sequential_mean_vec(mean, row, r + 1, kColumns);
    stathelp::sequential_variance_vec(v, mean, row, r + 1, kColumns);
    stathelp::sequential_sd_vec(s, mean, row, r + 1, kColumns);
    for (int c = 0; c < kColumns && r > 0; ++c) {
      const double batch_var = stathelp::varvec1(&column[c], r + 1);
      ASSERT_NEAR(mean[c], stathelp::meanvec(&column[c], r + 1), 1e-12 * std::abs(mean[c]));
      ASSERT_NEAR(v[c], batch_var, 1e-12 * batch_var) << r;
      ASSERT_NEAR(s[c], std::sqrt(batch_var), 1e-12 * s[c]) << r;
    }
  }
}

}  // namespace
