// Central and noncentral F variates, as ratios of chi-square variates.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "stats/varlib/varlib.h"

namespace numlib {

namespace {

// xnum / xden, or 1.0E38 with a warning when the quotient would overflow a
// float; name is the caller's name in the warning.
float guarded_ratio(float xnum, float xden, const char* name) {
  if (static_cast<double>(xden) <= 9.999999999998E-39 * static_cast<double>(xnum)) {
    std::fprintf(stderr, " %s - generated numbers would cause overflow", name);
    std::fprintf(stderr, " Numerator %16.6E Denominator %16.6E\n", xnum, xden);
    std::fprintf(stderr, " %s returning 1.0E38", name);
    return 1.0E38f;
  }
  return xnum / xden;
}

}  // namespace

float genf(float dfn, float dfd) {
  if (!(dfn > 0.0f) || !(dfd > 0.0f)) {
    std::fputs("Degrees of freedom nonpositive in GENF - abort!", stderr);
    std::fprintf(stderr, "DFN value: %16.6EDFD value: %16.6E\n", dfn, dfd);
    std::exit(EXIT_FAILURE);
  }
  if (std::isinf(dfn) || std::isinf(dfd)) {
    std::fputs("Degrees of freedom infinite in GENF - abort!", stderr);
    std::fprintf(stderr, "DFN value: %16.6EDFD value: %16.6E\n", dfn, dfd);
    std::exit(EXIT_FAILURE);
  }
  const float xnum = genchi(dfn) / dfn;
  const float xden = genchi(dfd) / dfd;
  return guarded_ratio(xnum, xden, "GENF");
}

float gennf(float dfn, float dfd, float xnonc) {
  if (!(dfn > 1.0f) || !(dfd > 0.0f) || !(xnonc >= 0.0f)) {
    std::fputs("In GENNF - Either (1) Numerator DF <= 1.0 or", stderr);
    std::fputs("(2) Denominator DF < 0.0 or ", stderr);
    std::fputs("(3) Noncentrality parameter < 0.0", stderr);
    std::fprintf(stderr, "DFN value: %16.6EDFD value: %16.6EXNONC value: \n%16.6E\n", dfn, dfd,
                 xnonc);
    std::exit(EXIT_FAILURE);
  }
  if (std::isinf(dfn) || std::isinf(dfd) || std::isinf(xnonc)) {
    std::fputs("In GENNF - an argument is infinite", stderr);
    std::fprintf(stderr, "DFN value: %16.6EDFD value: %16.6EXNONC value: \n%16.6E\n", dfn, dfd,
                 xnonc);
    std::exit(EXIT_FAILURE);
  }
  const float xnum = gennch(dfn, xnonc) / dfn;
  const float xden = genchi(dfd) / dfd;
  return guarded_ratio(xnum, xden, "GENNF");
}

}  // namespace numlib
