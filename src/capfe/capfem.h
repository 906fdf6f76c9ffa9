// The plate finite-element program of a flexible pile cap: model input, pseudo-time
// stepping with Newton iterations, results of every converged step and the final pass
// over the piles.
#pragma once

#include <functional>
#include <string>

#include "capfe/platerun.h"
#include "io/fileset.h"

namespace torva {

struct Model;

// How far the stepping of a plate run went.
struct PlateOutcome {
  bool ran = false;       // the run ended without an error (status 0)
  int steps = 0;          // converged steps
  double reached = 0.0;   // load factor of the last converged step (0 before the first)
  bool complete = false;  // the stepping reached the final pseudo-time
  bool cut = false;       // a step needed an increment below the smallest
};

// Runs the plate program, as the cap of the run, on the model that "tslab.dat" names,
// with `piles` as the pile springs: pile record i is pile row i. A file that cannot be
// opened or read, a model refused by its checks, a zero pivot or a non-positive Jacobian
// sets `status` (the listing, the results report and the run log say why) and ends the
// plate program in order; `stop` (when given) is polled before every iteration and ends
// it with the stop status. A step that cannot be completed above the smallest increment
// only ends the stepping, with a warning on the results report and the run log;
// `outcome` (when given) tells how far it went.
void CAPFEM(Model& m, const PileSprings& piles, int& status, PlateOutcome* outcome = nullptr,
            const std::function<bool()>& stop = {});

// The whole plate program on one run record (its displacements stay in it for the
// caller); CAPFEM runs it on a record of its own.
void run_plate_program(PlateRun& r);

// A file of the plate program (its file list, model files, listing, results, log, trace or
// scratch files) that cannot be opened (`code` ST_FILEOPEN) or written in full
// (ST_FILEWRITE): unless the run already holds an error, a fatal line on the results report
// and the run log naming the file and the system's reason `err` (none when 0), and the
// run's status with the same name and reason for the end of the run (see file_failed); when
// the run already holds an error, the file is only named beside it.
void plate_file_failed(Model& m, int& status, int code, const std::string& path, int err);

// Evaluates every pile once more at the final displacement of the plate.
bool PILEFIN(PlateRun& r);

// Name of the file-name list of the plate program and of its trace file.
inline constexpr const char* FENAMES_FILE = kPlateList;
inline constexpr const char* FETRACE_FILE = kPlateTrace;

}  // namespace torva
