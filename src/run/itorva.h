// The engine's run entry inside the library.
#pragma once

#include "model/model.h"

namespace torva {

// Runs ITORVA(mode): 3 performs one run and returns its status; any other value returns 1.
int run_itorva(int mode);

// The model of the last run (null before the first), for tests and diagnostics.
Model* current_model();

}  // namespace torva
