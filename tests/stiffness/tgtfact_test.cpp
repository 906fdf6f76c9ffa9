// Load factor of the next target-deflection analysis from the recorded history.
#include <gtest/gtest.h>

#include <vector>

#include "stiffness/tgtfact.h"

namespace torva {
namespace {

struct Case {
  const char* name;
  std::vector<std::pair<double, double>> hist;  // (displacement, factor), newest last
  double dtarg;
  double want;
};

TEST(Tgtfact, FactorFromHistory) {
  const Case cases[] = {
      {"empty history: zero load first", {}, 3.0, 0.0},
      {"one pair scales linearly", {{2.0, 1.0}}, 3.0, 1.5},
      {"one pair without movement: full level", {{5.0e-5, 0.7}}, 3.0, 1.0},
      {"newest pair sorted in, bracket around the target", {{0, 0}, {2, 1}, {1.5, 0.6}}, 1.8, 0.84},
      {"target below all: first two pairs", {{1, 0.5}, {2, 1}}, 0.5, 0.25},
      {"target above all: last two pairs", {{0, 0}, {1, 0.5}, {2, 1.5}}, 3.0, 2.5},
      {"target on a recorded displacement", {{0, 0}, {1, 0.5}, {2, 1.5}}, 1.0, 0.5},
  };
  auto m = new_model();
  for (const Case& c : cases) {
    m->NHIST = int(c.hist.size());
    for (int i = 1; i <= m->NHIST; ++i) {
      m->DHIST(i) = c.hist[std::size_t(i - 1)].first;
      m->FHIST(i) = c.hist[std::size_t(i - 1)].second;
    }
    m->DTARG = c.dtarg;
    m->FACNXT = -99.0;
    EXPECT_TRUE(TGTFACT(*m)) << c.name;
    EXPECT_NEAR(m->FACNXT, c.want, 1e-12) << c.name;
  }
}

TEST(Tgtfact, HistoryKeptInFactorOrder) {
  auto m = new_model();
  const double d[] = {0.0, 4.0, 1.0, 3.0}, f[] = {0.0, 1.0, 0.2, 0.7};
  m->NHIST = 0;
  for (int i = 0; i < 4; ++i) {
    ++m->NHIST;
    m->DHIST(m->NHIST) = d[i];
    m->FHIST(m->NHIST) = f[i];
    m->DTARG = 2.0;
    ASSERT_TRUE(TGTFACT(*m));
  }
  const double want_f[] = {0.0, 0.2, 0.7, 1.0}, want_d[] = {0.0, 1.0, 3.0, 4.0};
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(m->FHIST(i), want_f[i - 1]);
    EXPECT_EQ(m->DHIST(i), want_d[i - 1]);
  }
  EXPECT_NEAR(m->FACNXT, 0.2 + 1.0 * 0.5 / 2.0, 1e-12);
}

TEST(Tgtfact, UnresponsiveDisplacementGivesNoFactor) {
  auto m = new_model();
  m->NHIST = 2;
  m->DHIST(1) = 0.5, m->FHIST(1) = 0.0;
  m->DHIST(2) = 0.5, m->FHIST(2) = 1.0;
  m->DTARG = 1.0;
  m->FACNXT = 0.3;
  EXPECT_FALSE(TGTFACT(*m));
  EXPECT_EQ(m->FACNXT, 0.3);
}

}  // namespace
}  // namespace torva
