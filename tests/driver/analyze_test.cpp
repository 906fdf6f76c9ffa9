// The analysis driver's own texts: the STARTED and FINISHED progress messages, the path of a
// load case or combination marked not to be analysed, the load-type names, a stop between two
// cases, a run without load cases, and the envelopes printed only after some result.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "cap/example_fixture.h"
#include "echo/echo.h"
#include "io/platform.h"

namespace torva {
namespace {

using torva::testing::WorkDir;
using torva::testing::read_example;
using torva::testing::replace;
const auto& run = torva::testing::run_input;

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

bool has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

// The single elastic pile with three load cases and two combinations (none without
// `combinations`), envelopes of both asked for. `type1` is the load type of case 1, `skip` the
// skip switch of case 2, of case 3 and of combination 2 (and of combination 1 when
// `skip_comb1`).
std::string three_cases(int type1, int skip2, int skip3, bool skip_comb1, bool combinations = true) {
  const std::string t = read_example("single_pile_elastic_us.dat");
  const auto a = t.find("LOAD CASES\n1 0 0 0 0\n"), b = t.find("LOAD COMBINATIONS");
  const auto c = t.find("LOAD VERSUS DEPTH CURVES");
  std::string body = t.substr(a + 21, b - a - 21);  // the one case
  const std::string flags = "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n";
  auto one = [&](int type, int skip) {
    std::string s = replace(body, "0 0 0 0 0 0 0 0\n", std::to_string(type) + " 0 0 0 0 0 0 0\n");
    return replace(s, "2 1 1.0 0 0.0 0.0 0 0 0", "2 1 1.0 0 0.0 0.0 0 " + std::to_string(skip) + " 0");
  };
  auto comb = [&](int skip) {
    return "0 0 0 1 1 100 500\n1.0E-4 1.0E-6 1.0 0.01\nTHE CAP LOAD\n1.0 1.0 1\n2 1 0 0.0 0.0 0 " +
           std::to_string(skip) + " 0\n0\n" + flags + "1\n1 1.0\n";
  };
  const std::string combs = combinations ? "2 1 2 1 0\n" + flags + comb(skip_comb1 ? 1 : 0) + comb(1) : "0 0 0 0 0\n";
  return t.substr(0, a) + "LOAD CASES\n3 1 2 1 0\n" + flags + one(type1, 0) + one(12, skip2) + one(-1, skip3) +
         "LOAD COMBINATIONS\n" + combs + t.substr(c);
}

TEST(Analyze, SkippedCaseAndCombinationHaveTheirNotesAndNoAnalysis) {
  WorkDir dir;
  ASSERT_EQ(run(dir, three_cases(4, 1, 0, false)), 0);
  const std::string cas = dir.read("case.cas"), out = dir.read("case.out"), log = dir.read("case.log");
  // The case list: the skipped case's two outcome lines and no analysis line.
  EXPECT_TRUE(has(cas, "    1 ANALYSIS COMPLETED\nLOAD CASE :     2\n       ANALYSIS TO NOT RUN   \n"
                       "     9 ANALYSIS NOT PERFORMED\nLOAD CASE :     3\n      ANALYSIS DUE TO TOTAL LOAD\n"))
      << cas;
  EXPECT_TRUE(has(cas, "LOAD COMB. :     2\n       ANALYSIS TO NOT RUN   \n     9 ANALYSIS NOT PERFORMED\n"))
      << cas;
  EXPECT_EQ(count(cas, "      ANALYSIS DUE TO TOTAL LOAD"), 3);
  // Headings, the load type by name, and the note.
  const std::string pad = std::string(32 - 11, ' ');
  for (const std::string& f : {out, dir.read("case.sum")}) {
    EXPECT_TRUE(has(f, "     LOAD TYPE : Wind, WN" + std::string(32 - 8, ' ') + "\n"));
    EXPECT_TRUE(has(f, "     LOAD TYPE : Special, Sp" + pad + "\n     NOTE: LOAD CASE WILL NOT BE ANALYZED\n"));
    EXPECT_TRUE(has(f, "     LOAD TYPE : Special, Sp" + pad + "\n\n\n\n     * TABLE L *"));
    EXPECT_TRUE(has(f, "     COMB. NAME : THE CAP LOAD"));
    EXPECT_EQ(count(f, "     NOTE: LOAD COMB WILL NOT BE ANALYZED\n"), 1);
  }
  // The run log: the note, then straight to the next case; a FINISHED line and a timing
  // report for each analysis only.
  EXPECT_TRUE(has(log, "     NOTE: LOAD CASE WILL NOT BE ANALYZED\n\n\n\n     LOAD CASE :     3\n"));
  EXPECT_TRUE(has(log, "     ANALYSIS FOR LOAD CASE   1/  3 FINISHED\n\n"));
  EXPECT_FALSE(has(log, "LOAD CASE   2/  3 FINISHED"));
  EXPECT_TRUE(has(log, "     ANALYSIS FOR LOAD CASE   3/  3 FINISHED\n\n"));
  EXPECT_TRUE(has(log, "     ANALYSIS FOR LOAD COMB.   1/  2 FINISHED\n\n"));
  EXPECT_FALSE(has(log, "LOAD COMB.   2/  2 FINISHED"));
  EXPECT_EQ(count(log, "     Serial processing :"), 3);
  EXPECT_TRUE(has(log, "     NOTE: LOAD COMB WILL NOT BE ANALYZED\n"));
  // The last message is the skipped combination's STARTED: it has no FINISHED.
  EXPECT_EQ(dir.read("case.prg"), "- ANALYSIS FOR LOAD COMB.   2/  2 STARTED\n\n\n");
  // Both envelopes follow their analyses.
  EXPECT_EQ(count(out, "     LOAD CASE ENV : "), 2);
  EXPECT_EQ(count(out, "     LOAD COMB. ENV : "), 2);
}

// Envelopes asked for but no analysis to take them from: none are printed. The last progress
// message is the STARTED message of the last case or combination when that one is skipped.
TEST(Analyze, NoEnvelopeWithoutAResult) {
  struct Case {
    int skip2, skip3;
    bool skip_comb1, combinations;
    int case_env, comb_env;
    const char* progress;
  };
  // Case 1 is analysed in every run; combination 1 only when not skipped.
  const Case cases[] = {{1, 1, true, true, 2, 0, "- ANALYSIS FOR LOAD COMB.   2/  2 STARTED\n\n\n"},
                        {0, 1, false, true, 2, 2, "- ANALYSIS FOR LOAD COMB.   2/  2 STARTED\n\n\n"},
                        {0, 1, false, false, 2, 0, "- ANALYSIS FOR LOAD CASE   3/  3 STARTED\n\n\n"}};
  for (const Case& c : cases) {
    WorkDir dir;
    ASSERT_EQ(run(dir, three_cases(0, c.skip2, c.skip3, c.skip_comb1, c.combinations)), 0);
    const std::string out = dir.read("case.out");
    EXPECT_EQ(count(out, "     LOAD CASE ENV : "), c.case_env);
    EXPECT_EQ(count(out, "     LOAD COMB. ENV : "), c.comb_env);
    EXPECT_EQ(count(dir.read("case.cas"), "    1 CALCULATED AND PRINTED"), c.case_env + c.comb_env);
    EXPECT_EQ(dir.read("case.prg"), c.progress);
  }
}

TEST(Analyze, LoadTypeNames) {
  const char* want[] = {"Dead, DL", "Live, LL", "Seismic, EQ",   "Impact, IM", "Wind, WN", "Water, WT",
                        "Ice, IC",  "Soils, Hsl", "Roof Live, Lr", "Rain, Rn",   "Snow, Sn", "Temperature, Tm"};
  for (int code = 0; code <= 11; ++code) {
    std::string w = want[code];
    w.resize(32, ' ');
    EXPECT_EQ(LOADTYPENAME(code), w) << code;
  }
  for (int code : {12, -1, 1000}) EXPECT_EQ(LOADTYPENAME(code), "Special, Sp" + std::string(21, ' ')) << code;
}

// The host asks to stop while case 1 closes: the driver's poll after the case's FINISHED
// message and timing ends the run before case 2 starts.
TEST(Analyze, StopBetweenTwoCases) {
  WorkDir dir;
  const auto root = dir.path();
  platform::set_clock([root] {
    std::ifstream prg(root / "case.prg");
    std::string first;
    std::getline(prg, first);
    if (first == "- ANALYSIS FOR LOAD CASE   1/  3 FINISHED") std::ofstream(root / "case.stp") << "1\n";
    return 0.0;
  });
  const int st = run(dir, three_cases(0, 0, 0, false));
  platform::set_clock(nullptr);
  EXPECT_EQ(st, ST_STOP);
  EXPECT_EQ(dir.read("case.prg"), "- ANALYSIS FOR LOAD CASE   1/  3 FINISHED\n\n\n");
  const std::string cas = dir.read("case.cas");
  EXPECT_EQ(count(cas, "ANALYSIS DUE TO TOTAL LOAD"), 1);
  EXPECT_FALSE(has(cas, "LOAD CASE :     2"));
  EXPECT_FALSE(has(dir.read("case.out"), "LOAD CASE :     2"));
  const std::string log = dir.read("case.log");
  EXPECT_TRUE(has(log, "     ANALYSIS FOR LOAD CASE   1/  3 FINISHED\n\n     Execution Time"));
  EXPECT_TRUE(has(log, "*** ANALYSIS STOPPED BY USER ***"));
  EXPECT_FALSE(has(log, "LOAD CASE :     2"));
}

// No load cases and no combinations: the headings of the computation, the matrix log opened
// and closed, and a complete run.
TEST(Analyze, RunWithoutLoadCases) {
  std::string t = read_example("single_pile_elastic_us.dat");
  const auto a = t.find("LOAD CASES\n"), b = t.find("LOAD COMBINATIONS");
  t = t.substr(0, a) + "LOAD CASES\n0 0 0 0 0\n" + t.substr(b);
  WorkDir dir;
  ASSERT_EQ(run(dir, t), 0);
  const std::string out = dir.read("case.out");
  EXPECT_TRUE(has(out, "                 *****     COMPUTATION RESULTS     *****\n"));
  EXPECT_FALSE(has(out, "LOAD CASES RESULTS"));
  EXPECT_FALSE(has(out, "* TABLE L *"));
  EXPECT_EQ(dir.read("case.cas").substr(0, 20), "COMPUTATION RESULTS\n");
  EXPECT_FALSE(has(dir.read("case.cas"), "LOAD CASE"));
  EXPECT_TRUE(dir.exists("case.kmx"));
  EXPECT_TRUE(has(dir.read("case.log"), "     COMPUTATION IS PROCEEDING......\n"));
  EXPECT_FALSE(has(dir.read("case.prg"), "LOAD CASE"));
}

}  // namespace
}  // namespace torva
