// Additive logistic regression of case status on allele counts: the model,
// its score and Hessian, and the Newton-Raphson fit.
//
// Data: haplotype rows 2i and 2i+1 are individual i; phenotypes[i] is 0 for
// a control and 1 for a case; snp_indices are haplotype columns, taken in
// ascending order after the intercept.
#ifndef VORDEL_ASSOC_LOGISTIC_FIT_H
#define VORDEL_ASSOC_LOGISTIC_FIT_H

#include <functional>
#include <set>
#include <stdexcept>
#include <vector>

namespace NEWMAT {
class Matrix;
}

namespace single_snp_test {

using Haplotypes = std::vector<std::vector<int>>;
using Phenotypes = std::vector<int>;
using SnpIndices = std::set<int>;

// The model at the coefficients effect_sizes ((k+1) x 1, intercept first):
// log-likelihood, score ((k+1) x 1) and Hessian ((k+1) x (k+1)).
double loglikelihood_function(const NEWMAT::Matrix& effect_sizes, const Haplotypes& haplotypes,
                              const Phenotypes& phenotypes, const SnpIndices& snp_indices);
NEWMAT::Matrix score_function(const NEWMAT::Matrix& effect_sizes, const Haplotypes& haplotypes,
                              const Phenotypes& phenotypes, const SnpIndices& snp_indices);
NEWMAT::Matrix hessian_function(const NEWMAT::Matrix& effect_sizes, const Haplotypes& haplotypes,
                                const Phenotypes& phenotypes, const SnpIndices& snp_indices);

// The Newton-Raphson iterations of a fit found no maximum: they diverged
// (estimates or score not finite, as under complete separation of cases and
// controls) or did not converge within kMaxNewtonSteps steps.  what() names
// the cause.
class FitNotConverged : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Most Newton-Raphson steps of a fit.
constexpr int kMaxNewtonSteps = 100;

// A function of the coefficient vector: the score or the Hessian.
using CoefficientFunction = std::function<NEWMAT::Matrix(const NEWMAT::Matrix&)>;

// Newton-Raphson from `start`: x <- x - H(x)^-1 S(x), the system solved
// through an LU decomposition, until the score's sum of squares at the new
// x is at most 1e-5; the first step is always taken.  Returns the last x.
// Throws FitNotConverged when the score or x is not finite, or after
// kMaxNewtonSteps steps without meeting the test; newmat's
// SingularException from a singular Hessian passes through.
NEWMAT::Matrix newton_raphson(const NEWMAT::Matrix& start, const CoefficientFunction& score,
                              const CoefficientFunction& hessian);

// Fits the model by Newton-Raphson from zero coefficients until the score's
// sum of squares is at most 1e-5.  Outputs are resized: effect_sizes to
// (k+1) x 1, covariance (the inverse of the negated Hessian at the
// estimates) to (k+1) x (k+1).  A model that cannot be fitted throws
// newmat's SingularException: linearly dependent design columns (a SNP with
// the same allele count in everyone, two SNPs with equal or complementary
// counts, no individuals) or a singular Hessian in the iterations leave
// zeros in effect_sizes at its size on entry and the other outputs
// unchanged; a singular Hessian at the estimates leaves only the covariance
// unchanged.  Iterations that reach a score or estimates that are not
// finite, or take kMaxNewtonSteps steps without meeting the test, throw
// FitNotConverged, with the outputs as for a singular Hessian in the
// iterations.
void maximise_likelihood_snp(const Haplotypes& haplotypes, const Phenotypes& phenotypes,
                             const SnpIndices& snp_indices, NEWMAT::Matrix& effect_sizes,
                             double& loglikelihood, NEWMAT::Matrix& covariance);

}  // namespace single_snp_test

#endif
