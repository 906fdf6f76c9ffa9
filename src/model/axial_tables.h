// Axial and torsional load transfer: load-settlement and torque-rotation curves, moment-curvature sets.
#pragma once

#include "model/limits.h"
#include "model/table.h"

namespace torva {

struct AxialTables {};

}  // namespace torva
