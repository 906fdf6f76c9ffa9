// Envelope reset before the load-case series and before the combination series. The node
// envelopes of a row are cleared only over the solution entries stored since the last
// reset: the rest is still zero from the new model, so a run touches only what its rows
// use.
#include "report/envewr.h"

namespace torva {

namespace {

// Clears node quantities 1..nq of every row over the entries stored since the last reset.
void reset_nodes(Model& m, int nq) {
  for (int g = 1; g <= m.NROW; ++g) {
    const int last = m.ENVNODES(g);
    for (int q = 1; q <= nq; ++q)
      for (int n = 4; n <= last; ++n) m.EMNNODE(g, n, q) = m.EMXNODE(g, n, q) = 0.0;
    m.ENVNODES(g) = 0;
  }
}

}  // namespace

void ENVINIT(Model& m) {
  for (int i = 1; i <= 12; ++i) m.EMNCAP(i) = m.EMXCAP(i) = 0.0;
  for (int g = 1; g <= m.NROW; ++g)
    for (int q = 1; q <= NPILETOP; ++q) m.EMNTOP(g, q) = m.EMXTOP(g, q) = 0.0;
  reset_nodes(m, NNODEQ);
}

void ENVINIT2D(Model& m) {
  for (int i : {1, 2, 3, 7, 8, 9}) m.EMNCAP(i) = m.EMXCAP(i) = 0.0;
  for (int g = 1; g <= m.NROW; ++g)
    for (int q = 1; q <= 7; ++q) {
      m.EMNTOP(g, q) = m.EMXTOP(g, q) = 0.0;
      m.EMNTOP(g, q + 13) = m.EMXTOP(g, q + 13) = 0.0;
    }
  reset_nodes(m, 8);
}

}  // namespace torva
