#include "stats/varlib/com.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace numlib {

namespace {

// Seeds of each virtual generator (element g-1 for generator g) and the
// package's flags: the state that outlives every call.
struct ComState {
  std::int64_t Xig1[numg] = {}, Xig2[numg] = {};  // initial seeds
  std::int64_t Xlg1[numg] = {}, Xlg2[numg] = {};  // start of the current block
  std::int64_t Xcg1[numg] = {}, Xcg2[numg] = {};  // current seeds
  std::int64_t Xqanti[numg] = {};                 // antithetic flags
  std::int64_t initialized = 0;
  std::int64_t seeds_set = 0;
  std::int64_t current = 1;
};

ComState state;

constexpr std::int64_t kDefaultSeed1 = 1234567890;
constexpr std::int64_t kDefaultSeed2 = 123456789;

// Index of the current generator into the seed arrays.
int current_index() { return static_cast<int>(state.current - 1); }

// Stops the process unless the package is initialised; `message` ends
// with its own line end when it has one.
void require_initialized(const char* message) {
  if (state.initialized != 0) return;
  std::fputs(message, stderr);
  std::exit(EXIT_FAILURE);
}

}  // namespace

void inrgcm() {
  for (std::int64_t& flag : state.Xqanti) flag = 0;
  std::int64_t one = 1;
  gsrgs(1, &one);
}

void gsrgs(std::int64_t getset, std::int64_t* qvalue) {
  if (getset == 0)
    *qvalue = state.initialized;
  else
    state.initialized = *qvalue;
}

void gssst(std::int64_t getset, std::int64_t* qset) {
  if (getset == 0)
    *qset = state.seeds_set;
  else
    state.seeds_set = 1;
}

void gscgn(std::int64_t getset, std::int64_t* g) {
  if (getset == 0) {
    *g = state.current;
    return;
  }
  // Generator 0 names no generator: refused like 33.  A refusal is a failure.
  if (*g < 1 || *g > numg) {
    std::fputs(" Generator number out of range in GSCGN", stderr);
    std::exit(EXIT_FAILURE);
  }
  state.current = *g;
}

void setall(std::int64_t iseed1, std::int64_t iseed2) {
  std::int64_t one = 1;
  gssst(1, &one);
  std::int64_t saved = 0;
  gscgn(0, &saved);
  if (state.initialized == 0) inrgcm();
  state.Xig1[0] = iseed1;
  state.Xig2[0] = iseed2;
  std::int64_t g = 1;
  gscgn(1, &g);
  initgn(-1);
  for (g = 2; g <= numg; ++g) {
    state.Xig1[g - 1] = mltmod(Xa1vw, state.Xig1[g - 2], Xm1);
    state.Xig2[g - 1] = mltmod(Xa2vw, state.Xig2[g - 2], Xm2);
    gscgn(1, &g);
    initgn(-1);
  }
  gscgn(1, &saved);
}

void initgn(std::int64_t isdtyp) {
  require_initialized(" INITGN called before random number generator  initialized -- abort!\n");
  const int i = current_index();
  if (isdtyp == -1) {
    state.Xlg1[i] = state.Xig1[i];
    state.Xlg2[i] = state.Xig2[i];
  } else if (isdtyp == 1) {
    state.Xlg1[i] = mltmod(Xa1w, state.Xlg1[i], Xm1);
    state.Xlg2[i] = mltmod(Xa2w, state.Xlg2[i], Xm2);
  } else if (isdtyp != 0) {
    std::fputs("isdtyp not in range in INITGN\n", stderr);
    std::exit(EXIT_FAILURE);
  }
  state.Xcg1[i] = state.Xlg1[i];
  state.Xcg2[i] = state.Xlg2[i];
}

void setsd(std::int64_t iseed1, std::int64_t iseed2) {
  require_initialized(" SETSD called before random number generator  initialized -- abort!\n");
  // A seed of 0 or m freezes its component, and one outside 0..m sends
  // ignlgi and ranf out of their ranges.
  if (iseed1 < 1 || iseed1 >= Xm1 || iseed2 < 1 || iseed2 >= Xm2) {
    std::fprintf(stderr,
                 " iseed1, iseed2 out of range in setsd - ABORT!\n"
                 " iseed1 = %12" PRId64 " iseed2 = %12" PRId64
                 "\n"
                 " setsd requires: 0 < iseed1 < %" PRId64 "; 0 < iseed2 < %" PRId64 "\n",
                 iseed1, iseed2, Xm1, Xm2);
    std::exit(EXIT_FAILURE);
  }
  const int i = current_index();
  state.Xig1[i] = iseed1;
  state.Xig2[i] = iseed2;
  initgn(-1);
}

void getsd(std::int64_t* iseed1, std::int64_t* iseed2) {
  require_initialized(" GETSD called before random number generator  initialized -- abort!\n");
  const int i = current_index();
  *iseed1 = state.Xcg1[i];
  *iseed2 = state.Xcg2[i];
}

