// Tables L and M of a 3-D analysis and of the envelopes, on a hand-filled model.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "io/platform.h"
#include "report/envewr.h"
#include "report/report_fixture.h"
#include "support/all_threads.h"
#include "support/golden.h"

namespace torva {
namespace {

using testing::node_value;
using testing::ReportFixture;
using testing::top_value;

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
    ++n;
  return n;
}

std::size_t index_of(const std::vector<std::string>& lines, const std::string& what,
                     std::size_t from = 0) {
  for (std::size_t i = from; i < lines.size(); ++i)
    if (lines[i].find(what) != std::string::npos) return i;
  return lines.size();
}

// Fixed processor count for the length of a test.
struct Processors {
  explicit Processors(int n) {
    platform::set_processors([n] { return n; });
  }
  ~Processors() { platform::set_processors(nullptr); }
};

// The pile-head block of row 1, checked by hand against the layout: headings with their
// unit labels, 13-column values in fixed or exponent form by magnitude, the stress line
// after the global and again after the local reactions.
TEST(Envewr, PileHeadBlockOfOneAnalysis) {
  ReportFixture f;
  int status = 0;
  ENVEWR(f.m, 0, 0, status);
  f.close();
  ASSERT_EQ(status, 0);
  const auto l = f.lines(".out");
  const std::size_t g1 = index_of(l, "* PILE GROUP *");
  ASSERT_LT(g1, l.size());
  EXPECT_EQ(l[g1], "       * PILE GROUP *     1");
  EXPECT_EQ(l[g1 + 3], "        * PILE TOP DISPLACEMENTS AND REACTIONS *");
  EXPECT_EQ(l[g1 + 6], "       THE GLOBAL STRUCTURAL COORDINATE SYSTEM");
  EXPECT_EQ(l[g1 + 10],
            "      DISP. X,IN   DISP. Y,IN   DISP. Z,IN   ROT. X,RAD   ROT. Y,RAD   ROT. Z,RAD");
  // 0.0237, 0.274, -3.11, 34.8, 385, -4220: exponent form below 0.1, then 4 significant
  // decimals less one per power of ten.
  EXPECT_EQ(l[g1 + 11], "      2.3700E-02       0.2740      -3.1100       34.800       385.00"
                        "      -4220.0 ");
  EXPECT_EQ(l[g1 + 13],
            "      FOR. X,LBS   FOR. Y,LBS   FOR. Z,LBS  MOM X,LBS-IN MOM Y,LBS-IN MOM Z,LBS-IN");
  EXPECT_EQ(l[g1 + 16], "     STR,LBS/IN**2");
  EXPECT_EQ(l[g1 + 17], "          6810.0 ");
  EXPECT_EQ(l[g1 + 27],
            "       AXIAL,LBS   LAT. y,LBS   LAT. z,LBS  MOM x,LBS-IN MOM y,LBS-IN MOM z,LBS-IN");
  EXPECT_EQ(l[g1 + 30], "     STR,LBS/IN**2");
  EXPECT_EQ(l[g1 + 31], "          6810.0 ");
  EXPECT_DOUBLE_EQ(top_value(1, 13), 6810.0);
}

// Table M agrees with the stored results: the moment, shear and soil reaction of a
// hand-picked node, read back from the node table at their columns.
TEST(Envewr, NodeTableHoldsStoredValues) {
  ReportFixture f;
  f.m.INODSTE = 3;  // slots 4, 7, 10, 13: depths 0, 15, 30 and 45 ft
  int status = 0;
  ENVEWR(f.m, 0, 0, status);
  f.close();
  const auto l = f.lines(".out");
  const std::size_t rule = index_of(l, "   **********  **********");
  ASSERT_LT(rule + 5, l.size());
  std::vector<std::string> rows(l.begin() + long(rule) + 1, l.begin() + long(rule) + 5);
  EXPECT_EQ(rows[2].substr(0, 13), "       30.000");
  EXPECT_TRUE(l[rule + 5].empty()) << "the tip (slot 14) is not printed with a step of 3";
  for (int q : {9, 12, 15}) {
    SCOPED_TRACE(q);
    const double got = std::stod(rows[2].substr(std::size_t(1 + 12 * q), 12));
    const double want = node_value(1, 10, q);
    EXPECT_NEAR(got, want, 1e-4 * std::abs(want));
  }
}

struct OptionCase {
  int src, kind, option;
  int heads, node_tables;  // blocks on the results report (two rows)
};

// Print options and sources: which blocks the results report receives. The plot data and
// the scratch file always hold every row.
TEST(Envewr, PrintOptionsChooseTheRows) {
  const OptionCase cases[] = {
      {0, 0, 0, 0, 0}, {0, 0, 1, 2, 2}, {0, 0, 2, 2, 2}, {1, 2, 0, 0, 0}, {1, 2, 1, 2, 2},
      {2, 1, 0, 0, 0}, {2, 1, 1, 2, 0}, {2, 1, 2, 2, 2}};
  for (const OptionCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.src << " " << c.kind << " " << c.option);
    ReportFixture f;
    f.m.IPROPTE = f.m.IENVOUT(1) = f.m.IENVOUT(2) = c.option;
    int status = 0;
    ENVEWR(f.m, c.src, c.kind, status);
    f.close();
    ASSERT_EQ(status, 0);
    const std::string rep = f.text(".out");
    EXPECT_EQ(count(rep, "* PILE TOP DISPLACEMENTS AND REACTIONS *"), c.heads);
    EXPECT_EQ(count(rep, "STR,LBS/IN**2"), 2 * c.heads);
    EXPECT_EQ(count(rep, "* EFFECTS FOR LATERALLY LOADED PILE *"), c.node_tables);
    if (c.option == 0 && c.src == 0) {
      EXPECT_EQ(rep, "");
    }
    EXPECT_EQ(count(f.text(".pld"), "* PILE GROUP *"), 2);
    EXPECT_EQ(count(f.text(".pls"), "\n"), 16);
  }
}

