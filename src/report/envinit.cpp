// Envelope reset before the load-case series and before the combination series.
#include "report/envewr.h"

namespace torva {

void ENVINIT(Model& m) {
  for (int i = 1; i <= 12; ++i) m.EMNCAP(i) = m.EMXCAP(i) = 0.0;
  for (int g = 1; g <= m.NROW; ++g) {
    for (int q = 1; q <= NPILETOP; ++q) m.EMNTOP(g, q) = m.EMXTOP(g, q) = 0.0;
    for (int q = 1; q <= NNODEQ; ++q)
      for (int n = 1; n <= MAXNODE; ++n) m.EMNNODE(g, n, q) = m.EMXNODE(g, n, q) = 0.0;
  }
}

void ENVINIT2D(Model& m) {
  for (int i : {1, 2, 3, 7, 8, 9}) m.EMNCAP(i) = m.EMXCAP(i) = 0.0;
  for (int g = 1; g <= m.NROW; ++g) {
    for (int q = 1; q <= 7; ++q) {
      m.EMNTOP(g, q) = m.EMXTOP(g, q) = 0.0;
      m.EMNTOP(g, q + 13) = m.EMXTOP(g, q + 13) = 0.0;
    }
    for (int q = 1; q <= 8; ++q)
      for (int n = 1; n <= MAXNODE; ++n) m.EMNNODE(g, n, q) = m.EMXNODE(g, n, q) = 0.0;
  }
}

}  // namespace torva
