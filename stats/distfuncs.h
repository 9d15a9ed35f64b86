// Cumulative distribution functions and their inverses: the one public
// header of the distribution functions, one implementation file per family
// (chisq.cpp, ...).
//
// Every argument is passed by address.  `which` selects what is computed
// from the others; only the sought quantities, status and bound are written.
// `status` is 0 on success and `bound` reports the limit that was violated
// or reached on failure:
//   -1       which out of range (bound 1 when too small, else the largest which)
//   -k       the k-th argument out of its domain or not a number (bound the
//            violated limit); the sought quantity is not checked
//    1, 2    the search ended at the lower or upper end of its range (bound
//            that end)
//    3       P + Q differs from 1 by more than 3 machine epsilons
//    4       the second complementary pair (X + Y, PR + OMPR) likewise
//   10       an inner routine reported an error (bound not written)
// The checks are in cdf_checks.h and the inverse searches in search_loops.h.
// Computing P and Q (which 1) keeps nothing in static storage and is
// reentrant; an inverse case runs the one search engine of the process
// (search.h), so one at a time.
#ifndef VORDEL_STATS_DISTFUNCS_H
#define VORDEL_STATS_DISTFUNCS_H

namespace numlib {

// Chi-square distribution: which 1 computes P and Q from X and DF, 2 X from
// P, Q and DF, 3 DF from P, Q and X.  X >= 0, DF > 0 (any real), P in
// [0, 1], Q in (0, 1]; for which 1, P and Q are neither read nor checked.
// The inverses search from 5.0 to relative accuracy 1e-8, X in [0, 1e300]
// and DF in [1e-300, 1e300].
void cdfchi(int* which, double* p, double* q, double* x, double* df, int* status, double* bound);

// cum = P and ccum = Q of the chi-square distribution with df degrees of
// freedom at x (cum = 2.0 when the incomplete gamma ratio fails).
void cumchi(const double* x, const double* df, double* cum, double* ccum);

}  // namespace numlib

#endif
