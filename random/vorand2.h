// Random variates of the random-number library.  Every class here derives
// from Random (random/vorand1.h) and draws its uniforms from the current
// generator Random::RNG:
//
//   MT generator(0.12345);
//   Random::Set(generator);
//   Normal z;                 // standard normal
//   ChiSq chi(4, 0.0);        // chi-square with 4 degrees of freedom
//   double a = z.Next(), b = chi.Next();
//
// Contents, by family:
//   trivial variates      Uniform, Constant                  (trivial_variates.cpp)
//   table method          PosGen, SymGen, AsymGen and their  (table_variates.cpp)
//                         X forms taking a density function
//   on the table method   Normal, Cauchy, Exponential        (normal.cpp, cauchy.cpp,
//                                                             exponential.cpp)
//   gamma family          Gamma, Gamma1, Gamma2              (gamma.cpp)
//   chi-square family     ChiSq, ChiSq1                      (chisq.cpp)
//   Pareto                Pareto                             (pareto.cpp)
//   stable laws           Stable                             (stable.cpp)
//
// The integer-valued variates (alias table, Poisson, binomial, negative
// binomial) are in random/discrete_variates.h; expressions over variates in
// random/arithmetic.h; mixtures of variates in random/mixture.h; draws whose
// parameters change from call to call, and random permutations, in
// random/variable_parameter.h and random/permutation.h.
//
// Errors are newmat's exception classes with messages beginning "Vorand: ":
// Logic_error for illegal parameters or use, Runtime_error when a table
// cannot be built, Bad_alloc "Vorand: out of space" when memory runs out.
// Variates that own tables or parts, or share one, are not copyable.
#ifndef VORDEL_RANDOM_VORAND2_H
#define VORDEL_RANDOM_VORAND2_H

#include <memory>
#include <vector>

#include "random/extreal.h"
#include "random/vorand1.h"

// ---------------------------------------------------------------------------
// Trivial variates.

// Uniform on (0, 1): each draw is one draw of the current generator.
class Uniform : public Random {
 public:
  Uniform() = default;
  const char* Name() override;              // "Uniform"
  double Density(double x) const override;  // 1 on [0, 1], else 0
};

// Always the same value; draws nothing from the current generator.
class Constant : public Random {
 public:
  explicit Constant(double v) : value(v) {}
  double Next() override { return value; }
  const char* Name() override;  // "Constant"
  ExtReal Mean() const override { return value; }
  ExtReal Variance() const override { return 0.0; }

 private:
  double value;
};

// ---------------------------------------------------------------------------
// The table method.
//
// A table generator draws from the density its subclass supplies through
// Density().  At the first draw it lays rectangles of equal area under the
// density, starting where the density is largest: node i at sx[i] with
// height sfx[i] = Density(sx[i]), and the next node where the rectangle of
// area a ends, sx[i+1] = sx[i] + a / sfx[i].  The nodes end where the density
// first is 0 or below.  A draw picks a rectangle at random, a point x in it
// and an ordinate y under its height, and accepts x when y is below the
// height at the far node (no density needed) or below Density(x); else it
// tries again.  The density must decrease away from its maximum.
//
// A density whose table would be too long or too short makes the first draw
// throw Runtime_error ("Vorand: area too large", "Vorand: area too large
// (a)", "Vorand: area too large (b)", "Vorand: area too small"); so does each
// later draw, which builds again.  The bare classes have no density: their
// first draw throws Random's Logic_error.

// The nodes of one table: abscissa and density of each node.
struct VariateTable {
  explicit VariateTable(std::size_t n) : sx(n), sfx(n) {}
  std::vector<double> sx;
  std::vector<double> sfx;
};

// One-sided: a density on x >= 0, decreasing, with its maximum at 0 and
// total area about 1.  The table has 50 to 59 rectangles of area 0.02.
class PosGen : public Random {
 public:
  PosGen() = default;
  PosGen(const PosGen&) = delete;
  PosGen& operator=(const PosGen&) = delete;

