// The frontal solver against a dense solution of the same assembled system.
#include "capfe/frontsol.h"
#include "capfe/feinput.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "capfe/platefix.h"
#include "model/status.h"

namespace torva {
namespace {

using testing::LinearPiles;
using testing::PlateMesh;
using testing::WorkDir;

struct System {
  std::vector<std::vector<double>> k;  // element matrices (NEVAB x NEVAB, row by row)
  std::vector<std::vector<double>> f;  // element vectors
};

// Dense Gaussian elimination of a small system.
std::vector<double> dense_solve(std::vector<std::vector<double>> a, std::vector<double> b) {
  const std::size_t n = b.size();
  for (std::size_t c = 0; c < n; ++c) {
    std::size_t p = c;
    for (std::size_t r = c + 1; r < n; ++r)
      if (std::abs(a[r][c]) > std::abs(a[p][c])) p = r;
    std::swap(a[c], a[p]);
    std::swap(b[c], b[p]);
    for (std::size_t r = c + 1; r < n; ++r) {
      const double f = a[r][c] / a[c][c];
      for (std::size_t j = c; j < n; ++j) a[r][j] -= f * a[c][j];
      b[r] -= f * b[c];
    }
  }
  std::vector<double> x(n);
  for (std::size_t i = n; i-- > 0;) {
    double s = b[i];
    for (std::size_t j = i + 1; j < n; ++j) s -= a[i][j] * x[j];
    x[i] = s / a[i][i];
  }
  return x;
}

class FrontsolTest : public ::testing::Test {
 protected:
  WorkDir dir;
  std::unique_ptr<Model> m = new_model();
  LinearPiles none{{0, 0, 0, 0, 0, 0}};
  PlateMesh mesh;
  System sys;

  void SetUp() override {
    mesh.nnode = 4;
    mesh.nx = 3;
    mesh.ny = 2;
    mesh.build();
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    const int nev = 24;
    for (std::size_t e = 0; e < mesh.elem.size(); ++e) {
      std::vector<double> b(std::size_t(nev * nev)), k(std::size_t(nev * nev), 0.0), f(static_cast<std::size_t>(nev));
      for (double& x : b) x = u(gen);
      for (int i = 0; i < nev; ++i)
        for (int j = 0; j < nev; ++j) {
          double s = i == j ? 0.5 : 0.0;
          for (int q = 0; q < nev; ++q) s += b[std::size_t(i * nev + q)] * b[std::size_t(j * nev + q)];
          k[std::size_t(i * nev + j)] = s;
        }
      for (double& x : f) x = u(gen);
      sys.k.push_back(k);
      sys.f.push_back(f);
    }
  }

  // Loads the system into a run record with the elements in the given order.
  void load(PlateRun& r, const std::vector<int>& order) {
    m->NPOIN = mesh.npoin();
    m->NELEM = int(mesh.elem.size());
    m->NNODE = 4;
    m->NEVAB = 24;
    m->NDOFN = 6;
    m->FRONTCAP = 60;
    m->NVFIX = 3;
    m->NCTSTI = m->NNSTI = m->NNLOD = 0;
    ASSERT_TRUE(size_tables(r));
    for (int q = 1; q <= m->NELEM; ++q) {
      const std::size_t src = std::size_t(order[std::size_t(q - 1)]);
      for (int k = 1; k <= 4; ++k) r.LNODS(k, q) = mesh.elem[src][std::size_t(k - 1)];
      for (int a = 1; a <= 24; ++a) {
        r.ELVEC(a, q) = sys.f[src][std::size_t(a - 1)];
        for (int b = 1; b <= 24; ++b) r.elmat(q, a, b) = sys.k[src][std::size_t((a - 1) * 24 + b - 1)];
      }
    }
    // Node 1 held in every freedom (u prescribed), node 5 held in w only, node 7 with code 2.
    const int nodes[3] = {1, 5, 7};
    for (int j = 1; j <= 3; ++j) {
      r.NOFIX[std::size_t(j - 1)] = nodes[j - 1];
      for (int i = 1; i <= 6; ++i) {
        r.IFPRE(i, j) = j == 1 ? 1 : (j == 2 ? (i == 3 ? 1 : 0) : (i == 2 ? 2 : 0));
        r.PRESC(i, j) = 0.1 * i + j;
      }
    }
    r.FIXINC[0] = 0.02;  // node 1, u
    r.FIXINC[std::size_t(6 * 4 + 2)] = -0.01;  // node 5, w
    ASSERT_TRUE(r.FORT2.open("fort2") && r.FORT3.open("fort3") && r.FORT4.open("fort4"));
  }

