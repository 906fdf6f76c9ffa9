// Secant soil springs of a pile row from its user p-y curves.
#pragma once

#include "model/model.h"

namespace torva {

// Secant modulus Es(m) and soil reaction p(m) at the solution entries m = 4..NSEG+4 of
// row g for the deflections y(m), from the row's user p-y set |PYSETG(g)|, with the row's
// p- and y-multipliers, the modification factors along depth and the free-field soil
// movement (s1, s2; read while NSMPT > 0). F(m) = Es(m) x the movement magnitude. Also
// stores the row's ground-surface depth and, with cap option 1, its soil reaction at cap
// level. A set whose curves end above the pile tip raises the pile state to 1.
void PYSECANT(Model& m, int g, const NodeVec& y, NodeVec& Es, const NodeVec& s1,
              const NodeVec& s2, NodeVec& F, NodeVec& p);

}  // namespace torva
