// Single-pile node geometry, per-pile results and envelopes.
#pragma once

#include "model/limits.h"
#include "model/table.h"

namespace torva {

struct PileTables {};

}  // namespace torva
