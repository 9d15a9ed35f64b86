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

// The uniforms of the run come from the current generator, in one order.
// The loops below take them through one of two sources with the same
// interface: Draw() gives the next uniform; Pending(count) gives count >= 1
// values that the next draws will give, and Take(k) marks the first k of
// them as drawn.  A loop that asks for a block takes at least one value of
// it.

// Straight from the Mersenne Twister's block of converted values, without a
// virtual call: only while the current generator is an MT.
struct MTDraws {
  static double Draw() { return MT::Draw(); }
  static const double* Pending(int& count) { return MT::Pending(count); }
  static void Take(int k) { MT::Take(k); }
};

// One call of the current generator per draw, whatever generator it is.
// Its blocks hold one value, drawn when the block is asked for.
struct CurrentGeneratorDraws {
  double value = 0.0;
  static double Draw() { return Random::RNG->Next(); }
  const double* Pending(int& count) {
    value = Random::RNG->Next();
    count = 1;
    return &value;
  }
  static void Take(int) {}
};

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
// exactly that of comparing the draw with exp(-x).  A cheaper test comes
// first: x' = gaps[l] * (1 / K) lies within 3.4e-16 |x| of x = gaps[l] / K,
// so for |x| < 1 a draw below (1 - x') - 2e-15 is also below (1 - x) -
// 1e-15, and for |x| >= 1 the cheaper test skips only draws that the exact
// one skips too (x <= -1) or none (x >= 1).  It never skips a draw the
// exact test would not.
template <typename Draws>
void cut_segments(Draws& draws, const std::vector<double>& gaps, const double K,
                  std::vector<int>& starts) {
  constexpr double kMargin = 1e-15;
  constexpr double kWideMargin = 2e-15;
  starts.clear();
  if (gaps.empty()) return;
  starts.push_back(0);
  const int n = static_cast<int>(gaps.size());
  const double inverse = 1.0 / K;
  for (int l = 1; l < n;) {
    int count = 0;
    const double* const u = draws.Pending(count);
    const int m = std::min(count, n - l);
    for (int k = 0; k < m; ++k) {
      if (u[k] < (1.0 - gaps[l + k] * inverse) - kWideMargin) continue;
      const double x = gaps[l + k] / K;
      if (u[k] < (1.0 - x) - kMargin) continue;
      if (u[k] > std::exp(-x)) starts.push_back(l + k);
    }
    draws.Take(m);
    l += m;
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

// Copies SNPs [first, end) of `hap`, none of them set yet, from the source
// row `source`, with one mutation draw each, in SNP order: an allele is
// flipped when mu exceeds its draw.  A block of draws at a time, in a loop
// the compiler vectorises.
template <typename Draws, typename Allele>
void copy_run(Draws& draws, const Allele* source, const double mu, int first, const int end,
              int* hap) {
  while (first < end) {
    int count = 0;
    const double* const u = draws.Pending(count);
    const int m = std::min(count, end - first);
    const Allele* const from = source + first;
    int* const to = hap + first;
    for (int k = 0; k < m; ++k) {
      const int allele = from[k];
      to[k] = mu > u[k] ? 1 - allele : allele;
    }
    draws.Take(m);
    first += m;
  }
}

// Fills SNPs [first, end) of `hap` from the source row `source`, skipping
// the SNPs of `preset` (ascending), whose alleles are set already and take
// no draw; every other allele is copied as by copy_run.
template <typename Draws, typename Allele>
void fill_run(Draws& draws, const Allele* source, const double mu, const int first, const int end,
              const std::vector<int>& preset, int* hap) {
  int l = first;
  for (auto p = std::lower_bound(preset.begin(), preset.end(), first);
       p != preset.end() && *p < end; ++p) {
    assert(hap[*p] != -1);
    copy_run(draws, source, mu, l, *p, hap);
    l = *p + 1;
  }
  copy_run(draws, source, mu, l, end, hap);
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

// Bytes the C library's allocator takes for a block of `size` bytes: an
// 8-byte header, rounded up to 16 bytes, at least 32.
std::size_t allocated_bytes(std::size_t size) {
  return std::max<std::size_t>(32, (size + 8 + 15) / 16 * 16);
}

// Bytes one simulated haplotype of `snps` alleles takes: its entry in the
// row table, its own block of alleles (4 bytes each) and half an entry of
// the phenotype vector (one entry per individual, that is two haplotypes).
std::size_t haplotype_bytes(long snps) {
  return sizeof(std::vector<int>) + allocated_bytes(static_cast<std::size_t>(snps) * sizeof(int)) +
         sizeof(int) / 2;
}

// The user error of simulated data that do not fit in memory.
GenericErrorException not_enough_memory(long haplotypes, long snps) {
  const std::size_t each = haplotype_bytes(snps);
  std::ostringstream message;
  message << "not enough memory for the simulated haplotypes: " << haplotypes << " haplotypes x "
          << snps << " SNPs were asked for, which need about "
          << about_bytes(static_cast<double>(haplotypes) * static_cast<double>(each)) << " ("
          << each << " bytes a haplotype).\n";
  return GenericErrorException(message.str());
}

// The user error of memory that runs out while the output files are
// written, naming the files it ran out for.
GenericErrorException not_enough_memory_to_write(const std::vector<std::string>& files) {
  std::string message =
      "not enough memory to write the output files: memory ran out while writing ";
  if (files.empty()) message += "them";
  for (std::size_t k = 0; k < files.size(); ++k) {
    if (k > 0) message += k + 1 < files.size() ? ", " : " and ";
    message += files[k];
  }
  message += ".\n";
  return GenericErrorException(message);
}

// Takes the memory of all the rows' allele blocks (as the allocator holds
// them) and, with it held, reserves the row table of `haplotypes` rows and
// the phenotype vector; then gives the alleles' memory back, untouched.  A
// size the system cannot grant is refused there, before any work, with a
// user error that says what was asked for.  Sizes it grants are not
// refused.
void reserve_haplotypes(std::vector<std::vector<int>>& rows, std::vector<int>& phenotypes,
                        long haplotypes, long snps) {
  if (haplotypes <= 0 || snps <= 0) return;
  const auto count = static_cast<std::size_t>(haplotypes);
  const std::size_t block = allocated_bytes(static_cast<std::size_t>(snps) * sizeof(int));
  bool granted = count <= std::numeric_limits<std::size_t>::max() / haplotype_bytes(snps);
  if (granted) {
    void* const alleles = std::malloc(count * block);
    granted = alleles != nullptr;
    if (granted) {
      try {
        rows.reserve(count);
        phenotypes.reserve(count / 2);
      } catch (const std::bad_alloc&) {
        granted = false;
      }
    }
    std::free(alleles);
  }
  if (!granted) {
    std::vector<std::vector<int>>().swap(rows);
    std::vector<int>().swap(phenotypes);
    throw not_enough_memory(haplotypes, snps);
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
  // Memory that runs out while writing is reported as memory that runs out
  // while simulating: the simulated data are given back first.
  try {
    output_haplotypes();
  } catch (const WritingOutOfMemory& ran_out) {
    release_simulated_data();
    throw not_enough_memory_to_write(ran_out.files);
  } catch (const std::bad_alloc&) {  // not even the file's name could be kept
    release_simulated_data();
    throw not_enough_memory_to_write({});
  }
}

void Vordel::release_simulated_data() {
  std::vector<std::vector<int>>().swap(simulated_haplotypes);
  std::vector<int>().swap(simulated_phenotypes);
  num_simulated_haps = 0;
  dl_columns = DiseaseColumns();
  case_hap_freq_cache.clear();
  control_hap_freq_cache.clear();
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
  if (MT::IsCurrent()) {
    MTDraws draws;
    cut_segments(draws, genetic_gaps(snps), static_cast<double>(K), starts);
  } else {
    CurrentGeneratorDraws draws;
    cut_segments(draws, genetic_gaps(snps), static_cast<double>(K), starts);
  }

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
  dl_columns.clear();

  const int n = static_cast<int>(panel_data.snps_data.size());
  const long total_haps = 2L * (static_cast<long>(params.ncontrols) + params.ncases);
  const long control_haps = 2L * params.ncontrols;
  reserve_haplotypes(simulated_haplotypes, simulated_phenotypes, total_haps, n);

  std::ostringstream report;
  report << "\nSimulating haplotypes ... ";
  update_summary_file(params, report, std::ios::app);

  // Memory that runs out while simulating is reported as the check above
  // reports it.  What was simulated is of no use then; it is given back
  // first, which leaves room for the report.
  try {
    simulate_pairs(total_haps, control_haps);
  } catch (const std::bad_alloc&) {
    release_simulated_data();
    throw not_enough_memory(total_haps, n);
  }

  report << "done\n";
  update_summary_file(params, report, std::ios::app);
}

void Vordel::simulate_pairs(const long total_haps, const long control_haps) {
  const int N = panel_data.num_panel_haps;
  const int n = static_cast<int>(panel_data.snps_data.size());

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
  std::vector<int> starts[2];   // first SNP of each segment, per place
  std::vector<int> sources[2];  // source (or case code) of each segment
  const std::vector<int> no_preset;

  // One pair, the draws taken from `draws` (MTDraws or
  // CurrentGeneratorDraws).
  const auto simulate_pair = [&](auto& draws, const long count) {
    const bool is_case = count >= control_haps;
    const int K[2] = {N + static_cast<int>(count), N + static_cast<int>(count) + 1};
    const std::array<double, 2> mu = {0.5 * params.theta / (K[0] + params.theta),
                                      0.5 * params.theta / (K[1] + params.theta)};

    // The segments of both places, then one source per segment, place 0
    // first.  For a case, a segment holding a disease SNP gets the code -2-s
    // instead and is left to the case disease model.
    for (int j = 0; j < 2; ++j) {
      simulated_haplotypes.emplace_back(n, -1);
      cut_segments(draws, gaps, static_cast<double>(K[j]), starts[j]);
    }
    const auto segment_end = [&](int j, std::size_t s) {
      return s + 1 < starts[j].size() ? starts[j][s + 1] : n;
    };
    for (int j = 0; j < 2; ++j) {
      sources[j].clear();
      for (std::size_t s = 0; s < starts[j].size(); ++s) {
        if (is_case) {
          const auto d = std::lower_bound(dl_indices.begin(), dl_indices.end(), starts[j][s]);
          if (d != dl_indices.end() && *d < segment_end(j, s)) {
            sources[j].push_back(-2 - static_cast<int>(s));
            continue;
          }
        }
        sources[j].push_back(pick_candidate(draws.Draw(), EqualWeights(K[j])));
      }
    }

    // Copies SNPs [first, end) of place j from candidate c, with one
    // mutation draw per allele not in `preset`.
    std::vector<int>* const pair = &simulated_haplotypes[count];
    const auto fill = [&](int j, int c, int first, int end, const std::vector<int>& preset) {
      assert(c >= 0 && c < K[j]);
      if (c < N)
        fill_run(draws, &panel_rows[c * static_cast<std::size_t>(n)], mu[j], first, end, preset,
                 pair[j].data());
      else
        fill_run(draws, simulated_haplotypes[c - N].data(), mu[j], first, end, preset,
                 pair[j].data());
    };

    if (!is_case) {
      simulated_phenotypes.push_back(0);
      for (int j = 0; j < 2; ++j)
        for (std::size_t s = 0; s < starts[j].size(); ++s)
          fill(j, sources[j][s], starts[j][s], segment_end(j, s), no_preset);
    } else {
      // The copying state of every SNP, for the case disease model, which
      // sets the sources of the segments with disease SNPs.
      for (int j = 0; j < 2; ++j) {
        std::vector<int>& states = copying_states[j];
        states.resize(n);
        for (std::size_t s = 0; s < starts[j].size(); ++s)
          std::fill(states.begin() + starts[j][s], states.begin() + segment_end(j, s),
                    sources[j][s]);
      }
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

      // A run of SNPs with the same source at a time; the disease alleles
      // are set already.
      for (int j = 0; j < 2; ++j) {
        const int* const states = copying_states[j].data();
        for (int l = 0; l < n;) {
          const int c = states[l];
          const int end = static_cast<int>(
              std::find_if(states + l + 1, states + n, [c](int s) { return s != c; }) - states);
          fill(j, c, l, end, dl_indices);
          l = end;
        }
      }
    }

    num_simulated_haps = static_cast<int>(count + 2);
    // The case disease model reads the disease alleles of the pair from
    // now on.
    if (params.ncases > 0)
      dl_columns.update(dl_snps, dl_indices, simulated_haplotypes, num_simulated_haps,
                        static_cast<std::size_t>(std::max(N, 0) + total_haps));
  };

  // While the current generator is the Mersenne Twister, the loops take its
  // values straight from its block; any other generator is called per draw.
  MTDraws mt_draws;
  CurrentGeneratorDraws current_draws;
  const bool inline_draws = MT::IsCurrent();
  for (long count = 0; count < total_haps; count += 2) {
    if (inline_draws)
      simulate_pair(mt_draws, count);
    else
      simulate_pair(current_draws, count);
  }
}
