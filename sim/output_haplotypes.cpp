// Output files of a run: haplotypes, legend, genotypes of all SNPs and of
// the tag SNPs, and sample lists, for controls and cases.
#include <algorithm>
#include <cassert>
#include <charconv>
#include <cstring>
#include <fstream>
#include <ios>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <boost/filesystem/path.hpp>

#include "sim/exceptions.h"
#include "sim/output_file.h"
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

// Reads the whitespace-separated base-pair positions of the tag SNP file
// (decimal integers, optionally signed); repeats collapse.  Throws
// badfilename when the file cannot be opened or read, or holds a word that
// is not an integer.
std::set<int> read_tag_positions(const fs::path& file) {
  std::ifstream in(file.string());
  if (!in) throw badfilename(file.string(), "can't open file.");
  std::set<int> positions;
  std::string word;
  while (in >> word) {
    const char* begin = word.data();
    const char* const end = word.data() + word.size();
    if (end - begin > 1 && *begin == '+' && begin[1] != '-') ++begin;
    int position = 0;
    const auto [stop, error] = std::from_chars(begin, end, position);
    if (error != std::errc() || stop != end)
      throw badfilename(file.string(), "bad format detected in tag SNP file: \"" + word +
                                           "\" is not an integer position.");
    positions.insert(position);
  }
  if (in.bad()) throw badfilename(file.string(), "can't read file.");
  return positions;
}

// Writes the buffered genotype line to `out` and empties the line stream,
// keeping its storage for the next line.
void write_line(std::ostream& out, std::stringstream& line) {
  out << line.rdbuf();
  line.str(std::string());
  line.clear();
}

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

}  // namespace

