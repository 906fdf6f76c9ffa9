#include "pile/eimphi.h"

#include <cmath>

#include "soil/lookups.h"

namespace torva {

namespace {

bool usable(const Model& m, int s, int j) {
  // A curve needs a second point with a non-zero curvature for its initial secant.
  return m.NPTMP(s, j) >= 2 && m.PHIMP(s, j, 2) != 0.0;
}

// Secant M/phi of curve j of set s at curvature phi (the curve must be usable).
double secant(const Model& m, int s, int j, double phi) {
  const int np = m.NPTMP(s, j);
  if (phi <= m.PHIMP(s, j, 1) || phi <= 0.0) return m.MOMMP(s, j, 2) / m.PHIMP(s, j, 2);
  for (int p = 2; p <= np; ++p) {
    const double f1 = m.PHIMP(s, j, p);
    if (phi <= f1) {
      const double f0 = m.PHIMP(s, j, p - 1);
      const double m0 = m.MOMMP(s, j, p - 1), m1 = m.MOMMP(s, j, p);
      const double M = f1 > f0 ? m0 + (phi - f0) * (m1 - m0) / (f1 - f0) : m1;
      return M / phi;
    }
  }
  return m.MOMMP(s, j, np) / phi;  // plastic plateau beyond the last point
}

template <class SetOf>
void eimphi(const Model& m, int g, double P, NodeVec& EI, const NodeVec& y, SetOf set_of) {
  const int t = m.PTYPE(g);
  const int n = m.NSEG(t);
  const double h = m.PILELEN(t) / n;
  const double h2 = h * h;
  for (int mm = 4; mm <= n + 4; ++mm) {
    double phi = std::abs(y(mm + 1) - 2.0 * y(mm) + y(mm - 1)) / h2;
    if (phi < 1.0e-15) phi = 0.0;
    const int s = set_of(m, g, t, m.DEPAX(g, mm - 3));
    if (s <= 0) continue;
    const int nc = m.NCRVMP(s);
    if (nc <= 0) continue;
    int j = 1;
    if (nc == 1 || P <= m.AXLMP(s, 1)) {
      j = 1;
    } else if (P >= m.AXLMP(s, nc)) {
      j = nc;
    } else {
      for (int c = 1; c < nc; ++c)
        if (m.AXLMP(s, c) <= P && P < m.AXLMP(s, c + 1)) {
          j = c;
          break;
        }
    }
    const double eij = usable(m, s, j) ? secant(m, s, j, phi) : EI(mm);
    double ei = eij;
    if (j < nc && P > m.AXLMP(s, j)) {
      const double eij1 = usable(m, s, j + 1) ? secant(m, s, j + 1, phi) : eij;
      ei = eij1 - (m.AXLMP(s, j + 1) - P) * (eij1 - eij) / (m.AXLMP(s, j + 1) - m.AXLMP(s, j));
    }
    EI(mm) = ei;
  }
}

}  // namespace

void EIMPHIY(const Model& m, int g, double P, NodeVec& EI, const NodeVec& y) {
  eimphi(m, g, P, EI, y, SECMPHIY);
}
void EIMPHIZ(const Model& m, int g, double P, NodeVec& EI, const NodeVec& y) {
  eimphi(m, g, P, EI, y, SECMPHIZ);
}

}  // namespace torva
