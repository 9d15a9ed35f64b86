// The command-line parameter set of vordel2: defaults, parsing, the
// parameter summary of the run report and the help text.
#include "sim/parameters.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iomanip>
#include <iostream>

#include <boost/filesystem/operations.hpp>

#include "sim/exceptions.h"
#include "sim/report_format.h"

namespace {

// A whole word read as a base-10 integer (leading blanks allowed, nothing
// after the number).  False for anything else; a number beyond a long is
// clamped to the nearest long.
bool read_integer(const char* word, long& value) {
  char* end = nullptr;
  value = std::strtol(word, &end, 10);
  return end != word && *end == '\0';
}

// A whole word read as a floating-point number; infinities and NaN are
// accepted here, callers decide whether they make sense.
bool read_real(const char* word, double& value) {
  char* end = nullptr;
  value = std::strtod(word, &end);
  return end != word && *end == '\0';
}

// The value word of `flag` at argv[index], which must exist.  A value word
// "-help" is still a help request: the scan would meet it next, so the parse
// stops there before the flag's values are judged.
const char* value_word(int argc, const char* const argv[], int index, const std::string& flag) {
  if (index >= argc) throw MissingFlagException(flag);
  if (std::strcmp(argv[index], "-help") == 0) throw HelpException();
  return argv[index];
}

// A count of individuals: a whole number from 0 to INT_MAX.
int read_count(const char* word, const std::string& flag) {
  long value = 0;
  if (!read_integer(word, value) || value < 0 || value > INT_MAX)
    throw BadInputValueException(flag, word);
  return static_cast<int>(value);
}

// An interval bound: a whole number; one that is negative, or too large for
// an int, takes the bound's default.
int read_bound(const char* word, const std::string& flag, int default_value) {
  long value = 0;
  if (!read_integer(word, value)) throw BadInputValueException(flag, word);
  if (value < 0 || value > INT_MAX) return default_value;
  return static_cast<int>(value);
}

// A finite real number.
double read_finite(const char* word, const std::string& flag) {
  double value = 0.0;
  if (!read_real(word, value) || !std::isfinite(value)) throw BadInputValueException(flag, word);
  return value;
}

}  // namespace

VordelParameters::VordelParameters() {
  reset_parameters();
  specify_recognised_parameters();
}

void VordelParameters::reset_parameters() {
  specified_flags.clear();
  unrecognised_flags.clear();
  command_line.clear();
  haplotype_file = "NULL";
  legend_file = "NULL";
  lower = 0;
  genetic_map_file = "NULL";
  output_file.clear();
  output_directory.clear();
  tag_snp_file.clear();
  ncontrols = 1;
  ncases = 1;
  Ne = 11418.0;
  theta = -1.0;
  upper = 500000000;
  dl.clear();
  summary_file = "vordel2.summary";
  flag_dependencies.clear();
  required_flags = {"-h", "-l", "-m", "-o"};
}

void VordelParameters::specify_recognised_parameters() {
  recognised_flags = {"-help",
                      "-h",
                      "-l",
                      "-m",
                      "-o",
                      "-dl",
                      "-int",
                      "-n",
                      "-t",
                      "-theta",
                      "-Ne",
                      "-nrs",
                      "-no_gens_output",
                      "-no_haps_output"};
}

void VordelParameters::process_parameters(int argc, const char* const argv[]) {
  reset_parameters();

  // Every word is visited, values included: a value that begins with '-'
  // (a negative number, say) is recorded as a flag too.
  for (int i = 0; i < argc; ++i) {
    const std::string word = argv[i];
    command_line += word + " ";
    if (word.empty() || word[0] != '-') continue;
    specified_flags.insert(word);

    if (word == "-help") {
      throw HelpException();
    } else if (word == "-h") {
      haplotype_file = value_word(argc, argv, i + 1, word);
    } else if (word == "-l") {
      legend_file = value_word(argc, argv, i + 1, word);
    } else if (word == "-m") {
      genetic_map_file = value_word(argc, argv, i + 1, word);
    } else if (word == "-o") {
      output_file = value_word(argc, argv, i + 1, word);
      summary_file = output_file.string() + ".summary";
      output_directory = output_file.parent_path();
    } else if (word == "-t") {
      tag_snp_file = value_word(argc, argv, i + 1, word);
    } else if (word == "-int") {
      const char* first = value_word(argc, argv, i + 1, word);
      const char* second = value_word(argc, argv, i + 2, word);
      lower = read_bound(first, word, 0);
      upper = read_bound(second, word, 500000000);
    } else if (word == "-n") {
      const char* first = value_word(argc, argv, i + 1, word);
      const char* second = value_word(argc, argv, i + 2, word);
      ncontrols = read_count(first, word);
      ncases = read_count(second, word);
    } else if (word == "-theta") {
      theta = read_finite(value_word(argc, argv, i + 1, word), word);
    } else if (word == "-Ne") {
      Ne = read_finite(value_word(argc, argv, i + 1, word), word);
    } else if (word == "-dl") {
      // Groups of position, risk allele, heterozygote and homozygote risk,
      // up to the first word in a position's place that begins with '-'.
      for (int j = i + 1; j < argc && argv[j][0] != '-'; j += 4) {
        const char* allele_word = value_word(argc, argv, j + 1, word);
        const char* rr1_word = value_word(argc, argv, j + 2, word);
        const char* rr2_word = value_word(argc, argv, j + 3, word);
        const double position = read_finite(argv[j], word);
        long allele = 0;
        if (!read_integer(allele_word, allele) || allele < INT_MIN || allele > INT_MAX)
          throw BadInputValueException(word, allele_word);
        double rr1 = 0.0;
        double rr2 = 0.0;
        if (!read_real(rr1_word, rr1)) throw BadInputValueException(word, rr1_word);
        if (!read_real(rr2_word, rr2)) throw BadInputValueException(word, rr2_word);
        // Built (and so checked) even when the position is already taken;
        // the first locus given for a position is kept.
        const DiseaseLocus locus(static_cast<int>(allele), rr1, rr2);
        dl.emplace(position, locus);
      }
    }
  }

  for (const std::string& flag : specified_flags)
    if (recognised_flags.count(flag) == 0) unrecognised_flags.insert(flag);

  if (specified_flags.empty()) throw HelpException();

  if (Ne < 0.0 || Ne > 30000.0) std::cout << "Error: Ne needs to be set" << std::endl;

  for (const std::string& flag : required_flags)
    if (specified_flags.count(flag) == 0) throw MissingFlagException(flag);

  for (const auto& [flag, needed] : flag_dependencies) {
    if (specified_flags.count(flag) == 0) continue;
    for (const std::string& other : needed)
      if (specified_flags.count(other) == 0) throw MissingFlagException(other);
  }
}

