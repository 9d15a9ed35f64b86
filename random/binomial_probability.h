// The probability of m successes in n trials, for many trials.
//
// ln C(n, m) + m ln p + (n - m) ln(1 - p) from log-gamma values cancels when
// n is large: ln Gamma(n + 1) and ln Gamma(n - m + 1) are both near n ln n,
// and the probability loses about 1e-14 n of itself (1e-8 at 2^20 trials,
// 1e-5 at 2^31).  From many_trials on, the binomial variates take it from
// here instead.
#ifndef VORDEL_RANDOM_BINOMIAL_PROBABILITY_H
#define VORDEL_RANDOM_BINOMIAL_PROBABILITY_H

constexpr int many_trials = 1 << 20;

// ln of the probability of m in n trials of probability p, for 0 <= m <= n:
// the sum of ln((n - j) p) for j < m, minus ln Gamma(m + 1), plus
// (n - m) log1p(-p).  Its cost grows with m.
double binomial_log_probability(int n, int m, double p);

#endif
