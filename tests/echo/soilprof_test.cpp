// Analysis soil layers, the soil profile and Table F.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cap/example_fixture.h"
#include "driver/itorva.h"
#include "echo/soilprof.h"
#include "input/units.h"
#include "model/messages.h"
#include "model/model.h"
#include "model/status.h"
#include "support/golden.h"
#include "support/workdir.h"

namespace torva {
namespace {

// Values of one layer point as read: gamma, c, phi (deg), k, ER, E50, J/RQD, side, tip.
using Point = std::vector<double>;

struct Soil {
  testing::WorkDir dir;
  std::unique_ptr<Model> m = new_model();
  explicit Soil(int units = 1) {
    m->IUNITS = units;
    SETUNITLAB(*m, units == 2 ? -1 : (units == 1 ? 1 : 0));
    m->PI = 3.141592653589793;
    m->TOLCRV = 1e-6;
    m->ECHO.open_write("echo.txt");
  }
  void layer(int code, double top, double bot, const Point& t, const Point& b) {
    const int L = ++m->NLAYIN;
    m->LSOILI(L) = code;
    m->LTOPI(L) = top;
    m->LBOTI(L) = bot;
    for (int v = 1; v <= 9; ++v) {
      m->SOILP(L, 1, v) = t[std::size_t(v - 1)];
      m->SOILP(L, 2, v) = b[std::size_t(v - 1)];
    }
  }
  // A pile row with its head at X = 0 and a property of the given length and kind.
  void row(double len, int kind, int lsno = 0) {
    const int g = ++m->NROW;
    m->PTYPE(g) = g;
    m->PILELEN(g) = len;
    m->PILEKIND(g) = kind;
    m->LSNO(g) = lsno;
  }
  int run() {
    int status = 0;
    RowCapture cap;  // fatal-error lines, kept off the closed report files
    {
      CaptureScope scope(cap);
      ECHOSOIL(*m, status);
    }
    m->ECHO.close();
    messages = cap.lines;
    return status;
  }
  std::vector<std::string> lines() const {
    std::istringstream s(dir.read("echo.txt"));
    std::vector<std::string> out;
    for (std::string l; std::getline(s, l);) out.push_back(l);
    return out;
  }
  std::vector<std::pair<unsigned, std::string>> messages;
};

const Point kAll = {0.06, 5.0, 30.0, 100.0, 2000.0, 0.01, 50.0, 3.0, 40.0};

TEST(SoilProfile, EachCriterionKeepsOnlyWhatItUses) {
  // Columns: SPGAM SPC SPPHI SPK SPER SPE50 SPJ SPSIDE SPTIP as kept (1) or cleared (0).
  struct Keep {
    int code;
    int c, phi, k, er, e50, j;
  };
  const Keep keep[] = {
      {1, 1, 0, 0, 0, 1, 0},  {2, 1, 0, 1, 0, 1, 0},  {3, 1, 0, 0, 0, 1, 0},
      {4, 0, 1, 1, 0, 0, 0},  {5, 0, 0, 0, 0, 0, 0},  {6, 1, 0, 0, 0, 1, 0},
      {7, 1, 1, 1, 0, 1, 0},  {8, 0, 1, 1, 0, 0, 0},  {9, 1, 0, 0, 1, 1, 1},
      {10, 1, 0, 1, 0, 1, 0}, {11, 0, 0, 0, 0, 0, 0}, {12, 1, 1, 1, 1, 1, 1},
      {13, 1, 0, 0, 0, 1, 1}, {14, 1, 0, 1, 0, 1, 1},
  };
  Soil s;
  for (const auto& k : keep) s.layer(k.code, 10.0 * (k.code - 1), 10.0 * k.code, kAll, kAll);
  ASSERT_EQ(s.run(), 0);
  const Model& m = *s.m;
  EXPECT_EQ(m.NLAYER, 14);
  EXPECT_EQ(m.NSPX, 28);
  EXPECT_EQ(m.NSPXG, 28);
  for (const auto& k : keep) {
    const int L = k.code;
    EXPECT_EQ(m.LTYPE(L), k.code);
    for (int p : {2 * L - 1, 2 * L}) {
      const double dep = p % 2 ? m.LTOP(L) : m.LBOT(L);
      EXPECT_EQ(m.SPDEP(p), dep);
      EXPECT_EQ(m.SPDEPG(p), dep);
      EXPECT_EQ(m.SPGAM(p), 0.06) << "code " << k.code;
      EXPECT_EQ(m.SPSIDE(p), 3.0) << "code " << k.code;
      EXPECT_EQ(m.SPTIP(p), 40.0) << "code " << k.code;
      EXPECT_EQ(m.SPC(p), k.c ? 5.0 : 0.0) << "code " << k.code;
      EXPECT_EQ(m.SPPHI(p), k.phi ? 30.0 * m.PI / 180.0 : 0.0) << "code " << k.code;
      EXPECT_EQ(m.SPK(p), k.k ? 100.0 : 0.0) << "code " << k.code;
      EXPECT_EQ(m.SPER(p), k.er ? 2000.0 : 0.0) << "code " << k.code;
      const double e50 = k.code == 6 ? 0.0005000000237487257 : (k.e50 ? 0.01 : 0.0);
      EXPECT_EQ(m.SPE50(p), e50) << "code " << k.code;
      EXPECT_EQ(m.SPJ(p), k.j ? 50.0 : 0.0) << "code " << k.code;
    }
  }
}

// A soft clay over a sand, one driven pile with its tip in the sand and a generated
// load-settlement curve, US units. Every value below was worked by hand from the
// profile: unit weights 0.05 and 0.04 lb/in^3 (86.4 and 69.12 lb/ft^3), c = 2 psi
// (288 psf), E50 by default 0.02, sand k by default (submerged, 30 degrees: 34.545) at
// the top, side friction and tip resistance estimated (see the comments).
TEST(TableF, SoftClayOverSandWithDrivenPileHandChecked) {
  Soil s;
  s.layer(1, 0.0, 120.0, {0.05, 2, 0, 0, 0, 0, 0, 0, 0}, {0.05, 2, 0, 0, 0, 0, 0, 0, 0});
  s.layer(4, 120.0, 360.0, {0.04, 0, 30, 0, 0, 0, 0, 0, 0}, {0.04, 0, 30, 60, 0, 0, 0, 0, 0});
  s.row(240.0, 1);
  ASSERT_EQ(s.run(), 0);
  // Side friction, driven (P): clay top z := 1 in, alpha = 1 (c < 3.47 psi): 2 psi = 288
  // psf; clay bottom (boundary: cohesion of the clay, friction angle of the sand, lower
  // layer's side friction): sigma'v = 6 psi, psi = 1/3, alpha = 0.866: 249.4 psf. Sand
  // top: 0.8 x 6 x tan(0.5236 - 0.087) = 2.240 psi = 322.5 psf; bottom: mean gamma
  // 0.04333, sigma'v = 15.6 psi: 5.824 psi = 838.6 psf. Tip (R) only in the sand layer
  // that holds the tip: Nq = 20 at 30 degrees, 20 x 6 = 120 psi = 17280 psf at the top,
  // 20 x 15.6 = 312 psi = 44928 psf at the bottom (the rule's 57.296 degrees per radian
  // puts 30 degrees just above 30, so Nq = 20.0005: 17280.4 and 44929.0). The sand k
  // printed carries the rule's single-precision constants (34.5449).
  const std::vector<std::string> want = {
      "",
      "",
      "",
      "     * TABLE F *   SOIL DATA",
      "",
      "",
      "     SOILS INFORMATION",
      "",
      "         GROUND SURFACE          =      0.00000  FT ",
      "",
      "         2 LAYER(S) OF SOIL ",
      "",
      "         LAYER  1 ",
      "         THE SOIL IS A SOFT CLAY",
      "                                                       TOP OF LAYER    BOTTOM OF LAYER ",
      "         X COORDINATE                         (FT)        0.00000           10.0000 ",
      "         EFFECTIVE UNIT WEIGHT         (LBS/FT**3)        86.4000           86.4000 ",
      "         UNDRAINED COHESION, C         (LBS/FT**2)        288.000           288.000 ",
      "         STRAIN AT 50% STRESS                           0.0200000 (E)     0.0200000 (E) ",
      "         ULTIMATE UNIT SIDE FRICTION   (LBS/FT**2)        288.000 (P)       249.415 (P) ",
      "         ULTIMATE UNIT TIP RESISTANCE  (LBS/FT**2)        0.00000           0.00000 ",
      "",
      "         LAYER  2 ",
      "         THE SOIL IS A SAND",
      "                                                       TOP OF LAYER    BOTTOM OF LAYER ",
      "         X COORDINATE                         (FT)        10.0000           30.0000 ",
      "         EFFECTIVE UNIT WEIGHT         (LBS/FT**3)        69.1200           69.1200 ",
      "         FRICTION ANGLE                  (DEGREES)        30.0000           30.0000 ",
      "         P-Y SUBGRADE MODULUS          (LBS/IN**3)        34.5449 (K)       60.0000 ",
      "         ULTIMATE UNIT SIDE FRICTION   (LBS/FT**2)        322.536 (P)       838.594 (P) ",
      "         ULTIMATE UNIT TIP RESISTANCE  (LBS/FT**2)        17280.4 (R)       44929.0 (R) ",
      "",
      "       Notes :  Program estimated values for listed parameters",
      "                if zero input values were entered:",
      "                (E) STRAIN AT 50% STRESS",
      "                (K) P-Y SUBGRADE MODULUS for Static Loading",
      "                (P) ULTIMATE UNIT SIDE FRICTION for Driven Piles",
      "                (R) ULTIMATE UNIT TIP RESISTANCE for Driven Piles",
  };
  const auto got = s.lines();
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(got[i], want[i]) << "line " << i + 1;
}

// Finds the first line that starts with the 8 blanks and the label.
std::vector<std::string> from_label(const std::vector<std::string>& lines, const std::string& label,
                                    int count) {
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i].rfind(std::string(8, ' ') + label, 0) == 0)
      return std::vector<std::string>(lines.begin() + long(i),
                                      lines.begin() + long(std::min(lines.size(), i + count)));
  return {};
}

