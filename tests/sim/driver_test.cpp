// End-to-end runs of the vordel2 binary: help, command-line errors, the
// summary file, the output directory and the exit statuses.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "panel_helpers.h"
#include "sim/parameters.h"
#include "sim/report_format.h"

namespace {

using vordel_test::read_file;
using vordel_test::run_vordel2;
using vordel_test::TempDir;
using vordel_test::write_file;
namespace fs = std::filesystem;

const std::string kRule(67, '=');
const std::string kBanner = "\n" + kRule + "\n" + "  Welcome to VORDEL_v2.1.2 (24/03/2011)\n" +
                            "  Case-control haplotype simulation by copying from a reference "
                            "panel\n" +
                            kRule + "\n\n";
const std::string kTiming = "\nVORDEL took N seconds to complete. Have a nice day! \n";

// The elapsed seconds vary from run to run: replace them by N wherever
// "VORDEL took <seconds> seconds" appears, the seconds written with digits,
// '.', 'e' and '+'.
std::string normalise(const std::string& text) {
  const std::string opening = "VORDEL took ";
  const std::string closing = " seconds";
  std::string result;
  std::size_t copied = 0;  // text before this position is in result already
  for (auto at = text.find(opening); at != std::string::npos; at = text.find(opening, at + 1)) {
    const auto number = at + opening.size();
    const auto end = text.find_first_not_of("0123456789.e+", number);
    if (end == std::string::npos || end == number ||
        text.compare(end, closing.size(), closing) != 0)
      continue;
    result.append(text, copied, number - copied).append("N");
    copied = end;
  }
  return result.append(text, copied, std::string::npos);
}

// The help text itself is checked word for word by the parameter tests.
std::string help_text() {
  std::ostringstream help;
  VordelParameters().parameters_help(help);
  return help.str();
}

std::vector<std::string> entries(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(Driver, HelpWithoutFlagsOrOnRequest) {
  const std::vector<std::vector<std::string>> command_lines{
      {},
      {"-h", "a", "-o", "sub/out", "-n", "5", "6", "-help", "-n", "1O00"},  // before later errors
      {"-help", "-n"},
      {"-h", "a", "-n", "5", "-help"},  // in place of a value
  };
  for (const auto& args : command_lines) {
    TempDir dir;
    const auto r = run_vordel2(args, dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, kBanner + "\n" + help_text() + "\n");
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(entries(dir.path()).empty()) << "help touches no file";
  }
}

TEST(Driver, MissingRequiredFlagsAppendToTheOldSummary) {
  struct Case {
    std::vector<std::string> args;
    std::string missing;
    std::string summary;  // summary file named when the parse stopped
  };
  const std::vector<Case> cases{
      {{"-o", "out", "-l", "b", "-m", "c"}, "-h", "out.summary"},
      {{"-h", "a", "-o", "out", "-m", "c"}, "-l", "out.summary"},
      {{"-h", "a", "-l", "b", "-o", "out"}, "-m", "out.summary"},
      {{"-h", "a", "-l", "b", "-m", "c"}, "-o", "vordel2.summary"},
      {{"-m", "c"}, "-h", "vordel2.summary"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    write_file(dir / c.summary, "old report\n");
    const auto r = run_vordel2(c.args, dir.path());
    const std::string expected =
        kBanner + "ERROR!!! Must specify a value for flag: " + c.missing + "\n\n" + kTiming;
    EXPECT_EQ(r.status, 1) << c.missing;
    EXPECT_EQ(normalise(r.out), expected);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(read_file(dir / c.summary), "old report\n" + r.out);
    EXPECT_EQ(entries(dir.path()), std::vector<std::string>{c.summary});
  }
}

TEST(Driver, UserErrorsDuringTheParse) {
  const std::vector<std::string> files{"-h", "a", "-l", "b", "-m", "c", "-o", "out"};
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::string generic = "Error encountered, program terminated: ";
  const std::vector<Case> cases{
      {{"-dl", "100", "3", "1", "1"},
       generic + "Disease allele must be 0 or 1 but got 3 in DiseaseLocus. \n"},
      {{"-dl", "100", "1", "-1.5", "2"},
       generic + "Relative risks must be finite and not negative but got -1.5 and 2 in "
                 "DiseaseLocus. \n"},
      {{"-dl", "100", "1", "inf", "2"},
       generic + "Relative risks must be finite and not negative but got inf and 2 in "
                 "DiseaseLocus. \n"},
      {{"-n", "1O00", "5"}, "ERROR!!! Bad value given for flag: -n"},
      {{"-n", "10", "-5"}, "ERROR!!! Bad value given for flag: -n"},
      {{"-Ne", "abc"}, "ERROR!!! Bad value given for flag: -Ne"},
      {{"-dl", "12x", "1", "1.5", "2"}, "ERROR!!! Bad value given for flag: -dl"},
      {{"-dl", "12", "1", "1.5"}, "ERROR!!! Must specify a value for flag: -dl"},
      {{"-int", "5"}, "ERROR!!! Must specify a value for flag: -int"},
      {{"-theta"}, "ERROR!!! Must specify a value for flag: -theta"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    std::vector<std::string> args = files;
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto r = run_vordel2(args, dir.path());
    EXPECT_EQ(r.status, 1) << c.message;
    EXPECT_EQ(normalise(r.out), kBanner + c.message + "\n\n" + kTiming);
    EXPECT_EQ(read_file(dir / "out.summary"), r.out);
  }
}

TEST(Driver, UnreadablePanelAfterTheSummary) {
  TempDir dir;
  write_file(dir / "out.summary", "old report\n");
  const auto r = run_vordel2({"-h", "missing.haps", "-l", "missing.legend", "-m", "missing.map",
                              "-o", "out", "-dl", "100", "1", "1.5", "2", "-int", "-5", "1000"},
                             dir.path());
  EXPECT_EQ(r.status, 1);
  const std::string expected_start = "Creating directory \n" + kBanner +
                                     "Command line input is:\n"
                                     "vordel2 -h missing.haps -l missing.legend -m missing.map "
                                     "-o out -dl 100 1 1.5 2 -int -5 1000 \n\n"
                                     "WARNING!! The following specified parameters were not "
                                     "recognised:\n    -5\n\n";
  EXPECT_EQ(r.out.substr(0, expected_start.size()), expected_start);
  EXPECT_NE(r.out.find(report_label("lower: ") + "0\n" + report_label("upper: ") + "1000\n"),
            std::string::npos);
  EXPECT_NE(r.out.find("Error reading file missing.map: can't open file.\n\n"), std::string::npos);
  const std::string out = normalise(r.out);
  EXPECT_EQ(out.substr(out.size() - kTiming.size()), kTiming);
  // The old summary was replaced; the directory message never reaches it.
  EXPECT_EQ(read_file(dir / "out.summary"),
            r.out.substr(std::string("Creating directory \n").size()));
}

TEST(Driver, OutputDirectoryIsCreated) {
  TempDir dir;
  const auto r = run_vordel2(
      {"-h", "a", "-l", "b", "-m", "c", "-o", "results/deep/run1.gz", "-Ne", "40000"}, dir.path());
  EXPECT_EQ(r.status, 1);  // the panel files do not exist
  // The parse's own messages come first and never reach the summary file.
  const std::string created = "Error: Ne needs to be set\nCreating directory results/deep\n";
  ASSERT_EQ(r.out.substr(0, created.size()), created);
  EXPECT_TRUE(fs::is_directory(dir / "results" / "deep"));
  const auto summary = dir / "results" / "deep" / "run1.gz.summary";
  EXPECT_FALSE(vordel_test::is_gzip_file(summary));
  EXPECT_EQ(read_file(summary), r.out.substr(created.size()));
}

TEST(Driver, OutputDirectoryBlockedByAFile) {
  TempDir dir;
  write_file(dir / "blocker", "not a directory\n");
  const auto r = run_vordel2({"-h", "a", "-l", "b", "-m", "c", "-o", "blocker/out"}, dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(normalise(r.out), kBanner +
                                  "Error encountered, program terminated: Cannot create the "
                                  "output directory blocker: a file of that name is in the way"
                                  "\n\n" +
                                  kTiming);
  EXPECT_EQ(r.err, "Error writing summary file blocker/out.summary: can't open file.\n");
  EXPECT_EQ(read_file(dir / "blocker"), "not a directory\n");

  // A file higher up the path: creating the directory itself fails.
  const auto deeper =
      run_vordel2({"-h", "a", "-l", "b", "-m", "c", "-o", "blocker/sub/out"}, dir.path());
  EXPECT_EQ(deeper.status, 1);
  const std::string start = "Creating directory blocker/sub\n" + kBanner +
                            "Error encountered, program terminated: Cannot create the output "
                            "directory blocker/sub: ";
  EXPECT_EQ(deeper.out.substr(0, start.size()), start) << deeper.out;
  EXPECT_EQ(deeper.err, "Error writing summary file blocker/sub/out.summary: can't open file.\n");
  EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"blocker"});
}

TEST(Driver, OutputDirectoryWithoutPermission) {
  if (geteuid() == 0) GTEST_SKIP() << "running as root: permissions do not stop directory creation";
  TempDir dir;
  fs::create_directory(dir / "locked");
  fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  const auto r = run_vordel2({"-h", "a", "-l", "b", "-m", "c", "-o", "locked/sub/out"}, dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("Cannot create the output directory locked/sub: "), std::string::npos);
  EXPECT_EQ(r.err, "Error writing summary file locked/sub/out.summary: can't open file.\n");
}

TEST(Driver, SummaryInADirectoryNotYetCreated) {
  // The parse stops before the output directory is made, so the final flush
  // cannot open the summary file.
  TempDir dir;
  const auto r = run_vordel2({"-o", "later/out", "-l", "b"}, dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(normalise(r.out), kBanner + "ERROR!!! Must specify a value for flag: -h\n\n" + kTiming);
  EXPECT_EQ(r.err, "Error writing summary file later/out.summary: can't open file.\n");
  EXPECT_TRUE(entries(dir.path()).empty());
}

namespace {

// The small example panel of the repository, run with the fixed seed and,
// unless other groups are given, three disease SNPs.
std::vector<std::string> example_run(const std::string& controls, const std::string& cases,
                                     const std::vector<std::string>& disease_loci = {
                                         "445872", "1", "1", "3", "74390", "1", "1.5", "2.25",
                                         "264056", "0", "2", "2"}) {
  const std::string examples = std::string(VORDEL_SOURCE_DIR) + "/examples/";
  std::vector<std::string> args{"-h",
                                examples + "example.haps",
                                "-l",
                                examples + "example.legend",
                                "-m",
                                examples + "example.map",
                                "-o",
                                "out/sim",
                                "-n",
                                controls,
                                cases,
                                "-nrs",
                                "-no_haps_output",
                                "-no_gens_output",
                                "-dl"};
  args.insert(args.end(), disease_loci.begin(), disease_loci.end());
  return args;
}

// The 0-based SNP index of a base-pair position: its rank in the legend.
int legend_index(int position) {
  std::istringstream legend(read_file(std::string(VORDEL_SOURCE_DIR) + "/examples/example.legend"));
  std::string line;
  std::getline(legend, line);  // header
  for (int index = 0; std::getline(legend, line); ++index) {
    std::istringstream fields(line);
    std::string id;
    int pos = 0;
    fields >> id >> pos;
    if (pos == position) return index;
  }
  return -1;
}

// One or more decimal digits and nothing else.
bool digits_only(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
  });
}

// A number as general notation with at most 4 significant digits writes it:
// an optional '-', digits with an optional fraction ("12", "0.5017"), or one
// digit with an optional fraction and a signed exponent of two or more digits
// ("3.2e-05", "1e+100").
bool general4(const std::string& field) {
  const std::size_t sign = field.compare(0, 1, "-") == 0 ? 1 : 0;
  const auto e = field.find('e');
  const std::string mantissa = field.substr(sign, e == std::string::npos ? e : e - sign);
  const auto point = mantissa.find('.');
  const std::string whole = mantissa.substr(0, point);
  if (!digits_only(whole)) return false;
  if (point != std::string::npos && !digits_only(mantissa.substr(point + 1))) return false;
  if (e != std::string::npos) {
    const std::string exponent = field.substr(e + 1);
    if (whole.size() != 1 || exponent.size() < 3) return false;
    if (exponent[0] != '+' && exponent[0] != '-') return false;
    if (!digits_only(exponent.substr(1))) return false;
  }
  std::string digits = whole + (point == std::string::npos ? "" : mantissa.substr(point + 1));
  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
  return digits.size() <= 4;
}

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  return first == std::string::npos ? "" : text.substr(first);
}

// The text between prefix and suffix when line is prefix + text + suffix and
// that text holds no line break; false otherwise.
bool between(const std::string& line, const std::string& prefix, const std::string& suffix,
             std::string& middle) {
  if (line.size() < prefix.size() + suffix.size()) return false;
  if (line.compare(0, prefix.size(), prefix) != 0) return false;
  if (line.compare(line.size() - suffix.size(), suffix.size(), suffix) != 0) return false;
  middle = line.substr(prefix.size(), line.size() - prefix.size() - suffix.size());
  return middle.find_first_of("\r\n") == std::string::npos;
}

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace

TEST(Driver, ResultTablesOfAFullRun) {
  TempDir dir;
  const auto r = run_vordel2(example_run("60", "40"), dir.path());
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_EQ(r.err, "");
  const std::string created = "Creating directory out\n";
  ASSERT_EQ(r.out.substr(0, created.size()), created);
  EXPECT_EQ(read_file(dir / "out" / "sim.summary"), r.out.substr(created.size()));

  const std::string title = "\n\nThe pvalues and effect sizes of each disease SNP is:\n\n";
  const auto at = r.out.find(title);
  ASSERT_NE(at, std::string::npos) << r.out;
  const std::vector<std::string> lines = split_lines(r.out.substr(at + title.size()));
  ASSERT_EQ(lines.size(), 13u) << r.out.substr(at);

  std::vector<int> indices{legend_index(74390), legend_index(264056), legend_index(445872)};
  std::sort(indices.begin(), indices.end());
  auto index_field = [](int index) {
    const std::string text = std::to_string(index);
    return std::string(15 - text.size(), ' ') + text;
  };

  EXPECT_EQ(lines[0], "Disease_locus_index           beta        beta_se         pvalue");
  for (int k = 0; k < 3; ++k) {
    const std::string& row = lines[1 + k];
    ASSERT_EQ(row.size(), 64u) << row;
    EXPECT_EQ(row.substr(0, 15), index_field(indices[k]));
    EXPECT_TRUE(general4(trimmed(row.substr(15, 19)))) << row;
    EXPECT_TRUE(general4(trimmed(row.substr(34, 15)))) << row;
    EXPECT_TRUE(general4(trimmed(row.substr(49, 15)))) << row;
    for (int edge : {15, 34, 49}) EXPECT_EQ(row[edge], ' ') << row;  // columns stay apart
  }
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[5], "");
  std::string joint_pvalue;
  ASSERT_TRUE(between(lines[6], "The pvalue for the full disease model is ", ":", joint_pvalue))
      << lines[6];
  EXPECT_TRUE(general4(joint_pvalue)) << lines[6];
  EXPECT_EQ(lines[7], "Disease_locus_index           beta        beta_se");
  for (int k = 0; k < 3; ++k) {
    const std::string& row = lines[8 + k];
    ASSERT_EQ(row.size(), 49u) << row;
    EXPECT_EQ(row.substr(0, 15), index_field(indices[k]));
    EXPECT_TRUE(general4(trimmed(row.substr(15, 19)))) << row;
    EXPECT_TRUE(general4(trimmed(row.substr(34, 15)))) << row;
  }
  // The timing line follows the joint table directly.
  EXPECT_EQ(lines[11], "");
  EXPECT_EQ(normalise(lines[12]), "VORDEL took N seconds to complete. Have a nice day! ");

  // The fixed seed makes the run reproducible, tables included.
  TempDir again;
  const auto second = run_vordel2(example_run("60", "40"), again.path());
  EXPECT_EQ(normalise(second.out), normalise(r.out));
}

TEST(Driver, UnfittableModelsAreReportedAndTheRunEnds) {
  // Cases only, none of them allowed a copy of allele 1 at the disease SNP:
  // no individual varies there, so neither model can be fitted.
  TempDir dir;
  const auto r = run_vordel2(example_run("0", "3", {"74390", "1", "0", "0"}), dir.path());
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_EQ(r.err, "");
  const std::string index = std::to_string(legend_index(74390));
  const std::string end =
      "\n\nThe pvalues and effect sizes of each disease SNP is:\n\n"
      "Disease_locus_index           beta        beta_se         pvalue\n" +
      std::string(15 - index.size(), ' ') + index +
      "    not fitted: the information matrix is singular (no variation at this SNP?)\n"
      "\n\nThe full disease model could not be fitted: its information matrix is singular "
      "(a disease SNP without variation, or disease SNPs in complete linkage).\n" +
      kTiming;
  ASSERT_GE(r.out.size(), end.size());
  EXPECT_EQ(normalise(r.out.substr(r.out.size() - end.size())), end);
}

TEST(Driver, SeparatedSamplesAreNamedAfterTheirTables) {
  struct Case {
    const char* what;
    std::string controls, cases;
    std::vector<std::string> disease_loci;
    std::vector<int> separated;  // positions of the SNPs separated alone
    bool joint;                  // the joint model separated
    std::string joint_pvalue;    // as written: a separated model's p-value stands
  };
  const std::vector<Case> cases{
      // No case may carry allele 1 at 246690, which many controls carry: the
      // counts separate cases from controls at that SNP, and so in the joint
      // model too, but not at 74390.
      {"one SNP separates",
       "500",
       "700",
       {"246690", "1", "0", "0", "74390", "1", "1.5", "2.25"},
       {246690},
       true,
       "0"},
      // Six SNPs, none of which separates alone (the counts of cases and
      // controls overlap at each), but 3 - g(301558) - g(364139) is >= 0 in
      // every case and <= 0 in every control (and not 0 in 9 of the 35).
      {"only the joint model separates",
       "16",
       "19",
       {"217402", "0", "2", "2.25", "301558", "0", "3", "1", "364139", "0", "1", "4",
        "366563", "0", "3", "2.25", "389206", "1", "3", "1", "437475", "1", "1", "2"},
       {},
       true,
       "0.0005277"},
  };
  const std::string title = "\n\nThe pvalues and effect sizes of each disease SNP is:\n\n";
  const std::string header = "Disease_locus_index           beta        beta_se";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const auto r = run_vordel2(example_run(c.controls, c.cases, c.disease_loci), dir.path());
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    const auto at = r.out.find(title);
    ASSERT_NE(at, std::string::npos) << r.out;
    const std::vector<std::string> lines = split_lines(r.out.substr(at + title.size()));
    std::vector<int> indices;
    for (std::size_t k = 0; k < c.disease_loci.size(); k += 4)
      indices.push_back(legend_index(std::stoi(c.disease_loci[k])));
    std::sort(indices.begin(), indices.end());
    const std::size_t snps = indices.size();
    // Header, rows, a line per separated SNP, two blank lines, the joint
    // p-value, header, rows, the joint line, a blank line and the timing.
    ASSERT_EQ(lines.size(), 2 * snps + c.separated.size() + (c.joint ? 1 : 0) + 7)
        << r.out.substr(at);
    EXPECT_EQ(lines[0], header + "         pvalue");
    // Every row keeps its figures.
    std::size_t line = 1;
    for (const int index : indices) {
      EXPECT_EQ(trimmed(lines[line].substr(0, 15)), std::to_string(index)) << lines[line];
      EXPECT_TRUE(general4(trimmed(lines[line].substr(15, 19)))) << lines[line];
      EXPECT_TRUE(general4(trimmed(lines[line].substr(34, 15)))) << lines[line];
      ++line;
    }
    for (const int position : c.separated)
      EXPECT_EQ(lines[line++], "Disease SNP " + std::to_string(legend_index(position)) +
                                   ": cases and controls are separated by its allele counts, so "
                                   "its beta and beta_se are not estimates (the likelihood has no "
                                   "maximum); its pvalue stands.");
    EXPECT_EQ(lines[line++], "");
    EXPECT_EQ(lines[line++], "");
    EXPECT_EQ(lines[line++], "The pvalue for the full disease model is " + c.joint_pvalue + ":");
    EXPECT_EQ(lines[line++], header);
    for (const int index : indices) {
      EXPECT_EQ(trimmed(lines[line].substr(0, 15)), std::to_string(index)) << lines[line];
      EXPECT_TRUE(general4(trimmed(lines[line].substr(15, 19)))) << lines[line];
      EXPECT_TRUE(general4(trimmed(lines[line].substr(34, 15)))) << lines[line];
      ++line;
    }
    if (c.joint) {
      EXPECT_EQ(lines[line++],
                "The full disease model: cases and controls are separated by the allele counts of "
                "its SNPs, so its beta and beta_se values are not estimates (the likelihood has no "
                "maximum); its pvalue stands.");
    }
    EXPECT_EQ(lines[line++], "");
    EXPECT_EQ(normalise(lines[line]), "VORDEL took N seconds to complete. Have a nice day! ");
  }
}

