// Equivalent linear stiffness of the whole pile foundation at the cap origin for one
// converged point of a stiffness estimation, with its report.
#pragma once

#include "io/textfile.h"
#include "model/model.h"
#include "pile/matinv.h"

namespace torva {

// Sums over the pile rows 1..NROW the head stiffness of each row's linear beam model,
// carried from the pile's local axes to the cap origin, and prints it with the point's load
// and displacement at the origin (KMATLOG, REPORT, SUMMARY, PLOTDATA). iaxial = 1 adds the
// pile-top axial forces as geometric terms. nl: the number of level values of the case;
// ipoint, factor: the point and its level factor. The rows are summed in row order whatever
// the thread count.
void CAPTSTF(Model& m, int& status, int iaxial, int nl, int ipoint, double factor,
             const Vec6& capload, const Vec6& capdisp, Mat6& K);

// The point's header, target lines and load and displacement vectors at the origin.
void CAPORIGIN(Model& m, int nl, int ndim, int ipoint, double factor, double dcomp,
               double dtarg, const Vec6& capload, const Vec6& capdisp);

// The target-deflection line of one report (nothing for an estimation on the total load).
void TGTLINE(Model& m, TextFile& f, int nl, int ndim, double dcomp, double dtarg);

}  // namespace torva
