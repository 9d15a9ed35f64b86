// What the uniform generators share to start from a double seed and to
// convert their words.  Internal to the random-number library.
#ifndef VORDEL_RANDOM_SEEDING_H
#define VORDEL_RANDOM_SEEDING_H

#include <cstdint>

namespace seeding {

// 2^-31 and 2^-32 (not 1 / (2^31 - 1)).
constexpr double two_to_minus_31 = 4.656612873077393e-10;
constexpr double two_to_minus_32 = 2.3283064365386963e-10;

// The prime modulus of the multiplicative congruential generators; their
// words cycle through 1 .. modulus - 1, and 0 is a fixed point.
constexpr std::int64_t modulus = 2147483647;

// Throws Logic_error "Vorand: seed out of range" unless 0 < s < 1 (NaN is
// refused too).
void check(double s);

// trunc(s * 2^31) for a seed of the multiplicative congruential
// generators: throws as check() does, and also when the word is 0 or
// 2^31 - 1, either of which freezes the generator.
std::uint32_t multiplicative_word(double s);

// A word that a multiplicative congruential generator can hold.
inline bool is_multiplicative_word(std::int64_t w) { return w >= 1 && w < modulus; }

}  // namespace seeding

#endif
