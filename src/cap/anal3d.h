// Equilibrium of the rigid pile cap of a 3-D model under one load case or combination.
#pragma once

#include "cap/loadstep.h"
#include "model/model.h"
#include "pile/matinv.h"

namespace torva {

// Load steps with Newton iterations on the six cap movements at the origin; reports the
// steps, iterations, warnings, outcome line and the cap tables, then runs the output pass
// in which every pile row stores its results, and prints Tables L and M.
// kind: 0 load case, 1 combination. loads: in, the full load at the origin (force X, Y, Z,
// moment X, Y, Z); out, the load at the final load factor.
void ANAL3D(Model& m, int kind, int& status, Vec6& FVLAST, Vec6& DVLAST, Vec6& loads,
            const Vec6& PTLOAD, Vec6& PTDISP, const Arr1<double, 3>& PTXYZ,
            const Arr1<int, 6>& PTCOND);

// Group reduction factors recombined from the direction of the cap movement (IREDFAC > 0).
void REDUPD3D(Model& m, const Vec6& DV, const Vec6& loads, int& status);
// The table of the factors used, at the start of the full output.
void REDREP3D(Model& m);

// Cap envelopes of the equivalent load P and displacement U at the origin.
void CAPENV(Model& m, const Vec6& P, const Vec6& U);
// Per-row records of the pile-state file after an estimation output pass.
void EQSTIF(Model& m, TextFile& state);

}  // namespace torva
