// The plate finite-element program of a flexible pile cap: model input, pseudo-time
// stepping with Newton iterations, results of every converged step and the final pass
// over the piles.
#pragma once

#include <cstdio>

#include "capfe/platerun.h"

namespace torva {

struct Model;

// Runs the plate program on the model that "tslab.dat" names, with `piles` as the pile
// springs; the step and iteration lines also go to `console` (nullptr: nowhere). A file
// that cannot be opened or read, a model refused by its checks, a zero pivot or a
// non-positive Jacobian sets `status` (the listing and the log say why) and ends the
// plate program in order; a step that cannot be completed above the smallest increment
// only ends the stepping.
void CAPFEM(Model& m, const PileSprings& piles, int& status, std::FILE* console = stderr);

// The whole plate program on one run record (its displacements stay in it for the
// caller); CAPFEM runs it on a record of its own.
void run_plate_program(PlateRun& r);

// Evaluates every pile once more at the final displacement of the plate.
bool PILEFIN(PlateRun& r);

// Name of the file-name list of the plate program and of its trace file.
inline constexpr const char* FENAMES_FILE = "tslab.dat";
inline constexpr const char* FETRACE_FILE = "tslab.ftr";

}  // namespace torva
