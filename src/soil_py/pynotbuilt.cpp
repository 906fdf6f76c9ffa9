// Criteria whose curves are not built yet: they refuse the layer with a clear message.
#include "soil_py/pyframe.h"

namespace torva {
namespace {
void refuse(Model& m, int L, int& status) {
  emit(m, TO_REPORT | TO_RUNLOG,
       " THE P-Y CRITERION OF SOIL LAYER " + std::to_string(L) + " IS NOT AVAILABLE");
  status = ST_NOTBUILT;
}
}  // namespace

#define TORVA_REFUSE(NAME)                                                                    \
  void NAME(Model& m, int, int L, int& status, int, int, const NodeArr&, NodeArr&,             \
            const NodeArr&, const NodeArr&, NodeArr&, NodeArr&) {                               \
    refuse(m, L, status);                                                                      \
  }
TORVA_REFUSE(PYSILT)
TORVA_REFUSE(PYWEAKROCK)
TORVA_REFUSE(PYVUGGYLS)
TORVA_REFUSE(PYINPUT)

}  // namespace torva
