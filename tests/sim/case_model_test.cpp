// The case disease model: control frequency tables, case distributions
// (worked by hand), grouping patterns and their caches, the draws of a case
// pair followed one by one, the refusal of a model without a distribution,
// a goodness-of-fit check of case genotypes, and whole runs of the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "common/scripted_random.h"
#include "common/test_support.h"
#include "panel_helpers.h"
#include "random/vorand1.h"
#include "sim/data.h"
#include "sim/disease_locus.h"
#include "sim/exceptions.h"
#include "sim/parameters.h"
#include "sim/vordel.h"

namespace {

using vordel_test::make_panel;
using vordel_test::TempDir;
using Groups = std::vector<std::vector<int>>;
using Alleles = std::vector<std::vector<int>>;

// A simulator over a panel of SNPs at positions 100, 200, ... with the given
// panel alleles (one row per SNP) and disease loci on the SNPs `loci` (SNP
// indices), each with risk allele and risks from `models`.
struct Model {
  int allele;
  double rr1;
  double rr2;
};

Vordel make_vordel(const TempDir& dir, const std::vector<std::vector<int>>& alleles,
                   const std::vector<int>& loci, const std::vector<Model>& models,
                   int ncontrols = 0) {
  std::vector<int> positions;
  std::vector<double> genetic;
  for (std::size_t l = 0; l < alleles.size(); ++l) {
    positions.push_back(100 * static_cast<int>(l + 1));
    genetic.push_back(0.0);
  }
  Vordel vordel(vordel_test::make_params(dir.path(), ncontrols, 1, 0.0),
                make_panel(positions, genetic, alleles));
  for (std::size_t k = 0; k < loci.size(); ++k) {
    vordel.params.dl[100.0 * (loci[k] + 1)] =
        DiseaseLocus(models[k].allele, models[k].rr1, models[k].rr2);
    vordel.dl_indices.push_back(loci[k]);
    vordel.dl_snps.push_back(&vordel.panel_data.snps_data.at(100 * (loci[k] + 1)));
  }
  vordel.num_simulated_haps = 0;
  return vordel;
}

// Probability of each entry of a case distribution: its key less the
// previous key.
std::vector<double> probabilities(const Vordel::CaseDistribution& dist) {
  std::vector<double> p;
  double previous = 0.0;
  for (const auto& entry : dist) {
    p.push_back(entry.first - previous);
    previous = entry.first;
  }
  return p;
}

TEST(CalculateControlHapFreq, RelativeCountsOverPanelAndControlsInSubsetOrder) {
  TempDir dir;
  const std::vector<std::vector<int>> panel{{0, 1, 1}, {0, 0, 0}, {1, 1, 0}};
  // With no controls the panel alone counts, each haplotype weighing 1/3.
  {
    Vordel vordel = make_vordel(dir, panel, {0}, {{1, 1.0, 1.0}});
    Vordel::FrequencyTable table{{{9}, 9.0}};  // must be cleared
    vordel.calculate_control_hap_freq({2, 0}, table);
    EXPECT_EQ(table,
              (Vordel::FrequencyTable{{{0, 1}, 1.0 / 3}, {{1, 0}, 1.0 / 3}, {{1, 1}, 1.0 / 3}}));
  }
  // One control pair joins (1/5 each); the case pair after it does not count.
  {
    Vordel vordel = make_vordel(dir, panel, {0}, {{1, 1.0, 1.0}}, 1);
    vordel.simulated_haplotypes = {{1, 1, 0}, {0, 0, 0}, {1, 1, 1}, {1, 1, 1}};
    vordel.num_simulated_haps = 4;
    Vordel::FrequencyTable table;
    vordel.calculate_control_hap_freq({2, 0}, table);
    ASSERT_EQ(table.size(), 4u);
    EXPECT_DOUBLE_EQ(table.at({0, 0}), 1.0 / 5);
    EXPECT_DOUBLE_EQ(table.at({0, 1}), 2.0 / 5);
    EXPECT_DOUBLE_EQ(table.at({1, 0}), 1.0 / 5);
    EXPECT_DOUBLE_EQ(table.at({1, 1}), 1.0 / 5);
  }
}

TEST(CalculateCaseHapFreq, OneLocusWorkedExample) {
  TempDir dir;
  // Allele 1 at frequency 0.25, risks 2 and 4: pair weights 0.5625, 0.375,
  // 0.375, 0.25 over a total of 1.5625.
  Vordel vordel = make_vordel(dir, {{0, 0, 0, 1}}, {0}, {{1, 2.0, 4.0}});
  const std::array<Groups, 2> groups = {{{{0}}, {{0}}}};
  Vordel::CaseDistribution dist;
  vordel.calculate_case_hap_freq(groups, dist);
  ASSERT_EQ(dist.size(), 4u);
  const double keys[4] = {0.36, 0.6, 0.84, 1.0};
  const Alleles pairs[4] = {{{0}, {0}}, {{0}, {1}}, {{1}, {0}}, {{1}, {1}}};
  int k = 0;
  for (const auto& entry : dist) {
    EXPECT_NEAR(entry.first, keys[k], 1e-15) << k;
    EXPECT_EQ(entry.second, pairs[k]) << k;
    ++k;
  }
  EXPECT_EQ(dist.rbegin()->first, 1.0);
  // The control table went into its cache under the SNP subset.
  EXPECT_EQ(vordel.control_hap_freq_cache.at({0}),
            (Vordel::FrequencyTable{{{0}, 0.75}, {{1}, 0.25}}));
}

TEST(CalculateCaseHapFreq, ConfigurationsArePerGroupProductsInLoopOrder) {
  TempDir dir;
  // Panel haplotypes over the two loci: (0,0) twice, (1,1) twice, (1,0) once.
  // Risks 1: each pair weighs the product of its group frequencies.
  Vordel vordel =
      make_vordel(dir, {{0, 0, 1, 1, 1}, {0, 0, 1, 1, 0}}, {0, 1}, {{1, 1.0, 1.0}, {1, 1.0, 1.0}});
  // Place 0: two singleton groups (locus 0: 0 .4, 1 .6; locus 1: 0 .6, 1 .4);
  // place 1: one group, only the haplotypes seen: (0,0) .4, (1,0) .2, (1,1) .4.
  const std::array<Groups, 2> groups = {{{{0}, {1}}, {{0, 1}}}};
  const std::vector<std::pair<std::vector<int>, double>> place0{
      {{0, 0}, 0.24}, {{0, 1}, 0.16}, {{1, 0}, 0.36}, {{1, 1}, 0.24}};
  const std::vector<std::pair<std::vector<int>, double>> place1{
      {{0, 0}, 0.4}, {{1, 0}, 0.2}, {{1, 1}, 0.4}};
  Vordel::CaseDistribution dist;
  vordel.calculate_case_hap_freq(groups, dist);
  ASSERT_EQ(dist.size(), 12u);
  const std::vector<double> p = probabilities(dist);
  auto entry = dist.begin();
  for (std::size_t i = 0; i < place0.size(); ++i) {
    for (std::size_t j = 0; j < place1.size(); ++j, ++entry) {
      const std::size_t k = i * place1.size() + j;
      EXPECT_EQ(entry->second, (Alleles{place0[i].first, place1[j].first})) << k;
      EXPECT_NEAR(p[k], place0[i].second * place1[j].second, 1e-15) << k;
      // (0,1) never occurs among the panel haplotypes, so place 1 never has it.
      EXPECT_NE(entry->second[1], (std::vector<int>{0, 1}));
    }
  }
  EXPECT_EQ(vordel.control_hap_freq_cache.size(), 3u);  // {0}, {1}, {0, 1}
}

TEST(CalculateCaseHapFreq, ZeroWeightPairsNeverDrawnAndAllZeroRefused) {
  TempDir dir;
  // Haplotypes (0,0) and (1,1) only.  Locus 0 risk allele 1, locus 1 risk
  // allele 0, every risk 0: only a haplotype (0,1) at both places has a
  // non-zero risk, and the panel has none.
  const std::vector<std::vector<int>> panel{{0, 0, 1, 1}, {0, 0, 1, 1}};
  const std::vector<Model> models{{1, 0.0, 0.0}, {0, 0.0, 0.0}};
  {
    Vordel vordel = make_vordel(dir, panel, {0, 1}, models);
    // Loci copied separately: (0,1) is possible, and takes all the mass; the
    // first (zero) pair keeps the key 0.
    const std::array<Groups, 2> groups = {{{{0}, {1}}, {{0}, {1}}}};
    Vordel::CaseDistribution dist;
    vordel.calculate_case_hap_freq(groups, dist);
    EXPECT_EQ(dist, (Vordel::CaseDistribution{{0.0, {{0, 0}, {0, 0}}}, {1.0, {{0, 1}, {0, 1}}}}));
  }
  for (const Groups& together : {Groups{{0, 1}}, Groups{{0}, {1}}}) {
    Vordel vordel = make_vordel(dir, panel, {0, 1}, models);
    const std::array<Groups, 2> groups = {{{{0, 1}}, together}};
    Vordel::CaseDistribution dist;
    try {
      vordel.calculate_case_hap_freq(groups, dist);
      ADD_FAILURE() << "no error for a model whose pairs all weigh zero";
    } catch (const GenericErrorException& e) {
      EXPECT_EQ(e.prefix, "Error encountered, program terminated: ");
      EXPECT_EQ(e.message,
                "every pair of haplotypes at the disease loci (positions 100, 200) found among "
                "the panel and control haplotypes has a relative risk of zero, so no case can "
                "be simulated.\n");
    }
  }
}

TEST(CalculateCaseHapFreq, RisksWhoseProductOverflowsAreRefused) {
  TempDir dir;
  // Each risk is finite, but a pair homozygous at both loci has risk 1e400.
  Vordel vordel =
      make_vordel(dir, {{0, 1}, {0, 1}}, {0, 1}, {{1, 1e200, 1e200}, {1, 1e200, 1e200}});
  const std::array<Groups, 2> groups = {{{{0}, {1}}, {{0}, {1}}}};
  Vordel::CaseDistribution dist;
  try {
    vordel.calculate_case_hap_freq(groups, dist);
    ADD_FAILURE() << "no error for risks whose product overflows";
  } catch (const GenericErrorException& e) {
    EXPECT_EQ(e.message,
              "the relative risks of the disease loci at positions 100, 200 multiply to a value "
              "too large to compute, so no case can be simulated.\n");
  }
}

// Grouping of the loci by copying segment, read from the pattern key and
// the SNP subsets of the control tables.
TEST(SimulateDiseaseAlleles, GroupingPatternsAndKeys) {
  struct Case {
    std::vector<int> states0;
    std::vector<int> states1;
    std::string key;
    std::vector<std::vector<int>> subsets;
  };
  const std::vector<Case> cases{
      {{-2}, {-2}, "1/1/", {{0}}},
      // loci 0, 1 share a segment at place 0; all three share one at place 1
      {{-2, -2, -3}, {-3, -3, -3}, "2.1/3/", {{0, 1}, {2}, {0, 1, 2}}},
      // states P P Q Q at place 0, P Q Q R at place 1
      {{-2, -2, -3, -3}, {-2, -3, -3, -4}, "2.2/1.2.1/", {{0, 1}, {2, 3}, {0}, {1, 2}, {3}}},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const std::size_t L = c.states0.size();
    std::vector<std::vector<int>> panel(L, {0, 1, 1, 0});
    std::vector<int> loci;
    std::vector<Model> models;
    for (std::size_t k = 0; k < L; ++k) {
      loci.push_back(static_cast<int>(k));
      models.push_back({1, 1.5, 2.0});
    }
    Vordel vordel = make_vordel(dir, panel, loci, models);
    std::vector<std::vector<int>> states{c.states0, c.states1};
    const std::size_t groups = std::count(c.key.begin(), c.key.end(), '.') + 2;
    ScriptedRandom script(std::vector<double>(1 + groups, 0.5));
    Alleles disease_alleles;
    const std::array<double, 2> mu = {0.01, 0.01};
    vordel.simulate_disease_alleles(states, disease_alleles, mu);

    EXPECT_EQ(script.remaining(), 0u) << c.key;
    ASSERT_EQ(vordel.case_hap_freq_cache.size(), 1u);
    EXPECT_EQ(vordel.case_hap_freq_cache.begin()->first, c.key);
    std::vector<std::vector<int>> subsets;
    for (const auto& entry : vordel.control_hap_freq_cache) subsets.push_back(entry.first);
    std::sort(subsets.begin(), subsets.end());
    std::vector<std::vector<int>> expected = c.subsets;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(subsets, expected) << c.key;
    ASSERT_EQ(disease_alleles.size(), 2u);
    EXPECT_EQ(disease_alleles[0].size(), L);
    EXPECT_EQ(disease_alleles[1].size(), L);
    for (const auto& place : states)
      for (int s : place) EXPECT_GE(s, 0) << c.key;
  }
}

// One case pair followed draw by draw: the pair draw, the source of place 0,
// the source of place 1.  The source replaces the group's state wherever it
// stands from the first SNP up to the group's last locus, and then along
// the run that follows; states that are source numbers already can stand
// apart from the segment.
TEST(SimulateDiseaseAlleles, DrawsInOrderAndConditionalSourcesWrittenBack) {
  // Five SNPs, four panel haplotypes; the disease SNP is SNP 2 with allele 1
  // on panel haplotype 3 only (frequency 0.25), risks 2 and 4: keys 0.36,
  // 0.6, 0.84, 1.0.
  const std::vector<std::vector<int>> panel{
      {0, 1, 0, 1}, {1, 1, 0, 0}, {0, 0, 0, 1}, {1, 0, 1, 0}, {0, 0, 1, 1}};
  const struct {
    std::vector<std::vector<int>> before, after;
  } cases[] = {// place 0: segment 1 (SNPs 1-3) holds the disease SNP; place 1:
               // segment 0 (SNPs 0-2); the other segments have their sources already
               {{{3, -3, -3, -3, 1}, {-2, -2, -2, 0, 0}}, {{3, 2, 2, 2, 1}, {3, 3, 3, 0, 0}}},
               {{{1, 0, 1, 0, 1}, {0, 1, 0, 0, 0}}, {{2, 0, 2, 0, 1}, {3, 1, 3, 3, 3}}}};
  for (const auto& c : cases) {
    TempDir dir;
    Vordel vordel = make_vordel(dir, panel, {2}, {{1, 2.0, 4.0}});
    // 0.5 draws the pair (0, 1).  Place 0, allele 0: weights 0.9, 0.9, 0.9,
    // 0.1 over 2.8, cumulative 0.321, 0.643, 0.964: 0.7 picks candidate 2.
    // Place 1, allele 1: panel 0.1, 0.1, 0.1, 0.9 and the pair's first
    // haplotype (allele 0, so it counts as mutated) 0.1, over 1.3,
    // cumulative 0.077, 0.154, 0.231, 0.923, 1: 0.6 picks candidate 3.
    ScriptedRandom script({0.5, 0.7, 0.6});
    std::vector<std::vector<int>> states = c.before;
    Alleles disease_alleles;
    vordel.simulate_disease_alleles(states, disease_alleles, {0.1, 0.1});
    EXPECT_EQ(script.remaining(), 0u);
    EXPECT_EQ(disease_alleles, (Alleles{{0}, {1}}));
    EXPECT_EQ(states, c.after);
    EXPECT_EQ(vordel.case_hap_freq_cache.size(), 1u);
  }
}

TEST(SimulateDiseaseAlleles, SimulatedHaplotypesAreCandidates) {
  TempDir dir;
  // Two panel haplotypes with allele 0 at the disease SNP and two simulated
  // haplotypes (one control pair) with allele 1; theta-free: mu 0 leaves only
  // exact carriers as sources.
  Vordel vordel = make_vordel(dir, {{0, 0}}, {0}, {{1, 1.0, 1.0}}, 1);
  vordel.simulated_haplotypes = {{1}, {1}, {-1}, {-1}};
  vordel.num_simulated_haps = 2;
  // Control frequency of allele 1: 2/4.  Pair keys 0.25, 0.5, 0.75, 1: 0.9
  // draws (1, 1).  Place 0: candidates 2 and 3 weigh 0.5 each; place 1 also
  // the pair's first haplotype (candidate 4), each 1/3.
  ScriptedRandom script({0.9, 0.4, 0.9});
  std::vector<std::vector<int>> states{{-2}, {-2}};
  Alleles disease_alleles;
  const std::array<double, 2> mu = {0.0, 0.0};
  vordel.simulate_disease_alleles(states, disease_alleles, mu);
  EXPECT_EQ(disease_alleles, (Alleles{{1}, {1}}));
  EXPECT_EQ(states, (std::vector<std::vector<int>>{{2}, {4}}));
}

TEST(SimulateDiseaseAlleles, CachedDistributionIsReused) {
  TempDir dir;
  Vordel vordel = make_vordel(dir, {{0, 1, 0, 1}}, {0}, {{1, 2.0, 4.0}});
  // A planted entry for the pattern is used as it stands; a draw equal to a
  // key takes the next entry (the first whose key is greater).
  vordel.case_hap_freq_cache["1/1/"] = {{0.5, {{0}, {0}}}, {1.0, {{1}, {0}}}};
  ScriptedRandom script({0.5, 0.5, 0.5});
  std::vector<std::vector<int>> states{{-2}, {-2}};
  Alleles disease_alleles;
  const std::array<double, 2> mu = {0.1, 0.1};
  vordel.simulate_disease_alleles(states, disease_alleles, mu);
  EXPECT_EQ(disease_alleles, (Alleles{{1}, {0}}));
  EXPECT_TRUE(vordel.control_hap_freq_cache.empty());
}

// Broken invariants end the process with the condition's own text.  Each
// child is a fork of this process at its death statement ("fast"), so the
// folder is made and removed here only: a child started afresh would make
// its own before it dies, and leave it behind.
TEST(CaseModelDeathTest, AssertionTexts) {
  GTEST_FLAG_SET(death_test_style, "fast");
  TempDir dir;
  const std::vector<std::vector<int>> panel{{0, 1}, {1, 0}};
  const std::array<double, 2> mu = {0.1, 0.1};
  {
    // Two controls are not simulated yet.
    Vordel vordel = make_vordel(dir, panel, {0}, {{1, 2.0, 4.0}}, 1);
    Vordel::FrequencyTable table;
    EXPECT_DEATH(vordel.calculate_control_hap_freq({0}, table),
                 "num_simulated_haps >= 2 \\* params\\.ncontrols");
    const std::array<Groups, 2> groups = {{{{0}}, {{0}}}};
    Vordel::CaseDistribution dist;
    EXPECT_DEATH(vordel.calculate_case_hap_freq(groups, dist),
                 "num_simulated_haps >= 2 \\* params\\.ncontrols");
  }
  {
    Vordel vordel = make_vordel(dir, panel, {0}, {{1, 2.0, 4.0}});
    std::vector<std::vector<int>> one_place{{-2, -2}};
    Alleles disease_alleles;
    EXPECT_DEATH(vordel.simulate_disease_alleles(one_place, disease_alleles, mu),
                 "copying_states\\.size\\(\\) == 2");
    std::vector<std::vector<int>> states{{-2, -2}, {-2, -2}};
    vordel.dl_indices.clear();
    EXPECT_DEATH(vordel.simulate_disease_alleles(states, disease_alleles, mu),
                 "dl_indices\\.size\\(\\) >= 1");
  }
}

// Goodness of fit of the case genotypes at one disease SNP: P(g copies of
// allele 1) is proportional to the control genotype frequency times rr[g],
// with the allele frequency of panel and controls together.  The statistic
// has 2 degrees of freedom, whose 0.999 quantile is -2 ln(0.001) = 13.8155:
// the check is deterministic at its fixed seed, and a sound model fails it
// for only one seed in a thousand.
TEST(SimulateAllAlleles, CaseGenotypesFollowTheRelativeRisks) {
  const std::vector<Model> models{
      {1, 3.0, 9.0},  // strong risks of allele 1
      {0, 2.0, 4.0},  // risk allele 0: rr = {4, 2, 1}
      {1, 1.0, 1.0},  // no effect: cases follow the controls
  };
  for (const Model& model : models) {
    TempDir dir;
    const int N = 40;
    const int controls = 200;
    const int cases = 2000;
    std::vector<int> column(N, 0);
    for (int i = 0; i < 12; ++i) column[i * 3] = 1;  // panel frequency 0.3
    Vordel vordel(vordel_test::make_params(dir.path(), controls, cases, 0.5),
                  make_panel({100}, {0.0}, {column}));
    vordel.params.dl[100.0] = DiseaseLocus(model.allele, model.rr1, model.rr2);
    vordel.dl_indices = {0};
    vordel.dl_snps = {&vordel.panel_data.snps_data.at(100)};
    {
      MT generator(0.12345);
      Random::Set(generator);
      vordel.simulate_all_alleles();
    }
    const auto& haps = vordel.simulated_haplotypes;
    double ones = 12.0;
    for (int t = 0; t < 2 * controls; ++t) ones += haps[t][0];
    const double p = ones / (N + 2 * controls);
    const std::vector<double> rr = vordel.params.dl.at(100.0).rr;
    const double expected[3] = {(1 - p) * (1 - p) * rr[0], 2 * p * (1 - p) * rr[1], p * p * rr[2]};
    const double total = expected[0] + expected[1] + expected[2];
    double observed[3] = {0, 0, 0};
    for (int i = controls; i < controls + cases; ++i)
      observed[haps[2 * i][0] + haps[2 * i + 1][0]]++;
    double chi2 = 0.0;
    for (int g = 0; g < 3; ++g) {
      const double e = cases * expected[g] / total;
      chi2 += (observed[g] - e) * (observed[g] - e) / e;
    }
    EXPECT_LT(chi2, 13.8155) << "risk allele " << model.allele << ", risks " << model.rr1 << " and "
                             << model.rr2 << ": observed " << observed[0] << " " << observed[1]
                             << " " << observed[2];
  }
}

// Whole runs of the program.  The panel's disease SNPs 1000 and 3000 share a
// stretch of flat genetic map, so they are always copied in one segment;
// SNP 5000 lies far away (a switch is certain), so it is copied apart.  On
// panel haplotypes the three SNPs carry the same allele.
class CaseRun : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<std::vector<int>> alleles(5, std::vector<int>(20));
    for (int i = 0; i < 20; ++i) {
      const int carrier = i % 3 == 0 ? 1 : 0;
      alleles[0][i] = alleles[2][i] = alleles[4][i] = carrier;
      alleles[1][i] = i % 2;
      alleles[3][i] = (i / 4) % 2;
    }
    vordel_test::write_panel_files(dir.path(), {1000, 2000, 3000, 4000, 5000}, alleles,
                                   {{500, 0.0}, {3500, 0.0}, {4500, 100.0}, {5500, 200.0}});
  }

  vordel_test::RunResult run(const std::string& out, const std::vector<std::string>& extra) {
    std::vector<std::string> args = vordel_test::panel_args(dir.path());
    args.insert(args.end(), {"-o", out, "-nrs"});
    args.insert(args.end(), extra.begin(), extra.end());
    return vordel_test::run_vordel2(args, dir.path());
  }

  // The alleles of every haplotype of a haplotype file, one row per SNP.
  static std::vector<std::vector<int>> read_haps(const std::filesystem::path& file) {
    std::vector<std::vector<int>> rows;
    std::istringstream lines(vordel_test::read_file(file));
    std::string line;
    while (std::getline(lines, line)) {
      std::istringstream words(line);
      rows.emplace_back();
      int a;
      while (words >> a) rows.back().push_back(a);
    }
    return rows;
  }

  TempDir dir;
};