void setant(std::int64_t qvalue) {
  require_initialized(" SETANT called before random number generator  initialized -- abort!\n");
  state.Xqanti[current_index()] = qvalue;
}

void advnst(std::int64_t k) {
  require_initialized(" ADVNST called before random generator initialized - ABORT");
  std::int64_t b1 = Xa1, b2 = Xa2;
  for (std::int64_t i = 1; i <= k; ++i) {
    b1 = mltmod(b1, b1, Xm1);
    b2 = mltmod(b2, b2, Xm2);
  }
  const int g = current_index();
  setsd(mltmod(b1, state.Xcg1[g], Xm1), mltmod(b2, state.Xcg2[g], Xm2));
}

std::int64_t ignlgi() {
  if (state.initialized == 0) inrgcm();
  if (state.seeds_set == 0) setall(kDefaultSeed1, kDefaultSeed2);
  const int g = current_index();
  // Schrage's method: a s mod m without overflow, from m = a q + r.
  std::int64_t s1 = state.Xcg1[g];
  std::int64_t k = s1 / 53668;
  s1 = Xa1 * (s1 - k * 53668) - k * 12211;
  if (s1 < 0) s1 += Xm1;
  std::int64_t s2 = state.Xcg2[g];
  k = s2 / 52774;
  s2 = Xa2 * (s2 - k * 52774) - k * 3791;
  if (s2 < 0) s2 += Xm2;
  state.Xcg1[g] = s1;
  state.Xcg2[g] = s2;
  std::int64_t z = s1 - s2;
  if (z < 1) z += Xm1 - 1;
  if (state.Xqanti[g] != 0) z = Xm1 - z;
  return z;
}

float ranf() { return static_cast<float>(static_cast<double>(ignlgi()) * 4.656613057E-10); }

std::int64_t mltmod(std::int64_t a, std::int64_t s, std::int64_t m) {
  if (a <= 0 || a >= m || s <= 0 || s >= m) {
    std::fputs(" a, m, s out of order in mltmod - ABORT!", stderr);
    std::fprintf(stderr, " a = %12" PRId64 " s = %12" PRId64 " m = %12" PRId64 "\n", a, s, m);
    std::fputs(" mltmod requires: 0 < a < m; 0 < s < m", stderr);
    std::exit(EXIT_FAILURE);
  }
  // a = a1 h + a0 with h = 2^15; each partial product by Schrage's method.
  constexpr std::int64_t h = 32768;
  std::int64_t a0 = a, p = 0;
  if (a >= h) {
    std::int64_t a1 = a / h;
    a0 = a - h * a1;
    const std::int64_t qh = m / h, rh = m - h * qh;
    if (a1 >= h) {
      a1 -= h;
      const std::int64_t k = s / qh;
      p = h * (s - k * qh) - k * rh;
      while (p < 0) p += m;
    }
    if (a1 != 0) {
      const std::int64_t q = m / a1, k = s / q;
      p -= k * (m - a1 * q);
      if (p > 0) p -= m;
      p += a1 * (s - k * q);
      while (p < 0) p += m;
    }
    const std::int64_t k = p / qh;
    p = h * (p - k * qh) - k * rh;
    while (p < 0) p += m;
  }
  if (a0 != 0) {
    const std::int64_t q = m / a0, k = s / q;
    p -= k * (m - a0 * q);
    if (p > 0) p -= m;
    p += a0 * (s - k * q);
    while (p < 0) p += m;
  }
  return p;
}

std::int64_t lennob(std::string_view str) {
  const std::size_t last = str.find_last_not_of(' ');
  return last == std::string_view::npos ? 0 : static_cast<std::int64_t>(last + 1);
}

void phrtsd(std::string_view phrase, std::int64_t* seed1, std::int64_t* seed2) {
  // The apostrophe, the backslash and the double quote are one character
  // each.
  constexpr std::string_view table =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!@#$%^&*()_+[];:'\\\"<>?,./";
  static_assert(table.size() == 87, "the phrase table has 87 characters");
  constexpr std::int64_t twop30 = 1073741824;
  constexpr std::int64_t shift[5] = {1, 64, 4096, 262144, 16777216};

  *seed1 = kDefaultSeed1;
  *seed2 = kDefaultSeed2;
  const std::int64_t n = lennob(phrase);
  for (std::int64_t i = 0; i < n; ++i) {
    const std::size_t found = table.find(phrase[static_cast<std::size_t>(i)]);
    const std::int64_t ix = found == std::string_view::npos ? 0 : static_cast<std::int64_t>(found);
    std::int64_t ichr = ix % 64;
    if (ichr == 0) ichr = 63;
    std::int64_t values[5];
    for (int j = 0; j < 5; ++j) {
      values[j] = ichr - (j + 1);
      if (values[j] < 1) values[j] += 63;
    }
    for (int j = 0; j < 5; ++j) {
      *seed1 = (*seed1 + shift[j] * values[j]) % twop30;
      *seed2 = (*seed2 + shift[j] * values[4 - j]) % twop30;
    }
  }
}

}  // namespace numlib
