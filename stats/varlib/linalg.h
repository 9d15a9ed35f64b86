// Single-precision linear-algebra kernels of the procedural library: a dot
// product and a Cholesky factorisation, in the order of operations of the
// LINPACK routines of the same names.  Arrays are 0-based in memory; the
// descriptions count from 1.
#ifndef VORDEL_STATS_VARLIB_LINALG_H
#define VORDEL_STATS_VARLIB_LINALG_H

#include <cstdint>

namespace numlib {

// Sum of sx[ix] sy[iy] over n pairs, ix and iy stepping by incx and incy
// from 1, or from (1 - n) inc + 1 for a negative increment (so the pairs
// are the same, taken from the other end).  With both increments 1 the
// first n mod 5 products are summed in order, then the rest five at a
// time, each group summed first.  n < 1 gives 0.
float sdot(std::int64_t n, const float* sx, std::int64_t incx, const float* sy, std::int64_t incy);

// Factors the symmetric positive-definite n x n matrix a (column order,
// leading dimension lda; only the upper triangle is read) in place as
// a = R'R, R upper triangular, column by column.  *info = 0 on success,
// else the column j whose pivot a[j][j] - (sum of squares above it) is not
// positive (or not a number); columns from j on are then partly
// overwritten.  n < 1 gives *info = 0.
void spofa(float* a, std::int64_t lda, std::int64_t n, std::int64_t* info);

}  // namespace numlib

#endif
