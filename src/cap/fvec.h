// Sums of the pile-row reactions and tangent stiffnesses at the cap origin (3-D).
#pragma once

#include "model/model.h"
#include "pile/matinv.h"

namespace torva {

// F: the sum of the forces that the pile rows exert on the cap at its origin, global
// axes, for the cap displacement U. Every row is evaluated (in parallel); a row whose
// evaluation fails adds nothing and its status (that of the lowest-numbered failing row)
// is returned. The rows' warnings reach their files in row order after the loop; the
// rows' states and warning counts are combined into ISTATE, NWBEAR, NWPULL and NWTORS.
void FVEC(Model& m, Vec6& F, const Vec6& U, int& status);

// A: per component, the sum over the rows of the magnitudes of their forces at the origin
// in the last FVEC (the scale of the sum's closure error).
void ROWMAGS(const Model& m, Vec6& A);

// K: the sum of the rows' tangent stiffnesses at the cap origin (every row is added).
void STIFF(Model& m, Mat6& K, const Vec6& U, int& status);

}  // namespace torva
