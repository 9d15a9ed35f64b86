// Marsaglia's "mother of all" generator: two lag-8 multiply-with-carry
// sequences on signed 16-bit words, whose newest words make the output.
#include <cstddef>

#include <newmat/myexcept.h>

#include "random/seed_file.h"
#include "random/seeding.h"
#include "random/vorand1.h"

using RBD_COMMON::Logic_error;

namespace {

constexpr std::size_t lags = 10;  // the carry and nine lagged words

// The low 16 bits of a 32-bit sum as a signed word.
std::int16_t low_half(std::uint32_t n) { return static_cast<std::int16_t>(n & 0xFFFFU); }

// Bits 16..31 of a sum formed in 32-bit two's complement: the new carry.
std::int16_t high_half(std::int32_t n) { return low_half(static_cast<std::uint32_t>(n) >> 16); }

std::uint32_t bits_of(std::int16_t v) { return static_cast<std::uint32_t>(v); }

}  // namespace

MotherOfAll::MotherOfAll(double s) : Random(UniformSource{}) {
  seeding::check(s);
  w = static_cast<std::uint32_t>(s * 2147483648.0);
  if (w == 0) throw Logic_error("Vorand: seed out of range");
}

// Elements 0..8 of the first sequence, then of the second, from a 16-bit
// multiply-with-carry started at the seed word; the carries lose their top
// bit.  Element 9 is pushed out unread by the first step.
void MotherOfAll::Start() {
  std::uint32_t n = w;
  std::uint32_t number = w & 0x7FFFFFFFU;
  for (std::size_t i = 0; i < 2 * (lags - 1); ++i) {
    number = 30903 * (n & 0xFFFFU) + (number >> 16);
    n = number;
    (i < lags - 1 ? m1[i] : m2[i - (lags - 1)]) = low_half(number);
  }
  m1[0] &= 0x7FFF;
  m2[0] &= 0x7FFF;
  start = false;
}

void MotherOfAll::Mother() {
  if (start) Start();
  for (std::size_t i = lags - 1; i >= 2; --i) {
    m1[i] = m1[i - 1];
    m2[i] = m2[i - 1];
  }
  const std::int32_t number1 = 1941 * m1[2] + 1860 * m1[3] + 1812 * m1[4] + 1776 * m1[5] +
                               1492 * m1[6] + 1215 * m1[7] + 1066 * m1[8] + 12013 * m1[9] + m1[0];
  m1[1] = low_half(static_cast<std::uint32_t>(number1));
  m1[0] = high_half(number1);
  const std::int32_t number2 = 1111 * m2[2] + 2222 * m2[3] + 3333 * m2[4] + 4444 * m2[5] +
                               5555 * m2[6] + 6666 * m2[7] + 7777 * m2[8] + 9272 * m2[9] + m2[0];
  m2[1] = low_half(static_cast<std::uint32_t>(number2));
  m2[0] = high_half(number2);
  w = bits_of(m1[1]) * 65536U + bits_of(m2[1]);
}

double MotherOfAll::Next() {
  Mother();
  return (w + 0.5) * seeding::two_to_minus_32;
}

unsigned long MotherOfAll::ulNext() {
  Mother();
  return w;
}

const char* MotherOfAll::Name() { return "MotherOfAll"; }

// Element i of each sequence in turn.  The only state that stays put is the
// one whose carries and eight live words are all 0 in both sequences; no
// seed leads there.
void MotherOfAll::CSFD(bool cf) {
  CopySeed = false;
  const seed_file::Words words =
      seed_file::read("mother.txt", 2 * lags, 4, [](const seed_file::Words& v) {
        for (std::size_t i = 0; i < 2 * (lags - 1); ++i)
          if (v[i] != 0) return true;
        return false;
      });
  for (std::size_t i = 0; i < lags; ++i) {
    m1[i] = low_half(words[2 * i]);
    m2[i] = low_half(words[2 * i + 1]);
  }
  start = false;
  CopySeed = cf;
}

// Before the first draw the sequences are filled first, so that the file
// holds the state the first draw would use.
void MotherOfAll::CSTD() {
  if (start) Start();
  seed_file::Words words;
  for (std::size_t i = 0; i < lags; ++i) {
    words.push_back(bits_of(m1[i]) & 0xFFFFU);
    words.push_back(bits_of(m2[i]) & 0xFFFFU);
  }
  seed_file::write("mother.txt", words, 4);
}

MotherOfAll::~MotherOfAll() { Retire(CopySeed); }
