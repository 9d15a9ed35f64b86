// Formatting of report text: the labelled report line, and a guard that
// gives a stream back the format a writer found it in.
#ifndef VORDEL_SIM_REPORT_FORMAT_H
#define VORDEL_SIM_REPORT_FORMAT_H

#include <ios>
#include <ostream>
#include <string>
#include <string_view>

// The label of a report line: `text` right-aligned in a field of 60
// characters (whole when it is longer), for the value to follow at once.
std::string report_label(std::string_view text);

// Saves the format flags and the precision of a stream and puts them back
// when it goes out of scope, so that a writer that changes how numbers are
// written or aligned leaves the stream as it found it.
class StreamFormatGuard {
 public:
  explicit StreamFormatGuard(std::ostream& stream);
  ~StreamFormatGuard();
  StreamFormatGuard(const StreamFormatGuard&) = delete;
  StreamFormatGuard& operator=(const StreamFormatGuard&) = delete;

 private:
  std::ostream& stream_;
  std::ios_base::fmtflags flags_;
  std::streamsize precision_;
};

#endif
