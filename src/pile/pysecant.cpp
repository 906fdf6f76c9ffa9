#include "pile/pysecant.h"

#include <cmath>

#include "model/messages.h"
#include "pile/istate.h"
#include "soil_py/pycurve.h"

namespace torva {

namespace {

// Soil resistance of curve c of set u at deflection yr: linear between the bracketing
// points, the last point's resistance beyond the curve.
double resistance(const Model& m, int u, int c, double yr) {
  const int np = m.NPTPY(u, c);
  if (np < 1) return 0.0;
  for (int i = 2; i <= np; ++i) {
    const double y1 = m.PYY(u, c, i);
    if (y1 >= yr) {
      if (y1 == yr) return m.PYP(u, c, i);
      const double y0 = m.PYY(u, c, i - 1);
      const double p0 = m.PYP(u, c, i - 1), p1 = m.PYP(u, c, i);
      return y1 > y0 ? p0 + (yr - y0) * (p1 - p0) / (y1 - y0) : p1;
    }
  }
  return m.PYP(u, c, np);
}

}  // namespace

void PYSECANT(Model& m, int g, const NodeVec& y, NodeVec& Es, const NodeVec& s1,
              const NodeVec& s2, NodeVec& F, NodeVec& p) {
  const int u = std::abs(m.PYSETG(g));
  const int ms = m.PMODTAB(g);
  const int t = m.PTYPE(g);
  const int n = m.NSEG(t);
  const double h = m.PILELEN(t) / n;
  const int N = n + 4;
  const int nc = m.NCRVPY(u);
  const bool modf = m.IPYMOD == 1 && ms > 0;
  const bool movement = m.NSMPT > 0;
  const double tol = m.TOLDEP;
  // A y-multiplier of zero (or below) scales no deflection; it counts as 1.
  const double ymult = m.YMULT(g) > 0.0 ? m.YMULT(g) : 1.0;
  const double pmult = m.PMULT(g);

  if (m.IPYOUT == 0 || m.IPYOUT == 1) m.GSDEPTH(g) = m.FREELEN(g) + m.HEADDEP(g);

  int c = 2;
  // One node: false when the curves end above it (message and state already set).
  auto node = [&](int mm, bool cap_pass) -> bool {
    const double d = (mm - 4) * h;
    double x = m.HEADDEP(g) + d;
    double pf = 1.0, yf = 1.0;
    if (modf) {
      int set;
      PYMODFAC(m, g, set, d, pf, yf);
    }
    if (x < 0.0) {
      if (!cap_pass) {
        Es(mm) = 0.0;
        F(mm) = 0.0;
        p(mm) = 0.0;
      }
      return true;
    }
    if (cap_pass) x = 0.99 * m.HEADDEP(g);

    int cl, cu;
    if (nc == 1) {
      // A set of one curve applies that curve at every depth.
      cl = cu = 1;
    } else {
      // The node coordinate is a product of rounded values: a node within the position
      // tolerance of a curve depth lies on that curve (the tip on a last curve there).
      while (c <= nc && m.PYDEP(u, c) < x - tol) ++c;
      if (c > nc || nc < 1) {
        emit(m, TO_REPORT, "");
        emit(m, TO_REPORT, "");
        emit(m, TO_REPORT, "  -  P-Y CURVES DO NOT EXTEND THE LENGTH OF THE PILE");
        raise_istate(m, 1);
        return false;
      }
      cu = c;
      cl = std::abs(x - m.PYDEP(u, c)) <= tol ? c : c - 1;
    }

    double D = 0.0, yr = std::abs(y(mm));
    if (movement) {
      D = std::sqrt(s1(mm) * s1(mm) + s2(mm) * s2(mm));
      yr = std::abs(y(mm) - D);
    }
    if (cap_pass) yr = m.CAPUH;
    if (yr < m.SMALL) yr = m.SMALL;

    const double pcu = resistance(m, u, cu, yr);
    const double pcl = cl == cu ? pcu : resistance(m, u, cl, yr);
    double scale = pmult / (ymult * yr);
    if (modf) scale *= pf / yf;
    const double esu = scale * pcu, esl = scale * pcl;
    double es = esu, pcap = pcu;
    if (cl != cu) {
      const double r = (m.PYDEP(u, cu) - x) / (m.PYDEP(u, cu) - m.PYDEP(u, cl));
      es = esu - r * (esu - esl);
      pcap = pcu - r * (pcu - pcl);
    }
    if (cap_pass) {
      m.PCAPP(g) = pcap;
      return true;
    }
    Es(mm) = es;
    if (m.IPYOUT == 0 && movement) F(mm) = es * D;
    double pr = (y(mm) > D ? -pmult : pmult) * pcu;
    if (modf) pr *= pf;
    p(mm) = pr;
    return true;
  };

  if (m.ICAPOPT == 1)
    for (int mm = 4; mm <= 5; ++mm)
      if (!node(mm, true)) return;
  for (int mm = 4; mm <= N; ++mm)
    if (!node(mm, false)) return;
}

}  // namespace torva
