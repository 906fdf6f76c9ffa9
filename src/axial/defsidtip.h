// Program-estimated ultimate unit side friction and tip resistance at one depth, for a
// driven pile and for a drilled shaft, where the soil profile gives zero.
#pragma once

namespace torva {

struct Model;

// Estimates at the depth X (X coordinate) for a layer of soil code `code`. hasSide is 1
// when the profile's side friction at X is zero and fDriven, fDrilled are estimates (both
// 0 otherwise); hasTip likewise for the tip resistance with qDriven, qDrilled. A lookup
// beyond the profile sets `status` (22 to 26) with its warning; the outputs are then not
// meaningful and the caller stops.
void DEFSIDTIP(Model& m, int code, double X, int& hasSide, double& fDriven, double& fDrilled,
               int& hasTip, double& qDriven, double& qDrilled, int& status);

}  // namespace torva
