// Formatting of report text.
#include "sim/report_format.h"

namespace {

constexpr std::size_t kLabelWidth = 60;

}  // namespace

std::string report_label(std::string_view text) {
  std::string label(text.size() < kLabelWidth ? kLabelWidth - text.size() : 0, ' ');
  label += text;
  return label;
}

StreamFormatGuard::StreamFormatGuard(std::ostream& stream)
    : stream_(stream),
      flags_(stream.flags()),
      precision_(stream.precision()),
      width_(stream.width()),
      fill_(stream.fill()) {}

StreamFormatGuard::~StreamFormatGuard() {
  stream_.flags(flags_);
  stream_.precision(precision_);
  stream_.width(width_);
  stream_.fill(fill_);
}
