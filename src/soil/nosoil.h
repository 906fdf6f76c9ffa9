// Runs without soil layers. Such a run is valid as long as every curve it uses comes from
// the input: user p-y curves for the piles (and no soil springs on the cap) and user
// load-settlement and, in 3-D, torque-rotation curves. A curve that would have to be
// generated from the soil stops the run with ST_NOSOIL and a message naming the row.
#pragma once

#include <string_view>

#include "model/model.h"

namespace torva {

// What a row needs from the soil, for the message.
inline constexpr std::string_view NEED_PY = "P-Y CURVES";
inline constexpr std::string_view NEED_LS = "A LOAD-SETTLEMENT CURVE";
inline constexpr std::string_view NEED_TR = "A TORQUE-ROTATION CURVE";

// Whether row g takes its p-y curves, its load-settlement curve, or (3-D) its
// torque-rotation curve from the soil rather than from the input.
inline bool py_from_soil(const Model& m, int g) { return !(m.IPYUSER == 1 && m.PYSETG(g) > 0); }
inline bool ls_from_soil(const Model& m, int g) { return m.LSNO(g) == 0; }
inline bool tr_from_soil(const Model& m, int g) { return m.NDIM == 3 && m.TRNO(g) == 0; }

// The fatal message of row g (NROW + 1: the pile cap) needing `what` generated from the
// soil while no soil layer is defined, to the results report and then the run log.
void NOSOILMSG(Model& m, int g, std::string_view what);

// Before the analyses of a run without soil layers: every row that needs a curve from the
// soil gets its message, and the status is set to ST_NOSOIL when there is one. Nothing is
// checked (and the status is left as it was) when the model has soil layers.
void NOSOILCHK(Model& m, int& status);

}  // namespace torva
