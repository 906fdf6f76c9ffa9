#include "cap/capreac.h"

#include <cmath>

#include "cap/fvec.h"
#include "pile/node.h"
#include "pile/ptrans.h"
#include "soil/nosoil.h"
#include "soil_py/pycurve.h"

namespace torva {

namespace {

// Node depths and layer node ranges of the pseudo pile, by the rule of the pile rows: a
// layer begins at the first node at or below its top (one layer per node at most); the
// layer after the last one begun holds only the last node. False when a node lies below
// the deepest layer.
bool cap_layout(Model& m, int g, int n, double h) {
  const int nl = m.NLAYER;
  for (int L = 1; L <= nl; ++L) m.NODE1(g, L) = m.NODE2(g, L) = 0;
  m.CAPXTOP = m.CORX(g);
  m.DEPN(g, 1) = m.DEPAX(g, 1) = m.CORX(g);
  const bool springs = m.IPYUSER != 1;  // user p-y curves: depths only, no springs
  const double bottom = nl >= 1 ? m.LBOT(nl) : -HUGE_VAL;  // no layers: refused before
  int L = 1;
  for (int k = 1; k <= n + 1; ++k) {
    if (k >= 2) m.DEPN(g, k) = m.DEPAX(g, k) = m.DEPN(g, k - 1) + h;
    if (!springs) continue;
    if (k >= 2 && m.DEPN(g, k) > bottom) return false;
    if (L <= nl && m.LTOP(L) <= m.DEPN(g, k)) m.NODE1(g, L++) = k;
  }
  if (!springs) return true;
  if (L <= nl) m.NODE1(g, L) = n + 1;
  for (int j = 1; j <= nl; ++j)
    m.NODE2(g, j) = m.LBOT(j) >= m.DEPN(g, n + 1) ? n + 1 : (j < nl ? m.NODE1(g, j + 1) - 1 : 0);
  if (nl >= 1) m.NODE2(g, nl) = n + 1;
  return true;
}

// A trace record: a label and two values.
void trace2(TextFile& f, const char* label, double a, double b) {
  f.X(1).A(label).E(a, 24, 15).E(b, 24, 15).nl();
}

}  // namespace

void CAPREAC(Model& m, Vec6& R, const Vec6& U, int& status) {
  R.fill(0.0);
  Mat6 Ht, H, Qt, Q;
  PTRANS(m, m.NROW + 1, Ht, H, Qt, Q);
  Vec6 u, f;
  MATVEC6(u, H, U);
  int st = 0;
  CAPPILE(m, f, u, st);
  if (st != 0) {
    if (status == 0) status = st;
    return;
  }
  MATVEC6(R, Ht, f);
}

void CAPPILE(Model& m, Vec6& f, const Vec6& u, int& status) {
  f.fill(0.0);
  const int g = m.NROW + 1;
  Mat6 Ht, H, Qt, Q;
  PTRANS(m, g, Ht, H, Qt, Q);
  Vec6 v;
  MATVEC6(v, Q, u);
  const int n = m.NCAPINC;
  if (n < 1 || n + 2 > MAXNODE) {  // refused at input; never index past the node tables
    status = ST_INTERNAL;
    return;
  }
  const double h = m.CAPTHKP / n;
  if (m.IPYUSER != 1 && m.NLAYER < 1) {  // soil springs without soil
    NOSOILMSG(m, g, NEED_PY);
    status = ST_NOSOIL;
    return;
  }
  if (!cap_layout(m, g, n, h)) {
    PILEDEEPMSG(m, m.CAPTHKP);
    status = ST_PILEDEEP;
    return;
  }
  double Ry = 0.0, Rz = 0.0, Mz = 0.0, My = 0.0;
  CAPLAT(m, v(2), v(6), v(3), v(5), Ry, Rz, Mz, My, status);
  if (status != 0) return;
  Vec6 fl;
  const double np = m.NPILE(g);
  fl(1) = 0.0;
  fl(2) = np * Ry;
  fl(3) = np * Rz;
  fl(4) = 0.0;
  fl(5) = np * My;
  fl(6) = np * Mz;
  MATVEC6(f, Qt, fl);
}

void CAPLAT(Model& m, double y, double thz, double z, double thy, double& Ry, double& Rz,
            double& Mz, double& My, int& status) {
  Ry = Rz = Mz = My = 0.0;
  const int g = m.NROW + 1;
  const int N = m.NCAPINC;
  const double h = m.CAPTHKP / N;
  NodeArr yn, zn, r, Es, zero, psm, p;
  for (int n = 1; n <= N + 1; ++n) {
    yn(n) = y + (n - 1) * h * thz;
    zn(n) = z - (n - 1) * h * thy;
    r(n) = std::sqrt(zn(n) * zn(n) + yn(n) * yn(n));
    Es(n) = zero(n) = psm(n) = p(n) = 0.0;
  }
  if (m.IPYUSER != 1) {  // with user p-y curves the pseudo pile has no springs
    int st = 0;
    m.ICAPPY = 1;
    PYCURVE(m, m.PTYPE(g), st, g, g, r, Es, zero, zero, psm, p);
    m.ICAPPY = 0;
    if (st != 0) {
      status = st;
      return;
    }
  }
  TextFile& f = m.REPORT;
  f.nl().free("REACTIONS CAP");
  double FY = 0.0, FZ = 0.0, MA = 0.0, MB = 0.0, lever = 0.0;
  for (int n = 1; n <= N + 1; ++n) {
    const double py = Es(n) * yn(n), pz = Es(n) * zn(n);
    f.I(n + 3, 12).E(Es(n), 24, 15).E(h, 24, 15).nl();
    trace2(f, "DISP  ", yn(n), zn(n));
    trace2(f, "RES   ", py, pz);
    trace2(f, "FORCE ", FY, FZ);
    trace2(f, "MOMENT", MA, MB);
    // Trapezoidal weights; the end nodes' halves act at a quarter segment from the ends.
    const bool end = n == 1 || n == N + 1;
    const double w = end ? 0.5 * h : h;
    double x;
    if (n == 1) {
      x = 0.25 * h;
    } else if (n == N + 1) {
      x = lever + 0.75 * h;
    } else {
      lever += h;
      x = lever;
    }
    FY += w * py;
    FZ += w * pz;
    MA += w * py * x;
    MB -= w * pz * x;
  }
  trace2(f, "FORCE ", FY, FZ);
  trace2(f, "MOMENT", MA, MB);
  Ry = -FY;
  Rz = -FZ;
  Mz = -MA;
  My = -MB;
}

void STIFFCD(Model& m, Mat6& K, Vec6& U, int& status) {
  const Vec6 U0 = U;
  Vec6 Rp[7], Rm[7], scratch;
  for (int side = 0; side < 2; ++side)
    for (int j = 1; j <= 6; ++j) {
      const double d = j <= 3 ? 1.0e-7 : 1.0e-13;
      U(j) = side == 0 ? U0(j) + d : U0(j) - d;
      FVEC(m, scratch, U, status);
      CAPREAC(m, side == 0 ? Rp[j] : Rm[j], U, status);
      U(j) = U0(j);
    }
  for (int j = 1; j <= 6; ++j) {
    const double d = j <= 3 ? 1.0e-7 : 1.0e-13;
    for (int i = 1; i <= 6; ++i) K(i, j) = (Rp[j](i) - Rm[j](i)) / d * 0.5;
  }
}

}  // namespace torva
