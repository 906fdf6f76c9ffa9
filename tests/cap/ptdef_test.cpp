// The point of definition: the extended system, its right-hand side, the values at the
// point and the marks of the given values.
#include "cap/ptdef.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "model/model.h"

namespace torva {
namespace {

// A symmetric, diagonally dominant tangent with couplings between every pair of DOFs.
Mat6 tangent() {
  Mat6 K;
  for (int j = 1; j <= 6; ++j)
    for (int i = 1; i <= 6; ++i) K(i, j) = i == j ? 10.0 * i + 50.0 : 1.0 + 0.5 * (i + j);
  return K;
}

Vec6 vec(double a, double b, double c, double d, double e, double f) {
  Vec6 v;
  const double x[6] = {a, b, c, d, e, f};
  for (int i = 1; i <= 6; ++i) v(i) = x[i - 1];
  return v;
}

Point3 point(double x, double y, double z) {
  Point3 p;
  p(1) = x;
  p(2) = y;
  p(3) = z;
  return p;
}

Codes6 codes(int a, int b, int c, int d, int e, int f) {
  Codes6 k;
  const int x[6] = {a, b, c, d, e, f};
  for (int i = 1; i <= 6; ++i) k(i) = x[i - 1];
  return k;
}

// One solve of the extended system: the increment and the multipliers.
Vec12 solve(const Mat6& SS, const Vec6& DFV, const Vec6& DV, const Vec6& PTDISP,
            const Point3& P, const Codes6& C) {
  Mat12 SE;
  PTMAT(SE, SS, P, C);
  int ierr = -1;
  MATINV(SE.data(), 12, 12, ierr);
  EXPECT_EQ(ierr, 0);
  Vec12 DFUV, RUV, DDUV;
  Vec6 RV = vec(0, 0, 0, 0, 0, 0);
  PTRHS(DFUV, RUV, DFV, RV, PTDISP, DV, P, C);
  MATVEC12(DDUV.data(), SE.data(), DFUV.data());
  return DDUV;
}

TEST(Ptdef, AllLoadsGivenIsTheSixBySixSolve) {
  const Mat6 SS = tangent();
  const Vec6 DFV = vec(100, -20, 30, 5, -7, 2);
  const Vec12 d = solve(SS, DFV, vec(1, 2, 3, 4, 5, 6), vec(9, 9, 9, 9, 9, 9), point(1, 2, 3),
                        codes(1, 1, 1, 1, 1, 1));
  Mat6 inv = SS;
  int ierr = 0;
  MATINV(inv, 6, ierr);
  Vec6 ref;
  MATVEC6(ref, inv, DFV);
  for (int i = 1; i <= 6; ++i) {
    EXPECT_NEAR(d(i), ref(i), 1e-12 * std::fabs(ref(i)) + 1e-15) << i;
    EXPECT_EQ(d(6 + i), 0.0) << i;
  }
}

TEST(Ptdef, AllDisplacementsGivenAtTheOriginPutTheCapThereInOneSolve) {
  const Vec6 DV = vec(0.1, -0.2, 0.3, 0.01, 0.02, -0.03);
  const Vec6 U = vec(1.0, 2.0, -3.0, 0.004, -0.005, 0.006);
  const Vec12 d = solve(tangent(), vec(7, 8, 9, 1, 2, 3), DV, U, point(0, 0, 0), codes(0, 0, 0, 0, 0, 0));
  for (int i = 1; i <= 6; ++i) EXPECT_NEAR(d(i), U(i) - DV(i), 1e-12) << i;
}

// Mixed codes at a point away from the origin: after one solve the point sits exactly at
// its given displacements, and where loads are given the multipliers are zero.
TEST(Ptdef, GivenDisplacementsAtAPointAreMetAfterOneSolve) {
  const Point3 P = point(-1.5, 2.0, 0.5);
  const Codes6 C = codes(1, 0, 0, 1, 1, 0);
  const Vec6 DV = vec(0.1, -0.2, 0.3, 0.01, 0.02, -0.03);
  const Vec6 U = vec(0.0, 0.7, -0.4, 0.0, 0.0, 0.002);
  const Vec12 d = solve(tangent(), vec(50, 8, 9, 1, 2, 3), DV, U, P, C);
  Mat6 G;
  PTMAP(P, G);
  for (int i = 1; i <= 6; ++i) {
    double at = 0.0;
    for (int j = 1; j <= 6; ++j) at += G(i, j) * (DV(j) + d(j));
    if (C(i) == 0) EXPECT_NEAR(at, U(i), 1e-12) << i;
    else EXPECT_EQ(d(6 + i), 0.0) << i;
  }
}

TEST(Ptdef, RigidMapOfAPointOnTheYAxis) {
  const Vec6 DV = vec(0.1, 0.2, 0.3, 0.04, 0.05, 0.06);
  Vec6 P = vec(0, 0, 0, 0, 0, 0), Dp, Fp;
  int done = -1;
  PTTRANS(DV, P, point(0, 2, 0), Dp, Fp, P, codes(0, 0, 0, 0, 0, 0), done);
  EXPECT_EQ(done, 1);
  EXPECT_DOUBLE_EQ(Dp(1), 0.1 - 2 * 0.06);
  EXPECT_DOUBLE_EQ(Dp(2), 0.2);
  EXPECT_DOUBLE_EQ(Dp(3), 0.3 + 2 * 0.04);
  for (int i = 4; i <= 6; ++i) EXPECT_EQ(Dp(i), DV(i));
}

// A load given in Y replaces the Y force at the origin and at the point; the moments at
// the point are moved with the force the origin had on entry.
TEST(Ptdef, GivenLoadReplacesTheReactionButMomentsUseTheEntryForces) {
  const Vec6 DV = vec(0, 0, 0, 0, 0, 0);
  Vec6 P = vec(10, 20, 30, 1, 2, 3), Dp, Fp;
  const Vec6 PL = vec(0, 99, 0, 0, 0, 0);
  const double x = 1.0, y = 2.0, z = 3.0;
  int done = 0;
  PTTRANS(DV, P, point(x, y, z), Dp, Fp, PL, codes(0, 1, 0, 0, 0, 0), done);
  EXPECT_EQ(done, 1);
  EXPECT_EQ(P(2), 99.0);
  EXPECT_EQ(Fp(2), 99.0);
  EXPECT_EQ(Fp(1), 10.0);
  EXPECT_DOUBLE_EQ(Fp(4), 1 - y * 30 + z * 20);
  EXPECT_DOUBLE_EQ(Fp(5), 2 + x * 30 - z * 10);
  EXPECT_DOUBLE_EQ(Fp(6), 3 - x * 20 + y * 10);
  EXPECT_EQ(P(4), 1.0);  // moments at the origin stay
}

TEST(Ptdef, PointAtTheOriginTransfersNothing) {
  Vec6 P = vec(1, 2, 3, 4, 5, 6), Dp = vec(7, 7, 7, 7, 7, 7), Fp = Dp;
  int done = 5;
  PTTRANS(vec(1, 1, 1, 1, 1, 1), P, point(0, 0, 0), Dp, Fp, vec(9, 9, 9, 9, 9, 9),
          codes(1, 1, 1, 1, 1, 1), done);
  EXPECT_EQ(done, 0);
  EXPECT_EQ(P(1), 1.0);
  EXPECT_EQ(Dp(1), 7.0);
  EXPECT_EQ(Fp(6), 7.0);
}

TEST(Ptdef, MarksFollowTheCodes) {
  std::unique_ptr<Model> m = new_model();
  m->UBLANK = " ";
  m->USTAR = "*";
  char LA[6], LB[6];
  DOFLABEL(*m, codes(0, 1, 2, 0, 1, 0), LA, LB);
  EXPECT_EQ(std::string(LA, 6), " ** * ");
  EXPECT_EQ(std::string(LB, 6), "*  * *");
}

}  // namespace
}  // namespace torva
