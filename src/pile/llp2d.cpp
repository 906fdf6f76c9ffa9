#include "pile/llp2d.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "pile/axforce.h"
#include "pile/dload.h"
#include "pile/eimphi.h"
#include "pile/llp3d.h"
#include "pile/loads.h"
#include "pile/pysecant.h"
#include "soil/lookups.h"
#include "soil_py/pycurve.h"
#include "soil_py/smove.h"

namespace torva {

namespace {

// Results of the closed shape and their store in the output passes.
void llp2d_results(Model& m, int g, double P, double V, double ua, const Mat3& T,
                   const NodeVec& MOV, const NodeVec& FAX, Llp2dScratch& s) {
  const int t = m.PTYPE(g);
  const int n = m.NSEG(t);
  const double h = m.PILELEN(t) / n;
  const int N = n + 4;
  constexpr double tiny = 1.0e-14;

  if (m.IOPASS == 2) {  // equivalent stiffnesses of the pile for the stiffness estimation
    m.EQTOP(g, 1) = P;
    // Without axial movement the slope of the load-settlement curve next to the origin,
    // scaled like the head force by the row's axial-load factor.
    m.EQTOP(g, 2) = std::abs(ua) > tiny ? P / ua : AXSLOPE(m, g, 1) * m.AXFAC(g);
    m.EQTOP(g, 3) = h;
    m.EQDEPN(g, 0) = h;
    for (int mm = 4; mm <= N; ++mm) {
      m.EQDEPN(g, mm) = (mm - 4) * h;
      // The secant soil-spring modulus: soil reaction over deflection.
      m.EQKN(g, mm) = std::abs(s.y(mm)) > tiny ? s.Es(mm) * s.y(mm) / s.y(mm) : 0.0;
    }
    return;
  }

  const double psi = m.BATTER(g);
  const double sn = std::sin(psi), cs = std::cos(psi);
  const double G1 = T(1, 1) * P + T(1, 2) * V + T(1, 3) * s.M(4);
  const double G2 = T(2, 1) * P + T(2, 2) * V + T(2, 3) * s.M(4);
  const double uv = ua * cs - s.y(4) * sn;
  const double uh = ua * sn + s.y(4) * cs;
  PILEENV2D(m, g, uv, uh, s.th(4), ua, s.y(4), s.th(4), G1, G2, s.M(4), P, V, s.M(4), s.sig(4));

  const bool axdist = m.IAXVAR != 0 && m.LSNO(g) <= 0;
  // A soil that does not move along the row (a movement of zero, or along Z only) leaves
  // the results of a row without movement.
  bool moving = false;
  for (int k = 1; m.NSMPT > 0 && k <= n + 1; ++k) moving = moving || s.sm(k) != 0.0;
  const bool combination = m.ICOMB != 0;
  for (int mm = 4; mm <= N; ++mm) {
    s.mov(mm) = axdist ? MOV(mm) : 0.0;
    s.fax(mm) = axdist ? FAX(mm) : P;
    s.vert(mm) = s.mov(mm) * cs - s.y(mm) * sn;
    s.hori(mm) = s.mov(mm) * sn + s.y(mm) * cs;
    s.M(mm) = -s.M(mm);  // stored as +EI y''
    if (!combination) s.rM(mm) = s.rV(mm) = 0.0;  // capacity ratios of combinations only
    if (moving) {
      // The signed reaction of the last p-y evaluation, and the distributed load alone.
      const bool user = m.IPYUSER == 1 && m.PYSETG(g) > 0;
      s.p(mm) = user ? s.prm(mm) : s.pr(mm - 3);
      s.q(mm) = s.q0(mm - 3);
    }
  }
  s.block.fill(0.0);
  const std::initializer_list<std::pair<int, const NodeVec*>> cols = {
      {1, &s.mov}, {2, &s.y},   {5, &s.vert}, {6, &s.hori}, {9, &s.M},  {12, &s.F}, {15, &s.p},
      {18, &s.fax}, {19, &s.sig}, {20, &s.EI}, {22, &s.q},  {24, &s.rM}, {25, &s.rV}};
  for (const auto& [k, v] : cols)
    for (int mm = 4; mm <= N; ++mm) s.block(mm, k) = (*v)(mm);
  NODEENV(m, g, N, m.NDIM, h, s.block);
}

// With soil movement the springs act on the pile's movement relative to the soil, y - sm,
// with sm signed along the pile's lateral axis. The p-y curves subtract the magnitude of
// the movement from the deflection they are handed, so a node with movement is handed
// |sm| + |y - sm|: the deflection itself would take the curve at |y - |sm||, which for a
// soil moving the negative way is the sum of the two magnitudes where the pile moves with
// the soil. Nodes without movement keep their deflection.
void relative_to_soil(int n, const NodeVec& sm, NodeVec& yk) {
  for (int k = 1; k <= n + 1; ++k)
    if (sm(k) != 0.0) yk(k) = std::abs(sm(k)) + std::abs(yk(k) - sm(k));
}

// The soil reactions of the nodes with movement take their sense from the relative
// movement: positive where the pile deflects less than the soil moves (y <= sm), as the
// reaction of a pile without movement is positive where it deflects the negative way.
// y by solution entry (node k at k + 3), sm and pr by pile node.
void reaction_sense(int n, const NodeVec& sm, const NodeVec& y, NodeVec& pr) {
  for (int k = 1; k <= n + 1; ++k)
    if (sm(k) != 0.0) pr(k) = y(k + 3) <= sm(k) ? std::abs(pr(k)) : -std::abs(pr(k));
}

}  // namespace

bool LLP2D(Model& m, int g, double yt, double st, double P, double& V, double& M, int& status,
           double ua, const Mat3& T, const NodeVec& MOV, const NodeVec& FAX, Llp2dScratch& s) {
  V = M = 0.0;
  const int t = m.PTYPE(g);
  const int n = m.NSEG(t);
  const double h = m.PILELEN(t) / n;
  const int N = n + 4;
  const bool user = m.IPYUSER == 1 && m.PYSETG(g) > 0;
  const bool movement = m.NSMPT > 0;
  const bool mphi = m.NMPHI > 0;

  // The row's curve inputs stay as they are until this solution returns.
  PySolution curves(s.kept);

  // 1. A straight pile, nothing carried over from an earlier call.
  for (NodeVec* v : {&s.y, &s.yold, &s.EI, &s.Es, &s.Pax, &s.q, &s.a, &s.b, &s.c, &s.q0, &s.sm,
                     &s.zero, &s.yk, &s.Esp, &s.pr, &s.Fsm, &s.s1m, &s.Espm, &s.prm, &s.Fm,
                     &s.mov, &s.fax, &s.th, &s.M, &s.F, &s.p, &s.sig, &s.rM, &s.rV, &s.vert,
                     &s.hori})
    v->fill(0.0);
  s.ns = 0;

  // 2. Free-field soil movement along the pile's lateral axis, by pile node.
  if (movement) {
    SMOVEPILE(m, g);
    SMOVEY(m, g, s.sm.span());
    for (int k = 1; k <= n + 1; ++k) s.s1m(k + 3) = s.sm(k);
  }
  // 3. Distributed lateral load.
  if (m.DLNODES(g) != 0) {
    DLOADY(m, t, g, s.q0);
    for (int k = 1; k <= n + 1; ++k) s.q(k + 3) = s.q0(k);
  }
  // 4. Starting springs.
  if (user) {
    // A starting modulus growing with the distance below the head.
    for (int mm = 4; mm <= N; ++mm) s.Es(mm) = (mm - 4) * h;
  } else {
    // The p-y springs of a straight shape from yt at the head to 0 at the tip; the soil
    // movement loads the pile only from the next update on.
    for (int k = 1; k <= n + 1; ++k) s.yk(k) = yt * (1.0 - double(k - 1) / n);
    if (movement) relative_to_soil(n, s.sm, s.yk);
    PYCURVE(m, t, status, g, g, s.yk, s.Esp, s.sm, s.zero, s.Fsm, s.pr, &s.kept);
    if (status != 0) return false;
    for (int k = 1; k <= n + 1; ++k) s.Es(k + 3) = s.Esp(k);
  }
  // 5. Axial force of the beam-column terms.
  const bool axdist = m.IAXVAR == 1 && m.LSNO(g) <= 0;
  if (axdist) {
    s.Pax(3) = FAX(4);
    for (int mm = 4; mm <= n + 6; ++mm) s.Pax(mm) = FAX(std::min(mm, N));
  } else {
    for (int mm = 3; mm <= n + 6; ++mm) s.Pax(mm) = P;
  }
  // 6. Elastic rigidity; the fictitious entries take the head and tip sections.
  for (int mm = 3; mm <= n + 6; ++mm) {
    const int k = std::clamp(mm - 3, 1, n + 1);
    s.EI(mm) = SECEIZ(m, g, t, m.DEPAX(g, k));
  }
  // 7. The initial secant of every node of a nonlinear section.
  if (mphi) EIMPHIY(m, g, P, s.EI, s.y);
  const double tol = m.TOLPILE;
  int ns = 1;
  for (;;) {
    if (mphi && m.IEIPREV == 1) EIMPHIY(m, g, P, s.EI, s.y);
    // 8. Head condition, rebuilt before every solve from the current head stiffness (a
    // nonlinear section changes it), as in the 3-D solution. The plane's slope dy/dx at the
    // head is st, so the head rows take the rotation with the opposite sign of the 3-D y
    // plane.
    const bool ok = head_rows(m.CONNECTY(g), h, s.EI(4), m.SPZ(g), yt, -st, s.a, s.b, s.c) &&
                    llp_solve_plane(N, h, s.EI, s.Es, s.Pax, s.q, s.a, s.b, s.c, s.y, s.yold);
    s.ns = ns;
    if (!ok) {
      // A singular system has no deflected shape: the pile solution has failed.
      fail_llp(m, g, "SINGULAR EQUATIONS OF A LLP");
      return false;
    }
    if (mphi && m.IEIPREV == 0) EIMPHIY(m, g, P, s.EI, s.y);

    // Closure: two successive shapes agree at every node; the first solve is never
    // accepted.
    if (llp_closed(N, tol, s.y, s.yold) && ns != 1) break;

    ++ns;
    if (ns > m.MAXITLLP) {
      fail_noclosure(m, g);
      return false;
    }

    // New secant springs at the deflections of the last solve.
    if (user) {
      PYSECANT(m, g, s.y, s.Espm, s.s1m, s.zero, s.Fm, s.prm);
      for (int mm = 4; mm <= N; ++mm) s.Es(mm) = s.Espm(mm);
    } else {
      for (int k = 1; k <= n + 1; ++k) s.yk(k) = s.y(k + 3);
      if (movement) relative_to_soil(n, s.sm, s.yk);
      PYCURVE(m, t, status, g, g, s.yk, s.Esp, s.sm, s.zero, s.Fsm, s.pr, &s.kept);
      if (status != 0) return false;
      if (movement) reaction_sense(n, s.sm, s.y, s.pr);
      for (int k = 1; k <= n + 1; ++k) {
        s.Es(k + 3) = s.Esp(k);
        if (movement) s.q(k + 3) = s.q0(k) + s.sm(k) * s.Esp(k);  // movement as a load
      }
    }
  }

  // Slopes, moments (sign of the head moment), shears and soil reactions.
  const double h2 = h * h;
  for (int mm = 4; mm <= N + 1; ++mm) {
    s.th(mm) = (s.y(mm + 1) - s.y(mm - 1)) / (2.0 * h);
    s.M(mm) = -s.EI(mm) * (s.y(mm - 1) - 2.0 * s.y(mm) + s.y(mm + 1)) / h2;
  }
  s.M(N) = 0.0;  // the tip carries no moment
  s.F(4) = s.Pax(4) * s.th(4) - (s.M(5) - s.M(4)) / h;
  for (int mm = 5; mm <= N; ++mm)
    s.F(mm) = s.Pax(mm) * s.th(mm) - (s.M(mm + 1) - s.M(mm - 1)) / (2.0 * h);
  double sum = 0.0;
  for (int mm = 4; mm <= N; ++mm) {
    s.p(mm) = s.Es(mm) * s.y(mm);
    const double w = (mm == 4 || mm == N) ? 0.5 : 1.0;
    sum += w * s.p(mm) - s.q(mm);
  }
  V = h * sum;
  M = s.M(4);

  // Stress and capacity ratios; a section without area or inertia adds no stress.
  constexpr double cap_tiny = double(1.0e-14f);
  for (int mm = 4; mm <= N; ++mm) {
    const double x = m.DEPAX(g, mm - 3);
    const double D = SECDIAM(m, g, t, x), iz = SECIZ(m, g, t, x), A = SECAREA(m, g, t, x);
    s.sig(mm) = (iz > 0.0 ? std::abs(s.M(mm)) * D / (2.0 * iz) : 0.0) +
                (A > 0.0 ? std::abs(s.Pax(mm)) / A : 0.0);
    const double mn = SECMN(m, g, t, x), vn = SECVN(m, g, t, x);
    if (mn > cap_tiny && m.RFBEND != 0.0) s.rM(mm) = std::abs(s.M(mm)) / mn / m.RFBEND;
    if (vn > cap_tiny && m.RFSHEAR != 0.0) s.rV(mm) = std::abs(s.F(mm)) / vn / m.RFSHEAR;
  }

  if (m.IOPASS != 0) llp2d_results(m, g, P, V, ua, T, MOV, FAX, s);
  return true;
}

}  // namespace torva
