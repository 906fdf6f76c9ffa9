// Results of a 2-D model: Table L of the envelopes, Table M of every pile-group row (the
// pile-top displacements and reactions and the node table), the plot lines of every row,
// the per-pile scratch records, and the all-piles summary tables.
#pragma once

#include <string>
#include <vector>

#include "model/model.h"
#include "pile/matinv.h"
#include "report/noderes.h"

namespace torva {

// source 0: the analysis just run; 1: the envelopes of the load cases; 2: those of the
// combinations. kind 0: PILERES; 1: the minimum envelope; 2: the maximum envelope. A
// scratch file that cannot be written or read back sets the status.
void ENVEWR2D(Model& m, int source, int kind, int& status);

// The six all-piles summary tables of a 2-D model from the per-pile scratch file: pile-top
// displacements and reactions (with the head stress) in global and in local axes, each
// row on a line, and the along-pile extremes of the node quantities F selects; every
// table ends with the minimum and maximum of each column and the row where each occurs.
void PTABLES2D(Model& m, int nrow, const PrintFlags& F, int& status);
// One pile-top table: kind 1 global axes, 2 local axes; comp 1 displacements, 2 reactions.
// `held`: the records of the summary's earlier tables (see read_pile_records).
void PTABLE2D(Model& m, int kind, int comp, int nrow, int& status,
              std::vector<std::string>* held = nullptr);

// The cap lines of Table L on the plot-data file: the load and the displacement at the
// origin.
void PLOTCAP2D(Model& m, const Vec3& FV, const Vec3& DV);

}  // namespace torva
