// The additive logistic model and its Newton-Raphson fit, checked against
// closed forms: the model at zero coefficients, the intercept-only maximum,
// and the saturated fit of a 2x2 table.
#include "assoc/logistic_fit.h"

#include <gtest/gtest.h>
#include <newmat/newmat.h>

#include <cmath>
#include <vector>

#include "common/association_sample.h"

using NEWMAT::Matrix;
using single_snp_test::hessian_function;
using single_snp_test::loglikelihood_function;
using single_snp_test::maximise_likelihood_snp;
using single_snp_test::score_function;
using single_snp_test::SnpIndices;

namespace {

Matrix column(const std::vector<double>& values) {
  Matrix m(static_cast<int>(values.size()), 1);
  for (std::size_t i = 0; i < values.size(); ++i) m(static_cast<int>(i) + 1, 1) = values[i];
  return m;
}

// Four SNP columns; the model uses columns 1 and 3.
Sample small_sample() {
  Sample s;
  add_individuals(s, 0, {0, 0, 1, 2}, 1);
  add_individuals(s, 0, {1, 1, 0, 0}, 1);
  add_individuals(s, 0, {2, 0, 1, 1}, 1);
  add_individuals(s, 1, {0, 2, 2, 1}, 1);
  add_individuals(s, 1, {1, 1, 2, 2}, 1);
  return s;
}

struct Fit {
  Matrix effect_sizes;
  double loglikelihood = 0.0;
  Matrix covariance;
};

Fit fit(const Sample& s, const SnpIndices& snps) {
  Fit f;
  maximise_likelihood_snp(s.haplotypes, s.phenotypes, snps, f.effect_sizes, f.loglikelihood,
                          f.covariance);
  return f;
}

}  // namespace

TEST(ModelAtZero, ResidualsAreHalfAndWeightsAQuarter) {
  const Sample s = small_sample();
  const SnpIndices snps{1, 3};
  const Matrix zero = column({0.0, 0.0, 0.0});

  // Design rows (1, g1, g3) and y - 0.5 by hand from small_sample().
  const std::vector<std::vector<int>> x{{1, 0, 2}, {1, 1, 0}, {1, 0, 1}, {1, 2, 1}, {1, 1, 2}};
  const std::vector<double> r{-0.5, -0.5, -0.5, 0.5, 0.5};

  EXPECT_DOUBLE_EQ(loglikelihood_function(zero, s.haplotypes, s.phenotypes, snps),
                   -5.0 * std::log(2.0));
  const Matrix score = score_function(zero, s.haplotypes, s.phenotypes, snps);
  const Matrix hessian = hessian_function(zero, s.haplotypes, s.phenotypes, snps);
  ASSERT_EQ(score.Nrows(), 3);
  ASSERT_EQ(score.Ncols(), 1);
  ASSERT_EQ(hessian.Nrows(), 3);
  ASSERT_EQ(hessian.Ncols(), 3);
  for (int a = 0; a < 3; ++a) {
    double expected_score = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i) expected_score += x[i][a] * r[i];
    EXPECT_DOUBLE_EQ(score(a + 1, 1), expected_score) << "component " << a + 1;
    for (int b = 0; b < 3; ++b) {
      double expected = 0.0;
      for (const auto& row : x) expected -= 0.25 * row[a] * row[b];
      EXPECT_DOUBLE_EQ(hessian(a + 1, b + 1), expected) << "entry " << a + 1 << "," << b + 1;
    }
  }
}

TEST(ModelDerivatives, AgreeWithCentralDifferencesOfTheLogLikelihood) {
  const Sample s = small_sample();
  const SnpIndices snps{1, 3};
  const std::vector<double> b{0.3, -0.7, 0.45};
  const Matrix score = score_function(column(b), s.haplotypes, s.phenotypes, snps);
  const Matrix hessian = hessian_function(column(b), s.haplotypes, s.phenotypes, snps);

  // Central differences with step h err by about h^2/6 times the third
  // derivative (at most a few units here), i.e. ~1e-9 for the score; the
  // second differences of the score by the same order.  1e-6 leaves room.
  const double h = 1e-5;
  const auto shifted = [&](int component, double by) {
    std::vector<double> moved = b;
    moved[component] += by;
    return column(moved);
  };
  for (int a = 0; a < 3; ++a) {
    const double numeric =
        (loglikelihood_function(shifted(a, h), s.haplotypes, s.phenotypes, snps) -
         loglikelihood_function(shifted(a, -h), s.haplotypes, s.phenotypes, snps)) /
        (2 * h);
    EXPECT_NEAR(score(a + 1, 1), numeric, 1e-6) << "component " << a + 1;
    const Matrix ahead = score_function(shifted(a, h), s.haplotypes, s.phenotypes, snps);
    const Matrix behind = score_function(shifted(a, -h), s.haplotypes, s.phenotypes, snps);
    for (int c = 0; c < 3; ++c) {
      EXPECT_NEAR(hessian(c + 1, a + 1), (ahead(c + 1, 1) - behind(c + 1, 1)) / (2 * h), 1e-6)
          << "entry " << c + 1 << "," << a + 1;
    }
  }
}

