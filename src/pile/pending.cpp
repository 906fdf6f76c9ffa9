// Provided here until the owner's routines land (see pending.h).
#include "pile/pending.h"

#include <cmath>

namespace torva {

namespace {

using SecCol = Arr2<double, MAXPTYPE, MAXSECT>;

// A section property at depth z = x - HEADDEP below the head: the top value of section
// 1 above it, the bottom value of the last section below it, otherwise linear within
// the first section whose bottom is at or below the point.
double sec_interp(const Model& m, int g, int t, double x, const SecCol& top, const SecCol& bot) {
  const int n = m.NSECT(t);
  if (n <= 0) return top(t, 1);
  const double z = x - m.HEADDEP(g);
  if (z < m.SFROM(t, 1)) return top(t, 1);
  if (z > m.STO(t, n)) return bot(t, n);
  int s = n;
  for (int i = 1; i <= n; ++i)
    if (m.STO(t, i) >= z) {
      s = i;
      break;
    }
  const double len = m.STO(t, s) - m.SFROM(t, s);
  if (len == 0.0) return top(t, s);
  return top(t, s) + (z - m.SFROM(t, s)) * (bot(t, s) - top(t, s)) / len;
}

int sec_step(const Model& m, int g, int t, double x, const Arr2<int, MAXPTYPE, MAXSECT>& col) {
  const int n = m.NSECT(t);
  if (n <= 0) return col(t, 1);
  const double z = x - m.HEADDEP(g);
  const double bound = double(1.2f) * m.PILELEN(t);
  for (int s = 1; s <= n; ++s) {
    const double next = s < n ? m.SFROM(t, s + 1) : bound;
    if (z < next) return col(t, s);
  }
  return 0;
}

}  // namespace

double SECEIZ(const Model& m, int g, int t, double x) { return sec_interp(m, g, t, x, m.SEIZ, m.SEIZB); }
double SECEIY(const Model& m, int g, int t, double x) { return sec_interp(m, g, t, x, m.SEIY, m.SEIYB); }
double SECDIAM(const Model& m, int g, int t, double x) {
  const double d = sec_interp(m, g, t, x, m.SDIAM, m.SDIAMB);
  if (d < double(1.0e-5f) && m.NSECT(t) >= 1) return m.SDIAM(t, m.NSECT(t));
  return d;
}
double SECIZ(const Model& m, int g, int t, double x) { return sec_interp(m, g, t, x, m.SIZ, m.SIZB); }
double SECIY(const Model& m, int g, int t, double x) { return sec_interp(m, g, t, x, m.SIY, m.SIYB); }
double SECAREA(const Model& m, int g, int t, double x) { return sec_interp(m, g, t, x, m.SAREA, m.SAREAB); }
double SECMN(const Model& m, int g, int t, double x) { return sec_interp(m, g, t, x, m.SMN, m.SMNB); }
double SECVN(const Model& m, int g, int t, double x) { return sec_interp(m, g, t, x, m.SVN, m.SVNB); }
int SECMPHIY(const Model& m, int g, int t, double x) { return sec_step(m, g, t, x, m.ISEIZ); }
int SECMPHIZ(const Model& m, int g, int t, double x) { return sec_step(m, g, t, x, m.ISEIY); }

// Placeholder until the soil profile lookups land: no default modulus.
double KDEPDEF(Model&, double) { return 0.0; }

// Placeholder until the p-y criteria land: the generated curves are refused.
void PYCURVE(Model&, int, int& status, int, int, NodeVec&, NodeVec&, NodeVec&, NodeVec&, NodeVec&,
             NodeVec&) {
  if (status == 0) status = ST_NOTBUILT;
}

// Placeholders until the soil-movement routines land: no movement.
void SMOVEPILE(Model&, int) {}
void SMOVEY(const Model&, int, NodeVec& s) { s.fill(0.0); }
void SMOVEZ(const Model&, int, NodeVec& s) { s.fill(0.0); }

// Placeholders until the axial and torsional curves land.
double AXSLOPE(const Model&, int, int) { return 0.0; }
double TRSLOPE(const Model&, int, int) { return 0.0; }

void MATVEC6(double y[6], const double A[36], const double x[6]) {
  for (int i = 0; i < 6; ++i) {
    double s = 0.0;
    for (int j = 0; j < 6; ++j) s += A[i + 6 * j] * x[j];
    y[i] = s;
  }
}

double VLEN2(double a, double b) {
  if (std::abs(a) < 1.0e-24) a = 0.0;
  if (std::abs(b) < 1.0e-24) b = 0.0;
  return std::sqrt(a * a + b * b);
}

}  // namespace torva
