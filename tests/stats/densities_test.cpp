// Densities against Boost.Math's pdfs and closed forms.
#include "stats/densities.h"

#include <gtest/gtest.h>
#include <newmat/newmat.h>

#include <cmath>

#include <boost/math/distributions/beta.hpp>
#include <boost/math/distributions/gamma.hpp>
#include <boost/math/distributions/inverse_gamma.hpp>
#include <boost/math/distributions/normal.hpp>

namespace {

namespace bm = boost::math;
using NEWMAT::ColumnVector;
using NEWMAT::SymmetricMatrix;

// The normal forms use 2 pi rounded to 6.283185308 (relative error 1.3e-10,
// also in the multivariate form's ln 2 pi): they are held to 1e-9.  The
// others are exact up to a few roundings of terms below 100: 1e-12.
constexpr double kRoundedPi = 1e-9;
constexpr double kExact = 1e-12;

SymmetricMatrix symmetric(double m11, double m12 = 0.0, double m22 = 0.0, int p = 1) {
  SymmetricMatrix m(p);
  m(1, 1) = m11;
  if (p == 2) {
    m(2, 1) = m12;
    m(2, 2) = m22;
  }
  return m;
}

TEST(Densities, AgainstBoost) {
  const double mu = 1.5, sd = 0.7, x2[] = {0.35, 0.65}, alpha2[] = {2.5, 4.0};
  const int two = 2;
  const SymmetricMatrix w = symmetric(0.6), s = symmetric(1.8);
  const bm::beta_distribution<> beta(2.5, 4.0);
  const struct {
    const char* what;
    double got, want, tol;  // densities relative to want, logs absolute
  } rows[] = {
      {"dnorm", stathelp::dnorm(2.3, &mu, &sd) / bm::pdf(bm::normal(mu, sd), 2.3), 1, kRoundedPi},
      {"log_dnorm", stathelp::log_dnorm(-0.4, 0.3, 2.25),
       std::log(bm::pdf(bm::normal(0.3, 1.5), -0.4)), kRoundedPi},
      {"dgamma",
       stathelp::dgamma(2.5, 3.2, 1.7, 0) / bm::pdf(bm::gamma_distribution<>(3.2, 1 / 1.7), 2.5), 1,
       kExact},
      {"dgamma log", stathelp::dgamma(0.3, 0.6, 4.0, 1),
       std::log(bm::pdf(bm::gamma_distribution<>(0.6, 0.25), 0.3)), kExact},
      {"log_dgamma", stathelp::log_dgamma(7.0, 12.5, 2.0),
       std::log(bm::pdf(bm::gamma_distribution<>(12.5, 0.5), 7.0)), kExact},
      {"log_dbeta", stathelp::log_dbeta(0.35, 2.5, 4.0), std::log(bm::pdf(beta, 0.35)), kExact},
      // Scaled inverse chi-square (nu, s2) is inverse gamma (nu/2, nu s2/2).
      {"log_dscaled_Inv_Chi_Squared", stathelp::log_dscaled_Inv_Chi_Squared(0.8, 5.0, 1.3),
       std::log(bm::pdf(bm::inverse_gamma(2.5, 3.25), 0.8)), kExact},
      // Dirichlet with two components is the beta density of the first.
      {"ddirichlet", stathelp::ddirichlet(x2, alpha2, &two), std::log(bm::pdf(beta, 0.35)), kExact},
      // A 1 x 1 inverse Wishart (nu, S) is inverse gamma (nu/2, S/2).
      {"log_inverse_Wishart_density", stathelp::log_inverse_Wishart_density(&w, 4.5, &s),
       std::log(bm::pdf(bm::inverse_gamma(2.25, 0.9), 0.6)), kExact},
  };
  for (const auto& row : rows) EXPECT_NEAR(row.got, row.want, row.tol) << row.what;
}

TEST(Densities, InverseWishartFormsAgree) {
  const double cases[][7] = {{2.0, 0.7, 1.5, 5.5, 0.9, -0.3, 2.2},  // W, nu, S
                             {0.4, -0.1, 3.0, 3.2, 1.7, 0.8, 0.6}};
  for (const auto& c : cases) {
    const SymmetricMatrix w = symmetric(c[0], c[1], c[2], 2), s = symmetric(c[4], c[5], c[6], 2);
    EXPECT_NEAR(stathelp::log_inverse_Wishart_density(&w, c[3], &s),
                stathelp::log_inverse_Wishart_density_2D(&c[0], c[3], &c[4]), kExact);
  }
}

TEST(Densities, MultivariateNormal) {
  // Diagonal covariance, d = 3: the sum of the normal log-densities.
  ColumnVector x(3), mu(3);
  x << 0.5 << -1.0 << 2.0;
  mu << 0.0 << 0.5 << 2.5;
  SymmetricMatrix sigma(3);
  sigma = 0.0;
  double want = 0.0;
  for (int i = 1; i <= 3; ++i) {
    sigma(i, i) = i * i / 4.0;
    want += std::log(bm::pdf(bm::normal(mu(i), i / 2.0), x(i)));
  }
  EXPECT_NEAR(stathelp::log_mvt_norm_density(&x, &mu, &sigma), want, kRoundedPi);
  // Standard deviations 1.2 and 0.5, correlation 0.6, x - mu = (1, -0.4):
  // -ln(2 pi s1 s2 sqrt(1 - r^2)) - (z1^2 - 2 r z1 z2 + z2^2) / (2 (1 - r^2)).
  ColumnVector y(2), m(2);
  y << 2.0 << -2.4;
  m << 1.0 << -2.0;
  const SymmetricMatrix cov = symmetric(1.44, 0.36, 0.25, 2);
  const double z1 = 1 / 1.2, z2 = -0.4 / 0.5;
  EXPECT_NEAR(stathelp::log_mvt_norm_density(&y, &m, &cov),
              -std::log(2 * M_PI * 0.6 * 0.8) - (z1 * z1 - 1.2 * z1 * z2 + z2 * z2) / 1.28,
              kRoundedPi);
}

}  // namespace
