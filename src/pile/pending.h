// Routines of other areas that the single-pile solutions call and that have not landed
// yet. Provided here until the owner's routine lands; the owner's version replaces each
// one (same name, same arguments).
#pragma once

#include "model/model.h"

namespace torva {

// Generated p-y curves of row g at its pile nodes k = 1..NSEG+1.
void PYCURVE(Model& m, int t, int& status, int g, int gf, NodeVec& y, NodeVec& Es, NodeVec& s1,
             NodeVec& s2, NodeVec& F, NodeVec& p);

}  // namespace torva
