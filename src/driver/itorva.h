// The engine's run entry inside the library.
#pragma once

#include "model/model.h"

namespace torva {

// Runs ITORVA(mode): 3 performs one run and returns its status; any other value returns 1.
// With `analyse` false the run ends after the input echo (for the tests of the echo).
int run_itorva(int mode, bool analyse = true);

// The model of the last run (null before the first), for tests and diagnostics.
Model* current_model();

}  // namespace torva
