// Small numerical utilities of the procedural library: running moments,
// matrix printing, log binomial coefficients, densities and a normal
// distribution function with clamped tails.  They keep no state and check
// nothing.
//
// The statistics helpers (namespace stathelp) have functions of several of
// these names with other arguments: qualify calls.
#ifndef VORDEL_STATS_VARLIB_UTIL_H
#define VORDEL_STATS_VARLIB_UTIL_H

namespace numlib {

// Running moments: the same arguments and update rules as
// stathelp::sequential_mean and its siblings (stats/helpers/moments.h), to
// which they forward.
void sequential_mean(double* mean, const double* x, double n);
void sequential_mean_vec(double* mean, const double* x, double n, int length);
void sequential_variance(double* v, const double* mean, const double* x, double n);
void sequential_variance_vec(double* v, const double* mean, const double* x, double n, int length);
void sequential_sd(double* s, const double* mean, const double* x, double n);
void sequential_sd_vec(double* s, const double* mean, const double* x, double n, int length);

// Matrix printing to standard output by printf: each row's elements (row
// major, m[r cols + c]) as "%f " or "%d ", the row ended by "\n", and one
// more "\n" after the last row.  The 3-D forms print a[(i d2 + j) d3 + k]
// as d1 blocks of d2 rows of d3 elements, each block followed by "\n", and
// one more "\n" at the end.
void print_mat_double(const double* m, int rows, int cols);
void print_mat_int(const int* m, int rows, int cols);
void print_3D_array_double(const double* a, int d1, int d2, int d3);
void print_3D_array_int(const int* a, int d1, int d2, int d3);

// ln of the binomial coefficient n over k, alngam(n + 1) - (alngam(n - k +
// 1) + alngam(k + 1)) (stats/distfuncs/log_gamma.h).  lchoosef forms n - k
// and k + 1 in single precision, the rest in double, and rounds the result
// to a float.
double lchoose(double n, double k);
float lchoosef(float n, float k);

// The normal density of mean *mu and standard deviation *sd at x,
// exp(-0.5 (x - mu)^2 / sd^2) / (2.5066282747946493 sd).
double dnorm(const double* mu, const double* sd, double x);

// The gamma density of shape a and rate b at x, or its log when flag != 0:
// L = a ln b + (a - 1) ln x - b x - lgamma(a), lgamma being ln |Gamma|.
double dgamma(int flag, double x, double a, double b);

// ln of the Dirichlet density of the *k values x with parameters alpha;
// *k <= 0 gives lgamma(0), an infinity.
double ddirichlet(const double* x, const double* alpha, const int* k);

// P(X <= x) for a normal X of mean *mu and standard deviation *sd (its
// complement when upper != 0), by cumnor (stats/distfuncs/distfuncs.h) for
// z = (x - mu) / sd within [-5, 5] or not a number.  Beyond, the tails are
// clamped unevenly: z > 5 gives 0.9999997 and its complement 1 - 0.9999997
// (2.9999999995311555E-07), z < -5 gives 2.86e-7 and 0.999999714.
double pnorm(const double* mu, const double* sd, int upper, double x);

}  // namespace numlib

#endif
