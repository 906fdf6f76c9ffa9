// The pile-solution state word of the current analysis, raised from pile solutions.
#pragma once

#include "model/model.h"

namespace torva {

// Raises the analysis state to `s` from a pile solution. Inside a parallel pile-row loop
// the value goes into the row's capture (combined after the loop by combine_istate);
// outside one it goes into ISTATE. Either way a non-closure (1) is never replaced by a
// milder state: 1 stands over 4, and 4 over the other values.
void raise_istate(Model& m, int s);

}  // namespace torva
