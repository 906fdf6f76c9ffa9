// Stiffness and flexibility estimations run end to end on the single elastic pile under the
// cap: the sequence of points, the tables, and the closed forms of a beam on an elastic
// foundation (k D = 2400 psi, EI = 29e6 x 2549.353 lb-in2; the head is fixed to the cap).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "driver/itorva.h"
#include "input/freeread.h"
#include "io/platform.h"
#include "support/all_threads.h"
#include "support/workdir.h"

namespace torva {
namespace {

namespace fs = std::filesystem;
using torva::testing::WorkDir;

const double EI = 29.0e6 * 2549.353, KD = 100.0 * 24.0;
const double BETA = std::pow(KD / (4.0 * EI), 0.25);

std::string example(const char* file = "single_pile_elastic_us.dat") {
  std::ifstream in(fs::path(TORVA_SOURCE_DIR) / "examples" / file);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// An example's first load case: the file, its title and its load record.
struct ExampleCase {
  const char* file;
  const char* title;
  const char* loads;
};
const ExampleCase kSinglePile{"single_pile_elastic_us.dat", "LATERAL LOAD 10 KIPS ALONG Y AT THE PILE HEAD",
                              "0.0 10000.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0"};
const ExampleCase kBent{"bent_2d_stiff_clay_us.dat", "DECK DEAD LOAD 240 KIPS, MOORING PULL 36 KIPS",
                        "240000.0 36000.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0"};

// The example with the case's estimation option, table switch and values.
std::string with_estimation(int option, int table, const std::vector<double>& values,
                            const ExampleCase& c = kSinglePile) {
  std::string t = example(c.file);
  const std::string rec = std::string(c.title) + "\n0 0 0 0 0 0 0 0\n";
  const auto at = t.find(rec);
  EXPECT_NE(at, std::string::npos);
  t.replace(at, rec.size(), std::string(c.title) + "\n0 " + std::to_string(option) + " " +
                                std::to_string(table) + " 0 0 0 0 0\n");
  const std::string tail = std::string(c.loads) + "\n0\n0\n";
  const auto at2 = t.find(tail);
  EXPECT_NE(at2, std::string::npos);
  std::string nv = std::string(c.loads) + "\n0\n" + std::to_string(values.size()) + "\n";
  for (double v : values) {
    std::ostringstream s;
    s << v << "\n";
    nv += s.str();
  }
  t.replace(at2, tail.size(), nv);
  return t;
}

int run(WorkDir& dir, const std::string& input) {
  dir.write("case.dat", input);
  dir.write_names();
  dir.write("case.mph", "");
  return run_itorva(3);
}

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// Row r of the last matrix of the matrix log (5 blanks, then values of 19 columns).
std::vector<double> kmat_row(const std::string& kmx, int r) {
  const auto at = kmx.rfind("* EQV. STIFFNESS MATRIX AT ORIGIN *");
  std::istringstream in(kmx.substr(at));
  std::string line;
  for (int i = 0; i <= r; ++i) std::getline(in, line);
  std::vector<double> v;
  for (std::size_t c = 5; c + 19 <= line.size(); c += 19) {
    double x = 0.0;
    std::string_view f(line);
    f = f.substr(c, 19);
    while (!f.empty() && f.front() == ' ') f.remove_prefix(1);
    EXPECT_TRUE(parse_real(f, x)) << line;
    v.push_back(x);
  }
  return v;
}

TEST(EstimationSequence, LoadLevelPointsGiveTheFixedHeadStiffness) {
  WorkDir dir;
  ASSERT_EQ(run(dir, with_estimation(11, 0, {0.5, 1.0, 1.5})), 0);
  const std::string log = dir.read("case.log"), out = dir.read("case.out");
  EXPECT_EQ(count(log, "STIFFNESS ESTIMATION, POINT :"), 3);
  EXPECT_NE(log.find("STIFFNESS ESTIMATION, POINT :    3/   3 FACTOR :      1.50000"), std::string::npos);
  EXPECT_EQ(count(out, "* EQUIVALENT STIFFNESS MATRIX AT ORIGIN *"), 3);
  EXPECT_NE(out.find("- BASED ON TOTAL APPLIED LOAD  "), std::string::npos);
  EXPECT_NE(log.find("ANALYSIS DUE TO TOTAL LOAD"), std::string::npos);
  // Three level points and the full load, each completed; the full-load tables at the end.
  EXPECT_EQ(count(dir.read("case.cas"), "    1 ANALYSIS COMPLETED"), 4);
  EXPECT_EQ(count(out, "* TABLE L *   COMPUTATION ON PILE CAP"), 1);
  // The linear pile of an elastic subgrade: the head fixed to the cap carries 4 EI b^3.
  const std::vector<double> k2 = kmat_row(dir.read("case.kmx"), 2);
  ASSERT_EQ(k2.size(), 6u);
  const double want = 4.0 * EI * BETA * BETA * BETA;
  EXPECT_NEAR(k2[1], want, 0.03 * want);
  const std::vector<double> k6 = kmat_row(dir.read("case.kmx"), 6);
  EXPECT_NEAR(std::fabs(k6[1]), 2.0 * EI * BETA * BETA, 0.03 * 2.0 * EI * BETA * BETA);
}

TEST(EstimationSequence, TargetDeflectionPointsReachTheirTargets) {
  WorkDir dir;
  // Two levels; mode 1, target dof 2 (Y) of 0.05 in at level 1, 1 % tolerance, 6 iterations.
  const std::vector<double> v = {0.5, 1.0, 1, 2, 0, 0.05, 0, 0, 0, 0, 1.0, 6, 0, 0};
  ASSERT_EQ(run(dir, with_estimation(11, 0, v)), 0);
  const std::string log = dir.read("case.log"), out = dir.read("case.out");
  EXPECT_NE(out.find("- BASED ON TARGET DEFLECTION   "), std::string::npos);
  // The first analysis of the first point runs at factor 0.
  EXPECT_NE(log.find("STIFFNESS ESTIMATION, ITER :     0 FACTOR :      0.00000"), std::string::npos);
  EXPECT_EQ(count(out, "* EQUIVALENT STIFFNESS MATRIX AT ORIGIN *"), 2);
  EXPECT_EQ(count(out, "       DISPLACEMENT Y,  TARGET ="), 2);
  EXPECT_NE(out.find("TARGET =    0.0250000 IN , COMPUTED =    0.0250000 IN"), std::string::npos);
  EXPECT_NE(out.find("TARGET =    0.0500000 IN , COMPUTED =    0.0500000 IN"), std::string::npos);
  EXPECT_EQ(count(dir.read("case.pld"), "   -1   N:"), 0);
  // Every iteration of a point ends on the case list: a missed target with outcome 10 (the
  // sequence goes on), the iteration that reaches it with outcome 1.
  std::istringstream cas(dir.read("case.cas"));
  std::vector<std::string> ends;
  for (std::string line; std::getline(cas, line);)
    if (line.rfind("      STIFFNESS ESTIMATION, ITER :", 0) == 0 && std::getline(cas, line)) ends.push_back(line);
  ASSERT_GE(ends.size(), 4u);
  int missed = 0, reached = 0;
  for (const std::string& e : ends) {
    missed += e == "    10 ANALYSIS COMPLETED";
    reached += e == "    1 ANALYSIS COMPLETED";
  }
  EXPECT_EQ(reached, 2) << "one per point";
  EXPECT_EQ(missed + reached, int(ends.size()));
  EXPECT_GE(missed, 2);
}

// Stiffness levels 0.5, 3.0 and 0.8 of 600 kips down on a pile whose axial curve ends at
// 1000 kips, with no halving allowed below the full increment: the middle level finds no
// solution, is marked on the plot data and gets no stiffness; the third level is analysed.
TEST(EstimationSequence, FailedLevelPointIsMarkedAndTheCaseGoesOn) {
  WorkDir dir;
  std::string t = with_estimation(11, 0, {0.5, 3.0, 0.8});
  for (const auto& [from, to] : {std::pair<std::string, std::string>{"\n0.0 10000.0 0.0", "\n6.0E5 10000.0 0.0"},
                                 {"1.0E-4 1.0E-6 1.0 0.01", "1.0E-4 1.0E-6 1.0 0.6"}}) {
    ASSERT_NE(t.find(from), std::string::npos) << from;
    t.replace(t.find(from), from.size(), to);
  }
  ASSERT_EQ(run(dir, t), 0);
  const std::string pld = dir.read("case.pld"), out = dir.read("case.out"), cas = dir.read("case.cas");
  EXPECT_EQ(count(pld, "       -1   N:"), 1);
  EXPECT_TRUE(pld.find("       -1   N:    2  FACTOR :    3.0000\n") != std::string::npos) << pld;
  EXPECT_EQ(count(out, "* EQUIVALENT STIFFNESS MATRIX AT ORIGIN *"), 2);
  EXPECT_TRUE(cas.find("STIFFNESS ESTIMATION, POINT :    3/   3 FACTOR :      0.80000\n") != std::string::npos);
  // Level 2 has no converged step; levels 1 and 3 and the full load complete.
  EXPECT_EQ(count(cas, "    3 NO CONVERGENCE ON PILE CAP"), 1);
  EXPECT_EQ(count(cas, "    1 ANALYSIS COMPLETED"), 3);
}

TEST(EstimationSequence, FlexibilityPointsPerDegreeOfFreedom) {
  WorkDir dir;
  ASSERT_EQ(run(dir, with_estimation(5, 1, {0.5, 1.0})), 0);
  const std::string cas = dir.read("case.cas"), out = dir.read("case.out");
  // Only the Y force is loaded: five degrees of freedom are skipped at both levels.
  EXPECT_EQ(count(cas, "    5 ANALYSIS SKIPPPED APPLIED FORCE AT CAP IS ZERO"), 10);
  EXPECT_EQ(count(out, "             DOF NOT CONSIDERED SINCE APPLIED FORCE AT CAP IS ZERO"), 5);
  EXPECT_NE(out.find("DOF   : 2 (FORCE Y)"), std::string::npos);
  EXPECT_NE(out.find("S12"), std::string::npos);
  EXPECT_NE(out.find("S62"), std::string::npos);
  EXPECT_EQ(count(out, "WARNING : STIFFNESS VALUES FOR COMPONENT(S): K11, K33, K44, K55, K66  "), 2);
  EXPECT_EQ(count(out, "* TABLE L *   COMPUTATION ON PILE CAP"), 1);
  // The flexibility of a free-headed pile (the cap turns freely under a force alone):
  // y = H / (2 EI b^3); the tables print the stiffness 2 EI b^3 for K22.
  EXPECT_NE(out.find("* PILE CAP FLEXIBILITY ESTIMATION *"), std::string::npos);
  const std::string es1 = dir.read("case.es1");
  std::istringstream in(es1);
  std::string line;
  int seen = 0;
  while (std::getline(in, line)) {
    std::istringstream v(line);
    int n;
    double s[6];
    v >> n >> s[0] >> s[1] >> s[2] >> s[3] >> s[4] >> s[5];
    if (s[1] != 0.0 && s[1] != 1.0) {
      ++seen;
      const double want = 1.0 / (2.0 * EI * BETA * BETA * BETA);
      EXPECT_NEAR(s[1], want, 0.03 * want) << line;
    }
  }
  EXPECT_EQ(seen, 2);
}

// The 2-D bent with a moment of 2e6 in-lb added to its load, the case's estimation option and
// table switch, and its estimation values.
std::string bent_with_estimation(int option, int table, const std::vector<double>& values) {
  std::string t = with_estimation(option, table, values, kBent);
  const std::string loads = "240000.0 36000.0 0.0 0.0";
  const auto at = t.find(loads);
  EXPECT_NE(at, std::string::npos);
  t.replace(at, loads.size(), "240000.0 36000.0 2.0E6 0.0");
  return t;
}

// A 2-D target on degree 6 is the rotation about z: its target is the sixth target value and
// only the moment is scaled when the scaling switch is set.
TEST(EstimationSequence, TwoDimensionalTargetOnTheRotation) {
  WorkDir dir;
  const std::vector<double> v = {1.0, 1, 6, 0, 0, 0, 0, 0, 1.0e-4, 1.0, 8, 0, 1};
  ASSERT_EQ(run(dir, bent_with_estimation(11, 0, v)), 0);
  const std::string log = dir.read("case.log"), out = dir.read("case.out");
  // Factor 0 keeps the forces and drops the moment, the vertical and horizontal forces stay.
  EXPECT_NE(log.find("LOAD :   0.24000E+06  0.36000E+05  0.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00"),
            std::string::npos);
  EXPECT_NE(log.find("LOAD :   0.24000E+06  0.36000E+05  0.00000E+00  0.00000E+00  0.00000E+00  0.20000E+07"),
            std::string::npos);
  const auto at = out.find("ROTATION Z,  TARGET =  1.00000E-04 , COMPUTED =");
  ASSERT_NE(at, std::string::npos);
  double got = 0.0;
  std::istringstream(out.substr(at + 47, 13)) >> got;
  EXPECT_NEAR(got, 1.0e-4, 1.0e-6);
  // The stiffness at the origin is the symmetric 3 x 3 of the plane, built from the piles'
  // secant springs of the final state: it carries the cap's displacement into the load of
  // the point (within the spread of secant and converged state, 2 %).
  const std::string kmx = dir.read("case.kmx");
  std::vector<std::vector<double>> K;
  for (int r = 1; r <= 3; ++r) K.push_back(kmat_row(kmx, r));
  for (const auto& row : K) ASSERT_EQ(row.size(), 3u);
  for (std::size_t r = 0; r < 3; ++r)
    for (std::size_t c = 0; c < 3; ++c) EXPECT_NEAR(K[r][c], K[c][r], 1e-5 * std::fabs(K[r][c]));
  const auto vec = [&out](const char* label) {
    const auto pos = out.rfind(label);
    std::istringstream in(out.substr(pos + std::string(label).size()));
    std::vector<double> vals(3);
    in >> vals[0] >> vals[1] >> vals[2];
    return vals;
  };
  const std::vector<double> load = vec("\n   LOAD "), disp = vec("\n   DISP ");
  EXPECT_NEAR(load[2], 0.6412 * 2.0e6, 0.01 * 2.0e6);
  for (std::size_t r = 0; r < 3; ++r) {
    const double kd = K[r][0] * disp[0] + K[r][1] * disp[1] + K[r][2] * disp[2];
    EXPECT_NEAR(kd, load[r], 0.02 * std::fabs(load[r])) << "row " << r + 1;
  }
}

// The level points of a 2-D estimation print no pile tables: their last pile pass only
// refreshes the pile states, so Table M, the all-piles tables and the plot lines come from
// the full-load analysis alone, as in the 3-D model.
TEST(EstimationSequence, TwoDimensionalLevelPointsPrintNoPileTables) {
  WorkDir dir;
  ASSERT_EQ(run(dir, bent_with_estimation(11, 0, {0.5, 1.0})), 0);
  const std::string out = dir.read("case.out"), sum = dir.read("case.sum");
  EXPECT_EQ(count(dir.read("case.cas"), "    1 ANALYSIS COMPLETED"), 3);
  EXPECT_EQ(count(out, "* EQUIVALENT STIFFNESS MATRIX AT ORIGIN *"), 2);
  EXPECT_EQ(count(out, "* TABLE L *   COMPUTATION ON PILE CAP"), 1);
  EXPECT_EQ(count(out, "* TABLE M *   COMPUTATION ON INDIVIDUAL PILE"), 1);
  EXPECT_EQ(count(sum, "* PILE TOP DISPLACEMENTS *"), 2) << "global and local, once";
  EXPECT_EQ(count(dir.read("case.pld"), "* TABLE M *   COMPUTATION ON INDIVIDUAL PILE"), 1);
}

// A 2-D flexibility estimation runs all three degrees of freedom: the third one under the
// moment alone, whose rotation per unit moment is the rotational flexibility.
TEST(EstimationSequence, TwoDimensionalFlexibilityIncludesTheMoment) {
  WorkDir dir;
  ASSERT_EQ(run(dir, bent_with_estimation(1, 1, {1.0})), 0);
  const std::string out = dir.read("case.out");
  EXPECT_NE(out.find("DOF   : 3 (MOMENT Z)"), std::string::npos);
  EXPECT_EQ(out.find("DOF NOT CONSIDERED"), std::string::npos);
  std::istringstream in(dir.read("case.es1"));
  std::string line;
  std::vector<std::vector<double>> rec;
  while (std::getline(in, line)) {
    std::istringstream r(line);
    int n;
    double a, b, c;
    if (r >> n >> a >> b >> c) rec.push_back({a, b, c});
  }
  ASSERT_EQ(rec.size(), 3u);
  // The moment's column: a rotation per unit moment (nothing when the moment is lost), with
  // little vertical movement.
  EXPECT_GT(rec[2][2], 1.0e-12);
  EXPECT_LT(std::fabs(rec[2][0]), 10.0 * rec[2][2]);
}

// Unknown modes and target degrees of freedom are refused by field and line with the value
// as written, also when the value is beyond any whole number.
TEST(EstimationSequence, UnknownEstimationModeIsRefused) {
  struct Case {
    double mode, dof;
    const char* text;
  };
  for (const Case& c :
       {Case{7, 2, "FIELD STFDAT(1,2): FOUND 7, ALLOWED 0 (LOAD LEVELS) OR 1 (TARGET DEFLECTION)"},
        Case{1.0e30, 2, "FIELD STFDAT(1,2): FOUND 1E+30, ALLOWED 0 (LOAD LEVELS) OR 1"},
        Case{-1.0e30, 2, "FIELD STFDAT(1,2): FOUND -1E+30, ALLOWED 0 (LOAD LEVELS) OR 1"},
        Case{1, 1.0e30, "FIELD STFDAT(1,3): FOUND 1E+30, ALLOWED 1 TO 6 (TARGET DEGREE"}}) {
    SCOPED_TRACE(c.text);
    WorkDir dir;
    const std::vector<double> v = {1.0, c.mode, c.dof, 0, 0.05, 0, 0, 0, 0, 1.0, 6, 0, 0};
    EXPECT_EQ(run(dir, with_estimation(11, 0, v)), ST_INPUTCHECK);
    EXPECT_NE(dir.read("case.log").find(c.text), std::string::npos) << dir.read("case.log");
  }
}

TEST(EstimationSequence, TwoDimensionalTargetOnAnOutOfPlaneDegreeIsRefused) {
  WorkDir dir;
  const std::vector<double> v = {1.0, 1, 4, 0, 0, 0, 0, 0, 1.0e-4, 1.0, 8, 0, 1};
  EXPECT_EQ(run(dir, bent_with_estimation(11, 0, v)), ST_INPUTCHECK);
  EXPECT_NE(dir.read("case.log").find(",3): FOUND 4, ALLOWED 1, 2, 3 OR 6 (TARGET DEGREE"),
            std::string::npos)
      << dir.read("case.log");
}

// A 3-D group of four rows and a 2-D bent of three: the estimation points evaluate the rows on
// one thread or on several (the pile-row loops and the per-row head stiffness at the origin),
// with identical files.
TEST(EstimationSequence, FilesDoNotDependOnTheThreadCount) {
  const torva::testing::AllThreads all_threads;
  const ExampleCase group{"group2x2_sand_us.dat", "DEAD LOAD 400 KIPS PLUS LATERAL 40 KIPS ALONG Y",
                          "400000.0 40000.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0"};
  struct Run {
    const ExampleCase* c;
    int option;
  };
  platform::set_date([] { return platform::DateTime{2026, 12, 10, 9, 30, 0}; });
  platform::set_processors([] { return 8; });
  for (const Run& r : {Run{&group, 11}, Run{&group, 5}, Run{&kBent, 11}, Run{&kBent, 5}}) {
    SCOPED_TRACE(std::string(r.c->file) + " option " + std::to_string(r.option));
    std::map<std::string, std::string> first;
    for (const char* threads : {"1", "8"}) {
      SCOPED_TRACE(threads);
      std::string t = with_estimation(r.option, 0, {0.5, 1.0}, *r.c);
      const std::string req = "0 0 0 1 1 100 500";
      ASSERT_NE(t.find(req), std::string::npos);
      t.replace(t.find(req), req.size(), std::string("0 0 ") + threads + " 1 1 100 500");
      WorkDir dir;
      ASSERT_EQ(run(dir, t), 0);
      std::map<std::string, std::string> files;
      for (const auto& e : fs::directory_iterator(dir.path())) {
        const std::string name = e.path().filename().string();
        // The run log names the thread counts.
        if (name == "Names.dat" || name == "case.dat" || name == "case.log") continue;
        files[name] = torva::testing::mask_variable_lines(dir.read(name));
      }
      EXPECT_NE(files.count("case.kmx"), 0u);
      if (first.empty()) {
        first = files;
        continue;
      }
      ASSERT_EQ(files.size(), first.size());
      for (const auto& [name, text] : files) EXPECT_EQ(text, first.at(name)) << name;
    }
  }
  platform::set_date(nullptr);
  platform::set_processors(nullptr);
}

}  // namespace
}  // namespace torva
