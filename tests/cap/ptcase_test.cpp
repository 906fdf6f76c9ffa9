// Load cases given at a point of definition, end to end on the 2 x 2 group in sand: loads
// given at a point against the same loads at the origin, and a displacement given at the
// point.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "cap/example_fixture.h"
#include "model/model.h"

namespace torva {
namespace {

using testing::read_example;
using testing::replace;
using testing::run_input;
using testing::WorkDir;

const std::string kCase =
    "0 0 0 0 0 0 0 0\n2 1 1.0 0 0.0 0.0 0 0 0\n0\n"
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1\n"
    "400000.0 40000.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0\n0\n0\n";

// The example's case with its load applied at (X, Y, Z) = (0, 1 ft, 2 ft) instead.
std::string loads_at_point_as_concentrated() {
  return replace(read_example("group2x2_sand_us.dat"), kCase,
                 "0 0 0 0 0 0 0 0\n2 1 1.0 0 0.0 0.0 0 0 0\n0\n"
                 "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1\n"
                 "400000.0 40000.0 0.0 0.0 0.0 0.0 0.0 1.0 2.0\n0\n0\n");
}

// The case given at the point of definition (0, 1 ft, 2 ft): codes and (displacement, load)
// pairs in the input order X, Y, rot Z, Z, rot Y, rot X.
std::string point_case(const std::string& codes, const std::string& pairs1) {
  return replace(read_example("group2x2_sand_us.dat"), kCase,
                 "0 0 0 0 0 0 0 1\n2 1 1.0 0 0.0 0.0 0 0 0\n0\n"
                 "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n0\n0\n0\n" +
                     codes + "\n" + pairs1 + "\n0.0 0.0 0.0 0.0 0.0 0.0\n0.0 1.0 2.0\n");
}

struct Result {
  std::vector<double> cap;  // loads 1..6 and displacements 7..12 at the origin
  std::vector<double> heads;  // the pile-head values of every row
  std::string report;
};

Result run(const std::string& input) {
  WorkDir dir;
  Result r;
  EXPECT_EQ(run_input(dir, input), 0);
  const Model& m = *current_model();
  for (int i = 1; i <= 12; ++i) r.cap.push_back(m.EMXCAP(i));
  for (int g = 1; g <= m.NROW; ++g)
    for (int k = 1; k <= 13; ++k) r.heads.push_back(m.PRTOP(g, k));
  r.report = dir.read("case.out");
  EXPECT_NE(dir.read("case.cas").find("    1 ANALYSIS COMPLETED"), std::string::npos);
  return r;
}

void expect_close(const std::vector<double>& a, const std::vector<double>& b, double rel,
                  double floor) {
  ASSERT_EQ(a.size(), b.size());
  double scale = floor;
  for (double v : a) scale = std::max(scale, std::fabs(v));
  for (std::size_t i = 0; i < a.size(); ++i)
    EXPECT_NEAR(a[i], b[i], rel * std::max(std::fabs(a[i]), 1e-3 * scale)) << i;
}

// All six loads given at the point: the same cap movement and pile-head forces as the
// same loads applied at that point as a concentrated load.
TEST(PointCase, LoadsGivenAtAPointAnalyseAsTheEquivalentLoadsAtTheOrigin) {
  const Result at_origin = run(loads_at_point_as_concentrated());
  const Result at_point = run(point_case("1 1 1 1 1 1", "0.0 400000.0 0.0 40000.0 0.0 0.0"));
  expect_close(at_origin.cap, at_point.cap, 2e-3, 1e-6);
  expect_close(at_origin.heads, at_point.heads, 2e-3, 1e-6);
  // The origin carries the moments of the point loads.
  EXPECT_NEAR(at_point.cap[5], -12.0 * 400000.0 + 0.0, 2e-3 * 12.0 * 400000.0);  // MZ = X FY - Y FX
  EXPECT_NE(at_point.report.find("* POINT OF DEFINITION DISPLACEMENT/LOADS *"), std::string::npos);
}

// 0.5 in given along Y at the point with the vertical load given: the point moves exactly
// 0.5 in along Y (u2 - z u4 + x u6), the reported Y load at the point is the pile reaction,
// and the marks show which values were given.
TEST(PointCase, DisplacementGivenAtThePointIsMet) {
  const Result r = run(point_case("1 0 1 1 1 1", "0.0 400000.0 0.5 0.0 0.0 0.0"));
  const double u2 = r.cap[7], u4 = r.cap[9], u6 = r.cap[11];
  EXPECT_NEAR(u2 - 24.0 * u4 + 0.0 * u6, 0.5, 1e-9);
  // The vertical load at the origin is the given one; the Y force is the piles' reaction.
  EXPECT_NEAR(r.cap[0], 400000.0, 1e-6 * 400000.0);
  EXPECT_GT(r.cap[1], 1000.0);
  EXPECT_NE(r.report.find("VERT. LOAD, LBS*   HOR. LOAD Y, LBS   HOR. LOAD Z, LBS*"), std::string::npos);
  EXPECT_NE(r.report.find("VERTICAL ,IN      HORIZONTAL Y,IN*    HORIZONTAL Z,IN \n"), std::string::npos);
}

}  // namespace
}  // namespace torva
