// Frontal solution of the plate program's linear system of one Newton iteration.
#pragma once

#include "capfe/platerun.h"

namespace torva {

// Assembles ELMAT and ELVEC element by element into the front, eliminates every variable
// after the last element that holds its node (the eliminated equations go to the
// equation scratch file), and solves backwards. DSDIS receives the increment of every
// variable; GLOBV the reaction of each restrained variable (code 1), the given value
// times the increment for code 2, the given value for the other freedoms of restrained
// nodes and 0 elsewhere. A restrained variable (code 1) takes the increment FIXINC.
// False when the run failed: a zero pivot of a free variable, a front over its capacity
// or a scratch-file failure (the run's status says which).
bool FRONTSOL(PlateRun& r);

}  // namespace torva
