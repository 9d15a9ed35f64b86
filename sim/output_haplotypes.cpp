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

// Reads the whitespace-separated base-pair positions of the tag SNP file;
// repeats collapse.  Throws badfilename when the file cannot be opened or
// holds a word that is not an integer.
std::set<int> read_tag_positions(const fs::path& file) {
  std::ifstream in(file.string());
  if (!in) throw badfilename(file.string(), "can't open file.");
  std::set<int> positions;
  std::string word;
  while (in >> word) {
    const char* begin = word.data();
    const char* const end = word.data() + word.size();
    if (begin != end && *begin == '+') ++begin;
    int position = 0;
    const auto [stop, error] = std::from_chars(begin, end, position);
    if (error != std::errc() || stop != end || begin == end)
      throw badfilename(file.string(), "bad format detected in tag SNP file: \"" + word +
                                           "\" is not an integer position.");
    positions.insert(position);
  }
  return positions;
}

// Writes the buffered genotype line to `out` and empties the line stream,
// keeping its storage for the next line.
void write_line(std::ostream& out, std::stringstream& line) {
  out << line.rdbuf();
  line.str(std::string());
  line.clear();
}

}  // namespace

void Vordel::output_haplotypes() const {
  std::ostringstream report;
  report << "\n" << "Writing output to files " << "\n";
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
  while (usable + 1 < rows &&
         static_cast<long>(simulated_haplotypes[usable].size()) == n &&
         static_cast<long>(simulated_haplotypes[usable + 1].size()) == n &&
         usable / 2 < static_cast<long>(simulated_phenotypes.size()))
    usable += 2;
  long first_row[2];
  long end_row[2];
  for (int j = 0; j < 2; ++j) {
    first_row[j] = std::clamp(bounds[j], 0L, usable);
    end_row[j] = std::clamp(bounds[j + 1], first_row[j], usable);
  }

  std::unique_ptr<std::ostream> out;
  const auto open = [&](const fs::path& name) {
    out = open_output_file(name, report, std::ios::out);
  };

  if (params.specified_flags.count("-no_haps_output") == 0) {
    // Line buffer: up to 11 characters and a blank per allele, the newline,
    // and room for the widest number past the last one.
    std::vector<char> buffer;
    for (int j = 0; j < 2; ++j) {
      open(names.compressible(std::string(".") + kGroupNames[j] + ".haps"));
      update_summary_file(params, report, std::ios::app);
      buffer.resize(static_cast<std::size_t>(end_row[j] - first_row[j]) * 12 + 32);
      for (long l = 0; l < n; ++l) {
        char* p = buffer.data();
        for (long h = first_row[j]; h < end_row[j]; ++h) {
          const int allele = simulated_haplotypes[h][l];
          if (allele == 0 || allele == 1) {
            *p++ = static_cast<char>('0' + allele);
          } else {
            p = put_int(p, allele);
            if (allele < 0)
              report << "something has gone wrong in output_haplotypes: one of the alleles is"
                     << allele << "\n"
                     << rows << " " << h << " " << simulated_haplotypes[0].size() << " " << l
                     << "\n";
          }
          *p++ = ' ';
        }
        *p++ = '\n';
        out->write(buffer.data(), p - buffer.data());
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
    for (int j = 0; j < 2; ++j) {
      open(names.compressible(std::string(".") + kGroupNames[j] + ".gen"));
      update_summary_file(params, report, std::ios::app);
      const int first = static_cast<int>(first_row[j]);
      const int last = static_cast<int>(end_row[j]);
      int l = 0;
      for (auto it = panel_data.snps_data.cbegin(); it != panel_data.snps_data.cend(); ++it, ++l) {
        output_snp_data_dulvon_format(it, l, first, last, line);
        write_line(*out, line);
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
}

void Vordel::output_snp_data_dulvon_format(const std::map<int, snp>::const_iterator& it,
                                           const int& l, const int& first, const int& last,
                                           std::stringstream& line) const {
  assert(0 <= first && first <= last && (last - first) % 2 == 0 &&
         last <= static_cast<int>(simulated_haplotypes.size()));

  line << "snp_" << l << " " << it->second.rsid << " " << it->first << " " << it->second.allele0
       << " " << it->second.allele1;

  // The genotypes go through a fixed buffer, written to the line in chunks.
  static const char kGenotypes[3][7] = {" 1 0 0", " 0 1 0", " 0 0 1"};
  char chunk[6 * 512];
  char* p = chunk;
  for (int h = first; h < last; h += 2) {
    const int g = simulated_haplotypes[h][l] + simulated_haplotypes[h + 1][l];
    if (g >= 0 && g <= 2) {
      std::memcpy(p, kGenotypes[g], 6);
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
