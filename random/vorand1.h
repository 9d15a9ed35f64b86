// The root of the random-number library and the face of its uniform
// generators: the polymorphic base Random, the process-wide current uniform
// generator Random::RNG, the placeholder DummyRNG, the Mersenne Twister MT and
// the other uniform generators LGM_simple, LGM_mixed, WH, MotherOfAll,
// MultWithCarry and FM.  Each generator is implemented in a file of its own;
// the seed files are in seed_file.cpp.
//
// Every uniform draw goes through the current generator: Random::RNG->Next(),
// or, in loops that take many while an MT is current, MT's inline draws
// (the same values in the same order).
// From start-up (and again whenever the current generator is destroyed) the
// current generator is the placeholder, whose draws throw newmat's Runtime_error
// "Vorand: uniform rng not setup".  Random::Set(g) makes g current without
// taking ownership; the caller keeps g alive while it is current.
//
// Typical use:
//   MT generator(0.12345);          // seeds the one process-wide MT19937 state
//   Random::Set(generator);
//   double u = Random::RNG->Next(); // uniform, strictly inside (0, 1)
//
// Seed files: a generator's state can be saved to and restored from a small
// text file in the directory set by Random::SetDirectory, so that a later
// process continues the stream:
//   Random::SetDirectory("/some/dir/");  // a prefix: ends with the separator
//   Random::CopySeedFromDisk(true);      // restore; save again on destruction
// A file holds the tag "!Vorand03!", the state words as upper-case
// hexadecimal digits (8 per word, 4 for MotherOfAll), the tag again and a
// newline.  A read changes the state only once the whole file has checked
// out and the state is one that a writer produces; a write that does not
// reach the disk completely throws.
//
// Misuse is reported by throwing newmat's exception classes (Logic_error,
// Runtime_error) with messages beginning "Vorand: ".  Single-threaded.
#ifndef VORDEL_RANDOM_VORAND1_H
#define VORDEL_RANDOM_VORAND1_H

#include <array>
#include <cstdint>

#include "random/extreal.h"
#include "random/simpstr.h"

class SelectedRandom;

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

  // A new heap node whose draws are sums of n draws of this variable
  // (random/arithmetic.h: give it to a SumRandom, which frees it).
  Random& operator()(int n);

  // A new heap node pairing this variable with the probability p, a term of
  // a mixture (random/mixture.h: add such terms and give the sum to a
  // MixedRandom, which frees the nodes).
  SelectedRandom& operator()(double p);

  // Makes g the current generator.  No ownership is taken and the previous
  // generator is left untouched.  Only a uniform generator, which draws from
  // a state of its own, can be current: anything else draws through
  // Random::RNG and would call itself for ever, so it is refused with
  // Logic_error and the current generator stays as it was.
  static void Set(Random& g);

  // The seed-file directory prefix, copied; file names are appended to it
  // as they stand, so it ends with a path separator.
  static void SetDirectory(const char* dir);
  // CSTD() / CSFD(cf) of the current generator; Logic_error "Vorand:
  // directory not defined" while no directory is set.
  static void CopySeedToDisk();
  static void CopySeedFromDisk(bool cf);

  static Random* RNG;       // the current uniform generator, never owning
  static Random* Dummy;     // the placeholder generator, never freed
  static SimpleString Dir;  // directory prefix of the seed files, empty at start

 protected:
  // The uniform generators construct their base with this tag: it marks
  // them as generators that Set accepts.
  struct UniformSource {};
  constexpr explicit Random(UniformSource) : uniform_source_(true) {}

  // What the destructor of every uniform generator does: puts the
  // placeholder back if this generator is current, then, when save_seed is
  // set, writes the seed file through CSTD().  Nothing escapes: a failed
  // write is reported on standard error.
  void Retire(bool save_seed) noexcept;

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

  // "mt19937.txt": the 624 words and the index of the next one.  A read
  // refuses a negative index and a state that would only ever give 0.
  void CSFD(bool cf) override;
  void CSTD() override;
  double Next() override;           // (y + 0.5) * 2^-32, in (0, 1)
  unsigned long ulNext() override;  // raw 32-bit output y
  const char* Name() override;      // "MT19937"
  ~MT() override;                   // saves the seed when CSFD(true) read it

  // The published MT19937 routines on the shared state.
  static void init_genrand(unsigned long s);
  static unsigned long genrand_int32();

  // Inline draws for loops that take many uniforms.  They serve the values
  // Next() would serve, in the same order, from the same stream, without a
  // virtual call; a loop may mix them with calls of Next().  A loop uses
  // them only while IsCurrent() holds, so that the draws of a run still
  // come from the current generator.
  //
  //   if (MT::IsCurrent()) { ... u = MT::Draw(); ... }
  //
  //   int count;                              // a block of draws at once:
  //   const double* u = MT::Pending(count);   // u[0] .. u[count - 1]
  //   ... use the first k <= count of them ...
  //   MT::Take(k);                            // they are drawn now
  //
  // True when the current generator is an MT itself (not a class derived
  // from it, whose Next() may serve other values).
  static bool IsCurrent();
  // The next uniform, as Next().
  static double Draw() {
    if (mti >= N) regenerate();
    return uniform[mti++];
  }
  // The values the next draws will give, up to the end of the converted
  // block (refilled first when it is used up): sets count, at least 1.
  static const double* Pending(int& count) {
    if (mti >= N) regenerate();
    count = N - mti;
    return uniform + mti;
  }
  // Marks the first k values that Pending() gave as drawn (0 <= k <= count).
  static void Take(int k) { mti += k; }

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

