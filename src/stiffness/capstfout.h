// Stiffness tables of a flexibility estimation: per load level the flexibility matrix at
// the cap origin, gathered from ESTREC1 and inverted.
#pragma once

#include "model/model.h"

namespace torva {

// Prints, when itab is 1, the stiffness matrix of every level k = 1..n (REPORT, SUMMARY and
// PLOTDATA), the full matrix or, with idiag = 1, its diagonal; components not estimated
// (unit-vector records) are named in a warning and print as 1.0. A singular flexibility
// matrix prints a warning in place of its table; a record file that ends early stops the
// tables with a warning. ndof 3 selects the 2-D layouts. ESTREC1 is left closed.
void CAPSTFOUT(Model& m, int itab, int idiag, int n, int ndof, int ld, const Arr1<double, MAXNV>& lev);

}  // namespace torva
