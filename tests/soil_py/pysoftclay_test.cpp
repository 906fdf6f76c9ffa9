// Soft clay criteria (codes 1, 13, 14) against hand values of their formulas, and the
// equivalent depth of a lower clay layer.
#include <gtest/gtest.h>

#include "pyfixture.h"

namespace torva {
namespace {

using pytest::f32;
using pytest::PyModel;
using pytest::SoilPt;

// D = 12 in, c = 5 psi, g' = 0.02 pci, E50 = 0.01: nodes every 60 in down to 240 in.
PyModel soft(int code, double J = 0.0, double k = 0.0, int istatic = 1) {
  PyModel pm(4, 240.0, 12.0);
  SoilPt s;
  s.c = 5.0;
  s.gam = 0.02;
  s.e50 = 0.01;
  s.j = J;
  s.k = k;
  pm.layer(0.0, 300.0, code, s);
  pm.m.ISTATIC = istatic;
  return pm;
}

double root3(double v) { return std::pow(v, f32(0.3333333333f)); }

TEST(PySoftClay, StaticCurveAtAShallowAndADeepNode) {
  const double y50 = 2.5 * 0.01 * 12.0;
  struct Node {
    int n;
    double pu;
  } nodes[] = {{2, 344.4}, {5, 540.0}};  // x = 60: Np = 5.74; x = 240: Np capped at 9
  for (const Node& nd : nodes) {
    for (double r : {0.5, 1.0, 3.0, 8.0, 10.0}) {
      PyModel pm = soft(1);
      pm.eval(r * y50);
      ASSERT_EQ(pm.status, 0);
      const double want = r <= 8.0 ? 0.5 * nd.pu * root3(r) : nd.pu;
      EXPECT_NEAR(-pm.p(nd.n), want, 1e-9 * want) << nd.n << " " << r;
      EXPECT_NEAR(pm.Es(nd.n), want / (r * y50), 1e-9 * want);
    }
  }
}

TEST(PySoftClay, CyclicCurveDegradesAboveTheTransitionDepth) {
  const double y50 = 0.3, xr = 6.0 * 5 * 12 / (0.02 * 12 + 0.5 * 5);  // 131.39 in
  const double q = f32(0.72f);
  struct Case {
    int n;
    double pu, r, want;
  } cases[] = {
      {2, 344.4, 1.0, 0.5 * 344.4},                               // first branch unchanged
      {2, 344.4, 9.0, q * 344.4 * (1.0 + 0.5 * (60.0 / xr - 1.0))}, // midway down the line
      {2, 344.4, 20.0, q * 344.4 * 60.0 / xr},                    // residual above xr
      {5, 540.0, 20.0, q * 540.0},                                // below xr: 0.72 pu
  };
  for (const Case& c : cases) {
    PyModel pm = soft(1, 0.0, 0.0, 0);
    pm.eval(c.r * y50);
    EXPECT_NEAR(-pm.p(c.n), c.want, 1e-9 * c.want) << c.n << " " << c.r;
  }
}

TEST(PySoftClay, UserJAndInitialModulus) {
  PyModel pj = soft(13, 0.25);
  pj.eval(0.3);
  EXPECT_NEAR(-pj.p(2), 0.5 * (3.0 + 0.24 + 1.25) * 5 * 12, 1e-9);
  // Code 14: k = 100 pci, kx = 6000 at 60 in, the initial line governs at small deflection.
  PyModel pk = soft(14, 0.5, 100.0);
  pk.eval(0.001);
  EXPECT_NEAR(-pk.p(2), 6.0, 1e-12);
  EXPECT_NEAR(pk.Es(2), 6000.0, 1e-9);
  pk.eval(0.3);
  EXPECT_NEAR(-pk.p(2), 172.2, 1e-9);
  pk.eval(0.0);
  EXPECT_EQ(pk.Es(2), 6000.0);
  EXPECT_EQ(pk.p(2), 0.0);
}

TEST(PySoftClay, SmallDeflectionAndZeroStrength) {
  // At rest the analysis takes the secant at the tangent's step of 1.0E-7 in.
  PyModel pm = soft(1);
  pm.eval(0.0);
  const double h = double(1.0e-7f);
  const double es0 = 0.5 * 344.4 * root3(h / 0.3) / h;
  EXPECT_NEAR(pm.Es(2), es0, 1e-9 * es0);
  EXPECT_EQ(pm.p(2), 0.0);
  PyModel pz = soft(1);
  pz.m.SPC(1) = pz.m.SPC(2) = 0.0;
  for (double y : {0.0, 0.3}) {
    pz.eval(y);
    EXPECT_EQ(pz.status, 0);
    EXPECT_EQ(pz.Es(2), 0.0);
    EXPECT_EQ(pz.p(2), 0.0);
  }
}

TEST(PySoftClay, DefaultE50ByStrengthClass) {
  // E50 read as 0: c = 5 psi lies in [c0, 2 c0): 0.01, so y50 = 0.3 as with the input above.
  PyModel pm = soft(1);
  pm.m.SPE50(1) = pm.m.SPE50(2) = 0.0;
  pm.eval(0.3);
  EXPECT_NEAR(-pm.p(2), 172.2, 1e-5);
}

// Layer 1 soft clay (c = 5) to 120 in, layer 2 soft clay with J (c = 10) below it.
PyModel two_layers(int code2, int istatic = 1) {
  PyModel pm(8, 240.0, 12.0);
  SoilPt a;
  a.c = 5.0;
  a.gam = 0.02;
  a.e50 = 0.01;
  pm.layer(0.0, 120.0, 1, a);
  SoilPt b = a;
  b.c = 10.0;
  b.j = 0.5;
  pm.layer(120.0, 300.0, code2, b);
  pm.m.ISTATIC = istatic;
  return pm;
}

TEST(PySoftClay, EquivalentDepthPreservesTheIntegratedResistance) {
  for (int istatic : {1, 0}) {
    PyModel pm = two_layers(13, istatic);
    pm.eval(0.1);
    ASSERT_EQ(pm.status, 0);
    const double S = pm.m.PUSUM(1, 1);
    // Layer 1 by nodes 30, 60, 90 (spacing 30; the head at the ground surface has no
    // resistance) of pu = (3 + g x/c + 0.5 x/D) c D.
    double want_S = 0.0;
    for (double x : {30.0, 60.0, 90.0}) {
      const double pu = std::min(3.0 + 0.02 * x / 5.0 + 0.5 * x / 12.0, 9.0) * 5.0 * 12.0;
      want_S += 30.0 * (istatic == 1 ? pu : f32(0.72f) * pu);
    }
    EXPECT_NEAR(S, want_S, 1e-9 * want_S);
    const double xe = pm.m.EQDEPTH(1, 2);
    const double a = 0.5 * (0.02 * 12 + 0.5 * 10.0), b = 3.0 * 10.0 * 12.0;
    const double fac = istatic == 1 ? 1.0 : f32(0.72f);
    EXPECT_NEAR(fac * (a * xe * xe + b * xe), S, 1e-9 * S);
    EXPECT_LT(xe, 120.0);  // the stronger layer reaches the same integral sooner
    // The node at 150 in uses xe + 30.
    const double x = xe + 30.0;
    const double pu = (3.0 + 0.02 * x / 10.0 + 0.5 * x / 12.0) * 10.0 * 12.0;
    const double y50 = 0.3;
    EXPECT_NEAR(-pm.p(6), 0.5 * pu * root3(0.1 / y50), 1e-9 * pu);
  }
}

TEST(PySoftClay, EquivalentDepthPlainCases) {
  PyModel same = two_layers(1);  // the same code above: the plain depth
  same.eval(0.1);
  EXPECT_EQ(same.m.EQDEPTH(1, 2), 120.0);
  PyModel pm = two_layers(13);
  pm.eval(0.1);
  const double first = pm.m.EQDEPTH(1, 2);
  pm.m.ISTATIC = 0;  // computed once in the run: a later cyclic case reuses it
  pm.eval(0.1);
  EXPECT_EQ(pm.m.EQDEPTH(1, 2), first);
}

TEST(PySoftClay, EquivalentDepthBranchesMeetAtTheTransition) {
  PyModel pm = two_layers(1);
  Model& m = pm.m;
  m.ISTATIC = 0;
  const double c = 10.0, D = 12.0, g = 0.02;
  const double xr = 6 * c * D / (g * D + 0.5 * c);
  const double a = 0.25 * c + 0.5 * g * D, b = 3 * c * D;
  m.PUSUM(1, 1) = f32(0.72f) * (a * xr + b) * xr;
  PYEQDEPTH(m, 1, 2, 1, D, c, 0, g, 0, 0, 0, 0, 0, 0, 0, 0.5, nullptr);
  EXPECT_NEAR(m.EQDEPTH(1, 2), xr, 1e-9 * xr);
  m.PUSUM(1, 1) *= 2.0;  // beyond: linear at 0.72 x 9 c D per depth
  PYEQDEPTH(m, 1, 2, 1, D, c, 0, g, 0, 0, 0, 0, 0, 0, 0, 0.5, nullptr);
  EXPECT_NEAR(m.EQDEPTH(1, 2), xr + m.PUSUM(1, 1) / 2.0 / (f32(0.72f) * 9 * c * D),
              1e-9 * xr);
  // No strength and no weight: no depth matches; the plain depth, never NaN.
  PYEQDEPTH(m, 1, 2, 1, D, 0.0, 0, 0.0, 0, 0, 0, 0, 0, 0, 0, 0.5, nullptr);
  EXPECT_EQ(m.EQDEPTH(1, 2), 120.0);
}

TEST(PySoftClay, PrintedBlockAndSmallDeflectionWarning) {
  PyModel pm = soft(13, 0.5);
  Model& m = pm.m;
  pytest::PyFiles files(m);
  m.IPYPRT = 1;
  m.IPYOUT = 1;
  m.NODE1(1, 1) = m.NODE2(1, 1) = 2;
  m.NPCUR = 2;
  m.IPCUR = 1;
  m.POY(1, 1) = 0.0;
  m.POY(1, 2) = 1e-15;
  pm.eval(0.0);
  const auto e = pytest::lines_of(files.text("echo.txt"));
  ASSERT_GE(e.size(), 13u);
  EXPECT_EQ(e[1], "         DEPTH BELOW GS      DIAM         C         GAMMA         E50           J");
  EXPECT_EQ(e[2], "               FT             IN       LBS/FT**2    LBS/FT**3");
  EXPECT_EQ(e[3], "              5.00          12.000    0.7200E+03   0.3456E+02   0.1000E-01  0.5000E+00");
  EXPECT_EQ(e[4], "             EQ. DEPTH =    5.00 FT");
  EXPECT_EQ(e[6], std::string(37, ' ') + "Y,IN" + std::string(13, ' ') + "P,LBS/IN");
  EXPECT_EQ(e[9], "");
  EXPECT_EQ(e[10], std::string(29, ' ') + "**** WARNING ****");
  EXPECT_EQ(e[11], "     DEFLECTION IS LESS THAN 1.0E-14.  THE PROGRAM");
  EXPECT_EQ(e[12].substr(0, 28), "     USED A SOIL MODULUS OF ");
}

}  // namespace
}  // namespace torva
