// Axial movement and force along a pile for a head movement: the stored solution
// reproduced at its own points, movements between and beyond them, pull-out, node layout
// and rows worked on in parallel threads.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "axial/axdist.h"
#include "axial/lscurve.h"
#include "axfixture.h"
#include "model/messages.h"
#include "pile/axforce.h"

namespace torva {
namespace {

using testing::make_pile;
using testing::PileSoil;

// A driven pile in clay (tip rules of the stored curve and of the distribution agree) with
// its generated curve 1 stored and referenced by row 1.
class AxDist : public ::testing::Test {
 protected:
  void SetUp() override {
    p.tip = 50.0;
    mp = make_pile(p);
    Model& m = *mp;
    int status = 0, n = 0;
    LSCURVE(m, 1, 1, 1, 1, status, n, l1, u1);
    LSCURVE(m, 1, 2, 1, 1, status, n, l2, u2);
    ASSERT_EQ(status, 0);
    m.LSNO(1) = -1;
    m.NLSG = 1;
    m.NPTLS = 19;
  }
  // Runs the three routines as the single-pile solution does.
  int run(double D, NodeArr& mov, NodeArr& frc, int& istate) {
    Model& m = *mp;
    int status = 0;
    AXWORK w{};
    mov = NodeArr{};
    frc = NodeArr{};
    AXSIDE(m, 1, 1, status, w);
    AXTIP(m, 1, 1, D, status, w);
    AXDIST(m, 1, 1, D, mov, frc, w, istate);
    return status;
  }
  PileSoil p;
  std::unique_ptr<Model> mp;
  CurveArr l1{}, u1{}, l2{}, u2{};
};

TEST_F(AxDist, ReproducesTheStoredSolutionAtItsPoints) {
  for (int j = 1; j <= 9; ++j) {
    for (double sg : {1.0, -1.0}) {
      const double D = sg * (sg > 0 ? u2(j) : u1(j));
      const double P = sg * (sg > 0 ? l2(j) : l1(j));
      NodeArr mov{}, frc{};
      int istate = 0;
      ASSERT_EQ(run(D, mov, frc, istate), 0);
      EXPECT_EQ(istate, 0);
      EXPECT_NEAR(mov(4), D, 1e-4 * std::abs(D)) << j << " " << sg;
      EXPECT_NEAR(frc(4), P, 1e-6 * std::abs(P)) << j << " " << sg;
    }
  }
}

TEST_F(AxDist, MovementBetweenStoredPointsConverges) {
  for (int j = 1; j < 9; ++j) {
    const double D = std::sqrt(u2(j) * u2(j + 1));
    NodeArr mov{}, frc{};
    int istate = 0;
    ASSERT_EQ(run(D, mov, frc, istate), 0);
    EXPECT_EQ(istate, 0);
    EXPECT_NEAR(mov(4), D, 1e-3 * D) << j;
    if (j <= 4) {  // before the t-z curves pass their peak the load rises with movement
      EXPECT_GT(frc(4), l2(j));
      EXPECT_LT(frc(4), l2(j + 1));
    }
  }
}

TEST_F(AxDist, MovementBeyondTheCurveTakesItsLastSolution) {
  NodeArr mov{}, frc{};
  int istate = 0;
  ASSERT_EQ(run(3.0 * u2(9), mov, frc, istate), 0);
  EXPECT_EQ(istate, 0);
  EXPECT_NEAR(mov(4), u2(9), 1e-9 * u2(9));
  EXPECT_NEAR(frc(4), l2(9), 1e-9 * l2(9));
}

TEST_F(AxDist, PullOutIsNegativeAndGrowsTowardsTheHead) {
  NodeArr mov{}, frc{};
  int istate = 0;
  const double D = -0.5 * (u1(5) + u1(6));
  ASSERT_EQ(run(D, mov, frc, istate), 0);
  const int nseg = p.nseg;
  for (int e = 4; e <= nseg + 4; ++e) {
    EXPECT_LT(mov(e), 0.0) << e;
    EXPECT_LT(frc(e), 0.0) << e;
    if (e > 4) {
      EXPECT_LT(std::abs(frc(e)), std::abs(frc(e - 1))) << e;
    }
  }
  // Nodes at elements 4 (head) to NSEG + 4 (tip); nothing else is written.
  for (int e : {1, 2, 3, nseg + 5, MAXNODE}) {
    EXPECT_EQ(mov(e), 0.0) << e;
    EXPECT_EQ(frc(e), 0.0) << e;
  }
}

TEST_F(AxDist, UnsettledDistributionSetsTheStateAndWarnsOncePerIteration) {
  // A t-z curve that drops to nothing just past its peak, on a very soft pile, makes the
  // segment iterations swing: the distribution is returned with state 4 and a warning.
  Model& m = *mp;
  int status = 0, istate = 0;
  AXWORK w{};
  AXSIDE(m, 1, 1, status, w);
  AXTIP(m, 1, 1, 0.6, status, w);
  ASSERT_EQ(status, 0);
  const double z[NTZPT] = {0, 0.5, 0.50001, 0.7, 1.0, 1e3, 2e3, 3e3, 4e3, 5e3};
  const double t[NTZPT] = {0, 0, 10, 10, 0, 0, 0, 0, 0, 0};
  for (int k = 1; k <= w.NDP; ++k)
    for (int j = 1; j <= NTZPT; ++j) {
      w.DPZ(k, j) = z[j - 1];
      w.DPT(k, j) = t[j - 1];
    }
  for (int e = 1; e <= w.NSTIF; ++e) w.SECAE(e) = 1.0e3;
  for (int iw : {0, 1}) {
    m.IWFILE = iw;
    NodeArr mov{}, frc{};
    RowCapture cap;
    {
      CaptureScope scope(cap);
      AXDIST(m, 1, 1, 0.6, mov, frc, w, istate);
    }
    EXPECT_EQ(istate, 4);
    EXPECT_EQ(cap.lines.size(), iw == 1 ? 3u : 0u);
    istate = 0;
  }
}

TEST_F(AxDist, RowsInParallelThreadsMatchTheSerialResult) {
  Model& m = *mp;
  const int nrow = 16;
  for (int g = 2; g <= nrow; ++g) {
    m.HEADDEP(g) = m.HEADDEP(1);
    m.FREELEN(g) = m.FREELEN(1);
    m.PTYPE(g) = 1;
    m.LSNO(g) = -1;
  }
  std::vector<double> serial(nrow + 1), parallel(nrow + 1);
  std::vector<RowCapture> caps(nrow + 1);
  auto row = [&](int g) {
    int status = 0, istate = 0;
    AXWORK w{};
    NodeArr mov{}, frc{};
    const double D = u2(3) + (u2(4) - u2(3)) * g / (nrow + 1.0);
    AXSIDE(m, g, 1, status, w);
    AXTIP(m, g, 1, D, status, w);
    AXDIST(m, g, 1, D, mov, frc, w, istate);
    return frc(4);
  };
  for (int g = 1; g <= nrow; ++g) serial[g] = row(g);
#pragma omp parallel for schedule(static)
  for (int g = 1; g <= nrow; ++g) {
    CaptureScope scope(caps[g]);
    parallel[g] = row(g);
  }
  for (int g = 1; g <= nrow; ++g) {
    EXPECT_EQ(parallel[g], serial[g]) << g;
    EXPECT_TRUE(caps[g].lines.empty()) << g;
  }
}

TEST_F(AxDist, HeadForceOfTheSinglePileTakesTheDistribution) {
  Model& m = *mp;
  m.IAXVAR = 1;
  m.IEXTEND = 1;
  m.AXFAC(1) = 2.0;
  NodeArr mov{}, frc{};
  int istate = 0;
  const double D = std::sqrt(u2(2) * u2(3));
  run(D, mov, frc, istate);
  double P = 0.0;
  int status = 0;
  const double u[6] = {D, 0, 0, 0, 0, 0};
  NodeArr MOV{}, FAX{};
  AXFORCE(m, 1, P, u, MOV, FAX, status);
  EXPECT_EQ(status, 0);
  EXPECT_DOUBLE_EQ(P, frc(4));
  EXPECT_DOUBLE_EQ(FAX(4 + p.nseg), 2.0 * frc(4 + p.nseg));
  EXPECT_DOUBLE_EQ(MOV(4), mov(4));
}

}  // namespace
}  // namespace torva
