// Equivalent stiffness of a pile group at the cap origin: rigid-offset sums over the rows,
// independence of the thread count, and the printed blocks of one point.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "pile/pile_fixture.h"
#include "stiffness/captstf.h"
#include "stiffness/pilekcap.h"

namespace torva {
namespace {

constexpr double D = 36.0;  // half the pile spacing

class Captstf : public ::testing::Test {
 protected:
  void SetUp() override {
    m = new_model();
    m->NDIM = 3;
    m->NROW = 4;
    testing::PileDef p;
    p.L = 400.0;
    p.nseg = 40;
    const double ys[] = {D, D, -D, -D}, zs[] = {D, -D, D, -D};
    for (int g = 1; g <= 4; ++g) {
      testing::set_pile(*m, g, 1, p);
      m->CORY(g) = ys[g - 1];
      m->CORZ(g) = zs[g - 1];
      for (int k = 1; k <= p.nseg + 1; ++k) {
        m->DEPAX(g, k) = (k - 1) * 10.0;
        m->KSOIL(g, k) = 1.0e4;
      }
      m->KAXTOP(g) = 2.0e5;
      m->KTORTOP(g) = 4.0e7;
    }
    m->SEGLEN(1) = 10.0;
    for (TextFile* f : {&m->REPORT, &m->SUMMARY, &m->PLOTDATA, &m->KMATLOG, &m->STIFTRACE})
      f->open_memory();
    m->ULEN2 = std::string("IN");
    for (int i = 1; i <= 6; ++i) load(i) = disp(i) = 0.0;
    load(1) = 1.0e5;
    disp(1) = 0.5;
  }
  Mat6 run(int threads) {
    m->NTHUSE = threads;
    Mat6 K;
    int st = 0;
    CAPTSTF(*m, st, 0, 3, 2, 1.5, load, disp, K);
    EXPECT_EQ(st, 0);
    return K;
  }
  std::unique_ptr<Model> m;
  Vec6 load, disp;
};

TEST_F(Captstf, GroupOfVerticalPilesSumsRigidOffsets) {
  Mat6 kh;
  int st = 0;
  std::string trace;
  PILEKCAP(*m, 1, 0, st, kh, trace);
  const Mat6 K = run(1);
  const double ka = 2.0e5;
  EXPECT_NEAR(K(1, 1), 4 * ka, 1e-6 * ka);
  EXPECT_NEAR(K(2, 2), 4 * kh(2, 2), 1e-9 * kh(2, 2));
  // Rocking about Y and Z: the axial springs at their lever arms plus the piles' own
  // head rotational stiffness.
  EXPECT_NEAR(K(5, 5), 4 * ka * D * D + 4 * kh(5, 5), 1e-9 * K(5, 5));
  EXPECT_NEAR(K(6, 6), 4 * ka * D * D + 4 * kh(6, 6), 1e-9 * K(6, 6));
  // Twist about the vertical axis: the lateral springs at their lever arms and torsion.
  EXPECT_NEAR(K(4, 4), 4 * 4.0e7 + 4 * kh(2, 2) * 2 * D * D, 1e-9 * K(4, 4));
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) EXPECT_NEAR(K(i, j), K(j, i), 1e-12 * K(4, 4));
}

TEST_F(Captstf, SameMatrixOnAnyThreadCount) {
  const Mat6 one = run(1);
  const std::string trace1 = m->STIFTRACE.take_text();
  const Mat6 four = run(4);
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) EXPECT_EQ(one(i, j), four(i, j));
  EXPECT_EQ(m->STIFTRACE.take_text(), trace1);
}

TEST_F(Captstf, PrintedBlocksOfALoadBasedPoint) {
  m->STFLEV(4) = 0.0;  // levels of the total applied load: no target line
  run(2);
  const std::string rep = m->REPORT.take_text(), sum = m->SUMMARY.take_text();
  const std::string plot = m->PLOTDATA.take_text();
  EXPECT_EQ(rep.find("TARGET"), std::string::npos);
  EXPECT_NE(rep.find("          * EQUIVALENT STIFFNESS MATRIX AT ORIGIN *"), std::string::npos);
  EXPECT_NE(sum.find("          * EQV. STIFFNESS MATRIX AT ORIGIN *"), std::string::npos);
  EXPECT_NE(sum.find("       N:    2  FACTOR :    1.5000"), std::string::npos);
  EXPECT_NE(plot.find("        1   N:    2  FACTOR :    1.5000"), std::string::npos);
  EXPECT_NE(rep.find("   LOAD"), std::string::npos);
  EXPECT_NE(rep.find("   DISP"), std::string::npos);
  EXPECT_NE(rep.find("    DOF          1    "), std::string::npos);
  EXPECT_EQ(m->KMATLOG.take_text().rfind("     * EQV. STIFFNESS MATRIX AT ORIGIN *\n", 0), 0u);
}

TEST_F(Captstf, TargetLines) {
  struct Case {
    int ndim;
    double dof;
    const char* text;
    bool labelled;
  };
  const Case cases[] = {{3, 3, "       DISPLACEMENT Z,  TARGET =", true},
                        {2, 3, "           ROTATION Z,  TARGET =", false},
                        {3, 5, "           ROTATION Y,  TARGET =", false},
                        {3, 1, "       DISPLACEMENT X,  TARGET =", true}};
  for (const Case& c : cases) {
    m->STFLEV(4) = 1.0;
    m->STFLEV(5) = c.dof;
    TGTLINE(*m, m->REPORT, 3, c.ndim, 0.25, 0.3);
    const std::string line = m->REPORT.take_text();
    EXPECT_EQ(line.rfind(c.text, 0), 0u) << line;
    EXPECT_NE(line.find(" , COMPUTED ="), std::string::npos) << line;
    EXPECT_EQ(line.find(" IN") != std::string::npos, c.labelled) << line;
  }
}

// A row whose beam model meets a zero pivot (no bending stiffness) is named in a warning;
// the other rows are summed as before.
TEST_F(Captstf, ZeroPivotRowIsNamed) {
  testing::PileDef p;
  p.L = 400.0;
  p.nseg = 40;
  p.EI = 0.0;
  testing::set_pile(*m, 3, 2, p);
  m->SEGLEN(2) = 10.0;
  m->RUNLOG.open_memory();
  run(2);
  const std::string report = m->REPORT.take_text();
  EXPECT_NE(report.find("ZERO PIVOT IN THE BEAM MODEL OF PILE GROUP    3"), std::string::npos);
  EXPECT_EQ(report.find("PILE GROUP    1"), std::string::npos);
  EXPECT_NE(m->RUNLOG.take_text().find("STIFFNESS BELOW NODE    1 NOT INCLUDED"), std::string::npos);
}

}  // namespace
}  // namespace torva
