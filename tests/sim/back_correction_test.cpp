// The back-correction functions, checked against values worked out from the
// table rows and surface coefficients they are defined by.
#include "sim/back_correction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

namespace {

// The known rows of the correction table: a', b', m, s.
struct Row {
  int a, b;
  double m, s;
};
constexpr Row kRows[] = {
    {2, 2, -0.103155, -0.24296},    {2, 3, -0.107539, -0.240263},
    {2, 100, -0.10512, -0.278088},  {3, 2, -0.102902, -0.241492},
    {10, 10, -0.137788, -0.208683}, {50, 50, -0.071285, -0.209666},
    {100, 2, -0.18634, -0.0922994}, {100, 100, -0.0380763, -0.207447},
};

}  // namespace

// exp((ln x - m) / (s / 2.302585 + 1)) is 1 at x = exp(m) and e at
// x = exp(m + s / 2.302585 + 1); both are a few roundings away (1e-12).
TEST(BackCorrection, KnownRowsMapTheirReferencePoints) {
  for (const Row& r : kRows) {
    SCOPED_TRACE(testing::Message() << "a' " << r.a << ", b' " << r.b);
    EXPECT_NEAR(back_correction(r.a, r.b, std::exp(r.m)), 1.0, 1e-12);
    EXPECT_NEAR(back_correction(r.a, r.b, std::exp(r.m + r.s / 2.302585 + 1.0)), std::exp(1.0),
                1e-12);
  }
  // Counts above 100 use the row of 100.
  EXPECT_NEAR(back_correction(250, 2, std::exp(-0.18634)), 1.0, 1e-12);
  EXPECT_NEAR(back_correction(2, 1000, std::exp(-0.10512)), 1.0, 1e-12);
  EXPECT_TRUE(std::isnan(back_correction(2, 2, -1.0)));
}

TEST(BackCorrection, SmallCountsAndZeroNeedNoRow) {
  // None of these rows is in the table.
  EXPECT_EQ(back_correction(1, 57, 3.5), 3.5);
  EXPECT_EQ(back_correction(57, 1, 3.5), 3.5);
  EXPECT_EQ(back_correction(-4, 57, 3.5), 3.5);
  EXPECT_EQ(back_correction(57, 0, -2.0), -2.0);
  EXPECT_EQ(back_correction(57, 57, 0.0), 0.0);
}

TEST(BackCorrection, MissingRowThrowsNamingIt) {
  struct Case {
    int a, b;
    const char* row;
  };
  for (const Case c : {Case{7, 12, "a' = 7, b' = 12"}, Case{250, 3, "a' = 100, b' = 3"},
                       Case{3, 3, "a' = 3, b' = 3"}, Case{99, 100, "a' = 99, b' = 100"}}) {
    try {
      back_correction(c.a, c.b, 1.0);
      ADD_FAILURE() << "no exception for " << c.row;
    } catch (const std::out_of_range& e) {
      EXPECT_EQ(std::string(e.what()), std::string("back_correction: row ") + c.row +
                                           " of the correction table is not available");
    }
  }
}

// Expected values from the surface coefficients, evaluated independently
// in double precision; 1e-12 relative covers the differences of order.
TEST(MyBackCorrection, QuadraticSurface) {
  struct Case {
    int a, b;
    double x, expected;
  };
  const Case cases[] = {
      {2, 2, 1.0, 1.255426364566073},     // m = -0.2131030, s = -0.1454814
      {120, 50, 2.0, 2.224040502489241},  // 101 to 120 are used as they are
      {121, 50, 2.0, 2.249160280023844},  // 121 and above use 100
      {100, 50, 2.0, 2.249160280023844},
      {-3, 7, 0.5, 0.5912828016295864},    // no lower bound
      {40, 250, 1.5, 1.7061401034356185},  // b above 100 uses 100
      {5, 5, 0.0, 0.0},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(my_back_correction(c.a, c.b, c.x), c.expected, 1e-12 * c.expected)
        << "a " << c.a << ", b " << c.b << ", x " << c.x;
  }
  EXPECT_TRUE(std::isnan(my_back_correction(2, 2, -1.0)));
}
