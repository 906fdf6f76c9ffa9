// Load-displacement and flexibility tables of one degree-of-freedom point of a flexibility
// estimation, from the point's records on ESTREC2.
#pragma once

#include "model/model.h"

namespace torva {

// Works only at a degree-of-freedom point (mode 2): closes ESTREC2, reads its n record pairs
// twice and prints the load-displacement table (REPORT, with a numeric line per level on
// PLOTDATA) and the flexibility table (REPORT and SUMMARY); leaves ESTREC2 closed and the
// open flag 0. A file with fewer or unreadable records prints a warning in place of the
// rows it lacks.
void CAPCURVES(Model& m, int mode, int point, int n, int ndim, int ndof, int& iopen);

}  // namespace torva
