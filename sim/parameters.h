// The command-line parameter set.
//
// Parameters is the abstract base of any command-line program's parameter
// set; VordelParameters holds this program's options and knows how to parse,
// summarise and explain them.  Other parts of the program read its fields
// directly; a flag that takes no value counts as given when it is in
// specified_flags.
#ifndef VORDEL_SIM_PARAMETERS_H
#define VORDEL_SIM_PARAMETERS_H

#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include <boost/filesystem/path.hpp>

#include "sim/disease_locus.h"

class Parameters {
 public:
  virtual ~Parameters() = default;
  virtual void process_parameters(int argc, const char* const argv[]) = 0;
  virtual void parameters_summary(std::ostream& out) const = 0;
  virtual void parameters_help(std::ostream& out) const = 0;
  virtual void reset_parameters() = 0;

  std::set<std::string> specified_flags;
  std::string summary_file;
  std::vector<std::string> required_flags;
  std::map<std::string, std::vector<std::string>> flag_dependencies;
  std::set<std::string> recognised_flags;
  std::set<std::string> unrecognised_flags;
};

class VordelParameters : public Parameters {
 public:
  VordelParameters();

  // Parses the whole command line, starting from the defaults (every field
  // is reset first).  Touches no file.  Throws HelpException,
  // MissingFlagException, BadInputValueException and GenericErrorException.
  void process_parameters(int argc, const char* const argv[]) override;
  // Creates the directory part of the output name, with its parents, when it
  // does not exist, after printing "Creating directory " and its name on
  // standard output (also for an empty directory part, which is not
  // created).  Throws GenericErrorException when it cannot be created or a
  // file of that name is in the way.
  void create_output_directory() const;
  // The summary and the help text leave the stream's format as it was.
  void parameters_summary(std::ostream& out) const override;
  void parameters_help(std::ostream& out) const override;
  // Puts every field the parse sets back to its default (the recognised
  // flags stay).
  void reset_parameters() override;
  void specify_recognised_parameters();

  std::string command_line;
  boost::filesystem::path haplotype_file;
  std::string legend_file;
  int lower;
  std::string genetic_map_file;
  int ncontrols;
  int ncases;
  double Ne;
  boost::filesystem::path output_directory;
  boost::filesystem::path output_file;
  boost::filesystem::path tag_snp_file;
  double theta;
  int upper;
  std::map<double, DiseaseLocus> dl;  // disease loci by base-pair position
};

#endif
