// The matrix exponential against closed forms, its refusal of a series that
// has not converged, and the line count.
#include "stats/matrix_exp.h"

#include <gtest/gtest.h>
#include <newmat/newmat.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "stats/line_count.h"

namespace {

using Rows = std::vector<std::vector<double>>;

// exp(tQ) for the two-state rate matrix Q = {-a, a; b, -b}.
Rows two_state(double a, double b, double t) {
  const double s = a + b, e = std::exp(-s * t);
  return {{(b + a * e) / s, (a - a * e) / s}, {(b - b * e) / s, (a + b * e) / s}};
}

TEST(MatrixExp, ClosedForms) {
  struct Row {
    const char* what;
    Rows a;
    double t;
    Rows want;
  };
  const double e = std::exp(-0.7);
  const Row rows[] = {
      {"zero", {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}, 0.7, {{e, 0, 0}, {0, e, 0}, {0, 0, e}}},
      {"identity", {{1, 0}, {0, 1}}, 3.0, {{1, 0}, {0, 1}}},
      {"1 x 1", {{0.3}}, 1.5, {{std::exp(1.5 * (0.3 - 1))}}},
      {"negative t", {{2.0}}, -0.5, {{std::exp(-0.5)}}},
      {"I + Q", {{1 - 0.8, 0.8}, {0.3, 1 - 0.3}}, 2.5, two_state(0.8, 0.3, 2.5)},
      {"empty", {}, 1.0, {}},
  };
  for (const Row& row : rows) {
    Rows a = row.a;
    stathelp::matrix_exp(&a, row.t);
    ASSERT_EQ(a.size(), row.want.size()) << row.what;
    for (std::size_t i = 0; i < a.size(); ++i)
      for (std::size_t j = 0; j < a.size(); ++j)
        EXPECT_NEAR(a[i][j], row.want[i][j], 1e-12) << row.what << " " << i << "," << j;
  }
}

TEST(MatrixExp, RefusesWhatTheSeriesCannotGive) {
  // 99 terms of exp(100) reach only about half of it, at t = 1e4 the terms
  // overflow, and exp(1000) itself overflows.
  const struct {
    Rows a;
    double t;
  } diverging[] = {{{{1, 0}, {0, 1}}, 100.0}, {{{1, 0}, {0, 1}}, 1e4}, {{{0}}, -1000.0}};
  for (const auto& c : diverging) {
    Rows a = c.a;
    EXPECT_THROW(stathelp::matrix_exp(&a, c.t), RBD_COMMON::Runtime_error) << c.t;
    EXPECT_EQ(a, c.a) << c.t;
  }
  Rows ragged = {{1, 0}, {0}};
  EXPECT_THROW(stathelp::matrix_exp(&ragged, 1.0), RBD_COMMON::Logic_error);
}

TEST(CountLines, CountsNewlinesLeft) {
  const struct {
    std::string text;
    int skip_lines;  // read with getline before counting
    int want;
  } cases[] = {{"a b\nc\n", 0, 2}, {"a b\nc", 0, 1}, {"", 0, 0}, {"x\ny\nz\n", 1, 2}};
  for (const auto& c : cases) {
    std::istringstream in(c.text);
    std::string line;
    for (int i = 0; i < c.skip_lines; ++i) std::getline(in, line);
    EXPECT_EQ(stathelp::countLines(in), c.want) << c.text;
    EXPECT_EQ(in.get(), std::char_traits<char>::eof()) << c.text;  // left at its end
  }
  std::istream unbuffered(nullptr);
  EXPECT_EQ(stathelp::countLines(unbuffered), 0);
}

}  // namespace