  // The dense solution with the same restraints: increments and reactions.
  void dense(std::vector<double>& x, std::vector<double>& react, const PlateRun& r) {
    const int nv = 6 * mesh.npoin();
    std::vector<std::vector<double>> k(std::size_t(nv), std::vector<double>(std::size_t(nv), 0.0));
    std::vector<double> f(std::size_t(nv), 0.0);
    for (std::size_t e = 0; e < mesh.elem.size(); ++e)
      for (int a = 0; a < 24; ++a) {
        const std::size_t va = std::size_t(6 * (mesh.elem[e][std::size_t(a / 6)] - 1) + a % 6);
        f[va] += sys.f[e][std::size_t(a)];
        for (int b = 0; b < 24; ++b) {
          const std::size_t vb = std::size_t(6 * (mesh.elem[e][std::size_t(b / 6)] - 1) + b % 6);
          k[va][vb] += sys.k[e][std::size_t(a * 24 + b)];
        }
      }
    std::vector<int> fixed(std::size_t(nv), 0);
    for (int j = 1; j <= 3; ++j)
      for (int i = 1; i <= 6; ++i)
        if (r.IFPRE(i, j) == 1) fixed[std::size_t(6 * (r.NOFIX[std::size_t(j - 1)] - 1) + i - 1)] = 1;
    auto kk = k;
    auto ff = f;
    for (int v = 0; v < nv; ++v) {
      if (!fixed[std::size_t(v)]) continue;
      const double g = r.FIXINC[std::size_t(v)];
      for (int i = 0; i < nv; ++i) {
        if (!fixed[std::size_t(i)]) ff[std::size_t(i)] -= k[std::size_t(i)][std::size_t(v)] * g;
        kk[std::size_t(i)][std::size_t(v)] = kk[std::size_t(v)][std::size_t(i)] = 0.0;
      }
      kk[std::size_t(v)][std::size_t(v)] = 1.0;
    }
    for (int v = 0; v < nv; ++v)
      if (fixed[std::size_t(v)]) ff[std::size_t(v)] = r.FIXINC[std::size_t(v)];
    x = dense_solve(kk, ff);
    react.assign(std::size_t(nv), 0.0);
    for (int v = 0; v < nv; ++v) {
      if (!fixed[std::size_t(v)]) continue;
      double s = -f[std::size_t(v)];
      for (int j = 0; j < nv; ++j) s += k[std::size_t(v)][std::size_t(j)] * x[std::size_t(j)];
      react[std::size_t(v)] = s;
    }
  }
};

TEST_F(FrontsolTest, MatchesDenseSolutionInEitherElementOrder) {
  for (bool reversed : {false, true}) {
    PlateRun r(*m, none);
    std::vector<int> order;
    for (int e = 0; e < int(mesh.elem.size()); ++e) order.push_back(reversed ? int(mesh.elem.size()) - 1 - e : e);
    load(r, order);
    ASSERT_TRUE(FRONTSOL(r)) << r.status;
    std::vector<double> x, react;
    dense(x, react, r);
    for (std::size_t v = 0; v < x.size(); ++v) EXPECT_NEAR(r.DSDIS[v], x[v], 1e-9 * (1 + std::abs(x[v]))) << v;
    // Reactions of code-1 freedoms, given values of the others of a restrained node,
    // code 2: the given value times the increment; zero elsewhere.
    EXPECT_NEAR(r.GLOBV[0], react[0], 1e-9 * (1 + std::abs(react[0])));
    EXPECT_NEAR(r.GLOBV[std::size_t(6 * 4 + 2)], react[std::size_t(6 * 4 + 2)], 1e-9);
    EXPECT_DOUBLE_EQ(r.GLOBV[std::size_t(6 * 4 + 0)], r.PRESC(1, 2));
    EXPECT_NEAR(r.GLOBV[std::size_t(6 * 6 + 1)], r.PRESC(2, 3) * x[std::size_t(6 * 6 + 1)], 1e-9);
    EXPECT_EQ(r.GLOBV[std::size_t(6 * 1 + 3)], 0.0);
    EXPECT_DOUBLE_EQ(r.DSDIS[0], 0.02);
    // The connectivity leaves as it came, and a second call gives the same increments.
    for (int q = 1; q <= m->NELEM; ++q)
      for (int k = 1; k <= 4; ++k) EXPECT_GT(r.LNODS(k, q), 0);
    const std::vector<double> first = r.DSDIS;
    ASSERT_TRUE(FRONTSOL(r));
    EXPECT_EQ(r.DSDIS, first);
  }
}

TEST_F(FrontsolTest, ZeroPivotOfFreeVariableStopsWithMessage) {
  PlateRun r(*m, none);
  load(r, {0, 1, 2, 3, 4, 5});
  ASSERT_TRUE(r.FELIST.open_write("list.txt"));
  // Node 12 (a free corner held by element 6 only) loses every stiffness of its u.
  for (int b = 1; b <= 24; ++b) {
    r.elmat(6, 13, b) = 0.0;
    r.elmat(6, b, 13) = 0.0;
  }
  r.NODLAB.assign(std::size_t(m->NPOIN), 0);
  r.NODLAB[11] = 112;  // named by its label
  EXPECT_FALSE(FRONTSOL(r));
  EXPECT_EQ(r.status, ST_FESOLVE);
  r.FELIST.close();
  EXPECT_EQ(dir.read("list.txt"),
            "    NEGATIVE OR ZERO PIVOT ENCOUNTERED FOR VARIABLE NO.   67 OF VALUE      0.000000E+00\n");
  // The run log is told which node and which movement.
  EXPECT_EQ(r.why, "ZERO PIVOT AT NODE 112, ALONG X: NO PILE, RESTRAINT OR SPRING HOLDS THE PLATE IN THIS MOVEMENT");
}

}  // namespace
}  // namespace torva
