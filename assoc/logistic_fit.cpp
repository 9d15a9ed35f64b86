// Additive logistic regression of case status on allele counts: the
// log-likelihood, its score and Hessian, and the Newton-Raphson fit.
//
// Every function walks the individuals in order (haplotype rows 2i and
// 2i+1, phenotype i) and, inside each individual, the SNPs in ascending
// index order; the sums are accumulated in that order so that results are
// reproducible to the last bit.
#include "assoc/logistic_fit.h"

#include <newmat/newmat.h>

#include <cassert>
#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

namespace single_snp_test {

using NEWMAT::Matrix;

namespace {

// True when every SNP index names a column of every haplotype row.
bool columns_in_range(const Haplotypes& haplotypes, const SnpIndices& snp_indices) {
  if (snp_indices.empty()) return true;
  const int first = *snp_indices.begin();
  const int last = *snp_indices.rbegin();
  if (first < 0) return false;
  for (const std::vector<int>& row : haplotypes) {
    if (last >= static_cast<int>(row.size())) return false;
  }
  return true;
}

// The invariants every model function relies on: a column vector with one
// coefficient per SNP after the intercept, whole individuals, a phenotype
// for each of them and SNP columns that exist.
void check_model_arguments(const Matrix& effect_sizes, const Haplotypes& haplotypes,
                           const Phenotypes& phenotypes, const SnpIndices& snp_indices) {
  assert(effect_sizes.Ncols() == 1);
  assert((effect_sizes.Nrows() - 1) == (int)snp_indices.size());
  assert(haplotypes.size() % 2 == 0);
  assert(phenotypes.size() >= haplotypes.size() / 2);
  assert(columns_in_range(haplotypes, snp_indices));
}

// The coefficients as a plain array: [0] the intercept, [j] the effect of
// the j-th SNP in ascending index order.
std::vector<double> coefficients(const Matrix& effect_sizes) {
  std::vector<double> b(effect_sizes.Nrows());
  for (std::size_t r = 0; r < b.size(); ++r) b[r] = effect_sizes(static_cast<int>(r) + 1, 1);
  return b;
}

// Design vector of individual i: [0] = 1 for the intercept, [j] = the
// allele count at the j-th SNP of the model.
void design_vector(const Haplotypes& haplotypes, std::size_t individual,
                   const SnpIndices& snp_indices, std::vector<int>& design) {
  const std::vector<int>& first = haplotypes[2 * individual];
  const std::vector<int>& second = haplotypes[2 * individual + 1];
  std::size_t j = 0;
  design[j++] = 1;
  for (const int snp : snp_indices) {
    design[j++] = first[snp] + second[snp];
  }
}

// Linear predictor: the SNP effects summed from 0.0 in SNP order, the
// intercept added last.
double linear_predictor(const std::vector<double>& b, const std::vector<int>& design) {
  double lin = 0.0;
  for (std::size_t j = 1; j < b.size(); ++j) lin += b[j] * design[j];
  return b[0] + lin;
}

// A pivot of the Cholesky factorisation of X'X counts as zero below this
// fraction of its diagonal entry, i.e. when a design column's squared
// distance from the span of the columns before it is below this fraction
// of its squared length.  Independent columns of allele counts stay far
// above it (two SNPs that differ in one individual of n leave a fraction
// near 1/n); rounding leaves dependent ones near 1e-16.
constexpr double kRankTolerance = 1e-10;

// The cross-product X'X of the design (row-major), exact in integers.
std::vector<long long> design_cross_product(const Haplotypes& haplotypes,
                                            const SnpIndices& snp_indices) {
  const std::size_t p = snp_indices.size() + 1;
  std::vector<int> design(p);
  std::vector<long long> product(p * p, 0);
  const std::size_t individuals = haplotypes.size() / 2;
  for (std::size_t i = 0; i < individuals; ++i) {
    design_vector(haplotypes, i, snp_indices, design);
    for (std::size_t r = 0; r < p; ++r) {
      for (std::size_t c = 0; c < p; ++c) product[r * p + c] += design[r] * design[c];
    }
  }
  return product;
}

// True when the design columns (intercept and allele counts) are linearly
// independent, judged by a Cholesky factorisation of X'X.
bool has_full_rank(const std::vector<long long>& cross_product, std::size_t p) {
  std::vector<double> factor(p * p, 0.0);
  for (std::size_t j = 0; j < p; ++j) {
    const double diagonal = static_cast<double>(cross_product[j * p + j]);
    double pivot = diagonal;
    for (std::size_t m = 0; m < j; ++m) pivot -= factor[j * p + m] * factor[j * p + m];
    if (!(pivot > kRankTolerance * diagonal)) return false;
    factor[j * p + j] = std::sqrt(pivot);
    for (std::size_t i = j + 1; i < p; ++i) {
      double entry = static_cast<double>(cross_product[i * p + j]);
      for (std::size_t m = 0; m < j; ++m) entry -= factor[i * p + m] * factor[j * p + m];
      factor[i * p + j] = entry / factor[j * p + j];
    }
  }
  return true;
}

// Raises SingularException when the design is rank-deficient.  The Hessian
// X'WX is then singular at every coefficient vector, but rounding can hide
// an inexact dependence (say a SNP whose count is 2 minus another's) from
// the LU solve, which would go on to return meaningless estimates with
// enormous or negative variances.
void check_design_rank(const Haplotypes& haplotypes, const SnpIndices& snp_indices) {
  const std::size_t p = snp_indices.size() + 1;
  const std::vector<long long> cross_product = design_cross_product(haplotypes, snp_indices);
  if (has_full_rank(cross_product, p)) return;
  Matrix singular(static_cast<int>(p), static_cast<int>(p));
  for (std::size_t r = 0; r < p; ++r) {
    for (std::size_t c = 0; c < p; ++c) {
      singular(static_cast<int>(r) + 1, static_cast<int>(c) + 1) =
          static_cast<double>(cross_product[r * p + c]);
    }
  }
  throw NEWMAT::SingularException(singular);
}

// True when every element of m is a finite number.
bool all_finite(const Matrix& m) {
  for (int r = 1; r <= m.Nrows(); ++r) {
    for (int c = 1; c <= m.Ncols(); ++c) {
      if (!std::isfinite(m(r, c))) return false;
    }
  }
  return true;
}

}  // namespace

double loglikelihood_function(const Matrix& effect_sizes, const Haplotypes& haplotypes,
                              const Phenotypes& phenotypes, const SnpIndices& snp_indices) {
  check_model_arguments(effect_sizes, haplotypes, phenotypes, snp_indices);
  const std::vector<double> b = coefficients(effect_sizes);
  std::vector<int> design(b.size());

  double loglikelihood = 0.0;
  const std::size_t individuals = haplotypes.size() / 2;
  for (std::size_t i = 0; i < individuals; ++i) {
    design_vector(haplotypes, i, snp_indices, design);
    const double eta = linear_predictor(b, design);
    const double y = phenotypes[i];
    loglikelihood += y * eta - std::log(1.0 + std::exp(eta));
  }
  return loglikelihood;
}

Matrix score_function(const Matrix& effect_sizes, const Haplotypes& haplotypes,
                      const Phenotypes& phenotypes, const SnpIndices& snp_indices) {
  check_model_arguments(effect_sizes, haplotypes, phenotypes, snp_indices);
  const std::vector<double> b = coefficients(effect_sizes);
  const std::size_t p = b.size();
  std::vector<int> design(p);
  std::vector<double> score(p, 0.0);

  const std::size_t individuals = haplotypes.size() / 2;
  for (std::size_t i = 0; i < individuals; ++i) {
    design_vector(haplotypes, i, snp_indices, design);
    const double e = std::exp(linear_predictor(b, design));
    const double residual = phenotypes[i] - e / (1.0 + e);
    score[0] += residual;
    for (std::size_t j = 1; j < p; ++j) score[j] += design[j] * residual;
  }

  Matrix result(static_cast<int>(p), 1);
  for (std::size_t j = 0; j < p; ++j) result(static_cast<int>(j) + 1, 1) = score[j];
  return result;
}

Matrix hessian_function(const Matrix& effect_sizes, const Haplotypes& haplotypes,
                        const Phenotypes& phenotypes, const SnpIndices& snp_indices) {
  check_model_arguments(effect_sizes, haplotypes, phenotypes, snp_indices);
  const std::vector<double> b = coefficients(effect_sizes);
  const std::size_t p = b.size();
  std::vector<int> design(p);
  // Lower triangle (c <= r) in row-major order; the rest follows by symmetry.
  std::vector<double> lower(p * p, 0.0);

  const std::size_t individuals = haplotypes.size() / 2;
  for (std::size_t i = 0; i < individuals; ++i) {
    design_vector(haplotypes, i, snp_indices, design);
    const double e = std::exp(linear_predictor(b, design));
    const double weight = e / ((1.0 + e) * (1.0 + e));
    for (std::size_t r = 0; r < p; ++r) {
      for (std::size_t c = 0; c <= r; ++c) {
        lower[r * p + c] += -weight * static_cast<double>(design[r] * design[c]);
      }
    }
  }

  Matrix result(static_cast<int>(p), static_cast<int>(p));
  for (std::size_t r = 0; r < p; ++r) {
    for (std::size_t c = 0; c <= r; ++c) {
      const int row = static_cast<int>(r) + 1;
      const int col = static_cast<int>(c) + 1;
      result(row, col) = lower[r * p + c];
      result(col, row) = lower[r * p + c];
    }
  }
  return result;
}

Matrix newton_raphson(const Matrix& start, const CoefficientFunction& score,
                      const CoefficientFunction& hessian) {
  // A score whose sum of squares is not a number also ends the loop, and
  // fails the fit, as do estimates that are not finite and a loop that
  // reaches the step limit.
  Matrix x = start;
  Matrix s = score(x);
  double sum_of_squares;
  int steps = 0;
  do {
    if (steps == kMaxNewtonSteps) {
      throw FitNotConverged("the Newton-Raphson iterations do not converge in " +
                            std::to_string(kMaxNewtonSteps) + " steps");
    }
    const Matrix h = hessian(x);
    x = x - h.i() * s;
    s = score(x);
    sum_of_squares = s.SumSquare();
    ++steps;
  } while (sum_of_squares > 1e-5);
  if (!(sum_of_squares <= 1e-5) || !all_finite(x)) {
    throw FitNotConverged(
        "the Newton-Raphson iterations diverge (cases and controls separated by their allele "
        "counts?)");
  }
  return x;
}

void maximise_likelihood_snp(const Haplotypes& haplotypes, const Phenotypes& phenotypes,
                             const SnpIndices& snp_indices, Matrix& effect_sizes,
                             double& loglikelihood, Matrix& covariance) {
  effect_sizes = 0.0;
  Matrix x(static_cast<int>(snp_indices.size()) + 1, 1);
  x = 0.0;
  assert(haplotypes.size() / 2 == phenotypes.size());
  assert(haplotypes.size() % 2 == 0 && columns_in_range(haplotypes, snp_indices));
  check_design_rank(haplotypes, snp_indices);

  // The data are bound by reference: the haplotype set of a whole panel is
  // far too large to copy for every fit.
  const auto score = [&](const Matrix& b) {
    return score_function(b, haplotypes, phenotypes, snp_indices);
  };
  const auto hessian = [&](const Matrix& b) {
    return hessian_function(b, haplotypes, phenotypes, snp_indices);
  };

  // Newton-Raphson from zero.
  effect_sizes = newton_raphson(x, score, hessian);
  loglikelihood = loglikelihood_function(effect_sizes, haplotypes, phenotypes, snp_indices);
  // Inverted into a temporary first, so that a singular Hessian leaves the
  // caller's covariance as it was.
  const Matrix inverse = (-hessian(effect_sizes)).i();
  covariance = inverse;
}

}  // namespace single_snp_test