void VordelParameters::create_output_directory() const {
  namespace fs = boost::filesystem;
  boost::system::error_code ec;
  const std::string directory = output_directory.string();
  if (!fs::exists(output_directory, ec)) {
    std::cout << "Creating directory " << directory << std::endl;
    if (!output_directory.empty()) {
      fs::create_directories(output_directory, ec);
      if (ec)
        throw GenericErrorException("Cannot create the output directory " + directory + ": " +
                                    ec.message());
    }
  } else if (!fs::is_directory(output_directory, ec)) {
    throw GenericErrorException("Cannot create the output directory " + directory +
                                ": a file of that name is in the way");
  }
}

void VordelParameters::parameters_summary(std::ostream& out) const {
  using std::endl;
  const StreamFormatGuard keep_format(out);

  out << "Command line input is:\n" << command_line << endl << endl;

  if (!unrecognised_flags.empty()) {
    out << "WARNING!! The following specified parameters were not recognised:" << endl;
    for (const std::string& flag : unrecognised_flags) out << "    " << flag << endl;
    out << endl;
  }

  out << "FILE INPUTS" << endl;
  out << report_label("haplotype file: ") << haplotype_file.string() << endl;
  out << report_label("legend file: ") << legend_file << endl;
  out << report_label("genetic map file: ") << genetic_map_file << endl;
  out << report_label("tag snps file: ");
  if (specified_flags.count("-t") != 0) out << tag_snp_file.string();
  out << endl;

  out << "FILE OUTPUTS" << endl;
  out << report_label("output file: ") << output_file.string() << endl;
  out << report_label("summary file: ") << summary_file << endl;

  out << "PARAMETER INPUTS" << endl;
  out << report_label("no. controls to simulate: ") << ncontrols << endl;
  out << report_label("no. cases to simulate: ") << ncases << endl;

  out << std::fixed << std::setprecision(0);
  out << report_label("disease loci: ");
  int k = 1;
  for (const auto& entry : dl) out << "(" << k++ << ") " << entry.first << " ";
  out << endl;

  out << report_label("disease alleles: ");
  k = 1;
  for (const auto& entry : dl) out << "(" << k++ << ") " << entry.second.allele << " ";
  out << endl;

  out << std::setprecision(2);
  out << report_label("heterozygote/homozygote risks: ");
  k = 1;
  for (const auto& entry : dl)
    out << "(" << k++ << ") " << entry.second.rr1 << "/" << entry.second.rr2 << " ";
  out << endl;

  out << std::setprecision(0);
  out << report_label("lower: ") << lower << endl;
  out << report_label("upper: ") << upper << endl;
  out << report_label("Ne: ") << Ne << endl;
  out << report_label("theta: ") << theta << endl << endl;
}

void VordelParameters::parameters_help(std::ostream& out) const {
  const StreamFormatGuard keep_format(out);
  auto row = [&out](const char* flag, const char* description) {
    out << std::left << std::setw(40) << flag << description;
  };
  out << "Help Menu\n\n";
  out << "Essential flags are:\n";
  row("-h <file> ", ": the reference panel (e.g. HapMap) file\n");
  row("-l <file> ", ": the legend file to the reference panel\n");
  row("-m <file> ", ": the recombinaion rate file\n");
  row("-o <file> ", ": the output file\n");
  row("-dl <pos1> <allele1> <rr11> <rr12> ... ",
      ": the list of positions, risk allele, heterozygote risk and homozygote risks for each "
      "disease locus\n");
  row("-int <pos1> <pos2> ", ": the physical position interval of interest (pos2>pos1) \n");
  out << "\n";
  out << "Optional flags are:\n";
  row("-n <m> <n>", ": the number of cases (n) and controls (m) individuals to simulate\n");
  row("-Ne <n>", ": the effective population side, defaults to 11418\n");
  row("-theta <n>", ": the mutation rate\n");
  row("-t <file> ",
      ": the physical positions of snps where the data will be written to the .tag.gen the "
      "output file\n");
}
