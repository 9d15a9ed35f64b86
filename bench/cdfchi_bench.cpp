// Cost of one chi-square upper-tail probability: cdfchi with which 1 (the
// call the association test makes per likelihood-ratio statistic) beside
// Boost's complement cdf of the chi-squared distribution, at the same
// statistic and degrees of freedom.  Arguments: X times 100, DF.
#include "stats/distfuncs/distfuncs.h"

#include <boost/math/distributions/chi_squared.hpp>

#include <benchmark/benchmark.h>

static void BM_CdfchiWhich1(benchmark::State& state) {
  double x = state.range(0) / 100.0;
  double df = static_cast<double>(state.range(1));
  double p = 0.0, q = 0.0, bound = 0.0;
  int which = 1, status = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(x);
    numlib::cdfchi(&which, &p, &q, &x, &df, &status, &bound);
    benchmark::DoNotOptimize(q);
  }
  state.SetItemsProcessed(state.iterations());
}

static void BM_BoostChiSquaredComplement(benchmark::State& state) {
  double x = state.range(0) / 100.0;
  const boost::math::chi_squared dist(static_cast<double>(state.range(1)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(x);
    benchmark::DoNotOptimize(boost::math::cdf(boost::math::complement(dist, x)));
  }
  state.SetItemsProcessed(state.iterations());
}

// A 1-df statistic near the 5% point, a 1-df statistic far in the tail, a
// 3-df test of several SNPs, and a large-DF statistic (Temme's region).
#define CHI_SQUARE_CASES ->Args({384, 1})->Args({3000, 1})->Args({780, 3})->Args({5200, 50})

BENCHMARK(BM_CdfchiWhich1) CHI_SQUARE_CASES;
BENCHMARK(BM_BoostChiSquaredComplement) CHI_SQUARE_CASES;
