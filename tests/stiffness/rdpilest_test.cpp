// The pile-state file read back: head values, nodal springs weighted by their share of
// pile length, the node spacing taken whole, and files that do not hold a state.
#include <gtest/gtest.h>

#include <string>

#include "cap/anal3d.h"
#include "stiffness/rdpilest.h"
#include "support/workdir.h"

namespace torva {
namespace {

// Two rows (3 and 1 segments) with the given node spacing written as the analysis writes them.
void write_state(Model& m, double h, bool cut = false) {
  m.NDIM = 3;
  m.NROW = 2;
  m.PTYPE(1) = 1, m.PTYPE(2) = 2;
  m.NSEG(1) = 3, m.NSEG(2) = 1;
  m.FNAME[R_STATEFILE] = std::string("state.txt");
  for (int g = 1; g <= 2; ++g) {
    m.EQTOP(g, 1) = 1000.0 * g;
    m.EQTOP(g, 2) = 2.5e5 * g;
    m.EQTOP(g, 3) = -3.0e7 * g;
    m.EQDEPN(g, 0) = h;
    for (int j = 4; j <= m.NSEG(g) + 4; ++j) {
      m.EQDEPN(g, j) = (j - 4) * h;
      m.EQKN(g, j) = 10.0 * j;         // first plane
      m.EQKN2(g, j) = j == 5 ? 99.0 : 0.0;  // second plane larger at one node
    }
  }
  TextFile f;
  f.open_write(m.fname(R_STATEFILE));
  f.A("LOAD CASE : ").I(1, 5).nl();
  f.X(5).A("* EQV. STIFFNESS MATRIX AT ORIGIN *").nl();
  for (int i = 1; i <= 6; ++i) f.X(5).A("1.0").nl();
  if (!cut) EQSTIF(m, f);
  f.close();
}

TEST(Rdpilest, RoundTripWeightsSpringsByTheirShareOfLength) {
  testing::WorkDir dir;
  auto m = new_model();
  const double h = 12.3456789;
  write_state(*m, h);
  m->KTORTOP(2) = 5.0;
  std::string why;
  ASSERT_TRUE(RDPILEST(*m, why)) << why;
  EXPECT_DOUBLE_EQ(m->PAXTOP(1), 1000.0);
  EXPECT_DOUBLE_EQ(m->KAXTOP(2), 5.0e5);
  EXPECT_DOUBLE_EQ(m->KTORTOP(2), -6.0e7);
  // Row 1: nodes 1..4 from entries 4..7; node 2 takes the larger plane value 99.
  EXPECT_NEAR(m->KSOIL(1, 1), 40.0 * 0.5 * h, 1e-9);
  EXPECT_NEAR(m->KSOIL(1, 2), 99.0 * h, 1e-9);
  EXPECT_NEAR(m->KSOIL(1, 3), 60.0 * h, 1e-9);
  EXPECT_NEAR(m->KSOIL(1, 4), 70.0 * 0.5 * h, 1e-9);
  // One segment: both nodes take half a spacing.
  EXPECT_NEAR(m->KSOIL(2, 1), 40.0 * 0.5 * h, 1e-9);
  EXPECT_NEAR(m->KSOIL(2, 2), 99.0 * 0.5 * h, 1e-9);
}

TEST(Rdpilest, SmallSpacingInExponentFormIsReadWhole) {
  testing::WorkDir dir;
  auto m = new_model();
  write_state(*m, 0.005);
  std::string why;
  ASSERT_TRUE(RDPILEST(*m, why)) << why;
  EXPECT_NEAR(m->KSOIL(1, 3), 60.0 * 0.005, 1e-12);
}

TEST(Rdpilest, TwoDimensionalReadLeavesTorsionAlone) {
  testing::WorkDir dir;
  auto m = new_model();
  write_state(*m, 1.0);
  // Rewrite as the 2-D writer does: two head values, one spring per node, 3 matrix lines.
  TextFile f;
  f.open_write(m->fname(R_STATEFILE));
  f.A("LOAD CASE : ").I(1, 5).nl().X(5).A("* EQV. STIFFNESS MATRIX AT ORIGIN *").nl();
  for (int i = 1; i <= 3; ++i) f.X(5).A("1.0").nl();
  f.close();
  m->NDIM = 2;
  m->NROW = 0;
  m->KTORTOP(1) = 7.0;
  std::string why;
  EXPECT_TRUE(RDPILEST(*m, why)) << why;
  EXPECT_EQ(m->KTORTOP(1), 7.0);
}

TEST(Rdpilest, FileWithoutPileRecordsIsRefused) {
  testing::WorkDir dir;
  auto m = new_model();
  write_state(*m, 1.0, true);
  std::string why;
  EXPECT_FALSE(RDPILEST(*m, why));
  EXPECT_NE(why.find("ENDS BEFORE"), std::string::npos) << why;
  m->FNAME[R_STATEFILE] = std::string("missing.txt");
  EXPECT_FALSE(RDPILEST(*m, why));
}

}  // namespace
}  // namespace torva
