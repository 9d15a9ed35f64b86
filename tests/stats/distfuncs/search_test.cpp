// The reverse-communication search and zero finder on analytic monotone
// functions: the points they ask for, brackets found upward and downward,
// answers at the ends of the range, and every failure report.
#include "stats/distfuncs/search.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace {

using Fn = std::function<double(double)>;

struct Outcome {
  int status = 0;
  double x = 0.0;
  double xhi = 0.0;  // dzror only
  unsigned long qleft = 99;
  unsigned long qhi = 99;
  std::vector<double> asked;  // points whose function value was requested
};

// A run longer than this is a search that does not end.
constexpr std::size_t kMaxEvaluations = 10000;

struct Limits {
  double small = 0.0, big = 1e300;
  double absstp = 0.5, relstp = 0.5, stpmul = 5.0;
  double abstol = 1e-50, reltol = 1e-8;
};

Outcome search(const Fn& f, double start, Limits s = {}) {
  numlib::dstinv(&s.small, &s.big, &s.absstp, &s.relstp, &s.stpmul, &s.abstol, &s.reltol);
  Outcome r;
  r.x = start;
  double fx = 0.0;
  numlib::dinvr(&r.status, &r.x, &fx, &r.qleft, &r.qhi);
  while (r.status == 1 && r.asked.size() < kMaxEvaluations) {
    r.asked.push_back(r.x);
    fx = f(r.x);
    numlib::dinvr(&r.status, &r.x, &fx, &r.qleft, &r.qhi);
  }
  return r;
}

Outcome zero(const Fn& f, double lo, double hi, double abstol = 1e-50, double reltol = 1e-10) {
  numlib::dstzr(&lo, &hi, &abstol, &reltol);
  Outcome r;
  double fx = 0.0;
  double x = 0.0;
  numlib::dzror(&r.status, &x, &fx, &r.x, &r.xhi, &r.qleft, &r.qhi);
  while (r.status == 1 && r.asked.size() < kMaxEvaluations) {
    r.asked.push_back(x);
    fx = f(x);
    numlib::dzror(&r.status, &x, &fx, &r.x, &r.xhi, &r.qleft, &r.qhi);
  }
  return r;
}

TEST(Dinvr, StepsGrowFromTheStartAndAreClipped) {
  // value at small, at big, at the start, then steps of 2.5, 12.5, 62.5, ...
  Outcome r = search([](double x) { return x - 1000.0; }, 5.0);
  ASSERT_GE(r.asked.size(), 8u);
  const std::vector<double> first(r.asked.begin(), r.asked.begin() + 8);
  EXPECT_EQ(first, (std::vector<double>{0.0, 1e300, 5.0, 7.5, 20.0, 82.5, 395.0, 1957.5}));
  EXPECT_EQ(r.status, 0);
  EXPECT_NEAR(r.x, 1000.0, 1000.0 * 1e-8);

  Limits s;
  s.big = 50.0;
  r = search([](double x) { return x - 45.0; }, 5.0, s);
  ASSERT_GE(r.asked.size(), 6u);
  const std::vector<double> clipped(r.asked.begin(), r.asked.begin() + 6);
  EXPECT_EQ(clipped, (std::vector<double>{0.0, 50.0, 5.0, 7.5, 20.0, 50.0}));
  EXPECT_EQ(r.status, 0);
  EXPECT_NEAR(r.x, 45.0, 45.0 * 1e-8);
}

TEST(Dinvr, AlreadyAtTheTarget) {
  const Outcome r = search([](double x) { return x - 5.0; }, 5.0);
  EXPECT_EQ(r.asked.size(), 3u);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.x, 5.0);
}

TEST(Dinvr, BracketFoundUpOrDown) {
  struct Case {
    const char* name;
    Fn f;
    double root;
    bool up;
  };
  const Case cases[] = {
      {"increasing, root below", [](double x) { return x * x * x - 2.0; }, std::cbrt(2.0), false},
      {"increasing, root above", [](double x) { return std::exp(x / 10.0) - 1e3; },
       10.0 * std::log(1e3), true},
      {"decreasing, root above", [](double x) { return 1.0 / (1.0 + x) - 0.01; }, 99.0, true},
      {"decreasing, root below", [](double x) { return std::exp(-x) - 0.5; }, std::log(2.0), false},
      {"increasing, root far above", [](double x) { return std::log(x) - 100.0; }, std::exp(100.0),
       true},
  };
  for (const Case& c : cases) {
    const Outcome r = search(c.f, 5.0);
    ASSERT_GE(r.asked.size(), 4u) << c.name;
    EXPECT_EQ(r.asked[3] > 5.0, c.up) << c.name;
    EXPECT_EQ(r.status, 0) << c.name;
    // relative tolerance 1e-8 of the zero finder, with room for the
    // half-tolerance steps it may take past the bracket's middle
    EXPECT_NEAR(r.x, c.root, 2e-8 * c.root) << c.name;
  }
}

