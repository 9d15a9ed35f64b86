// Densities, forwarded to the statistics helpers' copies of the same
// formulas, and the normal distribution function with clamped tails.
#include "stats/varlib/util.h"

#include "stats/distfuncs/distfuncs.h"
#include "stats/helpers/densities.h"

namespace numlib {

double dnorm(const double* mu, const double* sd, double x) { return stathelp::dnorm(x, mu, sd); }

double dgamma(int flag, double x, double a, double b) { return stathelp::dgamma(x, a, b, flag); }

double ddirichlet(const double* x, const double* alpha, const int* k) {
  return stathelp::ddirichlet(x, alpha, k);
}

double pnorm(const double* mu, const double* sd, int upper, double x) {
  double z = (x - *mu) / *sd;
  double cum = 0.0, ccum = 0.0;
  if (z > 5.0) {
    cum = 0.9999997;
    ccum = 1.0 - 0.9999997;
  } else if (z < -5.0) {
    cum = 2.86e-7;
    ccum = 0.999999714;
  } else {
    cumnor(&z, &cum, &ccum);
  }
  return upper != 0 ? ccum : cum;
}

}  // namespace numlib
