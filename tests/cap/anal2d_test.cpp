// The 2-D cap analysis end to end on the wharf-bent example: equilibrium of the cap at
// its origin, a symmetric bent under a vertical load, and the reports of an analysis.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "cap/anal2d.h"
#include "cap/bent_fixture.h"
#include "cap/cap_equilibrium.h"
#include "cap/example_fixture.h"
#include "cap/fvec2d.h"
#include "driver/itorva.h"
#include "support/golden.h"
#include "support/workdir.h"

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

// The bent with its cap embedded 2 ft (the ground 2 ft above the pile heads) in stiff clay
// with an initial modulus k.
std::string embedded_bent(std::string t) {
  using testing::replace;
  t = testing::embedded_bent_rows(t, "-2.0");
  t = replace(t, "1 3\n0.0 90.0", "1 10\n0.0 90.0");
  t = replace(t, "120.0 2000.0 0.0 0.0", "120.0 2000.0 0.0 1.0E6");
  return replace(t, "125.0 3000.0 0.0 0.0", "125.0 3000.0 0.0 1.0E6");
}

// The bent is symmetric about its middle row: under a vertical load alone the cap only
// settles, without sway or rotation, and the outer rows carry equal axial forces. An
// embedded cap that does not move sideways gets no passive resistance, so the same holds.
TEST(Anal2d, SymmetricBentUnderVerticalLoad) {
  const std::string text = testing::replace(bent_text(), "240000.0 36000.0 0.0", "240000.0 0.0 0.0");
  for (const std::string& t : {text, embedded_bent(text)}) {
    Bent b(t);
    ASSERT_EQ(b.status, 0);
    SCOPED_TRACE(b.m->ICAPOPT == 1 ? "embedded cap" : "cap above the ground");
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
    const std::string cases = b.close_and_read("case.cas");
    EXPECT_NE(cases.find("    1 ANALYSIS COMPLETED"), std::string::npos) << cases;
  }
}

// The symmetric bent under its vertical load in a soil moving sideways, by `top` at the
// ground, `mid` 10 ft down and nothing from 20 ft down.
std::string bent_in_moving_soil(const std::string& top, const std::string& mid) {
  using testing::replace;
  std::string t = replace(bent_text(), "240000.0 36000.0 0.0", "240000.0 0.0 0.0");
  t = replace(t, "1 2 0 0 0 0 0 0 0 1 0 0 0 0 1 1 0 0 0 0", "1 2 0 0 0 0 0 0 0 1 0 0 0 0 1 1 0 1 0 0");
  return t + "SOIL MOVEMENT\n3\n0.0 " + top + " 0.0\n10.0 " + mid + " 0.0\n20.0 0.0 0.0\n";
}

// A soil moving either way carries the symmetric bent with it in mirror image: the same
// settlement, the sideways movement and the rotation of opposite sign. The cap moves the
// soil's way by less than the soil moves at the ground (the soil below moves less), and
// stands in equilibrium sideways. The quarter-power curves of the stiff clay stiffen
// without bound where a pile moves with the soil, so the rows' response is steep about
// the movement sought and soft away from it.
TEST(Anal2d, SoilMovingEitherWayMovesTheSymmetricBentInMirrorImage) {
  Vec3 DV[2];
  const char* sense[2] = {"+", "-"};
  for (int k = 0; k < 2; ++k) {
    SCOPED_TRACE(sense[k]);
    const std::string sg = k == 0 ? "" : "-";
    Bent b(bent_in_moving_soil(sg + "0.5", sg + "0.2"));
    ASSERT_EQ(b.status, 0);
    Vec3 FV;
    b.analyse(1, FV, DV[k]);
    ASSERT_EQ(b.status, 0);
    b.m->IOPASS = 0;
    Vec3 R;
    int st = 0;
    FVEC2D(*b.m, R, DV[k], st);
    ASSERT_EQ(st, 0);
    EXPECT_NEAR(R(2), 0.0, 1e-3 * FV(1));
    const std::string cases = b.close_and_read("case.cas");
    ASSERT_NE(cases.find("    1 ANALYSIS COMPLETED"), std::string::npos) << cases;
  }
  EXPECT_GT(DV[0](1), 0.0);
  EXPECT_GT(DV[0](2), 0.05);
  EXPECT_LT(DV[0](2), 0.5);
  EXPECT_NEAR(DV[1](1), DV[0](1), 1e-6 * DV[0](1));
  EXPECT_NEAR(DV[1](2), -DV[0](2), 1e-6 * DV[0](2));
  EXPECT_NEAR(DV[1](3), -DV[0](3), 1e-6 * std::abs(DV[0](3)) + 1e-12);
}