  double Next() override;
  const char* Name() override;  // "PosGen"
  ExtReal Mean() const override { return Missing; }
  ExtReal Variance() const override { return Missing; }

  // Builds the table: rectangles of area 0.01 over a half of a symmetric
  // density when sym, else of area 0.02.  Called by the first draw.
  void Build(bool sym);

 protected:
  double xi = 0.0;                          // number of intervals a uniform is spread over
  const double* sx = nullptr;               // node abscissae
  const double* sfx = nullptr;              // density at each node
  bool not_ready = true;                    // the table is still to be built
  std::unique_ptr<VariateTable> own_table;  // the table, unless shared (Normal)
};

// Symmetric about 0: the table covers x >= 0 with rectangles of area 0.01
// (50 to 59 of them, area about 0.5 on each side); the first uniform of a
// draw also chooses the sign.  A first uniform of exactly 0.5 takes the last
// rectangle.
class SymGen : public PosGen {
 public:
  SymGen() = default;
  double Next() override;
  const char* Name() override;  // "SymGen"
};

// Two-sided around its mode: the table walks up from the mode, then down
// from it, with rectangles of area 0.01, 100 to 120 in all (total area about
// 1).  The density must be 0 or below somewhere on each side.
class AsymGen : public Random {
 public:
  explicit AsymGen(double mode) : mode(mode) {}
  AsymGen(const AsymGen&) = delete;
  AsymGen& operator=(const AsymGen&) = delete;

  double Next() override;
  const char* Name() override;  // "AsymGen"
  ExtReal Mean() const override { return Missing; }
  ExtReal Variance() const override { return Missing; }

  // Builds the table; called by the first draw.
  void Build();

 protected:
  double xi = 0.0;                      // number of intervals
  std::unique_ptr<VariateTable> table;  // 121 nodes; 120 is the upper end
  int last_up = 0;  // last node of the upward run: its interval ends at node 120
  bool not_ready = true;
  double mode;  // where the density is largest and both runs start
};

// The table generators over a density given as a function.
using DensityFunction = double (*)(double);

class PosGenX : public PosGen {
 public:
  explicit PosGenX(DensityFunction f) : density_function(f) {}
  const char* Name() override;  // "PosGenX"
  double Density(double x) const override { return density_function(x); }

 private:
  DensityFunction density_function;
};

class SymGenX : public SymGen {
 public:
  explicit SymGenX(DensityFunction f) : density_function(f) {}
  const char* Name() override;  // "SymGenX"
  double Density(double x) const override { return density_function(x); }

 private:
  DensityFunction density_function;
};

class AsymGenX : public AsymGen {
 public:
  AsymGenX(DensityFunction f, double mode) : AsymGen(mode), density_function(f) {}
  const char* Name() override;  // "AsymGenX"
  double Density(double x) const override { return density_function(x); }

 private:
  DensityFunction density_function;
};

// ---------------------------------------------------------------------------
// Distributions drawn by the table method.

// Standard normal.  All live Normal objects (ChiSq1 included) share one
// table: the first builds it at construction, the last one destroyed frees
// it, and a Normal made after that builds it again.
class Normal : public SymGen {
 public:
  Normal();
  ~Normal() override;
  const char* Name() override;              // "Normal"
  double Density(double x) const override;  // 0 beyond |x| > 8
  ExtReal Mean() const override { return 0.0; }
  ExtReal Variance() const override { return 1.0; }

  // Number of live objects sharing the table.
  static long Count() { return count; }

 private:
  static double Nxi;            // the shared table's interval count,
  static VariateTable* Ntable;  // the table, owned by the live objects together,
  static long count;            // and their number
};

// Standard Cauchy (density 0 beyond |x| > 1e15).
class Cauchy : public SymGen {
 public:
  Cauchy() = default;
  const char* Name() override;  // "Cauchy"
  double Density(double x) const override;
  ExtReal Mean() const override { return Indefinite; }
  ExtReal Variance() const override { return PlusInfinity; }
};

