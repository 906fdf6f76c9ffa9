#include "pile/pilef.h"

#include "pile/axforce.h"
#include "pile/node.h"
#include "pile/piletorq.h"
#include "pile/ptrans.h"

namespace torva {

void PILEF(Model& m, int g, Vec6& F, const Vec6& U, int& status, PilefScratch& s) {
  F.fill(0.0);
  Mat6 Ht, H, Qt, Q;
  PTRANS(m, g, Ht, H, Qt, Q);
  Vec6 u;
  MATVEC6(u, Q, U);  // head displacement in local axes

  // Each step reports into this evaluation's own word, so that a failure of the axial
  // step is not cleared by the node layout's reset before it is seen.
  int st = 0;
  double P = 0.0;
  AXFORCE(m, g, P, u.data(), s.MOV, s.FAX, st);
  if (st != 0) {
    status = st;
    return;
  }
  P *= m.AXFAC(g);

  double T = 0.0;
  PILETORQ(m, g, T, u.data());  // its warnings stand even for a pinned head
  if (m.CONNECTY(g) == 1 || m.CONNECTZ(g) == 1) T = 0.0;

  NODE(m, g, st);
  if (st != 0) {  // the node tables are incomplete: no lateral solution on them
    status = st;
    return;
  }

  // The y plane bends about local z and takes the rotation about z with its sign
  // reversed; the z plane takes the rotation about local y as it is.
  double Vy = 0.0, Vz = 0.0, My = 0.0, Mz = 0.0;
  LLP3D(m, g, u(2), -u(6), u(3), u(5), P, T, Vy, Vz, My, Mz, st, u.data(), Qt.data(), s.MOV,
        s.FAX, s.llp);
  status = st;
  if (st != 0) return;

  const double n = m.NPILE(g);
  Vec6 f;
  f(1) = -n * P;
  f(2) = -n * Vy;
  f(3) = -n * Vz;
  f(4) = -n * T;
  f(5) = n * Mz;
  f(6) = -n * My;
  MATVEC6(F, Qt, f);
}

}  // namespace torva
