// The last steps of the input echo: Table J1 (p-y modification factors along depth),
// Table J2 (free-field soil movement) and Table K (group reduction factors, settled here).
#pragma once

#include "model/model.h"
#include "pile/loads.h"

namespace torva {

// Tables J1, J2 and K in order; Table K takes the load direction from load case 1.
void ECHOJK(Model& m, int& status);

void ECHOJ1(Model& m);
void ECHOJ2(Model& m);
// Table K with R the resultant of load case 1 about the origin: estimates the factors
// (IREDFAC 1 and 3), prints them, and in 3-D combines the two directions into PMULT, YMULT.
void ECHOK(Model& m, const Vec6& R, int& status);

}  // namespace torva
