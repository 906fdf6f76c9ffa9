// Passive resistance of an embedded pile cap treated as an equivalent lateral load: the
// soil in front of the cap resists its horizontal movement with a pressure block built
// from the pile rows' ground-surface depths and soil reactions at cap level.
#pragma once

#include "model/model.h"
#include "pile/matinv.h"

namespace torva {

// The pressure block: the reaction grows linearly from 0 at the ground surface (X = gsd,
// negative above the X = 0 level) to W at the level |gsd| below it; only the part over the
// cap thickness thk (from f at the top to W at the bottom) acts on the cap. R is its force,
// M its moment about the origin with the block's bottom at X = a. R = M = 0 unless
// gsd < -1.0E-6.
void PASVBLOCK(double W, double gsd, double thk, double a, double& R, double& M);

// The means over the pile rows of the ground-surface depth and of the passive pressure at
// the cap level (PYCAP of the last force evaluation), stored as GSDMEAN and CAPPMEAN.
void CAPMEANS(Model& m);

// The force vector of the block for the horizontal cap movement (uy, uz), with s = |uy| +
// |uz|: from s = band on, R opposes the movement, shared between Y and Z in the ratio |uy| :
// |uz| (a linear split), with the moments of the two forces about the origin; below it the
// resistance is partly mobilised, that force at the band's edge times s / band, so the
// force grows from zero at rest without a jump (a force switched on at full strength by
// any movement has no equilibrium near rest, where a small load is held by part of it).
void PASVLOAD(double R, double M, double uy, double uz, Vec6& F, double band);

// The sideways movement that mobilises the full passive resistance: the larger of the cap
// tangent's translation step (tangent_step) and ten pile tolerances, the movements the cap
// iterations resolve.
double passive_band(const Model& m);

// F: the passive force at the cap origin for the cap displacement U. Sets the cap
// deflection CAPUH of U, at which the pile solutions evaluate the cap-level reaction of
// user p-y curves, and runs the pile-row force sum at U (its sum is discarded) so that
// every row's ground-surface depth and cap-level reaction belong to U; then stores their
// means GSDMEAN and CAPPMEAN. Below passive_band of sideways movement the force is partly
// mobilised.
void CAPPASV(Model& m, Vec6& F, const Vec6& U, int& status);

// K(i, j): change of the passive force i per unit cap displacement j, by central
// differences (all forward steps, then all backward steps, each after a force sum at the
// perturbed displacement). The steps are those of the pile-head stiffness.
void CAPPASVK(Model& m, Mat6& K, const Vec6& U, int& status);

}  // namespace torva
