// The uniform generators other than MT, against independent oracles (the
// standard library's congruential engines, a multiply-with-carry and a
// shuffle written out here, a separate script for MotherOfAll), and the seed
// files of all seven generators, in a temporary directory.
#include <sys/resource.h>

#include <array>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "common/test_support.h"
#include "random/vorand1.h"
#include "variate_test_support.h"

using RBD_COMMON::Logic_error;
using RBD_COMMON::Runtime_error;

namespace {

template <class G>
std::unique_ptr<Random> construct(double s) {
  return std::make_unique<G>(s);
}

// One step of an oracle: the values Next() and ulNext() give for it.
using Step = std::pair<double, unsigned long>;
Step word31(std::uint32_t w) { return {w * 0x1p-31, 2UL * w}; }

}  // namespace

// Every class refuses seeds outside (0, 1), NaN, and the seed words that
// freeze it, and takes the seeds next to those.  Then 10,000 steps against
// the oracle, even ones through Next(), odd ones through ulNext().
TEST(UniformGenerators, SeedsAndStreams) {
  const double s = 0.3, word_0 = 0x1p-32, word_1 = 0x1p-31, word_top = 1 - 0x1p-30,
               word_max = 1 - 0x1p-53;  // words 0, 1, 2^31 - 2 and 2^31 - 1
  const auto w31 = static_cast<std::uint32_t>(s * 0x1p31);
  std::minstd_rand0 base(w31), lgm(w31), mixed(w31);
  std::linear_congruential_engine<std::uint_fast32_t, 950706376, 0, 2147483647> fm(w31);
  std::uint64_t x = static_cast<std::uint32_t>(s * 0x1p32), c = 1234567;
  std::linear_congruential_engine<std::uint_fast32_t, 171, 0, 30269> wx(s * 30269);
  std::linear_congruential_engine<std::uint_fast32_t, 172, 0, 30307> wy(1234);
  std::linear_congruential_engine<std::uint_fast32_t, 170, 0, 30323> wz(5678);
  std::array<std::uint32_t, 128> table;
  for (auto& entry : table) entry = mixed();
  const std::vector<double> frozen = {word_0, word_max}, next_to_frozen = {word_1, word_top};
  const struct {
    const char* name;
    std::unique_ptr<Random> (*make)(double);
    std::vector<double> refused, taken;
    std::function<Step()> oracle;
  } cases[] = {
      {"LGM_base", construct<LGM_base>, frozen, next_to_frozen, [&] { return word31(base()); }},
      {"LGM_simple", construct<LGM_simple>, frozen, next_to_frozen, [&] { return word31(lgm()); }},
      {"Fishman Moore", construct<FM>, frozen, next_to_frozen, [&] { return word31(fm()); }},
      {"MultWithCarry",
       construct<MultWithCarry>,
       {},
       {1e-300, word_max},
       [&] {
         const std::uint64_t p = 2083801278 * x + c;
         c = p >> 32, x = p & 0xFFFFFFFFU;
         return Step{(x + 0.5) * 0x1p-32, x};
       }},
      {"Wichmann Hill",
       construct<WH>,
       {},
       {1e-300, word_max},
       [&] {
         double u = (wx() / 30269.0 + wy() / 30307.0) + wz() / 30323.0;
         u -= std::floor(u);
         return Step{u, static_cast<unsigned long>(u * 0x1p32)};
       }},
      {"LGM_mixed", construct<LGM_mixed>, frozen, next_to_frozen,
       [&] {
         const auto j = static_cast<int>(mixed() * 0x1p-31 * 128);
         const std::uint32_t y = table[j];
         table[j] = mixed();
         return word31(y);
       }},
      {"MotherOfAll", construct<MotherOfAll>, {word_0}, {word_1, word_max}, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<double> refused = {0.0, 1.0, -0.5, 1.5, std::numeric_limits<double>::quiet_NaN()};
    refused.insert(refused.end(), c.refused.begin(), c.refused.end());
    for (double r : refused)
      EXPECT_TRUE(
          contains(thrown_message<Logic_error>([&] { c.make(r); }), "Vorand: seed out of range"))
          << r;
    for (double t : c.taken) EXPECT_NO_THROW(c.make(t)) << t;
    const std::unique_ptr<Random> g = c.make(s);
    EXPECT_STREQ(g->Name(), c.name);
    for (int i = 0; c.oracle && i < 10000; ++i) {
      const Step step = c.oracle();
      ASSERT_EQ(i % 2 ? g->ulNext() : g->Next(), i % 2 ? step.second : step.first) << i;
    }
  }
}

// Outputs 1 to 6 and 10,000 of mother_of_all_reference.py for seed 0.12345.
TEST(UniformGenerators, MotherOfAllMatchesItsReference) {
  MotherOfAll g(0.12345);
  for (unsigned long w : {1598167468UL, 4278552922UL, 671937275UL, 3051713717UL, 1203368084UL})
    ASSERT_EQ(g.ulNext(), w);
  EXPECT_EQ(g.Next(), (1432667285 + 0.5) * 0x1p-32);
  for (int i = 7; i < 10000; ++i) g.ulNext();
  EXPECT_EQ(g.ulNext(), 2637097693UL);
}

namespace {

struct Generator {
  std::unique_ptr<Random> (*make)(double);
  const char* file;
  std::size_t size;  // 21 bytes of tags and newline, and the digits
};
const Generator mt{construct<MT>, "mt19937.txt", 5021}, lgm{construct<LGM_simple>, "lgm.txt", 29},
    mixed{construct<LGM_mixed>, "lgm_mix.txt", 29}, wh{construct<WH>, "wh.txt", 45},
    mother{construct<MotherOfAll>, "mother.txt", 101},
    mwc{construct<MultWithCarry>, "multwc.txt", 37}, fm{construct<FM>, "fm.txt", 29};
const char* const fails = "Vorand: seed file verification fails";

std::vector<double> draws(int k) {
  std::vector<double> values;
  while (k--) values.push_back(Random::RNG->Next());
  return values;
}

class SeedFile : public testing::Test {
 protected:
  SeedFile() { into(""); }
  ~SeedFile() override { Random::SetDirectory(""); }
  void into(const std::string& sub) { Random::SetDirectory((dir.path() / sub).string().c_str()); }
  std::string file(const char* name) const { return vordel_test::read_file(dir / name); }
  void write(const char* name, const std::string& text) {
    vordel_test::write_file(dir / name, text);
  }
  vordel_test::TempDir dir;
};
using SeedFileDeathTest = SeedFile;

}  // namespace

// Saved before any draw (MotherOfAll fills its sequences first) and in
// mid-stream (MT in mid-block), a restore repeats the draws after the save;
// LGM_mixed stores no table but refills it from the stored seed.
// Read with true, the seed is saved again when the generator goes, after
// the placeholder is made current; when that fails (a missing directory),
// standard error says so and nothing escapes.
TEST_F(SeedFile, RestoresRepeatTheStreamAndArmedSeedsAreSavedAtTheEnd) {
  for (const Generator* gen : {&mt, &lgm, &mixed, &wh, &mother, &mwc, &fm}) {
    for (const bool missing_dir : {false, true}) {
      std::unique_ptr<Random> g = gen->make(0.3);
      const std::string name = g->Name();
      SCOPED_TRACE(name + (missing_dir ? " into a missing directory" : ""));
      Random::Set(*g);
      for (int round = 0; round < 2; ++round) {
        Random::CopySeedToDisk();
        const std::string stored = file(gen->file);
        ASSERT_EQ(stored.size(), gen->size);
        std::vector<double> expected = draws(1000);
        if (gen == &mixed) {  // draws as a new LGM_mixed on the stored word
          LGM_mixed fresh(std::stoul(stored.substr(10, 8), nullptr, 16) * 0x1p-31);
          Random::Set(fresh), expected = draws(1000), Random::Set(*g);
        }
        Random::CopySeedFromDisk(true);
        EXPECT_EQ(draws(1000), expected);
      }
      const std::string saved = file(gen->file);
      if (missing_dir) into("missing/");
      testing::internal::CaptureStderr();
      EXPECT_NO_THROW(g.reset());
      const std::string err = testing::internal::GetCapturedStderr();
      into("");
      EXPECT_EQ(Random::RNG, Random::Dummy);
      EXPECT_EQ(file(gen->file) == saved, missing_dir);
      EXPECT_EQ(contains(err, "Vorand: seed of " + name + " not saved:") &&
                    contains(err, "Vorand: can't access seed file"),
                missing_dir)
          << err;
    }
  }
}

TEST_F(SeedFile, WrittenByteForByte) {
  LGM_simple(0x1p-31).CSTD();
  EXPECT_EQ(file("lgm.txt"), "!Vorand03!00000001!Vorand03!\n");
}

// A refused file leaves the state as it was and disarms the saving
// destructor; an accepted one read with true arms it.  Refused: files cut
// anywhere before the end of the closing tag, and states that stay put for
// ever or that no generator reaches.
TEST_F(SeedFile, ReadTakesOnlyWholeFilesOfReachableStates) {
  const std::string tag = "!Vorand03!", ok;
  auto zeros = [](int n) { return std::string(n, '0'); };
  struct Case {
    const Generator& gen;
    std::string body, error;
  };
  std::vector<Case> cases = {
      {lgm, tag + "0000\n 0002 " + tag, ok},
      {lgm, tag + "0000000a" + tag, "vorand: invalid character in unhex"},
      {lgm, "Vorand03!00000001" + tag, fails},
      {lgm, tag + "00000001!Vorand04!", fails},
      {lgm, tag + "00000000" + tag, fails},
      {lgm, tag + "7FFFFFFF" + tag, fails},
      {lgm, tag + "7FFFFFFE" + tag, ok},
      {fm, tag + "7FFFFFFF" + tag, fails},
      {mixed, tag + "00000000" + tag, fails},
      {mt, tag + "80000000" + zeros(623 * 8) + "80000000" + tag, fails},
      {mt, tag + zeros(625 * 8) + tag, fails},
      {mt, tag + "80000000" + zeros(624 * 8) + tag, ok},
      {mwc, tag + zeros(16) + tag, fails},
      {mwc, tag + "FFFFFFFF7C3448BD" + tag, fails},
      {mwc, tag + "000000017C3448BE" + tag, fails},
      {mwc, tag + "000000007C3448BD" + tag, ok},
      {wh, tag + zeros(24) + tag, fails},
      {wh, tag + zeros(16) + "00000001" + tag, fails},
      {wh, tag + zeros(8) + "00000001" + zeros(8) + tag, fails},
      {wh, tag + "0000763D0000000100000001" + tag, fails},
      {wh, tag + "000000000000000100000001" + tag, ok},
      {mother, tag + zeros(72) + "00010001" + tag, fails},  // element 9 is never read
      {mother, tag + zeros(68) + "0001" + zeros(8) + tag, ok},
  };
  const std::string whole = tag + "00002378000004D20000162E" + tag;  // WH(0.3)
  for (std::size_t n = tag.size(); n < whole.size(); ++n)
    cases.push_back({wh, whole.substr(0, n), fails});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body.substr(0, 40));
    auto armed = [&] {  // to be disarmed by a failed read
      std::unique_ptr<Random> g = c.gen.make(0.7);
      write(c.gen.file, ""), g->CSTD(), g->CSFD(true);
      return g;
    };
    const double unchanged = armed()->Next();
    std::unique_ptr<Random> g = armed();
    write(c.gen.file, c.body);
    const std::string error = thrown_message<Runtime_error>([&] { g->CSFD(true); });
    EXPECT_TRUE(c.error.empty() ? error == "<nothing thrown>" : contains(error, c.error)) << error;
    EXPECT_EQ(g->Next() == unchanged, !c.error.empty());
    g.reset();
    EXPECT_EQ(file(c.gen.file) == c.body, !c.error.empty());
  }
}

