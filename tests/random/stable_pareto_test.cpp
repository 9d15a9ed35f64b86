// Pareto and stable variates: draws followed uniform by uniform against
// closed forms, samples against Boost.Math and against the characteristic
// functions of the stable laws, and the moments and notations they report.
#include <cmath>
#include <complex>
#include <vector>

#include <gtest/gtest.h>
#include <boost/math/distributions.hpp>

#include "random/vorand2.h"
#include "tests/random/variate_test_support.h"

namespace {

constexpr double pi = 3.141592653589793;
constexpr int sample_size = 100000;

// The stable draw in notation CMS for the angle phi and the exponential w,
// by the closed form with exact pi: with zeta = beta tan(pi alpha / 2),
// the draw of the law exp(-|t|^alpha (1 - i beta tan(pi alpha / 2) sgn t))
// is S sin(alpha (phi + B)) / cos(phi)^(1/alpha) (cos(phi - alpha (phi +
// B)) / w)^((1 - alpha)/alpha), B = atan(zeta) / alpha, S = (1 +
// zeta^2)^(1/(2 alpha)); CMS's is that minus zeta.  At beta = 0 it is
// tan(phi) for alpha = 1 and 2 sqrt(w) sin(phi) for alpha = 2.
double cms_draw(double alpha, double beta, double phi, double w) {
  if (alpha == 1.0)
    return 2 / pi *
           ((pi / 2 + beta * phi) * std::tan(phi) -
            beta * std::log(pi / 2 * w * std::cos(phi) / (pi / 2 + beta * phi)));
  const double zeta = beta * std::tan(pi * alpha / 2), b = std::atan(zeta) / alpha;
  return std::pow(1 + zeta * zeta, 1 / (2 * alpha)) * std::sin(alpha * (phi + b)) /
             std::pow(std::cos(phi), 1 / alpha) *
             std::pow(std::cos(phi - alpha * (phi + b)) / w, (1 - alpha) / alpha) -
         zeta;
}

// The characteristic function of each notation at t.
std::complex<double> characteristic(double a, double b, Stable::Notation notation, double t) {
  const std::complex<double> i(0, 1);
  const double at = std::pow(std::fabs(t), a), sign = t > 0 ? 1 : -1;
  if (notation == Stable::Rescaled)
    return std::exp(-at * std::exp(-i * (pi / 2) * b * (1 - std::fabs(1 - a)) * sign));
  if (notation == Stable::Shifted)
    return std::exp(-at * (1.0 - i * b * std::tan(pi * a / 2) * sign));
  if (a == 1) return std::exp(-at * (1.0 + i * b * (2 / pi) * sign * std::log(std::fabs(t))));
  return std::exp(
      -at * (1.0 + i * b * std::tan(pi * a / 2) * sign * (std::pow(std::fabs(t), 1 - a) - 1)));
}

}  // namespace

// Two uniforms a draw: u1 gives the angle phi = pi (u1 - 0.5), u2 the
// exponential -ln u2.  Relative 1e-8 allows for the rational tan(x)/x and
// the 10-digit pi/2 of the method; the absolute 1e-9 for that pi/2 in
// tan(alpha pi/2) near alpha = 2, where a draw near 0 is a difference.
TEST(Stable, DrawsFollowTheClosedForm) {
  const double us[][2] = {{0.1, 0.3}, {0.3, 0.9}, {0.5, 0.05}, {0.62, 0.5}, {0.9, 0.7}};
  const struct {
    double alpha, beta;
    Stable::Notation notation;
  } laws[] = {
      {1.0, 0.0, Stable::Unspecified}, {2.0, 0.0, Stable::CMS},       {2.0, 0.7, Stable::Rescaled},
      {1.5, 0.0, Stable::Shifted},     {0.6, 0.8, Stable::CMS},       {1.3, -0.4, Stable::CMS},
      {1.0, 0.6, Stable::CMS},         {1.7, 0.5, Stable::Shifted},   {0.8, -1.0, Stable::Shifted},
      {1.995, 0.5, Stable::CMS},       {1.4, 0.5, Stable::Rescaled},  {0.5, -0.9, Stable::Rescaled},
      {1.0, 0.6, Stable::Shifted},     {1.0, -0.5, Stable::Rescaled}, {1.5, 1.0, Stable::Rescaled},
      {1.3, -1.0, Stable::Rescaled},   {0.6, 1.0, Stable::Rescaled}};
  for (const auto& law : laws)
    for (const auto& u : us) {
      const double phi = pi * (u[0] - 0.5), w = -std::log(u[1]);
      double expected = cms_draw(law.alpha, law.beta, phi, w);  // every notation at alpha = 1
      if (law.alpha != 1 && law.notation == Stable::Shifted)
        expected += law.beta * std::tan(pi * law.alpha / 2);
      if (law.alpha != 1 && law.notation == Stable::Rescaled) {
        const double a = (1 - std::fabs(1 - law.alpha)) * pi / 2 * law.beta;
        expected = (cms_draw(law.alpha, std::tan(a) / std::tan(pi * law.alpha / 2), phi, w) +
                    std::tan(a)) *
                   std::pow(std::cos(a), 1 / law.alpha);
      }
      Stable stable(law.alpha, law.beta, law.notation);
      const double x = draw_with({u[0], u[1]}, stable);
      EXPECT_NEAR(x, expected, 1e-8 * std::fabs(expected) + 1e-9)
          << law.alpha << " " << law.beta << " " << law.notation << " " << u[0] << " " << u[1];
    }
}

