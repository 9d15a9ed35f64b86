// Counting the lines left in an input stream.
#ifndef VORDEL_STATS_HELPERS_LINE_COUNT_H
#define VORDEL_STATS_HELPERS_LINE_COUNT_H

#include <istream>

namespace stathelp {

// Reads the stream's buffer to its end and returns the number of '\n'
// characters read (a last line without a newline is not counted).  The
// stream's state flags are not changed; a stream without a buffer gives 0.
int countLines(std::istream& in);

}  // namespace stathelp

#endif
