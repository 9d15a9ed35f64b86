// The whole-data-set tester: genotype counts and frequencies of hand-built
// data sets, which SNPs are tested, saturated fits against the closed forms
// of a 2x2 table, the results file and the checks on its input.
#include "assoc/whole_data_tester.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

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

Quarnex tester(const Sample& s, int map_entries) {
  return Quarnex(s.haplotypes, s.phenotypes, snp_map(map_entries));
}

bool tested(const Quarnex::snp_summary& r) {
  for (const double field : {r.beta_0, r.beta_1, r.se_0, r.se_1, r.pvalue, r.max_loglik, r.chisq})
    if (field == -1.0) return false;
  return true;
}

bool untested(const Quarnex::snp_summary& r) {
  for (const double field : {r.beta_0, r.beta_1, r.se_0, r.se_1, r.pvalue, r.max_loglik, r.chisq})
    if (field != -1.0) return false;
  return true;
}

// Two controls then two cases; allele counts per SNP column:
//   0 varied (tested)  1 all 0  2 all 2  3 all heterozygous (singular fit)
//   4 the same counts in both groups (statistic exactly 0: every sum the
//     fit and the null model form is a multiple of ln 2, without rounding).
Sample five_snps() {
  Sample s;
  add_individuals(s, 0, {0, 0, 2, 1, 0}, 1);
  add_individuals(s, 0, {2, 0, 2, 1, 1}, 1);
  add_individuals(s, 1, {1, 0, 2, 1, 0}, 1);
  add_individuals(s, 1, {2, 0, 2, 1, 1}, 1);
  return s;
}

}  // namespace

TEST(Quarnex, CountsFrequenciesAndWhichSnpsAreTested) {
  struct Expected {
    std::vector<int> controls_counts, cases_counts;
    double controls_freq, cases_freq;  // NaN: no individuals in the group
    bool tested;
  };
  const double nan = std::nan("");
  struct DataSet {
    const char* what;
    Sample sample;
    std::vector<Expected> snps;
    std::string output;
  };
  Sample no_controls;
  add_individuals(no_controls, 1, {0}, 1);
  add_individuals(no_controls, 1, {1}, 1);
  add_individuals(no_controls, 1, {2}, 1);
  const std::string banner = "Running frequentist single SNP tests\n\n";
  const DataSet data_sets[] = {
      {"five SNPs",
       five_snps(),
       {{{1, 0, 1}, {0, 1, 1}, 0.5, 0.75, true},
        {{2, 0, 0}, {2, 0, 0}, 0.0, 0.0, false},
        {{0, 0, 2}, {0, 0, 2}, 1.0, 1.0, false},
        {{0, 2, 0}, {0, 2, 0}, 0.5, 0.5, false},
        {{1, 1, 0}, {1, 1, 0}, 0.25, 0.25, true}},
       banner + "SNP at position 400 could not be fitted: its information matrix is singular\n"},
      {"no controls", no_controls, {{{0, 0, 0}, {1, 1, 1}, nan, 0.5, false}}, banner},
  };

  for (const DataSet& d : data_sets) {
    SCOPED_TRACE(d.what);
    // One map entry more than there are columns: it is not summarised.
    Quarnex q = tester(d.sample, static_cast<int>(d.snps.size()) + 1);
    testing::internal::CaptureStdout();
    q.runtests();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), d.output);

    ASSERT_EQ(q.results().size(), d.snps.size());
    auto result = q.results().begin();
    for (std::size_t k = 0; k < d.snps.size(); ++k, ++result) {
      SCOPED_TRACE(testing::Message() << "SNP " << k);
      const Expected& e = d.snps[k];
      const Quarnex::snp_summary& r = result->second;
      EXPECT_EQ(result->first, 100 * static_cast<int>(k + 1));
      EXPECT_EQ(r.rsid, "rs" + std::to_string(k));
      EXPECT_EQ(r.controls_counts, e.controls_counts);
      EXPECT_EQ(r.cases_counts, e.cases_counts);
      EXPECT_TRUE(std::isnan(e.controls_freq) ? std::isnan(r.controls_freq)
                                              : r.controls_freq == e.controls_freq);
      EXPECT_EQ(r.cases_freq, e.cases_freq);
      EXPECT_TRUE(e.tested ? tested(r) : untested(r));
    }
  }
}

