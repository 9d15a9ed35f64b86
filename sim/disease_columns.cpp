#include "sim/disease_columns.h"

#include <array>
#include <cassert>

#include "sim/data.h"
#include "sim/pick_candidate.h"

namespace {

// Groups of up to this many loci are picked through match codes.
constexpr std::size_t kMaxCodedLoci = 8;

// The weights of candidates given by their match codes: candidate i weighs
// values[codes[i]].  Reads like a vector of the weights.
class CodedWeights {
 public:
  CodedWeights(const std::uint8_t* codes, const double* values, std::size_t count)
      : codes_(codes), values_(values), count_(count) {}
  std::size_t size() const { return count_; }
  double operator[](std::size_t i) const { return values_[codes_[i]]; }

 private:
  const std::uint8_t* codes_;
  const double* values_;
  std::size_t count_;
};

}  // namespace

void DiseaseColumns::clear() {
  columns_.clear();
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
    for (std::size_t c = 0; c < loci.size(); ++c) {
      const std::vector<int>& haps = loci[c]->haps;
      columns_[c].reserve(std::max(capacity, haps.size() + static_cast<std::size_t>(count)));
      for (const int allele : haps) columns_[c].push_back(stored(allele));
    }
  }
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    if (capacity > columns_[c].capacity()) columns_[c].reserve(capacity);
    for (int t = simulated_; t < count; ++t) {
      assert(indices[c] >= 0 && static_cast<std::size_t>(indices[c]) < simulated[t].size());
      columns_[c].push_back(stored(simulated[t][indices[c]]));
    }
  }
  simulated_ = std::max(simulated_, count);
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
  // every weight divided by the sum.
  codes_.assign(count, 0);
  for (std::size_t b = 0; b < group.size(); ++b) {
    const int c = group[b];
    const std::int8_t wanted = stored(alleles[c]);
    const std::int8_t* const column = columns_[c].data();
    std::uint8_t* const codes = codes_.data();
    if (wanted != kUnmatched) {
      for (std::size_t i = 0; i < held; ++i)
        codes[i] |= static_cast<std::uint8_t>((column[i] == wanted) << b);
    }
    if (last_alleles && (*last_alleles)[c] == alleles[c])
      codes[held] |= static_cast<std::uint8_t>(1U << b);
  }
  std::array<double, 1U << kMaxCodedLoci> values;
  const std::size_t patterns = std::size_t{1} << group.size();
  for (std::size_t code = 0; code < patterns; ++code) {
    double w = 1.0;
    for (std::size_t b = 0; b < group.size(); ++b) w *= (code >> b) & 1U ? keep : mu;
    values[code] = w;
  }
  double sum = 0.0;
  for (std::size_t i = 0; i < count; ++i) sum += values[codes_[i]];
  for (std::size_t code = 0; code < patterns; ++code) values[code] /= sum;
  return pick_candidate(u, CodedWeights(codes_.data(), values.data(), count));
}
