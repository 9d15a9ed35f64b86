// The association-test tables of the run report, checked against the closed
// forms of a saturated fit: for a SNP whose allele counts take only two
// values, beta is the log odds ratio of the 2x2 table, its standard error the
// square root of the sum of the reciprocal cell counts, and the p-value the
// chi-square(1) upper tail of the table's G statistic.
#include "sim/result_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "common/association_sample.h"

namespace {

const std::string kTitle = "\n\nThe pvalues and effect sizes of each disease SNP is:\n\n";
const std::string kHeader = "Disease_locus_index           beta        beta_se         pvalue\n";
const std::string kJointHeader = "Disease_locus_index           beta        beta_se\n";

}  // namespace

TEST(ResultTables, SaturatedFitAndUnfittableModels) {
  // Column 0: counts 0/1 in a 2x2 table; column 1: no variation at all.
  Sample s;
  add_individuals(s, 0, {0, 0}, 30);
  add_individuals(s, 0, {1, 0}, 20);
  add_individuals(s, 1, {0, 0}, 15);
  add_individuals(s, 1, {1, 0}, 35);
  const SaturatedFit oracle = saturated_fit(0, 1, 35, 15, 20, 30);
  // Hand-checked: ln 3.5 = 1.2528, sqrt(0.17857) = 0.42258, G = 9.2402.
  ASSERT_NEAR(oracle.pvalue, 0.0023676, 1e-7);

  std::ostringstream report;
  write_result_tables(report, s.haplotypes, s.phenotypes, {1, 0, 1});
  EXPECT_EQ(report.str(), kTitle + kHeader +
                              "              0              1.253         0.4226       0.002368\n"
                              "              1" +
                              kNotFittedRow + "\n" + kNotFittedJoint + "\n");
}

TEST(ResultTables, JointTableAndNumberFormat) {
  Sample s;
  add_individuals(s, 0, {0}, 200);
  add_individuals(s, 0, {1}, 100);
  add_individuals(s, 1, {0}, 100);
  add_individuals(s, 1, {1}, 200);
  const SaturatedFit oracle = saturated_fit(0, 1, 200, 100, 100, 200);
  ASSERT_NEAR(oracle.beta, std::log(4.0), 1e-12);

  std::ostringstream report;
  write_result_tables(report, s.haplotypes, s.phenotypes, {0});
  // A p-value below 0.0001 is written in exponent form, 4 significant digits.
  const std::string row = "              0              1.386         0.1732";
  EXPECT_EQ(report.str(), kTitle + kHeader + row + "      1.669e-16\n" +
                              "\n\nThe pvalue for the full disease model is 1.669e-16:\n" +
                              kJointHeader + row + "\n");
  EXPECT_NEAR(oracle.pvalue, 1.669e-16, 0.001e-16);

  // The stream's format is left as it was.
  report.str("");
  report << 1234567.0 << " " << 0.5;
  EXPECT_EQ(report.str(), "1.23457e+06 0.5");
}

TEST(ResultTables, JointRowsFollowAscendingIndices) {
  // Two SNPs in a full factorial design of allele counts, the phenotype
  // alternating in blocks with a few individuals switched (no separation).
  Sample s;
  for (int i = 0; i < 180; ++i)
    add_individuals(s, ((i / 9) % 2) ^ (i % 7 == 0), {i % 3, (i / 3) % 3}, 1);
  std::ostringstream report;
  write_result_tables(report, s.haplotypes, s.phenotypes, {1, 0});

  std::istringstream lines(report.str());
  std::vector<std::string> all;
  for (std::string line; std::getline(lines, line);) all.push_back(line);
  ASSERT_EQ(all.size(), 13u) << report.str();
  EXPECT_EQ(all[4] + "\n", kHeader);
  EXPECT_EQ(all[5].substr(0, 15), "              0");
  EXPECT_EQ(all[6].substr(0, 15), "              1");
  EXPECT_EQ(all[9].substr(0, 41), "The pvalue for the full disease model is ");
  EXPECT_EQ(all[10] + "\n", kJointHeader);
  EXPECT_EQ(all[11].substr(0, 15), "              0");
  EXPECT_EQ(all[12].substr(0, 15), "              1");
  for (int k : {5, 6}) EXPECT_EQ(all[k].size(), 64u) << all[k];
  for (int k : {11, 12}) EXPECT_EQ(all[k].size(), 49u) << all[k];
}

