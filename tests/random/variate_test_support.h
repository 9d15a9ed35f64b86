// What the variate tests share: newmat exception texts, factories of
// variates, draws with scripted uniforms, and goodness-of-fit statistics.
#ifndef VORDEL_TESTS_RANDOM_VARIATE_TEST_SUPPORT_H
#define VORDEL_TESTS_RANDOM_VARIATE_TEST_SUPPORT_H

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <newmat/myexcept.h>

#include "random/vorand1.h"
#include "tests/common/scripted_random.h"

// The text of the newmat exception of type E that f throws (newmat's banner,
// the message, and "Trace: ..." when Tracer records were active), or a note
// saying that f threw something else or nothing.
template <class E, class F>
std::string thrown_message(F f) {
  try {
    f();
  } catch (const E&) {
    return RBD_COMMON::BaseException::what();
  } catch (...) {
    return "<another exception>";
  }
  return "<nothing thrown>";
}

inline bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

using Factory = std::function<std::unique_ptr<Random>()>;

template <class T, class... A>
Factory make(A... a) {
  return [=] { return std::make_unique<T>(a...); };
}

// The value r draws with the uniforms of script, all of which it must use.
inline double draw_with(const std::vector<double>& script, Random& r) {
  ScriptedRandom s(script);
  const double value = r.Next();
  EXPECT_EQ(s.remaining(), 0u);
  return value;
}
inline double draw_with(const std::vector<double>& script, const Factory& f) {
  return draw_with(script, *f());
}

// sqrt(N) D for the Kolmogorov-Smirnov distance D between the sample xs
// and the distribution function cdf.  A correct sampler gives less than 2.2
// with probability 0.9999 (Kolmogorov's limit).
inline double kolmogorov_smirnov(std::vector<double> xs, const std::function<double(double)>& cdf) {
  std::sort(xs.begin(), xs.end());
  const double n = xs.size();
  double d = 0;
  for (std::size_t i = 0; i < xs.size(); ++i) {
    const double f = cdf(xs[i]);
    d = std::max({d, f - i / n, (i + 1) / n - f});
  }
  return std::sqrt(n) * d;
}

// Pearson's statistic of the counts of the integer outcomes of N draws
// against the discrete distribution d of Boost.Math, in cells pooled from 0
// up to expected counts of at least 5 (the last cell takes all that no
// other took); the number of cells goes to cells.
template <class D>
double pooled_chi_square(const std::map<int, int>& count, int N, const D& d, int& cells) {
  double statistic = 0, expected = 0, observed = 0, observed_total = 0;
  cells = 0;
  for (int k = 0;; ++k) {
    expected += N * pdf(d, k);
    const auto found = count.find(k);
    observed += found == count.end() ? 0 : found->second;
    const double rest = N * cdf(complement(d, k));
    const bool last = rest < 5;
    if (last) expected += rest, observed = N - observed_total;
    if (expected >= 5 || last) {
      statistic += (observed - expected) * (observed - expected) / expected;
      ++cells, observed_total += observed, expected = observed = 0;
    }
    if (last) return statistic;
  }
}

#endif
