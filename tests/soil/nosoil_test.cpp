// Models without soil layers: a foundation whose curves all come from the input analyses
// as it would on a soil whose generated curves it never uses; a row that needs a curve
// from the soil stops the run with a message naming it.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "cap/capreac.h"
#include "driver/itorva.h"
#include "io/platform.h"
#include "model/messages.h"
#include "model/status.h"
#include "soil/nosoil.h"
#include "support/workdir.h"

namespace torva {
namespace {

namespace fs = std::filesystem;
using torva::testing::WorkDir;

// Two 24 in pipe piles 6 ft apart under a cap, 10 kips along Y, 200 kips down and (in
// 3-D) a torque at the cap; the lateral, axial and torsional springs are user curves.
// `rows` is the pile-row section, `soil` the soil-layer section; `dim` the model (2 or 3),
// whose control record decides whether the torque-rotation sections follow. An `embedded`
// cap (12 ft x 4 ft x 3 ft) adds the passive resistance of the soil in front of it.
std::string group_input(int dim, const std::string& rows, const std::string& soil,
                        bool embedded = false) {
  const bool three = dim == 3;
  return std::string("TWO PIPE PILES ON USER CURVES\n"
                     "NO SOIL NEEDED\n"
                     "CONTROL RECORD\n") +
         (three ? "1 3 " : "1 2 ") + (embedded ? "1" : "0") + (three ? " 0 1 1 1" : " 0 1 1 0") +
         " 0 0 0 0 0 0 0 0 1 0 0 0 0\n"
         "PILE CAP\n" +
         (embedded ? "12.0 4.0 3.0 0.0 0.0 0\n" : "0.0 0.0 0.0 0.0 0.0 0\n") +
         "LOAD CASES\n"
         "1 0 0 0 0\n"
         "0 0 0 1 1 100 500\n"
         "1.0E-4 1.0E-6 1.0 0.01\n"
         "LATERAL, VERTICAL AND TORSION AT THE CAP\n"
         "0 0 0 0 0 0 0 0\n"
         "2 1 1.0 0 0.0 0.0 0 0 0\n"
         "0\n"
         "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
         "1\n"
         "200000.0 10000.0 0.0 0.0 0.0 300000.0 0.0 0.0 0.0\n"
         "0\n"
         "0\n"
         "LOAD COMBINATIONS\n"
         "0 0 0 0 0\n"
         "LOAD VERSUS DEPTH CURVES\n"
         "0\n"
         "PILE GROUP ROWS\n" +
         rows +
         "PILE PROPERTIES\n"
         "1\n"
         "1 1\n"
         "40 40.0 1\n"
         "0.0 40.0 1\n"
         "CROSS SECTIONS\n"
         "1\n"
         "1 0 1 0\n"
         "'PIPE 24 X 0.5'\n"
         "24.0 23.0 0.0 0.0 0.0 0.0 0.0 0.0\n"
         "11.2E6 36.9137 2549.353 2549.353 0.0 5.7106E10 1.381E7 5.537E5 29.0E6 0.0 0\n"
         "0 0 0.5 1 0\n"
         "'NONE'\n"
         "SOIL LAYERS\n" +
         soil +
         "USER P-Y CURVES\n"
         "1\n"
         "1 2\n"
         "0.0\n"
         "3\n"
         "0.0 0.0\n"
         "400.0 0.5\n"
         "600.0 2.0\n"
         "40.0\n"
         "3\n"
         "0.0 0.0\n"
         "4000.0 0.5\n"
         "6000.0 2.0\n"
         "ROWS WITH GENERATED LOAD-SETTLEMENT CURVES\n"
         "0\n" +
         (three ? "ROWS WITH GENERATED TORQUE-ROTATION CURVES\n0\n" : "") +
         "USER LOAD-SETTLEMENT CURVES\n"
         "1\n"
         "1 5\n"
         "-4.0E5 -1.0\n"
         "-2.0E5 -0.1\n"
         "0.0 0.0\n"
         "3.0E5 0.1\n"
         "8.0E5 1.0\n" +
         (three ? "USER TORQUE-ROTATION CURVES\n"
                  "1\n"
                  "1 3\n"
                  "-1.0E7 -0.01\n"
                  "0.0 0.0\n"
                  "1.0E7 0.01\n"
                : "") +
         "MOMENT-CURVATURE CURVES OF THE NONLINEAR CROSS SECTIONS\n"
         "0\n";
}

// A 3-D row: connections, property, p-y set, load-settlement and torque-rotation curve
// (0: generated), factor set, spare, generated curve numbers; then the factors and the
// geometry of a vertical pile at Y = y with the ground `freelen` below its head.
std::string row(const std::string& ints, double y, double freelen = 0.0) {
  return ints + "\n0.0 0.0 1.0 1.0 1.0 1.0 1.0\n0.0 " + std::to_string(y) +
         " 0.0 0.0 90.0 0.0 " + std::to_string(freelen) + "\n";
}

// A 2-D row of one pile at Y = y: connection, piles, property, p-y set 1, load-settlement
// curve 1, no factor set, no generated curve.
std::string row2d(double y, double freelen = 0.0) {
  return "2 1 1 1 1 0 0\n0.0 8.0 1.0 1.0 1.0\n0.0 " + std::to_string(y) + " 0.0 " +
         std::to_string(freelen) + "\n";
}

// The two rows on user curves, with the ground `freelen` below the pile heads.
std::string user_rows(int dim, double freelen) {
  if (dim == 2) return "2\n" + row2d(-3.0, freelen) + row2d(3.0, freelen);
  return "2\n" + row("2 2 1 1 1 1 0 0 0 0", -3.0, freelen) +
         row("2 2 1 1 1 1 0 0 0 0", 3.0, freelen);
}

// An elastic subgrade that none of the curves above is generated from.
const std::string kOneLayer =
    "1\n1 12\n-0.01 70.0\n2 9\n"
    "110.0 0.0 0.0 100.0 0.0 0.0 0.0 0.0 0.0\n"
    "110.0 0.0 0.0 100.0 0.0 0.0 0.0 0.0 0.0\n";

struct Outcome {
  int status = 0;
  std::map<std::string, std::string> files;  // by extension, timing lines masked
};

Outcome run(const std::string& input) {
  WorkDir dir;
  dir.write("case.dat", input);
  dir.write_names();
  dir.write("case.mph", "");
  Outcome r;
  r.status = run_itorva(3);
  for (const auto& e : fs::directory_iterator(dir.path())) {
    if (e.path().stem() != "case" || e.path().extension() == ".dat") continue;
    r.files[e.path().extension().string()] =
        torva::testing::mask_variable_lines(dir.read(e.path().filename().string()));
  }
  return r;
}

class NoSoil : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::set_date([] { return platform::DateTime{2026, 12, 10, 9, 30, 0}; });
  }
  void TearDown() override { platform::set_date(nullptr); }
};

