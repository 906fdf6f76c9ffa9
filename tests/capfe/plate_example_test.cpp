// The bundled plate-cap example run as users run it: the 2 x 2 sand group with a 3 ft
// concrete cap as a plate, through the run's input data file and its plate model file.
// Its pile heads balance the load, share it as the rigid cap of the same foundation does,
// and are symmetric about the plane Z = 0 of the foundation and the load; its listing and
// results are held by golden files.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "driver/itorva.h"
#include "model/model.h"
#include "model/status.h"
#include "capfe/platefix.h"
#include "support/golden.h"
#include "support/workdir.h"

namespace torva {
namespace {

namespace fs = std::filesystem;
using testing::edited;
using testing::WorkDir;
using Head = std::array<double, 6>;

const fs::path kExample = fs::path(TORVA_SOURCE_DIR) / "examples" / "group2x2_plate_us.dat";
// The load of the example's case (and of its plate model file): 400 kips down, 40 kips
// along Y, in lb at the cap origin.
constexpr Head kLoad = {400000.0, 40000.0, 0.0, 0.0, 0.0, 0.0};

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream s(text);
  for (std::string l; std::getline(s, l);) out.push_back(l);
  return out;
}

// The rows of the listing's table titled `title`: the six values of each pile.
std::vector<Head> pile_table(const std::string& listing, const std::string& title) {
  const auto l = lines_of(listing);
  std::vector<Head> rows;
  for (std::size_t i = 0; i < l.size(); ++i) {
    if (l[i].find(title) == std::string::npos) continue;
    for (std::size_t k = i + 3; k < l.size() && !l[k].empty(); ++k) {
      std::istringstream s(l[k]);
      int pile = 0;
      Head h{};
      s >> pile;
      for (double& v : h) s >> v;
      EXPECT_EQ(pile, int(rows.size()) + 1) << l[k];
      rows.push_back(h);
    }
  }
  return rows;
}

struct ExampleRun {
  WorkDir dir;
  int status = -1;
  std::string listing, results;
  std::vector<Head> disp, force;
  std::vector<std::array<double, 2>> yz;  // head positions of the rows
  // `stiff`: the cap's modulus a thousand times the concrete's, so that it acts as a rigid cap.
  explicit ExampleRun(bool stiff = false) {
    dir.copy_input(kExample);
    if (stiff) {
      std::string fem = dir.read("case.fem");
      const std::string mat = "\n1 3.6E6 0.2 36.0\n";
      const std::size_t at = fem.find(mat);
      EXPECT_NE(at, std::string::npos);
      if (at != std::string::npos) fem.replace(at, mat.size(), "\n1 3.6E9 0.2 36.0\n");
      dir.write("case.fem", fem);
    }
    dir.write_names();
    dir.write("case.mph", "");
    status = run_itorva(3);
    listing = dir.read("case.fel");
    results = dir.read("case.fer");
    disp = pile_table(listing, "PILE HEAD DISPLACEMENTS");
    force = pile_table(listing, "PILE HEAD FORCES ON THE CAP");
    const Model& m = *current_model();
    for (int g = 1; g <= m.NROW; ++g) yz.push_back({m.CORY(g), m.CORZ(g)});
  }
};

TEST(PlateExample, PileHeadsBalanceTheLoadAndAreSymmetric) {
  ExampleRun r;
  ASSERT_EQ(r.status, 0) << r.dir.read("case.log");
  ASSERT_EQ(r.force.size(), 4u);
  ASSERT_EQ(r.disp.size(), 4u);
  ASSERT_EQ(r.yz.size(), 4u);
  // Equilibrium at the cap origin: the load and the forces of the piles on the cap.
  Head sum = kLoad;
  for (std::size_t p = 0; p < 4; ++p) {
    const Head& f = r.force[p];
    const double y = r.yz[p][0], z = r.yz[p][1];
    for (int i = 0; i < 6; ++i) sum[std::size_t(i)] += f[std::size_t(i)];
    sum[3] += y * f[2] - z * f[1];
    sum[4] += z * f[0];
    sum[5] += -y * f[0];
  }
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(sum[std::size_t(i)], 0.0, 1e-4 * kLoad[0]) << "force " << i + 1;
  for (int i = 3; i < 6; ++i) EXPECT_NEAR(sum[std::size_t(i)], 0.0, 1e-4 * kLoad[0] * 27.0) << "moment " << i - 2;
  // The load along Y tilts the cap about Z: the heads at Y = +27 in settle more than those
  // at Y = -27 in, alike on both sides of Z = 0. Mirrored about Z = 0 (rows 1 and 3, 2 and
  // 4), X, Y and the rotation about Z stay, Z and the rotations about X and Y change sign.
  const double mirror[6] = {1, 1, -1, -1, -1, 1};
  for (auto [a, b] : {std::pair{0, 2}, std::pair{1, 3}}) {
    ASSERT_EQ(r.yz[std::size_t(a)][0], r.yz[std::size_t(b)][0]);
    ASSERT_EQ(r.yz[std::size_t(a)][1], -r.yz[std::size_t(b)][1]);
    for (int i = 0; i < 6; ++i) {
      const double da = r.disp[std::size_t(a)][std::size_t(i)], db = r.disp[std::size_t(b)][std::size_t(i)];
      const double fa = r.force[std::size_t(a)][std::size_t(i)], fb = r.force[std::size_t(b)][std::size_t(i)];
      EXPECT_NEAR(db, mirror[i] * da, 1e-5 * std::abs(da) + 1e-12) << "rows " << a + 1 << ", " << b + 1;
      EXPECT_NEAR(fb, mirror[i] * fa, 1e-5 * std::abs(fa) + 1e-6) << "rows " << a + 1 << ", " << b + 1;
    }
  }
  EXPECT_LT(r.yz[0][0], 0.0);
  EXPECT_GT(r.disp[1][0], 1.2 * r.disp[0][0]);  // Y = +27 in settles more
  for (std::size_t p = 0; p < 4; ++p) EXPECT_LT(std::abs(r.disp[p][2]), 1e-3 * r.disp[p][1]) << "Z moves " << p + 1;
  // The analysis completed, and its factors (given by the rows) need no warning.
  EXPECT_NE(r.dir.read("case.cas").find("\n    1 ANALYSIS COMPLETED\n"), std::string::npos);
  EXPECT_EQ(r.dir.read("case.log").find("REDUCTION FACTORS"), std::string::npos);
}

// The same foundation with a rigid cap: each pile head of a stiff plate carries the same
// forces within 2 %.
TEST(PlateExample, StiffPlateGivesTheRigidCapsPileForces) {
  std::vector<Head> plate;
  {
    ExampleRun r(true);
    ASSERT_EQ(r.status, 0);
    plate = r.force;
  }
  ASSERT_EQ(plate.size(), 4u);
  std::ifstream in(kExample, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  std::string input = text.str();
  for (const auto& [from, to] : {std::pair<std::string, std::string>{"\n1 3 0 1 0", "\n1 3 0 0 0"},
                                 std::pair<std::string, std::string>{"\n0.0 0.0 4 4 3.6E6 0.2\n", "\n"}}) {
    const std::size_t at = input.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    input.replace(at, from.size(), to);
  }
  WorkDir dir;
  dir.write("case.dat", input);
  dir.write_names();
  dir.write("case.mph", "");
  ASSERT_EQ(run_itorva(3), 0) << dir.read("case.log");
  const Model& m = *current_model();
  ASSERT_EQ(m.IFEOPT, 0);
  ASSERT_EQ(m.NROW, 4);
  double fmax = 0.0, mmax = 0.0;
  std::vector<Head> rigid;
  for (int g = 1; g <= 4; ++g) {
    // The row's force at the cap origin, back to its head.
    Head h;
    for (int i = 0; i < 6; ++i) h[std::size_t(i)] = m.ROWF[std::size_t(g)][std::size_t(i)];
    const double y = m.CORY(g), z = m.CORZ(g);
    h[3] -= y * h[2] - z * h[1];
    h[4] -= z * h[0];
    h[5] -= -y * h[0];
    for (int i = 0; i < 3; ++i) fmax = std::max(fmax, std::abs(h[std::size_t(i)]));
    for (int i = 3; i < 6; ++i) mmax = std::max(mmax, std::abs(h[std::size_t(i)]));
    rigid.push_back(h);
  }
  for (std::size_t p = 0; p < 4; ++p)
    for (std::size_t i = 0; i < 6; ++i) {
      const double want = rigid[p][i], scale = i < 3 ? fmax : mmax;
      // Each value within 2 % of itself; the small ones (below 5 % of the largest of their
      // kind) within 0.2 % of the largest.
      const double tol = std::max(0.02 * std::abs(want), 0.002 * scale);
      EXPECT_NEAR(plate[p][i], want, tol) << "row " << p + 1 << " component " << i + 1;
    }
}

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// The analysis driver hands a load case and a load combination alike to the plate model
// when the input asks for it: the plate program runs once for each (option 1), or the cap
// model files are written instead (option 2); the rigid cap's tables are never printed.
TEST(PlateExample, DriverRoutesACaseAndACombinationToThePlateModel) {
  std::ifstream in(kExample, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const std::string comb = "LOAD COMBINATIONS\n1 0 0 0 0\n0 0 0 1 1 100 500\n1.0E-4 1.0E-6 0.25 0.01\n"
                           "COMBINATION OF THE CASE\n1.0 1.0 2\n2 1 0 0.0 0.0 0 0 0\n0\n"
                           "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1\n1 1.2\n";
  for (const int option : {1, 2}) {
    SCOPED_TRACE(option);
    std::string input = text.str();
    for (const auto& [from, to] :
         {std::pair<std::string, std::string>{"\n1 3 0 1 0", "\n1 3 0 " + std::to_string(option) + " 0"},
          std::pair<std::string, std::string>{"LOAD COMBINATIONS\n0 0 0 0 0\n", comb}}) {
      const std::size_t at = input.find(from);
      ASSERT_NE(at, std::string::npos) << from;
      input.replace(at, from.size(), to);
    }
    WorkDir dir;
    dir.copy_input(kExample);
    dir.write("case.dat", input);
    dir.write_names();
    dir.write("case.mph", "");
    ASSERT_EQ(run_itorva(3), 0) << dir.read("case.log");
    EXPECT_EQ(current_model()->NCOMB, 1);
    const std::string out = dir.read("case.out"), log = dir.read("case.log");
    EXPECT_EQ(count(log, "CASE NAME : DEAD LOAD 400 KIPS"), 1);
    EXPECT_EQ(count(log, "COMB. NAME : COMBINATION OF THE CASE"), 1);
    EXPECT_EQ(count(out, "* TABLE L *"), 0);
    EXPECT_EQ(count(out, "* TABLE M *"), 0);
    if (option == 1) {
      // Headings and a plate run (its trace starts at step 1) for the case and the combination.
      EXPECT_EQ(count(out, "* TABLE I *   COMPUTATION ON INDIVIDUAL PILE"), 2);
      EXPECT_EQ(count(dir.read("tslab.ftr"), "STEP     1   TCUR"), 2);
      EXPECT_FALSE(dir.exists("case.fmd"));
    } else {
      EXPECT_EQ(count(out, "* TABLE I *"), 0);
      EXPECT_TRUE(dir.exists("case.fmd"));
      EXPECT_TRUE(dir.exists("case.fkw"));
      EXPECT_FALSE(dir.exists("case.fel"));
    }
  }
}

std::string file_text(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct ModelCase {
  const char* what;
  std::vector<std::pair<std::string, std::string>> fem, dat;  // edits of the example's files
  int status;
  std::vector<std::string> says;  // lines of the run log (its end for a refused model)
};

// The plate model as the cap of the run: its pile records are the input's pile rows, one
// each, in row order, at the row's head (x = the row's Z, y = its Y, within a thousandth
// of the plate's size); a refusal names the file, the line, the record and the row, and
// the end of the run log says what failed, as does a model that cannot be solved.
TEST(PlateExample, PlateModelsThatDoNotFitTheRunAreRefusedByName) {
  const std::string kRecords = "-27.0 -27.0\n-27.0 27.0\n27.0 -27.0\n27.0 27.0\n";
  const std::string kCounts = "\n65 16 1 8 2 0 0 0 0 0 1 0 0 0 4 1\n";
  const std::string kRefused = "     **** INVALID INPUT ****\n     PLATE MODEL FILE: case.fem\n";
  const ModelCase cases[] = {
      {"three records for four rows",
       {{kCounts, "\n65 16 1 8 2 0 0 0 0 0 1 0 0 0 3 1\n"}, {"27.0 27.0\n", ""}},
       {},
       ST_FEMODEL,
       {kRefused + "     LINE 2, SECTION: PLATE MODEL\n     FIELD NCTSTI: FOUND 3, ALLOWED 4: ONE PILE RECORD PER PILE "
                   "ROW OF THE INPUT (4 ROWS)\n",
        "    PLATE MODEL FILE case.fem, LINE 2, FIELD NCTSTI: FOUND 3, ALLOWED 4: ONE PILE RECORD PER PILE ROW OF THE "
        "INPUT (4 ROWS)\n"}},
      {"pile switch off", {{kCounts, "\n65 16 1 8 2 0 0 0 0 0 1 0 0 0 4 0\n"}}, {}, ST_FEMODEL,
       {"     FIELD ISPRING: FOUND 0, ALLOWED 1: THE PILE ROWS OF THE INPUT CARRY THE CAP AS SPRINGS\n"}},
      {"a record duplicated",
       {{kRecords, "-27.0 -27.0\n-27.0 27.0\n-27.0 27.0\n27.0 27.0\n"}},
       {},
       ST_FEMODEL,
       {kRefused + "     LINE 89, SECTION: PLATE MODEL\n     FIELD X, Y OF PILE RECORD 3: FOUND -27, 27, 76.3675 FROM THE "
                   "HEAD OF PILE ROW 3, ALLOWED THE HEAD OF PILE ROW 3 (X = ITS Z = 27, Y = ITS Y = -27) WITHIN 0.108: "
                   "PILE RECORD I IS PILE ROW I, IN ROW ORDER\n"}},
      {"records out of row order", {{kRecords, "-27.0 27.0\n-27.0 -27.0\n27.0 -27.0\n27.0 27.0\n"}}, {}, ST_FEMODEL,
       {"     LINE 87, SECTION: PLATE MODEL\n     FIELD X, Y OF PILE RECORD 1:",
        "     LINE 88, SECTION: PLATE MODEL\n     FIELD X, Y OF PILE RECORD 2:"}},
      {"a record where no row is",
       {{kRecords, "-27.0 -27.0\n-27.0 27.0\n27.0 -27.0\n27.0 27.2\n"}},
       {},
       ST_FEMODEL,
       {"     FIELD X, Y OF PILE RECORD 4: FOUND 27, 27.2, 0.2 FROM THE HEAD OF PILE ROW 4, ALLOWED THE HEAD OF PILE "
        "ROW 4 (X = ITS Z = 27, Y = ITS Y = 27) WITHIN 0.108:"}},
      {"a record within the tolerance of its row",
       {{kRecords, "-27.0 -27.0\n-27.0 27.0\n27.0 -27.0\n27.0 27.1\n"}},
       {},
       0,
       {"    1 ANALYSIS COMPLETED"}},
      {"an element turned clockwise",
       {{"\n1 1 1 1 3 17 15 2 11 16 10\n", "\n1 1 1 1 15 17 3 10 16 11 2\n"}},
       {},
       ST_FESOLVE,
       {" **** FATAL ERROR **** PLATE MODEL OF THE CAP CANNOT BE SOLVED: ELEMENT 1 HAS A ZERO OR NEGATIVE AREA: ITS "
        "CORNERS MUST RUN COUNTER-CLOCKWISE\n",
        "    PLATE MODEL OF THE CAP CANNOT BE SOLVED\n     ELEMENT 1 HAS A ZERO OR NEGATIVE AREA: ITS CORNERS MUST RUN "
        "COUNTER-CLOCKWISE\n"}},
  };
  const std::string fem = file_text(fs::path(kExample).replace_extension(".fem")), dat = file_text(kExample);
  for (const ModelCase& c : cases) {
    SCOPED_TRACE(c.what);
    WorkDir dir;
    dir.write("case.dat", edited(dat, c.dat));
    dir.write("case.fem", edited(fem, c.fem));
    dir.write_names();
    dir.write("case.mph", "");
    EXPECT_EQ(run_itorva(3), c.status);
    const std::string log = dir.read("case.log"), out = c.status == 0 ? dir.read("case.cas") : log;
    for (const std::string& s : c.says) EXPECT_NE(out.find(s), std::string::npos) << s << "\n----\n" << out;
    if (c.status == ST_FEMODEL) {
      EXPECT_NE(dir.read("case.out").find(c.says[0]), std::string::npos);
    }
  }
}

// With reduction factors from the load direction the rigid cap estimates them anew from
// its movement, while the plate's piles keep those the input echo took from load case 1:
// the run log and the results report say so.
TEST(PlateExample, ReductionFactorsFromTheLoadDirectionAreSaidToStayThoseOfTheFirstCase) {
  WorkDir dir;
  dir.copy_input(kExample);
  dir.write("case.dat", edited(file_text(kExample), {{"\n1 3 0 1 0 0 0 0 0", "\n1 3 0 1 0 0 0 1 0"}}));
  dir.write_names();
  dir.write("case.mph", "");
  ASSERT_EQ(run_itorva(3), 0) << dir.read("case.log");
  ASSERT_EQ(current_model()->IREDFAC, 1);
  const std::string says =
      "     ** WARNING **  PLATE MODEL OF THE CAP: THE REDUCTION FACTORS FOR CLOSELY-SPACED PILES\n"
      "                    ARE THOSE ESTIMATED FROM THE LOAD DIRECTION OF LOAD CASE 1;\n"
      "                    THEY DO NOT FOLLOW THE MOVEMENT OF THE CAP\n";
  EXPECT_NE(dir.read("case.log").find(says), std::string::npos) << dir.read("case.log");
  EXPECT_NE(dir.read("case.out").find(says), std::string::npos);
}

// The listing (input echo, displacements, reactions and stresses of every step, the pile
// heads) and the results file of the plate program, held by golden files.
TEST(PlateExample, Golden) {
  ExampleRun r;
  ASSERT_EQ(r.status, 0);
  const fs::path gold = fs::path(TORVA_SOURCE_DIR) / "tests" / "golden" / "group2x2_plate_us";
  testing::check_golden_lines(gold / "listing.txt", testing::mask_roundoff(lines_of(r.listing)));
  testing::check_golden_lines(gold / "results.txt", testing::mask_roundoff(lines_of(r.results)));
}

}  // namespace
}  // namespace torva
