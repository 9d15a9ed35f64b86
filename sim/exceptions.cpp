// Message prefixes of the user-error classes, and their constructors.
#include "sim/exceptions.h"

std::string HelpException::m_what = "Help wanted";
std::string FlagException::m_message = "ERROR!!! Flag error: ";
std::string MissingFlagException::m_message = "ERROR!!! Must specify a value for flag: ";
std::string BadInputValueException::m_message = "ERROR!!! Bad value given for flag: ";

MissingFlagException::MissingFlagException(const std::string& missing_flag) {
  flag = missing_flag;
  message = m_message + missing_flag;
}

BadInputValueException::BadInputValueException(const std::string& bad_flag,
                                               const std::string& bad_value)
    : flag(bad_flag), value(bad_value), message(m_message + bad_flag) {}

GenericErrorException::GenericErrorException(const std::string& text)
    : prefix("Error encountered, program terminated: "), message(text) {}

badfilename::badfilename(const std::string& file, const std::string& reason)
    : message("Error reading file " + file + ": " + reason) {}
