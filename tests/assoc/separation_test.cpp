// Separation of cases from controls: small samples worked out by hand, the
// linear program against the counting rule for one SNP, samples built on
// either side of the alternative (a separating hyperplane, or weights that
// cancel), and programs given directly: small and large entries, and
// degenerate ones on which the steepest-cost pivoting rule cycles.
#include "assoc/separation.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <random>
#include <vector>

#include "common/association_sample.h"

using single_snp_test::separated;
using single_snp_test::SnpIndices;
using single_snp_test::vanishing_positive_combination;

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

namespace {

using Columns = std::vector<std::vector<int>>;

// sum_j y_j columns[j], every weight given.
std::vector<long long> combination(const Columns& columns, const std::vector<long long>& y) {
  std::vector<long long> sum(columns.front().size(), 0);
  for (std::size_t j = 0; j < columns.size(); ++j)
    for (std::size_t i = 0; i < sum.size(); ++i) sum[i] += y[j] * columns[j][i];
  return sum;
}

}  // namespace

// Programs given as columns, each answer read off by hand: weights that
// cancel, or a row whose entries are all >= 0 and not all 0 (no positive
// weights can cancel it).  The last two have entries near INT_MAX, and the
// second of them takes the exact arithmetic past 64 bits.
TEST(Separation, VanishingPositiveCombinationOfGivenColumns) {
  constexpr int kM = INT_MAX;
  const struct {
    const char* what;
    Columns columns;
    bool cancels;
  } programs[] = {
      {"no columns", {}, true},
      {"opposite columns", {{1}, {-1}}, true},
      {"one sign", {{1}, {2}}, false},
      {"zero column alone", {{0, 0}}, true},
      {"the axes and minus their sum", {{1, 0}, {0, 1}, {-1, -1}}, true},
      {"second row never below 0", {{1, 0}, {-1, 0}, {0, 1}}, false},
      {"second row never above 0", {{2, 0}, {-1, -1}, {-1, 0}}, false},
      {"large axes and minus (M - 1) times their sum",
       {{kM, 0, 0}, {0, kM, 0}, {0, 0, kM}, {1 - kM, 1 - kM, 1 - kM}},
       true},
      {"large axes, third row never below 0",
       {{kM, 0, 0}, {0, kM, 0}, {0, 0, kM}, {1 - kM, 1 - kM, kM - 1}},
       false},
  };
  for (const auto& p : programs)
    EXPECT_EQ(vanishing_positive_combination(p.columns), p.cancels) << p.what;
  // The weights (M - 1, M - 1, M - 1, M) cancel the large axes.
  const std::vector<long long> y{kM - 1LL, kM - 1LL, kM - 1LL, kM};
  EXPECT_EQ(combination(programs[7].columns, y), std::vector<long long>(3, 0));
}

namespace {

// Chvatal's example of cycling (Linear Programming, 1983, chapter 3), as a
// program of the kind the separation check solves.  It minimises
// -10 x1 + 57 x2 + 9 x3 + 24 x4 over
//   x1 - 11 x2 - 5 x3 + 18 x4 + 2 s1 = 0
//   x1 -  3 x2 -   x3 +  2 x4 + 2 s2 = 0
// (its rows doubled, so that its entries are integers and its slacks have
// coefficient 2).  The first phase of the simplex method minimises the sum
// of the artificial variables, that is sum_j c_j z_j with c_j minus the sum
// of column j over the rows (the rows signed so that their right sides are
// >= 0).  So a third row carries -c_j less the first two entries of each
// column, which gives these costs, and -2 for the slacks, whose cost is 0;
// a last column brings the first two rows' sums to 0, so that they start
// degenerate, and its cost, 9, keeps it out of the cycle.  While the
// artificial variables u1 and u2 are basic they stand for s1 and s2 (u_i is
// s_i / 2), and once out, each has half the reduced cost of its slack, so
// the steepest-cost rule takes the slack first.  From the start, the
// steepest-cost rule with the least basic index among tied rows pivots
// x1, x2, x3, x4, s1, s2 into the first two rows at a right side of 0
// and returns to the basis (s1, s2, u3), for ever.  Weights 90, 1, 1, 1,
// 179, 1, 90 cancel the columns.
const Columns kCyclingCancels{{1, 1, 8},  {-11, -3, -43}, {-5, -1, -3}, {18, 2, -44},
                              {2, 0, -2}, {0, 2, -2},     {-5, -1, -3}};
// The same with a fourth row, 0 but in the last column: the costs stay, the
// cycle too, and no positive weights cancel the fourth row.
const Columns kCyclingDoesNotCancel{{1, 1, 8, 0},    {-11, -3, -43, 0}, {-5, -1, -3, 0},
                                    {18, 2, -44, 0}, {2, 0, -2, 0},     {0, 2, -2, 0},
                                    {-5, -1, -2, 1}};

}  // namespace

// On these degenerate programs the steepest-cost rule alone pivots round a
// cycle of six bases for ever; after 50 pivots in a row that leave the
// objective where it was, the check turns to Bland's rule and ends with the
// right answer.  Each runs in a child process with an alarm, so that a
// check that cycles fails the test instead of hanging it: the check takes
// well under a millisecond, and 10 seconds leaves room for a loaded machine
// and a sanitizer build.
TEST(SeparationDeathTest, DegenerateProgramsOnWhichTheSteepestRuleCyclesEnd) {
  EXPECT_EQ(combination(kCyclingCancels, {90, 1, 1, 1, 179, 1, 90}), std::vector<long long>(3, 0));
  const struct {
    const char* what;
    const Columns& columns;
    bool cancels;
  } programs[] = {
      {"weights cancel", kCyclingCancels, true},
      {"fourth row >= 0", kCyclingDoesNotCancel, false},
  };
  for (const auto& p : programs) {
    EXPECT_EXIT(
        {
          alarm(10);
          std::_Exit(vanishing_positive_combination(p.columns) == p.cancels ? 0 : 1);
        },
        testing::ExitedWithCode(0), "")
        << p.what;
  }
}
