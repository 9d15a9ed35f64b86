#include "stats/distfuncs/search_loops.h"

#include "stats/distfuncs/search.h"

namespace numlib {

namespace {

constexpr double kAbsStep = 0.5;
constexpr double kRelStep = 0.5;
constexpr double kStepMultiplier = 5.0;
constexpr double kAbsTol = 1e-50;
constexpr double kRelTol = 1e-8;

// A search failure (status -1) as the distribution functions report it.
void report_end(unsigned long qleft, SearchRange range, int* status, double* bound) {
  if (qleft) {
    *status = 1;
    *bound = range.low;
  } else {
    *status = 2;
    *bound = range.high;
  }
}

}  // namespace

void search_for_unknown(double* unknown, double start, SearchRange range, const TailTarget& target,
                        const TailsAt& tails_at, int* status, double* bound) {
  double fx = 0.0;
  unsigned long qleft = 0, qhi = 0;
  *unknown = start;
  dstinv(&range.low, &range.high, &kAbsStep, &kRelStep, &kStepMultiplier, &kAbsTol, &kRelTol);
  *status = 0;
  dinvr(status, unknown, &fx, &qleft, &qhi);
  while (*status == 1) {
    const Tails t = tails_at();
    if (t.failed) {
      *status = 10;
      return;
    }
    fx = target.fx(t);
    dinvr(status, unknown, &fx, &qleft, &qhi);
  }
  if (*status == -1) report_end(qleft, range, status, bound);
}

void search_complementary_pair(double* varied, double* complement, const TailTarget& target,
                               const TailsAt& tails_at, int* status, double* bound) {
  constexpr SearchRange kUnit = {0.0, 1.0};
  double fx = 0.0, xlo = 0.0, xhi = 0.0;
  unsigned long qleft = 0, qhi = 0;
  dstzr(&kUnit.low, &kUnit.high, &kAbsTol, &kRelTol);
  *status = 0;
  dzror(status, varied, &fx, &xlo, &xhi, &qleft, &qhi);
  *complement = 1.0 - *varied;
  while (*status == 1) {
    const Tails t = tails_at();
    if (t.failed) {
      *status = 10;
      return;
    }
    fx = target.fx(t);
    dzror(status, varied, &fx, &xlo, &xhi, &qleft, &qhi);
    *complement = 1.0 - *varied;
  }
  if (*status == -1) report_end(qleft, kUnit, status, bound);
}

}  // namespace numlib
