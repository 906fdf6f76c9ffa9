#include "axial/defsidtip.h"

#include "axial/siderules.h"

#include <algorithm>
#include <cmath>

#include "model/model.h"
#include "soil/lookups.h"

namespace torva {

using namespace siderules;

void DEFSIDTIP(Model& m, int code, double X, int& hasSide, double& fDriven, double& fDrilled,
               int& hasTip, double& qDriven, double& qDrilled, int& status) {
  const int units = m.IUNITS;
  // Side friction (without layers the lookup fails with its status).
  const double f0 = SIDEFRIC(m, X, status);
  if (status != 0) return;
  double z = X - m.LTOP(1);  // depth below the ground surface
  fDriven = fDrilled = 0.0;
  if (f0 >= kGiven) {
    hasSide = 0;
  } else {
    hasSide = 1;
    const double gam = GAMAVG(m, X, status);
    if (status != 0) return;
    const double phi = PHIDEP(m, X, status);
    if (status != 0) return;
    if (z < kGiven) z = 1.0;
    const double c = COHESION(m, X, status);
    if (status != 0) return;
    const double sigv = gam * z;
    const double alpha = adhesion(c, sigv, units);
    const double beta = beta_factor(z, units);
    fDriven = side_by_code(code, true, c, phi, alpha, beta, sigv, sigv, f0);
    fDrilled = side_by_code(code, false, c, phi, alpha, beta, sigv, sigv, f0);
  }

  // Tip resistance.
  hasTip = 0;
  qDriven = qDrilled = 0.0;
  const double q0 = TIPRES(m, X, status);
  if (q0 >= kGiven) return;
  const double c = COHESION(m, X, status);
  const double phi = PHIDEP(m, X, status);
  int k = code;
  if (c > double(0.1f) && phi < double(1.0e-4f)) k = 3;  // no friction: treated as a clay
  const bool cohesive = k <= 3 || k == 5 || k == 6 || k == 9 || k == 10 || k == 11 ||
                        k == 13 || k == 14;
  if (cohesive) {
    qDriven = qDrilled = 9.0 * c;
  } else if (k == 4 || k == 7 || k == 8) {
    if (status != 0) return;
    const double gam = GAMAVG(m, X, status);
    if (status != 0) return;
    const double nq = bearing_nq(double(57.296f) * phi);
    qDriven = nq * gam * z;
    if (!drilled_sand_tip(phi, units, qDrilled)) qDrilled = qDriven;
    if (k == 7) {
      qDriven += 9.0 * c;
      qDrilled += 9.0 * c;
    }
  }  // elastic subgrade and any other code: no tip resistance
  hasTip = 1;
}

}  // namespace torva
