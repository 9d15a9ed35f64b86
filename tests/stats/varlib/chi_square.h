// Pearson's chi-square goodness of fit of integer draws against a
// probability function, or over cells against a tail function, shared by
// the discrete variates' tests.
#ifndef VORDEL_TESTS_STATS_VARLIB_CHI_SQUARE_H
#define VORDEL_TESTS_STATS_VARLIB_CHI_SQUARE_H

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include <boost/math/distributions/chi_squared.hpp>

using Pmf = std::function<double(std::int64_t)>;

// p-value of Pearson's chi-square statistic of the draws against pmf
// (support from 0).  Single values from 0 up to the largest draw or to
// where the probability left is below 1e-9 are cells, the last one taking
// the rest, and cells are merged from each end inward until every expected
// count is at least 5.
inline double chi_square_p(const std::vector<std::int64_t>& x, const Pmf& pmf) {
  const std::int64_t largest = *std::max_element(x.begin(), x.end());
  const double n = x.size();
  std::vector<double> o, e;
  double total = 0;
  for (std::int64_t k = 0; k <= largest || total < 1 - 1e-9; ++k) {
    e.push_back(n * pmf(k));
    total += pmf(k);
  }
  e.back() += n * std::max(0.0, 1 - total);
  o.assign(e.size(), 0);
  for (std::int64_t v : x) ++o[v];
  const auto merge_from_front = [](std::vector<double>& o, std::vector<double>& e) {
    while (e.size() > 1 && e.front() < 5) {
      e[1] += e[0], o[1] += o[0];
      e.erase(e.begin()), o.erase(o.begin());
    }
  };
  merge_from_front(o, e);
  std::reverse(o.begin(), o.end()), std::reverse(e.begin(), e.end());
  merge_from_front(o, e);
  double chi2 = 0;
  for (std::size_t i = 0; i < e.size(); ++i) chi2 += (o[i] - e[i]) * (o[i] - e[i]) / e[i];
  namespace bm = boost::math;
  return bm::cdf(bm::complement(bm::chi_squared(e.size() - 1.0), chi2));
}

// p-value of Pearson's chi-square statistic of the draws over the cells
// (-inf, edges[0]), [edges[0], edges[1]), ..., [edges.back(), inf), with
// tail(k) = P(X >= k) of the law; for laws whose counts are too many to
// take one by one.  The edges must leave every expected count at 5 or more.
inline double binned_chi_square_p(const std::vector<std::int64_t>& x,
                                  const std::vector<std::int64_t>& edges,
                                  const std::function<double(std::int64_t)>& tail) {
  const double n = x.size();
  std::vector<double> o(edges.size() + 1, 0), e(edges.size() + 1, 0);
  for (std::int64_t v : x) ++o[std::upper_bound(edges.begin(), edges.end(), v) - edges.begin()];
  double above = 1;  // P(X >= the cell's lower edge)
  for (std::size_t i = 0; i < edges.size(); ++i) {
    const double next = tail(edges[i]);
    e[i] = n * (above - next);
    above = next;
  }
  e.back() = n * above;
  double chi2 = 0;
  for (std::size_t i = 0; i < e.size(); ++i) chi2 += (o[i] - e[i]) * (o[i] - e[i]) / e[i];
  namespace bm = boost::math;
  return bm::cdf(bm::complement(bm::chi_squared(e.size() - 1.0), chi2));
}

#endif
