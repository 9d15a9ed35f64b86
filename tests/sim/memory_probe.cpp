// A helper of the memory tests (memory_check_test.cpp): runs one step of
// the simulator in a process of its own, whose address space is limited,
// right before the step, to what it has mapped then plus a given room, and
// writes what came of it to standard error (the step's report goes to
// standard output).  A fresh process has no free memory left in its heap
// by earlier work, so the room is all that the step can have.
//
//   memory_probe SCENARIO ROOM DIRECTORY
//
// SCENARIO is one of
//   check     16,000,000 controls of one SNP, whose summary file cannot be
//             opened: the memory check alone ("refused: " and the message,
//             or "granted" when the run reaches its first flush);
//   simulate  500 controls and 5 cases on 12 blocks of 2,000 SNPs, each
//             block copied on its own: the simulation;
//   write     500,000 controls of one SNP: the whole run, written into
//             DIRECTORY.
// For the last two the user error's message is written, then what the
// simulator still holds of its simulated data ("nothing", or "still held:"
// and what), then "; the alleles' memory is not there" unless blocks of
// the size of a row's alleles, half as many as there were rows, can be
// allocated again.  ROOM is in bytes.
#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "panel_helpers.h"
#include "random/vorand1.h"
#include "sim/disease_locus.h"
#include "sim/exceptions.h"
#include "sim/vordel.h"

namespace {

// Bytes of address space the process has mapped (the first field of
// /proc/self/statm, in pages), read without allocating.
std::size_t mapped_bytes() {
  char text[128] = {};
  const int fd = open("/proc/self/statm", O_RDONLY);
  if (fd < 0) return 0;
  const ssize_t n = read(fd, text, sizeof text - 1);
  close(fd);
  if (n <= 0) return 0;
  return std::strtoul(text, nullptr, 10) * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// Limits the address space to what is mapped now, once the allocator has
// handed back the free memory at the top of its heap, plus `room` bytes.
void limit_address_space(std::size_t room) {
  malloc_trim(0);
  const std::size_t limit = mapped_bytes() + room;
  const rlimit address_space{limit, limit};
  if (setrlimit(RLIMIT_AS, &address_space) != 0) std::_Exit(3);
}

// A panel of `loci` blocks of `block` SNPs each, 1000 bp apart, whose four
// haplotypes carry alleles 0 1 1 0 at every SNP.  The SNPs of a block share
// their genetic position, and the blocks are so far apart that each is
// copied on its own; a disease locus sits on the first SNP of each block.
Vordel make_run(const std::string& directory, int loci, int block, int controls, int cases,
                const std::string& summary) {
  const vordel_test::fs::path dir(directory);
  VordelParameters params = vordel_test::make_params(dir, controls, cases, 1.0);
  params.summary_file = (dir / summary).string();
  params.output_file = (dir / "sim").string();
  params.output_directory = dir.string();
  params.specified_flags.insert("-nrs");
  std::vector<int> positions;
  std::vector<double> genetic;
  std::vector<std::vector<int>> alleles;
  for (int locus = 0; locus < loci; ++locus) {
    params.dl[1000 * (locus * block + 1)] = DiseaseLocus(1, 1.5, 2.0);
    for (int k = 0; k < block; ++k) {
      positions.push_back(1000 * (locus * block + k + 1));
      genetic.push_back(1e12 * locus);
      alleles.push_back({0, 1, 1, 0});
    }
  }
  return Vordel(params, vordel_test::make_panel(positions, genetic, alleles));
}

// Whether `count` blocks of `each` bytes can be allocated now; they are
// freed again.
bool can_allocate(std::size_t count, std::size_t each) {
  std::vector<void*> blocks;
  blocks.reserve(count);
  bool granted = true;
  for (std::size_t k = 0; k < count && granted; ++k) {
    void* const block = std::malloc(each);
    granted = block != nullptr;
    if (granted) blocks.push_back(block);
  }
  for (void* block : blocks) std::free(block);
  return granted;
}

// What the simulator still holds of its simulated data.
std::string held(const Vordel& vordel) {
  std::string left;
  if (vordel.simulated_haplotypes.capacity() != 0) left += " rows";
  if (vordel.simulated_phenotypes.capacity() != 0) left += " phenotypes";
  if (vordel.dl_columns.rows() != 0) left += " disease columns";
  if (!vordel.case_hap_freq_cache.empty()) left += " case tables";
  if (!vordel.control_hap_freq_cache.empty()) left += " control tables";
  return left.empty() ? "nothing" : "still held:" + left;
}

// The user error of a run of `rows` rows of `snps` alleles that ran out of
// memory, what is held after it, and whether half as many blocks as the
// rows' alleles took can be had again.
std::string after_error(const GenericErrorException& e, const Vordel& vordel, std::size_t rows,
                        std::size_t snps) {
  return e.message + held(vordel) +
         (can_allocate(rows / 2, snps * sizeof(int)) ? "" : "; the alleles' memory is not there");
}

std::string check(std::size_t room, const std::string& directory) {
  // Controls only: the disease loci are not needed before the flush.
  Vordel vordel = make_run(directory, 1, 1, 16000000, 0, "missing/run.summary");
  limit_address_space(room);
  try {
    vordel.simulate_all_alleles();
    return "simulated";
  } catch (const GenericErrorException& e) {
    return "refused: " + e.message;
  } catch (const badfilename&) {
    return "granted";
  }
}

std::string simulate(std::size_t room, const std::string& directory) {
  Vordel vordel = make_run(directory, 12, 2000, 500, 5, "run.summary");
  vordel.process_dl();
  MT generator(0.12345);
  Random::Set(generator);
  limit_address_space(room);
  try {
    vordel.simulate_all_alleles();
    return "simulated";
  } catch (const GenericErrorException& e) {
    return after_error(e, vordel, 1002, 24000);  // the controls and the first case pair
  }
}

std::string write(std::size_t room, const std::string& directory) {
  Vordel vordel = make_run(directory, 1, 1, 500000, 0, "run.summary");
  limit_address_space(room);
  try {
    vordel.simulate_haplotypes();
    return "written";
  } catch (const GenericErrorException& e) {
    return after_error(e, vordel, 1000000, 1);
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 4) {
    std::cerr << "usage: memory_probe check|simulate|write ROOM DIRECTORY\n";
    return 2;
  }
  const std::string scenario = argv[1];
  const std::size_t room = std::strtoull(argv[2], nullptr, 10);
  std::string result;
  if (scenario == "check")
    result = check(room, argv[3]);
  else if (scenario == "simulate")
    result = simulate(room, argv[3]);
  else if (scenario == "write")
    result = write(room, argv[3]);
  else
    return 2;
  std::cerr << result << std::flush;
  return 0;
}
