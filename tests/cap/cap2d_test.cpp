// The small routines of the 2-D cap analysis: the point of definition, the 3 x 3
// inverse, the convergence measures and the cap envelopes.
#include <gtest/gtest.h>

#include <cmath>

#include "cap/cap2d.h"

namespace torva {
namespace {

Mat3 spd() {
  Mat3 K;
  const double v[3][3] = {{5.0e4, 1.0e3, -2.0e3}, {1.0e3, 3.0e4, 4.0e3}, {-2.0e3, 4.0e3, 8.0e5}};
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) K(i, j) = v[i - 1][j - 1];
  return K;
}

Vec3 v3(double a, double b, double c) {
  Vec3 v;
  v(1) = a;
  v(2) = b;
  v(3) = c;
  return v;
}

TEST(Cap2d, InverseByCofactors) {
  const Mat3 K = spd();
  Mat3 Ki;
  ASSERT_TRUE(INV3(K, Ki));
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) {
      double s = 0.0;
      for (int l = 1; l <= 3; ++l) s += K(i, l) * Ki(l, j);
      EXPECT_NEAR(s, i == j ? 1.0 : 0.0, 1e-12);
    }
  Mat3 S = K;
  for (int j = 1; j <= 3; ++j) S(3, j) = 2.0 * S(1, j);  // a dependent row
  Ki(1, 1) = 7.0;
  EXPECT_FALSE(INV3(S, Ki));
  EXPECT_EQ(Ki(1, 1), 7.0) << "a singular matrix leaves the inverse untouched";
}

// The extended system of a point at (x, y) solved from rest: prescribed displacements of
// the point are met exactly, and with given loads the equilibrium rows hold.
TEST(Cap2d, PointOfDefinitionSystem) {
  Arr1<double, 3> pt;
  pt(1) = 2.0;
  pt(2) = -3.0;
  pt(3) = 0.0;
  const double x = pt(1), y = pt(2);
  const Mat3 K = spd();
  struct Case {
    int f1, f2, f3;
  };
  for (const Case c : {Case{0, 0, 0}, Case{0, 1, 1}, Case{1, 0, 1}}) {
    Flags3 fl;
    fl(1) = c.f1;
    fl(2) = c.f2;
    fl(3) = c.f3;
    const Vec3 D = v3(0.01, -0.02, 0.003), R = v3(0.0, 100.0, -50.0), U = v3(0.0, 0.0, 0.0);
    Mat6 A;
    PTMAT2D(A, K, pt, fl);
    int ierr = 0;
    MATINV(A, 6, ierr);
    ASSERT_EQ(ierr, 0);
    Vec6 rhs, rec, sol;
    PTRHS2D(rhs, rec, R, R, D, U, pt, fl);
    MATVEC6(sol, A, rhs);
    const double moved[3] = {sol(1) - y * sol(3), sol(2) + x * sol(3), sol(3)};
    for (int k = 1; k <= 3; ++k) {
      if (fl(k) == 0) {
        EXPECT_NEAR(moved[k - 1], D(k), 1e-12) << k;
        EXPECT_DOUBLE_EQ(rec(3 + k), D(k));
      } else {
        EXPECT_EQ(sol(3 + k), 0.0) << "no reaction where the load is given";
      }
    }
    // Equilibrium rows: K u + T lambda = R, T(:, k) the point motion of DOF k.
    for (int i = 1; i <= 3; ++i) {
      double s = 0.0;
      for (int j = 1; j <= 3; ++j) s += K(i, j) * sol(j);
      const double T[3][3] = {{1.0, 0.0, -y}, {0.0, 1.0, x}, {0.0, 0.0, 1.0}};
      for (int k = 1; k <= 3; ++k)
        if (fl(k) == 0) s += T[k - 1][i - 1] * sol(3 + k);
      EXPECT_NEAR(s, R(i), 1e-9 * 100.0) << i;
    }
  }
}

