#include "stats/helpers/moments.h"

#include <cmath>

namespace stathelp {

namespace {

double sum(const std::vector<double>& x, int n) {
  double s = 0.0;
  for (int i = 0; i < n; ++i) s += x[i];
  return s;
}

}  // namespace

double meanvec(const std::vector<double>* x, int n) { return sum(*x, n) / n; }

double varvec(const std::vector<double>* x, double mean, int n) {
  double s = 0.0;
  for (int i = 0; i < n; ++i) {
    const double d = (*x)[i] - mean;
    s += d * d;
  }
  return s / (n - 1);
}

double varvec1(const std::vector<double>* x, int n) { return varvec(x, meanvec(x, n), n); }

double covvec(const std::vector<double>* x, const std::vector<double>* y, double mean_x,
              double mean_y, int n) {
  double s = 0.0;
  for (int i = 0; i < n; ++i) s += ((*x)[i] - mean_x) * ((*y)[i] - mean_y);
  return s / (n - 1);
}

double covvec1(const std::vector<double>* x, const std::vector<double>* y, int n) {
  return covvec(x, y, meanvec(x, n), meanvec(y, n), n);
}

void sequential_mean(double* mean, const double* x, double n) {
  *mean = ((n - 1.0) * *mean + *x) / n;
}

void sequential_mean_vec(double* mean, const double* x, double n, int length) {
  for (int i = 0; i < length; ++i) sequential_mean(&mean[i], &x[i], n);
}

void sequential_variance(double* v, const double* mean, const double* x, double n) {
  if (n == 1.0) {
    *v = *x;
  } else if (n == 2.0) {
    const double d = *v - *x;
    *v = 0.5 * (d * d);
  } else if (n > 2.0) {
    const double d = *x - *mean;
    *v = *v * (n - 2.0) / (n - 1.0) + n * (d * d) / ((n - 1.0) * (n - 1.0));
  }
}

void sequential_variance_vec(double* v, const double* mean, const double* x, double n, int length) {
  for (int i = 0; i < length; ++i) sequential_variance(&v[i], &mean[i], &x[i], n);
}

void sequential_sd(double* s, const double* mean, const double* x, double n) {
  if (n == 1.0) {
    *s = *x;
  } else if (n == 2.0) {
    const double d = *s - *x;
    *s = std::sqrt(0.5 * (d * d));
  } else if (n > 2.0) {
    const double d = *x - *mean;
    *s = std::sqrt((n - 2.0) * *s * *s / (n - 1.0) + n * (d * d) / ((n - 1.0) * (n - 1.0)));
  }
}

void sequential_sd_vec(double* s, const double* mean, const double* x, double n, int length) {
  for (int i = 0; i < length; ++i) sequential_sd(&s[i], &mean[i], &x[i], n);
}

}  // namespace stathelp
