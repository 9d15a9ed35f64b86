// Command-line parsing, the parameter summary and the help text.
#include "sim/parameters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/test_support.h"
#include "sim/exceptions.h"
#include "sim/report_format.h"

namespace {

// Parses `words` as the command line after the program name.
void parse(VordelParameters& params, const std::vector<std::string>& words) {
  std::vector<const char*> argv{"vordel2"};
  for (const std::string& w : words) argv.push_back(w.c_str());
  params.process_parameters(static_cast<int>(argv.size()), argv.data());
}

// The four required flags with values, and no output directory.
std::vector<std::string> required(std::vector<std::string> extra = {}) {
  std::vector<std::string> words{"-h", "p.haps", "-l", "p.legend", "-m", "p.map", "-o", "out"};
  words.insert(words.end(), extra.begin(), extra.end());
  return words;
}

}  // namespace

TEST(Parameters, DefaultsAfterConstruction) {
  const VordelParameters p;
  EXPECT_EQ(p.haplotype_file.string(), "NULL");
  EXPECT_EQ(p.legend_file, "NULL");
  EXPECT_EQ(p.genetic_map_file, "NULL");
  EXPECT_EQ(p.lower, 0);
  EXPECT_EQ(p.upper, 500000000);
  EXPECT_EQ(p.ncontrols, 1);
  EXPECT_EQ(p.ncases, 1);
  EXPECT_EQ(p.Ne, 11418.0);
  EXPECT_EQ(p.theta, -1.0);
  EXPECT_EQ(p.summary_file, "vordel2.summary");
  EXPECT_EQ(p.required_flags, (std::vector<std::string>{"-h", "-l", "-m", "-o"}));
  EXPECT_EQ(p.recognised_flags.size(), 14u);
  EXPECT_TRUE(p.dl.empty());
  EXPECT_TRUE(p.specified_flags.empty());
}

TEST(Parameters, ValuesFlagsAndOutputNames) {
  VordelParameters p;
  parse(p, required({"-n", "20", "30", "-Ne", "5000", "-theta", "0.25", "-t", "tags.txt", "-nrs",
                     "-x", "-n", "40", "50"}));
  EXPECT_EQ(p.haplotype_file.string(), "p.haps");
  EXPECT_EQ(p.legend_file, "p.legend");
  EXPECT_EQ(p.genetic_map_file, "p.map");
  EXPECT_EQ(p.output_file.string(), "out");
  EXPECT_EQ(p.summary_file, "out.summary");
  EXPECT_TRUE(p.output_directory.empty());
  EXPECT_EQ(p.ncontrols, 40);  // the later occurrence wins
  EXPECT_EQ(p.ncases, 50);
  EXPECT_EQ(p.Ne, 5000.0);
  EXPECT_EQ(p.theta, 0.25);
  EXPECT_EQ(p.tag_snp_file.string(), "tags.txt");
  EXPECT_EQ(p.specified_flags.count("-n"), 1u);
  EXPECT_EQ(p.unrecognised_flags, (std::set<std::string>{"-x"}));
  EXPECT_EQ(p.command_line,
            "vordel2 -h p.haps -l p.legend -m p.map -o out -n 20 30 -Ne 5000 -theta 0.25 "
            "-t tags.txt -nrs -x -n 40 50 ");
}

TEST(Parameters, EachParseStartsFromTheDefaults) {
  VordelParameters p;
  parse(p, required({"-o", "first/run", "-t", "tags.txt", "-x", "-nrs", "-dl", "100", "1", "2", "4",
                     "-n", "5", "6"}));
  parse(p, required());
  const VordelParameters fresh;
  EXPECT_EQ(p.specified_flags, (std::set<std::string>{"-h", "-l", "-m", "-o"}));
  EXPECT_TRUE(p.unrecognised_flags.empty());
  EXPECT_EQ(p.output_file.string(), "out");
  EXPECT_TRUE(p.output_directory.empty());
  EXPECT_TRUE(p.tag_snp_file.empty());
  EXPECT_TRUE(p.dl.empty());
  EXPECT_EQ(p.ncontrols, fresh.ncontrols);
  EXPECT_EQ(p.ncases, fresh.ncases);
  EXPECT_EQ(p.recognised_flags, fresh.recognised_flags);
}

