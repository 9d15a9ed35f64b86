// Output files: names (plain and ".gz"), exact formats, the flag rules,
// sample numbering across groups, tag SNP files, empty groups and damaged
// simulated data; first on simulated data set by hand, then through runs of
// the program.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "panel_helpers.h"
#include "sim/exceptions.h"
#include "sim/vordel.h"

namespace {

using vordel_test::read_file;
using vordel_test::read_gzip_file;
using vordel_test::TempDir;
namespace fs = std::filesystem;

// Three SNPs at 100, 200 and 300; 2 controls and 1 case with the alleles
// below (rows are haplotypes, two per individual).
Vordel make_vordel(const TempDir& dir, const std::string& output,
                   std::vector<std::string> flags = {}) {
  VordelParameters params = vordel_test::make_params(dir.path(), 2, 1, 1.0);
  params.output_file = (dir / output).string();
  params.output_directory = params.output_file.parent_path();
  for (const std::string& flag : flags) params.specified_flags.insert(flag);
  params.tag_snp_file = (dir / "tags.txt").string();
  Vordel vordel(
      params, vordel_test::make_panel({100, 200, 300}, {0.0, 1.0, 2.0}, {{0, 1}, {1, 1}, {0, 0}}));
  vordel.simulated_haplotypes = {{0, 1, 0}, {0, 1, 1}, {1, 1, 0}, {1, 0, 0}, {1, 0, 1}, {0, 1, 1}};
  vordel.simulated_phenotypes = {0, 0, 1};
  vordel.num_simulated_haps = 6;
  return vordel;
}

const char* const kControlsHaps = "0 0 1 1 \n1 1 1 0 \n0 1 0 0 \n";
const char* const kCasesHaps = "1 0 \n0 1 \n1 1 \n";
const char* const kLegend = "rs pos X0 X1\nrs100 100 A G\nrs200 200 A G\nrs300 300 A G\n";
const char* const kControlsGen =
    "snp_0 rs100 100 A G 1 0 0 0 0 1\n"
    "snp_1 rs200 200 A G 0 0 1 0 1 0\n"
    "snp_2 rs300 300 A G 0 1 0 1 0 0\n";
const char* const kCasesGen =
    "snp_0 rs100 100 A G 0 1 0\n"
    "snp_1 rs200 200 A G 0 1 0\n"
    "snp_2 rs300 300 A G 0 0 1\n";
const char* const kControlsSample =
    "ID_1 ID_2 missing pheno\n0 0 0 B\nid1_0 id2_0 0 0\nid1_1 id2_1 0 0\n";
const char* const kCasesSample = "ID_1 ID_2 missing pheno\n0 0 0 B\nid1_2 id2_2 0 1\n";

// Runs output_haplotypes with standard output captured; returns it.
std::string write_outputs(const Vordel& vordel) {
  testing::internal::CaptureStdout();
  try {
    vordel.output_haplotypes();
  } catch (...) {
    testing::internal::GetCapturedStdout();
    throw;
  }
  return testing::internal::GetCapturedStdout();
}

TEST(OutputHaplotypes, PlainFilesHoldTheExactFormats) {
  TempDir dir;
  const std::string out = write_outputs(make_vordel(dir, "sim"));
  EXPECT_EQ(read_file(dir / "sim.controls.haps"), kControlsHaps);
  EXPECT_EQ(read_file(dir / "sim.cases.haps"), kCasesHaps);
  EXPECT_EQ(read_file(dir / "sim.legend"), kLegend);
  EXPECT_EQ(read_file(dir / "sim.controls.gen"), kControlsGen);
  EXPECT_EQ(read_file(dir / "sim.cases.gen"), kCasesGen);
  EXPECT_EQ(read_file(dir / "sim.controls.sample"), kControlsSample);
  EXPECT_EQ(read_file(dir / "sim.cases.sample"), kCasesSample);
  EXPECT_FALSE(fs::exists(dir / "sim.controls.tags.gen"));

  // The report flushes after each opening but the legend's.
  const std::string d = (dir / "sim").string();
  EXPECT_EQ(out,
            "\nWriting output to files \n"
            "writing output file " +
                d +
                ".controls.haps\n"
                "writing output file " +
                d +
                ".cases.haps\n"
                "writing output file " +
                d +
                ".legend\n"
                "writing output file " +
                d +
                ".controls.gen\n"
                "writing output file " +
                d +
                ".cases.gen\n"
                "writing output file " +
                d +
                ".controls.sample\n"
                "writing output file " +
                d + ".cases.sample\n");
  EXPECT_EQ(read_file(dir / "run.summary"), out);
}

TEST(OutputHaplotypes, GzipNameCompressesHaplotypeAndGenotypeFilesOnly) {
  TempDir dir;
  fs::create_directory(dir / "out");
  vordel_test::write_file(dir / "tags.txt", "200");
  const std::string out = write_outputs(make_vordel(dir, "out/sim.gz", {"-t"}));
  const fs::path o = dir / "out";
  for (const auto& [name, text] : std::vector<std::pair<std::string, std::string>>{
           {"sim.controls.haps.gz", kControlsHaps},
           {"sim.cases.haps.gz", kCasesHaps},
           {"sim.controls.gen.gz", kControlsGen},
           {"sim.cases.gen.gz", kCasesGen},
           {"sim.controls.tags.gen.gz", "snp_1 rs200 200 A G 0 0 1 0 1 0\n"},
           {"sim.cases.tags.gen.gz", "snp_1 rs200 200 A G 0 1 0\n"}}) {
    EXPECT_TRUE(vordel_test::is_gzip_file(o / name)) << name;
    EXPECT_EQ(read_gzip_file(o / name), text) << name;
  }
  EXPECT_EQ(read_file(o / "sim.legend"), kLegend);
  EXPECT_EQ(read_file(o / "sim.controls.sample"), kControlsSample);
  EXPECT_EQ(read_file(o / "sim.cases.sample"), kCasesSample);
  EXPECT_NE(out.find("writing output file " + (o / "sim.controls.haps.gz").string() +
                     " (in gzip mode) \n"),
            std::string::npos);
  EXPECT_EQ(std::distance(fs::directory_iterator(o), fs::directory_iterator()), 9);
}

TEST(OutputHaplotypes, NameRules) {
  struct Case {
    std::string output;
    std::string haps;    // controls haplotype file
    std::string sample;  // controls sample file
  };
  for (const Case& c :
       std::vector<Case>{{"sim.txt", "sim.txt.controls.haps", "sim.txt.controls.sample"},
                         {"sim.GZ", "sim.GZ.controls.haps", "sim.GZ.controls.sample"},
                         {"sim.gz", "sim.controls.haps.gz", "sim.controls.sample"},
                         {"a.b.gz", "a.b.controls.haps.gz", "a.b.controls.sample"},
                         {"d.gz/sim", "d.gz/sim.controls.haps", "d.gz/sim.controls.sample"}}) {
    TempDir dir;
    fs::create_directory(dir / "d.gz");
    write_outputs(make_vordel(dir, c.output));
    EXPECT_TRUE(fs::exists(dir / c.haps)) << c.output;
    EXPECT_TRUE(fs::exists(dir / c.sample)) << c.output;
  }
}

TEST(OutputHaplotypes, FlagsDropHaplotypeAndGenotypeFilesButNotTagsOrSamples) {
  TempDir dir;
  vordel_test::write_file(dir / "tags.txt", "100\n");
  write_outputs(make_vordel(dir, "sim", {"-no_haps_output", "-no_gens_output", "-t"}));
  for (const char* suffix :
       {".controls.haps", ".cases.haps", ".legend", ".controls.gen", ".cases.gen"})
    EXPECT_FALSE(fs::exists(dir / (std::string("sim") + suffix))) << suffix;
  EXPECT_EQ(read_file(dir / "sim.controls.tags.gen"), "snp_0 rs100 100 A G 1 0 0 0 0 1\n");
  EXPECT_EQ(read_file(dir / "sim.cases.tags.gen"), "snp_0 rs100 100 A G 0 1 0\n");
  EXPECT_EQ(read_file(dir / "sim.controls.sample"), kControlsSample);
  EXPECT_EQ(read_file(dir / "sim.cases.sample"), kCasesSample);
}

TEST(OutputHaplotypes, TagFileRepeatsOrderAndAbsentPositions) {
  struct Case {
    std::string tags;
    std::string controls;
  };
  const std::string line100 = "snp_0 rs100 100 A G 1 0 0 0 0 1\n";
  const std::string line300 = "snp_2 rs300 300 A G 0 1 0 1 0 0\n";
  for (const Case& c : std::vector<Case>{{"300 100 100", line100 + line300},
                                         {"300\n100\n100\n", line100 + line300},
                                         {" 150 300 -7 999\t", line300},
                                         {"", ""},
                                         {"+200", "snp_1 rs200 200 A G 0 0 1 0 1 0\n"}}) {
    TempDir dir;
    vordel_test::write_file(dir / "tags.txt", c.tags);
    write_outputs(make_vordel(dir, "sim", {"-t"}));
    EXPECT_EQ(read_file(dir / "sim.controls.tags.gen"), c.controls) << c.tags;
  }
}

// The tag file is read when the simulator is built, before the panel and
// long before any output file.
TEST(OutputHaplotypes, BadTagFileIsRejectedBeforeAnyFileIsWritten) {
  for (const char* tags : {"100 2OO 300", "100 1.5", "100 99999999999", "+-100", "+"}) {
    TempDir dir;
    vordel_test::write_file(dir / "tags.txt", tags);
    try {
      write_outputs(make_vordel(dir, "sim", {"-t"}));
      ADD_FAILURE() << "no error for " << tags;
    } catch (const badfilename& e) {
      EXPECT_EQ(e.message.rfind("Error reading file " + (dir / "tags.txt").string() +
                                    ": bad format detected in tag SNP file: \"",
                                0),
                0u)
          << e.message;
      EXPECT_NE(e.message.find("is not an integer position."), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(dir / "sim.controls.tags.gen"));
    EXPECT_FALSE(fs::exists(dir / "sim.controls.haps"));
  }

  TempDir dir;
  try {
    write_outputs(make_vordel(dir, "sim", {"-t"}));
    ADD_FAILURE() << "no error for a missing tag file";
  } catch (const badfilename& e) {
    EXPECT_EQ(e.message,
              "Error reading file " + (dir / "tags.txt").string() + ": can't open file.");
  }

  // A directory opens but cannot be read.
  fs::create_directory(dir / "tags.txt");
  try {
    write_outputs(make_vordel(dir, "sim", {"-t"}));
    ADD_FAILURE() << "no error for an unreadable tag file";
  } catch (const badfilename& e) {
    EXPECT_EQ(e.message,
              "Error reading file " + (dir / "tags.txt").string() + ": can't read file.");
  }
}

// A file that cannot be stored (here a genotype file on a full device) ends
// the output with its name; the files before it are complete.
TEST(OutputHaplotypes, FileThatCannotBeStoredIsReported) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "/dev/full is not available";
  TempDir dir;
  fs::create_symlink("/dev/full", dir / "sim.controls.gen");
  try {
    write_outputs(make_vordel(dir, "sim"));
    ADD_FAILURE() << "no error";
  } catch (const badfilename& e) {
    EXPECT_EQ(e.message,
              "Error reading file " + (dir / "sim.controls.gen").string() + ": can't write file.");
  }
  EXPECT_EQ(read_file(dir / "sim.legend"), kLegend);
  EXPECT_FALSE(fs::exists(dir / "sim.controls.sample"));
}

// The haplotype and genotype files are written side by side: when several
// cannot be stored, the first of them in the order of the files is the one
// reported, after every other file was written; no sample file follows.
// When a file cannot be opened, the files before it are complete and none
// after it is made.
TEST(OutputHaplotypes, FirstFailureInFileOrderIsReported) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "/dev/full is not available";
  {
    TempDir dir;
    fs::create_symlink("/dev/full", dir / "sim.cases.gen");
    fs::create_symlink("/dev/full", dir / "sim.controls.haps");
    try {
      write_outputs(make_vordel(dir, "sim"));
      ADD_FAILURE() << "no error";
    } catch (const badfilename& e) {
      EXPECT_EQ(e.message, "Error reading file " + (dir / "sim.controls.haps").string() +
                               ": can't write file.");
    }
    EXPECT_EQ(read_file(dir / "sim.cases.haps"), kCasesHaps);
    EXPECT_EQ(read_file(dir / "sim.legend"), kLegend);
    EXPECT_EQ(read_file(dir / "sim.controls.gen"), kControlsGen);
    EXPECT_FALSE(fs::exists(dir / "sim.controls.sample"));
  }
  {
    TempDir dir;
    fs::create_directory(dir / "sim.controls.gen");
    std::string out;
    try {
      testing::internal::CaptureStdout();
      make_vordel(dir, "sim").output_haplotypes();
      ADD_FAILURE() << "no error";
    } catch (const badfilename& e) {
      EXPECT_EQ(e.message,
                "Error reading file " + (dir / "sim.controls.gen").string() + ": can't open file.");
    }
    out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(read_file(dir / "sim.controls.haps"), kControlsHaps);
    EXPECT_EQ(read_file(dir / "sim.cases.haps"), kCasesHaps);
    EXPECT_EQ(read_file(dir / "sim.legend"), kLegend);
    EXPECT_FALSE(fs::exists(dir / "sim.cases.gen"));
    EXPECT_FALSE(fs::exists(dir / "sim.controls.sample"));
    // The legend's log line was waiting for the flush after the next
    // opening, which failed.
    EXPECT_NE(out.find("sim.cases.haps\n"), std::string::npos) << out;
    EXPECT_EQ(out.find("sim.legend"), std::string::npos) << out;
  }
}

