#include "pile/llp3d.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "io/fmt.h"
#include "model/messages.h"
#include "pile/dload.h"
#include "pile/eimphi.h"
#include "pile/istate.h"
#include "pile/loads.h"
#include "pile/pysecant.h"
#include "soil/lookups.h"
#include "soil_py/pycurve.h"
#include "soil_py/smove.h"

namespace torva {

namespace {

// Solves after which a solution with soil movement that has not closed averages its springs.
constexpr int kSettleAfter = 100;

// r[i] = sqrt(y[i]^2 + z[i]^2) for i < count: two at a time where the target has packed
// doubles (the square root is correctly rounded either way, so the values are the same).
void resultant(int count, const double* y, const double* z, double* r) {
  int i = 0;
#if defined(__SSE2__)
  for (; i + 2 <= count; i += 2) {
    const __m128d a = _mm_loadu_pd(y + i), b = _mm_loadu_pd(z + i);
    _mm_storeu_pd(r + i, _mm_sqrt_pd(_mm_add_pd(_mm_mul_pd(a, a), _mm_mul_pd(b, b))));
  }
#endif
  for (; i < count; ++i) r[i] = std::sqrt(y[i] * y[i] + z[i] * z[i]);
}

// Whether the set-up kept in s serves row g (property t, n segments) as it stands: the
// inputs are compared by value, so a row takes the set-up another row with the same
// inputs left.
bool same_setup(const Model& m, int g, int t, int n, const Llp3dScratch& s) {
  const auto& e = s.setup;
  return e.valid && e.t == t && e.n == n && e.gen == m.PYGEN && m.PYGEN != 0 &&
         same_bits(&e.head, &m.HEADDEP(g), 1) && same_bits(&e.free, &m.FREELEN(g), 1) &&
         same_bits(&e.top, &m.LTOP(1), 1) && same_bits(&e.depn(1), &m.DEPN(g, 1), n + 1) &&
         same_bits(&e.depax(1), &m.DEPAX(g, 1), n + 1);
}

// Keeps the row's inputs with its set-up; `ei`, `es` whether those parts are kept.
void keep_setup(const Model& m, int g, int t, int n, bool ei, bool es, Llp3dScratch& s) {
  auto& e = s.setup;
  e.valid = m.PYGEN != 0;
  e.ei = ei;
  e.es = es;
  e.t = t;
  e.n = n;
  e.gen = m.PYGEN;
  e.head = m.HEADDEP(g);
  e.free = m.FREELEN(g);
  e.top = m.LTOP(1);
  for (int k = 1; k <= n + 1; ++k) {
    e.depn(k) = m.DEPN(g, k);
    e.depax(k) = m.DEPAX(g, k);
  }
  if (ei) {
    e.EIz = s.EIz;
    e.EIy = s.EIy;
  }
  if (es) e.Es = s.Es;
}

// With soil movement the springs act on the pile's movement relative to the soil,
// (y - smy, z - smz), and the p-y curves take the length of that movement. The curves,
// generated or the row's user curves, subtract the magnitude of the soil movement from the
// deflection they are handed, so a node with movement is handed |soil movement| +
// |relative movement|. The difference of the two magnitudes would not do: where the pile
// passes the soil's magnitude in another direction it is near zero while the relative
// movement is not, and the secant modulus of a curve without initial slope (the cube-root
// clays) grows without bound there, so the spring force Es x relative movement exceeds
// the curve's resistance many times; the head forces then jump with the head movement
// across the soil's direction and the shapes cycle without closing. Nodes without
// movement keep their resultant deflection.
void relative_to_soil(int n, Llp3dScratch& s) {
  for (int k = 1; k <= n + 1; ++k) {
    const double sy = s.smy(k), sz = s.smz(k);
    if (sy == 0.0 && sz == 0.0) continue;
    const double dy = s.y(k + 3) - sy, dz = s.z(k + 3) - sz;
    s.ures(k) = std::sqrt(sy * sy + sz * sz) + std::sqrt(dy * dy + dz * dz);
  }
}

}  // namespace

bool llp_solve_plane(int N, double h, const NodeVec& EIv, const NodeVec& Esv, const NodeVec& Paxv,
                     const NodeVec& qv, NodeVec& av, NodeVec& bv, NodeVec& cv, NodeVec& yv,
                     NodeVec& yoldv) {
  // 0-based views: entry m lives at [m - 1].
  const double* EI = EIv.data();
  const double* Es = Esv.data();
  const double* Pax = Paxv.data();
  const double* q = qv.data();
  double* al = av.data();
  double* be = bv.data();
  double* ga = cv.data();
  double* y = yv.data();
  const double h2 = h * h, h4 = h2 * h2;

  // Forward elimination of the node equations m = 5..N, the finite-difference form of
  // (EI y'')'' + Pax y'' + Es y = q; each row leaves y(m) in terms of y(m+1), y(m+2).
  double a2 = al[2], b2 = be[2], g2 = ga[2];  // coefficients of entry m - 2
  double a1 = al[3], b1 = be[3], g1 = ga[3];  // and of entry m - 1
  for (int i = 4; i < N; ++i) {  // i = m - 1
    const double eim = EI[i - 1], ei = EI[i], eip = EI[i + 1];
    const double ph2 = Pax[i] * h2;
    const double ca = eim;
    const double cb = -2.0 * eim - 2.0 * ei + ph2;
    const double cc = eim + 4.0 * ei + eip + Es[i] * h4 - 2.0 * ph2;
    const double cd = -2.0 * ei - 2.0 * eip + ph2;
    const double ce = eip;
    const double E = cb + ca * b2;
    const double D = cc + ca * g2 + E * b1;
    if (D == 0.0 || !std::isfinite(D)) return false;
    const double r = 1.0 / D;
    const double an = (q[i] * h4 - ca * a2 - E * a1) * r;
    const double bn = -(cd + E * g1) * r;
    const double gn = -ce * r;
    al[i] = an;
    be[i] = bn;
    ga[i] = gn;
    a2 = a1, b2 = b1, g2 = g1;
    a1 = an, b1 = bn, g1 = gn;
  }

  // Tip: zero moment and zero shear (with the axial-load term) at N give y(N+1), y(N+2).
  // y(N), y(N-1), y(N-2) as c0 + c1 y(N+1) + c2 y(N+2):
  const int n0 = N - 1, n1 = N - 2, n2 = N - 3;  // 0-based N, N-1, N-2
  const double c0N = al[n0], c1N = be[n0], c2N = ga[n0];
  const double c0N1 = al[n1] + be[n1] * c0N, c1N1 = be[n1] * c1N + ga[n1],
               c2N1 = be[n1] * c2N;
  const double c0N2 = al[n2] + be[n2] * c0N1 + ga[n2] * c0N,
               c1N2 = be[n2] * c1N1 + ga[n2] * c1N, c2N2 = be[n2] * c2N1 + ga[n2] * c2N;
  const double eiN = EI[n0], pN = Pax[n0] * h2;
  const double A11 = c1N1 - 2.0 * c1N + 1.0;
  const double A12 = c2N1 - 2.0 * c2N;
  const double r1 = -(c0N1 - 2.0 * c0N);
  const double A21 = eiN * (-2.0 + 2.0 * c1N1 - c1N2) + pN * (1.0 - c1N1);
  const double A22 = eiN * (1.0 + 2.0 * c2N1 - c2N2) - pN * c2N1;
  const double r2 = -(eiN * (2.0 * c0N1 - c0N2) - pN * c0N1);
  const double det = A11 * A22 - A12 * A21;
  if (det == 0.0 || !std::isfinite(det)) return false;
  const double u1 = (r1 * A22 - A12 * r2) / det;
  const double u2 = (A11 * r2 - A21 * r1) / det;

  // Keep the previous shape, then back-substitute from the tip to the top.
  std::copy(y + 3, y + N, yoldv.data() + 3);
  y[N] = u1;
  y[N + 1] = u2;
  y[N + 2] = 0.0;
  for (int i = N - 1; i >= 0; --i) y[i] = al[i] + be[i] * y[i + 1] + ga[i] * y[i + 2];
  return true;
}

// Head rows (entries 1..4) of a plane: the head deflection is prescribed; the fictitious
// node above the head follows from the connection. False when the rotational-spring
// condition is degenerate (no bending stiffness and no spring at the head).
bool head_rows(int code, double h, double EI4, double K, double yt, double S, NodeVec& a,
               NodeVec& b, NodeVec& c) {
  a(1) = a(2) = b(1) = b(2) = c(1) = c(2) = 0.0;
  a(4) = yt;
  b(4) = c(4) = 0.0;
  b(3) = 0.0;
  if (code == 1) {  // pinned: zero curvature at the head
    a(3) = 2.0 * yt;
    c(3) = -1.0;
  } else if (code == 2) {  // fixed: the head slope follows the given rotation
    a(3) = 2.0 * h * S;
    c(3) = 1.0;
  } else {  // rotational spring: moment = K x (rotation + slope)
    const double den = 2.0 * EI4 + h * K;
    if (den == 0.0 || !std::isfinite(den)) return false;
    a(3) = (2.0 * h * h * K * S + 4.0 * EI4 * yt) / den;
    c(3) = (h * K - 2.0 * EI4) / den;
  }
  return true;
}

// A failed pile solution: the warning on the results report and the run log, and the
// pile state 1 (the load step fails).
bool llp_closed(int N, double tol, const NodeVec& y, const NodeVec& yold) {
  for (int mm = 4; mm <= N; ++mm)
    if (!(std::abs(yold(mm) - y(mm)) < tol)) return false;  // a NaN never closes
  return true;
}

void fail_noclosure(Model& m, int g) {
  std::string l = "NO CLOSURE OF A LLP AFTER ";
  put_I(l, m.MAXITLLP, 5);
  l += "  ITERATIONS";
  fail_llp(m, g, l);
}

void fail_llp(Model& m, int g, const std::string& text) {
  std::string l = "     ** WARNING **  " + text;
  put_X(l, 10);
  l += "PILE GROUP";
  put_I(l, g, 5);
  emit(m, TO_REPORT | TO_RUNLOG, "");
  emit(m, TO_REPORT | TO_RUNLOG, "");
  emit(m, TO_REPORT | TO_RUNLOG, l);
  raise_istate(m, 1);
}

bool LLP3D(Model& m, int g, double yt, double Sy, double zt, double Sz, double P, double Tq,
           double& Vy, double& Vz, double& My, double& Mz, int& status, const double u[6],
           const double QT[36], const NodeVec& MOV, const NodeVec& FAX, Llp3dScratch& s) {
  Vy = Vz = My = Mz = 0.0;
  const int t = m.PTYPE(g);
  const int n = m.NSEG(t);
  const double h = m.PILELEN(t) / n;
  const int N = n + 4;
  const bool user = m.IPYUSER == 1 && m.PYSETG(g) > 0;
  const bool mphi = m.NMPHI > 0;

  // The row's curve inputs stay as they are until this solution returns.
  PySolution curves(s.kept);

  // 1. A straight pile, nothing carried over from an earlier call.
  for (NodeVec* v : {&s.y, &s.z, &s.yold, &s.zold, &s.EIz, &s.EIy, &s.Es, &s.Pax, &s.qy, &s.qz,
                     &s.qy0, &s.qz0, &s.ay, &s.by, &s.cy, &s.az, &s.bz, &s.cz, &s.smy, &s.smz,
                     &s.ures, &s.Esp, &s.pr, &s.Fsm, &s.um, &s.s1m, &s.s2m, &s.Espm, &s.prm,
                     &s.Fm})
    v->fill(0.0);
  s.ns = 0;

  // 2. Free-field soil movement at the pile nodes. A row whose soil does not move at any
  // node is solved as in a model without movement.
  bool moving = false;
  if (m.NSMPT > 0) {
    SMOVEPILE(m, g);
    SMOVEY(m, g, s.smy.span());
    SMOVEZ(m, g, s.smz.span());
    for (int k = 1; k <= n + 1 && !moving; ++k) moving = s.smy(k) != 0.0 || s.smz(k) != 0.0;
  }
  // 3. Distributed loads (DLOADY/DLOADZ fill by pile node; the scratch p-y arrays serve
  // as their buffer).
  if (m.DLNODES(g) != 0) {
    DLOADY(m, t, g, s.ures);
    for (int k = 1; k <= n + 1; ++k) s.qy0(k + 3) = s.qy(k + 3) = s.ures(k);
    DLOADZ(m, t, g, s.ures);
    for (int k = 1; k <= n + 1; ++k) s.qz0(k + 3) = s.qz(k + 3) = s.ures(k);
    s.ures.fill(0.0);
  }
  // 4. Initial soil moduli; kept with the row's set-up.
  const bool same = same_setup(m, g, t, n, s);
  bool warned = false;
  if (!user && same && s.setup.es) {
    s.Es = s.setup.Es;
  } else if (!user) {
    bool below = false;
    for (int k = 1; k <= n + 1; ++k) {
      const double dep = m.DEPN(g, k);
      if (!below && m.LTOP(1) <= dep) below = true;
      if (below) s.Es(k + 3) = KDEPDEF(m, dep, &warned) * (dep - m.HEADDEP(g) - m.FREELEN(g));
    }
  } else {
    for (int k = 1; k <= n + 1; ++k) {
      s.s1m(k + 3) = s.smy(k);
      s.s2m(k + 3) = s.smz(k);
    }
    PYSECANT(m, g, s.um, s.Espm, s.s1m, s.s2m, s.Fm, s.prm);
    for (int mm = 4; mm <= N; ++mm) s.Es(mm) = s.Espm(mm);
  }
  // 5. Axial force of the beam-column terms.
  const bool axdist = m.IAXVAR == 1 && m.LSNO(g) <= 0;
  for (int mm = 4; mm <= N; ++mm) s.Pax(mm) = axdist ? FAX(mm) : P;
  // 6. Bending stiffness; the fictitious entries take the head and tip sections. Elastic
  // sections keep it for the next call on the row.
  if (!mphi && same && s.setup.ei) {
    s.EIz = s.setup.EIz;
    s.EIy = s.setup.EIy;
  } else {
    for (int mm = 3; mm <= n + 6; ++mm) {
      const int k = std::clamp(mm - 3, 1, n + 1);
      s.EIz(mm) = SECEIZ(m, g, t, m.DEPAX(g, k));
      s.EIy(mm) = SECEIY(m, g, t, m.DEPAX(g, k));
    }
  }
  if (!same) keep_setup(m, g, t, n, !mphi, !user && !warned, s);
  if (mphi) {
    EIMPHIY(m, g, P, s.EIz, s.y);
    EIMPHIZ(m, g, P, s.EIy, s.z);
  }

  const double tol = m.TOLPILE;
  int ns = 1;
  for (;;) {
    if (mphi && m.IEIPREV == 1) {
      EIMPHIY(m, g, P, s.EIz, s.y);
      EIMPHIZ(m, g, P, s.EIy, s.z);
    }
    const bool ok =
        head_rows(m.CONNECTY(g), h, s.EIz(4), m.SPZ(g), yt, Sy, s.ay, s.by, s.cy) &&
        head_rows(m.CONNECTZ(g), h, s.EIy(4), m.SPY(g), zt, Sz, s.az, s.bz, s.cz) &&
        llp_solve_plane(N, h, s.EIz, s.Es, s.Pax, s.qy, s.ay, s.by, s.cy, s.y, s.yold) &&
        llp_solve_plane(N, h, s.EIy, s.Es, s.Pax, s.qz, s.az, s.bz, s.cz, s.z, s.zold);
    s.ns = ns;
    ++s.solves;
    if (!ok) {
      // A singular system has no deflected shape: the pile solution has failed.
      fail_llp(m, g, "SINGULAR EQUATIONS OF A LLP");
      return false;
    }
    if (mphi && m.IEIPREV == 0) {
      EIMPHIY(m, g, P, s.EIz, s.y);
      EIMPHIZ(m, g, P, s.EIy, s.z);
    }

    // Closure: two successive shapes agree at every node of both planes.
    if (llp_closed(N, tol, s.y, s.yold) && llp_closed(N, tol, s.z, s.zold) && ns != 1) break;

    ++ns;
    if (ns > m.MAXITLLP) {
      fail_noclosure(m, g);
      return false;
    }

    // Secant springs at the resultant deflection of every node (relative to the soil where
    // it moves), from the generated curves or from the row's user curves.
    resultant(n + 1, s.y.data() + 3, s.z.data() + 3, s.ures.data());
    if (moving) relative_to_soil(n, s);
    if (!user) {
      PYCURVE(m, t, status, g, g, s.ures, s.Esp, s.smy, s.smz, s.Fsm, s.pr, &s.kept);
      if (status != 0) return false;
    } else {
      for (int k = 1; k <= n + 1; ++k) s.um(k + 3) = s.ures(k);
      PYSECANT(m, g, s.um, s.Espm, s.s1m, s.s2m, s.Fm, s.prm);
      for (int k = 1; k <= n + 1; ++k) s.Esp(k) = s.Espm(k + 3);
    }
    // With soil movement the secant springs of a node moving with the soil swing between
    // the initial modulus and a soft one, and the shapes can cycle without closing: a
    // solution that has not closed in kSettleAfter solves takes the mean of the old and
    // the new springs from then on, which settles the cycle on the same closed shape.
    const bool settle = moving && ns > kSettleAfter;
    for (int k = 1; k <= n + 1; ++k) {
      if (settle) s.Esp(k) = 0.5 * (s.Es(k + 3) + s.Esp(k));
      if (moving) {  // the soil movement loads the pile as Es x movement
        s.qy(k + 3) = s.smy(k) * s.Esp(k) + s.qy0(k + 3);
        s.qz(k + 3) = s.smz(k) * s.Esp(k) + s.qz0(k + 3);
      }
      s.Es(k + 3) = s.Esp(k);
    }
  }

  // Head values of the closed shape: the soil reactions less the loads, summed over the
  // pile, and the head moments from the curvature. Reactions and loads take the same
  // weights (half at the head and at the tip), so that a pile moving with its soil, where
  // each node's spring force Es x y equals its movement load Es x movement, carries no
  // head shear.
  double sy = 0.0, sz = 0.0;
  for (int mm = 4; mm <= N; ++mm) {
    const double w = (mm == 4 || mm == N) ? 0.5 : 1.0;
    sy += w * (s.Es(mm) * s.y(mm) - s.qy(mm));
    sz += w * (s.Es(mm) * s.z(mm) - s.qz(mm));
  }
  const double h2 = h * h;
  Vy = h * sy;
  Vz = h * sz;
  My = -s.EIz(4) * (s.y(3) - 2.0 * s.y(4) + s.y(5)) / h2;
  Mz = -s.EIy(4) * (s.z(3) - 2.0 * s.z(4) + s.z(5)) / h2;

  if (m.IOPASS != 0) LLP3DRES(m, g, P, Tq, Vy, Vz, My, Mz, u, QT, MOV, FAX, s);
  return true;
}

}  // namespace torva
