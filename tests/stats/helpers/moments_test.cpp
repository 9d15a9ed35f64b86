// Batch moments on hand-computed samples, and the running moments against
// the batch ones.
#include "stats/helpers/moments.h"

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
}

// Three columns of seeded normal data run through the vector forms agree
// with the batch moments of their first n values: both are sums in double of
// well-scaled values, far inside 1e-12.  A sample size of 1.5 changes nothing.
TEST(Moments, RunningAgreesWithBatch) {
  std::mt19937 engine(4321);
  std::normal_distribution<double> normal(5.0, 2.0);
  std::vector<double> column[3];
  double mean[3] = {}, v[3] = {}, s[3] = {};
  for (int r = 0; r < 200; ++r) {
    double row[3];
    for (int c = 0; c < 3; ++c) column[c].push_back(row[c] = normal(engine) * (c + 1));
    stathelp::sequential_mean_vec(mean, row, r + 1, 3);
    for (const double n : {r + 1.0, 1.5}) {
      stathelp::sequential_variance_vec(v, mean, row, n, 3);
      stathelp::sequential_sd_vec(s, mean, row, n, 3);
    }
    for (int c = 0; c < 3 && r > 0; ++c) {
      const double batch_var = stathelp::varvec1(&column[c], r + 1);
      ASSERT_NEAR(mean[c], stathelp::meanvec(&column[c], r + 1), 1e-12 * std::abs(mean[c]));
      ASSERT_NEAR(v[c], batch_var, 1e-12 * batch_var) << r;
      ASSERT_NEAR(s[c], std::sqrt(batch_var), 1e-12 * s[c]) << r;
    }
  }
}

}  // namespace
