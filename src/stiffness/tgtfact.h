// Load factor of the next analysis of a target-deflection point.
#pragma once

#include "model/model.h"

namespace torva {

// Sets FACNXT from the history of (displacement, load factor) pairs: 0 for an empty
// history; with one pair DTARG x F1 / D1 (1 when |D1| <= 1e-4); with more pairs the newest
// pair is first moved to its place in ascending order of load factor, and the factor is
// interpolated (or extrapolated) linearly in displacement on the pair of entries around
// DTARG. Returns false, leaving FACNXT unchanged, when the two bracketing displacements are
// equal: the target displacement does not respond to the load factor and no next factor
// can be found.
bool TGTFACT(Model& m);

// The target check of a point of the stiffness estimation after a converged cap analysis
// (ICONV > 0): DCOMP := dcomp, the displacement of the target degree of freedom, against
// DTARG, with the estimation line on the run log for ICONV 1 and 2. False when a further
// target iteration is wanted (outcome line 10 written; the analysis ends without tables);
// true when the point is finished, ICONV then 0 (or left at 1 when the limit was reached).
// A zero target cannot be met in per cent: any movement then counts as missing it.
bool target_check(Model& m, double dcomp);

}  // namespace torva
