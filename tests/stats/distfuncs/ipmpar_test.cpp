// Machine constants: the integer table and the double constants derived
// from it, checked against the platform's own description of double.
#include "stats/distfuncs/ipmpar.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

int ipm(int i) { return numlib::ipmpar(&i); }
double spm(int i) { return numlib::spmpar(&i); }

TEST(Ipmpar, TableEntries) {
  const int expected[10] = {2, 31, 2147483647, 2, 24, -125, 128, 53, -1021, 1024};
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(ipm(i), expected[i - 1]) << "entry " << i;
  EXPECT_EQ(ipm(3), std::numeric_limits<int>::max());
  EXPECT_EQ(ipm(8), std::numeric_limits<double>::digits);
  EXPECT_EQ(ipm(9), std::numeric_limits<double>::min_exponent);
  EXPECT_EQ(ipm(10), std::numeric_limits<double>::max_exponent);
  EXPECT_EQ(ipm(5), std::numeric_limits<float>::digits);
}

TEST(Spmpar, DoubleConstantsAreExact) {
  const double eps = std::numeric_limits<double>::epsilon();
  for (int i : {1, 0, -5}) EXPECT_EQ(spm(i), eps) << "index " << i;
  EXPECT_EQ(spm(2), std::numeric_limits<double>::min());
  for (int i : {3, 7}) EXPECT_EQ(spm(i), std::numeric_limits<double>::max()) << "index " << i;
}

TEST(Spmpar, EpsilonIsTheGapAboveOne) {
  const volatile double e = spm(1);
  EXPECT_GT(1.0 + e, 1.0);
  EXPECT_EQ(1.0 + e / 2.0, 1.0);
}

}  // namespace
