#include "soil/nosoil.h"

#include <string>

#include "io/fmt.h"
#include "model/messages.h"

namespace torva {

void NOSOILMSG(Model& m, int g, std::string_view what) {
  std::string who = "     NO SOIL LAYERS ARE DEFINED, BUT ";
  if (g == m.NROW + 1) {
    who += "THE PILE CAP";
  } else {
    who += "PILE-GROUP ROW";
    put_I(who, g, 5);
  }
  std::string need = "     NEEDS ";
  need += what;
  need += " GENERATED FROM THE SOIL.";
  const std::string lines[5] = {"", "", "     **** FATAL ERROR ****", who, need};
  for (unsigned dest : {unsigned(TO_REPORT), unsigned(TO_RUNLOG)})
    for (const auto& l : lines) emit(m, dest, l);
}

void NOSOILCHK(Model& m, int& status) {
  if (m.NLAYER > 0) return;
  bool missing = false;
  auto need = [&](int g, std::string_view what) {
    NOSOILMSG(m, g, what);
    missing = true;
  };
  for (int g = 1; g <= m.NROW; ++g) {
    if (py_from_soil(m, g)) need(g, NEED_PY);
    if (ls_from_soil(m, g)) need(g, NEED_LS);
    if (tr_from_soil(m, g)) need(g, NEED_TR);
  }
  // The soil springs of an embedded cap come from the soil unless user p-y curves are on.
  if (m.ICAPOPT > 1 && m.ICAPSPR == 1 && m.IPYUSER != 1) need(m.NROW + 1, NEED_PY);
  if (missing) status = ST_NOSOIL;
}

}  // namespace torva
