// Pile-head load-settlement curve of a pile row by the tip-up load-transfer method, and
// its torsional twin, the torque-rotation curve.
#pragma once

#include "model/axial_tables.h"
#include "model/table.h"

namespace torva {

struct Model;

using CurveArr = Arr1<double, MAXLSPT>;

// Nine points of one branch of the load-settlement curve of row g (property t), generated
// curve number i: branch 1 the pull-out side (tip area 1e-4), branch 2 the bearing side.
// loads and moves receive the head load and head movement, positive for both branches.
// The solution behind the points is stored in LSSAVE under curve i; the curves and the
// solutions are written to the generated-curve and load-settlement detail files.
void LSCURVE(Model& m, int t, int branch, int i, int g, int& status, int& n, CurveArr& loads,
             CurveArr& moves);

// Nine points of one branch of the torque-rotation curve of row g (property t), generated
// curve number i: head torque and head rotation, positive for both branches (the tip
// carries no torque, so both branches give the same points). A section without torsional
// rigidity is refused with status ST_INPUTCHECK.
void TRCURVE(Model& m, int t, int branch, int i, int g, int& status, int& n,
             CurveArr& torques, CurveArr& rotations);

}  // namespace torva
