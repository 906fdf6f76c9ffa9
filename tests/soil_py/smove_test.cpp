// Free-field soil movement at the pile nodes: linear interpolation of the row's profile by
// depth (X coordinate), zero outside the profile, the mean of two points at one depth, times
// the current load factor.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "model/model.h"
#include "soil_py/smove.h"

namespace torva {
namespace {

struct SmCase {
  const char* what;
  std::vector<double> depth, move;  // profile, depths below the head
  std::array<double, 5> want;       // nodes at 0, 5, 10, 15, 20 below the head
};

class SoilMovement : public ::testing::TestWithParam<SmCase> {};

// Row 3, head at X = 12, 4 segments of 5; the profile is stored as X coordinates and the
// load factor is 0.5.
TEST_P(SoilMovement, InterpolatesAtTheNodes) {
  const SmCase& c = GetParam();
  auto mp = new_model();
  Model& m = *mp;
  const int g = 3;
  m.PTYPE(g) = 2;
  m.NSEG(2) = 4;
  m.HEADDEP(g) = 12.0;
  for (int j = 1; j <= 5; ++j) m.DEPN(g, j) = 12.0 + 5.0 * (j - 1);
  m.NSMPT = int(c.depth.size());
  for (int p = 1; p <= m.NSMPT; ++p) {
    m.SMPD(g, p) = 12.0 + c.depth[std::size_t(p - 1)];
    m.SMPY(g, p) = c.move[std::size_t(p - 1)];
    m.SMPZ(g, p) = -2.0 * c.move[std::size_t(p - 1)];
  }
  m.TCURSM = 0.5;
  std::array<double, 5> y{}, z{};
  SMOVEY(m, g, y);
  SMOVEZ(m, g, z);
  for (int j = 0; j < 5; ++j) {
    EXPECT_NEAR(y[std::size_t(j)], 0.5 * c.want[std::size_t(j)], 1e-12) << c.what << " node " << j + 1;
    EXPECT_NEAR(z[std::size_t(j)], -1.0 * c.want[std::size_t(j)], 1e-12) << c.what;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, SoilMovement,
    ::testing::Values(
        SmCase{"between points; above the top and below the bottom zero",
               {2.5, 7.5, 17.5}, {4.0, 2.0, 6.0}, {0.0, 3.0, 3.0, 5.0, 0.0}},
        SmCase{"nodes exactly at the top and the bottom are interpolated",
               {5.0, 15.0}, {1.0, 3.0}, {0.0, 1.0, 2.0, 3.0, 0.0}},
        SmCase{"node just above the top gets 0",
               {5.000001, 20.0}, {1.0, 1.0}, {0.0, 0.0, 1.0, 1.0, 1.0}},
        SmCase{"two points at one depth give their mean",
               {10.0, 10.0, 20.0}, {2.0, 4.0, 8.0}, {0.0, 0.0, 3.0, 6.0, 8.0}},
        SmCase{"one-point profile acts at its own depth only",
               {10.0}, {7.0}, {0.0, 0.0, 7.0, 0.0, 0.0}},
        SmCase{"full 25-point profile, last node at the last point",
               {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 19.5, 19.6,
                19.7, 19.8, 20},
               {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 1, 1, 1, 1,
                9},
               {0.0, 5.0, 10.0, 15.0, 9.0}}));

TEST(SoilMovementNone, NoProfileGivesZeros) {
  auto mp = new_model();
  Model& m = *mp;
  m.PTYPE(1) = 1;
  m.NSEG(1) = 2;
  m.TCURSM = 1.0;
  std::array<double, 3> v{1.0, 1.0, 1.0};
  SMOVEY(m, 1, v);
  EXPECT_EQ(v, (std::array<double, 3>{0.0, 0.0, 0.0}));
}

}  // namespace
}  // namespace torva