TEST(TableF, StiffClayKEstimatedAtTheTopOnlyPrintsStaticAndCyclic) {
  Soil s;
  s.layer(2, 0.0, 120.0, {0.05, 2, 0, 0, 0, 0.005, 0, 1, 1}, {0.05, 2, 0, 300, 0, 0.005, 0, 1, 1});
  s.row(60.0, 1, 3);  // user load-settlement curve: no side or tip estimates
  ASSERT_EQ(s.run(), 0);
  const auto got = from_label(s.lines(), " P-Y SUBGRADE MODULUS", 3);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0],
            "         P-Y SUBGRADE MODULUS          (LBS/IN**3)        250.000 (K)       300.000 ");
  EXPECT_EQ(got[1], std::string(51, ' ') + "       100.000 (C) ");
  EXPECT_EQ(got[2],
            "         STRAIN AT 50% STRESS                         5.00000E-03       5.00000E-03 ");
  const std::string text = s.dir.read("echo.txt");
  EXPECT_NE(text.find("(K) P-Y SUBGRADE MODULUS for Static Loading"), std::string::npos);
  EXPECT_NE(text.find("(C) P-Y SUBGRADE MODULUS for Cyclic Loading"), std::string::npos);
  EXPECT_EQ(text.find(" (P)"), std::string::npos);  // no generated curve: no estimates
}

