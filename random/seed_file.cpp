// Seed files: the directory prefix and the static copy operations of Random,
// the tag checks, and the reading and writing of whole files.
#include "random/seed_file.h"

#include <fstream>

#include <newmat/myexcept.h>

#include "random/vorand1.h"

using RBD_COMMON::Logic_error;
using RBD_COMMON::Runtime_error;

namespace {

constexpr char tag[] = "!Vorand03!";
constexpr int tag_length = sizeof tag - 1;

[[noreturn]] void verification_fails() {
  throw Runtime_error("Vorand: seed file verification fails");
}

void require_directory() {
  if (Random::Dir.Length() == 0) throw Logic_error("Vorand: directory not defined");
}

SimpleString path_of(const char* name) { return Random::Dir + name; }

}  // namespace

void Random::SetDirectory(const char* dir) { Dir = SimpleString(dir); }

void Random::CopySeedToDisk() {
  require_directory();
  RNG->CSTD();
}

void Random::CopySeedFromDisk(bool cf) {
  require_directory();
  RNG->CSFD(cf);
}

namespace seed_file {

unsigned long unhex(char c, int shift) {
  unsigned long value = 0;
  if (c >= '0' && c <= '9')
    value = c - '0';
  else if (c >= 'A' && c <= 'F')
    value = c - 'A' + 10;
  else
    throw Runtime_error("vorand: invalid character in unhex");
  return value << shift;
}

void ReadVerify(std::istream& in, bool new_file) {
  if (!in.good()) {
    if (new_file) return;
    throw Runtime_error("Vorand: can't open seed file");
  }
  char c = 0;
  if (!(in >> c)) {
    if (new_file) return;  // an empty file counts as a new one
    verification_fails();
  }
  if (c != tag[0]) verification_fails();
  for (int i = 1; i < tag_length; ++i)
    if (!(in >> c) || c != tag[i]) verification_fails();
}

void WriteVerify(std::ostream& out) {
  if (!out) throw Runtime_error("Vorand: can't access seed file");
  out.write(tag, tag_length);
}

Words read(const char* name, std::size_t count, int digits, bool (*valid)(const Words&)) {
  std::ifstream in(path_of(name).Text());
  ReadVerify(in, false);
  Words words(count, 0);
  for (std::uint32_t& word : words) {
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) {
      char c;
      if (!(in >> c)) verification_fails();
      word |= static_cast<std::uint32_t>(unhex(c, shift));
    }
  }
  ReadVerify(in, false);
  if (!valid(words)) verification_fails();
  return words;
}

void write(const char* name, const Words& words, int digits) {
  const SimpleString path = path_of(name);
  {
    std::ifstream existing(path.Text());
    ReadVerify(existing, true);
  }
  std::ofstream out(path.Text(), std::ios::out | std::ios::trunc);
  WriteVerify(out);
  constexpr char hex_digits[] = "0123456789ABCDEF";
  for (const std::uint32_t word : words)
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
      out.put(hex_digits[(word >> shift) & 0xFU]);
  WriteVerify(out);
  out.put('\n');
  out.flush();
  out.close();
  // The state bits are sticky: a failure of any write, of the flush or of
  // the close (a full disk) shows here.
  if (out.fail()) throw Runtime_error("Vorand: can't access seed file");
}

}  // namespace seed_file
