// Transformation of one pile row of the 3-D model: the rigid offset of its head from the
// cap origin, and the rotation from global axes (X down, Y, Z) into the pile's local axes
// (x along the pile into the ground, y and z across it).
#pragma once

#include "model/model.h"
#include "pile/matinv.h"

namespace torva {

// For row g (1..NROW+1):
//   H  : head displacement from the cap displacement at the origin, u = H U
//        (head translation = cap translation + rotation x r, head rotation = cap rotation);
//   Ht : its transpose, the force and moment at the origin of a head force, Ht F;
//   Q  : diag(R, R), global to local;  Qt : local to global.
// Every element of the four matrices is written.
void PTRANS(const Model& m, int g, Mat6& Ht, Mat6& H, Mat6& Qt, Mat6& Q);

}  // namespace torva
