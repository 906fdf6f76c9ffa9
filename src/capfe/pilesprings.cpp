#include "capfe/platerun.h"

#include "model/messages.h"
#include "model/model.h"
#include "model/status.h"

namespace torva {

namespace {

// The pile springs of the run. The single-pile head response is not part of the engine
// yet: a plate model whose piles act as springs is refused until it is.
class RunPileSprings final : public PileSprings {
 public:
  void force(Model& m, int row, double F[6], const double U[6], int& status) const override {
    (void)U;
    for (int i = 0; i < 6; ++i) F[i] = 0.0;
    refuse(m, row, status);
  }
  void tangent(Model& m, int row, double K[36], const double U[6], int& status) const override {
    (void)U;
    for (int i = 0; i < 36; ++i) K[i] = 0.0;
    refuse(m, row, status);
  }

 private:
  static void refuse(Model& m, int row, int& status) {
    emit(m, TO_REPORT | TO_RUNLOG,
         " **** FATAL ERROR **** PILE SPRINGS OF THE PLATE MODEL NOT AVAILABLE, PILE ROW " + std::to_string(row));
    if (status == 0) status = ST_NOTBUILT;
  }
};

}  // namespace

const PileSprings& run_pile_springs() {
  static const RunPileSprings springs;
  return springs;
}

}  // namespace torva
