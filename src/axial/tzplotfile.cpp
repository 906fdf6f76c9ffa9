#include "axial/tzplotfile.h"

#include <memory>

#include "axial/axdist.h"
#include "axial/axtip.h"
#include "axial/curvedata.h"
#include "model/model.h"
#include "soil/lookups.h"

namespace torva {

namespace {

constexpr double kPiPlot = double(3.1415927f);     // pi of the plot curves
constexpr double kTolDepth = double(1.0e-6f);      // a point above this depth has no curve
constexpr double kDegPerRad = 180.0 / double(3.1416f);

// Soil code at the coordinate x: the first layer whose bottom lies below x, else layer 1
// (0 without layers; no curve is generated then).
int code_at(const Model& m, double x) {
  for (int L = 1; L <= m.NLAYER; ++L)
    if (m.LBOT(L) > x) return m.LTYPE(L);
  return m.NLAYER >= 1 ? m.LTYPE(1) : 0;
}

void two_ints(Model& m, int a, int b) { CurveRec(m).I(a).I(b).end(); }

// The axial (torsion false) or the torsional block of row g. The curve a point carries to
// the next is its own half-segment curve, so that every written curve is the spring of the
// point's share of pile length: half of each adjacent plot segment.
void plot_block(Model& m, int g, bool torsion, int& status) {
  const int t = m.PTYPE(g);
  const int n = m.NPLTPT;
  CDINTS(m, g, n + 1, torsion ? 3 : 2);
  if (n < 1) return;  // refused at input; nothing to divide
  const int kind = m.PILEKIND(t);
  const int ns = m.NSECT(t);
  const double L = m.PILELEN(t);
  const double h = L / n;
  const double ground = m.FREELEN(g) + m.HEADDEP(g);
  // Without soil layers no point has soil: every point is written as one without a curve,
  // as above the ground.
  const bool soil = m.NLAYER >= 1;
  auto w = std::make_unique<AXWORK>();
  double cu[NTZPT] = {}, cf[NTZPT] = {};  // the curve carried from the point above
  double u[NTZPT], f[NTZPT], su[NTZPT], sf[NTZPT];
  m.IPLTGS = 0;
  for (int k = 1; k <= n + 1; ++k) {
    const double xk = m.CORX(g) + (k - 1) * h;
    const bool prev = m.IPLTGS == 1;
    m.IPLTGS = 0;
    if (k > n) {
      // The tip: the carried curve, and on the axial bearing side the tip resistance.
      const double xt = m.CORX(g) + L;
      const bool below = soil && xt - ground >= kTolDepth;
      if (below) m.PI = kPiPlot;
      if (below && !torsion) {
        const int code = code_at(m, m.CORX(g) + (n - 0.5) * h);
        AXTIPAT(m, g, t, xt, code, m.SAREAB(t, ns), m.SDIAMB(t, ns), false, status, *w);
        if (status != 0) return;
      }
      CDNODE(m, k, xk);
      two_ints(m, below ? 1 : 0, below ? m.NPTTZPL : 0);
      if (!below) return;
      m.IPLTGS = 1;
      if (torsion) {
        CDMIRROR(m, cu, cf, cf, NTZPT);
        return;
      }
      // Without a carried curve (the ground within the last half segment) the tip curve
      // alone gives the movements.
      for (int j = 0; j < NTZPT; ++j) {
        su[j] = prev ? cu[j] : w->TIPW(j + 1);
        const double fc = prev ? cf[j] : 0.0;
        sf[j] = fc;
        f[j] = fc + QWREAD(w->TIPW, w->TIPQ, su[j]);
      }
      CDMIRROR(m, su, sf, f, NTZPT);
      return;
    }
    const double zk = m.CORX(g) + (k - 0.5) * h;
    const double zr = zk - ground;
    const bool has = soil && zr >= kTolDepth;
    CDNODE(m, k, xk);
    two_ints(m, has ? 1 : 0, has ? m.NPTTZPL : 0);
    if (!has) continue;
    m.PI = kPiPlot;
    m.IPLTGS = 1;
    // The t-z curve of the soil at the segment middle.
    const int code = code_at(m, zk);
    w->DPTMAX(1) = AXTMAX(m, code, kind, zk, zr, zr, status);
    if (status != 0) return;
    w->DPPHI(1) = BPHIDEP(m, zk, status) * kDegPerRad;
    if (status != 0) return;
    TZSHAPE(m, code, kind, 1, m.SDIAM(t, 1), w->DPT, w->DPZ, w->DPTMAX, w->DPPHI);
    // Half of the segment's side resistance, as force (or torque) against movement (or
    // rotation).
    const double D = SECDIAM(m, g, t, zk);
    const double r = D / 2.0;
    for (int j = 0; j < NTZPT; ++j) {
      const double z = w->DPZ(1, j + 1), tz = w->DPT(1, j + 1);
      u[j] = torsion ? (r > 0.0 ? z / r : 0.0) : z;
      f[j] = torsion ? tz * kPiPlot * D * h * r / 2.0 : tz * kPiPlot * D * h / 2.0;
    }
    if (prev) CDSUM(NTZPT, u, f, cu, cf, su, sf);
    for (int j = 0; j < NTZPT; ++j) {
      if (!prev) {
        su[j] = u[j];
        sf[j] = f[j];
      }
      cu[j] = u[j];
      cf[j] = f[j];
    }
    CDMIRROR(m, su, sf, sf, NTZPT);
  }
}

// A status raised while the block of row g is made says what it means for the row.
void row_block(Model& m, int g, bool torsion, int& status) {
  const int before = status;
  plot_block(m, g, torsion, status);
  if (before == 0) AXROWNOTE(m, g, m.PTYPE(g), status);
}

}  // namespace

void TZPLOTFILE(Model& m, int g, int& status) { row_block(m, g, false, status); }

void TRPLOTFILE(Model& m, int g, int& status) { row_block(m, g, true, status); }

}  // namespace torva
