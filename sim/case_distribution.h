// The distribution from which a case draws its pair of haplotypes at the
// disease loci, stored compactly.
//
// Each place (the first and the second haplotype of the pair) has a list of
// configurations, one allele per disease locus.  An entry of the
// distribution is a pair of configurations, one of each place, with a
// cumulative probability as its key: keys strictly increase and the last is
// 1.0, and an entry's probability is its key less the key before it (0 for
// the first entry).  The keys sit in one vector and each pair is one 32-bit
// index, so an entry takes 12 bytes.
#ifndef VORDEL_SIM_CASE_DISTRIBUTION_H
#define VORDEL_SIM_CASE_DISTRIBUTION_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <utility>
#include <vector>

// Most entries that the case distributions of one run may hold together:
// 2^24, about 200 MB.
constexpr std::uint64_t kMaxCaseDistributionEntries = std::uint64_t{1} << 24;

class CaseDistribution {
 public:
  // The configurations of place 0 and place 1, one allele per locus.
  using Alleles = std::vector<std::vector<int>>;
  using Configurations = std::array<std::vector<std::vector<int>>, 2>;
  // An entry as (key, {place-0 alleles, place-1 alleles}).
  using value_type = std::pair<double, Alleles>;

  CaseDistribution() = default;
  // The entries given, in order of ascending keys, each pair with
  // configurations of its own.
  CaseDistribution(std::initializer_list<value_type> entries);
  // No entries yet, over all pairs of these configurations; at most 2^32
  // pairs.
  explicit CaseDistribution(Configurations configurations);

  const Configurations& configurations() const { return configurations_; }

  // Building.  Appends the pair (configurations()[0][i], configurations()[1][j])
  // with the cumulative weight `cumulative`, which must not be below the
  // last one appended; a weight equal to it adds nothing, so that the
  // earlier pair keeps the key.
  void append(double cumulative, std::size_t i, std::size_t j);
  // Divides every key by `total`, the last cumulative weight; where two
  // quotients are equal the earlier entry alone stays.
  void normalise(double total);

  std::size_t size() const { return keys_.size(); }
  bool empty() const { return keys_.empty(); }
  // The first entry whose key is greater than u; size() when there is none.
  std::size_t upper_bound(double u) const;
  double key(std::size_t k) const { return keys_[k]; }
  // The configurations of entry k, place 0 first.
  Alleles alleles(std::size_t k) const;

  // Entries in key order (or reversed, from rbegin), made on demand.
  class const_iterator {
   public:
    using iterator_category = std::bidirectional_iterator_tag;
    using value_type = CaseDistribution::value_type;
    using difference_type = std::ptrdiff_t;
    using reference = value_type;
    struct pointer {
      value_type entry;
      const value_type* operator->() const { return &entry; }
    };

    const_iterator(const CaseDistribution* distribution, difference_type k, difference_type step)
        : distribution_(distribution), k_(k), step_(step) {}
    value_type operator*() const { return {distribution_->key(k_), distribution_->alleles(k_)}; }
    pointer operator->() const { return {**this}; }
    const_iterator& operator++() {
      k_ += step_;
      return *this;
    }
    const_iterator& operator--() {
      k_ -= step_;
      return *this;
    }
    bool operator==(const const_iterator& other) const { return k_ == other.k_; }
    bool operator!=(const const_iterator& other) const { return k_ != other.k_; }

   private:
    const CaseDistribution* distribution_;
    difference_type k_;
    difference_type step_;
  };
  using const_reverse_iterator = const_iterator;

  const_iterator begin() const { return {this, 0, 1}; }
  const_iterator end() const { return {this, static_cast<std::ptrdiff_t>(size()), 1}; }
  const_reverse_iterator rbegin() const {
    return {this, static_cast<std::ptrdiff_t>(size()) - 1, -1};
  }
  const_reverse_iterator rend() const { return {this, -1, -1}; }

  // Equal keys and equal pairs of alleles, entry by entry.
  friend bool operator==(const CaseDistribution& a, const CaseDistribution& b);
  friend bool operator!=(const CaseDistribution& a, const CaseDistribution& b) { return !(a == b); }

 private:
  Configurations configurations_;
  std::vector<double> keys_;
  std::vector<std::uint32_t> pairs_;  // i * configurations_[1].size() + j
};

#endif
