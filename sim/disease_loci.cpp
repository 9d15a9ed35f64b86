// Disease-locus selection: matches every disease locus of the parameters to
// a SNP of the panel and keeps the usable ones, with their SNP indices and
// panel records.
#include <ios>
#include <map>
#include <sstream>

#include "sim/exceptions.h"
#include "sim/output_file.h"
#include "sim/vordel.h"

void Vordel::process_dl() {
  std::ostringstream report;
  report << "\nProcessing disease loci ... ";
  update_summary_file(params, report, std::ios::app);

  // SNP index of every panel position, keyed by the position as a double so
  // that a locus matches only a position it equals exactly.
  std::map<double, int> index_of_position;
  int index = 0;
  for (const auto& entry : panel_data.snps_data)
    index_of_position.emplace_hint(index_of_position.end(), static_cast<double>(entry.first),
                                   index++);

  for (auto locus = params.dl.begin(); locus != params.dl.end();) {
    const double position = locus->first;
    const auto found = index_of_position.lower_bound(position);
    if (found == index_of_position.end() || found->first != position) {
      report << "\ncannot find snp information for position " << position
             << ", so it has been removed from the set of disease loci.\n";
      update_summary_file(params, report, std::ios::app);
      locus = params.dl.erase(locus);
      continue;
    }

    const snp& record = panel_data.snps_data.find(static_cast<int>(position))->second;
    const double freq = record.freq;
    if (freq == 1.0 || freq == 0.0) {
      report << "\nsnp at position " << position << " has frequency " << freq
             << ", so it has been removed from the set of disease loci.\n";
      locus = params.dl.erase(locus);
      continue;
    }

    dl_indices.push_back(found->second);
    dl_snps.push_back(&record);
    ++locus;
  }

  report << "done \n\n";
  update_summary_file(params, report, std::ios::app);

  if (params.dl.empty()) {
    report << "No suitable disease loci. Program terminated.\n";
    update_summary_file(params, report, std::ios::app);
    throw NoSuitableDiseaseLociException();
  }
}
