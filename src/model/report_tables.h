// Result-report state.
#pragma once

#include "model/limits.h"
#include "model/table.h"

namespace torva {

struct ReportTables {};

}  // namespace torva
