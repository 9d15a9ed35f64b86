// Shared oracles of the distribution-routine tests, built on Boost.Math.
#ifndef VORDEL_TESTS_STATS_ORACLE_HELPERS_H
#define VORDEL_TESTS_STATS_ORACLE_HELPERS_H

#include <functional>
#include <vector>

namespace oracle {

// |got - want| / |want|; |got - want| when want is 0.
double rel_err(double got, double want);

// Error allowed in P(a, x) and Q(a, x) (relative to each) at requested
// accuracy acc.  Beside acc it allows 16 roundings of x, amplified by the
// condition number x f(x) / min(P, Q) of the ratios with respect to x: the
// routines form x/a and similar quotients, whose rounding no method can
// undo when a is large and x sits many standard deviations into a tail.
double gamma_ratio_tolerance(double a, double x, double acc);

// The library function F, which takes its arguments by address, called
// with them by value.
template <auto F>
inline constexpr auto by_value = [](auto... args) { return F(&args...); };

// lo, lo + (hi - lo)/n, ..., hi, then each of `edges` with the doubles
// just below and just above it, so that every branch threshold is crossed.
std::vector<double> grid(double lo, double hi, int n, std::initializer_list<double> edges = {});

// Expects |got(x) - want(x)| <= tol max(|want(x)|, floor) at every x of xs:
// relative error, turning absolute where |want| falls below floor (near a
// zero of the function that its computation does not follow relatively).
using Fn = std::function<double(double)>;
void expect_close(const char* what, const std::vector<double>& xs, const Fn& got, const Fn& want,
                  double tol, double floor = 0.0);

}  // namespace oracle

#endif
