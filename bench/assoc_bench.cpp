// Cost of the association-test phase of a run: three single-SNP tests and
// the joint test of the three SNPs, on 1,000 controls and 1,000 cases.
//
// The haplotype rows are as long as those of the chr20 example panel
// (23,670 SNPs), so the scattered column reads cost what they cost in a run.
#include <benchmark/benchmark.h>
#include <newmat/newmat.h>

#include <cmath>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "assoc/likelihood_ratio_test.h"

namespace {

constexpr int kControls = 1000;
constexpr int kCases = 1000;
constexpr int kSnps = 23670;
const std::set<int> kDiseaseSnps{4100, 11835, 20007};

struct Data {
  single_snp_test::Haplotypes haplotypes;
  single_snp_test::Phenotypes phenotypes;
};

// Alleles drawn independently with frequency 0.25; the cases carry allele 1
// more often at the disease SNPs (frequency 0.32).
const Data& data() {
  static const Data d = [] {
    Data made;
    std::mt19937 engine(2011);
    std::bernoulli_distribution background(0.25);
    std::bernoulli_distribution risk(0.32);
    for (int i = 0; i < kControls + kCases; ++i) {
      const int y = i < kControls ? 0 : 1;
      for (int h = 0; h < 2; ++h) {
        std::vector<int> row(kSnps);
        for (int s = 0; s < kSnps; ++s) {
          const bool raised = y == 1 && kDiseaseSnps.count(s) == 1;
          row[s] = raised ? risk(engine) : background(engine);
        }
        made.haplotypes.push_back(std::move(row));
      }
      made.phenotypes.push_back(y);
    }
    return made;
  }();
  return d;
}

void BM_TestPhase(benchmark::State& state) {
  const Data& d = data();
  NEWMAT::Matrix effect_sizes;
  NEWMAT::Matrix standard_errors;
  double pvalue = 0.0;
  for (auto _ : state) {
    for (const int snp : kDiseaseSnps) {
      single_snp_test::run_test(d.haplotypes, d.phenotypes, {snp}, effect_sizes, standard_errors,
                                pvalue);
      benchmark::DoNotOptimize(pvalue);
    }
    single_snp_test::run_test(d.haplotypes, d.phenotypes, kDiseaseSnps, effect_sizes,
                              standard_errors, pvalue);
    benchmark::DoNotOptimize(pvalue);
  }
}
BENCHMARK(BM_TestPhase)->Unit(benchmark::kMillisecond);

void BM_JointTest(benchmark::State& state) {
  const Data& d = data();
  NEWMAT::Matrix effect_sizes;
  NEWMAT::Matrix standard_errors;
  double pvalue = 0.0;
  for (auto _ : state) {
    single_snp_test::run_test(d.haplotypes, d.phenotypes, kDiseaseSnps, effect_sizes,
                              standard_errors, pvalue);
    benchmark::DoNotOptimize(pvalue);
  }
}
BENCHMARK(BM_JointTest)->Unit(benchmark::kMillisecond);

}  // namespace
