// The reference panel: the genetic map and the SNPs of the chosen interval,
// read from the genetic map, legend and haplotype files.
#ifndef VORDEL_SIM_DATA_H
#define VORDEL_SIM_DATA_H

#include <map>
#include <string>
#include <vector>

#include "sim/parameters.h"

// One SNP of the panel.  Its base-pair position is the key it is stored
// under in Data::snps_data.
struct snp {
  std::string rsid;
  double genetic_position = 0.0;  // population-scaled, interpolated in the map
  std::vector<int> haps;          // allele of every panel haplotype
  std::string allele0;
  std::string allele1;
  double freq = 0.0;  // frequency of allele 1 among the panel
};

// Population-scaled genetic positions by linear interpolation in a genetic
// map, given as its base-pair positions p and scaled values s, one per map
// line in file order (at least one line).  Before p[0] the value is s[0].
// Otherwise the map line i is the one reached by walking from line 0 while
// the next line's position is at most x; at the last line the value is its
// own, else ((x - p[i]) / (p[i+1] - p[i])) * (s[i+1] - s[i]) + s[i].  The
// walk defines the result for a map in any order; the index finds the same
// line by binary search.
class GeneticMapIndex {
 public:
  // Keeps references to both vectors, which must outlive the index.
  GeneticMapIndex(const std::vector<double>& positions, const std::vector<double>& scaled);
  double genetic_position(double x) const;

 private:
  const std::vector<double>& p_;
  const std::vector<double>& s_;
  std::vector<double> running_max_;  // entry j-1 is the maximum of p[1..j]
};

class Data {
 public:
  // An empty panel, filled by the caller (tests build panels this way).
  Data() = default;
  // Copies the parameters, then reads the genetic map and the panel.
  // Throws badfilename on any input error.
  explicit Data(const VordelParameters& params);

  // Reads the genetic map (header line, then position, rate, cumulative cM
  // per line); a map without data lines is refused.  Reports progress
  // through update_summary_file.
  void read_genetic_map();
  // Reads the legend (header line, then identifier, position, two allele
  // labels) and the haplotype file (alleles 0 or 1, the same number on
  // every line) in step, keeping the SNPs in [params.lower, params.upper],
  // the first at a repeated position.  Warns on standard output when one
  // file has more lines than the other.  Needs the map read first.
  void read_haplotype_data();

  VordelParameters params;
  std::vector<double> map_scaled_positions;  // 4 Ne cM / 100 per map line
  std::vector<double> map_positions;         // base-pair position per map line
  int num_panel_haps = -1;
  std::map<int, snp> snps_data;  // SNPs of the interval by position; the
                                 // rank in this order is the SNP index
};

#endif
