// Tables L and M of a 2-D model and its all-piles tables, on the wharf-bent example: the
// reports of one analysis held by golden files (checked by hand once: the pile-top forces
// of the three rows, two piles each, add up to the applied loads, and the global and local
// values of a battered row are the same vectors turned by its batter), and the envelopes
// of two analyses.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cap/bent_fixture.h"
#include "report/envewr2d.h"
#include "support/golden.h"

namespace torva {
namespace {

using testing::Bent;
using testing::bent_text;

const std::filesystem::path kGold = std::filesystem::path(TORVA_SOURCE_DIR) / "tests" / "golden" / "anal2d_bent";

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> v;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) v.push_back(l);
  return v;
}

// The numbers of the first line after the line holding `head` within `part`.
std::vector<double> values_after(const std::vector<std::string>& part, const std::string& head) {
  std::vector<double> v;
  for (std::size_t i = 0; i + 1 < part.size(); ++i)
    if (part[i].find(head) != std::string::npos) {
      std::istringstream in(part[i + 1]);
      for (double x; in >> x;) v.push_back(x);
      break;
    }
  return v;
}

TEST(Envewr2d, ReportsOfOneAnalysisAreGolden) {
  Bent b(bent_text());
  ASSERT_EQ(b.status, 0);
  Vec3 FV, DV;
  b.analyse(1, FV, DV);
  ASSERT_EQ(b.status, 0);
  const std::string out = b.close_and_read("case.out");
  const std::string sum = b.dir.read("case.sum");
  const std::string pld = b.dir.read("case.pld");
  const std::string scr = b.dir.read("case.pls");
  EXPECT_EQ(lines_of(scr).size(), 8u * 3u) << "eight scratch records per row";
  testing::check_golden_lines(kGold / "report_tables_l_m.txt",
                              testing::report_part(out, "* TABLE L *", "NO SUCH LINE"));
  testing::check_golden_lines(kGold / "summary_tables.txt",
                              testing::report_part(sum, "* TABLE L *", "NO SUCH LINE"));
  testing::check_golden_lines(kGold / "plot_data.txt",
                              testing::report_part(pld, "* TABLE L *", "NO SUCH LINE"));
}

// Two analyses of the case, at its full load and at half of it: the minimum envelope is
// the half load and the maximum the full load, with their headings and outcome lines.
TEST(Envewr2d, EnvelopesOfTwoAnalyses) {
  Bent b(bent_text());
  ASSERT_EQ(b.status, 0);
  Vec3 FV, DV, FVh, DVh;
  b.analyse(1, FV, DV, 1.0, 1);
  b.analyse(1, FVh, DVh, 0.5, 2);
  ASSERT_EQ(b.status, 0);
  b.m->IENVOUT(1) = 1;
  int st = 0;
  ENVEWR2D(*b.m, 1, 1, st);
  ENVEWR2D(*b.m, 1, 2, st);
  ASSERT_EQ(st, 0);
  const std::string out = b.close_and_read("case.out");
  const std::string cas = b.dir.read("case.cas");
  EXPECT_NE(cas.find("LOAD CASE ENV : 1\n      MINIMUM ENVELOPE\n    1 CALCULATED AND PRINTED\n"),
            std::string::npos) << cas;
  EXPECT_NE(cas.find("LOAD CASE ENV : 2\n      MAXIMUM ENVELOPE\n    1 CALCULATED AND PRINTED\n"),
            std::string::npos);
  const auto mn = testing::report_part(out, "LOAD CASE ENV : 1", "LOAD CASE ENV : 2");
  const auto mx = testing::report_part(out, "LOAD CASE ENV : 2", "NO SUCH LINE");
  ASSERT_FALSE(mn.empty());
  EXPECT_EQ(mn[1], "     CASE NAME     : MINIMUM ENVELOPE");
  const std::vector<double> lmin = values_after(mn, "VERT. LOAD,");
  const std::vector<double> lmax = values_after(mx, "VERT. LOAD,");
  ASSERT_EQ(lmin.size(), 3u);
  ASSERT_EQ(lmax.size(), 3u);
  EXPECT_DOUBLE_EQ(lmin[0], 120000.0);
  EXPECT_DOUBLE_EQ(lmin[1], 18000.0);
  EXPECT_DOUBLE_EQ(lmax[0], 240000.0);
  EXPECT_DOUBLE_EQ(lmax[1], 36000.0);
  const std::vector<double> dmin = values_after(mn, "VERTICAL,");
  ASSERT_EQ(dmin.size(), 3u);
  EXPECT_NEAR(dmin[0], DVh(1), 1e-5 * DV(1));
  // The pile-top block of every row follows for the load-case envelopes with print option 1.
  EXPECT_NE(out.find("        * PILE TOP DISPLACEMENTS AND REACTIONS *"), std::string::npos);
  EXPECT_NEAR(b.m->EMXTOP(1, 17), 2.0 * b.m->EMNTOP(1, 17), 0.2 * b.m->EMXTOP(1, 17))
      << "the axial force of a pile roughly halves with the load";
}

}  // namespace
}  // namespace torva
