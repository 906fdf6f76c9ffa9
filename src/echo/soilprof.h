// The analysis soil model and Table F of the input echo.
#pragma once

#include "model/model.h"

namespace torva {

// Step of the input echo: checks the soil layers as read, builds the analysis layers
// (SOILLAYR, LAYTYPE) and the property-versus-depth profile (SOILPROF), and prints
// "* TABLE F *   SOIL DATA" to ECHO with the program's estimates of the parameters the
// input left at zero (marked, printed only) and the list of requested p-y curves.
//
// Layers that are not stacked downward (a bottom not below its top, or a layer starting
// above the bottom of the one before) and, in the generic unit system, layers whose
// criterion would need a default k or stiff-clay E50 that the system has no table for,
// are refused with a fatal-error message and ST_INPUTCHECK. A soil lookup beyond the
// profile while estimating side friction and tip resistance ends the step with its status.
void ECHOSOIL(Model& m, int& status);

}  // namespace torva
