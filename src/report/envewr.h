// Result tables of a 3-D analysis and of the envelopes, and the envelope reset.
#pragma once

#include <functional>

#include "model/model.h"
#include "report/noderes.h"

namespace torva {

// Table L (pile heads) and Table M of one analysis (kind 0) or of the minimum (kind 1) or
// maximum (kind 2) envelope; source 1 load cases, 2 combinations.
void ENVEWR(Model& m, int source, int kind, int& status);

// The heading lines of an envelope on the results and summary reports, the plot data and
// the outcome list (with its outcome line); kind 1 the minimum, 2 the maximum, source 1
// the load cases, 2 the combinations.
void envelope_heading(Model& m, int src, int kind);
// The node table of one row on `rep`, when the print option of the analysis (src 0) or of
// the envelope asks for it, and the row's along-pile extremes on the scratch file `scr`.
void row_node_output(const Model& m, int src, int g, int lsno, int last, double seglen,
                     const NodeBuf& B, TextFile& scr, TextFile& rep);

// The rows of Table M, a block of up to TABLEM_BLOCK rows at a time: for every row
// g = 1..NROW, its numbers and its node values of the analysis (kind 0) or of the minimum
// (1) or maximum (2) envelope go into the block's slot i (`slot`(i)), `prepare`(g, i)
// takes the row's own values, and the two output streams of each row of the block run,
// `plot`(i) for the plot data and `report`(i) for the per-pile scratch records and the
// results report, each building its lines in memory, the streams of the block shared by
// the threads; the files receive them in row order. Opens and closes the scratch file;
// false with the status set when it cannot be written.
struct TableMRow {
  int g = 0, last = 0, lsno = 0;  // the row, its tip slot NSEG + 4, its load-settlement curve
  double seglen = 0.0;            // its segment length
  NodeBuf B;                      // its node values
};
inline constexpr int TABLEM_BLOCK = 32;
bool table_m_rows(Model& m, int kind, const std::function<TableMRow&(int)>& slot,
                  const std::function<void(int, int)>& prepare,
                  const std::function<void(int, TextFile&)>& plot,
                  const std::function<void(int, TextFile&, TextFile&)>& report, int& status);

// The selection of the all-piles summary tables after Table M of the analysis (src 0) or
// of an envelope: the axial quantities stay when some row takes a generated
// load-settlement curve.
PrintFlags summary_flags(const Model& m, int src);

// The plot-data lines of one row of Table M: the pile-top displacements and reactions
// (n of each) in global axes, then in local axes, each line ending with the head stress;
// then the row's node table.
void plot_row(const Model& m, const TableMRow& r, TextFile& out, const double* glob_disp,
              const double* glob_react, const double* loc_disp, const double* loc_react, int n,
              double stress);

// Resets the envelopes of a 3-D model (cap values and rows 1..NROW) to 0.
void ENVINIT(Model& m);
// Resets the 2-D subset of the envelopes.
void ENVINIT2D(Model& m);
// Running extremes: x := y when y is smaller (larger); a NaN never replaces x.
inline void DMINUP(double& x, double y) {
  if (y < x) x = y;
}
inline void DMAXUP(double& x, double y) {
  if (y > x) x = y;
}

}  // namespace torva
