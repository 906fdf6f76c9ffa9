// Axial and torsional load transfer: load-settlement and torque-rotation curves of the
// analysis, the load-transfer solutions behind the generated load-settlement curves, and
// the moment-curvature sets of the nonlinear sections.
#pragma once

#include "model/input_tables.h"
#include "model/limits.h"
#include "model/table.h"

namespace torva {

inline constexpr int MAXLSPT = 50;   // points of a load-settlement or torque-rotation curve
// The least torsional rigidity GJ of a section that a generated torque-rotation curve can
// march through: the march divides by GJ, and a value at or below this counts as zero.
inline constexpr double kMinGJ = double(1e-6f);

// User p-y curves of the analysis (copied from the input by the echo's Table G).
struct PYUSER {
  Arr1<int, MAXPYSET> NCRVPY;                  // curves of set j
  Arr2<double, MAXPYSET, MAXPYCRV> PYDEP;      // depth (X coordinate) of curve c of set j
  Arr2<int, MAXPYSET, MAXPYCRV> NPTPY;         // points of curve c
  Arr3<double, MAXPYSET, MAXPYCRV, MAXPYPT> PYY, PYP;  // deflection and resistance of point k
};

// Axial load-settlement curves: user curves as read, and curves generated from the soil
// profile. A generated curve of n points per branch holds 2n+1 points: the pull-out branch
// reversed and negated, the origin, then the bearing branch.
struct LSCRV {
  int NLSU;                               // user curves
  Arr1<int, MAXUCRV> NPTLSU;              // points of user curve i
  Arr2<double, MAXUCRV, MAXUPT> LSDU;     // pile-head movement
  Arr2<double, MAXUCRV, MAXUPT> LSLU;     // axial load
  int NLSG;                               // generated curves
  Arr1<int, MAXROWP> NPTLSG;              // points of generated curve i
  RowArr2<double, MAXROWP, MAXLSPT> LSDG;    // pile-head movement
  RowArr2<double, MAXROWP, MAXLSPT> LSLG;    // axial load
};

// Torque-rotation curves, user and generated, in the same mirrored form. The generated
// table holds one curve per pile row, so every row of the generated list gets its own.
struct TRCRV {
  int NTRU;
  Arr1<int, MAXUCRV> NPTTRU;
  Arr2<double, MAXUCRV, MAXUPT> TRRU;     // rotation (radians)
  Arr2<double, MAXUCRV, MAXUPT> TRTU;     // torque
  int NTRG;
  Arr1<int, MAXROWP> NPTTRG;
  RowArr2<double, MAXROWP, MAXLSPT> TRRG;
  RowArr2<double, MAXROWP, MAXLSPT> TRTG;
};

// The load-transfer solution behind each generated load-settlement curve, keyed by the
// generated curve number (so rows that share a curve share its solution): step s of the
// 2n+1 steps matches point s of the curve, the middle step is the origin.
struct LSSAVE {
  RowArr2<double, MAXROWP, MAXLSPT> LSV1;  // head movement
  RowArr2<double, MAXROWP, MAXLSPT> LSV2;  // head load
  RowArr2<double, MAXROWP, MAXLSPT> LSV3;  // assumed tip movement
  RowArr2<double, MAXROWP, MAXLSPT> LSV4;  // tip load
  int NPTLS;                            // points of a generated load-settlement curve (19)
};

// Rows whose load-settlement or torque-rotation curve i is generated (echo only).
struct CRVROW {
  Arr1<int, MAXROWP> LSROW;
  Arr1<int, MAXROWP> TRROW;
};

// Moment-curvature curves used by the analysis: user sets first, then the sets generated
// for the nonlinear cross sections.
struct MPHI {
  Arr1<int, MAXMPSET> NCRVMP;
  Arr2<double, MAXMPSET, MAXMPCRV> AXLMP;
  Arr2<int, MAXMPSET, MAXMPCRV> NPTMP;
  Arr3<double, MAXMPSET, MAXMPCRV, MAXMPPT> MOMMP;
  Arr3<double, MAXMPSET, MAXMPCRV, MAXMPPT> PHIMP;
};

struct AxialTables : PYUSER, LSCRV, TRCRV, LSSAVE, CRVROW, MPHI {};

}  // namespace torva
