// Flexural rigidity of the pile nodes from the moment-curvature curves of their sections.
#pragma once

#include "model/model.h"

namespace torva {

// Replace EI(m), m = 4..N (N = NSEG + 4), by the secant M/phi of the section's
// moment-curvature set at the node's curvature from the deflections y (read at
// m = 3..N+1), for the axial force P. EIMPHIY serves the y plane (bending about local
// z), EIMPHIZ the z plane. A node without a set, or without a usable curve, keeps its EI.
void EIMPHIY(const Model& m, int g, double P, NodeVec& EI, const NodeVec& y);
void EIMPHIZ(const Model& m, int g, double P, NodeVec& EI, const NodeVec& y);

}  // namespace torva
