// Batch moments on hand-computed samples, and the running moments against
// the batch ones.
#include "stats/moments.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

TEST(BatchMoments, HandComputedSamples) {
  const std::vector<double> x = {1, 2, 3, 4};
  const std::vector<double> y = {2, 4, 7, 100};
  EXPECT_EQ(stathelp::meanvec(&x, 4), 2.5);
  EXPECT_EQ(stathelp::meanvec(&x, 2), 1.5);  // only the first n elements
  EXPECT_DOUBLE_EQ(stathelp::varvec1(&x, 4), 5.0 / 3.0);
  EXPECT_EQ(stathelp::varvec(&x, 0.0, 4), 10.0);
  EXPECT_EQ(stathelp::varvec(&x, 2.0, 3), 1.0);
  // x = 1, 2, 3 against y = 2, 4, 7: sum xy = 31; centred: 5.
  EXPECT_EQ(stathelp::covvec(&x, &y, 0.0, 0.0, 3), 15.5);
  EXPECT_DOUBLE_EQ(stathelp::covvec1(&x, &y, 3), 2.5);
  EXPECT_TRUE(std::isnan(stathelp::meanvec(&x, 0)));
  EXPECT_TRUE(std::isnan(stathelp::varvec1(&x, 1)));
  EXPECT_TRUE(std::isnan(stathelp::covvec1(&x, &y, 1)));
}

TEST(RunningMoments, TwoFourNine) {
  const double obs[] = {2, 4, 9};
  const double want_var[] = {2, 2, 13};  // the slot holds the first value after n = 1
  double mean = 0.0, v = -1.0, s = -1.0;
  for (int i = 0; i < 3; ++i) {
    const double n = i + 1;
    stathelp::sequential_mean(&mean, &obs[i], n);
    stathelp::sequential_variance(&v, &mean, &obs[i], n);
    stathelp::sequential_sd(&s, &mean, &obs[i], n);
    EXPECT_DOUBLE_EQ(v, want_var[i]) << "n = " << n;
    EXPECT_DOUBLE_EQ(s, i == 0 ? 2.0 : std::sqrt(want_var[i])) << "n = " << n;
  }
  EXPECT_DOUBLE_EQ(mean, 5.0);
}

TEST(RunningMoments, OtherSizesLeaveSlotsAlone) {
  for (const double n : {1.5, 0.5, 0.0, -3.0, std::nan("")}) {
    const double x = 7.0, mean = 3.0;
    double v = 11.0, s = 13.0;
    stathelp::sequential_variance(&v, &mean, &x, n);
    stathelp::sequential_sd(&s, &mean, &x, n);
    EXPECT_EQ(v, 11.0) << "n = " << n;
    EXPECT_EQ(s, 13.0) << "n = " << n;
  }
}

// Each of three columns of seeded normal data is run through the vector
// forms and compared with the batch moments of its first n values.  Both
// compute the same sums in double, so they agree far inside 1e-12.
TEST(RunningMoments, VectorFormsAgreeWithBatch) {
  constexpr int kColumns = 3, kRows = 200;
  std::mt19937 engine(4321);
  std::normal_distribution<double> normal(5.0, 2.0);
  std::vector<std::vector<double>> column(kColumns);
  double mean[kColumns] = {}, v[kColumns] = {}, s[kColumns] = {};
  for (int r = 0; r < kRows; ++r) {
    double row[kColumns];
    for (int c = 0; c < kColumns; ++c) column[c].push_back(row[c] = normal(engine) * (c + 1));
    const double n = r + 1;
    stathelp::sequential_mean_vec(mean, row, n, kColumns);
    stathelp::sequential_variance_vec(v, mean, row, n, kColumns);
    stathelp::sequential_sd_vec(s, mean, row, n, kColumns);
    if (r == 0) continue;
    for (int c = 0; c < kColumns; ++c) {
      const double batch_mean = stathelp::meanvec(&column[c], r + 1);
      const double batch_var = stathelp::varvec1(&column[c], r + 1);
      ASSERT_NEAR(mean[c], batch_mean, 1e-12 * std::abs(batch_mean)) << r << " " << c;
      ASSERT_NEAR(v[c], batch_var, 1e-12 * batch_var) << r << " " << c;
      ASSERT_NEAR(s[c], std::sqrt(batch_var), 1e-12 * std::sqrt(batch_var)) << r << " " << c;
    }
  }
  // A length of 0 changes nothing.
  double untouched = 9.0;
  const double x = 1.0;
  stathelp::sequential_mean_vec(&untouched, &x, 2.0, 0);
  stathelp::sequential_variance_vec(&untouched, &x, &x, 2.0, 0);
  stathelp::sequential_sd_vec(&untouched, &x, &x, 2.0, 0);
  EXPECT_EQ(untouched, 9.0);
}

}  // namespace
