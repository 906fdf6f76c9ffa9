// The run driver and its stages.
#pragma once

#include <functional>
#include <string_view>

#include "model/model.h"

namespace torva {

// One run; with `analyse` false the run ends after the input echo (reports of the input
// only), which the tests of the input tables use.
void MAINRUN(Model& m, int& status, bool analyse = true);
// The frame of one run: starts the run clock, runs `stages`, takes the elapsed time and ends
// the run with FINISH. An exception out of the stages (an internal check that failed) ends
// the run with ST_INTERNAL, its message kept for the run log.
void run_frame(Model& m, int& status, const std::function<void(Model&, int&)>& stages);
void OPENFILES(Model& m, int& status);
void ANALYZE(Model& m, int mode, int& status);
// The plot pass that ends ANALYZE when the input asks for it: the curve-data header, then
// for every pile-group row its geometry, p-y, axial and (3-D) torsional curve blocks.
// status gets the first code that a writer sets; every row is written.
void PLOTPASS(Model& m, int& status);
void FINISH(Model& m, int& status);
// Sends every written file's buffered lines to its file; false when a write, flush or close
// of any of them has failed, the status then ST_FILEWRITE (unless the run already holds an
// error) with the file and the system's reason kept for the end-of-run message.
bool check_writes(Model& m, int& status);
void WRTIME(Model& m);
void WRTIMEX(Model& m);

// The heading of the list of analyses that did not complete in full, which ends the run
// log when there are any: the heading with their count, then one line per analysis.
inline constexpr std::string_view kIncompleteHead = "     ANALYSES NOT COMPLETED IN FULL :";

// The end-of-run lines of a status code (without the leading blank of a free-format line).
void status_lines(int status, std::string out[4], int& count);

}  // namespace torva
