// Reading the tag SNP file.
#include "sim/tag_snps.h"

#include <charconv>
#include <fstream>
#include <string>

#include "sim/exceptions.h"

std::set<int> read_tag_positions(const boost::filesystem::path& file) {
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

std::set<int> read_tag_snps(const VordelParameters& params) {
  if (params.specified_flags.count("-t") == 0) return {};
  return read_tag_positions(params.tag_snp_file);
}
