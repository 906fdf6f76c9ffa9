// Equilibrium of the rigid pile cap of a 2-D model under one load case or combination.
#pragma once

#include "cap/cap2d.h"
#include "model/model.h"

namespace torva {

// Load steps with Newton iterations on the three cap movements at the origin (vertical,
// horizontal, rotation), the tangent from central differences of the pile-row sum;
// reports the steps, iterations, warnings, outcome line and the cap tables, then runs the
// output pass in which every pile row stores its results, and prints Table M.
//
// kind: 0 load case, 1 combination. IPYSAVE receives the p-y output selector, which is
// cleared. FVLAST, DVLAST: the load and cap displacement of an estimation analysis.
// loads: the full load at the origin. PTLOAD, PTDISP, PTXYZ, PTCOND: the point of
// definition of a load case whose IDISP > 0 (loads and displacements given at the
// point, its coordinates X, Y, and per DOF 0 = displacement prescribed).
void ANAL2D(Model& m, int kind, int& IPYSAVE, int& status, Vec3& FVLAST, Vec3& DVLAST,
            const Vec3& loads, const Vec3& PTLOAD, const Vec3& PTDISP,
            const Arr1<double, 3>& PTXYZ, const Flags3& PTCOND);

// Passive resistance of an embedded cap (cap option 1) in 2-D: the soil reaction grows
// linearly from the mean ground surface (GSDEPTH of the rows) to W, the mean reaction of
// the piles at cap level (PCAPP, stored as CAPPMEAN), and the part over the cap's
// thickness acts horizontally against the cap's movement: R its resultant, M its moment
// about the origin, pos the X coordinate of the resultant (the head of the last row when
// there is none).
struct Passive2d {
  double R = 0.0, M = 0.0, pos = 0.0;
  // The load vector (0, -s R, s M) for a horizontal cap movement dv2 of sign s, partly
  // mobilised below `band` (the force there times |dv2| / band; see PASVLOAD).
  void load(double dv2, Vec3& F, double band) const;
};
Passive2d PASSIVE2D(Model& m);

// Per-row records of the pile-state file (2-D form) after an estimation output pass.
void EQSTIF2D(Model& m, TextFile& f);

}  // namespace torva
