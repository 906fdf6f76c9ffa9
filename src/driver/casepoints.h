// The analyses of one load case: a single analysis under the full load, or the points of
// its foundation stiffness or flexibility estimation followed by the full-load analysis.
#pragma once

#include "model/model.h"
#include "pile/matinv.h"

namespace torva {

// Runs load case c (its controls already copied): the estimation set-up, every point with
// its steps, the estimation tables and stiffnesses, and last the analysis under the case's
// full load. A non-zero status from an analysis ends the case at once (ESTREC2 and KMATLOG
// closed). Estimation parameters that cannot be run (an unknown mode, a target degree of
// freedom outside the model) set ST_INPUTCHECK with a message before any analysis.
// The point of definition of a displacement-type case (PTLOAD, PTDISP, PTXYZ, PTCOND) is
// formed with its loads.
// `analyse` runs one cap analysis of the model (arguments as the 3-D cap analysis takes them).
using CapAnalysis = void (*)(Model& m, int kind, int& status, Vec6& FVLAST, Vec6& DVLAST,
                             Vec6& loads, const Vec6& PTLOAD, Vec6& PTDISP,
                             const Arr1<double, 3>& PTXYZ, const Arr1<int, 6>& PTCOND);
void CASEPOINTS(Model& m, int c, int& status, Vec6& FVLAST, Vec6& DVLAST, Vec6& PTLOAD,
                Vec6& PTDISP, Arr1<double, 3>& PTXYZ, Arr1<int, 6>& PTCOND, CapAnalysis analyse);

// The longest target iteration of a point: the history holds 20 pairs, one of them the
// seed pair of the case.
inline constexpr int MAXTGTITER = 19;

}  // namespace torva
