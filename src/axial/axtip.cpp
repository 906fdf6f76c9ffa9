#include "axial/axtip.h"

#include <cmath>
#include <string>

#include "axial/axdist.h"
#include "model/messages.h"
#include "model/model.h"
#include "run/lookups.h"
#include "soil_py/defaults.h"

namespace torva {

double AXNQ(double phiDeg) {
  const double f = phiDeg;
  if (f <= 20.0) return 8.0;
  if (f <= 25.0) return 8.0 + double(0.8f) * (f - 20.0);
  if (f <= 30.0) return 12.0 + double(1.6f) * (f - 25.0);
  if (f <= 35.0) return 20.0 + 4.0 * (f - 30.0);
  if (f <= 40.0) return 40.0 + 2.0 * (f - 35.0);
  return 50.0;
}

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

namespace {

bool clay_tip(int k) { return k <= 3 || k == 10 || k == 13 || k == 14; }

}  // namespace

void AXTIPQW(Model& m, int g, int t, bool pullout, bool lsRules, int& status, AXWORK& w) {
  const int ns = m.NSECT(t);
  const int kind = m.PILEKIND(t);
  const double xt = AXTIPX(m, g, t);
  const double zt = xt - m.HEADDEP(g) - m.FREELEN(g);  // tip depth below the row's ground
  const double A = pullout ? double(1e-4f) : m.SAREAB(t, ns);
  int k = AXCODEAT(m, xt);
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
        K = AXNQ(phiDeg) * gam * zt * A;
      } else if (phi < double(0.5236f)) {
        K = double(0.1f);  // a force, not a unit resistance
      } else if (m.IUNITS == 1) {
        K = (phi < double(0.628f) ? double(222.2f) : double(555.56f)) * A;
      } else if (m.IUNITS == 2) {
        K = (phi < double(0.628f) ? double(1530.0f) : double(3830.0f)) * A;
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
  QWTIP(m, kind, k, K, m.SDIAM(t, 1), m.SDIAM(t, ns), E50, phiDeg, w.TIPW, w.TIPQ);
}

}  // namespace torva