// Which notation a law is stored in shows in its mean for alpha > 1; an
// unspecified notation is accepted only where every notation agrees.
TEST(Stable, NotationsAndMoments) {
  const double tan_2 = std::tan(2 * 1.570796327), tan_15 = std::tan(1.5 * 1.570796327);
  const auto other = static_cast<Stable::Notation>(7);
  const ExtReal inf = PlusInfinity, minus_inf = MinusInfinity, none = Indefinite, gone = Missing;
  const struct {
    double alpha, beta;
    Stable::Notation notation;
    ExtReal mean, variance;
  } cases[] = {
      {2.0, 0.5, Stable::Unspecified, -0.5 * tan_2, 2.0},  // stored as CMS
      {2.0, 0.5, other, -0.5 * tan_2, 2.0},
      {2.0, 0.5, Stable::Shifted, 0.0, 2.0},
      {1.5, 0.0, Stable::Unspecified, 0.0, inf},
      {1.5, 0.4, Stable::CMS, -0.4 * tan_15, inf},
      {1.5, 0.4, Stable::Shifted, 0.0, inf},
      {1.5, 0.4, Stable::Rescaled, 0.0, inf},
      {1.0, 0.4, Stable::Unspecified, none, inf},
      {0.5, 1.0, Stable::CMS, inf, inf},
      {0.5, -1.0, Stable::Shifted, minus_inf, inf},
      {0.7, 1.0, Stable::Rescaled, inf, inf},
      {0.7, -0.3, Stable::CMS, none, inf},
      {2.5, 0.0, Stable::CMS, 0.0, gone},
      {0.0, 0.0, Stable::CMS, none, gone},
  };
  for (const auto& c : cases) {
    const Stable s(c.alpha, c.beta, c.notation);
    SCOPED_TRACE(std::to_string(c.alpha) + " " + std::to_string(c.beta));
    EXPECT_EQ(s.Mean().Code(), c.mean.Code());
    EXPECT_EQ(s.Mean().Value(), c.mean.Value());
    EXPECT_EQ(s.Variance().Code(), c.variance.Code());
    EXPECT_EQ(s.Variance().Value(), c.variance.Value());
  }
  for (auto notation : {Stable::Unspecified, other})
    EXPECT_TRUE(
        contains(thrown_message<RBD_COMMON::Logic_error>([&] { Stable(1.5, 0.5, notation); }),
                 "Vorand: must specify Stable notation"));
  EXPECT_STREQ(Stable(1.5, 0.5, Stable::CMS).Name(), "Stable");
}

