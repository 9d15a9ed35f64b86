// The Wichmann-Hill generator: three small congruential generators whose
// scaled words are added modulo 1.
#include "random/seed_file.h"
#include "random/seeding.h"
#include "random/vorand1.h"

WH::WH(double s) : Random(UniformSource{}), y(1234), z(5678) {
  seeding::check(s);
  x = static_cast<std::uint32_t>(s * 30269.0);
}

double WH::Next() {
  x = 171 * x % 30269;
  y = 172 * y % 30307;
  z = 170 * z % 30323;
  const double u = (x / 30269.0 + y / 30307.0) + z / 30323.0;
  if (u >= 2.0) return u - 2.0;
  if (u >= 1.0) return u - 1.0;
  return u;
}

unsigned long WH::ulNext() { return static_cast<unsigned long>(WH::Next() * 4294967296.0); }

const char* WH::Name() { return "Wichmann Hill"; }

// x may be 0 (a seed below 1 / 30269; it stays 0), y and z never are: each
// word below its modulus.
void WH::CSFD(bool cf) {
  CopySeed = false;
  const seed_file::Words words = seed_file::read("wh.txt", 3, 8, [](const seed_file::Words& w) {
    return w[0] < 30269 && w[1] >= 1 && w[1] < 30307 && w[2] >= 1 && w[2] < 30323;
  });
  x = words[0];
  y = words[1];
  z = words[2];
  CopySeed = cf;
}

void WH::CSTD() { seed_file::write("wh.txt", {x, y, z}, 8); }

WH::~WH() { Retire(CopySeed); }
