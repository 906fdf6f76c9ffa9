// Load-factor stepping shared by the 2-D and 3-D cap analyses.
#pragma once

namespace torva {

// Load-factor stepping of the cap analyses: steps of the first factor up to exactly the
// full load; after a failed attempt a retry halfway between the last converged factor and
// the one that failed, with half the increment, until the increment falls below the minimum
// factor. Factors within 1e-9 of the full load are the full load, so rounding never leaves a
// near-zero last step.
struct LoadStepper {
  double TCUR, DTCUR, TCONV;
  explicit LoadStepper(double facinc);
  // After a converged step; true when the full load has been reached.
  bool accept();
  // After a failed attempt; true when the increment fell below facmin (steps exhausted).
  bool fail(double facmin);
};

}  // namespace torva
