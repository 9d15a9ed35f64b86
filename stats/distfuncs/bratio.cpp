#include "stats/distfuncs/bratio.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "stats/distfuncs/beta_pieces.h"
#include "stats/distfuncs/ipmpar.h"

namespace numlib {

namespace {

// Status codes of bratio (see bratio.h).
constexpr int kOk = 0;
constexpr int kBadShape = 1;
constexpr int kBothShapesZero = 2;
constexpr int kBadX = 3;
constexpr int kBadY = 4;
constexpr int kNotComplementary = 5;
constexpr int kXAndAZero = 6;
constexpr int kYAndBZero = 7;

// The ratio and its complement.
struct Tails {
  double w;
  double w1;
};

Tails from_lower(double w) { return {w, 0.5 + (0.5 - w)}; }
Tails from_upper(double w1) { return {0.5 + (0.5 - w1), w1}; }

// A shape parameter must be a finite number >= 0: a not-a-number or an
// infinite one would make the expansions' tolerance tests fail for ever.
bool bad_shape(double s) { return !(s >= 0.0 && std::isfinite(s)); }
bool outside_unit(double v) { return !(v >= 0.0 && v <= 1.0); }

int check(double a, double b, double x, double y, double eps) {
  if (bad_shape(a) || bad_shape(b)) return kBadShape;
  if (a == 0.0 && b == 0.0) return kBothShapesZero;
  if (outside_unit(x)) return kBadX;
  if (outside_unit(y)) return kBadY;
  if (std::fabs(((x + y) - 0.5) - 0.5) > 3.0 * eps) return kNotComplementary;
  return kOk;
}

// I_y0(b0, a0) by the gamma expansion (b0 >= 15 here, or raised to it by a
// shift of 20), for a0 <= 1.  When the expansion cannot be formed, the part
// the shift added (or 0) stands.
Tails gamma_expansion(double a0, double b0, double x0, double y0, double eps, bool shift) {
  double w1 = 0.0;
  if (shift) {
    const int n = 20;
    w1 = bup(&b0, &a0, &y0, &x0, &n, &eps);
    b0 += 20.0;
  }
  const double tol = 15.0 * eps;
  int ierr1;
  bgrat(&b0, &a0, &y0, &x0, &w1, &tol, &ierr1);
  return from_upper(w1);
}

enum class Method { kFirstSeries, kSecondSeries, kGamma, kShiftedGamma };

// The expansion for min(a0, b0) <= 1, x0 <= 0.5, when neither a0 nor b0 is
// negligible beside the other.
Method small_shape_method(double a0, double b0, double x0) {
  if (std::max(a0, b0) > 1.0) {
    if (b0 <= 1.0) return Method::kFirstSeries;
    if (x0 >= 0.3) return Method::kSecondSeries;
    if (x0 < 0.1 && std::pow(x0 * b0, a0) <= 0.7) return Method::kFirstSeries;
    return b0 > 15.0 ? Method::kGamma : Method::kShiftedGamma;
  }
  if (a0 >= std::min(0.2, b0) || std::pow(x0, a0) <= 0.9) return Method::kFirstSeries;
  return x0 >= 0.3 ? Method::kSecondSeries : Method::kShiftedGamma;
}

// min(a0, b0) <= 1 and x0 <= 0.5.
Tails small_shape(double a0, double b0, double x0, double y0, double eps) {
  if (b0 < std::min(eps, eps * a0)) return from_lower(fpser(&a0, &b0, &x0, &eps));
  if (a0 < std::min(eps, eps * b0) && b0 * x0 <= 1.0) return from_upper(apser(&a0, &b0, &x0, &eps));
  switch (small_shape_method(a0, b0, x0)) {
    case Method::kFirstSeries:
      return from_lower(bpser(&a0, &b0, &x0, &eps));
    case Method::kSecondSeries:
      return from_upper(bpser(&b0, &a0, &y0, &eps));
    case Method::kGamma:
      return gamma_expansion(a0, b0, x0, y0, eps, false);
    case Method::kShiftedGamma:
      break;
  }
  return gamma_expansion(a0, b0, x0, y0, eps, true);
}

// a0, b0 > 1 with b0 < 40 and b0 x0 > 0.7: b0 is brought down to (0, 1] by
// its whole part, then the power series, or a shift of a0 to 15 or more and
// the gamma expansion.
Tails shifted_b(double a0, double b0, double x0, double y0, double eps) {
  int n = static_cast<int>(b0);
  b0 -= n;
  if (b0 == 0.0) {
    n -= 1;
    b0 = 1.0;
  }
  double w = bup(&b0, &a0, &y0, &x0, &n, &eps);
  if (x0 <= 0.7) {
    w += bpser(&a0, &b0, &x0, &eps);
    return from_lower(w);
  }
  if (a0 <= 15.0) {
    const int shift = 20;
    w += bup(&a0, &b0, &x0, &y0, &shift, &eps);
    a0 += 20.0;
  }
  const double tol = 15.0 * eps;
  int ierr1;
  bgrat(&a0, &b0, &x0, &y0, &w, &tol, &ierr1);
  return from_lower(w);
}

// a0, b0 > 1 and lambda = (a0 + b0) y0 - b0 >= 0.
Tails large_shape(double a0, double b0, double x0, double y0, double lambda, double eps) {
  if (b0 < 40.0) {
    if (b0 * x0 <= 0.7) return from_lower(bpser(&a0, &b0, &x0, &eps));
    return shifted_b(a0, b0, x0, y0, eps);
  }
  const double m = std::min(a0, b0);
  if (m <= 100.0 || lambda > 0.03 * m) {
    const double tol = 15.0 * eps;
    return from_lower(bfrac(&a0, &b0, &x0, &y0, &lambda, &tol));
  }
  const double tol = 100.0 * eps;
  return from_lower(basym(&a0, &b0, &lambda, &tol));
}

// a + b beyond the largest double.  The sum rounds past it only when the
// smaller shape makes up at least half its last unit, so both exceed 2^970
// and the ratio's standard deviation is below 2^-485 of its mean
// a / (a + b) and of 1 - mean: to double precision it is a step from 0 to
// 1 where x passes the mean, that is where lambda = a y - b x changes sign,
// and 1/2 at the mean itself.  lambda is formed without the sum and with
// the rounding error of b x carried (Kahan's difference of products), so
// that its sign is right however close x lies to the mean.
Tails step_at_mean(double a, double b, double x, double y) {
  const double bx = b * x;
  const double bx_error = std::fma(-b, x, bx);
  const double lambda = std::fma(a, y, -bx) + bx_error;
  if (lambda > 0.0) return {0.0, 1.0};
  if (lambda < 0.0) return {1.0, 0.0};
  return {0.5, 0.5};
}

}  // namespace

void bratio(const double* a, const double* b, const double* x, const double* y, double* w,
            double* w1, int* ierr) {
  double eps = spmpar(&kMachineEpsilon);
  *w = 0.0;
  *w1 = 0.0;
  *ierr = check(*a, *b, *x, *y, eps);
  if (*ierr != kOk) return;

  if (*x == 0.0) {
    if (*a == 0.0) {
      *ierr = kXAndAZero;
      return;
    }
    *w1 = 1.0;
    return;
  }
  if (*y == 0.0) {
    if (*b == 0.0) {
      *ierr = kYAndBZero;
      return;
    }
    *w = 1.0;
    return;
  }
  if (*a == 0.0) {
    *w = 1.0;
    return;
  }
  if (*b == 0.0) {
    *w1 = 1.0;
    return;
  }

  eps = std::max(eps, 1e-15);
  if (std::max(*a, *b) < 1e-3 * eps) {
    // Both shapes negligible: all the mass sits at the two ends.
    *w = *b / (*a + *b);
    *w1 = *a / (*a + *b);
    return;
  }

  if (std::isinf(*a + *b)) {
    const Tails step = step_at_mean(*a, *b, *x, *y);
    *w = step.w;
    *w1 = step.w1;
    return;
  }

  // The direct tail is that of (a, x) or, exchanged, of (b, y).
  double a0 = *a, b0 = *b, x0 = *x, y0 = *y;
  bool swapped = false;
  const auto exchange = [&] {
    a0 = *b;
    b0 = *a;
    x0 = *y;
    y0 = *x;
    swapped = true;
  };
  Tails result;
  if (std::min(a0, b0) <= 1.0) {
    if (*x > 0.5) exchange();
    result = small_shape(a0, b0, x0, y0, eps);
  } else {
    double lambda = *a > *b ? (*a + *b) * *y - *b : *a - (*a + *b) * *x;
    if (lambda < 0.0) {
      exchange();
      lambda = std::fabs(lambda);
    }
    result = large_shape(a0, b0, x0, y0, lambda, eps);
  }
  if (swapped) std::swap(result.w, result.w1);
  *w = result.w;
  *w1 = result.w1;
}

}  // namespace numlib
