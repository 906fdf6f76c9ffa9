// The flat-shell element, its spring terms and the element loads, on single elements.
#include "capfe/elstif.h"

#include <gtest/gtest.h>

#include <cmath>

#include "capfe/feinput.h"
#include "capfe/loadvec.h"
#include "capfe/shapeq.h"
#include "capfe/stresout.h"
#include "capfe/platefix.h"

namespace torva {
namespace {

using testing::LinearPiles;
using testing::PlateMesh;
using testing::WorkDir;

class ElementTest : public ::testing::Test {
 protected:
  WorkDir dir;
  std::unique_ptr<Model> m = new_model();
  LinearPiles piles{{100.0, 20.0, 30.0, 4.0, 5.0, 6.0}};
  std::unique_ptr<PlateRun> r;

  // A rectangular mesh a x b of nx x ny elements of nnode nodes with the Gauss rule ng.
  void setup(int nnode, int ng, double a, double b, int nx = 1, int ny = 1) {
    PlateMesh mesh;
    mesh.nnode = nnode == 9 ? 8 : nnode;
    mesh.nx = nx;
    mesh.ny = ny;
    mesh.a = a;
    mesh.b = b;
    mesh.build();
    r = std::make_unique<PlateRun>(*m, piles);
    m->NNODE = nnode;
    m->NGAUS = ng;
    m->NDOFN = 6;
    m->NEVAB = 6 * nnode;
    m->NELEM = nx * ny;
    m->NMATS = 1;
    m->NPOIN = mesh.npoin() + (nnode == 9 ? nx * ny : 0);
    ASSERT_TRUE(size_tables(*r));
    for (int n = 1; n <= mesh.npoin(); ++n) {
      r->COORD(1, n) = mesh.x[std::size_t(n - 1)];
      r->COORD(2, n) = mesh.y[std::size_t(n - 1)];
    }
    for (int e = 1; e <= m->NELEM; ++e) {
      r->MATNO[std::size_t(e - 1)] = 1;
      for (int k = 1; k <= 8 && k <= nnode; ++k) r->LNODS(k, e) = mesh.elem[std::size_t(e - 1)][std::size_t(k - 1)];
      if (nnode == 9) {  // centre node
        const int c = mesh.npoin() + e;
        r->LNODS(9, e) = c;
        r->COORD(1, c) = 0.25 * (r->COORD(1, r->LNODS(1, e)) + r->COORD(1, r->LNODS(3, e))) * 2;
        r->COORD(2, c) = 0.25 * (r->COORD(2, r->LNODS(1, e)) + r->COORD(2, r->LNODS(3, e))) * 2;
      }
    }
    r->PROPS(1, 1) = 1000.0;
    r->PROPS(2, 1) = 0.25;
    r->PROPS(3, 1) = 0.5;
    GAUSSLEG(r->w, ng);
    ASSERT_TRUE(r->FORT3.open("fort3"));
    ASSERT_TRUE(r->FETRACE.open_write("trace"));
  }
};

// The drilling rotation is held to the membrane's in-plane rotation by G t (theta_z -
// omega)^2: a uniform drilling rotation of a still membrane costs G t A theta^2, every
// drilling diagonal is positive, and the drilling couples to u and v but not to the plate.
TEST_F(ElementTest, DrillingPenaltyOfRectangle) {
  const double a = 2.0, b = 3.0, g = 0.5 * 1000.0 / 1.25, t = 0.5;
  for (int nn : {4, 8, 9})
    for (int ng : {1, 2, 3}) {
      SCOPED_TRACE(::testing::Message() << nn << " nodes, " << ng << " points");
      setup(nn, ng, a, b);
      ASSERT_TRUE(ELSTIF(*r));
      double sum = 0.0;
      for (int i = 1; i <= nn; ++i) {
        EXPECT_GT(r->elmat(1, 6 * i, 6 * i), 0.0) << i;
        for (int j = 1; j <= nn; ++j) sum += r->elmat(1, 6 * i, 6 * j);
      }
      EXPECT_NEAR(sum, g * t * a * b, 1e-6 * g * t * a * b);
      for (int i = 1; i <= 6 * nn; ++i)
        for (int j = 1; j <= 6 * nn; ++j) {
          EXPECT_NEAR(r->elmat(1, i, j), r->elmat(1, j, i), 1e-9 * (1 + std::abs(r->elmat(1, i, j))));
          const int di = (i - 1) % 6 + 1, dj = (j - 1) % 6 + 1;
          if (di == 6 && dj >= 3 && dj <= 5) {
            EXPECT_EQ(r->elmat(1, i, j), 0.0);
          }
        }
      EXPECT_NE(r->elmat(1, 6, 1), 0.0);  // corner 1: drilling with u
    }
}

TEST_F(ElementTest, RigidMotionsGiveNoInternalForce) {
  for (int nn : {4, 8, 9}) {
    setup(nn, nn == 4 ? 2 : 3, 2.0, 1.5);
    // Translations u, v, w, an in-plane rotation with its drilling rotation, and the tilt
    // w = c x with theta_x = c.
    for (int n = 1; n <= m->NPOIN; ++n) {
      const double x = r->COORD(1, n), y = r->COORD(2, n);
      double* u = &r->ASDIS[std::size_t(6 * (n - 1))];
      u[0] = 0.3 - 0.1 * y;
      u[1] = -0.2 + 0.1 * x;
      u[2] = 0.7 + 0.05 * x - 0.02 * y;
      u[3] = 0.05;
      u[4] = -0.02;
      u[5] = 0.1;  // the drilling rotation of the in-plane rotation
    }
    ASSERT_TRUE(ELSTIF(*r));
    for (int i = 1; i <= m->NEVAB; ++i) EXPECT_NEAR(r->ELVEC(i, 1), 0.0, 1e-10) << nn << " " << i;
  }
}

TEST_F(ElementTest, PileAtANodeAndPointAndNodalSprings) {
  setup(8, 2, 2.0, 2.0);
  m->ISPRING = 1;
  m->NCTSTI = 1;
  m->NCSTI = 2;
  m->NNSTI = 1;
  r->PIXY.resize(2, 1);
  r->PIEL = {1};
  r->PIXY(1, 1) = 1.0;  // corner 3 of the element
  r->PIXY(2, 1) = 1.0;
  r->PSXY.resize(2, 2);
  r->PSEL = {1, 1};
  r->PSVAL.resize(6, 2);
  r->PSXY(1, 1) = r->PSXY(2, 1) = -1.0;  // corner 1: a spring value below the threshold
  r->PSVAL(6, 1) = 1.0e-31;
  r->PSXY(1, 2) = r->PSXY(2, 2) = -1.0;
  r->PSVAL(1, 2) = 7.0;
  r->NSNOD = {r->LNODS(2, 1)};
  r->NSVAL.resize(6, 1);
  r->NSVAL(3, 1) = 2.0;
  m->NROW = 1;
  ASSERT_TRUE(ELSTIF(*r));
  std::vector<double> with(r->ELMAT);
  // Reference: the same element without springs.
  m->ISPRING = 0;
  m->NCSTI = 0;
  m->NNSTI = 0;
  ASSERT_TRUE(ELSTIF(*r));
  auto diff = [&](int i, int j) {
    return with[std::size_t((i - 1) * 48 + j - 1)] - r->elmat(1, i, j);
  };
  // The pile: the plate's (u, v, w, theta_x, theta_y, drill) see the pile's (Z, Y, X,
  // about Y, about Z, about X) springs, all on node 3 only.
  const double kpl[6] = {30.0, 20.0, 100.0, 5.0, 6.0, 4.0};
  for (int i = 1; i <= 6; ++i) EXPECT_NEAR(diff(12 + i, 12 + i), kpl[i - 1], 1e-9) << i;
  EXPECT_NEAR(diff(13, 15), 0.0, 1e-12);
  for (int i = 1; i <= 48; ++i)
    if (i <= 12 || i > 18) {
      EXPECT_NEAR(diff(i, i), i == 1 ? 7.0 : (i == 9 ? 2.0 : 0.0), 1e-9) << i;
    }
}

TEST_F(ElementTest, UniformPressureAddsUpToLoadTimesArea) {
  for (int nn : {4, 8, 9})
    for (int ng : {1, 2, 3}) {
      setup(nn, ng, 3.0, 2.0, 2, 1);
      m->NDLOD = 2;
      r->DLEL = {1, 2};
      r->DLVAL.resize(6, 2);
      r->DLVAL(3, 1) = r->DLVAL(3, 2) = 5.0;
      m->TINI = 0.0;
      m->TEND = 2.0;
      m->TCUR = 0.5;  // a quarter of the load
      ASSERT_TRUE(LOADVEC(*r));
      std::vector<double> v(std::size_t(6 * m->NPOIN), 0.0);
      ASSERT_TRUE(!v.empty());
      ASSERT_EQ(r->GLOBV.size(), v.size());
      ASSEMV(*r, v);
      double sum = 0.0;
      for (int n = 1; n <= m->NPOIN; ++n) sum += v[std::size_t(6 * (n - 1) + 2)];
      EXPECT_NEAR(sum, 0.25 * 5.0 * 6.0, 1e-6) << nn << " " << ng;  // single-precision weights
    }
}

TEST_F(ElementTest, NodalLoadOnSharedNodeEntersOnceAndEdgeLoadHasFullIntensity) {
  setup(8, 2, 4.0, 1.0, 2, 1);
  m->NNLOD = 1;
  m->NELOD = 1;
  r->NLNOD = {r->LNODS(2, 1)};  // shared by both elements
  r->NLVAL.resize(6, 1);
  r->NLVAL(1, 1) = 8.0;
  r->ELINT.resize(3, 1);
  r->ELDVAL.resize(3, 1);
  r->ELINT(1, 1) = 2;  // element 2, side 3 (top), freedom w
  r->ELINT(2, 1) = 3;
  r->ELINT(3, 1) = 3;
  r->ELDVAL(1, 1) = r->ELDVAL(2, 1) = r->ELDVAL(3, 1) = 3.0;
  m->TINI = 0.0;
  m->TEND = 1.0;
  m->TCUR = 0.5;
  ASSERT_TRUE(LOADVEC(*r));
  EXPECT_EQ(r->ELVEC(7, 1), 4.0);
  EXPECT_EQ(r->ELVEC(1, 2), 0.0);
  // The edge load: 3 per length over a side of length 2, unscaled; consistent shares
  // 1/6, 4/6, 1/6.
  EXPECT_NEAR(r->ELVEC(6 * 2 + 3, 2), 1.0, 1e-6);  // corner 3
  EXPECT_NEAR(r->ELVEC(6 * 3 + 3, 2), 1.0, 1e-6);  // corner 4
  EXPECT_NEAR(r->ELVEC(6 * 6 + 3, 2), 4.0, 1e-6);  // mid-side 7
  double t = 0, rr = 0;
  const double x[12] = {3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 12};
  NORM6(x, t, rr, 12);
  EXPECT_DOUBLE_EQ(t, 5.0);
  EXPECT_DOUBLE_EQ(rr, 12.0);
  NORM6(x, t, rr, 5);
  EXPECT_EQ(t + rr, 0.0);
}

TEST_F(ElementTest, CentreNodeOnAGaussPointTakesThatPointsStress) {
  setup(9, 3, 2.0, 1.0);
  // Uniform stretch u = 0.001 x: sigma_xx = E / (1 - nu^2) 0.001 everywhere.
  for (int n = 1; n <= m->NPOIN; ++n) r->ASDIS[std::size_t(6 * (n - 1))] = 0.001 * r->COORD(1, n);
  ASSERT_TRUE(ELSTIF(*r));
  r->FORT3.rewind();
  ASSERT_TRUE(r->FELIST.open_write("list") && r->FERESULT.open_write("res"));
  m->KSTEP = 2;
  ASSERT_TRUE(STRESOUT(*r));
  const double sxx = 1000.0 / (1.0 - 0.0625) * 0.001;
  for (int n = 1; n <= m->NPOIN; ++n) EXPECT_NEAR(r->STRSUM(1, n), sxx, 1e-12) << n;
  EXPECT_EQ(r->STREXACT[std::size_t(m->NPOIN - 1)], 1);  // the centre node
}

}  // namespace
}  // namespace torva
