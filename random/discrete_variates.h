// Integer-valued variates of the random-number library, returned as doubles
// holding whole numbers:
//
//   MT generator(0.5);
//   Random::Set(generator);
//   double p[] = {0.2, 0.3, 0.5};
//   DiscreteGen d(3, p);          // 0, 1 or 2 with these probabilities
//   Poisson k(4.5);
//   Binomial b(100, 0.3);
//   double x = d.Next() + k.Next() + b.Next();
//
// Contents, by family:
//   alias table        DiscreteGen                          (discrete_gen.cpp)
//   Poisson            Poisson, Poisson1, Poisson2          (poisson.cpp)
//   binomial           Binomial, Binomial1, Binomial2       (binomial.cpp)
//   negative binomial  NegativeBinomial                     (negative_binomial.cpp)
//
// Poisson and Binomial choose their implementation by the mean: the table
// method on a step density (Poisson1, Binomial1, on AsymGen) when it is
// large, an alias table over the first 40 outcomes (Poisson2, Binomial2)
// when it is small.
//
// Parameters out of range (a count below 0, a probability outside [0, 1], a
// negative mean, a shape or odds of 0 or below, NaN) throw Logic_error
// "Vorand: illegal parameters" at construction.  Probabilities that do not
// add to 1 throw Runtime_error from the alias table's construction; table
// failures of the table method (random/vorand2.h) come at the first draw.
// These classes own their tables and parts and are not copyable.
#ifndef VORDEL_RANDOM_DISCRETE_VARIATES_H
#define VORDEL_RANDOM_DISCRETE_VARIATES_H

#include <memory>
#include <vector>

#include "random/extreal.h"
#include "random/vorand1.h"
#include "random/vorand2.h"

// ---------------------------------------------------------------------------
// Alias table (Walker's method).

// A finite distribution over n outcomes: 0 .. n-1, or the given values.
// Each draw takes exactly two uniforms: the first picks one of n equal
// cells, the second decides between the cell's own outcome and its alias.
// n <= 0 throws Logic_error "Vorand: illegal parameters".  The probabilities
// must add to 1 within 1e-5: a negative one or a sum above that throws
// Runtime_error "Vorand: probs don't add to 1 (a)", a sum below it "Vorand:
// probs don't add to 1 (b)".  The caller keeps its arrays.
class DiscreteGen : public Random {
 public:
  DiscreteGen(int n, const double* p);
  DiscreteGen(int n, const double* p, const double* val);
  DiscreteGen(const DiscreteGen&) = delete;
  DiscreteGen& operator=(const DiscreteGen&) = delete;

  double Next() override;
  const char* Name() override;  // "DiscreteGen"
  ExtReal Mean() const override { return mean_value; }
  ExtReal Variance() const override { return variance_value; }

  // The table: a draw landing in cell i takes alias[i] with probability
  // alias_prob[i], else i.
  const std::vector<double>& AliasProbabilities() const { return alias_prob; }
  const std::vector<int>& Aliases() const { return alias; }

 private:
  void Gen(int n, const double* p);  // builds the table

  std::vector<double> alias_prob;
  std::vector<int> alias;
  int n = 0;
  std::vector<double> values;  // empty: the outcomes are the indices
  double mean_value = 0.0;
  double variance_value = 0.0;
};

// ---------------------------------------------------------------------------
// Poisson.

// Poisson with mean mu >= 0: Poisson1 when mu > 8, else Poisson2.
class Poisson : public Random {
 public:
  explicit Poisson(double mu);
  Poisson(const Poisson&) = delete;
  Poisson& operator=(const Poisson&) = delete;
  double Next() override { return implementation->Next(); }
  const char* Name() override;  // "Poisson"
  ExtReal Mean() const override { return implementation->Mean(); }
  ExtReal Variance() const override { return implementation->Variance(); }

 private:
  std::unique_ptr<Random> implementation;
};