// The legend is written on the calling thread while the haplotype files are
// written on threads of their own.  When both the controls' haplotype file
// and the legend cannot be stored, the haplotype file, which comes first,
// is the one reported, once every thread has ended; no file after the
// legend is made.
TEST(OutputHaplotypes, WriterFailureBeforeALaterFailureOnTheCallingThread) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "/dev/full is not available";
  TempDir dir;
  fs::create_symlink("/dev/full", dir / "sim.controls.haps");
  fs::create_symlink("/dev/full", dir / "sim.legend");
  try {
    write_outputs(make_vordel(dir, "sim"));
    ADD_FAILURE() << "no error";
  } catch (const badfilename& e) {
    EXPECT_EQ(e.message,
              "Error reading file " + (dir / "sim.controls.haps").string() + ": can't write file.");
  }
  EXPECT_EQ(read_file(dir / "sim.cases.haps"), kCasesHaps);
  EXPECT_FALSE(fs::exists(dir / "sim.controls.gen"));
  EXPECT_FALSE(fs::exists(dir / "sim.controls.sample"));
}

TEST(OutputHaplotypes, EmptyGroups) {
  TempDir dir;
  Vordel vordel = make_vordel(dir, "sim");
  vordel.params.ncontrols = 0;
  vordel.params.ncases = 0;
  vordel.simulated_haplotypes.clear();
  vordel.simulated_phenotypes.clear();
  write_outputs(vordel);
  EXPECT_EQ(read_file(dir / "sim.controls.haps"), "\n\n\n");
  EXPECT_EQ(read_file(dir / "sim.cases.gen"),
            "snp_0 rs100 100 A G\nsnp_1 rs200 200 A G\nsnp_2 rs300 300 A G\n");
  EXPECT_EQ(read_file(dir / "sim.controls.sample"), "ID_1 ID_2 missing pheno\n0 0 0 B\n");
}

