// Cap analysis state.
#pragma once

#include "model/limits.h"
#include "model/table.h"

namespace torva {

struct CapTables {};

}  // namespace torva
