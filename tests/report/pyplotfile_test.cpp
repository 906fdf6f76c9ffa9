// p-y block of the plot pass on an elastic subgrade (p = k D y per unit length): every
// node's curve is the spring of its share of pile length.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "../soil_py/pyfixture.h"
#include "report/pileplot.h"
#include "report/pyplotfile.h"
#include "soil_py/pyprint.h"
#include "support/curverows.h"

namespace torva {
namespace {

using Row = testing::CurveRow;
constexpr auto rows_of = testing::curve_rows;

// The plot pass of a model: 4 plot segments, curves at the deflections 0, 0.01 and 0.02,
// written to memory.
void plot_pass_at_three_deflections(Model& m) {
  m.NPLTPT = 4;
  m.IPLTY = 1;
  m.NPLTY = 3;
  m.PLTY(1) = 0.0;
  m.PLTY(2) = 0.01;
  m.PLTY(3) = 0.02;
  m.IPLOT = 1;
  m.IPYOUT = 1;
  m.CURVEDATA.open_memory();
}

// A 240 in pile of 24 in in 4 plot segments of 60 in; elastic subgrade k = 500 down to
// `bottom`, deflections 0, 0.01 and 0.02 (linear range: Es = k D = 12000).
struct ElasticPlot {
  pytest::PyModel pm{10, 240.0, 24.0};
  explicit ElasticPlot(double bottom, double freelen = 0.0) {
    pytest::SoilPt s;
    s.c = 1000.0;
    s.k = 500.0;
    s.gam = 0.04;
    pm.m.FREELEN(1) = freelen;
    pm.layer(0.0, bottom, 12, s);
    Model& m = pm.m;
    m.NLAYIN = m.NLAYER;
    m.NDIM = 3;
    plot_pass_at_three_deflections(m);
  }
  std::vector<Row> run() {
    PYPLOTFILE(pm.m, 1, pm.status);
    return rows_of(pm.m.CURVEDATA.take_text());
  }
};

// Resistance at the largest deflection of node i's curve (records: header, then per node
// its record, its curve header and 5 points).
double p_last(const std::vector<Row>& r, int i) { return r[1 + (i - 1) * 7 + 2 + 4][2]; }

TEST(PyPlotFile, NodeCurvesAreTheSpringsOfTheirShareOfPileLength) {
  ElasticPlot e(300.0);
  const auto r = e.run();
  ASSERT_EQ(e.pm.status, 0);
  ASSERT_EQ(r.size(), 1u + 5 * 7);
  EXPECT_EQ(r[0], (Row{1, 5, 1}));
  EXPECT_EQ(r[1], (Row{1, 0.0}));
  EXPECT_EQ(r[2], (Row{1, 5, 6}));  // flag, 2 x 3 - 1 points, elastic plot code
  // The mirrored points of node 2: (-0.02, -p), (-0.01, ..), (0, 0), (0.01, ..), (0.02, p).
  const double full = 12000.0 * 60.0;
  EXPECT_EQ(r[8], (Row{2, 60.0}));
  EXPECT_NEAR(r[10][1], -0.02, 1e-9);
  EXPECT_NEAR(r[10][2], -0.02 * full, 1e-3);
  EXPECT_EQ(r[12], (Row{3, 0.0, 0.0}));
  EXPECT_NEAR(r[14][2], 0.02 * full, 1e-3);
  // Head and tip: half a segment; inner nodes: a whole one.
  const double want[5] = {0.5, 1, 1, 1, 0.5};
  for (int i = 1; i <= 5; ++i) EXPECT_NEAR(p_last(r, i), want[i - 1] * 0.02 * full, 1e-3) << i;
}

TEST(PyPlotFile, SegmentBelowTheDeepestLayerAddsNothing) {
  ElasticPlot e(200.0);  // the last segment middle (210 in) lies below the soil
  const auto r = e.run();
  ASSERT_EQ(e.pm.status, 0);
  const double full = 12000.0 * 60.0;
  EXPECT_NEAR(p_last(r, 4), 0.5 * 0.02 * full, 1e-3);  // its upper half only
  EXPECT_EQ(r[1 + 4 * 7 + 1][0], 1);                   // the tip keeps a zero curve
  EXPECT_EQ(p_last(r, 5), 0.0);
}

TEST(PyPlotFile, NodeAboveTheGroundWritesNoPoints) {
  ElasticPlot e(300.0, 50.0);  // ground 50 in below the head: segment 1's middle is above
  const auto r = e.run();
  ASSERT_EQ(e.pm.status, 0);
  EXPECT_EQ(r[2][0], 0);
  EXPECT_EQ(r[2][1], 0);
  EXPECT_EQ(r[3], (Row{2, 60.0}));  // node 2 follows at once
  EXPECT_NEAR(r[3 + 1 + 5][2], 0.5 * 0.02 * 12000.0 * 60.0, 1e-3);
}

// The soil curve of a plot segment is the one at its middle: its width at the middle's
// place along the axis, its soil at the middle's depth. A 240 in pile, head 12 in below the
// origin, 24 in over its upper 120 in (along the axis) and 36 in below; subgrade modulus
// k = X (lb/in3, X the depth in in). Middles at s = 30, 90, 150 and 210 in along the axis lie
// at X = 12 + s, or at 12 + s cos(60 deg) when a battered pile's node depths are projected
// on the vertical.
TEST(PyPlotFile, SegmentCurvesTakeTheWidthAlongTheAxisAndTheSoilAtTheDepth) {
  const struct Case {
    const char* name;
    int ibatter;
    double batter_deg, depth_per_axial;
    bool printed_before;  // a printed p-y curve moved node 1 to 100 in first
  } cases[] = {
      {"vertical", 1, 0.0, 1.0, false},
      {"battered, depths projected on the vertical", 1, 60.0, 0.5, false},
      {"battered, after a printed curve", 1, 60.0, 0.5, true},
      {"battered, depths along the axis", 0, 60.0, 1.0, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    pytest::PyModel pm{10, 240.0, 24.0, 1, 12.0};
    Model& m = pm.m;
    m.CORX(1) = 12.0;
    m.NSECT(1) = 2;
    m.STO(1, 1) = 120.0;
    m.SFROM(1, 2) = 120.0;
    m.STO(1, 2) = 240.0;
    m.SDIAM(1, 2) = m.SDIAMB(1, 2) = 36.0;
    m.IBATTER = k.ibatter;
    m.BATTER(1) = k.batter_deg * 3.141592653589793 / 180.0;
    pytest::SoilPt top, bottom;
    top.c = bottom.c = 1000.0;
    top.gam = bottom.gam = 0.04;
    bottom.k = 300.0;
    pm.layer(0.0, 300.0, 12, top, bottom);
    m.NLAYIN = m.NLAYER;
    m.NDIM = 2;
    if (k.printed_before) place_first_node(m, 1, 100.0);
    plot_pass_at_three_deflections(m);
    PYPLOTFILE(m, 1, pm.status);
    const auto r = rows_of(m.CURVEDATA.take_text());
    ASSERT_EQ(pm.status, 0);
    ASSERT_EQ(r.size(), 1u + 5 * 7);
    // Spring of segment j's half at y = 0.02: k(X) x D x y x h/2.
    double half[6] = {0, 0, 0, 0, 0, 0};
    const double widths[4] = {24.0, 24.0, 36.0, 36.0};
    for (int j = 1; j <= 4; ++j) {
      const double X = 12.0 + (j - 0.5) * 60.0 * k.depth_per_axial;
      half[j] = X * widths[j - 1] * 0.02 * 30.0;
    }
    for (int i = 1; i <= 5; ++i) {
      EXPECT_EQ(r[1 + (i - 1) * 7], (Row{double(i), 12.0 + (i - 1) * 60.0}));  // along the axis
      EXPECT_NEAR(p_last(r, i), half[i - 1] + half[i], 1e-6) << "node " << i;
    }
  }
}

TEST(PilePlot, SegmentsGiveSectionRecordsAndOrthonormalAxes) {
  ElasticPlot e(300.0);
  Model& m = e.pm.m;
  m.BETA(1) = 1.2;
  m.ALPHA(1) = 0.4;
  int status = 0;
  PILEPLOT(m, 1, status);
  const auto r = rows_of(m.CURVEDATA.take_text());
  ASSERT_EQ(r.size(), 6u + 4 * 2);
  EXPECT_EQ(r[0], (Row{1, 4, 0}));
  EXPECT_EQ(r[1], (Row{240.0}));
  for (int a = 3; a <= 5; ++a)
    for (int b = 3; b <= 5; ++b) {
      double dot = 0.0;
      for (int k = 0; k < 3; ++k) dot += r[a][k] * r[b][k];
      EXPECT_NEAR(dot, a == b ? 1.0 : 0.0, 1e-7) << a << b;
    }
  EXPECT_EQ(r[6], (Row{1, 30.0}));
  EXPECT_EQ(r[7].size(), 6u);
  EXPECT_EQ(r[7][0], 24.0);
}

}  // namespace
}  // namespace torva
