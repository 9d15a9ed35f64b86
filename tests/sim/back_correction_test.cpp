// The back-correction functions, checked against values worked out from the
// table rows and surface coefficients that define them.
#include "sim/back_correction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

// exp((ln x - m) / (s / 2.302585 + 1)) is e at x = exp(m + s / 2.302585 + 1)
// for the right m and s, within a few roundings (1e-12).
TEST(BackCorrection, KnownRowsEarlyReturnsAndMissingRows) {
  // a, b, m, s of the known rows; a = 250 and b = 1000 use the rows of 100.
  const double rows[][4] = {{2, 2, -0.103155, -0.24296},    {2, 3, -0.107539, -0.240263},
                            {2, 1000, -0.10512, -0.278088}, {3, 2, -0.102902, -0.241492},
                            {10, 10, -0.137788, -0.208683}, {50, 50, -0.071285, -0.209666},
                            {250, 2, -0.18634, -0.0922994}, {100, 100, -0.0380763, -0.207447}};
  for (const auto& r : rows) {
    const double x = std::exp(r[2] + r[3] / 2.302585 + 1.0);
    EXPECT_NEAR(back_correction(r[0], r[1], x), std::exp(1.0), 1e-12) << r[0] << " " << r[1];
  }
  // No row is needed for these, and none of theirs is known.
  EXPECT_EQ(back_correction(1, 57, 3.5) + back_correction(57, 1, 2.5) + back_correction(9, -3, 1.0),
            7.0);
  EXPECT_EQ(back_correction(57, 57, 0.0), 0.0);
  try {
    back_correction(250, 3, 1.0);
    ADD_FAILURE() << "no exception";
  } catch (const std::out_of_range& e) {
    EXPECT_STREQ(e.what(),
                 "back_correction: row a' = 100, b' = 3 of the correction table is not available");
  }
}

// a, b, x and the result, evaluated independently from the surface
// coefficients (1e-12 relative covers the differences of order): at (2, 2)
// m = -0.2131030 and s = -0.1454814; 120 is used as it is, 121 as 100 (the
// same as 100 itself), -3 as it is; b = 250 as 100.
TEST(MyBackCorrection, QuadraticSurface) {
  const double cases[][4] = {{2, 2, 1.0, 1.255426364566073},     {120, 50, 2.0, 2.224040502489241},
                             {121, 50, 2.0, 2.249160280023844},  {-3, 7, 0.5, 0.5912828016295864},
                             {40, 250, 1.5, 1.7061401034356185}, {5, 5, 0.0, 0.0}};
  for (const auto& c : cases) {
    EXPECT_NEAR(my_back_correction(c[0], c[1], c[2]), c[3], 1e-12 * c[3]) << c[0] << " " << c[1];
  }
}
