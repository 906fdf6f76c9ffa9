#include "capfe/frontsol.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "capfe/elstif.h"
#include "model/model.h"
#include "model/status.h"

namespace torva {

bool FRONTSOL(PlateRun& r) {
  Model& m = r.m;
  const int cap = m.FRONTCAP, nevab = m.NEVAB, nn = m.NNODE;
  const int nvar = 6 * m.NPOIN;
  // Front (packed lower triangle by rows), its right-hand sides and variables.
  std::vector<double> fmat(std::size_t(cap) * std::size_t(cap + 1) / 2, 0.0);
  std::vector<double> frhs(std::size_t(cap) + 1, 0.0), backval(std::size_t(cap) + 1, 0.0);
  std::vector<int> fvar(std::size_t(cap) + 1, 0);
  std::vector<int> fixcode(std::size_t(nvar) + 1, 0);
  // One equation record: the pivot row over all front positions, its right-hand side,
  // its front position and its variable number.
  std::vector<double> rec(std::size_t(cap) + 3, 0.0);
  double* pivrow = rec.data();  // pivrow[j-1], j = 1..cap
  auto fm = [&](int a, int b) -> double& {
    if (a < b) std::swap(a, b);
    return fmat[std::size_t(a) * std::size_t(a - 1) / 2 + std::size_t(b - 1)];
  };

  std::fill(r.GLOBV.begin(), r.GLOBV.end(), 0.0);
  for (int k = 1; k <= m.NVFIX; ++k) {
    const int n = r.NOFIX[std::size_t(k - 1)];
    for (int i = 1; i <= 6; ++i) {
      r.GLOBV[std::size_t(6 * (n - 1) + i - 1)] = r.PRESC(i, k);
      fixcode[std::size_t(6 * (n - 1) + i)] = r.IFPRE(i, k);
    }
  }
  // Last appearance of every node: its entry becomes negative until the solution ends.
  for (int n = 1; n <= m.NPOIN; ++n) {
    int le = 0, lk = 0;
    for (int e = 1; e <= m.NELEM; ++e)
      for (int k = 1; k <= nn; ++k)
        if (r.LNODS(k, e) == n) {
          le = e;
          lk = k;
        }
    if (le != 0) r.LNODS(lk, le) = -n;
  }
  auto restore = [&]() {
    for (int e = 1; e <= m.NELEM; ++e)
      for (int k = 1; k <= nn; ++k) r.LNODS(k, e) = std::abs(r.LNODS(k, e));
  };
  r.FORT2.rewind();
  r.FORT3.rewind();
  r.FORT4.rewind();

  int frontw = 0;
  long neq = 0;
  std::vector<int> elvars(static_cast<std::size_t>(nevab)), elpos(static_cast<std::size_t>(nevab));
  for (int e = 1; e <= m.NELEM; ++e) {
    for (int k = 1; k <= nn; ++k) {
      const int n = r.LNODS(k, e);
      for (int i = 1; i <= 6; ++i) {
        const int v = 6 * (std::abs(n) - 1) + i;
        elvars[std::size_t(6 * (k - 1) + i - 1)] = n > 0 ? v : -v;
      }
    }
    for (int a = 0; a < nevab; ++a) {
      const int v = std::abs(elvars[std::size_t(a)]);
      int pos = 0;
      for (int j = 1; j <= frontw; ++j)
        if (fvar[std::size_t(j)] == v) {
          pos = j;
          break;
        }
      if (pos == 0) {
        for (int j = 1; j <= cap; ++j)
          if (fvar[std::size_t(j)] == 0) {
            pos = j;
            break;
          }
        if (pos == 0) {
          r.FELIST.X(4).A("FRONT WIDTH EXCEEDS ITS CAPACITY OF ").I(cap, 5).A(" VARIABLES").nl();
          r.fail(ST_INTERNAL);
          restore();
          return false;
        }
        fvar[std::size_t(pos)] = v;
      }
      elpos[std::size_t(a)] = pos;
      if (pos > frontw) frontw = pos;
    }
    for (int a = 1; a <= nevab; ++a) {
      const int p = elpos[std::size_t(a - 1)];
      frhs[std::size_t(p)] += r.ELVEC(a, e);
      for (int b = 1; b <= a; ++b) fm(p, elpos[std::size_t(b - 1)]) += r.elmat(e, a, b);
    }
    for (int a = 0; a < nevab; ++a) {
      if (elvars[std::size_t(a)] >= 0) continue;
      const int v = -elvars[std::size_t(a)];
      int o = 0;
      for (int j = 1; j <= frontw; ++j)
        if (fvar[std::size_t(j)] == v) {
          o = j;
          break;
        }
      TORVA_ASSERT(o > 0, "eliminated variable not in the front");
      for (int j = 1; j <= cap; ++j) {
        double& x = fm(o, j);
        pivrow[j - 1] = x;
        x = 0.0;
      }
      const double rhs = frhs[std::size_t(o)];
      frhs[std::size_t(o)] = 0.0;
      rec[std::size_t(cap)] = rhs;
      rec[std::size_t(cap) + 1] = o;
      rec[std::size_t(cap) + 2] = v;
      if (!r.FORT2.write(rec.data(), cap + 3)) {
        r.file_failed(ST_FILEWRITE, r.FORT2);
        restore();
        return false;
      }
      ++neq;
      const double piv = pivrow[o - 1];
      const bool fixed = fixcode[std::size_t(v)] == 1;
      // A restrained variable never divides by its pivot: only a free one must have one.
      if (!fixed && (piv == 0.0 || std::isnan(piv))) {
        r.FELIST.X(4).A("NEGATIVE OR ZERO PIVOT ENCOUNTERED FOR VARIABLE NO. ").I(v, 4);
        r.FELIST.A(" OF VALUE ").E(piv, 17, 6).nl();
        if (r.status == 0) {
          static const char* const freedom[6] = {"ALONG X",         "ALONG Y",         "W",
                                                 "ROTATION ABOUT X", "ROTATION ABOUT Y", "ROTATION ABOUT Z"};
          const int node = (v - 1) / 6 + 1;
          const int label = node <= int(r.NODLAB.size()) ? r.NODLAB[std::size_t(node - 1)] : node;
          r.why = std::string(piv == 0.0 ? "ZERO" : "UNDEFINED") + " PIVOT AT NODE " + std::to_string(label) +
                  ", " + freedom[(v - 1) % 6] +
                  (piv == 0.0 ? ": NO PILE, RESTRAINT OR SPRING HOLDS THE PLATE IN THIS MOVEMENT"
                              : ": THE SOLUTION HAS NO FINITE VALUES");
        }
        r.fail(ST_FESOLVE);
        restore();
        return false;
      }
      pivrow[o - 1] = 0.0;
      if (fixed) {
        const double g = r.FIXINC[std::size_t(v - 1)];
        for (int j = 1; j <= frontw; ++j) frhs[std::size_t(j)] -= pivrow[j - 1] * g;
      } else {
        for (int j = 1; j <= frontw; ++j) {
          const double pj = pivrow[j - 1];
          frhs[std::size_t(j)] -= rhs * pj / piv;
          if (std::abs(pj) >= FE_TINY)
            for (int k = 1; k <= j; ++k) fm(j, k) -= pivrow[k - 1] * pj / piv;
        }
      }
      fvar[std::size_t(o)] = 0;
      while (frontw > 0 && fvar[std::size_t(frontw)] == 0) --frontw;
    }
  }
  // Back substitution, newest equation first.
  for (long q = neq; q >= 1; --q) {
    if (!r.FORT2.read_at(q, rec.data(), cap + 3)) {
      r.file_failed(ST_FILEWRITE, r.FORT2);
      restore();
      return false;
    }
    const double rhs = rec[std::size_t(cap)];
    const int o = int(rec[std::size_t(cap) + 1]);
    const int v = int(rec[std::size_t(cap) + 2]);
    const double piv = pivrow[o - 1];
    const std::size_t vi = std::size_t(v - 1);
    if (fixcode[std::size_t(v)] == 1) {
      backval[std::size_t(o)] = r.FIXINC[vi];
      double s = rhs;
      for (int j = 1; j <= cap; ++j) s -= pivrow[j - 1] * backval[std::size_t(j)];
      r.GLOBV[vi] = -s;
      r.DSDIS[vi] = r.FIXINC[vi];
    } else {
      pivrow[o - 1] = 0.0;
      double s = rhs;
      for (int j = 1; j <= cap; ++j) s -= pivrow[j - 1] * backval[std::size_t(j)];
      backval[std::size_t(o)] = s / piv;
      r.DSDIS[vi] = backval[std::size_t(o)];
      if (fixcode[std::size_t(v)] == 2) r.GLOBV[vi] = backval[std::size_t(o)] * r.GLOBV[vi];
    }
  }
  r.FORT2.rewind();
  restore();
  return true;
}

}  // namespace torva
