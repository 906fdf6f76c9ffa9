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

}  // namespace
}  // namespace torva
