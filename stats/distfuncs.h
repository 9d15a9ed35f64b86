// Cumulative distribution functions and their inverses.
//
// Every argument is passed by address.  `which` selects what is computed
// from the others; `status` is 0 on success and `bound` reports the limit
// that was violated or reached on failure.
#ifndef VORDEL_STATS_DISTFUNCS_H
#define VORDEL_STATS_DISTFUNCS_H

namespace numlib {

// Chi-square distribution: which 1 computes P and Q from X and DF, 2 X from
// P, Q and DF, 3 DF from P, Q and X.
void cdfchi(int* which, double* p, double* q, double* x, double* df, int* status,
            double* bound);

}  // namespace numlib

#endif
