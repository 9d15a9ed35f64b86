// Separation of cases from controls: the counting rule for one SNP and, for
// several, a linear program solved exactly by an integer-preserving simplex
// method.
//
// Let a_i = x_i for a case and -x_i for a control (x_i the design vector of
// individual i).  Either some b gives a_i b >= 0 for every i and > 0 for
// some (the groups are separated), or some weights y_i > 0 give
// sum y_i a_i = 0, and never both (Stiemke's theorem of the alternative).
// Scaling y, the second is: y_i = 1 + z_i with z >= 0 and
// sum z_i a_i = -sum a_i, the feasibility of a linear program, which the
// first phase of the simplex method decides.  Individuals with the same
// a_i share one weight, so the program has one column per distinct a_i
// and one row per coefficient.
#include "assoc/separation.h"

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <set>
#include <vector>

#include <boost/multiprecision/cpp_int.hpp>

namespace single_snp_test {

namespace {

using Big = boost::multiprecision::cpp_int;

// The program is solved in 64-bit integers, with 128-bit intermediate
// results, as long as every entry stays within +-2^62 (then every product
// of two entries, and the difference of two such products, fits); an entry
// beyond that range stops it, and it is solved again in unbounded integers.
struct OutOfRange {};
constexpr std::int64_t kLimit = std::int64_t{1} << 62;

// The type of sums of products of entries.
template <typename Int>
struct Sum {
  using type = Int;
};
template <>
struct Sum<std::int64_t> {
  using type = __int128;
};

// An entry as an operand of such sums (unbounded integers are not copied).
__int128 wide(std::int64_t value) { return value; }
const Big& wide(const Big& value) { return value; }

std::int64_t narrow(__int128 value) {
  if (value > kLimit || value < -kLimit) throw OutOfRange{};
  return static_cast<std::int64_t>(value);
}
const Big& narrow(const Big& value) { return value; }

// (p a - q b) / d, an exact division under the pivoting rule.
template <typename Int>
Int pivoted(const Int& p, const Int& a, const Int& q, const Int& b, const Int& d) {
  using S = typename Sum<Int>::type;
  return narrow(S(wide(p) * wide(a) - wide(q) * wide(b)) / wide(d));
}

// a / b < c / d for positive b and d.
template <typename Int>
bool ratio_below(const Int& a, const Int& b, const Int& c, const Int& d) {
  return wide(a) * wide(d) < wide(c) * wide(b);
}

// True when some weights y > 0, one per column of `columns` (each holding
// `rows` integers), give sum y_r columns[r] = 0.
//
// The revised simplex method on the program A z + u = b (the equations
// signed so that b >= 0, u the artificial variables, first basic), which
// minimises the sum of u: it is feasible when that minimum is 0.  Every
// row of the tableau is a combination of the rows of the program and of
// its cost row (0 for z, 1 for u), the tableau being that matrix times the
// program's; only the combinations are kept (`multiplier`, a row per
// equation and one for the reduced costs), with the right sides, and each
// column is formed when it is needed.  Integers throughout: everything is
// held times the common denominator d, the last pivot (positive), and each
// update divides exactly by the pivot before.
template <typename Int>
bool phase_one_feasible(const std::vector<std::vector<int>>& columns, std::size_t rows) {
  using S = typename Sum<Int>::type;
  const std::size_t m = columns.size();
  const std::size_t artificial = m;  // column of u_0; u_k is column m + k

  // The signs of the equations, and the right sides: row `rows` holds
  // minus the sum of the artificial variables.
  std::vector<int> sign(rows, 1);
  std::vector<Int> right(rows + 1, Int(0));
  for (std::size_t i = 0; i < rows; ++i) {
    S b(0);
    for (const std::vector<int>& column : columns) b -= column[i];
    if (b < 0) sign[i] = -1;
    right[i] = narrow(S(sign[i] * b));
    right[rows] = narrow(S(wide(right[rows]) - wide(right[i])));
  }
  // The reduced-cost row starts as the cost row less every equation.
  std::vector<std::vector<Int>> multiplier(rows + 1, std::vector<Int>(rows, Int(0)));
  for (std::size_t i = 0; i < rows; ++i) {
    multiplier[i][i] = Int(1);
    multiplier[rows][i] = Int(-1);
  }
  Int d(1);
  std::vector<std::size_t> basis(rows);
  for (std::size_t i = 0; i < rows; ++i) basis[i] = artificial + i;

  // Entry of tableau row i (a combination of the equations) in column j.
  const auto entry = [&](std::size_t i, std::size_t j) -> Int {
    if (j >= artificial) {
      // The cost row contributes d for an artificial variable.
      return i == rows ? narrow(S(wide(multiplier[i][j - artificial]) + wide(d)))
                       : multiplier[i][j - artificial];
    }
    S sum(0);
    for (std::size_t k = 0; k < rows; ++k)
      if (columns[j][k] != 0) sum += wide(multiplier[i][k]) * (sign[k] * columns[j][k]);
    return narrow(sum);
  };

  // The column of the most negative reduced cost enters (the first of
  // them), and among the rows of the least ratio the one whose basic
  // variable comes first leaves.  After kPatience pivots in a row that
  // leave the objective where it was, Bland's rule takes over (the first
  // column with a negative reduced cost enters) until a pivot moves it:
  // the method then cannot cycle.
  constexpr int kPatience = 50;
  int stalled = 0;
  std::vector<Int> column(rows + 1);
  for (;;) {
    std::size_t enter = m + rows;
    Int lowest(0);
    for (std::size_t j = 0; j < m + rows; ++j) {
      const Int cost = entry(rows, j);
      if (cost < lowest) {
        enter = j;
        lowest = cost;
        if (stalled >= kPatience) break;
      }
    }
    if (enter == m + rows) break;  // optimal
    for (std::size_t i = 0; i < rows; ++i) column[i] = entry(i, enter);
    column[rows] = lowest;
    std::size_t leave = rows;
    for (std::size_t i = 0; i < rows; ++i) {
      if (!(column[i] > 0)) continue;
      if (leave == rows || ratio_below(right[i], column[i], right[leave], column[leave]) ||
          (!ratio_below(right[leave], column[leave], right[i], column[i]) &&
           basis[i] < basis[leave]))
        leave = i;
    }
    // The sum of the artificial variables is bounded below by 0.
    assert(leave < rows);
    // The objective moves unless the leaving row's right side is 0.
    stalled = right[leave] == 0 ? stalled + 1 : 0;
    const Int p = column[leave];
    for (std::size_t i = 0; i <= rows; ++i) {
      if (i == leave) continue;
      for (std::size_t k = 0; k < rows; ++k)
        multiplier[i][k] = pivoted(p, multiplier[i][k], column[i], multiplier[leave][k], d);
      right[i] = pivoted(p, right[i], column[i], right[leave], d);
    }
    d = p;
    basis[leave] = enter;
  }
  // Feasible when the artificial variables can all be 0.
  return right[rows] == 0;
}

// The counting rule for one SNP (column `snp`).
bool separated_at(const Haplotypes& haplotypes, const Phenotypes& phenotypes, int snp) {
  constexpr int kNone = std::numeric_limits<int>::max();
  int lowest[2] = {kNone, kNone};
  int highest[2] = {-kNone, -kNone};
  const std::size_t individuals = haplotypes.size() / 2;
  for (std::size_t i = 0; i < individuals; ++i) {
    const int count = haplotypes[2 * i][snp] + haplotypes[2 * i + 1][snp];
    const int group = phenotypes[i] == 1 ? 1 : 0;
    lowest[group] = std::min(lowest[group], count);
    highest[group] = std::max(highest[group], count);
  }
  const bool controls = lowest[0] != kNone;
  const bool cases = lowest[1] != kNone;
  if (!controls || !cases) return controls || cases;
  if (std::min(lowest[0], lowest[1]) == std::max(highest[0], highest[1])) return false;
  return highest[0] <= lowest[1] || highest[1] <= lowest[0];
}

}  // namespace

bool separated(const Haplotypes& haplotypes, const Phenotypes& phenotypes,
               const SnpIndices& snp_indices) {
  assert(haplotypes.size() / 2 <= phenotypes.size());
  if (snp_indices.size() == 1) return separated_at(haplotypes, phenotypes, *snp_indices.begin());

  // The distinct a_i: the design vector, negated for a control.
  std::set<std::vector<int>> distinct;
  std::vector<int> a(snp_indices.size() + 1);
  const std::size_t individuals = haplotypes.size() / 2;
  for (std::size_t i = 0; i < individuals; ++i) {
    const int sign = phenotypes[i] == 1 ? 1 : -1;
    std::size_t j = 0;
    a[j++] = sign;
    for (const int snp : snp_indices)
      a[j++] = sign * (haplotypes[2 * i][snp] + haplotypes[2 * i + 1][snp]);
    distinct.insert(a);
  }
  return !vanishing_positive_combination({distinct.begin(), distinct.end()});
}

bool vanishing_positive_combination(const std::vector<std::vector<int>>& columns) {
  const std::size_t rows = columns.empty() ? 0 : columns.front().size();
  assert(std::all_of(columns.begin(), columns.end(),
                     [rows](const std::vector<int>& column) { return column.size() == rows; }));
  try {
    return phase_one_feasible<std::int64_t>(columns, rows);
  } catch (const OutOfRange&) {
    return phase_one_feasible<Big>(columns, rows);
  }
}

}  // namespace single_snp_test
