// Status codes of a run. The status word travels by reference from ITORVA down every call
// chain; 0 means no error. Each code has fixed end-of-run lines (status_lines in
// driver/runctl.cpp), which FINISH writes to the run log.
#pragma once

namespace torva {

inline constexpr int ST_OK = 0;
inline constexpr int ST_BADARG = 1;  // returned by ITORVA for an argument other than 3; not a run status
inline constexpr int ST_PILEDEEP = 3;
inline constexpr int ST_STOP = 4;
inline constexpr int ST_PILEDEEP2D = 13;
inline constexpr int ST_ROCKQU0 = 21;
inline constexpr int ST_DEPGAMMA = 22;
inline constexpr int ST_DEPCOHES = 23;
inline constexpr int ST_DEPPHI = 24;
inline constexpr int ST_DEPSIDEF = 25;
inline constexpr int ST_DEPSIDER = 26;
inline constexpr int ST_DEPBPHI = 27;
inline constexpr int ST_SILTPHI0 = 28;
inline constexpr int ST_SILTSLOPE = 29;
inline constexpr int ST_SANDPHI0 = 30;
inline constexpr int ST_LSE50 = 32;
inline constexpr int ST_LSCOHES = 33;
inline constexpr int ST_TRE50 = 34;
inline constexpr int ST_TRCOHES = 35;

// Codes 40 and above: failures that the codes above do not cover (file set, input, internal
// checks, options not analysed, the plate model of the cap, curves that need missing soil).
// They end the run in order, with their own end-of-run lines, instead of ending the host
// process.
inline constexpr int ST_NAMESDAT = 40;     // "Names.dat" missing, shorter than 27 lines or a name line blank
inline constexpr int ST_FILEOPEN = 41;     // a report, work or input file cannot be opened
inline constexpr int ST_FILEWRITE = 42;    // a report or work file cannot be written
inline constexpr int ST_INPUTREAD = 43;    // an input record cannot be read
inline constexpr int ST_INPUTCHECK = 44;   // input read but invalid (count, reference, value)
inline constexpr int ST_INTERNAL = 45;     // an internal check failed (a defect of the engine)
inline constexpr int ST_NOTBUILT = 46;     // an option the engine refuses to analyse
inline constexpr int ST_FEMODEL = 47;      // the plate model of the cap is missing, unreadable or invalid
inline constexpr int ST_FESOLVE = 48;      // the plate model of the cap cannot be solved
inline constexpr int ST_NOSOIL = 49;       // a curve from the soil is needed but no soil layer is defined

}  // namespace torva
