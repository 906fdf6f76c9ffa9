// How a cap analysis ends: the outcome line of every ending, the partial-load warning, the
// iteration count of the last attempt, and the pile warnings that are summarised, copied and
// then decide the outcome. End to end on the single elastic pile (3-D) and the wharf bent
// (2-D), edited so that each ending is reached.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cap/capreport.h"
#include "cap/example_fixture.h"
#include "driver/itorva.h"

namespace torva {
namespace {

using testing::read_example;
using testing::replace;
using testing::run_input;
using testing::WorkDir;

struct Edit {
  const char* from;
  const char* to;
};

std::string edited(const char* example, const std::vector<Edit>& edits) {
  std::string t = read_example(example);
  for (const Edit& e : edits) t = replace(t, e.from, e.to);
  return t;
}

// The single pile's control record (curves extended past their ends), case controls, load,
// and axial and torque curves.
constexpr const char* kControl = "1 3 0 0 0 1 1 0 0 0 0 0 0 0 0 1 0 0 0 0";
constexpr const char* kCaseCtl = "0 0 0 1 1 100 500";
constexpr const char* kSteps = "1.0E-4 1.0E-6 1.0 0.01";
constexpr const char* kLoad = "0.0 10000.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0";
constexpr const char* kAxial = "1 3\n-1.0E6 -1.0\n0.0 0.0\n1.0E6 1.0\n";
constexpr const char* kTorque = "1 3\n-1.0E8 -1.0\n0.0 0.0\n1.0E8 1.0\n";
// 1.5e6 lb down on a pile whose axial curve ends at 1e6 lb, in two steps of half the load.
const std::vector<Edit> kOverload = {{kLoad, "1.5E6 0.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0"},
                                     {kSteps, "1.0E-4 1.0E-6 0.5 0.2"}};

bool has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

struct Ending {
  const char* name;
  std::vector<Edit> edits;
  const char* outcome;       // the line on the case list after "ANALYSIS DUE TO TOTAL LOAD"
  const char* iterations;    // the iteration count of the results report, or nullptr: no tables
  std::vector<const char*> report;  // blocks of the results report
  std::vector<const char*> runlog;  // blocks of the run log
  std::vector<const char*> absent;  // texts neither report holds
};

std::vector<Edit> plus(std::vector<Edit> a, const std::vector<Edit>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(CapOutcome, EveryEndingOfA3dAnalysis) {
  const char* partial50 =
      "     ** WARNING **    TORVA COULD NOT GET SOLUTION FOR 100% OF THE LOAD\n"
      "                      RESULTS ARE FOR    50.00% OF THE TOTAL LOAD\n\n";
  const Ending endings[] = {
      {"full load", {}, "    1 ANALYSIS COMPLETED", "NUMBER OF GLOBAL ITERATIONS =    2", {}, {},
       {"COULD NOT GET SOLUTION", "** WARNING **"}},
      // A first increment above the full load: no step, the tables at zero load.
      {"no step", {{kSteps, "1.0E-4 1.0E-6 1.5 0.01"}},
       "    2 SOLUTION AT     0.00 % OF THE TOTAL LOAD", "NUMBER OF GLOBAL ITERATIONS =    0",
       {"     ** WARNING **    TORVA COULD NOT GET SOLUTION FOR 100% OF THE LOAD\n"
        "                      RESULTS ARE FOR     0.00% OF THE TOTAL LOAD\n\n"},
       {"     GLOBAL ITERATIONS\n\n          NUMBER OF GLOBAL ITERATIONS =    0\n"},
       {"     STEP "}},
      // Pile solutions that never close: every attempt fails, no tables.
      {"piles do not close", {{kCaseCtl, "0 0 0 1 1 100 1"}}, "    6 NO CONVERGENCE ON PILES   ",
       nullptr, {"PILE CAP DISPL DOES NOT CONVERGE AFTER,  100  ITERATIONS"}, {}, {"* TABLE L *"}},
      // An axial curve that softens past 1e6 lb: the Newton iteration on the full load cycles
      // until its limit of 3 + 1 iterations; the half load stands.
      {"softening past the half load",
       plus(kOverload, {{kCaseCtl, "0 0 0 1 1 3 500"},
                        {kAxial, "1 4\n-1.0E6 -1.0\n0.0 0.0\n1.0E6 1.0\n0.5E6 2.0\n"}}),
       "    2 SOLUTION AT    50.00 % OF THE TOTAL LOAD", "NUMBER OF GLOBAL ITERATIONS =    4",
       {"\n\n     ** WARNING **  PILE CAP DISPL DOES NOT CONVERGE AFTER,    3  ITERATIONS\n", partial50},
       {"\n\n     ** WARNING **  PILE CAP DISPL DOES NOT CONVERGE AFTER,    3  ITERATIONS\n"},
       {"SOME PILES"}},
      // Past the end of the axial curve the pile has no tangent: the matrix is singular, but
      // the bearing warning of that iteration decides the outcome, so the half load is reported.
      {"singular past the curve, bearing warning", kOverload,
       "    2 SOLUTION AT    50.00 % OF THE TOTAL LOAD", "NUMBER OF GLOBAL ITERATIONS =    2",
       {"     ** WARNING **  DETERMINANT OF STIFFNESS MATRIX IS ZERO\n",
        "\n     ** WARNING **  SOME PILES MAY FAIL IN BEARING!\n"
        "                    AXIAL DISPLACEMENT ESTIMATED IS LARGER THAN\n"
        "                    MAXIMUM DISPLACEMENT DEFINED IN AXIAL LOAD-DISPLACEMENT CURVE\n"
        "\n     ** WARNING **  REACHED MAXIMUM LOAD IN BEARING    PILE GROUP    1\n"
        "                    AX. DISP.=  0.1125E+01 >   0.1000E+01     AX. FORCE=  0.1000E+07\n",
        partial50},
       {"\n\n     ** WARNING **  DETERMINANT OF STIFFNESS MATRIX IS ZERO\n",
        "\n     ** WARNING **  SOME PILES REACHED MAXIMUM IN BEARING!\n"
        "\n     ** WARNING **  REACHED MAXIMUM LOAD IN BEARING    PILE GROUP    1\n"
        "                    AX. DISP.=  0.1125E+01 >   0.1000E+01     AX. FORCE=  0.1000E+07\n"},
       {"DOES NOT CONVERGE", "7 SINGULAR"}},
      // Without extension past the curves the pile carries nothing beyond its curve's end:
      // the line search creeps towards that end until no part of the Newton increment lowers
      // the residual (8 iterations at three quarters of the load); the run log then has the
      // plain form of the warning.
      {"no extension past the curve", plus(kOverload, {{kControl, "1 3 0 0 0 1 1 0 0 0 0 0 0 0 0 0 0 0 0 0"}}),
       "    2 SOLUTION AT    50.00 % OF THE TOTAL LOAD", "NUMBER OF GLOBAL ITERATIONS =    8",
       {"\n     ** WARNING **  SOME PILES MAY FAIL IN BEARING!\n"
        "                    AXIAL DISPLACEMENT ESTIMATED IS LARGER THAN\n"
        "                    MAXIMUM DISPLACEMENT DEFINED IN AXIAL LOAD-DISPLACEMENT CURVE\n"
        "\n     ** WARNING **  APPARENT FAILURE IN BEARING    ,  PILE GROUP    1\n"},
       {"\n     ** WARNING **  SOME PILES MAY FAIL IN BEARING!\n"
        "\n     ** WARNING **  APPARENT FAILURE IN BEARING    ,  PILE GROUP    1\n"},
       {"REACHED MAXIMUM", "7 SINGULAR"}},
      // A torque of 1e6 lb in on a torque curve that ends at 5e5: past its end the tangent
      // is singular, but the torsion warning of that iteration decides the outcome, so the
      // half load is reported.
      {"singular past the torque curve, torsion warning",
       {{kLoad, "0.0 0.0 0.0 0.0 0.0 1.0E6 0.0 0.0 0.0"}, {kTorque, "1 3\n-5.0E5 -0.005\n0.0 0.0\n5.0E5 0.005\n"}},
       "    2 SOLUTION AT    50.00 % OF THE TOTAL LOAD", "NUMBER OF GLOBAL ITERATIONS =    2",
       {"     ** WARNING **  DETERMINANT OF STIFFNESS MATRIX IS ZERO\n",
        "\n     ** WARNING **  SOME PILES MAY FAIL IN TORSION!\n"
        "                    TORSIONAL ROTATION ESTIMATED IS LARGER/SMALLER\n"
        "                    THAN MAXIMUM/MINIMUM ROTATION DEFINED IN TORQUE-ROTATION CURVE\n"
        "\n     ** WARNING **  MAXIMUM MOMENT REACHED IN TORSION   PILE GROUP    1\n",
        partial50},
       {"\n     ** WARNING **  SOME PILES REACHED MAXIMUM IN TORSION!\n"
        "\n     ** WARNING **  MAXIMUM MOMENT REACHED IN TORSION   PILE GROUP    1\n"},
       {"DOES NOT CONVERGE", "7 SINGULAR"}},
      // A torque curve without stiffness under a torque: nothing holds the cap's rotation
      // about X, and the tangent is singular at its first iteration (its torsion term is round-
      // off, some 1e-23 against 1e6 to 1e9 elsewhere): no rotation of 1e46 rad is tried.
      {"torque curve without stiffness",
       {{kLoad, "0.0 0.0 0.0 0.0 0.0 1.0E6 0.0 0.0 0.0"}, {kTorque, "1 3\n0.0 -1.0\n0.0 0.0\n0.0 1.0\n"}},
       "    7 SINGULAR STIFFNESS MATRIX ", nullptr,
       {"     ** WARNING **  DETERMINANT OF STIFFNESS MATRIX IS ZERO\n"},
       {"\n\n     ** WARNING **  DETERMINANT OF STIFFNESS MATRIX IS ZERO\n"},
       {"DOES NOT CONVERGE", "* TABLE L *", "TORSION"}},
  };
  for (const Ending& e : endings) {
    SCOPED_TRACE(e.name);
    WorkDir dir;
    ASSERT_EQ(run_input(dir, edited("single_pile_elastic_us.dat", e.edits)), 0);
    const std::string cas = dir.read("case.cas"), out = dir.read("case.out"), log = dir.read("case.log");
    EXPECT_TRUE(has(cas, std::string("      ANALYSIS DUE TO TOTAL LOAD\n") + e.outcome + "\n")) << cas;
    if (e.iterations) {
      EXPECT_TRUE(has(out, std::string("\n\n          ") + e.iterations + "\n")) << e.iterations;
      EXPECT_TRUE(has(log, std::string("\n          ") + e.iterations + "\n\n")) << e.iterations;
    } else {
      EXPECT_FALSE(has(out, "NUMBER OF GLOBAL ITERATIONS"));
    }
    for (const char* b : e.report) EXPECT_TRUE(has(out, b)) << "results report lacks:\n" << b;
    for (const char* b : e.runlog) EXPECT_TRUE(has(log, b)) << "run log lacks:\n" << b;
    for (const char* a : e.absent) EXPECT_FALSE(has(out, a) || has(log, a)) << a;
    // The partial-load warning stands on the summary report as on the results report.
    EXPECT_EQ(has(dir.read("case.sum"), "COULD NOT GET SOLUTION"), has(out, "COULD NOT GET SOLUTION"));
  }
}

// The wharf bent under a hundred times its deck load and a pull of 4,800 kips towards its
// row 1, in steps of 1/16 with at most 10 + 1 iterations an attempt: the first step stands;
// every later attempt ends early, where no part of a Newton increment reduces the residual
// any more.
void run_overloaded_bent(WorkDir& dir) {
  const std::string t = edited("bent_2d_stiff_clay_us.dat",
                               {{"240000.0 36000.0 0.0", "2.4E7 -4.8E6 0.0"},
                                {"0 0 0 1 1 100 500", "0 0 0 1 1 10 500"},
                                {"1.0E-4 1.0E-9 0.25 0.01", "1.0E-4 1.0E-9 0.0625 0.03"}});
  ASSERT_EQ(run_input(dir, t), 0);
}


// A single pile row pinned to the cap (or pinned rows whose heads lie in one line, in 2-D
// meet in one point) leaves the cap's rotation free: the outcome stays the singular matrix,
// and the run log and the results report say why and what to change. Pinned rows apart from
// one another, and a fixed single pile, hold the cap and hear nothing of it.
TEST(CapOutcome, PinnedSingleLineOfRowsIsExplained) {
  const char* hint1 = "     ** WARNING **  THE SINGLE PILE ROW IS PINNED TO THE CAP:\n"
                      "                    THE PILES LEAVE THE ROTATION OF THE CAP FREE;\n"
                      "                    FIX THE HEADS (CONNECTION 2) OR GIVE THEM A ROTATIONAL SPRING (3)\n";
  const char* hint2d = "     ** WARNING **  EVERY PILE ROW IS PINNED TO THE CAP, THE HEADS AT ONE POINT:\n"
                       "                    THE PILES LEAVE THE ROTATION OF THE CAP FREE;\n";
  const struct {
    const char* name;
    const char* example;
    std::vector<Edit> edits;
    const char* hint;  // nullptr: completed, no hint
  } cases[] = {
      {"fixed single pile", "single_pile_elastic_us.dat", {}, nullptr},
      {"pinned single pile", "single_pile_elastic_us.dat", {{"\n2 2 1 0 1 1 0 0 0 0\n", "\n1 1 1 0 1 1 0 0 0 0\n"}},
       hint1},
      {"pinned rows apart", "bent_2d_stiff_clay_us.dat", {}, nullptr},
      {"pinned battered rows meeting at the cap origin", "bent_2d_stiff_clay_us.dat",
       {{"\n0.0 -6.0 -14.036 0.0\n", "\n0.0 0.0 -14.036 0.0\n"},
        {"\n0.0 6.0 14.036 0.0\n", "\n0.0 0.0 14.036 0.0\n"}},
       hint2d},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    WorkDir dir;
    ASSERT_EQ(run_input(dir, edited(k.example, k.edits)), 0);
    const std::string cas = dir.read("case.cas"), out = dir.read("case.out"), log = dir.read("case.log");
    EXPECT_EQ(has(cas, "    7 SINGULAR STIFFNESS MATRIX \n"), k.hint != nullptr) << cas;
    EXPECT_EQ(has(cas, "    1 ANALYSIS COMPLETED\n"), k.hint == nullptr) << cas;
    for (const std::string* text : {&out, &log}) {
      if (k.hint)
        EXPECT_TRUE(has(*text, k.hint)) << *text;
      else
        EXPECT_FALSE(has(*text, "PINNED TO THE CAP"));
    }
  }
}

// The wharf bent under ten times its deck load and a moment of 5E8 lb-in lifting its row 1,
// in steps of 1/16 with at most 10 + 1 iterations an attempt: the third step stands at half
// its increment; the next attempt ends with row 1 pulled out and row 3 beyond its bearing.
// The pile warnings of the last attempt's state are summarised and copied, and the last
// step's results are reported as a partial solution.
TEST(CapOutcome, TwoDimensionalPartialSolutionWithPileWarnings) {
  WorkDir dir;
  const std::string t = edited("bent_2d_stiff_clay_us.dat",
                               {{"240000.0 36000.0 0.0", "2.4E6 0.0 -5.0E8"},
                                {"0 0 0 1 1 100 500", "0 0 0 1 1 10 500"},
                                {"1.0E-4 1.0E-9 0.25 0.01", "1.0E-4 1.0E-9 0.0625 0.03"}});
  ASSERT_EQ(run_input(dir, t), 0);
  const std::string cas = dir.read("case.cas"), out = dir.read("case.out"), log = dir.read("case.log");
  EXPECT_TRUE(has(cas, "      ANALYSIS DUE TO TOTAL LOAD\n    2 SOLUTION AT    15.62 % OF THE TOTAL LOAD\n")) << cas;
  EXPECT_TRUE(has(out, "** WARNING **  PILE CAP DISPL DOES NOT CONVERGE AFTER,   10  ITERATIONS"));
  const std::string pullout =
      "\n     ** WARNING **  SOME PILES, MAY FAIL IN PULL OUT!\n"
      "                    AXIAL DISPLACEMENT ESTIMATED IS SMALLER THAN\n"
      "                    MINIMUM DISPLACEMENT DEFINED IN LOAD-SETTLEMENT CURVE\n"
      "\n     ** WARNING **  MAXIMUM LOAD REACHED IN PULLOUT    PILE GROUP    1\n";
  EXPECT_TRUE(has(out, pullout));
  EXPECT_TRUE(has(log, "\n     ** WARNING **  SOME PILES, MAY FAIL IN PULL OUT!\n"
                       "\n     ** WARNING **  MAXIMUM LOAD REACHED IN PULLOUT    PILE GROUP    1\n"));
  for (const char* f : {"case.out", "case.sum"})
    EXPECT_TRUE(has(dir.read(f), "     ** WARNING **    TORVA COULD NOT GET SOLUTION FOR 100% OF THE LOAD\n"
                                 "                      RESULTS ARE FOR    15.62% OF THE TOTAL LOAD\n\n"))
        << f;
}

// An attempt that ends early (no part of an increment reduces the residual, a pile that does
// not close, a singular tangent) counts as one that used up its iterations: the reports give
// MAXITFND + 1 as the iteration count of the last attempt.
TEST(CapOutcome, TwoDimensionalAttemptEndedEarlyCountsAsExhausted) {
  WorkDir dir;
  run_overloaded_bent(dir);
  EXPECT_TRUE(has(dir.read("case.out"), "\n\n          NUMBER OF ITERATIONS =  11\n"));
  EXPECT_TRUE(has(dir.read("case.log"), "\n          NUMBER OF GLOBAL ITERATIONS =   11\n\n"));
}

// A flexibility level asked beyond what the foundation carries: its analysis reaches part
// of the level's load only, and the case list and the run log's list of analyses not
// completed in full say so (they said "1 ANALYSIS COMPLETED", the run ended with status 0,
// and the level's flexibility stood for a smaller load than the one asked). The single pile
// (axial curve ending at 1E6 lb) under 9E5 lb down, levels 0.5 and 1.5; the wharf bent under
// its deck load, levels 0.5 and 10 along X. The level that completes keeps its outcome.
TEST(CapOutcome, FlexibilityLevelBelowItsLoadIsReportedAsPartial) {
  const struct {
    const char* name;
    const char* example;
    std::vector<Edit> edits;
    const char* level2;  // the outcome of DOF 1, point 2
    const char* listed;  // its line in the list of analyses not completed in full
  } cases[] = {
      {"3-D single pile",
       "single_pile_elastic_us.dat",
       {{kLoad, "9.0E5 0.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0"},
        {kSteps, "1.0E-4 1.0E-6 0.5 0.1"},
        {"\n0 0 0 0 0 0 0 0\n", "\n0 2 0 0 0 0 0 0\n"},
        {"0\n0\nLOAD COMBINATIONS", "0\n2\n0.5\n1.5\nLOAD COMBINATIONS"}},
       "    2 SOLUTION AT    62.50 % OF THE TOTAL LOAD",
       "     LOAD CASE      1, STIFFNESS ESTIMATION: SOLUTION BELOW THE TOTAL LOAD, LOAD REACHED   62.50 %"},
      {"2-D wharf bent",
       "bent_2d_stiff_clay_us.dat",
       {{"\n0 0 0 0 0 0 0 0\n", "\n0 2 0 0 0 0 0 0\n"}, {"0\n0\nLOAD COMBINATIONS", "0\n2\n0.5\n10.0\nLOAD COMBINATIONS"}},
       "    2 SOLUTION AT    71.88 % OF THE TOTAL LOAD",
       "     LOAD CASE      1, STIFFNESS ESTIMATION: SOLUTION BELOW THE TOTAL LOAD, LOAD REACHED   71.88 %"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WorkDir dir;
    ASSERT_EQ(run_input(dir, edited(c.example, c.edits)), 0);
    const std::string cas = dir.read("case.cas");
    EXPECT_TRUE(has(cas, std::string("      DOF :     1 POINT :     1\n    1 ANALYSIS COMPLETED\n"))) << cas;
    EXPECT_TRUE(has(cas, std::string("      DOF :     1 POINT :     2\n") + c.level2 + "\n")) << cas;
    EXPECT_TRUE(has(dir.read("case.log"), std::string("\n") + c.listed + "\n")) << dir.read("case.log");
  }
}

// The lines of an analysis that ends without a solution, by the state it ends in: the case
// list's outcome, the failure records of a flexibility level (the unit vector of its degree
// of freedom on ESTREC1, the negated level with zeros on ESTREC2), and a stiffness point
// marked as failed.
TEST(CapOutcome, EndingsWithoutASolution) {
  struct Case {
    int istate;
    bool never_converged;
    const char* line;  // nullptr: not an ending without a solution
  };
  const Case cases[] = {{1, false, "    6 NO CONVERGENCE ON PILES   "},
                        {2, true, "    7 SINGULAR STIFFNESS MATRIX "},
                        {0, true, "    3 NO CONVERGENCE ON PILE CAP"},
                        {3, true, "    3 NO CONVERGENCE ON PILE CAP"},
                        {0, false, nullptr},
                        {3, false, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.istate);
    WorkDir dir;
    auto m = new_model();
    ASSERT_TRUE(m->CASELOG.open_write("cas.txt"));
    ASSERT_TRUE(m->ESTREC1.open_write("es1.txt"));
    ASSERT_TRUE(m->ESTREC2.open_write("es2.txt"));
    m->ISTATE = c.istate;
    m->MODSTF = 2;
    m->IPSTF = 2;
    m->ISTEP = 3;
    m->IESTON = 1;
    m->ICONV = 2;
    EXPECT_EQ(failed_outcome(*m, c.never_converged, 3, 0.0), c.line != nullptr);
    m->CASELOG.close();
    m->ESTREC1.close();
    m->ESTREC2.close();
    if (!c.line) {
      EXPECT_EQ(dir.read("cas.txt"), "");
      EXPECT_EQ(dir.read("es1.txt"), "");
      EXPECT_EQ(m->ICONV, 2);
      continue;
    }
    EXPECT_EQ(dir.read("cas.txt"), std::string(c.line) + "\n");
    EXPECT_EQ(m->ICONV, -1);
    std::istringstream e1(dir.read("es1.txt")), e2(dir.read("es2.txt"));
    int n = 0;
    double v[4] = {9, 9, 9, 9};
    ASSERT_TRUE(e1 >> n >> v[0] >> v[1] >> v[2]);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(v[0], 0.0);
    EXPECT_EQ(v[1], 1.0);
    EXPECT_EQ(v[2], 0.0);
    ASSERT_TRUE(e2 >> n >> v[0] >> v[1] >> v[2] >> v[3]);
    EXPECT_EQ(n, -3);
    for (double x : v) EXPECT_EQ(x, 0.0);
    ASSERT_TRUE(e2 >> n >> v[0] >> v[1] >> v[2]);
    EXPECT_EQ(n, -3);
  }
}

}  // namespace
}  // namespace torva
