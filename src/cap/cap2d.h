// Small routines of the 2-D cap analysis: convergence measures, the 3 x 3 product, the
// point of definition (extended system, right-hand side, values at the point, marks of
// the given quantities) and the cap envelopes.
//
// Every 3-vector holds the cap's degrees of freedom in the order vertical (X, positive
// downward), horizontal (Y), rotation in the X-Y plane (positive from X towards Y); loads
// in the same order. Matrices are column-major; a cap point at (x, y) moves by
// (U1 - y U3, U2 + x U3, U3).
#pragma once

#include "model/model.h"
#include "pile/matinv.h"

namespace torva {

// t = size of the translation part (q1, q2), r = size of the rotation q3.
void DNORM2D(const Vec3& q, double& t, double& r);
// t = the larger of |q1| and |q2| (|q1| on a tie), r = |q3|.
void DMAX2D(const Vec3& q, double& t, double& r);
// y = A x.
void MATVEC3(Vec3& y, const Mat3& A, const Vec3& x);
// b = a.
void COPY3(const Vec3& a, Vec3& b);

// Inverse of the 3 x 3 matrix K by cofactors. Returns false (Kinv untouched) when the
// determinant is 1.0E-14 or less in magnitude.
bool INV3(const Mat3& K, Mat3& Kinv);

// Flags of the point of definition: flag k = 0 the displacement of DOF k at the point is
// prescribed, any other value the load of DOF k at the point is given.
//
// The extended 6 x 6 system of a point case: the tangent K in the upper left block; for
// every prescribed DOF k a constraint row/column 3 + k stating the rigid-body motion of
// the point in DOF k; for a given load a unit diagonal entry.
void PTMAT2D(Mat6& A, const Mat3& K, const Arr1<double, 3>& point, const Flags3& flags);
// Its right-hand side rhs (the unbalanced load R, then for a prescribed DOF the
// displacement still missing at the point) and the record rec (the reaction sum F, then
// the prescribed displacements) for the current cap displacement U.
void PTRHS2D(Vec6& rhs, Vec6& rec, const Vec3& R, const Vec3& F, const Vec3& D, const Vec3& U,
             const Arr1<double, 3>& point, const Flags3& flags);
// Displacement Dp and load Fp at the point for the cap displacement U and the origin
// load P; where the point load of a force DOF is given (flag 1) it replaces Fp and P.
// done = 0 (nothing written) when the point is the origin, else 1.
void PTTRANS2D(const Vec3& U, Vec3& P, const Arr1<double, 3>& point, Vec3& Dp, Vec3& Fp,
               const Vec3& G, const Flags3& flags, int& done);
// Marks of the point tables: LA(k) '*' beside a given load, LB(k) '*' beside a
// prescribed displacement, blanks elsewhere.
void DOFLABEL2D(const Model& m, const Flags3& flags, char LA[3], char LB[3]);

// Cap envelopes of the 2-D model: load in entries 1..3, displacement in 7..9.
void CAPENV2D(Model& m, const Vec3& load, const Vec3& disp);

}  // namespace torva
