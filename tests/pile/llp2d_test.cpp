// The 2-D laterally loaded pile against the closed form of a beam on an elastic
// foundation, its head conditions, its failures and its output passes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "model/messages.h"
#include "pile/llp2d.h"
#include "pile/node.h"
#include "pile_fixture.h"

namespace torva {
namespace {

using testing::PileDef;

struct Head2d {
  double V = 0, M = 0;
  bool closed = false;
  int status = 0;
  int ns = 0;
};

class Llp2d : public ::testing::Test {
 protected:
  void SetUp() override {
    m = new_model();
    s = std::make_unique<Llp2dScratch>();
    testing::set_controls(*m);
    m->NDIM = 2;
    T.fill(0.0);
    for (int i = 1; i <= 3; ++i) T(i, i) = 1.0;
    mov.fill(0.0);
    fax.fill(0.0);
  }
  // A long pile (beta L = 8) on a constant subgrade modulus k, given as a user p-y line.
  void elastic(int nseg, double k = 1.0e3) {
    beta = std::pow(k / (4.0 * p.EI), 0.25);
    p.L = 8.0 / beta;
    p.nseg = nseg;
    testing::set_pile(*m, 1, 1, p);
    m->PYSETG(1) = 1;
    testing::set_linear_py(*m, 1, {{0.0, k}});
  }
  Head2d solve(double yt, double st, double P = 0.0, double ua = 0.0) {
    Head2d r;
    NODE2D(*m, 1, r.status);
    r.closed = LLP2D(*m, 1, yt, st, P, r.V, r.M, r.status, ua, T, mov, fax, *s);
    r.ns = s->ns;
    return r;
  }
  std::unique_ptr<Model> m;
  std::unique_ptr<Llp2dScratch> s;
  PileDef p;
  Mat3 T;
  NodeVec mov, fax;
  double beta = 0;
};

// Semi-infinite beam on an elastic foundation with head deflection y0 and head slope t0
// (fixed head): V = 4 EI b^3 y0 + 2 EI b^2 t0, M = 2 EI b^2 y0 + 2 EI b t0; a pinned head
// with deflection y0: V = 2 EI b^3 y0, M = 0.
TEST_F(Llp2d, BeamOnElasticFoundationHeadForces) {
  elastic(100);
  const double EI = p.EI, b = beta;
  struct Case {
    int code;
    double y0, t0, V, M;
  };
  const double y0 = 0.5, t0 = 0.01;
  const Case cases[] = {
      {2, y0, 0.0, 4 * EI * b * b * b * y0, 2 * EI * b * b * y0},
      {2, 0.0, t0, 2 * EI * b * b * t0, 2 * EI * b * t0},
      {2, y0, t0, 4 * EI * b * b * b * y0 + 2 * EI * b * b * t0, 2 * EI * b * b * y0 + 2 * EI * b * t0},
      {1, y0, 0.3, 2 * EI * b * b * b * y0, 0.0},  // a pinned head ignores the rotation
  };
  for (const Case& c : cases) {
    m->CONNECTY(1) = c.code;
    Head2d r = solve(c.y0, c.t0);
    ASSERT_TRUE(r.closed);
    EXPECT_NEAR(r.V / c.V, 1.0, 0.01) << c.code << " " << c.y0 << " " << c.t0;
    if (c.M != 0.0) {
      EXPECT_NEAR(r.M / c.M, 1.0, 0.01) << c.code << " " << c.y0 << " " << c.t0;
    } else {
      EXPECT_NEAR(r.M, 0.0, 1e-9 * std::abs(r.V) * p.L);
    }
    EXPECT_DOUBLE_EQ(s->y(4), c.y0);
    if (c.code == 2) {
      EXPECT_NEAR(s->th(4), c.t0, 1e-12) << "the head slope is the rotation";
    }
  }
}

// User curves start from a modulus growing with depth, so a linear soil closes on the
// third solve (the second takes the true springs, the third repeats it).
TEST_F(Llp2d, LinearSoilClosesAfterTheSpringsSettle) {
  elastic(50);
  Head2d r = solve(1.0, 0.0);
  ASSERT_TRUE(r.closed);
  EXPECT_EQ(r.ns, 3);
  Head2d z = solve(0.0, 0.0);
  ASSERT_TRUE(z.closed);
  EXPECT_EQ(z.ns, 2) << "an unloaded pile closes on its second solve";
  EXPECT_EQ(z.V, 0.0);
  EXPECT_EQ(z.M, 0.0);
}

// Soil movement with p-y curves generated from the soil (a linear elastic subgrade): the
// movement s loads the pile as Es s from the first spring update on, so a fixed-head long
// pile deflects as s + (y0 - s) e^(-bx)(cos bx + sin bx): head moment 2 EI b^2 (y0 - s),
// head shear 4 EI b^3 (y0 - s) less k (y0 - s) h / 2 (the head node at the ground surface
// has no spring).
TEST_F(Llp2d, SoilMovementLoadsThePileThroughItsSprings) {
  const double k = 1.0e3;
  elastic(100, k);
  m->PYSETG(1) = 0;
  testing::set_elastic_soil(*m, k, p.D, 2.0 * p.L);
  const double sm = 0.5, y0 = 0.2;
  testing::set_soil_movement(*m, sm, 0.0, 2.0 * p.L);
  m->IUNITS = 1;
  m->ISTATIC = 1;
  m->TOLCRV = 1.0e-6;
  Head2d r = solve(y0, 0.0);
  ASSERT_EQ(r.status, 0);
  ASSERT_TRUE(r.closed);
  const double EI = p.EI, b = beta, h = p.L / p.nseg;
  EXPECT_NEAR(r.M / (2 * EI * b * b * (y0 - sm)), 1.0, 0.01);
  EXPECT_NEAR(r.V / ((4 * EI * b * b * b - k * h / 2) * (y0 - sm)), 1.0, 0.01);
  EXPECT_NEAR(s->y(p.nseg + 4), sm, 1e-3 * sm) << "the tip moves with the soil";
}

// The springs act on the pile's movement relative to the soil, whichever way the soil
// moves. A fixed head moved by sm + y0 in a uniform soil movement sm leaves the pile riding
// with the soil and moving y0 relative to it; on a curve that yields (p = k y up to 100)
// it must bend as the same pile without movement moved by y0 alone: the same head moment
// and the same shape about the soil. (Taken at |y - |sm||, a soil moving the negative way
// would put the springs at about |y0| + 2 |sm|, far on the yielded part of the curve.)
TEST_F(Llp2d, SoilMovementOfEitherSignActsOnTheMovementRelativeToTheSoil) {
  const double k = 1.0e3;
  elastic(100, k);
  m->PYSETG(1) = 0;
  testing::set_yielding_soil(*m, k, p.D, 2.0 * p.L, 100.0);
  m->CONNECTY(1) = 2;
  struct Case {
    double sm, y0;
  };
  for (const Case c : {Case{0.5, 0.3}, Case{-0.5, 0.3}, Case{-0.5, -0.3}}) {
    SCOPED_TRACE(c.sm);
    SCOPED_TRACE(c.y0);
    m->NSMPT = 0;
    const Head2d still = solve(c.y0, 0.0);
    ASSERT_TRUE(still.closed);
    const double EI = p.EI, b = beta;
    ASSERT_LT(std::abs(still.M), 0.8 * 2 * EI * b * b * std::abs(c.y0)) << "the soil yields";
    NodeVec u;
    for (int mm = 4; mm <= p.nseg + 4; ++mm) u(mm) = s->y(mm);
    testing::set_soil_movement(*m, c.sm, 0.0, 2.0 * p.L);
    const Head2d moving = solve(c.sm + c.y0, 0.0);
    ASSERT_EQ(moving.status, 0);
    ASSERT_TRUE(moving.closed);
    EXPECT_NEAR(moving.M, still.M, 1e-6 * std::abs(still.M));
    double off = 0.0;  // the largest departure from the shape about the soil
    for (int mm = 4; mm <= p.nseg + 4; ++mm) off = std::max(off, std::abs(s->y(mm) - c.sm - u(mm)));
    EXPECT_LT(off, 1e-8);
  }
}

TEST_F(Llp2d, RotationalSpringBetweenPinnedAndFixed) {
  elastic(100);
  m->CONNECTY(1) = 1;
  Head2d pin = solve(1.0, 0.002);
  m->CONNECTY(1) = 2;
  Head2d fix = solve(1.0, 0.002);
  m->CONNECTY(1) = 3;
  m->SPZ(1) = 0.0;
  Head2d k0 = solve(1.0, 0.002);
  m->SPZ(1) = 1.0e20 * p.EI / (p.L / p.nseg);
  Head2d kinf = solve(1.0, 0.002);
  EXPECT_NEAR(k0.V, pin.V, 1e-9 * std::abs(pin.V));
  EXPECT_NEAR(kinf.V, fix.V, 1e-6 * std::abs(fix.V));
  EXPECT_NEAR(kinf.M, fix.M, 1e-6 * std::abs(fix.M));
}

TEST_F(Llp2d, IterationLimitWarnsAndFailsTheStep) {
  elastic(20);
  m->MAXITLLP = 1;
  RowCapture cap;
  Head2d r;
  {
    CaptureScope scope(cap);
    r = solve(1.0, 0.0);
  }
  EXPECT_FALSE(r.closed);
  EXPECT_EQ(cap.istate, 1);
  EXPECT_EQ(r.V, 0.0);
  EXPECT_EQ(r.M, 0.0);
  ASSERT_EQ(cap.lines.size(), 3u);
  EXPECT_EQ(cap.lines[2].second,
            "     ** WARNING **  NO CLOSURE OF A LLP AFTER     1  ITERATIONS          "
            "PILE GROUP    1");
  EXPECT_EQ(cap.lines[2].first, unsigned(TO_REPORT | TO_RUNLOG));
}

// The results pass stores the head values it returns, the node quantities of the plane
// and zeros in the quantities of the second plane; capacity ratios only for
// combinations.
TEST_F(Llp2d, ResultsPassStoresTheReturnedValues) {
  elastic(40);
  for (int k = 1; k <= m->NSECT(1); ++k) m->SMN(1, k) = m->SMNB(1, k) = 1.0e6;
  m->IOPASS = 1;
  const double P = 200.0, ua = 0.05;
  Head2d r = solve(0.5, 0.0, P, ua);
  ASSERT_TRUE(r.closed);
  EXPECT_DOUBLE_EQ(m->PRTOP(1, 18), r.V);
  EXPECT_DOUBLE_EQ(m->PRTOP(1, 19), r.M);
  EXPECT_DOUBLE_EQ(m->PRTOP(1, 17), P);
  EXPECT_DOUBLE_EQ(m->PRTOP(1, 14), ua);
  EXPECT_DOUBLE_EQ(m->PRTOP(1, 15), 0.5);
  EXPECT_DOUBLE_EQ(m->PRTOP(1, 1), ua) << "a vertical pile: global = local";
  EXPECT_DOUBLE_EQ(m->PRTOP(1, 2), 0.5);
  EXPECT_DOUBLE_EQ(m->PRTOP(1, 4), P);
  EXPECT_DOUBLE_EQ(m->PRTOP(1, 5), r.V);
  EXPECT_DOUBLE_EQ(m->PRTOP(1, 20), m->PRTOP(1, 7));
  EXPECT_NEAR(m->PRTOP(1, 7), P / p.A + std::abs(r.M) * p.D / (2 * p.I), 1e-9 * m->PRTOP(1, 7));
  const int N = p.nseg + 4;
  for (int j = 4; j <= N; ++j) {
    EXPECT_DOUBLE_EQ(m->PRNODE(1, j, 2), s->y(j));
    EXPECT_DOUBLE_EQ(m->PRNODE(1, j, 6), s->y(j)) << "horizontal = lateral, vertical pile";
    EXPECT_DOUBLE_EQ(m->PRNODE(1, j, 18), P);
    EXPECT_EQ(m->PRNODE(1, j, 24), 0.0) << "a load case stores no capacity ratio";
    for (int q : {3, 4, 7, 8, 10, 11, 13, 14, 16, 17, 21, 23}) EXPECT_EQ(m->PRNODE(1, j, q), 0.0);
  }
  EXPECT_DOUBLE_EQ(m->PRNODE(1, 4, 9), -r.M) << "stored as +EI y''";
  m->ICOMB = 1;
  m->RFBEND = 0.5;
  solve(0.5, 0.0, P, ua);
  EXPECT_NEAR(m->PRNODE(1, 4, 24), std::abs(r.M) / 1.0e6 / 0.5, 1e-9);
}

// The equivalent-stiffness pass: axial force and stiffness, node spacing, and the
// secant soil modulus at every deflected node.
TEST_F(Llp2d, EquivalentStiffnessPass) {
  const double k = 1.0e3;
  elastic(40, k);
  m->IOPASS = 2;
  const double P = 300.0, ua = 0.1;
  Head2d r = solve(0.5, 0.0, P, ua);
  ASSERT_TRUE(r.closed);
  const double h = p.L / p.nseg;
  EXPECT_DOUBLE_EQ(m->EQTOP(1, 1), P);
  EXPECT_DOUBLE_EQ(m->EQTOP(1, 2), P / ua);
  EXPECT_DOUBLE_EQ(m->EQTOP(1, 3), h);
  EXPECT_DOUBLE_EQ(m->EQDEPN(1, 14), 10 * h);
  EXPECT_NEAR(m->EQKN(1, 10), k, 1e-9 * k);
  EXPECT_EQ(m->PRTOP(1, 18), 0.0) << "nothing is stored as a result";
  // No axial head movement: the curve's slope next to the origin times the axial-load
  // factor (the limit of force over movement), never a zero axial spring.
  testing::set_axial_curve(*m, 1, 2.0);
  ASSERT_TRUE(solve(0.5, 0.0, 0.0, 0.0).closed);
  EXPECT_DOUBLE_EQ(m->EQTOP(1, 2), 2.0 * 500.0);
}

}  // namespace
}  // namespace torva