TEST(Cap2d, ValuesAtThePoint) {
  Arr1<double, 3> pt;
  pt(1) = 2.0;
  pt(2) = -3.0;
  pt(3) = 0.0;
  const Vec3 U = v3(0.1, 0.2, 0.01), G = v3(11.0, 22.0, 33.0);
  Vec3 P = v3(1.0, 2.0, 3.0), Dp = v3(9, 9, 9), Fp = v3(9, 9, 9);
  Flags3 fl;
  fl(1) = 1;
  fl(2) = 0;
  fl(3) = 1;
  int done = -1;
  PTTRANS2D(U, P, pt, Dp, Fp, G, fl, done);
  EXPECT_EQ(done, 1);
  EXPECT_DOUBLE_EQ(Dp(1), 0.1 + 3.0 * 0.01);
  EXPECT_DOUBLE_EQ(Dp(2), 0.2 + 2.0 * 0.01);
  EXPECT_DOUBLE_EQ(Dp(3), 0.01);
  EXPECT_EQ(Fp(1), 11.0);
  EXPECT_EQ(P(1), 11.0) << "a given point load replaces the origin load";
  EXPECT_EQ(Fp(2), 2.0);
  EXPECT_EQ(Fp(3), 33.0);
  EXPECT_EQ(P(3), 3.0) << "the moment at the origin is kept";
  fl(3) = 0;
  P = v3(1.0, 2.0, 3.0);
  PTTRANS2D(U, P, pt, Dp, Fp, G, fl, done);
  EXPECT_DOUBLE_EQ(Fp(3), 3.0 - 2.0 * 2.0 + (-3.0) * 1.0) << "P3 - x P2 + y P1, P1 as on entry";
  // The origin: nothing written, even where a flag is 1.
  pt(1) = pt(2) = 0.0;
  P = v3(1.0, 2.0, 3.0);
  Dp = v3(9, 9, 9);
  PTTRANS2D(U, P, pt, Dp, Fp, G, fl, done);
  EXPECT_EQ(done, 0);
  EXPECT_EQ(P(1), 1.0);
  EXPECT_EQ(Dp(1), 9.0);
}

TEST(Cap2d, MarksMeasuresAndProduct) {
  auto m = new_model();
  m->UBLANK = " ";
  m->USTAR = "*";
  Flags3 fl;
  fl(1) = 0;
  fl(2) = 1;
  fl(3) = 2;
  char LA[3], LB[3];
  DOFLABEL2D(*m, fl, LA, LB);
  EXPECT_EQ(std::string(LA, 3), " **");
  EXPECT_EQ(std::string(LB, 3), "*  ");

  double t, r;
  DNORM2D(v3(3.0, -4.0, -0.5), t, r);
  EXPECT_DOUBLE_EQ(t, 5.0);
  EXPECT_DOUBLE_EQ(r, 0.5);
  DMAX2D(v3(-2.0, 2.0, -0.5), t, r);
  EXPECT_EQ(t, 2.0);
  EXPECT_EQ(r, 0.5);
  DMAX2D(v3(1.0, -3.0, 0.0), t, r);
  EXPECT_EQ(t, 3.0);

  const Mat3 K = spd();
  Vec3 y, b;
  MATVEC3(y, K, v3(1.0, 0.0, 0.0));
  EXPECT_EQ(y(3), -2.0e3);
  COPY3(y, b);
  EXPECT_EQ(b(1), 5.0e4);
}

TEST(Cap2d, CapEnvelopes) {
  auto m = new_model();
  m->EMNCAP(4) = m->EMXCAP(4) = 42.0;
  m->EMNCAP(1) = -1e9;
  m->NRESLT = 1;
  CAPENV2D(*m, v3(10.0, -5.0, 3.0), v3(0.1, 0.2, -0.3));
  EXPECT_EQ(m->EMNCAP(1), 10.0) << "the first result overwrites the envelope";
  EXPECT_EQ(m->EMXCAP(9), -0.3);
  m->NRESLT = 2;
  CAPENV2D(*m, v3(8.0, -5.0, 4.0), v3(0.1, 0.2, -0.3));
  EXPECT_EQ(m->EMNCAP(1), 8.0);
  EXPECT_EQ(m->EMXCAP(1), 10.0);
  EXPECT_EQ(m->EMXCAP(3), 4.0);
  EXPECT_EQ(m->EMNCAP(3), 3.0);
  EXPECT_EQ(m->EMNCAP(4), 42.0) << "entries 4 to 6 are not used in 2-D";
}

}  // namespace
}  // namespace torva