TEST_F(CaseRun, FixedSeedRunsWithCasesAreReproducible) {
  const std::vector<std::string> model{"-n",   "20", "40",  "-dl", "1000", "1", "2", "4",
                                       "3000", "1",  "1.5", "2",   "5000", "0", "3", "3"};
  std::vector<std::string> outputs[2];
  for (int run_no = 0; run_no < 2; ++run_no) {
    const std::string out = "run" + std::to_string(run_no) + "/sim";
    const auto result = run(out, model);
    ASSERT_EQ(result.status, 0) << result.out << result.err;
    for (const char* suffix : {".controls.haps", ".cases.haps", ".cases.gen", ".cases.sample"})
      outputs[run_no].push_back(vordel_test::read_file(dir / (out + suffix)));
  }
  EXPECT_EQ(outputs[0], outputs[1]);
  // 40 cases: 80 alleles on each of the 5 lines.
  const auto cases = read_haps(dir / "run0/sim.cases.haps");
  ASSERT_EQ(cases.size(), 5u);
  for (const auto& row : cases) EXPECT_EQ(row.size(), 80u);
}

TEST_F(CaseRun, LociInOneSegmentKeepPanelHaplotypesApartTheyMix) {
  // theta 0: no mutation, so controls copy panel haplotypes exactly and a
  // case's haplotype over loci copied together is one the panel carries.
  const auto result = run("sim", {"-n", "20", "200", "-theta", "0", "-dl", "1000", "1", "2", "4",
                                  "3000", "1", "2", "4", "5000", "1", "2", "4"});
  ASSERT_EQ(result.status, 0) << result.out << result.err;
  const auto cases = read_haps(dir / "sim.cases.haps");
  ASSERT_EQ(cases.size(), 5u);
  ASSERT_EQ(cases[0].size(), 400u);
  int apart = 0;
  for (std::size_t h = 0; h < cases[0].size(); ++h) {
    EXPECT_EQ(cases[0][h], cases[2][h]) << "case haplotype " << h;
    apart += cases[0][h] != cases[4][h];
  }
  // SNP 5000 is drawn on its own: configurations that no panel haplotype
  // carries occur (about 40% of case haplotypes here).
  EXPECT_GT(apart, 40);
}

