// Densities against Boost.Math's pdfs and closed forms.
#include "stats/densities.h"

#include <gtest/gtest.h>
#include <newmat/newmat.h>

#include <cmath>
#include <functional>

#include <boost/math/distributions/beta.hpp>
#include <boost/math/distributions/gamma.hpp>
#include <boost/math/distributions/inverse_gamma.hpp>
#include <boost/math/distributions/normal.hpp>

namespace {

namespace bm = boost::math;
using NEWMAT::ColumnVector;
using NEWMAT::SymmetricMatrix;

// The normal forms use 2 pi rounded to 6.283185308 (relative error 1.3e-10,
// the multivariate one its logarithm): they are held to 1e-9.  Every other form is exact up to the
// rounding of a few logarithms and lgamma values, a few units in the last place of terms below 200
// in size: 1e-12.
constexpr double kRoundedPi = 1e-9;
constexpr double kExact = 1e-12;

TEST(Densities, AgainstBoost) {
  struct Row {
    const char* what;
    std::function<double()> got;
    std::function<double()> want;
    bool is_log;  // logs are compared absolutely, densities relatively
    double tol;
  };
  const double mu = 1.5, sd = 0.7;
  const Row rows[] = {
      {"dnorm", [&] { return stathelp::dnorm(2.3, &mu, &sd); },
       [] { return bm::pdf(bm::normal(1.5, 0.7), 2.3); }, false, kRoundedPi},
      {"dnorm at the mean", [&] { return stathelp::dnorm(1.5, &mu, &sd); },
       [] { return bm::pdf(bm::normal(1.5, 0.7), 1.5); }, false, kRoundedPi},
      {"log_dnorm", [] { return stathelp::log_dnorm(-0.4, 0.3, 2.25); },
       [] { return std::log(bm::pdf(bm::normal(0.3, 1.5), -0.4)); }, true, kRoundedPi},
      {"dgamma", [] { return stathelp::dgamma(2.5, 3.2, 1.7, 0); },
       [] { return bm::pdf(bm::gamma_distribution<>(3.2, 1 / 1.7), 2.5); }, false, kExact},
      {"dgamma x = 1, shape 2, rate 1", [] { return stathelp::dgamma(1.0, 2.0, 1.0, 0); },
       [] { return std::exp(-1.0); }, false, kExact},
      {"dgamma log", [] { return stathelp::dgamma(0.3, 0.6, 4.0, 1); },
       [] { return std::log(bm::pdf(bm::gamma_distribution<>(0.6, 0.25), 0.3)); }, true, kExact},
      {"log_dgamma", [] { return stathelp::log_dgamma(7.0, 12.5, 2.0); },
       [] { return std::log(bm::pdf(bm::gamma_distribution<>(12.5, 0.5), 7.0)); }, true, kExact},
      {"log_dbeta", [] { return stathelp::log_dbeta(0.35, 2.5, 4.0); },
       [] { return std::log(bm::pdf(bm::beta_distribution<>(2.5, 4.0), 0.35)); }, true, kExact},
      {"log_dbeta below 1", [] { return stathelp::log_dbeta(0.9, 0.5, 0.3); },
       [] { return std::log(bm::pdf(bm::beta_distribution<>(0.5, 0.3), 0.9)); }, true, kExact},
      // Scaled inverse chi-square (nu, s2) is inverse gamma (nu/2, nu s2/2).
      {"log_dscaled_Inv_Chi_Squared",
       [] { return stathelp::log_dscaled_Inv_Chi_Squared(0.8, 5.0, 1.3); },
       [] { return std::log(bm::pdf(bm::inverse_gamma(2.5, 3.25), 0.8)); }, true, kExact},
      // Dirichlet with two components is the beta density of the first.
      {"ddirichlet k = 2",
       [] {
         const double x[] = {0.35, 0.65}, alpha[] = {2.5, 4.0};
         const int k = 2;
         return stathelp::ddirichlet(x, alpha, &k);
       },
       [] { return std::log(bm::pdf(bm::beta_distribution<>(2.5, 4.0), 0.35)); }, true, kExact},
      // Uniform on the 2-simplex: density Gamma(3) = 2.
      {"ddirichlet k = 3 flat",
       [] {
         const double x[] = {0.2, 0.5, 0.3}, alpha[] = {1, 1, 1};
         const int k = 3;
         return stathelp::ddirichlet(x, alpha, &k);
       },
       [] { return std::log(2.0); }, true, kExact},
      // A 1 x 1 inverse Wishart (nu, S) is inverse gamma (nu/2, S/2).
      {"log_inverse_Wishart_density 1 x 1",
       [] {
         SymmetricMatrix w(1), s(1);
         w(1, 1) = 0.6;
         s(1, 1) = 1.8;
         return stathelp::log_inverse_Wishart_density(&w, 4.5, &s);
       },
       [] { return std::log(bm::pdf(bm::inverse_gamma(2.25, 0.9), 0.6)); }, true, kExact},
  };
  for (const Row& row : rows) {
    const double got = row.got(), want = row.want();
    EXPECT_NEAR(got, want, row.tol * (row.is_log ? 1.0 : want)) << row.what;
  }
  const int zero = 0;
  EXPECT_EQ(stathelp::ddirichlet(nullptr, nullptr, &zero), HUGE_VAL);  // lgamma(0)
}

SymmetricMatrix symmetric2(double m11, double m12, double m22) {
  SymmetricMatrix m(2);
  m(1, 1) = m11;
  m(2, 1) = m12;
  m(2, 2) = m22;
  return m;
}

TEST(Densities, InverseWishartFormsAgree) {
  const double cases[][7] = {
      // w11, w12, w22, nu, s11, s12, s22
      {1.0, 0.0, 1.0, 4.0, 1.0, 0.0, 1.0},
      {2.0, 0.7, 1.5, 5.5, 0.9, -0.3, 2.2},
      {0.4, -0.1, 3.0, 3.2, 1.7, 0.8, 0.6},
  };
  for (const auto& c : cases) {
    const SymmetricMatrix w = symmetric2(c[0], c[1], c[2]);
    const SymmetricMatrix s = symmetric2(c[4], c[5], c[6]);
    const double two_d = stathelp::log_inverse_Wishart_density_2D(&c[0], c[3], &c[4]);
    EXPECT_NEAR(stathelp::log_inverse_Wishart_density(&w, c[3], &s), two_d, kExact) << c[3];
  }
}

// ln of the bivariate normal density with standard deviations s1, s2 and
// correlation r, written out.
double bivariate_normal_log(double x1, double x2, double s1, double s2, double r) {
  const double z1 = x1 / s1, z2 = x2 / s2, one_r2 = 1 - r * r;
  return -std::log(2 * M_PI * s1 * s2 * std::sqrt(one_r2)) -
         (z1 * z1 - 2 * r * z1 * z2 + z2 * z2) / (2 * one_r2);
}

TEST(Densities, MultivariateNormal) {
  // Diagonal covariance: the sum of the normal log-densities, d = 3.
  ColumnVector x(3), mu(3);
  x << 0.5 << -1.0 << 2.0;
  mu << 0.0 << 0.5 << 2.5;
  const double var[] = {1.0, 0.25, 4.0};
  SymmetricMatrix sigma(3);
  sigma = 0.0;
  double want = 0.0;
  for (int i = 0; i < 3; ++i) {
    sigma(i + 1, i + 1) = var[i];
    want += std::log(bm::pdf(bm::normal(mu(i + 1), std::sqrt(var[i])), x(i + 1)));
  }
  EXPECT_NEAR(stathelp::log_mvt_norm_density(&x, &mu, &sigma), want, kRoundedPi);

  // Correlated 2 x 2 cases, at the mean and away from it.
  const double s1 = 1.2, s2 = 0.5, r = 0.6;
  const SymmetricMatrix cov = symmetric2(s1 * s1, r * s1 * s2, s2 * s2);
  const double offsets[][2] = {{0, 0}, {1.0, -0.4}, {-2.0, 0.3}};
  ColumnVector m(2);
  m << 1.0 << -2.0;
  for (const auto& o : offsets) {
    ColumnVector at(2);
    at << 1.0 + o[0] << -2.0 + o[1];
    EXPECT_NEAR(stathelp::log_mvt_norm_density(&at, &m, &cov),
                bivariate_normal_log(o[0], o[1], s1, s2, r), kRoundedPi)
        << o[0] << ", " << o[1];
  }
}

}  // namespace
