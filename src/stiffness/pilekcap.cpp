#include "stiffness/pilekcap.h"

#include <array>
#include <initializer_list>
#include <cmath>

#include "io/fmt.h"
#include "model/limits.h"
#include "pile/pileres.h"
#include "soil/lookups.h"

namespace torva {

namespace {

void sym(Mat12& K, int i, int j, double v) {
  K(i, j) += v;
  if (i != j) K(j, i) += v;
}

// One value of a free-format trace record.
void free_value(std::string& s, double v) {
  s += ' ';
  s += free_real(v);
}

// The trace records of a pile model: the row and its node count, the head values (one
// record), then one record per nodal spring.
void trace_pile(std::string& trace, int g, int n, std::initializer_list<double> head,
                const double* ks) {
  trace.clear();
  put_X(trace, 5);
  trace += "PILE=";
  put_I(trace, g, 5);
  put_X(trace, 5);
  trace += "NNODES=";
  put_I(trace, n + 1, 5);
  trace += '\n';
  for (double v : head) free_value(trace, v);
  trace += '\n';
  for (int k = 1; k <= n + 1; ++k) {
    free_value(trace, ks[k]);
    trace += '\n';
  }
}

}  // namespace

void CONDENSE(double* K, double* Kc, int n, int m, int& ierr) {
  ierr = 0;
  for (int k = 0; k < m * m; ++k) Kc[k] = 0.0;
  auto at = [&](int i, int j) -> double& { return K[(i - 1) + n * (j - 1)]; };
  for (int p = 1; p <= n - m; ++p) {
    const double kpp = at(p, p);
    if (kpp == 0.0) {
      ierr = 1;
      return;
    }
    for (int j = p + 1; j <= n; ++j) {
      const double f = at(p, j) / kpp;
      if (f == 0.0) continue;
      for (int i = p + 1; i <= n; ++i) at(i, j) -= f * at(i, p);
    }
  }
  for (int i = 1; i <= m; ++i)
    for (int j = 1; j <= m; ++j) Kc[(i - 1) + m * (j - 1)] = at(n - m + i, n - m + j);
}

void HEADCONN(double* Qd, int n, int code, int r, int t, double s) {
  auto Q = [&](int i, int j) -> double& { return Qd[(i - 1) + n * (j - 1)]; };
  const bool pinned = code == 1 || (code == 3 && s == 0.0);
  if (code == 3 && !pinned) {
    const double d = Q(r, r) / s + 1.0;
    if (d != 0.0) {
      Q(t, t) -= Q(t, r) * Q(r, t) / (d * s);
      Q(t, r) /= d;
      Q(r, t) /= d;
      Q(r, r) /= d;
      return;
    }
    // A spring of exactly -Q(r,r) cancels the pile's own rotational stiffness: the head
    // turns freely, as a pinned head does.
  } else if (!pinned) {
    return;  // fixed head
  }
  const double qrr = Q(r, r);
  // With no rotational stiffness at the head there is nothing to condense (and no division
  // by zero): the rotation simply carries no moment.
  if (qrr != 0.0) {
    for (int i = 1; i <= n; ++i)
      for (int j = 1; j <= n; ++j)
        if (i != r && j != r) Q(i, j) -= Q(i, r) * Q(r, j) / qrr;
  }
  for (int k = 1; k <= n; ++k) Q(r, k) = Q(k, r) = 0.0;
}

void BEAMK3D(double EIz, double EIy, double EA, double GJ, double L, double P, int iaxial,
             Mat12& K) {
  for (int i = 1; i <= 12; ++i)
    for (int j = 1; j <= 12; ++j) K(i, j) = 0.0;
  const double a = EIz, b = EIy, L2 = L * L, L3 = L2 * L;
  sym(K, 1, 1, EA / L);
  sym(K, 7, 7, EA / L);
  sym(K, 1, 7, -EA / L);
  sym(K, 4, 4, GJ / L);
  sym(K, 10, 10, GJ / L);
  sym(K, 4, 10, -GJ / L);
  // Bending in the x-y plane (v with the rotation about z).
  sym(K, 2, 2, 12 * a / L3);
  sym(K, 8, 8, 12 * a / L3);
  sym(K, 2, 8, -12 * a / L3);
  sym(K, 2, 6, -6 * a / L2);
  sym(K, 2, 12, -6 * a / L2);
  sym(K, 6, 8, 6 * a / L2);
  sym(K, 8, 12, 6 * a / L2);
  sym(K, 6, 6, 4 * a / L);
  sym(K, 12, 12, 4 * a / L);
  sym(K, 6, 12, 2 * a / L);
  // Bending in the x-z plane (w with the rotation about y).
  sym(K, 3, 3, 12 * b / L3);
  sym(K, 9, 9, 12 * b / L3);
  sym(K, 3, 9, -12 * b / L3);
  sym(K, 3, 5, 6 * b / L2);
  sym(K, 3, 11, 6 * b / L2);
  sym(K, 5, 9, -6 * b / L2);
  sym(K, 9, 11, -6 * b / L2);
  sym(K, 5, 5, 4 * b / L);
  sym(K, 11, 11, 4 * b / L);
  sym(K, 5, 11, 2 * b / L);
  if (iaxial != 1) return;
  // Geometric stiffness of the axial force: compression softens the transverse terms.
  for (int i : {2, 8, 3, 9}) sym(K, i, i, -P / L);
  sym(K, 2, 8, P / L);
  sym(K, 3, 9, P / L);
  sym(K, 2, 6, P / 10);
  sym(K, 2, 12, P / 10);
  sym(K, 6, 8, -P / 10);
  sym(K, 8, 12, -P / 10);
  sym(K, 3, 5, -P / 10);
  sym(K, 3, 11, -P / 10);
  sym(K, 5, 9, P / 10);
  sym(K, 9, 11, P / 10);
  for (int i : {5, 6, 11, 12}) sym(K, i, i, -2 * P * L / 15);
  sym(K, 5, 11, P * L / 30);
  sym(K, 6, 12, P * L / 30);
}

void PILEKCAP(const Model& m, int g, int iaxial, int& status, Mat6& Kh, std::string& trace) {
  const int t = m.PTYPE(g);
  const int n = m.NSEG(t);
  const double L = m.SEGLEN(t);
  std::array<double, MAXNODE + 1> eiz{}, eiy{}, ks{};
  for (int k = 1; k <= n + 1; ++k) {
    const double x = m.DEPAX(g, k > 1 ? k - 1 : 1);
    eiz[std::size_t(k)] = SECEIZ(m, g, t, x);
    eiy[std::size_t(k)] = SECEIY(m, g, t, x);
    ks[std::size_t(k)] = m.KSOIL(g, k);
  }
  const double P = m.PAXTOP(g);

  trace_pile(trace, g, n, {m.KAXTOP(g), m.KTORTOP(g)}, ks.data());

  Mat6 Q;
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) Q(i, j) = 0.0;
  Mat12 K;
  for (int e = n; e >= 1; --e) {
    const std::size_t u = std::size_t(e), l = std::size_t(e + 1);
    BEAMK3D(0.5 * (eiz[u] + eiz[l]), 0.5 * (eiy[u] + eiy[l]), 1.0, 1.0, L, P, iaxial, K);
    for (int i = 1; i <= 6; ++i)
      for (int j = 1; j <= 6; ++j) K(i, j) += Q(i, j);
    if (e == n) {
      K(2, 2) += ks[l];
      K(3, 3) += ks[l];
    }
    K(8, 8) += ks[u];
    K(9, 9) += ks[u];
    // The lower node condensed out: the stiffness at node e of the pile from e down.
    int ierr = 0;
    CONDENSE(K.data(), Q.data(), 12, 6, ierr);
    if (ierr != 0) status = e;
  }
  HEADCONN(Q.data(), 6, m.CONNECTY(g), 6, 2, m.SPZ(g));
  HEADCONN(Q.data(), 6, m.CONNECTZ(g), 5, 3, m.SPY(g));
  Kh = Q;
  Kh(1, 1) = m.KAXTOP(g);
  Kh(4, 4) = m.KTORTOP(g);
}