// The fit stops as soon as the score's sum of squares is at most 1e-5, so
// it lands within about |S| * lambda_max(covariance) of the exact maximum,
// with |S| <= sqrt(1e-5) and lambda_max below the covariance's trace (a
// few tenths for a table of ten); its log-likelihood falls short of the
// maximum by about S' cov S / 2 <= 1e-5 * trace / 2.  The closed forms are
// therefore checked to 1e-9 at the exact maximum through the model
// functions, and the fit to within these bounds (doubled, for the
// linearisation).
double reach(const Matrix& covariance) { return 2 * std::sqrt(1e-5) * covariance.Trace(); }
double loglikelihood_gap(const Matrix& covariance) { return 1e-5 * covariance.Trace(); }

TEST(InterceptOnly, ConvergesToTheLogOddsOfCases) {
  struct Groups {
    int cases;
    int controls;
  };
  for (const Groups g :
       {Groups{1, 1}, Groups{3, 7}, Groups{50, 20}, Groups{1, 999}, Groups{1000, 1000}}) {
    Sample s;
    add_individuals(s, 0, {1, 0}, g.controls);
    add_individuals(s, 1, {2, 1}, g.cases);
    const double n1 = g.cases, n0 = g.controls, n = n0 + n1;
    const double log_odds = std::log(n1 / n0);
    const double max_loglik = n1 * std::log(n1) + n0 * std::log(n0) - n * std::log(n);
    const double variance = n / (n1 * n0);
    SCOPED_TRACE(testing::Message() << g.cases << " cases, " << g.controls << " controls");

    const Matrix exact = column({log_odds});
    EXPECT_NEAR(score_function(exact, s.haplotypes, s.phenotypes, {})(1, 1), 0.0, 1e-9 * n);
    EXPECT_NEAR(loglikelihood_function(exact, s.haplotypes, s.phenotypes, {}), max_loglik,
                1e-9 * n);
    EXPECT_NEAR(-1.0 / hessian_function(exact, s.haplotypes, s.phenotypes, {})(1, 1), variance,
                1e-9 * variance);

    const Fit f = fit(s, {});
    ASSERT_EQ(f.effect_sizes.Nrows(), 1);
    ASSERT_EQ(f.effect_sizes.Ncols(), 1);
    ASSERT_EQ(f.covariance.Nrows(), 1);
    const double r = reach(f.covariance);
    EXPECT_NEAR(f.effect_sizes(1, 1), log_odds, r);
    EXPECT_LE(f.loglikelihood, max_loglik + 1e-9 * n);
    EXPECT_GE(f.loglikelihood, max_loglik - loglikelihood_gap(f.covariance));
    EXPECT_NEAR(f.covariance(1, 1), variance, 2 * r * variance);
  }
}

