#include "axial/lscurve.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "axial/axdist.h"
#include "axial/axtip.h"
#include "io/fmt.h"
#include "model/messages.h"
#include "model/model.h"
#include "soil/lookups.h"
#include "soil_py/defaults.h"

namespace torva {

namespace {

constexpr int NLSPT = 9;  // points of a branch

// Tip movements of the nine solutions, inches; the ninth is at least 5 per cent of D.
constexpr float kTipMoveIn[NLSPT] = {0.0001f, 0.001f, 0.005f, 0.01f, 0.05f,
                                     0.1f,    0.5f,   1.0f,   2.0f};

double tip_move(const Model& m, int j, double D) {
  if (m.IUNITS == 2) {
    const double v = double(kTipMoveIn[j - 1]) * double(0.0254f);
    return j == NLSPT ? std::max(double(0.0508f), double(0.05f) * D) : v;
  }
  const double v = double(kTipMoveIn[j - 1]);
  return j == NLSPT ? std::max(2.0, double(0.05f) * D) : v;
}

// Refuses a property whose segments or axial (torsional) stiffness cannot carry a march.
bool check_pile(Model& m, int t, bool torsion, int& status) {
  if (m.NSEG(t) < 1 || m.NSEG(t) > MAXSEG || m.NSECT(t) < 1 || m.NSECT(t) > MAXSECT) {
    AXWARN(m, "PILE SEGMENTS OR SECTIONS OUT OF RANGE FOR THE AXIAL CURVES");
    status = ST_INPUTCHECK;
    return false;
  }
  for (int s = 1; s <= m.NSECT(t); ++s) {
    const double top = torsion ? m.SGJ(t, s) : m.SAREA(t, s) * m.SEMOD(t, s);
    const double bot = torsion ? m.SGJB(t, s) : m.SAREAB(t, s) * m.SEMOD(t, s);
    if (torsion ? (top <= kMinGJ || bot <= kMinGJ) : (top <= 0.0 || bot <= 0.0)) {
      if (torsion) {
        for (int e = 0; e < 2; ++e) emit(m, TO_REPORT | TO_RUNLOG, "");
        emit(m, TO_REPORT | TO_RUNLOG, "       ERROR!!!     GJ(TORSIONAL RIGIDITY) IS ZERO");
        for (int e = 0; e < 2; ++e) emit(m, TO_REPORT | TO_RUNLOG, "");
      } else {
        AXWARN(m, "THE AXIAL STIFFNESS AE OF A PILE SECTION IS ZERO, LS CURVE");
      }
      status = ST_INPUTCHECK;
      return false;
    }
  }
  return true;
}

// The t-z curves of the depth points; the torsional form prints the unit shear times the
// radius against the rotation that the movement makes at the radius.
void print_tz(Model& m, const AXWORK& w, int i, bool torsion, double R) {
  TextFile& G = m.GENCURVES;
  G.nl().nl();
  G.X(5).A(torsion ? "T-q CURVES, PILE PROPERTY:" : "T-Z CURVES, PILE PROPERTY:").I(i, 3).nl();
  G.nl();
  G.X(10).A("CURVE").X(3).A("N. POINTS").X(5).A("DEPTH").X(11).A("T Value").X(9);
  G.A(torsion ? "q Value" : "Z Value").nl();
  G.X(32).A("(").A(m.ULEN3.view()).A(")");
  if (torsion) {
    G.X(10).A("(").A(m.UFOR3.view()).A("/").A(m.ULEN3.view()).A(")").X(9).A("(RAD)").nl();
  } else {
    G.X(11).A("(").A(m.USTRS.view()).A(")").X(10).A("(").A(m.ULEN3.view()).A(")").nl();
  }
  for (int k = 1; k <= w.NDP; ++k) {
    G.X(8).I(k, 5).I(NTZPT, 11).E(w.DPX(k), 16, 4).nl();
    for (int j = 1; j <= NTZPT; ++j) {
      if (torsion) G.X(40).E(R * w.DPT(k, j), 17, 4).E(w.DPZ(k, j) / R, 16, 4).nl();
      else G.X(40).E(w.DPT(k, j), 17, 4).E(w.DPZ(k, j), 16, 4).nl();
    }
  }
}

void store_points(int n, const double* src, CurveArr& dst) {
  for (int j = 1; j <= n; ++j) dst(j) = src[j - 1];
}

}  // namespace

namespace {

void ls_curve(Model& m, int t, int branch, int i, int g, int& status, int& n, CurveArr& loads,
              CurveArr& moves) {
  n = 0;
  if (i < 1 || i > MAXROWP) {
    status = ST_INTERNAL;
    return;
  }
  if (!check_pile(m, t, false, status)) return;
  AXWORK w{};
  AXPOINTS(m, g, t, false, status, w);
  if (status != 0) return;
  if (branch == 1) print_tz(m, w, i, false, 1.0);
  AXTIPQW(m, g, t, branch == 1, true, status, w);
  if (status != 0) return;
  TextFile& G = m.GENCURVES;
  if (branch == 2) {
    G.nl().X(5).A("Q-W CURVE, PILE PROPERTY:").I(i, 3).nl().nl();
    G.X(9).A("Q Value").X(12).A("W Value").nl();
    G.X(10).A("(").A(m.UFOR3.view()).A(")").X(14).A("(").A(m.ULEN3.view()).A(")").nl();
    for (int j = 1; j <= NTZPT; ++j) G.E(w.TIPQ(j), 18, 4).E(w.TIPW(j), 19, 4).nl();
  }
  AXSECTAB(m, t, false, w);
  const int nseg = m.NSEG(t);
  const double L = m.PILELEN(t);
  const double Lv = w.TIPX - m.HEADDEP(g);
  const double h = L / nseg, hv = Lv / nseg;
  const double D = m.SDIAM(t, 1);
  const double perim = double(3.1416f) * D;
  const double sg = branch == 1 ? -1.0 : 1.0;
  TextFile& LD = m.LSDETAIL;
  if (branch == 1) {
    LD.nl().X(5).A("T-Z CURVES, PILE PROPERTY:").I(i, 5).nl().nl();
    LD.free("9 1 9 " + std::to_string(nseg) + " " + free_real(h));
  }
  double P[NLSPT], U[NLSPT], TW[NLSPT], QT[NLSPT];
  int stalled = 0;
  NodeArr Pn{}, Wn{};
  for (int j = 1; j <= NLSPT; ++j) {
    TW[j - 1] = tip_move(m, j, D);
    QT[j - 1] = QWREAD(w.TIPW, w.TIPQ, TW[j - 1]);
    LD.nl().X(5).A("  N  ").A("  DEPTH ").X(5).A("AXIAL LOAD").X(11).A("MOVEMENT").nl();
    LD.X(13).A(m.ULEN3.view()).X(12).A(m.UFOR3.view()).X(16).A(m.ULEN3.view()).nl();
    stalled += AXMARCH(w, nseg, h, w.TIPX, hv, L, perim, 1.0, QT[j - 1], TW[j - 1], Pn, Wn);
    for (int node = 1; node <= nseg + 1; ++node) {
      LD.X(3).I(node, 5).F(L - (node - 1) * h, 10, 3).X(2).E(sg * Pn(node), 15, 7);
      LD.X(5).E(sg * Wn(node), 15, 7).nl();
    }
    P[j - 1] = Pn(nseg + 1);
    U[j - 1] = Wn(nseg + 1);
  }
  if (stalled > 0) AXWARN(m, "LOAD TRANSFER ALONG THE PILE NOT CONVERGED, LS CURVE");
  G.nl().nl().nl();
  G.X(8).A("TOP  LOAD     TOP MOVEMENT     TIP MOVEMENT").X(5).A("TIP  LOAD").nl();
  G.X(11).A(m.UFOR3.view()).X(13).A(m.ULEN3.view()).X(14).A(m.ULEN3.view()).X(12);
  G.A(m.UFOR3.view()).nl();
  for (int j = 0; j < NLSPT; ++j) {
    G.X(5).E(sg * P[j], 15, 7).E(sg * U[j], 15, 7).E(sg * TW[j], 15, 7).E(sg * QT[j], 15, 7);
    G.nl();
  }
  // The solution behind the points: pull-out side negated into steps n .. 1, bearing side
  // into steps n + 2 .. 2n + 1; step n + 1 is the origin.
  for (int j = 1; j <= NLSPT; ++j) {
    const int s = branch == 1 ? NLSPT + 1 - j : NLSPT + 1 + j;
    m.LSV1(i, s) = sg * U[j - 1];
    m.LSV2(i, s) = sg * P[j - 1];
    m.LSV3(i, s) = sg * TW[j - 1];
    m.LSV4(i, s) = sg * QT[j - 1];
  }
  n = NLSPT;
  store_points(n, P, loads);
  store_points(n, U, moves);
}

void tr_curve(Model& m, int t, int branch, int i, int g, int& status, int& n,
              CurveArr& torques, CurveArr& rotations) {
  n = 0;
  m.RUNLOG.flush();
  if (!check_pile(m, t, true, status)) return;
  const double D = m.SDIAM(t, 1);
  const double R = D / 2.0;
  if (!(R > 0.0)) {
    AXWARN(m, "THE PILE DIAMETER IS ZERO, TR CURVE");
    status = ST_INPUTCHECK;
    return;
  }
  AXWORK w{};
  AXPOINTS(m, g, t, true, status, w);
  if (status != 0) return;
  m.RUNLOG.flush();
  if (branch == 1) print_tz(m, w, i, true, R);
  m.RUNLOG.flush();
  for (int k = 1; k <= w.NDP; ++k) w.DPX(k) -= m.HEADDEP(g);  // depths below the head
  AXSECTAB(m, t, true, w);
  m.RUNLOG.flush();
  // Tip soil: only a driven pile on a clay tip needs E50 and a capacity there.
  const int ns = m.NSECT(t);
  const double xt = AXTIPX(m, g, t);
  const int k = AXCODEAT(m, xt);
  const double A = branch == 1 ? double(1e-4f) : m.SAREAB(t, ns);
  double E50 = E50DEP(m, xt);
  const double c = COHESION(m, xt, status);
  if (status != 0) return;
  const bool clayCode = k == 1 || k == 2 || k == 3 || k == 10 || k == 13 || k == 14;
  if (!clayCode) {
    PHIDEP(m, xt, status);
    if (status != 0) return;
    GAMAVG(m, xt, status);
    if (status != 0) return;
  }
  double tipres = 0.0;
  if (k == 6 || k == 9) {
    tipres = TIPRES(m, xt, status);
    if (status != 0) return;
  }
  if (E50 <= 0.0) DEFE50(c, E50, k, m.IUNITS);
  if (m.PILEKIND(t) != DRILLED && (clayCode || k == 6)) {
    if (std::abs(E50) < double(1e-14f)) {
      status = ST_TRE50;
      AXWARN(m, "THE VALUE OF E50 AT TIP OF PILE IS EQUAL TO ZERO, TR CURVE");
      return;
    }
    double K = 9.0 * c * A;
    if (k == 6) {
      K = tipres * A;
      if (K < double(1e-10f)) K = 9.0 * c * A;
    }
    if (std::abs(K) < double(1e-14f)) {
      status = ST_TRCOHES;
      AXWARN(m, "THE VALUE OF COHESION AT TIP OF PILE IS EQUAL TO ZERO, TR CURVE");
      return;
    }
  }
  const int nseg = m.NSEG(t);
  const double L = m.PILELEN(t);
  const double h = L / nseg;
  const double perim = double(3.1416f) * R * D;
  double T[NLSPT], F[NLSPT], TH[NLSPT];
  int stalled = 0;
  NodeArr Pn{}, Wn{};
  for (int j = 1; j <= NLSPT; ++j) {
    const double mv = m.IUNITS == 2 ? double(kTipMoveIn[j - 1]) * double(0.0254f)
                                    : double(kTipMoveIn[j - 1]);
    TH[j - 1] = mv / R;
    stalled += AXMARCH(w, nseg, h, L, h, L, perim, R, 0.0, TH[j - 1], Pn, Wn);
    T[j - 1] = Pn(nseg + 1);
    F[j - 1] = Wn(nseg + 1);
  }
  if (stalled > 0) AXWARN(m, "TORSIONAL LOAD TRANSFER NOT CONVERGED, TR CURVE");
  TextFile& G = m.GENCURVES;
  const double sg = branch == 1 ? -1.0 : 1.0;
  G.nl().nl().nl();
  G.X(8).A("TOP  MOM.     TOP MOVEMENT     TIP MOVEMENT").X(5).A("TIP  MOM.").nl();
  G.X(9).A(m.UFOR3.view()).A("-").A(m.ULEN3.view()).X(11).A("RAD").X(14).A("RAD").X(9);
  G.A(m.UFOR3.view()).A("-").A(m.ULEN3.view()).nl();
  for (int j = 0; j < NLSPT; ++j) {
    G.E(sg * T[j], 17, 4).E(sg * F[j], 16, 4).E(sg * TH[j], 16, 4).E(sg * 0.0, 16, 4).nl();
  }
  n = NLSPT;
  store_points(n, T, torques);
  store_points(n, F, rotations);
}

}  // namespace

// A status raised while a curve of row g is made says what it means for the row.
void LSCURVE(Model& m, int t, int branch, int i, int g, int& status, int& n, CurveArr& loads,
             CurveArr& moves) {
  const int before = status;
  ls_curve(m, t, branch, i, g, status, n, loads, moves);
  if (before == 0) AXROWNOTE(m, g, t, status);
}

void TRCURVE(Model& m, int t, int branch, int i, int g, int& status, int& n,
             CurveArr& torques, CurveArr& rotations) {
  const int before = status;
  tr_curve(m, t, branch, i, g, status, n, torques, rotations);
  if (before == 0) AXROWNOTE(m, g, t, status);
}

}  // namespace torva
