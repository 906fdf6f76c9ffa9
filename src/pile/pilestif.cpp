#include "pile/pilestif.h"

#include <cmath>

namespace torva {

namespace {

// True when a central difference is swamped by the closure error of the pile solutions:
// the forward and the backward difference of a freedom's own force (F+ - F0 and F0 - F-)
// differ in sign or by more than a factor of three. For a smooth response they agree to
// the step times its curvature, and a kink of a curve between them changes the slope by
// a bounded ratio; three forces a step far below the pile tolerance apart that do not
// line up differ by the jitter the pile closures leave, not by the response to the step.
bool swamped(double fp, double f0, double fm) {
  const double a = fp - f0, b = f0 - fm;
  return std::fabs(a - b) > 0.5 * (std::fabs(a) + std::fabs(b));
}

}  // namespace

void PILESTIF(Model& m, int g, Mat6& K, const Vec6& U, int& status, PilefScratch& s) {
  const double ht = (m.IUNITS == 2) ? PSTIF_STEP_T_SI : PSTIF_STEP_T;
  // The wider steps of a swamped column: a translation of 100 pile tolerances, over which
  // the closure error is about a hundredth of the difference, and a rotation in the same
  // ratio to it as the steps above.
  const double wide_t = 100.0 * m.TOLPILE;
  auto step = [&](int j) { return j <= 3 ? ht : PSTIF_STEP_R; };

  int first = 0;
  auto eval = [&](Vec6& F, const Vec6& w) {
    int st = 0;
    PILEF(m, g, F, w, st, s);
    if (first == 0) first = st;
  };

  Vec6 w = U;
  Vec6 F0, Fp[6], Fm[6];
  eval(F0, w);
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
  for (int j = 1; j <= 6; ++j) {
    double h = step(j);
    const double wide = j <= 3 ? wide_t : wide_t * (PSTIF_STEP_R / ht);
    if (first == 0 && wide > h && swamped(Fp[j - 1](j), F0(j), Fm[j - 1](j))) {
      h = wide;
      w(j) = U(j) + h;
      eval(Fp[j - 1], w);
      w(j) = U(j) - h;
      eval(Fm[j - 1], w);
      w(j) = U(j);
    }
    for (int i = 1; i <= 6; ++i) K(i, j) = ((Fp[j - 1](i) - Fm[j - 1](i)) / h) * 0.5;
  }
  status = first;
}

}  // namespace torva
