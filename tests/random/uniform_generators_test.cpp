// The uniform generators other than MT, against independent oracles (the
// standard library's congruential engines, a multiply-with-carry and a
// shuffle written out here, a separate script for MotherOfAll), and the seed
// files of all seven generators, in a temporary directory.
#include <sys/resource.h>

#include <array>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "common/test_support.h"
#include "newmat_message.h"
#include "random/vorand1.h"

using RBD_COMMON::Logic_error;
using RBD_COMMON::Runtime_error;
using vordel_test::write_file;

namespace {

template <class G>
std::unique_ptr<Random> make(double s) {
  return std::make_unique<G>(s);
}
using Factory = std::unique_ptr<Random> (*)(double);

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// One step of an oracle: the values Next() and ulNext() give for it.
using Step = std::pair<double, unsigned long>;
Step word31(std::uint32_t w) { return {w * 0x1p-31, 2UL * w}; }
Step word32(std::uint32_t w) { return {(w + 0.5) * 0x1p-32, w}; }

}  // namespace

// 10,000 steps each, even ones through Next(), odd ones through ulNext().
TEST(UniformGenerators, StreamsMatchIndependentOracles) {
  const double s = 0.3;
  const auto w31 = static_cast<std::uint32_t>(s * 0x1p31);
  std::minstd_rand0 lgm(w31), mixed(w31);
  std::linear_congruential_engine<std::uint_fast32_t, 950706376, 0, 2147483647> fm(w31);
  std::uint64_t x = static_cast<std::uint32_t>(s * 0x1p32), c = 1234567;
  std::linear_congruential_engine<std::uint_fast32_t, 171, 0, 30269> wx(s * 30269);
  std::linear_congruential_engine<std::uint_fast32_t, 172, 0, 30307> wy(1234);
  std::linear_congruential_engine<std::uint_fast32_t, 170, 0, 30323> wz(5678);
  std::array<std::uint32_t, 128> table;
  for (auto& entry : table) entry = mixed();
  const std::vector<std::pair<Factory, std::function<Step()>>> cases = {
      {make<LGM_simple>, [&] { return word31(lgm()); }},
      {make<FM>, [&] { return word31(fm()); }},
      {make<MultWithCarry>,
       [&] {
         const std::uint64_t p = 2083801278 * x + c;
         c = p >> 32;
         return word32(x = p & 0xFFFFFFFFU);
       }},
      {make<WH>,
       [&] {
         double u = (wx() / 30269.0 + wy() / 30307.0) + wz() / 30323.0;
         u -= std::floor(u);
         return Step{u, static_cast<unsigned long>(u * 0x1p32)};
       }},
      {make<LGM_mixed>,
       [&] {
         const auto j = static_cast<int>(mixed() * 0x1p-31 * 128);
         const std::uint32_t y = table[j];
         table[j] = mixed();
         return word31(y);
       }},
  };
  for (const auto& [factory, oracle] : cases) {
    const std::unique_ptr<Random> g = factory(s);
    SCOPED_TRACE(g->Name());
    for (int i = 0; i < 10000; ++i) {
      const Step step = oracle();
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

// Outside (0, 1), NaN, and the seed words that freeze a generator are
// refused; the seeds next to them are taken.
TEST(UniformGenerators, RefuseSeedsOutOfRange) {
  const double word_0 = 0x1p-32, word_1 = 0x1p-31, word_top = 1 - 0x1p-30 /* 2^31 - 2 */,
               word_max = 1 - 0x1p-53 /* 2^31 - 1 */;
  struct Case {
    const char* name;
    Factory make;
    std::vector<double> refused, taken;
  };
  const Case cases[] = {
      {"LGM_base", make<LGM_base>, {word_0, word_max}, {word_1, word_top}},
      {"LGM_simple", make<LGM_simple>, {word_0, word_max}, {word_1, word_top}},
      {"LGM_mixed", make<LGM_mixed>, {word_0, word_max}, {word_1, word_top}},
      {"Fishman Moore", make<FM>, {word_0, word_max}, {word_1, word_top}},
      {"MotherOfAll", make<MotherOfAll>, {word_0}, {word_1, word_max}},
      {"Wichmann Hill", make<WH>, {}, {1e-300, word_max}},
      {"MultWithCarry", make<MultWithCarry>, {}, {1e-300, word_max}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_STREQ(c.make(0.5)->Name(), c.name);
    std::vector<double> refused = {0.0, 1.0, -0.5, 1.5, std::numeric_limits<double>::quiet_NaN()};
    refused.insert(refused.end(), c.refused.begin(), c.refused.end());
    for (double s : refused)
      EXPECT_TRUE(
          contains(thrown_message<Logic_error>([&] { c.make(s); }), "Vorand: seed out of range"))
          << s;
    for (double s : c.taken) EXPECT_NO_THROW(c.make(s)) << s;
  }
}

namespace {

struct Generator {
  Factory make;
  const char* file;
  std::size_t size;  // 21 bytes of tags and newline, and the digits
};
const Generator mt{make<MT>, "mt19937.txt", 5021}, lgm{make<LGM_simple>, "lgm.txt", 29},
    mixed{make<LGM_mixed>, "lgm_mix.txt", 29}, wh{make<WH>, "wh.txt", 45},
    mother{make<MotherOfAll>, "mother.txt", 101}, mwc{make<MultWithCarry>, "multwc.txt", 37},
    fm{make<FM>, "fm.txt", 29};
const Generator* const generators[] = {&mt, &lgm, &mixed, &wh, &mother, &mwc, &fm};
const char* const fails = "Vorand: seed file verification fails";

std::vector<double> draws(int k) {
  std::vector<double> values;
  for (int i = 0; i < k; ++i) values.push_back(Random::RNG->Next());
  return values;
}

class SeedFile : public testing::Test {
 protected:
  SeedFile() { into(""); }
  ~SeedFile() override { Random::SetDirectory(""); }
  void into(const std::string& sub) { Random::SetDirectory((dir.path() / sub).string().c_str()); }
  std::string file(const char* name) const { return vordel_test::read_file(dir / name); }
  vordel_test::TempDir dir;
};
using SeedFileDeathTest = SeedFile;

}  // namespace

// Saved before any draw (MotherOfAll fills its sequences first) and again in
// mid-stream (MT in mid-block), a restore repeats the draws after the save.
// LGM_mixed stores no table but refills it: two restores draw alike.
TEST_F(SeedFile, RestoreRepeatsTheDrawsAfterTheSave) {
  for (const Generator* gen : generators) {
    const std::unique_ptr<Random> g = gen->make(0.3);
    SCOPED_TRACE(g->Name());
    Random::Set(*g);
    for (int round = 0; round < 2; ++round) {
      Random::CopySeedToDisk();
      ASSERT_EQ(file(gen->file).size(), gen->size);
      const std::vector<double> after_save = draws(1000);
      Random::CopySeedFromDisk(false);
      const std::vector<double> after_restore = draws(1000);
      if (gen != &mixed) {
        EXPECT_EQ(after_restore, after_save);
      }
      Random::CopySeedFromDisk(false);
      EXPECT_EQ(draws(1000), after_restore);
    }
  }
}

TEST_F(SeedFile, WrittenByteForByte) {
  LGM_simple(0x1p-31).CSTD();
  EXPECT_EQ(file("lgm.txt"), "!Vorand03!00000001!Vorand03!\n");
  MultWithCarry(0xABCDEF12p-32).CSTD();
  EXPECT_EQ(file("multwc.txt"), "!Vorand03!ABCDEF120012D687!Vorand03!\n");
  MT(0.12345).CSTD();  // the 624 words from 530213712 in order, then the index 624
  EXPECT_EQ(file("mt19937.txt").substr(10, 8) + file("mt19937.txt").substr(5002, 8),
            "1F9A6B5000000270");
}

// A refused file leaves the state as it was and does not arm the saving
// destructor; an accepted one read with true does.  Refused too: states that
// stay put for ever, or that no generator reaches.
TEST_F(SeedFile, ReadTakesOnlyWholeFilesOfReachableStates) {
  const std::string tag = "!Vorand03!", ok;
  auto times = [](int n, const std::string& word) {
    std::string s;
    while (n--) s += word;
    return s;
  };
  const struct {
    const Generator& gen;
    std::string body, error;
  } cases[] = {
      {lgm, tag + "0000\n 0002 " + tag, ok},
      {lgm, tag + "7FFFFFFE" + tag, ok},
      {lgm, tag + "0000000a" + tag, "vorand: invalid character in unhex"},
      {lgm, tag + "00000001!Vorand04!", fails},
      {lgm, "Vorand03!00000001" + tag, fails},
      {lgm, "", fails},
      {lgm, tag + "00000000" + tag, fails},
      {lgm, tag + "7FFFFFFF" + tag, fails},
      {mixed, tag + "7FFFFFFF" + tag, fails},
      {fm, tag + "00000000" + tag, fails},
      {fm, tag + "7FFFFFFF" + tag, fails},
      {mt, tag + times(624, "00000001") + "80000000" + tag, fails},
      {mt, tag + times(625, "00000000") + tag, fails},
      {mt, tag + "80000000" + times(624, "00000000") + tag, ok},
      {mwc, tag + "0000000000000000" + tag, fails},
      {mwc, tag + "FFFFFFFF7C3448BD" + tag, fails},
      {mwc, tag + "000000017C3448BE" + tag, fails},
      {mwc, tag + "000000007C3448BD" + tag, ok},
      {wh, tag + times(3, "00000000") + tag, fails},
      {wh, tag + "0000763D" + times(2, "00000001") + tag, fails},
      {wh, tag + "00000000" + times(2, "00000001") + tag, ok},
      {mother, tag + times(20, "0000") + tag, fails},
      {mother, tag + times(17, "0000") + "0001" + times(2, "0000") + tag, ok},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.body.substr(0, 40));
    const double unchanged = c.gen.make(0.3)->Next();
    std::unique_ptr<Random> g = c.gen.make(0.3);
    write_file(dir / c.gen.file, c.body);
    const std::string error = thrown_message<Runtime_error>([&] { g->CSFD(true); });
    EXPECT_TRUE(c.error.empty() ? error == "<nothing thrown>" : contains(error, c.error)) << error;
    EXPECT_EQ(g->Next() == unchanged, !c.error.empty());
    g.reset();
    EXPECT_EQ(file(c.gen.file) == c.body, !c.error.empty());
  }
  std::filesystem::remove(dir / "fm.txt");
  EXPECT_TRUE(contains(thrown_message<Runtime_error>([] { FM(0.3).CSFD(false); }),
                       "Vorand: can't open seed file"));
}

// Cut anywhere before the end of the closing tag, a file changes nothing.
TEST_F(SeedFile, ReadOfACutFileChangesNothing) {
  WH(0.3).CSTD();
  const std::string whole = file("wh.txt");
  for (std::size_t n = 10; n < whole.size() - 1; ++n) {
    write_file(dir / "wh.txt", whole.substr(0, n));
    WH g(0.7), same(0.7);
    EXPECT_ANY_THROW(g.CSFD(false)) << n;
    EXPECT_EQ(g.Next(), same.Next()) << n;
  }
}

TEST_F(SeedFile, WriteKeepsAnyFileThatIsNotASeedFile) {
  FM g(0.3);
  Random::Set(g);
  write_file(dir / "fm.txt", "precious\n");
  EXPECT_TRUE(contains(thrown_message<Runtime_error>([] { Random::CopySeedToDisk(); }), fails));
  EXPECT_EQ(file("fm.txt"), "precious\n");
  write_file(dir / "fm.txt", "");
  Random::CopySeedToDisk();
  EXPECT_EQ(file("fm.txt").size(), 29u);
  Random::SetDirectory("");
  for (auto copy : {+[] { Random::CopySeedToDisk(); }, +[] { Random::CopySeedFromDisk(false); }})
    EXPECT_TRUE(contains(thrown_message<Logic_error>(copy), "Vorand: directory not defined"));
}

// An armed generator saves its seed when it goes; when it cannot, it says so
// on standard error and nothing escapes.  Either way the placeholder is
// current again.
TEST_F(SeedFile, DestructorsSaveArmedSeedsAndLetNothingEscape) {
  for (const Generator* gen : generators) {
    for (const bool missing_dir : {false, true}) {
      std::unique_ptr<Random> g = gen->make(0.3);
      const std::string name = g->Name();
      SCOPED_TRACE(name + (missing_dir ? " into a missing directory" : ""));
      Random::Set(*g);
      Random::CopySeedToDisk();
      Random::CopySeedFromDisk(true);
      g->Next();
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

// A file that cannot grow past 100 bytes (a full disk, in effect) makes the
// write throw instead of leaving a cut file reported as saved.
TEST_F(SeedFileDeathTest, WriteThatDoesNotReachTheDiskThrows) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        rlimit limit;
        limit.rlim_cur = limit.rlim_max = 100;
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
        const std::string error = thrown_message<Runtime_error>([] { MT(0.3).CSTD(); });
        std::filesystem::remove_all(dir.path());
        std::exit(contains(error, "Vorand: can't access seed file") ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}