TEST(SaturatedTable, GivesTheLogOddsRatioItsStandardErrorAndTheGStatistic) {
  struct Table {
    int low, high;  // the two allele counts at the SNP
    int cases_high, cases_low, controls_high, controls_low;
  };
  const Table tables[] = {
      {0, 1, 30, 20, 15, 35}, {0, 2, 12, 40, 5, 60},      {1, 2, 7, 9, 11, 4},
      {0, 1, 1, 1, 1, 1},     {0, 2, 200, 300, 150, 350},
  };
  for (const Table& t : tables) {
    const Sample s =
        two_by_two(t.low, t.high, t.cases_high, t.cases_low, t.controls_high, t.controls_low);
    const SaturatedFit closed =
        saturated_fit(t.low, t.high, t.cases_high, t.cases_low, t.controls_high, t.controls_low);
    const double n = t.cases_high + t.cases_low + t.controls_high + t.controls_low;
    SCOPED_TRACE(testing::Message()
                 << "counts " << t.low << "/" << t.high << ", cells " << t.cases_high << " "
                 << t.cases_low << " " << t.controls_high << " " << t.controls_low);

    const Matrix exact = column({closed.intercept, closed.beta});
    const Matrix score = score_function(exact, s.haplotypes, s.phenotypes, {0});
    EXPECT_NEAR(score(1, 1), 0.0, 1e-9 * n);
    EXPECT_NEAR(score(2, 1), 0.0, 1e-9 * n);
    const Matrix covariance = (-hessian_function(exact, s.haplotypes, s.phenotypes, {0})).i();
    EXPECT_NEAR(std::sqrt(covariance(2, 2)), closed.se, 1e-9 * closed.se);
    EXPECT_NEAR(
        2 * (loglikelihood_function(exact, s.haplotypes, s.phenotypes, {0}) - closed.null_loglik),
        closed.g, 1e-9 * n);

    const Fit f = fit(s, {0});
    const double r = reach(f.covariance);
    EXPECT_NEAR(f.effect_sizes(1, 1), closed.intercept, r);
    EXPECT_NEAR(f.effect_sizes(2, 1), closed.beta, r);
    EXPECT_NEAR(std::sqrt(f.covariance(2, 2)), closed.se, 2 * r * closed.se);
    EXPECT_NEAR(2 * (f.loglikelihood - closed.null_loglik), closed.g,
                2 * loglikelihood_gap(f.covariance));
  }
}

TEST(Fit, ReachesARegularMaximumAndResizesItsOutputs) {
  const Sample s = random_sample(400, 3, 20260101u);
  const SnpIndices snps{0, 1, 2};
  Fit f;
  f.effect_sizes.ReSize(5, 7);
  f.effect_sizes = 9.0;
  f.covariance.ReSize(2, 9);
  maximise_likelihood_snp(s.haplotypes, s.phenotypes, snps, f.effect_sizes, f.loglikelihood,
                          f.covariance);
  ASSERT_EQ(f.effect_sizes.Nrows(), 4);
  ASSERT_EQ(f.effect_sizes.Ncols(), 1);
  ASSERT_EQ(f.covariance.Nrows(), 4);
  ASSERT_EQ(f.covariance.Ncols(), 4);

  // Stopping rule met, and the log-likelihood there exceeds that at nearby
  // points in every coordinate direction.
  const Matrix score = score_function(f.effect_sizes, s.haplotypes, s.phenotypes, snps);
  EXPECT_LE(score.SumSquare(), 1e-5);
  EXPECT_DOUBLE_EQ(f.loglikelihood,
                   loglikelihood_function(f.effect_sizes, s.haplotypes, s.phenotypes, snps));
  for (int r = 1; r <= 4; ++r) {
    for (const double step : {-0.01, 0.01}) {
      Matrix moved = f.effect_sizes;
      moved(r, 1) += step;
      EXPECT_LT(loglikelihood_function(moved, s.haplotypes, s.phenotypes, snps), f.loglikelihood);
    }
  }

  // Covariance: the inverse of the negated Hessian, symmetric with a
  // positive diagonal.
  const Matrix hessian = hessian_function(f.effect_sizes, s.haplotypes, s.phenotypes, snps);
  const Matrix identity = -hessian * f.covariance;
  for (int r = 1; r <= 4; ++r) {
    EXPECT_GT(f.covariance(r, r), 0.0);
    for (int c = 1; c <= 4; ++c) {
      EXPECT_NEAR(f.covariance(r, c), f.covariance(c, r), 1e-12);
      EXPECT_NEAR(identity(r, c), r == c ? 1.0 : 0.0, 1e-9);
    }
  }
  // The planted effect at SNP 0 (0.4 per allele) is found within a few
  // standard errors; 400 individuals give a standard error near 0.15.
  EXPECT_NEAR(f.effect_sizes(2, 1), 0.4, 4 * std::sqrt(f.covariance(2, 2)));
}

