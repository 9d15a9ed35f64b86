// The whole-data-set tester: summaries, single-SNP fits and the results file.
#include "assoc/quarnex.h"

#include <newmat/newmat.h>

#include <cmath>
#include <cstddef>
#include <iostream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "sim/output_file.h"

namespace single_snp_test {

namespace {

// Throws std::invalid_argument with `what` unless `condition` holds.
void require(bool condition, const char* what) {
  if (!condition) throw std::invalid_argument(std::string("Quarnex: ") + what);
}

bool all_binary(const std::vector<int>& values) {
  for (const int value : values) {
    if (value != 0 && value != 1) return false;
  }
  return true;
}

}  // namespace

Quarnex::Quarnex(Haplotypes haplotypes, Phenotypes phenotypes, std::map<int, snp> snp_map)
    : haplotypes_(std::move(haplotypes)),
      phenotypes_(std::move(phenotypes)),
      snp_map_(std::move(snp_map)) {
  require(!haplotypes_.empty(), "the haplotype set has no individuals");
  require(haplotypes_.size() % 2 == 0,
          "the haplotype set has an odd number of rows (two per individual)");
  const std::size_t columns = haplotypes_.front().size();
  for (const std::vector<int>& row : haplotypes_) {
    require(row.size() == columns, "the haplotype rows differ in length");
    require(all_binary(row), "an allele is neither 0 nor 1");
  }
  require(phenotypes_.size() == haplotypes_.size() / 2,
          "the number of phenotypes differs from the number of individuals");
  require(all_binary(phenotypes_), "a phenotype is neither 0 nor 1");
  require(snp_map_.size() >= columns, "the SNP map has fewer entries than there are SNP columns");
}

void Quarnex::summarise_snp_data() {
  const int n = static_cast<int>(phenotypes_.size());
  int cases = 0;
  for (const int y : phenotypes_) cases += y;
  const int controls = n - cases;

  const std::size_t columns = haplotypes_.front().size();
  auto entry = snp_map_.begin();
  for (std::size_t s = 0; s < columns; ++s, ++entry) {
    snp_summary summary;
    summary.rsid = entry->second.rsid;
    summary.cases_counts.assign(3, 0);
    summary.controls_counts.assign(3, 0);
    for (std::size_t i = 0; i < phenotypes_.size(); ++i) {
      const int g = haplotypes_[2 * i][s] + haplotypes_[2 * i + 1][s];
      const int y = phenotypes_[i];
      summary.cases_counts[g] += y;
      summary.controls_counts[g] += 1 - y;
    }
    const std::vector<int>& c = summary.controls_counts;
    const std::vector<int>& k = summary.cases_counts;
    summary.controls_freq = static_cast<double>(2 * c[2] + c[1]) / (2 * controls);
    summary.cases_freq = static_cast<double>(2 * k[2] + k[1]) / (2 * cases);
    results_.emplace(entry->first, std::move(summary));
  }
}

void Quarnex::runtests() {
  summarise_snp_data();
  const double null_loglik = null_loglikelihood(phenotypes_);

  std::cout << "Running frequentist single SNP tests\n" << std::endl;

  const int columns = static_cast<int>(haplotypes_.front().size());
  auto entry = results_.begin();
  for (int s = 0; s < columns; ++s, ++entry) {
    snp_summary& summary = entry->second;
    const double frequency_sum = summary.cases_freq + summary.controls_freq;
    if (!(0.0 < frequency_sum && frequency_sum < 2.0)) continue;

    NEWMAT::Matrix effect_sizes;
    NEWMAT::Matrix covariance;
    double loglik = 0.0;
    try {
      maximise_likelihood_snp(haplotypes_, phenotypes_, {s}, effect_sizes, loglik, covariance);
    } catch (const NEWMAT::SingularException&) {
      // For one SNP that passed the frequency test: the same allele count
      // in every individual (all heterozygous).
      std::cout << "SNP at position " << entry->first
                << " could not be fitted: its information matrix is singular" << std::endl;
      continue;
    } catch (const FitNotConverged& e) {
      std::cout << "SNP at position " << entry->first << " could not be fitted: " << e.what()
                << std::endl;
      continue;
    }
    const double statistic = (null_loglik - loglik) * -2.0;
    const double degrees_of_freedom = effect_sizes.Nrows() - 1;
    summary.beta_0 = effect_sizes(1, 1);
    summary.beta_1 = effect_sizes(2, 1);
    summary.se_0 = std::sqrt(covariance(1, 1));
    summary.se_1 = std::sqrt(covariance(2, 2));
    summary.pvalue = statistic > 0.0 ? chi_square_upper_tail(statistic, degrees_of_freedom) : 1.0;
    summary.max_loglik = loglik;
    summary.chisq = statistic;
  }
}

void Quarnex::output_results(const std::string& file_name) const {
  std::ostringstream log;
  std::unique_ptr<std::ostream> file = open_output_file(file_name, log, std::ios::out);
  std::ostream& out = *file;
  out << "pos rsid controls_maf cases_maf controls_AA controls_AB controls_BB cases_AA cases_AB "
         "cases_BB beta_0_mle beta_1_mle frequentist_add_pvalue max_likelihood chisq_stat"
      << '\n';
  for (const auto& [position, summary] : results_) {
    out << position << ' ' << summary.rsid << ' ' << summary.controls_freq << ' '
        << summary.cases_freq;
    for (const int count : summary.controls_counts) out << ' ' << count;
    for (const int count : summary.cases_counts) out << ' ' << count;
    out << ' ' << summary.beta_0 << ' ' << summary.beta_1 << ' ' << summary.pvalue << ' '
        << summary.max_loglik << ' ' << summary.chisq << '\n';
  }
  std::cout << log.str() << std::endl;
  close_output_file(file);
}

}  // namespace single_snp_test
