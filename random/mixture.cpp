// Mixtures of variates: the selection nodes, the operators that make them,
// and MixedRandom.
#include "random/mixture.h"

#include <algorithm>
#include <new>

#include <newmat/myexcept.h>

#include "random/allocate.h"

using RBD_COMMON::Logic_error;

// ---------------------------------------------------------------------------
// Selection nodes.

SelectedRandom& Random::operator()(double p) {
  return *allocate<SelectedRandom>(this, p).release();
}

double SelectedRandom::Next() { throw Logic_error("Vorand: Next not defined"); }

void SelectedRandom::tDelete() {
  component->tDelete();
  delete this;
}

void SelectedRandom::load(int* index, double* probabilities, Random** variates) {
  probabilities[*index] = probability;
  variates[*index] = component;
  ++*index;
  delete this;
}

double AddedSelectedRandom::Next() { throw Logic_error("Vorand: Next not defined"); }

void AddedSelectedRandom::tDelete() {
  left->tDelete();
  right->tDelete();
  delete this;
}

int AddedSelectedRandom::nelems() const { return left->nelems() + right->nelems(); }

void AddedSelectedRandom::load(int* index, double* probabilities, Random** variates) {
  left->load(index, probabilities, variates);
  right->load(index, probabilities, variates);
  delete this;
}

namespace {

AddedSelectedRandom& added(Random& x, Random& y) {
  return *allocate<AddedSelectedRandom>(&x, &y).release();
}

}  // namespace

AddedSelectedRandom& operator+(SelectedRandom& x, SelectedRandom& y) { return added(x, y); }
AddedSelectedRandom& operator+(SelectedRandom& x, AddedSelectedRandom& y) { return added(x, y); }
AddedSelectedRandom& operator+(AddedSelectedRandom& x, SelectedRandom& y) { return added(x, y); }
AddedSelectedRandom& operator+(AddedSelectedRandom& x, AddedSelectedRandom& y) {
  return added(x, y);
}

// ---------------------------------------------------------------------------
// The mixture.

MixedRandom::MixedRandom(AddedSelectedRandom& expression) : n(expression.nelems()) {
  std::vector<double> probabilities;
  try {
    probabilities.resize(n);
    components.resize(n);
  } catch (const std::bad_alloc&) {
    expression.tDelete();  // nothing read yet: the nodes and components go together
    throw_out_of_space();
  }
  int index = 0;
  expression.load(&index, probabilities.data(), components.data());
  try {
    Build(probabilities.data());
  } catch (...) {
    for (Random* c : components) c->tDelete();
    throw;
  }
}

MixedRandom::MixedRandom(int count, const double* probabilities, Random* const* variates)
    : n(count) {
  const int given = std::max(n, 0);
  try {
    try {
      components.assign(variates, variates + given);
    } catch (const std::bad_alloc&) {
      throw_out_of_space();
    }
    Build(probabilities);
  } catch (...) {
    for (int i = 0; i < given; ++i) variates[i]->tDelete();
    throw;
  }
}

MixedRandom::~MixedRandom() {
  for (Random* c : components) c->tDelete();
}

// The mean is sum p[i] m[i], the variance sum p[i] (v[i] + (m[i] - mean)^2),
// each accumulated in index order from 0.
void MixedRandom::Build(const double* p) {
  selector = allocate<DiscreteGen>(n, p);
  ExtReal mean = 0.0;
  for (int i = 0; i < n; ++i) mean = mean + components[i]->Mean() * p[i];
  ExtReal variance = 0.0;
  for (int i = 0; i < n; ++i) {
    const ExtReal d = components[i]->Mean() - mean;
    variance = variance + (components[i]->Variance() + d * d) * p[i];
  }
  mean_value = mean;
  variance_value = variance;
}

double MixedRandom::Next() {
  const int i = static_cast<int>(selector->Next());
  return components[i]->Next();
}

const char* MixedRandom::Name() { return "MixedRandom"; }
