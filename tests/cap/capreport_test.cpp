// Report pieces that the 2-D and 3-D cap analyses share: the summary block at the origin
// and the pile-state records, in the form of each model.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cap/anal2d.h"
#include "cap/anal3d.h"
#include "cap/capreport.h"
#include "support/workdir.h"

namespace torva {
namespace {

std::vector<std::string> lines_of(const std::string& s) {
  std::vector<std::string> lines;
  for (std::size_t a = 0, b; (b = s.find('\n', a)) != std::string::npos; a = b + 1)
    lines.push_back(s.substr(a, b - a));
  return lines;
}

// The column headings of both models, in US units: forces along the axes, moments about
// them, each with its unit label, in fixed columns.
TEST(CapReport, SummaryBlockAtTheOriginOfEachModel) {
  struct Case {
    const char *faxes, *maxes, *loads, *disps;
    int n;
  };
  const Case cases[] = {
      {"XY", "Z", "           LOAD X,LBS     LOAD Y,LBS    MOM Z,IN-LBS",
       "            DISP X,IN      DISP Y,IN      ROT Z,RAD", 3},
      {"XYZ", "XYZ",
       "           LOAD X,LBS     LOAD Y,LBS     LOAD Z,LBS    MOM X,IN-LBS   MOM Y,IN-LBS"
       "   MOM Z,IN-LBS",
       "            DISP X,IN      DISP Y,IN      DISP Z,IN      ROT X,RAD      ROT Y,RAD"
       "      ROT Z,RAD",
       6},
  };
  for (const Case& c : cases) {
    testing::WorkDir dir;
    auto m = new_model();
    m->UFOR3 = "LBS";
    m->ULEN2 = "IN";
    ASSERT_TRUE(m->SUMSCR.open_write("sus.txt"));
    const double FV[6] = {1, 2, 3, 4, 5, 6}, DV[6] = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6};
    summary_origin(*m, c.faxes, c.maxes, FV, DV);
    m->SUMSCR.close();
    const auto lines = lines_of(dir.read("sus.txt"));
    ASSERT_EQ(lines.size(), 8u) << c.faxes;
    EXPECT_EQ(lines[1], "     * EQUIVALENT CONCENTRATED LOAD AT ORIGIN *");
    EXPECT_EQ(lines[2], c.loads);
    EXPECT_EQ(lines[5], "     * DISPLACEMENT OF GROUPED PILE FOUNDATION AT ORIGIN *");
    EXPECT_EQ(lines[6], c.disps);
    // The values: 7 blanks, then one real of 15 columns a heading column.
    EXPECT_EQ(lines[3].substr(0, 7), "       ");
    EXPECT_EQ(lines[3].size(), lines[7].size());
    EXPECT_GE(lines[3].size(), 7u + 15u * c.n);
    EXPECT_LT(lines[3].size(), 7u + 15u * (c.n + 1));
  }
}

// The 3-D pile records of the pile-state file: three pile-top stiffnesses, the along-pile
// list opened by the depth slot 0, and both lateral stiffnesses per node (the 2-D form is
// in the 2-D analysis tests).
TEST(CapReport, PileStateRecords3d) {
  testing::WorkDir dir;
  auto m = new_model();
  m->NROW = 2;
  for (int g = 1; g <= 2; ++g) {
    m->PTYPE(g) = 1;
    for (int k = 1; k <= 3; ++k) m->EQTOP(g, k) = 10.0 * k;
    m->EQDEPN(g, 0) = 7.0;
  }
  m->NSEG(1) = 4;
  TextFile f;
  ASSERT_TRUE(f.open_write("state.txt"));
  EQSTIF(*m, f);
  f.close();
  const auto lines = lines_of(dir.read("state.txt"));
  ASSERT_EQ(lines.size(), 2u * (5u + 5u));  // per row: 5 heading/value lines, 5 nodes
  EXPECT_EQ(lines[0], "* PILE GROUP *     1");
  EXPECT_EQ(lines[10], "* PILE GROUP *     2");
  EXPECT_EQ(lines[1], "       * PILE TOP EQUIVALENT STIFFNESSES");
  EXPECT_EQ(lines[2].size(), 3u * 17u + 1u);
  EXPECT_EQ(lines[3], "       * EQUIVALENT STIFFNESSES ALONG PILE");
  EXPECT_EQ(lines[4].size(), 6u + 16u + 1u);
  EXPECT_NE(lines[4].find("7.0"), std::string::npos) << lines[4];
  for (int k = 5; k <= 9; ++k) EXPECT_EQ(lines[k].size(), 6u + 16u + 17u + 17u + 1u);
}

}  // namespace
}  // namespace torva
