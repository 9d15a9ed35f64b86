// Uniform variates on an interval.
#include <cstdio>
#include <cstdlib>

#include "stats/varlib/com.h"
#include "stats/varlib/varlib.h"

namespace numlib {

float genunf(float low, float high) {
  if (!(low <= high)) {
    std::fprintf(stderr, "LOW > HIGH in GENUNF: LOW %16.6E HIGH: %16.6E\n", low, high);
    std::fputs("Abort", stderr);
    std::exit(EXIT_FAILURE);
  }
  return low + (high - low) * ranf();
}

}  // namespace numlib
