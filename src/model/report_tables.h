// Result-report state.
#pragma once

#include "model/limits.h"
#include "model/table.h"

namespace torva {

// Per-pile results of the analysis just run and their envelopes: declared here until the
// owner's table lands (pile-top quantities, then node quantities by node slot; the
// envelopes add 12 cap values: loads, then displacements at the cap origin).
struct PILERES_report {
  Arr2<double, MAXROWP, NPILETOP> PRTOP;
  Arr3<double, MAXROWP, MAXNODE, NNODEQ> PRNODE;
};
struct ENVMIN_report {
  Arr1<double, 12> EMNCAP;
  Arr2<double, MAXROWP, NPILETOP> EMNTOP;
  Arr3<double, MAXROWP, MAXNODE, NNODEQ> EMNNODE;
};
struct ENVMAX_report {
  Arr1<double, 12> EMXCAP;
  Arr2<double, MAXROWP, NPILETOP> EMXTOP;
  Arr3<double, MAXROWP, MAXNODE, NNODEQ> EMXNODE;
};

struct ReportTables : PILERES_report, ENVMIN_report, ENVMAX_report {};

}  // namespace torva
