// The compact case distribution: building, normalising and drawing.
#include "sim/case_distribution.h"

#include <algorithm>
#include <cassert>

CaseDistribution::CaseDistribution(std::initializer_list<value_type> entries) {
  const std::size_t n = entries.size();
  for (const value_type& entry : entries) {
    assert(entry.second.size() == 2);
    const std::size_t k = configurations_[0].size();
    configurations_[0].push_back(entry.second[0]);
    configurations_[1].push_back(entry.second[1]);
    assert(keys_.empty() || keys_.back() < entry.first);
    keys_.push_back(entry.first);
    pairs_.push_back(static_cast<std::uint32_t>(k * n + k));
  }
}

CaseDistribution::CaseDistribution(Configurations configurations)
    : configurations_(std::move(configurations)) {
  const std::uint64_t pairs =
      static_cast<std::uint64_t>(configurations_[0].size()) * configurations_[1].size();
  assert(pairs <= std::uint64_t{1} << 32);
  keys_.reserve(static_cast<std::size_t>(pairs));
  pairs_.reserve(static_cast<std::size_t>(pairs));
}

void CaseDistribution::append(double cumulative, std::size_t i, std::size_t j) {
  assert(i < configurations_[0].size() && j < configurations_[1].size());
  // Cumulative weights never decrease, so an equal key can only be the last.
  if (!keys_.empty() && !(keys_.back() < cumulative)) return;
  keys_.push_back(cumulative);
  pairs_.push_back(static_cast<std::uint32_t>(i * configurations_[1].size() + j));
}

void CaseDistribution::normalise(double total) {
  std::size_t kept = 0;
  for (std::size_t k = 0; k < keys_.size(); ++k) {
    const double key = keys_[k] / total;
    if (kept > 0 && !(keys_[kept - 1] < key)) continue;
    keys_[kept] = key;
    pairs_[kept] = pairs_[k];
    ++kept;
  }
  keys_.resize(kept);
  pairs_.resize(kept);
  // Pairs of zero weight leave their share of the reserved room unused.
  keys_.shrink_to_fit();
  pairs_.shrink_to_fit();
}

std::size_t CaseDistribution::upper_bound(double u) const {
  return static_cast<std::size_t>(std::upper_bound(keys_.begin(), keys_.end(), u) - keys_.begin());
}

CaseDistribution::Alleles CaseDistribution::alleles(std::size_t k) const {
  const std::size_t columns = configurations_[1].size();
  return {configurations_[0][pairs_[k] / columns], configurations_[1][pairs_[k] % columns]};
}

bool operator==(const CaseDistribution& a, const CaseDistribution& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k) {
    if (a.key(k) != b.key(k) || a.alleles(k) != b.alleles(k)) return false;
  }
  return true;
}
