// Discrete choices and samples without replacement by subtraction.
#include "stats/helpers/draws.h"

#include <newmat/myexcept.h>

#include <iostream>
#include <iterator>
#include <numeric>
#include <string>
#include <vector>

#include "random/vorand1.h"

namespace stathelp {

namespace {

// The number of subtractions of 1/n that bring u (> 0) to 0 or below, at
// most n: a uniform choice in 1..n.
int subtractions(double u, int n) {
  int count = 0;
  do {
    u += -1.0 / n;
    ++count;
  } while (count < n && u > 0.0);
  return count;
}

// One uniform drawn for a pick among n candidates: its 0-based position.
int pick_position(int n, const char* who) {
  const double u = Random::RNG->Next();
  if (u <= 0.0)
    throw RBD_COMMON::Logic_error(
        (std::string(who) + ": a uniform draw of 0 or below chooses no candidate").c_str());
  return subtractions(u, n) - 1;
}

// Checks M <= p <= N (and M >= 0), writing the message when it fails, and
// prepares out[0..p-1] with its fixed prefix 0..M-1.
bool prepare_sample(int N, int M, int p, std::vector<int>* out) {
  if (M < 0 || p < M || p > N) {
    std::cout << "need p >= M and p <= N in samp function" << std::endl;
    return false;
  }
  if (out->size() < static_cast<std::size_t>(p)) out->resize(p);
  std::iota(out->begin(), out->begin() + M, 0);
  return true;
}

}  // namespace

int rmultinom_unif(int n) {
  const double u = Random::RNG->Next();
  if (u <= 0.0 || n < 1) return 0;
  return subtractions(u, n);
}

int rmultinom(const std::vector<double>* p) {
  double u = Random::RNG->Next();
  if (u <= 0.0) return 0;
  for (std::size_t i = 0; i < p->size(); ++i) {
    u -= (*p)[i];
    if (u <= 0.0) return static_cast<int>(i + 1);
  }
  return static_cast<int>(p->size());
}

WeightedEntries::iterator rmultinom(WeightedEntries* entries, double total) {
  if (entries->empty()) throw RBD_COMMON::Logic_error("rmultinom: no entries to choose from");
  double u = Random::RNG->Next();
  if (u <= 0.0)
    throw RBD_COMMON::Logic_error("rmultinom: a uniform draw of 0 or below chooses no entry");
  auto entry = entries->begin();
  while (u > 0.0 && entry != entries->end()) {
    u -= entry->first / total;
    ++entry;
  }
  return std::prev(entry);
}

void samp(int N, int M, int p, std::vector<int>* out) {
  if (!prepare_sample(N, M, p, out)) return;
  std::vector<int> candidates(N - M);
  std::iota(candidates.begin(), candidates.end(), M);
  for (int j = 0; j < p - M; ++j) {
    const auto chosen = candidates.begin() + pick_position(N - M - j, "samp");
    (*out)[M + j] = *chosen;
    candidates.erase(chosen);
  }
}

void samp1(int N, int M, int p, std::vector<int>* out) {
  if (!prepare_sample(N, M, p, out)) return;
  // Only first haplotypes whose partner v + 1 is below N.
  std::vector<int> candidates;
  for (int v = M; v + 1 < N; v += 2) candidates.push_back(v);
  for (int j = 0; j < (p - M) / 2; ++j) {
    const int k = static_cast<int>(candidates.size());
    const auto chosen = candidates.begin() + pick_position(k, "samp1");
    (*out)[M + 2 * j] = *chosen;
    (*out)[M + 2 * j + 1] = *chosen + 1;
    candidates.erase(chosen);
  }
}

}  // namespace stathelp
