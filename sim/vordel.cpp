// The haplotype copying simulation: construction of the simulator, seeding,
// the default mutation parameter, recombination segments and the pair-by-pair
// simulation of control and case haplotypes.
#include "sim/vordel.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <iomanip>
#include <ios>
#include <iterator>
#include <limits>
#include <new>
#include <sstream>
#include <string>

#include "random/vorand1.h"
#include "sim/exceptions.h"
#include "sim/output_file.h"
#include "sim/pick_candidate.h"
#include "sim/tag_snps.h"

namespace {

// One uniform draw from the process-wide current generator.
inline double draw() { return Random::RNG->Next(); }

// Cuts SNPs 0..n-1 into copying segments for a haplotype with K copy
// candidates, given gaps[l] = (genetic position of SNP l) - (that of SNP
// l-1) for l >= 1.  One draw per SNP after the first, in SNP order; SNP l
// starts a new segment when the draw exceeds exp(-gaps[l] / K).  Writes the
// first SNP index of every segment into `starts` (cleared first).
//
// Since exp(-x) > 1 - x for x != 0, a draw below 1 - x, less a margin that
// covers the rounding of both sides (libm's exp is within one ulp), cannot
// exceed exp(-x): the exponential is then not needed to decide.  Switches
// are rare, so nearly every SNP is decided this way; the decision is always
// exactly that of comparing the draw with exp(-x).
void cut_segments(const std::vector<double>& gaps, const double K, std::vector<int>& starts) {
  constexpr double kMargin = 1e-15;
  starts.clear();
  if (gaps.empty()) return;
  starts.push_back(0);
  const int n = static_cast<int>(gaps.size());
  for (int l = 1; l < n; ++l) {
    const double u = draw();
    const double x = gaps[l] / K;
    if (u < (1.0 - x) - kMargin) continue;
    if (u > std::exp(-x)) starts.push_back(l);
  }
}

// Gaps between the genetic positions of neighbouring SNPs, in key order
// (entry 0 is unused and 0).
std::vector<double> genetic_gaps(const std::map<int, snp>& snps) {
  std::vector<double> gaps;
  gaps.reserve(snps.size());
  double g = snps.empty() ? 0.0 : snps.begin()->second.genetic_position;
  for (const auto& entry : snps) {
    gaps.push_back(entry.second.genetic_position - g);
    g = entry.second.genetic_position;
  }
  return gaps;
}

// Fills SNPs [first, end) of `hap` from the source row `source`: every
// allele not set yet is copied with one mutation draw each, in SNP order,
// and flipped when mu exceeds the draw.
template <typename Allele>
void fill_run(const Allele* source, const double mu, const int first, const int end, int* hap) {
  for (int l = first; l < end; ++l) {
    if (hap[l] != -1) continue;
    const double u = draw();
    int allele = source[l];
    if (mu > u) allele = 1 - allele;
    hap[l] = allele;
  }
}

// About `bytes` bytes in decimal units, to 3 significant digits ("16 TB").
std::string about_bytes(double bytes) {
  const char* const units[] = {"bytes", "kB", "MB", "GB", "TB", "PB", "EB"};
  std::size_t unit = 0;
  while (bytes >= 999.5 && unit + 1 < std::size(units)) {
    bytes /= 1000.0;
    ++unit;
  }
  std::ostringstream text;
  text << std::setprecision(3) << bytes << " " << units[unit];
  return text.str();
}

// Reserves the row table of `haplotypes` rows of `snps` alleles, and takes
// the memory of all their alleles (4 bytes each, as stored) for a moment,
// untouched, and gives it back: a size the system cannot grant is refused
// there, before any work, with a user error that says what was asked for.
// Sizes it grants are not refused.
void reserve_haplotypes(std::vector<std::vector<int>>& rows, long haplotypes, long snps) {
  if (haplotypes <= 0 || snps <= 0) return;
  const double bytes = static_cast<double>(haplotypes) * snps * sizeof(int);
  const auto count = static_cast<std::size_t>(haplotypes);
  bool granted = count <= std::numeric_limits<std::size_t>::max() / sizeof(int) / snps;
  if (granted) {
    void* const alleles = std::malloc(count * snps * sizeof(int));
    granted = alleles != nullptr;
    std::free(alleles);
  }
  if (granted) {
    try {
      rows.reserve(count);
    } catch (const std::bad_alloc&) {
      granted = false;
    }
  }
  if (!granted) {
    std::ostringstream message;
    message << "not enough memory for the simulated haplotypes: " << haplotypes << " haplotypes x "
            << snps << " SNPs were asked for, which need about " << about_bytes(bytes)
            << " (4 bytes an allele).\n";
    throw GenericErrorException(message.str());
  }
}

}  // namespace

