// Elementary functions of the distribution routines.
//
// Polynomial evaluation, the small numeric intrinsics the routines use in
// place of the language's own (truncation, maximum, minimum, sign transfer,
// integer part, remainder), and functions accurate near 0 that the plain
// formulas would lose to cancellation:
//
//   devlpl(a, n, x)     a[0] + a[1] x + ... + a[n-1] x^(n-1), by Horner's
//                       rule from a[n-1] down; n >= 1
//   fifdint(a)          a truncated toward zero, through a signed 64-bit
//                       integer; |a| < 2^63
//   fifdmax1(a, b)      b if b > a, else a
//   fifdmin1(a, b)      a if a < b, else b
//   fifdsign(mag, sign) |mag| when sign >= 0 (or not a number), else -|mag|
//   fifidint(a)         0 when a < 1 (negative a included), else a truncated
//                       to a signed 64-bit integer; a < 2^63
//   fifmod(a, b)        the remainder of a / b, with the sign of a; b != 0
//   rlog1(x)            x - ln(1 + x), x > -1
//   dexpm1(x)           e^x - 1 (the same computation as rexp)
//   alnrel(a)           ln(1 + a), a > -1
//   dln1px(a)           the same as alnrel
//   dln1mx(x)           ln(1 - x), x < 1: alnrel(-x)
//   esum(mu, x)         exp(mu + x) without overflow of an intermediate
//                       exponential where the result is representable
//
// Arguments are passed by address and only read (fifmod's by value).
// Outside the stated domains the functions return whatever the arithmetic
// gives; none of them reports an error.
#ifndef VORDEL_STATS_DISTFUNCS_ELEMENTARY_H
#define VORDEL_STATS_DISTFUNCS_ELEMENTARY_H

#include <cstdint>

namespace numlib {

double devlpl(const double a[], const int* n, const double* x);
double fifdint(const double* a);
double fifdmax1(const double* a, const double* b);
double fifdmin1(const double* a, const double* b);
double fifdsign(const double* mag, const double* sign);
std::int64_t fifidint(const double* a);
std::int64_t fifmod(std::int64_t a, std::int64_t b);

double rlog1(const double* x);
double dexpm1(const double* x);
double alnrel(const double* a);
double dln1px(const double* a);
double dln1mx(const double* x);
double esum(const int* mu, const double* x);

}  // namespace numlib

#endif
