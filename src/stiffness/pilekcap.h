// Pile-head stiffness of a 3-D pile row from a linear beam model of the pile in the state
// of the last converged analysis.
#pragma once

#include <string>

#include "model/model.h"
#include "pile/matinv.h"

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
// that the rows' records come in row order). A zero pivot while condensing element e drops
// the stiffness of the pile below node e; the status word is then set to the element nearest
// the head that met one, and is left as it was otherwise.
void PILEKCAP(const Model& m, int g, int iaxial, int& status, Mat6& Kh, std::string& trace);

// Static condensation of the n x n column-major matrix K (overwritten) onto its last m
// degrees of freedom: Gaussian elimination of the first n - m without pivoting. Kc (m x m)
// is the condensed matrix; a zero pivot gives ierr = 1 and Kc = 0.
void CONDENSE(double* K, double* Kc, int n, int m, int& ierr);

// The head connection of one bending plane of the n x n head matrix Q (column-major):
// code 1, or 3 with a zero spring, pinned (the rotation r condensed out); code 3 a
// rotational spring s in series with the head (translation t); other codes fixed.
void HEADCONN(double* Q, int n, int code, int r, int t, double s);

// 2-D: the 6 x 6 beam-column element (dofs 1..3 lower node, 4..6 upper node: axial,
// transverse, rotation), the 3 x 3 head stiffness of one pile of row g in local axes, the
// row transformation T (local head movement = T x cap movement at the origin) with its
// transpose, and n products out(:, k) = M in(:, k) of 3 x 3 M with 3-vectors.
void BEAMK2D(double EI, double EA, double L, double P, int iaxial, double* K);
// The status word as for PILEKCAP.
void PILEKCAP2D(const Model& m, int g, int iaxial, int& status, double* Kh, std::string& trace);
void PTRANS2D(const Model& m, int g, double* Tt, double* T);
void MATVEC3N(double* out, const double* M, const double* in, int n);

}  // namespace torva