void Vordel::output_haplotypes() const {
  std::ostringstream report;
  report << "\n"
         << "Writing output to files "
         << "\n";
  update_summary_file(params, report, std::ios::app);

  const OutputNames names(params.output_file, params.output_directory);
  const long bounds[3] = {0, 2L * params.ncontrols, 2L * params.ncontrols + 2L * params.ncases};
  const long rows = static_cast<long>(simulated_haplotypes.size());
  const long n = static_cast<long>(panel_data.snps_data.size());

  if (rows != bounds[2]) {
    report << "something has gone wrong in output_haplotypes: "
              "simulated_haplotypes.size()/2 != (params.ncontrols+params.ncases)"
           << "\n";
    update_summary_file(params, report, std::ios::app);
  }

  // Rows that can be written: whole individuals with a full haplotype pair
  // and a phenotype.  In a normal run that is every row; otherwise each
  // group keeps the part of its rows that exists, so nothing is read outside
  // the simulated data.
  long usable = 0;
  while (usable + 1 < rows && static_cast<long>(simulated_haplotypes[usable].size()) == n &&
         static_cast<long>(simulated_haplotypes[usable + 1].size()) == n &&
         usable / 2 < static_cast<long>(simulated_phenotypes.size()))
    usable += 2;
  long first_row[2];
  long end_row[2];
  for (int j = 0; j < 2; ++j) {
    first_row[j] = std::clamp(bounds[j], 0L, usable);
    end_row[j] = std::clamp(bounds[j + 1], first_row[j], usable);
  }

  // One output stream at a time: each file is closed, and checked, once the
  // next one is open.
  std::unique_ptr<std::ostream> out;
  const auto open = [&](const fs::path& name) {
    std::unique_ptr<std::ostream> next = open_output_file(name, report, std::ios::out);
    close_output_file(out);
    out = std::move(next);
  };

  if (params.specified_flags.count("-no_haps_output") == 0) {
    // Line buffer: up to 11 characters and a blank per allele, the newline,
    // and room for the widest number past the last one.
    std::vector<char> buffer;
    AlleleTile tile;
    for (int j = 0; j < 2; ++j) {
      open(names.compressible(std::string(".") + kGroupNames[j] + ".haps"));
      update_summary_file(params, report, std::ios::app);
      const long first = first_row[j];
      const long last = end_row[j];
      buffer.resize(static_cast<std::size_t>(last - first) * 12 + 32);
      const long block = AlleleTile::block_snps(last - first);
      for (long l0 = 0; l0 < n; l0 += block) {
        const long count = std::min(block, n - l0);
        tile.gather(simulated_haplotypes, first, last, l0, count);
        for (long k = 0; k < count; ++k) {
          const long l = l0 + k;
          char* p = buffer.data();
          if (tile.plain(k)) {
            const unsigned char* codes = tile.snp(k);
            for (long r = 0; r < last - first; ++r) {
              *p++ = static_cast<char>('0' + codes[r]);
              *p++ = ' ';
            }
          } else {
            for (long h = first; h < last; ++h) {
              const int allele = simulated_haplotypes[h][l];
              p = put_int(p, allele);
              *p++ = ' ';
              if (allele < 0)
                report << "something has gone wrong in output_haplotypes: one of the alleles is"
                       << allele << "\n"
                       << rows << " " << h << " " << simulated_haplotypes[0].size() << " " << l
                       << "\n";
            }
          }
          *p++ = '\n';
          out->write(buffer.data(), p - buffer.data());
        }
      }
    }

    open(names.plain(".legend"));
    std::string line;
    *out << "rs pos X0 X1\n";
    for (const auto& [position, record] : panel_data.snps_data) {
      char digits[24];
      line.assign(record.rsid);
      line += ' ';
      line.append(digits, put_int(digits, position));
      line += ' ';
      line += record.allele0;
      line += ' ';
      line += record.allele1;
      line += '\n';
      out->write(line.data(), static_cast<std::streamsize>(line.size()));
    }
  }

  std::stringstream line;
  if (params.specified_flags.count("-no_gens_output") == 0) {
    // Each line is the genotype-line writer's; lines of SNPs with alleles
    // 0 and 1 only (all of them in a normal run) are formed here from a
    // block of the alleles, with the same text, and the others are left to
    // the writer itself, which also reports their bad genotypes.
    std::string text;
    AlleleTile tile;
    for (int j = 0; j < 2; ++j) {
      open(names.compressible(std::string(".") + kGroupNames[j] + ".gen"));
      update_summary_file(params, report, std::ios::app);
      const int first = static_cast<int>(first_row[j]);
      const int last = static_cast<int>(end_row[j]);
      auto it = panel_data.snps_data.cbegin();
      const long block = AlleleTile::block_snps(last - first);
      for (long l0 = 0; l0 < n; l0 += block) {
        const long count = std::min(block, n - l0);
        tile.gather(simulated_haplotypes, first, last, l0, count);
        for (long k = 0; k < count; ++k, ++it) {
          const int l = static_cast<int>(l0 + k);
          if (!tile.plain(k)) {
            output_snp_data_dulvon_format(it, l, first, last, line);
            write_line(*out, line);
            continue;
          }
          char digits[24];
          text.assign("snp_");
          text.append(digits, put_int(digits, l));
          text += ' ';
          text += it->second.rsid;
          text += ' ';
          text.append(digits, put_int(digits, it->first));
          text += ' ';
          text += it->second.allele0;
          text += ' ';
          text += it->second.allele1;
          const std::size_t label = text.size();
          text.resize(label + static_cast<std::size_t>(last - first) * 3 + 1);
          char* p = &text[label];
          const unsigned char* codes = tile.snp(k);
          for (int r = 0; r < last - first; r += 2) {
            std::memcpy(p, kGenotypeTexts[codes[r] + codes[r + 1]], 6);
            p += 6;
          }
          *p = '\n';
          out->write(text.data(), static_cast<std::streamsize>(text.size()));
        }
      }
    }
  }

  if (params.specified_flags.count("-t") != 0) {
    const std::set<int> tags = read_tag_positions(params.tag_snp_file);
    for (int j = 0; j < 2; ++j) {
      open(names.compressible(std::string(".") + kGroupNames[j] + ".tags.gen"));
      update_summary_file(params, report, std::ios::app);
      const int first = static_cast<int>(first_row[j]);
      const int last = static_cast<int>(end_row[j]);
      // Both the tags and the SNPs are in ascending position order: one
      // walk along the SNPs finds every tag and its SNP index.
      auto tag = tags.cbegin();
      int l = 0;
      for (auto it = panel_data.snps_data.cbegin();
           it != panel_data.snps_data.cend() && tag != tags.cend(); ++it, ++l) {
        while (tag != tags.cend() && *tag < it->first) ++tag;
        if (tag != tags.cend() && *tag == it->first) {
          output_snp_data_dulvon_format(it, l, first, last, line);
          write_line(*out, line);
        }
      }
    }
  }

  std::string text;
  for (int j = 0; j < 2; ++j) {
    open(names.plain(std::string(".") + kGroupNames[j] + ".sample"));
    update_summary_file(params, report, std::ios::app);
    *out << "ID_1 ID_2 missing pheno\n"
         << "0 0 0 B\n";
    for (long i = first_row[j] / 2; i < end_row[j] / 2; ++i) {
      char digits[24];
      const std::string number(digits, put_int(digits, i));
      text.assign("id1_").append(number).append(" id2_").append(number).append(" 0 ");
      text += static_cast<char>('0' + j);
      text += '\n';
      out->write(text.data(), static_cast<std::streamsize>(text.size()));
      assert(simulated_phenotypes[i] == j);
    }
  }
  close_output_file(out);
}

void Vordel::output_snp_data_dulvon_format(const std::map<int, snp>::const_iterator& it, int l,
                                           int first, int last, std::stringstream& line) const {
  assert(0 <= first && first <= last && (last - first) % 2 == 0 &&
         last <= static_cast<int>(simulated_haplotypes.size()));

  line << "snp_" << l << " " << it->second.rsid << " " << it->first << " " << it->second.allele0
       << " " << it->second.allele1;

  // The genotypes go through a fixed buffer, written to the line in chunks.
  char chunk[6 * 512];
  char* p = chunk;
  for (int h = first; h < last; h += 2) {
    const int g = simulated_haplotypes[h][l] + simulated_haplotypes[h + 1][l];
    if (g >= 0 && g <= 2) {
      std::memcpy(p, kGenotypeTexts[g], 6);
      p += 6;
      if (p == chunk + sizeof chunk) {
        line.write(chunk, p - chunk);
        p = chunk;
      }
    } else {
      std::ostringstream report;
      report << h << " " << l << " " << simulated_haplotypes.size() << " "
             << simulated_haplotypes[0].size() << " " << panel_data.snps_data.size() << "\n"
             << "something has gone wrong in output_haplotypes: one of the genotypes is " << g
             << "\n";
      update_summary_file(params, report, std::ios::app);
    }
  }
  line.write(chunk, p - chunk);
  line << "\n";
}
