#include "axial/defsidtip.h"

#include <algorithm>
#include <cmath>

#include "model/model.h"
#include "run/lookups.h"

namespace torva {

namespace {

constexpr double kGiven = double(1.0e-10f);  // a profile value at or above this is given
constexpr int US = 1, SI = 2;

// Bearing capacity factor Nq of driven piles in sand by friction angle in degrees (each
// interval includes its upper end).
double bearing_nq(double phid) {
  if (phid <= 20.0) return 8.0;
  if (phid <= 25.0) return 8.0 + double(0.8f) * (phid - 20.0);
  if (phid <= 30.0) return 12.0 + double(1.6f) * (phid - 25.0);
  if (phid <= 35.0) return 20.0 + 4.0 * (phid - 30.0);
  if (phid <= 40.0) return 40.0 + 2.0 * (phid - 35.0);
  return 50.0;
}

// Adhesion factor of driven piles in clay from the strength ratio psi = c / sigma'v,
// bounded by 1 (the unit side friction never exceeds the cohesion). Where the effective
// vertical stress is zero the ratio is taken as very large.
double adhesion(double c, double sigv, int units) {
  double psi;
  if (sigv > 0.0)
    psi = c / sigv;
  else
    psi = c > 0.0 ? 1.0e30 : kGiven;
  psi = std::max(psi, kGiven);
  double alpha = psi <= 1.0 ? 0.5 / std::sqrt(psi) : 0.5 / std::pow(psi, 0.25);
  // Soft clays at shallow depth: full adhesion.
  if (units == US && alpha < 0.5 && c < double(3.47f)) alpha = 1.0;
  if (units == SI && alpha < 0.5 && c < 24.0) alpha = 1.0;
  return std::min(alpha, 1.0);
}

// Beta factor of drilled shafts in sand from the depth in feet, 0.25 to 1.2.
double beta_factor(double z, int units) {
  double zft = units == US ? z / 12.0 : (units == SI ? z / double(0.3048f) : 0.0);
  zft = std::max(zft, double(1.0e-7f));
  const double beta = double(1.5f) - double(0.135f) * std::sqrt(zft);
  return std::clamp(beta, double(0.25f), double(1.2f));
}

// Shaft friction of driven piles in sand: the friction angle reduced by about 5 degrees,
// never negative.
double sand_driven(double sigv, double phi) {
  return std::max(0.0, double(0.8f) * sigv * std::tan(phi - double(0.087f)));
}

}  // namespace

void DEFSIDTIP(Model& m, int code, double X, int& hasSide, double& fDriven, double& fDrilled,
               int& hasTip, double& qDriven, double& qDrilled, int& status) {
  const int units = m.IUNITS;
  double z = X - m.LTOP(1);  // depth below the ground surface

  // Side friction.
  const double f0 = SIDEFRIC(m, X, status);
  if (status != 0) return;
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
    switch (code) {
      case 1: case 2: case 3: case 10: case 11: case 13: case 14:
        fDriven = alpha * c;
        fDrilled = double(0.55f) * c;
        break;
      case 6: case 9:
        fDriven = fDrilled = double(0.1f) * c;
        break;
      case 4: case 8:
        fDriven = sand_driven(sigv, phi);
        fDrilled = beta * sigv;
        break;
      case 7:
        fDriven = sand_driven(sigv, phi) + alpha * c;
        fDrilled = double(0.55f) * c + beta * sigv;
        break;
      default:  // user curves, elastic subgrade: what the profile gives
        fDriven = fDrilled = f0;
        break;
    }
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
    if (phi < double(0.5236f)) {
      qDrilled = double(0.1f);
    } else if (units == US) {
      qDrilled = phi < double(0.628f) ? double(222.2f) : double(555.56f);
    } else if (units == SI) {
      qDrilled = phi < double(0.628f) ? 1530.0 : 3830.0;
    } else {
      qDrilled = qDriven;
    }
    if (k == 7) {
      qDriven += 9.0 * c;
      qDrilled += 9.0 * c;
    }
  }  // elastic subgrade and any other code: no tip resistance
  hasTip = 1;
}

}  // namespace torva
