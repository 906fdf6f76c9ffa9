// Curve data of the plot pass: the axial (t-z with the q-w tip curve) and the torsional
// spring curves at the plot points of one pile-group row.
#pragma once

namespace torva {

struct Model;

// Writes the axial block of row g (curve kind 2) to the curve-data file: at every plot
// point below the ground the axial soil spring of the point's share of pile length, and at
// the tip that spring with the tip resistance added on the bearing side. A soil lookup
// beyond its profile, or a driven pile's clay tip without E50 or capacity, sets the status
// word and ends the block there.
void TZPLOTFILE(Model& m, int g, int& status);

// Writes the torsional block of row g (curve kind 3, 3-D models): the torque-rotation
// spring of every plot point's share of pile length. A soil lookup beyond its profile sets
// the status word and ends the block there.
void TRPLOTFILE(Model& m, int g, int& status);

}  // namespace torva
