// External loads of the plate program at the current pseudo-time, and the small
// operations on element and nodal vectors.
#pragma once

#include <vector>

#include "capfe/platerun.h"

namespace torva {

// Load factor of the current pseudo-time: (TCUR - TINI) / (TEND - TINI), 1 when TEND = TINI.
double load_factor(const PlateRun& r);
// Adds the nodal, distributed, concentrated and edge loads to ELVEC. False when the run
// failed (a non-positive Jacobian).
bool LOADVEC(PlateRun& r);
// X(1..n) = value.
void VFILL(double* x, int n, double value);
// X(i) += Y(i), i = 1..n.
void VADD(double* x, const double* y, int n);
// Adds every element vector into the nodal vector V (not cleared first).
void ASSEMV(PlateRun& r, std::vector<double>& v);
// Euclidean norms of the translational (t) and rotational (rr) parts of the nodal vector
// x of n values.
void NORM6(const double* x, double& t, double& rr, int n);

}  // namespace torva
