// The matrix exponential against closed forms, its refusal of a series that
// has not converged, and the line count.
#include "stats/helpers/matrix_exp.h"

#include <gtest/gtest.h>
#include <newmat/newmat.h>

#include <cmath>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "stats/helpers/line_count.h"

namespace {

using Rows = std::vector<std::vector<double>>;

TEST(MatrixExp, ClosedForms) {
  // I + Q for the two-state rate matrix Q = {-a, a; b, -b}, against exp(tQ).
  const double e = std::exp(-0.7), a = 0.8, b = 0.3, f = std::exp(-(a + b) * 2.5) / (a + b);
  const std::tuple<Rows, double, Rows> rows[] = {
      {{{0, 0}, {0, 0}}, 0.7, {{e, 0}, {0, e}}},
      {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, 3.0, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
      {{{0.3}}, 1.5, {{std::exp(1.5 * (0.3 - 1))}}},
      {{{1 - a, a}, {b, 1 - b}},
       2.5,
       {{b / (a + b) + a * f, a / (a + b) - a * f}, {b / (a + b) - b * f, a / (a + b) + b * f}}},
  };
  for (const auto& [a, t, want] : rows) {
    Rows got = a;
    stathelp::matrix_exp(&got, t);
    for (std::size_t i = 0; i < got.size(); ++i)
      for (std::size_t j = 0; j < got.size(); ++j) EXPECT_NEAR(got[i][j], want[i][j], 1e-12) << t;
  }
  // 99 terms of exp(100) reach about half of it; at t = 1e4 they overflow.
  for (const double t : {100.0, 1e4}) {
    Rows got = {{1, 0}, {0, 1}};
    EXPECT_THROW(stathelp::matrix_exp(&got, t), RBD_COMMON::Runtime_error) << t;
    EXPECT_EQ(got, Rows({{1, 0}, {0, 1}})) << t;
  }
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
}

}  // namespace
