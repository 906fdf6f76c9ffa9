// Torque at the pile head from the row's torque-rotation curve.
#pragma once

#include "model/model.h"

namespace torva {

// Torque T of row g for the head displacement u (local axes; only u[3], the rotation
// about the pile axis, is read). Beyond either end of the curve T is the end value when
// IEXTEND = 1, else 0; while IWFILE = 1 each such event leaves a three-line warning
// record on the warning scratch file and is counted in NWTORS.
void PILETORQ(Model& m, int g, double& T, const double* u);

// Slope of the first segment of row g's torque-rotation curve that ends at a point of
// non-negative rotation (mode 1, the only mode in use; 0 otherwise, as AXSLOPE).
double TRSLOPE(const Model& m, int g, int mode);

}  // namespace torva
