// Free-field soil movement at the nodes of one pile row.
//
// The soil movement is kept consistent from the input to the p-y springs by one rule:
//  - one depth reference: the vertical X coordinate. SMOVEPILE stores the profile depths
//    SMPD as X coordinates, and the nodes are placed at DEPN, also X coordinates;
//  - resolved once: SMOVEPILE turns the global Y, Z movements into the pile's local y, z
//    directions with the row's angles (SMPY, SMPZ); nothing here resolves again;
//  - scaled once: SMPY, SMPZ hold the movement of the full load (the movements as read);
//    the current load factor TCURSM is applied here, and only here.
#pragma once

#include <span>

#include "model/model.h"

namespace torva {

// Movement along the pile's local y axis at nodes 1..NSEG(PTYPE(g))+1 of row g into
// values(1..), times TCURSM; 0 outside the profile's depth range. Reads only the model.
void SMOVEY(const Model& m, int g, std::span<double> values);
// The same along the local z axis (3-D).
void SMOVEZ(const Model& m, int g, std::span<double> values);

}  // namespace torva
