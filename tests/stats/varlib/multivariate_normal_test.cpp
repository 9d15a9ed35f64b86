// The linear-algebra kernels against hand-computed cases and newmat, and
// the multivariate normal draws against their mean and covariance.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include <newmat/newmatap.h>

#include "stats/varlib/com.h"
#include "stats/varlib/linalg.h"
#include "stats/varlib/varlib.h"

namespace {

using std::int64_t;

TEST(Linalg, DotProductOrder) {
  // With unit increments n = 7 sums 2 products, then one group of 5: the
  // group's 1 + 1 survives next to 2^24, where one at a time would not.
  const float big = 16777216.0f;
  const float x[] = {big, 0, 1, 1, 0, 0, 0}, ones[] = {1, 1, 1, 1, 1, 1, 1};
  EXPECT_EQ(numlib::sdot(7, x, 1, ones, 1), big + 2);
  const float a[] = {1, 2, 3, 4, 5, 6, 7}, b[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
  // (n, incx, incy, sum): negative increments start from the far end.
  const float rows[][4] = {{7, 1, 1, 7654321}, {3, -1, 1, 123}, {3, 1, -1, 123},
                           {3, -1, -1, 321},   {3, 2, 1, 531},  {2, -3, 2, 104},
                           {0, 1, 1, 0},       {-2, 1, 1, 0},   {5, 1, 1, 54321}};
  for (const auto& r : rows)
    EXPECT_EQ(numlib::sdot(int64_t(r[0]), a, int64_t(r[1]), b, int64_t(r[2])), r[3])
        << r[0] << " " << r[1] << " " << r[2];
}

TEST(Linalg, CholeskyFactor) {
  float a[] = {4, 2, 2, 3};  // column order
  int64_t info = -1;
  numlib::spofa(a, 2, 2, &info);
  EXPECT_EQ(info, 0);
  EXPECT_EQ(a[0], 2.0f);
  EXPECT_EQ(a[2], 1.0f);
  EXPECT_EQ(a[3], std::sqrt(2.0f));
  for (float c : {1.0f, NAN}) {
    float b[] = {1, 2, 2, c};
    numlib::spofa(b, 2, 2, &info);
    EXPECT_EQ(info, 2) << c;
  }
  numlib::spofa(a, 2, 0, &info);
  EXPECT_EQ(info, 0);

  // A random positive-definite 6 x 6 matrix B'B + I, held with leading
  // dimension 8: R'R restores it and R is newmat's lower factor transposed.
  constexpr int n = 6, lda = 8;
  std::mt19937 rng(35);
  std::uniform_real_distribution<double> unit(-1, 1);
  NEWMAT::Matrix b(n, n);
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= n; ++j) b(i, j) = unit(rng);
  NEWMAT::SymmetricMatrix s;
  s << b.t() * b + NEWMAT::IdentityMatrix(n);
  std::vector<float> m(lda * n, -99.0f);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) m[i + j * lda] = float(s(i + 1, j + 1));
  numlib::spofa(m.data(), lda, n, &info);
  ASSERT_EQ(info, 0);
  const NEWMAT::LowerTriangularMatrix l = NEWMAT::Cholesky(s);
  // Entries are of order 1 to 3; single precision keeps about 1e-6 of them
  // through six columns.
  for (int i = 0; i < n; ++i)
    for (int j = i; j < n; ++j) {
      EXPECT_NEAR(m[i + j * lda], l(j + 1, i + 1), 2e-5) << i << " " << j;
      double rr = 0;
      for (int k = 0; k <= i; ++k) rr += double(m[k + i * lda]) * m[k + j * lda];
      EXPECT_NEAR(rr, s(i + 1, j + 1), 2e-5) << i << " " << j;
    }
  EXPECT_EQ(m[6], -99.0f);  // below the leading dimension's rows: untouched
}

TEST(MultivariateNormal, PackedFactorAndMoments) {
  const float mean[] = {1, -2, 0.5f};
  float cov[] = {4, 1.2f, -0.6f, 1.2f, 1, 0.3f, -0.6f, 0.3f, 2};
  const float want[3][3] = {{4, 1.2f, -0.6f}, {1.2f, 1, 0.3f}, {-0.6f, 0.3f, 2}};
  float parm[3 * 6 / 2 + 1];
  numlib::setgmn(mean, cov, 3, parm);
  EXPECT_EQ(parm[0], 3.0f);
  EXPECT_EQ(parm[1], 1.0f);
  EXPECT_EQ(parm[3], 0.5f);
  EXPECT_EQ(parm[4], 2.0f);  // R(1, 1)
  EXPECT_EQ(parm[5], 0.6f);  // R(1, 2) = 1.2 / 2
  EXPECT_EQ(parm[7], 0.8f);  // R(2, 2) = sqrt(1 - 0.36)

  // Sample moments of 40000 draws within five standard errors: sqrt(S_ii / N)
  // for the means, sqrt((S_ii S_jj + S_ij^2) / N) for the covariances.
  constexpr int draws = 40000;
  numlib::setall(35, 36);
  double sum[3] = {}, cross[3][3] = {};
  float x[3], work[3];
  for (int d = 0; d < draws; ++d) {
    numlib::genmn(parm, x, work);
    for (int i = 0; i < 3; ++i) {
      sum[i] += x[i] - mean[i];
      for (int j = 0; j < 3; ++j) cross[i][j] += (x[i] - mean[i]) * (x[j] - mean[j]);
    }
  }
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(sum[i] / draws, 0, 5 * std::sqrt(want[i][i] / draws)) << i;
    for (int j = 0; j < 3; ++j)
      EXPECT_NEAR(cross[i][j] / draws, want[i][j],
                  5 * std::sqrt((want[i][i] * want[j][j] + want[i][j] * want[i][j]) / draws))
          << i << " " << j;
  }
  // x = mean + R'z: x1 = m1 + 2 z1, x2 = m2 + 0.6 z1 + 0.8 z2.
  numlib::setall(8, 9);
  const float z1 = numlib::snorm(), z2 = numlib::snorm();
  numlib::setall(8, 9);
  numlib::genmn(parm, x, work);
  EXPECT_NEAR(x[0], 1 + 2 * z1, 1e-6);
  EXPECT_NEAR(x[1], -2 + 0.6 * z1 + 0.8 * z2, 1e-6);
  parm[0] = 0;
  x[0] = 7;
  numlib::genmn(parm, x, work);
  EXPECT_EQ(x[0], 7.0f);
}

}  // namespace
