// Lateral soil resistance: per-row layer state, group factors, soil movement, p-y plot state.
#pragma once

#include "model/input_tables.h"
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

// Per pile row and soil layer: equivalent depth of the layer top, integral of the
// ultimate resistance along the layer, and the first and last node of the row inside
// the layer (0: the layer has no node on the row).
struct PILELAYR {
  RowArr2<double, MAXROWP, MAXLAYER> EQDEPTH;
  RowArr2<double, MAXROWP, MAXLAYER> PUSUM;
  RowArr2<int, MAXROWP, MAXLAYER> NODE1;
  RowArr2<int, MAXROWP, MAXLAYER> NODE2;
};

// Per pile row: depth of the ground surface, soil reaction at cap level (embedded cap).
struct PYCAP {
  Arr1<double, MAXROWP> GSDEPTH;
  Arr1<double, MAXROWP> PCAPP;
  unsigned long long PYGEN;  // generation of the curve inputs (0: constants are not kept)
};

// The p-y plot-mode words: the curve buffers, PLCRV(i, 1|2, copy) the deflection and the
// resistance of point i (copy 1 is filled by the p-y criteria), the depth below the ground
// of the node last evaluated, the criterion's plot code, the below-ground flag and the
// plot-mode switch.
struct PYPLOT {
  Arr3<double, MAXPOPT, 2, 4> PLCRV;
  double PLCHR;
  int IPLTCRV, IPLTGS, IPLOT;
};

struct PyTables : PYMULT, REDWORK, PILELAYR, PYCAP, PYPLOT {};

}  // namespace torva
