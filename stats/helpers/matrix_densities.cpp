// The densities of matrix and vector arguments, through newmat.
#include "stats/helpers/densities.h"

#include <newmat/newmat.h>

#include <cmath>

namespace stathelp {

using NEWMAT::ColumnVector;
using NEWMAT::SymmetricMatrix;

namespace {
constexpr double kLn2 = 0.6931471805599453;
constexpr double kLnPi = 1.144729885979973;
constexpr double kHalfLnPi = 0.5723649429899865;
constexpr double kLnTwoPi = 1.8378770665399184;
}  // namespace

double log_inverse_Wishart_density_2D(const double* W, double nu, const double* S) {
  const double det_w = W[0] * W[2] - W[1] * W[1];
  const double det_s = S[0] * S[2] - S[1] * S[1];
  return -std::lgamma(nu / 2.0) - std::lgamma((nu - 1.0) / 2.0) - (nu * kLn2 + kHalfLnPi) +
         (nu / 2.0) * std::log(det_s) - 0.5 * (nu + 3.0) * std::log(det_w) -
         0.5 * (S[0] * W[2] + S[2] * W[0] - 2.0 * S[1] * W[1]) / det_w;
}

double log_inverse_Wishart_density(const SymmetricMatrix* W, double nu, const SymmetricMatrix* S) {
  const int p = W->Nrows();
  double acc = 0.0;
  for (int i = 0; i < p; ++i) acc -= std::lgamma(0.5 * (nu - i));
  acc -= 0.5 * nu * p * kLn2 + 0.25 * p * (p - 1) * kLnPi;
  // S W^-1 is not symmetric in general; only its diagonal is used.
  SymmetricMatrix s_w_inverse(p);
  s_w_inverse << (*S) * W->i();
  return 0.5 * nu * S->LogDeterminant().LogValue() + acc -
         0.5 * (nu + p + 1.0) * W->LogDeterminant().LogValue() - 0.5 * s_w_inverse.Trace();
}

double log_mvt_norm_density(const ColumnVector* x, const ColumnVector* mu,
                            const SymmetricMatrix* Sigma) {
  const ColumnVector d = *x - *mu;
  const double q = (d.t() * Sigma->i() * d).AsScalar();
  return -0.5 * (x->Nrows() * kLnTwoPi + Sigma->LogDeterminant().LogValue() + q);
}

}  // namespace stathelp
