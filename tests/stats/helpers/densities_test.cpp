// Densities against Boost.Math's pdfs and closed forms.
#include "stats/helpers/densities.h"

#include <gtest/gtest.h>
#include <newmat/newmat.h>

#include <cmath>

#include <boost/math/distributions/beta.hpp>
#include <boost/math/distributions/gamma.hpp>
#include <boost/math/distributions/inverse_gamma.hpp>
#include <boost/math/distributions/normal.hpp>

namespace {

namespace bm = boost::math;

// The normal forms use 2 pi rounded to 6.283185308 (relative error 1.3e-10,
// also in the multivariate form's ln 2 pi): they are held to 1e-9.  The
// others are exact up to a few roundings of terms below 100: 1e-12.
constexpr double kRoundedPi = 1e-9;
constexpr double kExact = 1e-12;

TEST(Densities, AgainstOracles) {
  const double mu = 1.5, sd = 0.7, x2[] = {0.35, 0.65}, alpha2[] = {2.5, 4.0};
  const double w2[] = {2.0, 0.7, 1.5}, s2[] = {0.9, -0.3, 2.2};  // (m11, m12, m22)
  const int two = 2;
  NEWMAT::SymmetricMatrix w1(1), s1(1), w(2), s(2), cov(2);
  w1 << 0.6;
  s1 << 1.8;
  w << 2.0 << 0.7 << 1.5;  // lower triangle by rows
  s << 0.9 << -0.3 << 2.2;
  // Standard deviations 1.2 and 0.5 with correlation 0.6, at x - mu = (1, -0.4).
  cov << 1.44 << 0.36 << 0.25;
  NEWMAT::ColumnVector x(2), m(2);
  x << 2.0 << -2.4;
  m << 1.0 << -2.0;
  const double z1 = 1 / 1.2, z2 = -0.4 / 0.5;
  const bm::beta_distribution<> beta(2.5, 4.0);
  const struct {
    const char* what;
    double got, want, tol;  // densities as a ratio to 1, logs absolute
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
      {"inverse Wishart 1 x 1", stathelp::log_inverse_Wishart_density(&w1, 4.5, &s1),
       std::log(bm::pdf(bm::inverse_gamma(2.25, 0.9), 0.6)), kExact},
      {"inverse Wishart 2 x 2", stathelp::log_inverse_Wishart_density(&w, 5.5, &s),
       stathelp::log_inverse_Wishart_density_2D(w2, 5.5, s2), kExact},
      {"bivariate normal", stathelp::log_mvt_norm_density(&x, &m, &cov),
       -std::log(2 * M_PI * 0.6 * 0.8) - (z1 * z1 - 1.2 * z1 * z2 + z2 * z2) / 1.28, kRoundedPi},
  };
  for (const auto& row : rows) EXPECT_NEAR(row.got, row.want, row.tol) << row.what;
}

}  // namespace
