// Continued fraction and asymptotic expansions of the incomplete beta
// ratio: bfrac, bgrat (with the incomplete gamma ratios of grat1) and basym.
#include <cmath>

#include "stats/distfuncs/beta_pieces.h"
#include "stats/distfuncs/elementary.h"
#include "stats/distfuncs/gratio.h"
#include "stats/distfuncs/log_beta.h"
#include "stats/distfuncs/specfuncs.h"

namespace numlib {

namespace {

// erfc1's argument for exp(z^2) erfc(z).
constexpr int kScaled = 1;

}  // namespace

double bfrac(const double* a, const double* b, const double* x, const double* y,
             const double* lambda, const double* eps) {
  const double front = brcomp(a, b, x, y);
  if (front == 0.0) return 0.0;
  const double c = 1.0 + *lambda;
  const double c0 = *b / *a;
  const double c1 = 1.0 + 1.0 / *a;
  const double yp1 = *y + 1.0;
  double n = 0.0;
  double p = 1.0;
  double s = *a + 1.0;
  double an = 0.0;
  double bn = 1.0;
  double anp1 = 1.0;
  double bnp1 = c / c1;
  double r = c1 / c;
  // Convergents anp1/bnp1 of the fraction, rescaled after each step.
  for (;;) {
    n += 1.0;
    double t = n / *a;
    const double w = n * (*b - n) * *x;
    double e = *a / s;
    const double alpha = p * (p + c0) * e * e * (w * *x);
    e = (1.0 + t) / (c1 + t + t);
    const double beta = n + w / s + e * (c + n * yp1);
    p = 1.0 + t;
    s += 2.0;
    t = alpha * an + beta * anp1;
    an = anp1;
    anp1 = t;
    t = alpha * bn + beta * bnp1;
    bn = bnp1;
    bnp1 = t;
    const double r0 = r;
    r = anp1 / bnp1;
    if (!(std::fabs(r - r0) > *eps * r)) break;
    an /= bnp1;
    bn /= bnp1;
    anp1 = r;
    bnp1 = 1.0;
  }
  return front * r;
}

void grat1(const double* a, const double* x, const double* r, double* p, double* q,
           const double* eps) {
  if (*a * *x == 0.0) {
    *p = *x <= *a ? 0.0 : 1.0;
    *q = *x <= *a ? 1.0 : 0.0;
    return;
  }
  if (*a == 0.5) {
    gratio_half(*x, p, q);
    return;
  }
  if (*x < 1.1) {
    // Taylor series for P(a, x)/x^a
    double an = 3.0;
    double c = *x;
    double sum = *x / (*a + 3.0);
    const double tol = 0.1 * *eps / (*a + 1.0);
    double t;
    do {
      an += 1.0;
      c = -c * (*x / an);
      t = c / (*a + an);
      sum += t;
    } while (std::fabs(t) > tol);
    const double j = *a * *x * ((sum / 6.0 - 0.5 / (*a + 2.0)) * *x + 1.0 / (*a + 1.0));
    const double z = *a * std::log(*x);
    const double h = gam1(a);
    const double g = 1.0 + h;
    if ((*x < 0.25 && z <= -0.13394) || (*x >= 0.25 && *a >= *x / 2.59)) {
      *p = std::exp(z) * g * (0.5 + (0.5 - j));
      *q = 0.5 + (0.5 - *p);
      return;
    }
    // P is near 1: form Q directly from e^z - 1.
    const double l = rexp(&z);
    const double w = 0.5 + (0.5 + l);
    *q = (w * j - l) * g - h;
    if (*q < 0.0) {
      *p = 1.0;
      *q = 0.0;
      return;
    }
    *p = 0.5 + (0.5 - *q);
    return;
  }
  // Continued fraction for Q/r, by its convergents.
  double a2nm1 = 1.0;
  double a2n = 1.0;
  double b2nm1 = *x;
  double b2n = *x + (1.0 - *a);
  double c = 1.0;
  double am0, an0;
  do {
    a2nm1 = *x * a2n + c * a2nm1;
    b2nm1 = *x * b2n + c * b2nm1;
    am0 = a2nm1 / b2nm1;
    c += 1.0;
    const double cma = c - *a;
    a2n = a2nm1 + cma * a2n;
    b2n = b2nm1 + cma * b2n;
    an0 = a2n / b2n;
  } while (std::fabs(an0 - am0) >= *eps * an0);
  *q = *r * an0;
  *p = 0.5 + (0.5 - *q);
}

void bgrat(const double* a, const double* b, const double* x, const double* y, double* w,
           const double* eps, int* ierr) {
  constexpr int kTerms = 30;
  const double bm1 = (*b - 0.5) - 0.5;
  const double nu = *a + 0.5 * bm1;
  double lnx;
  if (*y > 0.375) {
    lnx = std::log(*x);
  } else {
    const double minus_y = -*y;
    lnx = alnrel(&minus_y);
  }
  const double z = -nu * lnx;
  if (*b * z == 0.0) {
    *ierr = 1;
    return;
  }
  // r = b (1 + gam1(b)) z^b x^a x^(bm1/2) and u = e^(-b ln nu) r Gamma(b)/Gamma(a + b)
  const double r = *b * (1.0 + gam1(b)) * std::exp(*b * std::log(z)) * std::exp(*a * lnx) *
                   std::exp(0.5 * bm1 * lnx);
  const double u = r * std::exp(-(algdiv(b, a) + *b * std::log(nu)));
  if (u == 0.0) {
    *ierr = 1;
    return;
  }
  double p, q;
  grat1(b, &z, &r, &p, &q, eps);
  const double v = 0.25 * (1.0 / nu) * (1.0 / nu);
  const double t2 = 0.25 * lnx * lnx;
  const double l = *w / u;
  double j = q / r;
  double sum = j;
  double t = 1.0;
  double cn = 1.0;
  double n2 = 0.0;
  double c[kTerms];
  double d[kTerms];
  // c[n-1] and d[n-1] hold the n-th coefficients of the expansion.
  for (int n = 1; n <= kTerms; ++n) {
    const double bp2n = *b + n2;
    j = (bp2n * (bp2n + 1.0) * j + (z + bp2n + 1.0) * t) * v;
    n2 += 2.0;
    t = t * t2;
    cn = cn / (n2 * (n2 + 1.0));
    c[n - 1] = cn;
    double s = 0.0;
    double coef = *b - n;
    for (int i = 1; i <= n - 1; ++i) {
      s += coef * c[i - 1] * d[n - i - 1];
      coef += *b;
    }
    d[n - 1] = bm1 * cn + s / n;
    const double dj = d[n - 1] * j;
    sum += dj;
    if (sum <= 0.0) {
      *ierr = 1;
      return;
    }
    if (!(std::fabs(dj) > *eps * (sum + l))) break;
  }
  *ierr = 0;
  *w += u * sum;
}

double basym(const double* a, const double* b, const double* lambda, const double* eps) {
  constexpr int kNum = 20;
  constexpr double e0 = 1.12837916709551;   // 2/sqrt(pi)
  constexpr double e1 = 0.353553390593274;  // 2^(-3/2)
  double h, r0, r1, w0;
  if (*a < *b) {
    h = *a / *b;
    r0 = 1.0 / (1.0 + h);
    r1 = (*b - *a) / *b;
    w0 = 1.0 / std::sqrt(*a * (1.0 + h));
  } else {
    h = *b / *a;
    r0 = 1.0 / (1.0 + h);
    r1 = (*b - *a) / *a;
    w0 = 1.0 / std::sqrt(*b * (1.0 + h));
  }
  const double minus_l_over_a = -*lambda / *a;
  const double l_over_b = *lambda / *b;
  const double f = *a * rlog1(&minus_l_over_a) + *b * rlog1(&l_over_b);
  const double t = std::exp(-f);
  if (t == 0.0) return 0.0;
  const double z0 = std::sqrt(f);
  const double z = 0.5 * (z0 / e1);
  const double z2 = f + f;

  // Coefficient k of each series is held at index k - 1.
  double a0[kNum + 1], b0[kNum + 1], c[kNum + 1], d[kNum + 1];
  a0[0] = (2.0 / 3.0) * r1;
  c[0] = -0.5 * a0[0];
  d[0] = -c[0];
  double j0 = (0.5 / e0) * erfc1(&kScaled, &z0);
  double j1 = e1;
  double sum = j0 + d[0] * w0 * j1;

  const double h2 = h * h;
  double hn = 1.0;
  double s = 1.0;
  double znm1 = z;
  double zn = z2;
  double w = w0;
  for (int n = 2; n <= kNum; n += 2) {
    hn = h2 * hn;
    a0[n - 1] = 2.0 * r0 * (1.0 + h * hn) / (n + 2.0);
    s += hn;
    a0[n] = 2.0 * r1 * s / (n + 3.0);
    for (int i = n; i <= n + 1; ++i) {
      const double r = -0.5 * (i + 1.0);
      b0[0] = r * a0[0];
      for (int m = 2; m <= i; ++m) {
        double bsum = 0.0;
        for (int jj = 1; jj <= m - 1; ++jj)
          bsum += (jj * r - (m - jj)) * a0[jj - 1] * b0[m - jj - 1];
        b0[m - 1] = r * a0[m - 1] + bsum / m;
      }
      c[i - 1] = b0[i - 1] / (i + 1.0);
      double dsum = 0.0;
      for (int jj = 1; jj <= i - 1; ++jj) dsum += d[i - jj - 1] * c[jj - 1];
      d[i - 1] = -(c[i - 1] + dsum);
    }
    j0 = e1 * znm1 + (n - 1.0) * j0;
    j1 = e1 * zn + n * j1;
    znm1 = z2 * znm1;
    zn = z2 * zn;
    w = w0 * w;
    const double t0 = d[n - 1] * w * j0;
    w = w0 * w;
    const double t1 = d[n] * w * j1;
    sum += t0 + t1;
    if (!(std::fabs(t0) + std::fabs(t1) > *eps * sum)) break;
  }
  return e0 * t * std::exp(-bcorr(a, b)) * sum;
}

}  // namespace numlib
