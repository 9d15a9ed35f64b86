// The Fishman-Moore generator: x <- 950706376 * x mod (2^31 - 1).
#include "random/seed_file.h"
#include "random/seeding.h"
#include "random/vorand1.h"

FM::FM(double s) : Random(UniformSource{}), x(seeding::multiplicative_word(s)) {}

void FM::NextValue() {
  x = static_cast<std::uint32_t>(950706376 * static_cast<std::int64_t>(x) % seeding::modulus);
}

double FM::Next() {
  NextValue();
  return x * seeding::two_to_minus_31;
}

unsigned long FM::ulNext() {
  NextValue();
  return 2 * static_cast<unsigned long>(x);
}

const char* FM::Name() { return "Fishman Moore"; }

void FM::CSFD(bool cf) {
  CopySeed = false;
  x = seed_file::read("fm.txt", 1, 8, [](const seed_file::Words& w) {
    return seeding::is_multiplicative_word(w[0]);
  })[0];
  CopySeed = cf;
}

void FM::CSTD() { seed_file::write("fm.txt", {x}, 8); }

FM::~FM() { Retire(CopySeed); }
