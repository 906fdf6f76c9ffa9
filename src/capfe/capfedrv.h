// Entry of the plate finite-element model of the cap from the 3-D cap analysis, the
// file-name list of the plate program, and the writer of the cap model files.
#pragma once

#include <functional>
#include <string>

#include "capfe/capfem.h"

namespace torva {

struct Model;
class PileSprings;

// Names of the plate program's files, derived from the input data file's name so that
// each run directory keeps its own: model, listing, results, log, and the two cap model
// files.
struct FeNames {
  std::string fedata, felist, feresult, felog, femodel, femodelkw;
};
// The names for this run. False (with a message and `status` set) when one of them would
// be a file the run itself reads or writes.
bool fe_names(Model& m, FeNames& names, int& status);
// The names alone, without the check.
FeNames fe_file_names(const Model& m);

// Analyses a 3-D load case with the plate model of the cap (IFEOPT > 0 and not 2), or only
// writes the cap model files (IFEOPT = 2). loads: forces along X, Y, Z and moments about
// X, Y, Z at the cap origin. `outcome` (when given) receives how far the plate's stepping
// went (nothing ran with IFEOPT = 2); `stop` is the stop poll of the plate's iterations.
// The pile springs are the run's single-pile analysis unless `piles` gives others.
void CAPFEDRV(Model& m, const double loads[6], int& status, PlateOutcome* outcome = nullptr,
              const std::function<bool()>& stop = {}, const PileSprings* piles = nullptr);
// Writes the plate program's file-name list "tslab.dat": the plot output file's name, then
// the model, listing, results and log files.
void FEFILES(Model& m, const FeNames& names, int& status);
// Writes the cap model as a numeric file and a keyword file.
void CAPMODEL(Model& m, const double loads[6], int& status);

}  // namespace torva
