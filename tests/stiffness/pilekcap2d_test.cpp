// The 2-D pile-head stiffness: the same beam model as one bending plane in 3-D, the row
// transformation, the number of piles of a row, and the small matrix tools.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "pile/pile_fixture.h"
#include "stiffness/captstf.h"
#include "stiffness/pilekcap.h"

namespace torva {
namespace {

class Pilekcap2d : public ::testing::Test {
 protected:
  void SetUp() override {
    m = new_model();
    testing::PileDef p;
    p.L = 600.0;
    p.nseg = 60;
    testing::set_pile(*m, 1, 1, p);
    m->NROW = 1;
    m->SEGLEN(1) = 10.0;
    for (int k = 1; k <= 61; ++k) {
      m->DEPN(1, k) = m->DEPAX(1, k) = (k - 1) * 10.0;
      m->KSOIL(1, k) = k == 1 || k == 61 ? 5.0e3 : 1.0e4;
    }
    m->KAXTOP(1) = 2.0e5;
    m->KTORTOP(1) = 1.0;
    m->PAXTOP(1) = 3.0e4;
  }
  std::unique_ptr<Model> m;
};

TEST_F(Pilekcap2d, EqualsOneBendingPlaneOfTheThreeDimensionalModel) {
  for (int code : {1, 2, 3}) {
    m->CONNECTY(1) = m->CONNECTZ(1) = code;
    m->SPZ(1) = m->SPY(1) = 2.0e9;
    for (int ax : {0, 1}) {
      Mat6 K3;
      double K2[9];
      int st = 0;
      std::string tr;
      PILEKCAP(*m, 1, ax, st, K3, tr);
      PILEKCAP2D(*m, 1, ax, st, K2, tr);
      EXPECT_EQ(K2[0], 2.0e5);
      EXPECT_EQ(K2[1], 0.0);
      EXPECT_EQ(K2[3], 0.0);
      EXPECT_NEAR(K2[4], K3(2, 2), 1e-9 * K3(2, 2)) << code;
      EXPECT_NEAR(K2[8], K3(6, 6), 1e-9 * (K3(6, 6) + 1.0)) << code;
      EXPECT_NEAR(K2[7], K3(2, 6), 1e-9 * (std::fabs(K3(2, 6)) + 1.0)) << code;
      if (code == 1) {
        EXPECT_EQ(K2[8], 0.0);
        EXPECT_EQ(K2[5], 0.0);
      }
    }
  }
}

TEST_F(Pilekcap2d, RowTransformation) {
  m->BATTER(1) = 0.0;
  m->HEADDEP(1) = 5.0;
  m->HEADY(1) = -7.0;
  double Tt[9], T[9];
  PTRANS2D(*m, 1, Tt, T);
  const double want[3][3] = {{1, 0, 7}, {0, 1, 5}, {0, 0, 1}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      EXPECT_DOUBLE_EQ(T[i + 3 * j], want[i][j]);
      EXPECT_DOUBLE_EQ(Tt[j + 3 * i], want[i][j]);
    }
}

TEST_F(Pilekcap2d, RowOfFourPilesAtTheOriginIsFourTimesItsHeadStiffness) {
  m->NDIM = 2;
  m->BATTER(1) = 0.0;
  m->HEADDEP(1) = m->HEADY(1) = 0.0;
  for (TextFile* f : {&m->REPORT, &m->SUMMARY, &m->PLOTDATA, &m->KMATLOG, &m->STIFTRACE}) f->open_memory();
  Vec6 load, disp;
  for (int i = 1; i <= 6; ++i) load(i) = disp(i) = 0.0;
  Mat6 K1, K4;
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) K1(i, j) = K4(i, j) = -5.0;  // outside 3 x 3: left alone
  int st = 0;
  m->NPILE(1) = 1.0;
  CAPTSTF(*m, st, 0, 1, 1, 1.0, load, disp, K1);
  m->NPILE(1) = 4.0;
  CAPTSTF(*m, st, 0, 1, 1, 1.0, load, disp, K4);
  double Kh[9];
  std::string tr;
  PILEKCAP2D(*m, 1, 0, st, Kh, tr);
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) {
      EXPECT_NEAR(K1(i, j), Kh[(i - 1) + 3 * (j - 1)], 1e-9 * (std::fabs(K1(i, j)) + 1.0));
      EXPECT_NEAR(K4(i, j), 4.0 * K1(i, j), 1e-9 * (std::fabs(K4(i, j)) + 1.0));
    }
  EXPECT_EQ(K4(4, 4), -5.0);
  EXPECT_EQ(K1(1, 6), -5.0);
  EXPECT_NE(m->REPORT.take_text().find("    DOF          1              2              3    \n"), std::string::npos);
}

TEST(Condense, ZeroFirstPivotGivesNothing) {
  double K[36] = {}, Kc[9];
  for (int i = 1; i < 6; ++i) K[i + 6 * i] = 2.0;
  int ierr = 0;
  CONDENSE(K, Kc, 6, 3, ierr);
  EXPECT_EQ(ierr, 1);
  for (double v : Kc) EXPECT_EQ(v, 0.0);
}

TEST(Condense, SpringsInSeries) {
  // Two springs k1 (dof 1 to ground) and k2 (dof 1 to dof 2): condensed on dof 2 the
  // series stiffness k1 k2 / (k1 + k2).
  const double k1 = 3.0, k2 = 6.0;
  double K[4] = {k1 + k2, -k2, -k2, k2}, Kc[1];
  int ierr = 0;
  CONDENSE(K, Kc, 2, 1, ierr);
  EXPECT_EQ(ierr, 0);
  EXPECT_DOUBLE_EQ(Kc[0], 2.0);
}

TEST(Matvec3n, NoColumnsLeavesTheOutputAlone) {
  double out[3] = {7, 8, 9};
  const double M[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}, in[3] = {1, 2, 3};
  MATVEC3N(out, M, in, 0);
  EXPECT_EQ(out[0], 7.0);
  MATVEC3N(out, M, in, 1);
  EXPECT_EQ(out[2], 3.0);
}

}  // namespace
}  // namespace torva
