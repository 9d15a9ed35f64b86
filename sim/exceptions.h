// User errors of the vordel2 program.
//
// Plain classes, thrown and caught by value, each carrying a complete
// message for the run report.  The static prefixes are initialised before
// main() runs.
#ifndef VORDEL_SIM_EXCEPTIONS_H
#define VORDEL_SIM_EXCEPTIONS_H

#include <string>

// Signals a help request ("-help", or a command line without any flag).
class HelpException {
 public:
  static std::string m_what;  // "Help wanted"
};

class FlagException {
 public:
  FlagException() = default;
  std::string flag;
  std::string message;
  static std::string m_message;  // "ERROR!!! Flag error: "
};

// A required flag, or a value a flag needs, is missing.
class MissingFlagException : public FlagException {
 public:
  explicit MissingFlagException(const std::string& flag);
  static std::string m_message;  // "ERROR!!! Must specify a value for flag: "
};

// A flag's value is not a number, or is out of the range the flag allows.
class BadInputValueException {
 public:
  BadInputValueException(const std::string& flag, const std::string& value);
  std::string flag;
  std::string value;
  std::string message;
  static std::string m_message;  // "ERROR!!! Bad value given for flag: "
};

class GenericErrorException {
 public:
  explicit GenericErrorException(const std::string& message);
  std::string prefix;  // "Error encountered, program terminated: "
  std::string message;
};

// No disease locus of the command line is usable.  The run report already
// says so when this is thrown; the run ends with exit status 1 and without
// the timing line.
class NoSuitableDiseaseLociException {};

// An input or output file that cannot be used:
// message = "Error reading file " + file + ": " + reason.
class badfilename {
 public:
  badfilename(const std::string& file, const std::string& reason);
  std::string message;
};

#endif
