// Reading a reference panel: builds a Data from the genetic map, legend and
// haplotype files of one folder, once per iteration.
//
// The folder is named by the environment variable VORDEL_PANEL_DIR and
// holds chr20.map, chr20.legend and chr20.hap (bench/read_panel.sh
// decompresses them there and runs this program).  The run report goes to
// standard output and to read_panel.summary in that folder.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "sim/data.h"
#include "sim/exceptions.h"

namespace {

void BM_ReadPanel(benchmark::State& state) {
  const char* dir = std::getenv("VORDEL_PANEL_DIR");
  if (dir == nullptr) {
    state.SkipWithError("set VORDEL_PANEL_DIR to a folder holding chr20.map, .legend and .hap");
    return;
  }
  VordelParameters params;
  params.genetic_map_file = std::string(dir) + "/chr20.map";
  params.legend_file = std::string(dir) + "/chr20.legend";
  params.haplotype_file = std::string(dir) + "/chr20.hap";
  params.summary_file = std::string(dir) + "/read_panel.summary";
  for (auto _ : state) {
    try {
      Data panel(params);
      benchmark::DoNotOptimize(panel.snps_data.size());
    } catch (const badfilename& e) {
      state.SkipWithError(e.message.c_str());
      return;
    }
  }
}
// One read per run: bench/read_panel.sh times the whole process and its
// peak memory, which must hold a single panel.
BENCHMARK(BM_ReadPanel)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
