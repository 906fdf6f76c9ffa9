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

Values exact(int dim, int code, double L, double P, double yt, double S, double K) {
  const EndCondition head[2] = {head_condition(dim, code, yt, S, K, 0),
                                head_condition(dim, code, yt, S, K, 1)};
  const EndCondition tip[2] = {{{0, 0, 1, 0}, 0.0}, {{0, P, 0, EI}, 0.0}};
  BeamColumn b(EI, {{L, P, KSOIL}}, head, tip);
  return {b.soil_force(), b.head_moment(), b.d(0, L)};
}

class FinitePile : public ::testing::TestWithParam<FiniteCase> {
 protected:
  void SetUp() override {
    m = new_model();
    testing::set_controls(*m);
  }
  // The pile of the case in nseg segments on one linear user p-y curve.
  void pile(double L, int nseg) {
    testing::PileDef p;
    p.EI = EI;
    p.L = L;
    p.nseg = nseg;
    testing::set_pile(*m, 1, 1, p);
    m->PYSETG(1) = 1;
    testing::set_linear_py(*m, 1, {{0.0, KSOIL}});
  }
  std::unique_ptr<Model> m;
};

TEST_P(FinitePile, HeadValuesAndTipDeflectionMatchTheExactSolution) {
  const FiniteCase& c = GetParam();
  const double beta = std::pow(KSOIL / (4.0 * EI), 0.25);
  const double L = c.bl / beta;
  const double P = c.pfac * 2.0 * std::sqrt(KSOIL * EI);
  const double K = c.kfac * EI / L;
  // Head values of the y plane, and distinct ones of the 3-D z plane (spring 3 K).
  const double yt = 1.0, S = 0.5 / L, zt = -0.4, Sz = 0.3 / L, Kz = 3.0 * K;

  // Two meshes and Richardson's extrapolation, which removes the h^2 error of the
  // difference scheme and of the nodal sum of the soil reactions.
  Values y[2], z[2];
  const int meshes[2] = {50, 100};
  for (int i = 0; i < 2; ++i) {
    pile(L, meshes[i]);
    m->CONNECTY(1) = m->CONNECTZ(1) = c.code;
    m->SPZ(1) = K;
    m->SPY(1) = Kz;
    const int N = meshes[i] + 4;
    int status = 0;
    if (c.dim == 3) {
      auto s = std::make_unique<Llp3dScratch>();
      testing::Head r = testing::solve(*m, *s, 1, yt, S, zt, Sz, P);
      ASSERT_TRUE(r.closed);
      y[i] = {r.Vy, r.My, s->y(N)};
      z[i] = {r.Vz, r.Mz, s->z(N)};
    } else {
      auto s = std::make_unique<Llp2dScratch>();
      Mat3 T;
      T.fill(0.0);
      for (int d = 1; d <= 3; ++d) T(d, d) = 1.0;
      NodeVec mov, fax;
      mov.fill(0.0);
      fax.fill(0.0);
      double V = 0.0, M = 0.0;
      NODE2D(*m, 1, status);
      ASSERT_TRUE(LLP2D(*m, 1, yt, S, P, V, M, status, 0.0, T, mov, fax, *s));
      y[i] = {V, M, s->y(N)};
    }
  }
  auto check = [&](const Values v[2], const Values& ex, double y0, const char* plane) {
    // Relative to the larger of the value and its scale on a long pile (a moment-free
    // head has no moment).
    const double beta2 = beta * beta, a = std::abs(y0);
    const double vs = std::max(EI * beta2 * beta * a, std::abs(ex.V));
    const double ms = std::max(EI * beta2 * a, std::abs(ex.M));
    const double ys = std::max(a, std::abs(ex.ytip));
    const double tol = 2.0e-5;
    auto rich = [](double a50, double a100) { return (4.0 * a100 - a50) / 3.0; };
    EXPECT_NEAR(rich(v[0].V, v[1].V), ex.V, tol * vs) << plane << " head shear";
    EXPECT_NEAR(rich(v[0].M, v[1].M), ex.M, tol * ms) << plane << " head moment";
    EXPECT_NEAR(rich(v[0].ytip, v[1].ytip), ex.ytip, tol * ys) << plane << " tip deflection";
  };
  check(y, exact(c.dim, c.code, L, P, yt, S, K), yt, "y plane");
  if (c.dim == 3) check(z, exact(3, c.code, L, P, zt, Sz, Kz), zt, "z plane");
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
