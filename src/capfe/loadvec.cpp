#include "capfe/loadvec.h"

#include <cmath>

#include "capfe/elstif.h"
#include "capfe/shapeq.h"
#include "model/model.h"

namespace torva {

double load_factor(const PlateRun& r) {
  const double span = r.m.TEND - r.m.TINI;
  return span != 0.0 ? (r.m.TCUR - r.m.TINI) / span : 1.0;
}

bool LOADVEC(PlateRun& r) {
  Model& m = r.m;
  FEWORK& w = r.w;
  const int nn = m.NNODE, ng = m.NGAUS;
  const double lfact = load_factor(r);

  // Nodal loads: through the first element, and its first local node, that holds the node.
  for (int q = 1; q <= m.NNLOD; ++q) {
    const int node = r.NLNOD[std::size_t(q - 1)];
    int ee = 0, kk = 0;
    for (int e = 1; e <= m.NELEM && ee == 0; ++e)
      for (int k = 1; k <= nn; ++k)
        if (r.LNODS(k, e) == node) {
          ee = e;
          kk = k;
          break;
        }
    if (ee == 0) continue;  // refused by the mesh checks: every node belongs to an element
    for (int d = 1; d <= 6; ++d) {
      const double v = lfact * r.NLVAL(d, q);
      if (std::abs(v) >= FE_TINY) r.ELVEC(6 * (kk - 1) + d, ee) += v;
    }
  }
  // Distributed loads: intensities per unit area, uniform over the element.
  for (int q = 1; q <= m.NDLOD; ++q) {
    const int e = r.DLEL[std::size_t(q - 1)];
    gather_xy(r, e);
    for (int i = 1; i <= ng; ++i)
      for (int j = 1; j <= ng; ++j) {
        double da = 0.0;
        if (!GAUSSAREA(r, e, i, j, da)) return false;
        for (int k = 1; k <= nn; ++k)
          for (int d = 1; d <= 6; ++d) {
            const double v = lfact * r.DLVAL(d, q);
            if (std::abs(v) >= FE_TINY) r.ELVEC(6 * (k - 1) + d, e) += w.SHPVAL(k) * da * v;
          }
      }
  }
  // Concentrated loads at their natural coordinates.
  for (int q = 1; q <= m.NCLOD; ++q) {
    const int e = r.PLEL[std::size_t(q - 1)];
    if (e == 0) continue;  // refused by the point checks
    SHAPEQ(w, r.PLXY(1, q), r.PLXY(2, q), nn);
    for (int k = 1; k <= nn; ++k)
      for (int d = 1; d <= 6; ++d) {
        const double v = lfact * r.PLVAL(d, q);
        if (std::abs(v) >= FE_TINY) r.ELVEC(6 * (k - 1) + d, e) += w.SHPVAL(k) * v;
      }
  }
  // Edge loads: full intensity in every step.
  const int nside = nn <= 4 ? 4 : 8;
  for (int q = 1; q <= m.NELOD; ++q) {
    const int e = r.ELINT(1, q), side = r.ELINT(2, q), d = r.ELINT(3, q);
    int a = 0, b = 0, c = 0;
    side_nodes(side, a, b, c);
    gather_xy(r, e);
    for (int gp = 1; gp <= ng; ++gp) {
      SHAPEQ(w, w.GAUSSPT(gp), -1.0, nside);
      const double n1 = w.SHPVAL(1), n2 = w.SHPVAL(2), n5 = nn > 4 ? w.SHPVAL(5) : 0.0;
      double qv = r.ELDVAL(1, q) * n1 + r.ELDVAL(2, q) * n2;
      if (nn > 4) qv += r.ELDVAL(3, q) * n5;
      const double cc = qv * w.GAUSSWT(gp) * side_length(r, side, nside);
      r.ELVEC(6 * (a - 1) + d, e) += n1 * cc;
      r.ELVEC(6 * (b - 1) + d, e) += n2 * cc;
      if (nn > 4) r.ELVEC(6 * (c - 1) + d, e) += n5 * cc;
    }
  }
  return true;
}

void VFILL(double* x, int n, double value) {
  for (int i = 0; i < n; ++i) x[i] = value;
}

void VADD(double* x, const double* y, int n) {
  for (int i = 0; i < n; ++i) x[i] += y[i];
}

void ASSEMV(PlateRun& r, std::vector<double>& v) {
  for (int e = 1; e <= r.m.NELEM; ++e)
    for (int k = 1; k <= r.m.NNODE; ++k) {
      const int n = r.LNODS(k, e);
      for (int d = 1; d <= r.m.NDOFN; ++d) v[std::size_t(6 * (n - 1) + d - 1)] += r.ELVEC(6 * (k - 1) + d, e);
    }
}

void NORM6(const double* x, double& t, double& rr, int n) {
  double st = 0.0, sr = 0.0;
  for (int node = 0; node < n / 6; ++node) {
    for (int i = 0; i < 3; ++i) st += x[6 * node + i] * x[6 * node + i];
    for (int i = 3; i < 6; ++i) sr += x[6 * node + i] * x[6 * node + i];
  }
  t = std::sqrt(st);
  rr = std::sqrt(sr);
}

}  // namespace torva
