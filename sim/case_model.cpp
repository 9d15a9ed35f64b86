// The case disease model.
//
// A case pair's alleles at the disease loci are drawn from the distribution
// that the relative risks induce on pairs of control haplotypes; the source
// of every copying segment that carries disease loci is then drawn
// conditionally on those alleles, allowing for mutation.  Case distributions
// are cached per grouping pattern of the disease loci into copying segments,
// control haplotype frequencies per set of SNPs.
#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <cstddef>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "random/vorand1.h"
#include "sim/exceptions.h"
#include "sim/pick_candidate.h"
#include "sim/vordel.h"

namespace {

// The disease-locus positions of a model, for messages.
std::string locus_positions(const std::map<double, DiseaseLocus>& dl) {
  std::ostringstream out;
  const char* separator = "";
  for (const auto& locus : dl) {
    out << separator << static_cast<long long>(locus.first);
    separator = ", ";
  }
  return out.str();
}

}  // namespace

void Vordel::simulate_disease_alleles(std::vector<std::vector<int>>& copying_states,
                                      std::vector<std::vector<int>>& disease_alleles,
                                      const std::array<double, 2>& mu) {
  assert(copying_states.size() == 2);
  assert(dl_indices.size() >= 1);
  const int num_loci = static_cast<int>(dl_indices.size());

  // Group the loci of each place by copying segment: consecutive loci with
  // the same copying state share a segment, and the sizes of the groups make
  // the key of the grouping pattern.
  std::array<std::vector<std::vector<int>>, 2> groups;
  std::string key;
  for (int j = 0; j < 2; ++j) {
    const std::vector<int>& states = copying_states[j];
    std::vector<int> current{0};
    for (int c = 1; c < num_loci; ++c) {
      if (states[dl_indices[c]] == states[dl_indices[current.front()]]) {
        current.push_back(c);
      } else {
        key += std::to_string(current.size()) + ".";
        groups[j].push_back(current);
        current.assign(1, c);
      }
    }
    key += std::to_string(current.size()) + "/";
    groups[j].push_back(current);
  }

  auto cached = case_hap_freq_cache.find(key);
  if (cached == case_hap_freq_cache.end()) {
    CaseDistribution case_freq;
    calculate_case_hap_freq(groups, case_freq);
    cached = case_hap_freq_cache.emplace(key, std::move(case_freq)).first;
  }

  // The pair of disease-locus haplotypes.
  const CaseDistribution& case_freq = cached->second;
  const auto drawn = case_freq.upper_bound(Random::RNG->Next());
  assert(drawn != case_freq.end());
  disease_alleles = drawn->second;

  // The source of each group's segment, given the drawn alleles.
  const int num_panel = panel_data.num_panel_haps;
  assert(dl_snps.size() == dl_indices.size());
  dl_columns.update(dl_snps, dl_indices, simulated_haplotypes, num_simulated_haps);
  assert(dl_columns.rows() == num_panel + num_simulated_haps);
  for (int j = 0; j < 2; ++j) {
    std::vector<int>& states = copying_states[j];
    for (const std::vector<int>& group : groups[j]) {
      const int source =
          dl_columns.pick_source(group, disease_alleles[j], j == 1 ? &disease_alleles[0] : nullptr,
                                 mu[j], Random::RNG->Next());

      // Write the source over the group's state, scanning from the first
      // SNP: every entry with that state up to the group's last locus, and
      // after it the run that continues the segment.
      const int code = states[dl_indices[group.front()]];
      const auto past_last = states.begin() + dl_indices[group.back()] + 1;
      std::replace(states.begin(), past_last, code, source);
      for (auto l = past_last; l != states.end() && *l == code; ++l) *l = source;
    }
  }
}

