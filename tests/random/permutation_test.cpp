// Random permutations and combinations followed uniform by uniform, the
// orders they give counted against equal chances, and the Shell sort
// against std::sort.
#include <algorithm>
#include <array>
#include <climits>
#include <map>
#include <random>
#include <vector>

#include <gtest/gtest.h>
#include <boost/math/distributions/chi_squared.hpp>

#include "random/permutation.h"
#include "tests/random/variate_test_support.h"

// By hand, from 10 .. 14: position 0 + trunc(5 * 0.5) = 2 gives 12 and takes
// 10 in its place; position 1 + trunc(4 * 0.9) = 4 gives 14 and takes 11;
// position 2 + trunc(3 * 0.1) = 2 gives 10.  Positions past M stay as they were.
TEST(RandomPermutation, DrawsFollowTheUniforms) {
  std::array<int, 5> s = {-1, -1, -1, -1, -1}, c = s;
  {
    ScriptedRandom script({0.5, 0.9, 0.1});
    RandomPermutation().Next(5, 3, s.data(), 10);
  }
  EXPECT_EQ(s, (std::array<int, 5>{12, 14, 10, -1, -1}));
  {
    ScriptedRandom script({0.5, 0.9, 0.1});
    RandomCombination().Next(5, 3, c.data(), 10);
  }
  EXPECT_EQ(c, (std::array<int, 5>{10, 12, 14, -1, -1}));
  MT generator(0.999);
  Random::Set(generator);
  RandomPermutation().Next(5, 5, s.data(), 1);
  std::sort(s.begin(), s.end());
  EXPECT_EQ(s, (std::array<int, 5>{1, 2, 3, 4, 5}));
  {
    ScriptedRandom script({});  // nothing to select, nothing drawn
    RandomPermutation().Next(3, 0, s.data(), 0);
    RandomCombination().Next(-2, -3, s.data(), 0);
  }
  const auto refused = [](auto f, const char* message) {
    EXPECT_TRUE(contains(thrown_message<RBD_COMMON::Logic_error>(f), message)) << message;
  };
  refused([&] { RandomPermutation().Next(3, 4, s.data(), 0); },
          "Vorand: N < M in RandomPermutation");
  refused([&] { RandomCombination().Next(3, 4, s.data(), 0); },
          "Vorand: N < M in RandomPermutation");
  refused([&] { RandomPermutation().Next(3, 1, s.data(), INT_MAX - 1); },
          "Vorand: illegal parameters");
  Random::Set(generator);
  RandomPermutation().Next(3, 3, s.data(), INT_MAX - 2);  // the last three ints
  EXPECT_EQ(*std::min_element(s.begin(), s.begin() + 3), INT_MAX - 2);
}

// 60000 orders of 3 values: each of the 3! = 6 orders is expected 10000
// times; Pearson's statistic exceeds the chi-square quantile of 1 - 1e-4 (5
// degrees of freedom) with probability 1e-4.  Two of three (as combinations,
// 3 pairs) in the same way.
TEST(RandomPermutation, OrdersAreEquallyLikely) {
  MT generator(0.8);
  Random::Set(generator);
  constexpr int N = 60000;
  std::map<std::array<int, 3>, int> orders;
  std::map<std::array<int, 2>, int> pairs;
  for (int i = 0; i < N; ++i) {
    std::array<int, 3> s;
    RandomPermutation().Next(3, 3, s.data(), 0);
    ++orders[s];
    std::array<int, 2> c;
    RandomCombination().Next(3, 2, c.data(), 7);
    ++pairs[c];
  }
  ASSERT_EQ(orders.size(), 6u);
  ASSERT_EQ(pairs.size(), 3u);
  const auto statistic = [](const auto& counts) {
    const double expected = double(N) / counts.size();
    double sum = 0;
    for (const auto& [order, count] : counts) sum += (count - expected) * (count - expected);
    return sum / expected;
  };
  EXPECT_LT(statistic(orders), quantile(boost::math::chi_squared(5), 1 - 1e-4));
  EXPECT_LT(statistic(pairs), quantile(boost::math::chi_squared(2), 1 - 1e-4));
  for (const auto& [pair, count] : pairs) EXPECT_LT(pair[0], pair[1]);
}

// Arrays of every length up to 300 (and 1000), values with many repeats.
TEST(ShellSortAscending, SortsAsStdSort) {
  std::mt19937 gen(2024);
  for (int n = 0; n <= 1000; n += n < 300 ? 1 : 700) {
    std::uniform_int_distribution<int> value(-n / 4, n / 4);
    std::vector<int> a(n);
    for (int& x : a) x = value(gen);
    std::vector<int> b = a, c = a;
    ShellSortAscending(a.data(), n);
    RandomCombination::SortAscending(n, c.data());
    std::sort(b.begin(), b.end());
    ASSERT_EQ(a, b) << n;
    ASSERT_EQ(c, b) << n;
  }
  int one = 5;
  ShellSortAscending(&one, 1);
  ShellSortAscending(nullptr, 0);
  EXPECT_EQ(one, 5);
}
