// Lateral soil resistance: per-row layer state, group factors, soil movement, p-y plot state.
#pragma once

#include "model/limits.h"
#include "model/table.h"

namespace torva {

inline constexpr int MAXSMPT = 25;  // points of the free-field soil-movement profile

// Group factors of every pile-group row: the p- and y-multipliers in use by the p-y curves,
// and the factors for loading along Y and along Z that the 3-D analysis combines.
struct PYMULT {
  Arr1<double, MAXROWP> PMULT, YMULT;    // in use by the p-y curves
  Arr1<double, MAXROWP> PMULTY, YMULTY;  // loading along Y
  Arr1<double, MAXROWP> PMULTZ, YMULTZ;  // loading along Z
  Arr1<double, MAXROWP> SPACING;         // 2-D: spacing of the identical piles of a row
  int IAVGDIA;  // 1: the spacing ratio uses the mean diameter of the two piles of a pair
};

// How the group reduction factors are set.
struct REDFOPT {
  int IREDFAC;  // 0 none, 1 from the load direction, 2 user factors, 3 from a defined movement
  double REDMOVY, REDMOVZ;  // the defined movement (IREDFAC = 3)
};

// Free-field soil movement of each pile row: depth of each point below the pile head and
// the movement resolved into the pile's local y and z directions.
struct SMOVE {
  Arr2<double, MAXROWP, MAXSMPT> SMPD, SMPY, SMPZ;
};

// Work lists of the group reduction factors: one entry per individual pile.
struct REDWORK {
  Arr1<double, MAXPILES> RWIN, RWCROSS;  // in-line and cross coordinate
  Arr1<int, MAXPILES> RWROW;             // the pile-group row of the pile
  Arr1<double, MAXPILES> RWFAC;          // product of the pair factors
};

// ---- Declared here until the owners' tables land (remove each on merge). ----
struct PILEROW_pyrest {
  Arr1<double, MAXROWP> NPILE, CORX, CORY, CORZ, BETA, ALPHA, FREELEN, HEADDEP, HEADY;
  Arr1<int, MAXROWP> PTYPE;
};
struct PILEPRP_pyrest {
  Arr1<double, MAXPTYPE> PILELEN;
  Arr1<int, MAXPTYPE> NSEG;
};
struct PSECT_pyrest {
  Arr2<double, MAXPTYPE, MAXSECT> SDIAM;
};
struct NODEPTH_pyrest {
  Arr2<double, MAXROWP, MAXNODE> DEPN;
};
struct PILELAYR_pyrest {
  Arr2<int, MAXROWP, MAXLAYER> NODE1, NODE2;
};
struct SOILLAYR_pyrest {
  Arr1<double, MAXLAYER> LTOP, LBOT;
  Arr1<int, MAXLAYER> LTYPE;
  int NLAYER;
};
struct SOILIN_pyrest {
  int NLAYIN;
};
struct CAP_pyrest {
  double CAPTHK;
  int ICAPOPT;
};
struct RUNSW_pyrest {
  int IPYPRT;
};
struct PYOUT_pyrest {
  Arr1<double, 50> PODEP;
  Arr1<int, 50> POPILE, PONPT, POSTAT;
  Arr2<double, 50, 25> POY;
  int NPYOUT, NPCUR, IPCUR;
};
struct SMPROF_pyrest {
  Arr1<double, MAXSMPT> SMDEP, SMY0, SMZ0, SMY, SMZ;
  int NSMPT, ISMOVE;
  double TCURSM;
};
struct PYMODSET_pyrest {
  Arr1<int, 100> IDPYMOD, NPTMOD;
  int NPYMOD, IPYMOD;
  Arr2<double, 100, 50> PMDEP, PMPF, PMYF;
};
struct PyTables : PYMULT,
                  REDFOPT,
                  SMOVE,
                  REDWORK,
                  PILEROW_pyrest,
                  PILEPRP_pyrest,
                  PSECT_pyrest,
                  NODEPTH_pyrest,
                  PILELAYR_pyrest,
                  SOILLAYR_pyrest,
                  SOILIN_pyrest,
                  CAP_pyrest,
                  RUNSW_pyrest,
                  PYOUT_pyrest,
                  SMPROF_pyrest,
                  PYMODSET_pyrest {};

}  // namespace torva
