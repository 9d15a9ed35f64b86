// The check that sends the output files to the writers side by side: only
// alleles 0 and 1, anywhere in the rows of either group, pass it.
#include "sim/binary_alleles.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

TEST(BinaryAlleles, OnlyZeroAndOneInTheRowsOfEitherGroupPass) {
  // Ten haplotypes of three SNPs; the groups hold rows 0-3 and 6-7, so that
  // rows 4, 5, 8 and 9 are not read.  Each value is placed in every row in
  // turn, which puts it in each of the four parts read side by side.
  const std::array<HaplotypeRows, 2> rows{HaplotypeRows{0, 4}, HaplotypeRows{6, 8}};
  const std::vector<int> values{0, 1, 2, 3, 4, -1, -2, 256, INT_MAX, INT_MIN};
  for (const int value : values) {
    for (int h = 0; h < 10; ++h) {
      std::vector<std::vector<int>> haplotypes(10, std::vector<int>{0, 1, 1});
      haplotypes[h][2] = value;
      const bool read = h < 4 || h == 6 || h == 7;
      EXPECT_EQ(binary_alleles(haplotypes, rows), !read || value == 0 || value == 1)
          << "allele " << value << " in row " << h;
    }
  }
  EXPECT_TRUE(binary_alleles({}, {}));
}
