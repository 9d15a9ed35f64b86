#include "sim/disease_columns.h"

#include <array>
#include <cassert>

#include "random/target_clones.h"
#include "sim/binade_steps.h"
#include "sim/data.h"
#include "sim/pick_candidate.h"

namespace {

// Groups of up to this many loci are picked through match codes.
constexpr std::size_t kMaxCodedLoci = 8;
// Up to this many, runs of 64 candidates are added or taken off at once.
constexpr std::size_t kMaxCountedLoci = 4;

// The sums and picks below count the set bits of words; they are compiled
// also for machines with an instruction for it, and each machine takes
// the fastest it has (the counts are the same).
#define VORDEL_POPCOUNT_CLONES VORDEL_TARGET_CLONES("popcnt", "default")

// The match codes of the held candidates, read from one bit mask per locus
// of the group: bit b of the code of candidate i is bit i of mask b.
class MatchCodes {
 public:
  MatchCodes(const std::uint64_t* const* masks, std::size_t loci, std::size_t count)
      : masks_(masks), loci_(loci), count_(count) {}

  std::size_t size() const { return count_; }
  std::size_t patterns() const { return std::size_t{1} << loci_; }
  // True when whole words can be counted (few enough codes).
  bool countable() const { return loci_ <= kMaxCountedLoci; }

  unsigned operator()(std::size_t i) const {
    unsigned code = 0;
    for (std::size_t b = 0; b < loci_; ++b)
      code |= static_cast<unsigned>((masks_[b][i / 64] >> (i % 64)) & 1U) << b;
    return code;
  }

  // The number of candidates 64 w .. 64 w + 63 with the code.
  std::int64_t count(std::size_t w, unsigned code) const {
    std::uint64_t x = ~std::uint64_t{0};
    for (std::size_t b = 0; b < loci_; ++b) x &= (code >> b) & 1U ? masks_[b][w] : ~masks_[b][w];
    return __builtin_popcountll(x);
  }

 private:
  const std::uint64_t* const* masks_;
  std::size_t loci_;
  std::size_t count_;
};

// The fixed steps of the values of every code in the binade of exponent
// `biased`, remade when the binade changes (sim/binade_steps.h).
class CodeSteps {
 public:
  CodeSteps(const double* values, std::size_t patterns) : values_(values), patterns_(patterns) {}

  // The whole number of multiples of q that the candidates of word w move
  // a double of binade `biased` by; -1 when some step is not fixed.
  std::int64_t word_total(const MatchCodes& codes, std::size_t w, int biased) {
    if (biased != biased_) {
      // Only the codes that move the double are counted.
      moving_ = 0;
      for (unsigned code = 0; code < patterns_; ++code) {
        const std::int64_t step = binade::fixed_step(values_[code], biased);
        if (step != 0) {
          codes_[moving_] = code;
          steps_[moving_++] = step;
        }
      }
      biased_ = biased;
    }
    std::int64_t total = 0;
    for (std::size_t k = 0; k < moving_; ++k) {
      const std::int64_t n = codes.count(w, codes_[k]);
      if (n == 0) continue;
      if (steps_[k] < 0) return -1;
      total += n * steps_[k];
    }
    return total;
  }

 private:
  const double* values_;
  std::size_t patterns_;
  int biased_ = -1;
  // The codes whose step in binade biased_ is not 0, and their steps.
  std::size_t moving_ = 0;
  unsigned codes_[std::size_t{1} << kMaxCountedLoci] = {};
  std::int64_t steps_[std::size_t{1} << kMaxCountedLoci] = {};
};

// The sum of values[codes(i)] over the held candidates, added in candidate
// order from 0.0 as double additions.  A word of 64 candidates that keeps
// the sum inside its binade is added at once (sim/binade_steps.h).
VORDEL_POPCOUNT_CLONES double ordered_sum(const MatchCodes& codes, const double* values) {
  CodeSteps steps(values, codes.patterns());
  const std::size_t n = codes.size();
  double s = 0.0;
  for (std::size_t i = 0; i < n;) {
    if (i % 64 == 0 && i + 64 <= n && codes.countable() && s > 0.0) {
      const int biased = binade::exponent_of(s);
      if (binade::gridded(biased)) {
        const std::int64_t total = steps.word_total(codes, i / 64, biased);
        const std::int64_t m = binade::multiple_of(s);
        if (total >= 0 && m + total <= binade::kTop) {
          s = binade::from_multiple(m + total, biased);
          i += 64;
          continue;
        }
      }
    }
    s += values[codes(i)];
    ++i;
  }
  return s;
}

// pick_candidate over the held candidates, with weights values[codes(i)],
// and then, when last is not negative, a last candidate of code `last`.  A
// word of 64 candidates that keeps u inside its binade (so above 0) is
// taken off at once.
VORDEL_POPCOUNT_CLONES int ordered_pick(double u, const MatchCodes& codes, const double* values,
                                        int last) {
  if (u <= 0.0) return -1;
  CodeSteps steps(values, codes.patterns());
  const std::size_t n = codes.size();
  for (std::size_t i = 0; i < n;) {
    if (i % 64 == 0 && i + 64 <= n && codes.countable()) {
      const int biased = binade::exponent_of(u);
      if (binade::gridded(biased)) {
        const std::int64_t total = steps.word_total(codes, i / 64, biased);
        const std::int64_t m = binade::multiple_of(u);
        if (total >= 0 && m - total > binade::kBottom) {
          u = binade::from_multiple(m - total, biased);
          i += 64;
          continue;
        }
      }
    }
    u -= values[codes(i)];
    if (u <= 0.0) return static_cast<int>(i);
    ++i;
  }
  // The last candidate is the pick whether or not u reaches 0 there.
  return last >= 0 ? static_cast<int>(n) : static_cast<int>(n) - 1;
}

}  // namespace

