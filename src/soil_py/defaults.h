// Default soil parameters: strain at 50% stress (E50) and initial modulus k of the p-y
// curves by criterion, cohesion class, friction angle and position relative to the water
// table.
//
// Cohesion c in internal stress units (psi for US customary input, kPa for SI), friction
// angle phi in radians, unit weight gamma in internal units (lb/in^3, kN/m^3); k comes out
// in lb/in^3 or kN/m^3. `units` is IUNITS: 1 US customary, 2 SI. The tables exist for
// these two systems only; in the generic system (any other value) the routines that have
// no catch-all value write nothing and the caller keeps what it had. The soil-profile step
// of the echo refuses generic-unit layers that would need such a default (see soilprof).
#pragma once

namespace torva {

// Soft-clay E50 by cohesion class (0.001 outside US and SI units).
void E50SOFT(double c, double& E50, int units);
// Stiff-clay E50 by cohesion class.
void E50STIFF(double c, double& E50, int units);
// Clay k by cohesion class; istatic 1 static, 0 cyclic (any other value writes nothing).
void KCLAY(double c, double& k, int units, int istatic);
// Cohesive-frictional (silt) k: the clay value plus a sand part by friction angle.
void KSILT(double gamma, double c, double phi, double& k, int units, int istatic);
// Initial modulus of sand from the friction angle, submerged or above the water table.
void APISANDK(double phi, double gamma, double& k, int units);

// The default E50 of the criterion `code`: soft clays and silt (1, 7, 13, 14) the soft-clay
// table, stiff clays (2, 3, 10) the stiff-clay table; any other code leaves E50 as it is.
void DEFE50(double c, double& E50, int code, int units);
// E50 to use: the input value when positive (eflag 0), else the criterion's default
// (eflag 1; the input value when the criterion has none).
void DEFE50U(double c, double E50in, double& E50out, int units, int code, int& eflag);
// Static and cyclic k to use: the input value when positive (kflag 0, cflag 0); otherwise
// kflag 1 and the criterion's defaults, cflag 1 when a separate cyclic default exists.
void DEFKPY(double c, double phi, double gamma, double kin, double& kst, double& kcy, int units,
            int code, int& kflag, int& cflag);

// True when `code` takes its initial modulus k from DEFKPY's tables when k is not given,
// and when it takes its E50 from the stiff-clay table (no generic-unit default).
bool takes_default_k(int code);
bool takes_stiff_e50(int code);

}  // namespace torva
