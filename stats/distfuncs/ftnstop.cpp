#include "stats/distfuncs/ftnstop.h"

#include <cstdio>
#include <cstdlib>

namespace numlib {

void ftnstop(const char* msg) {
  if (msg != nullptr) std::fprintf(stderr, "%s\n", msg);
  // A fatal error must not look like success to the calling shell.
  std::exit(EXIT_FAILURE);
}

}  // namespace numlib
