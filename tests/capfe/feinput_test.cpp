// The plate model file: the checks that refuse a model, the listing of the lines that
// follow, and the location of points in the mesh.
#include "capfe/feinput.h"

#include <gtest/gtest.h>

#include <functional>

#include "capfe/platefix.h"
#include "model/status.h"

namespace torva {
namespace {

using testing::LinearPiles;
using testing::PlateModel;
using testing::PlateRunner;

PlateModel base_model() {
  PlateModel pm;
  pm.mesh.nx = 2;
  pm.mesh.ny = 1;
  pm.mesh.build();
  const int all[6] = {1, 1, 1, 1, 1, 1};
  for (int n = 1; n <= pm.mesh.npoin(); ++n) pm.restrain(n, all);
  return pm;
}

// Replaces the first occurrence of `from` in `text`.
std::string replaced(const std::string& text, const std::string& from, const std::string& to) {
  return testing::edited(text, {{from, to}});
}

struct BrokenModel {
  const char* what;
  std::function<std::string()> text;
  const char* diagnosis;
};

TEST(PlateChecks, BrokenModelsAreRefusedWithTheirDiagnosis) {
  const std::string ok = base_model().text();
  const BrokenModel cases[] = {
      {"six-node elements", [&] { return replaced(ok, " 8 2 13", " 6 2 13"); }, " *** DIAGNOSIS BY CHECK1, ERROR  6"},
      {"four Gauss points", [&] { return replaced(ok, " 8 2 13", " 8 4 13"); }, " *** DIAGNOSIS BY CHECK1, ERROR 10"},
      {"first increment zero", [&] { return replaced(ok, "\n1 0 1 0.01", "\n0 0 1 0.01"); },
       " *** DIAGNOSIS BY CHECK1, ERROR 26"},
      {"smallest increment zero", [&] { return replaced(ok, "\n1 0 1 0.01", "\n1 0 1 0"); },
       " *** DIAGNOSIS BY CHECK1, ERROR 27"},
      {"two nodes at one place", [&] { return replaced(ok, "\n2 2 0.25 0\n", "\n2 2 0 0\n"); },
       " *** DIAGNOSIS BY CHECK2, ERROR 13       ASSOCIATED NUMBER    1"},
      {"material out of range", [&] { return replaced(ok, "\n1 101 1 ", "\n1 101 2 "); },
       " *** DIAGNOSIS BY CHECK2, ERROR 14       ASSOCIATED NUMBER    1"},
      {"restrained node listed twice", [&] { return replaced(ok, "\n2 1 1 1", "\n1 1 1 1"); },
       " *** DIAGNOSIS BY CHECK2, ERROR 24       ASSOCIATED NUMBER    1"},
      {"zero thickness",
       [&] {
         PlateModel pm = base_model();
         pm.t = 0.0;
         return pm.text();
       },
       " *** DIAGNOSIS BY CHECK2, ERROR 28       ASSOCIATED NUMBER    1"},
      {"element number beyond the mesh", [&] { return replaced(ok, "\n2 102 1 ", "\n9 102 1 "); },
       " *** DIAGNOSIS BY CHECK2, ERROR 29       ASSOCIATED NUMBER    1"},
      {"point load outside the plate",
       [&] {
         PlateModel pm = base_model();
         pm.pntload.push_back("5 5 0 0 1 0 0 0");
         return pm.text();
       },
       " *** DIAGNOSIS BY CHECK2, ERROR 30       ASSOCIATED NUMBER    1"},
      {"more piles than pile rows",
       [&] {
         PlateModel pm = base_model();
         pm.ispring = 1;
         pm.piles.push_back("0.5 0.5");
         return pm.text();
       },
       " *** DIAGNOSIS BY CHECK2, ERROR 31       ASSOCIATED NUMBER    1"},
  };
  for (const BrokenModel& c : cases) {
    PlateRunner run;
    run.solve(c.text());
    EXPECT_EQ(run.run->status, ST_FEMODEL) << c.what;
    const std::string list = run.listing();
    EXPECT_NE(list.find(std::string("\n\n") + c.diagnosis + "\n"), std::string::npos) << c.what << "\n" << list;
    EXPECT_NE(list.find(" NOW FOLLOWING A LISTING OF POST-DISASTER DATA CARDS\n\n"), std::string::npos) << c.what;
    EXPECT_EQ(run.dir.read("plate.fer"), "") << c.what;
  }
}

TEST(PlateChecks, PostDisasterListingShowsTheUnreadLinesPadded) {
  PlateRunner run;
  run.solve(replaced(base_model().text(), " 8 2 13", " 8 0 13"));
  ASSERT_EQ(run.run->status, ST_FEMODEL);
  const std::string list = run.listing();
  const std::size_t k = list.find("DATA CARDS\n\n");
  ASSERT_NE(k, std::string::npos);
  // The first line after the control records is the first element record.
  const std::string first = list.substr(k + 12, list.find('\n', k + 12) - (k + 12));
  const std::string rec = "1 101 1 1 3 11 9 2 7 10 6";
  EXPECT_EQ(first, "     " + rec + std::string(80 - rec.size(), ' '));
}

TEST(PlateChecks, UnreadableModelFileNamesTheLine) {
  PlateRunner run;
  run.solve(replaced(base_model().text(), "\n2 102 1 ", "\n2 X 1 "));
  EXPECT_EQ(run.run->status, ST_FEMODEL);
  EXPECT_NE(run.listing().find(" *** PLATE MODEL FILE, LINE      5: element label"), std::string::npos)
      << run.listing();
}

TEST(PlateChecks, ModelTooLargeForMemoryIsRefused) {
  PlateRunner run;
  run.solve(replaced(base_model().text(), "13 2 1 8", "13 2000000000 1 8"));
  EXPECT_EQ(run.run->status, ST_FEMODEL);
  EXPECT_NE(run.listing().find(" *** PLATE MODEL TOO LARGE"), std::string::npos) << run.listing();
}

TEST(PlateChecks, MissingFilesAreReportedNotFatal) {
  testing::WorkDir dir;
  auto m = new_model();
  LinearPiles none({0, 0, 0, 0, 0, 0});
  int status = 0;
  CAPFEM(*m, none, status);
  EXPECT_EQ(status, ST_FEMODEL);
  dir.write("tslab.dat", "p\nmissing.fem\nl\nr\ng\n");
  status = 0;
  CAPFEM(*m, none, status);
  EXPECT_EQ(status, ST_FEMODEL);
}

TEST(PlatePoints, LocationInsideOnSidesAndInTurnedElements) {
  testing::WorkDir dir;
  auto m = new_model();
  LinearPiles none({0, 0, 0, 0, 0, 0});
  PlateRun r(*m, none);
  // Two 4-node elements side by side on [0,2] x [0,1]; the second numbered from its
  // lower-right corner, so that its natural s axis runs along y.
  m->NPOIN = 6;
  m->NELEM = 2;
  m->NNODE = 4;
  m->NEVAB = 24;
  ASSERT_TRUE(size_tables(r));
  const double xy[6][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}};
  for (int n = 1; n <= 6; ++n) {
    r.COORD(1, n) = xy[n - 1][0];
    r.COORD(2, n) = xy[n - 1][1];
  }
  const int e1[4] = {1, 2, 5, 4}, e2[4] = {3, 6, 5, 2};
  for (int k = 1; k <= 4; ++k) {
    r.LNODS(k, 1) = e1[k - 1];
    r.LNODS(k, 2) = e2[k - 1];
  }
  Dyn2<double> pts;
  pts.resize(2, 5);
  const double p[5][2] = {{0.5, 0.5}, {1.0, 0.25}, {1.5, 0.5}, {1.75, 0.2}, {3.0, 0.5}};
  for (int q = 1; q <= 5; ++q) {
    pts(1, q) = p[q - 1][0];
    pts(2, q) = p[q - 1][1];
  }
  std::vector<int> el(5);
  PNTLOC(r, 5, pts, el);
  EXPECT_EQ(el, (std::vector<int>{1, 1, 2, 2, 0}));
  EXPECT_NEAR(pts(1, 1), 0.0, 1e-12);  // the centre, on both centre lines
  EXPECT_NEAR(pts(2, 1), 0.0, 1e-12);
  EXPECT_NEAR(pts(1, 2), 1.0, 1e-12);  // the shared side goes to the lower element
  EXPECT_NEAR(pts(2, 2), -0.5, 1e-12);
  EXPECT_NEAR(pts(1, 4), -0.6, 1e-12);  // turned element: s along y, t along -x
  EXPECT_NEAR(pts(2, 4), -0.5, 1e-12);
  EXPECT_EQ(pts(1, 5), 3.0);  // outside: keeps its plan coordinates
}

}  // namespace
}  // namespace torva
