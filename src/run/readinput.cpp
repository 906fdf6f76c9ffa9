// Placeholder until this stage is built: it does nothing.
#include "run/runctl.h"

namespace torva {

void READINPUT(Model& m, int& status) {
  (void)m;
  (void)status;
}

}  // namespace torva
