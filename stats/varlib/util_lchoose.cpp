// Log binomial coefficients through the log-gamma function.
#include "stats/varlib/util.h"

#include "stats/distfuncs/log_gamma.h"

namespace numlib {

double lchoose(double n, double k) {
  const double n1 = n + 1.0, nk1 = n - k + 1.0, k1 = k + 1.0;
  return alngam(&n1) - (alngam(&nk1) + alngam(&k1));
}

float lchoosef(float n, float k) {
  const float nk = n - k;
  const float kp1 = k + 1.0f;
  const double n1 = n + 1.0, nk1 = nk + 1.0, k1 = kp1;
  return static_cast<float>(alngam(&n1) - (alngam(&nk1) + alngam(&k1)));
}

}  // namespace numlib
