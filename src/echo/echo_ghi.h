// Tables G, H and I of the input echo: user p-y curves stored for the analysis, and the
// load-settlement and torque-rotation curves of the rows, from the input or generated
// from the soil profile and stored mirrored about the origin.
#pragma once

#include "model/model.h"

namespace torva {

// Table G (user p-y curves), Table H (axial load-settlement) and, in 3-D, Table I
// (torque-rotation). Rows with curve number 0 are turned into references to their
// generated curves (negative numbers). A curve generator's status ends the step at once.
void ECHOGHI(Model& m, int& status);

}  // namespace torva
