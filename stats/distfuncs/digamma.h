// The digamma function psi(x) = d/dx ln Gamma(x), by the rational
// approximations of Cody, Strecok and Thacher, with the reflection
// psi(1 - x) = psi(x) + pi cot(pi x) below 0.5.
//
// psi(x) returns 0 where it cannot give a value: at x = 0, at the negative
// integers, and for x <= -xmax1, where xmax1 = min(largest int,
// 1/epsilon) = 2147483647 bounds the integer reduction of the reflection.
// The argument is passed by address and only read.
#ifndef VORDEL_STATS_DISTFUNCS_DIGAMMA_H
#define VORDEL_STATS_DISTFUNCS_DIGAMMA_H

namespace numlib {

double psi(const double* x);

}  // namespace numlib

#endif
