// Output files of a run: haplotypes, legend, genotypes of all SNPs and of
// the tag SNPs, and sample lists, for controls and cases.
#include <algorithm>
#include <array>
#include <cassert>
#include <charconv>
#include <cstring>
#include <exception>
#include <functional>
#include <ios>
#include <map>
#include <memory>
#include <new>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <boost/filesystem/path.hpp>

#include "sim/binary_alleles.h"
#include "sim/exceptions.h"
#include "sim/output_file.h"
#include "sim/parallel_writers.h"
#include "sim/vordel.h"

namespace {

namespace fs = boost::filesystem;

// The group names as they appear in file suffixes: controls, then cases.
const char* const kGroupNames[2] = {"controls", "cases"};

// Writes `value` in decimal at `p` and returns the end of what it wrote
// (at most 20 characters).
inline char* put_int(char* p, long value) { return std::to_chars(p, p + 24, value).ptr; }

// Names of the output files.  For an output path whose extension is exactly
// ".gz" the names are formed from the path without it, and only the
// haplotype and genotype files take ".gz" (so they are compressed);
// otherwise every name is the output path followed by the suffix.
class OutputNames {
 public:
  OutputNames(const fs::path& output_file, const fs::path& output_directory)
      : output_(output_file.string()), directory_(output_directory) {
    const std::string last = output_file.filename().string();
    const std::size_t dot = last.rfind('.');
    gzip_ = dot != std::string::npos && last.compare(dot, std::string::npos, ".gz") == 0;
    stem_ = dot == std::string::npos ? last : last.substr(0, dot);
  }

  fs::path compressible(const std::string& suffix) const {
    return gzip_ ? directory_ / (stem_ + suffix + ".gz") : fs::path(output_ + suffix);
  }
  fs::path plain(const std::string& suffix) const {
    return gzip_ ? directory_ / (stem_ + suffix) : fs::path(output_ + suffix);
  }

 private:
  std::string output_;
  fs::path directory_;
  std::string stem_;
  bool gzip_ = false;
};

// The name of every output file of a run, as OutputNames forms it.
struct FileNames {
  explicit FileNames(const OutputNames& names) {
    for (int j = 0; j < 2; ++j) {
      const std::string group = std::string(".") + kGroupNames[j];
      haps[j] = names.compressible(group + ".haps").string();
      gen[j] = names.compressible(group + ".gen").string();
      tags[j] = names.compressible(group + ".tags.gen").string();
      sample[j] = names.plain(group + ".sample").string();
    }
    legend = names.plain(".legend").string();
  }

  std::string haps[2];
  std::string legend;
  std::string gen[2];
  std::string tags[2];
  std::string sample[2];
};

// A block of the simulated alleles copied SNP by SNP: the alleles of rows
// [first, last) at SNPs [l0, l0 + count), stored as one byte each with the
// alleles of one SNP side by side.  Reading the rows a block at a time keeps
// the file writers from striding across every haplotype for every line.
// Alleles other than 0 and 1 are stored as 2, and their SNP is marked, so
// that its line is written from the haplotypes themselves.
class AlleleTile {
 public:
  // SNPs per block for `rows` rows: up to 1024, within about 4 MB.
  static long block_snps(long rows) {
    return std::clamp((4L << 20) / std::max(rows, 1L), 1L, 1024L);
  }

  void gather(const std::vector<std::vector<int>>& haplotypes, long first, long last, long l0,
              long count) {
    rows_ = last - first;
    codes_.resize(static_cast<std::size_t>(rows_ * count));
    unusual_.assign(static_cast<std::size_t>(count), 0);
    // Transposed in squares of kSide rows by kSide SNPs, so that the rows
    // read and the SNP lines written stay in the first-level cache.
    constexpr long kSide = 64;
    for (long r0 = 0; r0 < rows_; r0 += kSide) {
      const long r1 = std::min(r0 + kSide, rows_);
      for (long k0 = 0; k0 < count; k0 += kSide) {
        const long k1 = std::min(k0 + kSide, count);
        for (long r = r0; r < r1; ++r) {
          const int* alleles = haplotypes[first + r].data() + l0;
          for (long k = k0; k < k1; ++k) {
            const unsigned char code = static_cast<unsigned>(alleles[k]) <= 1u ? alleles[k] : 2;
            codes_[k * rows_ + r] = code;
            unusual_[k] |= code >> 1;
          }
        }
      }
    }
  }

