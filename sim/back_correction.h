// Back-correction of a positive value x through a log-linear map whose
// coefficients (m, s) depend on two counts a and b:
//   exp((ln x - m) / (s / 2.302585 + 1)).
// Nothing in the program calls these functions.
#ifndef VORDEL_SIM_BACK_CORRECTION_H
#define VORDEL_SIM_BACK_CORRECTION_H

// Takes (m, s) from the correction table at a' = min(a, 100) and
// b' = min(b, 100).  Returns x unchanged when a <= 1, b <= 1 or x == 0.
// Only some rows of the table are available; any other row throws
// std::out_of_range naming a' and b'.  A negative x gives NaN.
double back_correction(int a, int b, double x);

// Takes (m, s) from quadratic surfaces in A = a' and B = b', where a' is 100
// for a >= 121 and a otherwise (no lower bound), and b' = min(b, 100).
// Returns x unchanged when x == 0; a negative x gives NaN.
double my_back_correction(int a, int b, double x);

#endif
