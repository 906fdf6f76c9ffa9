#include "axial/axtip.h"

#include <cmath>
#include <string>

#include "axial/axdist.h"
#include "axial/siderules.h"
#include "input/freeread.h"
#include "input/units.h"
#include "model/messages.h"
#include "model/model.h"
#include "soil/lookups.h"
#include "soil_py/defaults.h"

namespace torva {

double AXTIPX(const Model& m, int g, int t) {
  const double L = m.PILELEN(t);
  return m.HEADDEP(g) + (m.IBATTER == 1 ? L * std::cos(m.BATTER(g)) : L);
}

int AXCODEAT(const Model& m, double x) {
  for (int L = 1; L <= m.NLAYER; ++L)
    if (m.LBOT(L) > x) return m.LTYPE(L);
  return m.NLAYER >= 1 ? m.LTYPE(m.NLAYER) : 0;
}

void AXWARN(Model& m, const char* message) {
  emit(m, TO_REPORT | TO_RUNLOG, "");
  emit(m, TO_REPORT | TO_RUNLOG, "                             **** WARNING ****");
  emit(m, TO_REPORT | TO_RUNLOG, std::string("     ") + message);
}

void AXROWNOTE(Model& m, int g, int t, int status) {
  const bool beyond = status >= ST_DEPGAMMA && status <= ST_DEPBPHI;
  const bool e50 = status == ST_LSE50 || status == ST_TRE50;
  const bool capacity = status == ST_LSCOHES || status == ST_TRCOHES;
  if (!beyond && !e50 && !capacity) return;
  const std::string unit(m.UDEP2.view());
  auto at = [&](double x) { return real_text(TOFT(m, x)) + " " + unit; };
  const double xt = AXTIPX(m, g, t);
  const int n = m.NLAYER;
  int layer = n;
  for (int L = 1; L <= n; ++L)
    if (m.LBOT(L) > xt) {
      layer = L;
      break;
    }
  std::string what, check;
  if (beyond && n < 1) {
    what = "NO SOIL LAYER IS GIVEN:";
    check = "GIVE THE SOIL LAYERS, OR THE ROW USER CURVES";
  } else if (beyond) {
    what = "THE SOIL LAYERS END AT X = " + at(m.LBOT(n)) + " (BOTTOM OF LAYER " + std::to_string(n) +
           "), ABOVE THE TIP:";
    check = "EXTEND THE LAST LAYER BELOW THE PILE TIPS, OR CHECK THE HEAD DEPTH AND THE PILE LENGTH";
  } else {
    what = "THE TIP LIES IN LAYER " + std::to_string(layer) + ", WHOSE " +
           (e50 ? "E50 IS ZERO THERE:" : "COHESION IS ZERO THERE AND NO TIP RESISTANCE IS GIVEN:");
    check = std::string(e50 ? "GIVE THE LAYER AN E50" : "GIVE THE LAYER A COHESION OR A TIP RESISTANCE") +
            ", OR THE ROW A USER CURVE";
  }
  const unsigned to = TO_REPORT | TO_RUNLOG;
  emit(m, to, "     PILE GROUP " + std::to_string(g) + ": HEAD AT X = " + at(m.HEADDEP(g)) +
                  ", TIP AT X = " + at(xt));
  emit(m, to, "     " + what);
  emit(m, to, "     " + check);
}

namespace {

bool clay_tip(int k) { return k <= 3 || k == 10 || k == 13 || k == 14; }

}  // namespace

void AXTIPQW(Model& m, int g, int t, bool pullout, bool lsRules, int& status, AXWORK& w) {
  const int ns = m.NSECT(t);
  const double xt = AXTIPX(m, g, t);
  const double A = pullout ? double(1e-4f) : m.SAREAB(t, ns);
  AXTIPAT(m, g, t, xt, AXCODEAT(m, xt), A, m.SDIAM(t, ns), lsRules, status, w);
}

void AXTIPAT(Model& m, int g, int t, double xt, int code, double A, double Dl, bool lsRules,
             int& status, AXWORK& w) {
  const int kind = m.PILEKIND(t);
  const double zt = xt - m.HEADDEP(g) - m.FREELEN(g);  // tip depth below the row's ground
  int k = code;
  double E50 = E50DEP(m, xt);
  const double c = COHESION(m, xt, status);
  if (status != 0) return;
  if (E50 <= 0.0) DEFE50(c, E50, k, m.IUNITS);
  double K = TIPRES(m, xt, status) * A;
  if (status != 0) return;
  const double phi = PHIDEP(m, xt, status);
  if (status != 0) return;
  if (c > double(0.1f) && phi < double(1e-4f)) k = 3;  // a cohesive tip is a clay
  // The friction angle at the tip sets both Nq and the exponent of the driven sand curve.
  const double phiDeg = double(57.296f) * phi;
  const double small = double(1e-10f);
  if (clay_tip(k)) {
    if (K < small) K = 9.0 * c * A;
  } else if (k == 5 || k == 6 || k == 9 || k == 11) {
    if (K < small) K = 9.0 * c * A;
  } else if (!lsRules || k == 4 || k == 7 || k == 8) {
    const double gam = GAMAVG(m, xt, status);
    if (status != 0) return;
    if (K < small) {
      if (kind != DRILLED) {
        K = siderules::bearing_nq(phiDeg) * gam * zt * A;
      } else {
        double q = 0.0;
        // In the generic unit system the drilled shaft keeps its value above 30 degrees.
        if (siderules::drilled_sand_tip(phi, m.IUNITS, q)) K = phi < double(0.5236f) ? q : q * A;
      }
      if (lsRules && k == 7) K += 9.0 * c * A;
    }
  }
  w.TIPX = xt;
  w.TIPCODE = k;
  w.TIPK = K;
  if (kind != DRILLED && !QWSANDSET(k) && k != 5) {
    if (std::abs(E50) < double(1e-14f)) {
      status = ST_LSE50;
      AXWARN(m, "THE VALUE OF E50 AT TIP OF PILE IS EQUAL TO ZERO, LS CURVE");
      return;
    }
    if (std::abs(K) < double(1e-14f)) {
      status = ST_LSCOHES;
      AXWARN(m, "THE VALUE OF COHESION AT TIP OF PILE IS EQUAL TO ZERO, LS CURVE");
      return;
    }
  }
  QWTIP(m, kind, k, K, m.SDIAM(t, 1), Dl, E50, phiDeg, w.TIPW, w.TIPQ);
}

}  // namespace torva
