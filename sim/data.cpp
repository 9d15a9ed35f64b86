// Reading the genetic map and the reference panel (legend and haplotype
// files), and the interpolation of genetic positions.
//
// Lines are read whole and parsed in place, without a string stream per
// line: a panel holds thousands of haplotypes at tens of thousands of SNPs.
// The parser reads words and numbers the way formatted stream input does
// (leading blanks skipped, the longest prefix that forms a value taken), so
// the files are read exactly as by stream extraction.

#include "sim/data.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "sim/exceptions.h"
#include "sim/output_file.h"
#include "sim/report_format.h"

namespace {

// Blank space of the C locale.  A carriage return before the newline is one
// of them, so lines ended by "\r\n" read like lines ended by "\n".
inline bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

inline bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Reads one line of text word by word.  Each read skips leading blanks and
// fails when no value of its type starts there; a successful read stops
// right after the value, so "12ab" reads as the number 12 followed by the
// word "ab", as with formatted stream input.
class LineParser {
 public:
  explicit LineParser(std::string_view line) : p_(line.data()), end_(line.data() + line.size()) {}

  // True when only blanks are left.
  bool at_end() {
    skip_blanks();
    return p_ == end_;
  }

  bool read_word(std::string& word) {
    skip_blanks();
    if (p_ == end_) return false;
    const char* start = p_;
    while (p_ != end_ && !is_blank(*p_)) ++p_;
    word.assign(start, p_);
    return true;
  }

  bool read_int(int& value) {
    skip_blanks();
    const char* start = skip_plus_sign();
    const auto [next, ec] = std::from_chars(start, end_, value);
    if (ec != std::errc()) return false;  // no digits, or out of range
    p_ = next;
    return true;
  }

  bool read_double(double& value) {
    skip_blanks();
    const char* start = skip_plus_sign();
    // Stream input knows no "inf" or "nan": a number starts with a digit or
    // a decimal point, after an optional minus sign.
    const char* first = start != end_ && *start == '-' ? start + 1 : start;
    if (first == end_ || !(is_digit(*first) || *first == '.')) return false;
    const auto [next, ec] = std::from_chars(start, end_, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
      // Stream input refuses a number beyond the range of double, but reads
      // one too small for it as the nearest double (0 or a denormal).
      const double nearest = std::strtod(std::string(start, next).c_str(), nullptr);
      if (std::isinf(nearest)) return false;
      value = nearest;
    } else if (ec != std::errc()) {
      return false;  // no digits
    }
    // An exponent marker left unread after a number without exponent has
    // no digits after it ("1e", "2E+"): stream input refuses such a number
    // as a whole.  After a complete exponent ("1e5e") it ends the number.
    const auto is_exponent = [](char c) { return c == 'e' || c == 'E'; };
    if (next != end_ && is_exponent(*next) && std::none_of(start, next, is_exponent)) {
      return false;
    }
    p_ = next;
    return true;
  }

  // Reads one allele, which must be the integer 0 or 1.  The common form,
  // a single digit followed by a blank or the end of the line, is read
  // directly; any other spelling of an integer ("01", "+1") is read like
  // read_int.
  bool read_allele(int& value) {
    if (p_ + 1 < end_ && (*p_ == '0' || *p_ == '1') && is_blank(p_[1])) {
      value = *p_ - '0';
      p_ += 2;
      return true;
    }
    if (p_ + 1 == end_ && (*p_ == '0' || *p_ == '1')) {
      value = *p_ - '0';
      ++p_;
      return true;
    }
    return read_int(value) && (value == 0 || value == 1);
  }

 private:
  void skip_blanks() {
    while (p_ != end_ && is_blank(*p_)) ++p_;
  }

  // Stream input accepts a leading '+' before a number; std::from_chars
  // does not.  Returns where the number proper starts.
  const char* skip_plus_sign() const {
    if (p_ + 1 < end_ && *p_ == '+' && (is_digit(p_[1]) || p_[1] == '.')) return p_ + 1;
    return p_;
  }

