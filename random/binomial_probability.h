// The probability of m successes in n trials, without the cancellation of
// log-gamma values.
//
// ln C(n, m) + m ln p + (n - m) ln(1 - p) from log-gamma values cancels when
// n is large: ln Gamma(n + 1) and ln Gamma(n - m + 1) are both near n ln n,
// and the probability loses about 1e-14 n of itself (1e-8 at 2^20 trials,
// 1e-5 at 2^31).  From many_trials on, Binomial's table takes it from the
// sum of logarithms below; VariBinomial takes it from the saddle-point form
// at every n.
#ifndef VORDEL_RANDOM_BINOMIAL_PROBABILITY_H
#define VORDEL_RANDOM_BINOMIAL_PROBABILITY_H

constexpr int many_trials = 1 << 20;

// ln of the probability of m in n trials of probability p, for 0 <= m <= n:
// the sum of ln((n - j) p) for j < m, minus ln Gamma(m + 1), plus
// (n - m) log1p(-p).  Its cost grows with m, and so does the rounding of
// its sum: 4e-12 of the probability at m = 199.
double binomial_log_probability(int n, int m, double p);

// The same for 1 <= m <= n - 1 by the saddle-point form
// (random/saddle_point.h): Stirling's tails at n, m and n - m and the
// deviances of m from n p and of n - m from n (1 - p), none of which
// cancels another.  A handful of elementary functions, at any m.  At
// m = trunc(n p) for n p from 10 to 200 the probability is within 5.5e-16
// of itself, relative, from 21 to 2^31 - 1 trials (against 200-bit values
// at 15,090 points); far from n p the deviance's logarithm cancels, and the
// logarithm is within about 2e-15 of itself there.
double binomial_saddle_log_probability(int n, int m, double p);

#endif
