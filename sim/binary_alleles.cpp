#include "sim/binary_alleles.h"

#include <cstddef>
#include <system_error>
#include <thread>

bool binary_alleles(const std::vector<std::vector<int>>& haplotypes,
                    const std::array<HaplotypeRows, 2>& rows) {
  std::vector<const std::vector<int>*> all;
  for (const HaplotypeRows& group : rows)
    for (long h = group.first; h < group.last; ++h) all.push_back(&haplotypes[h]);
  constexpr std::size_t kParts = 4;
  std::array<unsigned, kParts> other{};
  // An allele is 0 or 1 exactly when, as an unsigned number, it has no bit
  // above the lowest.
  const auto scan = [&all, &other](std::size_t part) {
    unsigned found = 0;
    for (std::size_t h = part; h < all.size(); h += kParts)
      for (const int allele : *all[h]) found |= static_cast<unsigned>(allele) >> 1;
    other[part] = found;
  };
  std::vector<std::thread> threads;
  threads.reserve(kParts);
  std::size_t part = 1;
  try {
    for (; part < kParts; ++part) threads.emplace_back(scan, part);
  } catch (const std::system_error&) {
  }
  for (std::size_t rest = part; rest < kParts; ++rest) scan(rest);
  scan(0);
  for (std::thread& thread : threads) thread.join();
  unsigned found = 0;
  for (const unsigned o : other) found |= o;
  return found == 0;
}
