// Axial and torsional curve blocks of the plot pass, on a driven pile in clay with a
// given unit side friction (every segment's t-z curve is the same).
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "axial/axdist.h"
#include "axial/axfixture.h"
#include "axial/axtip.h"
#include "axial/curvedata.h"
#include "axial/tzplotfile.h"
#include "driver/runctl.h"
#include "support/curverows.h"

namespace torva {
namespace {

using Row = testing::CurveRow;
constexpr auto rows_of = testing::curve_rows;

// Pile of 600 in in 10 plot segments of 60 in, ground 40 in below the head.
std::unique_ptr<Model> plot_pile() {
  testing::PileSoil p;
  p.freeLen = 40.0;
  auto m = testing::make_pile(p);
  m->NPLTPT = 10;
  m->NPTTZPL = 19;
  m->NLAYIN = m->NLAYER;
  m->CURVEDATA.open_memory();
  return m;
}

// The 19 curve records after the records of point k (1-based) in a block of `rows`.
struct Block {
  std::vector<Row> r;
  size_t at(int k) const {  // index of the node record of point k
    size_t i = 1;
    for (int j = 1; j < k; ++j) i += 2 + (r[i + 1][0] == 1 ? 19 : 0);
    return i;
  }
};

// Without soil layers no point has soil: both blocks hold every point, each without a
// curve, and no lookup fails.
TEST(TzPlotFile, NoSoilLayersWritesEveryPointWithoutACurve) {
  auto mp = plot_pile();
  Model& m = *mp;
  m.NLAYER = m.NLAYIN = m.NSPX = m.NSPXG = 0;
  for (bool torsion : {false, true}) {
    int status = 0;
    if (torsion)
      TRPLOTFILE(m, 1, status);
    else
      TZPLOTFILE(m, 1, status);
    EXPECT_EQ(status, 0);
    const std::vector<Row> r = rows_of(m.CURVEDATA.take_text());
    ASSERT_EQ(r.size(), 1u + 2 * 11);
    EXPECT_EQ(r[0], (Row{1, 11, torsion ? 3.0 : 2.0}));
    for (int k = 1; k <= 11; ++k) {
      EXPECT_EQ(r[size_t(2 * k - 1)], (Row{double(k), 60.0 * (k - 1)}));
      EXPECT_EQ(r[size_t(2 * k)], (Row{0, 0}));
    }
  }
}

TEST(TzPlotFile, PointsAboveTheGroundHaveNoCurveAndEachPointCarriesHalfOfEachSegment) {
  auto mp = plot_pile();
  Model& m = *mp;
  int status = 0;
  TZPLOTFILE(m, 1, status);
  ASSERT_EQ(status, 0);
  Block b{rows_of(m.CURVEDATA.take_text())};
  EXPECT_EQ(b.r[0], (Row{1, 11, 2}));
  // Point 1: its segment middle (30 in) lies above the ground (40 in).
  EXPECT_EQ(b.r[1], (Row{1, 0.0}));
  EXPECT_EQ(b.r[2], (Row{0, 0}));
  // Point 2 writes its own half segment alone; t-z curve of the clay side friction.
  const size_t p2 = b.at(2);
  EXPECT_EQ(b.r[p2], (Row{2, 60.0}));
  EXPECT_EQ(b.r[p2 + 1], (Row{1, 19}));
  AXWORK w{};
  w.DPTMAX(1) = 5.0;
  TZSHAPE(m, 1, DRIVEN, 1, 24.0, w.DPT, w.DPZ, w.DPTMAX, w.DPPHI);
  const double half = 3.1415927410125732 * 24.0 * 60.0 / 2.0;
  for (int j = 1; j <= 10; ++j) {
    const Row& pos = b.r[p2 + 1 + 9 + j];
    EXPECT_EQ(pos[0], 9 + j);
    EXPECT_NEAR(pos[1], w.DPZ(1, j), 1e-7 * std::abs(w.DPZ(1, j)) + 1e-12);
    EXPECT_NEAR(pos[2], w.DPT(1, j) * half, 1e-7 * w.DPT(1, j) * half + 1e-9);
    if (j >= 2) {  // the mirrored branch
      const Row& neg = b.r[p2 + 1 + 11 - j];
      EXPECT_EQ(neg[1], -pos[1]);
      EXPECT_EQ(neg[2], -pos[2]);
    }
  }
  // Points 3 and 10 carry half of each adjacent segment: twice point 2's curve.
  for (int k : {3, 10}) {
    const size_t pk = b.at(k);
    EXPECT_NEAR(b.r[pk + 1 + 19][2], 2 * b.r[p2 + 1 + 19][2], 1e-6 * b.r[pk + 1 + 19][2]) << k;
  }
  // The tip: point 10's lower half with the tip resistance added on the bearing side.
  const size_t tip = b.at(11);
  EXPECT_EQ(b.r[tip], (Row{11, 600.0}));
  EXPECT_EQ(b.r[tip + 1], (Row{1, 19}));
  int st = 0;
  AXTIPAT(m, 1, 1, 600.0, 1, m.SAREAB(1, 1), m.SDIAMB(1, 1), false, st, w);
  ASSERT_EQ(st, 0);
  for (int j = 1; j <= 10; ++j) {
    const Row& pos = b.r[tip + 1 + 9 + j];
    const double carried = j == 1 ? 0.0 : -b.r[tip + 1 + 11 - j][2];
    const double q = QWREAD(w.TIPW, w.TIPQ, pos[1]);
    EXPECT_NEAR(pos[2], carried + q, 1e-6 * (carried + q) + 1e-9) << j;
    EXPECT_NEAR(carried, b.r[p2 + 1 + 9 + j][2], 1e-6 * carried + 1e-9) << j;
  }
}

TEST(TzPlotFile, TorsionalCurveIsTheAxialOneInRotationAndTorque) {
  auto mp = plot_pile();
  Model& m = *mp;
  int status = 0;
  TZPLOTFILE(m, 1, status);
  Block a{rows_of(m.CURVEDATA.take_text())};
  TRPLOTFILE(m, 1, status);
  ASSERT_EQ(status, 0);
  Block t{rows_of(m.CURVEDATA.take_text())};
  EXPECT_EQ(t.r[0], (Row{1, 11, 3}));
  ASSERT_EQ(t.r.size(), a.r.size());
  const double r = 12.0;
  for (int k : {2, 5}) {
    const size_t i = a.at(k) + 2 + 18;  // the tenth pair
    EXPECT_NEAR(t.r[i][1], a.r[i][1] / r, 1e-7 * std::abs(a.r[i][1] / r));
    EXPECT_NEAR(t.r[i][2], a.r[i][2] * r, 1e-7 * std::abs(a.r[i][2] * r));
  }
}

// A row whose pile reaches below the soil profile stops its block at the failing point
// with the lookup's status; the plot pass still writes every block of the next row.
TEST(PlotPassRows, FailingRowLeavesTheNextRowComplete) {
  auto mp = plot_pile();
  Model& m = *mp;
  m.NROW = 2;
  m.PTYPE(1) = 2;  // row 1: a pile of 1500 in, below the profile of 1200 in
  m.PILELEN(2) = 1500.0;
  m.NSEG(2) = 20;
  m.NSECT(2) = 1;
  m.PILEKIND(2) = 1;
  m.STO(2, 1) = 1500.0;
  m.SDIAM(2, 1) = m.SDIAMB(2, 1) = 24.0;
  m.SAREA(2, 1) = m.SAREAB(2, 1) = 452.39;
  m.SEMOD(2, 1) = 4.0e6;
  m.HEADDEP(2) = m.CORX(2) = 0.0;
  m.FREELEN(2) = 40.0;
  m.PTYPE(2) = 1;
  m.IUNITS = 1;
  int status = 0;
  PLOTPASS(m, status);
  EXPECT_NE(status, 0);
  const auto r = rows_of(m.CURVEDATA.take_text());
  // Row 2's axial block: its header, then 11 points of which 10 have curves.
  size_t i = 0;
  while (i < r.size() && !(r[i] == Row{2, 11, 2})) ++i;
  ASSERT_LT(i, r.size());
  EXPECT_EQ(i + 1 + 11 * 2 + 10 * 19 < r.size(), true);
  EXPECT_EQ(r[i + 1 + 11 * 2 + 10 * 19], (Row{2, 11, 3}));
}

TEST(CurveSum, TheCurveWithTheSmallerLastAbscissaGivesTheAbscissas) {
  struct Case {
    double x1[3], y1[3], x2[3], y2[3], xo[3], yo[3];
  } cases[] = {
      // Equal abscissas: ordinates added.
      {{0, 1, 2}, {0, 10, 20}, {0, 1, 2}, {0, 5, 6}, {0, 1, 2}, {0, 15, 26}},
      // Curve 2 shorter: its abscissas, curve 1 interpolated at them.
      {{0, 2, 4}, {0, 20, 40}, {0, 1, 2}, {0, 5, 6}, {0, 1, 2}, {0, 15, 26}},
      // Two equal neighbouring abscissas of the other curve: no slope, its lower ordinate.
      {{0, 1, 2}, {0, 5, 6}, {0, 0, 4}, {0, 7, 8}, {0, 1, 2}, {0, 12.25, 13.5}},
  };
  for (const Case& c : cases) {
    double xo[3], yo[3];
    CDSUM(3, c.x1, c.y1, c.x2, c.y2, xo, yo);
    for (int k = 0; k < 3; ++k) {
      EXPECT_DOUBLE_EQ(xo[k], c.xo[k]);
      EXPECT_DOUBLE_EQ(yo[k], c.yo[k]);
    }
  }
}

}  // namespace
}  // namespace torva
