// Draws whose distribution parameters come with each call, for callers that
// need a new mean at every draw: Poisson, binomial and log-normal.
//
//   MT generator(0.5);
//   Random::Set(generator);
//   VariPoisson poisson;
//   VariBinomial binomial;
//   VariLogNormal log_normal;
//   for (double mu : {0.5, 42.0, 1e4}) {
//     int k = poisson.iNext(mu);
//     int j = binomial.iNext(100, mu / 1e4);
//     double y = log_normal.Next(mu, 0.1 * mu);
//   }
//
// These classes do not derive from Random.  Their uniforms come straight
// from the current generator Random::RNG; their normal draws from a Normal
// member (which shares the process-wide normal table, so the classes are
// not copyable).  Each range of the parameters has its own method, listed
// with the class, and the draws of each method come in the order given.
//
// Parameters out of range (a negative mean, count or probability, a NaN
// probability) throw Logic_error "Vorand: illegal parameters"; the
// log-gamma functions' Invalid_argument errors (random/log_gamma.h) pass
// through.  iNext throws Runtime_error "Cannot convert to integer " when the
// draw, rounded, is not an int (an infinite or NaN draw included), with the
// trace records "Round " and "VariPoisson::iNext " or "VariBinomial::iNext ".
#ifndef VORDEL_RANDOM_VARIABLE_PARAMETER_H
#define VORDEL_RANDOM_VARIABLE_PARAMETER_H

#include "random/discrete_variates.h"
#include "random/vorand2.h"

// Poisson with mean mu, by range of mu:
//   mu = 0           0, without a draw;
//   0 < mu < 10      inversion from 0 (one uniform);
//   10 <= mu < 100   the small-mean method: one uniform, then the
//                    probabilities summed outward from the mode, alternately
//                    one above and one below;
//   100 <= mu < 200  a draw of the Poisson(100) member, then the small-mean
//                    method at mu - 100 (inversion below 10, nothing at 0);
//   200 <= mu < 300  the same with the Poisson(200) member and mu - 200;
//   mu >= 300, NaN   a normal approximation: one uniform chooses between
//                    (c Z + sqrt(s))^2 (probability 2/3) and
//                    Z sqrt(mu - 1/12) + mu, each rounded to the nearest
//                    integer and raised to 0 if negative, for one normal Z.
// A summed search that can no longer gain (the uniform lies so close to 1
// that the rounded sum of the probabilities never passes it) ends at the
// value it has reached.
class VariPoisson {
 public:
  VariPoisson() = default;
  VariPoisson(const VariPoisson&) = delete;
  VariPoisson& operator=(const VariPoisson&) = delete;

  double Next(double mu);  // a whole number
  int iNext(double mu);    // Next(mu) as an int

 private:
  Uniform uniform;  // kept for its place among the members; draws use Random::RNG
  Normal normal;
  Poisson poisson_100{100.0};
  Poisson poisson_200{200.0};
};

// Binomial with n trials of probability p, by range:
//   p > 0.5          n - Next(n, 1 - p);
//   n = 0 or p = 0   0, without a draw;
//   n p <= 10        inversion from 0 (one uniform), from q^n with the
//                    rounding of q = 1 - p made good, so that the terms sum
//                    to 1 within a few roundings at any n;
//   10 < n p <= 200  the small-mean method: one uniform, then the
//                    probabilities summed outward from m = trunc(n p),
//                    alternately one above and one below, from the
//                    probability of m by its saddle-point form
//                    (random/binomial_probability.h), so that the terms
//                    sum to 1 within a few roundings at any n;
//   n p > 200        floor(n p + sqrt(n p (1 - p) - 1/12) Z + 0.5) for one
//                    normal Z, not confined to 0 .. n.
// A summed search that can no longer gain (all n + 1 probabilities summed,
// or the next ones too small to change the sum, without reaching the
// uniform) ends at the highest value it has reached.
class VariBinomial {
 public:
  VariBinomial() = default;
  VariBinomial(const VariBinomial&) = delete;
  VariBinomial& operator=(const VariBinomial&) = delete;

  double Next(int n, double p);  // a whole number
  int iNext(int n, double p);    // Next(n, p) as an int

 private:
  Uniform uniform;  // kept for its place among the members; draws use Random::RNG
  Normal normal;
};

// Log-normal with the given mean and standard deviation: mean exp(-s2 / 2 +
// sqrt(s2) Z) with s2 = ln(1 + (sd / mean)^2), for one normal Z.  The
// parameters are not checked.
class VariLogNormal {
 public:
  VariLogNormal() = default;
  VariLogNormal(const VariLogNormal&) = delete;
  VariLogNormal& operator=(const VariLogNormal&) = delete;

  double Next(double mean, double sd);

 private:
  Normal normal;
};

#endif
