// The whole-data-set tester: every SNP of a data set tested on its own by
// the additive logistic model, with a results table written to a file.
#ifndef VORDEL_ASSOC_QUARNEX_H
#define VORDEL_ASSOC_QUARNEX_H

#include <map>
#include <string>
#include <vector>

#include "assoc/likelihood_ratio_test.h"
#include "sim/data.h"

namespace single_snp_test {

class Quarnex {
 public:
  // Genotype counts, allele-1 frequencies and test results of one SNP.  The
  // last seven fields stay -1.0 for a SNP that is not tested.
  struct snp_summary {
    std::string rsid;
    double cases_freq = 0.0;
    double controls_freq = 0.0;
    std::vector<int> cases_counts;     // cases with 0, 1, 2 copies of allele 1
    std::vector<int> controls_counts;  // the same for controls
    double beta_0 = -1.0;              // intercept estimate
    double beta_1 = -1.0;              // effect estimate of the SNP
    double se_0 = -1.0;
    double se_1 = -1.0;
    double pvalue = -1.0;  // likelihood-ratio p-value
    double max_loglik = -1.0;
    double chisq = -1.0;  // likelihood-ratio statistic
  };

  // Haplotype rows 2i and 2i+1 are individual i, with phenotypes[i] (0 a
  // control, 1 a case); the k-th entry of snp_map in position order
  // describes column k.  Throws std::invalid_argument, saying which
  // condition failed, unless there is at least one individual, the rows come
  // in pairs and all have the same length, every allele is 0 or 1, there is
  // one phenotype 0 or 1 per individual, and snp_map has at least as many
  // entries as the rows have columns.
  Quarnex(Haplotypes haplotypes, Phenotypes phenotypes, std::map<int, snp> snp_map);

  // Adds a summary (counts and frequencies) for every SNP column, keyed by
  // its position; a position already summarised keeps its summary.
  void summarise_snp_data();

  // Summarises the data, then fits every SNP whose frequencies among cases
  // and controls sum to more than 0 and less than 2 (so a SNP without
  // controls or without cases is skipped).  A SNP whose model cannot be
  // fitted (singular information matrix, iterations that do not converge)
  // is reported on standard output and keeps -1.0 in its results.
  void runtests();

  // Writes the results table to `file_name`, gzip-compressed for a ".gz"
  // name, then echoes the "writing output file" line to standard output.
  // Throws badfilename when the file cannot be opened or written.
  void output_results(const std::string& file_name) const;

  const std::map<int, snp_summary>& results() const { return results_; }

 private:
  Haplotypes haplotypes_;
  Phenotypes phenotypes_;
  std::map<int, snp> snp_map_;
  std::map<int, snp_summary> results_;
};

}  // namespace single_snp_test

#endif
