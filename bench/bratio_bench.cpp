// Cost of one incomplete beta ratio: bratio beside Boost's ibeta at the same
// a, b and x, one parameter set per main expansion.  Arguments: a, b and x,
// each times 100.
#include "stats/distfuncs/bratio.h"

#include <boost/math/special_functions/beta.hpp>

#include <benchmark/benchmark.h>

static void BM_Bratio(benchmark::State& state) {
  double a = state.range(0) / 100.0;
  double b = state.range(1) / 100.0;
  double x = state.range(2) / 100.0;
  double y = 1.0 - x;
  double w = 0.0, w1 = 0.0;
  int ierr = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(x);
    numlib::bratio(&a, &b, &x, &y, &w, &w1, &ierr);
    benchmark::DoNotOptimize(w);
  }
  state.SetItemsProcessed(state.iterations());
}

static void BM_BoostIbeta(benchmark::State& state) {
  const double a = state.range(0) / 100.0;
  const double b = state.range(1) / 100.0;
  double x = state.range(2) / 100.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(x);
    benchmark::DoNotOptimize(boost::math::ibeta(a, b, x));
  }
  state.SetItemsProcessed(state.iterations());
}

// The power series (a = 5, b = 3, x = 0.2), bup then the power series
// (a = 3, b = 2.5, x = 0.5), bup then the gamma expansion (a = 20,
// b = 5.5, x = 0.75), the continued fraction (a = 50, b = 60, x = 0.45) and
// the asymptotic expansion (a = b = 500, x = 0.5).
#define BETA_CASES             \
  ->Args({500, 300, 20})       \
      ->Args({300, 250, 50})   \
      ->Args({2000, 550, 75})  \
      ->Args({5000, 6000, 45}) \
      ->Args({50000, 50000, 50})

BENCHMARK(BM_Bratio) BETA_CASES;
BENCHMARK(BM_BoostIbeta) BETA_CASES;
