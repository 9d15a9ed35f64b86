#include "stats/helpers/line_count.h"

#include <algorithm>
#include <iterator>

namespace stathelp {

int countLines(std::istream& in) {
  std::streambuf* buffer = in.rdbuf();
  if (buffer == nullptr) return 0;
  return static_cast<int>(
      std::count(std::istreambuf_iterator<char>(buffer), std::istreambuf_iterator<char>(), '\n'));
}

}  // namespace stathelp
