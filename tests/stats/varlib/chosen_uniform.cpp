#include "chosen_uniform.h"

#include <cmath>
#include <stdexcept>

#include "stats/varlib/com.h"

namespace chosen_uniform {

std::int64_t power_mod(std::int64_t b, unsigned __int128 e, std::int64_t m) {
  unsigned __int128 result = 1, base = static_cast<unsigned __int128>(b);
  for (; e != 0; e >>= 1) {
    if (e & 1) result = result * base % m;
    base = base * base % m;
  }
  return static_cast<std::int64_t>(result % m);
}

namespace {

// Seeds the package with its default seeds when nothing was seeded yet.
void ensure_seeded() {
  std::int64_t seeded = 0;
  numlib::gssst(0, &seeded);
  if (seeded == 0) numlib::setall(1234567890, 123456789);
}

// The first component of the state with combined value z and second
// component s2: z = s1 - s2, or s1 - s2 + Xm1 - 1 when that difference is
// below 1.  0 when there is none.
std::int64_t first_component(std::int64_t z, std::int64_t s2) {
  const std::int64_t s1 = z + s2 <= numlib::Xm1 - 1 ? z + s2 : z + s2 - (numlib::Xm1 - 1);
  return s1 >= 1 && s1 <= numlib::Xm1 - 1 ? s1 : 0;
}

// The combined value of the state after (s1, s2), and that state.
std::int64_t step(std::int64_t& s1, std::int64_t& s2) {
  s1 = s1 * numlib::Xa1 % numlib::Xm1;
  s2 = s2 * numlib::Xa2 % numlib::Xm2;
  const std::int64_t z = s1 - s2;
  return z < 1 ? z + numlib::Xm1 - 1 : z;
}

// Sets the current generator one step before the state (s1, s2).
void set_before(std::int64_t s1, std::int64_t s2) {
  // a^(m-2) is the inverse of a modulo the prime m.
  numlib::setsd(s1 * power_mod(numlib::Xa1, numlib::Xm1 - 2, numlib::Xm1) % numlib::Xm1,
                s2 * power_mod(numlib::Xa2, numlib::Xm2 - 2, numlib::Xm2) % numlib::Xm2);
}

float ranf_of(std::int64_t z) { return static_cast<float>(z * 4.656613057E-10); }

}  // namespace

void next_ignlgi(std::int64_t z) {
  if (z < 1 || z > numlib::Xm1 - 1) throw std::invalid_argument("next_ignlgi: z out of range");
  ensure_seeded();
  set_before(first_component(z, 1), 1);
}

void next_ranf_then(float u, const std::function<bool(float)>& second) {
  const std::int64_t z = ignlgi_for_ranf(u);
  ensure_seeded();
  for (std::int64_t s2 = 1; s2 < numlib::Xm2; ++s2) {
    std::int64_t s1 = first_component(z, s2);
    if (s1 == 0) continue;
    const std::int64_t t1 = s1, t2 = s2;
    if (second(ranf_of(step(s1, s2)))) return set_before(t1, t2);
  }
  throw std::invalid_argument("next_ranf_then: no state gives that second value");
}

std::int64_t ignlgi_for_ranf(float u) {
  const std::int64_t guess = std::llround(u / 4.656613057E-10);
  for (std::int64_t d = 0; d < 1000; ++d)
    for (std::int64_t z : {guess - d, guess + d})
      if (z >= 1 && z < numlib::Xm1 && ranf_of(z) == u) return z;
  throw std::invalid_argument("ignlgi_for_ranf: ranf never returns this value");
}

void next_ranf(float u) { next_ignlgi(ignlgi_for_ranf(u)); }

}  // namespace chosen_uniform
