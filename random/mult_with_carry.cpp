// The 32-bit multiply-with-carry generator: (c, x) <- 2083801278 * x + c.
#include "random/seed_file.h"
#include "random/seeding.h"
#include "random/vorand1.h"

namespace {

constexpr std::uint64_t multiplier = 2083801278;

}  // namespace

MultWithCarry::MultWithCarry(double s) : Random(UniformSource{}), c(1234567) {
  seeding::check(s);
  x = static_cast<std::uint32_t>(s * 4294967296.0);
}

void MultWithCarry::NextValue() {
  const std::uint64_t p = multiplier * x + c;
  x = static_cast<std::uint32_t>(p);
  c = static_cast<std::uint32_t>(p >> 32);
}

double MultWithCarry::Next() {
  NextValue();
  return (x + 0.5) * seeding::two_to_minus_32;
}

unsigned long MultWithCarry::ulNext() {
  NextValue();
  return x;
}

const char* MultWithCarry::Name() { return "MultWithCarry"; }

// Every state reached keeps c below the multiplier, and two of those states
// never change: x = c = 0, and x = 2^32 - 1 with c = multiplier - 1; no
// seed leads to either.
void MultWithCarry::CSFD(bool cf) {
  CopySeed = false;
  const seed_file::Words words = seed_file::read("multwc.txt", 2, 8, [](const seed_file::Words& w) {
    const bool stuck = (w[0] == 0 && w[1] == 0) || (w[0] == 0xFFFFFFFFU && w[1] == multiplier - 1);
    return w[1] < multiplier && !stuck;
  });
  x = words[0];
  c = words[1];
  CopySeed = cf;
}

void MultWithCarry::CSTD() { seed_file::write("multwc.txt", {x, c}, 8); }

MultWithCarry::~MultWithCarry() { Retire(CopySeed); }