TEST(Driver, OneCaseRunsNoTest) {
  TempDir dir;
  const auto r = run_vordel2(example_run("60", "1"), dir.path());
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_EQ(r.out.find("pvalue"), std::string::npos);
  const std::string end = "writing output file out/sim.cases.sample\n" + kTiming;
  ASSERT_GE(r.out.size(), end.size());
  EXPECT_EQ(normalise(r.out.substr(r.out.size() - end.size())), end);
}

TEST(Driver, BadTagFileEndsTheRunBeforeThePanelIsRead) {
  struct Case {
    std::string content;  // none: the file does not exist
    std::string reason;
  };
  const std::vector<Case> cases{
      {"", "can't open file."},
      {"250345 12x", "bad format detected in tag SNP file: \"12x\" is not an integer position."},
  };
  for (const Case& c : cases) {
    TempDir dir;
    if (!c.content.empty()) write_file(dir / "tags.txt", c.content);
    std::vector<std::string> args = example_run("60", "40");
    args.insert(args.end(), {"-t", "tags.txt"});
    const auto r = run_vordel2(args, dir.path());
    EXPECT_EQ(r.status, 1) << c.reason;
    // The error follows the parameter summary directly: nothing was read or
    // simulated, and no file but the summary was written.
    const std::string end = report_label("theta: ") +
                            "-1\n\nError reading file tags.txt: " + c.reason + "\n\n" + kTiming;
    const std::string out = normalise(r.out);
    ASSERT_GE(out.size(), end.size());
    EXPECT_EQ(out.substr(out.size() - end.size()), end) << r.out;
    EXPECT_EQ(entries(dir / "out"), std::vector<std::string>{"sim.summary"});
  }
}

