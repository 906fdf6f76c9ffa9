#include "capfe/pilesprings.h"

#include "model/model.h"
#include "pile/pilestif.h"

namespace torva {

RunPileSprings::RunPileSprings() : scratch_(std::make_unique<PilefScratch>()) {}
RunPileSprings::~RunPileSprings() = default;

void RunPileSprings::force(Model& m, int row, double F[6], const double U[6], int& status) const {
  Vec6 f, u;
  for (int i = 1; i <= 6; ++i) u(i) = U[i - 1];
  PILEF(m, row, f, u, status, *scratch_);
  for (int i = 1; i <= 6; ++i) F[i - 1] = f(i);
}

void RunPileSprings::tangent(Model& m, int row, double K[36], const double U[6], int& status) const {
  Mat6 k;
  Vec6 u;
  for (int i = 1; i <= 6; ++i) u(i) = U[i - 1];
  PILESTIF(m, row, k, u, status, *scratch_);
  for (int j = 1; j <= 6; ++j)
    for (int i = 1; i <= 6; ++i) K[(i - 1) + 6 * (j - 1)] = k(i, j);
}

}  // namespace torva
