// Matrix and 3-D array printing to standard output.
#include <cstdio>

#include "stats/varlib/util.h"

namespace numlib {

namespace {

// rows lines of cols elements each, then one more newline.
template <class T>
void print_rows(const T* m, int rows, int cols, const char* format) {
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) std::printf(format, m[r * cols + c]);
    std::printf("\n");
  }
  std::printf("\n");
}

template <class T>
void print_blocks(const T* a, int d1, int d2, int d3, const char* format) {
  for (int i = 0; i < d1; ++i) {
    for (int j = 0; j < d2; ++j) {
      for (int k = 0; k < d3; ++k) std::printf(format, a[(i * d2 + j) * d3 + k]);
      std::printf("\n");
    }
    std::printf("\n");
  }
  std::printf("\n");
}

}  // namespace

void print_mat_double(const double* m, int rows, int cols) { print_rows(m, rows, cols, "%f "); }
void print_mat_int(const int* m, int rows, int cols) { print_rows(m, rows, cols, "%d "); }
void print_3D_array_double(const double* a, int d1, int d2, int d3) {
  print_blocks(a, d1, d2, d3, "%f ");
}
void print_3D_array_int(const int* a, int d1, int d2, int d3) {
  print_blocks(a, d1, d2, d3, "%d ");
}

}  // namespace numlib
