// p-multipliers of closely spaced piles (group reduction factors), estimated for every
// pile-group row from the positions of all individual piles and the direction of loading.
#pragma once

#include <string>

#include "model/model.h"

namespace torva {

// Factors for loading along Y in the direction of `s` (+1.0 or -1.0): the p-multiplier of
// each row into PMULT, 1.0 into YMULT; HEADY := CORY for every row with a pile. A layout
// that group_layout_error refuses leaves the factors unchanged and sets ST_INPUTCHECK with
// a message on the report and the run log.
void REDFACY(Model& m, double s, int& status);
// The same for loading along Z, into PMULTZ and YMULTZ.
void REDFACZ(Model& m, double s, int& status);

// Pair factor of pile i against pile j: o, u the in-line and cross offsets of i from j in
// pile diameters, s the sign of the loading direction.
double redfac_pair(double o, double u, double s);

// Why the pile layout cannot give reduction factors (empty when it can): more individual
// piles than the work lists hold, a 2-D row of several piles at zero spacing, two piles
// at the same position, or a pile diameter that is not positive.
std::string group_layout_error(const Model& m);

}  // namespace torva
