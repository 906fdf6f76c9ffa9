#include "pile/pilestif.h"

namespace torva {

void PILESTIF(Model& m, int g, Mat6& K, const Vec6& U, int& status, PilefScratch& s) {
  const double ht = (m.IUNITS == 2) ? PSTIF_STEP_T_SI : PSTIF_STEP_T;
  auto step = [&](int j) { return j <= 3 ? ht : PSTIF_STEP_R; };

  int first = 0;
  auto eval = [&](Vec6& F, const Vec6& w) {
    int st = 0;
    PILEF(m, g, F, w, st, s);
    if (first == 0) first = st;
  };

  Vec6 w = U;
  Vec6 F0, Fp[6], Fm[6];
  eval(F0, w);  // precedes the perturbed evaluations; its forces are not used
  for (int j = 1; j <= 6; ++j) {
    w(j) = U(j) + step(j);
    eval(Fp[j - 1], w);
    w(j) = U(j);
  }
  for (int j = 1; j <= 6; ++j) {
    w(j) = U(j) - step(j);
    eval(Fm[j - 1], w);
    w(j) = U(j);
  }
  for (int j = 1; j <= 6; ++j)
    for (int i = 1; i <= 6; ++i) K(i, j) = ((Fp[j - 1](i) - Fm[j - 1](i)) / step(j)) * 0.5;
  status = first;
}

}  // namespace torva
