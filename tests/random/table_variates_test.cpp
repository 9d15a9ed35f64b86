// The variates' draws followed uniform by uniform with the scripted
// generator, their table builds and failures, the shared normal table, and
// what each class reports.
#include <cmath>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "random/vorand2.h"
#include "tests/random/variate_test_support.h"

using RBD_COMMON::Logic_error;
using RBD_COMMON::Runtime_error;

namespace {

// Step densities whose tables are known by hand, each at the least number of
// intervals allowed: unit height, so each rectangle is as wide as its area.
// One-sided (0.02 wide): nodes 0 ... 0.98 and the end 1.00, 50 intervals.
// Symmetric (0.01): nodes 0 ... 0.49 and the end 0.50, 50 a side.  Around
// the mode 2 (0.01): up 2.00 ... 2.49 and the upper end 2.50, down 2.00 ...
// 1.51 and the lower end 1.50, 100 in all.
double step_pos(double x) { return x < 0.99 ? 1.0 : 0.0; }
double step_sym(double x) { return std::fabs(x) <= 0.495 ? 1.0 : 0.0; }
double step_asym(double x) { return std::fabs(x - 2) < 0.495 ? 1.0 : 0.0; }

}  // namespace

// Each try takes three uniforms: interval (with the sign for SymGen),
// position in the interval, ordinate.  A rejected try starts again.
TEST(TableVariates, DrawsFollowTheUniformsInOrder) {
  const struct {
    Factory make;
    std::vector<double> script;
    double expected;
  } cases[] = {
      {make<PosGenX>(step_pos), {0.5, 0.25, 0.3}, 0.505},
      {make<PosGenX>(step_pos), {49.5 / 50, 0.75, 0.1, 5.5 / 50, 0.5, 0.0}, 0.11},  // rejected
      {make<SymGenX>(step_sym), {0.25, 0.5, 0.0}, 0.255},
      {make<SymGenX>(step_sym), {0.75, 0.5, 0.0}, -0.255},
      {make<SymGenX>(step_sym), {0.5, 0.25, 0.0}, 0.4925},  // exactly 0.5: the last interval
      {make<AsymGenX>(step_asym, 2.0), {49.5 / 100, 0.25, 0.0}, 2.4925},  // to the upper end
      {make<AsymGenX>(step_asym, 2.0), {10.5 / 100, 0.5, 0.0}, 2.105},
      {make<AsymGenX>(step_asym, 2.0), {60.5 / 100, 0.5, 0.0}, 1.895},
      {make<AsymGenX>(step_asym, 2.0), {99.5 / 100, 0.25, 0.0}, 1.5075},
      {make<Gamma2>(3.5), {1e-9, 0.0, 0.0}, 2.5},  // the table starts at the mode
      {make<Constant>(3.5), {}, 3.5},
  };
  for (const auto& c : cases) EXPECT_NEAR(draw_with(c.script, c.make), c.expected, 1e-12);
  // Uniform's density, which no draw uses.
  EXPECT_EQ(Uniform().Density(0.0) + Uniform().Density(1.0), 2.0);
  EXPECT_EQ(Uniform().Density(-1e-300) + Uniform().Density(std::nextafter(1.0, 2.0)), 0.0);
  Constant constant(-2.5);
  EXPECT_STREQ(constant.Name(), "Constant");
  EXPECT_EQ(constant.Mean().Value(), -2.5);
  EXPECT_EQ(constant.Variance().Value(), 0.0);
  // Cauchy's last interval runs from about 1.9e13 to beyond 1e15.
  EXPECT_GT(draw_with({0.5, 1e-11, 0.0}, make<Cauchy>()), 1.9e13);
}

// The facades draw through their parts, the first part first.
TEST(TableVariates, FacadesDrawThroughTheirParts) {
  const std::vector<double> a = {0.3, 0.6, 0.1}, b = {0.8, 0.2, 0.4},
                            ab = {0.3, 0.6, 0.1, 0.8, 0.2, 0.4};
  const struct {
    Factory make;
    std::vector<double> script;
    double expected;
  } cases[] = {
      {make<Gamma>(1.0), a, draw_with(a, make<Exponential>())},
      {make<ChiSq>(3, 0.7), ab,
       2 * draw_with(a, make<Exponential>()) + draw_with(b, make<ChiSq1>(0.7))},
      {make<ChiSq>(5, 0.7), ab,
       2 * draw_with(a, make<Gamma2>(2.0)) + draw_with(b, make<ChiSq1>(0.7))},
  };
  for (const auto& c : cases)
    EXPECT_EQ(draw_with(c.script, c.make), c.expected) << c.make()->Name();
}

