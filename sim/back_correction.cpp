// The back-correction table and the quadratic surfaces that approximate it.
#include "sim/back_correction.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

namespace {

// Counts are clamped to 2..100 for the table: 99 values each.
constexpr int kMinCount = 2;
constexpr int kMaxCount = 100;
constexpr int kCountValues = kMaxCount - kMinCount + 1;
constexpr int kPairs = kCountValues * kCountValues;

// The rows of the correction table that are known, as (a', b', m, s).
struct KnownRow {
  int a;
  int b;
  double m;
  double s;
};
constexpr KnownRow kKnownRows[] = {
    {2, 2, -0.103155, -0.24296},    {2, 3, -0.107539, -0.240263},
    {2, 100, -0.10512, -0.278088},  {3, 2, -0.102902, -0.241492},
    {10, 10, -0.137788, -0.208683}, {50, 50, -0.071285, -0.209666},
    {100, 2, -0.18634, -0.0922994}, {100, 100, -0.0380763, -0.207447},
};

// Index of the (m, s) pair for clamped counts a' and b'; a' is the slower
// index.
constexpr int pair_index(int a, int b) { return kCountValues * (a - kMinCount) + (b - kMinCount); }

// The table: m at 2 * index, s at 2 * index + 1.  Rows that are not known
// hold NaN, so that the complete table can replace this one as it stands.
constexpr std::array<double, 2 * kPairs> build_table() {
  std::array<double, 2 * kPairs> table{};
  for (double& value : table) value = std::numeric_limits<double>::quiet_NaN();
  for (const KnownRow& row : kKnownRows) {
    const int index = pair_index(row.a, row.b);
    table[2 * index] = row.m;
    table[2 * index + 1] = row.s;
  }
  return table;
}
constexpr std::array<double, 2 * kPairs> pacbarray = build_table();

double corrected(double x, double m, double s) {
  return std::exp((std::log(x) - m) / (s / 2.302585 + 1.0));
}

}  // namespace

double back_correction(int a, int b, double x) {
  if (b <= 1 || a <= 1 || x == 0.0) return x;
  const int clamped_a = std::min(a, kMaxCount);
  const int clamped_b = std::min(b, kMaxCount);
  const int index = pair_index(clamped_a, clamped_b);
  const double m = pacbarray[2 * index];
  const double s = pacbarray[2 * index + 1];
  if (std::isnan(m)) {
    throw std::out_of_range("back_correction: row a' = " + std::to_string(clamped_a) +
                            ", b' = " + std::to_string(clamped_b) +
                            " of the correction table is not available");
  }
  return corrected(x, m, s);
}

double my_back_correction(int a, int b, double x) {
  const double A = a >= 121 ? kMaxCount : a;
  const double B = std::min(b, kMaxCount);
  if (x == 0.0) return x;
  const double m = 0.0009286652 * A + -0.2201634 + 0.002635851 * B + 1.031336e-06 * A * B +
                   -2.97012e-06 * A * A + -1.520833e-05 * B * B;
  const double s = 0.001098 * A + -0.1419 + -0.002912 * B + -1.968e-06 * A * B +
                   -2.008e-06 * A * A + 1.562e-05 * B * B;
  return corrected(x, m, s);
}
