// The analysis model completed by the input echo, and the per-analysis controls and loads.
#pragma once

#include "model/limits.h"
#include "model/table.h"

namespace torva {

struct EchoTables {};

}  // namespace torva
