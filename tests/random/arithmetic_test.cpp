// Expressions over variates: the order of their draws, their moments by the
// closed forms for independent operands, and that their owner frees the
// nodes but no leaf (the sanitizer build's LeakSanitizer reports any node
// left behind, AddressSanitizer a leaf freed).
#include <vector>

#include <gtest/gtest.h>

#include "random/arithmetic.h"
#include "random/vorand2.h"
#include "tests/random/variate_test_support.h"

// A Uniform that counts the calls of its tDelete: each node calls it once
// for each operand that is a leaf, and then frees itself.
struct Leaf : Uniform {
  void tDelete() override { ++deletes; }
  int deletes = 0;
};

// u and v draw one scripted uniform each; 0.75 is scripted for u and 0.25
// for v, so an operand drawn in the wrong order changes every two-operand
// result.
TEST(RandomArithmetic, DrawsLeftOperandFirst) {
  Leaf u, v;
  const std::vector<double> uv = {0.75, 0.25}, one = {0.75};
  const struct {
    Random& expression;
    std::vector<double> script;
    double expected;
  } cases[] = {{u + v, uv, 1.0},     {u - v, uv, 0.5},       {u * v, uv, 0.1875},
               {u / v, uv, 3.0},     {-u, one, -0.75},       {2.0 * u, one, 1.5},
               {u * 2.0, one, 1.5},  {u / 4.0, one, 0.1875}, {u + 2.0, one, 2.75},
               {2.0 + u, one, 2.75}, {u - 2.0, one, -1.25},  {2.0 - u, one, 1.25},
               {3.0 / u, one, 4.0},  {u(0), {}, 0.0},        {u(-2), {}, 0.0}};
  for (const auto& c : cases) {
    SumRandom z(c.expression);
    EXPECT_EQ(draw_with(c.script, z), c.expected);
  }
  SumRandom repeated(u(3)), nested((u - v)(2) * 4.0 - v);
  EXPECT_EQ(draw_with({0.75, 0.5, 0.125}, repeated), 1.375);
  EXPECT_EQ(draw_with({0.75, 0.25, 0.5, 0.0, 0.125}, nested), 3.875);
  EXPECT_EQ(u.deletes + v.deletes, 19);
  // The leaves outlive their expressions.
  EXPECT_EQ(draw_with({0.5}, u) + draw_with({0.25}, v), 0.75);
}

// The moments of independent operands; the codes of Missing (a quotient)
// and of Cauchy's Indefinite mean and infinite variance propagate.
TEST(RandomArithmetic, MomentsCombineAsForIndependentOperands) {
  Normal x, y;
  Exponential e;
  Uniform u;
  Cauchy c;
  const ExtReal none = Missing, nan = Indefinite, inf = PlusInfinity;
  const struct {
    Random& expression;
    ExtReal mean, variance;
  } cases[] = {{e + u, 1.5, 13.0 / 12}, {3.0 * x + 1.0, 1.0, 9.0}, {e - u, 0.5, 13.0 / 12},
               {e * x, 0.0, 2.0},       {e * u, 0.5, 5.0 / 12},    {-e, -1.0, 1.0},
               {2.0 - e, 1.0, 1.0},     {e / 2.0, 0.5, 0.25},      {e(3), 3.0, 3.0},
               {e(1), 1.0, 1.0},        {e(-2), 0.0, 0.0},         {x / y + 1.0, none, none},
               {1.0 / e, none, none},   {x / y * c, none, none},   {c - x, nan, inf},
               {-2.0 * c, nan, inf},    {c(2), nan, inf},          {0.0 * c, nan, nan},
               {e * c, nan, nan}};
  for (const auto& t : cases) {
    SumRandom z(t.expression);
    EXPECT_STREQ(z.Name(), "SumRandom");
    EXPECT_EQ(z.Mean().Code(), t.mean.Code());
    EXPECT_EQ(z.Variance().Code(), t.variance.Code());
    EXPECT_NEAR(z.Mean().Value(), t.mean.Value(), 1e-15);
    EXPECT_NEAR(z.Variance().Value(), t.variance.Value(), 1e-15);
  }
}
