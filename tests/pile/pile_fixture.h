// A hand-filled model of vertical piles on user p-y curves for the single-pile tests.
#pragma once

#include <cmath>
#include <memory>
#include <numbers>

#include "model/model.h"
#include "pile/llp2d.h"
#include "pile/llp3d.h"
#include "pile/node.h"

namespace torva::testing {

struct PileDef {
  double L = 100.0;   // pile length
  int nseg = 100;     // segments
  double EI = 1.0e10; // flexural rigidity of both planes
  double D = 24.0;    // diameter
  double A = 100.0;   // area
  double I = 1.0e4;   // moment of inertia of both planes
};

// Row g of property t: a vertical pile with its head at X = 0, one elastic section.
inline void set_pile(Model& m, int g, int t, const PileDef& p) {
  m.PTYPE(g) = t;
  m.NSEG(t) = p.nseg;
  m.PILELEN(t) = p.L;
  m.NSECT(t) = 1;
  m.SFROM(t, 1) = 0.0;
  m.STO(t, 1) = p.L;
  m.SEIZ(t, 1) = m.SEIZB(t, 1) = m.SEIY(t, 1) = m.SEIYB(t, 1) = p.EI;
  m.SDIAM(t, 1) = m.SDIAMB(t, 1) = p.D;
  m.SAREA(t, 1) = m.SAREAB(t, 1) = p.A;
  m.SIZ(t, 1) = m.SIZB(t, 1) = m.SIY(t, 1) = m.SIYB(t, 1) = p.I;
  m.CORX(g) = m.HEADDEP(g) = 0.0;
  m.FREELEN(g) = 0.0;
  m.BETA(g) = std::numbers::pi / 2;
  m.ALPHA(g) = m.THETA(g) = 0.0;
  m.CONNECTY(g) = m.CONNECTZ(g) = 2;
  m.PMULT(g) = m.YMULT(g) = 1.0;
  m.AXFAC(g) = 1.0;
  m.NPILE(g) = 1.0;
}

// User p-y set u: straight lines p = k(c) y reaching far beyond any deflection, at the
// given depths (one curve or several).
inline void set_linear_py(Model& m, int u, std::initializer_list<std::pair<double, double>> crv) {
  int c = 0;
  for (auto [dep, k] : crv) {
    ++c;
    m.PYDEP(u, c) = dep;
    m.NPTPY(u, c) = 2;
    m.PYY(u, c, 1) = 0.0;
    m.PYP(u, c, 1) = 0.0;
    m.PYY(u, c, 2) = 1.0e6;
    m.PYP(u, c, 2) = k * 1.0e6;
  }
  m.NCRVPY(u) = c;
}

// A generated elastic-subgrade layer (p = Es D y without a limit) from X = `top` (0 by
// default) to `bottom` whose modulus per length of pile is k for the pile diameter D, for
// rows whose p-y curves come from the soil.
inline void set_elastic_soil(Model& m, double k, double D, double bottom, double top = 0.0) {
  m.IPYUSER = 0;
  m.NLAYER = 1;
  m.LTYPE(1) = 12;
  m.LTOP(1) = top;
  m.LBOT(1) = bottom;
  m.NSPX = m.NSPXG = 2;
  for (int i = 1; i <= 2; ++i) {
    m.SPDEP(i) = m.SPDEPG(i) = i == 1 ? top : bottom;
    m.SPK(i) = k / D;
    m.SPC(i) = 0.0;  // no yield stress: linear
    m.SPGAM(i) = 0.02;
  }
}

// The same layer yielding at p = pmax (per length of pile), with the curve controls of
// an analysis in US units under static loading.
inline void set_yielding_soil(Model& m, double k, double D, double bottom, double pmax) {
  set_elastic_soil(m, k, D, bottom);
  for (int i = 1; i <= 2; ++i) m.SPC(i) = pmax / D;
  m.IUNITS = 1;
  m.ISTATIC = 1;
  m.TOLCRV = 1.0e-6;
}

// A generated soft-clay layer from X = `top` to `bottom` (its cohesion growing from 3 to
// 15 psi, unit weight 0.02 pci, E50 0.02), with the curve controls of an analysis in US
// units under static loading: a curve without initial slope.
inline void set_soft_clay(Model& m, double top, double bottom) {
  m.IPYUSER = 0;
  m.IUNITS = 1;
  m.ISTATIC = 1;
  m.TOLCRV = 1.0e-6;
  m.NLAYER = 1;
  m.LTYPE(1) = 1;
  m.LTOP(1) = top;
  m.LBOT(1) = bottom;
  m.NSPX = m.NSPXG = 2;
  m.SPDEP(1) = m.SPDEPG(1) = top;
  m.SPDEP(2) = m.SPDEPG(2) = bottom;
  m.SPC(1) = 3.0;
  m.SPC(2) = 15.0;
  m.SPGAM(1) = m.SPGAM(2) = 0.02;
  m.SPE50(1) = m.SPE50(2) = 0.02;
}

// Free-field soil movement sY, sZ (global Y and Z) at full load, the same from X = 0 to
// `bottom`.
inline void set_soil_movement(Model& m, double sY, double sZ, double bottom) {
  m.NSMPT = 2;
  m.TCURSM = 1.0;
  for (int p = 1; p <= 2; ++p) {
    m.SMDEP(p) = p == 1 ? 0.0 : bottom;
    m.SMY0(p) = sY;
    m.SMZ0(p) = sZ;
  }
}

// Run controls of a pile solution.
inline void set_controls(Model& m) {
  m.IPYUSER = 1;
  m.SMALL = 1.0e-14;
  m.TOLDEP = 1.0e-5;
  m.TOLPILE = 1.0e-9;
  m.MAXITLLP = 100;
  m.IOPASS = 0;
  m.RFBEND = m.RFSHEAR = 1.0;
  m.NDIM = 3;
  m.NRESLT = 1;
}

// Row g on user load-settlement curve 1 through (-1, -500), (0, 0), (1, 800), whose
// segment ending at the origin has the slope 500, with the axial-load factor `axfac`.
inline void set_axial_curve(Model& m, int g, double axfac) {
  m.LSNO(g) = 1;
  m.AXFAC(g) = axfac;
  m.NPTLSU(1) = 3;
  const double x[3] = {-1.0, 0.0, 1.0}, y[3] = {-500.0, 0.0, 800.0};
  for (int p = 1; p <= 3; ++p) {
    m.LSDU(1, p) = x[p - 1];
    m.LSLU(1, p) = y[p - 1];
  }
}

struct Head {
  double Vy = 0, Vz = 0, My = 0, Mz = 0;
  bool closed = false;
  int status = 0;
  int ns = 0;
};

// Lays out row g and solves it for the given head values of the two planes; `fax` is the
// axial force along the pile (0 when not given).
inline Head solve(Model& m, Llp3dScratch& s, int g, double yt, double Sy, double zt = 0.0,
                  double Sz = 0.0, double P = 0.0, const NodeVec* fax = nullptr) {
  Head r;
  NODE(m, g, r.status);
  const double u[6] = {0.0, yt, zt, 0.0, Sz, -Sy};
  double QT[36] = {};
  for (int i = 0; i < 6; ++i) QT[i * 7] = 1.0;
  NodeVec mov, zero;
  mov.fill(0.0);
  zero.fill(0.0);
  r.closed = LLP3D(m, g, yt, Sy, zt, Sz, P, 0.0, r.Vy, r.Vz, r.My, r.Mz, r.status, u, QT, mov,
                   fax ? *fax : zero, s);
  r.ns = s.ns;
  return r;
}

// The same for the 2-D solution of a vertical row g: head deflection yt, head slope st,
// axial force P (and `fax` along the pile); V and M are returned in Vy and My.
inline Head solve2d(Model& m, Llp2dScratch& s, int g, double yt, double st, double P = 0.0,
                    const NodeVec* fax = nullptr) {
  Head r;
  NODE2D(m, g, r.status);
  Mat3 T;
  T.fill(0.0);
  for (int i = 1; i <= 3; ++i) T(i, i) = 1.0;
  NodeVec mov, zero;
  mov.fill(0.0);
  zero.fill(0.0);
  r.closed = LLP2D(m, g, yt, st, P, r.Vy, r.My, r.status, 0.0, T, mov, fax ? *fax : zero, s);
  r.ns = s.ns;
  return r;
}

}  // namespace torva::testing
