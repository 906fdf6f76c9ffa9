// Placeholder until this stage is built: it does nothing.
#include "run/runctl.h"

namespace torva {

void ANALYZE(Model& m, int mode, int& status) {
  (void)m;
  (void)mode; (void)status;
}

}  // namespace torva
