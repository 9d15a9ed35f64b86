// The compact case distribution: equal keys keep the earlier pair, both when
// a pair adds no weight and when two totals give one normalised key; draws
// and comparisons.
#include "sim/case_distribution.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using Configurations = std::vector<std::vector<int>>;

TEST(CaseDistribution, EqualKeysKeepTheEarlierPair) {
  CaseDistribution d(
      CaseDistribution::Configurations{Configurations{{0}, {1}}, Configurations{{0}, {1}, {2}}});
  // Two totals one ulp apart that divide by 3 to the same double.
  const double just_above = std::nextafter(1.75, 2.0);
  ASSERT_EQ(1.75 / 3.0, just_above / 3.0);
  d.append(0.0, 0, 0);
  d.append(0.0, 0, 1);  // no weight: (0, 0) keeps the key
  d.append(1.75, 0, 2);
  d.append(just_above, 1, 0);  // its normalised key is (0, 2)'s
  d.append(2.5, 1, 1);
  d.append(3.0, 1, 2);
  d.normalise(3.0);
  const CaseDistribution expected{
      {0.0, {{0}, {0}}}, {1.75 / 3.0, {{0}, {2}}}, {2.5 / 3.0, {{1}, {1}}}, {1.0, {{1}, {2}}}};
  EXPECT_EQ(d, expected);

  // A draw takes the first entry whose key is greater, so one equal to a
  // key takes the next.
  EXPECT_EQ(d.upper_bound(0.0), 1u);
  EXPECT_EQ(d.upper_bound(1.75 / 3.0), 2u);
  EXPECT_EQ(d.upper_bound(0.99), 3u);

  // Fewer entries, a smaller key, other alleles: not equal either way.
  const CaseDistribution different[] = {
      {{0.0, {{0}, {0}}}, {1.75 / 3.0, {{0}, {2}}}, {2.5 / 3.0, {{1}, {1}}}},
      {{0.0, {{0}, {0}}}, {1.75 / 3.0, {{0}, {2}}}, {2.4 / 3.0, {{1}, {1}}}, {1.0, {{1}, {2}}}},
      {{0.0, {{0}, {0}}}, {1.75 / 3.0, {{0}, {2}}}, {2.5 / 3.0, {{1}, {0}}}, {1.0, {{1}, {2}}}},
  };
  for (const CaseDistribution& other : different) {
    EXPECT_NE(d, other);
    EXPECT_NE(other, d);
  }
}

}  // namespace
