// The 2-D cap analysis end to end on the wharf-bent example: equilibrium of the cap at
// its origin, a symmetric bent under a vertical load, and the reports of an analysis.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "cap/anal2d.h"
#include "cap/bent_fixture.h"
#include "cap/fvec2d.h"

namespace torva {
namespace {

using testing::Bent;
using testing::bent_text;

// The converged cap displacement balances the load: the pile-row sum at the final
// displacement equals the applied load within the cap tolerance.
TEST(Anal2d, EquilibriumAtTheCapOrigin) {
  Bent b(bent_text());
  ASSERT_EQ(b.status, 0);
  Vec3 FV, DV;
  b.analyse(1, FV, DV);
  ASSERT_EQ(b.status, 0);
  EXPECT_EQ(FV(1), 240000.0);
  EXPECT_EQ(FV(2), 36000.0);
  EXPECT_GT(DV(1), 0.0) << "the deck load pushes the cap down";
  EXPECT_GT(DV(2), 0.0) << "the mooring pull moves it along +Y";
  b.m->IOPASS = 0;
  Vec3 R;
  int st = 0;
  FVEC2D(*b.m, R, DV, st);
  ASSERT_EQ(st, 0);
  EXPECT_NEAR(R(1), FV(1), 1e-3 * FV(1));
  EXPECT_NEAR(R(2), FV(2), 1e-3 * FV(1));
  EXPECT_NEAR(R(3), FV(3), 1e-3 * FV(1) * 12.0);
  const std::string cases = b.close_and_read("case.cas");
  EXPECT_NE(cases.find("    1 ANALYSIS COMPLETED"), std::string::npos) << cases;
}

// The bent is symmetric about its middle row: under a vertical load alone the cap only
// settles, without sway or rotation, and the outer rows carry equal axial forces.
TEST(Anal2d, SymmetricBentUnderVerticalLoad) {
  std::string text = bent_text();
  const std::string pull = "240000.0 36000.0 0.0";
  ASSERT_NE(text.find(pull), std::string::npos);
  text.replace(text.find(pull), pull.size(), "240000.0 0.0 0.0");
  Bent b(text);
  ASSERT_EQ(b.status, 0);
  Vec3 FV, DV;
  b.analyse(1, FV, DV);
  ASSERT_EQ(b.status, 0);
  EXPECT_GT(DV(1), 0.0);
  EXPECT_NEAR(DV(2), 0.0, 1e-6 * DV(1));
  EXPECT_NEAR(DV(3), 0.0, 1e-6 * DV(1) / 12.0);
  EXPECT_NEAR(b.m->PRTOP(1, 17), b.m->PRTOP(3, 17), 1e-6 * b.m->PRTOP(1, 17));
  EXPECT_NEAR(b.m->PRTOP(1, 18), -b.m->PRTOP(3, 18), 1e-6 * b.m->PRTOP(1, 17));
  // The axial forces of the piles balance the load: two piles per row.
  double sum = 0.0;
  for (int g = 1; g <= 3; ++g) sum += 2.0 * b.m->PRTOP(g, 4);
  EXPECT_NEAR(sum, 240000.0, 1e-3 * 240000.0);
}

}  // namespace
}  // namespace torva

namespace torva {
namespace {

// A point of definition at X = 0, Y = 36 in: the displacements prescribed there are met by
// the cap (a point at (x, y) moves by (U1 - y U3, U2 + x U3, U3)), the given vertical load
// is carried, and the point tables are printed.
TEST(Anal2d, PrescribedDisplacementsAtAPoint) {
  testing::Bent b(testing::bent_text());
  ASSERT_EQ(b.status, 0);
  Model& m = *b.m;
  m.ICASE = 1;
  m.ICOMB = 0;
  SETCURCASE(m, 1);
  CASELOAD(m, 1);
  m.IDISP(1) = 1;
  Arr1<double, 3> pt;
  pt(1) = 0.0;
  pt(2) = 36.0;
  pt(3) = 0.0;
  Vec3 PTLOAD, PTDISP, loads, l1, l2;
  PTLOAD.fill(0.0);
  PTDISP.fill(0.0);
  PTLOAD(1) = 240000.0;                     // the vertical load is given at the point
  PTDISP(2) = 0.01;                          // its horizontal movement is prescribed
  PTDISP(3) = 1.0e-5;                        // and its rotation
  loads(1) = PTLOAD(1);
  loads(2) = 0.0;
  loads(3) = pt(1) * 0.0 - pt(2) * PTLOAD(1);  // the point load moved to the origin
  Flags3 fl;
  fl(1) = 1;
  fl(2) = 0;
  fl(3) = 0;
  m.NRESLT = 1;
  int ipy = 0;
  ANAL2D(m, 0, ipy, b.status, l1, l2, loads, PTLOAD, PTDISP, pt, fl);
  ASSERT_EQ(b.status, 0);
  const double U1 = m.EMNCAP(7), U2 = m.EMNCAP(8), U3 = m.EMNCAP(9);
  EXPECT_NEAR(U3, 1.0e-5, 1e-9);
  EXPECT_NEAR(U2 + pt(1) * U3, 0.01, 1e-6);
  EXPECT_GT(U1 - pt(2) * U3, 0.0);
  // The piles carry the given vertical load: two piles per row.
  double sum = 0.0;
  for (int g = 1; g <= 3; ++g) sum += 2.0 * m.PRTOP(g, 4);
  EXPECT_NEAR(sum, 240000.0, 1e-3 * 240000.0);
  const std::string out = b.close_and_read("case.out");
  EXPECT_NE(out.find("     * POINT OF DEFINITION DISPLACEMENT/LOADS *"), std::string::npos);
  EXPECT_NE(out.find("             VERT. LOAD, LBS*   HORI. LOAD, LBS    MOMENT,IN-LBS \n"),
            std::string::npos)
      << out.substr(out.find("AT SPECIFIED POINT"), 400);
  EXPECT_NE(out.find("                VERTICAL,IN      HORIZONTAL,IN*    ROTATION,RAD*\n"),
            std::string::npos);
}

}  // namespace
}  // namespace torva