Vordel::Vordel(const VordelParameters& parameters)
    : tag_positions(read_tag_snps(parameters)), panel_data(parameters), params(parameters) {}

Vordel::Vordel(const VordelParameters& parameters, const Data& data)
    : tag_positions(read_tag_snps(parameters)), panel_data(data), params(parameters) {}

void Vordel::simulate_haplotypes() {
  num_simulated_haps = 0;

  double seed = 0.12345;
  if (params.specified_flags.count("-nrs") == 0) {
    // A clock seed in [0, 1] whatever the library's RAND_MAX (with glibc's,
    // 2^31 - 1, this is rand() / 2147483647.0).
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    seed = std::rand() / static_cast<double>(RAND_MAX);
  }
  // Current for the rest of this function; its destructor puts the
  // placeholder generator back, also when an exception leaves.
  MT generator(seed);
  Random::Set(generator);

  std::ostringstream report;
  report << "\nRandom seed set to " << seed << "\n";
  update_summary_file(params, report, std::ios::app);

  if (params.theta < 0.0) set_theta();

  process_dl();
  simulate_all_alleles();
  output_haplotypes();
}

void Vordel::set_theta() {
  double sum = 0.0;
  for (int k = 1; k <= panel_data.num_panel_haps; ++k) sum += 1.0 / k;
  params.theta = 1.0 / sum;

  std::ostringstream report;
  report << "theta not set, so setting to a default value of " << params.theta << "\n";
  update_summary_file(params, report, std::ios::app);
}

void Vordel::simulate_crossovers(const std::map<int, snp>& snps, int K,
                                 std::vector<std::vector<int>>& segments) const {
  std::vector<int> starts;
  cut_segments(genetic_gaps(snps), static_cast<double>(K), starts);

  segments.clear();
  const int n = static_cast<int>(snps.size());
  for (std::size_t s = 0; s < starts.size(); ++s) {
    const int end = s + 1 < starts.size() ? starts[s + 1] : n;
    std::vector<int> segment;
    segment.reserve(end - starts[s]);
    for (int l = starts[s]; l < end; ++l) segment.push_back(l);
    segments.push_back(std::move(segment));
  }
}

