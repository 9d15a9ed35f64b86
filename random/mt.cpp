// The Mersenne Twister MT19937: one process-wide state shared by every MT.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <typeinfo>

#include "random/seed_file.h"
#include "random/target_clones.h"
#include "random/vorand1.h"

std::uint32_t MT::mt[MT::N];
double MT::uniform[MT::N];
int MT::mti = MT::N + 1;

namespace {

constexpr std::uint32_t upper_mask = 0x80000000U;
constexpr std::uint32_t lower_mask = 0x7fffffffU;
// The twist matrix's contribution: 0x9908b0df when y is odd, else 0
// (arithmetic rather than a table lookup, so the loops vectorise).
inline std::uint32_t twist(std::uint32_t y) { return (0U - (y & 0x1U)) & 0x9908b0dfU; }

// The MT19937 output transformation of one state word.
inline std::uint32_t temper(std::uint32_t y) {
  y ^= (y >> 11);
  y ^= (y << 7) & 0x9d2c5680U;
  y ^= (y << 15) & 0xefc60000U;
  y ^= (y >> 18);
  return y;
}

// 2^-32: maps a raw output y to (y + 0.5) * 2^-32, in [2^-33, 1 - 2^-33].
constexpr double two_to_minus_32 = 2.3283064365386963e-10;

// The low 32 bits of seed * 2^32 converted to an unsigned 64-bit integer by
// truncation toward zero.  Products below 2^63 go through a signed 64-bit
// integer (a negative one keeps its two's-complement bits); products from
// 2^63 to below 2^64 lose 2^63 first and get the top bit back; anything
// beyond either end, and NaN, gives 0.
unsigned long seed_word(double seed) {
  const double two_to_63 = 9223372036854775808.0;
  const double product = seed * 4294967296.0;
  std::uint64_t bits = 0;
  if (std::isnan(product) || product < -two_to_63 || product >= 2.0 * two_to_63)
    bits = 0;
  else if (product < two_to_63)
    bits = static_cast<std::uint64_t>(static_cast<std::int64_t>(product));
  else
    bits = static_cast<std::uint64_t>(static_cast<std::int64_t>(product - two_to_63)) |
           0x8000000000000000ULL;
  return static_cast<unsigned long>(bits & 0xffffffffULL);
}

// The refill below is integer operations and exact conversions only, so
// every instruction set gives the same values; it is compiled for several,
// and each machine runs the widest it has.
#define VORDEL_REFILL_CLONES VORDEL_TARGET_CLONES("avx512f", "avx2", "default")

// Regenerates the n = 624 words of mt in increasing order, each step using
// the words already regenerated; the loop is split where (k + m) and (k + 1)
// wrap.
VORDEL_REFILL_CLONES void twist_words(std::uint32_t* mt) {
  constexpr int n = 624;
  constexpr int m = 397;
  int k = 0;
  for (; k < n - m; ++k) {
    const std::uint32_t y = (mt[k] & upper_mask) | (mt[k + 1] & lower_mask);
    mt[k] = mt[k + m] ^ (y >> 1) ^ twist(y);
  }
  for (; k < n - 1; ++k) {
    const std::uint32_t y = (mt[k] & upper_mask) | (mt[k + 1] & lower_mask);
    mt[k] = mt[k + (m - n)] ^ (y >> 1) ^ twist(y);
  }
  const std::uint32_t y = (mt[n - 1] & upper_mask) | (mt[0] & lower_mask);
  mt[n - 1] = mt[m - 1] ^ (y >> 1) ^ twist(y);
}

// The uniform values of n words at once: a loop the compiler vectorises,
// where word-by-word tempering inside Next() would not be.
//
// A word y becomes (y + 0.5) * 2^-32.  It is converted as the signed 32-bit
// integer y - 2^31 (which vector instructions convert directly), then
// 2^31 + 0.5 is added: every step is exact, so the result is the same.
VORDEL_REFILL_CLONES void convert_words(const std::uint32_t* mt, double* uniform) {
  for (int i = 0; i < 624; ++i) {
    const auto shifted = static_cast<std::int32_t>(temper(mt[i]) ^ 0x80000000U);
    uniform[i] = (static_cast<double>(shifted) + 2147483648.5) * two_to_minus_32;
  }
}

}  // namespace

MT::MT(double seed) : Random(UniformSource{}) { init_genrand(seed_word(seed)); }

void MT::init_genrand(unsigned long s) {
  // 32-bit words: every product and sum below wraps modulo 2^32.
  State words;
  words[0] = static_cast<std::uint32_t>(s & 0xffffffffUL);
  for (int i = 1; i < N; ++i)
    words[i] = 1812433253U * (words[i - 1] ^ (words[i - 1] >> 30)) + static_cast<std::uint32_t>(i);
  set_state(words, N);
}

void MT::set_state(const State& words, int index) {
  for (int i = 0; i < N; ++i) mt[i] = words[i];
  mti = index;
  convert_block();
}

void MT::regenerate() {
  static_assert(N == 624 && M == 397, "the refill is written for MT19937");
  if (mti == N + 1) init_genrand(5489UL);
  twist_words(mt);
  convert_block();
  mti = 0;
}

void MT::convert_block() { convert_words(mt, uniform); }

bool MT::IsCurrent() { return typeid(*Random::RNG) == typeid(MT); }

unsigned long MT::genrand_int32() {
  if (mti >= N) regenerate();
  return temper(mt[mti++]);
}

double MT::Next() {
  if (mti >= N) regenerate();
  return uniform[mti++];
}

unsigned long MT::ulNext() { return genrand_int32(); }

const char* MT::Name() { return "MT19937"; }

// The 624 words, then the index of the next one.  A negative index (no
// writer gives one) would index outside the state.  The words matter as a
// 19937-bit state: the top bit of word 0 and words 1..623; all zero, every
// output is 0 for ever, and no seeding or step leads there.
void MT::CSFD(bool cf) {
  CopySeed = false;
  const seed_file::Words words =
      seed_file::read("mt19937.txt", N + 1, 8, [](const seed_file::Words& w) {
        if (static_cast<std::int32_t>(w[N]) < 0) return false;
        if (w[0] & upper_mask) return true;
        for (int i = 1; i < N; ++i)
          if (w[i] != 0) return true;
        return false;
      });
  State state;
  std::copy(words.begin(), words.begin() + N, state.begin());
  set_state(state, static_cast<int>(words[N]));
  CopySeed = cf;
}

void MT::CSTD() {
  seed_file::Words words(mt, mt + N);
  words.push_back(static_cast<std::uint32_t>(mti));
  seed_file::write("mt19937.txt", words, 8);
}

MT::~MT() { Retire(CopySeed); }
