// The continuous variates: distributions against Boost.Math by
// Kolmogorov-Smirnov tests, tables against their definitions, a chosen
// branch, set-up caches, the overflow guard and the failure table.
#include "stats/varlib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <regex>
#include <string>
#include <vector>

#include <boost/math/distributions.hpp>

#include "chosen_uniform.h"
#include "stats/com.h"
#include "stats/varlib_tables.h"

namespace {

namespace bm = boost::math;
using numlib::genbet;
using numlib::sgamma;

template <class Dist>
std::function<double(double)> cdf(Dist d) {
  return [d](double x) { return bm::cdf(d, x); };
}
bm::gamma_distribution<> gamma(double shape) { return bm::gamma_distribution<>(shape); }
bm::beta_distribution<> beta(double a, double b) { return bm::beta_distribution<>(a, b); }

TEST(Varlib, DrawsFollowTheirDistributions) {
  const struct {
    const char* name;
    std::function<float()> draw;
    std::function<double(double)> cdf;
  } rows[] = {
      {"snorm", numlib::snorm, cdf(bm::normal())},
      {"gennor", [] { return numlib::gennor(1, 2); }, cdf(bm::normal(1, 2))},
      {"sexpo", numlib::sexpo, cdf(bm::exponential())},
      {"genexp", [] { return numlib::genexp(2); }, cdf(bm::exponential(0.5))},
      {"genunf", [] { return numlib::genunf(-1, 3); }, cdf(bm::uniform(-1, 3))},
      {"GS 0.5", [] { return sgamma(0.5); }, cdf(gamma(0.5))},
      {"GS 0.999", [] { return sgamma(0.999); }, cdf(gamma(0.999))},
      {"GD 1", [] { return sgamma(1); }, cdf(gamma(1))},
      {"GD 3.5", [] { return sgamma(3.5); }, cdf(gamma(3.5))},
      {"GD 3.9", [] { return sgamma(3.9); }, cdf(gamma(3.9))},
      {"GD 12.5", [] { return sgamma(12.5); }, cdf(gamma(12.5))},
      {"GD 13.5", [] { return sgamma(13.5); }, cdf(gamma(13.5))},
      {"gengam", [] { return numlib::gengam(2, 3); }, cdf(bm::gamma_distribution<>(3, 0.5))},
      {"genchi", [] { return numlib::genchi(3); }, cdf(bm::chi_squared(3))},
      {"gennch", [] { return numlib::gennch(4, 2.5); }, cdf(bm::non_central_chi_squared(4, 2.5))},
      {"genf", [] { return numlib::genf(5, 7); }, cdf(bm::fisher_f(5, 7))},
      {"gennf", [] { return numlib::gennf(5, 7, 3); }, cdf(bm::non_central_f(5, 7, 3))},
      {"BB 2 3", [] { return genbet(2, 3); }, cdf(beta(2, 3))},
      {"BB 3 2", [] { return genbet(3, 2); }, cdf(beta(3, 2))},
      {"BC .5 .7", [] { return genbet(.5, .7); }, cdf(beta(.5, .7))},
      {"BC .7 .5", [] { return genbet(.7, .5); }, cdf(beta(.7, .5))},
      {"BC 3 .4", [] { return genbet(3, .4); }, cdf(beta(3, .4))},
  };
  // Kolmogorov-Smirnov critical value at level 0.001 (asymptotic); the seeds
  // are fixed, and a wrong constant or branch shifts a distribution far more.
  constexpr int n = 100000;
  const double critical = std::sqrt(std::log(2 / 0.001) / 2 / n);
  numlib::setall(20240525, 25);
  for (const auto& row : rows) {
    std::vector<double> x(n);
    std::generate(x.begin(), x.end(), row.draw);
    std::sort(x.begin(), x.end());
    double d = 0;
    for (int i = 0; i < n; ++i) {
      const double f = row.cdf(x[i]);
      d = std::max({d, f - i / double(n), (i + 1.0) / n - f});
    }
    EXPECT_LT(d, critical) << row.name;
  }
}

TEST(Varlib, TablesAndChosenBranches) {
  for (int i = 0; i < 32; ++i)
    EXPECT_NEAR(numlib::varlib_tables::snorm_a[i], bm::quantile(bm::normal(), .5 + i / 64.), 5e-7);
  double term = 1, sum = 0;
  for (int k = 1; k <= 8; ++k) {
    sum += term *= std::log(2.0) / k;
    EXPECT_NEAR(numlib::varlib_tables::sexpo_q[k - 1], sum, 2e-7) << k;
  }
  numlib::setall(1, 1);
  chosen_uniform::next_ranf(1.0f);  // interval 31 at its upper end, negative sign
  EXPECT_NEAR(numlib::snorm(), -bm::quantile(bm::normal(), 63 / 64.), 1e-6);
  EXPECT_EQ(numlib::genunf(2, 2), 2.0f);
  const float signs[][3] = {{3, 1, 3},    {3, -1, -3}, {-3, 1, 3},
                            {-3, -2, -3}, {3, 0, 3},   {-3, 0, -3}};
  for (const auto& r : signs) EXPECT_EQ(numlib::fsign(r[0], r[1]), r[2]) << r[0] << " " << r[1];
}

std::vector<float> draws_after(const std::function<void()>& before,
                               const std::function<float()>& draw) {
  before();
  numlib::setall(777, 778);
  std::vector<float> x(300);
  std::generate(x.begin(), x.end(), draw);
  return x;
}

TEST(Varlib, SetUpCachesAreTransparent) {
  EXPECT_EQ(draws_after([] {}, [] { return numlib::genchi(5); }),
            draws_after([] {}, [] { return 2 * sgamma(2.5); }));
  const auto gamma2 = [] { return sgamma(2); };
  const auto beta23 = [] { return genbet(2, 3); };
  const auto want_gamma = draws_after(gamma2, gamma2), want_beta = draws_after(beta23, beta23);
  for (float prior : {0.5f, 3.0f, 20.0f}) {
    EXPECT_EQ(draws_after([prior] { sgamma(prior); }, gamma2), want_gamma) << prior;
    EXPECT_EQ(draws_after([prior] { genbet(prior, prior / 2); }, beta23), want_beta) << prior;
  }
}

TEST(Varlib, FRatiosGuardAgainstOverflow) {
  numlib::setall(4, 5);  // with these seeds each first denominator underflows
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(numlib::genf(1, 0.01f), 1.0E38f);
  EXPECT_EQ(numlib::gennf(2, 0.01f, 1), 1.0E38f);
  const auto guard = [](const std::string& name) {
    return " " + name +
           " - generated numbers would cause overflow Numerator .{16} Denominator .{16}\n " + name +
           " returning 1\\.0E38";
  };
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(std::regex_match(err, std::regex(guard("GENF") + guard("GENNF")))) << err;
}

// A regular expression matching text exactly (or, with a trailing '*', as a prefix).
std::string quoted(const std::string& text) {
  std::string re = "^";
  for (char c : text.substr(0, text.size() - (text.back() == '*'))) {
    if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos) re += '\\';
    re += c;
  }
  return text.back() == '*' ? re : re + "$";
}