TEST(Fit, CoefficientsFollowAscendingSnpOrder) {
  const Sample s = random_sample(300, 4, 77u);
  Sample swapped = s;
  for (auto& row : swapped.haplotypes) std::swap(row[1], row[3]);
  const Fit f = fit(s, {3, 1});
  const Fit g = fit(swapped, {1, 3});
  EXPECT_DOUBLE_EQ(f.effect_sizes(1, 1), g.effect_sizes(1, 1));
  EXPECT_DOUBLE_EQ(f.effect_sizes(2, 1), g.effect_sizes(3, 1));
  EXPECT_DOUBLE_EQ(f.effect_sizes(3, 1), g.effect_sizes(2, 1));
}

TEST(Fit, SingularSystemRaisesAndLeavesZeroEstimates) {
  struct Case {
    const char* what;
    Sample sample;
    SnpIndices snps;
  };
  std::vector<Case> cases;
  for (const int count : {0, 1, 2}) {
    Case c{"constant allele count", {}, {1}};
    add_individuals(c.sample, 0, {0, count}, 4);
    add_individuals(c.sample, 0, {1, count}, 3);
    add_individuals(c.sample, 1, {2, count}, 5);
    cases.push_back(c);
  }
  cases.push_back(Case{"no individuals", {}, {}});
  // Dependent SNP columns: equal counts, and counts that add up to 2 (the
  // same SNP coded with opposite alleles), which rounding hides from the
  // LU solve.
  for (const bool complementary : {false, true}) {
    Case c{complementary ? "complementary SNPs" : "equal SNPs", {}, {0, 2}};
    const Sample random = random_sample(500, 2, 5u);
    c.sample = random;
    for (auto& row : c.sample.haplotypes) {
      row.push_back(complementary ? 1 - row[0] : row[0]);
    }
    cases.push_back(c);
  }

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Matrix effect_sizes(3, 2);
    effect_sizes = 5.0;
    double loglikelihood = -123.0;
    Matrix covariance(1, 1);
    covariance = 42.0;
    EXPECT_THROW(maximise_likelihood_snp(c.sample.haplotypes, c.sample.phenotypes, c.snps,
                                         effect_sizes, loglikelihood, covariance),
                 NEWMAT::SingularException);
    ASSERT_EQ(effect_sizes.Nrows(), 3);
    ASSERT_EQ(effect_sizes.Ncols(), 2);
    EXPECT_EQ(effect_sizes.MaximumAbsoluteValue(), 0.0);
    EXPECT_EQ(loglikelihood, -123.0);
    ASSERT_EQ(covariance.Nrows(), 1);
    EXPECT_EQ(covariance(1, 1), 42.0);
  }
}

TEST(Fit, SnpsThatDifferInOneIndividualAreStillFitted) {
  // Nearly collinear yet independent columns must not be mistaken for a
  // singular design.
  Sample s = random_sample(2000, 1, 11u);
  for (auto& row : s.haplotypes) row.push_back(row[0]);
  s.haplotypes[0][1] = 1 - s.haplotypes[0][1];
  const Fit f = fit(s, {0, 1});
  for (int r = 1; r <= 3; ++r) {
    EXPECT_TRUE(std::isfinite(f.effect_sizes(r, 1))) << "row " << r;
    EXPECT_GT(f.covariance(r, r), 0.0) << "row " << r;
  }
}

// Complete separation.  Two groups (5 controls with count 0, 5 cases with
// count 2) make a saturated model: Newton-Raphson moves the case log odds
// eta by 1 + exp(-eta) a step (and the controls' by the opposite), the
// score (0, 10 (1 - p)) vanishes as eta grows, and the fit converges with
// beta = eta, intercept -eta.  The second sample (two SNPs, separated by
// 2 g1 + g2 <= 2 in cases and >= 3 in controls) drives exp(eta) beyond the
// largest double: the fit diverges and is refused like a singular one.
TEST(Fit, SeparatedSamples) {
  Sample two_groups;
  add_individuals(two_groups, 0, {0}, 5);
  add_individuals(two_groups, 1, {2}, 5);
  double eta = 0.0;
  do {
    eta += 1.0 + std::exp(-eta);
  } while (100.0 * std::pow(1.0 / (1.0 + std::exp(eta)), 2) > 1e-5);
  const Fit f = fit(two_groups, {0});
  EXPECT_NEAR(f.effect_sizes(2, 1), eta, 1e-9 * eta);
  EXPECT_NEAR(f.effect_sizes(1, 1), -eta, 1e-9 * eta);

  Sample diverging;
  add_individuals(diverging, 0, {2, 2}, 48);
  add_individuals(diverging, 0, {1, 1}, 35);
  add_individuals(diverging, 1, {1, 0}, 40);
  add_individuals(diverging, 1, {0, 2}, 1);
  Matrix effect_sizes(3, 1);
  effect_sizes = 5.0;
  double loglikelihood = -123.0;
  Matrix covariance(1, 1);
  covariance = 42.0;
  try {
    maximise_likelihood_snp(diverging.haplotypes, diverging.phenotypes, {0, 1}, effect_sizes,
                            loglikelihood, covariance);
    ADD_FAILURE() << "no error for diverging iterations";
  } catch (const single_snp_test::FitNotConverged& e) {
    EXPECT_STREQ(e.what(),
                 "the Newton-Raphson iterations diverge (cases and controls separated by their "
                 "allele counts?)");
  }
  EXPECT_EQ(effect_sizes.MaximumAbsoluteValue(), 0.0);
  EXPECT_EQ(loglikelihood, -123.0);
  EXPECT_EQ(covariance(1, 1), 42.0);
}

