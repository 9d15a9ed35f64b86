// vordel2: simulates case-control haplotype data by copying from a
// reference panel, then tests the disease SNPs for association.
//
// Exit status: 0 on success and for the help text; 1 on a user error (bad
// command line, unreadable input, unwritable output, memory that runs out
// while simulating or writing), when no usable disease SNP is left, or when
// the summary file cannot be written.
#include <cstdio>
#include <ctime>
#include <iostream>
#include <sstream>
#include <string>

#include <newmat/newmat.h>

#include "sim/exceptions.h"
#include "sim/output_file.h"
#include "sim/parameters.h"
#include "sim/result_tables.h"
#include "sim/vordel.h"
#include "version.h"

std::string version() { return "v" VORDEL_VERSION; }

void header(std::ostream& out) {
  const std::string rule(67, '=');
  out << "\n";
  out << rule << std::endl;
  out << "  Welcome to VORDEL_" << version() << " (24/03/2011)" << std::endl;
  out << "  Case-control haplotype simulation by copying from a reference panel" << std::endl;
  out << rule << std::endl << std::endl;
}

int main(int argc, char* argv[]) {
  VordelParameters params;
  std::ostringstream report;
  const std::time_t start = std::time(nullptr);
  header(report);

  // The number format of the elapsed seconds in the timing line: the
  // default until the parameter summary is written, then fixed notation
  // without decimals, and general notation with 4 significant digits once
  // the result tables are.
  std::ios::fmtflags seconds_notation = report.flags() & std::ios::floatfield;
  std::streamsize seconds_precision = report.precision();

  int status = 0;
  try {
    params.process_parameters(argc, argv);
    params.create_output_directory();
    std::remove(params.summary_file.c_str());  // a fresh summary for this run
    update_summary_file(params, report, std::ios::app);

    seconds_notation = std::ios::fixed;
    seconds_precision = 0;
    params.parameters_summary(report);
    update_summary_file(params, report, std::ios::app);

    Vordel vordel(params);
    vordel.simulate_haplotypes();
    if (params.ncases > 1) {
      seconds_notation = std::ios::fmtflags();
      seconds_precision = 4;
      write_result_tables(report, vordel.simulated_haplotypes, vordel.simulated_phenotypes,
                          vordel.dl_indices);
      update_summary_file(params, report, std::ios::app);
    }
  } catch (const MissingFlagException& e) {
    report << e.message << "\n\n";
    status = 1;
  } catch (const HelpException&) {
    std::cout << report.str() << std::endl;
    std::ostringstream help;
    params.parameters_help(help);
    std::cout << help.str() << std::endl;
    return 0;
  } catch (const BadInputValueException& e) {
    report << e.message << "\n\n";
    status = 1;
  } catch (const badfilename& e) {
    report << e.message << "\n\n";
    status = 1;
  } catch (const GenericErrorException& e) {
    report << e.prefix << e.message << "\n\n";
    status = 1;
  } catch (const NoSuitableDiseaseLociException&) {
    return 1;  // reported already; the run ends without the timing line
  } catch (const RBD_COMMON::BaseException&) {
    report << "Error encountered in the matrix library, program terminated: "
           << RBD_COMMON::BaseException::what() << "\n\n";
    status = 1;
  } catch (const std::exception& e) {
    report << "Error encountered, program terminated: " << e.what() << "\n\n";
    status = 1;
  }

  const std::time_t end = std::time(nullptr);
  report.setf(seconds_notation, std::ios::floatfield);
  report.precision(seconds_precision);
  report << "\nVORDEL took " << std::difftime(end, start)
         << " seconds to complete. Have a nice day! \n";
  try {
    update_summary_file(params, report, std::ios::app);
  } catch (const badfilename&) {
    // The report cannot be kept: show it, and say why it is not in the file.
    std::cout << report.str() << std::flush;
    std::cerr << "Error writing summary file " << params.summary_file << ": can't open file."
              << std::endl;
    return 1;
  }
  return status;
}
