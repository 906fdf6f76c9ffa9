// Lateral soil resistance: per-row layer state, group factors, soil movement, p-y plot state.
#pragma once

#include "model/limits.h"
#include "model/table.h"

namespace torva {

// Group factors of every pile-group row: the p- and y-multipliers in use by the p-y curves,
// and the factors for loading along Y and along Z that the 3-D analysis combines.
struct PYMULT {
  Arr1<double, MAXROWP> PMULT, YMULT;    // in use by the p-y curves
  Arr1<double, MAXROWP> PMULTY, YMULTY;  // loading along Y
  Arr1<double, MAXROWP> PMULTZ, YMULTZ;  // loading along Z
  Arr1<double, MAXROWP> SPACING;         // 2-D: spacing of the identical piles of a row
  int IAVGDIA;  // control item 13: 1 the spacing ratio uses the mean diameter of a pair
};

// Work lists of the group reduction factors: one entry per individual pile.
struct REDWORK {
  Arr1<double, MAXPILES> RWIN, RWCROSS;  // in-line and cross coordinate
  Arr1<int, MAXPILES> RWROW;             // the pile-group row of the pile
  Arr1<double, MAXPILES> RWFAC;          // product of the pair factors
};

// ---- Declared here until the owners' tables land (remove each on merge). ----
struct NODEPTH_pyrest {
  Arr2<double, MAXROWP, MAXNODE> DEPN;
};
struct PILELAYR_pyrest {
  Arr2<int, MAXROWP, MAXLAYER> NODE1, NODE2;
};

struct PyTables : PYMULT, REDWORK, NODEPTH_pyrest, PILELAYR_pyrest {};

}  // namespace torva
