// The passive resistance of an embedded cap in the cap iterations: the 3-D tangent against
// differences of the passive force itself, and the 2-D resistance taken into the cap's
// equilibrium.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>

#include "cap/anal2d.h"
#include "cap/bent_fixture.h"
#include "cap/cappasv.h"
#include "cap/example_fixture.h"
#include "cap/fvec2d.h"

namespace torva {
namespace {

// The embedded cap of the 2 x 2 pipe group at a horizontal movement (0.3 in, 0.1 in) with a
// small settlement and twist: each column of the tangent is the change of the passive force
// per unit movement, here checked against central differences with steps 10^4 times larger.
// The split of the force by abs(uy) : abs(uz) makes it unsymmetric (dF2/duz = R uy / s^2,
// dF3/duy = R uz / s^2 for a constant block), so rows and columns cannot be exchanged.
TEST(CapPassiveTangent, ColumnsAreTheChangeOfThePassiveForce) {
  testing::Bent r(testing::read_example("embedded_cap_passive_us.dat"));
  ASSERT_EQ(r.status, 0);
  Model& m = *r.m;
  m.ICASE = 1;
  SETCURCASE(m, 1);
  Vec6 U;
  U.fill(0.0);
  U(1) = 0.05;
  U(2) = 0.3;
  U(3) = 0.1;
  U(6) = 1.0e-4;
  Mat6 K;
  int st = 0;
  CAPPASVK(m, K, U, st);
  ASSERT_EQ(st, 0);
  Vec6 F0;
  CAPPASV(m, F0, U, st);
  ASSERT_GT(std::fabs(F0(2)), 1000.0) << "the cap carries a passive force";
  for (int j = 1; j <= 6; ++j) {
    SCOPED_TRACE(j);
    const double h = j <= 3 ? 1.0e-3 : 1.0e-7;
    Vec6 V = U, Fp, Fm;
    V(j) = U(j) + h;
    CAPPASV(m, Fp, V, st);
    V(j) = U(j) - h;
    CAPPASV(m, Fm, V, st);
    double scale = 0.0;
    for (int i = 1; i <= 6; ++i) scale = std::max(scale, std::fabs((Fp(i) - Fm(i)) / (2.0 * h)));
    for (int i = 1; i <= 6; ++i) EXPECT_NEAR(K(i, j), (Fp(i) - Fm(i)) / (2.0 * h), 2e-3 * scale + 1e-9) << i;
    EXPECT_EQ(K(1, j), 0.0);
    EXPECT_EQ(K(4, j), 0.0);
  }
  EXPECT_GT(std::fabs(K(2, 3) - K(3, 2)), 0.1 * std::fabs(K(2, 3)));
}

// The wharf bent with its cap embedded 2 ft in the clay: the passive resistance of the cap
// acts with the deck and mooring loads, so at the final cap displacement the pile rows
// carry the load plus the passive force, not the load alone.
TEST(CapPassive2d, ResistanceTakenIntoTheCapEquilibrium) {
  std::string t = testing::bent_text();
  t = testing::replace(t, "CONTROL RECORD\n1 2 0 ", "CONTROL RECORD\n1 2 1 ");
  for (const char* row : {"0.0 -6.0 -14.036 0.0\n", "0.0 0.0 0.0 0.0\n", "0.0 6.0 14.036 0.0\n"}) {
    std::string to = row;
    to.replace(to.size() - 4, 3, "-2.0");
    t = testing::replace(t, row, to);
  }
  t = testing::replace(t, "1 3\n0.0 90.0\n", "1 3\n-2.0 90.0\n");
  testing::Bent b(t);
  ASSERT_EQ(b.status, 0);
  Vec3 FV, DV;
  b.analyse(1, FV, DV);
  ASSERT_EQ(b.status, 0);
  Model& m = *b.m;
  m.IOPASS = 0;
  Vec3 R, P;
  int st = 0;
  FVEC2D(m, R, DV, st);
  ASSERT_EQ(st, 0);
  const Passive2d pasv = PASSIVE2D(m);
  pasv.load(DV(2), P, passive_band(m));
  EXPECT_GT(std::fabs(P(2)), 0.02 * FV(2)) << "a passive force that matters";
  EXPECT_LT(P(2) * DV(2), 0.0) << "it resists the movement";
  for (int i = 1; i <= 3; ++i)
    EXPECT_NEAR(R(i), FV(i) + P(i), 1e-3 * FV(1) * (i == 3 ? 12.0 : 1.0)) << i;
  // The passive table: the signed force and the position of its resultant.
  const std::string out = b.close_and_read("case.out");
  const auto at = out.find("     * PASSIVE RESISTANCE IN PILE CAP *\n\n");
  ASSERT_NE(at, std::string::npos);
  std::istringstream table(out.substr(at));
  std::string title, empty, head;
  double sR = 0.0, pos = 0.0;
  std::getline(table, title);
  std::getline(table, empty);
  std::getline(table, head);
  EXPECT_EQ(head, "              HORI. LOAD,LBS      POSITION, IN");
  ASSERT_TRUE(table >> sR >> pos);
  EXPECT_NEAR(sR, -P(2), 1e-3 * std::fabs(P(2)));
  EXPECT_NEAR(pos, pasv.pos, 1e-4 * std::fabs(pasv.pos) + 1e-5);
}

}  // namespace
}  // namespace torva
