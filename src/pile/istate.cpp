#include "pile/istate.h"

#include "model/messages.h"

namespace torva {

namespace {
int stronger(int cur, int s) {
  if (cur == 1 || s == 1) return 1;
  if (cur == 4 || s == 4) return 4;
  return s > cur ? s : cur;
}
}  // namespace

void raise_istate(Model& m, int s) {
  if (RowCapture* c = active_capture())
    c->istate = stronger(c->istate, s);
  else
    m.ISTATE = stronger(m.ISTATE, s);
}

}  // namespace torva
