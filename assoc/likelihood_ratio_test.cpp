// Likelihood-ratio test of the additive logistic model against the
// intercept-only model.
#include "assoc/likelihood_ratio_test.h"

#include <newmat/newmat.h>

#include <cassert>
#include <cmath>

#include "stats/distfuncs/distfuncs.h"

namespace single_snp_test {

using NEWMAT::Matrix;

// A group without individuals makes the null maximum not a number (0 ln 0),
// which run_test turns into the p-value 1.
double null_loglikelihood(const Phenotypes& phenotypes) {
  const int n = static_cast<int>(phenotypes.size());
  int cases = 0;
  for (const int y : phenotypes) cases += y;
  const int controls = n - cases;
  const double n0 = controls;
  const double n1 = cases;
  const double total = n;
  return (n0 * std::log(n0) + n1 * std::log(n1)) - total * std::log(total);
}

double chi_square_upper_tail(double statistic, double degrees_of_freedom) {
  int which = 1;
  double p = 0.0;
  double q = 1.0;
  int status = 0;
  double bound = 0.0;
  numlib::cdfchi(&which, &p, &q, &statistic, &degrees_of_freedom, &status, &bound);
  assert(status == 0);
  return q;
}

void run_test(const Haplotypes& haplotypes, const Phenotypes& phenotypes,
              const SnpIndices& snp_indices, Matrix& effect_sizes, Matrix& standard_errors,
              double& pvalue) {
  const double null_loglik = null_loglikelihood(phenotypes);

  double loglik = 0.0;
  Matrix covariance;
  maximise_likelihood_snp(haplotypes, phenotypes, snp_indices, effect_sizes, loglik, covariance);

  const double statistic = (null_loglik - loglik) * -2.0;
  const double degrees_of_freedom = effect_sizes.Nrows() - 1;

  // A statistic that is not positive (or not a number) carries no evidence:
  // the p-value is 1.  So is a model without SNPs, which is the null model
  // itself (zero degrees of freedom).
  double q = 1.0;
  if (statistic > 0.0 && degrees_of_freedom > 0.0) {
    q = chi_square_upper_tail(statistic, degrees_of_freedom);
  }
  pvalue = q;

  standard_errors.ReSize(covariance.Nrows(), 1);
  for (int i = 1; i <= covariance.Nrows(); ++i) {
    standard_errors(i, 1) = std::sqrt(covariance(i, i));
  }
}

}  // namespace single_snp_test