// A single analysis writes no Table L and no Table M heading of its own; its first
// plot-data line is the Table M heading.
TEST(Envewr, OneAnalysisLeavesHeadingsToTheCapAnalysis) {
  ReportFixture f;
  int status = 0;
  ENVEWR(f.m, 0, 0, status);
  f.close();
  for (const char* e : {".out", ".sum", ".sus"}) EXPECT_EQ(count(f.text(e), "* TABLE"), 0) << e;
  EXPECT_EQ(f.lines(".pld").at(0), "* TABLE M *   COMPUTATION ON INDIVIDUAL PILE");
  EXPECT_EQ(f.text(".cas"), "");
}

// The envelopes: headings and outcome lines, Table L from the cap envelope, Table M from
// the pile envelopes.
TEST(Envewr, EnvelopesOfTheCombinations) {
  ReportFixture f;
  f.m.ICOMB = 3;
  int status = 0;
  ENVEWR(f.m, 2, 1, status);
  ENVEWR(f.m, 2, 2, status);
  f.close();
  ASSERT_EQ(status, 0);
  EXPECT_EQ(f.text(".cas"),
            "LOAD COMB. ENV : 1\n      MINIMUM ENVELOPE\n    1 CALCULATED AND PRINTED\n"
            "LOAD COMB. ENV : 2\n      MAXIMUM ENVELOPE\n    1 CALCULATED AND PRINTED\n");
  const auto l = f.lines(".out");
  const std::size_t h = index_of(l, "LOAD COMB. ENV : 1");
  ASSERT_EQ(h, 3u);
  EXPECT_EQ(l[h + 1], "     COMB. NAME     : MINIMUM ENVELOPE");
  const std::size_t v = index_of(l, "VERT. LOAD,");
  EXPECT_EQ(l[v], "           VERT. LOAD, LBS    HOR. LOAD Y, LBS   HOR. LOAD Z, LBS");
  // EMNCAP(1..3) = -0.0237, -0.274, 3.11 in 18 columns after 8 blanks.
  EXPECT_EQ(l[v + 1], "                -0.0237000          -0.27400           3.11000 ");
  EXPECT_EQ(l[index_of(l, "MOMENT X ,")],
            "          MOMENT X ,IN-LBS    MOMENT Y,IN-LBS    MOMENT Z,IN-LBS");
  const auto s = f.lines(".sum");
  const std::size_t sv = index_of(s, "VERT. LOAD,");
  // 19 columns after 5 blanks, 4 digits: below 0.1 in exponent form.
  EXPECT_EQ(s[sv + 1], "             -2.3700E-02            -0.2740             3.1100 ");
  // The maximum envelope's pile heads: the first scratch record after the second call
  // holds EMXTOP(1, 1..6).
  const auto p = f.lines(".pls");
  for (int q = 1; q <= 6; ++q) {
    const double got = std::stod(p[0].substr(std::size_t(15 + 14 * (q - 1)), 14));
    EXPECT_NEAR(got, f.m.EMXTOP(1, q), 1e-4 * std::abs(f.m.EMXTOP(1, q))) << q;
  }
  EXPECT_EQ(count(f.text(".pld"), "LOAD COMB. ENV : "), 2);
}

