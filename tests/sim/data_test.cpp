// Reading the genetic map and the reference panel: report texts, interval
// and duplicate rules, interpolation, unequal line counts, line ends and
// every input error, on small files written by the tests; and the real
// chr20 panel when the shared data are present.

#include "sim/data.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "sim/exceptions.h"
#include "sim/report_format.h"

namespace fs = std::filesystem;

namespace {

using vordel_test::read_file;

// The interpolated genetic position at x, found by walking the map from its
// first line: the plain form of the rule, for any order of the map.
double walked_genetic_position(const Data& d, double x) {
  const std::vector<double>& p = d.map_positions;
  const std::vector<double>& s = d.map_scaled_positions;
  if (x < p[0]) return s[0];
  std::size_t i = 0;
  while (i + 1 < p.size() && p[i + 1] <= x) ++i;
  if (i + 1 == p.size()) return s[i];
  return ((x - p[i]) / (p[i + 1] - p[i])) * (s[i + 1] - s[i]) + s[i];
}

// A report line: the label right-aligned in 60 characters, then the value.
std::string labelled(const std::string& label, const std::string& value) {
  return report_label(label) + value + "\n";
}

const std::string kMapReport =
    "Reading genetic map file ... done\n" + labelled("number of rates read: ", "3") + "\n";

std::string panel_header(int lower, int upper) {
  return "\nReading haplotype and legend files: looking for SNPs in [" + std::to_string(lower) +
         ", " + std::to_string(upper) + "] ... ";
}

std::string count_lines(int haps, int total, int in_interval) {
  return labelled("number of haplotypes: ", std::to_string(haps)) +
         labelled("number of SNPs in total: ", std::to_string(total)) +
         labelled("number of SNPs in interval: ", std::to_string(in_interval)) + "\n";
}

const std::string kMoreHaplotypeLines =
    "Warning: haplotype file contained more lines than legend file, only those SNPs with a "
    "line in the legend file were read.\n";
const std::string kMoreLegendLines =
    "Warning: legend file contained more lines than haplotype file, only those SNPs with a "
    "line in the haplotype file were read.\n";

// Sends std::cout to a string while alive.
class CaptureStdout {
 public:
  CaptureStdout() : old_(std::cout.rdbuf(captured_.rdbuf())) {}
  ~CaptureStdout() { std::cout.rdbuf(old_); }
  std::string text() const { return captured_.str(); }

 private:
  std::ostringstream captured_;
  std::streambuf* old_;
};

// The outcome of building a panel: the panel, or the error's message, and
// what reached standard output.
struct ReadOutcome {
  Data data;
  bool ok = false;
  std::string error;
  std::string out;
};

class PanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A default panel that reads cleanly; tests overwrite the files they vary.
    write("map.txt",
          "position rate cM\n"
          "1000 0.5 1.0\n"
          "2000 0.5 2.0\n"
          "4000 0.5 3.0\n");
    write("panel.legend",
          "id position a0 a1\n"
          "rs1 500 A G\n"
          "rs2 2000 C T\n"
          "rs3 3000 G A\n");
    write("panel.hap",
          "0 1 1 0\n"
          "1 1 1 1\n"
          "0 0 0 1\n");
  }
  fs::path path(const std::string& name) const { return dir_ / name; }

  void write(const std::string& name, const std::string& text) const {
    vordel_test::write_file(path(name), text);
  }

  VordelParameters params() const {
    VordelParameters p;
    p.genetic_map_file = path("map.txt").string();
    p.legend_file = path("panel.legend").string();
    p.haplotype_file = path("panel.hap");
    p.summary_file = path("run.summary").string();
    return p;
  }

  ReadOutcome read(const VordelParameters& p) const {
    ReadOutcome outcome;
    CaptureStdout capture;
    try {
      outcome.data = Data(p);
      outcome.ok = true;
    } catch (const badfilename& e) {
      outcome.error = e.message;
    }
    outcome.out = capture.text();
    return outcome;
  }
  ReadOutcome read() const { return read(params()); }

  std::string summary() const { return read_file(path("run.summary")); }

  vordel_test::TempDir dir_;
};

