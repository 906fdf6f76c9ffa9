// Load assembly: resultants at the cap origin, prescribed displacements, node loads of
// distributed-load lines, soil movement of a row, and the copy of a case's controls.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "pile/loads.h"

namespace torva {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kDeg = kPi / 180.0;

class Loads : public ::testing::Test {
 protected:
  std::unique_ptr<Model> mp = new_model();
  Model& m = *mp;

  // Concentrated load n of case c in the storage order FX FY MZ FZ MY MX X Y Z.
  void conc(int c, int n, std::vector<double> v) {
    for (int k = 1; k <= 9; ++k) m.LOAD(c, n, k) = v[std::size_t(k - 1)];
    m.CASINT(c, 15) = std::max(m.CASINT(c, 15), n);
  }
  // One pile row of property 1 (length L, nseg segments).
  void rows(int nrow, double L, int nseg) {
    m.NROW = nrow;
    for (int g = 1; g <= nrow; ++g) m.PTYPE(g) = 1;
    m.PILELEN(1) = L;
    m.NSEG(1) = nseg;
  }
  // Constant curve i of value v over depths 0..L.
  void flat_curve(int i, double v, double L) {
    m.NDC = std::max(m.NDC, i);
    m.NPDC(i) = 2;
    m.DCDEP(i, 1) = 0.0;
    m.DCDEP(i, 2) = L;
    m.DCVAL(i, 1) = v;
    m.DCVAL(i, 2) = v;
  }
  // Distributed-load line n of case c: axes, rows from..to by step, curves and factors.
  void line(int c, int n, int axes, int from, int to, int step, int iy, double fy, int iz = 0,
            double fz = 0.0) {
    m.DLINT(c, n, 2) = axes;
    m.DLINT(c, n, 3) = from;
    m.DLINT(c, n, 4) = to;
    m.DLINT(c, n, 5) = step;
    m.DLINT(c, n, 6) = iy;
    m.DLINT(c, n, 7) = iz;
    m.DLFY(c, n) = fy;
    m.DLFZ(c, n) = fz;
    m.CASINT(c, 16) = std::max(m.CASINT(c, 16), n);
  }
};

void expect_vec(const Vec6& R, std::vector<double> want, double tol = 1e-12) {
  for (int k = 1; k <= 6; ++k) EXPECT_NEAR(R(k), want[std::size_t(k - 1)], tol) << "entry " << k;
}

TEST_F(Loads, ResultantOfLoadsAtOffsetPoints3D) {
  m.NDIM = 3;
  m.CASREAL(1, 5) = 1.0;
  conc(1, 1, {0, 10, 0, 0, 0, 0, 0, 0, 2});
  Vec6 R;
  LOADORIG(m, 1, R);
  expect_vec(R, {0, 10, 0, -20, 0, 0});
  conc(1, 1, {0, 10, 0, 0, 0, 0, 3, 0, 2});
  LOADORIG(m, 1, R);
  expect_vec(R, {0, 10, 0, -20, 0, 30});
  // Every component, the given moments MZ MY MX in their storage columns, scale 0.5:
  // F = (1, 2, 3) at (4, 5, 6) plus M = (7, 8, 9) about X, Y, Z.
  conc(1, 2, {1, 2, 9, 3, 8, 7, 4, 5, 6});
  m.CASREAL(1, 5) = 0.5;
  LOADORIG(m, 1, R);
  const double rx = 7 + (5 * 3 - 6 * 2), ry = 8 + (6 * 1 - 4 * 3), rz = 9 + (4 * 2 - 5 * 1);
  expect_vec(R, {0.5 * 1, 0.5 * 12, 0.5 * 3, 0.5 * (-20 + rx), 0.5 * ry, 0.5 * (30 + rz)});
}

TEST_F(Loads, ResultantIn2DUsesTheFirstThreeComponents) {
  m.NDIM = 2;
  m.CASREAL(1, 5) = 2.0;
  conc(1, 1, {5, 3, 7, 99, 99, 99, 2, 1, 99});
  Vec6 R;
  LOADORIG(m, 1, R);
  expect_vec(R, {10, 6, 0, 0, 0, 2 * (7 + 2 * 3 - 1 * 5)});
}

TEST_F(Loads, DisplacementCaseHasNoResultantAndAddsNothingToACombination) {
  m.NDIM = 3;
  m.CASREAL(1, 5) = 1.0;
  m.CASREAL(2, 5) = 2.0;
  conc(1, 1, {0, 10, 0, 0, 0, 0, 0, 0, 2});
  conc(2, 1, {4, 0, 0, 0, 0, 0, 0, 1, 0});
  m.CBINT(1, 8) = 2;
  m.MEMCASE(1, 1) = 1;
  m.MEMFAC(1, 1) = 1.5;
  m.MEMCASE(1, 2) = 2;
  m.MEMFAC(1, 2) = -1.0;
  Vec6 R;
  COMBORIG(m, 1, R);
  // Case 2 at its own scale 2: FX 8 at Y = 1 gives MZ = -8.
  expect_vec(R, {-8, 15, 0, -30, 0, 8});
  m.IDISP(2) = 1;
  LOADORIG(m, 2, R);
  expect_vec(R, {0, 0, 0, 0, 0, 0});
  COMBORIG(m, 1, R);
  expect_vec(R, {0, 15, 0, -30, 0, 0});
  m.CBINT(1, 8) = 0;
  COMBORIG(m, 1, R);
  expect_vec(R, {0, 0, 0, 0, 0, 0});
}

TEST_F(Loads, PrescribedDisplacementsReorderedAndScaled3D) {
  m.NDIM = 3;
  m.IDISP(1) = 1;
  m.CASREAL(1, 5) = 0.5;
  // Pairs in storage order X, Y, rot Z, Z, rot Y, rot X: u = 1..6 (x10), F = 1..6.
  for (int d = 1; d <= 6; ++d) {
    m.SPVAL(1, 2 * d - 1) = 10.0 * d;
    m.SPVAL(1, 2 * d) = d;
    m.ICOND(1, d) = (d % 2 == 0) ? 1 : 0;  // loads prescribed for Y, Z, rot X
  }
  m.SPVAL(1, 13) = 1;
  m.SPVAL(1, 14) = 2;
  m.SPVAL(1, 15) = 3;
  Vec6 FO, FP, UP, P;
  IVec6 K;
  DISPLOAD(m, 1, FO, FP, UP, P, K);
  // Global order X, Y, Z, rot X, rot Y, rot Z <- storage 1, 2, 4, 6, 5, 3.
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(K(k), (std::vector<int>{0, 1, 1, 1, 0, 0})[k - 1]);
  expect_vec(FP, {0, 1, 2, 3, 0, 0});
  expect_vec(UP, {5, 0, 0, 0, 25, 15});
  // FO = FP + r x F with F = (0, 2, 4) at (1, 2, 3), then halved.
  expect_vec(FO, {0, 1, 2, 3 + 0.5 * (2 * 4 - 3 * 2), 0.5 * (3 * 0 - 1 * 4), 0.5 * (1 * 2)});
  expect_vec(P, {1, 2, 3, 0, 0, 0});
}

TEST_F(Loads, PrescribedDisplacements2DAndLoadCases) {
  m.NDIM = 2;
  m.CASREAL(1, 5) = 1.0;
  Vec6 FO, FP, UP, P;
  IVec6 K;
  for (int k = 1; k <= 6; ++k) K(k) = -7;
  DISPLOAD(m, 1, FO, FP, UP, P, K);  // not a displacement case: zeros, K untouched
  expect_vec(UP, {0, 0, 0, 0, 0, 0});
  EXPECT_EQ(K(1), -7);
  m.IDISP(1) = 1;
  m.SPVAL(1, 1) = 0.1;  // u X
  m.SPVAL(1, 4) = 6.0;  // F Y
  m.SPVAL(1, 5) = 0.01; // rot Z
  m.SPVAL(1, 6) = 2.0;  // M Z, kept: code 2 keeps both
  m.ICOND(1, 1) = 0;
  m.ICOND(1, 2) = 1;
  m.ICOND(1, 3) = 2;
  m.SPVAL(1, 13) = 3.0;
  m.SPVAL(1, 14) = 0.0;
  DISPLOAD(m, 1, FO, FP, UP, P, K);
  EXPECT_EQ(K(1), 0);
  EXPECT_EQ(K(2), 1);
  EXPECT_EQ(K(6), 2);
  EXPECT_EQ(K(3), -7);
  expect_vec(FP, {0, 6, 2, 0, 0, 0});
  expect_vec(FO, {0, 6, 0, 0, 0, 2 + 3 * 6});
  expect_vec(UP, {0.1, 0, 0, 0, 0, 0.01});
}

TEST_F(Loads, RowWalkOfADistributedLoadLine) {
  m.NDIM = 2;
  rows(9, 10.0, 2);
  flat_curve(1, 1.0, 10.0);
  m.CASREAL(1, 5) = 1.0;
  struct Case { int from, to, step; std::vector<int> loaded; };
  const Case cases[] = {
      {5, 0, 0, {5}},        {2, 8, 0, {2, 8}},   {8, 2, 3, {2, 5, 8}},
      {3, 0, -1, {3, 2, 1}}, {0, 0, 0, {}},        {4, 4, 0, {4}},
      // Steps beyond the rows load the first row alone, however large.
      {2, 0, 20, {2}},       {3, 7, 2147483647, {3}}, {6, 4, -2147483647 - 1, {4}},
  };
  for (const Case& k : cases) {
    line(1, 1, 0, k.from, k.to, k.step, 1, 1.0);
    CASELOAD(m, 1);
    std::vector<int> got;
    for (int g = 1; g <= 9; ++g)
      if (m.DLNODES(g) != 0) got.push_back(g);
    std::vector<int> want = k.loaded;
    std::sort(want.begin(), want.end());
    EXPECT_EQ(got, want) << "line " << k.from << " " << k.to << " " << k.step;
  }
}

TEST_F(Loads, LoadCurveInterpolation) {
  m.NPDC(1) = 3;
  const double d[] = {1.0, 2.0, 4.0}, v[] = {10.0, 20.0, 0.0};
  for (int p = 1; p <= 3; ++p) {
    m.DCDEP(1, p) = d[p - 1];
    m.DCVAL(1, p) = v[p - 1];
  }
  EXPECT_DOUBLE_EQ(DLCURVE(m, 1, 1.0 - 5e-9), 10.0);  // within the end tolerance
  EXPECT_DOUBLE_EQ(DLCURVE(m, 1, 4.0 + 5e-9), 0.0);
  EXPECT_DOUBLE_EQ(DLCURVE(m, 1, 0.9), 0.0);          // beyond the curve
  EXPECT_DOUBLE_EQ(DLCURVE(m, 1, 1.5), 15.0);
  EXPECT_DOUBLE_EQ(DLCURVE(m, 1, 3.0), 10.0);
  EXPECT_DOUBLE_EQ(DLCURVE(m, 0, 1.5), 0.0);          // no curve
  m.NPDC(2) = 1;
  m.DCVAL(2, 1) = 5.0;
  EXPECT_DOUBLE_EQ(DLCURVE(m, 2, 0.0), 0.0);          // one point: nothing
  m.NPDC(3) = 2;                                      // depths that do not increase
  m.DCDEP(3, 1) = 2.0;
  m.DCDEP(3, 2) = 2.0;
  EXPECT_DOUBLE_EQ(DLCURVE(m, 3, 2.0 + 1e-3), 0.0);
}

// A 2-D pile battered 30 degrees under a uniform horizontal line load q over its length:
// the lateral node loads are q cos 30; with the axial part kept the row carries q L sin 30
// at its head, and lateral and axial parts sum back to the applied horizontal load.
TEST_F(Loads, GlobalLineOnABatteredPile2D) {
  m.NDIM = 2;
  rows(1, 10.0, 10);
  m.BATTER(1) = 30 * kDeg;
  m.CORX(1) = 2.0;
  m.CORY(1) = 1.0;
  flat_curve(1, 2.0, 10.0);
  m.CASREAL(1, 5) = 1.0;
  m.CASINT(1, 14) = 1;
  line(1, 1, 1, 1, 0, 0, 1, 1.0);
  CASELOAD(m, 1);
  ASSERT_EQ(m.DLNODES(1), 11);
  EXPECT_EQ(m.IAXDL, 1);
  double lateral = 0.0;
  for (int k = 1; k <= 11; ++k) {
    EXPECT_NEAR(m.DLWY(1, k), 2.0 * std::cos(30 * kDeg), 1e-12);
    EXPECT_NEAR(m.DLPOS(1, k), k - 1.0, 1e-12);
    if (k > 1) lateral += (m.DLWY(1, k - 1) + m.DLWY(1, k)) / 2.0;
  }
  EXPECT_NEAR(m.DLAXIAL(1), 0.5 * 2.0 * 10.0, 1e-12);
  const double b = 30 * kDeg;  // axis (cos b, sin b), lateral direction (-sin b, cos b)
  EXPECT_NEAR(m.DLAXIAL(1) * std::cos(b) - lateral * std::sin(b), 0.0, 1e-12);
  EXPECT_NEAR(m.DLAXIAL(1) * std::sin(b) + lateral * std::cos(b), 20.0, 1e-12);
  // The axial part at the head, about the origin.
  Vec6 R;
  for (int k = 1; k <= 6; ++k) R(k) = 0.0;
  DLOADORIG(m, R);
  const double FX = 10.0 * std::cos(b), FY = 10.0 * std::sin(b);
  expect_vec(R, {FX, FY, 0, 0, 0, 2.0 * FY - 1.0 * FX});
  // Without the axial option the axial part is dropped and nothing reaches the cap.
  m.CASINT(1, 14) = 0;
  CASELOAD(m, 1);
  EXPECT_EQ(m.IAXDL, 0);
  EXPECT_EQ(m.DLAXIAL(1), 0.0);
  for (int k = 1; k <= 6; ++k) R(k) = 0.0;
  DLOADORIG(m, R);
  expect_vec(R, {0, 0, 0, 0, 0, 0});
  // Local axes: the curve value as it stands; axis code 2 is global like 1.
  line(1, 1, 0, 1, 0, 0, 1, 1.0);
  CASELOAD(m, 1);
  EXPECT_NEAR(m.DLWY(1, 5), 2.0, 1e-12);
  line(1, 1, 2, 1, 0, 0, 1, 1.0);
  CASELOAD(m, 1);
  EXPECT_NEAR(m.DLWY(1, 5), 2.0 * std::cos(b), 1e-12);
}

// A 3-D pile with all three angles under global Y and Z line loads: at every node the
// axial and the two lateral parts rebuild the applied (0, qY, qZ); DLAXIAL is the
// integral of the axial part; two lines on one row add up.
TEST_F(Loads, GlobalLinesOnABatteredPile3DSumBack) {
  m.NDIM = 3;
  rows(2, 8.0, 4);
  const double A = 25 * kDeg, B = 70 * kDeg, T = 40 * kDeg;
  m.ALPHA(1) = A;
  m.BETA(1) = B;
  m.THETA(1) = T;
  m.CORX(1) = 1.0;
  m.CORY(1) = 2.0;
  m.CORZ(1) = -3.0;
  flat_curve(1, 3.0, 8.0);
  flat_curve(2, -1.0, 8.0);
  m.CASREAL(1, 5) = 2.0;
  m.CASINT(1, 14) = 1;
  line(1, 1, 1, 1, 0, 0, 1, 0.5, 2, 1.0);  // qY = 2 x 0.5 x 3 = 3, qZ = 2 x 1 x -1 = -2
  CASELOAD(m, 1);
  const double qY = 3.0, qZ = -2.0;
  const double ax[3] = {std::sin(B), std::cos(A) * std::cos(B), std::sin(A) * std::cos(B)};
  const double y0[3] = {-std::cos(B), std::sin(B) * std::cos(A), std::sin(B) * std::sin(A)};
  const double z0[3] = {0.0, -std::sin(A), std::cos(A)};
  double yl[3], zl[3];  // local axes after the twist T about the pile axis
  for (int i = 0; i < 3; ++i) {
    yl[i] = std::cos(T) * y0[i] + std::sin(T) * z0[i];
    zl[i] = -std::sin(T) * y0[i] + std::cos(T) * z0[i];
  }
  const double qax = qY * ax[1] + qZ * ax[2];
  for (int k = 1; k <= 5; ++k) {
    const double ly = m.DLWY(1, k), lz = m.DLWZ(1, k);
    EXPECT_NEAR(qax * ax[0] + ly * yl[0] + lz * zl[0], 0.0, 1e-12);
    EXPECT_NEAR(qax * ax[1] + ly * yl[1] + lz * zl[1], qY, 1e-12);
    EXPECT_NEAR(qax * ax[2] + ly * yl[2] + lz * zl[2], qZ, 1e-12);
  }
  EXPECT_NEAR(m.DLAXIAL(1), qax * 8.0, 1e-12);
  EXPECT_EQ(m.DLNODES(2), 0);
  // The same line twice: loads double.
  line(1, 2, 1, 1, 0, 0, 1, 0.5, 2, 1.0);
  CASELOAD(m, 1);
  EXPECT_NEAR(m.DLAXIAL(1), 2 * qax * 8.0, 1e-12);
  Vec6 R;
  for (int k = 1; k <= 6; ++k) R(k) = 0.0;
  DLOADORIG(m, R);
  const double F = 2 * qax * 8.0;
  const double FX = F * ax[0], FY = F * ax[1], FZ = F * ax[2];
  expect_vec(R, {FX, FY, FZ, 2.0 * FZ + 3.0 * FY, -3.0 * FX - 1.0 * FZ, 1.0 * FY - 2.0 * FX},
             1e-10);
  // A vertical pile under a global Y line: all lateral, no axial part.
  m.ALPHA(2) = 0.0;
  m.BETA(2) = kPi / 2;
  m.THETA(2) = 0.0;
  line(1, 1, 1, 2, 0, 0, 1, 0.5);
  m.CASINT(1, 16) = 1;
  CASELOAD(m, 1);
  EXPECT_NEAR(m.DLWY(2, 3), 3.0, 1e-12);
  EXPECT_NEAR(m.DLWZ(2, 3), 0.0, 1e-12);
  EXPECT_NEAR(m.DLAXIAL(2), 0.0, 1e-12);
}

TEST_F(Loads, CombinationLoadsAndClearing) {
  m.NDIM = 2;
  rows(1, 4.0, 4);
  flat_curve(1, 1.0, 4.0);
  m.CASREAL(1, 5) = 2.0;
  m.CASREAL(2, 5) = 1.0;
  line(1, 1, 0, 1, 0, 0, 1, 1.0);
  line(2, 1, 0, 1, 0, 0, 1, 3.0);
  m.CBINT(1, 8) = 2;
  m.MEMCASE(1, 1) = 1;
  m.MEMFAC(1, 1) = 0.5;
  m.MEMCASE(1, 2) = 2;
  m.MEMFAC(1, 2) = 2.0;
  COMBLOAD(m, 1);
  EXPECT_NEAR(m.DLWY(1, 3), 2.0 * 0.5 + 3.0 * 2.0, 1e-12);
  m.IAXDL = 1;
  CLRLOAD(m);
  EXPECT_EQ(m.DLNODES(1), 0);
  EXPECT_EQ(m.DLWY(1, 3), 0.0);
  EXPECT_EQ(m.IAXDL, 1);  // left set; DLOADORIG then adds zeros
  Vec6 R;
  for (int k = 1; k <= 6; ++k) R(k) = 1.0;
  DLOADORIG(m, R);
  expect_vec(R, {1, 1, 1, 1, 1, 1});
}

// Soil movement: depths kept in the vertical X coordinate, movements at full load (the
// node lookup scales by the load factor), resolved once into the local directions.
TEST_F(Loads, SoilMovementOfARow) {
  m.NSMPT = 2;
  m.SMDEP(1) = 0.0;
  m.SMDEP(2) = 6.0;
  m.SMY0(1) = 0.4;
  m.SMY0(2) = 0.0;
  m.SMZ0(1) = 0.2;
  m.SMY(1) = 99.0;  // the scaled copy of the cap analyses is not read here
  m.NDIM = 2;
  m.CORX(1) = 1.5;
  m.BATTER(1) = 30 * kDeg;
  SMOVEPILE(m, 1);
  EXPECT_DOUBLE_EQ(m.SMPD(1, 1), 0.0);
  EXPECT_DOUBLE_EQ(m.SMPD(1, 2), 6.0);
  EXPECT_NEAR(m.SMPY(1, 1), 0.4 * std::cos(30 * kDeg), 1e-15);
  EXPECT_EQ(m.SMPZ(1, 1), 0.0);
  m.NDIM = 3;
  m.ALPHA(1) = 0.0;
  m.BETA(1) = kPi / 2;
  m.THETA(1) = 0.0;
  SMOVEPILE(m, 1);
  EXPECT_NEAR(m.SMPY(1, 1), 0.4, 1e-15);  // vertical pile: full movement both ways
  EXPECT_NEAR(m.SMPZ(1, 1), 0.2, 1e-15);
  m.THETA(1) = kPi / 2;  // a quarter twist exchanges the local axes
  SMOVEPILE(m, 1);
  EXPECT_NEAR(m.SMPY(1, 1), 0.2, 1e-15);
  EXPECT_NEAR(m.SMPZ(1, 1), -0.4, 1e-15);
  m.NSMPT = 0;
  m.SMPY(1, 1) = 7.0;
  SMOVEPILE(m, 1);
  EXPECT_EQ(m.SMPY(1, 1), 7.0);  // no movement: the row is left alone
}

TEST_F(Loads, ControlsOfACaseAndOfACombination) {
  for (int k = 1; k <= 51; ++k) m.CASINT(3, k) = 100 + k;
  for (int k = 1; k <= 7; ++k) m.CASREAL(3, k) = 0.1 * k;
  m.NTHUSE = 9;
  SETCURCASE(m, 3);
  EXPECT_EQ(m.CYCLES, 105.0);
  EXPECT_EQ(m.ISTATIC, 104);
  EXPECT_EQ(m.NTHREQ, 103);
  EXPECT_EQ(m.MAXITFND, 106);
  EXPECT_EQ(m.MAXITLLP, 107);
  EXPECT_EQ(m.IPRTOPT, 118);
  EXPECT_EQ(m.NPRSTEP, 119);
  EXPECT_EQ(m.IALTTOL, 120);
  EXPECT_EQ(m.IAXVAR, 121);
  EXPECT_EQ(m.IEIPREV, 151);
  EXPECT_DOUBLE_EQ(m.TOLCAP, 0.1);
  EXPECT_DOUBLE_EQ(m.FACMIN, 0.4);
  EXPECT_DOUBLE_EQ(m.TOLCAPD, 0.6);
  EXPECT_DOUBLE_EQ(m.TOLCAPR, 0.7);
  EXPECT_EQ(m.RFBEND, 1.0);
  EXPECT_EQ(m.ICOMB, 0);
  EXPECT_EQ(m.NTHUSE, 1);
  for (int k = 1; k <= 41; ++k) m.CBINT(2, k) = 200 + k;
  for (int k = 1; k <= 8; ++k) m.CBREAL(2, k) = k;
  SETCURCOMB(m, 2);
  EXPECT_EQ(m.CYCLES, 205.0);
  EXPECT_EQ(m.MAXITLLP, 207);
  EXPECT_EQ(m.IPRTOPT, 209);
  EXPECT_EQ(m.NPRSTEP, 210);
  EXPECT_EQ(m.IALTTOL, 211);
  EXPECT_EQ(m.IAXVAR, 212);
  EXPECT_EQ(m.IEIPREV, 241);
  EXPECT_EQ(m.TOLCAPD, 7.0);
  EXPECT_EQ(m.TOLCAPR, 8.0);
  EXPECT_EQ(m.RFBEND, 5.0);
  EXPECT_EQ(m.RFSHEAR, 6.0);
  EXPECT_EQ(m.ICOMB, 2);
}

}  // namespace
}  // namespace torva