TEST(TableF, DrivenAndDrilledPilesPrintBothEstimatesBottomAlone) {
  Soil s;
  // Soft clay with its side friction given at the top only; tips of both rows inside.
  s.layer(1, 0.0, 120.0, {0.05, 2, 0, 0, 0, 0.02, 0, 5, 0}, {0.05, 2, 0, 0, 0, 0.02, 0, 0, 0});
  s.row(100.0, 1);
  s.row(110.0, 2);
  ASSERT_EQ(s.run(), 0);
  const auto side = from_label(s.lines(), " ULTIMATE UNIT SIDE FRICTION", 4);
  ASSERT_EQ(side.size(), 4u);
  // Bottom: z = 120 in, sigma'v = 6 psi, alpha = 0.866: 249.415 psf driven; 0.55 c =
  // 1.1 psi = 158.4 psf drilled. The top keeps the input 5 psi = 720 psf.
  EXPECT_EQ(side[0],
            "         ULTIMATE UNIT SIDE FRICTION   (LBS/FT**2)        720.000           249.415 (P) ");
  EXPECT_EQ(side[1], std::string(51 + 14 + 4, ' ') + "       158.400 (S) ");
  // Tip: 9 c = 18 psi = 2592 psf for both kinds, at both points.
  EXPECT_EQ(side[2],
            "         ULTIMATE UNIT TIP RESISTANCE  (LBS/FT**2)        2592.00 (R)       2592.00 (R) ");
  EXPECT_EQ(side[3], std::string(51, ' ') + "       2592.00 (T)       2592.00 (T) ");
}

