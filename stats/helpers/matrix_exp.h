// The matrix exponential exp(t (A - I)) by a truncated power series.
#ifndef VORDEL_STATS_HELPERS_MATRIX_EXP_H
#define VORDEL_STATS_HELPERS_MATRIX_EXP_H

#include <vector>

namespace stathelp {

// Replaces the square matrix *a (a vector of n rows of n entries) by
// exp(t (A - I)) = exp(-t) (I + sum over k = 1..99 of t^k A^k / k!): always
// exactly 99 terms, each one n x n matrix product.
//
// The series has converged only when t times the size of A is moderate.
// Throws newmat's Runtime_error, leaving *a unchanged, when the last term is
// not negligible beside the sum (any entry above 1e-12 times the largest
// entry of the sum) or an entry is not finite; Logic_error when a row's
// length differs from the number of rows.
void matrix_exp(std::vector<std::vector<double>>* a, double t);

}  // namespace stathelp

#endif
