#include "cap/cappasv.h"

#include <algorithm>
#include <cmath>

#include "cap/fvec.h"
#include "pile/pilestif.h"
#include "soil_py/pycurve.h"

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

void PASVLOAD(double R, double M, double uy, double uz, Vec6& F, double band) {
  F.fill(0.0);
  const double s = std::fabs(uy) + std::fabs(uz);
  if (s >= band && s > 0.0) {
    const double d = std::fabs(uy) / s;
    const double sy = uy >= 0.0 ? 1.0 : -1.0, sz = uz >= 0.0 ? 1.0 : -1.0;
    F(2) = -sy * R * d;
    F(3) = -sz * R * (1.0 - d);
    F(5) = -sz * M * (1.0 - d);
    F(6) = sy * M * d;
  } else if (band > 0.0) {
    // Partly mobilised: the force above at the band's edge, in proportion to the movement.
    F(2) = -R * uy / band;
    F(3) = -R * uz / band;
    F(5) = -M * uz / band;
    F(6) = M * uy / band;
  }
}

double passive_band(const Model& m) { return std::max(tangent_step(m), 10.0 * m.TOLPILE); }

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
  // The cap deflection at which the user p-y curves give the cap-level pressure: the square
  // root of the sum of the magnitudes of the two horizontal movements of U itself, so that
  // the force belongs to U alone (not to the evaluation before it).
  m.CAPUH = std::sqrt(std::fabs(U(2)) + std::fabs(U(3)));
  Vec6 scratch;
  FVEC(m, scratch, U, status);
  CAPMEANS(m);
  double R = 0.0, M = 0.0;
  PASVBLOCK(m.CAPPMEAN, m.GSDMEAN, m.CAPTHK, m.NROW > 0 ? m.CORX(m.NROW) : 0.0, R, M);
  PASVLOAD(R, M, U(2), U(3), F, passive_band(m));
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
