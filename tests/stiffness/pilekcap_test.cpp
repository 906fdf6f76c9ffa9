// Pile-head stiffness of the linear beam model: closed forms of a beam on an elastic
// foundation, head connections, geometric terms and the axial and torsional entries.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "pile/pile_fixture.h"
#include "stiffness/pilekcap.h"

namespace torva {
namespace {

constexpr double EI = 1.0e10;
constexpr double KS = 1.0e3;  // subgrade modulus (force per length per length)

class Pilekcap : public ::testing::Test {
 protected:
  void SetUp() override {
    m = new_model();
    beta = std::pow(KS / (4.0 * EI), 0.25);
    testing::PileDef p;
    p.EI = EI;
    p.L = 8.0 / beta;
    p.nseg = 100;
    testing::set_pile(*m, 1, 1, p);
    m->NROW = 1;
    m->NDIM = 3;
    const double h = p.L / p.nseg;
    m->SEGLEN(1) = h;
    for (int k = 1; k <= p.nseg + 1; ++k) {
      m->DEPAX(1, k) = (k - 1) * h;
      m->KSOIL(1, k) = KS * h * ((k == 1 || k == p.nseg + 1) ? 0.5 : 1.0);
    }
    m->KAXTOP(1) = 3.0e5;
    m->KTORTOP(1) = 7.0e8;
    m->PAXTOP(1) = 0.0;
  }
  Mat6 head(int iaxial = 0) {
    Mat6 K;
    int st = 0;
    std::string trace;
    PILEKCAP(*m, 1, iaxial, st, K, trace);
    return K;
  }
  std::unique_ptr<Model> m;
  double beta = 0;
};

TEST_F(Pilekcap, FixedHeadMatchesSemiInfiniteBeam) {
  const Mat6 K = head();
  const double b = beta;
  EXPECT_NEAR(K(2, 2), 4 * EI * b * b * b, 0.01 * 4 * EI * b * b * b);
  EXPECT_NEAR(K(3, 3), 4 * EI * b * b * b, 0.01 * 4 * EI * b * b * b);
  EXPECT_NEAR(K(6, 6), 2 * EI * b, 0.01 * 2 * EI * b);
  EXPECT_NEAR(K(5, 5), 2 * EI * b, 0.01 * 2 * EI * b);
  EXPECT_NEAR(std::fabs(K(2, 6)), 2 * EI * b * b, 0.01 * 2 * EI * b * b);
  // The two planes are mirror images: equal diagonals, opposite couplings.
  EXPECT_NEAR(K(3, 5), -K(2, 6), 1e-9 * std::fabs(K(2, 6)));
  EXPECT_NEAR(K(2, 6), K(6, 2), 1e-9 * std::fabs(K(2, 6)));
  EXPECT_EQ(K(2, 3), 0.0);
  EXPECT_EQ(K(2, 5), 0.0);
}

// A pile without bending stiffness meets a zero pivot in every element: the status names the
// element nearest the head; a sound pile leaves it alone.
TEST_F(Pilekcap, ZeroPivotNamesTheElement) {
  Mat6 K;
  std::string trace;
  int st = 0;
  PILEKCAP(*m, 1, 0, st, K, trace);
  EXPECT_EQ(st, 0);
  testing::PileDef p;
  p.EI = 0.0;
  p.L = 8.0 / beta;
  testing::set_pile(*m, 1, 1, p);
  PILEKCAP(*m, 1, 0, st, K, trace);
  EXPECT_EQ(st, 1);
}

TEST_F(Pilekcap, AxialAndTorsionalEntriesComeFromTheState) {
  for (int code : {1, 2, 3}) {
    m->CONNECTY(1) = m->CONNECTZ(1) = code;
    m->SPZ(1) = m->SPY(1) = 1.0e9;
    const Mat6 K = head();
    EXPECT_EQ(K(1, 1), 3.0e5);
    EXPECT_EQ(K(4, 4), 7.0e8);
    for (int i = 1; i <= 6; ++i) {
      EXPECT_EQ(K(1, i), i == 1 ? 3.0e5 : 0.0) << code;
      EXPECT_EQ(K(4, i), i == 4 ? 7.0e8 : 0.0) << code;
    }
  }
}

TEST_F(Pilekcap, HeadConnections) {
  const Mat6 fixed = head();
  m->CONNECTY(1) = m->CONNECTZ(1) = 1;
  const Mat6 pinned = head();
  const double b = beta;
  EXPECT_NEAR(pinned(2, 2), 2 * EI * b * b * b, 0.01 * 2 * EI * b * b * b);
  for (int i = 1; i <= 6; ++i) {
    EXPECT_EQ(pinned(5, i), 0.0);
    EXPECT_EQ(pinned(6, i), 0.0);
  }
  // Exact condensation of the head rotation.
  EXPECT_NEAR(pinned(2, 2), fixed(2, 2) - fixed(2, 6) * fixed(6, 2) / fixed(6, 6), 1e-6 * pinned(2, 2));

  m->CONNECTY(1) = m->CONNECTZ(1) = 3;
  m->SPZ(1) = m->SPY(1) = 0.0;
  const Mat6 zero_spring = head();
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) EXPECT_EQ(zero_spring(i, j), pinned(i, j));

