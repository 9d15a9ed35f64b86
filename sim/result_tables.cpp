// The association-test result tables of the run report.
#include "sim/result_tables.h"

#include <cassert>
#include <iomanip>
#include <set>
#include <vector>

#include <newmat/newmat.h>

#include "assoc/likelihood_ratio_test.h"
#include "assoc/separation.h"
#include "sim/report_format.h"

const char* const kNotFittedRow =
    "    not fitted: the information matrix is singular (no variation at this SNP?)";
const char* const kNotFittedJoint =
    "\n\nThe full disease model could not be fitted: its information matrix is singular "
    "(a disease SNP without variation, or disease SNPs in complete linkage).";
const char* const kSeparatedSnp =
    ": cases and controls are separated by its allele counts, so its beta and beta_se are not "
    "estimates (the likelihood has no maximum); its pvalue stands.";
const char* const kSeparatedJoint =
    "The full disease model: cases and controls are separated by the allele counts of its SNPs, "
    "so its beta and beta_se values are not estimates (the likelihood has no maximum); its pvalue "
    "stands.";

void write_result_tables(std::ostream& report, const std::vector<std::vector<int>>& haplotypes,
                         const std::vector<int>& phenotypes, const std::vector<int>& dl_indices) {
  using std::endl;
  using std::setw;

  // General notation, at most 4 significant digits, right-aligned columns;
  // the stream's own format comes back at the end.
  const StreamFormatGuard keep_format(report);
  report << std::setprecision(4) << std::right;
  report.unsetf(std::ios::fixed | std::ios::showpoint);

  const std::set<int> indices(dl_indices.begin(), dl_indices.end());
  NEWMAT::Matrix effect_sizes;
  NEWMAT::Matrix standard_errors;
  double pvalue = 0.0;

  report << "\n\nThe pvalues and effect sizes of each disease SNP is:\n" << endl;
  report << setw(15) << "Disease_locus_index" << setw(15) << "beta" << setw(15) << "beta_se"
         << setw(15) << "pvalue" << endl;
  std::vector<int> separated;  // SNPs with figures whose fit has no maximum
  for (const int d : indices) {
    report << setw(15) << d;
    try {
      single_snp_test::run_test(haplotypes, phenotypes, {d}, effect_sizes, standard_errors, pvalue);
    } catch (const NEWMAT::SingularException&) {
      report << kNotFittedRow << endl;
      continue;
    } catch (const single_snp_test::FitNotConverged& e) {
      report << "    not fitted: " << e.what() << endl;
      continue;
    }
    report << setw(19) << effect_sizes(2, 1) << setw(15) << standard_errors(2, 1) << setw(15)
           << pvalue << endl;
    if (single_snp_test::separated(haplotypes, phenotypes, {d})) separated.push_back(d);
  }
  for (const int d : separated) report << "Disease SNP " << d << kSeparatedSnp << endl;

  try {
    single_snp_test::run_test(haplotypes, phenotypes, indices, effect_sizes, standard_errors,
                              pvalue);
  } catch (const NEWMAT::SingularException&) {
    report << kNotFittedJoint << endl;
    return;
  } catch (const single_snp_test::FitNotConverged& e) {
    report << "\n\nThe full disease model could not be fitted: " << e.what() << "." << endl;
    return;
  }
  report << "\n\nThe pvalue for the full disease model is " << pvalue << ":" << endl;
  report << setw(15) << "Disease_locus_index" << setw(15) << "beta" << setw(15) << "beta_se"
         << endl;
  // One estimate after the intercept for each disease SNP, in index order.
  assert(effect_sizes.Nrows() == static_cast<int>(indices.size()) + 1);
  auto index = indices.begin();
  for (int k = 2; k <= effect_sizes.Nrows(); ++k, ++index) {
    report << setw(15) << *index << setw(19) << effect_sizes(k, 1) << setw(15)
           << standard_errors(k, 1) << endl;
  }
  if (single_snp_test::separated(haplotypes, phenotypes, indices))
    report << kSeparatedJoint << endl;
}
