// The zero-finder loop over a complementary pair, on tails with known
// roots: either member varied, the answer to the relative tolerance, the
// pair complementary at every evaluation, and each way it fails.  (The
// monotone search loop is covered through cdfchi's inverse cases.)
#include "stats/distfuncs/search_loops.h"

#include <gtest/gtest.h>

namespace {

using numlib::Tails;

// cum = x^2, ccum = 1 - x^2 = y (1 + x) with y = 1 - x.
Tails square(double x, double y) { return {x * x, y * (1.0 + x)}; }
Tails above_quarter(double x, double y) { return {0.5 + x * x / 4, y}; }
Tails below_quarter(double x, double y) { return {x * x / 4, y}; }
Tails failing(double, double) { return {0.0, 0.0, true}; }

TEST(SearchComplementaryPair, RootsAndFailures) {
  const struct {
    const char* what;
    Tails (*tails)(double x, double y);
    numlib::TailTarget target;
    int status;
    double bound;  // -77: not written
    double x;      // the answer, or -1 for none
  } rows[] = {
      {"x^2 = 0.25: X varied", square, numlib::smaller_tail(0.25, 0.75), 0, -77.0, 0.5},
      {"y (2 - y) = 0.19: Y varied", square, numlib::smaller_tail(0.81, 0.19), 0, -77.0, 0.9},
      {"above the target on [0, 1]", above_quarter, numlib::lower_tail(0.25), 1, 0.0, -1},
      {"below the target on [0, 1]", below_quarter, numlib::lower_tail(0.5), 2, 1.0, -1},
      {"failed evaluation", failing, numlib::lower_tail(0.5), 10, -77.0, -1},
  };
  for (const auto& r : rows) {
    double x = -5.0, y = -5.0, bound = -77.0;
    // A status left from an earlier search must not resume it.
    int status = 1, not_complementary = 0;
    // The member varied is the one whose tail the target matches.
    double* varied = r.target.lower ? &x : &y;
    double* other = r.target.lower ? &y : &x;
    numlib::search_complementary_pair(
        varied, other, r.target,
        [&] {
          if (*other != 1.0 - *varied) ++not_complementary;
          return r.tails(x, y);
        },
        &status, &bound);
    EXPECT_EQ(status, r.status) << r.what;
    EXPECT_EQ(bound, r.bound) << r.what;
    EXPECT_EQ(not_complementary, 0) << r.what;
    if (r.x >= 0) {
      // The zero finder's final bracket is at most 1e-8 relative wide.
      const double want = r.target.lower ? r.x : 1.0 - r.x;
      EXPECT_NEAR(*varied, want, 1e-8 * want) << r.what;
      EXPECT_EQ(*other, 1.0 - *varied) << r.what;
    }
  }
}

}  // namespace