void BEAMK2D(double EI, double EA, double L, double P, int iaxial, double* Kd) {
  auto K = [&](int i, int j, double v) {
    Kd[(i - 1) + 6 * (j - 1)] += v;
    if (i != j) Kd[(j - 1) + 6 * (i - 1)] += v;
  };
  for (int k = 0; k < 36; ++k) Kd[k] = 0.0;
  const double L2 = L * L, L3 = L2 * L;
  K(1, 1, EA / L);
  K(4, 4, EA / L);
  K(1, 4, -EA / L);
  K(2, 2, 12 * EI / L3);
  K(5, 5, 12 * EI / L3);
  K(2, 5, -12 * EI / L3);
  K(2, 3, -6 * EI / L2);
  K(2, 6, -6 * EI / L2);
  K(3, 5, 6 * EI / L2);
  K(5, 6, 6 * EI / L2);
  K(3, 3, 4 * EI / L);
  K(6, 6, 4 * EI / L);
  K(3, 6, 2 * EI / L);
  if (iaxial != 1) return;
  K(2, 2, -P / L);
  K(5, 5, -P / L);
  K(2, 5, P / L);
  K(2, 3, P / 10);
  K(2, 6, P / 10);
  K(3, 5, -P / 10);
  K(5, 6, -P / 10);
  K(3, 3, -2 * P * L / 15);
  K(6, 6, -2 * P * L / 15);
  K(3, 6, P * L / 30);
}

