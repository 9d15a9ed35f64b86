// Sample moments of a vector and running moments updated one observation at
// a time, in double precision.
//
// Batch moments read the first n elements of *x (which must hold at least n)
// and sum from the first element upward, starting at 0.0.  Nothing guards
// small n: n = 0 gives a NaN mean, n = 1 divides by zero in the variance and
// covariance.
//
// Running moments update a slot in place with the observation x; n is the
// sample size counting x.  The variance and standard-deviation slots double
// as storage for the first observation:
//   n == 1   slot = x
//   n == 2   variance 0.5 (slot - x)^2, sd its square root
//   n > 2    the usual update, with `mean` already including x (update the
//            mean with sequential_mean first)
//   other n  (below 1, strictly between 1 and 2, NaN) the slot is unchanged.
// The _vec forms apply the same rule to elements 0..length-1 with one n.
//
// These running moments are the only implementation in the project: the
// procedural library's functions of the same names and arguments
// (numlib::sequential_mean, ..._vec, numlib::sequential_variance, ...,
// numlib::sequential_sd_vec, stats/varlib/util.h) forward to the ones here.
#ifndef VORDEL_STATS_HELPERS_MOMENTS_H
#define VORDEL_STATS_HELPERS_MOMENTS_H

#include <vector>

namespace stathelp {

double meanvec(const std::vector<double>* x, int n);
double varvec(const std::vector<double>* x, double mean, int n);
double varvec1(const std::vector<double>* x, int n);
double covvec(const std::vector<double>* x, const std::vector<double>* y, double mean_x,
              double mean_y, int n);
double covvec1(const std::vector<double>* x, const std::vector<double>* y, int n);

// mean = ((n - 1) mean + x) / n.
void sequential_mean(double* mean, const double* x, double n);
void sequential_mean_vec(double* mean, const double* x, double n, int length);

// v = v (n - 2) / (n - 1) + n (x - mean)^2 / (n - 1)^2 for n > 2.
void sequential_variance(double* v, const double* mean, const double* x, double n);
void sequential_variance_vec(double* v, const double* mean, const double* x, double n, int length);

// s = sqrt((n - 2) s^2 / (n - 1) + n (x - mean)^2 / (n - 1)^2) for n > 2.
void sequential_sd(double* s, const double* mean, const double* x, double n);
void sequential_sd_vec(double* s, const double* mean, const double* x, double n, int length);

}  // namespace stathelp

#endif
