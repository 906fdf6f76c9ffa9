// The 2-D cap analysis end to end on the wharf-bent example: equilibrium of the cap at
// its origin, a symmetric bent under a vertical load, and the reports of an analysis.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "cap/anal2d.h"
#include "cap/fvec2d.h"
#include "run/loads.h"
#include "run/platform.h"
#include "run/runctl.h"
#include "support/workdir.h"

namespace torva {
namespace {

std::string example(const char* name) {
  std::ifstream in(std::filesystem::path(TORVA_SOURCE_DIR) / "examples" / name, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// A run read, converted and echoed, ready for its analyses (files open).
struct Bent {
  testing::WorkDir dir;
  std::unique_ptr<Model> m = new_model();
  int status = 0;
  explicit Bent(const std::string& text) {
    dir.write("case.dat", text);
    dir.write_names();
    OPENFILES(*m, status);
    if (status == 0) READINPUT(*m, status);
    m->NTHMAX = platform::max_threads();
    m->NTHUSE = m->NTHRUN = 1;
    if (status == 0) CONVINPUT(*m);
    if (status == 0) ECHOINPUT(*m, status);
    m->IPYOUT = 0;
    m->IOPASS = 0;
  }
  // Load case c analysed; returns the load and the displacement of the cap at the
  // origin (the first result after a reset is the envelope itself).
  void analyse(int c, Vec3& FV, Vec3& DV) {
    m->ICASE = c;
    m->ICOMB = 0;
    SETCURCASE(*m, c);
    Vec6 L;
    LOADORIG(*m, c, L);
    CASELOAD(*m, c);
    DLOADORIG(*m, L);
    Vec3 loads, zero, last1, last2;
    loads(1) = L(1);
    loads(2) = L(2);
    loads(3) = L(6);
    zero.fill(0.0);
    Arr1<double, 3> pt{};
    pt.fill(0.0);
    Flags3 fl;
    fl.fill(1);
    m->NRESLT = 1;
    int ipy = 0;
    ANAL2D(*m, 0, ipy, status, last1, last2, loads, zero, zero, pt, fl);
    for (int i = 1; i <= 3; ++i) {
      FV(i) = m->EMNCAP(i);
      DV(i) = m->EMNCAP(6 + i);
    }
  }
  std::string close_and_read(const std::string& name) {
    FINISH(*m, status);
    return dir.read(name);
  }
};

// The example with a pile closure tolerance of 1e-9 in. With its own 1e-6 in the pile
// shapes close only to about 1e-6 in, the pile-row sum jumps by that much times the
// foundation stiffness where the number of pile iterations changes, and the cap (which
// moves only about 2e-3 in under a quarter of the load) cannot meet TOLCAP = 1e-4.
std::string bent_text() {
  std::string text = example("bent_2d_stiff_clay_us.dat");
  const std::string tol = "1.0E-4 1.0E-6 0.25 0.01";
  const auto at = text.find(tol);
  if (at != std::string::npos) text.replace(at, tol.size(), "1.0E-4 1.0E-9 0.25 0.01");
  return text;
}

// The converged cap displacement balances the load: the pile-row sum at the final
// displacement equals the applied load within the cap tolerance.
TEST(Anal2d, EquilibriumAtTheCapOrigin) {
  Bent b(bent_text());
  ASSERT_EQ(b.status, 0);
  Vec3 FV, DV;
  b.analyse(1, FV, DV);
  ASSERT_EQ(b.status, 0);
  EXPECT_EQ(FV(1), 240000.0);
  EXPECT_EQ(FV(2), 36000.0);
  EXPECT_GT(DV(1), 0.0) << "the deck load pushes the cap down";
  EXPECT_GT(DV(2), 0.0) << "the mooring pull moves it along +Y";
  b.m->IOPASS = 0;
  Vec3 R;
  int st = 0;
  FVEC2D(*b.m, R, DV, st);
  ASSERT_EQ(st, 0);
  EXPECT_NEAR(R(1), FV(1), 1e-3 * FV(1));
  EXPECT_NEAR(R(2), FV(2), 1e-3 * FV(1));
  EXPECT_NEAR(R(3), FV(3), 1e-3 * FV(1) * 12.0);
  const std::string cases = b.close_and_read("case.cas");
  EXPECT_NE(cases.find("    1 ANALYSIS COMPLETED"), std::string::npos) << cases;
}

// The bent is symmetric about its middle row: under a vertical load alone the cap only
// settles, without sway or rotation, and the outer rows carry equal axial forces.
TEST(Anal2d, SymmetricBentUnderVerticalLoad) {
  std::string text = bent_text();
  const std::string pull = "240000.0 36000.0 0.0";
  ASSERT_NE(text.find(pull), std::string::npos);
  text.replace(text.find(pull), pull.size(), "240000.0 0.0 0.0");
  Bent b(text);
  ASSERT_EQ(b.status, 0);
  Vec3 FV, DV;
  b.analyse(1, FV, DV);
  ASSERT_EQ(b.status, 0);
  EXPECT_GT(DV(1), 0.0);
  EXPECT_NEAR(DV(2), 0.0, 1e-6 * DV(1));
  EXPECT_NEAR(DV(3), 0.0, 1e-6 * DV(1) / 12.0);
  EXPECT_NEAR(b.m->PRTOP(1, 17), b.m->PRTOP(3, 17), 1e-6 * b.m->PRTOP(1, 17));
  EXPECT_NEAR(b.m->PRTOP(1, 18), -b.m->PRTOP(3, 18), 1e-6 * b.m->PRTOP(1, 17));
  // The axial forces of the piles balance the load: two piles per row.
  double sum = 0.0;
  for (int g = 1; g <= 3; ++g) sum += 2.0 * b.m->PRTOP(g, 4);
  EXPECT_NEAR(sum, 240000.0, 1e-3 * 240000.0);
}

}  // namespace
}  // namespace torva
