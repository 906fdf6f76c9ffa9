// Headings of a foundation stiffness or flexibility estimation.
#pragma once

#include "model/model.h"
#include "pile/matinv.h"

namespace torva {

// Heading of a stiffness estimation; mode 0: levels of the total applied load, otherwise
// levels of a target deflection.
void CAPSTFHEAD(Model& m, int mode);

// Heading of the flexibility point of degree of freedom `dof`. When the base load has no
// component on that degree of freedom (below 1e-12) the point is skipped: the skip lines,
// and for each of the npt levels the unit-vector record on ESTREC1 (so that the tables find
// a complete set of records) and a PLOTDATA line; skip is then 1, else 0.
void CAPDOFHD(Model& m, int mode, int dof, int ndim, int npt, int ndof, const Vec6& force,
              int& skip);

}  // namespace torva
