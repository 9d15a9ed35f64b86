// The disease-allele columns of the case disease model: the columns follow
// the panel and the completed haplotypes, and the conditional source pick
// read from them gives, bit for bit, the candidate that forming every weight
// one candidate at a time gives.
#include "sim/disease_columns.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <random>
#include <vector>

#include "sim/data.h"
#include "sim/pick_candidate.h"

namespace {

// The pick the way the weights are defined: every candidate starts at 1.0
// and is multiplied, locus by locus in group order, by 1 - mu when its
// allele matches and by mu otherwise; the weights are divided by their sum
// and the candidate picked.  Candidates are the panel alleles, then the
// simulated ones, then (when `last` is given) the pair's first haplotype.
std::vector<double> reference_weights(const std::vector<snp>& loci,
                                      const std::vector<std::vector<int>>& simulated,
                                      const std::vector<int>& indices, int count,
                                      const std::vector<int>& group,
                                      const std::vector<int>& alleles, const std::vector<int>* last,
                                      double mu) {
  const std::size_t panel = loci[0].haps.size();
  std::vector<double> weights(panel + count + (last ? 1 : 0), 1.0);
  for (const int c : group) {
    const int a = alleles[c];
    for (std::size_t i = 0; i < panel; ++i) weights[i] *= loci[c].haps[i] == a ? 1.0 - mu : mu;
    for (int t = 0; t < count; ++t)
      weights[panel + t] *= simulated[t][indices[c]] == a ? 1.0 - mu : mu;
    if (last) weights[panel + count] *= (*last)[c] == a ? 1.0 - mu : mu;
  }
  double sum = 0.0;
  for (const double w : weights) sum += w;
  for (double& w : weights) w /= sum;
  return weights;
}

std::vector<const snp*> pointers(const std::vector<snp>& loci) {
  std::vector<const snp*> p;
  for (const snp& locus : loci) p.push_back(&locus);
  return p;
}

// Random panels, histories (up to 20,000 simulated haplotypes, so that the
// sum and the pick cross many binades a word of 64 candidates at a time)
// and groups (of 1 to 10 loci: past 4 the candidates are taken one at a
// time, past 8 the weights are formed without codes), with mutation rates
// from 0 to 0.5 and draws from tiny to near 1.  Now and then an allele
// other than 0 and 1 (-1 or 2, or one too large for a byte) stands in a
// haplotype or among the disease alleles.  The comparison is exact: the
// pick is the same candidate.
TEST(DiseaseColumns, PickMatchesTheWeightsFormedOneByOne) {
  std::mt19937 random(2024);
  const auto below = [&random](int n) { return static_cast<int>(random() % n); };
  const double mus[] = {0.0, 1e-5, 0.0071, 0.1, 0.5};
  for (int trial = 0; trial < 300; ++trial) {
    const int L = trial % 3 == 0 ? 7 + below(4) : 1 + below(10);
    const int panel = 1 + below(40);
    const int snps = L + below(5);
    const int count = trial % 10 == 1 ? 20000 + below(64) : below(3) ? below(5) : below(3000);
    std::vector<snp> loci(L);
    std::vector<int> indices;
    for (int c = 0; c < L; ++c) {
      indices.push_back(below(snps));
      for (int i = 0; i < panel; ++i) loci[c].haps.push_back(below(2));
    }
    // Skewed alleles, so that long stretches of one code occur too.
    const int ones = below(4);
    std::vector<std::vector<int>> simulated(count + 2, std::vector<int>(snps));
    for (auto& hap : simulated)
      for (int& a : hap) a = below(200) == 0 ? -1 + 3 * below(2) : below(4) < ones ? 1 : 0;
    simulated[0][indices[0]] = 300;  // matches nothing, as 300 is no disease allele
    std::vector<int> alleles(L), first(L);
    for (int c = 0; c < L; ++c) {
      alleles[c] = below(50) == 0 ? 2 : below(2);
      first[c] = below(2);
    }
    // The group: a run of consecutive loci.
    // The group: a run of consecutive loci; every third one all L loci
    // (past 8 of them, the weights are formed without codes).
    const int from = trial % 3 == 0 ? 0 : below(L);
    const int size = trial % 3 == 0 ? L : 1 + below(L - from);
    std::vector<int> group;
    for (int c = from; c < from + size; ++c) group.push_back(c);
    const double mu = mus[below(5)];
    // Draws at both ends and across the range, so that with few candidates
    // every weight moves some pick.
    std::vector<double> draws{0x1p-33, 1e-9, (random() + 0.5) * 0x1p-32, 1.0 - 0x1p-33};
    for (int j = 0; j < 24; ++j) draws.push_back((j + 0.5) / 24);

    // The columns grow in steps, as the haplotypes of a run are completed.
    DiseaseColumns columns;
    for (const int upto : {count / 3, count / 3 + 1, count})
      columns.update(pointers(loci), indices, simulated, upto);
    ASSERT_EQ(columns.rows(), panel + count);
    for (const std::vector<int>* last : std::vector<const std::vector<int>*>{nullptr, &first}) {
      const std::vector<double> weights =
          reference_weights(loci, simulated, indices, count, group, alleles, last, mu);
      // Draws at the running sums of the weights, and a few ulps either
      // side: there the pick turns on the last bit of every step.
      std::vector<double> turning = draws;
      for (int j = 0; j < 6; ++j) {
        const std::size_t upto = random() % weights.size();
        double at = 0.0;
        for (std::size_t i = 0; i <= upto; ++i) at += weights[i];
        for (double u = at, v = at, k = 0; k < 3; ++k) {
          turning.push_back(u);
          if (k > 0) turning.push_back(v);
          u = std::nextafter(u, 0.0);
          v = std::nextafter(v, 2.0);
        }
      }
      for (const double u : turning) {
        ASSERT_EQ(columns.pick_source(group, alleles, last, mu, u), pick_candidate(u, weights))
            << "trial " << trial << ", " << group.size() << " loci, mu " << mu << ", u " << u;
      }
    }
  }
}

// Columns grow by the rows completed since the last update and are built
// anew when the loci change or the count goes down; a pick then reads the
// alleles of exactly the rows held.
TEST(DiseaseColumns, UpdateAppendsAndRebuilds) {
  std::vector<snp> loci(2);
  loci[0].haps = {0, 1};
  loci[1].haps = {1, 1};
  const std::vector<int> indices{0, 2};
  std::vector<std::vector<int>> simulated{{1, 0, 0}, {0, 0, 1}, {1, 1, 1}, {0, 0, 0}};
  // One locus (ordinal 0), mu 0: only carriers of allele 1 weigh anything,
  // and a draw of 1 - 2^-33 picks the last of them.
  const auto last_carrier = [](DiseaseColumns& columns) {
    return columns.pick_source({0}, {1, 1}, nullptr, 0.0, 1.0 - 0x1p-33);
  };
  DiseaseColumns columns;
  EXPECT_EQ(columns.rows(), 0);
  columns.update(pointers(loci), indices, simulated, 1, 100);
  EXPECT_EQ(columns.rows(), 3);
  EXPECT_EQ(last_carrier(columns), 2);  // panel 1, simulated 0
  columns.update(pointers(loci), indices, simulated, 3);
  EXPECT_EQ(columns.rows(), 5);
  EXPECT_EQ(last_carrier(columns), 4);  // simulated 2
  // A completed row that changed is not read again ...
  simulated[0][0] = 0;
  columns.update(pointers(loci), indices, simulated, 3);
  EXPECT_EQ(columns.rows(), 5);
  EXPECT_EQ(columns.pick_source({0}, {1, 1}, nullptr, 0.0, 0.5), 2);  // 1, 2 and 4 carry
  // ... until the columns are built anew: a count that went down ...
  columns.update(pointers(loci), indices, simulated, 2);
  EXPECT_EQ(columns.rows(), 4);
  EXPECT_EQ(columns.pick_source({0}, {1, 1}, nullptr, 0.0, 0.5), 1);  // 1 alone carries
  // ... other loci, or after clear().
  columns.update(pointers(loci), {1, 2}, simulated, 4);
  EXPECT_EQ(columns.rows(), 6);
  EXPECT_EQ(last_carrier(columns), 4);  // SNP 1: simulated 2 only
  columns.clear();
  EXPECT_EQ(columns.rows(), 0);
  columns.update({&loci[1]}, {2}, simulated, 4);
  EXPECT_EQ(columns.rows(), 6);
  // Locus 1 alone: panel 0 and 1, simulated 1 and 2 carry allele 1.
  EXPECT_EQ(columns.pick_source({0}, {1}, nullptr, 0.0, 1.0 - 0x1p-33), 4);
}

}  // namespace