void PILEKCAP2D(const Model& m, int g, int iaxial, int& status, double* Kh, std::string& trace) {
  const int t = m.PTYPE(g);
  const int n = m.NSEG(t);
  const double L = m.SEGLEN(t);
  std::array<double, MAXNODE + 1> ei{}, ks{};
  for (int k = 1; k <= n + 1; ++k) ei[std::size_t(k)] = SECEIZ(m, g, t, m.DEPN(g, k > 1 ? k - 1 : 1));
  SOILKGET(m, g, ks.data() + 1);
  const double P = m.PAXTOP(g);

  trace_pile(trace, g, n, {m.KAXTOP(g)}, ks.data());

  double Q[9] = {0, 0, 0, 0, 0, 0, 0, 0, 0}, K[36];
  for (int e = n; e >= 1; --e) {
    const std::size_t u = std::size_t(e), l = std::size_t(e + 1);
    BEAMK2D(0.5 * (ei[u] + ei[l]), 1.0, L, P, iaxial, K);
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) K[i + 6 * j] += Q[i + 3 * j];
    if (e == n) K[1 + 6 * 1] += ks[l];
    K[4 + 6 * 4] += ks[u];
    int ierr = 0;
    CONDENSE(K, Q, 6, 3, ierr);
    if (ierr != 0) status = e;
  }
  HEADCONN(Q, 3, m.CONNECTY(g), 3, 2, m.SPZ(g));
  for (int k = 0; k < 9; ++k) Kh[k] = Q[k];
  Kh[0] = m.KAXTOP(g);
}

void PTRANS2D(const Model& m, int g, double* Tt, double* T) {
  const double sb = std::sin(m.BATTER(g)), cb = std::cos(m.BATTER(g));
  const double X = m.HEADDEP(g), Y = m.HEADY(g);
  const double rows[3][3] = {{cb, sb, X * sb - Y * cb}, {-sb, cb, X * cb + Y * sb}, {0.0, 0.0, 1.0}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      T[i + 3 * j] = rows[i][j];
      Tt[j + 3 * i] = rows[i][j];
    }
}

void MATVEC3N(double* out, const double* M, const double* in, int n) {
  for (int k = 0; k < n; ++k)
    for (int i = 0; i < 3; ++i) {
      double s = 0.0;
      for (int j = 0; j < 3; ++j) s += M[i + 3 * j] * in[j + 3 * k];
      out[i + 3 * k] = s;
    }
}

}  // namespace torva
