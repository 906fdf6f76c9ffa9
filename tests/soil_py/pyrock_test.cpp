// Silt, weak rock, vuggy limestone and user-defined curves against hand values.
#include <gtest/gtest.h>

#include "pyfixture.h"

namespace torva {
namespace {

using pytest::f32;
using pytest::PyModel;
using pytest::SoilPt;

// qu = 1000 psi, RQD = 50 %, Eir = 1e5 psi, krm = 5e-4, D = 24 in; nodes every 24 in.
PyModel rock(double qu = 1000.0, double krm = 5e-4) {
  PyModel pm(10, 240.0, 24.0);
  SoilPt s;
  s.c = qu;
  s.j = 50.0;
  s.er = 1e5;
  s.e50 = krm;
  s.gam = 0.08;
  pm.layer(0.0, 300.0, 9, s);
  return pm;
}

TEST(PyWeakRock, CurveAtAShallowAndADeepNode) {
  const double ar = 1.0 - f32(0.006666667f) * 50.0, q = 500.0, D = 24.0, yrm = 5e-4 * 24;
  // x = 24 (node 2): pur = ar 2 q (D + 1.4 x), Kir = (100 + 400 x / 3D) Eir; x = 96 (node 5).
  const double pur2 = ar * 2 * q * (D + f32(1.4f) * (24 + 1e-8));
  const double kir2 = (100 + 400 * (24 + 1e-8) / 72) * 1e5;
  const double pur5 = f32(10.4f) * ar * q * D;
  const double yA2 = std::pow(0.5 * pur2 / (std::pow(yrm, 0.25) * kir2), 4.0 / 3.0);
  PyModel pm = rock();
  pm.eval(yrm);
  ASSERT_EQ(pm.status, 0);
  EXPECT_NEAR(-pm.p(2), 0.5 * pur2, 1e-9 * pur2);
  EXPECT_NEAR(-pm.p(5), 0.5 * pur5, 1e-9 * pur5);
  pm.eval(16 * yrm);
  EXPECT_NEAR(-pm.p(2), pur2, 1e-9 * pur2);
  pm.eval(0.5 * yA2);  // the initial line: Kir without the factors
  pm.m.PMULT(1) = 0.5;
  pm.eval(0.5 * yA2);
  EXPECT_NEAR(pm.Es(2), kir2, 1e-9 * kir2);
  EXPECT_NEAR(-pm.p(2), 0.5 * kir2 * 0.5 * yA2, 1e-9 * pur2);
  // The two depth branches meet at 3D (node 4): 10.4 ar q D.
  pm.m.PMULT(1) = 1.0;
  pm.eval(16 * yrm);
  EXPECT_NEAR(-pm.p(4), pur5, 1e-6 * pur5);
}

TEST(PyWeakRock, ZeroStrengthAndZeroStrainFactor) {
  PyModel z = rock(0.0);
  pytest::PyFiles files(z.m);
  z.eval(0.01);
  EXPECT_EQ(z.status, ST_ROCKQU0);
  EXPECT_NE(files.text("echo.txt").find("       THE UNIAXIAL COMPRESION STRENGTH IS 0 FOR WEAK ROCK "),
            std::string::npos);
  // krm = 0: the initial line is limited by pur instead of running on without limit.
  PyModel k0 = rock(1000.0, 0.0);
  k0.eval(1.0);
  const double ar = 1.0 - f32(0.006666667f) * 50.0;
  const double pur2 = ar * 2 * 500.0 * (24.0 + f32(1.4f) * (24 + 1e-8));
  EXPECT_NEAR(-k0.p(2), pur2, 1e-9 * pur2);
}

TEST(PyVuggyLimestone, TrilinearCurveAndResidual) {
  PyModel pm(10, 240.0, 24.0);
  SoilPt s;
  s.c = 200.0;  // c' = 100 psi
  s.gam = 0.07;
  pm.layer(0.0, 300.0, 6, s);
  const double y1 = f32(0.0004f) * 24, y2 = y1 + 0.2 * 24 / 100.0;
  const struct {
    double y, want;
  } pts[] = {{0.5 * y1, 200000 * 0.5 * y1},
             {y1, 0.8 * 100 * 24 * (2000 * f32(0.0004f) / 0.8)},
             {y2 * (1 - 1e-12), 2400.0},
             {1.0, f32(3.38f) * (0.0254 * 24) * (0.07 * 271.4471) * 5.710147}};
  for (const auto& q : pts) {
    pm.eval(q.y);
    ASSERT_EQ(pm.status, 0);
    EXPECT_NEAR(-pm.p(5), q.want, 2e-5 * q.want) << q.y;
  }
  pm.m.YMULT(1) = 2.0;
  pm.m.PMULT(1) = 0.5;
  pm.eval(0.0);
  EXPECT_DOUBLE_EQ(pm.Es(5), 200000.0 / 2.0);  // k1 / YMULT, no p-multiplier
  // No strength: a defined curve (zero up to the residual).
  PyModel z(10, 240.0, 24.0);
  s.c = 0.0;
  z.layer(0.0, 300.0, 6, s);
  z.eval(0.01);
  EXPECT_EQ(z.status, 0);
  EXPECT_FALSE(std::isnan(z.p(5)));
}

PyModel silt(double c, double phi = 35.0) {
  PyModel pm(20, 480.0, 24.0);
  SoilPt s;
  s.c = c;
  s.phi_deg = phi;
  s.gam = 0.04;
  s.k = 100.0;
  pm.layer(0.0, 600.0, 7, s);
  return pm;
}

TEST(PySilt, FrictionAndCohesionParts) {
  const double puphi = 2104.87;  // at x = 120 (node 6), as sand
  PyModel s0 = silt(0.0);
  s0.eval(0.4);  // ym = D/60: the parabola ends at pm = 1.5 Pu_phi
  ASSERT_EQ(s0.status, 0);
  EXPECT_NEAR(-s0.p(6), 1.5 * puphi, 2e-5 * puphi);
  s0.eval(2.0);  // beyond yu: pu = A Pu_phi
  EXPECT_NEAR(-s0.p(6), f32(0.88f) * puphi, 2e-5 * puphi);
  PyModel s1 = silt(1.0);  // Np = 3 + 4.8 + 2.5 > 9: Puc = 9 c D
  s1.eval(2.0);
  EXPECT_NEAR(-s1.p(6), f32(0.88f) * puphi + 9 * 24, 2e-5 * puphi);
}

TEST(PySilt, ZeroFrictionAngle) {
  PyModel first = silt(1.0, 0.0);  // at a layer's first node: the slope test
  pytest::PyFiles f1(first.m);
  first.m.FREELEN(1) = -24.0;
  first.eval(0.1);
  EXPECT_EQ(first.status, ST_SILTSLOPE);
  EXPECT_NE(f1.text("runlog.txt").find("       WARNING-------The Angle of the slope can not"),
            std::string::npos);
  PyModel later = silt(1.0, 35.0);
  pytest::PyFiles f2(later.m);
  later.m.SPPHI(2) = 0.0;
  later.m.SPDEP(2) = later.m.SPDEPG(2) = 48.0;  // phi falls to 0 at 48 in (node 3)
  later.m.LBOT(1) = 48.0;
  later.m.NODE2(1, 1) = 3;
  later.eval(0.1);
  EXPECT_EQ(later.status, ST_SILTPHI0);
  EXPECT_NE(f2.text("echo.txt").find("THE FRICTION ANGLE IS 0 FOR SILT ACCORING TO THE INPUT"),
            std::string::npos);
}

// Set 1: curve 1 at 0 in, p = 100 y to y = 1; curve 2 at 240 in, p = 300 y; beyond: flat.
PyModel user(int ncurves) {
  PyModel pm(10, 240.0, 24.0);
  SoilPt s;
  s.gam = 0.04;
  pm.layer(0.0, 300.0, 5, s);
  Model& m = pm.m;
  m.PYSETG(1) = 1;
  m.NCRVPY(1) = ncurves;
  for (int c = 1; c <= 2; ++c) {
    m.PYDEP(1, c) = c == 1 ? 0.0 : 240.0;
    m.NPTPY(1, c) = 2;
    m.PYY(1, c, 2) = 1.0;
    m.PYP(1, c, 2) = c == 1 ? 100.0 : 300.0;
  }
  return pm;
}

TEST(PyInput, InterpolatesBetweenCurvesByDepth) {
  PyModel pm = user(2);
  pm.eval(0.5);
  ASSERT_EQ(pm.status, 0);
  EXPECT_DOUBLE_EQ(-pm.p(6), 100.0);  // midway: the mean of 50 and 150
  EXPECT_DOUBLE_EQ(pm.Es(6), 200.0);
  EXPECT_DOUBLE_EQ(-pm.p(11), 150.0);  // at the second curve's depth: that curve alone
  pm.eval(2.0);  // beyond the last point: the last point's p
  EXPECT_DOUBLE_EQ(-pm.p(11), 300.0);
  EXPECT_DOUBLE_EQ(pm.m.PUSUM(1, 1), 24.0 * (100 + 120 + 140 + 160 + 180 + 200 + 220 + 240 + 260 +
                                             280 + 300));
}

TEST(PyInput, CurvesThatEndAboveANodeStopTheRun) {
  PyModel pm = user(2);
  pytest::PyFiles files(pm.m);
  pm.m.PYDEP(1, 2) = 200.0;
  pm.eval(0.5);
  EXPECT_EQ(pm.status, ST_INPUTCHECK);
  EXPECT_NE(files.text("echo.txt").find("     P-Y CURVES DO NOT EXTEND THE LENGTH OF THE PILE"),
            std::string::npos);
  // One curve serves every node.
  PyModel one = user(1);
  one.eval(0.5);
  EXPECT_EQ(one.status, 0);
  EXPECT_DOUBLE_EQ(-one.p(11), 50.0);
  // No set at all.
  PyModel none = user(0);
  pytest::PyFiles f2(none.m);
  none.eval(0.5);
  EXPECT_EQ(none.status, ST_INPUTCHECK);
}

}  // namespace
}  // namespace torva
