// Flexural rigidity from moment-curvature curves, alone and inside the pile solution.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "pile/eimphi.h"
#include "pile/llp2d.h"
#include "pile_fixture.h"

namespace torva {
namespace {

class Eimphi : public ::testing::Test {
 protected:
  void SetUp() override {
    m = new_model();
    testing::set_controls(*m);
    p.L = 10.0;
    p.nseg = 10;  // h = 1
    testing::set_pile(*m, 1, 1, p);
    m->PYSETG(1) = 1;
    int st = 0;
    NODE(*m, 1, st);
    m->ISEIZ(1, 1) = 1;
    m->NMPHI = 1;
  }
  // Curve c of set 1 at axial load P: M = k phi up to phi = 1, constant beyond phi = 2.
  void curve(int c, double P, double k) {
    m->NCRVMP(1) = c;
    m->AXLMP(1, c) = P;
    m->NPTMP(1, c) = 3;
    m->PHIMP(1, c, 2) = 1.0;
    m->MOMMP(1, c, 2) = k;
    m->PHIMP(1, c, 3) = 2.0;
    m->MOMMP(1, c, 3) = 1.5 * k;
  }
  // EI of entry 5 for a second difference phi there (entries 4 and 6 straight).
  double ei_at(double phi, double P) {
    NodeVec EI, y;
    EI.fill(7.0);
    y.fill(0.0);
    y(5) = -0.5 * phi;
    y(4) = y(6) = 0.0;
    y(3) = 0.5 * phi;  // keeps the head entry on its initial secant too
    EIMPHIY(*m, 1, P, EI, y);
    return EI(5);
  }
  std::unique_ptr<Model> m;
  testing::PileDef p;
};

TEST_F(Eimphi, SecantOfTheCurveByCurvatureAndAxialLoad) {
  curve(1, 0.0, 100.0);
  curve(2, 10.0, 300.0);
  EXPECT_DOUBLE_EQ(ei_at(0.0, -5.0), 100.0) << "straight: initial secant of curve 1";
  EXPECT_DOUBLE_EQ(ei_at(1e-16, -5.0), 100.0) << "a tiny curvature counts as zero";
  EXPECT_DOUBLE_EQ(ei_at(1.5, 0.0), 125.0 / 1.5) << "between points 2 and 3";
  EXPECT_DOUBLE_EQ(ei_at(4.0, 0.0), 150.0 / 4.0) << "plateau beyond the last point";
  EXPECT_DOUBLE_EQ(ei_at(0.5, 5.0), 200.0) << "halfway between the curves: the mean";
  EXPECT_DOUBLE_EQ(ei_at(0.5, 10.0), 300.0) << "at the last curve's load";
  m->NPTMP(1, 1) = 1;  // a curve of one point has no secant: the EI stays
  EXPECT_DOUBLE_EQ(ei_at(0.5, -5.0), 7.0);
  m->ISEIZ(1, 1) = 0;
  EXPECT_DOUBLE_EQ(ei_at(0.5, 5.0), 7.0) << "an elastic section keeps its EI";
}

// Inside the pile solution: a linear set gives the elastic result; a set with a plastic
// plateau lowers the head stiffness once the head moment passes it.
TEST_F(Eimphi, PileWithMomentCurvatureSet) {
  auto s = std::make_unique<Llp3dScratch>();
  const double k = 1.0e3;
  p.EI = 1.0e10;
  const double beta = std::pow(k / (4.0 * p.EI), 0.25);
  p.L = 8.0 / beta;
  p.nseg = 100;
  testing::set_pile(*m, 1, 1, p);
  testing::set_linear_py(*m, 1, {{0.0, k}});
  m->NMPHI = 0;
  testing::Head el = testing::solve(*m, *s, 1, 0.1, 0.0);
  m->NMPHI = 1;
  m->NCRVMP(1) = 1;
  m->NPTMP(1, 1) = 2;
  m->PHIMP(1, 1, 2) = 1.0;
  m->MOMMP(1, 1, 2) = p.EI;
  for (int prev : {0, 1}) {
    m->IEIPREV = prev;
    testing::Head li = testing::solve(*m, *s, 1, 0.1, 0.0);
    ASSERT_TRUE(li.closed);
    EXPECT_NEAR(li.Vy, el.Vy, 1e-9 * std::abs(el.Vy));
    EXPECT_NEAR(li.My, el.My, 1e-9 * std::abs(el.My));
  }
  // Yield at 60 % of the elastic head moment: the head EI falls to M_y / phi.
  const double phi_y = 0.6 * el.My / p.EI;
  m->NPTMP(1, 1) = 3;
  m->PHIMP(1, 1, 2) = phi_y;
  m->MOMMP(1, 1, 2) = p.EI * phi_y;
  m->PHIMP(1, 1, 3) = 1.0;
  m->MOMMP(1, 1, 3) = p.EI * phi_y;
  m->IEIPREV = 0;
  m->MAXITLLP = 500;
  testing::Head pl = testing::solve(*m, *s, 1, 0.1, 0.0);
  ASSERT_TRUE(pl.closed);
  EXPECT_LT(pl.Vy, el.Vy);
  EXPECT_LT(s->EIz(4), p.EI);
  EXPECT_NEAR(pl.My, p.EI * phi_y, 0.02 * p.EI * phi_y) << "the head moment sits on the plateau";
  EXPECT_DOUBLE_EQ(s->EIz(p.nseg + 4), p.EI) << "the unbent tip keeps its initial secant";
}

// A rotational-spring head on a section that yields: the head condition follows the
// head's current bending stiffness at every solve, so the head moment is the spring
// stiffness times the spring's rotation (pile slope against cap rotation) in both models,
// and the 2-D pile gives the forces of the 3-D pile's y plane.
TEST_F(Eimphi, SpringHeadMomentIsSpringTimesRotationInBothModels) {
  const double k = 1.0e3;
  p.EI = 1.0e10;
  const double beta = std::pow(k / (4.0 * p.EI), 0.25);
  p.L = 8.0 / beta;
  p.nseg = 100;
  const double h = p.L / p.nseg;
  testing::set_pile(*m, 1, 1, p);
  testing::set_linear_py(*m, 1, {{0.0, k}});
  const double yt = 0.1, st = 2.0e-4;
  const double K = 2.0 * p.EI * beta;  // the pile's own rotational stiffness at the head
  // Yield at 30 % of the elastic fixed-head moment.
  const double phi_y = 0.3 * 2.0 * p.EI * beta * beta * yt / p.EI;
  m->NCRVMP(1) = 1;
  m->NPTMP(1, 1) = 3;
  m->PHIMP(1, 1, 2) = phi_y;
  m->MOMMP(1, 1, 2) = p.EI * phi_y;
  m->PHIMP(1, 1, 3) = 1.0;
  m->MOMMP(1, 1, 3) = 1.2 * p.EI * phi_y;
  m->IEIPREV = 0;
  m->MAXITLLP = 500;
  m->CONNECTY(1) = m->CONNECTZ(1) = 3;
  m->SPZ(1) = m->SPY(1) = K;

  auto s3 = std::make_unique<Llp3dScratch>();
  const testing::Head r3 = testing::solve(*m, *s3, 1, yt, -st);
  ASSERT_TRUE(r3.closed);
  ASSERT_LT(s3->EIz(4), 0.9 * p.EI) << "the head section has yielded";
  const double slope3 = (s3->y(5) - s3->y(3)) / (2.0 * h);
  EXPECT_NEAR(r3.My, -K * (slope3 - st), 1e-4 * std::abs(r3.My));

  m->NDIM = 2;
  auto s2 = std::make_unique<Llp2dScratch>();
  Mat3 T;
  T.fill(0.0);
  for (int i = 1; i <= 3; ++i) T(i, i) = 1.0;
  NodeVec mov, fax;
  mov.fill(0.0);
  fax.fill(0.0);
  int status = 0;
  NODE2D(*m, 1, status);
  double V = 0.0, M = 0.0;
  ASSERT_TRUE(LLP2D(*m, 1, yt, st, 0.0, V, M, status, 0.0, T, mov, fax, *s2));
  ASSERT_LT(s2->EI(4), 0.9 * p.EI);
  EXPECT_NEAR(M, K * (st - s2->th(4)), 1e-4 * std::abs(M));
  EXPECT_NEAR(M, r3.My, 1e-4 * std::abs(r3.My));
  EXPECT_NEAR(V, r3.Vy, 1e-4 * std::abs(r3.Vy));
}

// IEIPREV = 2: the stiffness of the straight pile, each node's initial secant, stays in
// force for every solve, however far the bent pile passes the curve's plateau. With an
// initial secant of half the section's elastic EI, the pile answers as an elastic pile of
// that EI (the entries beyond the tip of a long pile keep the section's EI, hence 1e-5).
TEST_F(Eimphi, InitialStiffnessKeptForEverySolve) {
  const double k = 1.0e3, EI0 = 0.5e10;
  const double beta = std::pow(k / (4.0 * EI0), 0.25);
  p.L = 8.0 / beta;
  p.nseg = 100;
  testing::set_linear_py(*m, 1, {{0.0, k}});
  auto s3 = std::make_unique<Llp3dScratch>();
  auto s2 = std::make_unique<Llp2dScratch>();
  auto solve = [&](int dim) {
    return dim == 3 ? testing::solve(*m, *s3, 1, 0.1, 0.0) : testing::solve2d(*m, *s2, 1, 0.1, 0.0);
  };
  for (int dim : {3, 2}) {
    SCOPED_TRACE(dim);
    p.EI = EI0;
    testing::set_pile(*m, 1, 1, p);
    m->NMPHI = 0;
    const testing::Head el = solve(dim);
    ASSERT_TRUE(el.closed);
    // Initial slope EI0, yield at 30 % of the elastic head moment, then a plateau.
    p.EI = 1.0e10;
    testing::set_pile(*m, 1, 1, p);
    m->NMPHI = 1;
    curve(1, 0.0, 1.0);
    const double phi_y = 0.3 * el.My / EI0;
    m->PHIMP(1, 1, 2) = phi_y;
    m->MOMMP(1, 1, 2) = m->MOMMP(1, 1, 3) = EI0 * phi_y;
    m->IEIPREV = 2;
    const testing::Head r = solve(dim);
    ASSERT_TRUE(r.closed);
    EXPECT_NEAR(r.Vy / el.Vy, 1.0, 1e-5);
    EXPECT_NEAR(r.My / el.My, 1.0, 1e-5);
    EXPECT_EQ(dim == 3 ? s3->EIz(4) : s2->EI(4), EI0) << "the head keeps its initial secant";
    m->IEIPREV = 0;  // the secant of the bent pile: the head yields
    m->MAXITLLP = 500;
    const testing::Head pl = solve(dim);
    ASSERT_TRUE(pl.closed);
    EXPECT_LT(pl.My, 0.5 * el.My);
  }
}

}  // namespace
}  // namespace torva
