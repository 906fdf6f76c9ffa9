// Moment-curvature sets of the analysis: user sets first, then the curves of each
// nonlinear cross section in the set numbers that section was given, matched by the cross
// section each entry names.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/model.h"
#include "run/echo_mphi.h"
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

}  // namespace
}  // namespace torva
