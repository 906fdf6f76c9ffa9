// Stiff clay criteria (codes 2, 3, 10) against hand values of their formulas.
#include <gtest/gtest.h>

#include "pyfixture.h"

namespace torva {
namespace {

using pytest::f32;
using pytest::PyModel;
using pytest::SoilPt;

// D = 24 in, c = 20 psi, g' = 0.03 pci, E50 = 0.005; nodes every 24 in down to 360 in.
PyModel stiff(int code, int istatic = 1, double cycles = 1.0, double k = 0.0) {
  PyModel pm(15, 360.0, 24.0);
  SoilPt s;
  s.c = 20.0;
  s.gam = 0.03;
  s.e50 = 0.005;
  s.k = k;
  pm.layer(0.0, 400.0, code, s);
  pm.m.ISTATIC = istatic;
  pm.m.CYCLES = cycles;
  return pm;
}

double qrt(double v) { return std::pow(v, 0.25); }

TEST(PyStiffClay, WithoutFreeWaterStaticAndCyclic) {
  const double y50 = 0.3;
  // x = 48 in (node 3): pu = (0.72 + 10) 48 + 1440 = 1954.56; x = 288 (node 13): 9 c D.
  struct Case {
    int istatic;
    double N, r;
    int n;
    double pu, want;
  } cases[] = {
      {1, 1, 1.0, 3, 1954.56, 0.5 * 1954.56},
      {1, 1, 16.0, 3, 1954.56, 1954.56},  // the plateau meets the curve at 16 y50
      {1, 1, 20.0, 3, 1954.56, 1954.56},
      {1, 1, 1.0, 13, 4320.0, 0.5 * 4320.0},
      {0, 100, 16.0, 3, 1954.56, 0.5 * 1954.56 * qrt(16.0 / (1.0 + f32(0.6f) * 2.0))},
      {0, 100, 80.0, 13, 4320.0, 4320.0},
      {0, 1, 4.0, 3, 1954.56, 0.5 * 1954.56 * qrt(4.0)},  // N = 1: the static curve
      {0, 0, 4.0, 3, 1954.56, 0.5 * 1954.56 * qrt(4.0)},  // N = 0 counts as one cycle
  };
  for (const Case& c : cases) {
    PyModel pm = stiff(3, c.istatic, c.N);
    pm.eval(c.r * y50);
    ASSERT_EQ(pm.status, 0);
    EXPECT_NEAR(-pm.p(c.n), c.want, 1e-9 * c.want) << c.istatic << " " << c.N << " " << c.r;
    EXPECT_NEAR(pm.Es(c.n), c.want / (c.r * y50), 1e-9 * c.want);
  }
  // At rest the analysis takes the secant at the tangent's step of 1.0E-7 in.
  PyModel pm = stiff(3);
  pm.eval(0.0);
  EXPECT_EQ(pm.p(3), 0.0);
  const double h = double(1.0e-7f);
  const double es0 = 0.5 * 1954.56 * qrt(h / y50) / h;
  EXPECT_NEAR(pm.Es(3), es0, 1e-9 * es0);
}

TEST(PyStiffClay, InitialModulusLimitsCode10) {
  PyModel pm = stiff(10, 1, 1.0, 500.0);  // kx = 500 x 48 at node 3
  pm.eval(0.001);
  EXPECT_NEAR(-pm.p(3), 24.0, 1e-9);
  pm.eval(0.3);
  EXPECT_NEAR(-pm.p(3), 0.5 * 1954.56, 1e-9);
  pm.eval(0.0);
  EXPECT_EQ(pm.Es(3), 24000.0);
}

TEST(PyStiffClay, RunningAverageCohesionInALowerLayer) {
  PyModel pm(15, 360.0, 24.0);
  SoilPt a;
  a.c = 20.0;
  a.gam = 0.03;
  a.e50 = 0.005;
  pm.layer(0.0, 120.0, 3, a);
  SoilPt top = a, bot = a;
  bot.c = 20.0 + 0.1 * 280.0;
  pm.layer(120.0, 400.0, 3, top, bot);
  pm.eval(0.3);
  ASSERT_EQ(pm.status, 0);
  // Node 8 at 168 in: c = 24.8, the trapezoid mean from 120 in ca = 22.4.
  const double pu = (0.72 + 0.5 * 22.4) * 168.0 + 3.0 * 22.4 * 24.0;
  EXPECT_NEAR(-pm.p(8), 0.5 * pu, 1e-9 * pu);
}

// Code 2 at x = 48 (node 3): As = 0.55, Ac = 0.30, pc = pct = 3711.36, y50 = 0.12.
TEST(PyStiffClay, WithFreeWaterStaticPieces) {
  const double As = f32(0.55f), y50 = 0.12;
  const double pc = (0.03 * 48 + 40.0) * 24 + f32(2.83f) * 20 * 48;
  const double ay = As * y50;
  struct Case {
    double y, want;
  } cases[] = {
      {ay, 0.5 * pc * std::sqrt(As)},
      {3 * ay, 0.5 * pc * std::sqrt(3 * ay / y50) - f32(0.055f) * pc * std::pow(2.0, f32(1.25f))},
      {10 * ay, 0.5 * pc * std::sqrt(6 * As) - f32(0.411f) * pc - f32(0.0625f) * pc * 4 * ay / y50},
      {30 * ay, 0.5 * pc * std::sqrt(6 * As) - f32(0.75f) * As * pc - f32(0.411f) * pc},
  };
  for (const Case& c : cases) {
    PyModel pm = stiff(2, 1, 1.0, 1000.0);
    pm.eval(c.y);
    EXPECT_NEAR(-pm.p(3), c.want, 1e-9 * pc) << c.y / ay;
  }
  // The initial line k x y governs at small deflection; at y = 0 Es = k x.
  PyModel pm = stiff(2, 1, 1.0, 1000.0);
  pm.eval(1e-4);
  EXPECT_NEAR(-pm.p(3), 1000.0 * 48 * 1e-4, 1e-9);
  pm.eval(0.0);
  EXPECT_EQ(pm.Es(3), 48000.0);
  // Deep node (x = 288, As = 0.6): pcd = 11 c D governs.
  pm.eval(ay);
  EXPECT_NEAR(-pm.p(13), 0.5 * 5280.0 * std::sqrt(ay / y50), 1e-9 * 5280.0);
}

TEST(PyStiffClay, WithFreeWaterCyclicResidualMatchesTheIntegralRatio) {
  const double As = f32(0.55f), Ac = f32(0.30f), y50 = 0.12;
  const double pc = (0.03 * 48 + 40.0) * 24 + f32(2.83f) * 20 * 48;
  const double yp = f32(4.1f) * As * y50;
  PyModel pm = stiff(2, 0, 10.0, 1e6);
  pm.eval(f32(0.45f) * yp);
  EXPECT_NEAR(-pm.p(3), Ac * pc, 1e-9 * pc);  // the peak
  pm.eval(0.0);
  EXPECT_EQ(pm.p(3), 0.0);
  pm.eval(5.0 * yp);
  // The integral's ratio rounds 0.102 x 4.1 to 0.418.
  const double R = f32(0.936f) * Ac - f32(0.418f) * As;
  EXPECT_NEAR(-pm.p(3) / pc, R, 0.0003 * As);
  // Continuity at 0.6 yp and 1.8 yp.
  for (double b : {0.6, 1.8}) {
    pm.eval(b * yp * (1 - 1e-9));
    const double lo = pm.p(3);
    pm.eval(b * yp * (1 + 1e-9));
    EXPECT_NEAR(lo, pm.p(3), 1e-5 * pc) << b;
  }
}

TEST(PyStiffClay, PrintedBlocks) {
  PyModel pm = stiff(3);
  Model& m = pm.m;
  pytest::PyFiles files(m);
  m.IPYPRT = 1;
  m.IPYOUT = 1;
  m.NODE1(1, 1) = m.NODE2(1, 1) = 3;
  pm.eval(0.0);
  const auto e = pytest::lines_of(files.text("echo.txt"));
  ASSERT_EQ(e.size(), 8u + 17u);
  EXPECT_EQ(e[1], "          DEPTH BELOW GS     DIAM        C       CAVG      GAMMA       E50");
  EXPECT_EQ(e[2], "                FT            IN     LBS/FT**2 LBS/FT**2 LBS/FT**3 ");
  EXPECT_EQ(e[3], "                4.00         24.000  0.29E+04  0.29E+04  0.52E+02  0.5000E-02");
  EXPECT_EQ(e[4], "             EQ. DEPTH =    4.00 FT");
  EXPECT_EQ(e[6], std::string(38, ' ') + "Y" + std::string(19, ' ') + "P");
  // Default list: Y = y50 16/15 under static loading; the last point 18.75 Y = 20 y50.
  std::string l;
  put_X(l, 21);
  put_real(l, 20 * 0.3 * f32(18.75f) / 18.75, 20, 5);
  EXPECT_EQ(e.back().substr(0, 41), l);
}

}  // namespace
}  // namespace torva