TEST(Parameters, GzipOutputNameInNewDirectory) {
  vordel_test::TempDir dir;
  const std::string out = (dir / "results" / "deeper" / "run1.gz").string();
  VordelParameters p;
  testing::internal::CaptureStdout();
  parse(p, {"-h", "a", "-l", "b", "-m", "c", "-o", out});
  EXPECT_FALSE(std::filesystem::exists(dir / "results")) << "the parse touches no disk";
  p.create_output_directory();
  const std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_EQ(p.summary_file, out + ".summary");
  EXPECT_EQ(p.output_directory.string(), (dir / "results" / "deeper").string());
  EXPECT_TRUE(std::filesystem::is_directory(dir / "results" / "deeper"));
  EXPECT_EQ(printed, "Creating directory " + (dir / "results" / "deeper").string() + "\n");

  // An existing directory is neither announced nor created again.
  testing::internal::CaptureStdout();
  parse(p, {"-h", "a", "-l", "b", "-m", "c", "-o", out});
  p.create_output_directory();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(Parameters, OutputDirectoryBlockedByAFile) {
  vordel_test::TempDir dir;
  vordel_test::write_file(dir / "blocker", "x");
  VordelParameters p;
  testing::internal::CaptureStdout();
  try {
    parse(p, {"-h", "a", "-l", "b", "-m", "c", "-o", (dir / "blocker" / "out").string()});
    p.create_output_directory();
    ADD_FAILURE() << "no exception";
  } catch (const GenericErrorException& e) {
    EXPECT_NE(e.message.find("output directory " + (dir / "blocker").string()), std::string::npos)
        << e.message;
  }
  testing::internal::GetCapturedStdout();
}

TEST(Parameters, IntervalBounds) {
  struct Case {
    std::vector<std::string> words;
    int lower, upper;
  };
  const std::vector<Case> cases{
      {{"-int", "100", "2000"}, 100, 2000},
      {{"-int", "-5", "1000"}, 0, 1000},
      {{"-int", "7", "-1"}, 7, 500000000},
      {{"-int", "0", "3000000000"}, 0, 500000000},  // beyond an int: the default
      {{"-int", "0", "4294967296"}, 0, 500000000},
      {{"-int", "-99999999999999999999", "99999999999999999999"}, 0, 500000000},
      {{"-int", "9000", "10"}, 9000, 10},  // the bounds are not compared
  };
  for (const Case& c : cases) {
    VordelParameters p;
    parse(p, required(c.words));
    EXPECT_EQ(p.lower, c.lower) << c.words[1] << " " << c.words[2];
    EXPECT_EQ(p.upper, c.upper) << c.words[1] << " " << c.words[2];
  }
  VordelParameters p;
  parse(p, required({"-int", "-5", "1000"}));
  EXPECT_EQ(p.unrecognised_flags, (std::set<std::string>{"-5"}));
}

TEST(Parameters, DiseaseLocusGroups) {
  VordelParameters p;
  parse(p, required({"-dl", "2000", "0", "1.5", "2.25", "1000", "1", "2", "3", "2000", "1", "9",
                     "9", "-n", "5", "6"}));
  ASSERT_EQ(p.dl.size(), 2u);
  EXPECT_EQ(p.dl.at(1000).allele, 1);
  EXPECT_EQ(p.dl.at(1000).rr, (std::vector<double>{1.0, 2.0, 3.0}));
  // The first group given for a position is kept.
  EXPECT_EQ(p.dl.at(2000).allele, 0);
  EXPECT_EQ(p.dl.at(2000).rr, (std::vector<double>{2.25, 1.5, 1.0}));
  // The list ends at "-n", which is parsed as usual.
  EXPECT_EQ(p.ncontrols, 5);
  EXPECT_EQ(p.ncases, 6);

  // A repeated position is still checked.
  VordelParameters q;
  EXPECT_THROW(parse(q, required({"-dl", "2000", "0", "1", "1", "2000", "2", "1", "1"})),
               GenericErrorException);
}

TEST(Parameters, ErrorsOfTheCommandLine) {
  struct Case {
    std::vector<std::string> words;
    std::string expected;  // the message of the error raised
  };
  const std::string missing = "ERROR!!! Must specify a value for flag: ";
  const std::string bad = "ERROR!!! Bad value given for flag: ";
  const std::vector<Case> cases{
      // Required flags, reported in the order -h, -l, -m, -o.
      {{"-l", "b", "-m", "c", "-o", "out"}, missing + "-h"},
      {{"-h", "a", "-m", "c", "-o", "out"}, missing + "-l"},
      {{"-h", "a", "-l", "b", "-o", "out"}, missing + "-m"},
      {{"-h", "a", "-l", "b", "-m", "c"}, missing + "-o"},
      {{"-l", "b", "-m", "c"}, missing + "-h"},
      // A value flag at the end of the command line.
      {required({"-t"}), missing + "-t"},
      {required({"-Ne"}), missing + "-Ne"},
      {required({"-theta"}), missing + "-theta"},
      {required({"-int", "5"}), missing + "-int"},
      {required({"-n", "5"}), missing + "-n"},
      {required({"-dl", "100", "1", "1.5"}), missing + "-dl"},
      {required({"-dl", "100", "1", "1.5", "2", "200"}), missing + "-dl"},
      {{"-h", "a", "-l", "b", "-m", "c", "-o"}, missing + "-o"},
      // Values that are not numbers as a whole word, and negative counts.
      {required({"-n", "1O00", "5"}), bad + "-n"},
      {required({"-n", "5", "-2"}), bad + "-n"},
      {required({"-n", "-1", "5"}), bad + "-n"},
      {required({"-n", "5", "3000000000"}), bad + "-n"},
      {required({"-n", "99999999999999999999", "5"}), bad + "-n"},
      {required({"-Ne", "abc"}), bad + "-Ne"},
      {required({"-Ne", "nan"}), bad + "-Ne"},
      {required({"-theta", ""}), bad + "-theta"},
      {required({"-int", "10x", "20"}), bad + "-int"},
      {required({"-dl", "12x", "1", "1.5", "2"}), bad + "-dl"},
      {required({"-dl", "12", "1.0", "1.5", "2"}), bad + "-dl"},
      {required({"-dl", "12", "1", "1.5", "two"}), bad + "-dl"},
      // Disease loci the constructor refuses.
      {required({"-dl", "12", "2", "1.5", "2"}),
       "Disease allele must be 0 or 1 but got 2 in DiseaseLocus. \n"},
      {required({"-dl", "12", "-1", "1.5", "2"}),
       "Disease allele must be 0 or 1 but got -1 in DiseaseLocus. \n"},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const std::string& w : c.words) line += w + " ";
    VordelParameters p;
    std::string message = "(none)";
    testing::internal::CaptureStdout();
    try {
      parse(p, c.words);
    } catch (const MissingFlagException& e) {
      message = e.message;
      EXPECT_EQ(e.flag, c.expected.substr(missing.size())) << line;
    } catch (const BadInputValueException& e) {
      message = e.message;
    } catch (const GenericErrorException& e) {
      message = e.message;
      EXPECT_EQ(e.prefix, "Error encountered, program terminated: ");
    }
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(message, c.expected) << line;
  }
}

