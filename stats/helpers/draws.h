// Random draws over the current generator: discrete choices, samples
// without replacement, and gamma, chi-square, beta, Dirichlet and Wishart
// variates.  Every uniform is one Random::RNG->Next(), taken in the order
// each function documents; the continuous draws go through the variates
// Gamma, ChiSq and Normal of random/vorand2.h, built for the call.  A draw
// before a generator is installed raises the placeholder's Runtime_error.
//
// Choices by subtraction: a uniform u is reduced by the weights in order
// until it is 0 or below; the choice is the entry that got it there.
// Errors are newmat's exception classes (RBD_COMMON::Logic_error, ...).
//
// The procedural library (namespace numlib) has functions of several of
// these names with other arguments: qualify calls.
#ifndef VORDEL_STATS_HELPERS_DRAWS_H
#define VORDEL_STATS_HELPERS_DRAWS_H

#include <functional>
#include <map>
#include <vector>

namespace NEWMAT {
class SymmetricMatrix;
}

namespace stathelp {

// Entries chosen with probability weight / total, largest weight first.
using WeightedEntries = std::multimap<double, std::vector<int>, std::greater<double>>;

// Uniform choice in 1..n by subtracting 1/n from one uniform u; 0 when
// n < 1 or u <= 0 (the uniform is drawn in every case).
int rmultinom_unif(int n);

// 1-based index of the entry of *p chosen by subtraction from one uniform;
// the size of *p when the entries sum to less than u; 0 for an empty vector
// or u <= 0 (the uniform is drawn in every case).
int rmultinom(const std::vector<double>* p);

// The entry chosen by subtracting weight / total from one uniform, walking
// from the largest weight; the last entry when the shares sum to less than
// u.  Throws Logic_error for an empty map (before drawing) or a uniform
// u <= 0, which chooses nothing.
WeightedEntries::iterator rmultinom(WeightedEntries* entries, double total);

// Sets out[i] = i for i < M and fills out[M..p-1] with p - M distinct values
// drawn from M..N-1: each pick is one uniform, choosing among the remaining
// candidates in ascending order as rmultinom_unif does.  *out is grown to p
// entries when shorter.  When p is not within [M, N] (or M < 0) writes
// "need p >= M and p <= N in samp function" and a newline to standard output
// and returns without drawing or writing.  Throws Logic_error for a uniform
// u <= 0.
void samp(int N, int M, int p, std::vector<int>* out);

// The same for pairs: fills out[M..] with (p - M) / 2 distinct pairs
// (v, v + 1), v drawn from M, M + 2, ... with v + 1 < N.
void samp1(int N, int M, int p, std::vector<int>* out);

// Central chi-square with df degrees of freedom (one ChiSq draw).
double genchi(int df);
// Gamma with the given shape and rate (one Gamma draw divided by the rate).
double rgamma(double shape, double rate);

// Draws g_i from Gamma(alpha[i]) for i = 0..*k-1 in order and sets
// out[i] = (g_i + 0.01 s) / ((0.01 k + 1) s), s the sum of the g_i: a
// Dirichlet draw with a pseudo-share of 0.01 added to every component, so
// that none is 0 and they still sum to 1.  *k <= 0 does nothing.  When
// draws of small shapes underflow and the sum is too small to make up for
// it (below 2^-950), the shares g_i / s come from the draws' logarithms;
// where every one of those passes -DBL_MAX (shapes below about 1e-306, the
// subnormal ones included), from the logarithms times the shapes
// (Gamma::NextWithLog).  At such shapes the draw has one component with all
// of the share, component i with probability alpha_i / (sum of alpha).
void rdirichlet(double* out, const double* alpha, const int* k);

// Beta(a, b) as x / (x + y) for x from Gamma(a) and then y from Gamma(b);
// from the draws' logarithms when either falls below DBL_MIN (small
// shapes), so that a small result keeps its digits and 0 or 1 comes only
// where the beta draw rounds to it.
double genbet(float a, float b);

// Wishart draw with df degrees of freedom and scale *S by the Bartlett
// decomposition; with inverse, an inverse Wishart draw with scale *S (the
// inverse of a Wishart draw with scale S^-1).  Draws, for each row i = 1..p
// in order, one ChiSq(df - i + 1) value and then the normals right of the
// diagonal.  Throws newmat's exceptions when S is singular or not positive
// definite, and Logic_error when df < p.
void rwish(NEWMAT::SymmetricMatrix* out, int df, const NEWMAT::SymmetricMatrix* S, bool inverse);

}  // namespace stathelp

#endif
