#include "pile/piletorq.h"

#include "model/messages.h"
#include "pile/axforce.h"

namespace torva {

namespace {

// The row's torque-rotation curve.
CurveView tr_curve(const Model& m, int g) {
  return row_curve(m.TRNO(g), m.NPTTRU, m.TRRU, m.TRTU, m.NPTTRG, m.TRRG, m.TRTG);
}

constexpr const char* kTorsMax = "MAXIMUM MOMENT REACHED IN TORSION ";
constexpr const char* kTorsFail = "APPARENT FAILURE IN TORSION     ";

}  // namespace

void PILETORQ(Model& m, int g, double& T, const double* u) {
  const double th = u[3];
  const CurveView c = tr_curve(m, g);
  const bool extend = m.IEXTEND == 1;
  auto warn = [&](double xend, double t) {
    if (m.IWFILE != 1) return;
    curve_warning(m, extend ? kTorsMax : kTorsFail, g, "ROTATION =", th, xend, "T. MOMENT=", t);
    count_warning(m, WC_TORS);
  };

  const int p = curve_segment(c, th);
  if (p == 0) {  // beyond the upper end
    const double xend = c.n >= 2 ? c.X(c.n) : 0.0;
    T = extend && c.n >= 1 ? c.Y(c.n) : 0.0;
    warn(xend, T);
    if (!extend) return;
  }
  if (c.n >= 1 && th < c.X(1)) {  // beyond the lower end
    T = extend ? c.Y(1) : 0.0;
    warn(c.X(1), T);
    return;
  }
  if (p > 0) T = curve_interp(c, p, th);
}

double TRSLOPE(const Model& m, int g, int mode) {
  if (mode != 1) return 0.0;
  return curve_initial_slope(tr_curve(m, g));
}

}  // namespace torva
