// The 3-D laterally loaded pile against closed-form solutions of beams on elastic
// foundations, its head conditions, its failures and its stored results.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "model/messages.h"
#include "pile/llp3d.h"
#include "pile_fixture.h"

namespace torva {
namespace {

using testing::Head;
using testing::PileDef;

class Llp3d : public ::testing::Test {
 protected:
  void SetUp() override {
    m = new_model();
    s = std::make_unique<Llp3dScratch>();
    testing::set_controls(*m);
  }
  // A long pile on a constant subgrade modulus k: beta L = 8 and beta h = 8 / nseg.
  double elastic(int nseg, double k = 1.0e3) {
    beta = std::pow(k / (4.0 * p.EI), 0.25);
    p.L = 8.0 / beta;
    p.nseg = nseg;
    testing::set_pile(*m, 1, 1, p);
    m->PYSETG(1) = 1;
    testing::set_linear_py(*m, 1, {{0.0, k}});  // one curve: the same k at every depth
    return beta;
  }
  std::unique_ptr<Model> m;
  std::unique_ptr<Llp3dScratch> s;
  PileDef p;
  double beta = 0;
};

// Semi-infinite beam on an elastic foundation, head deflection y0: fixed head
// V = 4 EI b^3 y0, M = 2 EI b^2 y0; pinned head V = 2 EI b^3 y0, M = 0.
TEST_F(Llp3d, BeamOnElasticFoundationHeadForces) {
  const double y0 = 0.5;
  double prev_err = 1.0;
  for (int nseg : {25, 50, 100}) {
    elastic(nseg);
    const double EI = p.EI, b = beta;
    m->CONNECTY(1) = 2;
    Head f = testing::solve(*m, *s, 1, y0, 0.0);
    ASSERT_TRUE(f.closed);
    const double err = std::abs(f.Vy / (4 * EI * b * b * b * y0) - 1.0);
    EXPECT_LT(err, prev_err) << "nseg " << nseg;
    prev_err = err;
    if (nseg == 100) {
      EXPECT_NEAR(f.Vy / (4 * EI * b * b * b * y0), 1.0, 0.01);
      EXPECT_NEAR(f.My / (2 * EI * b * b * y0), 1.0, 0.01);
      EXPECT_EQ(f.Vz, 0.0);
      EXPECT_EQ(f.Mz, 0.0);
      EXPECT_EQ(f.ns, 2) << "a linear pile closes on its second solve";
      m->CONNECTY(1) = 1;
      Head pin = testing::solve(*m, *s, 1, y0, 0.0);
      ASSERT_TRUE(pin.closed);
      EXPECT_NEAR(pin.Vy / (2 * EI * b * b * b * y0), 1.0, 0.01);
      EXPECT_NEAR(pin.My, 0.0, 1e-9 * std::abs(f.My));
    }
  }
}

// Reciprocity and the rotational head terms: a head rotation S with no deflection gives
// V = 2 EI b^2 S and M = 2 EI b S; the coupling term equals the moment under a unit
// deflection (a symmetric head stiffness).
TEST_F(Llp3d, HeadStiffnessIsSymmetric) {
  elastic(100);
  const double EI = p.EI, b = beta;
  Head a = testing::solve(*m, *s, 1, 1.0, 0.0);
  Head r = testing::solve(*m, *s, 1, 0.0, 1.0);
  ASSERT_TRUE(a.closed && r.closed);
  EXPECT_NEAR(std::abs(r.Vy) / std::abs(a.My), 1.0, 0.005);
  EXPECT_NEAR(std::abs(r.Vy) / (2 * EI * b * b), 1.0, 0.01);
  EXPECT_NEAR(std::abs(r.My) / (2 * EI * b), 1.0, 0.01);
  // The two planes are the same solution: the z plane with the same values.
  Head z = testing::solve(*m, *s, 1, 0.0, 0.0, 1.0, 0.0);
  EXPECT_DOUBLE_EQ(z.Vz, a.Vy);
  EXPECT_DOUBLE_EQ(z.Mz, a.My);
}

// A modulus growing linearly from zero at the head, Es = nh x, long pile (L / T = 10,
// T = (EI / nh)^(1/5)): head deflection y0 = Ay V T^3 / EI with Ay = 2.435 for a free
// head and Fy = 0.93 for a fixed head.
TEST_F(Llp3d, LinearlyIncreasingModulusHeadDeflection) {
  const double nh = 10.0;
  const double T = std::pow(p.EI / nh, 0.2);
  p.L = 10.0 * T;
  p.nseg = 100;
  testing::set_pile(*m, 1, 1, p);
  m->PYSETG(1) = 1;
  testing::set_linear_py(*m, 1, {{0.0, 0.0}, {p.L, nh * p.L}});
  const double y0 = 1.0;
  m->CONNECTY(1) = 1;
  Head free = testing::solve(*m, *s, 1, y0, 0.0);
  m->CONNECTY(1) = 2;
  Head fixed = testing::solve(*m, *s, 1, y0, 0.0);
  ASSERT_TRUE(free.closed && fixed.closed);
  EXPECT_NEAR(y0 * p.EI / (free.Vy * T * T * T), 2.435, 0.01 * 2.435);
  EXPECT_NEAR(y0 * p.EI / (fixed.Vy * T * T * T), 0.93, 0.01 * 0.93);
}

// A uniform distributed load q on a fixed-head pile in elastic subgrade: the deflection is
// q/k + (y0 - q/k) e^(-bx)(cos bx + sin bx), so the head moment is 2 EI b^2 (y0 - q/k).
// The head shear is the nodal sum of soil reactions less loads, both with half weight at
// the ends: the closed form 4 EI b^3 (y0 - q/k). (With the loads at full weight at the
// ends it would be q h, 8 % here, less.)
TEST_F(Llp3d, UniformDistributedLoadOnFixedHead) {
  const double k = 1.0e3, q = 50.0;
  elastic(100, k);
  const int n = p.nseg;
  const double h = p.L / n;
  m->DLNODES(1) = n + 1;
  for (int i = 1; i <= n + 1; ++i) {
    m->DLPOS(1, i) = (i - 1) * h;  // a product, while the node coordinates are sums
    m->DLWY(1, i) = q;
  }
  const double y0 = 2.0 * q / k;
  Head f = testing::solve(*m, *s, 1, y0, 0.0);
  ASSERT_TRUE(f.closed);
  const double EI = p.EI, b = beta, d = y0 - q / k;
  EXPECT_NEAR(f.My / (2 * EI * b * b * d), 1.0, 0.01);
  const double want = 4 * EI * b * b * b * d;
  EXPECT_NEAR(f.Vy / want, 1.0, 0.01);
  EXPECT_NEAR(s->y(n + 4), q / k, 1e-3 * q / k) << "the tip carries its load";
}

// Soil movement with p-y curves generated from the soil (a linear elastic subgrade): the
// movement s loads the pile as Es s, so a fixed-head long pile deflects as
// s + (y0 - s) e^(-bx)(cos bx + sin bx) in each plane; the head moment is 2 EI b^2 (y0 - s)
// and the head shear 4 EI b^3 (y0 - s) as a nodal sum of k (y - s) with half weights at
// the ends, less k (y0 - s) h / 2 because the head node, at the ground surface, has no
// spring. Different movements along global Y and Z reach the two planes of a vertical
// pile.
TEST_F(Llp3d, SoilMovementLoadsThePileThroughItsSprings) {
  const double k = 1.0e3;
  elastic(100, k);
  m->PYSETG(1) = 0;
  testing::set_elastic_soil(*m, k, p.D, 2.0 * p.L);
  const double sy = 0.5, sz = -0.2, y0 = 0.2, z0 = 0.3;
  testing::set_soil_movement(*m, sy, sz, 2.0 * p.L);
  m->IUNITS = 1;
  m->ISTATIC = 1;
  m->TOLCRV = 1.0e-6;
  Head r = testing::solve(*m, *s, 1, y0, 0.0, z0, 0.0);
  ASSERT_EQ(r.status, 0);
  ASSERT_TRUE(r.closed);
  const double EI = p.EI, b = beta, h = p.L / p.nseg;
  EXPECT_NEAR(r.My / (2 * EI * b * b * (y0 - sy)), 1.0, 0.01);
  EXPECT_NEAR(r.Mz / (2 * EI * b * b * (z0 - sz)), 1.0, 0.01);
  EXPECT_NEAR(r.Vy / ((4 * EI * b * b * b - k * h / 2) * (y0 - sy)), 1.0, 0.01);
  EXPECT_NEAR(r.Vz / ((4 * EI * b * b * b - k * h / 2) * (z0 - sz)), 1.0, 0.01);
  EXPECT_NEAR(s->y(p.nseg + 4), sy, 1e-3 * sy) << "the tip moves with the soil";
  EXPECT_NEAR(s->z(p.nseg + 4), sz, 1e-3 * std::abs(sz));
}

// The springs act on the pile's movement relative to the soil. A fixed head moved with a
// uniform soil movement sy along Y and by z0 along Z leaves the pile in the Y plane riding
// with the soil (y = sy at every node) and moving z relative to it; on a curve that yields
// (p = k y up to 100) the Z plane must then answer as the same pile without soil movement
// moved by z0 alone. (Taken at the difference of the magnitudes, |(sy, z)| - sy, the
// relative movement would be about z^2 / (2 sy): the springs would stay on their initial
// slope and the head forces of the Z plane would be those of the unyielded soil.)
TEST_F(Llp3d, SoilMovementActsOnTheMovementRelativeToTheSoil) {
  const double k = 1.0e3, sy = 0.5, z0 = 0.3;
  elastic(100, k);
  m->PYSETG(1) = 0;
  testing::set_yielding_soil(*m, k, p.D, 2.0 * p.L, 100.0);
  m->CONNECTY(1) = m->CONNECTZ(1) = 2;
  const Head still = testing::solve(*m, *s, 1, 0.0, 0.0, z0, 0.0);
  ASSERT_TRUE(still.closed);
  const double EI = p.EI, b = beta;
  ASSERT_LT(still.Vz, 0.8 * 4 * EI * b * b * b * z0) << "the soil near the head yields";
  testing::set_soil_movement(*m, sy, 0.0, 2.0 * p.L);
  const Head moving = testing::solve(*m, *s, 1, sy, 0.0, z0, 0.0);
  ASSERT_EQ(moving.status, 0);
  ASSERT_TRUE(moving.closed);
  EXPECT_NEAR(moving.Vz, still.Vz, 1e-6 * still.Vz);
  EXPECT_NEAR(moving.Mz, still.Mz, 1e-6 * std::abs(still.Mz));
  for (int mm = 4; mm <= p.nseg + 4; ++mm) EXPECT_NEAR(s->y(mm), sy, 1e-9) << mm;
}

// The rotational spring lies between the pinned and the fixed head: K = 0 is pinned, a
// very stiff spring is fixed.
TEST_F(Llp3d, RotationalSpringBetweenPinnedAndFixed) {
  elastic(100);
  m->CONNECTY(1) = 1;
  Head pin = testing::solve(*m, *s, 1, 1.0, 0.0);
  m->CONNECTY(1) = 2;
  Head fix = testing::solve(*m, *s, 1, 1.0, 0.0);
  m->CONNECTY(1) = 3;
  m->SPZ(1) = 0.0;
  Head k0 = testing::solve(*m, *s, 1, 1.0, 0.0);
  m->SPZ(1) = 1.0e20 * p.EI / (p.L / p.nseg);
  Head kinf = testing::solve(*m, *s, 1, 1.0, 0.0);
  EXPECT_NEAR(k0.Vy, pin.Vy, 1e-9 * std::abs(pin.Vy));
  EXPECT_NEAR(kinf.Vy, fix.Vy, 1e-6 * std::abs(fix.Vy));
  EXPECT_NEAR(kinf.My, fix.My, 1e-6 * std::abs(fix.My));
}

TEST_F(Llp3d, ZeroHeadMovementClosesOnSecondSolveWithZeroForces) {
  elastic(100);
  Head r = testing::solve(*m, *s, 1, 0.0, 0.0);
  EXPECT_TRUE(r.closed);
  EXPECT_EQ(r.ns, 2);
  EXPECT_EQ(r.Vy, 0.0);
  EXPECT_EQ(r.My, 0.0);
}

// No closure within the limit: the warning on both files, state 1, head values 0.
TEST_F(Llp3d, IterationLimitWarnsAndFailsTheStep) {
  elastic(100);
  m->MAXITLLP = 1;
  RowCapture cap;
  Head r;
  {
    CaptureScope scope(cap);
    r = testing::solve(*m, *s, 1, 1.0, 0.0);
  }
  EXPECT_FALSE(r.closed);
  EXPECT_EQ(cap.istate, 1);
  EXPECT_EQ(m->ISTATE, 0) << "inside a row loop the state goes to the row's capture";
  EXPECT_EQ(r.Vy, 0.0);
  EXPECT_EQ(r.My, 0.0);
  ASSERT_EQ(cap.lines.size(), 3u);
  EXPECT_EQ(cap.lines[0].second, "");
  EXPECT_EQ(cap.lines[1].second, "");
  EXPECT_EQ(cap.lines[2].second,
            "     ** WARNING **  NO CLOSURE OF A LLP AFTER     1  ITERATIONS          "
            "PILE GROUP    1");
  EXPECT_EQ(cap.lines[2].first, unsigned(TO_REPORT | TO_RUNLOG));
}

// A pile with no bending stiffness and no soil has a singular band: a failed pile
// solution, not a closed shape of zeros. Also a degenerate rotational-spring head.
TEST_F(Llp3d, SingularSystemIsAFailedSolution) {
  for (int code : {1, 3}) {
    p.EI = 0.0;
    p.nseg = 20;
    testing::set_pile(*m, 1, 1, p);
    m->CONNECTY(1) = code;
    m->SPZ(1) = 0.0;
    m->PYSETG(1) = 1;
    testing::set_linear_py(*m, 1, {{0.0, 0.0}});
    m->ISTATE = 0;
    Head r = testing::solve(*m, *s, 1, 1.0, 0.0);
    EXPECT_FALSE(r.closed) << code;
    EXPECT_EQ(m->ISTATE, 1) << code;
    EXPECT_EQ(r.Vy, 0.0);
  }
}

// The axial load: compression lowers the lateral head stiffness of a soft-soil pile
// (P-delta), tension raises it.
TEST_F(Llp3d, AxialCompressionSoftensTheHead) {
  elastic(100, 10.0);
  Head p0 = testing::solve(*m, *s, 1, 1.0, 0.0, 0.0, 0.0, 0.0);
  Head pc = testing::solve(*m, *s, 1, 1.0, 0.0, 0.0, 0.0, 1.0e4);
  Head pt = testing::solve(*m, *s, 1, 1.0, 0.0, 0.0, 0.0, -1.0e4);
  EXPECT_LT(pc.Vy, p0.Vy);
  EXPECT_GT(pt.Vy, p0.Vy);
}

// What a scratch keeps from call to call (the row's set-up, its curve constants and their
// replay) gives the head forces of a fresh scratch bit for bit, row after row: two rows of
// different stiffness and length on generated soil stiffening with depth, and the first
// row again after its head moved down and in other segments.
TEST_F(Llp3d, KeptSetUpGivesTheResultsOfAFreshScratch) {
  testing::set_elastic_soil(*m, 1.0e3, p.D, 400.0);
  m->SPK(2) = 4.0 * m->SPK(1);  // stiffer with depth, yielding
  m->SPC(1) = m->SPC(2) = 2.0;
  testing::set_pile(*m, 1, 1, p);
  PileDef q = p;
  q.EI = 4.0e10;
  q.L = 140.0;
  q.nseg = 70;
  testing::set_pile(*m, 2, 2, q);
  m->NROW = 2;
  renew_py_constants(*m);
  const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
  const auto check = [&](int g, const char* what) {
    const Head kept = testing::solve(*m, *s, g, 0.4, 0.001, 0.1);
    const auto fresh_s = std::make_unique<Llp3dScratch>();
    const Head fresh = testing::solve(*m, *fresh_s, g, 0.4, 0.001, 0.1);
    ASSERT_TRUE(kept.closed) << what;
    EXPECT_EQ(kept.ns, fresh.ns) << what;
    EXPECT_EQ(bits(kept.Vy), bits(fresh.Vy)) << what;
    EXPECT_EQ(bits(kept.Vz), bits(fresh.Vz)) << what;
    EXPECT_EQ(bits(kept.My), bits(fresh.My)) << what;
  };
  check(1, "row 1");
  check(1, "row 1 again");
  check(2, "row 2");
  check(1, "row 1 after row 2");
  m->CORX(1) = m->HEADDEP(1) = 12.0;
  check(1, "row 1, head 12 lower");
  m->NSECT(1) = 2;  // the lower half twice as stiff, in 50 segments
  m->STO(1, 1) = m->SFROM(1, 2) = 50.0;
  m->STO(1, 2) = 100.0;
  m->SEIZ(1, 2) = m->SEIZB(1, 2) = m->SEIY(1, 2) = m->SEIYB(1, 2) = 2.0e10;
  renew_py_constants(*m);
  check(1, "row 1, two sections");
  m->NSEG(1) = 50;
  check(1, "row 1, two sections in 50 segments");
}

}  // namespace
}  // namespace torva
