// The model the input echo completes: effective cap width, estimation defaults, pile rows
// with the cap pseudo row, angles, section properties and moment-curvature set numbers.
#include <gtest/gtest.h>

#include <cmath>

#include "echo/echo.h"
#include "input/units.h"
#include "support/workdir.h"

namespace torva {
namespace {

constexpr double kPi = 3.141592653589793;

class EchoModel : public ::testing::Test {
 protected:
  testing::WorkDir dir;
  std::unique_ptr<Model> mp = new_model();
  Model& m = *mp;
  void SetUp() override {
    m.IUNITS = 1;
    SETUNITLAB(m, 1);
    ASSERT_TRUE(m.ECHO.open_write((dir.path() / "echo.txt").string()));
    ASSERT_TRUE(m.REPORT.open_write((dir.path() / "report.txt").string()));
    ASSERT_TRUE(m.RUNLOG.open_write((dir.path() / "runlog.txt").string()));
  }
  // Elastic cross section k with diameter D, moments of inertia and modulus E.
  void section(int k, double D, double Iz, double Iy, double E) {
    m.NSECIN = std::max(m.NSECIN, k);
    for (int base : {0, 18}) {
      m.SPROPI(k, base + 1) = D;
      m.SPROPI(k, base + 10) = 0.785 * D * D;
      m.SPROPI(k, base + 11) = Iz;
      m.SPROPI(k, base + 12) = Iy;
      m.SPROPI(k, base + 17) = E;
    }
  }
  void property(int t, double L, int nseg, std::initializer_list<int> sections) {
    m.NPROPIN = std::max(m.NPROPIN, t);
    m.PLENI(t) = L;
    m.NSEGI(t) = nseg;
    m.PKINDI(t) = 1;
    int s = 0;
    for (int k : sections) {
      ++s;
      m.ISECI(t, s) = k;
      m.SFROMI(t, s) = (s - 1) * L / double(sections.size());
      m.STOI(t, s) = s * L / double(sections.size());
    }
    m.NSECTI(t) = s;
  }
};

TEST_F(EchoModel, EffectiveCapWidthKeepsTheInputWidth) {
  struct Case { int ndim, capopt; double len, wid, deq, want; };
  const Case cases[] = {
      {3, 0, 3, 4, 0, 5}, {3, 1, 3, 4, 2, 2}, {3, 0, 3, 4, 2, 5},
      {2, 0, 3, 4, 0, 4}, {2, 1, 3, 4, 2, 2}, {3, 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    m.NDIM = c.ndim;
    m.ICAPOPT = c.capopt;
    m.CAPLEN = c.len;
    m.CAPWID = c.wid;
    m.CAPDEQ = c.deq;
    CAPWIDTH(m);
    EXPECT_DOUBLE_EQ(m.CAPWEFF, c.want) << c.ndim << " " << c.capopt << " " << c.deq;
    EXPECT_EQ(m.CAPWID, c.wid);  // the plate model meshes the cap as given
  }
}

TEST_F(EchoModel, DefaultLoadLevelsOfAnEstimatingCase) {
  m.NLC = 3;
  m.CASINT(1, 9) = 11;  // estimating, no values: ten default levels
  m.CASINT(2, 9) = 11;
  m.CASINT(2, 17) = 2;  // given values are kept
  m.STFDAT(2, 1) = 0.5;
  m.CASINT(3, 9) = 0;   // not estimating
  ESTDEFAULTS(m);
  EXPECT_EQ(m.CASINT(1, 17), 10);
  EXPECT_EQ(m.STFDAT(1, 1), double(0.1f));
  EXPECT_DOUBLE_EQ(m.STFDAT(1, 2), std::log10(2.0));
  EXPECT_DOUBLE_EQ(m.STFDAT(1, 10), 1.0);
  EXPECT_EQ(m.CASINT(2, 17), 2);
  EXPECT_EQ(m.STFDAT(2, 1), 0.5);
  EXPECT_EQ(m.CASINT(3, 17), 0);
}

TEST_F(EchoModel, CapPseudoRowFollowsTheShallowestHead) {
  m.NDIM = 3;
  m.NROW3 = 3;
  const double x[] = {2.0, 1.5, 3.0};
  for (int g = 1; g <= 3; ++g) {
    m.ROWR3(g, 8) = x[g - 1];
    m.ROWR3(g, 12) = 90.0;
    m.ROWI3(g, 3) = 1;
  }
  m.CAPTHK = 1.0;
  m.CAPWEFF = 7.0;
  m.NLAYIN = 1;
  m.LTOPI(1) = 4.0;
  BUILDROWS(m);
  EXPECT_EQ(m.NROW, 3);
  EXPECT_DOUBLE_EQ(m.CORX(4), 0.5);
  EXPECT_DOUBLE_EQ(m.HEADDEP(4), 0.5);
  EXPECT_DOUBLE_EQ(m.CAPXTOP, 0.5);
  EXPECT_DOUBLE_EQ(m.CAPTHKP, 1.0);
  EXPECT_DOUBLE_EQ(m.CAPWEFF, 7.0);
  EXPECT_DOUBLE_EQ(m.FREELEN(4), 3.5);
  EXPECT_DOUBLE_EQ(m.BETA(4), kPi / 2);
  EXPECT_EQ(m.NPILE(4), 1.0);
  EXPECT_EQ(m.PTYPE(4), 0);
  EXPECT_EQ(m.BATTER(4), 0.0);
  // No rows: the pseudo row is row 1, its top at minus the cap thickness.
  m.NROW3 = 0;
  BUILDROWS(m);
  EXPECT_EQ(m.NROW, 0);
  EXPECT_DOUBLE_EQ(m.CORX(1), -1.0);
  EXPECT_EQ(m.PTYPE(1), 0);
  EXPECT_DOUBLE_EQ(m.FREELEN(1), 5.0);
  // No soil layers: no ground surface to reach; the cap stands free down to its bottom.
  m.NLAYIN = 0;
  BUILDROWS(m);
  EXPECT_DOUBLE_EQ(m.FREELEN(1), 1.0);
}

TEST_F(EchoModel, RowColumnsAnglesAndGroupFactors2D) {
  m.NDIM = 2;
  m.NROW2 = 1;
  for (int c = 1; c <= 7; ++c) m.ROWI2(1, c) = 10 + c;
  for (int c = 1; c <= 9; ++c) m.ROWR2(1, c) = 0.5 + c;
  m.ROWR2(1, 8) = 45.0;
  BUILDROWS(m);
  EXPECT_EQ(m.CONNECTY(1), 11);
  EXPECT_EQ(m.NPILE(1), 12.0);
  EXPECT_EQ(m.PTYPE(1), 13);
  EXPECT_EQ(m.PYSETG(1), 14);
  EXPECT_EQ(m.LSNO(1), 15);
  EXPECT_EQ(m.PMODTAB(1), 16);
  EXPECT_EQ(m.LSGNO(1), 17);
  EXPECT_EQ(m.SPZ(1), 1.5);
  EXPECT_EQ(m.SPACING(1), 2.5);
  EXPECT_EQ(m.PMULT(1), 3.5);
  EXPECT_EQ(m.YMULT(1), 4.5);
  EXPECT_EQ(m.AXFAC(1), 5.5);
  EXPECT_EQ(m.CORX(1), 6.5);
  EXPECT_EQ(m.HEADDEP(1), 6.5);
  EXPECT_EQ(m.CORY(1), 7.5);
  EXPECT_EQ(m.HEADY(1), 7.5);
  EXPECT_EQ(m.FREELEN(1), 9.5);
  EXPECT_DOUBLE_EQ(m.ALPHA(1), kPi / 4);
  EXPECT_DOUBLE_EQ(m.BATTER(1), kPi / 4);
}

TEST_F(EchoModel, RowColumnsAnglesAndGroupFactors3D) {
  m.NDIM = 3;
  m.NROW3 = 1;
  for (int c = 1; c <= 10; ++c) m.ROWI3(1, c) = 20 + c;
  for (int c = 1; c <= 14; ++c) m.ROWR3(1, c) = 0.25 + c;
  m.ROWR3(1, 11) = 30.0;
  m.ROWR3(1, 12) = 60.0;
  m.ROWR3(1, 13) = 90.0;
  BUILDROWS(m);
  EXPECT_EQ(m.CONNECTY(1), 21);
  EXPECT_EQ(m.CONNECTZ(1), 22);
  EXPECT_EQ(m.PTYPE(1), 23);
  EXPECT_EQ(m.PYSETG(1), 24);
  EXPECT_EQ(m.LSNO(1), 25);
  EXPECT_EQ(m.TRNO(1), 26);
  EXPECT_EQ(m.PMODTAB(1), 27);
  EXPECT_EQ(m.LSGNO(1), 29);
  EXPECT_EQ(m.TRGNO(1), 30);
  EXPECT_EQ(m.SPZ(1), 1.25);
  EXPECT_EQ(m.SPY(1), 2.25);
  EXPECT_EQ(m.PMULT(1), 3.25);
  EXPECT_EQ(m.PMULTY(1), 3.25);
  EXPECT_EQ(m.YMULT(1), 4.25);
  EXPECT_EQ(m.YMULTY(1), 4.25);
  EXPECT_EQ(m.PMULTZ(1), 5.25);
  EXPECT_EQ(m.YMULTZ(1), 6.25);
  EXPECT_EQ(m.AXFAC(1), 7.25);
  EXPECT_EQ(m.CORX(1), 8.25);
  EXPECT_EQ(m.CORY(1), 9.25);
  EXPECT_EQ(m.CORZ(1), 10.25);
  EXPECT_EQ(m.FREELEN(1), 14.25);
  EXPECT_EQ(m.NPILE(1), 1.0);
  EXPECT_DOUBLE_EQ(m.ALPHA(1), kPi / 6);
  EXPECT_DOUBLE_EQ(m.BETA(1), kPi / 3);
  EXPECT_DOUBLE_EQ(m.THETA(1), kPi / 2);
  EXPECT_NEAR(m.BATTER(1), kPi / 6, 1e-15);
}

TEST_F(EchoModel, SectionPropertiesReplaceTinyInertiaAndFormEI) {
  m.NDIM = 3;
  const double E = 29.0e6;
  const double circle = double(0.0491f) * 16.0;
  section(1, 2.0, 0.0, 0.0, E);
  section(2, 2.0, 0.5e-10, double(1.0e-10f), E);
  section(3, 1.0, 3.0, 4.0, E);  // tapered: bottom diameter 0.5, modulus E/2
  m.ITAPERI(3) = 1;
  m.SPROPI(3, 19) = 0.5;
  m.SPROPI(3, 29) = 0.0;
  m.SPROPI(3, 30) = 2.0;
  m.SPROPI(3, 35) = E / 2;
  for (int c : {14, 15, 16}) m.SPROPI(3, c) = c, m.SPROPI(3, c + 18) = 100 + c;
  property(1, 50.0, 10, {1, 2, 3});
  BUILDPROPS(m);
  EXPECT_EQ(m.NSECT(1), 3);
  EXPECT_EQ(m.NSEG(1), 10);
  EXPECT_EQ(m.PILELEN(1), 50.0);
  EXPECT_EQ(m.SEGLEN(1), 5.0);
  EXPECT_DOUBLE_EQ(m.SIZ(1, 1), circle);
  EXPECT_DOUBLE_EQ(m.SIY(1, 1), circle);
  EXPECT_DOUBLE_EQ(m.SEIZ(1, 1), circle * E);
  EXPECT_DOUBLE_EQ(m.SIZ(1, 2), circle);            // half the threshold: replaced
  EXPECT_EQ(m.SIY(1, 2), double(1.0e-10f));          // at the threshold: kept
  EXPECT_EQ(m.SIZ(1, 3), 3.0);
  EXPECT_EQ(m.SEIY(1, 3), 4.0 * E);
  EXPECT_DOUBLE_EQ(m.SIZB(1, 3), double(0.0491f) * std::pow(0.5, 4));
  EXPECT_EQ(m.SEIYB(1, 3), 2.0 * E / 2);
  EXPECT_EQ(m.SDIAMB(1, 3), 0.5);
  EXPECT_EQ(m.SGJ(1, 3), 14.0);
  EXPECT_EQ(m.SMNB(1, 3), 115.0);
  EXPECT_EQ(m.SVNB(1, 3), 116.0);
  EXPECT_EQ(m.ITAPER(1, 3), 1);
  EXPECT_EQ(m.SFROM(1, 2), 50.0 / 3);
}

TEST_F(EchoModel, MomentCurvatureSetsFollowTheUserSets) {
  for (int k = 1; k <= 6; ++k) section(k, 1.0, 1.0, 1.0, 1.0);
  m.NMPHI = 1;
  m.NMPSETI = 3;
  m.INONLIN(2) = 1;
  m.NLINT(2, 1) = 2;
  m.INONLIN(5) = 2;  // any non-zero flag is nonlinear
  m.NLINT(5, 1) = 7;
  m.INONLIN(6) = 1;  // the user's own EI: keeps the set numbers it gives
  m.NLINT(6, 1) = 10;
  m.NLINT(6, 28) = 2;
  m.NLINT(6, 29) = 1;
  property(1, 10.0, 10, {2, 5, 6, 1});
  struct Case { int ndim; int z2, y2, z5, y5; };
  for (const Case& c : {Case{3, 4, 5, 6, 7}, Case{2, 4, 0, 5, 0}}) {
    m.NDIM = c.ndim;
    m.NLINT(2, 29) = m.NLINT(5, 29) = 0;
    BUILDPROPS(m);
    EXPECT_EQ(m.NLINT(2, 28), c.z2);
    EXPECT_EQ(m.NLINT(2, 29), c.y2);
    EXPECT_EQ(m.NLINT(5, 28), c.z5);
    EXPECT_EQ(m.NLINT(5, 29), c.y5);
    EXPECT_EQ(m.ISEIZ(1, 1), c.z2);
    EXPECT_EQ(m.ISEIY(1, 2), c.y5);
    EXPECT_EQ(m.ISEIZ(1, 3), 2);
    EXPECT_EQ(m.ISEIY(1, 3), 1);
    EXPECT_EQ(m.ISEIZ(1, 4), 0);  // elastic
  }
}

}  // namespace
}  // namespace torva