TEST(Quarnex, StatisticNotPositiveGivesPValueOneWithoutTheDistribution) {
  Quarnex q = tester(five_snps(), 5);
  testing::internal::CaptureStdout();
  q.runtests();
  testing::internal::GetCapturedStdout();
  const Quarnex::snp_summary& r = q.results().at(500);
  EXPECT_EQ(r.chisq, 0.0);
  EXPECT_EQ(r.pvalue, 1.0);
  EXPECT_EQ(r.beta_1, 0.0);
  EXPECT_EQ(r.max_loglik, -4 * std::log(2.0));
}

// A SNP with two genotype classes gives a saturated fit.  The fit stops once
// the score's sum of squares is at most 1e-5, so it lands within
// 2 sqrt(1e-5) trace(covariance) of the exact estimates and its
// log-likelihood within 1e-5 trace(covariance) of the maximum (see the fit's
// own tests); the p-value is then checked against the statistic it came
// from.
TEST(Quarnex, SaturatedFitsMatchTheClosedFormsOfTheirTables) {
  struct Table {
    int low, high, cases_high, cases_low, controls_high, controls_low;
  };
  for (const Table& t : {Table{0, 1, 30, 20, 15, 35}, Table{0, 2, 12, 40, 5, 60},
                         Table{1, 2, 7, 9, 11, 4}, Table{0, 1, 300, 200, 150, 350}}) {
    SCOPED_TRACE(testing::Message()
                 << t.low << "/" << t.high << " " << t.cases_high << " " << t.cases_low << " "
                 << t.controls_high << " " << t.controls_low);
    const SaturatedFit closed =
        saturated_fit(t.low, t.high, t.cases_high, t.cases_low, t.controls_high, t.controls_low);
    Quarnex q = tester(
        two_by_two(t.low, t.high, t.cases_high, t.cases_low, t.controls_high, t.controls_low), 1);
    testing::internal::CaptureStdout();
    q.runtests();
    testing::internal::GetCapturedStdout();
    const Quarnex::snp_summary& r = q.results().at(100);

    const double trace = r.se_0 * r.se_0 + r.se_1 * r.se_1;
    const double reach = 2 * std::sqrt(1e-5) * trace;
    EXPECT_NEAR(r.beta_0, closed.intercept, reach);
    EXPECT_NEAR(r.beta_1, closed.beta, reach);
    EXPECT_NEAR(r.se_0, closed.se_intercept, 2 * reach * closed.se_intercept);
    EXPECT_NEAR(r.se_1, closed.se, 2 * reach * closed.se);
    EXPECT_NEAR(r.chisq, closed.g, 2e-5 * trace);
    EXPECT_NEAR(r.max_loglik, closed.null_loglik + r.chisq / 2, 1e-9 * std::fabs(r.max_loglik));
    EXPECT_NEAR(r.pvalue, std::erfc(std::sqrt(r.chisq / 2)), 1e-6);
    EXPECT_NEAR(r.pvalue, closed.pvalue, 1e-4);
  }
}

