// Moment-curvature sets of the nonlinear cross sections: the section table of the echo,
// Table J, and the sets stored in MPHI for the bending stiffness of the pile solutions.
#pragma once

#include "model/model.h"

namespace torva {

// The property table of the nonlinear cross sections, printed after the elastic sections.
void ECHONLSECT(Model& m);

// User sets first, then the generated sets of the nonlinear sections: entry i of the
// section curves goes to the set numbers of the cross section ISECG(i) names (one set in
// 2-D, two in 3-D). Prints Table J and copies the host's listing of the generated curves.
// An entry of a section that takes no set is skipped (with a warning when it carries
// curves); curves beyond the set table are refused. When moment-curvature stiffness is in
// use, a nonlinear section left without curves is named in a warning on the run log and the
// results report: it bends with its elastic stiffness.
void ECHOMPHI(Model& m, int& status);

}  // namespace torva
