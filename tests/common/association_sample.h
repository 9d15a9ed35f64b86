// Small data sets for the association-test tests, built from allele counts
// so that expected results can be worked out by hand.
#ifndef VORDEL_TESTS_COMMON_ASSOCIATION_SAMPLE_H
#define VORDEL_TESTS_COMMON_ASSOCIATION_SAMPLE_H

#include <cstdint>
#include <vector>

#include "assoc/logistic_fit.h"

struct Sample {
  single_snp_test::Haplotypes haplotypes;
  single_snp_test::Phenotypes phenotypes;
};

// Appends `copies` individuals with the given phenotype and these allele
// counts (0, 1 or 2), one per SNP column: the first haplotype carries
// allele 1 for a count of 1 or 2, the second for a count of 2.
void add_individuals(Sample& sample, int phenotype, const std::vector<int>& allele_counts,
                     int copies);

// A 2x2 table at one SNP whose allele count is `low` or `high`: cases and
// controls with each count.
Sample two_by_two(int low, int high, int cases_high, int cases_low, int controls_high,
                  int controls_low);

// Closed forms of the saturated fit of two_by_two(low, high, ...): the
// intercept, beta (the log odds ratio of the table per allele of difference
// between the counts), beta's standard error, the table's G statistic, the
// intercept-only maximum log-likelihood and the chi-square(1) upper tail of
// G, erfc(sqrt(G/2)).  Every cell must be at least 1.
struct SaturatedFit {
  double intercept, beta, se, g, null_loglik, pvalue;
};
SaturatedFit saturated_fit(int low, int high, int cases_high, int cases_low, int controls_high,
                           int controls_low);

// Controls then cases at `snps` SNPs drawn with std::mt19937 from `seed`:
// allele-1 frequency 0.3 at every SNP, case status from a logistic model
// with intercept -0.5 and effect 0.4 per allele at SNP 0 (the others null).
Sample random_sample(int individuals, int snps, std::uint32_t seed);

#endif
