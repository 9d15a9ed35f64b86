#include "stats/distfuncs.h"

#include <cmath>

#include "stats/gratio.h"
#include "stats/ipmpar.h"
#include "stats/search.h"

namespace numlib {

void cumchi(const double* x, const double* df, double* cum, double* ccum) {
  static const int K_full_accuracy = 0;
  static double a, xx;

  a = *df * 0.5;
  xx = 0.5 * *x;
  if (xx <= 0.0) {
    *cum = 0.0;
    *ccum = 1.0;
    return;
  }
  gratio(&a, &xx, cum, ccum, &K_full_accuracy);
}

void cdfchi(int* which, double* p, double* q, double* x, double* df, int* status, double* bound) {
  // Search parameters shared by every inverse case.
  static const double tol = 1e-8;
  static const double atol = 1e-50;
  static const double start = 5.0;
  static const double step = 0.5;
  static const double stpmul = 5.0;
  static const double zero = 1e-300;
  static const double inf = 1e300;
  static const double xlow = 0.0;
  static const int K_eps = 1;
  static double ccum, cum, fx, pq;
  static unsigned long qhi, qleft, qporq;

  if (!(*which >= 1 && *which <= 3)) {
    *bound = *which < 1 ? 1.0 : 3.0;
    *status = -1;
    return;
  }
  // Each domain test is written so that a not-a-number argument fails it.
  if (*which != 1) {
    if (!(*p >= 0.0)) {
      *bound = 0.0;
      *status = -2;
      return;
    }
    if (*p > 1.0) {
      *bound = 1.0;
      *status = -2;
      return;
    }
    if (!(*q > 0.0)) {
      *bound = 0.0;
      *status = -3;
      return;
    }
    if (*q > 1.0) {
      *bound = 1.0;
      *status = -3;
      return;
    }
  }
  if (*which != 2 && !(*x >= 0.0)) {
    *bound = 0.0;
    *status = -4;
    return;
  }
  if (*which != 3 && !(*df > 0.0)) {
    *bound = 0.0;
    *status = -5;
    return;
  }

  if (*which == 1) {
    *status = 0;
    cumchi(x, df, p, q);
    if (*p > 1.5) *status = 10;
    return;
  }

  pq = *p + *q;
  if (std::fabs(pq - 0.5 - 0.5) > 3.0 * spmpar(&K_eps)) {
    *bound = pq < 0.0 ? 0.0 : 1.0;
    *status = 3;
    return;
  }
  // Match whichever given tail is smaller, for accuracy.
  qporq = *p <= *q;

  // X (which 2) or DF (which 3) is sought; they differ only in the
  // lower end of the search range.
  double* const unknown = *which == 2 ? x : df;
  const double* const low = *which == 2 ? &xlow : &zero;
  *unknown = start;
  dstinv(low, &inf, &step, &step, &stpmul, &atol, &tol);
  *status = 0;
  dinvr(status, unknown, &fx, &qleft, &qhi);
  while (*status == 1) {
    cumchi(x, df, &cum, &ccum);
    // The incomplete gamma ratio signals an error by P = 2.0 and leaves
    // Q as it was, so P is tested whichever tail is compared.
    if (cum > 1.5) {
      *status = 10;
      return;
    }
    fx = qporq ? cum - *p : ccum - *q;
    dinvr(status, unknown, &fx, &qleft, &qhi);
  }
  if (*status == -1) {
    if (qleft) {
      *status = 1;
      *bound = *low;
    } else {
      *status = 2;
      *bound = inf;
    }
  }
}

}  // namespace numlib
