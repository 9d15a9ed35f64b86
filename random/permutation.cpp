// Random permutations and combinations, and the Shell sort.
#include "random/permutation.h"

#include <climits>
#include <new>
#include <vector>

#include <newmat/myexcept.h>

#include "random/allocate.h"
#include "random/vorand1.h"

using RBD_COMMON::Logic_error;

void ShellSortAscending(int* a, int n) {
  // The first increment is the first term of 1, 4, 13, 40, ... above n / 9.
  int h = 1;
  while (h <= n / 9) h = 3 * h + 1;
  for (; h > 0; h /= 3) {
    // Insertion sort of each of the h interleaved sequences.
    for (int i = h; i < n; ++i) {
      const int value = a[i];
      int j = i;
      for (; j >= h && a[j - h] > value; j -= h) a[j] = a[j - h];
      a[j] = value;
    }
  }
}

void RandomPermutation::Next(int N, int M, int* s, int start) {
  if (N < M) throw Logic_error("Vorand: N < M in RandomPermutation");
  if (M <= 0) return;
  if (start > INT_MAX - (N - 1)) throw Logic_error("Vorand: illegal parameters");
  std::vector<int> r;  // the values not taken yet, in r[i .. N-1]
  try {
    r.resize(N);
  } catch (const std::bad_alloc&) {
    throw_out_of_space();
  }
  for (int i = 0; i < N; ++i) r[i] = start + i;
  for (int i = 0; i < M; ++i) {
    const int j = i + static_cast<int>((N - i) * Random::RNG->Next());
    s[i] = r[j];
    r[j] = r[i];
  }
}

void RandomCombination::Next(int N, int M, int* s, int start) {
  RandomPermutation().Next(N, M, s, start);
  SortAscending(M, s);
}

void RandomCombination::SortAscending(int n, int* a) { ShellSortAscending(a, n); }
