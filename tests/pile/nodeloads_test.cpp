// Distributed loads at the nodes and secant springs of user p-y curves.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "model/messages.h"
#include "pile/dload.h"
#include "pile/pysecant.h"
#include "pile_fixture.h"

namespace torva {
namespace {

class NodeLoads : public ::testing::Test {
 protected:
  void SetUp() override {
    m = new_model();
    testing::set_controls(*m);
    testing::PileDef p;
    p.L = 10.0;  // h = 0.1: the accumulated node coordinates carry rounding errors
    p.nseg = 100;
    testing::set_pile(*m, 1, 1, p);
    m->PYSETG(1) = 1;
    int st = 0;
    NODE(*m, 1, st);
    ASSERT_EQ(st, 0);
  }
  std::unique_ptr<Model> m;
};

// The table of the pile's own nodes returns each node's value, the tip included, though
// the node coordinate is a sum and the table position a product.
TEST_F(NodeLoads, DistributedLoadOnTheNodes) {
  const int n = 100;
  m->DLNODES(1) = n + 1;
  for (int i = 1; i <= n + 1; ++i) {
    m->DLPOS(1, i) = (i - 1) * 0.1;
    m->DLWY(1, i) = i;
    m->DLWZ(1, i) = -2.0 * i;
  }
  ASSERT_NE(m->DEPAX(1, n + 1), m->DLPOS(1, n + 1)) << "the fixture must show the rounding";
  NodeVec qy, qz;
  DLOADY(*m, 1, 1, qy);
  DLOADZ(*m, 1, 1, qz);
  for (int k = 1; k <= n + 1; ++k) {
    EXPECT_NEAR(qy(k), k, 1e-9) << k;
    EXPECT_NEAR(qz(k), -2.0 * k, 1e-9) << k;
  }
  // A shorter table: nodes outside it get 0; coincident positions give the mean.
  m->DLNODES(1) = 3;
  m->DLPOS(1, 1) = 1.0;
  m->DLPOS(1, 2) = 2.0;
  m->DLPOS(1, 3) = 2.0 + 1e-7;
  m->DLWY(1, 1) = 10.0;
  m->DLWY(1, 2) = 20.0;
  m->DLWY(1, 3) = 40.0;
  DLOADY(*m, 1, 1, qy);
  EXPECT_EQ(qy(1), 0.0);
  EXPECT_NEAR(qy(16), 15.0, 1e-9);  // halfway, x = 1.5
  EXPECT_EQ(qy(31), 0.0);
}

struct SecantCase {
  const char* name;
  double x;  // node coordinate below X = 0
  double y;  // deflection
  double es; // expected secant modulus
};

// A set of two curves at depths 2 and 4: p = 100 y up to y = 1, then constant (curve 1);
// p = 300 y up to y = 1, then constant (curve 2).
class PySecant : public NodeLoads, public ::testing::WithParamInterface<SecantCase> {};

TEST_P(PySecant, ModulusByDepthAndDeflection) {
  const SecantCase& c = GetParam();
  m->PYSETG(1) = 1;
  m->NCRVPY(1) = 2;
  for (int cc = 1; cc <= 2; ++cc) {
    m->PYDEP(1, cc) = 2.0 * cc;
    m->NPTPY(1, cc) = 3;
    m->PYY(1, cc, 2) = 1.0;
    m->PYY(1, cc, 3) = 10.0;
    m->PYP(1, cc, 2) = m->PYP(1, cc, 3) = cc == 1 ? 100.0 : 300.0;
  }
  m->HEADDEP(1) = c.x;  // entry 4 lies at the head
  NodeVec y, Es, s1, s2, F, p;
  y.fill(0.0);
  y(4) = c.y;
  PYSECANT(*m, 1, y, Es, s1, s2, F, p);
  EXPECT_NEAR(Es(4), c.es, 1e-9 * std::max(1.0, c.es));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PySecant,
    ::testing::Values(SecantCase{"above_ground", -0.5, 0.5, 0.0},
                      SecantCase{"on_curve_1", 2.0, 0.5, 100.0},
                      SecantCase{"halfway", 3.0, 0.5, 200.0},
                      SecantCase{"above_first_curve_extrapolates", 1.0, 0.5, 0.0},
                      SecantCase{"zero_deflection_initial_secant", 4.0, 0.0, 300.0},
                      SecantCase{"beyond_last_point", 4.0, 20.0, 300.0 / 20.0}),
    [](const auto& pi) { return std::string(pi.param.name); });

// Curves that end above the tip: the message and state 1. A set of one curve applies it
// at every depth instead of failing every load step.
TEST_F(NodeLoads, UserCurvesShortOfTheTipAndSingleCurve) {
  m->PYSETG(1) = 1;
  testing::set_linear_py(*m, 1, {{0.0, 50.0}, {5.0, 50.0}});
  NodeVec y, Es, s1, s2, F, p;
  y.fill(0.0);
  RowCapture cap;
  {
    CaptureScope scope(cap);
    PYSECANT(*m, 1, y, Es, s1, s2, F, p);
  }
  EXPECT_EQ(cap.istate, 1);
  ASSERT_EQ(cap.lines.size(), 3u);
  EXPECT_EQ(cap.lines[2].second, "  -  P-Y CURVES DO NOT EXTEND THE LENGTH OF THE PILE");

  testing::set_linear_py(*m, 1, {{3.0, 50.0}});
  m->PMULT(1) = 0.5;
  m->YMULT(1) = 0.0;  // no y-multiplier: counts as 1 instead of dividing by zero
  y(104) = 0.2;
  PYSECANT(*m, 1, y, Es, s1, s2, F, p);
  EXPECT_EQ(m->ISTATE, 0);
  for (int mm = 4; mm <= 104; ++mm) EXPECT_DOUBLE_EQ(Es(mm), 25.0) << mm;
  EXPECT_DOUBLE_EQ(p(104), -0.5 * 50.0 * 0.2) << "the reaction opposes the deflection";
}

// User curves whose last curve lies at the pile tip, with factors along depth ending there
// too. The tip's distance from the head, n x (L / n), lands one rounding step past L for
// these lengths (37, 74 and 148 ft in inches; 7.0, 13.1, 29.6 and 31.9 m); 40 ft and 10 m
// land on it. The tip node still takes the last curve alone and the last point's factors.
// Curve 1 at the head p = 100 y, curve 2 at the tip p = 300 y (to y = 10); the factor set
// goes from pf = yf = 1 at the head to pf = 0.5, yf = 2 at the tip.
TEST_F(NodeLoads, CurvesAndFactorsEndingAtTheTipReachTheTipNode) {
  const struct {
    double L;  // internal units: inches for US input, metres for SI
    const char* as_written;
  } cases[] = {{37.0 * 12.0, "37 ft"},  {74.0 * 12.0, "74 ft"}, {148.0 * 12.0, "148 ft"},
               {40.0 * 12.0, "40 ft"},  {7.0, "7.0 m"},        {13.1, "13.1 m"},
               {29.6, "29.6 m"},        {31.9, "31.9 m"},      {10.0, "10.0 m"}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.as_written);
    testing::PileDef pd;
    pd.L = k.L;
    pd.nseg = 100;
    testing::set_pile(*m, 1, 1, pd);
    m->ISTATE = 0;
    m->NCRVPY(1) = 2;
    for (int cc = 1; cc <= 2; ++cc) {
      m->PYDEP(1, cc) = cc == 1 ? 0.0 : k.L;
      m->NPTPY(1, cc) = 2;
      m->PYY(1, cc, 2) = 10.0;
      m->PYP(1, cc, 2) = cc == 1 ? 1000.0 : 3000.0;
    }
    m->IPYMOD = 1;
    m->PMODTAB(1) = 1;
    m->NPTMOD(1) = 2;
    m->PMDEP(1, 1) = 0.0;
    m->PMDEP(1, 2) = k.L;
    m->PMPF(1, 1) = m->PMYF(1, 1) = 1.0;
    m->PMPF(1, 2) = 0.5;
    m->PMYF(1, 2) = 2.0;
    // Two curves, then the tip curve alone (so that the factors show on their own).
    for (const int ncurves : {2, 1}) {
      SCOPED_TRACE(ncurves == 2 ? "two curves" : "one curve");
      m->NCRVPY(1) = ncurves;
      if (ncurves == 1) m->PYP(1, 1, 2) = 3000.0;
      NodeVec y, Es, s1, s2, F, p;
      y.fill(0.5);
      Es.fill(0.0);
      p.fill(0.0);
      s1.fill(0.0);
      s2.fill(0.0);
      RowCapture cap;
      {
        CaptureScope scope(cap);
        PYSECANT(*m, 1, y, Es, s1, s2, F, p);
      }
      EXPECT_EQ(cap.istate, 0);
      EXPECT_TRUE(cap.lines.empty());
      const int tip = 104;
      EXPECT_NEAR(Es(tip), 300.0 * 0.5 / 2.0, 1e-9);
      EXPECT_NEAR(p(tip), -150.0 * 0.5, 1e-9);
      EXPECT_NEAR(Es(4), ncurves == 2 ? 100.0 : 300.0, 1e-9);
    }
  }
}

}  // namespace
}  // namespace torva
