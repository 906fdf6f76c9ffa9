// Curve data of the plot pass: the p-y springs at the plot nodes of one pile-group row.
#pragma once

namespace torva {

struct Model;

// Writes the p-y block of row g to the curve-data file: the block header (g, the number of
// plot nodes, curve kind 1), then for every plot node its coordinate and the p-y spring of
// the node's share of pile length (half a plot segment on each side; the head and the tip
// one half only), mirrored about the origin. The curve of a segment is generated at its
// middle by the soil criterion of the layer holding it, in plot mode. A soil criterion may
// set the status word; the routine goes on with the next node.
void PYPLOTFILE(Model& m, int g, int& status);

}  // namespace torva
