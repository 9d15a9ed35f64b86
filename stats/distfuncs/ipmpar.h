// Machine constants of the distribution routines.
//
// `ipmpar` returns entry i (1 to 10) of a fixed table describing 32-bit
// integers and IEEE single and double precision: integer base and digits,
// largest integer, floating base, then digits, smallest and largest
// exponent of single and of double precision (a number being a fraction in
// [1/base, 1) times base to the exponent).
// `spmpar` derives the double-precision constants from that table:
// i <= 1 the machine epsilon 2^-52, i = 2 the smallest positive normal
// number 2^-1022, i >= 3 the largest finite number.
// The table is a constant and every working value a local: both are
// reentrant.
#ifndef VORDEL_STATS_DISTFUNCS_IPMPAR_H
#define VORDEL_STATS_DISTFUNCS_IPMPAR_H

namespace numlib {

int ipmpar(const int* i);
double spmpar(const int* i);

// The entries of ipmpar's table the library reads: the largest integer,
// the floating base and the digits and exponent range of double precision.
inline constexpr int kLargestInt = 3;
inline constexpr int kFloatBase = 4;
inline constexpr int kDoubleDigits = 8;
inline constexpr int kDoubleEmin = 9;
inline constexpr int kDoubleEmax = 10;
// The arguments of spmpar.
inline constexpr int kMachineEpsilon = 1;
inline constexpr int kSmallestNormal = 2;
inline constexpr int kLargestFinite = 3;

}  // namespace numlib

#endif