// Exponential with mean 1 (density 0 beyond 40).
class Exponential : public PosGen {
 public:
  Exponential() = default;
  const char* Name() override;  // "Exponential"
  double Density(double x) const override;
  ExtReal Mean() const override { return 1.0; }
  ExtReal Variance() const override { return 1.0; }
};

// ---------------------------------------------------------------------------
// Gamma family.

class Gamma1;

// Gamma with shape alpha and scale 1, drawn by Gamma1 (alpha < 1),
// Exponential (alpha = 1) or Gamma2 (alpha > 1, and NaN).  There is no range
// check beyond the log-gamma functions' (random/log_gamma.h).
class Gamma : public Random {
 public:
  explicit Gamma(double alpha);
  Gamma(const Gamma&) = delete;
  Gamma& operator=(const Gamma&) = delete;
  double Next() override { return implementation->Next(); }
  // The draw of Next(), from the same uniforms, with its logarithm in
  // log_value: finite also where a draw of a small shape underflows to 0,
  // down to shapes of about 1e-306.  Below, ln(draw) = ln X / alpha for the
  // table draw X of Gamma1 can pass -DBL_MAX, and log_value is then
  // -infinity; the second form gives that logarithm also scaled, as
  // LogScale() ln(draw) in scaled_log, which is ln X for alpha < 1 and
  // finite at any shape.
  double NextWithLog(double& log_value);
  double NextWithLog(double& log_value, double& scaled_log);
  double LogScale() const { return log_scale; }  // alpha below 1, else 1
  const char* Name() override;                   // "Gamma"
  ExtReal Mean() const override { return implementation->Mean(); }
  ExtReal Variance() const override { return implementation->Variance(); }

 private:
  std::unique_ptr<Random> implementation;
  Gamma1* small_shape = nullptr;  // the implementation when alpha < 1
  double log_scale = 1.0;
};

// Gamma for shape alpha < 1: the table draws X with density
// exp(-x^(1/alpha)) / Gamma(alpha + 1), and X^(1/alpha) is the gamma draw.
class Gamma1 : public PosGen {
 public:
  explicit Gamma1(double alpha);
  double Next() override;
  // The draw of Next() with its logarithm ln(X) / alpha in log_value, which
  // stays finite where X^(1/alpha) underflows to 0 (down to shapes of about
  // 1e-306), and ln X in log_table_draw.
  double NextWithLog(double& log_value);
  double NextWithLog(double& log_value, double& log_table_draw);
  double Density(double x) const override;  // 0 where below exp(-40)
  ExtReal Mean() const override { return shape; }
  ExtReal Variance() const override { return shape; }

 private:
  double log_norm;   // ln Gamma(alpha + 1)
  double inv_shape;  // 1 / alpha
  double shape;
};

// Gamma for shape alpha > 1, by the two-sided table from the mode alpha - 1.
class Gamma2 : public AsymGen {
 public:
  explicit Gamma2(double alpha);
  double Density(double x) const override;  // 0 where below exp(-40)
  ExtReal Mean() const override { return shape; }
  ExtReal Variance() const override { return shape; }

 private:
  double shape;
  double log_norm;  // ln Gamma(alpha)
};

// ---------------------------------------------------------------------------
// Chi-square family.

// Chi-square with df degrees of freedom and the given noncentrality, as a sum
// of the parts its parameters choose.  df <= 0 or a negative noncentrality
// throws Logic_error "Vorand: illegal parameters".
class ChiSq : public Random {
 public:
  ChiSq(int df, double noncentrality);
  ChiSq(const ChiSq&) = delete;
  ChiSq& operator=(const ChiSq&) = delete;
  double Next() override;
  const char* Name() override;  // "ChiSq"
  ExtReal Mean() const override { return mean_value; }
  ExtReal Variance() const override { return variance_value; }

