// What the variate tests share: newmat exception texts, factories of
// variates, and draws with scripted uniforms.
#ifndef VORDEL_TESTS_RANDOM_VARIATE_TEST_SUPPORT_H
#define VORDEL_TESTS_RANDOM_VARIATE_TEST_SUPPORT_H

#include <functional>
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

#endif
