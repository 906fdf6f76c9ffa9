#include "axial/axdist.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "axial/axtip.h"
#include "axial/siderules.h"
#include "io/fmt.h"
#include "model/messages.h"
#include "model/model.h"
#include "soil/lookups.h"
#include "soil/nosoil.h"

namespace torva {

double AXTLOAD(const AXWORK& w, double x, double u) {
  int k = 1;
  while (k <= w.NDP && !(x < w.DPX(k))) ++k;
  if (k == 1) return 0.0;  // above the first depth point
  if (k > w.NDP) return TZREAD(w.DPT, w.DPZ, w.NDP, u);
  const double t1 = TZREAD(w.DPT, w.DPZ, k - 1, u);
  if (x == w.DPX(k - 1)) return t1;
  const double t2 = TZREAD(w.DPT, w.DPZ, k, u);
  return t1 + (x - w.DPX(k - 1)) * (t2 - t1) / (w.DPX(k) - w.DPX(k - 1));
}

double AXSTIFF(const AXWORK& w, double s) {
  for (int k = 2; k <= w.NSTIF; ++k) {
    if (w.SECZ(k) >= s) {
      const double dz = w.SECZ(k) - w.SECZ(k - 1);
      if (dz <= 0.0) return w.SECAE(k);
      return w.SECAE(k - 1) + (s - w.SECZ(k - 1)) * (w.SECAE(k) - w.SECAE(k - 1)) / dz;
    }
  }
  return w.SECAE(w.NSTIF);
}

int AXMARCH(const AXWORK& w, int nseg, double h, double xtip, double hc, double len,
            double perim, double uscale, double P1, double W1, NodeArr& P, NodeArr& W) {
  const double tol = double(1e-4f);
  int stalled = 0;
  P(1) = P1;
  W(1) = W1;
  double u = W1;  // movement estimate at the middle of the current segment
  for (int j = 1; j <= nseg; ++j) {
    const double pb = P(j), wb = W(j);
    const double xc = xtip - (double(j) - 0.5) * hc;
    const double ae = AXSTIFF(w, len - (double(j) - 0.5) * h);
    double pt = pb, wt = wb;
    for (int it = 1;; ++it) {
      const double dp = AXTLOAD(w, xc, uscale * u) * perim * h;
      pt = pb + dp;
      wt = wb + (pb + 0.5 * dp) * h / ae;
      // Shortening of the lower half segment under the mean of its end forces.
      const double un = wb + (pb + 0.5 * (pb + pt)) * (0.25 * h) / ae;
      if (std::abs(un - u) <= tol) break;
      if (it >= MAXSEGIT) {
        ++stalled;
        break;
      }
      u = un;
    }
    P(j + 1) = pt;
    W(j + 1) = wt;
    u = wt;
  }
  return stalled;
}

double AXTMAX(Model& m, int code, int kind, double X, double z, double zb, int& status) {
  const double f0 = SIDEFRIC(m, X, status);
  if (status != 0) return 0.0;
  if (f0 >= siderules::kGiven) return f0;
  const double gam = GAMAVG(m, X, status);
  if (status != 0) return 0.0;
  const double phi = PHIDEP(m, X, status);
  if (status != 0) return 0.0;
  const double c = COHESION(m, X, status);
  if (status != 0) return 0.0;
  const bool driven = kind != DRILLED;
  // sigma'v of the driven-pile rules with the depth raised to 1.0 near the surface; that
  // of the drilled-shaft rules at the depth itself.
  const double zd = z < siderules::kGiven ? 1.0 : z;
  const double sv = zd * gam;
  const double alpha = siderules::adhesion(c, sv, m.IUNITS);
  const double beta = siderules::beta_factor(zb, m.IUNITS);
  return siderules::side_by_code(code, driven, c, phi, alpha, beta, sv, z * gam, f0);
}

void AXPOINTS(Model& m, int g, int t, bool torsion, int& status, AXWORK& w) {
  const double d = m.IUNITS == 2 ? double(0.00254f) : double(0.1f);
  const double xg = m.HEADDEP(g) + m.FREELEN(g);  // ground surface at the pile
  const int nl = m.NLAYER;
  if (nl < 1) {  // the load-transfer curves come from the soil layers
    NOSOILMSG(m, g, torsion ? NEED_TR : NEED_LS);
    status = ST_NOSOIL;
    w.NDP = 0;
    return;
  }
  const int lead = torsion ? 0 : 2;  // points at X = 0 and at the ground
  w.NDP = 3 * nl + lead;
  Arr1<int, MAXDPT> code{};
  if (!torsion) {
    w.DPX(1) = 0.0;
    w.DPX(2) = xg;
    code(1) = code(2) = m.LTYPE(1);
  }
  for (int L = 1; L <= nl; ++L) {
    const double top = L == 1 ? xg + d : m.LTOP(L) + d;
    const int k = 3 * L - 2 + lead;
    w.DPX(k) = top;
    w.DPX(k + 1) = (top + m.LBOT(L)) / 2.0;
    w.DPX(k + 2) = m.LBOT(L) - d;
    code(k) = code(k + 1) = code(k + 2) = m.LTYPE(L);
  }
  const int kind = m.PILEKIND(t);
  const double D1 = m.SDIAM(t, 1);
  const double degPerRad = 180.0 / double(3.1416f);
  for (int k = 1; k <= w.NDP; ++k) {
    const double X = w.DPX(k);
    const double z = X - m.HEADDEP(g) - m.FREELEN(g);
    const double zb = torsion ? X - w.DPX(1) : z;
    w.DPTMAX(k) = AXTMAX(m, code(k), kind, X, z, zb, status);
    if (status != 0) return;
    if (k <= (torsion ? 1 : 2)) w.DPTMAX(k) = double(1e-6f);
    w.DPPHI(k) = BPHIDEP(m, X, status) * degPerRad;
    if (status != 0) return;
    w.DPNPT(k) = NTZPT;
    TZSHAPE(m, code(k), kind, k, D1, w.DPT, w.DPZ, w.DPTMAX, w.DPPHI);
  }
}

void AXSECTAB(const Model& m, int t, bool torsion, AXWORK& w) {
  const int ns = m.NSECT(t);
  w.NSTIF = 2 * ns;
  for (int s = 1; s <= ns; ++s) {
    w.SECZ(2 * s - 1) = s == 1 ? 0.0 : m.STO(t, s - 1);
    w.SECZ(2 * s) = m.STO(t, s);
    if (torsion) {
      w.SECAE(2 * s - 1) = m.SGJ(t, s);
      w.SECAE(2 * s) = m.SGJB(t, s);
    } else {
      w.SECAE(2 * s - 1) = m.SAREA(t, s) * m.SEMOD(t, s);
      w.SECAE(2 * s) = m.SAREAB(t, s) * m.SEMOD(t, s);
    }
  }
}

void AXSIDE(Model& m, int g, int t, int& status, AXWORK& w) {
  AXPOINTS(m, g, t, false, status, w);
  if (status != 0) return;
  AXSECTAB(m, t, false, w);
}

void AXTIP(Model& m, int g, int t, double D, int& status, AXWORK& w) {
  AXTIPQW(m, g, t, D < 0.0, false, status, w);
}

namespace {

// One pass of the distribution for the tip movement a >= 0; returns the head movement.
double dist_pass(const Model& m, int g, int t, double a, bool negate, const AXWORK& w,
                 NodeArr& AXMOV, NodeArr& AXFRC, int& stalled) {
  const int nseg = m.NSEG(t);
  const double L = m.PILELEN(t);
  const double Lv = m.IBATTER == 1 ? L * std::cos(m.BATTER(g)) : L;
  const double h = L / nseg, hv = Lv / nseg;
  NodeArr P{}, W{};
  stalled += AXMARCH(w, nseg, h, m.HEADDEP(g) + Lv, hv, L, double(3.1416f) * m.SDIAM(t, 1),
                     1.0, QWREAD(w.TIPW, w.TIPQ, a), a, P, W);
  const double sg = negate ? -1.0 : 1.0;
  for (int jj = 1; jj <= nseg + 1; ++jj) {
    AXMOV(nseg + 5 - jj) = sg * W(jj);
    AXFRC(nseg + 5 - jj) = sg * P(jj);
  }
  return AXMOV(4);
}

}  // namespace

void AXDIST(Model& m, int g, int t, double D, NodeArr& AXMOV, NodeArr& AXFRC,
            const AXWORK& w, int& istate) {
  const int i = -m.LSNO(g);
  const int N = m.NPTLS;
  // No stored solution for the row, or a pile the node tables cannot hold: no distribution.
  if (i < 1 || i > m.NLSG || N < 2 || N > MAXLSPT || m.NSEG(t) < 1 || m.NSEG(t) > MAXSEG)
    return;
  // Starting tip movement from the stored solution of the row's generated curve.
  double wt;
  bool endCase = false;
  double loH = 0, loW = 0, upH = 0, upW = 0;
  if (D < m.LSV1(i, 1)) {
    wt = m.LSV3(i, 1);
    endCase = true;
  } else if (D > m.LSV1(i, N)) {
    wt = m.LSV3(i, N);
    endCase = true;
  } else {
    int k = 2;
    while (k < N && !(m.LSV1(i, k) > D)) ++k;
    loH = m.LSV1(i, k - 1);
    loW = m.LSV3(i, k - 1);
    upH = m.LSV1(i, k);
    upW = m.LSV3(i, k);
    wt = upH != loH ? loW + (D - loH) * (upW - loW) / (upH - loH) : loW;
  }
  int corrections = 0, stalled = 0;
  bool failed = false;
  for (;;) {
    const double a = std::abs(wt);
    const double delta = a < double(1e-6f) ? a / 2.0 : double(1e-6f);
    const bool neg = wt <= 0.0;
    const double hm = dist_pass(m, g, t, a - delta, neg, w, AXMOV, AXFRC, stalled);
    const double hp = dist_pass(m, g, t, a + delta, neg, w, AXMOV, AXFRC, stalled);
    const double H = dist_pass(m, g, t, a, neg, w, AXMOV, AXFRC, stalled);
    if (endCase) break;
    const double r = D - H;
    const double rel = std::abs(D) < double(1e-14f) ? std::abs(r) : std::abs(r / D);
    if (rel <= double(1e-4f) || (std::abs(D) >= double(1e-14f) && corrections > 10 &&
                                 rel <= double(1e-3f)))
      break;
    if (++corrections > 25) {
      failed = true;
      break;
    }
    if (H > D) {
      upH = H;
      upW = wt;
    } else {
      loH = H;
      loW = wt;
    }
    const double wrf =
        upH != loH ? loW + (D - loH) * (upW - loW) / (upH - loH) : 0.5 * (loW + upW);
    if (hp != hm) {
      const double s = D < 0.0 ? -1.0 : 1.0;
      const double wn = s * 2.0 * delta / (hp - hm) * r + a * s;
      wt = (std::min(loW, upW) <= wn && wn <= std::max(loW, upW)) ? wn : wrf;
    } else {
      wt = wrf;
    }
  }
  if (failed || stalled > 0) {
    istate = 4;
    // Reported once per iteration of the cap analysis (its main force sum), not at every
    // evaluation of the pile; the state word carries it in every evaluation.
    if (m.IWFILE != 1) return;
    std::string line;
    put_X(line, 5);
    line += "AXIAL FORCES ALONG PILE NOT CONVERGED, PILE ROW";
    put_I(line, g, 6);
    emit(m, TO_REPORT | TO_RUNLOG, "");
    emit(m, TO_REPORT | TO_RUNLOG, "                             **** WARNING ****");
    emit(m, TO_REPORT | TO_RUNLOG, line);
  }
}

}  // namespace torva
