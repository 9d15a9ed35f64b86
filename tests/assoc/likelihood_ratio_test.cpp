// The likelihood-ratio test entry: p-values against the chi-square upper
// tail (erfc for one degree of freedom, Boost.Math for more), standard
// errors from the fit's covariance, and the degenerate cases that give 1.
#include <gtest/gtest.h>
#include <newmat/newmat.h>
#include <boost/math/distributions/chi_squared.hpp>

#include <cmath>

#include "assoc/likelihood_ratio_test.h"
#include "common/association_sample.h"

using NEWMAT::Matrix;
using single_snp_test::maximise_likelihood_snp;
using single_snp_test::run_test;
using single_snp_test::SnpIndices;

namespace {

double null_loglikelihood(const Sample& s) {
  double cases = 0;
  for (const int y : s.phenotypes) cases += y;
  const double n = s.phenotypes.size();
  const double controls = n - cases;
  return cases * std::log(cases) + controls * std::log(controls) - n * std::log(n);
}

struct Result {
  Matrix effect_sizes;
  Matrix standard_errors;
  double pvalue = -1.0;
};

Result test(const Sample& s, const SnpIndices& snps) {
  Result r;
  r.standard_errors.ReSize(4, 4);  // resized by the test whatever it was
  run_test(s.haplotypes, s.phenotypes, snps, r.effect_sizes, r.standard_errors, r.pvalue);
  return r;
}

}  // namespace

// One SNP: the statistic has 1 degree of freedom, Q = erfc(sqrt(X/2)).  The
// statistic comes from the fit's own log-likelihood; the upper tail is
// evaluated to about 1e-14 relative, so 1e-10 relative leaves room.
TEST(RunTest, OneSnpIsTestedWithOneDegreeOfFreedom) {
  struct Table {
    int cases_high, cases_low, controls_high, controls_low;
  };
  for (const Table& t : {Table{30, 20, 15, 35}, Table{12, 40, 5, 60}, Table{200, 300, 150, 350},
                         Table{52, 48, 50, 50}}) {
    const Sample s = two_by_two(0, 1, t.cases_high, t.cases_low, t.controls_high, t.controls_low);
    SCOPED_TRACE(testing::Message() << "cells " << t.cases_high << " " << t.cases_low << " "
                                    << t.controls_high << " " << t.controls_low);
    Matrix b, covariance;
    double loglik = 0.0;
    maximise_likelihood_snp(s.haplotypes, s.phenotypes, {0}, b, loglik, covariance);
    const double statistic = 2 * (loglik - null_loglikelihood(s));
    ASSERT_GT(statistic, 0.0);

    const Result r = test(s, {0});
    const double expected = std::erfc(std::sqrt(statistic / 2));
    EXPECT_NEAR(r.pvalue, expected, 1e-10 * expected);
    ASSERT_EQ(r.effect_sizes.Nrows(), 2);
    EXPECT_EQ(r.effect_sizes(2, 1), b(2, 1));
    ASSERT_EQ(r.standard_errors.Nrows(), 2);
    ASSERT_EQ(r.standard_errors.Ncols(), 1);
    EXPECT_EQ(r.standard_errors(1, 1), std::sqrt(covariance(1, 1)));
    EXPECT_EQ(r.standard_errors(2, 1), std::sqrt(covariance(2, 2)));
  }
}

TEST(RunTest, JointModelHasOneDegreeOfFreedomPerSnp) {
  const Sample s = random_sample(2000, 5, 4242u);
  for (const SnpIndices& snps : {SnpIndices{0, 2}, SnpIndices{0, 1, 4}, SnpIndices{1, 2, 3, 4}}) {
    SCOPED_TRACE(testing::Message() << snps.size() << " SNPs");
    Matrix b, covariance;
    double loglik = 0.0;
    maximise_likelihood_snp(s.haplotypes, s.phenotypes, snps, b, loglik, covariance);
    const double statistic = 2 * (loglik - null_loglikelihood(s));
    ASSERT_GT(statistic, 0.0);
    const boost::math::chi_squared chi_square(static_cast<double>(snps.size()));
    const double expected = boost::math::cdf(boost::math::complement(chi_square, statistic));

    const Result r = test(s, snps);
    EXPECT_NEAR(r.pvalue, expected, 1e-10 * expected);
    ASSERT_EQ(r.standard_errors.Nrows(), static_cast<int>(snps.size()) + 1);
    for (int i = 1; i <= r.standard_errors.Nrows(); ++i) {
      EXPECT_EQ(r.standard_errors(i, 1), std::sqrt(covariance(i, i))) << "row " << i;
    }
  }
}

TEST(RunTest, IdenticalGroupsGiveAPValueOfOne) {
  // Cases and controls with the same genotype counts: the estimate is 0 and
  // the statistic 0 up to rounding, so the p-value is 1 (exactly when the
  // rounded statistic is not positive; otherwise within its rounding).
  Sample s;
  for (const int y : {0, 1}) {
    add_individuals(s, y, {0}, 30);
    add_individuals(s, y, {1}, 15);
    add_individuals(s, y, {2}, 5);
  }
  const Result r = test(s, {0});
  EXPECT_NEAR(r.effect_sizes(2, 1), 0.0, 1e-12);
  EXPECT_NEAR(r.pvalue, 1.0, 1e-6);
}

TEST(RunTest, AGroupWithoutIndividualsGivesAPValueOfOne) {
  for (const int y : {0, 1}) {
    Sample s;
    add_individuals(s, y, {0}, 10);
    add_individuals(s, y, {1}, 6);
    add_individuals(s, y, {2}, 2);
    const Result r = test(s, {0});
    EXPECT_EQ(r.pvalue, 1.0) << (y == 0 ? "controls only" : "cases only");
    EXPECT_EQ(r.standard_errors.Nrows(), 2);
  }
}

TEST(RunTest, EmptySnpSetIsTheNullModelWithAPValueOfOne) {
  Sample s;
  add_individuals(s, 0, {1}, 60);
  add_individuals(s, 1, {0}, 40);
  const Result r = test(s, {});
  EXPECT_EQ(r.pvalue, 1.0);
  ASSERT_EQ(r.effect_sizes.Nrows(), 1);
  ASSERT_EQ(r.standard_errors.Nrows(), 1);
  // Standard error of the intercept-only fit: sqrt(n / (n1 n0)), to within
  // the fit's stopping rule.
  EXPECT_NEAR(r.standard_errors(1, 1), std::sqrt(100.0 / (40.0 * 60.0)), 1e-4);
}

TEST(RunTest, SingularFitPassesThroughWithoutWritingResults) {
  Sample s;
  add_individuals(s, 0, {0, 1}, 20);
  add_individuals(s, 1, {0, 2}, 20);
  Matrix effect_sizes;
  Matrix standard_errors(1, 1);
  standard_errors = 7.0;
  double pvalue = -3.0;
  EXPECT_THROW(run_test(s.haplotypes, s.phenotypes, {0, 1}, effect_sizes, standard_errors, pvalue),
               NEWMAT::SingularException);
  EXPECT_EQ(pvalue, -3.0);
  ASSERT_EQ(standard_errors.Nrows(), 1);
  EXPECT_EQ(standard_errors(1, 1), 7.0);
}
