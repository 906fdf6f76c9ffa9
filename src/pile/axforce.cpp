#include "pile/axforce.h"

#include <cmath>
#include <string>

#include "axial/axdist.h"
#include "axial/axtip.h"
#include "io/fmt.h"
#include "model/messages.h"
#include "pile/istate.h"
#include "soil/nosoil.h"

namespace torva {

namespace {

// The row's load-settlement curve.
CurveView ls_curve(const Model& m, int g) {
  return row_curve(m.LSNO(g), m.NPTLSU, m.LSDU, m.LSLU, m.NPTLSG, m.LSDG, m.LSLG);
}

// Case texts of the axial warnings; the 2-D analysis words three of them differently.
struct AxTexts {
  const char* bear_max;
  const char* bear_fail;
  const char* pull_max;
  const char* pull_fail;
};
constexpr AxTexts kAx3D{"REACHED MAXIMUM LOAD IN BEARING  ", "APPARENT FAILURE IN BEARING    ,",
                        "REACHED MAXIMUM LOAD IN PULLOUT  ", "APPARENT FAILURE IN PULL OUT    "};
constexpr AxTexts kAx2D{"MAXIMUM LOAD REACHED IN BEARING  ", "APPARENT FAILURE IN BEARING     ",
                        "MAXIMUM LOAD REACHED IN PULLOUT  ", "APPARENT FAILURE IN PULL OUT    "};

}  // namespace

int curve_segment(const CurveView& c, double v) {
  for (int p = 2; p <= c.n; ++p)
    if (c.X(p) >= v) return p;
  return 0;
}

double curve_interp(const CurveView& c, int p, double v) {
  return c.Y(p - 1) + (c.Y(p) - c.Y(p - 1)) * (v - c.X(p - 1)) / (c.X(p) - c.X(p - 1));
}

double curve_initial_slope(const CurveView& c) {
  if (c.n < 2) return 0.0;
  int p = curve_segment(c, 0.0);
  if (p == 0) p = c.n;
  const double dx = c.X(p) - c.X(p - 1);
  return dx != 0.0 ? (c.Y(p) - c.Y(p - 1)) / dx : 0.0;
}

void curve_warning(Model& m, std::string_view text, int g, std::string_view xlab, double x,
                   double xend, std::string_view flab, double f) {
  std::string l2, l3;
  put_X(l2, 5);
  l2 += "** WARNING **  ";
  l2 += text;
  put_X(l2, 2);
  l2 += "PILE GROUP";
  put_I(l2, g, 5);
  put_X(l3, 20);
  l3 += xlab;
  put_E(l3, x, 12, 4);
  l3 += " > ";
  put_E(l3, xend, 12, 4);
  put_X(l3, 5);
  l3 += flab;
  put_E(l3, f, 12, 4);
  emit(m, TO_WARNSCR, "");
  emit(m, TO_WARNSCR, l2);
  emit(m, TO_WARNSCR, l3);
}

void AXFORCE(Model& m, int g, double& P, const double* u, Arr1<double, MAXNODE>& MOV,
             Arr1<double, MAXNODE>& FAX, int& status) {
  MOV.fill(0.0);
  FAX.fill(0.0);
  const double d = u[0];
  if (d == 0.0) {
    P = 0.0;
    return;
  }
  if (m.LSNO(g) == 0) {  // no curve: its generation from the soil needs soil layers
    P = 0.0;
    NOSOILMSG(m, g, NEED_LS);
    status = ST_NOSOIL;
    return;
  }
  const CurveView c = ls_curve(m, g);
  const AxTexts& tx = (m.NDIM == 2) ? kAx2D : kAx3D;
  const bool extend = m.IEXTEND == 1;
  const bool record = m.IWFILE == 1;
  auto warn = [&](const char* text, double xend, double f, WarnCount which) {
    if (!record) return;
    curve_warning(m, text, g, "AX. DISP.=", d, xend, "AX. FORCE=", f);
    count_warning(m, which);
  };

  const int p = curve_segment(c, d);
  bool interpolate = p > 0;
  if (p == 0) {  // beyond the bearing end
    const double xend = c.n >= 2 ? c.X(c.n) : 0.0;
    if (!extend) {
      P = 0.0;
      warn(tx.bear_fail, xend, 0.0, WC_BEAR);
      return;
    }
    P = c.n >= 1 ? c.Y(c.n) : 0.0;
    warn(tx.bear_max, xend, P, WC_BEAR);
  }
  if (c.n >= 1 && d < c.X(1)) {  // beyond the pull-out end
    if (!extend) {
      P = 0.0;
      warn(tx.pull_fail, c.X(1), 0.0, WC_PULL);
      return;
    }
    P = c.Y(1);
    warn(tx.pull_max, c.X(1), P, WC_PULL);
    interpolate = false;
  }
  if (interpolate) P = curve_interp(c, p, d);

  // Axial load and movement along the pile by load transfer, for a generated curve.
  if (m.IAXVAR == 1 && m.LSNO(g) <= 0) {
    // A work set of this call (about 25 KB on the calling thread's stack), never shared.
    AXWORK w{};
    int istate = 0;
    const int t = m.PTYPE(g);
    const int before = status;
    AXSIDE(m, g, t, status, w);
    AXTIP(m, g, t, d, status, w);
    if (status != 0) {  // an incomplete work set carries no distribution
      if (before == 0) AXROWNOTE(m, g, t, status);
      return;
    }
    AXDIST(m, g, t, d, MOV, FAX, w, istate);
    if (istate != 0) raise_istate(m, istate);  // not settled: the row's state
    P = std::abs(d) < 1e-25 ? d : FAX(4);
    for (int k = 1; k <= MAXNODE; ++k) FAX(k) *= m.AXFAC(g);
  }
}

double AXSLOPE(const Model& m, int g, int mode) {
  if (mode != 1) return 0.0;
  return curve_initial_slope(ls_curve(m, g));
}

}  // namespace torva
