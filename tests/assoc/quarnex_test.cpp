// The whole-data-set tester: which SNPs of a hand-built data set are tested,
// its results file, saturated fits against the closed forms of a 2x2 table,
// and the checks on its input.
#include "assoc/quarnex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "common/association_sample.h"
#include "common/test_support.h"
#include "sim/exceptions.h"

using single_snp_test::Quarnex;

namespace {

// SNP k at position 100 (k + 1), named "rs<k>".
std::map<int, snp> snp_map(int snps) {
  std::map<int, snp> map;
  for (int k = 0; k < snps; ++k) map[100 * (k + 1)].rsid = "rs" + std::to_string(k);
  return map;
}

Quarnex tested(const Sample& s, int map_entries) {
  Quarnex q(s.haplotypes, s.phenotypes, snp_map(map_entries));
  q.runtests();
  return q;
}

}  // namespace

// Two controls, two cases.  SNP 0 carries no allele 1 and SNP 1 only allele
// 1: not tested.  SNP 2 is heterozygous in everyone: tested but not
// fittable.  SNP 3 has the same counts in both groups: the fit stays at zero
// and every log-likelihood is a multiple of ln 2 without rounding, so the
// statistic is (0) x -2.0 = -0 and the p-value 1 comes without the
// distribution function.  The extra map entry is not summarised.
TEST(Quarnex, TestsPolymorphicSnpsAndWritesTheResultsFile) {
  Sample s;
  add_individuals(s, 0, {0, 2, 1, 0}, 1);
  add_individuals(s, 0, {0, 2, 1, 1}, 1);
  add_individuals(s, 1, {0, 2, 1, 0}, 1);
  add_individuals(s, 1, {0, 2, 1, 1}, 1);
  const vordel_test::TempDir dir;
  const std::string name = (dir / "results.txt").string();
  testing::internal::CaptureStdout();
  const Quarnex q = tested(s, 5);
  q.output_results(name);
  q.output_results(name + ".gz");
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Running frequentist single SNP tests\n\nSNP at position 300 could not be fitted: its "
            "information matrix is singular\nwriting output file " +
                name + "\n\nwriting output file " + name + ".gz (in gzip mode) \n\n");
  EXPECT_EQ(vordel_test::read_file(name),
            "pos rsid controls_maf cases_maf controls_AA controls_AB controls_BB cases_AA "
            "cases_AB cases_BB beta_0_mle beta_1_mle frequentist_add_pvalue max_likelihood "
            "chisq_stat\n100 rs0 0 0 2 0 0 2 0 0 -1 -1 -1 -1 -1\n"
            "200 rs1 1 1 0 0 2 0 0 2 -1 -1 -1 -1 -1\n"
            "300 rs2 0.5 0.5 0 2 0 0 2 0 -1 -1 -1 -1 -1\n"
            "400 rs3 0.25 0.25 1 1 0 1 1 0 0 0 1 -2.77259 -0\n");
  EXPECT_EQ(vordel_test::read_gzip_file(name + ".gz"), vordel_test::read_file(name));
  EXPECT_THROW(q.output_results((dir / "missing" / "results.txt").string()), badfilename);
  // /dev/full refuses every write; the failure must not be lost.
  if (std::filesystem::exists("/dev/full")) {
    EXPECT_THROW(q.output_results("/dev/full"), badfilename);
  }

  // Without controls their frequency is 0/0 and no SNP is tested.
  Sample cases;
  for (const int count : {0, 1, 2}) add_individuals(cases, 1, {count}, 1);
  testing::internal::CaptureStdout();
  const Quarnex::snp_summary r = tested(cases, 1).results().at(100);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Running frequentist single SNP tests\n\n");
  EXPECT_TRUE(std::isnan(r.controls_freq) && r.cases_freq == 0.5 && r.beta_1 == -1.0);
}

// A SNP with two genotype classes (counts 0 and 2) gives a saturated fit;
// the intercept is the log odds at count 0, with variance 1/9 + 1/4.
// The fit stops once the score's sum of squares is at most 1e-5, so it
// lands within 2 sqrt(1e-5) trace(covariance) of the exact estimates and
// its statistic within 2e-5 trace(covariance) of G (see the fit's tests).
TEST(Quarnex, SaturatedFitMatchesTheClosedFormsOfItsTable) {
  const SaturatedFit closed = saturated_fit(0, 2, 7, 9, 11, 4);
  const Quarnex q = tested(two_by_two(0, 2, 7, 9, 11, 4), 1);
  const Quarnex::snp_summary& r = q.results().at(100);
  const double trace = r.se_0 * r.se_0 + r.se_1 * r.se_1;
  const double reach = 2 * std::sqrt(1e-5) * trace;
  EXPECT_NEAR(r.beta_0, closed.intercept, reach);
  EXPECT_NEAR(r.beta_1, closed.beta, reach);
  EXPECT_NEAR(r.se_0, std::sqrt(1.0 / 9 + 1.0 / 4), 2 * reach);
  EXPECT_NEAR(r.se_1, closed.se, 2 * reach * closed.se);
  EXPECT_NEAR(r.chisq, closed.g, 2e-5 * trace);
  EXPECT_NEAR(r.max_loglik, closed.null_loglik + r.chisq / 2, 1e-9);
  EXPECT_NEAR(r.pvalue, std::erfc(std::sqrt(r.chisq / 2)), 1e-6);
}

TEST(Quarnex, ConstructorRefusesBrokenInput) {
  struct Case {
    single_snp_test::Haplotypes haplotypes;
    single_snp_test::Phenotypes phenotypes;
    std::string message;
  };
  const Case cases[] = {
      {{}, {}, "the haplotype set has no individuals"},
      {{{0}, {1}, {0}}, {0}, "the haplotype set has an odd number of rows (two per individual)"},
      {{{0}, {1}, {0, 1}, {1}}, {0, 1}, "the haplotype rows differ in length"},
      {{{0}, {0}, {2}, {1}}, {1, 0}, "an allele is neither 0 nor 1"},
      {{{0}, {1}}, {0, 1}, "the number of phenotypes differs from the number of individuals"},
      {{{0}, {1}, {1}, {1}}, {0, 2}, "a phenotype is neither 0 nor 1"},
      {{{0}, {1}}, {-1}, "a phenotype is neither 0 nor 1"},
      {{{0, 1, 0}, {1, 1, 0}}, {0}, "the SNP map has fewer entries than there are SNP columns"},
  };
  for (const Case& c : cases) {
    try {
      Quarnex(c.haplotypes, c.phenotypes, snp_map(2));
      ADD_FAILURE() << "no exception: " << c.message;
    } catch (const std::invalid_argument& e) {
      EXPECT_EQ(e.what(), "Quarnex: " + c.message);
    }
  }
}