TEST_F(NoSoil, UserCurvesGiveTheResultsOfAnUnusedLayer) {
  // A free-standing cap, and a cap embedded 3 ft with its passive resistance from the
  // user curves at the pile heads.
  for (auto [dim, embedded] : {std::pair{3, false}, {2, false}, {3, true}, {2, true}}) {
    SCOPED_TRACE(std::to_string(dim) + (embedded ? "-D, embedded cap" : "-D"));
    const std::string rows = user_rows(dim, embedded ? -3.0 : 0.0);
    const Outcome none = run(group_input(dim, rows, "0\n", embedded));
    const Outcome soil = run(group_input(dim, rows, kOneLayer, embedded));
    ASSERT_EQ(none.status, 0) << none.files.at(".log");
    ASSERT_EQ(soil.status, 0) << soil.files.at(".log");
    // The echo shows the empty soil model, and no generated axial or torsional curve.
    const std::string& echo = none.files.at(".echo");
    EXPECT_NE(echo.find("  NO SOIL LAYERS DEFINED"), std::string::npos);
    EXPECT_EQ(echo.find("GENERATED INTERNALLY"), std::string::npos);
    EXPECT_NE(echo.find("* TABLE H *"), std::string::npos);
    EXPECT_EQ(echo.find("USER DEFINED TORQUE-ROTATION CURVE") != std::string::npos, dim == 3);
    // Every file of the analysis is the same, byte for byte.
    ASSERT_EQ(none.files.size(), soil.files.size());
    int compared = 0;
    for (const auto& [ext, text] : soil.files) {
      if (ext == ".echo") continue;
      ASSERT_TRUE(none.files.count(ext)) << ext;
      EXPECT_EQ(none.files.at(ext), text) << ext;
      ++compared;
    }
    EXPECT_GE(compared, 3);
    // Each pile carries half of the 200 kips on the linear 3000 kips/in part of its
    // load-settlement curve: 0.0333333 in at the cap.
    EXPECT_NE(none.files.at(".out").find("0.0333333"), std::string::npos);
  }
}

