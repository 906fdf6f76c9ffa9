// Property-versus-depth lookups of sections and soil.
#include <gtest/gtest.h>

#include <omp.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "model/messages.h"
#include "model/model.h"
#include "model/status.h"
#include "soil/lookups.h"

namespace torva {
namespace {

// Two soil layers, 0..10 and 10..20 (a boundary at 10), with distinct values at the four
// points so that every boundary rule shows.
struct Profile {
  std::unique_ptr<Model> m = new_model();
  Profile() {
    m->TOLCRV = 1.0e-6;
    m->IUNITS = 1;
    m->NLAYER = 2;
    m->LTOP(1) = 0.0;
    m->LBOT(1) = 10.0;
    m->LTOP(2) = 10.0;
    m->LBOT(2) = 20.0;
    m->NSPX = m->NSPXG = 4;
    const double dep[4] = {0.0, 10.0, 10.0, 20.0};
    for (int p = 1; p <= 4; ++p) m->SPDEP(p) = m->SPDEPG(p) = dep[p - 1];
    set(m->SPK, 50, 100, 200, 300);
    set(m->SPC, 2, 4, 6, 8);
    set(m->SPPHI, 0.1, 0.2, 0.3, 0.4);
    set(m->SPSIDE, 1, 2, 3, 4);
    set(m->SPTIP, 10, 20, 30, 40);
    set(m->SPGAM, 0.05, 0.05, 0.07, 0.07);
  }
  static void set(Arr1<double, MAXPROF>& v, double a, double b, double c, double d) {
    v(1) = a;
    v(2) = b;
    v(3) = c;
    v(4) = d;
  }
};

struct PointCase {
  const char* what;
  double x;
  double want;
};

TEST(SoilPointLookups, SubgradeModulusAtTopBottomBoundaryAndInside) {
  Profile p;
  const PointCase cases[] = {
      {"layer top", 0.0, 50.0},        {"inside layer 1", 5.0, 75.0},
      {"shared boundary: mean", 10.0, 150.0}, {"inside layer 2", 15.0, 250.0},
      {"last depth", 20.0, 300.0},     {"beyond: 0", 25.0, 0.0},
      {"above the profile extrapolates", -2.0, 40.0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(KDEP(*p.m, c.x), c.want) << c.what;
  // A zero on one side of the boundary gives the other side's value.
  p.m->SPK(3) = 0.0;
  EXPECT_DOUBLE_EQ(KDEP(*p.m, 10.0), 100.0);
  p.m->SPK(3) = 200.0;
  p.m->SPK(2) = 0.0;
  EXPECT_DOUBLE_EQ(KDEP(*p.m, 10.0), 200.0);
}

TEST(SoilPointLookups, CohesionTakesLowerLayerAtBoundaryUnlessZero) {
  Profile p;
  int status = 0;
  EXPECT_DOUBLE_EQ(COHESION(*p.m, 10.0, status), 6.0);
  EXPECT_DOUBLE_EQ(COHESION(*p.m, 5.0, status), 3.0);
  EXPECT_DOUBLE_EQ(PHIDEP(*p.m, 10.0, status), 0.25);  // the others take the mean
  p.m->SPC(3) = 0.0;
  EXPECT_DOUBLE_EQ(COHESION(*p.m, 10.0, status), 4.0);
  EXPECT_EQ(status, 0);
}

TEST(SoilIntervalLookups, LowerLayerAtBoundaryAndLastBottomAtLastDepth) {
  Profile p;
  int status = 0;
  const PointCase side[] = {{"top", 0.0, 1.0},         {"inside", 5.0, 1.5},
                            {"boundary", 10.0, 3.0},   {"inside 2", 15.0, 3.5},
                            {"last depth", 20.0, 4.0}};
  for (const auto& c : side) EXPECT_DOUBLE_EQ(SIDEFRIC(*p.m, c.x, status), c.want) << c.what;
  EXPECT_DOUBLE_EQ(TIPRES(*p.m, 10.0, status), 30.0);
  EXPECT_DOUBLE_EQ(BPHIDEP(*p.m, 10.0, status), 0.3);
  EXPECT_EQ(status, 0);
}

TEST(SoilAverages, UnitWeightMeanFromTheSurface) {
  Profile p;
  int status = 0;
  EXPECT_DOUBLE_EQ(GAMAVG(*p.m, -1.0, status), 0.0);  // above the ground surface
  EXPECT_DOUBLE_EQ(GAMAVG(*p.m, 0.0, status), 0.05);  // the surface value
  EXPECT_NEAR(GAMAVG(*p.m, 5.0, status), 0.05, 1e-15);
  EXPECT_NEAR(GAMAVG(*p.m, 15.0, status), (0.05 * 10 + 0.07 * 5) / 15.0, 1e-15);
  EXPECT_NEAR(GAMAVG(*p.m, 20.0, status), 0.06, 1e-15);
  EXPECT_EQ(status, 0);
  // A uniform profile gives its value at every depth below the ground surface.
  Profile::set(p.m->SPGAM, 0.06, 0.06, 0.06, 0.06);
  for (double x : {1e-3, 3.0, 10.0, 17.5, 20.0}) EXPECT_NEAR(GAMAVG(*p.m, x, status), 0.06, 1e-15);
}

TEST(SoilAverages, CohesionMeanLinearAndExtendedBeyondTheProfile) {
  Profile p;
  int status = 0;
  // c = 2 + 0.2 x in layer 1: the mean down to 5 is 2.5; to 20 it is (3*10 + 7*10)/20.
  EXPECT_NEAR(COHAVG(*p.m, 5.0, status), 2.5, 1e-14);
  EXPECT_NEAR(COHAVG(*p.m, 20.0, status), 5.0, 1e-14);
  // Beyond the profile the last interval is extended: c(30) = 10, mean =
  // (30 + (6 + 10) / 2 * 20) / 30 = 19/3. The warning goes to REPORT only, and no status.
  RowCapture cap;
  {
    CaptureScope scope(cap);
    EXPECT_NEAR(COHAVG(*p.m, 30.0, status), 19.0 / 3.0, 1e-14);
  }
  EXPECT_EQ(status, 0);
  ASSERT_EQ(cap.lines.size(), 4u);
  for (const auto& [dest, line] : cap.lines) EXPECT_EQ(dest, unsigned(TO_REPORT));
  EXPECT_EQ(cap.lines[2].second, "     THE VALUE OF X =  30.    IS BEYOND THE EXTENT OF THE");
  EXPECT_EQ(cap.lines[3].second, "     INPUT CURVE FOR STRENGTH");
}

TEST(SoilDefaults, DefaultSubgradeModulusFromCohesion) {
  Profile p;
  Profile::set(p.m->SPK, 0, 0, 0, 0);
  Profile::set(p.m->SPC, 5, 5, 5, 5);
  EXPECT_DOUBLE_EQ(KDEPDEF(*p.m, 5.0), 100.0);
  EXPECT_DOUBLE_EQ(KDEPDEF(*p.m, -1.0), 0.0);  // above the profile
  p.m->IUNITS = 2;
  Profile::set(p.m->SPC, 100, 100, 100, 100);
  EXPECT_DOUBLE_EQ(KDEPDEF(*p.m, 5.0), 271500.0);
  // Beyond the profile: the cohesion warning, no status, c = 0 gives the first class.
  RowCapture cap;
  {
    CaptureScope scope(cap);
    EXPECT_DOUBLE_EQ(KDEPDEF(*p.m, 30.0), 50.0 * 271.5);
  }
  EXPECT_EQ(cap.status, 0);
  ASSERT_EQ(cap.lines.size(), 4u);
  EXPECT_EQ(cap.lines[3].second, "     THE INPUT STRENGTH CURVE");
  // A non-zero k in the profile is used as it is.
  Profile::set(p.m->SPK, 7, 7, 7, 7);
  EXPECT_DOUBLE_EQ(KDEPDEF(*p.m, 5.0), 7.0);
}

// Every lookup that reaches below the profile: its status code and its exact warning.
struct BeyondCase {
  const char* what;
  std::function<double(Model&, double, int&)> call;
  int code;
  const char* text1;  // the line with the depth
  const char* text2;
};

TEST(SoilLookupsBeyondTheProfile, StatusCodeAndWarningText) {
  const BeyondCase cases[] = {
      {"GAMAVG", GAMAVG, ST_DEPGAMMA, "     THE VALUE OF X =  25.    IS BEYOND THE EXTENT OF",
       "     THE INPUT CURVE FOR UNIT WEIGHT"},
      {"COHESION", COHESION, ST_DEPCOHES, "     THE VALUE OF X =  0.2E+02 IS BEYOND THE EXTENT OF",
       "     THE INPUT STRENGTH CURVE"},
      {"PHIDEP", PHIDEP, ST_DEPPHI, "     THE VALUE OF X =  0.2E+02 IS BEYOND THE EXTENT OF",
       "     THE INPUT PHI CURVE"},
      {"SIDEFRIC", SIDEFRIC, ST_DEPSIDEF,
       "     THE VALUE OF X =  25.     IS BEYOND THE EXTENT OF",
       "     THE INPUT MAX. LOAD TRANSFER"},
      {"TIPRES", TIPRES, ST_DEPSIDER, "     THE VALUE OF X =  25.    IS BEYOND THE EXTENT OF",
       "     THE INPUT MAX. LOAD TRANSFER"},
      {"BPHIDEP", BPHIDEP, ST_DEPBPHI, "     THE VALUE OF X =  25.    IS BEYOND THE EXTENT OF",
       "     THE INPUT STRENGTH CURVE, BPHI"},
  };
  for (const auto& c : cases) {
    Profile p;
    RowCapture cap;
    int status = 0;
    double v;
    {
      CaptureScope scope(cap);
      v = c.call(*p.m, 25.0, status);
    }
    EXPECT_EQ(v, 0.0) << c.what;
    EXPECT_EQ(status, c.code) << c.what;
    ASSERT_GE(cap.lines.size(), 4u) << c.what;
    const std::size_t k = cap.lines.size() - 4;  // SIDEFRIC writes one line before
    EXPECT_EQ(cap.lines[k].second, "") << c.what;
    EXPECT_EQ(cap.lines[k + 1].second, std::string(29, ' ') + "**** WARNING ****") << c.what;
    EXPECT_EQ(cap.lines[k + 2].second, c.text1) << c.what;
    EXPECT_EQ(cap.lines[k + 3].second, c.text2) << c.what;
    for (const auto& [dest, line] : cap.lines)
      EXPECT_EQ(dest, k == 0 ? unsigned(TO_REPORT | TO_RUNLOG) : dest) << c.what;
    // A status once set is never cleared by a later lookup that succeeds.
    c.call(*p.m, 5.0, status);
    EXPECT_EQ(status, c.code) << c.what;
  }
}

TEST(SoilLookupsBeyondTheProfile, SideFrictionWritesTheDepthAndProfileEndFirst) {
  Profile p;
  RowCapture cap;
  int status = 0;
  {
    CaptureScope scope(cap);
    SIDEFRIC(*p.m, 25.0, status);
  }
  ASSERT_EQ(cap.lines.size(), 5u);
  EXPECT_EQ(cap.lines[0].first, unsigned(TO_REPORT));
  EXPECT_EQ(cap.lines[0].second, " 25 4 20");
}

TEST(SoilLookupsWithoutProfile, NoLayersIsBeyondTheProfileNotAnOverrun) {
  auto m = new_model();
  m->TOLCRV = 1e-6;
  int status = 0;
  RowCapture cap;
  CaptureScope scope(cap);
  EXPECT_EQ(SIDEFRIC(*m, 1.0, status), 0.0);
  EXPECT_EQ(status, ST_DEPSIDEF);
  status = 0;
  EXPECT_EQ(GAMAVG(*m, 1.0, status), 0.0);
  EXPECT_EQ(status, ST_DEPGAMMA);
  status = 0;
  EXPECT_EQ(KDEP(*m, 1.0), 0.0);
  EXPECT_EQ(COHAVG(*m, 1.0, status), 0.0);
  EXPECT_EQ(status, ST_DEPCOHES);
  // No ground surface either: a depth above where layer 1 would start is beyond it too.
  using Avg = double (*)(Model&, double, int&);
  const std::pair<Avg, int> avgs[] = {{GAMAVG, ST_DEPGAMMA}, {COHAVG, ST_DEPCOHES}};
  for (const auto& [avg, code] : avgs) {
    status = 0;
    EXPECT_EQ(avg(*m, -1.0, status), 0.0);
    EXPECT_EQ(status, code);
  }
}

// A property of three sections below a head at X = 100: a uniform one, a tapered one and a
// uniform one again.
struct Sections {
  std::unique_ptr<Model> m = new_model();
  static constexpr int g = 1, t = 2;
  Sections() {
    m->HEADDEP(g) = 100.0;
    m->PILELEN(t) = 30.0;
    m->NSECT(t) = 3;
    const double from[3] = {0, 10, 20}, to[3] = {10, 20, 30};
    const double dtop[3] = {2.0, 2.0, 1.0}, dbot[3] = {2.0, 1.0, 1.0};
    for (int s = 1; s <= 3; ++s) {
      m->SFROM(t, s) = from[s - 1];
      m->STO(t, s) = to[s - 1];
      m->SDIAM(t, s) = dtop[s - 1];
      m->SDIAMB(t, s) = dbot[s - 1];
      m->SEIZ(t, s) = 10.0 * s;
      m->SEIZB(t, s) = 10.0 * s + 5.0;
      m->SEMOD(t, s) = 1000.0 * s;
      m->ISEIZ(t, s) = s;
    }
  }
};

TEST(SectionLookups, InterpolatedWithinTaperedSection) {
  Sections s;
  const PointCase cases[] = {
      {"above the head", 95.0, 2.0},  {"section 1", 105.0, 2.0},
      {"quarter of taper", 112.5, 1.75}, {"three quarters", 117.5, 1.25},
      {"boundary 1/2 belongs to 1", 110.0, 2.0}, {"below the tip", 140.0, 1.0},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(SECDIAM(*s.m, s.g, s.t, c.x), c.want) << c.what;
  EXPECT_DOUBLE_EQ(SECEIZ(*s.m, s.g, s.t, 115.0), 22.5);
  EXPECT_DOUBLE_EQ(SECEIZ(*s.m, s.g, s.t, 140.0), 35.0);
  // A zero diameter falls back to the top diameter of the last section.
  s.m->SDIAM(s.t, 1) = s.m->SDIAMB(s.t, 1) = 0.0;
  EXPECT_DOUBLE_EQ(SECDIAM(*s.m, s.g, s.t, 105.0), 1.0);
}

TEST(SectionLookups, StepLookupsReachDownTo1Point2PileLengths) {
  Sections s;
  EXPECT_DOUBLE_EQ(SECEMOD(*s.m, s.g, s.t, 90.0), 1000.0);   // above the head: section 1
  EXPECT_DOUBLE_EQ(SECEMOD(*s.m, s.g, s.t, 110.0), 2000.0);  // top of section 2
  EXPECT_DOUBLE_EQ(SECEMOD(*s.m, s.g, s.t, 100.0 + 1.1 * 30), 3000.0);
  EXPECT_DOUBLE_EQ(SECEMOD(*s.m, s.g, s.t, 100.0 + 1.3 * 30), 0.0);
  EXPECT_EQ(SECMPHIY(*s.m, s.g, s.t, 125.0), 3);
  EXPECT_EQ(SECMPHIZ(*s.m, s.g, s.t, 125.0), 0);
}

TEST(CoefficientLookups, TablesByDepthInDiameters) {
  Sections s;
  s.m->GSDEPTH(s.g) = 100.0;  // ground at the head; diameter 2 in section 1
  EXPECT_NEAR(COEFAS(*s.m, s.g, s.t, 101.0), 0.3415, 1e-7);  // r = 0.5
  EXPECT_NEAR(COEFAC(*s.m, s.g, s.t, 103.0), 0.295, 1e-7);   // r = 1.5
  EXPECT_NEAR(COEFAS(*s.m, s.g, s.t, 128.0), 0.60, 1e-7);    // r = 28 (diameter 1)
  EXPECT_NEAR(COEFAS(*s.m, s.g, s.t, 99.0), 0.223 - 0.237 / 2, 1e-7);  // extrapolated
  const double depths[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  const double values[10] = {0, 10, 20, 30, 40, 50, 60, 70, 80, 90};
  EXPECT_DOUBLE_EQ(COEFTAB(*s.m, s.g, s.t, 105.0, values, depths), 25.0);
  // No diameter at all: the limit of a vanishing width, never a division by zero.
  for (int k = 1; k <= 3; ++k) s.m->SDIAM(s.t, k) = s.m->SDIAMB(s.t, k) = 0.0;
  EXPECT_NEAR(COEFAS(*s.m, s.g, s.t, 105.0), 0.60, 1e-7);
  EXPECT_NEAR(COEFAS(*s.m, s.g, s.t, 100.0), 0.223, 1e-7);
}

TEST(VectorLength, SmallComponentsCountAsZero) {
  EXPECT_DOUBLE_EQ(VLEN2(3.0, 4.0), 5.0);
  EXPECT_DOUBLE_EQ(VLEN2(1e-25, -2.0), 2.0);
}

// Rows of a parallel loop, each with its own capture and status word: a failing row's
// status and warning reach the run log after the loop, in row order, whatever the thread
// count (run under ThreadSanitizer by the tsan preset).
TEST(SoilLookupsInParallelLoop, FailingRowStatusAndWarningSurviveTheLoop) {
  Profile p;
  constexpr int nrow = 64, bad = 37;
  std::vector<RowCapture> caps(nrow + 1);
  std::vector<double> out(nrow + 1, -1.0);
#pragma omp parallel for schedule(static) num_threads(4)
  for (int g = 1; g <= nrow; ++g) {
    RowCapture& cap = caps[std::size_t(g)];
    CaptureScope scope(cap);
    const double x = g == bad ? 25.0 : 20.0 * g / nrow;
    double sum = 0.0;
    for (int k = 0; k < 50 && cap.status == 0; ++k) {  // a caller stops at a status
      sum += GAMAVG(*p.m, x, cap.status);
      if (cap.status != 0) break;
      sum += COHESION(*p.m, x, cap.status) + SIDEFRIC(*p.m, x, cap.status) + KDEPDEF(*p.m, x);
    }
    out[std::size_t(g)] = sum;
  }
  EXPECT_EQ(combine_status(caps, 1, nrow), ST_DEPGAMMA);
  for (int g = 1; g <= nrow; ++g) {
    if (g == bad) continue;
    EXPECT_EQ(caps[std::size_t(g)].status, 0) << g;
    EXPECT_TRUE(caps[std::size_t(g)].lines.empty()) << g;
  }
  const RowCapture& b = caps[std::size_t(bad)];
  ASSERT_FALSE(b.lines.empty());
  bool found = false;
  for (const auto& [dest, line] : b.lines)
    if ((dest & TO_RUNLOG) && line == "     THE INPUT CURVE FOR UNIT WEIGHT") found = true;
  EXPECT_TRUE(found);
}

}  // namespace
}  // namespace torva
