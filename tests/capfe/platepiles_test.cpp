// The plate model on the run's own pile solutions: a stiff plate on four equal linear
// piles shares a downward load evenly, and the piles' head forces balance it.
#include <gtest/gtest.h>

#include <cmath>

#include "capfe/pilesprings.h"
#include "capfe/platefix.h"
#include "pile/pilehead_fixture.h"

namespace torva {
namespace {

class PlateOnPiles : public testing::PileHead {
 protected:
  void SetUp() override {
    PileHead::SetUp();
    for (int g = 2; g <= 4; ++g) add_row(g);
    m->NROW = 4;
  }
};

TEST_F(PlateOnPiles, DownwardLoadIsCarriedEquallyByTheFourPiles) {
  testing::WorkDir dir;
  testing::PlateModel pm;
  pm.mesh.a = pm.mesh.b = 40.0;
  pm.mesh.build();
  pm.e = 4.0e8;
  pm.t = 20.0;
  pm.ispring = 1;
  for (const char* xy : {"0 0", "40 0", "40 40", "0 40"}) pm.piles.push_back(xy);
  const double load = 4.0e4;  // downward: against the plate's w
  pm.pntload.push_back("20 20 0 0 " + std::to_string(-load) + " 0 0 0");
  dir.write("tslab.dat", "plot.plt\nplate.fem\nplate.fel\nplate.fer\nplate.flg\n");
  dir.write("plate.fem", pm.text());
  const RunPileSprings piles;
  PlateRun r(*m, piles);
  run_plate_program(r);
  ASSERT_EQ(r.status, 0) << dir.read("plate.fel");
  // Pile 1 at node 1: its head moves down (pile X = -w) and pushes the plate up by a
  // quarter of the load.
  const double w = r.ASDIS[2];
  EXPECT_LT(w, 0.0);
  Vec6 u = testing::vec6({-w, r.ASDIS[1], r.ASDIS[0], -r.ASDIS[5], -r.ASDIS[3], r.ASDIS[4]}), f;
  int status = 0;
  PILEF(*m, 1, f, u, status, *s);
  ASSERT_EQ(status, 0);
  EXPECT_NEAR(f(1), -load / 4.0, 1e-3 * load);
  // The final pass traced every pile.
  const std::string trace = dir.read("tslab.ftr");
  EXPECT_NE(trace.rfind(" 4\nDDD  "), std::string::npos);
}

}  // namespace
}  // namespace torva
