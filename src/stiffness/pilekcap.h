// Pile-head stiffness of a 3-D pile row from a linear beam model of the pile in the state
// of the last converged analysis.
#pragma once

#include <string>

#include "cap/matinv.h"
#include "model/model.h"

namespace torva {

using Mat12 = Arr2<double, 12, 12>;

// 12 x 12 stiffness of a beam-column element in local axes (dofs 1..6 at the lower node,
// 7..12 at the upper node, each u, v, w, twist, rotation about y, rotation about z), with
// bending stiffnesses EIz (x-y plane) and EIy (x-z plane); with iaxial = 1 the geometric
// terms of the axial force P (compression positive) are added.
void BEAMK3D(double EIz, double EIy, double EA, double GJ, double L, double P, int iaxial,
             Mat12& K);

// 6 x 6 head stiffness of row g in the pile's local axes: beam elements between the nodes,
// the nodal soil springs KSOIL, condensed element by element from the tip to the head, the
// head connection of each bending plane, and the head's axial and torsional stiffness
// KAXTOP and KTORTOP. `trace` receives the row's trace records (written by the caller, so
// that the rows' records come in row order). The status word is neither read nor written.
void PILEKCAP(const Model& m, int g, int iaxial, int& status, Mat6& Kh, std::string& trace);

}  // namespace torva
