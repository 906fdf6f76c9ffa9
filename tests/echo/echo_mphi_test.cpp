// Moment-curvature sets of the analysis: user sets first, then the curves of each
// nonlinear cross section in the set numbers that section was given, matched by the cross
// section each entry names.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "echo/echo_mphi.h"
#include "model/messages.h"
#include "model/model.h"
#include "support/workdir.h"

namespace torva {
namespace {

class EchoMphi : public ::testing::Test {
 protected:
  void SetUp() override {
    m.NDIM = 3;
    m.NSECIN = 3;
    m.NMPHI = 1;
    m.NMPSETI = 1;  // one user set with one curve of two points
    m.NCRVMI(1) = 1;
    m.AXLI(1, 1) = 11.0;
    m.NPTMI(1, 1) = 2;
    m.MOMI(1, 1, 2) = 100.0;
    m.PHII(1, 1, 2) = 0.001;
    // Cross sections 1 and 3 are nonlinear; their set numbers follow the user set.
    for (int k : {1, 3}) {
      m.INONLIN(k) = 1;
      m.NLINT(k, 1) = 1;
    }
    m.NLINT(1, 28) = 2;
    m.NLINT(1, 29) = 3;
    m.NLINT(3, 28) = 4;
    m.NLINT(3, 29) = 5;
  }
  // Entry i of the section curves: cross section k, one curve whose axial load tells it.
  void entry(int i, int k, double axl) {
    for (MPHIGEN* g : {&m.MPHIGEN1, &m.MPHIGEN2}) {
      g->NMPG = std::max(g->NMPG, i);
      g->ISECG(i) = k;
      g->NCRVG(i) = 1;
      g->AXLG(i, 1) = g == &m.MPHIGEN1 ? axl : -axl;
      g->NPTG(i, 1) = 3;
      g->MOMG(i, 1, 3) = axl * 10.0;
      g->PHIG(i, 1, 3) = 0.01;
    }
  }
  testing::WorkDir wd;
  std::unique_ptr<Model> mp = new_model();
  Model& m = *mp;
};

TEST_F(EchoMphi, SectionsNumberedOutOfOrderReceiveTheirOwnCurves) {
  entry(1, 3, 30.0);  // the entries come in the reverse order of the sections
  entry(2, 1, 10.0);
  wd.write("list.mph", "GENERATED CURVES   \nSECOND LINE\n");
  ASSERT_TRUE(m.MPHILIST.open_read("list.mph"));
  ASSERT_TRUE(m.ECHO.open_write("case.echo"));
  int status = 0;
  ECHOMPHI(m, status);
  m.ECHO.close();
  ASSERT_EQ(status, 0);
  EXPECT_EQ(m.NMPUSR, 1);
  EXPECT_EQ(m.AXLMP(1, 1), 11.0);
  EXPECT_EQ(m.MOMMP(1, 1, 2), 100.0);
  EXPECT_EQ(m.AXLMP(2, 1), 10.0);   // section 1, first axis
  EXPECT_EQ(m.AXLMP(3, 1), -10.0);  // section 1, second axis
  EXPECT_EQ(m.AXLMP(4, 1), 30.0);   // section 3
  EXPECT_EQ(m.AXLMP(5, 1), -30.0);
  EXPECT_EQ(m.NPTMP(4, 1), 3);
  EXPECT_EQ(m.MOMMP(4, 1, 3), 300.0);
  const std::string echo = wd.read("case.echo");
  EXPECT_NE(echo.find("     * TABLE J *   MOMENT CURVATURE SETS    \n"), std::string::npos);
  EXPECT_NE(echo.find("       NUM OF SETS :  1\n"), std::string::npos);
  EXPECT_NE(echo.find("     INTERNALLY GENERATED MOMENT CURVATURE"), std::string::npos);
  EXPECT_NE(echo.find("\nGENERATED CURVES\nSECOND LINE\n"), std::string::npos);
}

TEST_F(EchoMphi, WithoutTableJTheGeneratedSetsAreStillStored) {
  m.NMPHI = 0;
  entry(1, 1, 10.0);
  int status = 0;
  ECHOMPHI(m, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(m.NCRVMP(1), 0);  // no user set copied
  EXPECT_EQ(m.AXLMP(2, 1), 10.0);
  EXPECT_EQ(m.NCRVMP(4), 0);  // section 3 has no entry: its sets hold no curves
}

TEST_F(EchoMphi, EntryOfAnElasticSectionIsSkipped) {
  entry(1, 2, 10.0);  // cross section 2 is elastic
  int status = 0;
  ECHOMPHI(m, status);
  EXPECT_EQ(status, 0);
  for (int s = 2; s <= 5; ++s) EXPECT_EQ(m.NCRVMP(s), 0) << s;
}

TEST_F(EchoMphi, SetNumberBeyondTheTableIsRefused) {
  m.NLINT(3, 29) = MAXMPSET + 1;
  entry(1, 3, 30.0);
  int status = 0;
  ECHOMPHI(m, status);
  EXPECT_EQ(status, ST_INPUTCHECK);
}

// A nonlinear section left without curves (no entry, or in 3-D an entry without curves
// for one axis) bends elastically: the run goes on, and the run log and the results report
// name the section and say so. Sections 1 and 3 are nonlinear; entries as listed.
TEST_F(EchoMphi, SectionWithoutCurvesIsNamedInAWarning) {
  struct Case {
    const char* what;
    int ndim, nmphi;
    bool entry1, entry3;
    int gen2_curves3;      // curves of section 3's second-axis entry
    std::string warning;   // the last line of the warning ("" none)
  };
  const std::string none = "     NO MOMENT-CURVATURE CURVES ARE GIVEN; ITS ELASTIC BENDING "
                           "STIFFNESS IS USED";
  const Case cases[] = {
      {"3-D, no entry for section 3", 3, 1, true, false, 0, none},
      {"2-D, no entry for section 3", 2, 1, true, false, 0, none},
      {"3-D, section 3 without curves for EIy", 3, 1, true, true, 0,
       "     NO MOMENT-CURVATURE CURVES ARE GIVEN FOR EIy; ITS ELASTIC BENDING STIFFNESS IS "
       "USED"},
      {"every section has curves", 3, 1, true, true, 1, ""},
      {"no moment-curvature stiffness in the run", 3, 0, true, false, 0, ""},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    auto own = new_model();
    Model& mm = *own;
    mm.NDIM = k.ndim;
    mm.NSECIN = 3;
    mm.NMPHI = k.nmphi;
    for (int s : {1, 3}) {
      mm.INONLIN(s) = 1;
      mm.NLINT(s, 1) = 1;
    }
    mm.NLINT(1, 28) = 1;
    mm.NLINT(1, 29) = 2;
    mm.NLINT(3, 28) = k.ndim == 3 ? 3 : 2;
    mm.NLINT(3, 29) = 4;
    mm.SNAME(3) = "PILE 3 NONLINEAR";
    int i = 0;
    for (int s : {1, 3}) {
      if (!(s == 1 ? k.entry1 : k.entry3)) continue;
      ++i;
      for (MPHIGEN* g : {&mm.MPHIGEN1, &mm.MPHIGEN2}) {
        g->NMPG = i;
        g->ISECG(i) = s;
        g->NCRVG(i) = (s == 3 && g == &mm.MPHIGEN2) ? k.gen2_curves3 : 1;
        g->NPTG(i, 1) = 2;
        g->MOMG(i, 1, 2) = 100.0;
        g->PHIG(i, 1, 2) = 0.001;
      }
    }
    RowCapture cap;
    int status = 0;
    {
      CaptureScope scope(cap);
      ECHOMPHI(mm, status);
    }
    EXPECT_EQ(status, 0);
    if (k.warning.empty()) {
      EXPECT_TRUE(cap.lines.empty());
      continue;
    }
    ASSERT_EQ(cap.lines.size(), 4u);
    for (const auto& [dest, line] : cap.lines) EXPECT_EQ(dest, unsigned(TO_REPORT | TO_RUNLOG));
    EXPECT_EQ(cap.lines[1].second, "                             **** WARNING ****");
    EXPECT_EQ(cap.lines[2].second, "     NONLINEAR CROSS SECTION 3 (PILE 3 NONLINEAR):");
    EXPECT_EQ(cap.lines[3].second, k.warning);
  }
}

}  // namespace
}  // namespace torva
