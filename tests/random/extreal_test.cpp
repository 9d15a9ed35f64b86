// ExtReal arithmetic.  Apart from the missing code, which IEEE arithmetic
// has no counterpart for, the rules agree with IEEE doubles where infinity
// is infinity and NaN is indefinite; that serves as the independent oracle.
#include "random/extreal.h"

#include <cmath>
#include <iomanip>
#include <limits>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace {

const double inf = std::numeric_limits<double>::infinity();
const double not_a_number = std::numeric_limits<double>::quiet_NaN();

ExtReal from_ieee(double x) {
  if (std::isnan(x)) return ExtReal(Indefinite);
  if (x == inf) return ExtReal(PlusInfinity);
  if (x == -inf) return ExtReal(MinusInfinity);
  return ExtReal(x);
}

std::string text(const ExtReal& x) {
  std::ostringstream os;
  os << x;
  return os.str();
}

void expect_same(const ExtReal& got, const ExtReal& want, const std::string& what) {
  EXPECT_EQ(got.Code(), want.Code()) << what;
  if (want.Code() == Finite) {
    EXPECT_EQ(got.Value(), want.Value()) << what;
  }
}

}  // namespace

TEST(ExtReal, ArithmeticAgreesWithIeeeInfinities) {
  const double values[] = {-2.0, 0.0, 3.5, inf, -inf, not_a_number};
  for (double x : values) {
    for (double y : values) {
      const ExtReal a = from_ieee(x), b = from_ieee(y);
      const std::string pair = text(a) + " and " + text(b);
      expect_same(a + b, from_ieee(x + y), "sum of " + pair);
      expect_same(a - b, from_ieee(x - y), "difference of " + pair);
      expect_same(a * b, from_ieee(x * y), "product of " + pair);
    }
    expect_same(-from_ieee(x), from_ieee(-x), "negation of " + text(from_ieee(x)));
  }
}

TEST(ExtReal, DecisionTableCases) {
  struct Case {
    ExtReal got;
    ExtRealCode want;
    const char* what;
  };
  const ExtReal pinf(PlusInfinity), minf(MinusInfinity), ind(Indefinite), miss(Missing);
  const Case cases[] = {
      {ExtReal(2.0) + pinf, PlusInfinity, "2 + inf"},
      {pinf + minf, Indefinite, "inf + -inf"},
      {miss + ind, Missing, "missing + indefinite"},
      {ind + miss, Missing, "indefinite + missing"},
      {miss + pinf, Missing, "missing + inf"},
      {pinf - pinf, Indefinite, "inf - inf"},
      {ExtReal(5.0) - pinf, MinusInfinity, "5 - inf"},
      {pinf - ExtReal(5.0), PlusInfinity, "inf - 5"},
      {ind - miss, Missing, "indefinite - missing"},
      {ExtReal(0.0) * pinf, Indefinite, "0 * inf"},
      {ExtReal(-2.0) * pinf, MinusInfinity, "-2 * inf"},
      {minf * minf, PlusInfinity, "-inf * -inf"},
      {ind * miss, Missing, "indefinite * missing"},
      {ExtReal(0.0) * miss, Missing, "0 * missing"},
      {ExtReal(not_a_number) * pinf, PlusInfinity, "NaN counts as positive"},
      {minf * ExtReal(not_a_number), MinusInfinity, "NaN counts as positive"},
      {-miss, Missing, "-missing"},
      {-ind, Indefinite, "-indefinite"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got.Code(), c.want) << c.what;
}

TEST(ExtReal, StreamOutput) {
  EXPECT_EQ(text(ExtReal(Missing)), "missing");
  EXPECT_EQ(text(ExtReal(Indefinite)), "indefinite");
  EXPECT_EQ(text(ExtReal(PlusInfinity)), "plus-infinity");
  EXPECT_EQ(text(ExtReal(MinusInfinity)), "minus-infinity");
  EXPECT_EQ(text(ExtReal(static_cast<ExtRealCode>(7))), "");
  EXPECT_EQ(text(ExtReal(1.0 / 12.0)), "0.0833333");
  std::ostringstream os;
  os << std::setprecision(3) << std::fixed << ExtReal(3.14159);
  EXPECT_EQ(os.str(), "3.142");
}