  // The allele codes of SNP l0 + k, one per row.
  const unsigned char* snp(long k) const { return codes_.data() + k * rows_; }
  // True when SNP l0 + k holds only alleles 0 and 1.
  bool plain(long k) const { return unusual_[k] == 0; }

 private:
  long rows_ = 0;
  std::vector<unsigned char> codes_;
  std::vector<unsigned char> unusual_;
};

const char kGenotypeTexts[3][7] = {" 1 0 0", " 0 1 0", " 0 0 1"};

using Rows = HaplotypeRows;

// The rows of the controls and of the cases that can be written: whole
// individuals with a full haplotype pair and a phenotype.  In a normal run
// that is every row; otherwise each group keeps the part of its rows that
// exists, so nothing is read outside the simulated data.
std::array<Rows, 2> group_rows(const Vordel& vordel) {
  const std::vector<std::vector<int>>& haplotypes = vordel.simulated_haplotypes;
  const long n = static_cast<long>(vordel.panel_data.snps_data.size());
  const long rows = static_cast<long>(haplotypes.size());
  long usable = 0;
  while (usable + 1 < rows && static_cast<long>(haplotypes[usable].size()) == n &&
         static_cast<long>(haplotypes[usable + 1].size()) == n &&
         usable / 2 < static_cast<long>(vordel.simulated_phenotypes.size()))
    usable += 2;
  const long bounds[3] = {0, 2L * vordel.params.ncontrols,
                          2L * vordel.params.ncontrols + 2L * vordel.params.ncases};
  std::array<Rows, 2> groups;
  for (int j = 0; j < 2; ++j) {
    groups[j].first = std::clamp(bounds[j], 0L, usable);
    groups[j].last = std::clamp(bounds[j + 1], groups[j].first, usable);
  }
  return groups;
}

// Appends the genotype line of SNP l, whose panel entry is `entry`, to
// `text`: "snp_" l, the identifier, the position and the two allele labels,
// then for each of the `individuals` the three values of its genotype
// genotype(i) (the copies of allele 1 it carries) and the newline.  An
// individual whose genotype is not 0, 1 or 2 adds nothing to the line and
// is passed to on_bad(i, genotype) instead.
template <typename Genotype, typename OnBad>
void append_genotype_line(std::string& text, long l, const std::pair<const int, snp>& entry,
                          long individuals, Genotype genotype, OnBad on_bad) {
  char digits[24];
  text.append("snp_").append(digits, put_int(digits, l)) += ' ';
  text.append(entry.second.rsid) += ' ';
  text.append(digits, put_int(digits, entry.first)) += ' ';
  text.append(entry.second.allele0) += ' ';
  text.append(entry.second.allele1);
  const std::size_t start = text.size();
  text.resize(start + static_cast<std::size_t>(individuals) * 6 + 1);
  char* p = &text[start];
  for (long i = 0; i < individuals; ++i) {
    const int g = genotype(i);
    if (g >= 0 && g <= 2) {
      std::memcpy(p, kGenotypeTexts[g], 6);
      p += 6;
    } else {
      on_bad(i, g);
    }
  }
  *p++ = '\n';
  text.resize(static_cast<std::size_t>(p - text.data()));
}

// Writes the buffered line to `out` and empties the line stream, keeping
// its storage for the next line.
void write_line(std::ostream& out, std::stringstream& line) {
  out << line.rdbuf();
  line.str(std::string());
  line.clear();
}

// The haplotype file of one group: a line per SNP holding each row's allele
// and a blank.  A negative allele is written as it is and reported into
// `report`, for its next flush.
void write_haplotype_file(std::ostream& out, const std::vector<std::vector<int>>& haplotypes,
                          const Rows rows, const long n, std::ostream& report) {
  // Line buffer: up to 11 characters and a blank per allele, the newline,
  // and room for the widest number past the last one.
  std::vector<char> buffer(static_cast<std::size_t>(rows.last - rows.first) * 12 + 32);
  AlleleTile tile;
  const long block = AlleleTile::block_snps(rows.last - rows.first);
  for (long l0 = 0; l0 < n; l0 += block) {
    const long count = std::min(block, n - l0);
    tile.gather(haplotypes, rows.first, rows.last, l0, count);
    for (long k = 0; k < count; ++k) {
      const long l = l0 + k;
      char* p = buffer.data();
      if (tile.plain(k)) {
        const unsigned char* codes = tile.snp(k);
        for (long r = 0; r < rows.last - rows.first; ++r) {
          *p++ = static_cast<char>('0' + codes[r]);
          *p++ = ' ';
        }
      } else {
        for (long h = rows.first; h < rows.last; ++h) {
          const int allele = haplotypes[h][l];
          p = put_int(p, allele);
          *p++ = ' ';
          if (allele < 0)
            report << "something has gone wrong in output_haplotypes: one of the alleles is"
                   << allele << "\n"
                   << haplotypes.size() << " " << h << " " << haplotypes[0].size() << " " << l
                   << "\n";
        }
      }
      *p++ = '\n';
      out.write(buffer.data(), p - buffer.data());
    }
  }
}

// The legend file: its header, then the identifier, position and allele
// labels of each SNP.
void write_legend_file(std::ostream& out, const std::map<int, snp>& snps) {
  out << "rs pos X0 X1\n";
  std::string line;
  for (const auto& [position, record] : snps) {
    char digits[24];
    line.assign(record.rsid) += ' ';
    line.append(digits, put_int(digits, position)) += ' ';
    line.append(record.allele0) += ' ';
    line.append(record.allele1) += '\n';
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
  }
}

// The genotype file of one group: the genotype line of every SNP.  Lines of
// SNPs with alleles 0 and 1 only (all of them in a normal run) are formed
// from a block of the alleles; the others are left to the genotype-line
// writer, which reads the haplotypes themselves and reports bad genotypes.
void write_genotype_file(std::ostream& out, const Vordel& vordel, const Rows rows) {
  const long n = static_cast<long>(vordel.panel_data.snps_data.size());
  std::string text;
  std::stringstream line;
  AlleleTile tile;
  auto it = vordel.panel_data.snps_data.cbegin();
  const long block = AlleleTile::block_snps(rows.last - rows.first);
  for (long l0 = 0; l0 < n; l0 += block) {
    const long count = std::min(block, n - l0);
    tile.gather(vordel.simulated_haplotypes, rows.first, rows.last, l0, count);
    for (long k = 0; k < count; ++k, ++it) {
      const int l = static_cast<int>(l0 + k);
      if (!tile.plain(k)) {
        vordel.output_snp_data_dulvon_format(it, l, static_cast<int>(rows.first),
                                             static_cast<int>(rows.last), line);
        write_line(out, line);
        continue;
      }
      const unsigned char* codes = tile.snp(k);
      text.clear();
      append_genotype_line(
          text, l, *it, (rows.last - rows.first) / 2,
          [codes](long i) { return codes[2 * i] + codes[2 * i + 1]; },
          [](long, int) {});  // codes of a plain SNP are 0 or 1
      out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
  }
}

// The tag genotype file of one group: the genotype line of every SNP whose
// position is a tag, in SNP order, with its index among all SNPs.
void write_tag_file(std::ostream& out, const Vordel& vordel, const Rows rows,
                    const std::set<int>& tags) {
  std::stringstream line;
  // Both the tags and the SNPs are in ascending position order: one walk
  // along the SNPs finds every tag and its SNP index.
  auto tag = tags.cbegin();
  int l = 0;
  for (auto it = vordel.panel_data.snps_data.cbegin();
       it != vordel.panel_data.snps_data.cend() && tag != tags.cend(); ++it, ++l) {
    while (tag != tags.cend() && *tag < it->first) ++tag;
    if (tag != tags.cend() && *tag == it->first) {
      vordel.output_snp_data_dulvon_format(it, l, static_cast<int>(rows.first),
                                           static_cast<int>(rows.last), line);
      write_line(out, line);
    }
  }
}

// The sample file of group j: its two header lines, then "id1_" i " id2_" i
// " 0 " j for each individual i of the rows.  Each individual's phenotype
// must be the group number.
void write_sample_file(std::ostream& out, const Rows rows, const int j,
                       const std::vector<int>& simulated_phenotypes) {
  out << "ID_1 ID_2 missing pheno\n"
      << "0 0 0 B\n";
  std::string text;
  for (long i = rows.first / 2; i < rows.last / 2; ++i) {
    char digits[24];
    const std::string number(digits, put_int(digits, i));
    text.assign("id1_").append(number).append(" id2_").append(number).append(" 0 ");
    text += static_cast<char>('0' + j);
    text += '\n';
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    assert(simulated_phenotypes[i] == j);
  }
}

}  // namespace

void Vordel::output_haplotypes() const {
  // Every name is formed first.  Memory that runs out is reported with the
  // name of the file it was needed for: `in_hand` points at the name of the
  // file being opened, written or closed (the summary file's during a
  // flush), which never allocates; the parallel writers tell which of their
  // files ran out.
  const OutputNames names(params.output_file, params.output_directory);
  const FileNames files(names);
  const std::string* in_hand = &params.summary_file;
  try {
    std::ostringstream report;
    const auto flush = [&] {
      const std::string* const held = in_hand;
      in_hand = &params.summary_file;
      update_summary_file(params, report, std::ios::app);
      in_hand = held;
    };
    report << "\n"
           << "Writing output to files "
           << "\n";
    flush();

    if (static_cast<long>(simulated_haplotypes.size()) !=
        2L * params.ncontrols + 2L * params.ncases) {
      report << "something has gone wrong in output_haplotypes: "
                "simulated_haplotypes.size()/2 != (params.ncontrols+params.ncases)"
             << "\n";
      flush();
    }
    const std::array<Rows, 2> rows = group_rows(*this);

    // One output stream at a time: each file is closed, and checked, once
    // the next one is open.  Opening logs the name in the report.
    std::unique_ptr<std::ostream> out;
    const std::string* out_name = nullptr;  // the name of `out`
    const auto open = [&](const std::string& name) {
      in_hand = &name;
      std::unique_ptr<std::ostream> next = open_output_file(name, report, std::ios::out);
      in_hand = out_name;
      close_output_file(out);
      out = std::move(next);
      in_hand = out_name = &name;
    };
    // Opens a file of a group and flushes the report with its log line.
    const auto open_group_file = [&](const std::string& name) {
      open(name);
      flush();
    };

    const bool haps_output = params.specified_flags.count("-no_haps_output") == 0;
    const bool gens_output = params.specified_flags.count("-no_gens_output") == 0;
    const long n = static_cast<long>(panel_data.snps_data.size());
    if ((haps_output || gens_output) && binary_alleles(simulated_haplotypes, rows)) {
      // The haplotype and genotype files of both groups, each formatted,
      // written and closed on a thread of its own once it is open.  With
      // alleles 0 and 1 only, their writers have nothing to report.  The
      // files are opened, and the report flushed, in the order of the
      // one-at-a-time writing below; once a file cannot be opened (or the
      // legend, written here meanwhile, cannot be stored) no further file is
      // opened.  The first failure in that order is the one thrown, since
      // every file that was started comes before the one that stopped the
      // opening.  When it is memory that ran out, every file that it ran out
      // for is named, in that order.
      ParallelWriters writers;
      std::array<const std::string*, 4> started{};  // the files started, in order
      std::size_t started_count = 0;
      std::exception_ptr stopped;
      bool stopped_by_memory = false;
      try {
        const auto start_group_file = [&](const std::string& name,
                                          std::function<void(std::ostream&)> write) {
          in_hand = &name;
          std::unique_ptr<std::ostream> file = open_output_file(name, report, std::ios::out);
          flush();
          writers.start(std::move(file), std::move(write));
          started[started_count++] = &name;
        };
        if (haps_output) {
          for (int j = 0; j < 2; ++j) {
            start_group_file(files.haps[j], [this, &rows, j, n](std::ostream& file) {
              std::ostringstream nothing;  // no negative allele to report
              write_haplotype_file(file, simulated_haplotypes, rows[j], n, nothing);
            });
          }
          // Its log line waits for the next flush.
          in_hand = &files.legend;
          std::unique_ptr<std::ostream> legend =
              open_output_file(files.legend, report, std::ios::out);
          write_legend_file(*legend, panel_data.snps_data);
          close_output_file(legend);
        }
        if (gens_output) {
          for (int j = 0; j < 2; ++j) {
            start_group_file(files.gen[j], [this, &rows, j](std::ostream& file) {
              write_genotype_file(file, *this, rows[j]);
            });
          }
        }
      } catch (const std::bad_alloc&) {
        stopped = std::current_exception();
        stopped_by_memory = true;
      } catch (...) {
        stopped = std::current_exception();
      }
      try {
        writers.finish();
        if (stopped) std::rethrow_exception(stopped);
      } catch (const std::bad_alloc&) {
        // Every writer has ended, and its memory is back.
        WritingOutOfMemory ran_out;
        for (std::size_t k = 0; k < started_count; ++k)
          if (writers.ran_out_of_memory(k)) ran_out.files.push_back(*started[k]);
        if (stopped_by_memory) ran_out.files.push_back(*in_hand);
        throw ran_out;
      }
    } else {
      // One file after another, each closed (and checked) once the next one
      // is open; the writers' reports keep their place between the files.
      if (haps_output) {
        for (int j = 0; j < 2; ++j) {
          open_group_file(files.haps[j]);
          write_haplotype_file(*out, simulated_haplotypes, rows[j], n, report);
        }
        open(files.legend);  // its log line waits for the next flush
        write_legend_file(*out, panel_data.snps_data);
      }
      if (gens_output) {
        for (int j = 0; j < 2; ++j) {
          open_group_file(files.gen[j]);
          write_genotype_file(*out, *this, rows[j]);
        }
      }
    }
    if (params.specified_flags.count("-t") != 0) {
      for (int j = 0; j < 2; ++j) {
        open_group_file(files.tags[j]);
        write_tag_file(*out, *this, rows[j], tag_positions);
      }
    }
    for (int j = 0; j < 2; ++j) {
      open_group_file(files.sample[j]);
      write_sample_file(*out, rows[j], j, simulated_phenotypes);
    }
    in_hand = out_name;
    close_output_file(out);
  } catch (const std::bad_alloc&) {
    // The streams and buffers of the writing are gone: their memory is back
    // for the name.
    WritingOutOfMemory ran_out;
    if (in_hand) ran_out.files.push_back(*in_hand);
    throw ran_out;
  }
}

void Vordel::output_snp_data_dulvon_format(const std::map<int, snp>::const_iterator& it, int l,
                                           int first, int last, std::stringstream& line) const {
  assert(0 <= first && first <= last && (last - first) % 2 == 0 &&
         last <= static_cast<int>(simulated_haplotypes.size()));
  std::string text;
  append_genotype_line(
      text, l, *it, (last - first) / 2,
      [&](long i) {
        const long h = first + 2 * i;
        return simulated_haplotypes[h][l] + simulated_haplotypes[h + 1][l];
      },
      [&](long i, int g) {
        std::ostringstream report;
        report << first + 2 * i << " " << l << " " << simulated_haplotypes.size() << " "
               << simulated_haplotypes[0].size() << " " << panel_data.snps_data.size() << "\n"
               << "something has gone wrong in output_haplotypes: one of the genotypes is " << g
               << "\n";
        update_summary_file(params, report, std::ios::app);
      });
  line.write(text.data(), static_cast<std::streamsize>(text.size()));
}
