#include "capfe/elstif.h"

#include <cmath>

#include "capfe/shapeq.h"
#include "model/model.h"
#include "model/status.h"
#include "pile/matinv.h"

namespace torva {

namespace {

// Shear correction of the plate: E t / (2.4 (1 + nu)), 2.4 as a single-precision value.
constexpr double SHEAR_DIV = double(2.4f);

void trace6(TextFile& f, const char* label, const double* v) {
  f.A(label);
  for (int i = 0; i < 6; ++i) f.E(v[i], 13, 5);
  f.nl();
}

void trace_row(TextFile& f, const char* label, int i, const double* a) {
  f.A(label).I(i, 5);
  for (int j = 1; j <= 6; ++j) f.E(a[(i - 1) + (j - 1) * 6], 13, 5);
  f.nl();
}

// c = a b for column-major 6 x 6 matrices; with `bt` the transpose of b is used.
void mul6(double* c, const double* a, const double* b, bool bt) {
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) {
      double s = 0.0;
      for (int k = 0; k < 6; ++k) s += a[i + k * 6] * (bt ? b[j + k * 6] : b[k + j * 6]);
      c[i + j * 6] = s;
    }
}

// The plane-stress block c [1, nu, 0; nu, 1, 0; 0, 0, (1 - nu)/2] in rows and columns 1..3.
template <int N>
void isotropic(Arr2<double, N, N>& d, double c, double nu) {
  d(1, 1) = c;
  d(1, 2) = c * nu;
  d(2, 1) = c * nu;
  d(2, 2) = c;
  d(3, 3) = c * (1.0 - nu) / 2.0;
}

// DB = D B over the first nc columns.
template <int R, int C>
void mat_product(Arr2<double, R, C>& db, const Arr2<double, R, R>& d, const Arr2<double, R, C>& b, int nc) {
  for (int j = 1; j <= nc; ++j)
    for (int i = 1; i <= R; ++i) {
      double s = 0.0;
      for (int k = 1; k <= R; ++k) s += d(i, k) * b(k, j);
      db(i, j) = s;
    }
}

// K += B' (D B) dv over the upper triangle of the first n rows and columns.
template <int R, int C, int N>
void add_btdb(double (&k)[N][N], const Arr2<double, R, C>& b, const Arr2<double, R, C>& db, int n, double dv) {
  for (int i = 1; i <= n; ++i)
    for (int j = i; j <= n; ++j) {
      double s = 0.0;
      for (int q = 1; q <= R; ++q) s += b(q, i) * db(q, j);
      k[i - 1][j - 1] += s * dv;
    }
}

// The element variable (0-based) of drilling-penalty variable a: u, v, theta_z of each node.
int drill_var(int a) {
  constexpr int dof[3] = {0, 1, 5};
  return 6 * (a / 3) + dof[a % 3];
}

// kd = the drilling penalty of element e over its variables u, v, theta_z (node-major),
// gt the penalty per unit area (shear modulus times thickness).
bool drilling(PlateRun& r, int e, int nn, double gt, double (&kd)[27][27]) {
  FEWORK& w = r.w;
  for (auto& row : kd)
    for (double& x : row) x = 0.0;
  const int nd = nn <= 4 ? 2 : 3;
  double pt[3], wt[3];
  gauss_rule(nd, pt, wt);
  for (int i = 0; i < nd; ++i)
    for (int j = 0; j < nd; ++j) {
      SHAPEQ(w, pt[i], pt[j], nn);
      double detj = 0.0;
      if (!JACOB2(r, e, detj, gauss_no(i + 1, j + 1, nd))) return false;
      const double dv = gt * detj * wt[i] * wt[j];
      double b[27];
      for (int k = 1; k <= nn; ++k) {
        b[3 * (k - 1)] = 0.5 * w.SHPDXY(2, k);
        b[3 * (k - 1) + 1] = -0.5 * w.SHPDXY(1, k);
        b[3 * (k - 1) + 2] = w.SHPVAL(k);
      }
      for (int a = 0; a < 3 * nn; ++a)
        for (int c = 0; c < 3 * nn; ++c) kd[a][c] += b[a] * b[c] * dv;
    }
  return true;
}

}  // namespace

