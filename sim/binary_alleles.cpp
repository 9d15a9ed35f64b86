#include "sim/binary_alleles.h"

#include <cstddef>
#include <new>
#include <system_error>
#include <thread>

bool binary_alleles(const std::vector<std::vector<int>>& haplotypes,
                    const std::array<HaplotypeRows, 2>& rows) {
  // The rows of both groups, counted together: row i is rows[0].first + i
  // for i below the first group's count, then the second group's.
  const long first_count = rows[0].last - rows[0].first;
  const long count = first_count + rows[1].last - rows[1].first;
  constexpr std::size_t kParts = 4;
  std::array<unsigned, kParts> other{};
  // An allele is 0 or 1 exactly when, as an unsigned number, it has no bit
  // above the lowest.
  const auto scan = [&](std::size_t part) {
    unsigned found = 0;
    for (long i = static_cast<long>(part); i < count; i += static_cast<long>(kParts)) {
      const long h = i < first_count ? rows[0].first + i : rows[1].first + (i - first_count);
      for (const int allele : haplotypes[h]) found |= static_cast<unsigned>(allele) >> 1;
    }
    other[part] = found;
  };
  // Nothing here allocates but the threads' own state: a check made while
  // memory is short does not fail for lack of it.
  std::array<std::thread, kParts - 1> threads;
  std::size_t part = 1;
  try {
    for (; part < kParts; ++part) threads[part - 1] = std::thread(scan, part);
  } catch (const std::system_error&) {
  } catch (const std::bad_alloc&) {
  }
  for (std::size_t rest = part; rest < kParts; ++rest) scan(rest);
  scan(0);
  for (std::thread& thread : threads)
    if (thread.joinable()) thread.join();
  unsigned found = 0;
  for (const unsigned o : other) found |= o;
  return found == 0;
}
