// Coefficients of Stirling's series for the remainder of ln Gamma:
//   ln Gamma(x) - ((x - 0.5) ln x - x + 0.5 ln(2 pi))
//     = (c0 + c1/x^2 + c2/x^4 + ... + c5/x^10) / x  (approximately, x >= 8)
// shared by the log-gamma function and the log-beta corrections.
#ifndef VORDEL_STATS_DISTFUNCS_STIRLING_H
#define VORDEL_STATS_DISTFUNCS_STIRLING_H

namespace numlib {

inline constexpr double kStirlingDel[6] = {0.0833333333333333,   -0.00277777777760991,
                                           0.00079365066682539,  -0.00059520293135187,
                                           0.000837308034031215, -0.00165322962780713};

}  // namespace numlib

#endif