void side_nodes(int side, int& a, int& b, int& c) {
  a = side;
  b = side == 4 ? 1 : side + 1;
  c = side + 4;
}

void gather_xy(PlateRun& r, int e) {
  for (int k = 1; k <= r.m.NNODE; ++k) {
    const int n = std::abs(r.LNODS(k, e));
    r.w.ELXY(1, k) = r.COORD(1, n);
    r.w.ELXY(2, k) = r.COORD(2, n);
    r.w.ELXY(3, k) = 0.0;
  }
}

double side_length(PlateRun& r, int side, int nside) {
  int a = 0, b = 0, c = 0;
  side_nodes(side, a, b, c);
  // On side 1 of the natural square (t = -1) only nodes 1, 2 and 5 vary with s: their
  // derivatives are those of the one-dimensional functions of the side's ends and middle.
  double xs = r.w.SHPDER(1, 1) * r.w.ELXY(1, a) + r.w.SHPDER(1, 2) * r.w.ELXY(1, b);
  double ys = r.w.SHPDER(1, 1) * r.w.ELXY(2, a) + r.w.SHPDER(1, 2) * r.w.ELXY(2, b);
  if (nside > 4) {
    xs += r.w.SHPDER(1, 5) * r.w.ELXY(1, c);
    ys += r.w.SHPDER(1, 5) * r.w.ELXY(2, c);
  }
  return std::sqrt(xs * xs + ys * ys);
}

void DMEMB(PlateRun& r, int imat) {
  const double e = r.PROPS(1, imat), nu = r.PROPS(2, imat);
  const double c = e / (1.0 - nu * nu);
  r.w.MEMDMAT.fill(0.0);
  isotropic(r.w.MEMDMAT, c, nu);
}

void DPLATE(PlateRun& r, int imat) {
  const double e = r.PROPS(1, imat), nu = r.PROPS(2, imat), t = r.PROPS(3, imat);
  const double dd = e * t * t * t / (12.0 * (1.0 - nu * nu));
  auto& d = r.w.PLTDMAT;
  d.fill(0.0);
  isotropic(d, dd, nu);
  d(4, 4) = e * t / (SHEAR_DIV * (1.0 + nu));
  d(5, 5) = d(4, 4);
}

void BMEMB(PlateRun& r) {
  auto& b = r.w.MEMBMAT;
  const int nn = r.m.NNODE;
  for (int j = 1; j <= 2 * nn; ++j)
    for (int i = 1; i <= 3; ++i) b(i, j) = 0.0;
  for (int k = 1; k <= nn; ++k) {
    const double nx = r.w.SHPDXY(1, k), ny = r.w.SHPDXY(2, k);
    const int cu = 2 * k - 1, cv = 2 * k;
    b(1, cu) = nx;
    b(2, cv) = ny;
    b(3, cu) = ny;
    b(3, cv) = nx;
  }
}

void BPLATE(PlateRun& r) {
  auto& b = r.w.PLTBMAT;
  const int nn = r.m.NNODE;
  for (int j = 1; j <= 3 * nn; ++j)
    for (int i = 1; i <= 5; ++i) b(i, j) = 0.0;
  for (int k = 1; k <= nn; ++k) {
    const double n = r.w.SHPVAL(k), nx = r.w.SHPDXY(1, k), ny = r.w.SHPDXY(2, k);
    const int cw = 3 * k - 2, cx = 3 * k - 1, cy = 3 * k;
    b(1, cx) = -nx;
    b(2, cy) = -ny;
    b(3, cx) = -ny;
    b(3, cy) = -nx;
    b(4, cw) = nx;
    b(4, cx) = -n;
    b(5, cw) = ny;
    b(5, cy) = -n;
  }
}

void DBMEMB(PlateRun& r) { mat_product(r.w.MEMDB, r.w.MEMDMAT, r.w.MEMBMAT, 2 * r.m.NNODE); }