// A table that cannot be built fails at the first draw, and again at the
// next one: a failed build leaves nothing to draw from.  None of these
// classes reports moments.
TEST(TableVariates, BuildFailures) {
  const struct {
    Factory make;
    const char* name;
    const char* message;
  } cases[] = {
      {make<PosGenX>([](double x) { return x < 1000 ? 0.5 : 0.0; }), "PosGenX",
       "Vorand: area too large"},
      {make<PosGenX>([](double x) { return x < 0.5 ? 1.0 : 0.0; }), "PosGenX",
       "Vorand: area too small"},
      // Area 0.7 a side: 70 rectangles of 0.01 (35 of 0.02 would be too few).
      {make<SymGenX>([](double x) { return std::fabs(x) < 0.7 ? 1.0 : 0.0; }), "SymGenX",
       "Vorand: area too large"},
      {make<AsymGenX>([](double) { return 1.0; }, 0.0), "AsymGenX", "Vorand: area too large (a)"},
      {make<AsymGenX>([](double x) { return x < 2.05 ? 1.0 : 0.0; }, 2.0), "AsymGenX",
       "Vorand: area too large (b)"},
      {make<AsymGenX>([](double x) { return std::fabs(x - 2) < 0.3 ? 1.0 : 0.0; }, 2.0), "AsymGenX",
       "Vorand: area too small"},
      {make<SymGen>(), "SymGen", "Vorand: density function not available"},
  };
  MT generator(0.5);
  Random::Set(generator);
  for (const auto& c : cases) {
    auto r = c.make();
    EXPECT_STREQ(r->Name(), c.name);
    EXPECT_EQ(r->Mean().Code(), Missing);
    EXPECT_EQ(r->Variance().Code(), Missing);
    for (int draw = 0; draw < 2; ++draw) {
      const std::string text = thrown_message<RBD_COMMON::BaseException>([&] { r->Next(); });
      EXPECT_TRUE(contains(text, c.message)) << text;
    }
  }
}

TEST(TableVariates, IllegalParameters) {
  const std::pair<void (*)(), const char*> cases[] = {
      {[] { ChiSq(0, 0.0); }, "Vorand: illegal parameters"},
      {[] { ChiSq(-2, 1.0); }, "Vorand: illegal parameters"},
      {[] { ChiSq(3, -1.0); }, "Vorand: illegal parameters"},
      {[] { Gamma(-1.5); }, "Negative gamma value Trace: ln_gamma."},
      {[] { Gamma(std::nan("")); }, "Not-a-number argument "},
  };
  for (const auto& [construct, message] : cases)
    EXPECT_TRUE(contains(thrown_message<Logic_error>(construct), message)) << message;
}

// Normal objects, ChiSq1 included, share one table that lives as long as
// any of them (the sanitizer build checks that it is freed once, last).
TEST(TableVariates, SharedNormalTableLivesWithItsUsers) {
  MT generator(0.25);
  Random::Set(generator);
  ASSERT_EQ(Normal::Count(), 0);
  auto first = std::make_unique<Normal>();
  auto second = std::make_unique<Normal>();
  auto chi = std::make_unique<ChiSq1>(1.0);
  EXPECT_EQ(Normal::Count(), 3);
  const std::vector<double> u = {0.3, 0.6, 0.1};
  EXPECT_EQ(draw_with(u, *second), draw_with(u, *first));
  Random::Set(generator);
  first.reset();
  second->Next();
  second.reset();
  EXPECT_EQ(Normal::Count(), 1);
  chi->Next();
  chi.reset();
  EXPECT_EQ(Normal::Count(), 0);
  Normal fresh;
  EXPECT_EQ(Normal::Count(), 1);
  fresh.Next();
}

// A copy would free a table twice or miscount the normal table's users.
static_assert(!std::is_copy_constructible_v<PosGen> && !std::is_copy_assignable_v<PosGen> &&
              !std::is_copy_constructible_v<AsymGen> && !std::is_copy_assignable_v<AsymGen> &&
              !std::is_copy_constructible_v<Gamma> && !std::is_copy_assignable_v<Gamma> &&
              !std::is_copy_constructible_v<ChiSq> && !std::is_copy_assignable_v<ChiSq>);

// Where each density is cut to 0.
TEST(TableVariates, DensitiesEnd) {
  const struct {
    Factory make;
    double zero_at, positive_at;
  } cases[] = {
      {make<Normal>(), -std::nextafter(8.0, 9.0), -8.0},
      {make<Cauchy>(), 1.000001e15, 1e15},
      {make<Exponential>(), 40.000001, 40.0},
      {make<Exponential>(), -1.0, 0.0},
      {make<Gamma1>(0.5), 6.35, 6.3},  // exp(-x^2) / Gamma(1.5) below exp(-40)
      {make<Gamma2>(2.5), 46.0, 45.0},
      {make<Gamma2>(2.5), 0.0, 0.001},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.make()->Density(c.zero_at), 0.0) << c.zero_at;
    EXPECT_GT(c.make()->Density(c.positive_at), 0.0) << c.positive_at;
  }
}
