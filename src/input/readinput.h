// The input stages of a run: reading the input data file into the as-read tables, and
// their one-time conversion to internal units.
#pragma once

#include "model/model.h"

namespace torva {

void READINPUT(Model& m, int& status);
void CONVINPUT(Model& m);

}  // namespace torva
