// Node-result writers of one pile row: print selection, table headings, the node table of
// the results report, the plot-data lines and the along-pile extremes of the scratch file.
#pragma once

#include "io/textfile.h"
#include "model/model.h"

namespace torva {

// One pile row's node values: slot k (4 the pile head, NSEG + 4 the tip) by quantity q.
using NodeBuf = Arr2<double, MAXNODE, NNODEQ>;
// Print flags of the 25 node quantities: quantity q is printed when F(q) > 0.
using PrintFlags = Arr1<int, NNODEQ>;

// Heading styles of WRHEAD: a depth column (results report) or a pile column (summaries).
enum HeadDest : int { HD_REPORT = 0, HD_SUMMARY = 1, HD_SUMSCR = 2 };

// The quantities printed for the current analysis (envflag 0) or envelope (envflag 1):
// the user's selection without the second lateral plane in 2-D, without the axial
// quantities when `axind` > 0 (user load-settlement curve) or the axial variation is not
// analysed, and without the demand-to-capacity ratios for load cases.
void PRTSEL(const Model& m, int envflag, int axind, int iaxvar, int ndim, PrintFlags& F);

// The four heading lines of a node or extreme table on `out`.
void WRHEAD(const Model& m, TextFile& out, int dest, const PrintFlags& F);

// The node table of one row on `out`: every `step`-th node from the head, depth in feet
// (metres for SI input) and the selected quantities.
void WRNODES(const Model& m, TextFile& out, const PrintFlags& F, int last, int step,
             double seglen, const NodeBuf& B);

// The plot-data lines of one row: its own flag line, then one line per node with the depth
// in internal units and every quantity the model produces.
void WRPLOT(TextFile& out, int last, int lsno, int iaxvar, int icomb, int ndim, double seglen,
            const NodeBuf& B);

// Minimum and maximum of every quantity along the pile with their depths, as the four
// along-pile records of row g on the per-pile scratch file.
void PILEMM(const Model& m, TextFile& out, int g, int last, double seglen, const NodeBuf& B);

}  // namespace torva
