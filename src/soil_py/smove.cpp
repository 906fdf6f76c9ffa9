#include "soil_py/smove.h"

#include <cmath>

namespace torva {

namespace {

constexpr double TOLSM = double(1e-5f);  // two profile points closer than this: their mean

// Interpolates component `mv` (SMPY or SMPZ) of row g's profile at every node.
void smove_nodes(const Model& m, int g, const RowArr2<double, MAXROWP, MAXSMPT>& mv,
                 std::span<double> values) {
  const int t = m.PTYPE(g);
  const int n = m.NSEG(t) + 1;
  TORVA_ASSERT(int(values.size()) >= n, "soil-movement array shorter than the pile's nodes");
  const int np = m.NSMPT < MAXSMPT ? m.NSMPT : MAXSMPT;
  if (np < 1) {
    for (int j = 1; j <= n; ++j) values[std::size_t(j - 1)] = 0.0;
    return;
  }
  const double top = m.SMPD(g, 1), bottom = m.SMPD(g, np);
  int p = 2;  // moves forward only: the nodes come in increasing depth
  for (int j = 1; j <= n; ++j) {
    const double d = m.DEPN(g, j);
    double v = 0.0;
    if (d >= top && d <= bottom) {
      if (np == 1) {
        v = mv(g, 1);  // a one-point profile acts at its own depth only
      } else {
        while (p < np && m.SMPD(g, p) < d) ++p;
        const double lo = m.SMPD(g, p - 1), hi = m.SMPD(g, p);
        const double m0 = mv(g, p - 1), m1 = mv(g, p);
        v = std::abs(hi - lo) < TOLSM ? (m0 + m1) / 2.0 : m0 + (d - lo) * (m1 - m0) / (hi - lo);
      }
    }
    values[std::size_t(j - 1)] = v * m.TCURSM;
  }
}

}  // namespace

void SMOVEY(const Model& m, int g, std::span<double> values) {
  smove_nodes(m, g, m.SMPY, values);
}

void SMOVEZ(const Model& m, int g, std::span<double> values) {
  smove_nodes(m, g, m.SMPZ, values);
}

}  // namespace torva