// Every generator below keeps its state in the object, so two objects are
// independent streams.  Each is built from a seed strictly between 0 and 1;
// anything else, NaN included, and a seed whose state word would freeze the
// generator, throws Logic_error "Vorand: seed out of range".  Each saves its
// seed file on destruction when CSFD(true) read it, and puts the placeholder
// back if it is current (as MT does).  A read of a seed file refuses a state
// that no generator reaches ("Vorand: seed file verification fails").

// Lewis-Goodman-Miller: seed <- 16807 * seed mod (2^31 - 1), by Schrage's
// method.  The seed word trunc(s * 2^31) must lie in 1 .. 2^31 - 2 (0 and
// 2^31 - 1 would stay at 2^31 - 1 for ever).  No seed file of its own.
class LGM_base : public Random {
 public:
  explicit LGM_base(double s);

  double Next() override;           // seed * 2^-31
  unsigned long ulNext() override;  // 2 * seed
  const char* Name() override;      // "LGM_base"
  ~LGM_base() override;

 protected:
  void NextValue();  // one step of the seed

  std::int64_t seed;
  bool CopySeed = false;
};

// The plain Lewis-Goodman-Miller generator; seed file "lgm.txt".
class LGM_simple : public LGM_base {
 public:
  explicit LGM_simple(double s) : LGM_base(s) {}

  void CSFD(bool cf) override;
  void CSTD() override;
  const char* Name() override;  // "LGM_simple"
  ~LGM_simple() override;
};

// Lewis-Goodman-Miller through a 128-entry shuffle table filled with the
// 128 seeds after the first.  Each draw takes two steps: the first picks the
// entry given out, the second replaces it.  Seed file "lgm_mix.txt" holds the
// seed only: a read refills the table from it as construction does.
class LGM_mixed : public LGM_base {
 public:
  explicit LGM_mixed(double s);

  void CSFD(bool cf) override;
  void CSTD() override;
  double Next() override;           // y * 2^-31 for the entry y given out
  unsigned long ulNext() override;  // 2 * y
  const char* Name() override;      // "LGM_mixed"
  ~LGM_mixed() override;

 private:
  static constexpr int table_size = 128;
  void fill_table();
  void NextValue();  // one shuffled output into last_output

  std::array<std::int64_t, table_size> table{};
  std::int64_t last_output = 0;
};

// Wichmann-Hill: three congruential generators (171 mod 30269, 172 mod
// 30307, 170 mod 30323) added modulo 1.  x = trunc(s * 30269), y = 1234,
// z = 5678.  Seed file "wh.txt".
class WH : public Random {
 public:
  explicit WH(double s);

  void CSFD(bool cf) override;
  void CSTD() override;
  double Next() override;           // u in [0, 1)
  unsigned long ulNext() override;  // floor(u * 2^32)
  const char* Name() override;      // "Wichmann Hill"
  ~WH() override;

 private:
  bool CopySeed = false;
  std::uint32_t x, y, z;
};

// Marsaglia's "mother of all": two lag-8 multiply-with-carry sequences on
// signed 16-bit words, filled from the seed word trunc(s * 2^31) (which
// must not be 0) at the first draw.  Seed file "mother.txt".
class MotherOfAll : public Random {
 public:
  explicit MotherOfAll(double s);

  void CSFD(bool cf) override;
  void CSTD() override;             // fills the sequences first if nothing was drawn yet
  double Next() override;           // (w + 0.5) * 2^-32, in (0, 1)
  unsigned long ulNext() override;  // the 32-bit output word w
  const char* Name() override;      // "MotherOfAll"
  ~MotherOfAll() override;

 private:
  void Start();   // fills both sequences from the seed word
  void Mother();  // one step: the next output into w

  bool CopySeed = false;
  std::array<std::int16_t, 10> m1{};  // [0] carry, [1..9] lagged, [1] newest
  std::array<std::int16_t, 10> m2{};
  bool start = true;  // the sequences are not filled yet
  std::uint32_t w;    // the seed word, then the last output
};

// Multiply-with-carry on 32-bit words: (c, x) <- 2083801278 * x + c.
// x = trunc(s * 2^32), c = 1234567.  Seed file "multwc.txt".
class MultWithCarry : public Random {
 public:
  explicit MultWithCarry(double s);

  void CSFD(bool cf) override;
  void CSTD() override;
  double Next() override;           // (x + 0.5) * 2^-32, in (0, 1)
  unsigned long ulNext() override;  // x
  const char* Name() override;      // "MultWithCarry"
  ~MultWithCarry() override;

 private:
  void NextValue();

  bool CopySeed = false;
  std::uint32_t x, c;
};

// Fishman-Moore: x <- 950706376 * x mod (2^31 - 1).  The seed word
// trunc(s * 2^31) must lie in 1 .. 2^31 - 2 (0 and 2^31 - 1 would reach 0
// and stay there).  Seed file "fm.txt".
class FM : public Random {
 public:
  explicit FM(double s);

  void CSFD(bool cf) override;
  void CSTD() override;
  double Next() override;           // x * 2^-31, in (0, 1)
  unsigned long ulNext() override;  // 2 * x
  const char* Name() override;      // "Fishman Moore"
  ~FM() override;

 private:
  void NextValue();

  bool CopySeed = false;
  std::uint32_t x;
};

#endif
