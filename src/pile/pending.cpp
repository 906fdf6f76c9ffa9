// Provided here until the owner's routines land (see pending.h).
#include "pile/pending.h"

namespace torva {

// Placeholder until the p-y criteria land: the generated curves are refused.
void PYCURVE(Model&, int, int& status, int, int, NodeVec&, NodeVec&, NodeVec&, NodeVec&, NodeVec&,
             NodeVec&) {
  if (status == 0) status = ST_NOTBUILT;
}

}  // namespace torva
