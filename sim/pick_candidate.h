// The pick of a copy source among weighted candidates: one rule, used for
// the segments of the copying simulation (equal weights) and for the
// segments the case disease model conditions on disease alleles.
#ifndef VORDEL_SIM_PICK_CANDIDATE_H
#define VORDEL_SIM_PICK_CANDIDATE_H

#include <cstddef>

// The weights of `count` equally likely candidates, each 1.0 / count; reads
// like a vector of them without storing one.
class EqualWeights {
 public:
  explicit EqualWeights(int count) : count_(count), weight_(1.0 / count) {}
  std::size_t size() const { return static_cast<std::size_t>(count_); }
  double operator[](std::size_t) const { return weight_; }

 private:
  int count_;
  double weight_;
};

// Index of the candidate at which the draw u, less the weights taken in
// candidate order, first reaches zero or below.  A draw that is not positive
// to start with gives -1; one that stays above zero after every weight (the
// weights summing to less than u, by rounding or otherwise) gives the last
// candidate.  `Weights` is a std::vector<double> or EqualWeights.
template <typename Weights>
int pick_candidate(double u, const Weights& weights) {
  if (u <= 0.0) return -1;
  const std::size_t count = weights.size();
  for (std::size_t i = 0; i < count; ++i) {
    u -= weights[i];
    if (u <= 0.0) return static_cast<int>(i);
  }
  return static_cast<int>(count) - 1;
}

// The same for equal weights, with the same result for every u, but
// without a subtraction per candidate: within a binade of u, subtracting
// the weight always takes off the same whole number of ulps, so the steps
// that stay in the binade are taken together.
int pick_candidate(double u, const EqualWeights& weights);

#endif
