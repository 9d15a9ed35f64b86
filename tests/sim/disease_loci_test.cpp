// Disease-locus selection: exact matching of positions, the frequency check,
// the order of processing, the report texts, and the stop when no locus is
// left (exit status 1 through the program).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/test_support.h"
#include "panel_helpers.h"
#include "sim/disease_locus.h"
#include "sim/exceptions.h"
#include "sim/vordel.h"

namespace {

using vordel_test::read_file;
using vordel_test::TempDir;
namespace fs = std::filesystem;

// 100 panel haplotypes; SNP 100 has frequency 0.5, SNP 200 frequency 0,
// SNP 300 frequency 0.01 and SNP 400 frequency 1.
Vordel make_vordel(const TempDir& dir, const std::vector<double>& loci) {
  VordelParameters params = vordel_test::make_params(dir.path(), 1, 1, 1.0);
  for (double position : loci) params.dl[position] = DiseaseLocus(1, 1.5, 2.25);
  std::vector<int> half(100, 0);
  for (int i = 0; i < 50; ++i) half[2 * i] = 1;
  std::vector<int> one(100, 0);
  one[37] = 1;
  return Vordel(params, vordel_test::make_panel(
                            {100, 200, 300, 400}, {0, 1, 2, 3},
                            {half, std::vector<int>(100, 0), one, std::vector<int>(100, 1)}));
}

TEST(ProcessDl, KeepsMatchingPolymorphicLociInAscendingOrder) {
  TempDir dir;
  // Given in descending order, with misses between SNPs, beside a SNP by a
  // fraction, and beyond the panel.
  Vordel vordel = make_vordel(dir, {1234567, 400, 300, 200, 150, 100.5, 100});
  testing::internal::CaptureStdout();
  vordel.process_dl();
  const std::string out = testing::internal::GetCapturedStdout();

  EXPECT_EQ(vordel.dl_indices, (std::vector<int>{0, 2}));
  const auto& snps = vordel.panel_data.snps_data;
  EXPECT_EQ(vordel.dl_snps, (std::vector<const snp*>{&snps.at(100), &snps.at(300)}));
  ASSERT_EQ(vordel.params.dl.size(), 2u);
  EXPECT_EQ(vordel.params.dl.begin()->first, 100.0);
  EXPECT_EQ(vordel.params.dl.rbegin()->first, 300.0);

  const std::string removed = ", so it has been removed from the set of disease loci.\n";
  EXPECT_EQ(out,
            "\nProcessing disease loci ... "
            "\ncannot find snp information for position 100.5" +
                removed + "\ncannot find snp information for position 150" + removed +
                "\nsnp at position 200 has frequency 0" + removed +
                "\nsnp at position 400 has frequency 1" + removed +
                "\ncannot find snp information for position 1.23457e+06" + removed + "done \n\n");
  EXPECT_EQ(read_file(dir / "run.summary"), out);
}

TEST(ProcessDl, NoUsableLocusIsReportedAndThrown) {
  for (const std::vector<double>& loci : {std::vector<double>{}, std::vector<double>{200, 250}}) {
    TempDir dir;
    Vordel vordel = make_vordel(dir, loci);
    testing::internal::CaptureStdout();
    EXPECT_THROW(vordel.process_dl(), NoSuitableDiseaseLociException);
    testing::internal::GetCapturedStdout();
    const std::string summary = read_file(dir / "run.summary");
    EXPECT_EQ(summary.rfind("\nProcessing disease loci ... ", 0), 0u) << summary;
    const std::string end = "done \n\nNo suitable disease loci. Program terminated.\n";
    ASSERT_GE(summary.size(), end.size());
    EXPECT_EQ(summary.substr(summary.size() - end.size()), end) << summary;
  }
}

// Through the program: a run without "-dl" stops before any output file.
TEST(ProcessDlRun, WithoutDiseaseLociNothingIsWritten) {
  TempDir dir;
  vordel_test::write_panel_files(dir.path(), {500, 600}, {{0, 1}, {1, 1}}, {{400, 0.5}});
  std::vector<std::string> args = vordel_test::panel_args(dir.path());
  for (const char* word : {"-o", "sim", "-n", "2", "0", "-nrs"}) args.push_back(word);
  const auto result = vordel_test::run_vordel2(args, dir.path());
  EXPECT_EQ(result.status, 1);
  const std::string end =
      "\nRandom seed set to 0.12345\n"
      "theta not set, so setting to a default value of 0.666667\n"
      "\nProcessing disease loci ... done \n\n"
      "No suitable disease loci. Program terminated.\n";
  ASSERT_GE(result.out.size(), end.size());
  EXPECT_EQ(result.out.substr(result.out.size() - end.size()), end) << result.out;
  // Everything but the directory message also reached the summary file.
  EXPECT_EQ(read_file(dir / "sim.summary"), result.out.substr(result.out.find('\n') + 1));
  EXPECT_FALSE(fs::exists(dir / "sim.controls.haps"));
  EXPECT_FALSE(fs::exists(dir / "sim.controls.sample"));
}

}  // namespace
