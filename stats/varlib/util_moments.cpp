// The running moments, forwarded to their one implementation among the
// statistics helpers.
#include "stats/varlib/util.h"

#include "stats/helpers/moments.h"

namespace numlib {

void sequential_mean(double* mean, const double* x, double n) {
  stathelp::sequential_mean(mean, x, n);
}

void sequential_mean_vec(double* mean, const double* x, double n, int length) {
  stathelp::sequential_mean_vec(mean, x, n, length);
}

void sequential_variance(double* v, const double* mean, const double* x, double n) {
  stathelp::sequential_variance(v, mean, x, n);
}

void sequential_variance_vec(double* v, const double* mean, const double* x, double n, int length) {
  stathelp::sequential_variance_vec(v, mean, x, n, length);
}

void sequential_sd(double* s, const double* mean, const double* x, double n) {
  stathelp::sequential_sd(s, mean, x, n);
}

void sequential_sd_vec(double* s, const double* mean, const double* x, double n, int length) {
  stathelp::sequential_sd_vec(s, mean, x, n, length);
}

}  // namespace numlib
