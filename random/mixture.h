// Finite mixtures of variates: each draw picks one of n component variates
// with given probabilities and returns that component's draw.
//
//   Normal z;
//   Exponential e;
//   MixedRandom m(z(0.3) + e(0.7));  // z with probability 0.3, else e
//   double x = m.Next();             // two uniforms pick the component,
//                                    // then the component's own draw
//   double p[] = {0.3, 0.7};
//   Random* parts[] = {&z, &e};
//   MixedRandom same(2, p, parts);   // the same mixture from arrays
//
// x(p) (Random::operator()(double), random/vorand1.h) makes a selection
// node on the heap pairing the variate x with the probability p, and + on
// two selection nodes a sum node.  A MixedRandom built from such a sum
// reads it left to right, and each node frees itself as it is read: the
// expression must not be used again.  An expression given to no MixedRandom
// is freed by its root's tDelete().  Nodes cannot be drawn from: their Next
// throws Logic_error "Vorand: Next not defined".  Only selection nodes can be
// read as a mixture: Random::load throws Logic_error "Vorand: illegal
// combination".
//
// Ownership: a MixedRandom calls tDelete() on each of its components when
// it is destroyed, and also when its constructor throws.  A component that
// is an expression of random/arithmetic.h is freed then; an ordinary
// variate is left alone: it stays the caller's and must outlive the
// mixture.
//
// Errors come from the alias table that picks the components
// (random/discrete_variates.h): n <= 0 throws Logic_error "Vorand: illegal
// parameters", probabilities that do not add to 1 within 1e-5 Runtime_error
// "Vorand: probs don't add to 1 (a)" or "(b)".  Bad_alloc "Vorand: out of
// space" when memory runs out.
#ifndef VORDEL_RANDOM_MIXTURE_H
#define VORDEL_RANDOM_MIXTURE_H

#include <memory>
#include <vector>

#include "random/discrete_variates.h"
#include "random/extreal.h"
#include "random/vorand1.h"

// A variate paired with its probability in a mixture; made by x(p).
class SelectedRandom : public Random {
 public:
  SelectedRandom(Random* component, double probability)
      : component(component), probability(probability) {}
  SelectedRandom(const SelectedRandom&) = delete;
  SelectedRandom& operator=(const SelectedRandom&) = delete;

  double Next() override;   // throws Logic_error "Vorand: Next not defined"
  void tDelete() override;  // the component's tDelete(), then frees this node
  // Writes the probability and the component at position *index, advances
  // *index, then frees this node.
  void load(int* index, double* probabilities, Random** variates) override;

 private:
  Random* component;
  double probability;
};

// The sum of two selection nodes (each a SelectedRandom or an
// AddedSelectedRandom); made by +.
class AddedSelectedRandom : public Random {
 public:
  AddedSelectedRandom(Random* left, Random* right) : left(left), right(right) {}
  AddedSelectedRandom(const AddedSelectedRandom&) = delete;
  AddedSelectedRandom& operator=(const AddedSelectedRandom&) = delete;

  double Next() override;       // throws Logic_error "Vorand: Next not defined"
  void tDelete() override;      // both sides' tDelete(), left first, then frees this node
  int nelems() const override;  // the number of selections below it
  // Loads the left side, then the right side, then frees this node.
  void load(int* index, double* probabilities, Random** variates) override;

 private:
  Random* left;
  Random* right;
};

AddedSelectedRandom& operator+(SelectedRandom& x, SelectedRandom& y);
AddedSelectedRandom& operator+(SelectedRandom& x, AddedSelectedRandom& y);
AddedSelectedRandom& operator+(AddedSelectedRandom& x, SelectedRandom& y);
AddedSelectedRandom& operator+(AddedSelectedRandom& x, AddedSelectedRandom& y);

// A draw takes two uniforms to pick component i (an alias table over the
// probabilities), then component i's draw.  The mean and variance are the
// mixture's, from the components' moments in ExtReal arithmetic: a
// component without finite moments makes them infinite, indefinite or
// Missing as the codes combine.
class MixedRandom : public Random {
 public:
  // The mixture an expression of selections describes, in the expression's
  // left-to-right order.  Consumes the expression.
  explicit MixedRandom(AddedSelectedRandom& expression);
  // Component i is variates[i] with probability probabilities[i], for i < n.
  // The caller keeps its arrays.
  MixedRandom(int n, const double* probabilities, Random* const* variates);
  MixedRandom(const MixedRandom&) = delete;
  MixedRandom& operator=(const MixedRandom&) = delete;
  ~MixedRandom() override;

  double Next() override;
  const char* Name() override;  // "MixedRandom"
  ExtReal Mean() const override { return mean_value; }
  ExtReal Variance() const override { return variance_value; }

 private:
  // Builds the alias table and the moments.
  void Build(const double* probabilities);

  int n;
  std::unique_ptr<DiscreteGen> selector;
  std::vector<Random*> components;  // each released by its tDelete()
  ExtReal mean_value = Missing;
  ExtReal variance_value = Missing;
};

#endif