TEST_F(SeedFile, OnlySeedFilesAreOverwrittenAndOnlyInADirectory) {
  FM g(0.3);
  Random::Set(g);
  EXPECT_TRUE(contains(thrown_message<Runtime_error>([] { Random::CopySeedFromDisk(false); }),
                       "Vorand: can't open seed file"));
  write("fm.txt", "precious\n");
  EXPECT_TRUE(contains(thrown_message<Runtime_error>([] { Random::CopySeedToDisk(); }), fails));
  EXPECT_EQ(file("fm.txt"), "precious\n");
  write("fm.txt", "");
  Random::CopySeedToDisk();
  EXPECT_EQ(file("fm.txt").size(), 29u);
  Random::SetDirectory("");
  for (auto copy : {+[] { Random::CopySeedToDisk(); }, +[] { Random::CopySeedFromDisk(false); }})
    EXPECT_TRUE(contains(thrown_message<Logic_error>(copy), "Vorand: directory not defined"));
}

// A file that cannot grow past 100 bytes (a full disk, in effect) makes the
// write throw instead of leaving a cut file reported as saved.  The limit is
// set in a child, a fork of this process at the death statement ("fast"):
// it writes into the fixture's folder, which this process removes.  (A
// child started afresh would make a folder of its own, and end without
// removing it.)
TEST_F(SeedFileDeathTest, WriteThatDoesNotReachTheDiskThrows) {
  GTEST_FLAG_SET(death_test_style, "fast");
  EXPECT_EXIT(
      {
        rlimit limit;
        limit.rlim_cur = limit.rlim_max = 100;
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
        const std::string error = thrown_message<Runtime_error>([] { MT(0.3).CSTD(); });
        std::_Exit(contains(error, "Vorand: can't access seed file") ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}
