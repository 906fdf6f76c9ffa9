// A stiff plate cap on four linear piles against the rigid cap of the same plan: the pile
// heads follow the plate with the right axes (the plate's slopes dw/dx and dw/dy are the
// rotations about the piles' Y and Z), so the plate gives the rigid cap's pile forces.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "capfe/platefix.h"
#include "pile/matinv.h"

namespace torva {
namespace {

using testing::LinearPiles;
using testing::PlateModel;
using testing::PlateRunner;

using V6 = std::array<double, 6>;

// Head stiffness of a fixed-head pile in the pile-row axes (column-major): axial, lateral
// with the bending coupling of a fixed head (Y with the rotation about Z, Z with the
// rotation about Y, of opposite signs), torsion and rocking.
std::vector<double> fixed_head_pile(double ka, double kl, double c, double kt, double kr) {
  std::vector<double> k(36, 0.0);
  auto at = [&](int i, int j) -> double& { return k[std::size_t((i - 1) + 6 * (j - 1))]; };
  at(1, 1) = ka;
  at(2, 2) = at(3, 3) = kl;
  at(4, 4) = kt;
  at(5, 5) = at(6, 6) = kr;
  at(2, 6) = at(6, 2) = c;
  at(3, 5) = at(5, 3) = -c;
  return k;
}

// The head displacement of a pile at (Y, Z) under a rigid cap moving by D at its origin.
V6 head_of(const V6& D, double y, double z) {
  return {D[0] + D[4] * z - D[5] * y, D[1] - D[3] * z, D[2] + D[3] * y, D[3], D[4], D[5]};
}

// Rigid-cap displacement at the origin under the load P for piles of stiffness K at
// (Y, Z): the sum of the piles' stiffnesses carried to the origin, solved for P.
V6 rigid_cap(const std::vector<double>& K, const std::vector<std::array<double, 2>>& at, const V6& P) {
  Mat6 kc;
  kc.fill(0.0);
  for (const auto& yz : at)
    for (int j = 0; j < 6; ++j) {
      V6 e{};
      e[std::size_t(j)] = 1.0;
      const V6 aj = head_of(e, yz[0], yz[1]);
      for (int i = 0; i < 6; ++i) {
        V6 ei{};
        ei[std::size_t(i)] = 1.0;
        const V6 ai = head_of(ei, yz[0], yz[1]);
        double s = 0.0;
        for (int p = 0; p < 6; ++p)
          for (int q = 0; q < 6; ++q) s += ai[std::size_t(p)] * K[std::size_t(p + 6 * q)] * aj[std::size_t(q)];
        kc(i + 1, j + 1) += s;
      }
    }
  int ierr = 0;
  MATINV(kc, 6, ierr);
  EXPECT_EQ(ierr, 0);
  V6 D{};
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) D[std::size_t(i)] += kc(i + 1, j + 1) * P[std::size_t(j)];
  return D;
}

// The plate's loads (u, v, w, theta_x, theta_y, drilling) of a load in the pile-row axes.
V6 plate_load(const V6& P) { return {P[2], P[1], -P[0], -P[4], P[5], -P[3]}; }
// The pile-row displacement of a plate displacement.
V6 pile_disp(const V6& u) { return {-u[2], u[1], u[0], -u[5], -u[3], u[4]}; }

struct StiffCap {
  static constexpr double half = 2.0;  // piles at (Y, Z) = (+-2, +-2), plate 8 x 8
  PlateModel pm;
  std::vector<std::array<double, 2>> yz;  // pile positions
  std::vector<int> node;                  // the plate node of each pile
  int centre = 0;
  StiffCap() {
    pm.mesh.nx = pm.mesh.ny = 4;
    pm.mesh.a = pm.mesh.b = 8.0;
    pm.mesh.build();
    pm.e = 1.0e10;
    pm.nu = 0.2;
    pm.t = 1.0;
    pm.ispring = 1;
    for (int n = 1; n <= pm.mesh.npoin(); ++n) {
      const double x = pm.mesh.x[std::size_t(n - 1)] - 4.0, y = pm.mesh.y[std::size_t(n - 1)] - 4.0;
      if (x == 0.0 && y == 0.0) centre = n;
      if (std::abs(std::abs(x) - half) > 1e-12 || std::abs(std::abs(y) - half) > 1e-12) continue;
      // Plate x along the pile Z, plate y along the pile Y.
      yz.push_back({y, x});
      node.push_back(n);
      pm.piles.push_back(std::to_string(x + 4.0) + " " + std::to_string(y + 4.0));
    }
  }
};

TEST(PlateCap, StiffPlateOnFourPilesMovesAsTheRigidCap) {
  const std::vector<double> K = fixed_head_pile(1.0e5, 2.0e4, 3.0e4, 5.0e4, 8.0e4);
  const LinearPiles piles(K);
  struct Case {
    const char* what;
    V6 P;  // forces along X (down), Y, Z, moments about X, Y, Z at the cap origin
  };
  const Case cases[] = {
      {"down and along Y", {4.0e4, 4.0e3, 0.0, 0.0, 0.0, 0.0}},
      {"down and along Z", {4.0e4, 0.0, 4.0e3, 0.0, 0.0, 0.0}},
      {"moments about Y and Z", {4.0e4, 0.0, 0.0, 0.0, 6.0e3, -3.0e3}},
      {"torque", {4.0e4, 0.0, 0.0, 5.0e3, 0.0, 0.0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StiffCap cap;
    ASSERT_EQ(cap.node.size(), 4u);
    const V6 q = plate_load(c.P);
    std::string rec = "4 4";
    for (double v : q) {
      rec += ' ';
      rec += std::to_string(v);
    }
    cap.pm.pntload.push_back(rec);
    PlateRunner run;
    run.m->NROW = 4;
    run.solve(cap.pm.text(), &piles);
    ASSERT_EQ(run.run->status, 0) << run.listing();
    const V6 D = rigid_cap(K, cap.yz, c.P);
    double scale_t = 0.0, scale_r = 0.0;
    for (int i = 0; i < 3; ++i) {
      scale_t = std::max(scale_t, std::abs(D[std::size_t(i)]));
      scale_r = std::max(scale_r, std::abs(D[std::size_t(i + 3)]));
    }
    for (std::size_t p = 0; p < 4; ++p) {
      const V6 want = head_of(D, cap.yz[p][0], cap.yz[p][1]);
      V6 u{};
      for (int i = 0; i < 6; ++i) u[std::size_t(i)] = run.u(cap.node[p], i + 1);
      const V6 got = pile_disp(u);
      for (std::size_t i = 0; i < 6; ++i)
        EXPECT_NEAR(got[i], want[i], 0.01 * (i < 3 ? scale_t : scale_r))
            << "pile at Y " << cap.yz[p][0] << " Z " << cap.yz[p][1] << " component " << i + 1;
    }
  }
}

// A torque on the cap, given as a drilling moment at the centre or as eight in-plane loads
// tangent to a circle: the piles resist it by their torsion and by their shear in the
// proportions of the rigid cap, and together they balance it.
TEST(PlateCap, TorqueIsCarriedByPileTorsionAndShearAsUnderARigidCap) {
  const std::vector<double> K = fixed_head_pile(1.0e5, 2.0e4, 3.0e4, 5.0e4, 8.0e4);
  const LinearPiles piles(K);
  const double T = 5.0e3;  // about X (down): the plate's drilling moment is -T
  for (const bool tangential : {false, true}) {
    SCOPED_TRACE(tangential ? "eight tangential loads" : "drilling moment");
    StiffCap cap;
    if (tangential) {
      // Loads of T / (8 R) on the circle of radius R = 1 about the centre, turning the cap
      // clockwise about z (up), that is about X (down) the positive way.
      const double R = 1.0, F = T / (8.0 * R), a = std::sqrt(0.5);
      const double at[8][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}, {a, a}, {-a, a}, {-a, -a}, {a, -a}};
      for (const auto& p : at) {
        const double x = R * p[0], y = R * p[1];
        cap.pm.pntload.push_back(std::to_string(4.0 + x) + " " + std::to_string(4.0 + y) + " " +
                                 std::to_string(F * p[1]) + " " + std::to_string(-F * p[0]) + " 0 0 0 0");
      }
    } else {
      cap.pm.pntload.push_back("4 4 0 0 0 0 0 " + std::to_string(-T));
    }
    PlateRunner run;
    run.m->NROW = 4;
    run.solve(cap.pm.text(), &piles);
    ASSERT_EQ(run.run->status, 0) << run.listing();
    const V6 D = rigid_cap(K, cap.yz, {0, 0, 0, T, 0, 0});
    double torsion = 0.0, shear = 0.0, torsion_rigid = 0.0, shear_rigid = 0.0;
    for (std::size_t p = 0; p < 4; ++p) {
      V6 u{};
      for (int i = 0; i < 6; ++i) u[std::size_t(i)] = run.u(cap.node[p], i + 1);
      const double y = cap.yz[p][0], z = cap.yz[p][1];
      for (int pass = 0; pass < 2; ++pass) {
        const V6 U = pass == 0 ? pile_disp(u) : head_of(D, y, z);
        V6 f{};  // force of the pile on the cap
        for (int i = 0; i < 6; ++i)
          for (int j = 0; j < 6; ++j) f[std::size_t(i)] -= K[std::size_t(i + 6 * j)] * U[std::size_t(j)];
        (pass == 0 ? torsion : torsion_rigid) += f[3];
        (pass == 0 ? shear : shear_rigid) += y * f[2] - z * f[1];
      }
    }
    EXPECT_NEAR(torsion_rigid + shear_rigid, -T, 1e-9 * T);
    EXPECT_GT(-torsion_rigid, 0.2 * T);  // both carry a real share
    EXPECT_GT(-shear_rigid, 0.2 * T);
    EXPECT_NEAR(torsion + shear, -T, 1e-3 * T);
    EXPECT_NEAR(torsion, torsion_rigid, 0.03 * std::abs(torsion_rigid));
    EXPECT_NEAR(shear, shear_rigid, 0.03 * std::abs(shear_rigid));
  }
}

}  // namespace
}  // namespace torva