TEST_F(PanelTest, ReportsCountsOnStandardOutputAndInTheSummary) {
  const ReadOutcome r = read();
  ASSERT_TRUE(r.ok) << r.error;
  const std::string expected =
      kMapReport + panel_header(0, 500000000) + "done\n" + count_lines(4, 3, 3);
  EXPECT_EQ(r.out, expected);
  EXPECT_EQ(summary(), expected);
}

TEST_F(PanelTest, FillsTheSnpRecords) {
  const ReadOutcome r = read();
  ASSERT_TRUE(r.ok) << r.error;
  const Data& d = r.data;
  EXPECT_EQ(d.num_panel_haps, 4);
  EXPECT_EQ(d.map_positions, (std::vector<double>{1000, 2000, 4000}));
  ASSERT_EQ(d.snps_data.size(), 3u);
  const snp& first = d.snps_data.at(500);
  EXPECT_EQ(first.rsid, "rs1");
  EXPECT_EQ(first.allele0, "A");
  EXPECT_EQ(first.allele1, "G");
  EXPECT_EQ(first.haps, (std::vector<int>{0, 1, 1, 0}));
  EXPECT_EQ(first.freq, 0.5);
  EXPECT_EQ(d.snps_data.at(2000).freq, 1.0);
  EXPECT_EQ(d.snps_data.at(3000).freq, 0.25);
  EXPECT_EQ(d.snps_data.at(3000).rsid, "rs3");
}

TEST_F(PanelTest, ScalesAndInterpolatesGeneticPositions) {
  const ReadOutcome r = read();
  ASSERT_TRUE(r.ok) << r.error;
  const Data& d = r.data;
  // (4 x 11418) x 1.0 / 100 is the double nearest 456.72.
  EXPECT_EQ(d.map_scaled_positions[0], 456.72);
  const double s0 = 456.72, s1 = 4.0 * 11418.0 * 2.0 / 100.0, s2 = 4.0 * 11418.0 * 3.0 / 100.0;
  EXPECT_EQ(d.map_scaled_positions, (std::vector<double>{s0, s1, s2}));

  EXPECT_EQ(d.snps_data.at(500).genetic_position, s0);   // before the first line
  EXPECT_EQ(d.snps_data.at(2000).genetic_position, s1);  // exactly at an inner line
  EXPECT_EQ(d.snps_data.at(3000).genetic_position, ((3000.0 - 2000.0) / 2000.0) * (s2 - s1) + s1);

  const struct {
    double x, expected;
  } cases[] = {{999, s0},  {1000, s0}, {1500, ((1500.0 - 1000.0) / 1000.0) * (s1 - s0) + s0},
               {2000, s1}, {4000, s2}, {1e9, s2}};
  const GeneticMapIndex map(d.map_positions, d.map_scaled_positions);
  for (const auto& c : cases) EXPECT_EQ(map.genetic_position(c.x), c.expected) << "x = " << c.x;
}

TEST_F(PanelTest, OneLineMapGivesEverySnpTheSameValue) {
  write("map.txt", "position rate cM\n2000 0.5 2.0\n");
  const ReadOutcome r = read();
  ASSERT_TRUE(r.ok) << r.error;
  for (const auto& [position, record] : r.data.snps_data) {
    EXPECT_EQ(record.genetic_position, 913.44) << position;
  }
}

// The reader finds map segments by binary search; the result must equal the
// plain walk for a map in any order, repeated positions included.  The seed
// is fixed; the check is exact, so no tolerance is involved.
TEST_F(PanelTest, SegmentSearchMatchesTheWalkForUnorderedMaps) {
  std::mt19937 rng(20240611);
  std::uniform_int_distribution<int> position(0, 100);
  std::uniform_real_distribution<double> cm(0.0, 5.0);
  for (int round = 0; round < 20; ++round) {
    std::ostringstream map, legend, haps;
    map << "header\n";
    const int lines = 1 + round % 7;
    for (int i = 0; i < lines; ++i) map << position(rng) * 10 << " 0 " << cm(rng) << "\n";
    legend << "id position a0 a1\n";
    for (int x = -5; x <= 1005; x += 5) {
      legend << "rs" << x << " " << x << " A G\n";
      haps << "0 1\n";
    }
    write("map.txt", map.str());
    write("panel.legend", legend.str());
    write("panel.hap", haps.str());
    const ReadOutcome r = read();
    ASSERT_TRUE(r.ok) << r.error;
    for (const auto& [x, record] : r.data.snps_data) {
      ASSERT_EQ(record.genetic_position, walked_genetic_position(r.data, x))
          << "round " << round << ", x = " << x << "\n"
          << map.str();
    }
  }
}