void Vordel::simulate_all_alleles() {
  simulated_haplotypes.clear();
  simulated_phenotypes.clear();

  const int N = panel_data.num_panel_haps;
  const int n = static_cast<int>(panel_data.snps_data.size());
  const long total_haps = 2L * (static_cast<long>(params.ncontrols) + params.ncases);
  const long control_haps = 2L * params.ncontrols;
  reserve_haplotypes(simulated_haplotypes, total_haps, n);

  std::ostringstream report;
  report << "\nSimulating haplotypes ... ";
  update_summary_file(params, report, std::ios::app);

  // Per-run tables, so that the inner loops never walk or search the map:
  // the panel alleles haplotype by haplotype (row c holds panel haplotype
  // c's allele at every SNP, so copying a segment reads memory in order;
  // one byte per allele, since the panel holds only alleles 0 and 1) and
  // the genetic gaps.
  std::vector<std::int8_t> panel_rows(static_cast<std::size_t>(std::max(N, 0)) * n);
  {
    std::size_t l = 0;
    for (const auto& entry : panel_data.snps_data) {
      assert(static_cast<int>(entry.second.haps.size()) == N);
      for (int c = 0; c < N; ++c) {
        const int allele = entry.second.haps[c];
        assert(allele == 0 || allele == 1);
        panel_rows[c * static_cast<std::size_t>(n) + l] = static_cast<std::int8_t>(allele);
      }
      ++l;
    }
  }
  const std::vector<double> gaps = genetic_gaps(panel_data.snps_data);

  std::vector<std::vector<int>> copying_states(2);
  std::vector<int> starts;

  for (long count = 0; count < total_haps; count += 2) {
    const bool is_case = count >= control_haps;
    const int K[2] = {N + static_cast<int>(count), N + static_cast<int>(count) + 1};
    const std::array<double, 2> mu = {0.5 * params.theta / (K[0] + params.theta),
                                      0.5 * params.theta / (K[1] + params.theta)};

    // Segments and their codes; for a case, segments holding a disease SNP
    // get -2-s and are left to the case disease model.
    for (int j = 0; j < 2; ++j) {
      simulated_haplotypes.emplace_back(n, -1);
      std::vector<int>& states = copying_states[j];
      states.assign(n, -1);
      cut_segments(gaps, static_cast<double>(K[j]), starts);
      for (std::size_t s = 0; s < starts.size(); ++s) {
        const int first = starts[s];
        const int end = s + 1 < starts.size() ? starts[s + 1] : n;
        int code = static_cast<int>(s);
        if (is_case) {
          const auto d = std::lower_bound(dl_indices.begin(), dl_indices.end(), first);
          if (d != dl_indices.end() && *d < end) code = -2 - code;
        }
        std::fill(states.begin() + first, states.begin() + end, code);
      }
    }

    // One source per segment: SNPs of one segment share its source.
    for (int j = 0; j < 2; ++j) {
      std::vector<int>& states = copying_states[j];
      int previous = -1;
      int source = -1;
      for (int l = 0; l < n; ++l) {
        const int code = states[l];
        if (code < 0) continue;
        if (code != previous) {
          previous = code;
          source = pick_candidate(draw(), EqualWeights(K[j]));
        }
        states[l] = source;
      }
    }

    std::vector<int>* const pair = &simulated_haplotypes[count];
    if (!is_case) {
      simulated_phenotypes.push_back(0);
    } else {
      std::vector<std::vector<int>> disease_alleles;
      simulate_disease_alleles(copying_states, disease_alleles, mu);
      assert(disease_alleles.size() == 2);
      for (int j = 0; j < 2; ++j) {
        assert(disease_alleles[j].size() == dl_indices.size());
        for (std::size_t k = 0; k < dl_indices.size(); ++k) {
          assert(dl_indices[k] >= 0 && dl_indices[k] < n);
          pair[j][dl_indices[k]] = disease_alleles[j][k];
        }
      }
      simulated_phenotypes.push_back(1);
    }

    // Copy every unset allele from its source, with one mutation draw each,
    // a run of SNPs with the same source at a time.
    for (int j = 0; j < 2; ++j) {
      int* const hap = pair[j].data();
      const int* const states = copying_states[j].data();
      for (int l = 0; l < n;) {
        const int c = states[l];
        assert(c >= 0 && c < K[j]);
        const int end = static_cast<int>(
            std::find_if(states + l + 1, states + n, [c](int s) { return s != c; }) - states);
        if (c < N)
          fill_run(&panel_rows[c * static_cast<std::size_t>(n)], mu[j], l, end, hap);
        else
          fill_run(simulated_haplotypes[c - N].data(), mu[j], l, end, hap);
        l = end;
      }
    }

    num_simulated_haps = static_cast<int>(count + 2);
  }

  report << "done\n";
  update_summary_file(params, report, std::ios::app);
}
