// Rules of the program-estimated ultimate unit side friction and tip resistance, shared by
// the soil table's estimates and by the axial and torsional curve generators.
#pragma once

#include <algorithm>
#include <cmath>

namespace torva::siderules {

inline constexpr double kGiven = double(1.0e-10f);  // a profile value at or above this is given

// Bearing capacity factor Nq of driven piles in sand by friction angle in degrees (each
// interval includes its upper end).
inline double bearing_nq(double phid) {
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
inline double adhesion(double c, double sigv, int units) {
  double psi;
  if (sigv > 0.0)
    psi = c / sigv;
  else
    psi = c > 0.0 ? 1.0e30 : kGiven;
  psi = std::max(psi, kGiven);
  double alpha = psi <= 1.0 ? 0.5 / std::sqrt(psi) : 0.5 / std::pow(psi, 0.25);
  // Soft clays at shallow depth: full adhesion.
  if (units == 1 && alpha < 0.5 && c < double(3.47f)) alpha = 1.0;
  if (units == 2 && alpha < 0.5 && c < 24.0) alpha = 1.0;
  return std::min(alpha, 1.0);
}

// Beta factor of drilled shafts in sand from the depth in feet, 0.25 to 1.2.
inline double beta_factor(double z, int units) {
  double zft = units == 1 ? z / 12.0 : (units == 2 ? z / double(0.3048f) : 0.0);
  zft = std::max(zft, double(1.0e-7f));
  const double beta = double(1.5f) - double(0.135f) * std::sqrt(zft);
  return std::clamp(beta, double(0.25f), double(1.2f));
}

// Shaft friction of driven piles in sand: the friction angle reduced by about 5 degrees,
// never negative.
inline double sand_driven(double sigv, double phi) {
  return std::max(0.0, double(0.8f) * sigv * std::tan(phi - double(0.087f)));
}

// Unit side friction by soil code: a driven pile from alpha and its sigma'v, a drilled
// shaft from beta and its own sigma'v; codes without a rule keep the profile value f0.
inline double side_by_code(int code, bool driven, double c, double phi, double alpha,
                           double beta, double sigvDriven, double sigvDrilled, double f0) {
  switch (code) {
    case 1: case 2: case 3: case 10: case 11: case 13: case 14:
      return driven ? alpha * c : double(0.55f) * c;
    case 6: case 9:
      return double(0.1f) * c;
    case 4: case 8:
      return driven ? sand_driven(sigvDriven, phi) : beta * sigvDrilled;
    case 7:
      return driven ? sand_driven(sigvDriven, phi) + alpha * c
                    : double(0.55f) * c + beta * sigvDrilled;
    default:  // user curves, elastic subgrade: what the profile gives
      return f0;
  }
}

// Unit tip resistance of a drilled shaft in sand by friction angle (radians); false in the
// generic unit system above 30 degrees, where no value is defined.
inline bool drilled_sand_tip(double phi, int units, double& q) {
  if (phi < double(0.5236f)) q = double(0.1f);
  else if (units == 1) q = phi < double(0.628f) ? double(222.2f) : double(555.56f);
  else if (units == 2) q = phi < double(0.628f) ? 1530.0 : 3830.0;
  else return false;
  return true;
}

}  // namespace torva::siderules
