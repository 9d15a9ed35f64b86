// Seeds of the uniform generators: the range check and the 31-bit word.
#include "random/seeding.h"

#include <newmat/myexcept.h>

using RBD_COMMON::Logic_error;

namespace seeding {

void check(double s) {
  // Written so that NaN fails it.
  if (!(s > 0.0 && s < 1.0)) throw Logic_error("Vorand: seed out of range");
}

std::uint32_t multiplicative_word(double s) {
  check(s);
  const auto word = static_cast<std::int64_t>(s * 2147483648.0);
  if (!is_multiplicative_word(word)) throw Logic_error("Vorand: seed out of range");
  return static_cast<std::uint32_t>(word);
}

}  // namespace seeding
