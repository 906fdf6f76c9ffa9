// The wedge and flow-around resistances of cohesionless soil (sand, API sand and the
// friction part of silt) and their default printed deflection list.
#pragma once

#include "soil_py/pyframe.h"

namespace torva::pyf {

// Friction-angle terms shared by the wedge formulas. The trigonometric terms depend on
// the friction angle alone: they are derived once per angle, so the nodes of a layer of
// one angle share them.
struct Wedge {
  double phi = 0, alpha = 0, beta = 0, K0 = f32(0.4f), Ka = 0, Kp = 0;
  double tb = 0, tp = 0, ta = 0, tbp = 0, sb = 0, ca = 0, tb4 = 0, tb8 = 0;
  bool ready = false;  // the terms are those of phi
  void set(double ph) {
    if (ready && same_bits(&ph, &phi, 1)) return;
    phi = ph;
    alpha = ph / 2.0;
    beta = FULLPI / 4.0 + ph / 2.0;
    Ka = std::pow(std::tan(FULLPI / 4.0 - ph / 2.0), 2);
    Kp = std::pow(std::tan(beta), 2);
    tb = std::tan(beta);
    tp = std::tan(phi);
    ta = std::tan(alpha);
    tbp = std::tan(beta - phi);
    sb = std::sin(beta);
    ca = std::cos(alpha);
    tb4 = std::pow(tb, 4);
    tb8 = std::pow(tb, 8);
    ready = true;
  }
  // Wedge resistance, overburden at x and wedge geometry at xe.
  double Pst(double gam, double x, double xe, double D) const {
    return gam * x *
           (K0 * xe * tp * sb / (ca * tbp) + (tb / tbp) * (D + xe * tb * ta) +
            K0 * xe * tb * (tp * sb - ta) - Ka * D);
  }
  // The equivalent depth of the layer through the wedge family (c: silt's cohesion).
  void eqdepth(Model& m, const PyNode& nd, double c, double gam) const {
    PYEQDEPTH(m, nd.g, nd.L, nd.t, nd.D, c, 0.0, gam, phi, alpha, beta, K0, Ka, Kp, nd.x, 0.0,
              SANDXT);
  }
  // Flow-around resistance.
  double Psd(double gam, double x, double D) const {
    return Ka * D * gam * x * (tb8 - 1.0) + K0 * D * gam * x * tp * tb4;
  }
};

// The default deflection list of sand and API sand: ten steps of ym/12, the steps to yu
// and beyond, and two more of D/20.
inline int sand_list(double D, double* yl) {
  const double ym = D / 60.0, yu = 3.0 * D / 80.0;
  const double s = ym / 12.0, hs = (yu - 10.0 * s) / 2.0;
  for (int i = 0; i <= 10; ++i) yl[i] = i * s;
  for (int i = 11; i <= 14; ++i) yl[i] = yl[i - 1] + hs;
  yl[15] = yl[14] + D / 20.0;
  yl[16] = yl[15] + D / 20.0;
  return 17;
}

// A point of API sand and silt: the depth record goes to the plot output in print and plot
// passes alike (before the first point); the plot buffer takes the curve without the group
// and depth factors.
inline void unfactored_point_out(Model& m, const PyNode& nd, int i, double y, double py,
                                 double pp, double pc) {
  if (i == 1 && m.IPYOUT == 1) depth_record(m, nd.d);
  put_point(m, nd, i, y, pc, py, pp, 2);
}

// The parameter block of API sand and silt: two empty lines, the titles (the last two
// `t1`, `t2`), the units and the values x, D, phi, gamma, A, B, v1, v2.
inline void api_block(Model& m, const PyNode& nd, double phi, double gam, double A, double B,
                      const char* t1, const char* t2, double v1, double v2) {
  TextFile& e = m.ECHO;
  e.nl();
  e.nl();
  e.X(5).A("DEPTH").X(6).A("DIAM").X(6).A("PHI").X(2).A("GAMMA AVG").X(8).A("A").X(9).A("B")
      .X(5).A(t1).X(7).A(t2).nl();
  e.X(7).A(m.UDEP2.view()).X(8).A(m.USML2.view()).X(12).A(weight_lab(m)).nl();
  e.F(TOFT(m, nd.x), 10, 2).F(TOMM(m, nd.D), 10, 2).F(phi * 180.0 / FULLPI, 10, 1)
      .E(TOPCF(m, gam), 10, 3).F(A, 10, 2).F(B, 10, 2).E(v1, 10, 3).E(v2, 10, 3).nl();
}

// The zero friction angle warning of API sand and silt (`soil`: "SAND" or "SILT").
inline void zero_phi_warning(Model& m, const char* soil) {
  const unsigned to = TO_ECHO | TO_RUNLOG;
  emit(m, to, "");
  emit(m, to, "       --------------------WARNING----------------------");
  emit(m, to, std::string("       THE FRICTION ANGLE IS 0 FOR ") + soil + " ACCORING TO THE INPUT");
  emit(m, to, "       DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN.");
}

}  // namespace torva::pyf
