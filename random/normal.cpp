// The standard normal variate and the one table all Normal objects share.
#include <cmath>

#include "random/vorand2.h"

double Normal::Nxi = 0.0;
VariateTable* Normal::Ntable = nullptr;
long Normal::count = 0;

Normal::Normal() {
  if (count != 0) {
    xi = Nxi;
    sx = Ntable->sx.data();
    sfx = Ntable->sfx.data();
    not_ready = false;
  } else {
    Build(true);
    Nxi = xi;
    Ntable = own_table.release();  // from now on owned through count
  }
  ++count;
}

Normal::~Normal() {
  if (--count == 0) {
    delete Ntable;
    Ntable = nullptr;
  }
}

const char* Normal::Name() { return "Normal"; }

double Normal::Density(double x) const {
  return std::fabs(x) > 8.0 ? 0.0 : std::exp(-x * x * 0.5) * 0.39894228;
}
