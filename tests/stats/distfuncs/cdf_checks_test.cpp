// The argument checks at the edges cdfchi's status table does not reach:
// included and excluded ends, infinities, -0, not-a-number sums, and the
// sum tolerance of exactly 3 machine epsilons.
#include "stats/distfuncs/cdf_checks.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

namespace {

using numlib::Domain;
using Result = std::tuple<bool, int, double>;  // passed, status, bound

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kEps = 0x1p-52;
// Status and bound a passing check leaves as they were.
const Result kPass{true, -99, -77.0};

Result arg(double v, const Domain& d) {
  Result r = kPass;
  std::get<0>(r) = numlib::check_argument(4, v, d, &std::get<1>(r), &std::get<2>(r));
  return r;
}
Result which(int w, int largest) {
  Result r = kPass;
  std::get<0>(r) = numlib::check_which(w, largest, &std::get<1>(r), &std::get<2>(r));
  return r;
}
Result sum(double a, double b) {
  Result r = kPass;
  std::get<0>(r) = numlib::check_pair_sum(4, a, b, &std::get<1>(r), &std::get<2>(r));
  return r;
}

TEST(CdfChecks, Edges) {
  const Domain unit = Domain::open_closed(0.0, 1.0);
  const struct {
    const char* what;
    Result got, want;
  } rows[] = {
      {"(0, 1] at 0", arg(0.0, unit), {false, -4, 0.0}},
      {"(0, 1] at 1", arg(1.0, unit), kPass},
      {"(0, 1] NaN", arg(kNaN, unit), {false, -4, 0.0}},
      {"[0, 1 - 2^-53] at 1",
       arg(1.0, Domain::closed(0.0, 1.0 - kEps / 2)),
       {false, -4, 1.0 - kEps / 2}},
      {"[0, inf] at -0", arg(-0.0, Domain::at_least(0.0)), kPass},
      {"[0, inf] at inf", arg(kInf, Domain::at_least(0.0)), kPass},
      {"(0, inf] at -inf", arg(-kInf, Domain::above(0.0)), {false, -4, 0.0}},
      {"which 5 of 5", which(5, 5), kPass},
      {"which 6 of 5", which(6, 5), {false, -1, 5.0}},
      {"sum 3 epsilons above 1", sum(1.0, 3 * kEps), kPass},
      {"sum 4 epsilons below 1", sum(1.0 - 4 * kEps, 0.0), {false, 4, 1.0}},
      {"negative sum", sum(-1.0, -0.5), {false, 4, 0.0}},
      {"sum not a number", sum(kNaN, 0.5), {false, 4, 1.0}},
  };
  for (const auto& r : rows) EXPECT_EQ(r.got, r.want) << r.what;
}

}  // namespace
