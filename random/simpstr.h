// SimpleString: a minimal owned character string, used for the seed-file
// directory prefix and for building seed-file paths.
//
// Every string owns exactly one buffer of Length() + 1 bytes whose last byte
// is 0 (an empty string holds a one-byte buffer).  Characters are copied by
// length, so embedded 0 bytes survive copying and concatenation.  Every
// change builds the new buffer completely before releasing the old one, so
// self-assignment and self-append are safe.  A string longer than
// 2^32 - 1 characters, or an allocation that fails, throws newmat's
// Bad_alloc ("Vorand: out of space").
#ifndef VORDEL_RANDOM_SIMPSTR_H
#define VORDEL_RANDOM_SIMPSTR_H

#include <cstdint>
#include <memory>

class SimpleString {
 public:
  SimpleString();                    // empty string
  SimpleString(unsigned n, char c);  // n copies of c
  SimpleString(const char* s);       // copy of a 0-terminated text
  SimpleString(const SimpleString& s);
  SimpleString& operator=(const SimpleString& s);
  SimpleString& operator=(char c);  // becomes that one character

  SimpleString& operator+=(char c);
  SimpleString& operator+=(const char* s);
  SimpleString& operator+=(const SimpleString& s);

  const char* Text() const { return text.get(); }  // 0-terminated
  std::uint32_t Length() const { return length; }  // terminating 0 not counted

  friend SimpleString operator+(const SimpleString& a, const SimpleString& b);
  friend SimpleString operator+(const SimpleString& a, char b);
  friend SimpleString operator+(char a, const SimpleString& b);
  friend SimpleString operator+(const SimpleString& a, const char* b);
  friend SimpleString operator+(const char* a, const SimpleString& b);

 private:
  // The string holding the na characters at a followed by the nb at b.
  static SimpleString join(const char* a, std::uint64_t na, const char* b, std::uint64_t nb);
  SimpleString(std::unique_ptr<char[]> buffer, std::uint32_t n);
  // Takes over the buffer of a freshly built string (the old one is freed).
  SimpleString& adopt(SimpleString&& s);

  std::unique_ptr<char[]> text;
  std::uint32_t length;
};

SimpleString operator+(const SimpleString& a, const SimpleString& b);
SimpleString operator+(const SimpleString& a, char b);
SimpleString operator+(char a, const SimpleString& b);
SimpleString operator+(const SimpleString& a, const char* b);
SimpleString operator+(const char* a, const SimpleString& b);

#endif
