// Formatting of report text.
#include "sim/report_format.h"

std::string report_label(std::string_view text) {
  constexpr std::size_t kWidth = 60;
  std::string label(text.size() < kWidth ? kWidth - text.size() : 0, ' ');
  return label.append(text);
}

StreamFormatGuard::StreamFormatGuard(std::ostream& stream)
    : stream_(stream), flags_(stream.flags()), precision_(stream.precision()) {}

StreamFormatGuard::~StreamFormatGuard() {
  stream_.flags(flags_);
  stream_.precision(precision_);
}