// Two battered shafts in stiff clay with an initial modulus, 12.7 mm prescribed along Y under
// the vertical load, in two load steps; then a vertical and lateral load. The line search
// does not measure a prescribed displacement's residual: there an increment that carries the
// cap's rotation across zero to a larger one is set back to zero, without which the first
// step ran away (increments of 1E+10 m) and every halving of it failed.
TEST(Anal2d, PrescribedDisplacementOfABatteredBentCompletes) {
  testing::WorkDir dir;
  ASSERT_EQ(testing::run_input(dir, testing::read_cap_data("battered_bent_prescribed_si.dat")), 0);
  EXPECT_EQ(testing::outcomes(dir.read("case.cas")),
            std::vector<std::string>(2, "    1 ANALYSIS COMPLETED"));
  const std::vector<testing::CapResult> r = testing::cap_results(dir.read("case.pld"));
  ASSERT_EQ(r.size(), 2u);
  EXPECT_NEAR(r[0].DV(2), 0.0127, 1e-9);
}

// One fixed-head 16 in pipe, 40 ft, in soft clay (c = 600 psf) under 20 kips along Y and, in
// a second case, 5 kips along -Y: the 2-D model of one row of one pile completes both, in one
// load step and in four, with the cap movements of its 3-D twin (the same pile in the same
// soil; 0.93612 in and -8.3742E-03 rad under the 20 kips). The cube-root curves have no
// initial slope: a rule that set a movement carried across zero back to zero sent the cap
// back to rest, from where the first Newton step went the wrong way again, without end.
TEST(Anal2d, OnePileUnderLateralLoadMovesAsItsThreeDimensionalTwin) {
  using testing::cap_results;
  using testing::outcomes;
  using testing::read_cap_data;
  using testing::with_step;
  const std::vector<std::string> done(2, "    1 ANALYSIS COMPLETED");
  for (const char* step : {"1.0", "0.25"}) {
    SCOPED_TRACE(step);
    std::vector<testing::CapResult> r[2];
    for (int k = 0; k < 2; ++k) {
      testing::WorkDir dir;
      const char* file = k == 0 ? "soft_clay_pile_3d_us.dat" : "soft_clay_pile_2d_us.dat";
      ASSERT_EQ(testing::run_input(dir, with_step(read_cap_data(file), step, "")), 0);
      EXPECT_EQ(outcomes(dir.read("case.cas")), done) << file;
      r[k] = cap_results(dir.read("case.pld"));
    }
    const std::vector<testing::CapResult>&r3 = r[0], &r2 = r[1];
    ASSERT_EQ(r2.size(), 2u);
    ASSERT_EQ(r3.size(), 2u);
    EXPECT_NEAR(r3[0].DV(2), 0.93612, 1e-5);
    EXPECT_NEAR(r3[0].DV(6), -8.3742e-3, 1e-7);
    for (std::size_t k = 0; k < 2; ++k) {
      SCOPED_TRACE(r2[k].heading);
      EXPECT_NEAR(r2[k].DV(2), r3[k].DV(2), 1e-5 * std::fabs(r3[k].DV(2)));
      EXPECT_NEAR(r2[k].DV(3), r3[k].DV(6), 1e-5 * std::fabs(r3[k].DV(6)));
      EXPECT_NEAR(r2[k].DV(1), 0.0, 1e-12);
    }
  }
}

