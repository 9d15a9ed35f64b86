// The probability of k failures before the N-th success, for large N.
//
// ln Gamma(k + N) - ln Gamma(N) from two log-gamma values cancels when N is
// large: each is near N ln N and carries a rounding of about 1e-16 of that,
// and the probability lost about 1e-15 N of itself (1e-9 at 2^20, 6e-2 at
// 1e13), differently at each k.  From large_shape on the negative binomial
// variate takes it from here instead, the same size from which the binomial
// variates take theirs from logarithms (random/binomial_probability.h).
#ifndef VORDEL_RANDOM_NEGATIVE_BINOMIAL_PROBABILITY_H
#define VORDEL_RANDOM_NEGATIVE_BINOMIAL_PROBABILITY_H

constexpr double large_shape = 1 << 20;

// ln of Gamma(N + k) / (Gamma(N) k!) p^N (1 - p)^k with p = 1 / (1 + P), for
// N >= large_shape, odds P > 0 and a whole k >= 0.  With T = N + k it is
// the Poisson probability of k at the mean T (1 - p), times
// exp(-D(N, T p)) / sqrt(T / N) and the quotient of the Stirling series'
// tails at T and N, where D(x, M) = x ln(x / M) + M - x is summed as a
// series near x = M.  No large term cancels another: the probability is
// within 5e-14 of itself, relative, wherever it is above exp(-40), at any
// k and mean N P (against 400-bit values at 3,200 random points with N from
// 2^20 to 1e20 and means from 0.01 to 1e12).
double negative_binomial_log_probability(double N, double P, double k);

#endif
