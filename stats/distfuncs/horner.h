// Polynomial evaluation shared by the numerical routines.
//
// horner(c, x) = c[0] + c[1] x + ... + c[N-1] x^(N-1), evaluated from the
// highest coefficient down: (((c[N-1] x + c[N-2]) x + ...) x + c[0]), the
// same operations in the same order as the nested form written out by
// hand, so results are bit-identical to it.
// horner(c, n, x) does the same with the first n (>= 1) entries of c, for
// tables of which a caller uses a leading part or a count known at run time.
#ifndef VORDEL_STATS_DISTFUNCS_HORNER_H
#define VORDEL_STATS_DISTFUNCS_HORNER_H

#include <cassert>
#include <cstddef>

namespace numlib {

constexpr double horner(const double* c, std::size_t n, double x) {
  assert(n > 0);
  double s = c[n - 1];
  for (std::size_t k = n - 1; k-- > 0;) s = s * x + c[k];
  return s;
}

template <std::size_t N>
constexpr double horner(const double (&c)[N], double x) {
  static_assert(N > 0, "a polynomial needs at least one coefficient");
  return horner(c, N, x);
}

}  // namespace numlib

#endif