TEST(TableF, ElasticSubgradeDescriptionFollowsTheStressTransfer) {
  for (double cbot : {0.0, 1.0}) {
    Soil s;
    s.layer(12, 0.0, 120.0, {0.05, 0, 0, 500, 0, 0, 0, 1, 1}, {0.05, cbot, 0, 500, 0, 0, 0, 1, 1});
    ASSERT_EQ(s.run(), 0);
    const std::string text = s.dir.read("echo.txt");
    const bool longer = cbot > 0.0;
    EXPECT_EQ(text.find("THE SOIL IS AN ELASTIC SUBGRADE WITH MAXIMUM STRESS TRANSFER\n") !=
                  std::string::npos,
              longer);
    EXPECT_EQ(text.find(" MAXIMUM STRESS TRANSFER       (LBS/FT**2)") != std::string::npos,
              longer);
    EXPECT_NE(text.find(" ELASTIC SUBGRADE MODULUS      (LBS/IN**3)        500.000           500.000 "),
              std::string::npos);
  }
}

TEST(TableF, TwelveLayersPrintTheirCountInFull) {
  Soil s;
  for (int L = 1; L <= 12; ++L)
    s.layer(3, 10.0 * (L - 1), 10.0 * L, {0.05, 2, 0, 0, 0, 0.01, 0, 1, 1},
            {0.05, 2, 0, 0, 0, 0.01, 0, 1, 1});
  ASSERT_EQ(s.run(), 0);
  EXPECT_NE(s.dir.read("echo.txt").find("\n         12 LAYER(S) OF SOIL \n"), std::string::npos);
}

TEST(TableF, NoLayersStillEchoesTheRequestedCurves) {
  Soil s;
  s.m->IPYOUT = 1;
  s.m->NPYOUT = 2;
  s.m->POPILE(1) = 1;
  s.m->PODEP(1) = 60.0;
  s.m->POPILE(2) = 3;
  s.m->PODEP(2) = 246.0;
  ASSERT_EQ(s.run(), 0);
  const std::vector<std::string> want = {
      "",
      "",
      "",
      "     * TABLE F *   SOIL DATA",
      "",
      "       NO SOIL LAYERS DEFINED",
      "",
      "",
      "     * DATA TO PRINT GENERATED P-Y CURVES *",
      "",
      "      NUMBER OF CURVES TO PRINT :     2 ",
      "",
      "       CURVE NUMBER     PILE GROUP         DEPTH (FT)   ",
      "            1               1                 5.00000 ",
      "            2               3                 20.5000 ",
  };
  EXPECT_EQ(s.lines(), want);
  EXPECT_EQ(s.m->NSPX, 0);
}

TEST(SoilLayerChecks, RefusedLayersEndTheStepWithAnInputError) {
  struct Case {
    const char* what;
    int units, code;
    double top2, bot2;
    double k;
  };
  const Case cases[] = {
      {"zero thickness", 1, 1, 120.0, 120.0, 0.0},
      {"bottom above top", 1, 1, 200.0, 150.0, 0.0},
      {"overlapping the layer above", 1, 1, 100.0, 200.0, 0.0},
      {"generic units, sand without k", 3, 4, 120.0, 200.0, 0.0},
      {"generic units, stiff clay without E50", 3, 3, 120.0, 200.0, 100.0},
  };
  for (const auto& c : cases) {
    Soil s(c.units);
    s.layer(1, 0.0, 120.0, {0.05, 2, 0, 0, 0, 0.02, 0, 1, 1}, {0.05, 2, 0, 0, 0, 0.02, 0, 1, 1});
    s.layer(c.code, c.top2, c.bot2, {0.05, 2, 30, c.k, 0, 0, 0, 1, 1},
            {0.05, 2, 30, c.k, 0, 0, 0, 1, 1});
    EXPECT_EQ(s.run(), ST_INPUTCHECK) << c.what;
    ASSERT_FALSE(s.messages.empty()) << c.what;
    EXPECT_EQ(s.messages[0].second, "**** FATAL ERROR ****") << c.what;
    EXPECT_EQ(s.messages[2].second.rfind("  LAYER 2: ", 0), 0u) << c.what;
  }
  // The same generic-unit layers with their values given are accepted.
  Soil ok(3);
  ok.layer(4, 0.0, 120.0, {0.05, 0, 30, 20, 0, 0, 0, 1, 1}, {0.05, 0, 30, 20, 0, 0, 0, 1, 1});
  ok.layer(3, 120.0, 200.0, {0.05, 2, 0, 0, 0, 0.01, 0, 1, 1}, {0.05, 2, 0, 0, 0, 0.01, 0, 1, 1});
  EXPECT_EQ(ok.run(), 0);
}

