// The current-generator mechanism and the Mersenne Twister.  The raw stream
// is checked against std::mt19937, which implements the same published
// MT19937 with the same reference seeding.
#include "random/vorand1.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <newmat/myexcept.h>

using RBD_COMMON::BaseException;
using RBD_COMMON::Logic_error;
using RBD_COMMON::Runtime_error;

namespace {

// The message of the newmat exception of type E that f throws, or a note
// saying that f threw something else or nothing.
template <class E, class F>
std::string thrown_message(F f) {
  try {
    f();
  } catch (const E&) {
    return BaseException::what();
  } catch (...) {
    return "<another exception>";
  }
  return "<nothing thrown>";
}

// newmat prefixes the message with its own banner and the error kind.
bool ends_with(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

const std::string not_setup = "Vorand: uniform rng not setup";

// A uniform generator that returns a fixed script of values.
class Scripted : public Random {
 public:
  explicit Scripted(std::vector<double> v) : Random(UniformSource{}), values(std::move(v)) {}
  double Next() override { return values.at(next++); }

 private:
  std::vector<double> values;
  std::size_t next = 0;
};

// A random variable that keeps every base behaviour.
class Plain : public Random {};

}  // namespace

TEST(Placeholder, IsCurrentAtStartUpAndRefusesEverything) {
  ASSERT_EQ(Random::RNG, Random::Dummy);
  EXPECT_STREQ(Random::RNG->Name(), "DummyRNG");
  EXPECT_TRUE(ends_with(thrown_message<Runtime_error>([] { Random::RNG->Next(); }), not_setup));
  EXPECT_TRUE(ends_with(thrown_message<Runtime_error>([] { Random::RNG->CSFD(true); }), not_setup));
  EXPECT_TRUE(ends_with(thrown_message<Runtime_error>([] { Random::RNG->CSTD(); }), not_setup));
  EXPECT_TRUE(ends_with(thrown_message<Logic_error>([] { Random::RNG->ulNext(); }),
                        "Vorand: ulNext function not available"));
  // A variate drawing through the base Next() meets the placeholder too.
  Plain p;
  EXPECT_TRUE(ends_with(thrown_message<Runtime_error>([&] { p.Next(); }), not_setup));
  EXPECT_EQ(Random::Dir.Length(), 0u);
}

TEST(Placeholder, ComesBackWhenTheCurrentMTIsDestroyedOnly) {
  {
    MT current(0.5);
    Random::Set(current);
    {
      MT other(0.25);  // never current
    }
    EXPECT_EQ(Random::RNG, &current);
    Random::RNG->Next();
  }
  EXPECT_EQ(Random::RNG, Random::Dummy);
  EXPECT_TRUE(ends_with(thrown_message<Runtime_error>([] { Random::RNG->Next(); }), not_setup));

  // Set replaces without touching the previous generator; destroying the
  // previous one later leaves the current one alone.
  {
    MT b(0.1);
    {
      MT a(0.2);
      Random::Set(a);
      Random::Set(b);
    }
    EXPECT_EQ(Random::RNG, &b);
  }
  EXPECT_EQ(Random::RNG, Random::Dummy);
}

TEST(Random, BaseOperations) {
  Plain p;
  EXPECT_STREQ(p.Name(), "Random");
  EXPECT_EQ(p.nelems(), 1);
  p.tDelete();
  EXPECT_TRUE(ends_with(thrown_message<Logic_error>([&] { p.Density(0.5); }),
                        "Vorand: density function not available"));
  EXPECT_TRUE(ends_with(thrown_message<Logic_error>([&] { p.load(nullptr, nullptr, nullptr); }),
                        "Vorand: illegal combination"));

  MT g(0.3);
  EXPECT_STREQ(g.Name(), "MT19937");
  EXPECT_EQ(g.Mean().Code(), Finite);
  EXPECT_EQ(g.Mean().Value(), 0.5);
  EXPECT_EQ(g.Variance().Code(), Finite);
  EXPECT_EQ(g.Variance().Value(), 0.083333333333333329);
}

TEST(Random, BaseNextDrawsFromTheCurrentGenerator) {
  Scripted script({0.25, 0.75});
  Random::Set(script);
  Plain p;
  EXPECT_EQ(p.Next(), 0.25);
  EXPECT_EQ(Random::RNG->Next(), 0.75);
  Random::Set(*Random::Dummy);  // the script is about to go
}

// Worked values of the whole chain seed -> 32-bit seed -> stream -> double.
TEST(MT, WorkedValues) {
  MT g(0.12345);
  Random::Set(g);
  EXPECT_EQ(Random::RNG->Next(), 0.8638077148934826);
  EXPECT_EQ(Random::RNG->Next(), 0.20318866439629346);
  EXPECT_EQ(Random::RNG->Next(), 0.6419119777856395);

  MT again(0.12345);  // reseeds the shared stream
  EXPECT_EQ(again.ulNext(), 3710025885UL);
  EXPECT_EQ(g.ulNext(), 872688668UL);  // both objects advance one stream
  EXPECT_EQ(Random::RNG->ulNext(), 2756990951UL);

  MT half(0.5);
  EXPECT_EQ(half.ulNext(), 652847386UL);
  MT zero(0.0);
  EXPECT_EQ(zero.Next(), 0.5488135024206713);
  MT one(1.0);
  EXPECT_EQ(one.ulNext(), 2357136044UL);
  MT::init_genrand(5489);
  EXPECT_EQ(one.ulNext(), 3499211612UL);
}

// For each seed, the 32-bit word it must give, and then 2,000 draws (three
// regenerations of the state) against std::mt19937 seeded with that word:
// even draws raw, odd draws as Next() = (raw + 0.5) * 2^-32 exactly.
TEST(MT, MatchesStdMt19937FromTheTruncatedSeed) {
  struct Case {
    double seed;
    std::uint32_t word;
  };
  const Case cases[] = {
      {0.12345, 530213712u},
      {0.5, 2147483648u},
      {0.0, 0u},
      {1.0, 0u},  // 2^32 mod 2^32
      {2.0, 0u},
      {4294967295.0 / 4294967296.0, 4294967295u},
      {-0.5, 2147483648u},           // two's complement of -2^31
      {-0x1p-32, 4294967295u},       // -1
      {-1e-12, 0u},                  // truncates toward zero
      {2147483648.25, 1073741824u},  // product 2^63 + 2^30
      {1e30, 0u},
      {-1e30, 0u},
      {std::numeric_limits<double>::quiet_NaN(), 0u},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("seed " + std::to_string(c.seed));
    MT g(c.seed);
    Random::Set(g);
    std::mt19937 oracle(c.word);
    for (int i = 0; i < 2000; ++i) {
      const std::uint32_t raw = oracle();
      if (i % 2 == 0) {
        ASSERT_EQ(Random::RNG->ulNext(), raw) << "draw " << i;
      } else {
        ASSERT_EQ(Random::RNG->Next(), (raw + 0.5) * 0x1p-32) << "draw " << i;
      }
    }
  }
  EXPECT_EQ(Random::RNG, Random::Dummy);
}

// Next() serves values converted a whole block at a time: a reseed in the
// middle of a block, by a new MT or by init_genrand, must not leave values
// of the old block to be served.
TEST(MT, ReseedInMidBlockRestartsNext) {
  MT g(0.3);
  for (int i = 0; i < 100; ++i) g.Next();
  MT h(0.12345);
  EXPECT_EQ(g.Next(), 0.8638077148934826);
  for (int i = 0; i < 100; ++i) g.Next();
  MT::init_genrand(5489);
  EXPECT_EQ(h.Next(), (3499211612.0 + 0.5) * 0x1p-32);
}

// The inline draws serve the stream of Next(), mixed with it in any way:
// single draws, blocks taken whole, in part or not at all, across several
// refills (3,000 values), checked against std::mt19937.
TEST(MT, InlineDrawsContinueTheStreamOfNext) {
  MT g(0.12345);
  std::mt19937 oracle(530213712u);
  const auto expected = [&oracle] { return (oracle() + 0.5) * 0x1p-32; };
  int served = 0;
  for (int step = 0; served < 3000; ++step) {
    switch (step % 4) {
      case 0:
        ASSERT_EQ(g.Next(), expected()) << "draw " << served;
        ++served;
        break;
      case 1:
        ASSERT_EQ(MT::Draw(), expected()) << "draw " << served;
        ++served;
        break;
      default: {
        int count = 0;
        const double* const u = MT::Pending(count);
        ASSERT_GE(count, 1);
        ASSERT_LE(count, 624);
        // Take all, about half, or none of the block.
        const int k = step % 8 == 2 ? count : step % 8 == 3 ? 0 : (count + 1) / 2;
        for (int i = 0; i < k; ++i) ASSERT_EQ(u[i], expected()) << "draw " << served + i;
        MT::Take(k);
        served += k;
      }
    }
  }
}

TEST(MTDeathTest, InlineDrawsOfAnUnseededStateUseTheReferenceDefaultSeed) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(std::exit(MT::Draw() == (3499211612.0 + 0.5) * 0x1p-32 ? 0 : 1),
              testing::ExitedWithCode(0), "");
  EXPECT_EXIT(
      {
        int count = 0;
        const double* u = MT::Pending(count);
        std::exit(count == 624 && u[0] == (3499211612.0 + 0.5) * 0x1p-32 ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

// IsCurrent holds only while an MT itself is the current generator: not for
// the placeholder, another generator, or a class derived from MT (whose
// Next() may serve other values).
TEST(MT, IsCurrentOnlyForAnMTThatIsCurrent) {
  class Shifted : public MT {
   public:
    using MT::MT;
    double Next() override { return MT::Next() / 2; }
  };
  EXPECT_FALSE(MT::IsCurrent());  // the placeholder
  MT g(0.5);
  EXPECT_FALSE(MT::IsCurrent());  // not made current
  Random::Set(g);
  EXPECT_TRUE(MT::IsCurrent());
  {
    Shifted derived(0.5);
    Random::Set(derived);
    EXPECT_FALSE(MT::IsCurrent());
  }
  Scripted other({0.5});
  Random::Set(other);
  EXPECT_FALSE(MT::IsCurrent());
  Random::Set(g);
  EXPECT_TRUE(MT::IsCurrent());
}

TEST(MT, NextStaysStrictlyInsideTheUnitInterval) {
  // The extreme raw outputs map to 2^-33 and 1 - 2^-33, both exact doubles.
  EXPECT_EQ((0.0 + 0.5) * 0x1p-32, 0x1p-33);
  EXPECT_EQ((4294967295.0 + 0.5) * 0x1p-32, 1.0 - 0x1p-33);
  EXPECT_LT(1.0 - 0x1p-33, 1.0);

  MT g(0.777);
  double lo = 1.0, hi = 0.0;
  for (int i = 0; i < 1000000; ++i) {
    const double u = g.Next();
    lo = std::min(lo, u);
    hi = std::max(hi, u);
  }
  EXPECT_GE(lo, 0x1p-33);
  EXPECT_LE(hi, 1.0 - 0x1p-33);
}

// Both run in a freshly started copy of this program, so that the shared
// state and the current generator are as at start-up.
TEST(MTDeathTest, UnseededStateUsesTheReferenceDefaultSeed) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(std::exit(MT::genrand_int32() == 3499211612UL ? 0 : 1), testing::ExitedWithCode(0),
              "");
}

// A variate draws through the current generator: made current itself, it
// would call itself for ever.
TEST(Random, SetRefusesWhatIsNotAUniformGenerator) {
  MT g(0.5);
  Random::Set(g);
  Plain p;
  EXPECT_TRUE(ends_with(thrown_message<Logic_error>([&] { Random::Set(p); }),
                        "Vorand: only a uniform generator can be the current generator"));
  EXPECT_EQ(Random::RNG, &g);
}
