// Analysis soil layers and the soil property-versus-depth profile.
#pragma once

#include "model/limits.h"
#include "model/table.h"

namespace torva {

struct SoilTables {};

}  // namespace torva
