// Results of a converged step of the plate program: displacements and reactions, and the
// stresses at the Gauss points with their extremes and their nodal smoothing.
#pragma once

#include "capfe/platerun.h"

namespace torva {

// Displacements (ASDIS) and reactions (GLOBV) of every node on the listing.
void REACOUT(PlateRun& r);
// Reads the element records, lists the Gauss-point stresses and their extremes, and adds
// one block of nodal displacements and smoothed stresses to the results file. False when
// the element scratch file cannot be read.
bool STRESOUT(PlateRun& r);

}  // namespace torva
