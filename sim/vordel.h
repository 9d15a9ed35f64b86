// The simulator: makes control and case haplotype pairs as copying mosaics
// of the reference panel and of the haplotypes made before them, and writes
// them to the output files.
#ifndef VORDEL_SIM_VORDEL_H
#define VORDEL_SIM_VORDEL_H

#include <array>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "sim/case_distribution.h"
#include "sim/data.h"
#include "sim/disease_columns.h"
#include "sim/parameters.h"

class Vordel {
 public:
  // Case distribution: cumulative probability -> (place-0 alleles,
  // place-1 alleles) at the disease loci.
  using CaseDistribution = ::CaseDistribution;
  // Control haplotype frequencies over a subset of SNPs.
  using FrequencyTable = std::map<std::vector<int>, double>;

  // Reads the tag SNP file when "-t" is given, then the genetic map and the
  // panel (throws badfilename), so that a bad tag file ends the run before
  // any work is done.
  explicit Vordel(const VordelParameters& params);
  // Reads the tag SNP file as above and uses an already-read panel.
  Vordel(const VordelParameters& params, const Data& data);
  // Not copyable: dl_snps points into the object's own panel.  A move keeps
  // those pointers valid, since a moved map keeps its nodes.
  Vordel(const Vordel&) = delete;
  Vordel& operator=(const Vordel&) = delete;
  Vordel(Vordel&&) = default;
  Vordel& operator=(Vordel&&) = default;

  // The whole simulation of a run: seeds the generator (0.12345 with
  // "-nrs", else from the clock), settles theta, selects the disease loci,
  // simulates every pair, writes the output files.  Memory that runs out
  // while the files are written is a GenericErrorException naming the files
  // it ran out for, thrown after the simulated data are given back.
  void simulate_haplotypes();
  // Sets theta to 1 / (1 + 1/2 + ... + 1/N) for N panel haplotypes.
  void set_theta();
  // Simulates all control pairs, then all case pairs, drawing from the
  // current generator; fills simulated_haplotypes, simulated_phenotypes and
  // num_simulated_haps.  Throws GenericErrorException when the simulated
  // haplotypes need more memory than the system grants (asked for before
  // the first pair), or when memory runs out while simulating (then after
  // giving back what was simulated).
  void simulate_all_alleles();
  // Cuts the SNPs of `snps` into runs of consecutive SNP indices copied from
  // one source, for a haplotype with K copy candidates (one draw per SNP
  // after the first).
  void simulate_crossovers(const std::map<int, snp>& snps, int K,
                           std::vector<std::vector<int>>& segments) const;

  // Matches the disease loci to panel SNPs, filling dl_indices and dl_snps;
  // throws NoSuitableDiseaseLociException, after reporting it, when none is
  // usable.
  void process_dl();

  // Case disease model.
  void simulate_disease_alleles(std::vector<std::vector<int>>& copying_states,
                                std::vector<std::vector<int>>& disease_alleles,
                                const std::array<double, 2>& mu);
  // Throws GenericErrorException when the pairs have no positive, finite
  // total weight, or when the table, with those already cached, would hold
  // more than kMaxCaseDistributionEntries pairs (checked before it is made).
  void calculate_case_hap_freq(const std::array<std::vector<std::vector<int>>, 2>& groups,
                               CaseDistribution& case_freq);
  void calculate_control_hap_freq(const std::vector<int>& snp_subset, FrequencyTable& table) const;

  // Memory ran out while the output files were written: the files it ran
  // out for, in the order they are written (several when files written side
  // by side ran out together; none when it ran out before a file was
  // named).  The summary file counts, for the flushes made meanwhile.
  struct WritingOutOfMemory {
    std::vector<std::string> files;
  };

  // Writes the haplotype, legend, genotype, tag genotype and sample files
  // named after the output path; throws badfilename when a file cannot be
  // opened or stored, and WritingOutOfMemory when memory runs out (the
  // simulated data are left as they are).
  void output_haplotypes() const;
  // Appends the genotype line of SNP `l` (at `it`) for the individuals of
  // rows [first, last) to `line`.
  void output_snp_data_dulvon_format(const std::map<int, snp>::const_iterator& it, int l, int first,
                                     int last, std::stringstream& line) const;

  std::set<int> tag_positions;  // of the tag SNP file; read before the panel
  Data panel_data;
  std::vector<std::vector<int>> simulated_haplotypes;
  std::vector<int> simulated_phenotypes;
  VordelParameters params;
  int num_simulated_haps = 0;
  std::vector<int> dl_indices;
  std::vector<const snp*> dl_snps;  // panel record of each disease locus, as dl_indices
  // Alleles of the panel and simulated haplotypes at the disease loci, for
  // the case disease model.
  DiseaseColumns dl_columns;
  std::map<std::string, CaseDistribution> case_hap_freq_cache;
  std::map<std::vector<int>, FrequencyTable> control_hap_freq_cache;

 private:
  // The pairs of simulate_all_alleles, controls first: `total_haps`
  // haplotypes, the first `control_haps` of them controls.
  void simulate_pairs(long total_haps, long control_haps);
  // Gives back the memory of the simulated haplotypes and phenotypes and of
  // the case model's tables, leaving none: after memory ran out they are of
  // no use, and the report needs room.
  void release_simulated_data();
};

#endif