// A row whose head depth plus free length does not reach the top of the first soil layer
// takes its curve depths from a ground that is not the profile's: the run goes on, and the
// run log and the results report warn, naming both grounds. The bundled examples agree
// (no warning); a 3-D pile with its free length set 2 ft below the soil top, and one row of
// the 2-D bent set 1 ft above it, are warned of; the other rows of the bent are not.
TEST(SoilLayerChecks, GroundOfARowAwayFromTheSoilTopIsWarnedOf) {
  const struct Case {
    const char* example;
    const char* from;  // the row record's line as bundled
    const char* to;    // as edited ("" none)
    std::vector<std::string> warned;  // the lines the warning starts with, per row warned
  } cases[] = {
      {"single_pile_elastic_us.dat", "", "", {}},
      {"bent_2d_stiff_clay_us.dat", "", "", {}},
      {"single_pile_elastic_us.dat", "0.0 0.0 0.0 0.0 90.0 0.0 -0.01\n",
       "0.0 0.0 0.0 0.0 90.0 0.0 2.0\n",
       {"     PILE GROUP 1: HEAD DEPTH + FREE LENGTH PUTS THE GROUND AT      2.00 FT,\n"
        "     THE TOP OF THE FIRST SOIL LAYER IS AT     -0.01 FT;"}},
      {"bent_2d_stiff_clay_us.dat", "\n0.0 0.0 0.0 0.0\n", "\n0.0 0.0 0.0 -1.0\n",
       {"     PILE GROUP 2: HEAD DEPTH + FREE LENGTH PUTS THE GROUND AT     -1.00 FT,\n"
        "     THE TOP OF THE FIRST SOIL LAYER IS AT      0.00 FT;"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.example) + " " + k.to);
    testing::WorkDir dir;
    std::string input = testing::read_example(k.example);
    if (*k.from) input = testing::replace(input, k.from, k.to);
    ASSERT_EQ(testing::run_input(dir, input), 0);
    for (const char* file : {"case.log", "case.out"}) {
      const std::string text = dir.read(file);
      EXPECT_EQ(text.find("FREE LENGTH PUTS THE GROUND") == std::string::npos, k.warned.empty())
          << file;
      for (const std::string& w : k.warned)
        EXPECT_NE(text.find("**** WARNING ****\n" + w), std::string::npos) << file << "\n" << text;
    }
  }
}


// ---- Table F of every bundled example, held by golden files ------------------------------
//
// tests/golden/<example>/tablef.txt holds Table F of the example's echo, checked by hand once
// against the table's layout (comparison rules in support/golden.h).

TEST(TableFGolden, EveryExampleMatchesItsGoldenTable) {
  testing::check_examples_golden(".echo", "tablef.txt", [](const std::string& echo) {
    return testing::report_part(echo, "* TABLE F *", "     * TABLE ");
  });
}

TEST(TableFGolden, ComparatorToleratesOnlyTheLastDigit) {
  struct Pair {
    const char* want;
    const char* got;
    bool ok;
  };
  const Pair pairs[] = {
      {"   A   3.90171 (P)", "   A   3.90171 (P)", true},
      {"   A   3.90171 (P)", "   A   3.90172 (P)", true},
      {"   A   3.90171 (P)", "   A   3.90173 (P)", false},
      {"   A   2.81604E+05", "   A   2.81605E+05", true},
      {"   A   2.81604E+05", "   A   2.81614E+05", false},
      {"   A   2.81604E+05", "   A   2.81604E+06", false},
      {"   A   3.90171 (P)", "   A   3.90171 (S)", false},
      {"   A   3.90171 (P)", "   A  13.90171(P)", false},
      {"   A  -1.00000E-02", "   A  -1.00001E-02", true},
  };
  for (const auto& p : pairs)
    EXPECT_EQ(testing::golden_compare(p.want, p.got).empty(), p.ok) << p.want << " | " << p.got;
}

}  // namespace
}  // namespace torva
