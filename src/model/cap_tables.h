// Cap analysis state.
#pragma once

#include <memory>

#include "model/limits.h"
#include "model/table.h"

namespace torva {

// State of the target-deflection iteration of a stiffness estimation.
struct TGTITR {
  Arr1<double, 20> DHIST, FHIST;  // history of displacement and load factor pairs
  int NHIST;
  double DTARG, TGTTOL, DCOMP, FACNXT;
  int IESTON, ICONV, IDOFT;
};

// Work of the 2-D pile-row sum (cap/fvec2d.h): the rows' captures and forces and one
// pile-solution scratch per thread, made once per run on first use.
struct Fvec2dWork;
struct CAP2DWORK {
  std::shared_ptr<Fvec2dWork> FV2DWORK;
};

struct CapTables : TGTITR, CAP2DWORK {};

}  // namespace torva
