// Lateral soil resistance: per-row layer state, group factors, soil movement, p-y plot state.
#pragma once

#include "model/limits.h"
#include "model/table.h"

namespace torva {

struct PyTables {};

}  // namespace torva