TEST_F(CaseRun, ModelWhosePairsAllWeighZeroEndsTheRunBeforeAnyOutput) {
  // Every panel haplotype carries a risk allele at 1000 (allele 1) or at
  // 3000 (allele 0), and every such genotype has risk 0.
  const auto result = run("out/sim", {"-n", "2", "3", "-theta", "0", "-dl", "1000", "1", "0", "0",
                                      "3000", "0", "0", "0"});
  EXPECT_EQ(result.status, 1) << result.out << result.err;
  const std::string message =
      "Error encountered, program terminated: every pair of haplotypes at the disease loci "
      "(positions 1000, 3000) found among the panel and control haplotypes has a relative risk "
      "of zero, so no case can be simulated.\n";
  EXPECT_NE(result.out.find(message), std::string::npos) << result.out;
  EXPECT_NE(vordel_test::read_file(dir / "out/sim.summary").find(message), std::string::npos);
  std::vector<std::string> written;
  for (const auto& entry : std::filesystem::directory_iterator(dir / "out"))
    written.push_back(entry.path().filename().string());
  EXPECT_EQ(written, std::vector<std::string>{"sim.summary"});
}

}  // namespace

namespace {

// The limit counts the entries of every cached table: a one-locus table of
// 4 pairs fits beside tables of limit - 4 entries, not beside limit - 3.
TEST(CaseTableLimit, CountsTheTablesAlreadyMade) {
  TempDir dir;
  Vordel vordel = make_vordel(dir, {{0, 0, 0, 1}}, {0}, {{1, 2.0, 4.0}});
  Vordel::CaseDistribution& planted = vordel.case_hap_freq_cache["planted"];
  planted = Vordel::CaseDistribution(Vordel::CaseDistribution::Configurations{{{{0}}, {{0}}}});
  for (std::uint64_t k = 0; k + 4 < kMaxCaseDistributionEntries; ++k)
    planted.append(static_cast<double>(k), 0, 0);
  const std::array<Groups, 2> groups = {{{{0}}, {{0}}}};
  Vordel::CaseDistribution dist;
  vordel.calculate_case_hap_freq(groups, dist);
  EXPECT_EQ(dist.size(), 4u);

  planted.append(static_cast<double>(kMaxCaseDistributionEntries), 0, 0);
  try {
    vordel.calculate_case_hap_freq(groups, dist);
    ADD_FAILURE() << "no error for a table beyond the limit";
  } catch (const GenericErrorException& e) {
    EXPECT_EQ(e.message,
              "the case model of the disease loci at positions 100 needs a table of 4 "
              "haplotype-pair configurations, which with the 16777213 of the tables made before "
              "it is more than the limit of 16777216, so the cases cannot be simulated; use "
              "fewer disease loci.\n");
  }
}

// Disease SNPs 100 cM apart: every SNP starts a copying segment of its own,
// so with L of them each place has 2^L configurations and a case table
// would hold 4^L pairs: 268435456 for 14 SNPs, and for 33 more than a
// 64-bit count holds.  The table is refused before it is made, and so
// before any output file is written.
TEST(CaseTableLimit, UnlinkedSnpsAreRefused) {
  const std::vector<std::pair<int, std::string>> cases{{14, "268435456"},
                                                       {33, "more than 18446744073709551615"}};
  for (const auto& [count, pairs] : cases) {
    TempDir dir;
    std::vector<int> positions;
    std::vector<std::vector<int>> alleles;
    std::vector<std::pair<int, double>> map;
    std::vector<std::string> args = vordel_test::panel_args(dir.path());
    args.insert(args.end(), {"-o", "out/sim", "-nrs", "-n", "10", "5", "-dl"});
    std::string loci;
    for (int l = 0; l < count; ++l) {
      positions.push_back(1000 * (l + 1));
      alleles.push_back({0, 1, 1, 0, 1, 0});
      map.emplace_back(1000 * (l + 1), 100.0 * l);
      args.insert(args.end(), {std::to_string(positions.back()), "1", "1.5", "2"});
      loci += (l ? ", " : "") + std::to_string(positions.back());
    }
    vordel_test::write_panel_files(dir.path(), positions, alleles, map);
    const auto result = vordel_test::run_vordel2(args, dir.path());
    EXPECT_EQ(result.status, 1) << result.out << result.err;
    const std::string message =
        "Error encountered, program terminated: the case model of the disease loci at positions " +
        loci + " needs a table of " + pairs +
        " haplotype-pair configurations, more than the limit of 16777216, so the cases cannot be "
        "simulated; use fewer disease loci.\n";
    EXPECT_NE(result.out.find(message), std::string::npos) << result.out;
    std::vector<std::string> written;
    for (const auto& entry : std::filesystem::directory_iterator(dir / "out"))
      written.push_back(entry.path().filename().string());
    EXPECT_EQ(written, std::vector<std::string>{"sim.summary"}) << count;
  }
}

}  // namespace
