// Pile-head tangent stiffness by central differences against the closed-form head
// stiffness of a long elastic pile on linear springs.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "pile/pilestif.h"
#include "pile/ptrans.h"
#include "pilehead_fixture.h"

namespace torva {
namespace {

using testing::KAX;
using testing::KTR;

class Pilestif : public testing::PileHead {
 protected:
  Mat6 stiff(int g, const Vec6& U, int& status) {
    Mat6 K;
    PILESTIF(*m, g, K, U, status, *s);
    return K;
  }
};

TEST(PilestifSteps, SinglePrecisionStepsWidened) {
  EXPECT_EQ(PSTIF_STEP_T, 1.0000000116860974e-07);
  EXPECT_EQ(PSTIF_STEP_T_SI, 2.539999998986295e-09);
  EXPECT_EQ(PSTIF_STEP_R, 9.999999864239723e-12);
}

TEST_F(Pilestif, LongElasticPileClosedForm) {
  int status = 0;
  Vec6 U;
  U.fill(0.0);
  const Mat6 K = stiff(1, U, status);
  ASSERT_EQ(status, 0);
  const double EI = p.EI, b = beta;
  // The head forces on the cap oppose the head movement: every diagonal term negative.
  EXPECT_NEAR(K(1, 1) / -KAX, 1.0, 1e-6);
  // The 1e-11 rotation step measured from a curve point at -1 keeps about five digits.
  EXPECT_NEAR(K(4, 4) / -KTR, 1.0, 1e-4);
  EXPECT_NEAR(K(2, 2) / (-4 * EI * b * b * b), 1.0, 0.01);  // lateral
  EXPECT_NEAR(K(3, 3) / (-4 * EI * b * b * b), 1.0, 0.01);
  EXPECT_NEAR(K(6, 6) / (-2 * EI * b), 1.0, 0.01);  // rocking
  EXPECT_NEAR(K(5, 5) / (-2 * EI * b), 1.0, 0.01);
  EXPECT_NEAR(std::abs(K(2, 6)) / (2 * EI * b * b), 1.0, 0.01);  // coupling
  EXPECT_NEAR(std::abs(K(3, 5)) / (2 * EI * b * b), 1.0, 0.01);
  // The two planes couple with opposite signs (rotation about Z moves the head along +Y,
  // rotation about Y along -Z), and the matrix is symmetric within the differencing.
  EXPECT_NEAR(K(3, 5), -K(2, 6), 1e-6 * std::abs(K(2, 6)));
  for (int i = 1; i <= 6; ++i)
    for (int j = i + 1; j <= 6; ++j) {
      const double scale = std::sqrt(std::abs(K(i, i) * K(j, j)));
      EXPECT_NEAR(K(i, j), K(j, i), 1e-5 * scale) << i << "," << j;
    }
  EXPECT_NEAR(K(1, 2), 0.0, 1e-6 * std::abs(K(2, 2)));
  EXPECT_NEAR(K(2, 3), 0.0, 1e-6 * std::abs(K(2, 2)));
  EXPECT_NEAR(K(2, 5), 0.0, 1e-6 * std::abs(K(2, 6)));

  // SI units take the same physical step in metres: on a linear pile the matrix is the same.
  m->IUNITS = 2;
  const Mat6 Ksi = stiff(1, U, status);
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j)
      EXPECT_NEAR(Ksi(i, j), K(i, j), 1e-5 * std::sqrt(std::abs(K(i, i) * K(j, j)))) << i << j;
}

// A battered pile turned in plan stiffens along its own axes: its global matrix is the
// vertical pile's matrix turned, Qt K Q.
TEST_F(Pilestif, BatteredPileIsTheTurnedVerticalPile) {
  add_row(2);
  m->ALPHA(2) = -0.5, m->BETA(2) = 1.2, m->THETA(2) = 0.3;
  int status = 0;
  Vec6 U;
  U.fill(0.0);
  const Mat6 Kv = stiff(1, U, status);
  const Mat6 Kb = stiff(2, U, status);
  ASSERT_EQ(status, 0);
  Mat6 Ht, H, Qt, Q;
  PTRANS(*m, 2, Ht, H, Qt, Q);
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) {
      double want = 0;
      for (int a = 1; a <= 6; ++a)
        for (int c = 1; c <= 6; ++c) want += Qt(i, a) * Kv(a, c) * Q(c, j);
      EXPECT_NEAR(Kb(i, j), want, 1e-5 * std::sqrt(std::abs(Kv(i, i) * Kv(j, j))) + 1e-3)
          << i << "," << j;
    }
}

TEST_F(Pilestif, FailingEvaluationsLeaveTheirCodeAndZeroForces) {
  m->IPYUSER = 0;
  m->NLAYER = 1;
  m->LTOP(1) = 0.0;
  m->LBOT(1) = 0.5 * p.L;
  int status = 0;
  Vec6 U;
  U.fill(0.0);
  const Mat6 K = stiff(1, U, status);
  EXPECT_EQ(status, ST_PILEDEEP);
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) EXPECT_EQ(K(i, j), 0.0);
}

}  // namespace
}  // namespace torva