TEST(Dinvr, AnswersAtTheEndsOfTheRange) {
  Outcome r = search([](double x) { return x; }, 5.0);
  EXPECT_EQ(r.status, 0);
  EXPECT_LE(std::fabs(r.x), 1e-50);

  Limits s;
  s.big = 100.0;
  r = search([](double x) { return x - 100.0; }, 5.0, s);
  EXPECT_EQ(r.status, 0);
  EXPECT_NEAR(r.x, 100.0, 100.0 * 1e-8);
}

TEST(Dinvr, FailuresAtTheEndsOfTheRange) {
  struct Case {
    const char* name;
    Fn f;
    unsigned long qleft, qhi;
  };
  const Case cases[] = {
      {"increasing, above the target at small", [](double x) { return x + 1.0; }, 1, 1},
      {"increasing, below the target at big", [](double x) { return std::tanh(x) - 2.0; }, 0, 0},
      {"decreasing, below the target at small", [](double x) { return -x - 1.0; }, 1, 0},
      {"decreasing, above the target at big", [](double x) { return 2.0 - std::tanh(x); }, 0, 1},
  };
  for (const Case& c : cases) {
    const Outcome r = search(c.f, 5.0);
    EXPECT_EQ(r.asked.size(), 2u) << c.name;
    EXPECT_EQ(r.status, -1) << c.name;
    EXPECT_EQ(r.qleft, c.qleft) << c.name;
    EXPECT_EQ(r.qhi, c.qhi) << c.name;
  }
}

TEST(Dinvr, StrayResumeIsIgnored) {
  search([](double x) { return x - 7.0; }, 5.0);
  int status = 1;
  double x = 3.25, fx = 1.0;
  unsigned long qleft = 42, qhi = 43;
  numlib::dinvr(&status, &x, &fx, &qleft, &qhi);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(x, 3.25);
  EXPECT_EQ(qleft, 42u);
  EXPECT_EQ(qhi, 43u);
}

TEST(Dinvr, StartOutsideTheRangeStopsTheProcess) {
  EXPECT_EXIT(search([](double x) { return x; }, -1.0), ::testing::ExitedWithCode(1),
              "^ SMALL, X, BIG not monotone in INVR\n$");
}

TEST(Dzror, FindsTheZeroInsideABracket) {
  const double root = std::sqrt(2.0);
  const Outcome r = zero([](double x) { return x * x - 2.0; }, 0.0, 2.0);
  EXPECT_EQ(r.status, 0);
  EXPECT_NEAR(r.x, root, 1e-10 * root);
  EXPECT_LE((r.x - root) * (r.xhi - root), 0.0) << "final interval brackets the root";
  EXPECT_EQ(r.asked[0], 0.0);
  EXPECT_EQ(r.asked[1], 2.0);
}

TEST(Dzror, KeepsItsBracketAtTinyValues) {
  // The same function scaled down so far that the product of two of its
  // values underflows: the zero finder must still tell the sides apart.
  const double root = std::sqrt(2.0);
  for (const double scale : {1.0, 1e-160, 1e-200, 1e-300}) {
    const Outcome r = zero([scale](double x) { return scale * (x * x - 2.0); }, 0.0, 2.0);
    EXPECT_EQ(r.status, 0) << scale;
    EXPECT_NEAR(r.x, root, 1e-10 * root) << scale;
    EXPECT_LE((r.x - root) * (r.xhi - root), 0.0) << scale;
  }
}