  m->SPZ(1) = m->SPY(1) = 1.0e20;
  const Mat6 stiff = head();
  EXPECT_NEAR(stiff(2, 2), fixed(2, 2), 1e-6 * fixed(2, 2));
  EXPECT_NEAR(stiff(6, 6), fixed(6, 6), 1e-6 * fixed(6, 6));
  m->SPZ(1) = m->SPY(1) = 1.0e-6;
  const Mat6 soft = head();
  EXPECT_NEAR(soft(2, 2), pinned(2, 2), 1e-6 * pinned(2, 2));

  // A spring s in series with the pile's rotational stiffness: s kr / (s + kr).
  const double s = fixed(6, 6);
  m->SPZ(1) = s;
  const Mat6 mid = head();
  EXPECT_NEAR(mid(6, 6), 0.5 * fixed(6, 6), 1e-9 * fixed(6, 6));
  EXPECT_NEAR(mid(2, 2), fixed(2, 2) - fixed(2, 6) * fixed(6, 2) / (2.0 * s), 1e-9 * fixed(2, 2));
}

TEST_F(Pilekcap, GeometricTermsOfTheAxialForce) {
  const Mat6 off = head(0);
  m->PAXTOP(1) = 0.0;
  const Mat6 on_zero = head(1);
  m->PAXTOP(1) = 1.0e6;
  const Mat6 off_loaded = head(0);
  const Mat6 on_loaded = head(1);
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) {
      EXPECT_EQ(on_zero(i, j), off(i, j));
      EXPECT_EQ(off_loaded(i, j), off(i, j));
    }
  // Compression softens the lateral head stiffness.
  EXPECT_LT(on_loaded(2, 2), off(2, 2));
  EXPECT_LT(on_loaded(3, 3), off(3, 3));
}

TEST_F(Pilekcap, PinnedHeadWithoutStiffnessStaysFinite) {
  // A pile without bending stiffness or springs: every pivot is zero, nothing is carried,
  // and the pinned head must not divide by the zero rotational stiffness.
  for (int k = 1; k <= 101; ++k) m->KSOIL(1, k) = 0.0;
  m->SEIZ(1, 1) = m->SEIZB(1, 1) = m->SEIY(1, 1) = m->SEIYB(1, 1) = 0.0;
  m->CONNECTY(1) = m->CONNECTZ(1) = 1;
  const Mat6 K = head();
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) EXPECT_TRUE(std::isfinite(K(i, j)));
  EXPECT_EQ(K(2, 2), 0.0);
}

TEST(Beamk3d, OneElementBendingAndGeometricEntries) {
  Mat12 K;
  const double L = 10.0, a = 2.0e6, b = 3.0e6, P = 500.0;
  BEAMK3D(a, b, 1.0, 1.0, L, P, 1, K);
  EXPECT_DOUBLE_EQ(K(2, 2), 12 * a / (L * L * L) - P / L);
  EXPECT_DOUBLE_EQ(K(2, 6), -6 * a / (L * L) + P / 10);
  EXPECT_DOUBLE_EQ(K(3, 5), 6 * b / (L * L) - P / 10);
  EXPECT_DOUBLE_EQ(K(6, 12), 2 * a / L + P * L / 30);
  EXPECT_DOUBLE_EQ(K(11, 11), 4 * b / L - 2 * P * L / 15);
  EXPECT_DOUBLE_EQ(K(1, 7), -1.0 / L);
  for (int i = 1; i <= 12; ++i)
    for (int j = 1; j <= 12; ++j) EXPECT_EQ(K(i, j), K(j, i));
  // A rigid translation in y carries no force.
  for (int i = 1; i <= 12; ++i) EXPECT_NEAR(K(i, 2) + K(i, 8), 0.0, 1e-9);
}

}  // namespace
}  // namespace torva
