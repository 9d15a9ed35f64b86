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

void next_ignlgi(std::int64_t z) {
  if (z < 1 || z > numlib::Xm1 - 1) throw std::invalid_argument("next_ignlgi: z out of range");
  std::int64_t seeded = 0;
  numlib::gssst(0, &seeded);
  if (seeded == 0) numlib::setall(1234567890, 123456789);
  // z = s1 - s2, or s1 - s2 + Xm1 - 1 when that difference is below 1.
  const std::int64_t s2 = 1, s1 = z == numlib::Xm1 - 1 ? 1 : z + 1;
  // a^(m-2) is the inverse of a modulo the prime m.
  numlib::setsd(s1 * power_mod(numlib::Xa1, numlib::Xm1 - 2, numlib::Xm1) % numlib::Xm1,
                s2 * power_mod(numlib::Xa2, numlib::Xm2 - 2, numlib::Xm2) % numlib::Xm2);
}

std::int64_t ignlgi_for_ranf(float u) {
  const std::int64_t guess = std::llround(u / 4.656613057E-10);
  for (std::int64_t d = 0; d < 1000; ++d)
    for (std::int64_t z : {guess - d, guess + d})
      if (z >= 1 && z < numlib::Xm1 && static_cast<float>(z * 4.656613057E-10) == u) return z;
  throw std::invalid_argument("ignlgi_for_ranf: ranf never returns this value");
}

void next_ranf(float u) { next_ignlgi(ignlgi_for_ranf(u)); }

}  // namespace chosen_uniform
