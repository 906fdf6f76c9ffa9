// The flat-shell element of the plate program: membrane, thick plate with transverse
// shear and a drilling rotation held to the membrane's in-plane rotation, the spring terms
// of the model and the piles as nonlinear point springs (their torsion on the drilling
// rotation).
#pragma once

#include "capfe/platerun.h"

namespace torva {

// Single-precision threshold below which a load or spring value adds nothing.
inline constexpr double FE_TINY = double(1.0e-30f);

// Material matrices of material `imat`: plane-stress membrane (without thickness) and
// plate (bending and shear).
void DMEMB(PlateRun& r, int imat);
void DPLATE(PlateRun& r, int imat);
// Strain matrices from SHPVAL and SHPDXY, and their products with the material matrices.
void BMEMB(PlateRun& r);
void BPLATE(PlateRun& r);
void DBMEMB(PlateRun& r);
void DBPLATE(PlateRun& r);

// The axes change between the plate and the pile rows: T (column-major 6 x 6) takes the
// pile-row components (X down, Y, Z, rotations about them) to the plate's (u, v, w, the
// two plate rotations, the drilling rotation); its transpose takes them back.
void PILEAX(double t[36]);

// Length measure of side `side` of element `ielem` at the Gauss abscissa s along it: the
// length of the side per unit of the natural coordinate there. Uses ELXY, SHPVAL and
// SHPDER as SHAPEQ left them on side 1 of the natural square.
double side_length(PlateRun& r, int side, int nside);

// Tangent matrices (ELMAT), residual contributions without the external loads (ELVEC)
// and one element record per element on the element scratch file, at the displacement
// ASDIS + TSDIS. False when the run failed (its status says why).
bool ELSTIF(PlateRun& r);

// The nodes of side `side` of an element: first corner, second corner, mid-side node.
void side_nodes(int side, int& a, int& b, int& c);

// Gathers the coordinates of element e's nodes into ELXY.
void gather_xy(PlateRun& r, int e);

}  // namespace torva
