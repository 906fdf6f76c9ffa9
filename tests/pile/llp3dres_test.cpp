// Results of a closed pile shape, their store and envelopes, and the row loop in threads.
#include <gtest/gtest.h>
#include <omp.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "model/messages.h"
#include "pile/llp3d.h"
#include "pile/pileres.h"
#include "pile_fixture.h"
#include "report/envewr.h"

namespace torva {
namespace {

// A soft nonlinear p-y curve p = pu y / (y50 + y) (pu = 200, y50 = 0.2), the same at every
// depth, on a 30 m style pile of 60 segments.
void soft_curve(Model& m) {
  m.NCRVPY(1) = 1;
  m.PYDEP(1, 1) = 0.0;
  m.NPTPY(1, 1) = 40;
  for (int i = 1; i <= 40; ++i) {
    const double y = i == 1 ? 0.0 : 0.01 * std::pow(1.25, i - 2);
    m.PYY(1, 1, i) = y;
    m.PYP(1, 1, i) = 200.0 * y / (0.2 + y);
  }
}

class Results : public ::testing::Test {
 protected:
  void SetUp() override {
    m = new_model();
    s = std::make_unique<Llp3dScratch>();
    testing::set_controls(*m);
    p.L = 600.0;
    p.nseg = 60;
    p.EI = 1.0e9;
    p.D = 20.0;
    p.I = 5.0e3;
    p.A = 300.0;
    for (int g = 1; g <= 8; ++g) {
      testing::set_pile(*m, g, 1, p);
      m->PYSETG(g) = 1;
    }
    soft_curve(*m);
    m->TOLPILE = 1e-7;
  }
  std::unique_ptr<Model> m;
  std::unique_ptr<Llp3dScratch> s;
  testing::PileDef p;
};

// The soft pile closes in a bounded number of solves, and the results pass stores pile-
// top values and node quantities that reproduce the head values.
TEST_F(Results, NonlinearPileStoresItsHeadValues) {
  testing::Head lin = testing::solve(*m, *s, 1, 0.001, 0.0, 0.0005, 0.0);
  m->IOPASS = 1;
  testing::Head r = testing::solve(*m, *s, 1, 1.5, 0.0, 0.8, 0.0, 500.0);
  ASSERT_TRUE(r.closed);
  EXPECT_LE(r.ns, 30);
  EXPECT_GT(r.ns, 3) << "a soft pile needs more than the linear solves";
  EXPECT_LT(r.Vy / 1.5, lin.Vy / 0.001) << "the secant stiffness falls with the deflection";
  const int N = p.nseg + 4;
  EXPECT_EQ(m->PRTOP(1, 20), 500.0);
  EXPECT_EQ(m->PRTOP(1, 21), r.Vy);
  EXPECT_EQ(m->PRTOP(1, 22), r.Vz);
  EXPECT_EQ(m->PRTOP(1, 24), -r.Mz);
  EXPECT_EQ(m->PRTOP(1, 25), r.My);
  EXPECT_EQ(m->PRTOP(1, 26), m->PRTOP(1, 13));
  EXPECT_EQ(m->PRTOP(1, 15), 1.5);
  EXPECT_EQ(m->PRTOP(1, 2), 1.5) << "a vertical pile: global Y is local y";
  EXPECT_EQ(m->PRNODE(1, 4, 2), 1.5);
  EXPECT_EQ(m->PRNODE(1, 4, 3), 0.8);
  EXPECT_DOUBLE_EQ(m->PRNODE(1, 4, 9), -r.My) << "stored moments are +EI y''";
  EXPECT_DOUBLE_EQ(m->PRNODE(1, 4, 10), -r.Mz);
  EXPECT_EQ(m->PRNODE(1, N, 9), 0.0) << "no moment at the tip";
  EXPECT_EQ(m->PRNODE(1, 4, 18), 500.0) << "no axial distribution: the head force";
  EXPECT_DOUBLE_EQ(m->PRNODE(1, 4, 6), 1.5);
  // The head shear is the nodal sum of the stored soil reactions (half weight at ends).
  double sum = 0;
  for (int j = 4; j <= N; ++j) sum += (j == 4 || j == N ? 0.5 : 1.0) * m->PRNODE(1, j, 15);
  EXPECT_NEAR(sum * p.L / p.nseg, r.Vy, 1e-9 * std::abs(r.Vy));
  // Stress at the head: axial over area plus the two bending stresses combined.
  const double sb = std::hypot(r.My * p.D / (2 * p.I), r.Mz * p.D / (2 * p.I));
  EXPECT_NEAR(m->PRTOP(1, 13), 500.0 / p.A + sb, 1e-9 * m->PRTOP(1, 13));
  EXPECT_EQ(m->PRNODE(1, 4, 24), 0.0) << "no capacity ratios for a load case";
  EXPECT_EQ(m->EMNTOP(1, 21), r.Vy);
  EXPECT_EQ(m->EMXTOP(1, 21), r.Vy);
}

// Capacity ratios for a combination, and a section without area or inertia.
TEST_F(Results, CapacityRatiosAndUnguardedSections) {
  m->SMN(1, 1) = m->SMNB(1, 1) = 1.0e6;
  m->SVN(1, 1) = m->SVNB(1, 1) = 1.0e4;
  m->ICOMB = 1;
  m->RFBEND = 0.5;
  m->IOPASS = 1;
  testing::Head r = testing::solve(*m, *s, 1, 0.5, 0.0, 0.5, 0.0);
  EXPECT_DOUBLE_EQ(m->PRNODE(1, 4, 24), std::hypot(r.My, r.Mz) / 1.0e6 / 0.5);
  EXPECT_GT(m->PRNODE(1, 4, 25), 0.0);
  m->SAREA(1, 1) = m->SAREAB(1, 1) = 0.0;
  m->SIZ(1, 1) = m->SIZB(1, 1) = m->SIY(1, 1) = m->SIYB(1, 1) = 0.0;
  testing::solve(*m, *s, 1, 0.5, 0.0, 0.5, 0.0, 100.0);
  EXPECT_EQ(m->PRTOP(1, 13), 0.0) << "no section: no stress, never a NaN";
}

// Equivalent-stiffness pass: secant moduli along the pile, nothing stored in PILERES.
TEST_F(Results, EquivalentStiffnessPass) {
  m->IOPASS = 2;
  testing::set_axial_curve(*m, 1, 2.0);
  testing::Head r = testing::solve(*m, *s, 1, 0.5, 0.0, 0.0, 0.0, 100.0);
  ASSERT_TRUE(r.closed);
  EXPECT_EQ(m->EQTOP(1, 1), 100.0);
  // No axial head movement: the curve's slope next to the origin, scaled like the head
  // force by the axial-load factor, so that it is the limit of force over movement.
  EXPECT_DOUBLE_EQ(m->EQTOP(1, 2), 2.0 * 500.0);
  EXPECT_EQ(m->EQDEPN(1, 0), 10.0);
  EXPECT_EQ(m->EQDEPN(1, 6), 20.0);
  EXPECT_DOUBLE_EQ(m->EQKN(1, 4), s->Es(4));
  EXPECT_EQ(m->EQKN2(1, 4), 0.0) << "no deflection in the z plane";
  EXPECT_EQ(m->PRTOP(1, 21), 0.0);
}

// The envelope rule: the first store initialises, later stores keep the running minimum
// and maximum, and a NaN changes neither.
TEST(PileEnvelopes, RunningMinimumAndMaximum) {
  auto m = new_model();
  double UG[6] = {1, 2, 3, 4, 5, 6}, UL[6] = {}, FG[6] = {}, FL[6] = {};
  m->NRESLT = 1;
  PILEENV(*m, 3, 10.0, UG, UL, FG, FL);
  EXPECT_EQ(m->EMNTOP(3, 1), 1.0);
  EXPECT_EQ(m->EMXTOP(3, 13), 10.0);
  m->NRESLT = 2;
  UG[0] = -1.0;
  PILEENV(*m, 3, NAN, UG, UL, FG, FL);
  EXPECT_EQ(m->EMNTOP(3, 1), -1.0);
  EXPECT_EQ(m->EMXTOP(3, 1), 1.0);
  EXPECT_EQ(m->EMXTOP(3, 26), 10.0);
  EXPECT_TRUE(std::isnan(m->PRTOP(3, 13)));
  NodeBlock b;
  b.fill(2.0);
  m->PRNODE(3, 15, 1) = 99.0;
  NODEENV(*m, 3, 14, 3, 1.0, b);  // NSEG = 10: nodes 4..14
  EXPECT_EQ(m->PRNODE(3, 14, 25), 2.0);
  EXPECT_EQ(m->PRNODE(3, 15, 1), 99.0);
  EXPECT_EQ(m->EMXNODE(3, 4, 1), 2.0);
}

// A reset before a new series clears every node entry stored since the last one, of the
// quantities of the model's dimension (2-D: the first 8), whatever the row's length.
TEST(PileEnvelopes, ResetClearsStoredNodes) {
  auto m = new_model();
  m->NROW = 3;
  NodeBlock b;
  b.fill(2.0);
  for (const bool plane : {false, true}) {
    m->NRESLT = 1;
    NODEENV(*m, 3, 14, 3, 1.0, b);
    m->NRESLT = 2;
    NODEENV(*m, 3, 20, 3, 1.0, b);
    plane ? ENVINIT2D(*m) : ENVINIT(*m);
    for (int n : {4, 14, 20}) {
      EXPECT_EQ(m->EMNNODE(3, n, 1), 0.0) << n;
      EXPECT_EQ(m->EMXNODE(3, n, 8), 0.0) << n;
      EXPECT_EQ(m->EMXNODE(3, n, 25), plane ? 2.0 : 0.0) << n;
    }
    EXPECT_EQ(m->PRNODE(3, 20, 1), 2.0) << "the last results stay";
  }
}

// The node envelopes through a series: the first result alone is both envelopes; a second
// result takes the running extremes, a row first stored then starts from the reset's 0;
// the reset of a series of one result leaves the next series clean.
TEST(PileEnvelopes, NodeEnvelopesOverASeries) {
  auto m = new_model();
  m->NROW = 4;
  NodeBlock b;
  b.fill(2.0);
  b(9, 3) = -1.0;
  b(5, 25) = NAN;
  m->NRESLT = 1;
  NODEENV(*m, 3, 14, 3, 1.0, b);
  for (const bool max : {false, true}) {
    EXPECT_EQ(NODEENVAT(*m, 3, 4, 1, max), 2.0);
    EXPECT_EQ(NODEENVAT(*m, 3, 9, 3, max), -1.0);
    EXPECT_TRUE(std::isnan(NODEENVAT(*m, 3, 5, 25, max)));
    EXPECT_EQ(NODEENVAT(*m, 3, 15, 1, max), 0.0) << "past the pile's entries";
  }
  m->NRESLT = 2;
  NodeBlock c;
  c.fill(3.0);
  NODEENV(*m, 3, 14, 3, 1.0, c);
  NODEENV(*m, 4, 14, 3, 1.0, c);
  EXPECT_EQ(NODEENVAT(*m, 3, 4, 1, false), 2.0);
  EXPECT_EQ(NODEENVAT(*m, 3, 4, 1, true), 3.0);
  EXPECT_EQ(NODEENVAT(*m, 3, 9, 3, false), -1.0);
  EXPECT_TRUE(std::isnan(NODEENVAT(*m, 3, 5, 25, true))) << "a NaN first result stays";
  EXPECT_EQ(NODEENVAT(*m, 4, 4, 1, false), 0.0);
  EXPECT_EQ(NODEENVAT(*m, 4, 4, 1, true), 3.0);
  EXPECT_EQ(m->PRNODE(3, 9, 3), 3.0);

  ENVINIT(*m);
  m->NRESLT = 1;
  NODEENV(*m, 4, 10, 3, 1.0, b);
  ENVINIT(*m);
  for (const int g : {3, 4})
    for (const bool max : {false, true}) EXPECT_EQ(NODEENVAT(*m, g, 9, 3, max), 0.0) << g;
}

// Many rows solved in a parallel loop give bitwise the same results with 1 and 8
// threads: every row works in its thread's scratch and writes only its own entries.
TEST_F(Results, ParallelRowsMatchSerialBitwise) {
  const int nrow = 64;
  for (int g = 1; g <= nrow; ++g) {
    testing::set_pile(*m, g, 1, p);
    m->PYSETG(g) = 1;
    m->CONNECTY(g) = 1 + g % 3;
    m->SPZ(g) = 1e8;
  }
  m->IOPASS = 1;
  auto run = [&](int threads, std::vector<double>& out) {
    out.assign(std::size_t(nrow) * 4, 0.0);
    std::vector<RowCapture> caps(std::size_t(nrow) + 1);
    std::vector<std::unique_ptr<Llp3dScratch>> scratch;
    for (int i = 0; i < threads; ++i) scratch.push_back(std::make_unique<Llp3dScratch>());
#pragma omp parallel for schedule(static) num_threads(threads)
    for (int g = 1; g <= nrow; ++g) {
      CaptureScope scope(caps[std::size_t(g)]);
      testing::Head r = testing::solve(*m, *scratch[std::size_t(omp_get_thread_num())], g,
                                       0.02 * g, 0.001, 0.01 * (g % 5), 0.0, 10.0 * g);
      caps[std::size_t(g)].status = r.status;
      const std::size_t i = std::size_t(g - 1) * 4;
      out[i] = r.Vy, out[i + 1] = r.Vz, out[i + 2] = r.My, out[i + 3] = r.Mz;
    }
    EXPECT_EQ(combine_status(caps, 1, nrow), 0);
    EXPECT_EQ(combine_istate(caps, 1, nrow), 0);
  };
  std::vector<double> one, eight;
  run(1, one);
  std::vector<double> stored1(std::size_t(nrow) * 25);
  for (int g = 1; g <= nrow; ++g)
    for (int k = 1; k <= 25; ++k) stored1[std::size_t((g - 1) * 25 + k - 1)] = m->PRNODE(g, 30, k);
  run(8, eight);
  EXPECT_EQ(std::memcmp(one.data(), eight.data(), one.size() * sizeof(double)), 0);
  for (int g = 1; g <= nrow; ++g)
    for (int k = 1; k <= 25; ++k)
      EXPECT_EQ(stored1[std::size_t((g - 1) * 25 + k - 1)], m->PRNODE(g, 30, k));
}

}  // namespace
}  // namespace torva

