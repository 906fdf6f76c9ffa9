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

}  // namespace torva
