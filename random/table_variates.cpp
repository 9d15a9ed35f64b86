// The table method: PosGen (one-sided), SymGen (symmetric), AsymGen
// (two-sided) and their forms over a density function.
#include <newmat/myexcept.h>

#include "random/allocate.h"
#include "random/vorand2.h"

using RBD_COMMON::Runtime_error;

namespace {

constexpr int pos_nodes = 60;    // one-sided table: at most 59 rectangles
constexpr int asym_nodes = 121;  // two-sided table; the last node is the upper end
constexpr int asym_upper = 120;

// Lays nodes from x on, each the end of a rectangle of the given area (the
// area is negative to walk down), into sx[first], sx[first+1], ... up to
// sx[end-1].  Returns the index of the first node whose density is 0 or
// below, or end when there is none.
int lay_nodes(const Random& g, VariateTable& t, double x, double area, int first, int end) {
  int i = first;
  for (; i < end; ++i) {
    t.sx[i] = x;
    t.sfx[i] = g.Density(x);
    if (t.sfx[i] <= 0) break;
    x = x + area / t.sfx[i];
  }
  return i;
}

// One try of a draw in the interval from node i to node j: a point x
// uniform on it, then an ordinate y uniform under the height sfx[i].  Accepts
// when y lies below the height at the far node, or else below the density.
bool try_interval(const Random& g, const double* sx, const double* sfx, int i, int j, double& x) {
  x = sx[i] + Random::RNG->Next() * (sx[j] - sx[i]);
  const double y = sfx[i] * Random::RNG->Next();
  return y < sfx[j] || y < g.Density(x);
}

}  // namespace

// ---------------------------------------------------------------------------
// One-sided and symmetric.

void PosGen::Build(bool sym) {
  // A build that fails leaves the generator unbuilt: drawing from a table
  // whose interval count was never set would give wrong values.
  auto t = allocate<VariateTable>(pos_nodes);
  const int count = lay_nodes(*this, *t, 0.0, sym ? 0.01 : 0.02, 0, pos_nodes);
  if (count == pos_nodes) throw Runtime_error("Vorand: area too large");
  if (count < 50) throw Runtime_error("Vorand: area too small");
  own_table = std::move(t);
  sx = own_table->sx.data();
  sfx = own_table->sfx.data();
  xi = sym ? 2 * count : count;
  not_ready = false;
}

double PosGen::Next() {
  if (not_ready) Build(false);
  double x;
  for (;;) {
    const int i = static_cast<int>(Random::RNG->Next() * xi);
    if (try_interval(*this, sx, sfx, i, i + 1, x)) return x;
  }
}

double SymGen::Next() {
  if (not_ready) Build(true);
  // The table's last interval: a first uniform of exactly 0.5 would select
  // the interval after it, which ends beyond the table.
  const int last = static_cast<int>(xi / 2) - 1;
  double x;
  for (;;) {
    double u = Random::RNG->Next();
    double sign = 1.0;
    if (u > 0.5) {
      sign = -1.0;
      u = 1.0 - u;
    }
    int i = static_cast<int>(u * xi);
    if (i > last) i = last;
    if (try_interval(*this, sx, sfx, i, i + 1, x)) return sign * x;
  }
}

// ---------------------------------------------------------------------------
// Two-sided.

void AsymGen::Build() {
  auto t = allocate<VariateTable>(asym_nodes);
  // Up from the mode; the node where the density vanishes is the upper end.
  const int up_end = lay_nodes(*this, *t, mode, 0.01, 0, asym_upper);
  if (up_end == asym_upper) throw Runtime_error("Vorand: area too large (a)");
  t->sx[asym_upper] = t->sx[up_end];
  t->sfx[asym_upper] = 0.0;
  // Down from the mode again, over the upward run's last node.
  const int down_end = lay_nodes(*this, *t, mode, -0.01, up_end, asym_upper);
  if (down_end == asym_upper) throw Runtime_error("Vorand: area too large (b)");
  if (down_end < 100) throw Runtime_error("Vorand: area too small");
  table = std::move(t);
  last_up = up_end - 1;
  xi = down_end;
  not_ready = false;
}

double AsymGen::Next() {
  if (not_ready) Build();
  const double* sx = table->sx.data();
  const double* sfx = table->sfx.data();
  double x;
  for (;;) {
    const int i = static_cast<int>(Random::RNG->Next() * xi);
    if (try_interval(*this, sx, sfx, i, i == last_up ? asym_upper : i + 1, x)) return x;
  }
}

// ---------------------------------------------------------------------------
// Names.

const char* PosGen::Name() { return "PosGen"; }
const char* SymGen::Name() { return "SymGen"; }
const char* AsymGen::Name() { return "AsymGen"; }
const char* PosGenX::Name() { return "PosGenX"; }
const char* SymGenX::Name() { return "SymGenX"; }
const char* AsymGenX::Name() { return "AsymGenX"; }
