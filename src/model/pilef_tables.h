// Fields that the pile-head force, torsion and transformation routines read from tables
// owned by other areas. Each struct is declared here until the owner's table lands; the
// owner's declaration then replaces the member here (a field is declared once).
#pragma once

#include "model/limits.h"
#include "model/table.h"

namespace torva {

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

struct PilefTables : LSCRV_pilef, TRCRV_pilef {};

}  // namespace torva
