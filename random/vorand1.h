// The root of the random-number library and the face of its uniform
// generators: the polymorphic base Random, the process-wide current uniform
// generator Random::RNG, the placeholder DummyRNG and the Mersenne Twister MT.
// Each generator is implemented in a file of its own (MT in mt.cpp).
//
// Every uniform draw goes through the current generator: Random::RNG->Next().
// From start-up (and again whenever the installed MT is destroyed) the current
// generator is the placeholder, whose draws throw newmat's Runtime_error
// "Vorand: uniform rng not setup".  Random::Set(g) makes g current without
// taking ownership; the caller keeps g alive while it is current.
//
// Typical use:
//   MT generator(0.12345);          // seeds the one process-wide MT19937 state
//   Random::Set(generator);
//   double u = Random::RNG->Next(); // uniform, strictly inside (0, 1)
//
// Misuse is reported by throwing newmat's exception classes (Logic_error,
// Runtime_error) with messages beginning "Vorand: ".  Single-threaded.
#ifndef VORDEL_RANDOM_VORAND1_H
#define VORDEL_RANDOM_VORAND1_H

#include <array>
#include <cstdint>

#include "random/extreal.h"
#include "random/simpstr.h"

// Base of every uniform generator, variate and random-variable expression.
// The virtual operations are declared in their fixed slot order; the base
// versions describe a uniform variable on (0, 1) drawn from Random::RNG.
class Random {
 public:
  constexpr Random() = default;

  virtual void CSFD(bool) {}             // copy seed from disk: nothing here
  virtual void CSTD() {}                 // copy seed to disk: nothing here
  virtual double Next();                 // next uniform of Random::RNG
  virtual unsigned long ulNext();        // throws Logic_error
  virtual const char* Name();            // "Random"
  virtual double Density(double) const;  // throws Logic_error
  virtual ~Random() {}
  virtual ExtReal Mean() const { return ExtReal(0.5); }
  virtual ExtReal Variance() const { return ExtReal(1.0 / 12.0); }
  virtual void tDelete() {}                    // for random-variable expressions
  virtual int nelems() const { return 1; }     // for random-variable expressions
  virtual void load(int*, double*, Random**);  // throws Logic_error

  // Makes g the current generator.  No ownership is taken and the previous
  // generator is left untouched.  Only a uniform generator, which draws from
  // a state of its own, can be current: anything else draws through
  // Random::RNG and would call itself for ever, so it is refused with
  // Logic_error and the current generator stays as it was.
  static void Set(Random& g);

  static Random* RNG;       // the current uniform generator, never owning
  static Random* Dummy;     // the placeholder generator, never freed
  static SimpleString Dir;  // directory prefix of the seed files, empty at start

 protected:
  // The uniform generators construct their base with this tag: it marks
  // them as generators that Set accepts.
  struct UniformSource {};
  constexpr explicit Random(UniformSource) : uniform_source_(true) {}

 private:
  bool uniform_source_ = false;
};

// The placeholder current generator: refuses to draw, read or write a seed.
class DummyRNG : public Random {
 public:
  constexpr DummyRNG() : Random(UniformSource{}) {}

  void CSFD(bool) override;     // throws Runtime_error
  void CSTD() override;         // throws Runtime_error
  double Next() override;       // throws Runtime_error
  const char* Name() override;  // "DummyRNG"
  ~DummyRNG() override {}
};

// The Mersenne Twister MT19937 (32-bit, reference seeding).  Its state is one
// per process: every MT object draws from the same stream, and constructing
// an MT reseeds it.  Destroying the MT that is current puts the placeholder
// back as the current generator.
class MT : public Random {
 public:
  // Seeds the shared state with the low 32 bits of seed * 2^32 (truncated
  // toward zero; a seed in [0, 1] gives floor(seed * 2^32) mod 2^32).  Any
  // double is accepted.  Does not make itself current.
  explicit MT(double seed);

  double Next() override;           // (y + 0.5) * 2^-32, in (0, 1)
  unsigned long ulNext() override;  // raw 32-bit output y
  const char* Name() override;      // "MT19937"
  ~MT() override;

  // The published MT19937 routines on the shared state.
  static void init_genrand(unsigned long s);
  static unsigned long genrand_int32();

 private:
  static constexpr int N = 624;
  static constexpr int M = 397;
  using State = std::array<std::uint32_t, N>;

  // Every write of the whole state (seeding, a restored seed) goes through
  // here: it also remakes uniform, so that Next() never serves values of the
  // block that was replaced.
  static void set_state(const State& words, int index);
  static void regenerate();     // steps all N words of mt, then converts them
  static void convert_block();  // remakes uniform from mt

  static std::uint32_t mt[N];  // the state vector
  static double uniform[N];    // Next()'s value for each word of mt, so a
                               // draw is one load
  static int mti;              // next word to use; N: regenerate first;
                               // N + 1: never seeded

  bool CopySeed = false;  // when set, the destructor saves the seed file
};

#endif
