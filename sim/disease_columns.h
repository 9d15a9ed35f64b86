// The alleles of every copy candidate at the disease loci, one contiguous
// column per locus, and the conditional source pick of the case disease
// model read from them.
//
// The candidates of a case haplotype are the panel haplotypes, then the
// haplotypes simulated before it (then, at the pair's second place, the
// pair's first haplotype).  Reading their alleles at a disease SNP from the
// haplotypes themselves touches one cache line and page per haplotype;
// the columns hold the same alleles side by side, and grow as haplotypes
// are completed.
#ifndef VORDEL_SIM_DISEASE_COLUMNS_H
#define VORDEL_SIM_DISEASE_COLUMNS_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

struct snp;

class DiseaseColumns {
 public:
  // Forgets every column.
  void clear();

  // Brings the columns up to date: column c holds the panel alleles of
  // loci[c] (one per panel haplotype), then the alleles of simulated
  // haplotypes 0 .. count - 1 at SNP index indices[c].  Only the rows not
  // held yet are appended: completed haplotypes must not change.  When the
  // loci or the panel are not those of the last call, or count went down,
  // the columns are built anew.  `capacity` rows are reserved.
  void update(const std::vector<const snp*>& loci, const std::vector<int>& indices,
              const std::vector<std::vector<int>>& simulated, int count, std::size_t capacity = 0);

  // Number of rows held: panel haplotypes and simulated haplotypes.
  int rows() const { return static_cast<int>(columns_.empty() ? 0 : columns_[0].size()); }

  // The conditional source of one group of loci, copied together: each of
  // the rows() candidates, and a last one whose alleles at the loci are
  // last_alleles when that is not null, weighs the product over the group's
  // loci c, in group order, of 1 - mu when its allele at c is alleles[c],
  // else mu.  The weights are divided by their sum (taken in candidate
  // order) and the candidate is picked with draw u as pick_candidate does.
  // Gives the same candidate, bit for bit, as forming those weights one
  // candidate at a time (for alleles outside -127 .. 127, which never occur,
  // a held candidate counts as not matching).
  int pick_source(const std::vector<int>& group, const std::vector<int>& alleles,
                  const std::vector<int>* last_alleles, double mu, double u);

 private:
  // Alleles are stored as bytes: -127 .. 127 as they are, anything else as
  // -128, which matches nothing (the panel and the simulation hold only 0
  // and 1).
  static constexpr int kLowest = -127;
  static constexpr int kHighest = 127;
  static constexpr std::int8_t kUnmatched = -128;
  static std::int8_t stored(int allele) {
    return allele >= kLowest && allele <= kHighest ? static_cast<std::int8_t>(allele) : kUnmatched;
  }

  void append(std::size_t c, int allele);

  std::vector<std::vector<std::int8_t>> columns_;
  // The same, as bit masks: bit i of ones_[c] (zeros_[c]) is set when
  // candidate i holds allele 1 (0) at locus c, 64 candidates a word.
  std::vector<std::vector<std::uint64_t>> ones_;
  std::vector<std::vector<std::uint64_t>> zeros_;
  std::vector<const snp*> loci_;  // what the columns were built for
  std::vector<int> indices_;
  int simulated_ = 0;  // simulated haplotypes held

  // Scratch of pick_source, kept so that a pick does not allocate: the
  // masks of disease alleles other than 0 and 1, and the weights of a
  // group of more than eight loci.
  std::array<std::vector<std::uint64_t>, 8> scratch_masks_;
  std::vector<double> weights_;
};

#endif
