// Pile transformation: rigid offset of the head and rotation into the pile's local axes.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "pile/ptrans.h"

namespace torva {
namespace {

constexpr double PI = std::numbers::pi;

struct Row {
  double x, y, z, alpha, beta, theta;
};

struct Trans {
  Mat6 Ht, H, Qt, Q;
};

Trans trans_of(const Row& r) {
  auto m = new_model();
  m->CORX(1) = r.x;
  m->CORY(1) = r.y;
  m->CORZ(1) = r.z;
  m->ALPHA(1) = r.alpha;
  m->BETA(1) = r.beta;
  m->THETA(1) = r.theta;
  Trans t;
  PTRANS(*m, 1, t.Ht, t.H, t.Qt, t.Q);
  return t;
}

Vec6 vec(std::initializer_list<double> v) {
  Vec6 x;
  int i = 1;
  for (double d : v) x(i++) = d;
  return x;
}

Vec6 apply(const Mat6& a, const Vec6& x) {
  Vec6 y;
  MATVEC6(y, a, x);
  return y;
}

void expect_vec(const Vec6& got, std::initializer_list<double> want, double tol) {
  int i = 1;
  for (double w : want) {
    EXPECT_NEAR(got(i), w, tol) << "component " << i;
    ++i;
  }
}

TEST(Ptrans, VerticalPileAtOriginIsIdentity) {
  const Trans t = trans_of({0, 0, 0, 0, PI / 2, 0});
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) {
      const double id = i == j ? 1.0 : 0.0;
      EXPECT_EQ(t.H(i, j), id);
      EXPECT_EQ(t.Ht(i, j), id);
      EXPECT_NEAR(t.Q(i, j), id, 1e-15);
      EXPECT_NEAR(t.Qt(i, j), id, 1e-15);
    }
}

TEST(Ptrans, RigidOffsetOfTheHead) {
  const double X = 2, Y = 3, Z = -5;
  const Trans t = trans_of({X, Y, Z, 0, PI / 2, 0});
  // A cap rotation about Z moves the head by (-Y, X, 0) and turns it by the same rotation.
  expect_vec(apply(t.H, vec({0, 0, 0, 0, 0, 1})), {-Y, X, 0, 0, 0, 1}, 0.0);
  // A pure translation carries over unchanged.
  expect_vec(apply(t.H, vec({7, 0, 0, 0, 0, 0})), {7, 0, 0, 0, 0, 0}, 0.0);
  // Rotation about X: head moves by (0, -Z, Y).
  expect_vec(apply(t.H, vec({0, 0, 0, 1, 0, 0})), {0, -Z, Y, 1, 0, 0}, 0.0);
  // A horizontal head force (0, 1, 0) at (X, 0, 0): force (0, 1, 0) and moment (0, 0, X).
  const Trans d = trans_of({X, 0, 0, 0, PI / 2, 0});
  expect_vec(apply(d.Ht, vec({0, 1, 0, 0, 0, 0})), {0, 1, 0, 0, 0, X}, 0.0);
  // Cap pseudo row: vertical at Y = Z = 0, only the X offset couples.
  expect_vec(apply(d.H, vec({0, 1, 2, 0, 0.5, 0.25})), {0, 1 + X * 0.25, 2 - X * 0.5, 0, 0.5, 0.25},
             0.0);
}

TEST(Ptrans, LocalAxesOfBatteredAndTurnedPiles) {
  // Battered 30 degrees from vertical towards +Y (BETA = 60 degrees from the horizontal).
  const double b = PI / 3;
  Trans t = trans_of({0, 0, 0, 0, b, 0});
  // A head movement along the pile axis is purely axial in local axes.
  expect_vec(apply(t.Q, vec({std::sin(b), std::cos(b), 0, 0, 0, 0})), {1, 0, 0, 0, 0, 0}, 1e-15);
  // Turned 90 degrees in plan: the same batter now leans towards +Z.
  t = trans_of({0, 0, 0, PI / 2, b, 0});
  expect_vec(apply(t.Q, vec({std::sin(b), 0, std::cos(b), 0, 0, 0})), {1, 0, 0, 0, 0, 0}, 1e-15);
  // Vertical pile with its section turned 90 degrees: local y is global Z, local z is -Y.
  t = trans_of({0, 0, 0, 0, PI / 2, PI / 2});
  expect_vec(apply(t.Q, vec({0, 0, 1, 0, 0, 0})), {0, 1, 0, 0, 0, 0}, 1e-15);
  expect_vec(apply(t.Q, vec({0, 1, 0, 0, 0, 0})), {0, 0, -1, 0, 0, 0}, 1e-15);
}

class PtransAnyRow : public ::testing::TestWithParam<Row> {};

TEST_P(PtransAnyRow, OrthonormalRightHandedAndWorkConserving) {
  const Row r = GetParam();
  const Trans t = trans_of(r);
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) {
      double qqt = 0;
      for (int k = 1; k <= 6; ++k) qqt += t.Q(i, k) * t.Qt(k, j);
      EXPECT_NEAR(qqt, i == j ? 1.0 : 0.0, 1e-15);
      EXPECT_EQ(t.Ht(i, j), t.H(j, i));
      EXPECT_EQ(t.Qt(i, j), t.Q(j, i));
    }
  // Row x = row y x row z (right-handed local axes).
  auto R = [&](int i, int j) { return t.Q(i, j); };
  EXPECT_NEAR(R(1, 1), R(2, 2) * R(3, 3) - R(2, 3) * R(3, 2), 1e-15);
  EXPECT_NEAR(R(1, 2), R(2, 3) * R(3, 1) - R(2, 1) * R(3, 3), 1e-15);
  EXPECT_NEAR(R(1, 3), R(2, 1) * R(3, 2) - R(2, 2) * R(3, 1), 1e-15);
  // The pile axis points downward.
  EXPECT_GT(R(1, 1), 0.0);
  // Work: a unit cap movement U and a head force f (local axes) carried to the origin do
  // the same work as the local head movement Q H U against f.
  const Vec6 U = vec({0.3, -1.1, 0.7, 0.02, -0.05, 0.04});
  const Vec6 f = vec({5.0, -2.0, 3.0, 0.5, -1.5, 2.5});
  const Vec6 Fglob = apply(t.Qt, f);
  const Vec6 Forig = apply(t.Ht, Fglob);
  const Vec6 uloc = apply(t.Q, apply(t.H, U));
  double w_cap = 0, w_head = 0;
  for (int i = 1; i <= 6; ++i) {
    w_cap += U(i) * Forig(i);
    w_head += uloc(i) * f(i);
  }
  EXPECT_NEAR(w_cap, w_head, 1e-12 * (std::abs(w_cap) + 1.0));
}

INSTANTIATE_TEST_SUITE_P(Rows, PtransAnyRow,
                         ::testing::Values(Row{0, 0, 0, 0, PI / 2, 0}, Row{1.5, -2, 4, 0.3, 1.2, 0.7},
                                           Row{10, 3, -6, -2.0, 0.9, -1.1},
                                           Row{0, 7, 7, PI, PI / 4, PI / 3}));

}  // namespace
}  // namespace torva