// Controls' frequency 1/6 and cases' 1/3 show the six significant digits; the
// untested SNP shows -1 in the five result columns.  The fitted columns are
// compared with the closed forms of their table (tolerances as above).
TEST(Quarnex, ResultsFilePlainAndGzip) {
  Sample s;
  add_individuals(s, 0, {0, 0}, 2);
  add_individuals(s, 0, {1, 0}, 1);
  add_individuals(s, 1, {0, 0}, 1);
  add_individuals(s, 1, {1, 0}, 2);
  const SaturatedFit closed = saturated_fit(0, 1, 2, 1, 1, 2);
  Quarnex q = tester(s, 2);
  testing::internal::CaptureStdout();
  q.runtests();
  testing::internal::GetCapturedStdout();

  const vordel_test::TempDir dir;
  const std::string plain = (dir / "results.txt").string();
  const std::string gzip = (dir / "results.txt.gz").string();
  testing::internal::CaptureStdout();
  q.output_results(plain);
  q.output_results(gzip);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "writing output file " + plain + "\n\n" +
                                                        "writing output file " + gzip +
                                                        " (in gzip mode) \n\n");

  const std::string text = vordel_test::read_file(plain);
  EXPECT_EQ(vordel_test::read_gzip_file(gzip), text);
  const std::string header =
      "pos rsid controls_maf cases_maf controls_AA controls_AB controls_BB cases_AA cases_AB "
      "cases_BB beta_0_mle beta_1_mle frequentist_add_pvalue max_likelihood chisq_stat\n";
  const std::string tested = "100 rs0 0.166667 0.333333 2 1 0 1 2 0 ";
  const std::string untested = "200 rs1 0 0 3 0 0 3 0 0 -1 -1 -1 -1 -1\n";
  ASSERT_EQ(text.substr(0, header.size() + tested.size()), header + tested);
  ASSERT_EQ(text.substr(text.size() - untested.size()), untested);

  std::istringstream fitted(
      text.substr(header.size() + tested.size(), text.size() - untested.size()));
  double beta_0, beta_1, pvalue, max_loglik, chisq;
  fitted >> beta_0 >> beta_1 >> pvalue >> max_loglik >> chisq;
  ASSERT_TRUE(fitted) << text;
  std::string rest;
  std::getline(fitted, rest);
  EXPECT_EQ(rest, "");
  // Six significant digits, and the fit's own reach.
  EXPECT_NEAR(beta_0, closed.intercept, 1e-3);
  EXPECT_NEAR(beta_1, closed.beta, 1e-3);
  EXPECT_NEAR(chisq, closed.g, 1e-3);
  EXPECT_NEAR(pvalue, closed.pvalue, 1e-3);
  EXPECT_NEAR(max_loglik, closed.null_loglik + closed.g / 2, 1e-3);
}

TEST(Quarnex, ResultsFileInAMissingDirectoryIsABadFileName) {
  const vordel_test::TempDir dir;
  const std::string name = (dir / "missing" / "results.txt").string();
  const Quarnex q = tester(five_snps(), 5);
  testing::internal::CaptureStdout();
  try {
    q.output_results(name);
    ADD_FAILURE() << "no exception";
  } catch (const badfilename& e) {
    EXPECT_EQ(e.message, "Error reading file " + name + ": can't open file.");
  }
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(Quarnex, ConstructorRefusesBrokenInput) {
  struct Case {
    const char* what;
    single_snp_test::Haplotypes haplotypes;
    single_snp_test::Phenotypes phenotypes;
    int map_entries;
    const char* message;
  };
  const Case cases[] = {
      {"no rows", {}, {}, 1, "the haplotype set has no individuals"},
      {"odd rows",
       {{0}, {1}, {0}},
       {0},
       1,
       "the haplotype set has an odd number of rows (two per individual)"},
      {"ragged", {{0, 1}, {1}}, {0}, 2, "the haplotype rows differ in length"},
      {"ragged later", {{0}, {1}, {0, 1}, {1}}, {0, 1}, 2, "the haplotype rows differ in length"},
      {"allele 2", {{0, 1}, {2, 0}}, {1}, 2, "an allele is neither 0 nor 1"},
      {"allele -1", {{0, 1}, {0, 0}, {0, -1}, {0, 1}}, {1, 0}, 2, "an allele is neither 0 nor 1"},
      {"phenotype missing",
       {{0}, {1}, {1}, {1}},
       {0},
       1,
       "the number of phenotypes differs from the number of individuals"},
      {"phenotype extra",
       {{0}, {1}},
       {0, 1},
       1,
       "the number of phenotypes differs from the number of individuals"},
      {"phenotype 2", {{0}, {1}, {1}, {1}}, {0, 2}, 1, "a phenotype is neither 0 nor 1"},
      {"phenotype -1", {{0}, {1}}, {-1}, 1, "a phenotype is neither 0 nor 1"},
      {"short map",
       {{0, 1, 0}, {1, 1, 0}},
       {0},
       2,
       "the SNP map has fewer entries than there are SNP columns"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      Quarnex(c.haplotypes, c.phenotypes, snp_map(c.map_entries));
      ADD_FAILURE() << "no exception";
    } catch (const std::invalid_argument& e) {
      EXPECT_EQ(std::string(e.what()), std::string("Quarnex: ") + c.message);
    }
  }
  // The same shapes, well formed, are accepted.
  EXPECT_NO_THROW(Quarnex({{0, 1, 0}, {1, 1, 0}}, {1}, snp_map(3)));
  EXPECT_NO_THROW(Quarnex({{0}, {1}, {1}, {1}}, {0, 1}, snp_map(1)));
}
