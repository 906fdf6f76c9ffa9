// Group reduction factors that follow the cap's movement: the Y and Z factors of every row
// recombined by the direction of the horizontal cap movement (or of the horizontal load
// before the cap moves, or of a predefined movement), and the tables of the factors used.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>

#include "cap/anal3d.h"
#include "cap/example_fixture.h"
#include "driver/itorva.h"
#include "support/workdir.h"

namespace torva {
namespace {

Vec6 vec(double y, double z) {
  Vec6 v;
  v.fill(0.0);
  v(2) = y;
  v(3) = z;
  return v;
}

// Row 1 with the Y factors (0.5, 0.9) and the Z factors (0.375, 0.6); row 2 with factors of 1;
// the cap pseudo row 3 with a marker that must stay.
std::unique_ptr<Model> two_rows(int iredfac) {
  auto m = new_model();
  m->NDIM = 3;
  m->NROW = 2;
  m->IREDFAC = iredfac;
  m->PMULTY(1) = 0.5;
  m->YMULTY(1) = 0.9;
  m->PMULTZ(1) = 0.375;
  m->YMULTZ(1) = 0.6;
  m->PMULTY(2) = m->YMULTY(2) = m->PMULTZ(2) = m->YMULTZ(2) = 1.0;
  m->PMULT(3) = m->YMULT(3) = 0.125;
  return m;
}

TEST(CapReductionFactors, CombinedByTheDirectionOfTheMovement) {
  struct Case {
    const char* what;
    int iredfac;
    Vec6 DV, loads;
    double redmovy, redmovz;
    double p1, y1;  // row 1 after the update
  };
  // Weights c = 0.6, s = 0.8: P = sqrt((0.5 c)^2 + (0.375 s)^2) = sqrt(0.18),
  // Y = sqrt((0.9 c)^2 + (0.6 s)^2) = sqrt(0.522).
  const double p68 = std::sqrt(0.18), y68 = std::sqrt(0.522);
  const Case cases[] = {
      {"movement (0.3, 0.4)", 2, vec(0.3, 0.4), vec(9.0, 0.0), 0.0, 0.0, p68, y68},
      {"movement along -Y only", 2, vec(-0.3, 0.0), vec(0.0, 5.0), 0.0, 0.0, 0.5, 0.9},
      {"no movement: the load along Z", 2, vec(0.0, 0.0), vec(0.0, -5.0), 0.0, 0.0, 0.375, 0.6},
      {"no movement, no load: Y", 2, vec(0.0, 0.0), vec(0.0, 0.0), 0.0, 0.0, 0.5, 0.9},
      {"predefined (3, -4), whatever the movement", 3, vec(1.0, 0.0), vec(0.0, 0.0), 3.0, -4.0, p68, y68},
      {"predefined (0, 0): equal weights", 3, vec(1.0, 0.0), vec(0.0, 0.0), 0.0, 0.0,
       std::sqrt((0.25 + 0.140625) / 2.0), std::sqrt((0.81 + 0.36) / 2.0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto m = two_rows(c.iredfac);
    m->REDMOVY = c.redmovy;
    m->REDMOVZ = c.redmovz;
    int status = 0;
    REDUPD3D(*m, c.DV, c.loads, status);
    EXPECT_EQ(status, 0);
    EXPECT_NEAR(m->PMULT(1), c.p1, 1e-15);
    EXPECT_NEAR(m->YMULT(1), c.y1, 1e-15);
    EXPECT_NEAR(m->PMULT(2), 1.0, 1e-15);
    EXPECT_EQ(m->PMULT(3), 0.125) << "the cap pseudo row keeps its factors";
    EXPECT_EQ(m->PMULTY(1), 0.5) << "the user factors stay";
  }
}

// Estimated factors (option 1) of two piles 3 diameters apart along Y: along Y the front
// pile leads (0.70 x 3^0.26) and the rear one trails (0.48 x 3^0.38); along Z they stand
// side by side (0.64 x 3^0.34). The sign of the movement picks the front pile.
TEST(CapReductionFactors, EstimatedFactorsFollowTheSignOfTheMovement) {
  const double lead = 0.9314285683778132, trail = 0.7286975379667823;
  const double side = double(0.64f) * std::pow(3.0, double(0.34f));
  auto m = new_model();
  m->NDIM = 3;
  m->NROW = 2;
  m->IREDFAC = 1;
  m->SDIAM(1, 1) = 24.0;
  for (int g = 1; g <= 2; ++g) {
    m->NPILE(g) = 1.0;
    m->PTYPE(g) = 1;
  }
  m->CORY(2) = 72.0;
  int status = 0;
  REDUPD3D(*m, vec(-0.2, 0.0), vec(0.0, 0.0), status);
  ASSERT_EQ(status, 0);
  EXPECT_NEAR(m->PMULT(1), lead, 1e-12) << "moving along -Y, row 1 is in front";
  EXPECT_NEAR(m->PMULT(2), trail, 1e-12);
  EXPECT_NEAR(m->PMULTY(1), lead, 1e-12);
  REDUPD3D(*m, vec(0.3, 0.4), vec(0.0, 0.0), status);
  EXPECT_NEAR(m->PMULT(2), std::hypot(0.6 * lead, 0.8 * side), 1e-12);
  EXPECT_NEAR(m->PMULT(1), std::hypot(0.6 * trail, 0.8 * side), 1e-12);
  EXPECT_NEAR(m->YMULT(1), 1.0, 1e-15);
}


TEST(CapReductionFactors, Tables) {
  for (int iredfac : {2, 3}) {
    SCOPED_TRACE(iredfac);
    testing::WorkDir dir;
    auto m = two_rows(iredfac);
    m->PMULT(1) = 0.42426;
    m->YMULT(1) = 0.72250;
    m->PMULT(2) = m->YMULT(2) = 1.0;
    ASSERT_TRUE(m->REPORT.open_write("out.txt"));
    ASSERT_TRUE(m->SUMMARY.open_write("sum.txt"));
    ASSERT_TRUE(m->PLOTDATA.open_write("pld.txt"));
    REDREP3D(*m);
    for (TextFile* f : {&m->REPORT, &m->SUMMARY, &m->PLOTDATA}) f->close();
    const std::string how =
        iredfac == 3 ? "       USING A PREDEFINED MOVEMENT" + std::string(40, ' ') + "\n"
                     : "       ESTIMATED USING MOVEMENT IN THE DIRECTION OF PILE CAP DISPLACEMENTS\n" +
                           std::string(40, ' ') + "\n";
    const std::string table =
        "\n       REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS, COMBINED Y AND Z DIRECTIONS\n" + how +
        "            GROUP NO     P-FACTOR     Y-FACTOR        \n\n"
        "                1           0.4243       0.7225 \n"
        "                2           1.0000       1.0000 \n";
    EXPECT_EQ(dir.read("out.txt"), table);
    EXPECT_EQ(dir.read("sum.txt"), table);
    std::istringstream pld(dir.read("pld.txt"));
    std::string head;
    std::getline(pld, head);
    EXPECT_EQ(head, "       *REDUCTION FACTORS FOR CLOSELY-SPACED PILE*");
    int g = 0;
    double p = 0.0, y = 0.0;
    ASSERT_TRUE(pld >> g >> p >> y);
    EXPECT_EQ(g, 1);
    EXPECT_NEAR(p, 0.42426, 1e-8);
    EXPECT_NEAR(y, 0.72250, 1e-8);
  }
}

// The 2 x 2 group in sand moved 4.5 ft along +Y from the cap origin, with the user factors
// 0.5 (p) and 0.9 (y) along Y and 0.375 and 0.6 along Z, under 40 kips along Y and a torque
// of 2e6 in-lb: the cap twists about the group, so its origin also moves along Z although no
// load acts along Z. The factors printed are those of that final movement, not the Y factors
// that the load's direction gives at the start.
TEST(CapReductionFactors, PrintedFactorsAreThoseOfTheFinalMovement) {
  std::string t = testing::read_example("group2x2_sand_us.dat");
  t = testing::replace(t, "CONTROL RECORD\n1 3 0 0 0 0 0 0 ", "CONTROL RECORD\n1 3 0 0 0 0 0 2 ");
  for (int g = 0; g < 4; ++g)
    t = testing::replace(t, "0.0 0.0 1.0 1.0 1.0 1.0 1.0\n", "0.0 0.0 0.5 0.9 0.375 0.6 1.0\n");
  for (const char* yz : {"-2.25 -2.25", "2.25 -2.25", "-2.25 2.25", "2.25 2.25"}) {
    const std::string from = std::string("0.0 ") + yz + " 0.0 90.0";
    const std::string y = yz[0] == '-' ? "2.25" : "6.75";
    t = testing::replace(t, from, "0.0 " + y + std::string(yz).substr(std::string(yz).find(' ')) + " 0.0 90.0");
  }
  t = testing::replace(t, "400000.0 40000.0 0.0 0.0 0.0 0.0", "400000.0 40000.0 0.0 0.0 0.0 2.0E6");
  testing::WorkDir dir;
  ASSERT_EQ(testing::run_input(dir, t), 0);
  const Model& m = *current_model();
  const double dy = m.EMXCAP(8), dz = m.EMXCAP(9);
  const double c = dy / std::hypot(dy, dz), s = dz / std::hypot(dy, dz);
  EXPECT_GT(std::fabs(s), 0.5) << "the origin moves along Z too";
  const std::string out = dir.read("case.out");
  const auto at = out.find("     GROUP NO     P-FACTOR     Y-FACTOR");
  ASSERT_NE(at, std::string::npos);
  std::istringstream rows(out.substr(out.find('\n', at) + 1));
  for (int g = 1; g <= 4; ++g) {
    int n = 0;
    double p = 0.0, y = 0.0;
    ASSERT_TRUE(rows >> n >> p >> y);
    EXPECT_EQ(n, g);
    EXPECT_NEAR(p, std::hypot(0.5 * c, 0.375 * s), 1.5e-4);
    EXPECT_NEAR(y, std::hypot(0.9 * c, 0.6 * s), 1.5e-4);
  }
  EXPECT_NE(dir.read("case.sum").find("REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS"), std::string::npos);
}

}  // namespace
}  // namespace torva
