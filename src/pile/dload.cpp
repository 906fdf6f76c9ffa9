#include "pile/dload.h"

#include <cmath>

namespace torva {

namespace {

void dload(const Model& m, int g, const RowArr2<double, MAXROWP, MAXDLNODE>& W, NodeVec& q) {
  const int n = m.NSEG(m.PTYPE(g));
  const int L = m.DLNODES(g);
  const double tol = m.TOLDEP;
  int i = 2;
  for (int k = 1; k <= n + 1; ++k) {
    double x = m.DEPAX(g, k) - m.HEADDEP(g);
    // The table lies on the pile's own nodes; the node coordinate is an accumulated sum,
    // so a node at the table's end may miss it by a rounding error: compare within the
    // position tolerance and clamp.
    if (L < 1 || x < m.DLPOS(g, 1) - tol || x > m.DLPOS(g, L) + tol) {
      q(k) = 0.0;
      continue;
    }
    if (L == 1) {
      q(k) = W(g, 1);
      continue;
    }
    if (x < m.DLPOS(g, 1)) x = m.DLPOS(g, 1);
    if (x > m.DLPOS(g, L)) x = m.DLPOS(g, L);
    while (i < L && m.DLPOS(g, i) < x) ++i;
    const double p0 = m.DLPOS(g, i - 1), p1 = m.DLPOS(g, i);
    if (std::abs(p1 - p0) < tol)
      q(k) = 0.5 * (W(g, i) + W(g, i - 1));
    else
      q(k) = W(g, i - 1) + (x - p0) * (W(g, i) - W(g, i - 1)) / (p1 - p0);
  }
}

}  // namespace

void DLOADY(const Model& m, int, int g, NodeVec& q) { dload(m, g, m.DLWY, q); }
void DLOADZ(const Model& m, int, int g, NodeVec& q) { dload(m, g, m.DLWZ, q); }

}  // namespace torva
