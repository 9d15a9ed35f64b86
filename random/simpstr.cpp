#include "random/simpstr.h"

#include <cassert>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#include <newmat/myexcept.h>

namespace {

// A buffer for n characters and the terminating 0.  A length that does not
// fit the 32-bit length field is refused rather than wrapped, which would
// leave the buffer shorter than the text copied into it.
std::unique_ptr<char[]> allocate(std::uint64_t n) {
  if (n > std::numeric_limits<std::uint32_t>::max())
    throw RBD_COMMON::Bad_alloc("Vorand: out of space");
  std::unique_ptr<char[]> buffer(new (std::nothrow) char[n + 1]);
  if (!buffer) throw RBD_COMMON::Bad_alloc("Vorand: out of space");
  buffer[n] = 0;
  return buffer;
}

}  // namespace

SimpleString::SimpleString(std::unique_ptr<char[]> buffer, std::uint32_t n)
    : text(std::move(buffer)), length(n) {}

SimpleString SimpleString::join(const char* a, std::uint64_t na, const char* b, std::uint64_t nb) {
  // Each part is below 2^32 long, so the sum cannot wrap in 64 bits.
  const std::uint64_t n = na + nb;
  std::unique_ptr<char[]> buffer = allocate(n);
  if (na) std::memcpy(buffer.get(), a, na);
  if (nb) std::memcpy(buffer.get() + na, b, nb);
  return SimpleString(std::move(buffer), static_cast<std::uint32_t>(n));
}

SimpleString& SimpleString::adopt(SimpleString&& s) {
  text = std::move(s.text);
  length = s.length;
  return *this;
}

SimpleString::SimpleString() : text(allocate(0)), length(0) {}

SimpleString::SimpleString(unsigned n, char c) : text(allocate(n)), length(n) {
  std::memset(text.get(), c, n);
}

SimpleString::SimpleString(const char* s) : SimpleString() {
  assert(s != nullptr);
  adopt(join(s, std::strlen(s), "", 0));
}

SimpleString::SimpleString(const SimpleString& s) : text(allocate(s.length)), length(s.length) {
  std::memcpy(text.get(), s.Text(), length);
}

SimpleString& SimpleString::operator=(const SimpleString& s) {
  return adopt(join(s.Text(), s.length, "", 0));
}

SimpleString& SimpleString::operator=(char c) { return adopt(join(&c, 1, "", 0)); }

SimpleString& SimpleString::operator+=(char c) { return adopt(join(Text(), length, &c, 1)); }

SimpleString& SimpleString::operator+=(const char* s) {
  assert(s != nullptr);
  return adopt(join(Text(), length, s, std::strlen(s)));
}

SimpleString& SimpleString::operator+=(const SimpleString& s) {
  return adopt(join(Text(), length, s.Text(), s.length));
}

SimpleString operator+(const SimpleString& a, const SimpleString& b) {
  return SimpleString::join(a.Text(), a.length, b.Text(), b.length);
}

SimpleString operator+(const SimpleString& a, char b) {
  return SimpleString::join(a.Text(), a.length, &b, 1);
}

SimpleString operator+(char a, const SimpleString& b) {
  return SimpleString::join(&a, 1, b.Text(), b.length);
}

SimpleString operator+(const SimpleString& a, const char* b) {
  assert(b != nullptr);
  return SimpleString::join(a.Text(), a.length, b, std::strlen(b));
}

SimpleString operator+(const char* a, const SimpleString& b) {
  assert(a != nullptr);
  return SimpleString::join(a, std::strlen(a), b.Text(), b.length);
}