void DBPLATE(PlateRun& r) { mat_product(r.w.PLTDB, r.w.PLTDMAT, r.w.PLTBMAT, 3 * r.m.NNODE); }

void PILEAX(double t[36]) {
  for (int i = 0; i < 36; ++i) t[i] = 0.0;
  auto at = [&](int i, int j) -> double& { return t[(i - 1) + (j - 1) * 6]; };
  // Plate x along pile Z, plate y along pile Y, plate z (w) up, against pile X. The plate
  // rotations are slopes: theta_x = dw/dx = -(rotation about Y), theta_y = dw/dy = rotation
  // about Z; the drilling rotation about z is minus the rotation about X.
  at(1, 3) = 1.0;
  at(2, 2) = 1.0;
  at(3, 1) = -1.0;
  at(4, 5) = -1.0;
  at(5, 6) = 1.0;
  at(6, 4) = -1.0;
}

bool ELSTIF(PlateRun& r) {
  Model& m = r.m;
  FEWORK& w = r.w;
  const int nn = m.NNODE, nevab = m.NEVAB, ng = m.NGAUS;
  // Element-local matrices, fixed size (9 nodes at most).
  double ke[54][54], km[18][18], kp[27][27], kd[27][27];
  double u[54];
  double tax[36];
  PILEAX(tax);
  // A nodal stiffness enters once, through the first element that holds its node.
  std::vector<char> nodstif_used(std::size_t(m.NNSTI), 0);

  for (int e = 1; e <= m.NELEM; ++e) {
    // The element record holds every Gauss point's slot; those an element does not use are
    // written as zeros, so the scratch file is the same from run to run.
    w.PLTDBG.fill(0.0);
    w.MEMDBG.fill(0.0);
    w.GPXY.fill(0.0);
    gather_xy(r, e);
    for (auto& row : ke)
      for (double& x : row) x = 0.0;
    for (auto& row : km)
      for (double& x : row) x = 0.0;
    for (auto& row : kp)
      for (double& x : row) x = 0.0;
    const int imat = r.MATNO[std::size_t(e - 1)];
    const double thick = r.PROPS(3, imat);
    DPLATE(r, imat);
    DMEMB(r, imat);
    const double g = 0.5 * r.PROPS(1, imat) / (1.0 + r.PROPS(2, imat));
    // Drilling: the penalty G t (theta_z - omega)^2 over the element, omega = (dv/dx -
    // du/dy) / 2 the in-plane rotation of the membrane, so that the drilling rotation
    // follows the cap's twist and turns with its moment. Variables u, v, theta_z of each
    // node; a full rule (2 x 2 points for 4 nodes, 3 x 3 otherwise) whatever NGAUS is, so
    // that no drilling rotation is left without stiffness. Done before the element's own
    // Gauss points, which leave their coordinates for the element record.
    if (!drilling(r, e, nn, g * (thick == 0.0 ? 1.0 : thick), kd)) return false;

    for (int i = 1; i <= ng; ++i)
      for (int j = 1; j <= ng; ++j) {
        const int p = gauss_no(i, j, ng);
        double dv = 0.0;
        if (!GAUSSAREA(r, e, i, j, dv)) return false;
        BPLATE(r);
        DBPLATE(r);
        add_btdb(kp, w.PLTBMAT, w.PLTDB, 3 * nn, dv);
        for (int b = 1; b <= 3 * nn; ++b)
          for (int k = 1; k <= 5; ++k) w.PLTDBG(k, b, p) = w.PLTDB(k, b);
        const double dvm = thick == 0.0 ? dv : thick * dv;
        BMEMB(r);
        DBMEMB(r);
        add_btdb(km, w.MEMBMAT, w.MEMDB, 2 * nn, dvm);
        for (int b = 1; b <= 2 * nn; ++b)
          for (int k = 1; k <= 3; ++k) w.MEMDBG(k, b, p) = w.MEMDB(k, b);
      }
    // Mirror the upper triangles.
    for (int a = 0; a < 3 * nn; ++a)
      for (int b = 0; b < a; ++b) kp[a][b] = kp[b][a];
    for (int a = 0; a < 2 * nn; ++a)
      for (int b = 0; b < a; ++b) km[a][b] = km[b][a];

    for (int mm = 1; mm <= nn; ++mm)
      for (int n = 1; n <= nn; ++n) {
        for (int a = 0; a < 2; ++a)
          for (int b = 0; b < 2; ++b)
            ke[6 * (mm - 1) + a][6 * (n - 1) + b] = km[2 * (mm - 1) + a][2 * (n - 1) + b];
        for (int a = 0; a < 3; ++a)
          for (int b = 0; b < 3; ++b)
            ke[6 * (mm - 1) + 2 + a][6 * (n - 1) + 2 + b] = kp[3 * (mm - 1) + a][3 * (n - 1) + b];
      }
    // Drilling penalty: variable 3(m-1)+c of kd (c = u, v, theta_z) is 6(m-1)+1, 2, 6.
    for (int a = 0; a < 3 * nn; ++a)
      for (int b = 0; b < 3 * nn; ++b) ke[drill_var(a)][drill_var(b)] += kd[a][b];

    // Current displacement of the element's variables.
    for (int k = 1; k <= nn; ++k) {
      const int n = r.LNODS(k, e);
      for (int i = 1; i <= 6; ++i) {
        const std::size_t v = std::size_t(6 * (n - 1) + i - 1);
        u[6 * (k - 1) + i - 1] = r.ASDIS[v] + r.TSDIS[v];
      }
    }
    // Internal force.
    for (int a = 0; a < nevab; ++a) {
      double s = 0.0;
      for (int b = 0; b < nevab; ++b) s += ke[a][b] * u[b];
      r.ELVEC(a + 1, e) -= s;
    }
    auto spring = [&](int var, double k) {  // var 0-based element variable
      ke[var][var] += k;
      r.ELVEC(var + 1, e) -= k * u[var];
    };
    // Nodal stiffnesses.
    for (int k = 1; k <= nn; ++k) {
      const int n = r.LNODS(k, e);
      for (int q = 1; q <= m.NNSTI; ++q) {
        if (nodstif_used[std::size_t(q - 1)] || r.NSNOD[std::size_t(q - 1)] != n) continue;
        for (int i = 1; i <= 6; ++i) spring(6 * (k - 1) + i - 1, r.NSVAL(i, q));
        nodstif_used[std::size_t(q - 1)] = 1;
      }
    }
    // Distributed stiffnesses.
    for (int q = 1; q <= m.NDSTI; ++q) {
      if (r.DSEL[std::size_t(q - 1)] != e) continue;
      for (int i = 1; i <= ng; ++i)
        for (int j = 1; j <= ng; ++j) {
          double dv = 0.0;
          if (!GAUSSAREA(r, e, i, j, dv)) return false;
          for (int k = 1; k <= nn; ++k)
            for (int d = 1; d <= 6; ++d) {
              const double v = r.DSVAL(d, q);
              if (std::abs(v) >= FE_TINY) spring(6 * (k - 1) + d - 1, w.SHPVAL(k) * dv * v);
            }
        }
    }
    // Concentrated stiffnesses.
    for (int q = 1; q <= m.NCSTI; ++q) {
      if (r.PSEL[std::size_t(q - 1)] != e) continue;
      SHAPEQ(w, r.PSXY(1, q), r.PSXY(2, q), nn);
      for (int k = 1; k <= nn; ++k)
        for (int d = 1; d <= 6; ++d) {
          const double v = r.PSVAL(d, q);
          if (std::abs(v) >= FE_TINY) spring(6 * (k - 1) + d - 1, w.SHPVAL(k) * v);
        }
    }
    // Edge stiffnesses.
    const int nside = nn <= 4 ? 4 : 8;
    for (int q = 1; q <= m.NESTI; ++q) {
      if (r.ESINT(1, q) != e) continue;
      const int side = r.ESINT(2, q), d = r.ESINT(3, q);
      int a = 0, b = 0, c = 0;
      side_nodes(side, a, b, c);
      for (int gp = 1; gp <= ng; ++gp) {
        SHAPEQ(w, w.GAUSSPT(gp), -1.0, nside);
        const double n1 = w.SHPVAL(1), n2 = w.SHPVAL(2), n5 = nn > 4 ? w.SHPVAL(5) : 0.0;
        double qv = n1 * r.ESVAL(1, q) + n2 * r.ESVAL(2, q);
        if (nn > 4) qv += n5 * r.ESVAL(3, q);
        const double wt = qv * w.GAUSSWT(gp) * side_length(r, side, nside);
        spring(6 * (a - 1) + d - 1, n1 * wt);
        spring(6 * (b - 1) + d - 1, n2 * wt);
        if (nn > 4) spring(6 * (c - 1) + d - 1, n5 * wt);
      }
    }
    // Piles as nonlinear point springs.
    if (m.ISPRING > 0 && m.NCTSTI > 0) {
      for (int q = 1; q <= m.NCTSTI; ++q) {
        if (r.PIEL[std::size_t(q - 1)] != e) continue;
        SHAPEQ(w, r.PIXY(1, q), r.PIXY(2, q), nn);
        double up[6] = {0, 0, 0, 0, 0, 0}, upile[6], kpile[36], wk[36], kg[36], fp[6], fg[6];
        for (int k = 1; k <= nn; ++k)
          for (int i = 0; i < 6; ++i) up[i] += w.SHPVAL(k) * u[6 * (k - 1) + i];
        // U = T' Up: the transpose of the axes change, column by column.
        double tt[36];
        for (int i = 0; i < 6; ++i)
          for (int j = 0; j < 6; ++j) tt[i + j * 6] = tax[j + i * 6];
        MATVEC6N(upile, tt, up, 1);
        trace6(r.FETRACE, "DDD  ", up);
        trace6(r.FETRACE, "DD2  ", upile);
        int pstat = 0;
        r.piles.tangent(m, q, kpile, upile, pstat);
        if (pstat != 0) {
          r.fail(pstat);
          return false;
        }
        mul6(wk, tax, kpile, false);
        mul6(kg, wk, tax, true);
        for (int i = 1; i <= 6; ++i) trace_row(r.FETRACE, "SS2  ", i, wk);
        for (int i = 1; i <= 6; ++i) trace_row(r.FETRACE, "SS   ", i, kg);
        for (int k = 1; k <= nn; ++k)
          for (int i = 0; i < 6; ++i)
            for (int j = 0; j < 6; ++j)
              if (std::abs(kg[i + j * 6]) >= FE_TINY)
                ke[6 * (k - 1) + i][6 * (k - 1) + j] += -w.SHPVAL(k) * kg[i + j * 6];
        r.piles.force(m, q, fp, upile, pstat);
        if (pstat != 0) {
          r.fail(pstat);
          return false;
        }
        MATVEC6N(fg, tax, fp, 1);
        for (int k = 1; k <= nn; ++k)
          for (int i = 0; i < 6; ++i)
            if (std::abs(fg[i]) >= FE_TINY) r.ELVEC(6 * (k - 1) + i + 1, e) += w.SHPVAL(k) * fg[i];
      }
    }
    // Store the element matrix row by row and write the element record.
    for (int a = 1; a <= nevab; ++a)
      for (int b = 1; b <= nevab; ++b) r.elmat(e, a, b) = ke[a - 1][b - 1];
    double rec[ELREC_LEN];
    for (int i = 0; i < ELREC_PLT; ++i) rec[i] = w.PLTDBG.data()[i];
    for (int i = 0; i < ELREC_MEM; ++i) rec[ELREC_PLT + i] = w.MEMDBG.data()[i];
    for (int i = 0; i < ELREC_XY; ++i) rec[ELREC_PLT + ELREC_MEM + i] = w.GPXY.data()[i];
    if (!r.FORT3.write(rec, ELREC_LEN)) {
      r.file_failed(ST_FILEWRITE, r.FORT3);
      return false;
    }
  }
  return true;
}

}  // namespace torva