TEST(Parameters, HelpRequests) {
  VordelParameters p;
  EXPECT_THROW(parse(p, {}), HelpException);
  EXPECT_THROW(parse(p, {"-h", "a", "-help", "-n"}), HelpException);
  EXPECT_THROW(parse(p, {"-help", "-n", "1O00", "5"}), HelpException);
  // "-help" in place of a value is still a help request, not a bad or
  // missing value.
  const std::vector<std::vector<std::string>> in_place_of_a_value{
      {"-n", "-help"},          {"-n", "5", "-help"},    {"-Ne", "-help"},
      {"-theta", "-help", "x"}, {"-int", "x", "-help"},  {"-int", "-help", "x"},
      {"-o", "-help"},          {"-dl", "100", "-help"}, {"-dl", "12x", "1", "1.5", "-help"},
  };
  for (const auto& words : in_place_of_a_value) {
    VordelParameters q;
    EXPECT_THROW(parse(q, required(words)), HelpException) << words[0] << " " << words[1];
  }
  // A bad group before "-help" is met first.
  EXPECT_THROW(parse(p, {"-dl", "1", "7", "1", "1", "-help"}), GenericErrorException);
}

TEST(Parameters, NeOutOfRangeIsReportedAndKept) {
  for (const char* ne : {"30001", "-3"}) {
    VordelParameters p;
    testing::internal::CaptureStdout();
    parse(p, required({"-Ne", ne}));
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "Error: Ne needs to be set\n") << ne;
    EXPECT_EQ(p.Ne, std::stod(ne));
  }
}

