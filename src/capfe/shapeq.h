// Shape functions of the 4-, 8- and 9-node quadrilaterals, the Jacobian at a point and the
// Gauss-Legendre rule of the plate program.
#pragma once

#include "capfe/platerun.h"

namespace torva {

// SHPVAL and SHPDER at the natural point (s, t) for nnode 4, 8 or 9; any other count
// leaves them unchanged.
void SHAPEQ(FEWORK& w, double s, double t, int nnode);
// After SHAPEQ, with ELXY holding the element's coordinates: GPXY(., point), the Jacobian
// determinant and the Cartesian derivatives SHPDXY. A determinant that is not positive
// writes the halt message on the listing, sets the run's status and returns false.
bool JACOB2(PlateRun& r, int ielem, double& djacb, int kgasp);
// The Gauss rule of NGAUS points per direction into GAUSSPT and GAUSSWT.
void GAUSSLEG(FEWORK& w, int ngaus);
// The same rule (1, 2 or 3 points; any other count gives zeros) into pt and wt.
void gauss_rule(int ngaus, double pt[3], double wt[3]);

// Number of the Gauss point (i along s, j along t) of an element: (i-1) NGAUS + j.
inline int gauss_no(int i, int j, int ngaus) { return (i - 1) * ngaus + j; }

// SHAPEQ and JACOB2 at Gauss point (i, j) of element ielem, and the point's share of the
// element's area: the Jacobian determinant times the two weights. False as JACOB2.
bool GAUSSAREA(PlateRun& r, int ielem, int i, int j, double& da);

}  // namespace torva
