// Short piles on linear springs against the exact finite beam-column on a Winkler
// foundation: beta L = 1, 2 and 4, axial load 0 and +-0.3 of the buckling load 2 sqrt(k EI)
// of a beam on an elastic foundation, every head connection (the rotational spring of
// intermediate stiffness, 2 EI / L and 6 EI / L), in both lateral solutions.
// On a short pile the tip conditions (zero moment, zero shear with the axial-load term)
// shape the whole deflected pile. The head deflection is always prescribed, so a free head
// (no moment) and a pinned one are the same condition. Under compression the shortest
// moment-free pile has a negative head stiffness (alone it would tip over above k L^2 / 12):
// a severe check of the axial terms.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "beam_column.h"
#include "pile/llp2d.h"
#include "pile/node.h"
#include "pile_fixture.h"

namespace torva {
namespace {

using testing::BeamColumn;
using testing::EndCondition;

constexpr double EI = 1.0e10;
constexpr double KSOIL = 1.0e3;  // subgrade modulus, force per length squared

struct FiniteCase {
  std::string name;
  int dim;       // 3: LLP3D (both planes), 2: LLP2D
  double bl;     // beta L
  double pfac;   // axial load over the buckling load 2 sqrt(k EI)
  int code;      // head connection: 1 pinned (a free head: no moment), 2 fixed, 3 spring
  double kfac;   // spring stiffness in EI / L (code 3)
};

void PrintTo(const FiniteCase& c, std::ostream* os) { *os << c.name; }

// Head values of one solution and the deflection at the tip.
struct Values {
  double V, M, ytip;
};

// The head of a plane: deflection yt and rotation S as the solution takes them, and the
// spring K. In the 3-D planes the fixed head has the slope -S and the spring the moment
// K (S + y'); in the 2-D plane the slope is +S and the spring moment K (y' - S).
EndCondition head_condition(int dim, int code, double yt, double S, double K, int row) {
  if (row == 0) return {{1, 0, 0, 0}, yt};
  const double sgn = dim == 3 ? 1.0 : -1.0;
  if (code == 1) return {{0, 0, 1, 0}, 0.0};
  if (code == 2) return {{0, 1, 0, 0}, -sgn * S};
  return {{0, -K, EI, 0}, sgn * K * S};
}

// The exact values for a pile of the given segments (length, axial force, soil); the
// tip is free: no moment, and no shear with the axial force of the lowest segment.
Values exact(int dim, int code, std::vector<testing::BcSegment> segs, double yt, double S,
             double K) {
  const EndCondition head[2] = {head_condition(dim, code, yt, S, K, 0),
                                head_condition(dim, code, yt, S, K, 1)};
  const EndCondition tip[2] = {{{0, 0, 1, 0}, 0.0}, {{0, segs.back().P, 0, EI}, 0.0}};
  double L = 0.0;
  for (const auto& g : segs) L += g.len;
  BeamColumn b(EI, std::move(segs), head, tip);
  return {b.soil_force(), b.head_moment(), b.d(0, L)};
}

double buckling_load() { return 2.0 * std::sqrt(KSOIL * EI); }

// Richardson's extrapolation from 50 and 100 segments against the exact values, each
// relative to the larger of the value and its scale on a long pile (a moment-free head has
// no moment).
void expect_exact(const Values v[2], const Values& ex, double y0, const char* what) {
  const double beta = std::pow(KSOIL / (4.0 * EI), 0.25), b2 = beta * beta, a = std::abs(y0);
  const double vs = std::max(EI * b2 * beta * a, std::abs(ex.V));
  const double ms = std::max(EI * b2 * a, std::abs(ex.M));
  const double ys = std::max(a, std::abs(ex.ytip));
  const double tol = 2.0e-5;
  auto rich = [](double a50, double a100) { return (4.0 * a100 - a50) / 3.0; };
  EXPECT_NEAR(rich(v[0].V, v[1].V), ex.V, tol * vs) << what << " head shear";
  EXPECT_NEAR(rich(v[0].M, v[1].M), ex.M, tol * ms) << what << " head moment";
  EXPECT_NEAR(rich(v[0].ytip, v[1].ytip), ex.ytip, tol * ys) << what << " tip deflection";
}

// The head of both planes: connection, deflection and rotation of the y plane and of the
// 3-D z plane, and their springs (SPZ for the y plane, SPY for the z plane).
struct Heads {
  int code;
  double yt, S, zt, Sz, K, Kz;
};

class ShortPile : public ::testing::Test {
 protected:
  void SetUp() override {
    m = new_model();
    testing::set_controls(*m);
  }
  // The pile of length L on one linear user p-y curve, solved on 50 and 100 segments
  // with the head axial force P; with `fax`, the axial force along the pile at pile node
  // k of n segments is fax(k, n). Two meshes, so that Richardson's extrapolation removes
  // the h^2 error of the difference scheme and of the nodal sum of the soil reactions.
  void run(int dim, double L, const Heads& hd, double P, double (*fax)(int k, int n),
           Values y[2], Values z[2]) {
    const int meshes[2] = {50, 100};
    for (int i = 0; i < 2; ++i) {
      const int n = meshes[i], N = n + 4;
      testing::PileDef p;
      p.EI = EI;
      p.L = L;
      p.nseg = n;
      testing::set_pile(*m, 1, 1, p);
      m->PYSETG(1) = 1;
      testing::set_linear_py(*m, 1, {{0.0, KSOIL}});
      m->CONNECTY(1) = m->CONNECTZ(1) = hd.code;
      m->SPZ(1) = hd.K;
      m->SPY(1) = hd.Kz;
      NodeVec F;
      F.fill(0.0);
      if (fax)
        for (int k = 1; k <= n + 1; ++k) F(k + 3) = fax(k, n);
      if (dim == 3) {
        auto s = std::make_unique<Llp3dScratch>();
        testing::Head r = testing::solve(*m, *s, 1, hd.yt, hd.S, hd.zt, hd.Sz, P, &F);
        ASSERT_TRUE(r.closed);
        y[i] = {r.Vy, r.My, s->y(N)};
        z[i] = {r.Vz, r.Mz, s->z(N)};
      } else {
        auto s = std::make_unique<Llp2dScratch>();
        testing::Head r = testing::solve2d(*m, *s, 1, hd.yt, hd.S, P, &F);
        ASSERT_TRUE(r.closed);
        y[i] = {r.Vy, r.My, s->y(N)};
      }
    }
  }
  std::unique_ptr<Model> m;
};

class FinitePile : public ShortPile, public ::testing::WithParamInterface<FiniteCase> {};

TEST_P(FinitePile, HeadValuesAndTipDeflectionMatchTheExactSolution) {
  const FiniteCase& c = GetParam();
  const double beta = std::pow(KSOIL / (4.0 * EI), 0.25);
  const double L = c.bl / beta;
  const double P = c.pfac * 2.0 * std::sqrt(KSOIL * EI);
  const double K = c.kfac * EI / L;
  // Head values of the y plane, and distinct ones of the 3-D z plane (spring 3 K).
  const Heads hd{c.code, 1.0, 0.5 / L, -0.4, 0.3 / L, K, 3.0 * K};
  Values y[2], z[2];
  run(c.dim, L, hd, P, nullptr, y, z);
  const std::vector<testing::BcSegment> pile = {{L, P, KSOIL}};
  expect_exact(y, exact(c.dim, c.code, pile, hd.yt, hd.S, K), hd.yt, "y plane");
  if (c.dim == 3) expect_exact(z, exact(3, c.code, pile, hd.zt, hd.Sz, hd.Kz), hd.zt, "z plane");
}

// An axial force that changes along the pile (IAXVAR = 1 with a generated load-settlement
// curve): the beam-column terms take the force of each node and the tip shear that of the
// tip, never the head force. Here 0.3 of the buckling load in the upper half, -0.2 in the
// lower half and their mean at the node between; the exact solution joins the two halves
// with y to y''' continuous (the equations carry P y''). A row on a user load-settlement
// curve takes the head force all along.
TEST_F(ShortPile, AxialForceVaryingAlongThePile) {
  const double beta = std::pow(KSOIL / (4.0 * EI), 0.25), L = 2.0 / beta;
  const double P1 = 0.3 * buckling_load(), P2 = -0.2 * buckling_load();
  const double P = 0.1 * buckling_load();  // the head force
  auto fax = [](int k, int n) {
    const int mid = n / 2 + 1;
    return (k < mid ? 0.3 : k > mid ? -0.2 : 0.05) * buckling_load();
  };
  const std::vector<testing::BcSegment> halves = {{L / 2, P1, KSOIL}, {L / 2, P2, KSOIL}};
  const Heads hd{1, 1.0, 0.0, -0.4, 0.0, 0.0, 0.0};
  m->IAXVAR = 1;
  for (int dim : {3, 2}) {
    SCOPED_TRACE(dim);
    Values y[2], z[2];
    m->LSNO(1) = 0;
    run(dim, L, hd, P, fax, y, z);
    expect_exact(y, exact(dim, 1, halves, hd.yt, 0.0, 0.0), hd.yt, "varying");
    if (dim == 3) expect_exact(z, exact(3, 1, halves, hd.zt, 0.0, 0.0), hd.zt, "z plane");
    m->LSNO(1) = 1;
    run(dim, L, hd, P, fax, y, z);
    expect_exact(y, exact(dim, 1, {{L, P, KSOIL}}, hd.yt, 0.0, 0.0), hd.yt, "user curve");
  }
}

std::vector<FiniteCase> finite_cases() {
  std::vector<FiniteCase> v;
  const struct {
    const char* name;
    int code;
    double kfac;
  } heads[] = {{"free", 1, 0.0}, {"fixed", 2, 0.0}, {"spring", 3, 2.0}};
  for (int dim : {3, 2})
    for (double bl : {1.0, 2.0, 4.0})
      for (double pf : {0.0, 0.3, -0.3})
        for (const auto& h : heads) {
          std::string n = std::to_string(dim) + "d_bl" + std::to_string(int(bl)) +
                          (pf == 0.0 ? "_p0_" : pf > 0.0 ? "_compr_" : "_tens_") + h.name;
          v.push_back({n, dim, bl, pf, h.code, h.kfac});
        }
  return v;
}

INSTANTIATE_TEST_SUITE_P(ShortPiles, FinitePile, ::testing::ValuesIn(finite_cases()),
                         [](const auto& pi) { return pi.param.name; });

}  // namespace
}  // namespace torva