TEST(Dzror, ZeroOnEitherSideNotANumberOnNeither) {
  // 1 - x on [0, 2.5]: the first secant step lands on the root.  A zero
  // lies on either side, so the finder restarts from the point before it,
  // 0, and the final bracket ends below 1, not towards 2.5.
  Outcome r = zero([](double x) { return 1.0 - x; }, 0.0, 2.5);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.x, 1.0);
  EXPECT_LT(r.xhi, 1.0);
  // A value that is not a number lies on neither side.  From the secant
  // point 1.25 (no value) the finder bisects towards 2.5: 1.875 (no
  // value), 2.1875 (positive: the bracket restarts at 1.875), then closes
  // on 1.875 from above.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  r = zero([nan](double x) { return x < 1.0 ? -1.0 : (x < 2.0 ? nan : 1.0); }, 0.0, 2.5);
  ASSERT_GE(r.asked.size(), 5u);
  EXPECT_EQ(r.asked[2], 1.25);
  EXPECT_EQ(r.asked[3], 1.875);
  EXPECT_EQ(r.asked[4], 2.1875);
  EXPECT_EQ(r.xhi, 1.875);
  EXPECT_NEAR(r.x, 1.875, 1e-8);
}

TEST(Dzror, SameSignAtBothEnds) {
  struct Case {
    const char* name;
    Fn f;
    unsigned long qleft, qhi;
  };
  const Case cases[] = {
      {"positive, rising", [](double x) { return x * x + 1.0; }, 1, 1},
      {"positive, falling", [](double x) { return 10.0 - x; }, 0, 1},
      {"negative, falling", [](double x) { return -(x * x + 1.0); }, 1, 0},
      {"negative, rising", [](double x) { return x - 10.0; }, 0, 0},
  };
  for (const Case& c : cases) {
    const Outcome r = zero(c.f, 0.0, 2.0);
    EXPECT_EQ(r.asked.size(), 2u) << c.name;
    EXPECT_EQ(r.status, -1) << c.name;
    EXPECT_EQ(r.qleft, c.qleft) << c.name;
    EXPECT_EQ(r.qhi, c.qhi) << c.name;
  }
}

TEST(Dzror, BisectsBracketsBeyondHalfTheLargestDouble) {
  // Both ends above half the largest double: their sum overflows, and the
  // midpoint must not.  A step (every move by bisection or the smallest
  // step) and a slope; within the evaluation limit, bracketing the root.
  constexpr double kMax = std::numeric_limits<double>::max();
  struct Case {
    const char* name;
    Fn f;
    double lo, hi, root;
  };
  const Case cases[] = {
      {"step", [](double x) { return x < 1.6e308 ? -0.3 : 0.7; }, 1e308, kMax, 1.6e308},
      {"slope", [](double x) { return x / 1e308 - 1.7; }, 9e307, kMax, 1.7e308},
      {"step near the top", [](double x) { return x < 1.79e308 ? -1.0 : 1.0; }, 1.7e308, kMax,
       1.79e308},
  };
  for (const Case& c : cases) {
    const Outcome r = zero(c.f, c.lo, c.hi, 1e-50, 1e-8);
    EXPECT_LT(r.asked.size(), kMaxEvaluations) << c.name;
    EXPECT_EQ(r.status, 0) << c.name;
    EXPECT_NEAR(r.x, c.root, 2e-8 * c.root) << c.name;
    EXPECT_LE((r.x - c.root) * (r.xhi - c.root), 0.0) << c.name;
  }
}

TEST(Dinvr, SearchesARangeEndingAtTheLargestDouble) {
  // The steps from 5 reach the top of the range, and the bracket found
  // there lies beyond half the largest double.
  Limits s;
  s.big = std::numeric_limits<double>::max();
  const Outcome r = search([](double x) { return x < 1.2e308 ? -0.3 : 0.7; }, 5.0, s);
  EXPECT_LT(r.asked.size(), kMaxEvaluations);
  EXPECT_EQ(r.status, 0);
  EXPECT_NEAR(r.x, 1.2e308, 2e-8 * 1.2e308);
}

TEST(Dinvr, ReportsSuccessEvenWhenTheZeroFinderDoesNot) {
  // A function without a value on part of the bracket: the zero finder
  // bisects into it and ends with status -1; the search still ends with
  // status 0 at the zero finder's last point.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Fn f = [nan](double x) { return x < 1.0 ? -1.0 : (x < 2.0 ? nan : 1.0); };
  const Outcome direct = zero(f, 0.0, 2.5, 1e-50, 1e-8);
  ASSERT_EQ(direct.status, -1);
  const Outcome r = search(f, 5.0, Limits{0.0, 10.0});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.x, direct.x);
}

}  // namespace
