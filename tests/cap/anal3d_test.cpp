// The 3-D cap analysis end to end, through input data files: closed forms, symmetry,
// equilibrium, load stepping, non-convergence, stop requests and thread independence.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>

#include "cap/cap_equilibrium.h"
#include "driver/itorva.h"
#include "io/platform.h"
#include "support/all_threads.h"
#include "support/workdir.h"

namespace torva {
namespace {

namespace fs = std::filesystem;
using torva::testing::WorkDir;

std::string read_example(const std::string& name) {
  std::ifstream in(fs::path(TORVA_SOURCE_DIR) / "examples" / name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Replaces the first occurrence of `from` (which must occur) by `to`.
std::string replace(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

int run_input(WorkDir& dir, const std::string& input) {
  dir.write("case.dat", input);
  dir.write_names();
  dir.write("case.mph", "");
  return run_itorva(3);
}

// The single 24 in pipe pile in an elastic subgrade (k = 100 pci, D = 24 in, EI = 29e6 x
// 2549.353 lb-in2) under 10 kips at its head, the ground just above the head. Its head is
// at the cap origin with a fixed connection, so the cap rotates with it and the pile acts
// free-headed: y0 = H / (2 EI b^3), rotation H / (2 EI b^2), b = (k D / 4 EI)^(1/4).
TEST(Anal3d, FreeHeadPileUnderTheCapMatchesTheClosedForm) {
  WorkDir dir;
  ASSERT_EQ(run_input(dir, read_example("single_pile_elastic_us.dat")), 0);
  const Model& m = *current_model();
  const double H = 10000.0, EI = 29.0e6 * 2549.353, kD = 100.0 * 24.0;
  const double b = std::pow(kD / (4.0 * EI), 0.25);
  const double y0 = H / (2.0 * EI * b * b * b), th0 = H / (2.0 * EI * b * b);
  EXPECT_NEAR(m.EMXCAP(8), y0, 0.01 * y0);               // cap translation Y
  EXPECT_NEAR(std::fabs(m.EMXCAP(12)), th0, 0.01 * th0);  // cap rotation about Z
  EXPECT_NEAR(m.EMXCAP(2), H, 1e-9 * H);                  // the load reported at the origin
  EXPECT_NE(dir.read("case.cas").find("    1 ANALYSIS COMPLETED"), std::string::npos);
}

// Four vertical piles at (Y, Z) = (+-3 ft, +-3 ft) on linear axial curves of 1e6 lb/in under
// a centred vertical load: equal pile forces, no rotation, settlement = P / (4 x 1e6).
std::string symmetric_group(double P) {
  std::string t = read_example("single_pile_elastic_us.dat");
  const std::string row1 = "2 2 1 0 1 1 0 0 0 0\n0.0 0.0 1.0 1.0 1.0 1.0 1.0\n";
  std::string rows = "PILE GROUP ROWS\n4\n";
  for (const char* yz : {"-3.0 -3.0", "3.0 -3.0", "-3.0 3.0", "3.0 3.0"})
    rows += row1 + "0.0 " + std::string(yz) + " 0.0 90.0 0.0 -0.01\n";
  t = replace(t, "PILE GROUP ROWS\n1\n" + row1 + "0.0 0.0 0.0 0.0 90.0 0.0 -0.01\n", rows);
  std::ostringstream load;
  load << P << " 0.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0";
  return replace(t, "0.0 10000.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0", load.str());
}

TEST(Anal3d, SymmetricGroupUnderVerticalLoadSettlesEvenly) {
  WorkDir dir;
  const double P = 400000.0;
  ASSERT_EQ(run_input(dir, symmetric_group(P)), 0);
  const Model& m = *current_model();
  EXPECT_NEAR(m.EMXCAP(7), P / 4.0e6, 1e-6 * P / 4.0e6);
  for (int i = 10; i <= 12; ++i) EXPECT_NEAR(m.EMXCAP(i), 0.0, 1e-12) << i;
  for (int g = 1; g <= 4; ++g) EXPECT_NEAR(m.ROWF[std::size_t(g)][0], -P / 4.0, 1e-6 * P) << g;
}

// Whether every analysis of the run can be rechecked in the state the model is left in:
// no loads along the piles, no soil movement, no moment-curvature stiffness, reduction
// factors that do not follow the load, one loading type and no combinations. Otherwise
// only the last analysis is rechecked.
bool every_result_rechecks(const Model& m) {
  if (m.NCOMB > 0 || m.NSMPT > 0 || m.NMPHI > 0 || m.IREDFAC == 1 || m.IREDFAC == 3) return false;
  for (int c = 1; c <= m.NLC; ++c)
    if (m.CASINT(c, 16) > 0 || m.CASINT(c, 4) != m.ISTATIC || m.CASINT(c, 5) != m.CASINT(m.NLC, 5))
      return false;
  return true;
}

// Every bundled 3-D example: at the cap displacement of each analysis, the load at the
// origin balances the pile rows and the cap's own reaction (passive resistance, soil
// springs).
TEST(Anal3d, CapOfEveryExampleStandsInEquilibrium) {
  for (const auto& e : fs::directory_iterator(fs::path(TORVA_SOURCE_DIR) / "examples")) {
    if (e.path().extension() != ".dat") continue;
    const std::string name = e.path().filename().string();
    SCOPED_TRACE(name);
    WorkDir dir;
    dir.copy_input(e.path());  // with the plate model file of a plate cap
    ASSERT_EQ(run_input(dir, read_example(name)), 0);
    Model& m = *current_model();
    // A plate cap leaves no rigid-cap results: its pile heads are checked by its own test.
    if (m.NDIM != 3 || m.IFEOPT > 0) continue;
    std::vector<testing::CapResult> results = testing::cap_results(dir.read("case.pld"));
    std::istringstream cas(dir.read("case.cas"));
    // The analyses under a full load (the points of a stiffness estimation before them leave
    // no cap tables).
    int analyses = 0, completed = 0;
    bool full = false;
    for (std::string l; std::getline(cas, l);) {
      if (l == "      ANALYSIS DUE TO TOTAL LOAD") {
        ++analyses;
        full = true;
        continue;
      }
      completed += full && l == "    1 ANALYSIS COMPLETED";
      full = false;
    }
    EXPECT_EQ(int(results.size()), completed);
    ASSERT_GT(analyses, 0);
    ASSERT_EQ(completed, analyses) << "every analysis of a bundled example converges";
    if (!every_result_rechecks(m)) results.erase(results.begin(), results.end() - 1);
    for (const testing::CapResult& r : results) {
      SCOPED_TRACE(r.heading);
      testing::expect_equilibrium(m, r.P, r.DV);
    }
  }
}

// The STEP lines of the run log, as load factors.
std::vector<double> step_factors(const std::string& log) {
  std::vector<double> f;
  std::istringstream in(log);
  std::string line;
  while (std::getline(in, line)) {
    const auto at = line.find(", TCUR ");
    if (line.find("     STEP ") == 0 && at != std::string::npos) f.push_back(std::stod(line.substr(at + 7, 10)));
  }
  return f;
}

TEST(Anal3d, LoadStepsOfAThirdEndAtTheFullLoad) {
  WorkDir dir;
  std::string t = replace(read_example("group2x2_sand_us.dat"), "1.0E-4 1.0E-6 0.25 0.01", "1.0E-4 1.0E-6 0.3 0.01");
  ASSERT_EQ(run_input(dir, t), 0);
  const std::vector<double> f = step_factors(dir.read("case.log"));
  ASSERT_EQ(f.size(), 4u);
  EXPECT_DOUBLE_EQ(f[0], 0.3);
  EXPECT_DOUBLE_EQ(f[1], 0.6);
  EXPECT_DOUBLE_EQ(f[2], 0.9);
  EXPECT_DOUBLE_EQ(f[3], 1.0);
  EXPECT_NE(dir.read("case.cas").find("    1 ANALYSIS COMPLETED"), std::string::npos);
}

// The 3 x 2 group's wind case in load steps of a tenth: its piles close to 2.5e-8 m, well
// within what the cap tolerance asks of the steps' movement (1e-4 of some 4e-4 m), so the
// cap iteration reaches the full load. (With 2.5e-6 m the pile-row sum jumps by about that
// much times the group's stiffness wherever a pile's closure count changes; near 40 % of
// the load the cap then cycles between states 1e-6 m apart and the case stops there.)
TEST(Anal3d, GroupCaseConvergesInSmallLoadSteps) {
  WorkDir dir;
  std::string t = read_example("group3x2_clay_sand_si.dat");
  const std::string tol = "1.0E-4 2.5E-8 0.25 0.01\n";
  const auto second = t.find(tol, t.find(tol) + 1);  // the wind case
  ASSERT_NE(second, std::string::npos);
  t.replace(second, tol.size(), "1.0E-4 2.5E-8 0.1 0.01\n");

  ASSERT_EQ(run_input(dir, t), 0);

  const std::string cas = dir.read("case.cas");
  const auto case2 = cas.find("LOAD CASE :     2");
  ASSERT_NE(case2, std::string::npos);
  const std::string block = cas.substr(case2, cas.find("LOAD CASE ENV", case2) - case2);
  EXPECT_NE(block.find("    1 ANALYSIS COMPLETED"), std::string::npos) << block;
}

// A case that cannot converge (two iterations allowed, an unreachable tolerance) reports
// its outcome and warning, and the run goes on to the next case.
TEST(Anal3d, CaseThatCannotConvergeIsReportedAndTheRunGoesOn) {
  std::string t = read_example("group2x2_sand_us.dat");
  const auto lc = t.find("LOAD CASES\n1 0 0 0 0\n");
  const auto end = t.find("LOAD COMBINATIONS");
  ASSERT_NE(lc, std::string::npos);
  const std::string body = t.substr(lc + 21, end - lc - 21);  // the one case as given
  const std::string bad = replace(replace(body, "0 0 0 1 1 100 500", "0 0 0 1 1 1 500"),
                                  "1.0E-4 1.0E-6 0.25 0.01", "1.0E-15 1.0E-6 1.0 0.6");
  t = t.substr(0, lc) + "LOAD CASES\n2 0 0 0 0\n" + bad + body + t.substr(end);
  WorkDir dir;
  ASSERT_EQ(run_input(dir, t), 0);
  const std::string cas = dir.read("case.cas");
  const auto first = cas.find("    3 NO CONVERGENCE ON PILE CAP");
  ASSERT_NE(first, std::string::npos) << cas;
  EXPECT_NE(cas.find("    1 ANALYSIS COMPLETED", first), std::string::npos) << cas;
  EXPECT_NE(dir.read("case.out").find("** WARNING **  PILE CAP DISPL DOES NOT CONVERGE AFTER,    1  ITERATIONS"),
            std::string::npos);
}

TEST(Anal3d, StopRequestWhileACaseIteratesEndsTheRunCleanly) {
  WorkDir dir;
  // Many small load steps keep the case iterating long enough to be stopped.
  std::string t = replace(read_example("group2x2_sand_us.dat"), "1.0E-4 1.0E-6 0.25 0.01", "1.0E-4 1.0E-6 0.002 0.001");
  dir.write("case.dat", t);
  dir.write_names();
  dir.write("case.mph", "");
  std::atomic<bool> done{false};
  std::thread host([&] {
    for (int i = 0; i < 2000 && !done; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      if (dir.read("case.prg").find("ITERATION:") != std::string::npos) {
        dir.write("case.stp", "1\n");
        return;
      }
    }
  });
  const int status = run_itorva(3);
  done = true;
  host.join();
  EXPECT_EQ(status, ST_STOP);
  EXPECT_NE(dir.read("case.log").find("     *** ANALYSIS STOPPED BY USER ***"), std::string::npos);
  EXPECT_NE(dir.read("case.out").find("     *** ANALYSIS STOPPED BY USER ***"), std::string::npos);
  const Model& m = *current_model();
  EXPECT_FALSE(m.REPORT.is_open());
  EXPECT_FALSE(m.WARNSCR.is_open());
  EXPECT_FALSE(m.STATEFILE.is_open());
  EXPECT_FALSE(m.KMATLOG.is_open());
}

std::map<std::string, std::string> outputs(WorkDir& dir) {
  std::map<std::string, std::string> f;
  for (const char* e : {".out", ".sum", ".echo", ".cas", ".pld", ".log", ".trc"})
    f[e] = torva::testing::mask_variable_lines(dir.read(std::string("case") + e));
  return f;
}

TEST(Anal3d, ResultFilesDoNotDependOnTheThreadCount) {
  const torva::testing::AllThreads all_threads;
  platform::set_date([] { return platform::DateTime{2026, 12, 10, 9, 30, 0}; });
  platform::set_processors([] { return 8; });
  std::map<std::string, std::string> first;
  for (const char* n : {"1", "2", "8"}) {
    SCOPED_TRACE(n);
    WorkDir dir;
    const std::string t = replace(read_example("group2x2_sand_us.dat"), "0 0 0 1 1 100 500",
                                  std::string("0 0 ") + n + " 1 1 100 500");
    ASSERT_EQ(run_input(dir, t), 0);
    auto files = outputs(dir);
    // The progress and timing lines name the thread counts; everything else must agree.
    if (first.empty()) {
      first = files;
      continue;
    }
    for (const auto& [ext, text] : files) {
      if (ext != ".log") {
        EXPECT_EQ(text, first.at(ext)) << ext;
      }
    }
  }
  platform::set_date(nullptr);
  platform::set_processors(nullptr);
}

}  // namespace
}  // namespace torva

namespace torva {
namespace {

// The cap finite-element option 2 hands the case to the plate-model writer: the cap model is
// written as a numeric file and a keyword file, and no load steps are run.
TEST(Anal3d, CapFiniteElementOptionWritesTheCapModelFiles) {
  std::string t = read_example("group2x2_sand_us.dat");
  t = replace(t, "CONTROL RECORD\n1 3 0 0 ", "CONTROL RECORD\n1 3 0 2 ");
  t = replace(t, "PILE CAP\n9.0 9.0 3.0 0.0 0.0 0\n", "PILE CAP\n9.0 9.0 3.0 0.0 0.0 0\n0.0 0.0 2 2 3.0E6 0.2\n");
  WorkDir dir;
  ASSERT_EQ(run_input(dir, t), 0);
  EXPECT_TRUE(dir.exists("case.fmd"));
  EXPECT_NE(dir.read("case.fkw").find("TEST OF TORVA5_FC"), std::string::npos);
  EXPECT_EQ(dir.read("case.log").find("     STEP "), std::string::npos);
}

}  // namespace
}  // namespace torva
