// The copying simulation: segments, source picks, mutation flips and the
// order and number of draws, followed draw by draw with a scripted
// generator; the default theta; and one statistical check of the simulated
// allele frequencies under the Mersenne Twister.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "common/scripted_random.h"
#include "common/test_support.h"
#include "panel_helpers.h"
#include "random/vorand1.h"
#include "sim/data.h"
#include "sim/disease_locus.h"
#include "sim/parameters.h"
#include "sim/pick_candidate.h"
#include "sim/vordel.h"

namespace {

using vordel_test::make_panel;
using vordel_test::TempDir;

VordelParameters make_params(const TempDir& dir, int ncontrols, int ncases, double theta) {
  return vordel_test::make_params(dir.path(), ncontrols, ncases, theta);
}

// The seed of the first output line "Random seed set to <seed>" whose seed is
// written with digits, '.', 'e', '+' and '-' only; empty when there is none.
std::string reported_seed(const std::string& out) {
  const std::string opening = "\nRandom seed set to ";
  for (auto at = out.find(opening); at != std::string::npos; at = out.find(opening, at + 1)) {
    const auto seed = at + opening.size();
    const auto end = out.find_first_not_of("0123456789.e+-", seed);
    if (end != std::string::npos && end > seed && out[end] == '\n')
      return out.substr(seed, end - seed);
  }
  return "";
}

std::vector<std::vector<int>> segments_of(const Vordel& vordel, int K) {
  std::vector<std::vector<int>> segments{{99}};  // must be cleared
  vordel.simulate_crossovers(vordel.panel_data.snps_data, K, segments);
  return segments;
}

TEST(SimulateCrossovers, SwitchesWhereTheDrawExceedsTheStayProbability) {
  TempDir dir;
  // Gaps 10, 0, 20 with K = 10: the stay probabilities are exp(-1),
  // exp(0) = 1 and exp(-2).
  const Vordel vordel(
      make_params(dir, 1, 0, 1.0),
      make_panel({100, 200, 300, 400}, {0.0, 10.0, 10.0, 30.0}, {{0}, {0}, {0}, {0}}));
  struct Case {
    std::vector<double> draws;
    std::vector<std::vector<int>> segments;
  };
  const std::vector<Case> cases = {
      // exp(-1) = 0.3679: 0.37 switches; a draw of 0.999 never exceeds 1;
      // 0.135 stays below exp(-2) = 0.1353.
      {{0.37, 0.999, 0.135}, {{0}, {1, 2, 3}}},
      {{0.36, 0.5, 0.14}, {{0, 1, 2}, {3}}},
      {{0.9, 0.9, 0.9}, {{0}, {1, 2}, {3}}},
      {{0.1, 0.1, 0.1}, {{0, 1, 2, 3}}},
  };
  for (const Case& c : cases) {
    ScriptedRandom script(c.draws);
    EXPECT_EQ(segments_of(vordel, 10), c.segments);
    EXPECT_EQ(script.draws(), 3u);  // one draw per SNP after the first
  }
}

// Draws one step below, at and one step above the stay probability
// exp(-gap / K), for gaps from tiny to large: a switch exactly when the draw
// exceeds it.
TEST(SimulateCrossovers, DecisionAtTheStayProbabilityIsExact) {
  TempDir dir;
  for (const double gap : {1e-13, 1e-9, 3e-7, 1e-3, 0.5, 3.0}) {
    const Vordel vordel(make_params(dir, 1, 0, 1.0),
                        make_panel({1, 2}, {10.0, 10.0 + gap}, {{0}, {0}}));
    const double stay = std::exp(-((10.0 + gap) - 10.0) / 7.0);
    for (const double u : {std::nextafter(stay, 0.0), stay, std::nextafter(stay, 2.0)}) {
      if (u >= 1.0) continue;
      ScriptedRandom script({u});
      const std::size_t expected = u > stay ? 2 : 1;
      EXPECT_EQ(segments_of(vordel, 7).size(), expected) << "gap " << gap << " draw " << u;
    }
  }
}

TEST(SimulateCrossovers, EqualOrDecreasingGeneticPositionsNeverSwitch) {
  TempDir dir;
  const Vordel vordel(make_params(dir, 1, 0, 1.0),
                      make_panel({1, 2, 3}, {5.0, 5.0, 4.0}, {{0}, {0}, {0}}));
  ScriptedRandom script({0.999999, 0.999999});
  EXPECT_EQ(segments_of(vordel, 1), (std::vector<std::vector<int>>{{0, 1, 2}}));
}

TEST(SimulateCrossovers, SingleSnpMakesOneSegmentWithoutDraws) {
  TempDir dir;
  const Vordel vordel(make_params(dir, 1, 0, 1.0), make_panel({7}, {3.0}, {{0, 1}}));
  ScriptedRandom script({});
  EXPECT_EQ(segments_of(vordel, 2), (std::vector<std::vector<int>>{{0}}));
  EXPECT_EQ(script.draws(), 0u);
}

// Panel of two haplotypes at three SNPs far apart genetically.
Data two_haplotype_panel() {
  return make_panel({10, 20, 30}, {0.0, 100.0, 200.0}, {{0, 1}, {1, 0}, {0, 1}});
}

TEST(SimulateAllAlleles, ControlPairFollowsTheDrawsInOrder) {
  TempDir dir;
  // theta 1: mu_0 = 0.5 / (2 + 1) = 1/6 and mu_1 = 0.5 / (3 + 1) = 0.125.
  Vordel vordel(make_params(dir, 1, 0, 1.0), two_haplotype_panel());
  ScriptedRandom script({
      // switches, place 0 (stay probability exp(-50)): SNP 1 switches, SNP 2 not
      0.5,
      1e-30,
      // switches, place 1 (exp(-100/3)): none
      1e-20,
      1e-20,
      // sources, place 0 (K = 2, weights 0.5): 0.25 -> 0, 0.75 -> 1
      0.25,
      0.75,
      // source, place 1 (K = 3): 0.9 -> candidate 2, the pair's first haplotype
      0.9,
      // mutations, place 0: flip only where the draw is below 1/6
      0.5,
      0.1,
      0.9,
      // mutations, place 1: flip only where the draw is below 0.125
      0.2,
      0.05,
      0.99,
  });
  vordel.simulate_all_alleles();
  EXPECT_EQ(script.remaining(), 0u);
  // Place 0: SNP 0 from panel 0 (0), SNPs 1-2 from panel 1 (0, 1), SNP 1 flipped.
  // Place 1: all from place 0 (0 1 1), SNP 1 flipped.
  EXPECT_EQ(vordel.simulated_haplotypes, (std::vector<std::vector<int>>{{0, 1, 1}, {0, 0, 1}}));
  EXPECT_EQ(vordel.simulated_phenotypes, std::vector<int>{0});
  EXPECT_EQ(vordel.num_simulated_haps, 2);
}

// The source pick of both the copying simulation (equal weights) and the
// case disease model (here the conditional weights 0.9, 0.9, 0.9, 0.1 over
// 2.8, cumulative 0.321, 0.643, 0.964, 1).  A draw of 0 is not positive
// before any subtraction (-1); one above every cumulative weight takes the
// last candidate, and so does 1 less three thirds, which stays about 1e-16
// above 0; 0.5 less 0.5 reaches 0 at the first.
TEST(PickCandidate, FirstCandidateWhereTheDrawLessTheWeightsReachesZero) {
  const std::vector<double> w{0.9 / 2.8, 0.9 / 2.8, 0.9 / 2.8, 0.1 / 2.8};
  const std::vector<double> halves(2, 1.0 / 2), thirds(3, 1.0 / 3);
  const struct {
    double u;
    std::vector<double> weights;
    int source;
  } cases[] = {{0.3, w, 0},         {0.33, w, 1},     {0.96, w, 2},      {0.97, w, 3},
               {0.99999, w, 3},     {0.0, w, -1},     {1.5, w, 3},       {0.0, halves, -1},
               {0.4999, halves, 0}, {0.5, halves, 0}, {0.75, halves, 1}, {1.0, thirds, 2}};
  for (const auto& c : cases) {
    EXPECT_EQ(pick_candidate(c.u, c.weights), c.source) << c.u;
    if (c.weights == w) continue;
    EXPECT_EQ(pick_candidate(c.u, EqualWeights(static_cast<int>(c.weights.size()))), c.source)
        << c.u;
  }
}

// The pick among equal weights takes the steps that stay in one binade of
// the draw together; it must give the candidate of one subtraction at a
// time for every draw.  Counts from 1 to past the largest runs (where ties
// of the rounding occur: the weight of 3 candidates is an odd multiple of
// the ulp below 0.5), draws of the generator's form and ones at, and next
// to, multiples of the weight, and draws no generator gives.
TEST(PickCandidate, EqualWeightsTakeTheCandidateOfOneStepAtATime) {
  const auto one_at_a_time = [](double u, int count) {
    if (u <= 0.0) return -1;
    const double w = 1.0 / count;
    for (int i = 0; i < count; ++i) {
      u -= w;
      if (u <= 0.0) return i;
    }
    return count - 1;
  };
  std::mt19937 random(99);
  const auto uniform = [&random] { return (random() + 0.5) * 0x1p-32; };
  std::vector<int> counts{1, 2, 3, 5, 6, 7, 12, 600, 601, 1024, 4599, 4600, 40600, 99991};
  for (int extra = 0; extra < 20; ++extra) counts.push_back(1 + static_cast<int>(random() % 60000));
  for (const int count : counts) {
    std::vector<double> draws{0x1p-33,
                              1.0 - 0x1p-33,
                              1.0,
                              1.5,
                              1e300,
                              1e-300,
                              4.9e-324,
                              0.0,
                              -0.25,
                              std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::quiet_NaN()};
    for (int j = 0; j < 200; ++j) draws.push_back(uniform());
    for (int j = 0; j < 40; ++j) {
      const double at = static_cast<double>(random() % (count + 1)) / count;
      for (const double u : {std::nextafter(at, 0.0), at, std::nextafter(at, 2.0)})
        draws.push_back(u);
    }
    for (const double u : draws)
      ASSERT_EQ(pick_candidate(u, EqualWeights(count)), one_at_a_time(u, count))
          << count << " candidates, draw " << u;
  }
  EXPECT_EQ(pick_candidate(0.5, EqualWeights(0)), -1);
}

TEST(SimulateAllAllelesDeathTest, SourcePickBelowZeroStopsAtFilling) {
  TempDir dir;
  Vordel vordel(make_params(dir, 1, 0, 0.0), two_haplotype_panel());
  // A draw of 0 picks no candidate (-1); the filling step refuses it.
  EXPECT_DEATH(
      {
        ScriptedRandom script({1e-30, 1e-30, 1e-30, 1e-30, 0.0, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5});
        vordel.simulate_all_alleles();
      },
      "c >= 0");
}

TEST(SimulateAllAlleles, DrawCountPerControlPair) {
  TempDir dir;
  // Five SNPs, three control pairs; each pair takes 2 x 4 switch draws, one
  // source draw per segment and 2 x 5 mutation draws.  Draws of 0.9 switch
  // at every SNP (5 segments each); the source draws then take 0.9 too.
  Vordel vordel(make_params(dir, 3, 0, 1.0),
                make_panel({1, 2, 3, 4, 5}, {0, 1e3, 2e3, 3e3, 4e3},
                           {{0, 1, 1}, {1, 0, 1}, {0, 0, 1}, {1, 1, 0}, {0, 1, 0}}));
  const std::size_t per_pair = 8 + 10 + 10;
  ScriptedRandom script(std::vector<double>(3 * per_pair, 0.9));
  vordel.simulate_all_alleles();
  EXPECT_EQ(script.draws(), 3 * per_pair);
  ASSERT_EQ(vordel.simulated_haplotypes.size(), 6u);
  for (const auto& hap : vordel.simulated_haplotypes) EXPECT_EQ(hap.size(), 5u);
  EXPECT_EQ(vordel.simulated_phenotypes, (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(vordel.num_simulated_haps, 6);
}

TEST(SimulateAllAlleles, CasePairDrawsInOrder) {
  TempDir dir;
  // Disease SNP 1 (frequency 0.5, all risks 1): with no controls every
  // pair of disease alleles has probability 0.25.
  VordelParameters params = make_params(dir, 0, 1, 1.0);
  params.dl[20] = DiseaseLocus(1, 1.0, 1.0);
  Vordel vordel(params, make_panel({10, 20, 30}, {0.0, 100.0, 200.0}, {{0, 1}, {0, 1}, {1, 0}}));
  vordel.dl_indices = {1};
  vordel.dl_snps = {&vordel.panel_data.snps_data.at(20)};
  ScriptedRandom script({
      // switches: place 0 at SNPs 1 and 2 (three segments, the middle one
      // holds the disease SNP); place 1 none (one segment holding it)
      0.5,
      0.5,
      1e-30,
      1e-30,
      // sources of the segments without the disease SNP: place 0 only
      0.25,
      0.75,
      // case model: the disease-allele pair (0.6 -> place 0 allele 1,
      // place 1 allele 0), then one source per disease segment: place 0
      // (weights 1/6, 5/6) 0.1 -> panel 0; place 1 (weights 7/9, 1/9, 1/9)
      // 0.95 -> the pair's first haplotype
      0.6,
      0.1,
      0.95,
      // mutations of the SNPs not set by the case model; mu_1 = 0.125
      0.5,
      0.5,
      0.05,
      0.5,
  });
  vordel.simulate_all_alleles();
  EXPECT_EQ(script.remaining(), 0u);
  EXPECT_EQ(vordel.simulated_haplotypes, (std::vector<std::vector<int>>{{0, 1, 0}, {1, 0, 0}}));
  EXPECT_EQ(vordel.simulated_phenotypes, std::vector<int>{1});
}

// While the Mersenne Twister is current, the simulation takes its values
// straight from the generator's block; any other current generator is called
// once per draw.  A generator derived from MT that counts its calls takes
// the second path over the same stream: both must give the same haplotypes
// and leave the stream at the same place.  The panel has 1,500 SNPs (more
// than two blocks of values per haplotype), switches at most SNPs for the
// first pairs and rarely later, and four disease loci, two of them close
// together, so that groups of one and of two loci occur.
TEST(SimulateAllAlleles, InlineDrawsGiveTheSameRunAsOneCallPerDraw) {
  class CountingMT : public MT {
   public:
    using MT::MT;
    double Next() override {
      ++calls;
      return MT::Next();
    }
    long calls = 0;
  };
  TempDir dir;
  const int N = 30;
  const int snps = 1500;
  std::mt19937 alleles_of(7);
  std::vector<int> positions;
  std::vector<double> genetic;
  std::vector<std::vector<int>> alleles;
  for (int l = 0; l < snps; ++l) {
    positions.push_back(100 + l);
    genetic.push_back(l % 100 == 0 ? 10.0 * l : 0.02 * l);
    std::vector<int> column(N);
    for (int& a : column) a = static_cast<int>(alleles_of() % 2);
    column[0] = 0;
    column[1] = 1;  // every SNP is polymorphic
    alleles.push_back(column);
  }
  VordelParameters params = make_params(dir, 40, 60, -1.0);
  params.theta = 0.3;
  const int loci[] = {200, 700, 702, 1400};
  for (const int l : loci) params.dl[100.0 + l] = DiseaseLocus(1, 2.0, 3.0);
  const Data panel = make_panel(positions, genetic, alleles);

  std::vector<std::vector<int>> haplotypes[2];
  double next[2];
  for (int path = 0; path < 2; ++path) {
    Vordel vordel(params, panel);
    for (const int l : loci) {
      vordel.dl_indices.push_back(l);
      vordel.dl_snps.push_back(&vordel.panel_data.snps_data.at(100 + l));
    }
    if (path == 0) {
      MT generator(0.4242);
      Random::Set(generator);
      vordel.simulate_all_alleles();
      next[path] = generator.Next();
    } else {
      CountingMT generator(0.4242);
      Random::Set(generator);
      vordel.simulate_all_alleles();
      EXPECT_GT(generator.calls, 100L * 2 * snps);  // a call for every draw
      next[path] = generator.Next();
    }
    haplotypes[path] = vordel.simulated_haplotypes;
    EXPECT_EQ(vordel.simulated_phenotypes.size(), 100u);
  }
  ASSERT_EQ(haplotypes[0].size(), 200u);
  EXPECT_TRUE(haplotypes[0] == haplotypes[1]);
  EXPECT_EQ(next[0], next[1]);
}

TEST(SimulateAllAlleles, NoIndividualsSimulateNothing) {
  TempDir dir;
  Vordel vordel(make_params(dir, 0, 0, 1.0), two_haplotype_panel());
  ScriptedRandom script({});
  vordel.simulate_all_alleles();
  EXPECT_TRUE(vordel.simulated_haplotypes.empty());
  EXPECT_TRUE(vordel.simulated_phenotypes.empty());
}

TEST(SetTheta, DefaultIsTheInverseHarmonicSum) {
  TempDir dir;
  Vordel vordel(make_params(dir, 1, 0, -1.0), make_panel({1}, {0.0}, {{0, 1, 0, 1}}));
  testing::internal::CaptureStdout();
  vordel.set_theta();
  const std::string out = testing::internal::GetCapturedStdout();
  // 1 / (1 + 1/2 + 1/3 + 1/4) = 12/25.
  EXPECT_DOUBLE_EQ(vordel.params.theta, 0.48);
  EXPECT_EQ(out, "theta not set, so setting to a default value of 0.48\n");
  EXPECT_EQ(vordel_test::read_file(dir / "run.summary"), out);
}

// Each new haplotype copies a uniformly chosen earlier one (panel or
// simulated) at a SNP whose neighbours are genetically far away, so with
// theta 0 the simulated allele-1 count at a SNP of panel frequency f = a/N
// follows the Polya urn: beta-binomial over M haplotypes with parameters
// a and N - a, of mean f and variance of the frequency
// f (1 - f) (N + M) / (M (N + 1)).  Over 200 independent SNPs the mean of
// the standardised deviations has standard deviation 1/sqrt(200) = 0.071
// and the mean square about sqrt(2/200) = 0.1; the bounds below lie beyond
// five standard deviations.
TEST(SimulateAllAlleles, ControlFrequenciesFollowThePanel) {
  TempDir dir;
  const int N = 100;
  const int snps = 200;
  const int controls = 500;
  std::vector<int> positions;
  std::vector<double> genetic;
  std::vector<std::vector<int>> alleles;
  for (int l = 0; l < snps; ++l) {
    positions.push_back(1000 + l);
    genetic.push_back(1e7 * l);  // every SNP starts a new segment
    const int ones = 5 + (l * 37) % 91;
    std::vector<int> column(N, 0);
    for (int i = 0; i < ones; ++i) column[(i * 7 + l) % N] = 1;
    alleles.push_back(column);
  }
  Vordel vordel(make_params(dir, controls, 0, 0.0), make_panel(positions, genetic, alleles));
  {
    MT generator(0.12345);
    Random::Set(generator);
    vordel.simulate_all_alleles();
  }
  const double M = 2.0 * controls;
  double sum_z = 0.0;
  double sum_z2 = 0.0;
  int l = 0;
  for (const auto& entry : vordel.panel_data.snps_data) {
    const double f = entry.second.freq;
    double count = 0.0;
    for (const auto& hap : vordel.simulated_haplotypes) count += hap[l];
    const double sd = std::sqrt(f * (1 - f) * (N + M) / (M * (N + 1)));
    const double z = (count / M - f) / sd;
    sum_z += z;
    sum_z2 += z * z;
    ++l;
  }
  EXPECT_LT(std::fabs(sum_z / snps), 0.36);
  EXPECT_GT(sum_z2 / snps, 0.5);
  EXPECT_LT(sum_z2 / snps, 1.5);
}

// Whole runs of the program on the example panel: with "-nrs" two runs give
// identical files and report the fixed seed.
TEST(SimulateHaplotypesRun, FixedSeedRunsAreReproducible) {
  TempDir dir;
  const std::string examples = std::string(VORDEL_SOURCE_DIR) + "/examples/example";
  std::vector<std::string> outputs[2];
  for (int run = 0; run < 2; ++run) {
    const std::string out = "run" + std::to_string(run) + "/sim";
    const auto result = vordel_test::run_vordel2(
        {"-h", examples + ".haps", "-l", examples + ".legend", "-m", examples + ".map", "-o", out,
         "-n", "30", "0", "-dl", "250345", "1", "1.5", "2.25", "-nrs"},
        dir.path());
    ASSERT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_NE(result.out.find("\nRandom seed set to 0.12345\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("\nSimulating haplotypes ... done\n"), std::string::npos);
    for (const char* suffix : {".controls.haps", ".controls.gen", ".legend", ".controls.sample"})
      outputs[run].push_back(vordel_test::read_file(dir / (out + suffix)));
  }
  EXPECT_EQ(outputs[0], outputs[1]);
  // 30 controls: 60 alleles on each of the 1,000 haplotype lines.
  EXPECT_EQ(std::count(outputs[0][0].begin(), outputs[0][0].end(), '\n'), 1000);
  EXPECT_EQ(outputs[0][0].find('\n'), 120u);
}

// Without "-nrs" the seed is drawn from the clock and reported with six
// significant digits.
TEST(SimulateHaplotypesRun, ClockSeedIsReported) {
  TempDir dir;
  vordel_test::write_panel_files(dir.path(), {500, 600}, {{0, 1}, {1, 0}}, {{400, 0.5}});
  std::vector<std::string> args = vordel_test::panel_args(dir.path());
  for (const char* word : {"-o", "sim", "-n", "2", "0", "-dl", "500", "1", "2", "3"})
    args.push_back(word);
  const auto result = vordel_test::run_vordel2(args, dir.path());
  ASSERT_EQ(result.status, 0) << result.out << result.err;
  const std::string seed_text = reported_seed(result.out);
  ASSERT_NE(seed_text, "") << result.out;
  const double seed = std::stod(seed_text);
  EXPECT_GE(seed, 0.0);
  EXPECT_LE(seed, 1.0);
  std::ostringstream six_digits;
  six_digits << seed;
  EXPECT_EQ(six_digits.str(), seed_text);
}

// The smallest run: one SNP, a one-line genetic map, no individuals.  Under
// the sanitizer build this checks that nothing reads or writes outside a
// vector on the way.
TEST(SimulateHaplotypesRun, OneSnpOneMapLineNoIndividuals) {
  TempDir dir;
  vordel_test::write_panel_files(dir.path(), {500}, {{0, 1, 1}}, {{400, 0.5}});
  std::vector<std::string> args = vordel_test::panel_args(dir.path());
  for (const char* word : {"-o", "sim", "-n", "0", "0", "-dl", "500", "1", "2", "3", "-nrs"})
    args.push_back(word);
  const auto result = vordel_test::run_vordel2(args, dir.path());
  ASSERT_EQ(result.status, 0) << result.out << result.err;
  EXPECT_EQ(vordel_test::read_file(dir / "sim.controls.haps"), "\n");
  EXPECT_EQ(vordel_test::read_file(dir / "sim.cases.gen"), "snp_0 rs500 500 A G\n");
  EXPECT_EQ(vordel_test::read_file(dir / "sim.cases.sample"), "ID_1 ID_2 missing pheno\n0 0 0 B\n");
  // theta defaults to 1 / (1 + 1/2 + 1/3) for three panel haplotypes.
  EXPECT_NE(result.out.find("theta not set, so setting to a default value of 0.545455\n"),
            std::string::npos);
}

TEST(SimulateHaplotypesRun, OneSnpCasesWithoutControls) {
  TempDir dir;
  vordel_test::write_panel_files(dir.path(), {500}, {{0, 1, 1}}, {{400, 0.5}});
  std::vector<std::string> args = vordel_test::panel_args(dir.path());
  for (const char* word : {"-o", "sim", "-n", "0", "3", "-dl", "500", "1", "2", "3", "-nrs"})
    args.push_back(word);
  const auto result = vordel_test::run_vordel2(args, dir.path());
  ASSERT_EQ(result.status, 0) << result.out << result.err;
  const std::string haps = vordel_test::read_file(dir / "sim.cases.haps");
  EXPECT_EQ(haps.size(), 13u) << haps;  // six alleles, each with its blank, and the newline
  EXPECT_EQ(vordel_test::read_file(dir / "sim.controls.haps"), "\n");
}

}  // namespace
