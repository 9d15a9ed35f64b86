// Shared oracles of the distribution-routine tests, built on Boost.Math.
#ifndef VORDEL_TESTS_STATS_ORACLE_HELPERS_H
#define VORDEL_TESTS_STATS_ORACLE_HELPERS_H

namespace oracle {

// |got - want| / |want|; |got - want| when want is 0.
double rel_err(double got, double want);

// Error allowed in P(a, x) and Q(a, x) (relative to each) at requested
// accuracy acc.  Beside acc it allows 16 roundings of x, amplified by the
// condition number x f(x) / min(P, Q) of the ratios with respect to x: the
// routines form x/a and similar quotients, whose rounding no method can
// undo when a is large and x sits many standard deviations into a tail.
double gamma_ratio_tolerance(double a, double x, double acc);

}  // namespace oracle

#endif