TEST(Driver, HaplotypesBeyondMemoryAreRefusedBeforeSimulating) {
  // 5,000 SNPs and the largest numbers of individuals: 8589934588
  // haplotypes of 20042 bytes (24 for the row, 20000 bytes of alleles with
  // the allocator's 8-byte header rounded up to 16, 2 for the phenotype)
  // need 1.7e14 bytes, more than any address space grants.  A sanitizer's
  // allocator (address or thread) must return null for it, as the system's
  // does, instead of stopping the program itself.
  TempDir dir;
  std::string haps;
  std::string legend = "id position a0 a1\n";
  for (int l = 1; l <= 5000; ++l) {
    haps += "0 1\n";
    legend += "rs" + std::to_string(l) + " " + std::to_string(l) + " A G\n";
  }
  write_file(dir / "p.haps", haps);
  write_file(dir / "p.legend", legend);
  write_file(dir / "p.map", "position rate cM\n0 1 0\n");
  const char* const variables[2] = {"ASAN_OPTIONS", "TSAN_OPTIONS"};
  std::string saved[2];
  bool was_set[2];
  for (int k = 0; k < 2; ++k) {
    const char* const options = std::getenv(variables[k]);
    was_set[k] = options != nullptr;
    saved[k] = options ? options : "";
    setenv(variables[k], (saved[k] + ":allocator_may_return_null=1").c_str(), 1);
  }
  const auto r = run_vordel2({"-h", "p.haps", "-l", "p.legend", "-m", "p.map", "-o", "out/sim",
                              "-n", "2147483647", "2147483647", "-dl", "10", "1", "2", "4", "-nrs"},
                             dir.path());
  for (int k = 0; k < 2; ++k) {
    if (was_set[k])
      setenv(variables[k], saved[k].c_str(), 1);
    else
      unsetenv(variables[k]);
  }
  EXPECT_EQ(r.status, 1) << r.out << r.err;
  const std::string end =
      "\nProcessing disease loci ... done \n\n"
      "Error encountered, program terminated: not enough memory for the simulated haplotypes: "
      "8589934588 haplotypes x 5000 SNPs were asked for, which need about 172 TB (20042 bytes a "
      "haplotype).\n\n\n" +
      kTiming;
  const std::string out = normalise(r.out);
  ASSERT_GE(out.size(), end.size());
  EXPECT_EQ(out.substr(out.size() - end.size()), end) << r.out;
  EXPECT_EQ(entries(dir / "out"), std::vector<std::string>{"sim.summary"});
}

