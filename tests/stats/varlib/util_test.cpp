// The numerical utilities: running moments through their forwarders,
// printing by captured output, log binomial coefficients against integers,
// and the densities and pnorm against Boost.Math.
#include "stats/varlib/util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include <boost/math/distributions.hpp>

namespace {

namespace bm = boost::math;

TEST(Util, RunningMomentsForward) {
  double mean = 0, v = 0, s = 0, n = 0;
  const double want_v[] = {2, 2, 13}, want_s[] = {2, std::sqrt(2.0), std::sqrt(13.0)};
  for (double x : {2.0, 4.0, 9.0}) {
    numlib::sequential_mean(&mean, &x, ++n);
    numlib::sequential_variance(&v, &mean, &x, n);
    numlib::sequential_sd(&s, &mean, &x, n);
    EXPECT_DOUBLE_EQ(v, want_v[int(n) - 1]) << n;
    EXPECT_DOUBLE_EQ(s, want_s[int(n) - 1]) << n;
  }
  EXPECT_DOUBLE_EQ(mean, 5);
  const double x = 100;
  numlib::sequential_variance(&v, &mean, &x, 1.5);
  numlib::sequential_sd(&s, &mean, &x, 1.5);
  EXPECT_EQ(v, 13);
  EXPECT_EQ(s, std::sqrt(13.0));

  // Element by element, up to the length only.
  double means[3] = {0, 0, 7}, vs[3] = {0, 0, 7}, ss[3] = {0, 0, 7};
  const double obs[][3] = {{1, 10, 5}, {3, 30, 5}};
  for (int i = 0; i < 2; ++i) {
    numlib::sequential_mean_vec(means, obs[i], i + 1, 2);
    numlib::sequential_variance_vec(vs, means, obs[i], i + 1, 2);
    numlib::sequential_sd_vec(ss, means, obs[i], i + 1, 2);
  }
  const double want[][3] = {{2, 20, 7}, {2, 200, 7}, {std::sqrt(2.0), std::sqrt(200.0), 7}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_DOUBLE_EQ(means[i], want[0][i]) << i;
    EXPECT_DOUBLE_EQ(vs[i], want[1][i]) << i;
    EXPECT_DOUBLE_EQ(ss[i], want[2][i]) << i;
  }
}

TEST(Util, Printing) {
  const int m[] = {1, 2, 3, 4};
  const double d[] = {0.5, -1, 2.25, 3};
  const auto printed = [](auto print) {
    testing::internal::CaptureStdout();
    print();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
  };
  EXPECT_EQ(printed([&] { numlib::print_mat_int(m, 2, 2); }), "1 2 \n3 4 \n\n");
  EXPECT_EQ(printed([&] { numlib::print_mat_int(m, 1, 3); }), "1 2 3 \n\n");
  EXPECT_EQ(printed([&] { numlib::print_mat_double(d, 2, 1); }), "0.500000 \n-1.000000 \n\n");
  EXPECT_EQ(printed([&] { numlib::print_mat_int(m, 0, 2); }), "\n");
  EXPECT_EQ(printed([&] { numlib::print_mat_double(d, 2, 0); }), "\n\n\n");
  EXPECT_EQ(printed([&] { numlib::print_3D_array_int(m, 2, 2, 1); }), "1 \n2 \n\n3 \n4 \n\n\n");
  EXPECT_EQ(printed([&] { numlib::print_3D_array_int(m, 1, 1, -1); }), "\n\n\n");
  EXPECT_EQ(printed([&] { numlib::print_3D_array_double(d, 1, 2, 2); }),
            "0.500000 -1.000000 \n2.250000 3.000000 \n\n\n");
  EXPECT_EQ(printed([&] { numlib::print_3D_array_int(m, 0, 2, 2); }), "\n");
}

TEST(Util, LogBinomialCoefficients) {
  // C(n, k) by exact integer recurrence; alngam is good to about 1e-14 of
  // values up to 40, the float form to its single precision.
  for (int n = 0; n <= 60; ++n) {
    std::uint64_t c = 1;
    for (int k = 0; k <= n; ++k) {
      const double want = std::log(double(c));
      EXPECT_NEAR(numlib::lchoose(n, k), want, 1e-11) << n << " " << k;
      EXPECT_NEAR(numlib::lchoosef(n, k), want, 1e-5 * (1 + want)) << n << " " << k;
      c = c * (n - k) / (k + 1);
    }
  }
  EXPECT_NEAR(numlib::lchoose(5, 2), std::log(10.0), 1e-14);
  EXPECT_NEAR(numlib::lchoose(10.5, 2.5), std::lgamma(11.5) - std::lgamma(9.0) - std::lgamma(3.5),
              1e-12);
}

TEST(Util, DensitiesAndNormalDistribution) {
  // (x, shape, rate)
  const double gammas[][3] = {{1, 2, 1}, {0.3, 0.5, 2}, {4, 7.5, 1.5}, {2, 1, 0.25}};
  for (const auto& g : gammas) {
    const bm::gamma_distribution<> d(g[1], 1 / g[2]);
    EXPECT_NEAR(numlib::dgamma(0, g[0], g[1], g[2]), bm::pdf(d, g[0]), 1e-13 * bm::pdf(d, g[0]));
    EXPECT_NEAR(numlib::dgamma(1, g[0], g[1], g[2]), std::log(bm::pdf(d, g[0])), 1e-12);
  }
  EXPECT_DOUBLE_EQ(numlib::dgamma(0, 1, 2, 1), std::exp(-1.0));
  // sqrt(2 pi) is taken as 2.5066282747946493: 6.5e-11 of the value.
  const double mu = 1.5, sd = 2;
  for (double x : {-3.0, 0.0, 1.5, 2.7, 9.0})
    EXPECT_NEAR(numlib::dnorm(&mu, &sd, x), bm::pdf(bm::normal(mu, sd), x),
                1e-10 * bm::pdf(bm::normal(mu, sd), x))
        << x;
  const int two = 2, none = 0;
  for (double t : {0.1, 0.5, 0.85}) {
    const double x[] = {t, 1 - t}, alpha[] = {2.5, 0.7};
    EXPECT_NEAR(numlib::ddirichlet(x, alpha, &two),
                std::log(bm::pdf(bm::beta_distribution<>(2.5, 0.7), t)), 1e-12)
        << t;
    EXPECT_TRUE(std::isinf(numlib::ddirichlet(x, alpha, &none)));
  }

  // Between the clamps, cumnor; beyond, the uneven clamps.
  for (double z : {-5.0, -4.2, -1.0, 0.0, 0.3, 2.0, 4.99, 5.0}) {
    const double x = mu + sd * z;
    const double p = bm::cdf(bm::normal(), z), q = bm::cdf(bm::complement(bm::normal(), z));
    EXPECT_NEAR(numlib::pnorm(&mu, &sd, 0, x), p, 1e-14 + 1e-13 * p) << z;
    EXPECT_NEAR(numlib::pnorm(&mu, &sd, 1, x), q, 1e-14 + 1e-13 * q) << z;
  }
  const double beyond[][3] = {{5.01, 0.9999997, 2.9999999995311555E-07},
                              {60, 0.9999997, 2.9999999995311555E-07},
                              {-5.01, 2.86e-7, 0.999999714},
                              {-1e300, 2.86e-7, 0.999999714}};
  for (const auto& b : beyond) {
    EXPECT_EQ(numlib::pnorm(&mu, &sd, 0, mu + sd * b[0]), b[1]) << b[0];
    EXPECT_EQ(numlib::pnorm(&mu, &sd, 7, mu + sd * b[0]), b[2]) << b[0];
  }
}

}  // namespace
