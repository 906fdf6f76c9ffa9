// The pile-row sum of the 2-D cap analysis: the reactions of all pile-group rows at the
// cap origin for a displacement of the rigid cap.
#pragma once

#include <array>
#include <vector>

#include "cap/cap2d.h"
#include "model/messages.h"
#include "model/model.h"
#include "pile/llp2d.h"

namespace torva {

// Scratch of one 2-D pile evaluation: the lateral solution and the axial movement and
// force along the pile.
struct Pile2dScratch {
  Llp2dScratch llp;
  NodeVec MOV, FAX;
};

struct Fvec2dWork {
  std::vector<RowCapture> cap;                // warnings, status and state of each row
  std::vector<std::array<double, 3>> force;   // each row's reaction at the cap origin
  std::vector<std::unique_ptr<Pile2dScratch>> scratch;  // one per thread
};

// Head displacement h = B U of row g (axial, lateral, rotation) for the cap displacement
// U, and A = B' taking the row's head reactions back to the cap origin.
void ROWTRANS2D(const Model& m, int g, Mat3& B, Mat3& A);

// Reactions of one row of NPILE piles at the cap origin for the cap displacement U; the
// row's own outcome in `status` (0, or the failing step's code with r = 0).
void PILEF2D(Model& m, int g, Vec3& r, const Vec3& U, int& status, Pile2dScratch& s);

// F: the sum over rows 1..NROW of the pile-head reactions at the cap origin for the cap
// displacement U. The rows are evaluated in parallel; the sum is taken in row order
// afterwards, so F does not depend on the number of threads. A row whose evaluation
// fails adds nothing, and the status of the lowest-numbered failing row is returned. The
// rows' warnings reach their files in row order after the loop, and their states and
// warning counts are combined into ISTATE, NWBEAR and NWPULL.
void FVEC2D(Model& m, Vec3& F, const Vec3& U, int& status);

// A: per component, the sum over the rows of the magnitudes of their reactions at the
// origin in the last FVEC2D (the scale of the sum's closure error).
void ROWMAGS2D(const Model& m, Vec3& A);

}  // namespace torva
