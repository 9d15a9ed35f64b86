// The alias table: a finite distribution drawn with two uniforms a draw.
#include <new>

#include <newmat/myexcept.h>

#include "random/allocate.h"
#include "random/discrete_variates.h"

using RBD_COMMON::Runtime_error;

DiscreteGen::DiscreteGen(int n, const double* p) {
  Gen(n, p);
  double mean = 0.0;
  for (int i = 0; i < n; ++i) mean += i * p[i];
  double variance = 0.0;
  for (int i = 0; i < n; ++i) variance += (i - mean) * (i - mean) * p[i];
  mean_value = mean;
  variance_value = variance;
}

DiscreteGen::DiscreteGen(int n, const double* p, const double* val) {
  Gen(n, p);
  try {
    values.assign(val, val + n);
  } catch (const std::bad_alloc&) {
    throw_out_of_space();
  }
  double mean = 0.0;
  for (int i = 0; i < n; ++i) mean += val[i] * p[i];
  double variance = 0.0;
  for (int i = 0; i < n; ++i) variance += (val[i] - mean) * (val[i] - mean) * p[i];
  mean_value = mean;
  variance_value = variance;
}

// Each of the n passes settles one cell: among the cells still open, the one
// whose probability is least covered (jmin) keeps its own outcome with
// probability n times that remainder and takes the most covered one (jmax)
// as its alias for the rest of its 1/n; jmax's coverage grows by what it
// gave.  Ties go to the last cell in index order.
void DiscreteGen::Gen(int n_cells, const double* p) {
  if (n_cells <= 0) throw RBD_COMMON::Logic_error("Vorand: illegal parameters");
  n = n_cells;
  try {
    alias_prob.assign(n, 0.0);
    alias.assign(n, -1);
  } catch (const std::bad_alloc&) {
    throw_out_of_space();
  }
  const double rn = 1.0 / n;
  int jmin = -1;
  for (int pass = 0; pass < n; ++pass) {
    double dmax = -1.0, dmin = 1.0;
    int jmax = -1;
    jmin = -1;
    for (int i = 0; i < n; ++i) {
      if (alias[i] >= 0) continue;
      const double d = p[i] - alias_prob[i];
      if (d >= dmax) {
        dmax = d;
        jmax = i;
      }
      if (d <= dmin) {
        dmin = d;
        jmin = i;
      }
    }
    if (jmax < 0 || jmin < 0) throw Runtime_error("Vorand: method fails");
    alias[jmin] = jmax;
    alias_prob[jmax] += rn - dmin;
    alias_prob[jmin] = n * (rn - dmin);
    if (alias_prob[jmin] > 1.00001 || alias_prob[jmin] < -1e-5)
      throw Runtime_error("Vorand: probs don't add to 1 (a)");
  }
  // The last cell settled holds what the others left over: more than a
  // trace of it to give away means the probabilities added to less than 1.
  if (alias_prob[jmin] > 1e-5) throw Runtime_error("Vorand: probs don't add to 1 (b)");
}

double DiscreteGen::Next() {
  int i = static_cast<int>(n * Random::RNG->Next());
  const double u = Random::RNG->Next();
  if (alias_prob[i] > u) i = alias[i];
  return values.empty() ? i : values[i];
}

const char* DiscreteGen::Name() { return "DiscreteGen"; }
