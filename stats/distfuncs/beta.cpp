// The beta family of distfuncs.h: cumbet.
#include "stats/distfuncs/distfuncs.h"

#include "stats/distfuncs/bratio.h"

namespace numlib {

void cumbet(const double* x, const double* y, const double* a, const double* b, double* cum,
            double* ccum) {
  if (*x <= 0.0) {
    *cum = 0.0;
    *ccum = 1.0;
    return;
  }
  if (*y <= 0.0) {
    *cum = 1.0;
    *ccum = 0.0;
    return;
  }
  // The callers have checked the arguments; the ratio's own status adds
  // nothing they do not know.
  int ierr = 0;
  bratio(a, b, x, y, cum, ccum, &ierr);
}

}  // namespace numlib
