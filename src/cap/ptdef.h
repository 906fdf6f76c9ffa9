// The point of definition of a 3-D load case: a point fixed to the rigid cap at which, for
// each of the six cap degrees of freedom, either the load or the displacement is given.
//
// DOFs are X (vertical, downward), Y, Z, then rotations about X, Y, Z. The point moves
// rigidly with the cap: u_point = G u_origin with
//   row 1: u1 + z u5 - y u6     row 2: u2 - z u4 + x u6     row 3: u3 + y u4 - x u5
//   rows 4..6: the rotations themselves.
// A condition code 0 means the displacement at the point is given (the DOF is held by a
// constraint with a Lagrange multiplier); any other code means the load is given.
#pragma once

#include "model/model.h"
#include "pile/matinv.h"

namespace torva {

using Mat12 = Arr2<double, 12, 12>;
using Vec12 = Arr1<double, 12>;
using Point3 = Arr1<double, 3>;
using Codes6 = Arr1<int, 6>;

// The rigid-body map G of the point (x, y, z) = P.
void PTMAP(const Point3& P, Mat6& G);

// The extended 12 x 12 system: SS in the upper-left block; for a displacement-controlled
// DOF i, row i of G in row 6+i and in column 6+i (zero diagonal); for a load-controlled
// DOF a unit diagonal entry 6+i.
void PTMAT(Mat12& SE, const Mat6& SS, const Point3& PTXYZ, const Codes6& PTCOND);

// Right-hand side of the extended system: the unbalanced force DFV, then for each
// displacement-controlled DOF the displacement still missing at the point (given minus
// G DV). RUV holds RV and the given displacements (0 for load-controlled DOFs).
void PTRHS(Vec12& DFUV, Vec12& RUV, const Vec6& DFV, const Vec6& RV, const Vec6& PTDISP,
           const Vec6& DV, const Point3& PTXYZ, const Codes6& PTCOND);

// Transfers the final state to the point: Dp = G DV; Fp the origin load P with its moments
// moved to the point (from the entry values of P), where a load is given (code 1) the
// given load PTLOAD, which for a force also replaces P. done = 0 (nothing written) when
// the point is the origin, else 1.
void PTTRANS(const Vec6& DV, Vec6& P, const Point3& PTXYZ, Vec6& Dp, Vec6& Fp,
             const Vec6& PTLOAD, const Codes6& PTCOND, int& done);

// Marks of the point tables: LA(i) is the star beside a given load, LB(i) the star beside
// a given displacement, blanks elsewhere (the characters of the unit-label table).
void DOFLABEL(const Model& m, const Codes6& PTCOND, char LA[6], char LB[6]);
// The same for any number n of DOFs (the 2-D point of definition has three).
void dof_marks(const Model& m, const int* codes, int n, char* LA, char* LB);

}  // namespace torva
