// The memory check and the memory handlers of the simulator, each run by
// the memory_probe helper in a fresh process whose address space may grow
// by a chosen room only (see memory_probe.cpp):
// - the check refuses exactly when the alleles, the rows and the phenotypes
//   of the run do not fit side by side, and grants them when they do;
// - memory that runs out while simulating, or while writing the output
//   files, is the user error, and the simulated data are given back before
//   it is reported: the memory of their alleles can be had again.
// Sanitizer runtimes map far more address space than a limit allows: the
// tests are skipped there.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/test_support.h"

namespace {

using vordel_test::TempDir;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

constexpr std::size_t kMB = std::size_t{1} << 20;

// What the probe made of `scenario` with `room` bytes, its files in `dir`.
// Its stack limit, which is also every thread's stack, is 1 GB: no thread
// can be started in a room of less.
std::string probe(const std::string& scenario, std::size_t room, const TempDir& dir) {
  const auto r = vordel_test::run_program(
      MEMORY_PROBE_BINARY, {scenario, std::to_string(room), dir.path()}, dir.path(), 0, 1UL << 30);
  return r.status == 0 ? r.err
                       : "probe ended with status " + std::to_string(r.status) + ": " + r.err;
}

// 16,000,000 controls of one SNP: 32,000,000 haplotypes, whose check holds
// at once their alleles (a 4-byte allele in a block of 32 bytes: 1,024 MB),
// their rows (24 bytes each: 768 MB) and the phenotypes (4 bytes an
// individual: 64 MB); none of it is touched.  Each room is half a part
// short of what the parts need together, or 1 MB above it: the pages the
// allocator adds to each block are far less.
TEST(MemoryCheck, RefusesExactlyWhatDoesNotFitWithItsRowsAndPhenotypes) {
  if (kSanitized) GTEST_SKIP() << "a sanitizer's runtime needs more address space than the limit";
  const std::size_t alleles = std::size_t{32000000} * 32;
  const std::size_t rows = std::size_t{32000000} * 24;
  const std::size_t phenotypes = std::size_t{16000000} * 4;
  const std::string refused =
      "refused: not enough memory for the simulated haplotypes: 32000000 haplotypes x 1 SNPs were "
      "asked for, which need about 1.86 GB (58 bytes a haplotype).\n";
  struct Case {
    const char* what;
    std::size_t room;
    std::string result;
  };
  const std::vector<Case> cases{
      {"alleles", alleles / 2, refused},
      {"rows, with the alleles held", alleles + rows / 2, refused},
      {"phenotypes, with the alleles and the rows held", alleles + rows + phenotypes / 2, refused},
      {"everything", alleles + rows + phenotypes + kMB, "granted"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    EXPECT_EQ(probe("check", c.room, dir), c.result) << c.what;
  }
}

// 500 controls on 12 blocks of 2,000 SNPs, then 5 cases whose disease SNPs
// are each copied on their own: the case table of 4^12 pairs (about 200 MB)
// does not fit in the room, 8 MB above what the check takes (alleles in
// blocks of 96,016 bytes, rows of 24 bytes, the phenotypes).  The handler
// must give back the rows and their 96 MB of alleles: blocks of a row's
// size, half as many as there were rows, can then be had again (without
// it, 8 MB at most).
TEST(MemoryCheck, MemoryThatRunsOutWhileSimulatingIsGivenBack) {
  if (kSanitized) GTEST_SKIP() << "a sanitizer's runtime needs more address space than the limit";
  TempDir dir;
  const std::size_t haplotypes = 1010;
  const std::size_t room = haplotypes * (96016 + 24 + 2) + 8 * kMB;
  EXPECT_EQ(probe("simulate", room, dir),
            "not enough memory for the simulated haplotypes: 1010 haplotypes x 24000 SNPs were "
            "asked for, which need about 97 MB (96042 bytes a haplotype).\nnothing");
}

// 500,000 controls of one SNP in a room a little above what their check
// takes (58 bytes a haplotype), which the simulation takes too; no writer
// thread can be started there, so the files are written one after
// another.  The controls' haplotype file needs a line of 12 bytes a
// haplotype (12 MB) and runs out; their genotype file needs 4 MB (6 bytes
// an individual and a block of alleles), and runs out in 1.5 MB more but
// not in 8.5 MB (measured: both run out up to 4 MB more, the first alone
// from 4.5 MB to 12 MB).  The user error names the files that ran out, in
// the order they are written.  The simulated data are given back first:
// half of the blocks that the alleles took can be had again.
TEST(MemoryCheck, MemoryThatRunsOutWhileWritingIsGivenBack) {
  if (kSanitized) GTEST_SKIP() << "a sanitizer's runtime needs more address space than the limit";
  struct Case {
    double more;  // MB above what the check takes
    std::vector<std::string> files;
  };
  const std::vector<Case> cases{
      {1.5, {"sim.controls.haps", "sim.controls.gen"}},
      {8.5, {"sim.controls.haps"}},
  };
  for (const Case& c : cases) {
    TempDir dir;
    std::string named = (dir / c.files[0]).string();
    if (c.files.size() > 1) named += " and " + (dir / c.files[1]).string();
    const auto room = static_cast<std::size_t>(58e6 + c.more * kMB);
    EXPECT_EQ(probe("write", room, dir),
              "not enough memory to write the output files: memory ran out while writing " + named +
                  ".\nnothing")
        << c.more << " MB";
  }
}

}  // namespace
