#include "stats/distfuncs/search.h"

#include <algorithm>
#include <cmath>

#include "stats/distfuncs/ftnstop.h"

namespace numlib {

namespace {

// What a routine waits for when it returns with status 1.
enum Waiting {
  kIdle = 0,
  // dinvr
  kAtSmall = 1,
  kAtBig = 2,
  kAtStart = 3,
  kSteppingUp = 4,
  kSteppingDown = 5,
  kZeroFinder = 6,
};
enum ZeroWaiting {
  kZeroIdle = 0,
  kAtLow = 1,
  kAtHigh = 2,
  kAfterStep = 3,
};

struct SearchState {
  // set by dstinv
  double small = 0.0, big = 0.0, absstp = 0.0, relstp = 0.0, stpmul = 0.0;
  double abstol = 0.0, reltol = 0.0;
  // working values
  double xsave = 0.0, fsmall = 0.0, fbig = 0.0, step = 0.0, xlb = 0.0, xub = 0.0, yy = 0.0;
  double xlo = 0.0, xhi = 0.0;
  unsigned long qincr = 0, qbdd = 0, qlim = 0, qdum1 = 0, qdum2 = 0;
  int waiting = kIdle;
};

struct ZeroState {
  // set by dstzr
  double xxlo = 0.0, xxhi = 0.0, abstol = 0.0, reltol = 0.0;
  // working values
  double a = 0.0, b = 0.0, c = 0.0, d = 0.0, fa = 0.0, fb = 0.0, fc = 0.0, fd = 0.0;
  double w = 0.0, m = 0.0, mb = 0.0, p = 0.0, q = 0.0, tol = 0.0, fda = 0.0, fdb = 0.0;
  double xlo = 0.0;
  bool first = false;
  int ext = 0;
  int waiting = kZeroIdle;
};

SearchState inv;
ZeroState zr;

// Return to the caller asking for the function value at point.
void ask(int* status, double* x, double point, int* waiting, int what) {
  *x = point;
  *status = 1;
  *waiting = what;
}

// ---- zero finder ----

// Whether u and v lie on the same side of zero, as u v >= 0 says: a zero
// counts as either side; a value that is not a number, or an infinity
// against a zero, as neither.  Two nonzero values are compared by their
// signs, since their product underflows to zero once both are below about
// 1e-154 and would then lose the bracket.
bool same_side(double u, double v) {
  if (u != 0.0 && v != 0.0 && !std::isnan(u) && !std::isnan(v)) return (u > 0.0) == (v > 0.0);
  return u * v >= 0.0;
}

// (c + b) / 2.  Where c + b overflows (both ends beyond half the largest
// double, as in a search whose range ends near it), the halves are added
// instead: without this the midpoint is infinite, the bisection steps to
// infinity and the bracket never closes.  Halving is exact in the normal
// range, so the two forms agree wherever the sum is finite.
double midpoint(double c, double b) {
  const double m = (c + b) * 0.5;
  if (std::isinf(m) && std::isfinite(c) && std::isfinite(b)) return c * 0.5 + b * 0.5;
  return m;
}

// Step 4: c takes the old point a, and the extrapolation count restarts.
void zero_restart() {
  zr.c = zr.a;
  zr.fc = zr.fa;
  zr.ext = 0;
}

// Steps 5 to 8: order the points, test convergence, take the next step.
void zero_iterate(int* status, double* x, double* xlo, double* xhi) {
  if (std::fabs(zr.fc) < std::fabs(zr.fb)) {
    if (zr.c != zr.a) {
      zr.d = zr.a;
      zr.fd = zr.fa;
    }
    zr.a = zr.b;
    zr.fa = zr.fb;
    zr.xlo = zr.c;
    *xlo = zr.xlo;
    zr.b = zr.xlo;
    zr.fb = zr.fc;
    zr.c = zr.a;
    zr.fc = zr.fa;
  }
  zr.tol = 0.5 * std::max(zr.abstol, zr.reltol * std::fabs(zr.xlo));
  zr.m = midpoint(zr.c, zr.b);
  zr.mb = zr.m - zr.b;
  if (std::fabs(zr.mb) <= zr.tol) {
    *xhi = zr.c;
    const bool bracketed = (zr.fc >= 0.0 && zr.fb <= 0.0) || (zr.fc < 0.0 && zr.fb >= 0.0);
    *status = bracketed ? 0 : -1;
    zr.waiting = kZeroIdle;
    return;
  }
  if (zr.ext > 3) {
    zr.w = zr.mb;
  } else {
    zr.tol = zr.mb < 0.0 ? -std::fabs(zr.tol) : std::fabs(zr.tol);
    zr.p = (zr.b - zr.a) * zr.fb;
    if (zr.first) {
      // secant step
      zr.q = zr.fa - zr.fb;
      zr.first = false;
    } else {
      // inverse quadratic interpolation through a, b, d
      zr.fdb = (zr.fd - zr.fb) / (zr.d - zr.b);
      zr.fda = (zr.fd - zr.fa) / (zr.d - zr.a);
      zr.p = zr.fda * zr.p;
      zr.q = zr.fdb * zr.fa - zr.fda * zr.fb;
    }
    if (zr.p < 0.0) {
      zr.p = -zr.p;
      zr.q = -zr.q;
    }
    if (zr.ext == 3) zr.p *= 2.0;
    if (zr.p == 0.0 || zr.p <= zr.q * zr.tol)
      zr.w = zr.tol;
    else if (zr.p < zr.mb * zr.q)
      zr.w = zr.p / zr.q;
    else
      zr.w = zr.mb;
  }
  zr.d = zr.a;
  zr.fd = zr.fa;
  zr.a = zr.b;
  zr.fa = zr.fb;
  zr.b = zr.b + zr.w;
  zr.xlo = zr.b;
  *xlo = zr.xlo;
  ask(status, x, zr.xlo, &zr.waiting, kAfterStep);
}

// ---- search ----

// Step 7: the target is bracketed by [xlb, xub]; narrow it down.
void search_zero_step(int* status, double* x, const double* fx) {
  dzror(status, x, fx, &inv.xlo, &inv.xhi, &inv.qdum1, &inv.qdum2);
  if (*status == 1) {
    inv.waiting = kZeroFinder;
    return;
  }
  *x = inv.xlo;
  *status = 0;
  inv.waiting = kIdle;
}

void search_bracketed(int* status, double* x, const double* fx) {
  dstzr(&inv.xlb, &inv.xub, &inv.abstol, &inv.reltol);
  *status = 0;
  search_zero_step(status, x, fx);
}

void search_fail(int* status, unsigned long* qleft, unsigned long* qhi, unsigned long left,
                 unsigned long high) {
  *status = -1;
  *qleft = left;
  *qhi = high;
  inv.waiting = kIdle;
}

}  // namespace

void dstinv(const double* zsmall, const double* zbig, const double* zabsst, const double* zrelst,
            const double* zstpmu, const double* zabsto, const double* zrelto) {
  inv.small = *zsmall;
  inv.big = *zbig;
  inv.absstp = *zabsst;
  inv.relstp = *zrelst;
  inv.stpmul = *zstpmu;
  inv.abstol = *zabsto;
  inv.reltol = *zrelto;
}

void dinvr(int* status, double* x, const double* fx, unsigned long* qleft, unsigned long* qhi) {
  if (*status <= 0) {
    if (!(inv.small <= *x && *x <= inv.big)) ftnstop(" SMALL, X, BIG not monotone in INVR");
    inv.xsave = *x;
    ask(status, x, inv.small, &inv.waiting, kAtSmall);
    return;
  }
  switch (inv.waiting) {
    case kAtSmall:
      inv.fsmall = *fx;
      ask(status, x, inv.big, &inv.waiting, kAtBig);
      return;

    case kAtBig:
      inv.fbig = *fx;
      inv.qincr = inv.fbig > inv.fsmall;
      if (inv.qincr) {
        if (!(inv.fsmall <= 0.0)) return search_fail(status, qleft, qhi, 1, 1);
        if (inv.fbig < 0.0) return search_fail(status, qleft, qhi, 0, 0);
      } else {
        if (inv.fsmall < 0.0) return search_fail(status, qleft, qhi, 1, 0);
        if (inv.fbig > 0.0) return search_fail(status, qleft, qhi, 0, 1);
      }
      inv.step = std::max(inv.absstp, inv.relstp * std::fabs(inv.xsave));
      ask(status, x, inv.xsave, &inv.waiting, kAtStart);
      return;

    case kAtStart:
      inv.yy = *fx;
      if (inv.yy == 0.0) {
        *status = 0;
        inv.waiting = kIdle;
        return;
      }
      if ((inv.qincr && inv.yy < 0.0) || (!inv.qincr && inv.yy > 0.0)) {
        inv.xlb = inv.xsave;
        inv.xub = std::min(inv.xlb + inv.step, inv.big);
        ask(status, x, inv.xub, &inv.waiting, kSteppingUp);
      } else {
        inv.xub = inv.xsave;
        inv.xlb = std::max(inv.xub - inv.step, inv.small);
        ask(status, x, inv.xlb, &inv.waiting, kSteppingDown);
      }
      return;

    case kSteppingUp:
      inv.yy = *fx;
      inv.qbdd = (inv.qincr && inv.yy >= 0.0) || (!inv.qincr && inv.yy <= 0.0);
      inv.qlim = inv.xub >= inv.big;
      if (inv.qbdd) return search_bracketed(status, x, fx);
      if (inv.qlim) {
        search_fail(status, qleft, qhi, 0, !inv.qincr);
        *x = inv.big;
        return;
      }
      inv.step *= inv.stpmul;
      inv.xlb = inv.xub;
      inv.xub = std::min(inv.xlb + inv.step, inv.big);
      ask(status, x, inv.xub, &inv.waiting, kSteppingUp);
      return;

    case kSteppingDown:
      inv.yy = *fx;
      inv.qbdd = (inv.qincr && inv.yy <= 0.0) || (!inv.qincr && inv.yy >= 0.0);
      inv.qlim = inv.xlb <= inv.small;
      if (inv.qbdd) return search_bracketed(status, x, fx);
      if (inv.qlim) {
        search_fail(status, qleft, qhi, 1, inv.qincr);
        *x = inv.small;
        return;
      }
      inv.step *= inv.stpmul;
      inv.xub = inv.xlb;
      inv.xlb = std::max(inv.xub - inv.step, inv.small);
      ask(status, x, inv.xlb, &inv.waiting, kSteppingDown);
      return;

    case kZeroFinder:
      search_zero_step(status, x, fx);
      return;

    default:
      return;
  }
}

void dstzr(const double* zxlo, const double* zxhi, const double* zabstl, const double* zreltl) {
  zr.xxlo = *zxlo;
  zr.xxhi = *zxhi;
  zr.abstol = *zabstl;
  zr.reltol = *zreltl;
}

void dzror(int* status, double* x, const double* fx, double* xlo, double* xhi, unsigned long* qleft,
           unsigned long* qhi) {
  if (*status <= 0) {
    zr.xlo = zr.xxlo;
    *xlo = zr.xlo;
    *xhi = zr.xxhi;
    zr.b = zr.xlo;
    ask(status, x, zr.b, &zr.waiting, kAtLow);
    return;
  }
  switch (zr.waiting) {
    case kAtLow:
      zr.fb = *fx;
      zr.xlo = zr.xxhi;
      *xlo = zr.xlo;
      zr.a = zr.xlo;
      ask(status, x, zr.a, &zr.waiting, kAtHigh);
      return;

    case kAtHigh:
      if (zr.fb < 0.0 && *fx < 0.0) {
        *status = -1;
        *qleft = *fx < zr.fb;
        *qhi = 0;
        zr.waiting = kZeroIdle;
        return;
      }
      if (zr.fb > 0.0 && *fx > 0.0) {
        *status = -1;
        *qleft = *fx > zr.fb;
        *qhi = 1;
        zr.waiting = kZeroIdle;
        return;
      }
      zr.fa = *fx;
      zr.first = true;
      zero_restart();
      zero_iterate(status, x, xlo, xhi);
      return;

    case kAfterStep:
      zr.fb = *fx;
      if (same_side(zr.fc, zr.fb))
        zero_restart();
      else
        zr.ext = zr.w == zr.mb ? 0 : zr.ext + 1;
      zero_iterate(status, x, xlo, xhi);
      return;

    default:
      return;
  }
}

}  // namespace numlib