// Under an address-space limit of 64 MB, far above what the program itself
// takes (less than 10 MB):
// - 750,000 controls of one SNP are refused before anything is simulated:
//   1,500,000 haplotypes of 58 bytes each (24 for the row, a 4-byte allele
//   in the allocator's smallest block of 32 bytes, 2 for the phenotype)
//   need 87 MB, though their rows and alleles at 4 bytes take 42 MB;
// - 12 disease SNPs each copied on its own take a case table of 4^12 pairs,
//   about 200 MB, which runs out of memory while simulating: that too is
//   the memory error, with the run's haplotypes and SNPs.
// Sanitizer runtimes reserve far more address space than that: not there.
TEST(Driver, MemoryThatRunsOutIsAUserError) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "a sanitizer's runtime needs more address space than the limit";
#endif
  struct Case {
    int snps;
    std::string controls;
    std::string cases;
    std::string text;  // the end of the report before the timing line
  };
  const std::string error =
      "Error encountered, program terminated: not enough memory for the "
      "simulated haplotypes: ";
  const std::vector<Case> rows{
      {1, "750000", "0",
       "\nProcessing disease loci ... done \n\n" + error +
           "1500000 haplotypes x 1 SNPs were asked for, which need about 87 MB (58 bytes a "
           "haplotype).\n\n\n"},
      {12, "10", "5",
       "\nSimulating haplotypes ... " + error +
           "30 haplotypes x 12 SNPs were asked for, which need about 2.7 kB (90 bytes a "
           "haplotype).\n\n\n"},
  };
  for (const Case& c : rows) {
    TempDir dir;
    std::vector<int> positions;
    std::vector<std::vector<int>> alleles;
    std::vector<std::pair<int, double>> map;
    std::vector<std::string> loci;
    for (int l = 0; l < c.snps; ++l) {
      positions.push_back(1000 * (l + 1));
      alleles.push_back({0, 1, 1, 0});
      map.emplace_back(positions.back(), 100.0 * l);
      loci.insert(loci.end(), {std::to_string(positions.back()), "1", "1.5", "2"});
    }
    vordel_test::write_panel_files(dir.path(), positions, alleles, map);
    std::vector<std::string> args = vordel_test::panel_args(dir.path());
    args.insert(args.end(), {"-o", "out/sim", "-nrs", "-n", c.controls, c.cases, "-dl"});
    args.insert(args.end(), loci.begin(), loci.end());
    const auto r = run_vordel2(args, dir.path(), 64UL << 20);
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    const std::string end = c.text + kTiming;
    const std::string out = normalise(r.out);
    ASSERT_GE(out.size(), end.size()) << r.out;
    EXPECT_EQ(out.substr(out.size() - end.size()), end) << r.out;
    EXPECT_EQ(entries(dir / "out"), std::vector<std::string>{"sim.summary"});
  }
}

