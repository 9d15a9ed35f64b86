// The discrete variates: distributions against Boost.Math by chi-square
// goodness of fit, chosen uniforms for ignuin, the set-up caches, and the
// failure rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

#include <boost/math/distributions.hpp>

#include "chi_square.h"
#include "chosen_uniform.h"
#include "exact_message.h"
#include "stats/varlib/com.h"
#include "stats/varlib/varlib.h"

namespace {

namespace bm = boost::math;
using std::int64_t;

template <class Dist>
Pmf pmf(Dist d) {
  return [d](int64_t k) { return k < 0 ? 0.0 : bm::pdf(d, static_cast<double>(k)); };
}
Pmf binomial(double n, float p) { return pmf(bm::binomial(n, p)); }
Pmf poisson(double mu) { return pmf(bm::poisson(mu)); }

// genmul's count of category i for n events over (p0, p1, the rest).
int64_t multinomial(int i) {
  const float p[] = {0.2f, 0.5f, -1.0f};  // the last is not read
  int64_t ix[3];
  numlib::genmul(30, p, 3, ix);
  return ix[i];
}

// The rank of genprm's permutation of (0, 1, 2) among the six.
int64_t permutation() {
  int64_t a[] = {0, 1, 2};
  numlib::genprm(a, 3);
  return a[0] * 2 + (a[1] > a[2]);
}

TEST(Discrete, DrawsFollowTheirDistributions) {
  using numlib::ignbin;
  using numlib::ignpoi;
  // BTPE and PD draw a million each: their rarer steps (BTPE's Stirling
  // bound, PD's double-exponential rejection) shape little of the law, and
  // a changed coefficient there shows only in large samples.
  constexpr int kMany = 1000000, kSome = 200000;
  const std::tuple<std::function<int64_t()>, Pmf, int> rows[] = {
      {[] { return ignbin(20, .3f); }, binomial(20, .3f), kSome},              // inversion
      {[] { return ignbin(20, .8f); }, binomial(20, .8f), kSome},              // inversion, n - x
      {[] { return ignbin(100, .29f); }, binomial(100, .29f), kSome},          // n p just below 30
      {[] { return ignbin(100, .31f); }, binomial(100, .31f), kMany},          // BTPE
      {[] { return ignbin(200, .7f); }, binomial(200, .7f), kMany},            // BTPE, n - x
      {[] { return ignbin(2000, .4f); }, binomial(2000, .4f), kMany},          // BTPE's squeezes
      {[] { return ignbin(500000000, 2e-8f); }, binomial(5e8, 2e-8f), kSome},  // q rounds to 1
      {[] { return ignpoi(3); }, poisson(3), kSome},
      {[] { return ignpoi(9.99f); }, poisson(9.99f), kSome},
      {[] { return ignpoi(10); }, poisson(10), kMany},
      {[] { return ignpoi(40); }, poisson(40), kMany},
      {[] { return ignpoi(1000); }, poisson(1000), kMany},
      {[] { return ignpoi(20), ignpoi(5); }, poisson(5), kSome},  // PD calls between
      {[] { return numlib::ignnbn(5, .3f); }, pmf(bm::negative_binomial(5, .3f)), kSome},
      {[] { return numlib::ignnbn(2, .8f); }, pmf(bm::negative_binomial(2, .8f)), kSome},
      {[] { return multinomial(0); }, binomial(30, .2f), kSome},
      {[] { return multinomial(1); }, binomial(30, .5f), kSome},
      {[] { return multinomial(2); }, binomial(30, 1 - .2f - .5f), kSome},
      {permutation, [](int64_t k) { return k < 6 ? 1 / 6.0 : 0.0; }, kSome},
  };
  // Level 0.001 with fixed seeds; the faults these rows catch (a lost
  // branch, a wrong constant, a stale table) move the statistic far beyond.
  numlib::setall(20240601, 7);
  for (std::size_t row = 0; row < std::size(rows); ++row) {
    const auto& [draw, law, count] = rows[row];
    std::vector<int64_t> x(count);
    std::generate(x.begin(), x.end(), draw);
    ASSERT_GE(*std::min_element(x.begin(), x.end()), 0) << "row " << row;
    EXPECT_GT(chi_square_p(x, law), 0.001) << "row " << row;
  }
}

TEST(Discrete, PinnedStreams) {
  // The first draws of generator 1 after setall(s1, s2), as
  // discrete_streams_reference.py prints them from the published steps,
  // written apart from the library; the comments name the steps the draws
  // take.  Each row first draws once with the same probability (or the
  // other method) and another size, leaving a set-up the row must redo.
  struct Row {
    int64_t s1, s2, before;
    double a;
    float pp;
    std::vector<int64_t> want;
  };
  const Row binomial_rows[] = {
      {20240601, 7, 2000, 20, .3f, {4, 5, 4, 6, 6, 8, 8, 6}},          // inversion
      {20240601, 7, 2000, 20, .8f, {18, 17, 18, 16, 16, 15, 14, 16}},  // inversion, n - x
      // triangle; parallelogram by ratios and squeeze; right tail by squeeze
      // and Stirling's bound
      {31, 41, 20, 2000, .4f, {790, 774, 799, 801, 812, 781, 826, 817, 777, 793, 794, 821}},
      // triangle, parallelogram, both tails; ratios accept and reject; n - x
      {59, 26, 2000, 200, .7f, {151, 149, 145, 130, 135, 142, 144, 145, 133, 152, 130, 122}},
      // n above 2^24: Stirling's bound accepts and rejects
      {53, 58, 1000, 20000000, 5e-6f, {108, 107, 103, 83, 84, 78, 112, 111, 90, 85, 74, 113}},
  };
  const Row poisson_rows[] = {
      // table: 0, then extended to 1 and looked up there; extended, looked up
      {20240601, 7, 40, .5, 0, {0, 0, 0, 0, 0, 1, 1, 0, 1, 0, 0, 2}},
      {20240601, 7, 40, 3.5, 0, {2, 2, 2, 3, 4, 5, 5, 4, 5, 1, 3, 7}},
      // PD: the normal deviate at once, by squeeze and by quotient; the
      // double exponential
      {97, 93, 3, 40, 0, {64, 36, 56, 49, 41, 40, 38, 30, 29, 36, 41, 37}},
      {23, 84, 40, 1000, 0, {933, 1010, 1058, 1025, 1010, 1005, 1000, 1023, 964, 1025, 962, 984}},
      // PD at its largest mean, 2^23; above it the sum of deviates of mean
      // 2^23 and one of the mean left, by the table and by PD
      {61,
       62,
       40,
       8388608,
       0,
       {8382374, 8388598, 8384257, 8390828, 8384818, 8388114, 8383993, 8385503, 8393444, 8389726,
        8386990, 8384625}},
      {63,
       64,
       40,
       8388613,
       0,
       {8382382, 8389320, 8391532, 8389152, 8384865, 8392073, 8385780, 8387787, 8390104, 8390273,
        8395508, 8388143}},
      {65,
       66,
       40,
       1e9,
       0,
       {1000006449, 1000035398, 999996005, 1000027246, 1000011982, 999984105, 1000019683,
        1000001377, 999944616, 999994286, 999970185, 999929562}},
  };
  numlib::setall(1, 1);
  int64_t first = 1;
  numlib::gscgn(1, &first);
  numlib::setant(0);
  const auto draws = [](const Row& r, const std::function<int64_t()>& draw) {
    numlib::setall(r.s1, r.s2);
    std::vector<int64_t> x(r.want.size());
    return std::generate(x.begin(), x.end(), draw), x;
  };
  for (const Row& r : binomial_rows) {
    numlib::ignbin(r.before, r.pp);
    const auto n = static_cast<int64_t>(r.a);
    EXPECT_EQ(draws(r, [&] { return numlib::ignbin(n, r.pp); }), r.want) << r.a << " " << r.pp;
  }
  for (const Row& r : poisson_rows) {
    numlib::ignpoi(r.before);
    const auto mu = static_cast<float>(r.a);
    EXPECT_EQ(draws(r, [&] { return numlib::ignpoi(mu); }), r.want) << r.a;
  }
  // Long streams, as the weighted sums (i + 1) x_i of 200,000 draws: enough
  // passes through BTPE's Stirling bound and PD's quotient and
  // double-exponential tests that a changed term of them moves some draws.
  struct Sum {
    int64_t s1, s2;
    std::function<int64_t()> draw;
    int64_t want;
  };
  const Sum sums[] = {
      {71, 82, [] { return numlib::ignbin(20000000, 5e-6f); }, 2000076494913},
      {81, 82, [] { return numlib::ignbin(2000, .4f); }, 16000863947998},
      {91, 82, [] { return numlib::ignpoi(11.5f); }, 229883428541},
      {92, 82, [] { return numlib::ignpoi(40); }, 800051017295},
  };
  for (const Sum& r : sums) {
    numlib::setall(r.s1, r.s2);
    int64_t sum = 0;
    for (int64_t i = 1; i <= 200000; ++i) sum += i * r.draw();
    EXPECT_EQ(sum, r.want) << r.s1;
  }
}

TEST(Discrete, ExactCases) {
  const auto uniform_after = [](int64_t z, int64_t low, int64_t high) {
    chosen_uniform::next_ignlgi(z);
    return numlib::ignuin(low, high);
  };
  // (z, low, high, deviate); 10 x 214748356 = 2147483560 is the largest
  // accepted z - 1 for a range of 10, and the widest range accepts all.
  const int64_t rows[][4] = {{1, 0, 9, 0},
                             {12, -5, 4, -4},
                             {2147483561, 0, 9, 0},
                             {1, 7, 2147483568, 7},
                             {2147483562, 0, 2147483561, 2147483561},
                             {5, -1, 1, 0}};
  for (const auto& r : rows) EXPECT_EQ(uniform_after(r[0], r[1], r[2]), r[3]) << r[0];
  // z - 1 above the multiple: rejected, the next draw decides.
  chosen_uniform::next_ignlgi(2147483562);
  numlib::ignlgi();
  const int64_t next = numlib::ignlgi();
  EXPECT_EQ(uniform_after(2147483562, 0, 9), (next - 1) % 10);

  int64_t s1 = 0, s2 = 0, t1 = 0, t2 = 0;
  numlib::getsd(&s1, &s2);
  EXPECT_EQ(numlib::ignuin(5, 5), 5);
  EXPECT_EQ(numlib::ignnbn(0, .5f), 0);
  numlib::getsd(&t1, &t2);
  EXPECT_TRUE(s1 == t1 && s2 == t2);  // neither drew

  for (int i = 0; i < 200; ++i) {
    numlib::setall(100 + i, 3);
    const int64_t x = numlib::ignbin(40, .7f);
    numlib::setall(100 + i, 3);
    ASSERT_EQ(x, 40 - numlib::ignbin(40, .3f)) << i;
    EXPECT_EQ(numlib::ignbin(i, 0.0f), 0);
    EXPECT_EQ(numlib::ignbin(i, 1.0f), i);
    EXPECT_EQ(numlib::ignpoi(i % 2 ? 0.0f : -1e30f), 0);
  }
  // A thousand tiny shares round the share left below the next
  // probability; it is still a probability, and the counts add up.
  std::vector<float> p(1002, 3.1e-8f);
  p[1000] = 0.99995f;
  std::vector<int64_t> ix(1002, -1);
  numlib::genmul(0, p.data(), 1002, ix.data());
  EXPECT_EQ(ix, std::vector<int64_t>(1002, 0));  // also the counts never drawn
  for (int i = 0; i < 100; ++i) {
    numlib::genmul(1000, p.data(), 1002, ix.data());
    EXPECT_EQ(std::accumulate(ix.begin(), ix.end(), int64_t{0}), 1000);
  }
}

TEST(Discrete, SetUpCachesAreTransparent) {
  const auto draws_after = [](const std::function<void()>& before,
                              const std::function<int64_t()>& draw) {
    before();
    numlib::setall(4242, 17);
    std::vector<int64_t> x(400);
    return std::generate(x.begin(), x.end(), draw), x;
  };
  const auto binomial = [] { return numlib::ignbin(40, .3f); };
  const auto poisson = [] { return numlib::ignpoi(5); };
  const auto poisson20 = [] { return numlib::ignpoi(20); };
  const auto want_binomial = draws_after([] {}, binomial);
  const auto want_poisson = draws_after([] {}, poisson);
  const auto want_poisson20 = draws_after([] {}, poisson20);
  for (auto [n, pp] : {std::pair<int64_t, float>{10, .3f}, {40, .7f}, {1000, .3f}, {7, .1f}})
    EXPECT_EQ(draws_after([n = n, pp = pp] { numlib::ignbin(n, pp); }, binomial), want_binomial)
        << n << " " << pp;
  // The table for 3 is built far, the one for 5 only a little; a PD call
  // that ends at the normal deviate's first test must leave the latter as
  // it was.
  for (float mu : {3.0f, 20.0f, 40.0f, 1000.0f}) {
    const auto before = [mu] {
      for (int i = 0; i < 100; ++i) numlib::ignpoi(3);
      numlib::ignpoi(5), numlib::ignpoi(mu);
    };
    EXPECT_EQ(draws_after(before, poisson), want_poisson) << mu;
    EXPECT_EQ(draws_after([mu] { numlib::ignpoi(mu); }, poisson20), want_poisson20) << mu;
  }
}

TEST(DiscreteDeathTest, RefusedArgumentsStopTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const float nan = NAN, inf = INFINITY;
  static const float mean[] = {1.5f, -2.0f};
  static float parm[6];
  const auto setgmn = [](float c11) {
    // The mean is printed at exit, to show it was copied before the stop.
    std::atexit([] { std::fprintf(stderr, "|%g %g", parm[1], parm[2]); });
    float covm[] = {1, 1, 1, c11};
    numlib::setgmn(mean, covm, 2, parm);
  };
  const auto genmul = [](float p0, float p1, int64_t n = 5, int64_t ncat = 3) {
    const float p[] = {p0, p1, 0};
    int64_t ix[3];
    numlib::genmul(n, p, ncat, ix);
  };
  const std::string pois = "MU not a number, infinite or above 2^33 in IGNPOI - ABORTValue of MU: ";
  const std::pair<std::function<void()>, std::string> rows[] = {
      {[] { numlib::ignuin(2, 1); }, " low > high in ignuin - ABORT"},
      {[] { numlib::ignuin(0, 2147483562); }, " high - low too large in ignuin - ABORT"},
      {[] { numlib::ignuin(INT64_MIN, INT64_MAX); }, " high - low too large in ignuin - ABORT"},
      {[] { numlib::ignbin(-1, .5f); }, "N < 0 in IGNBIN - ABORTValue of N:           -1\n"},
      {[] { numlib::ignbin(5, 1.5f); },
       "PP < 0 or PP > 1 in IGNBIN - ABORTValue of PP:     1.500000E+00\n"},
      {[&] { numlib::ignbin(5, nan); }, "PP < 0 or PP > 1 in IGNBIN*"},
      {[] { numlib::ignbin(5, -1e-30f); }, "PP < 0 or PP > 1 in IGNBIN*"},
      {[&] { numlib::ignpoi(nan); }, pois + "             NAN\n"},
      {[&] { numlib::ignpoi(inf); }, pois + "             INF\n"},
      {[&] { numlib::ignpoi(-inf); }, pois + "            -INF\n"},
      {[] { numlib::ignpoi(4.7e18f); }, pois + "    4.700000E+18\n"},
      {[] { numlib::ignnbn(-1, .5f); }, "N < 0 in IGNNBN\n"},
      {[] { numlib::ignnbn(1, 0); }, "P <= 0 in IGNNBN\n"},
      {[&] { numlib::ignnbn(1, nan); }, "P <= 0 in IGNNBN\n"},
      {[] { numlib::ignnbn(1, 1); }, "P >= 1 in IGNNBN\n"},
      {[&] { genmul(.1f, .1f, -1); }, "N < 0 in GENMUL\n"},
      {[&] { genmul(.1f, .1f, 5, 1); }, "NCAT <= 1 in GENMUL\n"},
      {[&] { genmul(.1f, .1f, 5, 0); }, "NCAT <= 1 in GENMUL\n"},
      {[&] { genmul(1.5f, -.1f); }, "Some P(i) > 1 in GENMUL\n"},
      {[&] { genmul(.5f, -.1f); }, "Some P(i) < 0 in GENMUL\n"},
      {[&] { genmul(.5f, nan); }, "Some P(i) < 0 in GENMUL\n"},
      {[&] { genmul(.5f, .5f); }, "Sum of P(i) > 1 in GENMUL\n"},
      {[] { numlib::setgmn(mean, nullptr, 0, parm); },
       "P nonpositive in SETGMNValue of P:            0\n"},
      {[&] { setgmn(1); }, " COVM not positive definite in SETGMN|1.5 -2"},
      {[&] { setgmn(nan); }, " COVM not positive definite in SETGMN|1.5 -2"},
  };
  for (const auto& [call, message] : rows)
    EXPECT_EXIT(call(), ::testing::ExitedWithCode(1), quoted(message));
}

}  // namespace
