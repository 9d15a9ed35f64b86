#include "random/simpstr.h"
#include "random/vorand1.h"

#include <string>

#include <gtest/gtest.h>

namespace {

// The characters of s by length (embedded zero bytes included), and a check
// that the buffer ends with its terminating zero.
std::string bytes(const SimpleString& s) {
  EXPECT_EQ(s.Text()[s.Length()], '\0');
  return std::string(s.Text(), s.Length());
}

}  // namespace

TEST(SimpleString, Construction) {
  EXPECT_EQ(bytes(SimpleString()), "");
  EXPECT_STREQ(SimpleString().Text(), "");
  EXPECT_EQ(bytes(SimpleString(3, 'x')), "xxx");
  EXPECT_EQ(bytes(SimpleString(0, 'x')), "");
  EXPECT_EQ(bytes(SimpleString("seed/")), "seed/");
  const SimpleString a("abc");
  const SimpleString b(a);
  EXPECT_EQ(bytes(b), "abc");
  EXPECT_NE(a.Text(), b.Text());  // a copy owns its own buffer
}

TEST(SimpleString, AssignmentAndAppend) {
  SimpleString s("abc");
  s = s;
  EXPECT_EQ(bytes(s), "abc");
  s = 'q';
  EXPECT_EQ(bytes(s), "q");
  s += 'r';
  s += "st";
  s += SimpleString("uv");
  EXPECT_EQ(bytes(s), "qrstuv");
  s += s;
  EXPECT_EQ(bytes(s), "qrstuvqrstuv");
  s = SimpleString();
  EXPECT_EQ(bytes(s), "");
}

TEST(SimpleString, ConcatenationKeepsTheLeftOperandFirst) {
  const SimpleString a("ab"), b("cd");
  EXPECT_EQ(bytes(a + b), "abcd");
  EXPECT_EQ(bytes(a + 'z'), "abz");
  EXPECT_EQ(bytes('z' + a), "zab");
  EXPECT_EQ(bytes(a + "xy"), "abxy");
  EXPECT_EQ(bytes("xy" + a), "xyab");
  EXPECT_EQ(bytes(a), "ab");  // operands unchanged
  EXPECT_EQ(bytes(Random::Dir + "mt19937.txt"), "mt19937.txt");
}

TEST(SimpleString, EmbeddedZeroBytesAreCopied) {
  const SimpleString zeros(2, '\0');
  const std::string expected("\0\0ab", 4);
  SimpleString s = zeros + "ab";
  EXPECT_EQ(bytes(s), expected);
  EXPECT_EQ(bytes(SimpleString(s)), expected);
  SimpleString t;
  t = s;
  EXPECT_EQ(bytes(t), expected);
  t += '\0';
  EXPECT_EQ(bytes(t), expected + std::string(1, '\0'));
  EXPECT_EQ(bytes('\0' + s), std::string(1, '\0') + expected);
}
