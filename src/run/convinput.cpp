// Placeholder until this stage is built: it does nothing.
#include "run/runctl.h"

namespace torva {

void CONVINPUT(Model& m) {
  (void)m;
}

}  // namespace torva
