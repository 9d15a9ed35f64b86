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

TEST(MatrixExp, ClosedForms) {
  const double e = std::exp(-0.7), a = 0.8, b = 0.3, f = std::exp(-(a + b) * 2.5);
  const struct {
    Rows a;
    double t;
    Rows want;
  } rows[] = {
      {{{0, 0}, {0, 0}}, 0.7, {{e, 0}, {0, e}}},
      {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, 3.0, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
      {{{0.3}}, 1.5, {{std::exp(1.5 * (0.3 - 1))}}},
      // I + Q for the two-state rate matrix Q = {-a, a; b, -b}: exp(tQ).
      {{{1 - a, a}, {b, 1 - b}},
       2.5,
       {{(b + a * f) / (a + b), (a - a * f) / (a + b)},
        {(b - b * f) / (a + b), (a + b * f) / (a + b)}}},
  };
  for (const auto& row : rows) {
    Rows got = row.a;
    stathelp::matrix_exp(&got, row.t);
    for (std::size_t i = 0; i < got.size(); ++i)
      for (std::size_t j = 0; j < got.size(); ++j)
        EXPECT_NEAR(got[i][j], row.want[i][j], 1e-12) << row.t << " " << i << "," << j;
  }
}

TEST(MatrixExp, RefusesWhatTheSeriesCannotGive) {
  // 99 terms of exp(100) reach about half of it; at t = 1e4 the terms
  // overflow; exp(1000) itself overflows.
  const std::pair<Rows, double> cases[] = {
      {{{1, 0}, {0, 1}}, 100.0}, {{{1, 0}, {0, 1}}, 1e4}, {{{0}}, -1000.0}};
  for (const auto& [a, t] : cases) {
    Rows got = a;
    EXPECT_THROW(stathelp::matrix_exp(&got, t), RBD_COMMON::Runtime_error) << t;
    EXPECT_EQ(got, a) << t;
  }
  Rows ragged = {{1, 0}, {0}};
  EXPECT_THROW(stathelp::matrix_exp(&ragged, 1.0), RBD_COMMON::Logic_error);
}

TEST(CountLines, CountsNewlinesLeft) {
  const std::pair<std::string, int> cases[] = {{"a b\nc\n", 2}, {"a b\nc", 1}, {"", 0}};
  for (const auto& [text, want] : cases) {
    std::istringstream in("skipped\n" + text);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(stathelp::countLines(in), want) << text;
    EXPECT_EQ(in.get(), std::char_traits<char>::eof()) << text;
  }
  std::istream unbuffered(nullptr);
  EXPECT_EQ(stathelp::countLines(unbuffered), 0);
}

}  // namespace
