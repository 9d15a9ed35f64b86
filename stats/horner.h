// Polynomial evaluation shared by the numerical routines.
//
// horner(c, x) = c[0] + c[1] x + ... + c[N-1] x^(N-1), evaluated from the
// highest coefficient down: (((c[N-1] x + c[N-2]) x + ...) x + c[0]), the
// same operations in the same order as the nested form written out by
// hand, so results are bit-identical to it.
#ifndef VORDEL_STATS_HORNER_H
#define VORDEL_STATS_HORNER_H

#include <cstddef>

namespace numlib {

template <std::size_t N>
constexpr double horner(const double (&c)[N], double x) {
  static_assert(N > 0, "a polynomial needs at least one coefficient");
  double s = c[N - 1];
  for (std::size_t k = N - 1; k-- > 0;) s = s * x + c[k];
  return s;
}

}  // namespace numlib

#endif
