// Coefficients of Temme's expansion: the values quoted with the algorithm
// (15 significant digits) and exact rationals of the expansion agree with
// the full tables.
#include "stats/distfuncs/temme.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace numlib::temme;

TEST(Temme, QuotedValuesAgree) {
  struct Quoted {
    const char* name;
    double table;
    double quoted;
  };
  const Quoted rows[] = {
      {"d0[1]", d0[0], 0.0833333333333333},  {"d0[2]", d0[1], -0.0148148148148148},
      {"d0[3]", d0[2], 0.00115740740740741}, {"d10", d10, -0.00185185185185185},
      {"d20", d20, 0.00413359788359788},     {"d30", d30, 0.000649434156378601},
      {"d40", d40, -0.000861888290916712},   {"d50", d50, -0.000336798553366358},
      {"d60", d60, 0.000531307936463992},    {"d70", d70, 0.000344367606892378},
  };
  // 15 significant digits: agreement to within 1e-14 relative.
  for (const auto& r : rows)
    EXPECT_LE(std::fabs(r.table - r.quoted), 1e-14 * std::fabs(r.quoted)) << r.name;
}

TEST(Temme, ExactRationalCoefficients) {
  // Leading coefficients of c_0, c_1 and c_2 (DLMF 8.12.9 and its series).
  EXPECT_DOUBLE_EQ(d0[0], 1.0 / 12.0);
  EXPECT_DOUBLE_EQ(d0[1], -2.0 / 135.0);
  EXPECT_DOUBLE_EQ(d0[2], 1.0 / 864.0);
  EXPECT_DOUBLE_EQ(d10, -1.0 / 540.0);
  EXPECT_DOUBLE_EQ(d1[0], -1.0 / 288.0);
  EXPECT_DOUBLE_EQ(d20, 25.0 / 6048.0);
}

}  // namespace
