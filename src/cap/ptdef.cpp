#include "cap/ptdef.h"

namespace torva {

void PTMAP(const Point3& P, Mat6& G) {
  const double x = P(1), y = P(2), z = P(3);
  G.fill(0.0);
  for (int i = 1; i <= 6; ++i) G(i, i) = 1.0;
  G(1, 5) = z;
  G(1, 6) = -y;
  G(2, 4) = -z;
  G(2, 6) = x;
  G(3, 4) = y;
  G(3, 5) = -x;
}

void PTMAT(Mat12& SE, const Mat6& SS, const Point3& PTXYZ, const Codes6& PTCOND) {
  SE.fill(0.0);
  for (int j = 1; j <= 6; ++j)
    for (int i = 1; i <= 6; ++i) SE(i, j) = SS(i, j);
  Mat6 G;
  PTMAP(PTXYZ, G);
  for (int i = 1; i <= 6; ++i) {
    if (PTCOND(i) != 0) {
      SE(6 + i, 6 + i) = 1.0;
      continue;
    }
    for (int j = 1; j <= 6; ++j) {
      SE(6 + i, j) = G(i, j);
      SE(j, 6 + i) = G(i, j);
    }
  }
}

void PTRHS(Vec12& DFUV, Vec12& RUV, const Vec6& DFV, const Vec6& RV, const Vec6& PTDISP,
           const Vec6& DV, const Point3& PTXYZ, const Codes6& PTCOND) {
  Mat6 G;
  PTMAP(PTXYZ, G);
  for (int i = 1; i <= 6; ++i) {
    DFUV(i) = DFV(i);
    RUV(i) = RV(i);
    DFUV(6 + i) = RUV(6 + i) = 0.0;
  }
  for (int i = 1; i <= 6; ++i) {
    if (PTCOND(i) != 0) continue;
    double moved = 0.0;
    for (int j = 1; j <= 6; ++j) moved += G(i, j) * DV(j);
    RUV(6 + i) = PTDISP(i);
    DFUV(6 + i) = PTDISP(i) - moved;
  }
}

void PTTRANS(const Vec6& DV, Vec6& P, const Point3& PTXYZ, Vec6& Dp, Vec6& Fp,
             const Vec6& PTLOAD, const Codes6& PTCOND, int& done) {
  const double x = PTXYZ(1), y = PTXYZ(2), z = PTXYZ(3);
  if (x == 0.0 && y == 0.0 && z == 0.0) {
    done = 0;
    return;
  }
  Mat6 G;
  PTMAP(PTXYZ, G);
  MATVEC6(Dp, G, DV);
  done = 1;
  // The moments move to the point with the forces at the origin as they came in.
  const double P1 = P(1), P2 = P(2), P3 = P(3);
  Fp(1) = P1;
  Fp(2) = P2;
  Fp(3) = P3;
  Fp(4) = P(4) - y * P3 + z * P2;
  Fp(5) = P(5) + x * P3 - z * P1;
  Fp(6) = P(6) - x * P2 + y * P1;
  for (int i = 1; i <= 6; ++i) {
    if (PTCOND(i) != 1) continue;
    Fp(i) = PTLOAD(i);
    if (i <= 3) P(i) = PTLOAD(i);
  }
}

void dof_marks(const Model& m, const int* codes, int n, char* LA, char* LB) {
  const char blank = m.UBLANK.view()[0], star = m.USTAR.view()[0];
  for (int i = 0; i < n; ++i) {
    const bool load_given = codes[i] != 0;
    LA[i] = load_given ? star : blank;
    LB[i] = load_given ? blank : star;
  }
}

void DOFLABEL(const Model& m, const Codes6& PTCOND, char LA[6], char LB[6]) {
  dof_marks(m, PTCOND.data(), 6, LA, LB);
}

}  // namespace torva
