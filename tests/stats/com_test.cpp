// The combined generator against exact 128-bit arithmetic, its published
// first values and seeds, and its failure table.
#include "stats/com.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>

#include "chosen_uniform.h"

namespace {

using chosen_uniform::power_mod;
using numlib::Xm1;
using numlib::Xm2;
using std::int64_t;

// a^(2^k) mod m by k squarings.
int64_t power_of_two_power(int64_t a, int k, int64_t m) {
  for (int i = 0; i < k; ++i) a = static_cast<int64_t>((__int128)a * a % m);
  return a;
}

void select(int64_t g) { numlib::gscgn(1, &g); }
std::pair<int64_t, int64_t> seeds() {
  std::pair<int64_t, int64_t> s;
  numlib::getsd(&s.first, &s.second);
  return s;
}
std::pair<int64_t, int64_t> advanced(int64_t s1, int64_t s2, unsigned __int128 steps) {
  return {(__int128)s1 * power_mod(numlib::Xa1, steps, Xm1) % Xm1,
          (__int128)s2 * power_mod(numlib::Xa2, steps, Xm2) % Xm2};
}

TEST(ComDeathTest, FreshPackageDrawsWithDefaultSeeds) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // In a fresh process: nothing set behaves as setall(1234567890, 123456789).
  EXPECT_EXIT(
      {
        for (int i = 0; i < 3; ++i) std::fprintf(stderr, "%ld ", numlib::ignlgi());
        select(2);
        std::fprintf(stderr, "%ld %ld", seeds().first, seeds().second);
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "^695163044 696626468 1059541850 1270879355 1392541422$");
  numlib::setall(1234567890, 123456789);
  select(1);
  EXPECT_EQ(numlib::ranf(), 0.32371053f);
  EXPECT_EQ(numlib::ranf(), 0.32439199f);
  EXPECT_EQ(numlib::ranf(), 0.49338764f);
}

TEST(Com, ModularArithmeticIsExact) {
  std::mt19937_64 rng(20240525);
  for (int i = 0; i < 20000; ++i) {
    const int64_t m = i < 10000 ? (i % 2 ? Xm1 : Xm2) : 2 + rng() % ((1LL << 31) - 2);
    const int64_t extremes[] = {1, 2, 32767, 32768, 1LL << 30, (1LL << 30) + 32768, m - 1};
    const int64_t a = i < 49 ? extremes[i % 7] % m : 1 + rng() % (m - 1);
    const int64_t s = i < 49 ? extremes[i / 7] % m : 1 + rng() % (m - 1);
    if (a == 0 || s == 0) continue;
    ASSERT_EQ(numlib::mltmod(a, s, m), (__int128)a * s % m) << a << " " << s << " " << m;
  }
  EXPECT_EQ(numlib::Xa1w, power_of_two_power(numlib::Xa1, 30, Xm1));
  EXPECT_EQ(numlib::Xa2w, power_of_two_power(numlib::Xa2, 30, Xm2));
  EXPECT_EQ(numlib::Xa1vw, power_of_two_power(numlib::Xa1, 50, Xm1));
  EXPECT_EQ(numlib::Xa2vw, power_of_two_power(numlib::Xa2, 50, Xm2));
}

TEST(Com, SeedsMoveByExactPowers) {
  numlib::setall(987654321, 55555);
  select(32);  // 31 x 2^50 steps after generator 1
  EXPECT_EQ(seeds(), advanced(987654321, 55555, (unsigned __int128)31 << 50));
  for (int k : {-1, 0, 1, 7, 30}) {
    numlib::setsd(123456, 654321);
    numlib::advnst(k);
    const auto want = advanced(123456, 654321, (unsigned __int128)1 << (k < 1 ? 0 : k));
    EXPECT_EQ(seeds(), want) << k;
    numlib::ignlgi();
    numlib::initgn(-1);  // the advanced state is the new initial seed
    EXPECT_EQ(seeds(), want) << k;
  }
  numlib::setsd(42, 43);
  numlib::initgn(1);
  EXPECT_EQ(seeds(), advanced(42, 43, 1 << 30));
  numlib::ignlgi();
  numlib::initgn(0);  // back to the start of the block
  EXPECT_EQ(seeds(), advanced(42, 43, 1 << 30));
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
    EXPECT_TRUE(u > 0.0f && u <= 1.0f);
    EXPECT_EQ(u == 1.0f, z >= Xm1 - 63) << z;
  }
}

