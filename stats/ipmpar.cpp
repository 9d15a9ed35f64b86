#include "stats/ipmpar.h"

#include <cassert>
#include <cmath>

namespace numlib {

int ipmpar(const int* i) {
  static int imach[11];

  assert(*i >= 1 && *i <= 10);
  // 32-bit integers
  imach[1] = 2;
  imach[2] = 31;
  imach[3] = 2147483647;
  // floating base, then IEEE single precision
  imach[4] = 2;
  imach[5] = 24;
  imach[6] = -125;
  imach[7] = 128;
  // IEEE double precision
  imach[8] = 53;
  imach[9] = -1021;
  imach[10] = 1024;
  return imach[*i];
}

double spmpar(const int* i) {
  static const int K_base = 4;
  static const int K_digits = 8;
  static const int K_emin = 9;
  static const int K_emax = 10;
  static double result, b, binv, bm1, one, w, z;
  static int m, emin, emax, ibeta;

  if (*i <= 1) {
    // machine epsilon b^(1 - m)
    b = ipmpar(&K_base);
    m = ipmpar(&K_digits);
    result = std::pow(b, static_cast<double>(1 - m));
    return result;
  }
  if (*i == 2) {
    // smallest normal magnitude b^(emin + 2) / b^3
    b = ipmpar(&K_base);
    emin = ipmpar(&K_emin);
    one = 1.0;
    binv = one / b;
    w = std::pow(b, static_cast<double>(emin + 2));
    result = w * binv * binv * binv;
    return result;
  }
  // largest magnitude (1 - b^-m) b^emax, built without overflow
  ibeta = ipmpar(&K_base);
  m = ipmpar(&K_digits);
  emax = ipmpar(&K_emax);
  b = ibeta;
  bm1 = ibeta - 1;
  one = 1.0;
  z = std::pow(b, static_cast<double>(m - 1));
  w = ((z - one) * b + bm1) / (b * z);
  z = std::pow(b, static_cast<double>(emax - 2));
  result = w * z * b * b;
  return result;
}

}  // namespace numlib
