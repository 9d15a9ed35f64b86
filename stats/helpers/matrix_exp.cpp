#include "stats/helpers/matrix_exp.h"

#include <newmat/newmat.h>

#include <cmath>

namespace stathelp {

using NEWMAT::IdentityMatrix;
using NEWMAT::Matrix;

namespace {

constexpr int kTerms = 99;
// A last term above this share of the sum's largest entry means the series
// has not converged.
constexpr double kNegligible = 1e-12;

bool all_finite(const Matrix& m) {
  const double* entry = m.Store();
  for (int i = 0; i < m.Storage(); ++i)
    if (!std::isfinite(entry[i])) return false;
  return true;
}

}  // namespace

void matrix_exp(std::vector<std::vector<double>>* a, double t) {
  const int n = static_cast<int>(a->size());
  for (const std::vector<double>& row : *a)
    if (static_cast<int>(row.size()) != n)
      throw RBD_COMMON::Logic_error("matrix_exp: the matrix is not square");
  if (n == 0) return;

  Matrix A(n, n);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) A(i + 1, j + 1) = (*a)[i][j];
  Matrix E = IdentityMatrix(n);
  Matrix P = A;
  Matrix term;
  double num = t;
  double den = 1.0;
  for (int k = 1; k <= kTerms; ++k) {
    term = (num / den) * P;
    E = E + term;
    P = P * A;
    num = num * t;
    den = den * (k + 1);
  }
  // Written so that a NaN counts as not converged.
  const bool converged = term.MaximumAbsoluteValue() <= kNegligible * E.MaximumAbsoluteValue();
  E = E * std::exp(-t);
  if (!converged || !all_finite(E))
    throw RBD_COMMON::Runtime_error(
        "matrix_exp: the power series has not converged or overflowed (t times the matrix is "
        "too large)");

  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) (*a)[i][j] = E(i + 1, j + 1);
}

}  // namespace stathelp
