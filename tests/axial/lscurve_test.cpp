// Load-settlement and torque-rotation curves of a pile row: closed forms, the stored
// solution, tip position and the refusals of the tip rules.
#include <gtest/gtest.h>

#include <cmath>

#include "axial/axdist.h"
#include "axial/axtip.h"
#include "axial/lscurve.h"
#include "axfixture.h"
#include "model/messages.h"

namespace torva {
namespace {

using testing::make_pile;
using testing::PileSoil;

const double kTipIn[9] = {0.0001, 0.001, 0.005, 0.01, 0.05, 0.1, 0.5, 1.0, 2.0};

TEST(LsCurve, NegligibleSideFrictionGivesTipMovementPlusShortening) {
  PileSoil p;
  p.side = 1e-9;  // given in the profile, so not estimated
  p.tip = 100.0;
  auto mp = make_pile(p);
  Model& m = *mp;
  int status = 0, n = 0;
  CurveArr load{}, move{};
  LSCURVE(m, 1, 2, 1, 1, status, n, load, move);
  ASSERT_EQ(status, 0);
  ASSERT_EQ(n, 9);
  const double AE = p.area * p.emod;
  for (int j = 1; j <= 9; ++j) {
    const double tw = double(float(kTipIn[j - 1]));
    EXPECT_NEAR(move(j), tw + load(j) * p.len / AE, 1e-9 * move(j)) << j;
    EXPECT_DOUBLE_EQ(m.LSV3(1, 10 + j), tw);
    EXPECT_DOUBLE_EQ(m.LSV1(1, 10 + j), move(j));
    EXPECT_DOUBLE_EQ(m.LSV2(1, 10 + j), load(j));
    EXPECT_NEAR(m.LSV4(1, 10 + j), load(j), 1e-3);  // the side carries next to nothing
  }
  for (int j = 2; j <= 9; ++j) EXPECT_GT(load(j), load(j - 1));
}

// Head stiffness of an elastic bar on linear springs (see the march test).
double head_stiffness(double L, double AE, double ks, double p, double kt) {
  const double lam = std::sqrt(ks * p / AE), b = kt / (AE * lam), x = lam * L;
  return AE * lam * (std::sinh(x) + b * std::cosh(x)) / (std::cosh(x) + b * std::sinh(x));
}

TEST(LsCurve, SmallMovementsMatchElasticBarOnInitialSlopes) {
  // A drilled shaft in clay, stiff enough that every node stays on the first straight
  // segment of its t-z curve (z < 0.001 D) and of the tip curve (w < 0.005 D).
  PileSoil p;
  p.kind = 2;
  p.diam = 1000.0;
  p.area = 785398.0;
  p.emod = 1.47e4;
  p.side = 5.0;
  p.tip = 155.0;
  const double ks = double(0.51f) * p.side / (double(0.001f) * p.diam);
  const double K = p.tip * p.area;
  const double kt = double(0.395f) * K / (double(0.005f) * p.diam);
  const double exact =
      head_stiffness(p.len, p.area * p.emod, ks, double(3.1416f) * p.diam, kt);
  double prev = 1e30;
  for (int nseg : {5, 20, 80}) {
    p.nseg = nseg;
    auto mp = make_pile(p);
    int status = 0, n = 0;
    CurveArr load{}, move{};
    LSCURVE(*mp, 1, 2, 1, 1, status, n, load, move);
    ASSERT_EQ(status, 0);
    ASSERT_LT(move(6), double(0.001f) * p.diam);
    const double err = std::abs(load(6) / move(6) / exact - 1.0);
    EXPECT_LT(err, prev) << nseg;
    prev = err;
  }
  EXPECT_LT(prev, 2e-3);
}

TEST(LsCurve, BranchesStoreTheMirroredSolution) {
  PileSoil p;
  p.tip = 100.0;
  auto mp = make_pile(p);
  Model& m = *mp;
  int status = 0, n = 0;
  CurveArr l1{}, u1{}, l2{}, u2{};
  LSCURVE(m, 1, 1, 3, 1, status, n, l1, u1);
  LSCURVE(m, 1, 2, 3, 1, status, n, l2, u2);
  ASSERT_EQ(status, 0);
  EXPECT_DOUBLE_EQ(m.LSV1(3, 10), 0.0);
  EXPECT_DOUBLE_EQ(m.LSV1(3, 1), -u1(9));
  EXPECT_DOUBLE_EQ(m.LSV2(3, 9), -l1(1));
  EXPECT_DOUBLE_EQ(m.LSV1(3, 19), u2(9));
  for (int s = 2; s <= 19; ++s) EXPECT_GT(m.LSV1(3, s), m.LSV1(3, s - 1)) << s;
  // Pull-out: the tip area is 1e-4, so the tip load is 1e-4 of the bearing one.
  EXPECT_NEAR(-m.LSV4(3, 1) / m.LSV4(3, 19), double(1e-4f) / p.area, 1e-12);
  EXPECT_GT(l1(9), 0.0);
  EXPECT_LT(l1(9), l2(9));
}

TEST(LsCurve, DepthPointsOfOneLayer) {
  PileSoil p;
  p.headDep = -24.0;
  p.freeLen = 24.0;
  auto mp = make_pile(p);
  Model& m = *mp;
  m.LTOP(1) = 0.0;
  int status = 0;
  AXWORK w{};
  AXPOINTS(m, 1, 1, false, status, w);
  ASSERT_EQ(status, 0);
  ASSERT_EQ(w.NDP, 5);
  const double d = double(0.1f);
  const double want[5] = {0.0, 0.0, d, (d + 1200.0) / 2.0, 1200.0 - d};
  for (int k = 1; k <= 5; ++k) EXPECT_DOUBLE_EQ(w.DPX(k), want[k - 1]) << k;
  EXPECT_DOUBLE_EQ(w.DPTMAX(1), double(1e-6f));
  EXPECT_DOUBLE_EQ(w.DPTMAX(2), double(1e-6f));
  EXPECT_DOUBLE_EQ(w.DPTMAX(3), 5.0);
  // A segment middle above X = 0 takes no side load.
  EXPECT_DOUBLE_EQ(AXTLOAD(w, -12.0, 1.0), 0.0);
}

TEST(LsCurve, BatteredTipLiesOnTheProjectedLength) {
  PileSoil p;
  auto mp = make_pile(p);
  Model& m = *mp;
  m.IBATTER = 1;
  m.BATTER(1) = 0.2;
  EXPECT_NEAR(AXTIPX(m, 1, 1), 600.0 * std::cos(0.2), 1e-12);
  m.IBATTER = 0;
  EXPECT_DOUBLE_EQ(AXTIPX(m, 1, 1), 600.0);
}

TEST(LsCurve, SiTipMovementsAndTheLastOneScaledByDiameter) {
  PileSoil p;
  p.diam = 1.5;
  p.area = 1.767;
  p.emod = 2.5e7;
  p.len = 20.0;
  p.lbot[0] = 40.0;
  p.side = 50.0;
  p.coh = 60.0;
  p.tip = 1000.0;
  auto mp = make_pile(p, 2);
  Model& m = *mp;
  int status = 0, n = 0;
  CurveArr l{}, u{};
  LSCURVE(m, 1, 2, 1, 1, status, n, l, u);
  ASSERT_EQ(status, 0);
  const double want[9] = {2.54e-6, 2.54e-5, 0.000127, 0.000254, 0.00127,
                          0.00254, 0.0127,  0.0254,   0.075};
  for (int j = 1; j <= 9; ++j) EXPECT_NEAR(m.LSV3(1, 10 + j), want[j - 1], 1e-6 * want[j - 1]) << j;  // single-precision factors
}

TEST(LsCurve, DrivenSandTipExponentFollowsTheFrictionAngleAtTheTip) {
  // Sand at the tip (40 degrees) over a frictionless clay at the bottom of the profile:
  // the tip curve takes the exponent of the tip's sand, 0.25.
  PileSoil p;
  p.nlayer = 2;
  p.lbot[0] = 1000.0;
  p.lbot[1] = 1200.0;
  p.code[0] = 4;
  p.code[1] = 1;
  p.phi = 40.0 / 57.296;
  p.coh = 0.0;
  p.tip = 100.0;
  auto mp = make_pile(p);
  Model& m = *mp;
  m.SPPHI(3) = m.SPPHI(4) = 0.0;
  m.SPC(3) = m.SPC(4) = 10.0;
  int status = 0;
  AXWORK w{};
  AXTIPQW(m, 1, 1, false, true, status, w);
  ASSERT_EQ(status, 0);
  const double K = 100.0 * p.area;
  EXPECT_NEAR(w.TIPQ(10), K * std::pow(5.0 / (double(0.05f) * p.diam), 0.25), 1e-6 * K);
}

struct TipCase {
  int code, kind;
  double e50, coh;
  int status;
};

class LsTip : public ::testing::TestWithParam<TipCase> {};

TEST_P(LsTip, DrivenClayTipNeedsE50AndCapacity) {
  PileSoil p;
  p.code[0] = GetParam().code;
  p.kind = GetParam().kind;
  p.e50 = GetParam().e50;
  p.coh = GetParam().coh;
  auto mp = make_pile(p);
  int status = 0, n = 0;
  CurveArr l{}, u{};
  LSCURVE(*mp, 1, 2, 1, 1, status, n, l, u);
  EXPECT_EQ(status, GetParam().status);
  EXPECT_EQ(n, GetParam().status == 0 ? 9 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LsTip,
    ::testing::Values(TipCase{1, 1, 0.0, 10.0, 0},            // soft clay: default E50
                      TipCase{6, 1, 0.0, 10.0, ST_LSE50},     // vuggy limestone: no default
                      TipCase{1, 1, 0.01, 0.0, ST_LSCOHES},   // no cohesion, no tip capacity
                      TipCase{1, 2, 0.01, 0.0, 0}));          // drilled shaft: table curve

// The lines that making the bearing branch of row 1's torque-rotation (`torsion`) or
// load-settlement curve raises, with its status and point count.
RowCapture bearing_curve_lines(Model& m, bool torsion, int& status, int& n) {
  CurveArr a{}, b{};
  RowCapture cap;
  CaptureScope scope(cap);
  if (torsion)
    TRCURVE(m, 1, 2, 1, 1, status, n, a, b);
  else
    LSCURVE(m, 1, 2, 1, 1, status, n, a, b);
  return cap;
}

// A status raised while a row's curve is made ends the run with the lookup's own lines;
// the lines after them name the row, its head and tip, the soil layer concerned and what to
// check, for the load-settlement and the torque-rotation curve alike.
TEST(LsCurve, AStatusOfARowsCurveNamesTheRowTheLayerAndWhatToCheck) {
  const struct {
    const char* name;
    void (*change)(PileSoil&);
    int status_from, status_to;  // the status raised lies in this range
    const char* row;
    const char* what;
  } cases[] = {
      {"soil layers that end above the tip", [](PileSoil& p) { p.lbot[0] = 300.0; }, ST_DEPGAMMA,
       ST_DEPBPHI, "     PILE GROUP 1: HEAD AT X = 0 FT, TIP AT X = 50 FT",
       "     THE SOIL LAYERS END AT X = 25 FT (BOTTOM OF LAYER 1), ABOVE THE TIP:"},
      {"a head far below the soil", nullptr, ST_DEPGAMMA,
       ST_DEPBPHI, "     PILE GROUP 1: HEAD AT X = 2.14748E+09 FT, TIP AT X = 2.14748E+09 FT",
       "     THE SOIL LAYERS END AT X = 100 FT (BOTTOM OF LAYER 1), ABOVE THE TIP:"},
      {"a clay tip without cohesion or tip resistance", [](PileSoil& p) { p.coh = 0.0; }, ST_LSCOHES,
       ST_TRCOHES, "     PILE GROUP 1: HEAD AT X = 0 FT, TIP AT X = 50 FT",
       "     THE TIP LIES IN LAYER 1, WHOSE COHESION IS ZERO THERE AND NO TIP RESISTANCE IS GIVEN:"},
      {"a limestone tip without E50", [](PileSoil& p) { p.code[0] = 6; p.e50 = 0.0; }, ST_LSE50,
       ST_TRE50, "     PILE GROUP 1: HEAD AT X = 0 FT, TIP AT X = 50 FT",
       "     THE TIP LIES IN LAYER 1, WHOSE E50 IS ZERO THERE:"},
  };
  for (const auto& c : cases) {
    for (const bool torsion : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (torsion ? ", torque-rotation" : ", load-settlement"));
      PileSoil p;
      if (c.change) c.change(p);
      auto mp = make_pile(p);
      if (!c.change) mp->HEADDEP(1) = mp->CORX(1) = 12.0 * 2147483648.0;  // the soil as it was
      mp->UDEP2 = "FT";
      int status = 0, n = 0;
      const RowCapture cap = bearing_curve_lines(*mp, torsion, status, n);
      EXPECT_GE(status, c.status_from);
      EXPECT_LE(status, c.status_to);
      ASSERT_GE(cap.lines.size(), 3u);
      const std::size_t k = cap.lines.size() - 3;
      EXPECT_EQ(cap.lines[k].second, c.row);
      EXPECT_EQ(cap.lines[k + 1].second, c.what);
      EXPECT_EQ(cap.lines[k].first, unsigned(TO_REPORT | TO_RUNLOG));
    }
  }
}

TEST(TrCurve, DrivenPileInClayReachesTheSideFrictionPlateau) {
  // A thin crust over the clay puts every segment middle between full-friction points, so
  // at large rotations every segment sits at 0.93 of its friction.
  PileSoil p;
  p.nlayer = 2;
  p.lbot[0] = 0.4;
  p.lbot[1] = 1200.0;
  auto mp = make_pile(p);
  Model& m = *mp;
  int status = 0, n = 0;
  CurveArr t1{}, f1{}, t2{}, f2{};
  TRCURVE(m, 1, 1, 1, 1, status, n, t1, f1);
  TRCURVE(m, 1, 2, 1, 1, status, n, t2, f2);
  ASSERT_EQ(status, 0);
  ASSERT_EQ(n, 9);
  const double R = p.diam / 2.0;
  const double plateau = double(0.93f) * p.side * double(3.1416f) * R * p.diam * p.len;
  EXPECT_NEAR(t2(9), plateau, 1e-9 * plateau);  // about 2.1e6 lb-in
  for (int j = 1; j <= 9; ++j) {
    EXPECT_DOUBLE_EQ(t1(j), t2(j)) << j;
    EXPECT_DOUBLE_EQ(f1(j), f2(j)) << j;
  }
  // Head rotation: tip rotation plus the twist under a uniform torque gradient.
  EXPECT_NEAR(f2(9), 2.0 / R + plateau * p.len / (2.0 * p.gj), 1e-9);
}

TEST(TrCurve, ZeroTorsionalRigidityIsRefused) {
  PileSoil p;
  p.gj = 0.0;
  auto mp = make_pile(p);
  int status = 0, n = 0;
  CurveArr t{}, f{};
  TRCURVE(*mp, 1, 2, 1, 1, status, n, t, f);
  EXPECT_EQ(status, ST_INPUTCHECK);
  EXPECT_EQ(n, 0);
}

// Without soil layers neither curve can be generated: both stop with the no-soil status
// and name the row and the curve, with no point computed.
TEST(LsCurve, NoSoilLayersRefusesBothCurves) {
  PileSoil p;
  p.nlayer = 0;
  auto mp = make_pile(p);
  for (bool torsion : {false, true}) {
    int status = 0, n = 0;
    const RowCapture cap = bearing_curve_lines(*mp, torsion, status, n);
    EXPECT_EQ(status, ST_NOSOIL) << torsion;
    EXPECT_EQ(n, 0);
    ASSERT_EQ(cap.lines.size(), 10u);
    const std::string curve = torsion ? "TORQUE-ROTATION" : "LOAD-SETTLEMENT";
    EXPECT_EQ(cap.lines[4].second, "     NEEDS A " + curve + " CURVE GENERATED FROM THE SOIL.");
  }
}

TEST(TrCurve, DrivenTipInClayWithoutCohesion) {
  PileSoil p;
  p.coh = 0.0;
  auto mp = make_pile(p);
  int status = 0, n = 0;
  CurveArr t{}, f{};
  TRCURVE(*mp, 1, 2, 1, 1, status, n, t, f);
  EXPECT_EQ(status, ST_TRCOHES);
  p.kind = 2;
  auto mp2 = make_pile(p);
  status = 0;
  TRCURVE(*mp2, 1, 2, 1, 1, status, n, t, f);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(n, 9);
}

}  // namespace
}  // namespace torva
