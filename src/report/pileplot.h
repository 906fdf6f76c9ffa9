// Curve data of the plot pass: the geometry and the sections of one pile-group row.
#pragma once

namespace torva {

struct Model;

// Writes the geometry block of row g to the curve-data file: the block header (g, the
// number of plot segments, 0), the pile length, the head coordinates, the direction
// cosines of the pile axes, and at the middle of every plot segment its coordinate and
// the section there (2-D: D, A, Iz, E; 3-D: D, A, Iz, Iy, E, GJ). The status word is
// neither read nor set.
void PILEPLOT(Model& m, int g, int& status);

}  // namespace torva
