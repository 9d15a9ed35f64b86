// Cost of one uniform draw through the current generator (a virtual call of
// MT::Next) beside std::mt19937 with the same conversion (y + 0.5) * 2^-32.
#include "random/vorand1.h"

#include <cstdint>
#include <random>

#include <benchmark/benchmark.h>

static void BM_CurrentGeneratorNext(benchmark::State& state) {
  MT generator(0.12345);
  Random::Set(generator);
  for (auto _ : state) benchmark::DoNotOptimize(Random::RNG->Next());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CurrentGeneratorNext);

static void BM_StdMt19937Next(benchmark::State& state) {
  std::mt19937 generator(530213712u);
  for (auto _ : state) {
    const std::uint32_t y = generator();
    benchmark::DoNotOptimize((y + 0.5) * 0x1p-32);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StdMt19937Next);
