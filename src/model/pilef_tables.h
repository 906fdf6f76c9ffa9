// Fields that the pile-head force, torsion and transformation routines read from tables
// owned by other areas. Each struct is declared here until the owner's table lands; the
// owner's declaration then replaces the member here (a field is declared once).
#pragma once

#include "model/limits.h"
#include "model/table.h"

namespace torva {

// Pile-group rows: declared here until the owner's table lands.
struct PILEROW_pilef {
  Arr1<double, MAXROWP> NPILE;  // identical piles the row stands for
  Arr1<double, MAXROWP> CORX;   // head X (vertical, downward)
  Arr1<double, MAXROWP> CORY;   // head Y
  Arr1<double, MAXROWP> CORZ;   // head Z
  Arr1<double, MAXROWP> BETA;   // inclination of the pile axis from the horizontal (rad)
  Arr1<double, MAXROWP> ALPHA;  // plan direction of the pile axis, from Y towards Z (rad)
  Arr1<double, MAXROWP> AXFAC;  // factor on the axial force
  Arr1<int, MAXROWP> PTYPE;     // pile property
  Arr1<int, MAXROWP> LSNO;      // load-settlement curve: > 0 user, <= 0 generated (-number)
  Arr1<int, MAXROWP> TRNO;      // torque-rotation curve: > 0 user, <= 0 generated (-number)
  Arr1<double, MAXROWP> THETA;  // rotation of the cross-section about the pile axis (rad)
};

// Head connection codes (1 pinned, 2 fixed, 3 rotational spring): declared here until
// the owner's table lands.
struct HEADFIX_pilef {
  Arr1<int, MAXROWP> CONNECTY;
  Arr1<int, MAXROWP> CONNECTZ;
};

// Run-state words: declared here until the owner's table lands.
struct GENCTL_pilef {
  int ISTATE;   // analysis state of the current case
  int NWBEAR;   // axial warnings on the bearing side
  int NWPULL;   // axial warnings on the pull-out side
  int NWTORS;   // torsion warnings
  int IWFILE;   // 1 while the warning scratch file collects axial and torsion warnings
  int IEXTEND;  // 1: hold a curve's end value beyond its last point
};

// Current controls: declared here until the owner's table lands.
struct CURCTL_pilef {
  int IAXVAR;  // 1: axial load varies along the pile
};

// Load-settlement curves: declared here until the owner's table lands.
struct LSCRV_pilef {
  Arr1<int, MAXUCRV> NPTLSU;
  Arr2<double, MAXUCRV, MAXUPT> LSDU;
  Arr2<double, MAXUCRV, MAXUPT> LSLU;
  Arr1<int, MAXROWP> NPTLSG;
  Arr2<double, MAXROWP, MAXUPT> LSDG;
  Arr2<double, MAXROWP, MAXUPT> LSLG;
};

// Torque-rotation curves: declared here until the owner's table lands.
struct TRCRV_pilef {
  Arr1<int, MAXUCRV> NPTTRU;
  Arr2<double, MAXUCRV, MAXUPT> TRRU;
  Arr2<double, MAXUCRV, MAXUPT> TRTU;
  Arr1<int, MAXUCRV> NPTTRG;
  Arr2<double, MAXUCRV, MAXUPT> TRRG;
  Arr2<double, MAXUCRV, MAXUPT> TRTG;
};

struct PilefTables : PILEROW_pilef, HEADFIX_pilef, GENCTL_pilef, CURCTL_pilef, LSCRV_pilef,
                     TRCRV_pilef {};

}  // namespace torva
