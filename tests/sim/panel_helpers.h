// Small reference panels for the simulation tests: built in memory as a
// Data object, or written as haplotype, legend and genetic-map files for
// runs of the vordel2 binary.
#ifndef VORDEL_TESTS_SIM_PANEL_HELPERS_H
#define VORDEL_TESTS_SIM_PANEL_HELPERS_H

#include <filesystem>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "sim/data.h"
#include "sim/parameters.h"

namespace vordel_test {

// SNP l at base-pair position positions[l] with genetic position
// genetic[l] and panel alleles alleles[l]; identifiers "rs" + position,
// allele labels A and G.
inline Data make_panel(const std::vector<int>& positions, const std::vector<double>& genetic,
                       const std::vector<std::vector<int>>& alleles) {
  Data data;
  data.num_panel_haps = alleles.empty() ? 0 : static_cast<int>(alleles[0].size());
  for (std::size_t l = 0; l < positions.size(); ++l) {
    snp record;
    record.rsid = "rs" + std::to_string(positions[l]);
    record.genetic_position = genetic[l];
    record.haps = alleles[l];
    record.allele0 = "A";
    record.allele1 = "G";
    double sum = 0.0;
    for (int a : record.haps) sum += a;
    record.freq = sum / static_cast<double>(record.haps.size());
    data.snps_data[positions[l]] = record;
  }
  return data;
}

// Parameters of a run whose summary goes to `dir`/run.summary.
inline VordelParameters make_params(const fs::path& dir, int ncontrols, int ncases, double theta) {
  VordelParameters params;
  params.summary_file = (dir / "run.summary").string();
  params.ncontrols = ncontrols;
  params.ncases = ncases;
  params.theta = theta;
  return params;
}

// Writes panel.haps, panel.legend and panel.map into `dir`: the SNPs at
// `positions` with the panel alleles `alleles` (one row per SNP), and a
// genetic map with one line per entry of `map` (position, cM).
inline void write_panel_files(const fs::path& dir, const std::vector<int>& positions,
                              const std::vector<std::vector<int>>& alleles,
                              const std::vector<std::pair<int, double>>& map) {
  std::string haps;
  std::string legend = "id position a0 a1\n";
  for (std::size_t l = 0; l < positions.size(); ++l) {
    for (std::size_t i = 0; i < alleles[l].size(); ++i)
      haps += (i ? " " : "") + std::to_string(alleles[l][i]);
    haps += "\n";
    legend += "rs" + std::to_string(positions[l]) + " " + std::to_string(positions[l]) + " A G\n";
  }
  std::string map_text = "position COMBINED_rate(cM/Mb) Genetic_Map(cM)\n";
  for (const auto& [position, cm] : map)
    map_text += std::to_string(position) + " 1.0 " + std::to_string(cm) + "\n";
  write_file(dir / "panel.haps", haps);
  write_file(dir / "panel.legend", legend);
  write_file(dir / "panel.map", map_text);
}

// The command-line words naming the panel files written by write_panel_files.
inline std::vector<std::string> panel_args(const fs::path& dir) {
  return {"-h", (dir / "panel.haps").string(), "-l", (dir / "panel.legend").string(),
          "-m", (dir / "panel.map").string()};
}

}  // namespace vordel_test

#endif