TEST(Com, PhraseSeeds) {
  auto phrase = [](const std::string& text) {
    std::pair<int64_t, int64_t> s;
    numlib::phrtsd(text, &s.first, &s.second);
    return s;
  };
  using P = std::pair<int64_t, int64_t>;
  EXPECT_EQ(phrase("b"), P(92922513, 123186256));
  EXPECT_EQ(phrase(" b"), P(7975439, 105872202));
  EXPECT_EQ(phrase("/"), P(450836455, 481100198));  // the table's last character
  EXPECT_EQ(phrase(""), P(1234567890, 123456789));
  EXPECT_EQ(phrase("   "), P(1234567890, 123456789));
  EXPECT_EQ(phrase("b  "), phrase("b"));
  // Characters whose table position agrees modulo 64 give the same seeds;
  // 'a', '@', '#' and bytes outside the table all count as 63.
  const char* same[][2] = {{"a", "@"}, {"a", "#"},  {"a", "\x80"}, {"a", "\t"}, {"a", "\xff"},
                           {"b", "$"}, {"p", "\\"}, {"q", "\""},   {"o", "'"},  {"w", "/"}};
  for (const auto& pair : same) EXPECT_EQ(phrase(pair[0]), phrase(pair[1])) << pair[1];
  EXPECT_NE(phrase("a"), phrase("b"));
}

TEST(ComDeathTest, FailuresStopTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const auto init = [] { numlib::setall(1, 1); };
  const std::string early = " called before random number generator  initialized -- abort!\n$";
  const std::string setsd = "^ iseed1, iseed2 out of range in setsd - ABORT!\n iseed1 = ";
  const struct {
    std::function<void()> call;
    std::string message;
  } rows[] = {
      {[] { select(33); }, "^ Generator number out of range in GSCGN$"},
      {[] { select(0); }, "^ Generator number out of range in GSCGN$"},
      {[] { select(-1); }, "^ Generator number out of range in GSCGN$"},
      {[] { numlib::setant(1); }, "^ SETANT" + early},
      {[] { seeds(); }, "^ GETSD" + early},
      {[] { numlib::initgn(0); }, "^ INITGN" + early},
      {[] { numlib::setsd(1, 1); }, "^ SETSD" + early},
      {[] { numlib::advnst(1); }, "^ ADVNST called before random generator initialized - ABORT$"},
      {[&] {
         init();
         numlib::initgn(2);
       },
       "^isdtyp not in range in INITGN\n$"},
      {[] { numlib::mltmod(0, 5, 7); },
       "^ a, m, s out of order in mltmod - ABORT! a =            0 s =            5 m =            "
       "7\n mltmod requires: 0 < a < m; 0 < s < m$"},
      {[] { numlib::setall(0, 1); }, "^ a, m, s out of order in mltmod"},
      {[&] {
         init();
         numlib::setsd(0, 5);
       },
       setsd + "           0 iseed2 =            5\n"},
      {[&] {
         init();
         numlib::setsd(7, Xm2);
       },
       setsd + "           7 iseed2 =   2147483399\n"},
      {[&] {
         init();
         numlib::setsd(Xm1, 1);
       },
       setsd + "  2147483563 iseed2 =            1\n"},
      {[&] {
         init();
         numlib::setsd(-(1LL << 40), 1);
       },
       setsd + "-1099511627776 iseed2"},
  };
  for (const auto& row : rows) EXPECT_EXIT(row.call(), ::testing::ExitedWithCode(1), row.message);
}

}  // namespace
