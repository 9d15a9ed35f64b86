// Rounding of a draw to an int, for the variates that return whole numbers
// as doubles.
#ifndef VORDEL_RANDOM_ROUND_TO_INT_H
#define VORDEL_RANDOM_ROUND_TO_INT_H

// floor(x + 0.5) as an int.  When that is outside the range of int, or x is
// NaN, throws newmat's Runtime_error "Cannot convert to integer " under the
// trace record "Round ", before any conversion is made.
int round_to_int(double x);

#endif
