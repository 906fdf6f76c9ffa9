// Elastic subgrade and the common frame of the p-y criteria: secant modulus, reaction
// sign, group and depth factors, soil movement, ground surface, layer selection, print and
// plot modes.
#include <gtest/gtest.h>

#include "pyfixture.h"

namespace torva {
namespace {

using pytest::PyFiles;
using pytest::PyModel;
using pytest::SoilPt;

// Es = 500 pci, ST = 20 psi, D = 24 in: k = Es D = 12000 lb/in2, yu = 0.04 in, pu = 480 lb/in.
PyModel elastic_pile(double ST = 20.0) {
  PyModel pm(10, 240.0, 24.0);
  SoilPt s;
  s.c = ST;
  s.k = 500.0;
  s.gam = 0.04;
  pm.layer(0.0, 300.0, 12, s);
  return pm;
}

TEST(PyElastic, LinearUpToYieldThenConstant) {
  struct Case {
    double ST, y, Es, p;
  } cases[] = {
      {20.0, 0.02, 12000.0, -240.0},   // linear branch
      {20.0, 0.04, 12000.0, -480.0},   // the yield point itself
      {20.0, 0.10, 4800.0, -480.0},    // capped at ST x D
      {20.0, -0.02, 12000.0, 240.0},   // a 2-D deflection the other way: reaction positive
      {0.0, 1.0, 12000.0, -12000.0},   // ST <= 0: no limit
  };
  for (const Case& c : cases) {
    PyModel pm = elastic_pile(c.ST);
    pm.eval(c.y);
    ASSERT_EQ(pm.status, 0);
    for (int n = 2; n <= 11; ++n) {
      EXPECT_NEAR(pm.Es(n), c.Es, 1e-9 * c.Es) << "ST " << c.ST << " y " << c.y << " node " << n;
      EXPECT_NEAR(pm.p(n), c.p, 1e-9 * std::abs(c.p));
    }
  }
}

TEST(PyElastic, GroupFactorsApplyToTheSecantButNotAtZeroDeflection) {
  PyModel pm = elastic_pile();
  pm.m.PMULT(1) = 0.5;
  pm.m.YMULT(1) = 2.0;
  pm.eval(0.02);
  EXPECT_DOUBLE_EQ(pm.Es(5), 12000.0 * 0.5 / 2.0);
  EXPECT_DOUBLE_EQ(pm.p(5), -240.0 * 0.5);
  pm.eval(0.0);
  EXPECT_DOUBLE_EQ(pm.Es(5), 12000.0 / 2.0);  // k / YMULT, without the p-multiplier
  EXPECT_EQ(pm.p(5), 0.0);
  EXPECT_FALSE(std::signbit(pm.p(5)));
}

TEST(PyElastic, ModificationFactorsAlongDepth) {
  PyModel pm = elastic_pile();
  Model& m = pm.m;
  m.IPYMOD = 1;
  m.PMODTAB(1) = 1;
  m.NPTMOD(1) = 2;
  m.PMDEP(1, 1) = 48.0;
  m.PMDEP(1, 2) = 144.0;
  m.PMPF(1, 1) = 1.0;
  m.PMPF(1, 2) = 0.5;
  m.PMYF(1, 1) = 1.0;
  m.PMYF(1, 2) = 2.0;
  pm.eval(0.02);
  // node 5 at 96 in: pf = 0.75, yf = 1.5; node 3 at 48: the first point; node 9 at 192: beyond.
  EXPECT_DOUBLE_EQ(pm.Es(5), 12000.0 * 0.75 / 1.5);
  EXPECT_DOUBLE_EQ(pm.p(5), -240.0 * 0.75);
  EXPECT_DOUBLE_EQ(pm.Es(3), 12000.0);
  EXPECT_DOUBLE_EQ(pm.Es(9), 12000.0);
  int set;
  double pf, yf;
  const struct {
    double d, pf, yf;
  } table[] = {{10.0, 1.0, 1.0}, {48.0, 1.0, 1.0}, {72.0, 0.875, 1.25}, {144.0, 0.5, 2.0},
               {150.0, 1.0, 1.0}};
  for (const auto& r : table) {
    PYMODFAC(m, 1, set, r.d, pf, yf);
    EXPECT_EQ(set, 1);
    EXPECT_DOUBLE_EQ(pf, r.pf) << r.d;
    EXPECT_DOUBLE_EQ(yf, r.yf) << r.d;
  }
  m.PMODTAB(1) = 0;
  PYMODFAC(m, 1, set, 72.0, pf, yf);
  EXPECT_EQ(pf, 1.0);
  EXPECT_EQ(yf, 1.0);
}

TEST(PyElastic, SoilMovementUsesTheRelativeDeflection) {
  PyModel pm = elastic_pile();
  pm.m.NSMPT = 2;
  for (int n = 1; n <= 11; ++n) pm.smy(n) = 0.01;
  pm.eval(0.03);  // relative deflection 0.02
  EXPECT_DOUBLE_EQ(pm.Es(5), 12000.0);
  EXPECT_DOUBLE_EQ(pm.psm(5), 120.0);
  EXPECT_DOUBLE_EQ(pm.p(5), -240.0);
  pm.eval(0.004);  // the soil moves more than the pile: the reaction pushes along
  EXPECT_DOUBLE_EQ(pm.p(5), 0.006 * 12000.0);
}

TEST(PyFrame, NodesAboveTheGroundHaveNoSpring) {
  PyModel pm(10, 240.0, 24.0, 1, 0.0, 50.0);  // ground 50 in below the head
  SoilPt s;
  s.c = 20.0;
  s.k = 500.0;
  s.gam = 0.04;
  pm.layer(0.0, 300.0, 12, s);
  for (int n = 1; n <= 11; ++n) pm.p(n) = 777.0;
  pm.eval(0.02);
  for (int n = 1; n <= 3; ++n) {  // depths 0, 24, 48 lie above the ground
    EXPECT_EQ(pm.Es(n), 0.0);
    EXPECT_EQ(pm.p(n), 777.0);  // left as the caller put it
  }
  EXPECT_DOUBLE_EQ(pm.Es(4), 12000.0);
  EXPECT_EQ(pm.m.GSDEPTH(1), 50.0);
}

TEST(PyFrame, LayerSelection) {
  PyModel pm(10, 240.0, 24.0);
  SoilPt s;
  s.c = 20.0;
  s.k = 500.0;
  s.gam = 0.04;
  pm.layer(0.0, 240.0, 12, s);
  SoilPt s2 = s;
  s2.k = 1000.0;
  pm.layer(240.0, 300.0, 12, s2);  // holds only the tip node
  ASSERT_EQ(pm.m.NODE1(1, 2), 11);
  pm.eval(0.02);
  EXPECT_EQ(pm.Es(11), 0.0);  // the tip-only layer is not evaluated in an analysis
  EXPECT_DOUBLE_EQ(pm.Es(10), 12000.0);
  // A layer whose code has no criterion of its own falls back to soft clay: c = 0 there.
  pm.m.LTYPE(2) = 99;
  pm.m.NODE1(1, 2) = 10;
  pm.m.NODE2(1, 2) = 11;
  pm.m.NODE2(1, 1) = 9;
  for (int i = 1; i <= 4; ++i) pm.m.SPC(i) = 0.0;  // the lookups go by depth
  pm.eval(0.02);
  EXPECT_EQ(pm.status, 0);
  EXPECT_EQ(pm.Es(10), 0.0);  // zero strength: a curve of zeros, not an error
  EXPECT_EQ(pm.p(10), 0.0);
  EXPECT_DOUBLE_EQ(pm.Es(9), 12000.0);  // elastic subgrade with ST = 0: no limit
}

TEST(PyFrame, LookupBeyondTheProfileStopsTheRowWithoutClearing) {
  PyModel pm(10, 240.0, 24.0, 1, 0.0, 50.0);
  SoilPt s;
  s.c = 20.0;
  s.k = 500.0;
  s.gam = 0.04;
  pm.layer(0.0, 200.0, 12, s);
  pm.m.NODE2(1, 1) = 11;  // the nodes below 200 in reach beyond the profile
  PyFiles files(pm.m);
  for (int n = 1; n <= 11; ++n) pm.Es(n) = -1.0;
  pm.eval(0.02);
  EXPECT_EQ(pm.status, ST_DEPCOHES);
  EXPECT_EQ(pm.Es(1), 0.0);  // cleared by the frame as it passed
  EXPECT_DOUBLE_EQ(pm.Es(9), 12000.0);
}

TEST(PyElastic, PrintModeWritesTheParameterBlockAndDefaultPoints) {
  PyModel pm = elastic_pile();
  Model& m = pm.m;
  PyFiles files(m);
  m.IPYPRT = 1;
  m.IPYOUT = 1;
  m.NODE1(1, 1) = m.NODE2(1, 1) = 5;  // one node at 96 in = 8 ft
  m.YMULT(1) = 2.0;
  pm.eval(0.0);
  ASSERT_EQ(pm.status, 0);
  const auto echo = pytest::lines_of(files.text("echo.txt"));
  ASSERT_EQ(echo.size(), 7u + 17u);
  EXPECT_EQ(echo[0], "");
  EXPECT_EQ(echo[1], "          DEPTH BELOW GS     DIAM        ST           ES");
  EXPECT_EQ(echo[2], "                FT            IN      LBS/IN**2     LBS/IN**3");
  EXPECT_EQ(echo[3], "                8.00         24.000   0.20E+02      0.50E+03");
  EXPECT_EQ(echo[4], "");
  EXPECT_EQ(echo[5], std::string(38, ' ') + "Y" + std::string(19, ' ') + "P");
  EXPECT_EQ(echo[6], std::string(38, ' ') + "IN" + std::string(15, ' ') + "LBS/IN");
  // Default list: steps of yu/10 = 0.004, printed times YMULT.
  std::string l;
  put_X(l, 21);
  put_real(l, 2 * 0.004, 20, 5);
  put_real(l, 0.004 * 12000.0, 20, 5);
  l += ' ';
  EXPECT_EQ(echo[8], l);
  const auto plot = pytest::lines_of(files.text("plot.txt"));
  ASSERT_EQ(plot.size(), 18u);
  EXPECT_EQ(plot[0], std::string(" ").append(free_real(96.0)));
  std::string r;
  put_X(r, 1);
  put_G(r, 2 * 0.016, 15, 8, 1);
  put_X(r, 2);
  put_G(r, 0.016 * 12000.0, 15, 8, 1);
  put_X(r, 2);
  EXPECT_EQ(plot[5], r);
}

TEST(PyElastic, PlotModeFillsTheCurveBuffer) {
  PyModel pm = elastic_pile(0.0);
  Model& m = pm.m;
  m.IPYPRT = 1;
  m.IPLOT = 1;
  m.IPYOUT = 1;
  m.NODE1(1, 1) = m.NODE2(1, 1) = 5;
  m.NPCUR = 3;
  m.PLTY(1) = 0.0;
  m.PLTY(2) = 0.1;
  m.PLTY(3) = 0.2;
  pm.eval(0.0);
  EXPECT_EQ(m.IPLTCRV, 6);
  EXPECT_EQ(m.IPLTGS, 1);
  EXPECT_EQ(m.PLCHR, 96.0);
  EXPECT_EQ(m.PLCRV(2, 1, 1), 0.1);
  EXPECT_DOUBLE_EQ(m.PLCRV(3, 2, 1), 0.2 * 12000.0);
  m.NPCUR = -1;  // no point at all
  m.PLCRV(1, 2, 1) = 5.0;
  pm.eval(0.0);
  EXPECT_EQ(m.PLCRV(1, 2, 1), 5.0);
}

}  // namespace
}  // namespace torva

namespace torva {
namespace {

// Embedded cap: the head node is evaluated first with the cap width and its unfactored
// resistance kept in PCAPP, then again with the pile's own width.
TEST(PyFrame, EmbeddedCapPassStoresTheCapResistance) {
  PyModel pm(10, 240.0, 24.0, 1, 0.0, -30.0);  // the head 30 in below the ground
  SoilPt s;
  s.c = 20.0;
  s.k = 500.0;
  s.gam = 0.04;
  pm.layer(-30.0, 300.0, 12, s);
  Model& m = pm.m;
  m.ICAPOPT = 1;
  m.CAPWEFF = 60.0;  // the effective cap width
  m.CAPTHK = 40.0;
  m.PMULT(1) = 0.5;
  pm.eval(0.01);
  EXPECT_DOUBLE_EQ(m.PCAPP(1), 500.0 * 60.0 * 0.01);  // unfactored, cap width
  EXPECT_DOUBLE_EQ(pm.Es(1), 500.0 * 24.0 * 0.5);     // then the pile itself
  EXPECT_DOUBLE_EQ(pm.p(1), -500.0 * 24.0 * 0.01 * 0.5);
}

}  // namespace
}  // namespace torva
