// Results of a 2-D model: Table L of the envelopes, Table M of every pile-group row (the
// pile-top displacements and reactions), the plot lines of the pile tops, the per-pile
// scratch records, and the all-piles summary tables.
#pragma once

#include "cap/cap2d.h"
#include "model/model.h"

namespace torva {

// source 0: the analysis just run; 1: the envelopes of the load cases; 2: those of the
// combinations. kind 0: PILERES; 1: the minimum envelope; 2: the maximum envelope.
void ENVEWR2D(Model& m, int source, int kind);

// The all-piles summary tables of a 2-D model from the per-pile scratch file: pile-top
// displacements and reactions in global and in local axes, each row on a line, with the
// minimum and maximum of every column and the row where each occurs.
void PTABLES2D(Model& m, int selection, int nrow, int icomb, int d, int ndim);
void PTABLE2D(Model& m, int kind, int comp, int nrow, int ndim);

// The cap lines of Table L on the plot-data file: the load and the displacement at the
// origin.
void PLOTCAP2D(Model& m, const Vec3& FV, const Vec3& DV);

}  // namespace torva
