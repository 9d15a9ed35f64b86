// Likelihood-ratio test of the additive logistic model against the
// intercept-only model, with the chi-square p-value of the statistic.
#ifndef VORDEL_ASSOC_LIKELIHOOD_RATIO_TEST_H
#define VORDEL_ASSOC_LIKELIHOOD_RATIO_TEST_H

#include "assoc/logistic_fit.h"

namespace single_snp_test {

// Maximum of the intercept-only log-likelihood in closed form,
// n0 ln n0 + n1 ln n1 - n ln n (n1 cases, n0 controls); not a number when a
// group is empty.
double null_loglikelihood(const Phenotypes& phenotypes);

// Upper tail Q of the chi-square distribution with degrees_of_freedom at a
// positive statistic.  Stops the process (assertion "status == 0") if the
// distribution function refuses its arguments.
double chi_square_upper_tail(double statistic, double degrees_of_freedom);

// Fits the model and tests it against the intercept-only model: estimates
// and standard errors ((k+1) x 1, intercept first) and the upper-tail
// chi-square p-value (k degrees of freedom) of the likelihood-ratio
// statistic.  The p-value is 1 when the statistic is not positive, when a
// group is empty, and for an empty SNP set.  SingularException and
// FitNotConverged from the fit pass through; standard_errors and pvalue are
// then not written.
void run_test(const Haplotypes& haplotypes, const Phenotypes& phenotypes,
              const SnpIndices& snp_indices, NEWMAT::Matrix& effect_sizes,
              NEWMAT::Matrix& standard_errors, double& pvalue);

}  // namespace single_snp_test

#endif
