#include "common/association_sample.h"

#include <cmath>
#include <random>

void add_individuals(Sample& sample, int phenotype, const std::vector<int>& allele_counts,
                     int copies) {
  std::vector<int> first;
  std::vector<int> second;
  for (const int count : allele_counts) {
    first.push_back(count >= 1 ? 1 : 0);
    second.push_back(count == 2 ? 1 : 0);
  }
  for (int c = 0; c < copies; ++c) {
    sample.haplotypes.push_back(first);
    sample.haplotypes.push_back(second);
    sample.phenotypes.push_back(phenotype);
  }
}

Sample two_by_two(int low, int high, int cases_high, int cases_low, int controls_high,
                  int controls_low) {
  Sample sample;
  add_individuals(sample, 0, {high}, controls_high);
  add_individuals(sample, 0, {low}, controls_low);
  add_individuals(sample, 1, {high}, cases_high);
  add_individuals(sample, 1, {low}, cases_low);
  return sample;
}

SaturatedFit saturated_fit(int low, int high, int cases_high, int cases_low, int controls_high,
                           int controls_low) {
  const double a = cases_high, b = cases_low, c = controls_high, d = controls_low;
  SaturatedFit fit;
  const double spacing = high - low;
  fit.beta = std::log(a * d / (b * c)) / spacing;
  fit.intercept = std::log(b / d) - low * fit.beta;
  fit.se = std::sqrt(1 / a + 1 / b + 1 / c + 1 / d) / spacing;
  // G statistic: 2 sum O ln(O/E), E from the margins.
  const double n = a + b + c + d;
  const double observed[2][2] = {{a, b}, {c, d}};
  const double rows[2] = {a + b, c + d};
  const double cols[2] = {a + c, b + d};
  fit.g = 0.0;
  for (int r = 0; r < 2; ++r)
    for (int k = 0; k < 2; ++k)
      fit.g += 2 * observed[r][k] * std::log(observed[r][k] / (rows[r] * cols[k] / n));
  fit.null_loglik = rows[0] * std::log(rows[0]) + rows[1] * std::log(rows[1]) - n * std::log(n);
  fit.pvalue = std::erfc(std::sqrt(fit.g / 2));
  return fit;
}

Sample random_sample(int individuals, int snps, std::uint32_t seed) {
  std::mt19937 engine(seed);
  std::bernoulli_distribution allele(0.3);
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  Sample controls;
  Sample cases;
  for (int i = 0; i < individuals; ++i) {
    std::vector<int> counts(snps);
    for (int& count : counts) count = allele(engine) + allele(engine);
    const double eta = -0.5 + 0.4 * counts[0];
    const int y = uniform(engine) < 1.0 / (1.0 + std::exp(-eta)) ? 1 : 0;
    add_individuals(y == 1 ? cases : controls, y, counts, 1);
  }
  Sample sample = controls;
  sample.haplotypes.insert(sample.haplotypes.end(), cases.haplotypes.begin(),
                           cases.haplotypes.end());
  sample.phenotypes.insert(sample.phenotypes.end(), cases.phenotypes.begin(),
                           cases.phenotypes.end());
  return sample;
}
