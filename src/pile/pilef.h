// Pile response to a head displacement in the 3-D model: the forces and moments one pile
// row exerts on the cap at its head.
#pragma once

#include "model/model.h"
#include "pile/llp3d.h"
#include "pile/matinv.h"

namespace torva {

// Working storage of one pile evaluation (lateral solution, axial movement and force
// along the pile). One per thread, made once and lent to every evaluation. Threads' copies
// lie side by side in one array: each starts on its own cache line and none shares a line
// with the next.
struct alignas(64) PilefScratch {
  Llp3dScratch llp;
  NodeVec MOV, FAX;
};

// Head forces F (global axes, times the row's number of piles) of row g for the head
// displacement U (global axes). The evaluation's own outcome is left in `status`: 0, or
// the code of the axial, node-layout or lateral step that failed, in which case F = 0.
// A lateral solution that does not close raises the pile state to 1 and its head shears
// and moments count as zero.
void PILEF(Model& m, int g, Vec6& F, const Vec6& U, int& status, PilefScratch& s);

}  // namespace torva
