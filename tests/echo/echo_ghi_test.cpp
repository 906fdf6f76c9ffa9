// Tables G, H and I of the input echo: generated curves stored mirrored about the origin,
// rows linked to their generated curves, the plateau of a driven pile in clay, and the
// golden tables of the bundled examples.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "../axial/axfixture.h"
#include "driver/itorva.h"
#include "echo/echo_ghi.h"
#include "model/model.h"
#include "support/golden.h"
#include "support/workdir.h"

namespace torva {
namespace {

using testing::make_pile;
using testing::PileSoil;

// A 3-D row of a driven pile in clay under a thin crust, with generated curves 1.
std::unique_ptr<Model> clay_row() {
  PileSoil p;
  p.nlayer = 2;
  p.lbot[0] = 0.4;
  p.lbot[1] = 1200.0;
  p.tip = 50.0;
  auto mp = make_pile(p);
  Model& m = *mp;
  m.NLSGEN = m.NTRGEN = 1;
  m.LSGEN(1) = m.TRGEN(1) = 1;
  m.LSGNO(1) = m.TRGNO(1) = 1;
  return mp;
}

TEST(EchoGHI, GeneratedCurvesAreMirroredAboutTheOrigin) {
  auto mp = clay_row();
  Model& m = *mp;
  int status = 0;
  ECHOGHI(m, status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(m.LSNO(1), -1);
  EXPECT_EQ(m.TRNO(1), -1);
  EXPECT_EQ(m.NPTLS, 19);
  ASSERT_EQ(m.NPTLSG(1), 19);
  EXPECT_EQ(m.LSDG(1, 10), 0.0);
  EXPECT_EQ(m.LSLG(1, 10), 0.0);
  for (int k = 1; k <= 19; ++k) {
    // The stored solution follows the curve point by point.
    EXPECT_DOUBLE_EQ(m.LSV1(1, k), m.LSDG(1, k)) << k;
    EXPECT_DOUBLE_EQ(m.LSV2(1, k), m.LSLG(1, k)) << k;
    if (k > 1) {
      EXPECT_GT(m.LSDG(1, k), m.LSDG(1, k - 1)) << k;
    }
  }
  // Torsion: both branches give the same points, so the curve is odd about the origin,
  // and at large rotations every segment holds 0.93 of its side friction.
  ASSERT_EQ(m.NPTTRG(1), 19);
  for (int k = 1; k <= 9; ++k) {
    EXPECT_DOUBLE_EQ(m.TRTG(1, k), -m.TRTG(1, 20 - k)) << k;
    EXPECT_DOUBLE_EQ(m.TRRG(1, k), -m.TRRG(1, 20 - k)) << k;
  }
  const double plateau = double(0.93f) * 5.0 * double(3.1416f) * 12.0 * 24.0 * 600.0;
  EXPECT_NEAR(m.TRTG(1, 19), plateau, 1e-9 * plateau);
}

TEST(EchoGHI, WithoutSoilLayersNothingIsGenerated) {
  auto mp = clay_row();
  Model& m = *mp;
  m.NLAYER = 0;
  m.NPTLS = 7;
  int status = 0;
  ECHOGHI(m, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(m.LSNO(1), 0);
  EXPECT_EQ(m.NPTLS, 7);
  EXPECT_EQ(m.NLSG, 0);
}

TEST(EchoGHI, RowReferringBeyondTheGeneratedListIsRefused) {
  auto mp = clay_row();
  Model& m = *mp;
  m.LSGNO(1) = 2;
  int status = 0;
  ECHOGHI(m, status);
  EXPECT_EQ(status, ST_INPUTCHECK);
}

TEST(EchoGHI, TipErrorEndsTheEchoWithItsStatus) {
  auto mp = clay_row();
  Model& m = *mp;
  for (int k = 1; k <= m.NSPX; ++k) m.SPC(k) = 0.0;  // no cohesion at the driven clay tip
  for (int k = 1; k <= m.NSPX; ++k) m.SPTIP(k) = 0.0;
  int status = 0;
  ECHOGHI(m, status);
  EXPECT_EQ(status, ST_LSCOHES);
}

// Numbers of the point lines of a curve block that follows `title` in the echo.
std::vector<std::pair<double, double>> block_points(const std::string& echo,
                                                    const std::string& title) {
  std::vector<std::pair<double, double>> pts;
  const auto lines = testing::report_part(echo, title, "* TABLE");
  bool inBlock = false;
  for (const auto& l : lines) {
    if (l.find("DISPLACEMENT,") != std::string::npos) {
      if (inBlock) break;  // only the first curve
      inBlock = true;
      continue;
    }
    if (!inBlock || l.find_first_not_of(' ') == std::string::npos) continue;
    std::istringstream in(l);
    double a, b;
    if (in >> a >> b) pts.emplace_back(a, b);
  }
  return pts;
}

TEST(EchoGHI, TwoByTwoSandExampleShowsTheMirroredGeneratedCurve) {
  testing::WorkDir dir;
  std::filesystem::copy_file(std::filesystem::path(TORVA_SOURCE_DIR) / "examples" /
                                 "group2x2_sand_us.dat",
                             dir.path() / "case.dat");
  dir.write_names();
  dir.write("case.mph", "");
  ASSERT_EQ(run_itorva(3, false), 0);
  const std::string echo = dir.read("case.echo");
  const auto pts = block_points(echo, "AXIAL LOAD-DISPLACEMENT CURVES GENERATED INTERNALLY");
  ASSERT_EQ(pts.size(), 19u);
  EXPECT_EQ(pts[9].first, 0.0);
  EXPECT_EQ(pts[9].second, 0.0);
  for (int k = 0; k < 9; ++k) {
    EXPECT_LT(pts[k].first, 0.0) << k;
    EXPECT_LT(pts[k].second, 0.0) << k;
    EXPECT_GT(pts[18 - k].first, 0.0) << k;
    EXPECT_GT(pts[18 - k].second, 0.0) << k;
  }
  EXPECT_NE(dir.read("case.plt").find("* AXIAL LOAD-DISPLACEMENT CURVES *"), std::string::npos);
}

TEST(EchoGolden, TablesGToJOfEveryExample) {
  testing::check_examples_golden(".echo", "tables_g_j.txt", [](const std::string& echo) {
    for (const char* first : {"* TABLE G *", "* TABLE H *"})
      if (echo.find(first) != std::string::npos) {
        for (const char* next : {"* TABLE J1 *", "* TABLE J2 *", "* TABLE K *", "* TABLE N *"})
          if (echo.find(next) != std::string::npos) return testing::report_part(echo, first, next);
        return testing::report_part(echo, first, "\x01");
      }
    return std::vector<std::string>{"(NO TABLE G TO J)"};
  });
}

}  // namespace
}  // namespace torva
