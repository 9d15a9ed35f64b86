// Probability densities and log-densities, in double precision.  lgamma is
// std::lgamma (the log of |Gamma|).  The constants are rounded as this
// library has always used them: 2 pi = 6.283185308, sqrt(2 pi) =
// 2.5066282747946493, ln pi = 1.144729885979973, so the normal and Wishart
// forms differ from exact values in about the tenth significant digit.
//
// Nothing is checked: an x outside the support (x <= 0 for the gamma and
// inverse chi-square forms, x outside (0, 1) for the beta form) gives the
// NaN or infinity of the logarithm.  The matrix forms raise newmat's
// exceptions for a singular matrix.
//
// The procedural library's dnorm, dgamma and ddirichlet (numlib,
// stats/varlib/util.h), which take their arguments in another order,
// forward to the ones here.
#ifndef VORDEL_STATS_HELPERS_DENSITIES_H
#define VORDEL_STATS_HELPERS_DENSITIES_H

namespace NEWMAT {
class ColumnVector;
class SymmetricMatrix;
}  // namespace NEWMAT

namespace stathelp {

// Normal density with mean *mu and standard deviation *sd.
double dnorm(double x, const double* mu, const double* sd);
// Log normal density with mean mu and variance v.
double log_dnorm(double x, double mu, double v);

// Gamma density with shape a and rate b: its log when flag != 0.
double dgamma(double x, double a, double b, int flag);
double log_dgamma(double x, double a, double b);

double log_dbeta(double x, double a, double b);

// Scaled inverse chi-square with nu degrees of freedom and scale s2.
double log_dscaled_Inv_Chi_Squared(double x, double nu, double s2);

// Log Dirichlet density of the *k values x with parameters alpha; k <= 0
// gives lgamma(0), an infinity.
double ddirichlet(const double* x, const double* alpha, const int* k);

// Log inverse Wishart density of W with nu degrees of freedom and scale S.
// The 2 x 2 form takes each matrix as its entries (m11, m12, m22).
double log_inverse_Wishart_density_2D(const double* W, double nu, const double* S);
double log_inverse_Wishart_density(const NEWMAT::SymmetricMatrix* W, double nu,
                                   const NEWMAT::SymmetricMatrix* S);

// Log multivariate normal density of x with mean mu and covariance Sigma:
// -0.5 (d ln(2 pi) + ln det Sigma + (x - mu)' Sigma^-1 (x - mu)), d the
// number of rows of x.
double log_mvt_norm_density(const NEWMAT::ColumnVector* x, const NEWMAT::ColumnVector* mu,
                            const NEWMAT::SymmetricMatrix* Sigma);

}  // namespace stathelp

#endif
