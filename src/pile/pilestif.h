// Pile-head tangent stiffness of one row in the 3-D model, by central differences of the
// pile evaluation.
#pragma once

#include "pile/pilef.h"
#include "soil_py/pycurve.h"

namespace torva {

// Translation and rotation steps of the differences: 1.0E-7 inch of translation (in
// metres when IUNITS = 2) and 1.0E-11 radian, single-precision constants widened.
inline constexpr double PSTIF_STEP_T = TANSTEP_3D;
inline constexpr double PSTIF_STEP_T_SI = TANSTEP_3D_SI;
inline constexpr double PSTIF_STEP_R = double(1.0e-7f) * double(1.0e-4f);

// K(i, j): change of head force i per unit head displacement j, both in global axes, at
// the head displacement U, from thirteen evaluations (unperturbed, six forward, six
// backward, each set in component order). A freedom whose differences are swamped by the
// closure jitter of the pile solutions (its own force's forward and backward differences
// disagree in sign or by more than a factor of three) is differenced again over a step of
// 100 TOLPILE (the rotation in the same ratio), when that is wider. Curves without an
// initial slope are linear below the fine step (py_linear_step), so a pile at rest does not
// look swamped: its response kinks there by far less than the factor. Not symmetrised.
// `status` is the first failing evaluation's code (0 when all succeeded); a failed
// evaluation contributes zero forces.
void PILESTIF(Model& m, int g, Mat6& K, const Vec6& U, int& status, PilefScratch& s);

}  // namespace torva
