// Sampling without replacement from N consecutive integers, and the sort
// that puts a selection in order.
//
//   MT generator(0.5);
//   Random::Set(generator);
//   int s[5], c[3];
//   RandomPermutation().Next(5, 5, s, 1);  // 1 .. 5 in random order
//   RandomCombination().Next(10, 3, c, 0); // 3 of 0 .. 9, ascending
//
// The uniforms come from the current generator Random::RNG, one per value
// selected.  Errors: Logic_error "Vorand: N < M in RandomPermutation" when
// more values are asked for than there are, Logic_error "Vorand: illegal
// parameters" when the values would not all fit in an int, Bad_alloc
// "Vorand: out of space" when memory runs out.
#ifndef VORDEL_RANDOM_PERMUTATION_H
#define VORDEL_RANDOM_PERMUTATION_H

// Sorts a[0 .. n-1] ascending (Shell sort, increments 1, 4, 13, 40, ...).
// Nothing is done when n < 2.
void ShellSortAscending(int* a, int n);

class RandomPermutation {
 public:
  // Writes M distinct values of start .. start + N - 1 into s[0 .. M-1], in
  // random order (a partial Fisher-Yates shuffle: s[i] is the value at a
  // position drawn uniformly among the N - i not taken yet).  Nothing is
  // drawn or written when M <= 0.
  void Next(int N, int M, int* s, int start);
};

class RandomCombination {
 public:
  // The M values RandomPermutation::Next draws with the same uniforms,
  // sorted ascending.
  void Next(int N, int M, int* s, int start);

  // Sorts a[0 .. n-1] ascending, as ShellSortAscending (a, n).
  static void SortAscending(int n, int* a);
};

#endif
