// The steps of the input echo. Each table has a model step, which completes the analysis
// model (values the analysis runs on are computed there and only there), and a print
// step, which reads the model and the input tables and writes the echo report.
#pragma once

#include <string>

#include "model/model.h"

namespace torva {

// The whole input echo: Tables B to K in order, completing the analysis model.
void ECHOINPUT(Model& m, int& status);

// Heading and general options; Table B (pile cap).
void ECHOHEAD(Model& m);
void ECHOCAP(Model& m);
// Model: the effective cap width CAPWEFF (the input width CAPWID is kept as read).
void CAPWIDTH(Model& m);

// Model: the default load levels of an estimating load case that gives none.
void ESTDEFAULTS(Model& m);
// Table C: load cases, envelopes, combinations and the sets of distributed load.
void ECHOLOADS(Model& m);

// Model: PILEROW, HEADFIX, the group factors of the rows, the cap pseudo row and the
// angles in radians. Table D prints from them.
void BUILDROWS(Model& m);
void ECHOROWS(Model& m);

// Model: PILEPRP, PSECT with the section properties, the moment-curvature set numbers of
// the nonlinear cross sections. Table E prints the properties, sections, cross sections
// and the elastic section table.
void BUILDPROPS(Model& m);
void ECHOPROPS(Model& m);
void ECHOSECTIONS(Model& m);

// The 32-character name of a load type code.
std::string LOADTYPENAME(int code);

}  // namespace torva