TEST_F(PanelTest, IntervalBoundsAreInclusive) {
  write("panel.legend",
        "id position a0 a1\nrs1 100 A G\nrs2 200 A G\nrs3 300 A G\nrs4 400 A G\nrs5 500 A G\n");
  write("panel.hap", "0 1\n0 1\n0 1\n0 1\n0 1\n");
  VordelParameters p = params();
  p.lower = 200;
  p.upper = 400;
  const ReadOutcome r = read(p);
  ASSERT_TRUE(r.ok) << r.error;
  std::vector<int> kept;
  for (const auto& entry : r.data.snps_data) kept.push_back(entry.first);
  EXPECT_EQ(kept, (std::vector<int>{200, 300, 400}));
  EXPECT_EQ(r.out, kMapReport + panel_header(200, 400) + "done\n" + count_lines(2, 5, 3));
}

TEST_F(PanelTest, KeepsTheFirstSnpAtARepeatedPosition) {
  write("panel.legend", "id position a0 a1\nrs1 100 A G\nrs2 100 C T\nrs3 300 A G\n");
  const ReadOutcome r = read();
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(r.data.snps_data.size(), 2u);
  EXPECT_EQ(r.data.snps_data.at(100).rsid, "rs1");
  EXPECT_EQ(r.data.snps_data.at(100).haps, (std::vector<int>{0, 1, 1, 0}));
  EXPECT_NE(r.out.find(count_lines(4, 3, 2)), std::string::npos) << r.out;
}

TEST_F(PanelTest, HeaderLinesAreNeverData) {
  write("map.txt", "100 0.5 9.0\n1000 0.5 1.0\n");
  write("panel.legend", "rs0 700 A G\nrs1 500 A G\nrs2 2000 C T\nrs3 3000 G A\n");
  const ReadOutcome r = read();
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.data.map_positions, std::vector<double>{1000});
  EXPECT_EQ(r.data.snps_data.count(700), 0u);
  EXPECT_EQ(r.data.snps_data.size(), 3u);
}

TEST_F(PanelTest, ReadsNumbersAsStreamInputDoes) {
  // Blanks after the last allele, tabs, other spellings of 0 and 1, a plus
  // sign and an exponent, and extra columns all read as usual; so do a rate
  // too small for a double (read as 0) and a word after a complete exponent.
  write("map.txt", "h\n+1e3\t0.5 1.0 extra\n2000 1e-400 2e0e\n");
  write("panel.legend", "id position a0 a1\nrs1 +500 A G more words\nrs2 2000 C T\nrs3 3000 G A\n");
  write("panel.hap", "0 1 1 0   \t\n01 +1 1 1\n\t0 0 0 1\n");
  const ReadOutcome r = read();
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.data.map_positions, (std::vector<double>{1000, 2000}));
  EXPECT_EQ(r.data.map_scaled_positions[1], 4.0 * 11418.0 * 2.0 / 100.0);
  EXPECT_EQ(r.data.snps_data.at(500).haps, (std::vector<int>{0, 1, 1, 0}));
  EXPECT_EQ(r.data.snps_data.at(2000).haps, (std::vector<int>{1, 1, 1, 1}));
  EXPECT_EQ(r.data.snps_data.at(3000).haps, (std::vector<int>{0, 0, 0, 1}));
}

