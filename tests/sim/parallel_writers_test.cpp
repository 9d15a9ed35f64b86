// Files written each on a thread of their own: complete files, closed and
// checked; the first failure in start order is the one thrown; every thread
// is joined, also when an exception leaves before finish().
#include "sim/parallel_writers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>

#include "common/test_support.h"
#include "sim/exceptions.h"
#include "sim/output_file.h"

namespace {

using vordel_test::read_file;
using vordel_test::read_gzip_file;
using vordel_test::TempDir;
namespace fs = std::filesystem;

// A large text, so that every file takes a while and the threads overlap.
std::string lines_of(char c) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += std::string(40, c) + "\n";
  return text;
}

std::unique_ptr<std::ostream> open(const fs::path& name) {
  return open_output_file(name.string(), std::ios::out);
}

TEST(ParallelWriters, WritesCloseAndCheckEveryFile) {
  TempDir dir;
  const std::string texts[3] = {lines_of('a'), lines_of('b'), lines_of('c')};
  {
    ParallelWriters writers;
    writers.start(open(dir / "a.txt"), [&](std::ostream& out) { out << texts[0]; });
    writers.start(open(dir / "b.txt.gz"), [&](std::ostream& out) { out << texts[1]; });
    writers.start(open(dir / "c.txt"), [&](std::ostream& out) { out << texts[2]; });
    writers.finish();
  }
  EXPECT_EQ(read_file(dir / "a.txt"), texts[0]);
  EXPECT_EQ(read_gzip_file(dir / "b.txt.gz"), texts[1]);
  EXPECT_EQ(read_file(dir / "c.txt"), texts[2]);
}

// Failures of the write function and of storing the file (closing it), in
// any order of finishing: the one of the earliest started file is thrown,
// and the other files are written in full.
TEST(ParallelWriters, FirstFailureInStartOrderIsThrown) {
  const bool have_full = fs::exists("/dev/full");
  for (int later_fails_first = 0; later_fails_first < 2; ++later_fails_first) {
    TempDir dir;
    const std::string text = lines_of('x');
    ParallelWriters writers;
    writers.start(open(dir / "fine.txt"), [&](std::ostream& out) { out << text; });
    writers.start(open(dir / "second.txt"), [&](std::ostream& out) {
      // The failure of the later file comes first in time, or last.
      if (later_fails_first) std::this_thread::sleep_for(std::chrono::milliseconds(50));
      out << "partly written\n";
      throw std::runtime_error("second failed");
    });
    if (have_full) fs::create_symlink("/dev/full", dir / "third.txt");
    writers.start(open(dir / "third.txt"), [&](std::ostream& out) {
      if (!later_fails_first) std::this_thread::sleep_for(std::chrono::milliseconds(50));
      out << text;
      if (!have_full) throw std::runtime_error("third failed");
    });
    writers.start(open(dir / "fourth.txt"), [&](std::ostream& out) { out << text; });
    try {
      writers.finish();
      ADD_FAILURE() << "no failure thrown";
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), "second failed");
    }
    EXPECT_EQ(read_file(dir / "fine.txt"), text);
    EXPECT_EQ(read_file(dir / "fourth.txt"), text);

    // Without the failing second file, the third one's failure is thrown.
    ParallelWriters others;
    others.start(open(dir / "fine.txt"), [&](std::ostream& out) { out << text; });
    others.start(open(dir / "third.txt"), [&](std::ostream& out) {
      out << text;
      if (!have_full) throw std::runtime_error("third failed");
    });
    if (have_full) {
      try {
        others.finish();
        ADD_FAILURE() << "no failure thrown";
      } catch (const badfilename& e) {
        EXPECT_EQ(e.message,
                  "Error reading file " + (dir / "third.txt").string() + ": can't write file.");
      }
    } else {
      EXPECT_THROW(others.finish(), std::runtime_error);
    }
  }
}

// Memory that runs out (std::bad_alloc) in a writer is told apart from any
// other failure, file by file, so that every file it ran out for can be
// named; the failure thrown is still the first in start order.
TEST(ParallelWriters, TellsWhichFilesRanOutOfMemory) {
  TempDir dir;
  const std::string text = lines_of('z');
  ParallelWriters writers;
  writers.start(open(dir / "fine.txt"), [&](std::ostream& out) { out << text; });
  writers.start(open(dir / "memory.txt"), [&](std::ostream& out) {
    out << "partly written\n";
    throw std::bad_alloc();
  });
  writers.start(open(dir / "other.txt"),
                [&](std::ostream&) { throw std::runtime_error("other failed"); });
  writers.start(open(dir / "memory too.txt.gz"), [&](std::ostream& out) {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));  // last to fail
    out << text;
    throw std::bad_alloc();
  });
  EXPECT_THROW(writers.finish(), std::bad_alloc);
  const bool ran_out[5] = {false, true, false, true, false};  // the fifth was never started
  for (std::size_t k = 0; k < 5; ++k) EXPECT_EQ(writers.ran_out_of_memory(k), ran_out[k]) << k;
  EXPECT_EQ(read_file(dir / "fine.txt"), text);
}

// An exception that leaves the owner's scope before finish() still waits
// for every thread: the files are complete once the scope is left.
TEST(ParallelWriters, ThreadsAreJoinedWhenAnExceptionLeaves) {
  TempDir dir;
  const std::string text = lines_of('y');
  std::atomic<int> done{0};
  try {
    ParallelWriters writers;
    for (const char* name : {"one.txt", "two.txt.gz"}) {
      writers.start(open(dir / name), [&](std::ostream& out) {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        out << text;
        ++done;
      });
    }
    throw std::runtime_error("opening the next file failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(done.load(), 2);
  EXPECT_EQ(read_file(dir / "one.txt"), text);
  EXPECT_EQ(read_gzip_file(dir / "two.txt.gz"), text);
}

}  // namespace
