#include "report/pileplot.h"

#include <cmath>

#include "axial/curvedata.h"
#include "model/model.h"
#include "soil/lookups.h"

namespace torva {

void PILEPLOT(Model& m, int g, int& status) {
  (void)status;
  const int t = m.PTYPE(g);
  const int n = m.NPLTPT;
  if (n < 1) return;  // refused at input; nothing to divide
  const double L = m.PILELEN(t);
  const double h = L / n;
  CDINTS(m, g, n, 0);
  CDREALS(m, {L});
  if (m.NDIM == 3) {
    CDREALS(m, {m.CORX(g), m.CORY(g), m.CORZ(g)});
    const double sb = std::sin(m.BETA(g)), cb = std::cos(m.BETA(g));
    const double sa = std::sin(m.ALPHA(g)), ca = std::cos(m.ALPHA(g));
    CDREALS(m, {sb, cb * ca, cb * sa});
    CDREALS(m, {-cb, sb * ca, sb * sa});
    CDREALS(m, {0.0, -sa, ca});
  } else {
    CDREALS(m, {m.CORX(g), m.CORY(g)});
    const double a = m.PI / 2.0 - m.BATTER(g);
    const double s = std::sin(a), c = std::cos(a);
    CDREALS(m, {c, s});
    CDREALS(m, {-s, c});
  }
  for (int i = 1; i <= n; ++i) {
    const double z = m.CORX(g) + (i - 0.5) * h;
    CDNODE(m, i, z);
    const double D = SECDIAM(m, g, t, z), A = SECAREA(m, g, t, z), Iz = SECIZ(m, g, t, z);
    const double E = SECEMOD(m, g, t, z);
    if (m.NDIM == 3)
      CDREALS(m, {D, A, Iz, SECIY(m, g, t, z), E, SECGJ(m, g, t, z)});
    else
      CDREALS(m, {D, A, Iz, E});
  }
}

}  // namespace torva
