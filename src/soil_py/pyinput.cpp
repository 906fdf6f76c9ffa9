// User-defined p-y curves: at each node the curves of the row's set that bracket the node
// depth, each read at the node's deflection, interpolated linearly in depth.
#include "soil_py/pyframe.h"

namespace torva {
namespace {

// p of curve c of set s at deflection Q: linear between its points, the last point's p
// beyond them.
double user_p(const Model& m, int s, int c, double Q) {
  const int np = std::min(m.NPTPY(s, c), MAXPYPT);
  if (np < 1) return 0.0;
  for (int k = 2; k <= np; ++k) {
    if (m.PYY(s, c, k) >= Q) {
      const double y0 = m.PYY(s, c, k - 1), y1 = m.PYY(s, c, k);
      if (y1 - y0 <= 0.0) return m.PYP(s, c, k);
      return m.PYP(s, c, k - 1) + (Q - y0) * (m.PYP(s, c, k) - m.PYP(s, c, k - 1)) / (y1 - y0);
    }
  }
  return m.PYP(s, c, np);
}

void short_set(Model& m, int& status) {
  const unsigned to = TO_ECHO | TO_REPORT | TO_RUNLOG;
  emit(m, to, "");
  emit(m, to, "");
  emit(m, to, "     P-Y CURVES DO NOT EXTEND THE LENGTH OF THE PILE");
  status = ST_INPUTCHECK;
}

}  // namespace

void PYINPUT(Model& m, int t, int L, int& status, int g, int gf, const NodeArr& y, NodeArr& Es,
             const NodeArr& smy, const NodeArr& smz, NodeArr& psm, NodeArr& p) {
  // The user curves are neither printed nor plotted.
  if (m.IPYPRT != 0) return;
  SETGSDEPTH(m, g);
  const int s = std::abs(m.PYSETG(g));
  const int nc = (s >= 1 && s <= MAXPYSET) ? std::min(m.NCRVPY(s), MAXPYCRV) : 0;
  // A node that no curve of the set reaches has no spring: the run stops rather than
  // completing without it. A set of one curve serves every depth.
  if (nc < 1) {
    short_set(m, status);
    return;
  }
  const int n1 = m.NODE1(g, L), n2 = m.NODE2(g, L);
  const bool modset = m.IPYMOD == 1 && m.PMODTAB(g) >= 1;
  const bool moving = m.IPYOUT == 0 && m.NSMPT > 0;
  const double seg = t >= 1 ? m.SEGLEN(t) : 0.0;
  int I = 2;
  double acc = 0.0;
  for (int pass = 1; pass <= 2; ++pass) {
    if (pass == 1 && (m.ICAPOPT != 1 || n1 != 1)) continue;
    const int nb = pass == 1 ? 1 : n1, ne = pass == 1 ? 1 : n2;
    for (int n = nb; n <= ne; ++n) {
      // The embedded-cap pass reads the curves just above the head at the head's deflection.
      const double d = pass == 1 ? 0.99 * m.HEADDEP(g) : m.DEPN(g, n);
      const double msm = moving ? std::sqrt(smy(n) * smy(n) + smz(n) * smz(n)) : 0.0;
      const double Q = std::max(moving ? std::abs(y(n) - msm) : std::abs(y(n)), m.SMALL);
      double pf = 1.0, yf = 1.0;
      if (m.IPYMOD == 1) {
        int set;
        PYMODFAC(m, g, set, d, pf, yf);
      }
      int j = 1, k = 1;
      if (nc >= 2) {
        // A node within the position tolerance of a curve depth lies on that curve.
        while (I <= nc && m.PYDEP(s, I) < d - m.TOLDEP) ++I;
        if (I > nc) {
          short_set(m, status);
          return;
        }
        k = I;
        j = std::abs(m.PYDEP(s, I) - d) <= m.TOLDEP ? I : I - 1;
      }
      const double fac = m.PMULT(gf) / (Q * m.YMULT(gf)) * (modset ? pf / yf : 1.0);
      const int npj = std::max(1, std::min(m.NPTPY(s, j), MAXPYPT));
      const int npk = std::max(1, std::min(m.NPTPY(s, k), MAXPYPT));
      const double pj = user_p(m, s, j, Q), pk = user_p(m, s, k, Q);
      const double puj = m.PYP(s, j, npj), puk = m.PYP(s, k, npk);
      double pc = pk, pu = puk;
      if (j != k) {
        const double w = (m.PYDEP(s, k) - d) / (m.PYDEP(s, k) - m.PYDEP(s, j));
        pc = pk - (pk - pj) * w;
        pu = puk - (puk - puj) * w;
      }
      if (pass == 1) {
        m.PCAPP(g) = pc;
        continue;
      }
      Es(n) = pc * fac;
      p(n) = (y(n) <= msm ? 1.0 : -1.0) * m.PMULT(gf) * pc;
      if (moving) psm(n) = Es(n) * msm;
      acc += seg * pu;
      m.PUSUM(g, L) = acc;
    }
  }
}

}  // namespace torva
