// The soil reaction of an embedded pile cap modelled as a pseudo-pile: the cap is a rigid,
// vertical pile in row NROW+1 running from the cap top through the cap thickness in
// NCAPINC segments; every node in a soil layer gets a secant spring from the layer's p-y
// criterion with the cap's effective width, and the spring reactions are integrated into a
// lateral force and moment that are moved to the cap origin. No axial force, no torsion.
//
// 6-vectors hold translations (forces) along X (down), Y, Z, then rotations (moments)
// about X, Y, Z. The reaction is the force the soil exerts on the cap: it opposes the
// cap movement, with the sign convention of the pile-row force sum.
#pragma once

#include "model/model.h"
#include "pile/matinv.h"

namespace torva {

// R: the soil reaction on the cap at its origin for the total cap displacement U.
// `status` is set (and R = 0) when the pseudo pile reaches below the deepest soil layer
// or a soil lookup fails; a status that comes in non-zero is kept.
void CAPREAC(Model& m, Vec6& R, const Vec6& U, int& status);

// f: the soil reaction at the pseudo-pile head (global axes) for its head displacement u.
// Lays out the pseudo pile's nodes and layer node ranges first.
void CAPPILE(Model& m, Vec6& f, const Vec6& u, int& status);

// The lateral reactions Ry, Rz and the moments about the head Mz (about local z) and My
// (about local y) of the rigid pseudo pile for its head displacements y, z and rotations
// thz, thy in local axes. Writes its trace records to the results report.
void CAPLAT(Model& m, double y, double thz, double z, double thy, double& Ry, double& Rz,
            double& Mz, double& My, int& status);

// K: the tangent of the cap's soil reaction by central differences, each evaluation after
// a pile-row force sum at the perturbed displacement (all forward steps, then all backward
// steps). Steps of 1.0E-7 in translation and 1.0E-13 in rotation in every unit system.
// U is perturbed during the call and returned unchanged.
void STIFFCD(Model& m, Mat6& K, Vec6& U, int& status);

}  // namespace torva
