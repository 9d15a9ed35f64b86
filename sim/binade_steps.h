// Exact shortcuts for long chains of double additions or subtractions of a
// few distinct values, as the source picks make them.
//
// The doubles of one binade [2^e, 2^(e+1)) are the multiples m q of
// q = 2^(e-52), 2^52 <= m < 2^53.  Adding a value v >= 0 to such a double,
// or taking it off, moves it to the nearest multiple of q as long as the
// exact result stays inside the binade: write v = k q + r, 0 <= r < q; the
// step is k multiples of q when r < q/2 and k + 1 when r > q/2 (at r = q/2
// the parity of m decides, so such a step is not fixed).  A run of such
// steps is then integer arithmetic on m.  Safe bounds: a sum whose last
// multiple is at most 2^53 - 1 stayed below 2^(e+1) all along, and a
// difference whose last multiple is at least 2^52 + 1 stayed at or above
// 2^e + q/2.
#ifndef VORDEL_SIM_BINADE_STEPS_H
#define VORDEL_SIM_BINADE_STEPS_H

#include <cstdint>
#include <cstring>

namespace binade {

constexpr std::int64_t kBottom = std::int64_t{1} << 52;  // m of 2^e
constexpr std::int64_t kTop = (std::int64_t{1} << 53) - 1;

// The biased exponent of x (the binade of x > 0).
inline int exponent_of(double x) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &x, sizeof bits);
  return static_cast<int>((bits >> 52) & 0x7ff);
}

// True for the binades of positive normal doubles where q and 1 / q are
// normal doubles too.
inline bool gridded(int biased) { return biased > 53 && biased < 2046; }

// 2^e for -1022 <= e <= 1023.
inline double power_of_two(int e) {
  const std::uint64_t bits = static_cast<std::uint64_t>(e + 1023) << 52;
  double x = 0.0;
  std::memcpy(&x, &bits, sizeof x);
  return x;
}

// m of x = m q, for x > 0 in a gridded binade.
inline std::int64_t multiple_of(double x) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &x, sizeof bits);
  return static_cast<std::int64_t>(bits & (kBottom - 1)) | kBottom;
}

// m q in the binade of exponent `biased`, for 2^52 <= m < 2^53.
inline double from_multiple(std::int64_t m, int biased) {
  return static_cast<double>(m) * power_of_two(biased - 1075);
}

// The fixed step of the value v in the binade of exponent `biased`, in
// multiples of q; -1 when the step is not fixed (a tie, or v negative, not a
// number, or as large as the binade).
inline std::int64_t fixed_step(double v, int biased) {
  const double vq = v * power_of_two(1075 - biased);  // v / q, exact
  if (!(vq >= 0.0 && vq < 9007199254740992.0)) return -1;
  const std::int64_t k = static_cast<std::int64_t>(vq);
  const double r = vq - static_cast<double>(k);  // exact
  if (r == 0.5) return -1;
  return r < 0.5 ? k : k + 1;
}

}  // namespace binade

#endif