TEST(VarlibDeathTest, RefusedArgumentsStopTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const std::string one = "    1.000000E+00", two = "    2.000000E+00";
  const std::pair<std::function<void()>, std::string> rows[] = {
      {[] { numlib::genunf(3, 2); },
       "LOW > HIGH in GENUNF: LOW     3.000000E+00 HIGH: " + two + "\nAbort"},
      {[&] { numlib::genunf(nan, 1); }, "LOW > HIGH in GENUNF: LOW              NAN*"},
      {[] { sgamma(0); }, "A <= 0 in SGAMMA - ABORTValue of A:     0.000000E+00\n"},
      {[&] { sgamma(nan); }, "A <= 0 in SGAMMA*"},
      {[] { numlib::genchi(-1); }, "DF <= 0 in GENCHI - ABORTValue of DF:    -1.000000E+00\n"},
      {[&] { numlib::genchi(nan); }, "DF <= 0 in GENCHI*"},
      {[] { numlib::gennch(1, 2); }, "DF <= 1 or XNONC < 0 in GENNCH - ABORTValue of DF: " + one +
                                         " Value of XNONC" + two + "\n"},
      {[] { numlib::gennch(2, -1); }, "DF <= 1 or XNONC < 0 in GENNCH*"},
      {[&] { numlib::gennch(nan, 2); }, "DF <= 1 or XNONC < 0 in GENNCH*"},
      {[&] { numlib::gennch(2, nan); }, "DF <= 1 or XNONC < 0 in GENNCH*"},
      {[] { numlib::genf(2, 0); }, "Degrees of freedom nonpositive in GENF - abort!DFN value: " +
                                       two + "DFD value:     0.000000E+00\n"},
      {[&] { numlib::genf(nan, 1); }, "Degrees of freedom nonpositive in GENF*"},
      {[] { numlib::gennf(1, 2, 2); },
       "In GENNF - Either (1) Numerator DF <= 1.0 or(2) Denominator DF < 0.0 or (3) Noncentrality "
       "parameter < 0.0DFN value: " +
           one + "DFD value: " + two + "XNONC value: \n" + two + "\n"},
      {[] { numlib::gennf(2, 0, 1); }, "In GENNF*"},
      {[] { numlib::gennf(2, 1, -1); }, "In GENNF*"},
      {[&] { numlib::gennf(2, 1, nan); }, "In GENNF*"},
      {[] { genbet(-1, -1); },
       " AA or BB <= 0 in GENBET - Abort! AA:    -1.000000E+00 BB    -1.000000E+00\n"},
      {[&] { genbet(1, nan); }, " AA or BB <= 0 in GENBET*"},
      {[&] { genbet(2, inf); },
       " AA or BB infinite in GENBET - Abort! AA: " + two + " BB              INF\n"},
  };
  for (const auto& [call, message] : rows)
    EXPECT_EXIT(call(), ::testing::ExitedWithCode(1), quoted(message));
}

}  // namespace
