// A uniform generator for tests that returns preset values in order, so a
// test can follow every draw of the simulation.
//
//   ScriptedRandom script({0.9, 0.1, 0.5});  // installs itself as current
//   ... code under test draws through Random::RNG->Next() ...
//   EXPECT_EQ(script.draws(), 3);
//
// A draw past the end of the script throws std::logic_error (the test fails
// loudly instead of reading past the preset values).  The destructor puts
// the placeholder generator back when the script is still current.
#ifndef VORDEL_TESTS_COMMON_SCRIPTED_RANDOM_H
#define VORDEL_TESTS_COMMON_SCRIPTED_RANDOM_H

#include <cstddef>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "random/vorand1.h"

class ScriptedRandom : public Random {
 public:
  explicit ScriptedRandom(std::vector<double> values)
      : Random(UniformSource{}), values_(std::move(values)) {
    Random::Set(*this);
  }
  ScriptedRandom(const ScriptedRandom&) = delete;
  ScriptedRandom& operator=(const ScriptedRandom&) = delete;
  ~ScriptedRandom() override {
    if (Random::RNG == this) Random::RNG = Random::Dummy;
  }

  double Next() override {
    if (next_ >= values_.size())
      throw std::logic_error("ScriptedRandom: draw " + std::to_string(next_ + 1) +
                             " requested, but only " + std::to_string(values_.size()) +
                             " values were scripted");
    return values_[next_++];
  }
  const char* Name() override { return "ScriptedRandom"; }

  // Number of values drawn so far.
  std::size_t draws() const { return next_; }
  // Number of scripted values not drawn yet.
  std::size_t remaining() const { return values_.size() - next_; }

 private:
  std::vector<double> values_;
  std::size_t next_ = 0;
};

#endif