TEST_F(PanelTest, CarriageReturnLineEndsReadLikeNewlines) {
  const ReadOutcome plain = read();
  ASSERT_TRUE(plain.ok) << plain.error;
  for (const char* name : {"map.txt", "panel.legend", "panel.hap"}) {
    std::string text = read_file(path(name));
    std::string crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    write(name, crlf);
  }
  fs::remove(path("run.summary"));
  const ReadOutcome r = read();
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.out, plain.out);
  EXPECT_EQ(r.data.map_positions, plain.data.map_positions);
  EXPECT_EQ(r.data.map_scaled_positions, plain.data.map_scaled_positions);
  ASSERT_EQ(r.data.snps_data.size(), plain.data.snps_data.size());
  for (const auto& [position, record] : plain.data.snps_data) {
    const snp& other = r.data.snps_data.at(position);
    EXPECT_EQ(other.rsid, record.rsid);
    EXPECT_EQ(other.allele1, record.allele1);  // no "\r" left on the last word
    EXPECT_EQ(other.haps, record.haps);
    EXPECT_EQ(other.genetic_position, record.genetic_position);
  }
}

// Unequal line counts: the complete pairs are read, and a warning goes to
// standard output only, between the "done" line and the count lines.  The
// longer file's last line warns whether or not it ends in a newline.
TEST_F(PanelTest, WarnsAboutUnequalLineCounts) {
  const std::string three_snps = "h\nr1 1 A G\nr2 2 A G\nr3 3 A G";
  const std::string four_snps = three_snps + "\nr4 4 A G";
  const std::string three_lines = "0 1\n0 1\n0 1";
  const std::string four_lines = three_lines + "\n0 1";
  const struct {
    const char* what;
    std::string legend, haps, warning;
  } cases[] = {
      {"equal", three_snps + "\n", three_lines + "\n", ""},
      {"equal, legend without final newline", three_snps, three_lines + "\n", ""},
      {"equal, haplotypes without final newline", three_snps + "\n", three_lines, ""},
      {"equal, neither with final newline", three_snps, three_lines, ""},
      {"more haplotype lines", three_snps + "\n", four_lines + "\n", kMoreHaplotypeLines},
      {"more haplotype lines, legend without final newline", three_snps, four_lines + "\n",
       kMoreHaplotypeLines},
      {"more haplotype lines, the last without final newline", three_snps + "\n", four_lines,
       kMoreHaplotypeLines},
      {"more haplotype lines, neither with final newline", three_snps, four_lines,
       kMoreHaplotypeLines},
      {"more legend lines", four_snps + "\n", three_lines + "\n", kMoreLegendLines},
      {"more legend lines, haplotypes without final newline", four_snps + "\n", three_lines,
       kMoreLegendLines},
      {"more legend lines, the last without final newline", four_snps, three_lines + "\n",
       kMoreLegendLines},
      {"more legend lines, neither with final newline", four_snps, three_lines, kMoreLegendLines},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    write("panel.legend", c.legend);
    write("panel.hap", c.haps);
    fs::remove(path("run.summary"));
    const ReadOutcome r = read();
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.data.snps_data.size(), 3u);
    const std::string before = kMapReport + panel_header(0, 500000000) + "done\n";
    const std::string after = count_lines(2, 3, 3);
    EXPECT_EQ(r.out, before + c.warning + after);
    EXPECT_EQ(summary(), before + after);
  }
}

