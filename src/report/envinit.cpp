// Envelope reset before the load-case series and before the combination series. The node
// envelopes of a row are cleared only over the solution entries written since the last
// reset: the rest is still zero from the new model, so a run touches only what its rows
// use (and a series of one result, whose envelope is that result, none of them).
#include "report/envewr.h"

#include "pile/pileres.h"

namespace torva {

void ENVINIT(Model& m) {
  for (int i = 1; i <= 12; ++i) m.EMNCAP(i) = m.EMXCAP(i) = 0.0;
  for (int g = 1; g <= m.NROW; ++g)
    for (int q = 1; q <= NPILETOP; ++q) m.EMNTOP(g, q) = m.EMXTOP(g, q) = 0.0;
  for (int g = 1; g <= m.NROW; ++g) NODEENVRESET(m, g, NNODEQ);
}

void ENVINIT2D(Model& m) {
  for (int i : {1, 2, 3, 7, 8, 9}) m.EMNCAP(i) = m.EMXCAP(i) = 0.0;
  for (int g = 1; g <= m.NROW; ++g)
    for (int q = 1; q <= 7; ++q) {
      m.EMNTOP(g, q) = m.EMXTOP(g, q) = 0.0;
      m.EMNTOP(g, q + 13) = m.EMXTOP(g, q + 13) = 0.0;
    }
  for (int g = 1; g <= m.NROW; ++g) NODEENVRESET(m, g, 8);
}

}  // namespace torva
