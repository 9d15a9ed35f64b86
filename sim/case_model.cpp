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
#include <cstdint>
#include <limits>
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

// a * b, or the largest value when the product does not fit.
std::uint64_t saturating_product(std::uint64_t a, std::uint64_t b) {
  const std::uint64_t largest = std::numeric_limits<std::uint64_t>::max();
  return a != 0 && b > largest / a ? largest : a * b;
}

// The refusal of a case table of `entries` pairs when tables of `held` pairs
// are cached already.
std::string table_too_large(const std::map<double, DiseaseLocus>& dl, std::uint64_t entries,
                            std::uint64_t held) {
  std::ostringstream out;
  out << "the case model of the disease loci at positions " << locus_positions(dl)
      << " needs a table of ";
  if (entries == std::numeric_limits<std::uint64_t>::max()) out << "more than ";
  out << entries << " haplotype-pair configurations, ";
  if (held > 0) out << "which with the " << held << " of the tables made before it is ";
  out << "more than the limit of " << kMaxCaseDistributionEntries
      << ", so the cases cannot be simulated; use fewer disease loci.\n";
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
  const std::size_t drawn = case_freq.upper_bound(Random::RNG->Next());
  assert(drawn < case_freq.size());
  disease_alleles = case_freq.alleles(drawn);

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

  // The control table of every group, and the number of configurations of
  // each place: the product of its groups' table sizes.
  std::array<std::vector<const FrequencyTable*>, 2> tables;
  std::array<std::uint64_t, 2> configurations{1, 1};
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
      tables[j].push_back(&cached->second);
      configurations[j] = saturating_product(configurations[j], cached->second.size());
    }
  }
  // The table, with those cached for other patterns, must stay within the
  // limit; it is checked before any of it is made.
  const std::uint64_t entries = saturating_product(configurations[0], configurations[1]);
  std::uint64_t held = 0;
  for (const auto& entry : case_hap_freq_cache) held += entry.second.size();
  if (entries > kMaxCaseDistributionEntries || held > kMaxCaseDistributionEntries - entries)
    throw GenericErrorException(table_too_large(params.dl, entries, held));

  // The disease-locus configurations of each place and their control
  // frequencies: the product over the place's groups of their tables.
  CaseDistribution::Configurations all_haps;
  std::vector<double> all_weights[2];
  for (int j = 0; j < 2; ++j) {
    for (const FrequencyTable* table : tables[j]) {
      if (all_haps[j].empty()) {
        for (const auto& entry : *table) {
          all_haps[j].push_back(entry.first);
          all_weights[j].push_back(entry.second);
        }
        continue;
      }
      std::vector<std::vector<int>> haps;
      std::vector<double> weights;
      haps.reserve(all_haps[j].size() * table->size());
      weights.reserve(all_haps[j].size() * table->size());
      for (std::size_t h = 0; h < all_haps[j].size(); ++h) {
        for (const auto& entry : *table) {
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
  CaseDistribution cumulative(std::move(all_haps));
  const CaseDistribution::Configurations& configured = cumulative.configurations();
  double total = 0.0;
  for (std::size_t i = 0; i < configured[0].size(); ++i) {
    const std::vector<int>& h0 = configured[0][i];
    for (std::size_t j = 0; j < configured[1].size(); ++j) {
      const std::vector<int>& h1 = configured[1][j];
      assert(configured[0][i].size() == configured[1][j].size());
      assert(configured[0][i].size() == params.dl.size());
      double r = 1.0;
      std::size_t b = 0;
      for (const auto& locus : params.dl) {
        r = r * locus.second.rr[h1[b] + h0[b]];
        ++b;
      }
      const double p = (r * all_weights[0][i]) * all_weights[1][j];
      total = total + p;
      cumulative.append(total, i, j);
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

  cumulative.normalise(total);
  case_freq = std::move(cumulative);
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