// Two output streams per row on two threads or on one: the same files, byte for byte.
TEST(Envewr, SameReportsWithOneAndTwoThreads) {
  const torva::testing::AllThreads all_threads;
  std::vector<std::string> out[2];
  int used[2] = {};
  for (int procs : {1, 4}) {
    Processors p(procs);
    ReportFixture f(7);
    f.m.ICOMB = 1;
    int status = 0;
    ENVEWR(f.m, 0, 0, status);
    ENVEWR(f.m, 2, 2, status);
    f.close();
    ASSERT_EQ(status, 0);
    for (const char* e : {".out", ".sum", ".sus", ".pld", ".cas", ".pls"})
      out[procs == 1 ? 0 : 1].push_back(f.text(e));
    used[procs == 1 ? 0 : 1] = f.m.NTHUSE;
  }
  EXPECT_EQ(used[0], 1);
  EXPECT_EQ(used[1], 2);
  EXPECT_EQ(out[0], out[1]);
}

// No pile row: the scratch file is created empty and the summary tables still print their
// headings and extreme lines.
TEST(Envewr, NoPileRow) {
  ReportFixture f(0);
  int status = 0;
  ENVEWR(f.m, 1, 1, status);
  f.close();
  ASSERT_EQ(status, 0);
  EXPECT_TRUE(f.dir.exists("case.pls"));
  EXPECT_EQ(f.text(".pls"), "");
  const std::string sum = f.text(".sum");
  EXPECT_NE(sum.find("       MINIMUM         0.0000       0.0000"), std::string::npos);
  EXPECT_EQ(count(sum, "       Pile N.          1            1"), 8);
}

// Full output of one analysis and of an envelope, held by golden files.
TEST(Envewr, GoldenReports) {
  namespace fs = std::filesystem;
  const fs::path gold = fs::path(TORVA_SOURCE_DIR) / "tests" / "golden" / "report";
  struct Run {
    const char* name;
    int src, kind;
  };
  for (const Run& r : {Run{"analysis", 0, 0}, Run{"comb_env_min", 2, 1}}) {
    SCOPED_TRACE(r.name);
    ReportFixture f;
    f.m.ICOMB = r.src == 2 ? 2 : 0;
    f.m.INODSTE = 2;
    int status = 0;
    ENVEWR(f.m, r.src, r.kind, status);
    f.close();
    ASSERT_EQ(status, 0);
    for (const char* e : {".out", ".sum", ".sus", ".pld", ".pls"})
      testing::check_golden_lines(gold / (std::string(r.name) + e + ".txt"), f.lines(e));
  }
}

}  // namespace
}  // namespace torva
