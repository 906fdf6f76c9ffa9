// t-z and q-w curve shapes: hand-computed points, the selection rule and the readers.
#include <gtest/gtest.h>

#include <cmath>

#include "axial/tzqw.h"
#include "model/model.h"

namespace torva {
namespace {

class TzQw : public ::testing::Test {
 protected:
  std::unique_ptr<Model> mp = new_model();
  Model& m = *mp;
  TZTab T{}, Z{};
  DPArr tmax{}, phi{};
};

TEST_F(TzQw, DrilledSandScaledByDiameter) {
  tmax(3) = 2.0;
  TZDSSAND(3, 24.0, T, Z, tmax);
  EXPECT_DOUBLE_EQ(Z(3, 1), 0.0);
  EXPECT_DOUBLE_EQ(T(3, 1), 0.0);
  EXPECT_NEAR(Z(3, 10), 2.4, 1e-6);
  EXPECT_NEAR(T(3, 10), 1.9, 1e-6);
  EXPECT_NEAR(Z(3, 8), 0.288, 1e-6);
  EXPECT_NEAR(T(3, 8), 1.93, 1e-6);
}

TEST_F(TzQw, DrivenClayMovementsByUnitSystem) {
  tmax(1) = 10.0;
  m.IUNITS = 1;
  TZDPCLAY(m, 1, T, Z, tmax);
  EXPECT_NEAR(Z(1, 10), 10.0, 1e-6);
  EXPECT_NEAR(T(1, 6), 10.0, 1e-6);
  EXPECT_NEAR(T(1, 10), 9.3, 1e-5);
  for (int units : {2, 3}) {  // SI and generic both take the metric list
    m.IUNITS = units;
    TZDPCLAY(m, 1, T, Z, tmax);
    EXPECT_NEAR(Z(1, 10), 0.254, 1e-7) << units;
    EXPECT_NEAR(Z(1, 2), 0.000254, 1e-9) << units;
  }
}

TEST_F(TzQw, DrivenSandHyperbola) {
  m.IUNITS = 1;
  // tmax 0 is raised to 0.001 and stored back.
  phi(1) = 33.0;
  TZDPSAND(m, 1, T, Z, tmax, phi);
  EXPECT_DOUBLE_EQ(tmax(1), double(0.001f));
  // phi 33: k = 12000 psf/in, so t(z) = z / (z / tmax + 144 / 12000).
  const double z2 = double(0.01f);
  EXPECT_NEAR(T(1, 2), z2 / (z2 / double(0.001f) + 0.012), 1e-12);
  // phi 30, tmax 1 psi: k = 8666.6, t(2.5) = 2.5 / (2.5 + 144 / 8666.6) = 0.99340.
  tmax(2) = 1.0;
  phi(2) = 30.0;
  TZDPSAND(m, 2, T, Z, tmax, phi);
  EXPECT_NEAR(Z(2, 10), 2.5, 1e-12);
  EXPECT_NEAR(T(2, 10), 0.99340, 1e-5);
  // SI: the same curve in kPa and metres.
  m.IUNITS = 2;
  tmax(3) = 1.0 / 20.88 * 144.0;  // 1 psi in the kPa of the 20.88 psf/kPa rule
  phi(3) = 30.0;
  TZDPSAND(m, 3, T, Z, tmax, phi);
  EXPECT_NEAR(Z(3, 10), 0.0635, 1e-7);
  EXPECT_NEAR(T(3, 10) * 20.88 / 144.0, 0.99340, 1e-5);
}

TEST_F(TzQw, UserSoilShapePeaksAtOnePerCentOfDiameter) {
  tmax(1) = 5.0;
  TZCLAYZD(1, 10.0, T, Z, tmax);
  EXPECT_NEAR(Z(1, 6), 0.1, 1e-7);
  EXPECT_NEAR(T(1, 6), 5.0, 1e-7);
  EXPECT_NEAR(T(1, 10), 4.0, 1e-6);
}

// Selection by soil code and pile kind, told apart by a distinctive point of each shape.
struct SelCase {
  int code, kind;
  double phiDeg;
  const char* shape;
};

class TzSelect : public TzQw, public ::testing::WithParamInterface<SelCase> {};

const char* shape_of(const TZTab& T, const TZTab& Z) {
  // Point 2 of each shape for D = 100, tmax = 1, US units.
  const double z = Z(1, 2), t = T(1, 2);
  if (std::abs(z - 0.1) < 1e-6 && std::abs(t - 0.335) < 1e-6) return "DSSAND";
  if (std::abs(z - 0.1) < 1e-6 && std::abs(t - 0.51) < 1e-6) return "DSCLAY";
  if (std::abs(z - 0.16) < 1e-6) return "CLAYZD";
  if (std::abs(z - 0.01) < 1e-6 && std::abs(t - 0.18) < 1e-6) return "DPCLAY";
  if (std::abs(z - 0.01) < 1e-6) return "DPSAND";
  return "?";
}

TEST_P(TzSelect, PicksTheShape) {
  m.IUNITS = 1;
  tmax(1) = 1.0;
  phi(1) = GetParam().phiDeg;
  TZSHAPE(m, GetParam().code, GetParam().kind, 1, 100.0, T, Z, tmax, phi);
  EXPECT_STREQ(shape_of(T, Z), GetParam().shape)
      << "code " << GetParam().code << " kind " << GetParam().kind;
}

INSTANTIATE_TEST_SUITE_P(
    ByCode, TzSelect,
    ::testing::Values(SelCase{1, 1, 0, "DPCLAY"}, SelCase{9, 1, 0, "DPCLAY"},
                      SelCase{11, 1, 0, "DPCLAY"}, SelCase{14, 1, 0, "DPCLAY"},
                      SelCase{4, 1, 30, "DPSAND"}, SelCase{7, 1, 30, "DPSAND"},
                      SelCase{8, 1, 30, "DPSAND"}, SelCase{5, 1, 30, "CLAYZD"},
                      SelCase{12, 1, 0, "CLAYZD"}, SelCase{4, 2, 30, "DSSAND"},
                      SelCase{8, 2, 30, "DSSAND"}, SelCase{3, 2, 0, "DSCLAY"},
                      SelCase{12, 2, 0, "DSCLAY"}, SelCase{5, 2, 30, "DSSAND"},
                      SelCase{5, 2, 0, "DSCLAY"}, SelCase{5, 2, 1, "DSCLAY"}));

TEST_F(TzQw, DrivenSandTipRisesPastCapacity) {
  m.IUNITS = 1;
  QWArr W{}, Q{};
  QWTIP(m, DRIVEN, 4, 1000.0, 12.0, 12.0, 0.0, 30.0, W, Q);
  EXPECT_DOUBLE_EQ(Q(1), 0.0);
  EXPECT_NEAR(Q(10), 1000.0 * std::sqrt(5.0 / 0.6), 1e-3);  // 2.89 K
  QWTIP(m, DRIVEN, 4, 1000.0, 12.0, 12.0, 0.0, 35.0, W, Q);
  EXPECT_NEAR(Q(10), 1000.0 * std::pow(5.0 / 0.6, double(0.333f)), 1e-3);
  QWTIP(m, DRIVEN, 8, 1000.0, 12.0, 12.0, 0.0, 40.0, W, Q);
  EXPECT_NEAR(Q(10), 1000.0 * std::pow(5.0 / 0.6, 0.25), 1e-3);
  m.IUNITS = 2;
  QWTIP(m, DRIVEN, 4, 1000.0, 0.3, 0.3, 0.0, 30.0, W, Q);
  EXPECT_NEAR(W(10), 0.127, 1e-7);
  EXPECT_NEAR(Q(10), 1000.0 * std::sqrt(0.127 / 0.015), 1e-2);
}

TEST_F(TzQw, DrivenClayTipReachesCapacityAtFourW50) {
  m.IUNITS = 1;
  QWArr W{}, Q{};
  // K = 1000, Dl = 24, E50 = 0.01: w50 = 0.48, wf = 1.92, Q(2) = 0.5 K sqrt(0.24 / 0.48).
  QWTIP(m, DRIVEN, 1, 1000.0, 36.0, 24.0, 0.01, 0.0, W, Q);
  EXPECT_NEAR(W(9), 1.92, 1e-12);
  EXPECT_NEAR(W(10), 19.2, 1e-12);
  EXPECT_NEAR(W(2), 0.24, 1e-12);
  EXPECT_NEAR(Q(2), 353.5534, 1e-3);
  EXPECT_DOUBLE_EQ(Q(9), 1000.0);
  EXPECT_DOUBLE_EQ(Q(10), 1000.0);
  EXPECT_DOUBLE_EQ(QWREAD(W, Q, 50.0), 1000.0);  // flat beyond the last point
}

TEST_F(TzQw, TableTipCurves) {
  QWArr W{}, Q{};
  QWTIP(m, DRILLED, 4, 100.0, 40.0, 40.0, 0.0, 0.0, W, Q);
  EXPECT_NEAR(W(10), 4.0, 1e-6);
  EXPECT_NEAR(Q(10), 146.0, 1e-4);
  QWTIP(m, DRILLED, 1, 100.0, 40.0, 40.0, 0.0, 0.0, W, Q);
  EXPECT_NEAR(Q(2), 39.5, 1e-5);
  QWTIP(m, DRIVEN, 5, 100.0, 40.0, 40.0, 0.0, 0.0, W, Q);
  EXPECT_NEAR(W(6), 4.0, 1e-6);
  EXPECT_NEAR(Q(6), 100.0, 1e-9);
  // Beyond the tenth point the drilled sand curve extends along its last segment.
  QWTIP(m, DRILLED, 4, 100.0, 40.0, 40.0, 0.0, 0.0, W, Q);
  const double slope = (Q(10) - Q(9)) / (W(10) - W(9));
  EXPECT_NEAR(QWREAD(W, Q, W(10) + 1.0), Q(10) + slope, 1e-9);
  EXPECT_DOUBLE_EQ(QWREAD(W, Q, -1.0), 0.0);
}

TEST_F(TzQw, ReaderInterpolatesAndHoldsLastValue) {
  tmax(1) = 2.0;
  TZDSSAND(1, 24.0, T, Z, tmax);
  EXPECT_DOUBLE_EQ(TZREAD(T, Z, 1, 0.0), 0.0);
  EXPECT_NEAR(TZREAD(T, Z, 1, Z(1, 2)), T(1, 2), 1e-12);
  const double mid = 0.5 * (Z(1, 3) + Z(1, 4));
  EXPECT_NEAR(TZREAD(T, Z, 1, mid), 0.5 * (T(1, 3) + T(1, 4)), 1e-12);
  EXPECT_DOUBLE_EQ(TZREAD(T, Z, 1, 100.0), T(1, 10));
}

TEST(QwSet, ClayAndSandSets) {
  for (int c : {1, 2, 3, 5, 6, 10, 13, 14}) EXPECT_FALSE(QWSANDSET(c)) << c;
  for (int c : {4, 7, 8, 9, 11, 12}) EXPECT_TRUE(QWSANDSET(c)) << c;
}

}  // namespace
}  // namespace torva