// The 2-D bent in clay over sand with a soil-movement section: a movement of zero at every
// depth, or one along Z only (a 2-D model takes the movement along Y), is no movement. The
// results report, the summary, the plot data and the outcome list equal those of the model
// without the section byte for byte, in one load step and in four.
TEST(Anal2d, ZeroSoilMovementIsNoSoilMovement) {
  using testing::replace;
  // One date and time for every run, so that the reports compare whole.
  struct FixedDate {
    FixedDate() { platform::set_date([] { return platform::DateTime{2026, 12, 10, 9, 30, 0}; }); }
    ~FixedDate() { platform::set_date(nullptr); }
  } fixed;
  const std::string zero = testing::read_cap_data("bent_zero_movement_2d_us.dat");
  std::string none = replace(zero, "1 2 0 0 0 0 0 0 0 1 0 0 0 0 1 1 0 1 0 0", "1 2 0 0 0 0 0 0 0 1 0 0 0 0 1 1 0 0 0 0");
  none = none.substr(0, none.find("SOIL MOVEMENT\n"));
  const std::string along_z = replace(zero, "0.0 0.0 0.0\n20.0 0.0 0.0\n", "0.0 0.0 0.8\n20.0 0.0 0.4\n");
  for (const char* step : {"1.0", "0.25"}) {
    SCOPED_TRACE(step);
    std::vector<std::vector<std::string>> files;
    for (const std::string* text : std::initializer_list<const std::string*>{&none, &zero, &along_z}) {
      testing::WorkDir dir;
      ASSERT_EQ(testing::run_input(dir, testing::with_step(*text, step, "")), 0);
      std::vector<std::string> f;
      for (const char* name : {"case.out", "case.sum", "case.pld", "case.cas"})
        f.push_back(testing::mask_variable_lines(dir.read(name)));
      files.push_back(f);
    }
    EXPECT_EQ(testing::outcomes(files[0][3]), std::vector<std::string>{"    1 ANALYSIS COMPLETED"});
    for (std::size_t k = 1; k < files.size(); ++k)
      for (std::size_t i = 0; i < files[0].size(); ++i) EXPECT_EQ(files[k][i], files[0][i]) << k << " " << i;
  }
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

namespace torva {
namespace {

// W = 100, mean ground surface 2 above the origin, cap 1 thick with its bottom at the
// origin: f = 50 at the cap top, R = 75, M = 100/3, resultant at -(50 + 50/3)/150.
TEST(Anal2d, PassiveResistanceOfAnEmbeddedCap) {
  auto m = new_model();
  m->NROW = 2;
  for (int g = 1; g <= 2; ++g) {
    m->PCAPP(g) = 100.0;
    m->GSDEPTH(g) = -2.0;
  }
  m->CAPTHK = 1.0;
  Passive2d p = PASSIVE2D(*m);
  EXPECT_DOUBLE_EQ(m->CAPPMEAN, 100.0);
  EXPECT_DOUBLE_EQ(p.R, 75.0);
  EXPECT_DOUBLE_EQ(p.M, 100.0 / 3.0);
  EXPECT_DOUBLE_EQ(p.pos, -0.5 * (50.0 + 50.0 / 3.0) / 75.0);
  // Full beyond the band of 1e-5, partly mobilised below it: none at rest.
  struct Case {
    double u, F2;
  } cases[] = {{0.0, 0.0}, {2.5e-6, -18.75}, {-5e-6, 37.5}, {1e-5, -75.0}, {1e-3, -75.0}, {-1e-3, 75.0}};
  for (const Case& c : cases) {
    Vec3 F;
    p.load(c.u, F, 1e-5);
    EXPECT_DOUBLE_EQ(F(2), c.F2) << c.u;
    EXPECT_DOUBLE_EQ(F(3), -c.F2 * (100.0 / 3.0) / 75.0) << c.u;
    EXPECT_EQ(F(1), 0.0);
  }
  // No reaction at cap level: no resultant, reported at the cap.
  for (int g = 1; g <= 2; ++g) m->PCAPP(g) = 0.0;
  m->HEADDEP(2) = 3.0;
  p = PASSIVE2D(*m);
  EXPECT_EQ(p.R, 0.0);
  EXPECT_EQ(p.pos, 3.0);
  // The ground below the origin: nothing.
  for (int g = 1; g <= 2; ++g) m->GSDEPTH(g) = 0.0;
  p = PASSIVE2D(*m);
  EXPECT_EQ(p.R, 0.0);
  EXPECT_EQ(p.M, 0.0);
}

// The 2-D pile records of the pile-state file: a row of 10 segments writes 16 lines.
TEST(Anal2d, PileStateRecords) {
  testing::WorkDir dir;
  auto m = new_model();
  m->NROW = 1;
  m->PTYPE(1) = 1;
  m->NSEG(1) = 10;
  m->EQTOP(1, 1) = 1000.0;
  m->EQTOP(1, 2) = 2.5e5;
  m->EQTOP(1, 3) = 12.0;
  for (int j = 4; j <= 14; ++j) {
    m->EQDEPN(1, j) = (j - 4) * 12.0;
    m->EQKN(1, j) = 100.0 * j;
  }
  TextFile f;
  ASSERT_TRUE(f.open_write("state.txt"));
  EQSTIF2D(*m, f);
  f.close();
  const std::string s = dir.read("state.txt");
  std::vector<std::string> lines;
  for (std::size_t a = 0, b; (b = s.find('\n', a)) != std::string::npos; a = b + 1)
    lines.push_back(s.substr(a, b - a));
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[0], "* PILE GROUP *     1");
  EXPECT_EQ(lines[1], "       * PILE TOP EQUIVALENT STIFFNESSES");
  EXPECT_EQ(lines[2].size(), 35u) << "two values of 17 columns and the line end's blank";
  EXPECT_EQ(lines[3], "       * EQUIVALENT STIFFNESSES ALONG PILE");
  EXPECT_EQ(lines[4].substr(0, 6), "      ");
  EXPECT_EQ(lines[15].size(), 6u + 16u + 17u + 1u);
}

}  // namespace
}  // namespace torva