 private:
  std::unique_ptr<Random> first_part;   // drawn first
  std::unique_ptr<Random> second_part;  // cases 4 and 5 only
  int case_number;
  double mean_value;      // df + noncentrality
  double variance_value;  // 2 df + 4 noncentrality
};

// Noncentral chi-square with one degree of freedom: (Z + sqrt(noncentrality))^2
// for a standard normal Z.  Shares the normal table.
class ChiSq1 : public Normal {
 public:
  explicit ChiSq1(double noncentrality);
  double Next() override;
  ExtReal Mean() const override { return 1.0 + noncentrality; }
  ExtReal Variance() const override { return 2.0 + 4.0 * noncentrality; }

 private:
  double noncentrality;
  double root_noncentrality;
};

// ---------------------------------------------------------------------------
// Pareto.

// Pareto with the given shape and minimum 1: U^(-1/shape) for one uniform U.
// A shape of 0 or below throws Logic_error "Vorand: illegal parameter"; a
// NaN shape is not refused (its draws are NaN).
class Pareto : public Random {
 public:
  explicit Pareto(double shape);
  double Next() override;
  const char* Name() override;  // "Pareto"
  // shape / (shape - 1) for shape > 1, else PlusInfinity.
  ExtReal Mean() const override;
  // shape / (shape - 1)^2 / (shape - 2) for shape > 2, else PlusInfinity.
  ExtReal Variance() const override;

 private:
  double shape;
  double minus_inv_shape;  // -1 / shape
};

// ---------------------------------------------------------------------------
// Stable laws.

// The stable law of characteristic exponent alpha and skewness beta, by the
// method of Chambers, Mallows and Stuck, in the form that is continuous in
// alpha.  Each draw takes two uniforms: first the angle, then the one that
// gives the exponential.  In the notation CMS the characteristic function
// of a draw is
//   exp(-|t|^alpha (1 + i beta tan(pi alpha / 2) sgn(t) (|t|^(1 - alpha) - 1)))
// (at alpha = 1 the limit, exp(-|t| (1 + i beta (2 / pi) sgn(t) ln|t|))).
// The notation says how the draws are placed:
//   CMS          as the method gives them;
//   Shifted      shifted by beta tan(alpha pi / 2), which gives
//                exp(-|t|^alpha (1 - i beta tan(pi alpha / 2) sgn(t)));
//   Rescaled     beta read as the skewness of
//                exp(-|t|^alpha exp(-i (pi / 2) beta K sgn(t))), K = 1 - |1 - alpha|,
//                converted at construction, and the draws shifted and rescaled
//                (at alpha = 1 the draws of CMS);
//   Unspecified  (any other value) taken as CMS, and accepted only where the
//                notations agree: beta = 0, alpha = 1 or alpha = 2; otherwise
//                Logic_error "Vorand: must specify Stable notation".
// At alpha = 1 every notation gives the draws of CMS; at alpha = 2 (the
// normal law of variance 2) and at beta = 0 all give the same law.  alpha
// and beta are not range-checked.
class Stable : public Random {
 public:
  enum Notation : int { CMS = 0, Shifted = 1, Rescaled = 2, Unspecified = 3 };

  Stable(double alpha, double beta, Notation notation);
  double Next() override;
  const char* Name() override;  // "Stable"
  // alpha < 1: PlusInfinity when beta = 1, MinusInfinity when beta = -1,
  // else Indefinite; alpha = 1: Indefinite; alpha > 1: -beta tan(alpha pi / 2)
  // in notation CMS, 0 in the others.
  ExtReal Mean() const override;
  // 2 at alpha = 2 (the normal law of variance 2); PlusInfinity for
  // 0 < alpha < 2; Missing for any other alpha, which gives no stable law.
  ExtReal Variance() const override;

 private:
  double alpha;
  double beta;              // the skewness the draws use
  double beta_given = 0.0;  // the constructor's beta, in notation Rescaled
  Notation notation;        // CMS, Shifted or Rescaled
};

#endif
