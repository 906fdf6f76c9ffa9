// Node-result writers: print selection, node steps, plot lines, along-pile extremes.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "report/noderes.h"
#include "report/ptables.h"
#include "report/report_fixture.h"

namespace torva {
namespace {

using testing::ReportFixture;

std::vector<std::string> memory_lines(TextFile& f) {
  std::vector<std::string> out;
  std::istringstream s(f.take_text());
  for (std::string l; std::getline(s, l);) out.push_back(l);
  return out;
}

struct StepCase {
  int nseg, step;
  std::vector<double> depths;  // ft, segments of 5 ft
};

// Every step-th node from the head; a step at least NSEG gives head and tip, a step of 0
// or less the head alone.
TEST(NodeTable, NodeStepChoosesTheSlots) {
  const StepCase cases[] = {{10, 3, {0, 15, 30, 45}}, {10, 20, {0, 50}}, {10, 1, {0, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50}},
                            {0, 5, {0}},               {10, 0, {0}},      {10, -2, {0}},
                            {4, 4, {0, 20}}};
  ReportFixture f;
  PrintFlags F;
  F.fill(0);
  F(9) = 1;
  NodeBuf B;
  B.fill(0.5);
  for (const StepCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.nseg << " " << c.step);
    TextFile out;
    out.open_memory();
    WRNODES(f.m, out, F, c.nseg + 4, c.step, 60.0, B);
    const auto l = memory_lines(out);
    ASSERT_EQ(l.size(), c.depths.size());
    for (std::size_t i = 0; i < l.size(); ++i) {
      EXPECT_EQ(l[i].size(), 25u);  // blank, depth, one selected value
      EXPECT_DOUBLE_EQ(std::stod(l[i].substr(1, 12)), c.depths[i]);
    }
  }
}

struct SelCase {
  int env, icomb, ndim, axind, iaxvar;
  std::vector<int> cleared;
};

// The quantities a model or analysis does not produce are never printed, whatever the
// selections say.
TEST(NodeTable, PrintSelection) {
  const SelCase cases[] = {
      {0, 0, 3, 0, 1, {24, 25}},
      {0, 1, 3, 0, 1, {}},
      {1, 1, 2, 0, 1, {3, 4, 7, 8, 10, 11, 13, 14, 16, 17, 21, 23}},
      {1, 0, 3, 1, 1, {1, 5, 6, 7, 8, 18, 24, 25}},
      {0, 2, 3, -1, 0, {1, 5, 6, 7, 8, 18}},
  };
  ReportFixture f;
  for (const SelCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.env << c.icomb << c.ndim << c.axind << c.iaxvar);
    f.m.ICOMB = c.icomb;
    f.m.ICASE = 2;
    for (int q = 1; q <= NNODEQ; ++q) {
      f.m.CASINT(2, 25 + q) = c.env == 0 && c.icomb == 0 ? 1 : 0;
      f.m.CBINT(2, 15 + q) = c.env == 0 && c.icomb != 0 ? 1 : 0;
      f.m.IPRLC(q) = c.env == 1 && c.icomb == 0 ? 1 : 0;
      f.m.IPRCB(q) = c.env == 1 && c.icomb != 0 ? 1 : 0;
    }
    PrintFlags F;
    PRTSEL(f.m, c.env, c.axind, c.iaxvar, c.ndim, F);
    for (int q = 1; q <= NNODEQ; ++q) {
      const bool off = std::find(c.cleared.begin(), c.cleared.end(), q) != c.cleared.end();
      EXPECT_EQ(F(q), off ? 0 : 1) << q;
    }
  }
}

// The plot-data lines: the writer's own flags, the depth in internal units, and values
// below 1e-50 written as 0.
TEST(NodeTable, PlotLines) {
  NodeBuf B;
  B.fill(2.0);
  B(5, 2) = 1e-60;
  TextFile out;
  out.open_memory();
  WRPLOT(out, 6, 1, 1, 0, 3, 48.0, B);
  const auto l = memory_lines(out);
  ASSERT_EQ(l.size(), 4u);
  EXPECT_EQ(l[0], "        25    0    1    1    1    0    0    0    0    1    1    1    1    1    1"
                  "    1    1    1    0    1    1    1    1    1    0    0");
  // Depth, then the 17 flagged quantities, 16 columns each after 6 blanks.
  EXPECT_EQ(l[1].size(), 6u + 16u * 18u);
  EXPECT_EQ(l[2].substr(6, 16), "   48.000000    ");
  EXPECT_EQ(l[2].substr(22, 16), "   0.0000000    ");
  EXPECT_EQ(l[2].substr(38, 16), "   2.0000000    ");
}

// Along-pile extremes: of two equal minima the upper node's depth is kept.
TEST(NodeTable, ExtremesAlongThePile) {
  ReportFixture f;
  NodeBuf B;
  B.fill(1.0);
  B(6, 9) = -3.0;  // 10 ft
  B(8, 9) = -3.0;  // 20 ft: the same minimum deeper down
  B(7, 9) = 4.0;   // 15 ft
  TextFile out;
  out.open_memory();
  PILEMM(f.m, out, 17, 9, 60.0, B);
  const auto l = memory_lines(out);
  ASSERT_EQ(l.size(), 4u);
  EXPECT_EQ(l[0].substr(0, 9), "       17");
  EXPECT_EQ(scratch_field(l[0], 12, 8), -3.0);
  EXPECT_EQ(scratch_field(l[1], 12, 8), 10.0);
  EXPECT_EQ(l[1].substr(5, 5), "x(FT)");
  EXPECT_EQ(scratch_field(l[2], 12, 8), 4.0);
  EXPECT_EQ(scratch_field(l[3], 12, 8), 15.0);
  EXPECT_EQ(scratch_field(l[2], 12, 0), 1.0);  // constant along the pile: the head
  EXPECT_EQ(scratch_field(l[3], 12, 0), 0.0);
}

// A heading with no quantity selected keeps its first column on four lines.
TEST(NodeTable, HeadingWithoutQuantities) {
  ReportFixture f;
  PrintFlags F;
  F.fill(0);
  TextFile out;
  out.open_memory();
  WRHEAD(f.m, out, HD_REPORT, F);
  WRHEAD(f.m, out, HD_SUMMARY, F);
  const auto l = memory_lines(out);
  // Depth column: 2 blanks, a blank, 10 characters, a blank, then the line's end blank;
  // pile column: 3 blanks, a blank, 6 characters, a blank, the end blank.
  const std::vector<std::string> want = {
      " ", "        x      ", "               ", "       FT      ", "   **********  ",
      " ", "     PILE   ",    "            ",    "            ",    "    ******  "};
  EXPECT_EQ(l, want);
}

}  // namespace
}  // namespace torva
