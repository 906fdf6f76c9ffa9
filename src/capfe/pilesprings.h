// The run's single-pile analysis as the pile springs of the plate model: head forces and
// head tangent of a pile row for a head displacement, in the pile-row axes.
#pragma once

#include <memory>

#include "capfe/platerun.h"

namespace torva {

struct PilefScratch;

// Owns the working storage of the pile evaluations of one plate run (made once, lent to
// every evaluation; the plate program runs on one thread).
class RunPileSprings final : public PileSprings {
 public:
  RunPileSprings();
  ~RunPileSprings() override;
  void force(Model& m, int row, double F[6], const double U[6], int& status) const override;
  void tangent(Model& m, int row, double K[36], const double U[6], int& status) const override;

 private:
  std::unique_ptr<PilefScratch> scratch_;
};

}  // namespace torva
