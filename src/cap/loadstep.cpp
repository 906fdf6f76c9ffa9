#include "cap/loadstep.h"

#include <cmath>

namespace torva {

namespace {

// Load factors within this distance of the full load are the full load: ten steps of 0.1
// must end at exactly 1.0, not at 0.9999999999999999 with a near-zero step after it.
constexpr double FULL_LOAD_TOL = 1.0e-9;

}  // namespace

LoadStepper::LoadStepper(double facinc) : TCUR(facinc), DTCUR(facinc), TCONV(0.0) {
  if (std::fabs(TCUR - 1.0) <= FULL_LOAD_TOL) TCUR = 1.0;
}

bool LoadStepper::accept() {
  TCONV = TCUR;
  if (TCONV >= 1.0 - FULL_LOAD_TOL) {
    TCONV = 1.0;
    return true;
  }
  TCUR = TCONV + DTCUR;
  if (TCUR > 1.0 - FULL_LOAD_TOL) TCUR = 1.0;
  return false;
}

bool LoadStepper::fail(double facmin) {
  const double failed = TCUR;
  DTCUR *= 0.5;
  if (DTCUR < facmin) return true;
  TCUR = 0.5 * (TCONV + failed);
  return false;
}

}  // namespace torva
