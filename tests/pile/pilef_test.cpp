// Pile response to a head displacement: the forces of the axial, torsion and lateral
// solutions assembled in local axes and turned into global axes, and the status of a
// failing evaluation.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "model/messages.h"
#include "pile/pilef.h"
#include "pile/ptrans.h"
#include "pilehead_fixture.h"

namespace torva {
namespace {

using testing::KAX;
using testing::KTR;
using testing::vec6;

class Pilef : public testing::PileHead {
 protected:
  Vec6 pilef(int g, const Vec6& U, int& status) {
    Vec6 F;
    PILEF(*m, g, F, U, status, *s);
    return F;
  }
};

TEST_F(Pilef, VerticalPileReturnsTheCurveForcesTimesThePiles) {
  m->NPILE(1) = 3.0;
  m->AXFAC(1) = 1.5;
  int status = 7;  // an incoming code is replaced by this evaluation's outcome
  const Vec6 F = pilef(1, vec6({0.01, 0, 0, 0.002, 0, 0}), status);
  EXPECT_EQ(status, 0);
  EXPECT_NEAR(F(1), -3.0 * 1.5 * KAX * 0.01, 1e-9);
  EXPECT_NEAR(F(4), -3.0 * KTR * 0.002, 1e-6);
  for (int i : {2, 3, 5, 6}) EXPECT_NEAR(F(i), 0.0, 1e-6) << i;

  // A head pinned in either direction carries no torque.
  m->CONNECTZ(1) = 1;
  const Vec6 Fp = pilef(1, vec6({0.01, 0, 0, 0.002, 0, 0}), status);
  EXPECT_EQ(Fp(4), 0.0);
  EXPECT_NEAR(Fp(1), F(1), 1e-9);

  // No movement, no force.
  const Vec6 F0 = pilef(1, vec6({0, 0, 0, 0, 0, 0}), status);
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(F0(i), 0.0) << i;
}

// The lateral head values go to the cap with the pile's signs: the y plane takes the
// rotation about Z reversed, the z plane the rotation about Y as it is.
TEST_F(Pilef, LateralHeadValuesMapOntoTheCap) {
  m->NPILE(1) = 2.0;
  const double y0 = 0.2, z0 = -0.1, ry = 3e-3, rz = -2e-3;
  int status = 0;
  const Vec6 F = pilef(1, vec6({0, y0, z0, 0, ry, rz}), status);
  ASSERT_EQ(status, 0);
  Llp3dScratch& ls = s->llp;
  const testing::Head h = testing::solve(*m, ls, 1, y0, -rz, z0, ry);
  ASSERT_TRUE(h.closed);
  EXPECT_DOUBLE_EQ(F(2), -2.0 * h.Vy);
  EXPECT_DOUBLE_EQ(F(3), -2.0 * h.Vz);
  EXPECT_DOUBLE_EQ(F(5), 2.0 * h.Mz);
  EXPECT_DOUBLE_EQ(F(6), -2.0 * h.My);
  // Fixed head pushed along Y: the cap feels 4 EI b^3 y0 back, within 1 %.
  EXPECT_NEAR(-pilef(1, vec6({0, y0, 0, 0, 0, 0}), status)(2) / 2.0 /
                  (4 * p.EI * beta * beta * beta * y0),
              1.0, 0.01);
}

// A battered pile turned in plan: its global forces are the forces of the same pile
// standing vertical under the local head displacement, turned back to global axes.
TEST_F(Pilef, BatteredPileForcesTransformBackToLocal) {
  add_row(2);
  m->CONNECTY(2) = 3;
  m->CONNECTZ(2) = 3;
  m->CONNECTY(1) = m->CONNECTZ(1) = 3;
  m->SPZ(1) = m->SPZ(2) = 5.0e9;
  m->SPY(1) = m->SPY(2) = 2.0e9;
  m->ALPHA(2) = 0.7, m->BETA(2) = 1.1, m->THETA(2) = 0.4;
  m->CORY(2) = 30.0, m->CORZ(2) = -20.0;
  const Vec6 U = vec6({0.003, 0.05, -0.08, 4e-4, -2e-4, 6e-4});
  int status = 0;
  const Vec6 Fb = pilef(2, U, status);
  ASSERT_EQ(status, 0);
  Mat6 Ht, H, Qt, Q;
  PTRANS(*m, 2, Ht, H, Qt, Q);
  Vec6 ul, fl;
  MATVEC6(ul, Q, U);
  MATVEC6(fl, Q, Fb);  // the battered pile's forces in its own axes
  const Vec6 Fv = pilef(1, ul, status);
  ASSERT_EQ(status, 0);
  for (int i = 1; i <= 6; ++i) EXPECT_NEAR(fl(i), Fv(i), 1e-9 * (std::abs(Fv(i)) + 1.0)) << i;
}

TEST_F(Pilef, FailuresGiveZeroForcesAndKeepTheirCode) {
  // A pile on generated p-y curves that reaches below the deepest soil layer.
  m->IPYUSER = 0;
  m->NLAYER = 1;
  m->LTOP(1) = 0.0;
  m->LBOT(1) = 0.5 * p.L;
  RowCapture cap;
  int status = 0;
  Vec6 F;
  {
    CaptureScope scope(cap);
    F = pilef(1, vec6({0.01, 0.1, 0, 0, 0, 0}), status);
  }
  EXPECT_EQ(status, ST_PILEDEEP);
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(F(i), 0.0);
  ASSERT_GE(cap.lines.size(), 4u);
  EXPECT_EQ(cap.lines[3].second, "     **** FATAL ERROR ****");

  // A failing axial distribution is reported, not cleared by the node layout that
  // follows it: a generated load-settlement curve whose soil profile is missing.
  m->IPYUSER = 1;
  m->IAXVAR = 1;
  m->LSNO(1) = -1;
  m->NLSG = 1;
  m->NPTLS = 3;
  m->NPTLSG(1) = 3;
  for (int q = 1; q <= 3; ++q) m->LSDG(1, q) = q - 2.0, m->LSLG(1, q) = 10.0 * (q - 2.0);
  status = 0;
  F = pilef(1, vec6({0.01, 0.1, 0, 0, 0, 0}), status);
  EXPECT_NE(status, 0);
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(F(i), 0.0);
}

}  // namespace
}  // namespace torva
