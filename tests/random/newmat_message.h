// What a call throws, for tests of code that reports errors with newmat's
// exception classes (whose text is kept in a static buffer).
#ifndef VORDEL_TESTS_RANDOM_NEWMAT_MESSAGE_H
#define VORDEL_TESTS_RANDOM_NEWMAT_MESSAGE_H

#include <string>

#include <newmat/myexcept.h>

// The text of the newmat exception of type E that f throws, or a note saying
// that f threw something else or nothing.  newmat puts its own banner before
// the message and, when Tracer records are active, "Trace: ..." after it.
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

inline bool ends_with(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

#endif