  const char* p_;
  const char* end_;
};

// Reads the alleles of one haplotype line into `alleles` (emptied first).
// Returns false at the first token that is not the integer 0 or 1.
bool read_alleles(std::string_view line, std::vector<int>& alleles) {
  alleles.clear();
  LineParser parser(line);
  int allele = 0;
  while (!parser.at_end()) {
    if (!parser.read_allele(allele)) return false;
    alleles.push_back(allele);
  }
  return true;
}

}  // namespace

// The walk from line 0 stops before the first line j >= 1 whose position
// exceeds x; that is the first j at which the running maximum of p[1..j]
// exceeds x, and the running maximum is sorted, so a binary search finds it.
GeneticMapIndex::GeneticMapIndex(const std::vector<double>& positions,
                                 const std::vector<double>& scaled)
    : p_(positions), s_(scaled) {
  assert(!p_.empty() && p_.size() == s_.size());
  running_max_.reserve(p_.size() - 1);
  for (std::size_t j = 1; j < p_.size(); ++j)
    running_max_.push_back(j == 1 ? p_[1] : std::max(running_max_.back(), p_[j]));
}

double GeneticMapIndex::genetic_position(double x) const {
  if (x < p_[0]) return s_[0];
  const auto above = std::upper_bound(running_max_.begin(), running_max_.end(), x);
  const std::size_t i = static_cast<std::size_t>(above - running_max_.begin());
  if (i == p_.size() - 1) return s_.back();
  return ((x - p_[i]) / (p_[i + 1] - p_[i])) * (s_[i + 1] - s_[i]) + s_[i];
}

Data::Data(const VordelParameters& run_params) : params(run_params) {
  read_genetic_map();
  read_haplotype_data();
}

void Data::read_genetic_map() {
  std::ostringstream report;
  const std::string& file_name = params.genetic_map_file;

  report << "Reading genetic map file ... ";
  update_summary_file(params, report, std::ios::app);

  std::ifstream in(file_name);
  if (!in.is_open()) throw badfilename(file_name, "can't open file.");

  std::string line;
  std::getline(in, line);  // header

  int k = 0;
  while (std::getline(in, line)) {
    ++k;
    LineParser parser(line);
    double position = 0.0;
    double rate = 0.0;  // read to check the line; not used
    double distance_cm = 0.0;
    if (!(parser.read_double(position) && parser.read_double(rate) &&
          parser.read_double(distance_cm))) {
      throw badfilename(file_name, "bad line in rates file on line " + std::to_string(k + 1));
    }
    map_positions.push_back(position);
    map_scaled_positions.push_back((4.0 * params.Ne) * distance_cm / 100.0);
  }
  // Without a single map line there is nothing to interpolate from.
  if (k == 0) throw badfilename(file_name, "no data lines found in rates file.");

  report << "done\n";
  update_summary_file(params, report, std::ios::app);
  in.close();

  report << report_label("number of rates read: ") << k << "\n\n";
  update_summary_file(params, report, std::ios::app);
}

