// Properties every criterion keeps over a grid of depths and deflections: no reaction at
// zero deflection, never NaN, a non-negative modulus, no decrease where the criterion's
// curve does not soften, and the ultimate resistance never exceeded; and the same values
// whether the rows are evaluated serially or from parallel threads.
#include <gtest/gtest.h>

#include <omp.h>

#include <vector>

#include "pyfixture.h"

namespace torva {
namespace {

using pytest::PyModel;
using pytest::SoilPt;

PyModel one_layer(int code, int istatic) {
  PyModel pm(12, 288.0, 24.0);
  SoilPt s;
  s.c = 10.0;
  s.phi_deg = 30.0;
  s.gam = 0.04;
  s.k = 200.0;
  s.e50 = 0.01;
  s.j = code == 9 ? 50.0 : 0.5;
  s.er = 1e5;
  pm.layer(0.0, 400.0, code, s);
  pm.m.ISTATIC = istatic;
  pm.m.CYCLES = 50.0;
  return pm;
}

// An upper bound of p at a node at depth x for the criteria with a closed-form limit.
double limit(int code, double x) {
  const double c = 10.0, D = 24.0;
  switch (code) {
    case 1: case 3: case 10: case 13: case 14: return 9 * c * D;
    case 2: return 11 * c * D;
    case 12: return c * D;
    case 9: return 10.4 * (c / 2) * D;
    case 8: return 3.0 * 28.75 * 1.001 * D * 0.04 * x;  // A up to 3 times C3 D g x at 30 deg
    default: return 1e300;
  }
}

TEST(PyProperties, EveryCriterionOverDepthsAndDeflections) {
  const int codes[] = {1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14};
  for (int code : codes) {
    for (int istatic : {1, 0}) {
      const bool softens = code == 2 || code == 6 || code == 7 || (istatic == 0 && (code == 1 || code == 13 || code == 14));
      PyModel pm = one_layer(code, istatic);
      std::vector<std::vector<double>> pv;
      pm.eval(0.0);
      ASSERT_EQ(pm.status, 0) << code;
      for (int n = 1; n <= 13; ++n) {
        EXPECT_EQ(pm.p(n), 0.0) << code << " node " << n;
        EXPECT_TRUE(std::isfinite(pm.Es(n))) << code;
      }
      for (double y = 1e-6; y < 20.0; y *= 1.7) {
        pm.eval(y);
        ASSERT_EQ(pm.status, 0);
        std::vector<double> row;
        for (int n = 2; n <= 13; ++n) {
          const double r = -pm.p(n);
          ASSERT_TRUE(std::isfinite(r) && std::isfinite(pm.Es(n))) << code << " y " << y;
          EXPECT_GE(r, 0.0) << code;
          EXPECT_GE(pm.Es(n), 0.0) << code;
          EXPECT_LE(r, limit(code, pm.m.DEPN(1, n))) << code << " y " << y << " node " << n;
          row.push_back(r);
        }
        if (!softens && !pv.empty()) {
          for (std::size_t i = 0; i < row.size(); ++i) {
            EXPECT_GE(row[i], pv.back()[i] * (1 - 1e-12)) << code << " " << istatic << " y " << y;
          }
        }
        pv.push_back(row);
      }
    }
  }
}

TEST(PyProperties, ParallelRowsGiveTheSerialValues) {
  const int nrow = 64;
  PyModel pm(12, 288.0, 24.0);
  Model& m = pm.m;
  SoilPt a, b;
  a.c = 5.0;
  a.gam = 0.03;
  a.e50 = 0.01;
  b.phi_deg = 33.0;
  b.gam = 0.04;
  b.k = 150.0;
  pm.layer(-200.0, 100.0, 1, a);
  pm.layer(100.0, 500.0, 4, b);
  m.NROW = nrow;
  for (int g = 2; g <= nrow; ++g) {
    m.PTYPE(g) = 1;
    m.FREELEN(g) = -(g % 7) * 10.0;
    m.HEADDEP(g) = 0.0;
    for (int n = 1; n <= 13; ++n) m.DEPN(g, n) = m.DEPAX(g, n) = m.DEPN(1, n);
    for (int L = 1; L <= 2; ++L) {
      m.NODE1(g, L) = m.NODE1(1, L);
      m.NODE2(g, L) = m.NODE2(1, L);
    }
  }
  auto run = [&](std::vector<NodeArr>& es, bool parallel) {
    for (int g = 1; g <= nrow; ++g)
      for (int L = 1; L <= 2; ++L) m.EQDEPTH(g, L) = 0.0;
    std::vector<int> st(nrow + 1, 0);
#pragma omp parallel for schedule(static) if (parallel)
    for (int g = 1; g <= nrow; ++g) {
      NodeArr y{}, Es{}, smy{}, smz{}, psm{}, p{};
      for (int n = 1; n <= 13; ++n) y(n) = 0.01 * n * (1 + g % 3);
      PYCURVE(m, 1, st[g], g, g, y, Es, smy, smz, psm, p);
      es[g] = Es;
    }
    for (int g = 1; g <= nrow; ++g) EXPECT_EQ(st[g], 0);
  };
  std::vector<NodeArr> serial(nrow + 1), par(nrow + 1);
  run(serial, false);
  run(par, true);
  for (int g = 1; g <= nrow; ++g)
    for (int n = 1; n <= 13; ++n) EXPECT_EQ(serial[g](n), par[g](n)) << g << " " << n;
}

}  // namespace
}  // namespace torva

namespace torva {
namespace {

// The cap pseudo row (no pile property) takes the cap width in every criterion, the
// coefficient tables of stiff clay with free water and of sand included.
TEST(PyProperties, CapPseudoRowUsesTheCapWidth) {
  for (int code : {2, 4, 7, 12}) {
    PyModel pm(4, 96.0, 24.0);
    Model& m = pm.m;
    SoilPt s;
    s.c = 10.0;
    s.phi_deg = 30.0;
    s.gam = 0.04;
    s.k = 200.0;
    s.e50 = 0.01;
    pm.layer(0.0, 400.0, code, s);
    const int g = 2;  // NROW + 1
    m.CAPWEFF = 120.0;  // the effective cap width
    m.ICAPPY = 1;
    m.NCAPINC = 4;
    m.HEADDEP(g) = 0.0;
    m.FREELEN(g) = 0.0;
    for (int n = 1; n <= 5; ++n) m.DEPN(g, n) = m.DEPAX(g, n) = 24.0 * (n - 1);
    m.NODE1(g, 1) = 1;
    m.NODE2(g, 1) = 5;
    NodeArr y{}, Es{}, smy{}, smz{}, psm{}, p{};
    for (int n = 1; n <= 5; ++n) y(n) = 0.01;
    int status = 0;
    PYCURVE(m, 0, status, g, g, y, Es, smy, smz, psm, p);
    EXPECT_EQ(status, 0) << code;
    for (int n = 2; n <= 5; ++n) EXPECT_TRUE(std::isfinite(Es(n)) && Es(n) > 0.0) << code;
    if (code == 12) {
      EXPECT_DOUBLE_EQ(Es(3), 200.0 * 120.0);
    }
  }
}

}  // namespace
}  // namespace torva
