// The combined generator against exact 128-bit arithmetic, its published
// first values and seeds, and its failure table.
#include "stats/varlib/com.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>

#include "chosen_uniform.h"

namespace {

using numlib::Xm1;
using numlib::Xm2;
using std::int64_t;
using Pair = std::pair<int64_t, int64_t>;

void select(int64_t g) { numlib::gscgn(1, &g); }
Pair seeds() {
  Pair s;
  return numlib::getsd(&s.first, &s.second), s;
}
// (s1, s2) advanced by `steps` steps, by exact powers of the multipliers.
Pair advanced(int64_t s1, int64_t s2, unsigned __int128 steps) {
  return {(__int128)s1 * chosen_uniform::power_mod(numlib::Xa1, steps, Xm1) % Xm1,
          (__int128)s2 * chosen_uniform::power_mod(numlib::Xa2, steps, Xm2) % Xm2};
}

TEST(ComDeathTest, FreshPackageDrawsWithDefaultSeeds) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process: nothing set
  const auto draw = [] {
    for (int i = 0; i < 3; ++i) std::fprintf(stderr, "%ld ", numlib::ignlgi());
    select(2);
    std::fprintf(stderr, "%ld %ld", seeds().first, seeds().second);
    std::exit(0);
  };
  EXPECT_EXIT(draw(), ::testing::ExitedWithCode(0),
              "^695163044 696626468 1059541850 1270879355 1392541422$");
  numlib::setall(1234567890, 123456789);
  select(1);
  for (float u : {0.32371053f, 0.32439199f, 0.49338764f}) EXPECT_EQ(numlib::ranf(), u);
}

TEST(Com, ExactArithmetic) {
  std::mt19937_64 rng(20240525);
  const int64_t edges[] = {1, 2, 32767, 32768, 1LL << 30, (1LL << 30) + 32768, Xm2 - 1};
  for (int i = 0; i < 20000; ++i) {
    const int64_t m = i < 10000 ? (i % 2 ? Xm1 : Xm2) : 2 + rng() % ((1LL << 31) - 2);
    const int64_t a = i < 49 ? edges[i % 7] : 1 + rng() % (m - 1);
    const int64_t s = i < 49 ? edges[i / 7] : 1 + rng() % (m - 1);
    ASSERT_EQ(numlib::mltmod(a, s, m), (__int128)a * s % m) << a << " " << s << " " << m;
  }
  EXPECT_EQ(advanced(1, 1, 1 << 30), Pair(numlib::Xa1w, numlib::Xa2w));
  EXPECT_EQ(advanced(1, 1, 1LL << 50), Pair(numlib::Xa1vw, numlib::Xa2vw));
  numlib::setall(987654321, 55555);
  select(32);
  EXPECT_EQ(seeds(), advanced(987654321, 55555, (unsigned __int128)31 << 50));
  for (int k : {-1, 0, 1, 7, 30}) {
    numlib::setsd(123456, 654321);
    numlib::advnst(k);
    numlib::ignlgi();
    numlib::initgn(-1);  // back to the advanced state, the new initial seed
    EXPECT_EQ(seeds(), advanced(123456, 654321, 1LL << std::max(k, 0))) << k;
  }
  numlib::initgn(1);
  numlib::ignlgi();
  numlib::initgn(0);  // back to the start of the block
  EXPECT_EQ(seeds(), advanced(123456, 654321, 1LL << 31));
  const int64_t plain = numlib::ignlgi();
  numlib::initgn(0);
  numlib::setant(1);
  EXPECT_EQ(numlib::ignlgi(), Xm1 - plain);
  numlib::setant(0);
  select(1);
}

TEST(Com, RanfRoundsTheLargest63IntegersToOne) {
  for (int64_t z : {int64_t{1}, Xm1 - 64, Xm1 - 63, Xm1 - 1}) {
    chosen_uniform::next_ignlgi(z);
    EXPECT_EQ(numlib::ignlgi(), z);
    chosen_uniform::next_ignlgi(z);
    const float u = numlib::ranf();
    EXPECT_TRUE(u > 0.0f && u <= 1.0f && (u == 1.0f) == (z >= Xm1 - 63)) << z;
  }
}

TEST(Com, PhraseSeeds) {
  const auto phrase = [](const char* text) {
    Pair s;
    return numlib::phrtsd(text, &s.first, &s.second), s;
  };
  EXPECT_EQ(phrase("b"), Pair(92922513, 123186256));
  EXPECT_EQ(phrase(" b"), Pair(7975439, 105872202));
  EXPECT_EQ(phrase("/"), Pair(450836455, 481100198));  // the table's last character
  EXPECT_EQ(phrase("   "), Pair(1234567890, 123456789));
  // Same seeds: trailing blanks; positions equal modulo 64 ('a', '#' and
  // bytes outside the table count as 63).
  const char* same[][2] = {{"b", "b  "}, {"a", "#"}, {"a", "\x80"}, {"p", "\\"}, {"q", "\""}};
  for (const auto& s : same) EXPECT_EQ(phrase(s[0]), phrase(s[1])) << s[1];
}

TEST(ComDeathTest, FailuresStopTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // fresh processes, not initialised
  const auto init = [] { numlib::setall(1, 1); };
  const std::string early = " called before random number generator  initialized -- abort!\n$";
  const std::string range = "^ Generator number out of range in GSCGN$";
  const std::string setsd = "^ iseed1, iseed2 out of range in setsd - ABORT!\n iseed1 = ";
  const std::pair<std::function<void()>, std::string> rows[] = {
      {[] { select(33); }, range},
      {[] { select(0); }, range},
      {[] { numlib::setant(1); }, "^ SETANT" + early},
      {[] { seeds(); }, "^ GETSD" + early},
      {[] { numlib::initgn(0); }, "^ INITGN" + early},
      {[] { numlib::setsd(1, 1); }, "^ SETSD" + early},
      {[] { numlib::advnst(1); }, "^ ADVNST called before random generator initialized - ABORT$"},
      {[&] { init(), numlib::initgn(2); }, "^isdtyp not in range in INITGN\n$"},
      {[] { numlib::mltmod(0, 5, 7); },
       "^ a, m, s out of order in mltmod - ABORT! a =            0 s =            5 m =       "
       "     7\n mltmod requires: 0 < a < m; 0 < s < m$"},
      {[] { numlib::setall(0, 1); }, "^ a, m, s out of order in mltmod"},
      {[&] { init(), numlib::setsd(0, 5); }, setsd + "           0 iseed2 =            5\n"},
      {[&] { init(), numlib::setsd(7, Xm2); }, setsd + "           7 iseed2 =   2147483399\n"},
      {[&] { init(), numlib::setsd(Xm1, 1); }, setsd + "  2147483563 iseed2 =            1\n"},
  };
  for (const auto& [call, message] : rows)
    EXPECT_EXIT(call(), ::testing::ExitedWithCode(1), message);
}

}  // namespace
