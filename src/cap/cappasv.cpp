#include "cap/cappasv.h"

#include <algorithm>
#include <cmath>

#include "cap/fvec.h"
#include "pile/pilestif.h"

namespace torva {

void PASVBLOCK(double W, double gsd, double thk, double a, double& R, double& M) {
  R = M = 0.0;
  if (!(gsd < -1.0e-6)) return;
  double e = std::fabs(gsd), f = 0.0;
  if (e > thk) {
    f = (e - thk) * W / e;
    e = thk;
  }
  R = (W + f) * 0.5 * e;
  M = ((e * 0.5 - a) * f + 0.5 * (W - f) * (e / 3.0 - a)) * e;
}

void PASVLOAD(double R, double M, double uy, double uz, Vec6& F, double still) {
  F.fill(0.0);
  const double s = std::fabs(uy) + std::fabs(uz);
  if (!(s > still)) return;
  const double d = std::fabs(uy) / s;
  const double sy = uy >= 0.0 ? 1.0 : -1.0, sz = uz >= 0.0 ? 1.0 : -1.0;
  F(2) = -sy * R * d;
  F(3) = -sz * R * (1.0 - d);
  F(5) = -sz * M * (1.0 - d);
  F(6) = sy * M * d;
}

double passive_still(const Model& m, double disp) {
  double still = std::max(1.0e-14, m.TOLCAP * disp);
  if (m.IALTTOL == 1) still = std::max(still, m.TOLCAPD);
  return still;
}

void CAPMEANS(Model& m) {
  double gs = 0.0, w = 0.0;
  for (int g = 1; g <= m.NROW; ++g) {
    gs += m.GSDEPTH(g);
    w += m.PCAPP(g);
  }
  const int n = m.NROW > 0 ? m.NROW : 1;
  m.GSDMEAN = gs / n;
  m.CAPPMEAN = w / n;
}

void CAPPASV(Model& m, Vec6& F, const Vec6& U, int& status) {
  Vec6 scratch;
  FVEC(m, scratch, U, status);
  CAPMEANS(m);
  double R = 0.0, M = 0.0;
  PASVBLOCK(m.CAPPMEAN, m.GSDMEAN, m.CAPTHK, m.NROW > 0 ? m.CORX(m.NROW) : 0.0, R, M);
  // The cap deflection of the next cap-level evaluations: the square root of the sum of
  // the magnitudes of the two horizontal movements, as the user p-y curves take it.
  const double s = std::fabs(U(2)) + std::fabs(U(3));
  m.CAPUH = std::sqrt(s);
  const double disp = std::sqrt(U(1) * U(1) + U(2) * U(2) + U(3) * U(3));
  PASVLOAD(R, M, U(2), U(3), F, passive_still(m, disp));
}

void CAPPASVK(Model& m, Mat6& K, const Vec6& U, int& status) {
  const double ht = m.IUNITS == 2 ? PSTIF_STEP_T_SI : PSTIF_STEP_T;
  double h[7];
  for (int j = 1; j <= 6; ++j) h[j] = j <= 3 ? ht : PSTIF_STEP_R;
  Vec6 Fp[7], Fm[7], V = U, scratch;
  for (int side = 0; side < 2; ++side)
    for (int j = 1; j <= 6; ++j) {
      V(j) = side == 0 ? U(j) + h[j] : U(j) - h[j];
      FVEC(m, scratch, V, status);
      CAPPASV(m, side == 0 ? Fp[j] : Fm[j], V, status);
      V(j) = U(j);
    }
  for (int j = 1; j <= 6; ++j)
    for (int i = 1; i <= 6; ++i) K(i, j) = (Fp[j](i) - Fm[j](i)) / h[j] * 0.5;
}

}  // namespace torva
