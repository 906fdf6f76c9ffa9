#include "cap/cap2d.h"

#include <cmath>

#include "cap/ptdef.h"
#include "report/envewr.h"

namespace torva {

void DNORM2D(const Vec3& q, double& t, double& r) {
  t = std::sqrt(q(1) * q(1) + q(2) * q(2));
  r = std::sqrt(q(3) * q(3));
}

void DMAX2D(const Vec3& q, double& t, double& r) {
  t = std::fabs(q(2)) > std::fabs(q(1)) ? std::fabs(q(2)) : std::fabs(q(1));
  r = std::fabs(q(3));
}

void MATVEC3(Vec3& y, const Mat3& A, const Vec3& x) {
  for (int i = 1; i <= 3; ++i) y(i) = A(i, 1) * x(1) + A(i, 2) * x(2) + A(i, 3) * x(3);
}

void COPY3(const Vec3& a, Vec3& b) {
  for (int i = 1; i <= 3; ++i) b(i) = a(i);
}

bool INV3(const Mat3& K, Mat3& Kinv) {
  const double c11 = K(2, 2) * K(3, 3) - K(2, 3) * K(3, 2);
  const double c12 = K(2, 3) * K(3, 1) - K(2, 1) * K(3, 3);
  const double c13 = K(2, 1) * K(3, 2) - K(2, 2) * K(3, 1);
  const double det = K(1, 1) * c11 + K(1, 2) * c12 + K(1, 3) * c13;
  // A non-finite determinant (a tangent polluted by a failed pile) counts as singular too.
  if (!(std::fabs(det) > 1.0e-14) || !std::isfinite(det)) return false;
  // The inverse is the adjugate (the transposed cofactors) over the determinant.
  Kinv(1, 1) = c11 / det;
  Kinv(2, 1) = c12 / det;
  Kinv(3, 1) = c13 / det;
  Kinv(1, 2) = (K(1, 3) * K(3, 2) - K(1, 2) * K(3, 3)) / det;
  Kinv(2, 2) = (K(1, 1) * K(3, 3) - K(1, 3) * K(3, 1)) / det;
  Kinv(3, 2) = (K(1, 2) * K(3, 1) - K(1, 1) * K(3, 2)) / det;
  Kinv(1, 3) = (K(1, 2) * K(2, 3) - K(1, 3) * K(2, 2)) / det;
  Kinv(2, 3) = (K(1, 3) * K(2, 1) - K(1, 1) * K(2, 3)) / det;
  Kinv(3, 3) = (K(1, 1) * K(2, 2) - K(1, 2) * K(2, 1)) / det;
  return true;
}

void PTMAT2D(Mat6& A, const Mat3& K, const Arr1<double, 3>& point, const Flags3& flags) {
  const double x = point(1), y = point(2);
  A.fill(0.0);
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) A(i, j) = K(i, j);
  // Columns of T: the motion of the point in DOF k per unit cap movement.
  const double T[3][3] = {{1.0, 0.0, -y}, {0.0, 1.0, x}, {0.0, 0.0, 1.0}};
  for (int k = 1; k <= 3; ++k) {
    if (flags(k) == 0) {
      for (int i = 1; i <= 3; ++i) {
        A(i, 3 + k) = T[k - 1][i - 1];
        A(3 + k, i) = T[k - 1][i - 1];
      }
    } else {
      A(3 + k, 3 + k) = 1.0;
    }
  }
}

void PTRHS2D(Vec6& rhs, Vec6& rec, const Vec3& R, const Vec3& F, const Vec3& D, const Vec3& U,
             const Arr1<double, 3>& point, const Flags3& flags) {
  const double x = point(1), y = point(2);
  for (int i = 1; i <= 3; ++i) {
    rhs(i) = R(i);
    rec(i) = F(i);
    rhs(3 + i) = rec(3 + i) = 0.0;
  }
  const double moved[3] = {U(1) - y * U(3), x * U(3) + U(2), U(3)};
  for (int k = 1; k <= 3; ++k)
    if (flags(k) == 0) {
      rec(3 + k) = D(k);
      rhs(3 + k) = D(k) - moved[k - 1];
    }
}

void PTTRANS2D(const Vec3& U, Vec3& P, const Arr1<double, 3>& point, Vec3& Dp, Vec3& Fp,
               const Vec3& G, const Flags3& flags, int& done) {
  const double x = point(1), y = point(2);
  if (x == 0.0 && y == 0.0) {
    done = 0;
    return;
  }
  Dp(1) = U(1) - y * U(3);
  Dp(2) = U(2) + x * U(3);
  Dp(3) = U(3);
  done = 1;
  const double P1 = P(1), P2 = P(2), P3 = P(3);
  if (flags(1) == 1) {
    Fp(1) = G(1);
    P(1) = G(1);
  } else {
    Fp(1) = P1;
  }
  if (flags(2) == 1) {
    Fp(2) = G(2);
    P(2) = G(2);
  } else {
    Fp(2) = P2;
  }
  Fp(3) = flags(3) == 1 ? G(3) : P3 - x * P2 + y * P1;
}

void DOFLABEL2D(const Model& m, const Flags3& flags, char LA[3], char LB[3]) {
  dof_marks(m, flags.data(), 3, LA, LB);
}

void CAPENV2D(Model& m, const Vec3& load, const Vec3& disp) {
  if (m.NRESLT == 1)
    for (int i = 1; i <= 3; ++i) {
      m.EMNCAP(i) = m.EMXCAP(i) = load(i);
      m.EMNCAP(6 + i) = m.EMXCAP(6 + i) = disp(i);
    }
  for (int i = 1; i <= 3; ++i) {
    DMAXUP(m.EMXCAP(i), load(i));
    DMAXUP(m.EMXCAP(6 + i), disp(i));
    DMINUP(m.EMNCAP(i), load(i));
    DMINUP(m.EMNCAP(6 + i), disp(i));
  }
}

}  // namespace torva
