// Separation of cases from controls: small samples worked out by hand, the
// linear program against the counting rule for one SNP, and samples built
// on either side of the alternative (a separating hyperplane, or weights
// that cancel).
#include "assoc/separation.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "common/association_sample.h"

using single_snp_test::separated;
using single_snp_test::SnpIndices;

namespace {

struct Individual {
  int phenotype;
  std::vector<int> counts;
};

Sample sample_of(const std::vector<Individual>& individuals) {
  Sample s;
  for (const Individual& i : individuals) add_individuals(s, i.phenotype, i.counts, 1);
  return s;
}

}  // namespace

TEST(Separation, HandWorkedSamples) {
  struct Case {
    const char* what;
    std::vector<Individual> individuals;
    SnpIndices snps;
    bool separated;
  };
  const std::vector<Case> cases{
      // One SNP: the counting rule.
      {"every case without allele 1",
       {{1, {0}}, {1, {0}}, {0, {0}}, {0, {1}}, {0, {2}}},
       {0},
       true},
      {"cases above controls", {{1, {2}}, {1, {1}}, {0, {1}}, {0, {0}}}, {0}, true},
      {"cases on both sides of the controls", {{1, {0}}, {1, {2}}, {0, {1}}}, {0}, false},
      {"one count throughout", {{1, {1}}, {0, {1}}}, {0}, false},
      {"no controls", {{1, {0}}, {1, {2}}}, {0}, true},
      {"nobody", {}, {0}, false},
      // Two SNPs.  2 g1 + 2 g2 >= 4 in cases and <= 4 in controls, with the
      // boundary shared, though neither SNP alone separates.
      {"sum of counts",
       {{1, {2, 0}}, {1, {0, 2}}, {1, {1, 1}}, {0, {1, 0}}, {0, {0, 1}}, {0, {1, 1}}},
       {0, 1},
       true},
      // g1 - g2 >= 0 in cases and <= 0 in controls.
      {"difference of counts",
       {{1, {0, 0}}, {1, {1, 1}}, {1, {2, 0}}, {0, {0, 0}}, {0, {1, 1}}, {0, {0, 2}}},
       {0, 1},
       true},
      // Cases at (0,0) and (2,2), a control between: weights 1, 1 and 2
      // cancel.
      {"control between the cases", {{1, {0, 0}}, {1, {2, 2}}, {0, {1, 1}}}, {0, 1}, false},
      {"every genotype in both groups",
       {{1, {0, 0}}, {1, {1, 0}}, {1, {0, 1}}, {0, {0, 0}}, {0, {1, 0}}, {0, {0, 1}}},
       {0, 1},
       false},
      // The intercept alone.
      {"intercept, both groups", {{1, {0}}, {0, {0}}}, {}, false},
      {"intercept, cases only", {{1, {0}}, {1, {1}}}, {}, true},
  };
  for (const Case& c : cases) {
    const Sample s = sample_of(c.individuals);
    EXPECT_EQ(separated(s.haplotypes, s.phenotypes, c.snps), c.separated) << c.what;
  }
  // Neither SNP of the first two-SNP sample separates on its own.
  const Sample sum = sample_of(cases[6].individuals);
  EXPECT_FALSE(separated(sum.haplotypes, sum.phenotypes, {0}));
  EXPECT_FALSE(separated(sum.haplotypes, sum.phenotypes, {1}));
}

// The linear program decides one SNP as the counting rule does: a second
// column equal to the first, or to 2 minus it, adds nothing that could
// separate.  Random samples of 2 to 12 individuals, seeds fixed.
TEST(Separation, LinearProgramAgreesWithTheCountingRule) {
  std::mt19937 engine(20240603u);
  int seen[2] = {0, 0};
  for (int trial = 0; trial < 2000; ++trial) {
    const int n = 2 + static_cast<int>(engine() % 11);
    const bool complement = trial % 2 == 1;
    Sample s;
    for (int i = 0; i < n; ++i) {
      const int g = static_cast<int>(engine() % 3);
      add_individuals(s, static_cast<int>(engine() % 2), {g, complement ? 2 - g : g}, 1);
    }
    const bool by_counts = separated(s.haplotypes, s.phenotypes, {0});
    ++seen[by_counts];
    ASSERT_EQ(separated(s.haplotypes, s.phenotypes, {0, 1}), by_counts) << "trial " << trial;
  }
  // Both answers came up often.
  EXPECT_GT(seen[0], 200);
  EXPECT_GT(seen[1], 200);
}

// Samples built on one side of the alternative, with many SNPs, so that the
// exact arithmetic goes beyond 64 bits:
// - separated: random counts, each individual a case when w g > t and a
//   control when w g < t (either on w g = t), for random integer weights w;
// - not separated: triples of a case with counts g and two controls with
//   g + e and g - e, which cancel with weights 2, 1 and 1.
TEST(Separation, BuiltOnEitherSideOfTheAlternative) {
  std::mt19937 engine(77u);
  for (const int snps : {3, 12, 40}) {
    SnpIndices all;
    for (int j = 0; j < snps; ++j) all.insert(j);
    const auto count = [&engine] { return static_cast<int>(engine() % 3); };

    std::vector<int> w(snps);
    for (int& weight : w) weight = static_cast<int>(engine() % 7) - 3;
    const int t = snps / 2;
    Sample apart;
    for (int i = 0; i < 6 * snps; ++i) {
      std::vector<int> g(snps);
      int score = 0;
      for (int j = 0; j < snps; ++j) score += w[j] * (g[j] = count());
      add_individuals(apart, score > t || (score == t && engine() % 2 == 0) ? 1 : 0, g, 1);
    }
    EXPECT_TRUE(separated(apart.haplotypes, apart.phenotypes, all)) << snps << " SNPs";

    Sample mixed;
    for (int i = 0; i < 3 * snps; ++i) {
      std::vector<int> g(snps);
      std::vector<int> up(snps);
      std::vector<int> down(snps);
      for (int j = 0; j < snps; ++j) {
        g[j] = count();
        const int e = g[j] == 1 ? static_cast<int>(engine() % 3) - 1 : 0;
        up[j] = g[j] + e;
        down[j] = g[j] - e;
      }
      add_individuals(mixed, 1, g, 1);
      add_individuals(mixed, 0, up, 1);
      add_individuals(mixed, 0, down, 1);
    }
    EXPECT_FALSE(separated(mixed.haplotypes, mixed.phenotypes, all)) << snps << " SNPs";
  }
}