// The cap embedded 3 ft on user p-y curves: the cap-level pressure comes from the curves at
// the cap's movement measure, so the 2-D model of the same foundation (both piles in one
// plane, the cap moving along Y only) gives the passive resistance of the 3-D one.
TEST_F(NoSoil, EmbeddedCapOnUserCurvesResistsAlikeInBothModels) {
  double passive[2] = {0.0, 0.0};
  for (int dim : {2, 3}) {
    SCOPED_TRACE(std::to_string(dim) + "-D");
    const Outcome out = run(group_input(dim, user_rows(dim, -3.0), "0\n", true));
    ASSERT_EQ(out.status, 0) << out.files.at(".log");
    const std::string& pld = out.files.at(".pld");
    const auto at = pld.rfind("* PASSIVE RESISTANCE IN PILE CAP *\n");
    ASSERT_NE(at, std::string::npos);
    std::istringstream(pld.substr(at + 35)) >> passive[dim - 2];
  }
  EXPECT_GT(passive[1], 100.0);
  EXPECT_NEAR(std::fabs(passive[0]), passive[1], 0.01 * passive[1]);
}

// A row that needs a curve generated from the soil: the echo is written in full, then the
// run stops before any analysis with a message naming the row and the curve.
TEST_F(NoSoil, RowNeedingACurveFromTheSoilStopsTheRun) {
  const std::string gen_lists =
      "ROWS WITH GENERATED LOAD-SETTLEMENT CURVES\n0\n"
      "ROWS WITH GENERATED TORQUE-ROTATION CURVES\n0\n";
  struct Case {
    const char* name;
    const char* row2;  // integers of row 2
    const char* lists;  // the two generated-curve lists
    const char* need;
  } cases[] = {
      {"soil p-y curves", "2 2 1 0 1 1 0 0 0 0",
       "ROWS WITH GENERATED LOAD-SETTLEMENT CURVES\n0\n"
       "ROWS WITH GENERATED TORQUE-ROTATION CURVES\n0\n",
       "NEEDS P-Y CURVES GENERATED FROM THE SOIL."},
      {"generated load-settlement curve", "2 2 1 1 0 1 0 0 1 0",
       "ROWS WITH GENERATED LOAD-SETTLEMENT CURVES\n1\n2\n"
       "ROWS WITH GENERATED TORQUE-ROTATION CURVES\n0\n",
       "NEEDS A LOAD-SETTLEMENT CURVE GENERATED FROM THE SOIL."},
      {"generated torque-rotation curve", "2 2 1 1 1 0 0 0 0 1",
       "ROWS WITH GENERATED LOAD-SETTLEMENT CURVES\n0\n"
       "ROWS WITH GENERATED TORQUE-ROTATION CURVES\n1\n2\n",
       "NEEDS A TORQUE-ROTATION CURVE GENERATED FROM THE SOIL."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string rows = "2\n" + row("2 2 1 1 1 1 0 0 0 0", -3.0) + row(c.row2, 3.0);
    std::string input = group_input(3, rows, "0\n");
    const auto at = input.find(gen_lists);
    ASSERT_NE(at, std::string::npos);
    input.replace(at, gen_lists.size(), c.lists);
    const Outcome r = run(input);
    EXPECT_EQ(r.status, ST_NOSOIL);
    const std::string& out = r.files.at(".out");
    EXPECT_NE(out.find("     NO SOIL LAYERS ARE DEFINED, BUT PILE-GROUP ROW    2\n     " +
                       std::string(c.need)),
              std::string::npos)
        << out;
    EXPECT_EQ(out.find("PILE-GROUP ROW    1\n"), std::string::npos);  // row 1 is complete
    EXPECT_EQ(out.find("* TABLE L *"), std::string::npos);           // nothing analysed
    EXPECT_NE(r.files.at(".log").find("NO SOIL LAYERS ARE DEFINED"), std::string::npos);
    EXPECT_NE(r.files.at(".log").find(
                  "     NO SOIL LAYERS DEFINED FOR A CURVE\n     TO BE GENERATED FROM THE SOIL"),
              std::string::npos);  // the end-of-run lines
    // The echo is complete, without any generated curve.
    EXPECT_NE(r.files.at(".echo").find("  NO SOIL LAYERS DEFINED"), std::string::npos);
    EXPECT_EQ(r.files.at(".echo").find("GENERATED INTERNALLY"), std::string::npos);
  }
}

// The check before the analyses names every row and the cap that need soil, and nothing
// when all curves come from the input or when the model has soil layers. The cap's own
// layout refuses soil springs without soil as well.
TEST(NoSoilCheck, EveryRowAndTheCapThatNeedSoil) {
  auto m = new_model();
  m->NDIM = 3;
  m->NROW = 2;
  m->ICAPOPT = 2;
  m->ICAPSPR = 1;
  m->NCAPINC = 4;
  m->CAPTHKP = 12.0;
  m->LSNO(1) = m->LSNO(2) = m->TRNO(1) = m->TRNO(2) = 1;
  m->TRNO(2) = 0;
  struct Case {
    int ipyuser, nlayer, status;
    std::vector<std::string> whats;  // the second line of each message, in order
  } cases[] = {
      {0, 0, ST_NOSOIL,
       {"PILE-GROUP ROW    1", "PILE-GROUP ROW    2", "PILE-GROUP ROW    2", "THE PILE CAP"}},
      {1, 0, ST_NOSOIL, {"PILE-GROUP ROW    2"}},
      {0, 1, 0, {}},
  };
  m->PYSETG(1) = m->PYSETG(2) = 1;
  for (const Case& c : cases) {
    m->IPYUSER = c.ipyuser;
    m->NLAYER = c.nlayer;
    RowCapture cap;
    int status = 0;
    {
      CaptureScope scope(cap);
      NOSOILCHK(*m, status);
    }
    EXPECT_EQ(status, c.status);
    ASSERT_EQ(cap.lines.size(), 10 * c.whats.size());
    for (std::size_t i = 0; i < c.whats.size(); ++i)
      EXPECT_EQ(cap.lines[10 * i + 3].second, "     NO SOIL LAYERS ARE DEFINED, BUT " + c.whats[i]);
  }
  // The cap's soil springs, reached without the check.
  m->IPYUSER = 0;
  m->NLAYER = 0;
  Vec6 f, u;
  u.fill(0.0);
  u(2) = 0.1;
  RowCapture cap;
  int status = 0;
  {
    CaptureScope scope(cap);
    CAPPILE(*m, f, u, status);
  }
  EXPECT_EQ(status, ST_NOSOIL);
  ASSERT_EQ(cap.lines.size(), 10u);
  EXPECT_EQ(cap.lines[3].second, "     NO SOIL LAYERS ARE DEFINED, BUT THE PILE CAP");
}

}  // namespace
}  // namespace torva
