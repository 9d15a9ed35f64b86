// Wishart and inverse Wishart draws by the Bartlett decomposition.
#include "stats/helpers/draws.h"

#include <newmat/newmat.h>
#include <newmat/newmatap.h>

#include <cmath>

#include "random/vorand2.h"

namespace stathelp {

using NEWMAT::SymmetricMatrix;
using NEWMAT::UpperTriangularMatrix;

void rwish(SymmetricMatrix* out, int df, const SymmetricMatrix* S, bool inverse) {
  const int p = S->Nrows();
  Normal normal;
  // U'U is the scale of the Wishart draw: S, or S^-1 for an inverse draw.
  SymmetricMatrix scale;
  if (inverse) {
    scale = S->i();
  } else {
    scale = *S;
  }
  const NEWMAT::LowerTriangularMatrix L = NEWMAT::Cholesky(scale);
  UpperTriangularMatrix U = L.t();
  // B'B is a Wishart draw with identity scale.
  UpperTriangularMatrix B(p);
  for (int i = 1; i <= p; ++i) {
    ChiSq chi_square(df - i + 1, 0.0);
    B(i, i) = std::sqrt(chi_square.Next());
    for (int j = i + 1; j <= p; ++j) B(i, j) = normal.Next();
  }
  U = B * U;
  SymmetricMatrix M(p);
  M << U.t() * U;
  if (inverse) M = M.i();
  *out = M;
}

}  // namespace stathelp