void Vordel::calculate_case_hap_freq(const std::array<std::vector<std::vector<int>>, 2>& groups,
                                     CaseDistribution& case_freq) {
  assert(num_simulated_haps >= 2 * params.ncontrols);

  // The disease-locus configurations of each place and their control
  // frequencies: the product over the place's groups of their tables.
  std::vector<std::vector<int>> all_haps[2];
  std::vector<double> all_weights[2];
  for (int j = 0; j < 2; ++j) {
    for (const std::vector<int>& group : groups[j]) {
      std::vector<int> subset;
      for (const int c : group) subset.push_back(dl_indices[c]);
      auto cached = control_hap_freq_cache.find(subset);
      if (cached == control_hap_freq_cache.end()) {
        FrequencyTable table;
        calculate_control_hap_freq(subset, table);
        cached = control_hap_freq_cache.emplace(subset, std::move(table)).first;
      }
      const FrequencyTable& table = cached->second;

      if (all_haps[j].empty()) {
        for (const auto& entry : table) {
          all_haps[j].push_back(entry.first);
          all_weights[j].push_back(entry.second);
        }
        continue;
      }
      std::vector<std::vector<int>> haps;
      std::vector<double> weights;
      for (std::size_t h = 0; h < all_haps[j].size(); ++h) {
        for (const auto& entry : table) {
          std::vector<int> extended = all_haps[j][h];
          extended.insert(extended.end(), entry.first.begin(), entry.first.end());
          haps.push_back(std::move(extended));
          weights.push_back(all_weights[j][h] * entry.second);
        }
      }
      all_haps[j] = std::move(haps);
      all_weights[j] = std::move(weights);
    }
  }

  // Pairs weighted by their relative risk; a cumulative total that a pair
  // leaves unchanged stays with the earlier pair.
  std::map<double, std::vector<std::vector<int>>> cumulative;
  double total = 0.0;
  for (std::size_t i = 0; i < all_haps[0].size(); ++i) {
    const std::vector<int>& h0 = all_haps[0][i];
    for (std::size_t j = 0; j < all_haps[1].size(); ++j) {
      const std::vector<int>& h1 = all_haps[1][j];
      assert(all_haps[0][i].size() == all_haps[1][j].size());
      assert(all_haps[0][i].size() == params.dl.size());
      double r = 1.0;
      std::size_t b = 0;
      for (const auto& locus : params.dl) {
        r = r * locus.second.rr[h1[b] + h0[b]];
        ++b;
      }
      const double p = (r * all_weights[0][i]) * all_weights[1][j];
      total = total + p;
      cumulative.try_emplace(total, std::vector<std::vector<int>>{h0, h1});
    }
  }

  // Without a positive, finite total there is no distribution to draw from.
  if (total == 0.0) {
    throw GenericErrorException(
        "every pair of haplotypes at the disease loci (positions " + locus_positions(params.dl) +
        ") found among the panel and control haplotypes has a relative risk of zero, so no "
        "case can be simulated.\n");
  }
  if (!std::isfinite(total)) {
    throw GenericErrorException(
        "the relative risks of the disease loci at positions " + locus_positions(params.dl) +
        " multiply to a value too large to compute, so no case can be simulated.\n");
  }

  case_freq.clear();
  for (auto& entry : cumulative)
    case_freq.emplace_hint(case_freq.end(), entry.first / total, std::move(entry.second));
}

void Vordel::calculate_control_hap_freq(const std::vector<int>& snp_subset,
                                        FrequencyTable& table) const {
  assert(num_simulated_haps >= 2 * params.ncontrols);
  table.clear();

  std::vector<const std::vector<int>*> panel_alleles;
  for (const int index : snp_subset) {
    auto snps_data_it = panel_data.snps_data.begin();
    for (int k = 0; k < index && snps_data_it != panel_data.snps_data.end(); ++k) ++snps_data_it;
    assert(snps_data_it != panel_data.snps_data.end());
    panel_alleles.push_back(&snps_data_it->second.haps);
  }

  const int num_controls = params.ncontrols;
  const int num_panel = panel_data.num_panel_haps;
  const int num_haps = num_panel + 2 * num_controls;
  if (num_haps < 1) return;
  const double share = 1.0 / (num_controls + num_controls + num_panel);

  std::vector<int> alleles(snp_subset.size());
  for (int i = 0; i < num_haps; ++i) {
    for (std::size_t s = 0; s < snp_subset.size(); ++s)
      alleles[s] = i < num_panel ? (*panel_alleles[s])[i]
                                 : simulated_haplotypes[i - num_panel][snp_subset[s]];
    table[alleles] += share;
  }
}
