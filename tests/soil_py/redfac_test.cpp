// Group reduction factors of closely spaced piles against values computed by hand from
// the pair rules: side by side 0.64 (s/B)^0.34, leading 0.70 (s/B)^0.26, trailing
// 0.48 (s/B)^0.38, skewed pairs blended by the angle, each at most 1.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "input/freeread.h"
#include "input/inputcheck.h"
#include "model/messages.h"
#include "model/model.h"
#include "soil_py/redfac.h"

namespace torva {
namespace {

// Hand values (single-precision constants widened).
constexpr double LEAD3 = 0.9314285683778132;   // 0.70 * 3^0.26
constexpr double TRAIL3 = 0.7286975379667823;  // 0.48 * 3^0.38
constexpr double SIDE2 = 0.8100842040422934;   // 0.64 * 2^0.34

struct PairCase {
  double o, u, s, want;
  const char* what;
};

class PairRule : public ::testing::TestWithParam<PairCase> {};

TEST_P(PairRule, MatchesHandValue) {
  const PairCase& c = GetParam();
  EXPECT_NEAR(redfac_pair(c.o, c.u, c.s), c.want, 1e-12) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Positions, PairRule,
    ::testing::Values(PairCase{0.0, 2.0, 1.0, SIDE2, "side by side at 2B"},
                      PairCase{0.0, -2.0, -1.0, SIDE2, "side by side, other side"},
                      PairCase{0.0, 5.0001, 1.0, 1.0, "side by side beyond 5B"},
                      PairCase{0.0, 4.0, 1.0, 1.0, "0.64*4^0.34 above 1 is capped"},
                      PairCase{3.0, 0.0, 1.0, LEAD3, "leading in line at 3B"},
                      PairCase{-3.0, 0.0, 1.0, TRAIL3, "trailing in line at 3B"},
                      PairCase{3.0, 0.0, -1.0, TRAIL3, "reversed load: the front pile trails"},
                      PairCase{-3.0, 5e-7, -1.0, LEAD3, "cross offset below 1e-6 is in line"},
                      PairCase{8.5, 0.0, -1.0, 1.0, "in line beyond 8B"},
                      PairCase{3.0, 3.0, 1.0, 1.0, "skewed leading at (3B, 3B)"},
                      PairCase{-3.0, 3.0, 1.0, 0.9195141802829637, "skewed trailing (3B, 3B)"},
                      PairCase{2.0, 1.0, 1.0, 0.85864981247121, "skewed leading (2B, 1B)"},
                      PairCase{-2.0, -1.0, 1.0, 0.6938005539929587, "skewed trailing (2B, 1B)"},
                      PairCase{6.0, 6.0, 1.0, 1.0, "skewed beyond 8B"}));

class RedFac : public ::testing::Test {
 protected:
  std::unique_ptr<Model> mp = new_model();
  Model& m = *mp;
  RowCapture cap;
  int status = 0;

