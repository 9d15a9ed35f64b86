// Separation of cases from controls by their allele counts, the case in
// which the additive logistic model has no maximum-likelihood estimate.
#ifndef VORDEL_ASSOC_SEPARATION_H
#define VORDEL_ASSOC_SEPARATION_H

#include "assoc/logistic_fit.h"

namespace single_snp_test {

// True when the allele counts at `snp_indices` separate cases from
// controls: some coefficients b (intercept first) give every case a linear
// predictor x b >= 0 and every control x b <= 0, and not every individual
// 0.  The likelihood then grows without bound along b, so it has no
// maximum, and a fit ends only by its stopping rule, at estimates and
// standard errors that estimate nothing.  (A group without individuals is
// separated from the other by the intercept alone.)
//
// For one SNP this is read off the counts: the largest count among the
// controls is at most the smallest among the cases, or the other way
// round, and not every count is the same.  For any other number of SNPs an
// exact linear program decides it, in integer arithmetic.
bool separated(const Haplotypes& haplotypes, const Phenotypes& phenotypes,
               const SnpIndices& snp_indices);

}  // namespace single_snp_test

#endif
