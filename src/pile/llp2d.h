// The laterally loaded pile of the 2-D analysis: one pile of a pile-group row as a
// finite-difference beam-column in the plane of the model, on secant p-y springs,
// iterated until two successive deflected shapes agree; and the results of the closed
// shape.
#pragma once

#include "model/model.h"
#include "pile/matinv.h"
#include "pile/pileres.h"
#include "soil_py/pycurve.h"

namespace torva {

// Working storage of one 2-D lateral solution. One per thread, made once and lent to
// every call; every array is cleared at the start of a call, so nothing survives from
// one call to the next but the kept curve constants, which are used only while their
// inputs are unchanged. Arrays are indexed by the solution entry m (head 4, tip NSEG + 4)
// unless marked "by pile node k".
struct Llp2dScratch {
  NodeVec y, yold;          // lateral deflection, and that of the previous solve
  NodeVec EI;               // flexural rigidity
  NodeVec Es;               // secant soil modulus
  NodeVec Pax;              // axial force of the beam-column terms
  NodeVec q;                // lateral load per length applied in the solve
  NodeVec a, b, c;          // recursion coefficients
  NodeVec q0, sm, zero;     // distributed load, soil movement, a zero second component (by k)
  NodeVec yk, Esp, pr, Fsm; // p-y input and output by pile node k
  NodeVec ym, s1m, Espm, prm, Fm;  // the same by entry m, for user p-y curves
  NodeVec mov, fax;         // the axial movement and force shown at the nodes
  NodeVec th, M, F, p, sig, rM, rV, vert, hori;  // results of the closed shape
  NodeBlock block;          // the 25 node quantities for the result store
  PyKept kept;                  // curve constants of the row last evaluated (kept across calls)
  int ns = 0;               // solves made by the last call
};

// Lateral solution of row g for the lateral head deflection yt and the head rotation st
// (the slope dy/dx of the pile at its head), the axial force P (AXFORCE times AXFAC,
// compression positive) and the axial head displacement ua. T (3 x 3, by columns) takes
// the head forces (axial, lateral, moment) to global components; MOV and FAX are the
// axial movement and force along the pile (entry 4 the head), read only.
//
// Returns true with the lateral head force V and the head moment M when the shape
// closed; in the output passes it then stores the row's results (IOPASS = 1) or its
// equivalent stiffnesses (IOPASS = 2). Returns false with V = M = 0 on a non-closure or a
// singular system (warning written, pile state 1) or on a failing p-y lookup (`status`
// set).
bool LLP2D(Model& m, int g, double yt, double st, double P, double& V, double& M, int& status,
           double ua, const Mat3& T, const NodeVec& MOV, const NodeVec& FAX, Llp2dScratch& s);

}  // namespace torva
