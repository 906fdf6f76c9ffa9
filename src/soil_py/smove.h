// Free-field soil movement at the nodes of one pile row.
//
// The rule that keeps the soil movement consistent from the input to the p-y springs:
//  - scaled once: the cap analysis keeps the current movements SMY, SMZ (the movements as
//    read times the current load factor TCURSM); nothing downstream scales again;
//  - resolved once: SMOVEPILE turns the global Y, Z movements into the pile's local y, z
//    directions with the row's angles (SMPY, SMPZ); nothing downstream resolves again;
//  - one depth reference: depth below the pile head. SMOVEPILE stores the profile depths
//    as SMDEP - CORX (SMPD), and a node's depth is DEPN - HEADDEP (HEADDEP = CORX).
// SMOVEY and SMOVEZ therefore only interpolate the row's SMOVE profile at the nodes.
#pragma once

#include <span>

#include "model/model.h"

namespace torva {

// Movement along the pile's local y axis at nodes 1..NSEG(PTYPE(g))+1 of row g into
// values(1..); 0 outside the profile's depth range. Reads only the model.
void SMOVEY(const Model& m, int g, std::span<double> values);
// The same along the local z axis (3-D).
void SMOVEZ(const Model& m, int g, std::span<double> values);

}  // namespace torva
