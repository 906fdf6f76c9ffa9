// Cap analysis state.
#pragma once

#include <memory>

#include "model/limits.h"
#include "model/table.h"

namespace torva {

// Work of the 2-D pile-row sum (cap/fvec2d.h): the rows' captures and forces and one
// pile-solution scratch per thread, made once per run on first use.
struct Fvec2dWork;
struct CAP2DWORK {
  std::shared_ptr<Fvec2dWork> FV2DWORK;
};

struct CapTables : CAP2DWORK {};

}  // namespace torva
