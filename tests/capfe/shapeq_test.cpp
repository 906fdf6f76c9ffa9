// Shape functions, Jacobian and Gauss rule of the plate elements.
#include "capfe/shapeq.h"

#include <gtest/gtest.h>

#include <cmath>

#include "capfe/platefix.h"

namespace torva {
namespace {

TEST(Shapeq, PartitionOfUnityAndNodalValuesForEveryElement) {
  FEWORK w{};
  const double sn[9] = {-1, 1, 1, -1, 0, 1, 0, -1, 0}, tn[9] = {-1, -1, 1, 1, -1, 0, 1, 0, 0};
  for (int nn : {4, 8, 9}) {
    for (double s : {-0.9, -0.31, 0.0, 0.57, 1.0})
      for (double t : {-1.0, -0.2, 0.44, 0.8}) {
        SHAPEQ(w, s, t, nn);
        double sum = 0, ds = 0, dt = 0;
        for (int i = 1; i <= nn; ++i) {
          sum += w.SHPVAL(i);
          ds += w.SHPDER(1, i);
          dt += w.SHPDER(2, i);
        }
        EXPECT_NEAR(sum, 1.0, 1e-14) << nn;
        EXPECT_NEAR(ds, 0.0, 1e-14) << nn;
        EXPECT_NEAR(dt, 0.0, 1e-14) << nn;
        // Derivatives against central differences.
        FEWORK p{}, q{};
        const double h = 1e-6;
        SHAPEQ(p, s + h, t, nn);
        SHAPEQ(q, s - h, t, nn);
        for (int i = 1; i <= nn; ++i) EXPECT_NEAR(w.SHPDER(1, i), (p.SHPVAL(i) - q.SHPVAL(i)) / (2 * h), 1e-8);
        SHAPEQ(p, s, t + h, nn);
        SHAPEQ(q, s, t - h, nn);
        for (int i = 1; i <= nn; ++i) EXPECT_NEAR(w.SHPDER(2, i), (p.SHPVAL(i) - q.SHPVAL(i)) / (2 * h), 1e-8);
      }
    for (int k = 1; k <= nn; ++k) {  // Kronecker property at the nodes
      SHAPEQ(w, sn[k - 1], tn[k - 1], nn);
      for (int i = 1; i <= nn; ++i) EXPECT_NEAR(w.SHPVAL(i), i == k ? 1.0 : 0.0, 1e-15);
    }
  }
  SHAPEQ(w, 0.0, 0.0, 8);
  for (int i = 1; i <= 4; ++i) EXPECT_DOUBLE_EQ(w.SHPVAL(i), -0.25);
  for (int i = 5; i <= 8; ++i) EXPECT_DOUBLE_EQ(w.SHPVAL(i), 0.5);
}

TEST(Shapeq, OtherNodeCountsLeaveTheArraysAlone) {
  FEWORK w{};
  w.SHPVAL.fill(7.0);
  SHAPEQ(w, 0.1, 0.2, 6);
  EXPECT_EQ(w.SHPVAL(1), 7.0);
}

TEST(Shapeq, GaussRuleHoldsSinglePrecisionConstants) {
  FEWORK w{};
  GAUSSLEG(w, 1);
  EXPECT_EQ(w.GAUSSWT(1), 2.0);
  EXPECT_TRUE(std::signbit(w.GAUSSPT(1)));
  GAUSSLEG(w, 2);
  EXPECT_EQ(w.GAUSSPT(1), -0.5773502588272095);
  EXPECT_EQ(w.GAUSSPT(2), 0.5773502588272095);
  EXPECT_EQ(w.GAUSSWT(2), 1.0);
  GAUSSLEG(w, 3);
  EXPECT_EQ(w.GAUSSPT(1), -0.7745966911315918);
  EXPECT_EQ(w.GAUSSPT(2), 0.0);
  EXPECT_EQ(w.GAUSSPT(3), 0.7745966911315918);
  EXPECT_EQ(w.GAUSSWT(1), 0.5555555820465088);
  EXPECT_EQ(w.GAUSSWT(2), 0.8888888955116272);
  EXPECT_EQ(w.GAUSSWT(3), 0.5555555820465088);
  // The 3-point rule integrates s^4 t^2 over the square: 2/5 * 2/3.
  double sum = 0;
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j)
      sum += w.GAUSSWT(i) * w.GAUSSWT(j) * std::pow(w.GAUSSPT(i), 4) * std::pow(w.GAUSSPT(j), 2);
  EXPECT_NEAR(sum, 0.4 * 2.0 / 3.0, 1e-6);
}

TEST(Shapeq, JacobianOfUnitSquareAndRefusalOfClockwiseElement) {
  auto m = new_model();
  testing::LinearPiles none({0, 0, 0, 0, 0, 0});
  PlateRun r(*m, none);
  m->NNODE = 8;
  const double xy[8][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0.5, 0}, {1, 0.5}, {0.5, 1}, {0, 0.5}};
  for (int k = 1; k <= 8; ++k) {
    r.w.ELXY(1, k) = xy[k - 1][0];
    r.w.ELXY(2, k) = xy[k - 1][1];
  }
  GAUSSLEG(r.w, 2);
  for (int i = 1; i <= 2; ++i)
    for (int j = 1; j <= 2; ++j) {
      SHAPEQ(r.w, r.w.GAUSSPT(i), r.w.GAUSSPT(j), 8);
      double det = 0;
      ASSERT_TRUE(JACOB2(r, 1, det, gauss_no(i, j, 2)));
      EXPECT_NEAR(det, 0.25, 1e-15);
      EXPECT_NEAR(r.w.GPXY(1, gauss_no(i, j, 2)), 0.5 + 0.5 * r.w.GAUSSPT(i), 1e-15);
      EXPECT_NEAR(r.w.GPXY(2, gauss_no(i, j, 2)), 0.5 + 0.5 * r.w.GAUSSPT(j), 1e-15);
      // dN/dx is twice dN/ds on a unit square.
      EXPECT_NEAR(r.w.SHPDXY(1, 3), 2.0 * r.w.SHPDER(1, 3), 1e-14);
    }
  // Clockwise: swap corners 2 and 4 (and their mid-sides).
  for (int c = 1; c <= 2; ++c) {
    std::swap(r.w.ELXY(c, 2), r.w.ELXY(c, 4));
    std::swap(r.w.ELXY(c, 5), r.w.ELXY(c, 8));
    std::swap(r.w.ELXY(c, 6), r.w.ELXY(c, 7));
  }
  testing::WorkDir dir;
  ASSERT_TRUE(r.FELIST.open_write("list.txt"));
  SHAPEQ(r.w, 0.1, 0.1, 8);
  double det = 0;
  EXPECT_FALSE(JACOB2(r, 7, det, 1));
  EXPECT_EQ(r.status, ST_FESOLVE);
  r.FELIST.close();
  EXPECT_EQ(dir.read("list.txt"),
            "\n\n PROGRAM HALTED IN SUBROUTINE JACOB2\n            ZERO OR NEGATIVE AREA\n"
            "           ELEMENT NUMBER     7\n");
  EXPECT_EQ(r.why, "ELEMENT 7 HAS A ZERO OR NEGATIVE AREA: ITS CORNERS MUST RUN COUNTER-CLOCKWISE");
}

}  // namespace
}  // namespace torva
