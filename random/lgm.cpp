// The Lewis-Goodman-Miller generators: the multiplicative congruential step
// 16807 * seed mod (2^31 - 1), plain (LGM_simple) and through a shuffle
// table (LGM_mixed).
#include "random/seed_file.h"
#include "random/seeding.h"
#include "random/vorand1.h"

namespace {

bool valid_seed(const seed_file::Words& w) { return seeding::is_multiplicative_word(w[0]); }

}  // namespace

LGM_base::LGM_base(double s) : Random(UniformSource{}), seed(seeding::multiplicative_word(s)) {}

// Schrage's method: 16807 * seed mod (2^31 - 1) without overflowing 31 bits,
// with 2^31 - 1 = 16807 * 127773 + 2836.
void LGM_base::NextValue() {
  const std::int64_t hi = seed / 127773;
  const std::int64_t lo = seed - 127773 * hi;
  const std::int64_t t = 16807 * lo - 2836 * hi;
  seed = t > 0 ? t : t + seeding::modulus;
}

double LGM_base::Next() {
  NextValue();
  return seed * seeding::two_to_minus_31;
}

unsigned long LGM_base::ulNext() {
  NextValue();
  return 2 * static_cast<unsigned long>(seed);
}

const char* LGM_base::Name() { return "LGM_base"; }

LGM_base::~LGM_base() { Retire(false); }

void LGM_simple::CSFD(bool cf) {
  CopySeed = false;
  seed = seed_file::read("lgm.txt", 1, 8, valid_seed)[0];
  CopySeed = cf;
}

void LGM_simple::CSTD() { seed_file::write("lgm.txt", {static_cast<std::uint32_t>(seed)}, 8); }

const char* LGM_simple::Name() { return "LGM_simple"; }

LGM_simple::~LGM_simple() { Retire(CopySeed); }

LGM_mixed::LGM_mixed(double s) : LGM_base(s) { fill_table(); }

void LGM_mixed::fill_table() {
  for (std::int64_t& entry : table) {
    LGM_base::NextValue();
    entry = seed;
  }
}

void LGM_mixed::NextValue() {
  LGM_base::NextValue();
  const auto j = static_cast<int>(seed * seeding::two_to_minus_31 * table_size);
  LGM_base::NextValue();
  last_output = table[j];
  table[j] = seed;
}

double LGM_mixed::Next() {
  NextValue();
  return last_output * seeding::two_to_minus_31;
}

unsigned long LGM_mixed::ulNext() {
  NextValue();
  return 2 * static_cast<unsigned long>(last_output);
}

// The table is not stored: a restored seed fills it as construction does.
void LGM_mixed::CSFD(bool cf) {
  CopySeed = false;
  seed = seed_file::read("lgm_mix.txt", 1, 8, valid_seed)[0];
  fill_table();
  CopySeed = cf;
}

void LGM_mixed::CSTD() { seed_file::write("lgm_mix.txt", {static_cast<std::uint32_t>(seed)}, 8); }

const char* LGM_mixed::Name() { return "LGM_mixed"; }

LGM_mixed::~LGM_mixed() { Retire(CopySeed); }
