// Distributed lateral loads of the current case at the nodes of a pile row.
#pragma once

#include "model/model.h"

namespace torva {

// Load per length along local y (DLOADY) or local z (DLOADZ) at pile nodes k = 1..NSEG+1
// of row g, interpolated in the row's distributed-load table; 0 outside it. `t` is not
// used. Called only when DLNODES(g) > 0.
void DLOADY(const Model& m, int t, int g, NodeVec& q);
void DLOADZ(const Model& m, int t, int g, NodeVec& q);

}  // namespace torva
