#include "soil_py/defaults.h"

namespace torva {

namespace {

constexpr int US = 1, SI = 2;

// Reference cohesions of the classes: c0 for soft clay, c1 = 2 c0 for stiff clay and k.
// The US values are 500 and 1000 psf in psi rounded to single precision
// (3.472222328186035 and 6.94444465637207), just above the cohesions users write, so
// that a cohesion of exactly 500, 1000 or 4000 psf stays in the lower class.
constexpr double kC0Us = double(float(500.0 / 144.0)), kC0Si = double(23.94013f);
constexpr double kC1Us = double(float(1000.0 / 144.0)), kC1Si = double(47.88026f);
static_assert(kC0Us == 3.472222328186035 && kC1Us == 6.94444465637207);

// Unit weight that separates moist soil (above) from submerged soil (at or below).
constexpr double kGamWaterUs = double(0.045f), kGamWaterSi = double(12.225f);

// lb/in^3 to kN/m^3.
constexpr double kKToSi = double(271.4471f);

constexpr double kRadToDeg = 180.0 / 3.141592653589793;

// Class 1..4 of c against r, 2r, 4r (the last class open above).
int class4(double c, double r) {
  if (c < r) return 1;
  if (c < 2.0 * r) return 2;
  if (c < 4.0 * r) return 3;
  return 4;
}

// Stiff-clay E50 by class.
constexpr double kE50Stiff[4] = {double(0.011f), double(0.007f), double(0.005f),
                                 double(0.004f)};

// Clay k (lb/in^3 or kN/m^3): [US/SI][static/cyclic][class].
constexpr double kClayK[2][2][4] = {
    {{250.0, 500.0, 1000.0, 2000.0}, {100.0, 200.0, 400.0, 800.0}},
    {{double(67861.78f), double(135723.56f), double(271447.13f), double(542894.25f)},
     {double(27144.71f), double(54289.42f), double(108578.84f), double(217157.69f)}}};

// Sand part of the silt k by friction angle (<= 30, <= 36, above): [US/SI][moist/submerged].
constexpr double kSiltSand[2][2][3] = {
    {{25.0, 90.0, 225.0}, {20.0, 60.0, 125.0}},
    {{double(6786.18f), double(24430.24f), double(61075.60f)},
     {double(5428.94f), double(16286.83f), double(33930.90f)}}};

bool tabulated(int units) { return units == US || units == SI; }

}  // namespace

void E50SOFT(double c, double& E50, int units) {
  if (!tabulated(units)) {
    E50 = double(0.001f);
    return;
  }
  const double r = units == US ? kC0Us : kC0Si;
  if (c < r)
    E50 = double(0.02f);
  else if (c < 2.0 * r)
    E50 = double(0.01f);
  else if (c < 8.0 * r)
    E50 = double(0.005f);
  else
    E50 = double(0.004f);
}

void E50STIFF(double c, double& E50, int units) {
  if (!tabulated(units)) return;
  E50 = kE50Stiff[class4(c, units == US ? kC1Us : kC1Si) - 1];
}

void KCLAY(double c, double& k, int units, int istatic) {
  if (!tabulated(units) || (istatic != 0 && istatic != 1)) return;
  const int cls = class4(c, units == US ? kC1Us : kC1Si);
  k = kClayK[units - 1][istatic == 1 ? 0 : 1][cls - 1];
}

void KSILT(double gamma, double c, double phi, double& k, int units, int istatic) {
  if (!tabulated(units) || (istatic != 0 && istatic != 1)) return;
  double kc = 0.0;
  KCLAY(c, kc, units, istatic);
  const double phid = phi * kRadToDeg;
  const int cls = phid <= 30.0 ? 0 : (phid <= 36.0 ? 1 : 2);
  const bool moist = gamma > (units == US ? kGamWaterUs : kGamWaterSi);
  k = kc + kSiltSand[units - 1][moist ? 0 : 1][cls];
}

void APISANDK(double phi, double gamma, double& k, int units) {
  if (!tabulated(units)) return;
  const double phid = phi * kRadToDeg;
  const bool submerged = gamma <= (units == US ? kGamWaterUs : kGamWaterSi);
  constexpr double kPhiLow = double(27.6423f);
  double kus;
  if (phid > 45.0) {
    // The caps are stored in each unit system.
    if (units == US)
      k = submerged ? double(228.76556f) : double(394.71298f);
    else
      k = submerged ? double(62097.758f) : double(107143.71f);
    return;
  }
  if (phid < kPhiLow) {
    kus = (submerged ? 10.20672607421875 : 10.206787109375) * phid / kPhiLow;
  } else if (submerged) {
    kus = ((double(0.0166f) * phid - double(1.55262f)) * phid + double(58.42955f)) * phid -
          double(769.18353f);
  } else {
    kus = (double(0.4168f) * phid - double(8.1254f)) * phid - double(83.664f);
  }
  k = units == US ? kus : kus * kKToSi;
}

void DEFE50(double c, double& E50, int code, int units) {
  switch (code) {
    case 1: case 7: case 13: case 14:
      E50SOFT(c, E50, units);
      break;
    case 2: case 3: case 10:
      E50STIFF(c, E50, units);
      break;
    default:
      break;
  }
}

void DEFE50U(double c, double E50in, double& E50out, int units, int code, int& eflag) {
  E50out = E50in;
  if (E50in > 0.0) {
    eflag = 0;
    return;
  }
  eflag = 1;
  DEFE50(c, E50out, code, units);
}

void DEFKPY(double c, double phi, double gamma, double kin, double& kst, double& kcy, int units,
            int code, int& kflag, int& cflag) {
  kst = kin;
  kcy = kin;
  cflag = 0;
  if (kin > 0.0) {
    kflag = 0;
    return;
  }
  kflag = 1;
  switch (code) {
    case 2: case 10: case 14:
      KCLAY(c, kst, units, 1);
      KCLAY(c, kcy, units, 0);
      cflag = 1;
      break;
    case 4: case 8:
      APISANDK(phi, gamma, kst, units);
      break;
    case 7:
      KSILT(gamma, c, phi, kst, units, 1);
      KSILT(gamma, c, phi, kcy, units, 0);
      cflag = 1;
      break;
    default:
      break;
  }
}

bool takes_default_k(int code) {
  return code == 2 || code == 10 || code == 14 || code == 4 || code == 8 || code == 7;
}

bool takes_stiff_e50(int code) { return code == 2 || code == 3 || code == 10; }

}  // namespace torva
