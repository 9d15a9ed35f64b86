// Draws in double precision over the procedural variate library: every
// uniform is a ranf() of the combined generator (stats/varlib/com.h), the
// continuous draws go through snorm and gengam (stats/varlib/varlib.h).
//
// The statistics helpers (namespace stathelp) have functions of several of
// these names with other arguments, drawing from the random-number
// library's current generator instead: qualify calls.
#ifndef VORDEL_STATS_VARLIB_DRAWS_H
#define VORDEL_STATS_VARLIB_DRAWS_H

namespace numlib {

// ranf() widened to double.
double runif();

// snorm() sd + mu.
double rnorm(const double* mu, const double* sd);

// gengam(rate, shape), both rounded to float, widened to double: a gamma
// deviate of the given shape and rate.
double rgamma(double shape, double rate);

// Draws g_i = gengam(1, alpha[i]) for i = 0..*k-1 in order and sets
// out[i] = (g_i + 0.01 s) / ((0.01 k + 1) s), s the sum of the g_i: a
// Dirichlet draw with a pseudo-share of 0.01 added to every component, so
// that none is 0 and they still sum to 1.  *k <= 0 does nothing.
void rdirichlet(double* out, const double* alpha, const int* k);

// Uniform choice in 1..n as floor(n u) + 1 with u = ranf() (n rounded to a
// float, the product in double), at most n (ranf() can be 1.0); 0 for
// n < 1.  One ranf() in every case.
int rmultinom_unif_fast(int n);

// Uniform choice in 1..n by subtracting 1/n from u = ranf() until it is 0
// or below, at most n subtractions; 0 for n < 1.  One ranf() in every
// case.
int rmultinom_unif(int n);

// *out = the 1-based category among p[0..ncat-1] chosen by subtracting the
// p[i] in order from u = ranf() until it is 0 or below; ncat when they sum
// to less than u, 0 when ncat < 1.  One ranf() in every case.
void rmultinom(int* out, const double* p, int ncat);

}  // namespace numlib

#endif
