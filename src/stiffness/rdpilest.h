// Reader of the pile-state file: the equivalent pile stiffnesses of the last analysis.
#pragma once

#include <string>

#include "model/model.h"

namespace torva {

// Reads the pile-state file (role R_STATEFILE) into PILEST: for every row 1..NROW the
// axial force and the axial (and, in 3-D, torsional) stiffness of the pile head, and the
// nodal soil-spring stiffness of nodes 1..NSEG+1 (the larger of the two plane moduli in
// 3-D, times the node's share of pile length: half a spacing at the head and the tip).
// The node spacing is read from its whole line, so every digit written enters it.
// Returns false, with `why` naming the missing or unreadable record, when the file does not
// hold a complete state (e.g. the analysis did not finish the point); PILEST may then be
// partly rewritten and must not be used.
bool RDPILEST(Model& m, std::string& why);

}  // namespace torva