TEST_F(PanelTest, InputErrorsNameTheFileAndTheReason) {
  const std::string good_map = read_file(path("map.txt"));
  const std::string good_legend = read_file(path("panel.legend"));
  const std::string good_haps = read_file(path("panel.hap"));
  const std::string map = path("map.txt").string();
  const std::string legend = path("panel.legend").string();
  const std::string haps = path("panel.hap").string();
  const std::string absent = "\x01";  // marks a file that is removed

  const struct {
    const char* what;
    std::string map_text, legend_text, haps_text, file, reason;
  } cases[] = {
      {"map missing", absent, good_legend, good_haps, map, "can't open file."},
      {"map line with two numbers", "h\n1000 0.5 1.0\n2000 0.5\n", good_legend, good_haps, map,
       "bad line in rates file on line 3"},
      {"empty map line", "h\n1000 0.5 1.0\n\n4000 0.5 3.0\n", good_legend, good_haps, map,
       "bad line in rates file on line 3"},
      {"map word for a number", "h\n1000 x 1.0\n", good_legend, good_haps, map,
       "bad line in rates file on line 2"},
      {"map exponent without digits", "h\n1e 0.5 1.0\n", good_legend, good_haps, map,
       "bad line in rates file on line 2"},
      {"map of a header only", "position rate cM\n", good_legend, good_haps, map,
       "no data lines found in rates file."},
      {"empty map", "", good_legend, good_haps, map, "no data lines found in rates file."},
      {"haplotype file missing", good_map, good_legend, absent, haps, "can't open haplotype file."},
      {"legend missing", good_map, absent, good_haps, legend, "can't open legend file."},
      {"both panel files missing", good_map, absent, absent, haps, "can't open haplotype file."},
      {"legend line with three words", good_map, "h\nrs1 500 A G\nrs2 2000 C\n", good_haps, legend,
       "bad format detected in legend file on line 3."},
      {"empty legend line", good_map, "h\nrs1 500 A G\n\nrs3 3000 G A\n", good_haps, legend,
       "bad format detected in legend file on line 3."},
      {"legend position not a number", good_map, "h\nrs1 pos A G\n", good_haps, legend,
       "bad format detected in legend file on line 2."},
      {"legend position out of int range", good_map, "h\nrs1 2147483648 A G\n", good_haps, legend,
       "bad format detected in legend file on line 2."},
      {"haplotype word", good_map, good_legend, "0 1 1 0\n1 x 1 1\n", haps,
       "bad format detected in haplotype file on line 2."},
      {"haplotype allele 2", good_map, good_legend, "0 1 1 0\n0 0 0 1\n1 2 1 1\n", haps,
       "bad format detected in haplotype file on line 3."},
      {"negative haplotype allele", good_map, good_legend, "0 -1 1 0\n", haps,
       "bad format detected in haplotype file on line 1."},
      {"haplotype allele 0.5", good_map, good_legend, "0 1 1 0.5\n", haps,
       "bad format detected in haplotype file on line 1."},
      {"both lines of a pair bad", good_map, "h\nrs1 500 A G\nrs2\n", "0 1 1 0\n1 x 1 1\n", legend,
       "bad format detected in legend file on line 3."},
      {"fewer haplotypes on a line", good_map, good_legend, "0 1 1 0\n1 1 1\n", haps,
       "different number of haplotypes found in haplotype file (4 and 3 on line 2."},
      {"more haplotypes outside the interval", good_map, "h\nrs1 500 A G\nrs2 999999999 C T\n",
       "0 1 1 0\n1 1 1 1 0\n", haps,
       "different number of haplotypes found in haplotype file (4 and 5 on line 2."},
      {"no haplotypes on the first line", good_map, good_legend, "\n1 1 1 1\n", haps,
       "no haplotypes found in haplotype file on line 1."},
      {"no haplotypes on a line of blanks", good_map, good_legend, " \r\n", haps,
       "no haplotypes found in haplotype file on line 1."},
      {"no SNP in the interval", good_map, "h\nrs1 600000000 A G\n", good_haps, haps,
       "No SNPs in the interval in haplotype file!"},
      {"empty haplotype file", good_map, good_legend, "", haps,
       "No SNPs in the interval in haplotype file!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::pair<const char*, const std::string*> files[] = {
        {"map.txt", &c.map_text}, {"panel.legend", &c.legend_text}, {"panel.hap", &c.haps_text}};
    for (const auto& [name, text] : files) {
      if (*text == absent) {
        fs::remove(path(name));
      } else {
        write(name, *text);
      }
    }
    const ReadOutcome r = read();
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "Error reading file " + c.file + ": " + c.reason);
  }
}

