// Regular expressions for death-test messages given as plain text.
#ifndef VORDEL_TESTS_STATS_VARLIB_EXACT_MESSAGE_H
#define VORDEL_TESTS_STATS_VARLIB_EXACT_MESSAGE_H

#include <string>

// A regular expression for text exactly, or with a trailing '*' for a prefix;
// each '#' stands for any one character.
inline std::string quoted(const std::string& text) {
  std::string re = "^";
  for (char c : text.substr(0, text.size() - (text.back() == '*')))
    re += c == '#'
              ? "."
              : std::string(std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos, '\\') + c;
  return text.back() == '*' ? re : re + "$";
}

#endif
