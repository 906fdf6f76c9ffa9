// The embedded cap: passive resistance as a load (the pressure block and its split) and
// the cap's soil reaction as a pseudo-pile (closed forms on an elastic subgrade, the cap
// above the ground, the cap below the deepest layer, the segment count at input).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "cap/cappasv.h"
#include "cap/cap_equilibrium.h"
#include "cap/capreac.h"
#include "cap/example_fixture.h"
#include "cap/fvec.h"
#include "model/model.h"

namespace torva {
namespace {

using testing::read_example;
using testing::replace;
using testing::run_input;
using testing::WorkDir;

// The worked example of the pressure block: W = 100, ground 2 below X = 0, cap 1 thick,
// block bottom at X = 0: f = 50, e = 1, R = 75, M = 100/3; a movement (0.3, 0.1) takes
// three quarters of it along Y.
TEST(CapPassive, WorkedExample) {
  double R = 0.0, M = 0.0;
  PASVBLOCK(100.0, -2.0, 1.0, 0.0, R, M);
  EXPECT_DOUBLE_EQ(R, 75.0);
  EXPECT_DOUBLE_EQ(M, 100.0 / 3.0);
  Vec6 F;
  PASVLOAD(R, M, 0.3, 0.1, F, 1e-5);
  const double want[6] = {0.0, -0.75 * R, -0.25 * R, 0.0, -0.25 * M, 0.75 * M};
  for (int i = 1; i <= 6; ++i) EXPECT_NEAR(F(i), want[i - 1], 1e-12 * R) << i;
}

TEST(CapPassive, BlockAndSplitEdgeCases) {
  struct Case {
    double W, gsd, thk, a, R, M;
  } cases[] = {
      {100.0, -0.5e-6, 1.0, 0.0, 0.0, 0.0},                            // ground at X = 0
      {100.0, 2.0, 1.0, 0.0, 0.0, 0.0},                                // ground below X = 0
      {100.0, -0.8, 1.0, 0.0, 40.0, 0.5 * 100.0 * (0.8 / 3.0) * 0.8},  // triangle only
      {100.0, -2.0, 1.0, 3.0, 75.0, ((0.5 - 3.0) * 50.0 + 25.0 * (1.0 / 3.0 - 3.0))},
  };
  for (const Case& c : cases) {
    double R = -1.0, M = -1.0;
    PASVBLOCK(c.W, c.gsd, c.thk, c.a, R, M);
    EXPECT_NEAR(R, c.R, 1e-12) << c.gsd;
    EXPECT_NEAR(M, c.M, 1e-12) << c.gsd;
  }
  // The split, and below the band (1e-5 here) the partly mobilised force: the force at
  // the band's edge in proportion to the movement, so it grows from zero without a jump.
  struct Split {
    double uy, uz, F2, F3, F5, F6;
  } splits[] = {
      {-0.2, 0.0, 75.0, 0.0, 0.0, -10.0},                // pure movement in -Y
      {0.0, 0.2, 0.0, -75.0, -10.0, 0.0},                // along +Z only
      {0.0, 0.0, 0.0, 0.0, 0.0, 0.0},                    // at rest
      {1e-5, 0.0, -75.0, 0.0, 0.0, 10.0},                // at the band's edge
      {2e-6, -3e-6, -15.0, 22.5, 3.0, 2.0},              // partly mobilised, both ways
      {-1e-15, 0.0, 75.0e-10, 0.0, 0.0, -10.0e-10},      // barely moving
  };
  for (const Split& c : splits) {
    Vec6 F;
    PASVLOAD(75.0, 10.0, c.uy, c.uz, F, 1e-5);
    const double want[6] = {0.0, c.F2, c.F3, 0.0, c.F5, c.F6};
    for (int i = 1; i <= 6; ++i) EXPECT_NEAR(F(i), want[i - 1], 1e-12 * 75.0) << c.uy << " " << c.uz << " " << i;
  }
}

// The single pipe pile of the example with its head 3 ft below the ground of an elastic
// subgrade (k = 100 pci) under a 6 ft x 8 ft x 3 ft cap on soil springs: the cap's
// effective width is its plan diagonal, 120 in, so every spring of the pseudo pile is
// Es = 100 x 120 lb/in2 over the 36 in of the cap.
std::string cap_on_springs(int ncapinc) {
  std::string t = read_example("single_pile_elastic_us.dat");
  t = replace(t, "CONTROL RECORD\n1 3 0 0 ", "CONTROL RECORD\n1 3 2 0 ");
  t = replace(t, "PILE CAP\n0.0 0.0 0.0 0.0 0.0 0\n",
              "PILE CAP\n6.0 8.0 3.0 0.0 0.0 0\n1 0 " + std::to_string(ncapinc) + " 0.0 0.0 0.0\n");
  t = replace(t, "0.0 0.0 0.0 0.0 90.0 0.0 -0.01\n", "0.0 0.0 0.0 0.0 90.0 0.0 -3.01\n");
  return replace(t, "1 12\n-0.01 70.0\n", "1 12\n-3.01 70.0\n");
}

Vec6 unit(int k, double v) {
  Vec6 U;
  U.fill(0.0);
  U(k) = v;
  return U;
}

// A translation y of the cap loads the pseudo pile uniformly: R = -Es y T along Y, and
// about Z the moment of that load at the cap's mid-depth X = -T/2 (the levers of the
// end halves make the sum exact for any segment count). Likewise along Z.
TEST(CapSprings, TranslationGivesTheUniformSpringLoad) {
  for (int n : {1, 4, 105}) {
    WorkDir dir;
    ASSERT_EQ(run_input(dir, cap_on_springs(n)), 0) << n;
    Model& m = *current_model();
    const double Es = 100.0 * 120.0, T = 36.0, y = 0.1;
    int st = 0;
    Vec6 R;
    CAPREAC(m, R, unit(2, y), st);
    ASSERT_EQ(st, 0);
    EXPECT_NEAR(R(2), -Es * y * T, 1e-9 * Es * y * T) << n;
    EXPECT_NEAR(R(6), Es * y * T * T / 2.0, 1e-9 * Es * y * T * T) << n;
    for (int i : {1, 3, 4, 5}) EXPECT_NEAR(R(i), 0.0, 1e-9) << n << " " << i;
    CAPREAC(m, R, unit(3, y), st);
    EXPECT_NEAR(R(3), -Es * y * T, 1e-9 * Es * y * T) << n;
    EXPECT_NEAR(R(5), -Es * y * T * T / 2.0, 1e-9 * Es * y * T * T) << n;
    // The tangent is the springs' stiffness.
    Vec6 U = unit(2, y);
    Mat6 K;
    STIFFCD(m, K, U, st);
    EXPECT_EQ(U(2), y);
    EXPECT_NEAR(K(2, 2), -Es * T, 1e-5 * Es * T) << n;
  }
}

// A cap wholly above the ground has no springs; a cap reaching below the deepest layer
// ends the evaluation with the deepest-layer message and status 3.
TEST(CapSprings, AboveTheGroundNothingBelowTheDeepestLayerAnError) {
  WorkDir dir;
  ASSERT_EQ(run_input(dir, cap_on_springs(4)), 0);
  Model& m = *current_model();
  const int c = m.NROW + 1;
  const double top = m.CORX(c);
  m.CORX(c) = -1000.0;
  int st = 0;
  Vec6 R;
  CAPREAC(m, R, unit(2, 0.1), st);
  EXPECT_EQ(st, 0);
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(R(i), 0.0);
  m.CORX(c) = m.LBOT(m.NLAYER) - 10.0;
  m.REPORT.open_write("deep.txt");
  CAPREAC(m, R, unit(2, 0.1), st);
  m.REPORT.close();
  EXPECT_EQ(st, ST_PILEDEEP);
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(R(i), 0.0);
  m.CORX(c) = top;
  EXPECT_NE(dir.read("deep.txt").find("     **** FATAL ERROR ****\n     THE PILE LENGTH,   0.36E+02( IN), EXTENDS BELOW THE\n"
                                      "     BOTTOM OF THE DEEPEST LAYER."),
            std::string::npos)
      << dir.read("deep.txt");
}

// The lateral load of the example on the embedded cap, as soil springs and as passive
// resistance: the cap takes a share of the load, and the cap stands in equilibrium.
TEST(CapSprings, EmbeddedCapStandsInEquilibrium) {
  for (bool springs : {true, false}) {
    std::string t = cap_on_springs(4);
    if (!springs) {
      t = replace(t, "CONTROL RECORD\n1 3 2 0 ", "CONTROL RECORD\n1 3 1 0 ");
      t = replace(t, "1 0 4 0.0 0.0 0.0\n", "");
    }
    WorkDir dir;
    ASSERT_EQ(run_input(dir, t), 0) << springs;
    Model& m = *current_model();
    EXPECT_NE(dir.read("case.cas").find("    1 ANALYSIS COMPLETED"), std::string::npos) << springs;
    Vec6 P, DV;
    for (int i = 1; i <= 6; ++i) {
      P(i) = m.EMXCAP(i);
      DV(i) = m.EMXCAP(6 + i);
    }
    testing::expect_equilibrium(m, P, DV);
    if (!springs) {
      EXPECT_NE(dir.read("case.out").find("* PASSIVE RESISTANCE IN PILE CAP *"), std::string::npos);
    }
  }
}

// The segment count of the cap springs is refused outside 1 to 105 before any analysis.
TEST(CapSprings, SegmentCountOutsideTheNodeTableIsRefused) {
  for (int n : {0, -3, 106}) {
    WorkDir dir;
    EXPECT_EQ(run_input(dir, cap_on_springs(n)), ST_INPUTCHECK) << n;
    EXPECT_NE(dir.read("case.log").find("NCAPINC"), std::string::npos) << n;
  }
}

}  // namespace
}  // namespace torva