void DiseaseColumns::clear() {
  columns_.clear();
  ones_.clear();
  zeros_.clear();
  loci_.clear();
  indices_.clear();
  simulated_ = 0;
}

void DiseaseColumns::update(const std::vector<const snp*>& loci, const std::vector<int>& indices,
                            const std::vector<std::vector<int>>& simulated, const int count,
                            const std::size_t capacity) {
  assert(loci.size() == indices.size());
  if (loci != loci_ || indices != indices_ || count < simulated_) {
    clear();
    loci_ = loci;
    indices_ = indices;
    columns_.resize(loci.size());
    ones_.resize(loci.size());
    zeros_.resize(loci.size());
    for (std::size_t c = 0; c < loci.size(); ++c) {
      const std::vector<int>& haps = loci[c]->haps;
      columns_[c].reserve(std::max(capacity, haps.size() + static_cast<std::size_t>(count)));
      for (const int allele : haps) append(c, allele);
    }
  }
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    if (capacity > columns_[c].capacity()) {
      columns_[c].reserve(capacity);
      ones_[c].reserve(capacity / 64 + 1);
      zeros_[c].reserve(capacity / 64 + 1);
    }
    for (int t = simulated_; t < count; ++t) {
      assert(indices[c] >= 0 && static_cast<std::size_t>(indices[c]) < simulated[t].size());
      append(c, simulated[t][indices[c]]);
    }
  }
  simulated_ = std::max(simulated_, count);
}

void DiseaseColumns::append(std::size_t c, int allele) {
  const std::size_t i = columns_[c].size();
  columns_[c].push_back(stored(allele));
  if (i % 64 == 0) {
    ones_[c].push_back(0);
    zeros_[c].push_back(0);
  }
  const std::uint64_t bit = std::uint64_t{1} << (i % 64);
  if (allele == 1) ones_[c].back() |= bit;
  if (allele == 0) zeros_[c].back() |= bit;
}

int DiseaseColumns::pick_source(const std::vector<int>& group, const std::vector<int>& alleles,
                                const std::vector<int>* last_alleles, const double mu,
                                const double u) {
  const double keep = 1.0 - mu;
  const std::size_t held = static_cast<std::size_t>(rows());
  const std::size_t count = held + (last_alleles ? 1 : 0);

  if (group.size() > kMaxCodedLoci) {
    // Weight by weight, locus by locus.
    weights_.assign(count, 1.0);
    for (const int c : group) {
      const std::int8_t wanted = stored(alleles[c]);
      const std::int8_t* const column = columns_[c].data();
      for (std::size_t i = 0; i < held; ++i)
        weights_[i] *= column[i] == wanted && wanted != kUnmatched ? keep : mu;
      if (last_alleles) weights_[held] *= (*last_alleles)[c] == alleles[c] ? keep : mu;
    }
    double sum = 0.0;
    for (const double w : weights_) sum += w;
    for (double& w : weights_) w /= sum;
    return pick_candidate(u, weights_);
  }

  // Bit b of a candidate's code: its allele matches at the group's b-th
  // locus.  Every weight is then one of 2^g products, each formed as the
  // weights are (from 1.0, one factor per locus in group order), and so is
  // every weight divided by the sum.  The matches are read from bit masks,
  // 64 candidates a word.
  const std::size_t g = group.size();
  const std::size_t words = (held + 63) / 64;
  std::array<const std::uint64_t*, kMaxCodedLoci> masks{};
  unsigned last_code = 0;
  for (std::size_t b = 0; b < g; ++b) {
    const int c = group[b];
    if (alleles[c] == 1) {
      masks[b] = ones_[c].data();
    } else if (alleles[c] == 0) {
      masks[b] = zeros_[c].data();
    } else {
      std::vector<std::uint64_t>& mask = scratch_masks_[b];
      mask.assign(words, 0);
      const std::int8_t wanted = stored(alleles[c]);
      if (wanted != kUnmatched) {
        for (std::size_t i = 0; i < held; ++i)
          if (columns_[c][i] == wanted) mask[i / 64] |= std::uint64_t{1} << (i % 64);
      }
      masks[b] = mask.data();
    }
    if (last_alleles && (*last_alleles)[c] == alleles[c]) last_code |= 1U << b;
  }
  std::array<double, 1U << kMaxCodedLoci> values;
  const std::size_t patterns = std::size_t{1} << g;
  for (std::size_t code = 0; code < patterns; ++code) {
    double w = 1.0;
    for (std::size_t b = 0; b < g; ++b) w *= (code >> b) & 1U ? keep : mu;
    values[code] = w;
  }
  const MatchCodes codes(masks.data(), g, held);
  double sum = ordered_sum(codes, values.data());
  if (last_alleles) sum += values[last_code];
  for (std::size_t code = 0; code < patterns; ++code) values[code] /= sum;
  return ordered_pick(u, codes, values.data(), last_alleles ? static_cast<int>(last_code) : -1);
}