// Poisson by the table method on the step density P(floor x), from the
// mode mu.  Meant for large means; a small one may give a table that is too
// short.
class Poisson1 : public AsymGen {
 public:
  explicit Poisson1(double mu);
  double Next() override;                   // floor of the table draw
  double Density(double x) const override;  // 0 where below exp(-40)
  ExtReal Mean() const override { return mu; }
  ExtReal Variance() const override { return mu; }

 private:
  double mu;
  double ln_mu;
};

// Poisson by an alias table over 0 .. 39 (larger outcomes are left out);
// reports the moments of that table.
class Poisson2 : public Random {
 public:
  explicit Poisson2(double mu);
  double Next() override { return table.Next(); }
  ExtReal Mean() const override { return table.Mean(); }
  ExtReal Variance() const override { return table.Variance(); }

 private:
  DiscreteGen table;
};

// ---------------------------------------------------------------------------
// Binomial.

// Binomial with n >= 0 trials of probability p in [0, 1]: Binomial1 when
// n >= 40 and n p > 8, else Binomial2.  p = 0 and p = 1 always give 0 and n,
// without drawing.
class Binomial : public Random {
 public:
  Binomial(int n, double p);
  Binomial(const Binomial&) = delete;
  Binomial& operator=(const Binomial&) = delete;
  double Next() override { return implementation->Next(); }
  const char* Name() override;  // "Binomial"
  ExtReal Mean() const override { return implementation->Mean(); }
  ExtReal Variance() const override { return implementation->Variance(); }

 private:
  std::unique_ptr<Random> implementation;
};

// Binomial by the table method on the step density P(floor x), from the
// mode (n + 1) p.  Meant for large means; needs p < 1.
class Binomial1 : public AsymGen {
 public:
  Binomial1(int n, double p);
  double Next() override;                   // floor of the table draw
  double Density(double x) const override;  // 0 where below exp(-40)
  ExtReal Mean() const override { return n * p; }
  ExtReal Variance() const override { return p * q * n; }

 private:
  double p, q;
  double ln_p, ln_q;
  double log_norm;  // ln Gamma(n + 1)
  int n;
};

// Binomial by an alias table over 0 .. min(n, 39), filled outward from the
// centre floor(n p), which must lie in that range (its probability from
// logarithms from 2^20 trials on, random/binomial_probability.h); reports
// the moments of that table.
class Binomial2 : public Random {
 public:
  Binomial2(int n, double p);
  double Next() override { return table.Next(); }
  ExtReal Mean() const override { return table.Mean(); }
  ExtReal Variance() const override { return table.Variance(); }

 private:
  DiscreteGen table;
};

// ---------------------------------------------------------------------------
// Negative binomial.

// The number of failures before the N-th success when each trial fails
// with odds P to 1 (success probability 1 / (1 + P)); N > 0 need not be a
// whole number.  Mean N P, variance N P (1 + P).  By the table method on the
// step density, from the mode (N - 1) P, or 0 when that is below 1.  Below
// odds of 1e-8, where 1 - 1 / (1 + P) loses digits, ln p and ln(1 - p) are
// taken from log1p(P).  From N = 2^20 on, where ln Gamma(k + N) - ln Gamma(N)
// would lose about 1e-15 N of the density, the density is taken as a
// Poisson probability and a deviance (random/negative_binomial_probability.h).
class NegativeBinomial : public AsymGen {
 public:
  NegativeBinomial(double N, double P);
  double Next() override;                   // floor of the table draw
  const char* Name() override;              // "NegativeBinomial"
  double Density(double x) const override;  // 0 where below exp(-40)
  ExtReal Mean() const override { return shape_n * odds; }
  ExtReal Variance() const override { return shape_n * odds * q; }

 private:
  double shape_n, odds;
  double q;         // 1 + P
  double p;         // 1 / q
  double ln_q;      // ln(1 - p)
  double log_norm;  // N ln p - ln Gamma(N); the density does not use it from N = 2^20 on
};

#endif
