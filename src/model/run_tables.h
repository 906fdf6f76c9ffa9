// Run-control tables: timing, thread counts, the file set, unit labels, column headings,
// constants and titles.
#pragma once

#include <string>
#include <vector>

#include "model/limits.h"
#include "model/table.h"

#include "io/recfile.h"
#include "io/textfile.h"

namespace torva {

// Wall-clock values (seconds) of the run and of the current analysis.
struct TIMING {
  double TCASE, TSTART, TPREV, TPAR, TSER, TPRT;
};

// Thread counts: runtime maximum, largest used since the last reset, largest of the run.
struct NTHR {
  int NTHMAX, NTHUSE, NTHRUN;
};

// The file roles of "Names.dat" lines 5 to 27, in line order.
enum FileRole : int {
  R_INPUT = 0, R_ECHO, R_REPORT, R_SUMMARY, R_PLOTOUT, R_RUNLOG, R_CASELOG, R_PLOTDATA,
  R_PROGRESS, R_GENCURVES, R_ESTREC1, R_ESTREC2, R_PILESCR, R_STOPREQ, R_STATEFILE,
  R_KMATLOG, R_WARNSCR, R_SOLVTRACE, R_LSDETAIL, R_CURVEDATA, R_STIFTRACE, R_SUMSCR,
  R_MPHILIST, NROLES
};

// What each line of "Names.dat" names, by role, for messages.
inline constexpr const char* kRoleName[NROLES] = {"input data file",
                                                  "echo report",
                                                  "results report",
                                                  "summary report",
                                                  "plot output",
                                                  "run log",
                                                  "outcome list",
                                                  "plot data",
                                                  "progress file",
                                                  "generated-curve details",
                                                  "estimation records 1",
                                                  "estimation records 2",
                                                  "per-pile scratch",
                                                  "stop-request file",
                                                  "pile-state file",
                                                  "stiffness-matrix log",
                                                  "warning scratch",
                                                  "solver trace",
                                                  "load-settlement details",
                                                  "curve data",
                                                  "stiffness-model trace",
                                                  "summary scratch",
                                                  "moment-curvature listing"};

// Contents of "Names.dat": the version text and one file name per role.
struct FILENAMES {
  Chars<12> VERSTXT;
  Chars<256> FNAME[NROLES];
  Chars<256> FILELIST;
  const std::string fname(FileRole r) const { return std::string(FNAME[r].trimmed()); }
};

// The open text files of a run, by role. STOPREQ is opened only around one poll; record
// files are handled by their writers.
struct FILESET {
  TextFile INPUT, ECHO, REPORT, SUMMARY, PLOTOUT, RUNLOG, CASELOG, PLOTDATA, GENCURVES,
      MPHILIST, SOLVTRACE, LSDETAIL, STIFTRACE, SUMSCR, KMATLOG, CURVEDATA, WARNSCR,
      PILESCR, STATEFILE, ESTREC1, ESTREC2;
  RecFile CURVEREC;  // the curve-data file in record form (control item 20 not 0)
  // The progress file, held open from the start of the run to its end so that the last
  // message (the file that failed) reaches the host even when the folder is removed.
  HeldFile PROGRESS;
};

// Short unit labels of the reports.
struct UNITLBL {
  Chars<3> ULEN3;
  Chars<4> UFOR4;
  Chars<2> ULEN2;
  Chars<3> UFOR3;
  Chars<5> USTRS;
  Chars<3> UDEP3;
  Chars<3> USML3;
  Chars<2> UDEP2;
  Chars<2> USML2;
  Chars<1> USLASH, UDASH, USQ, UCUBE, UFOUR, UCARET, UBLANK, USTAR;
  Chars<2> UPOW;
  Chars<3> URAD, UDEG;
};

// Column headings of the node-result tables.
struct COLLAB {
  Chars<10> CLAB1[NNODEQ], CLAB2[NNODEQ], CLAB3[NNODEQ];
  Chars<10> CAPX, CAPBLANK, CAPXUNIT, CAPRULE;
  Chars<6> CAPPILE, CAPBLANK6, CAPXLEN, CAPRULE6;
};

// pi and the tolerances of the curve and profile lookups.
struct CONSTS {
  double PI, SMALL, TOLCRV, TOLDEP;
};

// The two title lines of the input file.
struct TITLE {
  Chars<4> ENDWRD;  // "END ", copied over the first word of TITLE1 after each analysis
  Chars<80> TITLE1, TITLE2;
};

struct RunTables : TIMING, NTHR, FILENAMES, FILESET, UNITLBL, COLLAB, CONSTS, TITLE {
  int METHOD;
  int NWARNLOG = 0;  // warnings written to the run log so far (see emit)
  std::string ERRFILE;    // the file a failed open or write named, for the end-of-run message
  std::string ERRREASON;  // why that file failed (the system's reason), for the same message
  // Every other file that could not be written in full ("path: REASON"), for the same message.
  std::vector<std::string> ERRALSO;
  std::string ERRTEXT;  // what failed (an internal check, the plate model), for the end-of-run message
  // One line per analysis that ended below its full load or without a solution (which
  // case or combination, its outcome, the load reached), for the end of the run log.
  std::vector<std::string> INCOMPLETE;
  // The warnings of the input reading, in line order.
  std::vector<std::string> INWARN;
};

// The line that counts the input warnings, on the run log after the reading and in the
// results report before the warnings themselves.
inline constexpr std::string_view kInputWarningsHead = "     INPUT WARNINGS :";
// The line that counts the warnings about the model that the reading and the input echo
// wrote to the run log (a ground that is not the top of the first layer, ...), after the
// echo.
inline constexpr std::string_view kModelWarningsHead = "     MODEL WARNINGS :";

}  // namespace torva
