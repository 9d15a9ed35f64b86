// Separation of cases from controls by their allele counts, the case in
// which the additive logistic model has no maximum-likelihood estimate.
#ifndef VORDEL_ASSOC_SEPARATION_H
#define VORDEL_ASSOC_SEPARATION_H

#include <vector>

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

// The alternative that decides several SNPs: true when some weights y_j > 0,
// one for each of `columns` (integer vectors of one length), give
// sum_j y_j columns[j] = 0; true for no columns.  `separated` passes one
// column per distinct a_i = x_i of a case and -x_i of a control (x_i the
// design vector of individual i), and the groups are separated exactly when
// this is false.  Exact for any int entries.  The columns are taken in the
// order given, which may change the steps taken but never the answer.
bool vanishing_positive_combination(const std::vector<std::vector<int>>& columns);

}  // namespace single_snp_test

#endif