// N = 10^5 draws each.  Each part of the empirical characteristic function
// is a mean of N values in [-1, 1], so its standard error is at most
// 1/sqrt(N): 5/sqrt(N) is five of them.  The sample variance at alpha = 2
// has standard error 4 sqrt(2/N) = 0.018; 0.09 is five.
TEST(Stable, SamplesFollowTheirLaws) {
  const struct {
    double alpha, beta;
    Stable::Notation notation;
  } laws[] = {
      {0.5, 0.0, Stable::CMS},      {1.5, 0.0, Stable::Shifted},   {1.5, 0.5, Stable::CMS},
      {1.5, 0.5, Stable::Shifted},  {1.5, -0.7, Stable::Rescaled}, {0.7, -0.6, Stable::CMS},
      {0.7, -0.6, Stable::Shifted}, {0.7, 1.0, Stable::Rescaled},  {1.0, 0.5, Stable::CMS},
      {0.99, 0.5, Stable::CMS},     {1.995, 0.8, Stable::CMS},     {1.2, 0.8, Stable::Rescaled},
      {1.5, 1.0, Stable::Rescaled}, {1.3, -1.0, Stable::Rescaled}};
  std::vector<double> xs(sample_size);
  for (const auto& law : laws) {
    SCOPED_TRACE(std::to_string(law.alpha) + " " + std::to_string(law.beta) + " " +
                 std::to_string(law.notation));
    MT generator(0.31415926);
    Random::Set(generator);
    Stable s(law.alpha, law.beta, law.notation);
    for (double& x : xs) x = s.Next();
    for (double t : {-2.0, 0.5, 1.0, 2.0}) {
      std::complex<double> sum = 0;
      for (double x : xs) sum += std::exp(std::complex<double>(0, t * x));
      const std::complex<double> expected = characteristic(law.alpha, law.beta, law.notation, t);
      EXPECT_NEAR(sum.real() / sample_size, expected.real(), 5 / std::sqrt(sample_size)) << t;
      EXPECT_NEAR(sum.imag() / sample_size, expected.imag(), 5 / std::sqrt(sample_size)) << t;
    }
  }
  MT generator(0.27);
  Random::Set(generator);
  Stable cauchy(1.0, 0.0, Stable::CMS), normal(2.0, 0.0, Stable::CMS);
  for (double& x : xs) x = cauchy.Next();
  EXPECT_LT(kolmogorov_smirnov(xs, [](double x) { return cdf(boost::math::cauchy(), x); }), 2.2);
  double sum = 0, squares = 0;
  for (double& x : xs) x = normal.Next(), sum += x, squares += x * x;
  EXPECT_NEAR(squares / sample_size - (sum / sample_size) * (sum / sample_size), 2.0, 0.09);
}

// Pareto: U^(-1/shape), against Boost's pareto(1, shape) by the
// Kolmogorov-Smirnov statistic (below 2.2 with probability 0.9999).
TEST(Pareto, DrawsMomentsAndSamples) {
  EXPECT_EQ(draw_with({0.25}, make<Pareto>(2.0)), 2.0);
  EXPECT_EQ(draw_with({0.125}, make<Pareto>(3.0)), 2.0);
  const ExtReal inf = PlusInfinity;
  const struct {
    double shape;
    ExtReal mean, variance;
  } moments[] = {{3.0, 1.5, 0.75},
                 {2.5, 5.0 / 3, 2.5 / 2.25 / 0.5},
                 {2.0, 2.0, inf},
                 {1.0, inf, inf},
                 {0.5, inf, inf}};
  for (const auto& m : moments) {
    const Pareto p(m.shape);
    EXPECT_EQ(p.Mean().Code(), m.mean.Code());
    EXPECT_NEAR(p.Mean().Value(), m.mean.Value(), 1e-15);
    EXPECT_EQ(p.Variance().Code(), m.variance.Code());
    EXPECT_NEAR(p.Variance().Value(), m.variance.Value(), 1e-15);
  }
  for (double shape : {0.0, -1.0})
    EXPECT_TRUE(contains(thrown_message<RBD_COMMON::Logic_error>([&] { Pareto p(shape); }),
                         "Vorand: illegal parameter"));
  EXPECT_TRUE(std::isnan(draw_with({0.5}, make<Pareto>(std::nan("")))));
  EXPECT_STREQ(Pareto(1.0).Name(), "Pareto");
  for (double shape : {0.5, 2.5}) {
    MT generator(0.577);
    Random::Set(generator);
    Pareto p(shape);
    std::vector<double> xs(sample_size);
    for (double& x : xs) x = p.Next();
    const boost::math::pareto_distribution<> d(1.0, shape);
    EXPECT_LT(kolmogorov_smirnov(xs, [&](double x) { return cdf(d, x); }), 2.2) << shape;
  }
}
