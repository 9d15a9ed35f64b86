// Output files (plain and gzip) and the summary-file flush.
#include "sim/output_file.h"

#include <gtest/gtest.h>

#include "common/test_support.h"
#include "sim/exceptions.h"
#include "sim/parameters.h"

using vordel_test::TempDir;

TEST(OpenOutputFile, GzipRoundTripAndLogLine) {
  TempDir dir;
  const auto file = dir / "x.haps.gz";
  std::ostringstream log;
  std::string text;
  for (int i = 0; i < 5000; ++i) text += std::to_string(i % 7) + " ";
  {
    auto out = open_output_file(file.string(), log, std::ios::out);
    *out << text << "\n";
  }
  EXPECT_EQ(log.str(), "writing output file " + file.string() + " (in gzip mode) \n");
  EXPECT_TRUE(vordel_test::is_gzip_file(file));
  EXPECT_EQ(vordel_test::read_gzip_file(file), text + "\n");
}

TEST(OpenOutputFile, PlainUnlessTheExtensionIsExactlyGz) {
  TempDir dir;
  std::filesystem::create_directory(dir / "data.gz");
  for (const auto& file : {dir / "x.GZ", dir / "run.gz.summary", dir / "data.gz" / "plain",
                           dir / "x.gzip", dir / "x"}) {
    std::ostringstream log;
    { *open_output_file(file.string(), log, std::ios::out) << "line\n"; }
    EXPECT_EQ(log.str(), "writing output file " + file.string() + "\n");
    EXPECT_EQ(vordel_test::read_file(file), "line\n") << file;
  }
}

TEST(OpenOutputFile, ModesTruncateOrAppend) {
  TempDir dir;
  const auto file = dir / "f.txt";
  vordel_test::write_file(file, "old\n");
  { *open_output_file(file.string(), std::ios::app) << "more\n"; }
  EXPECT_EQ(vordel_test::read_file(file), "old\nmore\n");
  // The input bit is dropped: the file is written, never read.
  { *open_output_file(file.string(), std::ios::in | std::ios::out) << "new\n"; }
  EXPECT_EQ(vordel_test::read_file(file), "new\n");
}

TEST(OpenOutputFile, MissingDirectoryRaisesAfterLogging) {
  TempDir dir;
  const auto file = dir / "nowhere" / "x.gz";
  std::ostringstream log;
  try {
    open_output_file(file.string(), log, std::ios::out);
    ADD_FAILURE() << "no exception";
  } catch (const badfilename& e) {
    EXPECT_EQ(e.message, "Error reading file " + file.string() + ": can't open file.");
  }
  EXPECT_EQ(log.str(), "writing output file " + file.string() + " (in gzip mode) \n");
}

TEST(UpdateSummaryFile, EchoesAppendsAndEmpties) {
  TempDir dir;
  VordelParameters params;
  params.summary_file = (dir / "run.summary").string();
  std::ostringstream report;

  // An empty flush still creates the file.
  testing::internal::CaptureStdout();
  update_summary_file(params, report, std::ios::app);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(vordel_test::read_file(params.summary_file), "");

  report << "first\n";
  testing::internal::CaptureStdout();
  update_summary_file(params, report, std::ios::app);
  update_summary_file(params, report, std::ios::app);  // nothing left to write
  report << "second\n";
  update_summary_file(params, report, std::ios::app);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "first\nsecond\n");
  EXPECT_EQ(vordel_test::read_file(params.summary_file), "first\nsecond\n");
  EXPECT_EQ(report.str(), "");
}

TEST(UpdateSummaryFile, UnopenableFileKeepsTheBuffer) {
  TempDir dir;
  VordelParameters params;
  params.summary_file = (dir / "missing" / "run.summary").string();
  std::ostringstream report;
  report << "kept\n";
  testing::internal::CaptureStdout();
  EXPECT_THROW(update_summary_file(params, report, std::ios::app), badfilename);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(report.str(), "kept\n");
}

// /dev/full accepts the open and refuses every write ("no space left"): a
// file that cannot be stored must be reported when it is closed, not lost.
TEST(CloseOutputFile, WriteFailuresAreReported) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "/dev/full is not available";
  TempDir dir;
  const auto gz_name = dir / "full.gen.gz";
  std::filesystem::create_symlink("/dev/full", gz_name);
  for (const std::string& name : {std::string("/dev/full"), gz_name.string()}) {
    auto out = open_output_file(name, std::ios::out);
    *out << "a short line that stays in the stream's buffer until it is closed\n";
    try {
      close_output_file(out);
      ADD_FAILURE() << "no error for " << name;
    } catch (const badfilename& e) {
      EXPECT_EQ(e.message, "Error reading file " + name + ": can't write file.");
    }
    EXPECT_EQ(out, nullptr);
  }

  // A file that was stored closes quietly; an empty pointer is left alone.
  auto out = open_output_file((dir / "fine.txt").string(), std::ios::out);
  *out << "kept\n";
  close_output_file(out);
  close_output_file(out);
  EXPECT_EQ(vordel_test::read_file(dir / "fine.txt"), "kept\n");
}

TEST(UpdateSummaryFile, WriteFailureIsReported) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "/dev/full is not available";
  VordelParameters params;
  params.summary_file = "/dev/full";
  std::ostringstream report;
  report << "text\n";
  testing::internal::CaptureStdout();
  EXPECT_THROW(update_summary_file(params, report, std::ios::app), badfilename);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "text\n");
}