TEST(Parameters, Summary) {
  VordelParameters p;
  testing::internal::CaptureStdout();
  parse(p, required({"-dl", "2000", "0", "1.5", "2.25", "1000", "1", "2", "3", "-int", "-5", "1000",
                     "-x", "-Ne", "12000.6"}));
  testing::internal::GetCapturedStdout();
  std::ostringstream out;
  p.parameters_summary(out);
  const std::string expected =
      "Command line input is:\n"
      "vordel2 -h p.haps -l p.legend -m p.map -o out -dl 2000 0 1.5 2.25 1000 1 2 3 -int -5 "
      "1000 -x -Ne 12000.6 \n"
      "\n"
      "WARNING!! The following specified parameters were not recognised:\n"
      "    -5\n"
      "    -x\n"
      "\n"
      "FILE INPUTS\n" +
      report_label("haplotype file: ") + "p.haps\n" + report_label("legend file: ") + "p.legend\n" +
      report_label("genetic map file: ") + "p.map\n" + report_label("tag snps file: ") + "\n" +
      "FILE OUTPUTS\n" + report_label("output file: ") + "out\n" + report_label("summary file: ") +
      "out.summary\n" + "PARAMETER INPUTS\n" + report_label("no. controls to simulate: ") + "1\n" +
      report_label("no. cases to simulate: ") + "1\n" + report_label("disease loci: ") +
      "(1) 1000 (2) 2000 \n" + report_label("disease alleles: ") + "(1) 1 (2) 0 \n" +
      report_label("heterozygote/homozygote risks: ") + "(1) 2.00/3.00 (2) 1.50/2.25 \n" +
      report_label("lower: ") + "0\n" + report_label("upper: ") + "1000\n" + report_label("Ne: ") +
      "12001\n" + report_label("theta: ") + "-1\n\n";
  EXPECT_EQ(out.str(), expected);
  // Labels are right-aligned in 60 columns; the stream's format is left as
  // it was.
  EXPECT_EQ(report_label("Ne: "), std::string(56, ' ') + "Ne: ");
  EXPECT_EQ(report_label(std::string(61, 'x')), std::string(61, 'x'));
  out.str("");
  out << 0.4 << " " << 2.5;
  EXPECT_EQ(out.str(), "0.4 2.5");
}

TEST(Parameters, SummaryWithTagFileAndNoWarning) {
  VordelParameters p;
  testing::internal::CaptureStdout();
  parse(p, required({"-t", "tags.txt", "-theta", "0.3"}));
  testing::internal::GetCapturedStdout();
  std::ostringstream out;
  p.parameters_summary(out);
  const std::string text = out.str();
  EXPECT_EQ(text.find("WARNING"), std::string::npos);
  EXPECT_NE(text.find(report_label("tag snps file: ") + "tags.txt\n"), std::string::npos);
  EXPECT_NE(text.find(report_label("disease loci: ") + "\n"), std::string::npos);
  EXPECT_NE(text.find(report_label("theta: ") + "0\n\n"), std::string::npos);
}

TEST(Parameters, HelpText) {
  std::ostringstream out;
  VordelParameters().parameters_help(out);
  const std::string expected =
      "Help Menu\n\n"
      "Essential flags are:\n"
      "-h <file>                               : the reference panel (e.g. HapMap) file\n"
      "-l <file>                               : the legend file to the reference panel\n"
      "-m <file>                               : the recombinaion rate file\n"
      "-o <file>                               : the output file\n"
      "-dl <pos1> <allele1> <rr11> <rr12> ...  : the list of positions, risk allele, "
      "heterozygote risk and homozygote risks for each disease locus\n"
      "-int <pos1> <pos2>                      : the physical position interval of interest "
      "(pos2>pos1) \n"
      "\n"
      "Optional flags are:\n"
      "-n <m> <n>                              : the number of cases (n) and controls (m) "
      "individuals to simulate\n"
      "-Ne <n>                                 : the effective population side, defaults to "
      "11418\n"
      "-theta <n>                              : the mutation rate\n"
      "-t <file>                               : the physical positions of snps where the data "
      "will be written to the .tag.gen the output file\n";
  EXPECT_EQ(out.str(), expected);
}