TEST(OutputHaplotypes, BadAllelesAreReportedAndOutputGoesOn) {
  TempDir dir;
  Vordel vordel = make_vordel(dir, "sim");
  vordel.simulated_haplotypes[0][1] = -1;  // individual 0, SNP 1: genotype 0
  vordel.simulated_haplotypes[2][2] = 2;   // individual 1, SNP 2: genotype 2
  vordel.simulated_haplotypes[3][2] = 2;   // ... and now 4
  const std::string out = write_outputs(vordel);
  EXPECT_EQ(read_file(dir / "sim.controls.haps"), "0 0 1 1 \n-1 1 1 0 \n0 1 2 2 \n");
  EXPECT_NE(out.find("something has gone wrong in output_haplotypes: one of the alleles is-1\n"
                     "6 0 3 1\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(read_file(dir / "sim.controls.gen"),
            "snp_0 rs100 100 A G 1 0 0 0 0 1\n"
            "snp_1 rs200 200 A G 1 0 0 0 1 0\n"
            "snp_2 rs300 300 A G 0 1 0\n");
  EXPECT_NE(out.find("2 2 6 3 3\n"
                     "something has gone wrong in output_haplotypes: one of the genotypes is 4\n"),
            std::string::npos)
      << out;
  // Each message stands between the log line of its file and that of the
  // next file.
  const auto at = [&out, &dir](const std::string& text) {
    return out.find(text == "alleles" || text == "genotypes"
                        ? "one of the " + text + " is"
                        : "writing output file " + (dir / ("sim" + text)).string() + "\n");
  };
  EXPECT_LT(at(".controls.haps"), at("alleles"));
  EXPECT_LT(at("alleles"), at(".cases.haps"));
  EXPECT_LT(at(".controls.gen"), at("genotypes"));
  EXPECT_LT(at("genotypes"), at(".cases.gen"));
  EXPECT_NE(at(".cases.gen"), std::string::npos);
}

// Fewer simulated rows than the sample sizes ask for, or a negative number
// of controls: each group writes the individuals that exist, and nothing is
// read outside the simulated data.
TEST(OutputHaplotypes, RowCountMismatchWritesWhatExists) {
  TempDir dir;
  Vordel vordel = make_vordel(dir, "sim");
  vordel.simulated_haplotypes.resize(2);
  vordel.simulated_phenotypes.resize(1);
  const std::string out = write_outputs(vordel);
  EXPECT_NE(out.find("something has gone wrong in output_haplotypes: "
                     "simulated_haplotypes.size()/2 != (params.ncontrols+params.ncases)\n"),
            std::string::npos);
  EXPECT_EQ(read_file(dir / "sim.controls.haps"), "0 0 \n1 1 \n0 1 \n");
  EXPECT_EQ(read_file(dir / "sim.cases.haps"), "\n\n\n");
  EXPECT_EQ(read_file(dir / "sim.controls.sample"),
            "ID_1 ID_2 missing pheno\n0 0 0 B\nid1_0 id2_0 0 0\n");
  EXPECT_EQ(read_file(dir / "sim.cases.sample"), "ID_1 ID_2 missing pheno\n0 0 0 B\n");

  TempDir dir2;
  Vordel negative = make_vordel(dir2, "sim");
  negative.params.ncontrols = -1;
  negative.params.ncases = 2;
  negative.simulated_haplotypes.resize(2);
  negative.simulated_phenotypes = {1};
  write_outputs(negative);
  EXPECT_EQ(read_file(dir2 / "sim.controls.haps"), "\n\n\n");
  EXPECT_EQ(read_file(dir2 / "sim.cases.haps"), "0 0 \n1 1 \n0 1 \n");
  EXPECT_EQ(read_file(dir2 / "sim.cases.sample"),
            "ID_1 ID_2 missing pheno\n0 0 0 B\nid1_0 id2_0 0 1\n");
}

// Enough haplotypes and SNPs for the writers to work through several blocks
// of SNPs, with an allele other than 0 and 1 in the last block; the files
// are checked against lines formed here one value at a time.
TEST(OutputHaplotypes, LargeDataAcrossBlocks) {
  TempDir dir;
  const int individuals = 2100;
  const int snps = 2100;
  std::vector<int> positions;
  for (int l = 0; l < snps; ++l) positions.push_back(1000 + 3 * l);
  VordelParameters params = vordel_test::make_params(dir.path(), individuals, 0, 1.0);
  params.output_file = (dir / "big").string();
  params.output_directory = dir.path().string();
  Vordel vordel(params, vordel_test::make_panel(positions, std::vector<double>(snps, 0.0),
                                                std::vector<std::vector<int>>(snps, {0})));
  std::mt19937 engine(7);
  vordel.simulated_haplotypes.assign(2 * individuals, std::vector<int>(snps));
  for (auto& hap : vordel.simulated_haplotypes)
    for (int& allele : hap) allele = static_cast<int>(engine() & 1u);
  vordel.simulated_haplotypes[4000][2050] = 7;
  vordel.simulated_phenotypes.assign(individuals, 0);
  write_outputs(vordel);

  std::string haps;
  std::string gen;
  const char* const genotypes[3] = {" 1 0 0", " 0 1 0", " 0 0 1"};
  for (int l = 0; l < snps; ++l) {
    gen += "snp_" + std::to_string(l) + " rs" + std::to_string(positions[l]) + " " +
           std::to_string(positions[l]) + " A G";
    for (int h = 0; h < 2 * individuals; ++h) {
      haps += std::to_string(vordel.simulated_haplotypes[h][l]) + " ";
      if (h % 2 == 1) {
        const int g = vordel.simulated_haplotypes[h - 1][l] + vordel.simulated_haplotypes[h][l];
        if (g <= 2) gen += genotypes[g];
      }
    }
    haps += "\n";
    gen += "\n";
  }
  EXPECT_TRUE(read_file(dir / "big.controls.haps") == haps);
  EXPECT_TRUE(read_file(dir / "big.controls.gen") == gen);
}

// Through the program: sample numbering across groups, the row counts of
// each file, and a run writing into a new directory under a ".gz" name.
TEST(OutputFilesRun, ControlsAndCasesOnTheExamplePanel) {
  TempDir dir;
  const std::string examples = std::string(VORDEL_SOURCE_DIR) + "/examples/example";
  vordel_test::write_file(dir / "tags.txt", "250345 1097 1097 12");
  const auto result = vordel_test::run_vordel2(
      {"-h", examples + ".haps", "-l", examples + ".legend", "-m", examples + ".map", "-o",
       "res/sim.gz", "-n", "3", "2", "-dl", "250345", "1", "1.5", "2.25", "-nrs", "-t", "tags.txt"},
      dir.path());
  ASSERT_EQ(result.status, 0) << result.out << result.err;
  const fs::path res = dir / "res";
  const std::string haps = read_gzip_file(res / "sim.controls.haps.gz");
  EXPECT_EQ(haps.substr(0, haps.find('\n')).size(), 12u);  // 6 alleles, each and a blank
  EXPECT_EQ(read_file(res / "sim.cases.sample"),
            "ID_1 ID_2 missing pheno\n0 0 0 B\nid1_3 id2_3 0 1\nid1_4 id2_4 0 1\n");
  const std::string tags = read_gzip_file(res / "sim.cases.tags.gen.gz");
  EXPECT_EQ(tags.substr(0, tags.find(' ')), "snp_0");
  EXPECT_NE(tags.find("\nsnp_484 rs917908 250345 T C "), std::string::npos) << tags;
  EXPECT_EQ(std::count(tags.begin(), tags.end(), '\n'), 2);
  EXPECT_EQ(read_file(res / "sim.legend").substr(0, 31), "rs pos X0 X1\nrs900000 1097 T G\n");
  EXPECT_TRUE(fs::exists(res / "sim.gz.summary"));
}

}  // namespace