// Text flushed before an error stays shown; the count lines of a panel
// without SNPs in the interval never appear.
TEST_F(PanelTest, AnErrorDropsTheUnflushedReport) {
  VordelParameters p = params();
  p.lower = 10;
  p.upper = 20;
  const ReadOutcome r = read(p);
  ASSERT_FALSE(r.ok);
  const std::string expected = kMapReport + panel_header(10, 20) + "done\n";
  EXPECT_EQ(r.out, expected);
  EXPECT_EQ(summary(), expected);

  write("panel.legend", "h\nrs1\n");
  fs::remove(path("run.summary"));
  const ReadOutcome bad_legend = read();
  ASSERT_FALSE(bad_legend.ok);
  EXPECT_EQ(bad_legend.out, kMapReport + panel_header(0, 500000000));

  write("map.txt", "h\n1000 0.5\n");
  fs::remove(path("run.summary"));
  const ReadOutcome bad_map = read();
  ASSERT_FALSE(bad_map.ok);
  EXPECT_EQ(bad_map.out, "Reading genetic map file ... ");
}

TEST_F(PanelTest, ReadsTheRealChr20Panel) {
  const fs::path shared = fs::path(VORDEL_SHARED_DATA) / "chr20";
  if (!fs::exists(shared / "chr20.hap.gz")) {
    GTEST_SKIP() << "shared reference data not found at " << shared
                 << "; the chr20 panel test needs ../shared/data beside the checkout";
  }
  write("map.txt", vordel_test::read_gzip_file(shared / "chr20.map.gz"));
  write("panel.legend", vordel_test::read_gzip_file(shared / "chr20.legend.gz"));
  write("panel.hap", vordel_test::read_gzip_file(shared / "chr20.hap.gz"));
  const ReadOutcome r = read();
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.data.num_panel_haps, 600);
  EXPECT_NE(r.out.find(labelled("number of SNPs in total: ", "23670")), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("Warning"), std::string::npos) << r.out;
  EXPECT_GT(r.data.snps_data.size(), 20000u);
  for (const auto& [position, record] : r.data.snps_data) {
    ASSERT_EQ(record.haps.size(), 600u) << position;
    // No room beyond the alleles, the first SNP's included (whose count
    // is not known before its line is read).
    ASSERT_EQ(record.haps.capacity(), 600u) << position;
    ASSERT_EQ(record.genetic_position, walked_genetic_position(r.data, position));
  }
}

// The whole program on a small panel: the report lines reach standard output
// and the summary file as the readers write them, the warning standard
// output only; an input error ends the run with its message.
TEST_F(PanelTest, TheProgramShowsThePanelReport) {
  write("panel.hap", "0 1 1 0\n1 1 1 1\n0 0 0 1\n0 1 0 1\n");  // a line more than the legend
  const std::vector<std::string> args = {"-h",
                                         path("panel.hap").string(),
                                         "-l",
                                         path("panel.legend").string(),
                                         "-m",
                                         path("map.txt").string(),
                                         "-o",
                                         path("run").string(),
                                         "-n",
                                         "1",
                                         "0",
                                         "-dl",
                                         "500",
                                         "1",
                                         "1.5",
                                         "2.0",
                                         "-nrs",
                                         "-no_haps_output",
                                         "-no_gens_output"};
  const vordel_test::RunResult run = vordel_test::run_vordel2(args, dir_.path());
  const std::string report = kMapReport + panel_header(0, 500000000) + "done\n";
  EXPECT_NE(run.out.find(report + kMoreHaplotypeLines + count_lines(4, 3, 3)), std::string::npos)
      << run.out;
  const std::string summary = read_file(path("run.summary"));
  EXPECT_NE(summary.find(report + count_lines(4, 3, 3)), std::string::npos) << summary;
  EXPECT_EQ(summary.find("Warning"), std::string::npos) << summary;

  write("panel.hap", "0 1 1 0\n1 2 1 1\n0 0 0 1\n");
  const vordel_test::RunResult bad = vordel_test::run_vordel2(args, dir_.path());
  const std::string message = "Error reading file " + path("panel.hap").string() +
                              ": bad format detected in haplotype file on line 2.\n";
  EXPECT_NE(bad.out.find(kMapReport + panel_header(0, 500000000) + message), std::string::npos)
      << bad.out;
  EXPECT_EQ(bad.out.find("Simulating"), std::string::npos) << bad.out;
}

}  // namespace
