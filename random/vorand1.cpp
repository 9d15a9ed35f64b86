// The base of the random-number library, its statics and the placeholder
// generator that is current while no uniform generator is installed.
#include "random/vorand1.h"

#include <cassert>
#include <iostream>

#include <newmat/myexcept.h>

using RBD_COMMON::BaseException;
using RBD_COMMON::Logic_error;
using RBD_COMMON::Runtime_error;

namespace {

// Storage for the one placeholder generator.  It is constant-initialised, so
// Random::RNG is valid before any dynamic initialiser of any translation unit
// runs, and the union's empty destructor keeps it alive until the very end of
// the process: the placeholder is never destroyed.
union PlaceholderStorage {
  constexpr PlaceholderStorage() : rng() {}
  ~PlaceholderStorage() {}
  DummyRNG rng;
};

PlaceholderStorage placeholder;

}  // namespace

Random* Random::Dummy = &placeholder.rng;
Random* Random::RNG = &placeholder.rng;
SimpleString Random::Dir;

void Random::Set(Random& g) {
  if (!g.uniform_source_)
    throw Logic_error("Vorand: only a uniform generator can be the current generator");
  RNG = &g;
}

double Random::Next() {
  // A plain Random made current would ask itself for its next value forever.
  assert(RNG != this);
  return RNG->Next();
}

unsigned long Random::ulNext() { throw Logic_error("Vorand: ulNext function not available"); }

const char* Random::Name() { return "Random"; }

double Random::Density(double) const {
  throw Logic_error("Vorand: density function not available");
}

void Random::load(int*, double*, Random**) { throw Logic_error("Vorand: illegal combination"); }

void DummyRNG::CSFD(bool) { throw Runtime_error("Vorand: uniform rng not setup"); }
void DummyRNG::CSTD() { throw Runtime_error("Vorand: uniform rng not setup"); }
double DummyRNG::Next() { throw Runtime_error("Vorand: uniform rng not setup"); }
const char* DummyRNG::Name() { return "DummyRNG"; }

void Random::Retire(bool save_seed) noexcept {
  // The placeholder goes back first, so that whatever happens while the seed
  // is saved, no dangling current generator is left behind.
  if (RNG == this) RNG = Dummy;
  if (!save_seed) return;
  try {
    CSTD();
  } catch (const BaseException&) {
    std::cerr << "Vorand: seed of " << Name() << " not saved:" << BaseException::what()
              << std::endl;
  } catch (...) {
    std::cerr << "Vorand: seed of " << Name() << " not saved" << std::endl;
  }
}