  void SetUp() override {
    m.SDIAM(1, 1) = 24.0;
    m.SDIAM(2, 1) = 48.0;
  }
  // A 3-D row with one pile at (y, z), in diameters of property 1.
  void pile3d(int g, double y, double z, int t = 1) {
    m.NDIM = 3;
    m.NROW = std::max(m.NROW, g);
    m.NPILE(g) = 1.0;
    m.CORY(g) = y * 24.0;
    m.CORZ(g) = z * 24.0;
    m.PTYPE(g) = t;
  }
  void row2d(int g, double y, int n, double spacing_b) {
    m.NDIM = 2;
    m.NROW = std::max(m.NROW, g);
    m.NPILE(g) = n;
    m.CORY(g) = y * 24.0;
    m.SPACING(g) = spacing_b * 24.0;
    m.PTYPE(g) = 1;
  }
};

TEST_F(RedFac, TwoPilesInLineAlongY) {
  pile3d(1, 0.0, 0.0);
  pile3d(2, 3.0, 0.0);
  REDFACY(m, 1.0, status);
  ASSERT_EQ(status, 0);
  EXPECT_NEAR(m.PMULT(2), LEAD3, 1e-12);
  EXPECT_NEAR(m.PMULT(1), TRAIL3, 1e-12);
  EXPECT_EQ(m.YMULT(1), 1.0);
  EXPECT_EQ(m.YMULT(2), 1.0);
  EXPECT_EQ(m.HEADY(2), 72.0);
  REDFACY(m, -1.0, status);
  EXPECT_NEAR(m.PMULT(1), LEAD3, 1e-12);
  EXPECT_NEAR(m.PMULT(2), TRAIL3, 1e-12);
  // Along Z the same two piles stand side by side at 3B.
  REDFACZ(m, 1.0, status);
  EXPECT_NEAR(m.PMULTZ(1), double(0.64f) * std::pow(3.0, double(0.34f)), 1e-12);
  EXPECT_NEAR(m.PMULTZ(2), m.PMULTZ(1), 0.0);
  EXPECT_EQ(m.YMULTZ(1), 1.0);
  EXPECT_NEAR(m.PMULT(1), LEAD3, 1e-12);  // REDFACZ leaves the Y factors alone
}

TEST_F(RedFac, ThreeInLineAndSkewedPair) {
  pile3d(1, 0.0, 0.0);
  pile3d(2, 3.0, 0.0);
  pile3d(3, 6.0, 0.0);
  REDFACY(m, 1.0, status);
  // Rear pile trails both: 0.48*3^0.38 * 0.48*6^0.38; middle: 0.70*3^0.26 * 0.48*3^0.38;
  // front pile leads both: 0.70*3^0.26 * min(1, 0.70*6^0.26 = 1.0075).
  EXPECT_NEAR(m.PMULT(1), 0.6910126554829014, 1e-12);
  EXPECT_NEAR(m.PMULT(2), 0.6787297045688372, 1e-12);
  EXPECT_NEAR(m.PMULT(2), LEAD3 * TRAIL3, 1e-12);
  EXPECT_NEAR(m.PMULT(3), LEAD3, 1e-12);
  // A skewed pair at (3B, 3B): the front pile is free, the rear one blended.
  auto m2 = new_model();
  m2->SDIAM(1, 1) = 1.0;
  m2->NDIM = 3;
  m2->NROW = 2;
  for (int g = 1; g <= 2; ++g) m2->NPILE(g) = 1.0, m2->PTYPE(g) = 1;
  m2->CORY(2) = 3.0;
  m2->CORZ(2) = 3.0;
  REDFACY(*m2, 1.0, status);
  EXPECT_NEAR(m2->PMULT(2), 1.0, 1e-12);
  EXPECT_NEAR(m2->PMULT(1), 0.9195141802829637, 1e-12);
}

TEST_F(RedFac, RowsOf2DLaidOutAcrossThePlane) {
  row2d(1, 0.0, 3, 2.0);   // piles at 0, +2B, -2B
  row2d(2, 20.0, 2, 2.0);  // piles at +B, -B: side by side at 2B
  row2d(3, 40.0, 1, 0.0);  // a single pile, no spacing needed
  REDFACY(m, 1.0, status);
  ASSERT_EQ(status, 0);
  // Row 1: the centre pile has two neighbours at 2B, the outer ones one at 2B, one at 4B
  // (0.64*4^0.34 caps at 1).
  EXPECT_NEAR(m.PMULT(1), (SIDE2 * SIDE2 + 2 * SIDE2) / 3.0, 1e-12);
  EXPECT_NEAR(m.PMULT(2), SIDE2, 1e-12);
  EXPECT_EQ(m.PMULT(3), 1.0);
}

TEST_F(RedFac, AverageDiameterOfThePair) {
  pile3d(1, 0.0, 0.0, 1);   // 24 wide
  pile3d(2, 0.0, 3.0, 2);   // 48 wide, 72 away across: 72 / 36 = 2 mean diameters
  m.IAVGDIA = 1;
  REDFACY(m, 1.0, status);
  EXPECT_NEAR(m.PMULT(1), SIDE2, 1e-12);
  EXPECT_NEAR(m.PMULT(2), SIDE2, 1e-12);
}

TEST_F(RedFac, RowWithoutPilesKeepsNeutralFactor) {
  pile3d(1, 0.0, 0.0);
  pile3d(2, 3.0, 0.0);
  pile3d(3, 1.0, 0.0);
  m.NPILE(3) = 0.0;  // stands for no pile
  REDFACY(m, 1.0, status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(m.PMULT(3), 1.0);
  EXPECT_EQ(m.YMULT(3), 1.0);
  EXPECT_NEAR(m.PMULT(2), LEAD3, 1e-12);
}

struct BadLayout {
  const char* what;
  void (*make)(Model&);
  const char* text;
};

class RedFacRefused : public ::testing::TestWithParam<BadLayout> {};

TEST_P(RedFacRefused, StatusMessageAndFactorsUntouched) {
  auto mp = new_model();
  Model& m = *mp;
  m.SDIAM(1, 1) = 24.0;
  GetParam().make(m);
  for (int g = 1; g <= m.NROW; ++g) m.PMULT(g) = 0.5;
  RowCapture cap;
  int status = 0;
  {
    CaptureScope scope(cap);
    REDFACY(m, 1.0, status);
  }
  EXPECT_EQ(status, ST_INPUTCHECK);
  EXPECT_EQ(m.PMULT(1), 0.5);
  ASSERT_EQ(cap.lines.size(), 3u);
  EXPECT_EQ(cap.lines[0].second, "**** FATAL ERROR ****");
  EXPECT_NE(cap.lines[2].second.find(GetParam().text), std::string::npos) << cap.lines[2].second;
  EXPECT_EQ(group_layout_error(m).empty(), false);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, RedFacRefused,
    ::testing::Values(
        BadLayout{"2-D row of two piles at zero spacing",
                  [](Model& m) {
                    m.NDIM = 2, m.NROW = 1, m.NPILE(1) = 2, m.PTYPE(1) = 1;
                  },
                  "PILE GROUP 1 HAS 2 PILES AT ZERO SPACING"},
        BadLayout{"3-D rows at one position",
                  [](Model& m) {
                    m.NDIM = 3, m.NROW = 3;
                    for (int g = 1; g <= 3; ++g) m.NPILE(g) = 1, m.PTYPE(g) = 1;
                    m.CORY(1) = 100.0, m.CORY(3) = 100.0, m.CORY(2) = 10.0;
                  },
                  "PILE GROUPS 1 AND 3 HAVE PILES AT THE SAME POSITION"},
        BadLayout{"2-D rows whose layouts overlap",
                  [](Model& m) {
                    m.NDIM = 2, m.NROW = 2;
                    m.NPILE(1) = 3, m.NPILE(2) = 1, m.PTYPE(1) = m.PTYPE(2) = 1;
                    m.SPACING(1) = 72.0;  // 0, +72, -72; row 2 has its one pile at 0
                  },
                  "PILE GROUPS 1 AND 2 HAVE PILES AT THE SAME POSITION"},
        BadLayout{"zero diameter",
                  [](Model& m) {
                    m.NDIM = 3, m.NROW = 1, m.NPILE(1) = 1, m.PTYPE(1) = 2;
                  },
                  "PILE GROUP 1 HAS A PILE DIAMETER THAT IS NOT POSITIVE"},
        BadLayout{"more individual piles than the work lists hold",
                  [](Model& m) {
                    m.NDIM = 2, m.NROW = 2, m.PTYPE(1) = m.PTYPE(2) = 1;
                    m.NPILE(1) = 2000, m.NPILE(2) = 501;
                    m.SPACING(1) = m.SPACING(2) = 72.0, m.CORY(2) = 1000.0;
                  },
                  "THE MODEL HAS 2501 INDIVIDUAL PILES; AT MOST 2500 ARE ALLOWED"}));

// The input check refuses a 2-D layout the estimated factors cannot use before anything
// is built: more individual piles than the work lists hold, several piles at no spacing.
TEST(RedFacInput, TwoDimensionalLayoutsRefusedAtInput) {
  struct Case {
    int iredfac, n1, n2;
    double spacing;
    int want;  // messages about the layout
  } cases[] = {{1, 2000, 500, 36.0, 0}, {3, 2000, 501, 36.0, 1}, {1, 2, 1, 0.0, 1},
               {2, 2000, 501, 0.0, 0}};
  for (const Case& c : cases) {
    auto mp = new_model();
    Model& m = *mp;
    m.NDIM = 2;
    m.IREDFAC = c.iredfac;
    m.NROW2 = 2;
    m.ROWI2(1, 2) = c.n1, m.ROWI2(2, 2) = c.n2;
    m.ROWR2(1, 2) = m.ROWR2(2, 2) = c.spacing;
    StringLines src("");
    FreeReader rd(src);
    RowCapture cap;
    int status = 0;
    {
      CaptureScope scope(cap);
      INPUTCHECK(m, rd, status);
    }
    int layout = 0;
    for (const auto& l : cap.lines) {
      const std::string& t = l.second;
      if (t.find("FOR THE REDUCTION FACTORS") != std::string::npos ||
          t.find("(THE ROW HAS 2 PILES)") != std::string::npos)
        ++layout;
    }
    EXPECT_EQ(layout, c.want) << c.iredfac << " " << c.n1 << "+" << c.n2;
    EXPECT_EQ(status, ST_INPUTCHECK);  // the rest of this bare model is refused too
  }
}

// The full capacity: 2500 rows of one pile on a 50 x 50 grid at 3 diameters. Every
// factor is finite and within (0, 1]; by symmetry the four corner piles share one factor
// pattern and the grid's centre piles are the most reduced.
TEST_F(RedFac, FullCapacityGridRunsWithinTheLists) {
  for (int i = 0; i < 50; ++i)
    for (int k = 0; k < 50; ++k) pile3d(i * 50 + k + 1, 3.0 * i, 3.0 * k);
  ASSERT_EQ(m.NROW, MAXROW);
  REDFACY(m, 1.0, status);
  ASSERT_EQ(status, 0);
  for (int g = 1; g <= m.NROW; ++g) {
    ASSERT_TRUE(m.PMULT(g) > 0.0 && m.PMULT(g) <= 1.0) << g;
  }
  // Corners at the same Y (rows of the grid's first Y line) mirror each other across Z.
  EXPECT_NEAR(m.PMULT(1), m.PMULT(50), 1e-12);
  EXPECT_NEAR(m.PMULT(2451), m.PMULT(2500), 1e-12);
  EXPECT_LT(m.PMULT(1), m.PMULT(2451));  // the rear line trails the whole group
}

}  // namespace
}  // namespace torva
