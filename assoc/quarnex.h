// Single-SNP association test: additive logistic regression of case status
// on allele counts, fitted by Newton-Raphson, with a likelihood-ratio test
// against the intercept-only model.
//
// Data: haplotype rows 2i and 2i+1 are individual i; phenotypes[i] is 0 for
// a control and 1 for a case; snp_indices are haplotype columns, taken in
// ascending order after the intercept.
#ifndef VORDEL_ASSOC_QUARNEX_H
#define VORDEL_ASSOC_QUARNEX_H

#include <set>
#include <vector>

namespace NEWMAT {
class Matrix;
}

namespace single_snp_test {

using Haplotypes = std::vector<std::vector<int>>;
using Phenotypes = std::vector<int>;
using SnpIndices = std::set<int>;

double loglikelihood_function(const NEWMAT::Matrix& effect_sizes, const Haplotypes& haplotypes,
                              const Phenotypes& phenotypes, const SnpIndices& snp_indices);
NEWMAT::Matrix score_function(const NEWMAT::Matrix& effect_sizes, const Haplotypes& haplotypes,
                              const Phenotypes& phenotypes, const SnpIndices& snp_indices);
NEWMAT::Matrix hessian_function(const NEWMAT::Matrix& effect_sizes, const Haplotypes& haplotypes,
                                const Phenotypes& phenotypes, const SnpIndices& snp_indices);

// Fits the model; throws newmat's SingularException for a singular system.
void maximise_likelihood_snp(const Haplotypes& haplotypes, const Phenotypes& phenotypes,
                             const SnpIndices& snp_indices, NEWMAT::Matrix& effect_sizes,
                             double& loglikelihood, NEWMAT::Matrix& covariance);

// Fits the model and tests it against the intercept-only model: estimates
// and standard errors ((k+1) x 1, intercept first) and the upper-tail
// chi-square p-value of the likelihood-ratio statistic.
void run_test(const Haplotypes& haplotypes, const Phenotypes& phenotypes,
              const SnpIndices& snp_indices, NEWMAT::Matrix& effect_sizes,
              NEWMAT::Matrix& standard_errors, double& pvalue);

}  // namespace single_snp_test

#endif