// The iterations themselves, on functions whose steps are known: a score
// that never vanishes stops the loop after exactly 100 steps (100 Hessians,
// 101 scores); a linear score is solved by the first step; a score that
// meets the test at the start still takes one step; a score that is not a
// number ends the loop at once.
TEST(NewtonRaphson, StepLimitAndStoppingRule) {
  struct Case {
    const char* what;
    double slope;   // score(x) = offset + slope * x, Hessian = slope
    double offset;  // NaN: the score is not a number
    int hessians;
    const char* error;  // null: converges
  };
  const double nan = std::nan("");
  const std::vector<Case> cases{
      {"constant score", 0.0, 1.0, 100,
       "the Newton-Raphson iterations do not converge in 100 steps"},
      {"linear score", -2.0, 3.0, 1, nullptr},
      {"score zero at the start", -1.0, 0.0, 1, nullptr},
      {"score not a number", -1.0, nan, 1,
       "the Newton-Raphson iterations diverge (cases and controls separated by their allele "
       "counts?)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int scores = 0;
    int hessians = 0;
    const auto score = [&](const Matrix& x) {
      ++scores;
      return column({c.offset + c.slope * x(1, 1)});
    };
    // A constant score gets the Hessian -1, so x grows by 1 a step.
    const auto hessian = [&](const Matrix&) {
      ++hessians;
      return column({c.slope == 0.0 ? -1.0 : c.slope});
    };
    try {
      const Matrix x = single_snp_test::newton_raphson(column({0.0}), score, hessian);
      EXPECT_EQ(c.error, nullptr);
      EXPECT_EQ(x(1, 1), -c.offset / c.slope);
    } catch (const single_snp_test::FitNotConverged& e) {
      ASSERT_NE(c.error, nullptr) << e.what();
      EXPECT_STREQ(e.what(), c.error);
    }
    EXPECT_EQ(hessians, c.hessians);
    EXPECT_EQ(scores, c.hessians + 1);
  }
}

// Broken invariants stop the process with the condition as written.
TEST(ModelDeathTest, BrokenInvariantsNameTheirCondition) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const Sample s = small_sample();
  const SnpIndices snps{1, 3};
  Matrix wide(3, 2);
  wide = 0.0;
  Matrix short_column = column({0.0, 0.0});
  EXPECT_DEATH(loglikelihood_function(wide, s.haplotypes, s.phenotypes, snps),
               "effect_sizes\\.Ncols\\(\\) == 1");
  EXPECT_DEATH(score_function(short_column, s.haplotypes, s.phenotypes, snps),
               "\\(effect_sizes\\.Nrows\\(\\) - 1\\) == \\(int\\)snp_indices\\.size\\(\\)");
  EXPECT_DEATH(hessian_function(short_column, s.haplotypes, s.phenotypes, snps),
               "\\(effect_sizes\\.Nrows\\(\\) - 1\\) == \\(int\\)snp_indices\\.size\\(\\)");

  single_snp_test::Phenotypes one_too_many = s.phenotypes;
  one_too_many.push_back(0);
  EXPECT_DEATH(fit(Sample{s.haplotypes, one_too_many}, snps),
               "haplotypes\\.size\\(\\) / 2 == phenotypes\\.size\\(\\)");
}