namespace torva {
namespace {

// A steel pipe in one layer of soft clay (generated p-y curves): the secant iteration
// closes in a bounded number of solves at a large head deflection, and the head shear is
// the nodal sum of the stored soil reactions.
TEST(SoftClay, NonlinearPileClosesInBoundedSolves) {
  auto m = new_model();
  auto s = std::make_unique<Llp3dScratch>();
  testing::set_controls(*m);
  testing::set_soft_clay(*m, 0.0, 2000.0);
  m->TOLPILE = 1.0e-5;
  testing::PileDef p;
  p.L = 600.0;
  p.nseg = 60;
  p.EI = 8.0e10;
  p.D = 24.0;
  testing::set_pile(*m, 1, 1, p);
  m->IOPASS = 1;
  testing::Head r = testing::solve(*m, *s, 1, 2.0, 0.0, 1.0, 0.0);
  ASSERT_EQ(r.status, 0);
  ASSERT_TRUE(r.closed);
  EXPECT_LE(r.ns, 40);
  EXPECT_GT(r.ns, 3);
  EXPECT_GT(r.Vy, 0.0);
  EXPECT_NEAR(r.Vz / r.Vy, 0.5, 0.05) << "both planes share the springs of the resultant";
  const int N = p.nseg + 4;
  double sum = 0;
  for (int j = 4; j <= N; ++j) sum += (j == 4 || j == N ? 0.5 : 1.0) * m->PRNODE(1, j, 15);
  EXPECT_NEAR(sum * p.L / p.nseg, r.Vy, 1e-9 * std::abs(r.Vy));
  EXPECT_EQ(m->PRTOP(1, 21), r.Vy);
}

}  // namespace
}  // namespace torva
