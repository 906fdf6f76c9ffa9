// A load case with an estimation that an analysis ends early: a stop request or an error
// status from the analysis of one point ends the case at once, with the estimation record
// file of the point and the matrix log closed and no table printed from a partial file.
#include <gtest/gtest.h>

#include <filesystem>

#include <string>

#include "cap/bent_fixture.h"
#include "cap/example_fixture.h"
#include "driver/casepoints.h"

namespace torva {
namespace {

// The analysis stand-in: counts its calls and, at call number g_fail_at, returns g_status.
int g_calls = 0, g_fail_at = 0, g_status = 0;

void failing_analysis(Model&, int, int& status, Vec6&, Vec6&, Vec6&, const Vec6&, Vec6&,
                      const Arr1<double, 3>&, const Arr1<int, 6>&) {
  if (++g_calls == g_fail_at) status = g_status;
}

// The single pile with estimation option `opt` (table switch 1) at the levels 0.5, 1.0, 1.5.
std::string estimation_case(int opt) {
  std::string t = testing::read_example("single_pile_elastic_us.dat");
  t = testing::replace(t, "AT THE PILE HEAD\n0 0 0 0 0 0 0 0\n",
                       "AT THE PILE HEAD\n0 " + std::to_string(opt) + " 1 0 0 0 0 0\n");
  return testing::replace(t, "0.0 10000.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0\n0\n0\n",
                          "0.0 10000.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0\n0\n3\n0.5\n1.0\n1.5\n");
}

TEST(CasePoints, StopOrErrorInAnEstimationClosesItsFiles) {
  struct Case {
    const char* name;
    int opt, fail_at, status;
    bool point_file;  // the flexibility point's record file was open when the analysis ended
  };
  // Flexibility: degree of freedom 1 has no load and is skipped; the levels of degree of
  // freedom 2 are the first analyses. Stiffness: the first level point.
  const Case cases[] = {{"stop at the second level of a flexibility point", 5, 2, ST_STOP, true},
                        {"error at the first level of a flexibility point", 5, 1, ST_PILEDEEP, true},
                        {"stop at a stiffness level point", 11, 1, ST_STOP, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::Bent r(estimation_case(c.opt));
    ASSERT_EQ(r.status, 0);
    Model& m = *r.m;
    ASSERT_TRUE(m.KMATLOG.open_write(m.fname(R_KMATLOG)));
    m.ICASE = 1;
    SETCURCASE(m, 1);
    m.ISTFOP = m.CASINT(1, 9);
    g_calls = 0;
    g_fail_at = c.fail_at;
    g_status = c.status;
    Vec6 fl, dl, pl, pd;
    for (Vec6* v : {&fl, &dl, &pl, &pd}) v->fill(0.0);
    Arr1<double, 3> pt{};
    Arr1<int, 6> cond{};
    int status = 0;
    // The start of the run emptied every file of the set: whether the point's record file
    // is opened shows in its being made again.
    std::filesystem::remove(r.dir.path() / "case.es2");
    CASEPOINTS(m, 1, status, fl, dl, pl, pd, pt, cond, failing_analysis);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(g_calls, c.fail_at) << "no analysis after the one that ended early";
    EXPECT_FALSE(m.ESTREC2.is_open());
    EXPECT_FALSE(m.KMATLOG.is_open());
    EXPECT_EQ(r.dir.exists("case.es2"), c.point_file);
    const std::string out = r.close_and_read("case.out");
    EXPECT_EQ(out.find("FORCE,LBS"), std::string::npos) << "no load-displacement table";
    EXPECT_EQ(out.find("* PILE CAP STIFFNESS ESTIMATION *\n\n"), std::string::npos);
  }
}

}  // namespace
}  // namespace torva
