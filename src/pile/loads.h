// Load assembly: the loads of a load case or combination in the form the cap analyses
// take them, and the per-case controls copied into the current-control records.
//
// Load vectors are about the cap origin in the order force X, Y, Z, moment X, Y, Z
// (X vertical, downward). The load tables store a load as FX, FY, MZ, FZ, MY, MX so that
// a 2-D model uses the first three; that storage order is mapped here and nowhere else.
#pragma once

#include "model/model.h"

namespace torva {

using Vec6 = Arr1<double, 6>;
using IVec6 = Arr1<int, 6>;

// Resultant of the concentrated loads of case c about the origin (scaled by the case
// factor; zero for a displacement-type case).
void LOADORIG(const Model& m, int c, Vec6& R);
// Resultant of combination j: the members' resultants times their factors.
void COMBORIG(const Model& m, int j, Vec6& R);
// Prescribed cap displacements of case c: loads moved to the origin (FO), loads at the
// point (FP), prescribed displacements (UP), the point (P) and the condition codes (K),
// all in the order X, Y, Z, rotation X, Y, Z.
void DISPLOAD(const Model& m, int c, Vec6& FO, Vec6& FP, Vec6& UP, Vec6& P, IVec6& K);

// Node loads of the distributed-load lines (DLTAB).
void CLRLOAD(Model& m);
void CASELOAD(Model& m, int c);
void COMBLOAD(Model& m, int j);
void ADDDLOAD(Model& m, int c, double f);
// Adds the resultant of the axial parts DLAXIAL, acting at the pile heads, to R.
void DLOADORIG(Model& m, Vec6& R);

// Soil-movement profile of row g in the pile's local directions (row g of SMOVE).
// Called inside the parallel row loops: writes row g of SMOVE only.
void SMOVEPILE(Model& m, int g);

// The controls of load case c (or combination j) into CURCTL, MAXITLLP and CURCOMB;
// NTHUSE restarts at 1. Used by the echo and by the analysis driver alike.
void SETCURCASE(Model& m, int c);
void SETCURCOMB(Model& m, int j);

// Value of load-versus-depth curve i at the distance s from the pile head.
double DLCURVE(const Model& m, int i, double s);
// Resolves a horizontal global vector (qY, qZ) into the local y and z directions of a
// 3-D pile with angles A (ALPHA), B (BETA), T (THETA), in radians; returns the axial
// component that the lateral components leave out.
double GLOBAL2LOCAL(double A, double B, double T, double qY, double qZ, double& ly, double& lz);

}  // namespace torva