namespace {

// The file names of a "not enough memory to write" message: the files
// after "while writing ", separated by ", " and, before the last, " and ",
// up to the final ".\n"; empty when the text is not such a message.
std::vector<std::string> files_named(const std::string& message) {
  const std::string opening =
      "not enough memory to write the output files: memory ran out while writing ";
  if (message.compare(0, opening.size(), opening) != 0 || message.size() < opening.size() + 2 ||
      message.compare(message.size() - 2, 2, ".\n") != 0)
    return {};
  std::string list = message.substr(opening.size(), message.size() - opening.size() - 2);
  std::vector<std::string> files;
  const std::string last = " and ";
  const auto and_at = list.rfind(last);
  std::string final_name;
  if (and_at != std::string::npos) {
    final_name = list.substr(and_at + last.size());
    list.erase(and_at);
  }
  for (std::size_t at = 0; at <= list.size();) {
    const auto comma = list.find(", ", at);
    files.push_back(list.substr(at, comma == std::string::npos ? std::string::npos : comma - at));
    if (comma == std::string::npos) break;
    at = comma + 2;
  }
  if (!final_name.empty()) files.push_back(final_name);
  return files;
}

}  // namespace

// 500,000 controls of one SNP take about 66 MB of address space to simulate
// (58 bytes a haplotype and the program itself); writing their haplotype
// and genotype files side by side, each on a thread with a stack of 8 MB
// (the stack limit is set so) and lines of up to 12 bytes a haplotype,
// takes about 40 MB more.  Under
// 80 MB the run stops while those files are written, with the user error
// that names every file whose writing ran out: which of them that is
// depends on how the threads meet, so any of the files written meanwhile,
// in the order they are written, may be named.  With a stack limit of 1 GB
// no thread can be started: every file is written on the calling thread,
// one after another, and under 71 MB the controls' haplotype file (12 MB of
// line) runs out first; its genotype file (4 MB) may run out too.  The
// limits lie 6 MB or more inside the ranges where these errors occur.
// Sanitizer runtimes reserve far more address space: not there.
TEST(Driver, MemoryThatRunsOutWhileWritingIsAUserError) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "a sanitizer's runtime needs more address space than the limit";
#endif
  struct Case {
    unsigned long address_space;
    unsigned long stack;  // also each thread's stack
    std::vector<std::string> may_name;
    std::vector<std::string> must_name_first;
  };
  const std::vector<Case> rows{
      {80UL << 20,
       8UL << 20,
       {"out/sim.controls.haps", "out/sim.cases.haps", "out/sim.legend", "out/sim.controls.gen",
        "out/sim.cases.gen", "out/sim.summary"},
       {}},
      {71UL << 20,
       1UL << 30,
       {"out/sim.controls.haps", "out/sim.controls.gen"},
       {"out/sim.controls.haps"}},
  };
  for (const Case& c : rows) {
    TempDir dir;
    vordel_test::write_panel_files(dir.path(), {1000}, {{0, 1, 1, 0}}, {{1000, 0.0}});
    std::vector<std::string> args = vordel_test::panel_args(dir.path());
    args.insert(args.end(),
                {"-o", "out/sim", "-nrs", "-n", "500000", "0", "-dl", "1000", "1", "1.5", "2"});
    const auto r = run_vordel2(args, dir.path(), c.address_space, c.stack);
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_EQ(r.err, "");
    const std::string out = normalise(r.out);
    // The simulation ended; the files were being written.
    const std::string written =
        "\nSimulating haplotypes ... done\n\nWriting output to files \nwriting output file "
        "out/sim.controls.haps\n";
    const auto at = out.find(written);
    ASSERT_NE(at, std::string::npos) << r.out;
    const std::string error = "Error encountered, program terminated: ";
    const auto error_at = out.find(error, at);
    ASSERT_NE(error_at, std::string::npos) << r.out;
    const std::string end = "\n\n" + kTiming;
    ASSERT_GE(out.size(), error_at + error.size() + end.size()) << r.out;
    ASSERT_EQ(out.substr(out.size() - end.size()), end) << r.out;
    const std::string message =
        out.substr(error_at + error.size(), out.size() - end.size() - error_at - error.size());
    const std::vector<std::string> named = files_named(message);
    ASSERT_FALSE(named.empty()) << message;
    // Files from the list, in its order, each once.
    auto next = c.may_name.begin();
    for (const std::string& file : named) {
      next = std::find(next, c.may_name.end(), file);
      ASSERT_NE(next, c.may_name.end()) << message;
      ++next;
    }
    for (std::size_t k = 0; k < c.must_name_first.size(); ++k)
      EXPECT_EQ(named[k], c.must_name_first[k]) << message;
  }
}