TEST(ResultTables, DivergingFitIsNotFittedWithItsCause) {
  // Every case carries count 0, and so do 2 of 1925 controls: the effect's
  // estimate heads for minus infinity, and the iterations overflow on the
  // way.  Both the SNP's row and the joint model say why they are not fitted.
  Sample s;
  add_individuals(s, 0, {0}, 2);
  add_individuals(s, 0, {1}, 1500);
  add_individuals(s, 0, {2}, 423);
  add_individuals(s, 1, {0}, 2);
  std::ostringstream report;
  write_result_tables(report, s.haplotypes, s.phenotypes, {0});
  const std::string cause =
      "the Newton-Raphson iterations diverge (cases and controls separated by their allele "
      "counts?)";
  EXPECT_EQ(report.str(), kTitle + kHeader + "              0    not fitted: " + cause +
                              "\n\n\nThe full disease model could not be fitted: " + cause + ".\n");
}

TEST(ResultTables, SeparatedModelsKeepTheirFiguresAndAreNamed) {
  // g1 + g2 >= 2 in every case and <= 2 in every control, a few of each on
  // the boundary: the joint model is separated though neither SNP alone is.
  Sample joint;
  for (const auto& [phenotype, counts] : std::vector<std::pair<int, std::vector<int>>>{{1, {2, 0}},
                                                                                       {1, {0, 2}},
                                                                                       {1, {2, 1}},
                                                                                       {1, {1, 1}},
                                                                                       {0, {1, 0}},
                                                                                       {0, {0, 1}},
                                                                                       {0, {0, 0}},
                                                                                       {0, {1, 1}}})
    add_individuals(joint, phenotype, counts, 5);
  std::ostringstream report;
  write_result_tables(report, joint.haplotypes, joint.phenotypes, {0, 1});
  std::istringstream lines(report.str());
  std::vector<std::string> all;
  for (std::string line; std::getline(lines, line);) all.push_back(line);
  ASSERT_EQ(all.size(), 14u) << report.str();
  for (int k : {5, 6}) EXPECT_EQ(all[k].size(), 64u) << all[k];
  EXPECT_EQ(all[7], "");
  EXPECT_EQ(all[9].substr(0, 41), "The pvalue for the full disease model is ");
  for (int k : {11, 12}) EXPECT_EQ(all[k].size(), 49u) << all[k];
  EXPECT_EQ(all[13], kSeparatedJoint);

  // One SNP at which no case carries allele 1: its row keeps its figures
  // and is named after the first table, and the joint model after its own.
  Sample apart;
  add_individuals(apart, 0, {0, 0}, 20);
  add_individuals(apart, 0, {1, 1}, 30);
  add_individuals(apart, 0, {2, 0}, 10);
  add_individuals(apart, 1, {0, 1}, 25);
  add_individuals(apart, 1, {0, 0}, 15);
  report.str("");
  write_result_tables(report, apart.haplotypes, apart.phenotypes, {0});
  const std::string text = report.str();
  const std::string named = "\nDisease SNP 0" + std::string(kSeparatedSnp) + "\n\n\nThe pvalue";
  EXPECT_NE(text.find(named), std::string::npos) << text;
  EXPECT_EQ(text.substr(text.size() - std::string(kSeparatedJoint).size() - 1),
            std::string(kSeparatedJoint) + "\n")
      << text;
  EXPECT_EQ(text.find("not fitted"), std::string::npos) << text;
}
