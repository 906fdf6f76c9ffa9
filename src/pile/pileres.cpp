#include "pile/pileres.h"

namespace torva {

namespace {

// The envelope rule: the first result after a reset initialises the pair; then the
// running minimum and maximum (a value that is neither smaller nor larger, NaN
// included, leaves the pair as it is).
inline void envelope(const Model& m, double v, double& mn, double& mx) {
  if (m.NRESLT == 1) {
    mn = v;
    mx = v;
  }
  if (v < mn) mn = v;
  if (v > mx) mx = v;
}

inline void store_top(Model& m, int g, int s, double v) {
  envelope(m, v, m.EMNTOP(g, s), m.EMXTOP(g, s));
  m.PRTOP(g, s) = v;
}

}  // namespace

void PILEENV(Model& m, int g, double sigma, const double UG[6], const double UL[6],
             const double FG[6], const double FL[6]) {
  for (int i = 0; i < 6; ++i) {
    store_top(m, g, 1 + i, UG[i]);
    store_top(m, g, 7 + i, FG[i]);
    store_top(m, g, 14 + i, UL[i]);
    store_top(m, g, 20 + i, FL[i]);
  }
  store_top(m, g, 13, sigma);
  store_top(m, g, 26, sigma);
}

void PILEENV2D(Model& m, int g, double a1, double a2, double a3, double a4, double a5, double a6,
               double a7, double a8, double a9, double a10, double a11, double a12, double a13) {
  const int slot[14] = {1, 2, 3, 4, 5, 6, 7, 14, 15, 16, 17, 18, 19, 20};
  const double val[14] = {a1, a2, a3, a7, a8, a9, a13, a4, a5, a6, a10, a11, a12, a13};
  for (int i = 0; i < 14; ++i) store_top(m, g, slot[i], val[i]);
}

void PACKNODE(NodeBlock& block, const NodeVec* const (&A)[NNODEQ]) {
  for (int k = 1; k <= NNODEQ; ++k)
    for (int j = 1; j <= MAXNODE; ++j) block(j, k) = (*A[k - 1])(j);
}

namespace {

// The first result of the series, still held in PRNODE alone, becomes the start of both
// envelopes (the envelope rule's first store).
void write_first(Model& m, int g) {
  const int first = m.ENVFIRST(g);
  if (first == 0) return;
  for (int k = 1; k <= NNODEQ; ++k)
    for (int j = 4; j <= first; ++j) m.EMNNODE(g, j, k) = m.EMXNODE(g, j, k) = m.PRNODE(g, j, k);
  if (first > m.ENVNODES(g)) m.ENVNODES(g) = first;
  m.ENVFIRST(g) = 0;
}

}  // namespace

void NODEENV(Model& m, int g, int jlast, int, double, const NodeBlock& block) {
  if (jlast < 4) return;
  if (jlast > MAXNODE) jlast = MAXNODE;
  if (m.NRESLT == 1) {
    // The first result is its own envelope: it is stored once, in PRNODE. A series of one
    // result (a single load case) never writes the envelope tables.
    for (int k = 1; k <= NNODEQ; ++k)
      for (int j = 4; j <= jlast; ++j) m.PRNODE(g, j, k) = block(j, k);
    if (jlast > m.ENVFIRST(g)) m.ENVFIRST(g) = jlast;
    return;
  }
  write_first(m, g);
  if (jlast > m.ENVNODES(g)) m.ENVNODES(g) = jlast;
  for (int k = 1; k <= NNODEQ; ++k)
    for (int j = 4; j <= jlast; ++j) {
      const double v = block(j, k);
      envelope(m, v, m.EMNNODE(g, j, k), m.EMXNODE(g, j, k));
      m.PRNODE(g, j, k) = v;
    }
}

double NODEENVAT(const Model& m, int g, int j, int q, bool max) {
  if (j <= m.ENVFIRST(g)) return m.PRNODE(g, j, q);
  return max ? m.EMXNODE(g, j, q) : m.EMNNODE(g, j, q);
}

void NODEENVRESET(Model& m, int g, int nq) {
  // Quantities past nq keep their envelopes through the reset, so the first result
  // is written out to them.
  if (nq < NNODEQ) write_first(m, g);
  const int last = m.ENVNODES(g);
  for (int q = 1; q <= nq; ++q)
    for (int j = 4; j <= last; ++j) m.EMNNODE(g, j, q) = m.EMXNODE(g, j, q) = 0.0;
  m.ENVNODES(g) = 0;
  m.ENVFIRST(g) = 0;
}

void SOILKGET(const Model& m, int g, double* K) {
  const int n = m.NSEG(m.PTYPE(g)) + 1;
  for (int i = 1; i <= n; ++i) K[i - 1] = m.KSOIL(g, i);
}

}  // namespace torva