// A run in which no writer thread can be started (a stack of 1 GB each,
// under an address-space limit of 256 MB) writes every file on the calling
// thread, and the same files as a run with threads.
TEST(Driver, WritersWithoutThreadsWriteTheSameFiles) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "a sanitizer's runtime needs more address space than the limit";
#endif
  std::vector<std::string> args = example_run("60", "40");
  args.erase(std::find(args.begin(), args.end(), "-no_haps_output"));
  args.erase(std::find(args.begin(), args.end(), "-no_gens_output"));
  args[std::find(args.begin(), args.end(), "-o") - args.begin() + 1] = "out/sim.gz";
  TempDir with_threads;
  TempDir without_threads;
  const auto first = run_vordel2(args, with_threads.path());
  const auto second = run_vordel2(args, without_threads.path(), 256UL << 20, 1UL << 30);
  ASSERT_EQ(first.status, 0) << first.out << first.err;
  ASSERT_EQ(second.status, 0) << second.out << second.err;
  EXPECT_EQ(normalise(second.out), normalise(first.out));
  const std::vector<std::string> files = entries(with_threads / "out");
  EXPECT_EQ(entries(without_threads / "out"), files);
  EXPECT_EQ(files.size(), 8u);           // the summary and seven output files
  for (const std::string& file : files)  // the summary's running time left out
    EXPECT_EQ(normalise(read_file(without_threads / "out" / file)),
              normalise(read_file(with_threads / "out" / file)))
        << file;
}
