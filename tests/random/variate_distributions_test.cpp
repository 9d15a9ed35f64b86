// Samples of the variates against their distributions in Boost.Math (the
// Kolmogorov-Smirnov statistic and the sample mean), with the names and
// moments each variate reports.
//
// Each case draws N = 10^5 values from an MT with a fixed seed.  A correct
// sampler gives sqrt(N) D < 2.2 with probability 0.9999 (Kolmogorov's
// limit), and a sample mean within 5 standard errors of the mean with
// probability 0.999999; a wrong table, step, sign or part moves D by far
// more than 2.2 / sqrt(N) = 0.007.
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include <gtest/gtest.h>
#include <boost/math/distributions.hpp>

#include "random/vorand2.h"
#include "tests/random/variate_test_support.h"

namespace {

constexpr int sample_size = 100000;

struct Case {
  Factory make;
  const char* name;
  std::function<double(double)> cdf;
  ExtReal mean, variance;  // as reported; the sample mean is checked when finite
};

// A variate that reports the moments of distribution d.
template <class D>
Case with(Factory f, const char* name, D d) {
  return {f, name, [d](double x) { return cdf(d, x); }, mean(d), variance(d)};
}
}  // namespace

TEST(VariateDistributions, SamplesFollowTheirDistribution) {
  using namespace boost::math;
  const Case cases[] = {
      with(make<Uniform>(), "Uniform", uniform()),
      with(make<Normal>(), "Normal", normal()),
      {make<Cauchy>(), "Cauchy", [](double x) { return cdf(cauchy(), x); }, Indefinite,
       PlusInfinity},
      with(make<Exponential>(), "Exponential", exponential()),
      with(make<Gamma>(0.5), "Gamma", gamma_distribution<>(0.5)),
      with(make<Gamma>(1.0), "Gamma", gamma_distribution<>(1.0)),
      with(make<Gamma>(2.5), "Gamma", gamma_distribution<>(2.5)),
      with(make<Gamma>(30.0), "Gamma", gamma_distribution<>(30.0)),
      with(make<Gamma1>(0.25), "PosGen", gamma_distribution<>(0.25)),
      with(make<Gamma2>(3.5), "AsymGen", gamma_distribution<>(3.5)),
      with(make<ChiSq1>(0.5), "Normal", non_central_chi_squared(1, 0.5)),
      with(make<ChiSq>(1, 1.5), "ChiSq", non_central_chi_squared(1, 1.5)),
      with(make<ChiSq>(2, 0.0), "ChiSq", chi_squared(2)),
      with(make<ChiSq>(5, 0.0), "ChiSq", chi_squared(5)),
      with(make<ChiSq>(2, 1.5), "ChiSq", non_central_chi_squared(2, 1.5)),
      with(make<ChiSq>(3, 2.0), "ChiSq", non_central_chi_squared(3, 2.0)),
      with(make<ChiSq>(6, 2.5), "ChiSq", non_central_chi_squared(6, 2.5)),
  };
  for (const Case& c : cases) {
    MT generator(0.6180339887);
    Random::Set(generator);
    auto r = c.make();
    SCOPED_TRACE(r->Name() + (" " + std::to_string(r->Mean().Value())));
    EXPECT_STREQ(r->Name(), c.name);
    EXPECT_EQ(r->Mean().Code(), c.mean.Code());
    EXPECT_EQ(r->Variance().Code(), c.variance.Code());
    EXPECT_NEAR(r->Mean().Value(), c.mean.Value(), 1e-14);
    EXPECT_NEAR(r->Variance().Value(), c.variance.Value(), 1e-14);

    std::vector<double> xs(sample_size);
    for (double& x : xs) x = r->Next();
    if (c.mean.Code() == Finite) {
      double sum = 0;
      for (double x : xs) sum += x;
      EXPECT_NEAR(sum / sample_size, c.mean.Value(),
                  5 * std::sqrt(c.variance.Value() / sample_size));
    }
    std::sort(xs.begin(), xs.end());
    double d = 0;
    for (int i = 0; i < sample_size; ++i) {
      const double f = c.cdf(xs[i]);
      d = std::max({d, f - double(i) / sample_size, double(i + 1) / sample_size - f});
    }
    EXPECT_LT(std::sqrt(double(sample_size)) * d, 2.2);
  }
}