void Data::read_haplotype_data() {
  std::ostringstream report;
  const std::string haplotype_name = params.haplotype_file.string();
  const std::string& legend_name = params.legend_file;

  report << "\nReading haplotype and legend files: "
         << "looking for SNPs in [" << params.lower << ", " << params.upper << "] ... ";
  update_summary_file(params, report, std::ios::app);

  num_panel_haps = -1;

  std::ifstream haplotypes(haplotype_name);
  if (!haplotypes.is_open()) throw badfilename(haplotype_name, "can't open haplotype file.");
  std::ifstream legend(legend_name);
  if (!legend.is_open()) throw badfilename(legend_name, "can't open legend file.");

  const GeneticMapIndex map_index(map_positions, map_scaled_positions);

  std::string haplotype_line;
  std::string legend_line;
  std::getline(legend, legend_line);  // header

  std::vector<int> skipped_alleles;
  std::string rsid, allele0, allele1;
  int k = 0;
  bool haplotype_line_read = false;
  bool legend_line_read = false;
  for (;;) {
    haplotype_line_read = static_cast<bool>(std::getline(haplotypes, haplotype_line));
    legend_line_read = static_cast<bool>(std::getline(legend, legend_line));
    if (!haplotype_line_read || !legend_line_read) break;
    ++k;

    LineParser legend_parser(legend_line);
    int position = 0;
    const bool legend_ok = legend_parser.read_word(rsid) && legend_parser.read_int(position) &&
                           legend_parser.read_word(allele0) && legend_parser.read_word(allele1);
    // The legend's error is the one reported when both lines are bad.
    if (!legend_ok) {
      throw badfilename(
          legend_name, "bad format detected in legend file on line " + std::to_string(k + 1) + ".");
    }

    // Both bounds are inclusive; the first SNP at a position is kept.  A
    // kept SNP reads its alleles straight into its record, sized for the
    // panel; the others into one vector reused from line to line.
    const auto place = snps_data.lower_bound(position);
    const bool keep = params.lower <= position && position <= params.upper &&
                      (place == snps_data.end() || place->first != position);
    snp record;
    if (keep && num_panel_haps > 0) record.haps.reserve(static_cast<std::size_t>(num_panel_haps));
    std::vector<int>& alleles = keep ? record.haps : skipped_alleles;
    if (!read_alleles(haplotype_line, alleles)) {
      throw badfilename(haplotype_name,
                        "bad format detected in haplotype file on line " + std::to_string(k) + ".");
    }
    const int count = static_cast<int>(alleles.size());
    if (num_panel_haps == -1) {
      // A panel without haplotypes has nothing to copy from.
      if (count == 0) {
        throw badfilename(haplotype_name, "no haplotypes found in haplotype file on line " +
                                              std::to_string(k) + ".");
      }
      num_panel_haps = count;
      alleles.shrink_to_fit();
    } else if (count != num_panel_haps) {
      throw badfilename(haplotype_name, "different number of haplotypes found in haplotype file (" +
                                            std::to_string(num_panel_haps) + " and " +
                                            std::to_string(count) + " on line " +
                                            std::to_string(k) + ".");
    }

    if (keep) {
      record.rsid = rsid;
      record.genetic_position = map_index.genetic_position(static_cast<double>(position));
      double sum = 0.0;
      for (int allele : record.haps) sum += allele;
      record.freq = sum / count;
      record.allele0 = allele0;
      record.allele1 = allele1;
      snps_data.emplace_hint(place, position, std::move(record));
    }
  }

  report << "done\n";
  update_summary_file(params, report, std::ios::app);

  report << report_label("number of haplotypes: ") << num_panel_haps << "\n";
  report << report_label("number of SNPs in total: ") << k << "\n";
  report << report_label("number of SNPs in interval: ") << snps_data.size() << "\n\n";

  // One file had more lines when its read still gave a line as the other's
  // failed.  (Whether that line ended in a newline does not matter: a last
  // line without one is a line all the same.)
  if (haplotype_line_read && !legend_line_read) {
    std::cout << "Warning: haplotype file contained more lines than legend file, only those "
                 "SNPs with a line in the legend file were read."
              << std::endl;
  }
  if (legend_line_read && !haplotype_line_read) {
    std::cout << "Warning: legend file contained more lines than haplotype file, only those "
                 "SNPs with a line in the haplotype file were read."
              << std::endl;
  }

  haplotypes.close();
  legend.close();

  if (snps_data.empty()) {
    throw badfilename(haplotype_name, "No SNPs in the interval in haplotype file!");
  }
  update_summary_file(params, report, std::ios::app);
}
