// Node layout of a pile row: segment length, node depths and the node range of every
// soil layer.
#pragma once

#include "model/model.h"

namespace torva {

// The fatal message of a pile reaching below the deepest soil layer, with the length len
// (internal units), to the results report and then the run log.
void PILEDEEPMSG(Model& m, double len);

// 3-D node layout of row g. `status` is the evaluation's own status word: it is cleared
// on entry and set to ST_PILEDEEP when a node lies below the deepest soil layer, or to
// ST_NOSOIL when the row takes its p-y curves from the soil and there is no soil layer.
void NODE(Model& m, int g, int& status);

// 2-D node layout of row g: the same tables from HEADDEP; `status` is left as it was
// unless a node lies below the deepest soil layer (then ST_PILEDEEP2D) or the row needs
// soil that is not there (then ST_NOSOIL).
void NODE2D(Model& m, int g, int& status);

}  // namespace torva