namespace torva {
namespace {

// The example through the whole engine: the driver runs the 2-D analysis, which
// completes, and Table L of the results report is the one of the analysis run alone.
TEST(Anal2d, ExampleRunsEndToEnd) {
  std::string alone;
  {
    testing::Bent b(testing::bent_text());
    Vec3 FV, DV;
    b.analyse(1, FV, DV);
    ASSERT_EQ(b.status, 0);
    alone = b.close_and_read("case.out");
  }
  testing::WorkDir dir;
  dir.write("case.dat", testing::bent_text());
  dir.write_names();
  dir.write("case.mph", "");
  EXPECT_EQ(run_itorva(3), 0);
  const std::string cas = dir.read("case.cas");
  EXPECT_NE(cas.find("      ANALYSIS DUE TO TOTAL LOAD\n    1 ANALYSIS COMPLETED\n"), std::string::npos)
      << cas;
  const std::string out = dir.read("case.out");
  const auto want = testing::report_part(alone, "* TABLE L *", "* PILE GROUP *");
  const auto got = testing::report_part(out, "* TABLE L *", "* PILE GROUP *");
  ASSERT_FALSE(want.empty());
  EXPECT_EQ(got, want);
}

}  // namespace
}  // namespace torva

namespace torva {
namespace {

// Three vertical rows on a user load-settlement curve that levels off at 35 kips per pile
// (210 kips for the bent's six piles) under the 240 kips deck load: the steps converge up to
// 87.5 %; beyond, every pile is past its curve, the vertical tangent vanishes and each
// attempt fails on a singular matrix after two iterations. The bearing warnings of the last
// attempt make it a partial solution, whose iteration count is that of a failed attempt:
// the iteration limit (100) plus one.
TEST(Anal2d, FailedLastAttemptCountsTheIterationLimitPlusOne) {
  using testing::replace;
  std::string t = replace(testing::bent_text(), "1 2 0 0 0 0 0 0 0 1", "1 2 0 0 0 1 0 0 0 1");
  for (const char* row : {"1 2 1 0 0 0 1\n", "1 2 1 0 0 0 2\n", "1 2 1 0 0 0 3\n"})
    t = replace(t, row, "1 2 1 0 1 0 0\n");  // user load-settlement curve 1
  t = replace(t, "0.0 -6.0 -14.036 0.0", "0.0 -6.0 0.0 0.0");
  t = replace(t, "0.0 6.0 14.036 0.0", "0.0 6.0 0.0 0.0");
  t = replace(t, "ROWS WITH GENERATED LOAD-SETTLEMENT CURVES\n3\n1\n2\n3\n",
              "ROWS WITH GENERATED LOAD-SETTLEMENT CURVES\n0\nUSER LOAD-SETTLEMENT CURVES\n1\n1 4\n"
              "-1.0E5 -1.0\n0.0 0.0\n3.0E4 0.05\n3.5E4 0.2\n");
  testing::WorkDir dir;
  dir.write("case.dat", t);
  dir.write_names();
  dir.write("case.mph", "");

  EXPECT_EQ(run_itorva(3), 0);

  const std::string log = dir.read("case.log"), out = dir.read("case.out");
  EXPECT_NE(dir.read("case.cas").find("    2 SOLUTION AT    87.50 % OF THE TOTAL LOAD"), std::string::npos);
  EXPECT_NE(log.find("DETERMINANT OF STIFFNESS MATRIX IS ZERO"), std::string::npos);
  EXPECT_NE(log.find("          NUMBER OF GLOBAL ITERATIONS =  101\n"), std::string::npos) << log;
  EXPECT_NE(out.find("          NUMBER OF ITERATIONS = 101\n"), std::string::npos);
}

}  // namespace
}  // namespace torva
