// Cap analysis state: the target-deflection iteration and the per-row work of the parallel
// pile-row loops.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "model/limits.h"
#include "model/messages.h"
#include "model/table.h"

namespace torva {

// State of the target-deflection iteration of a stiffness estimation.
struct TGTITR {
  Arr1<double, 20> DHIST, FHIST;  // history of displacement and load factor pairs
  int NHIST;
  double DTARG, TGTTOL, DCOMP, FACNXT;
  double DLAST, FLAST;  // first pair of the case, the seed of every later point's history
  int IESTON, ICONV, IDOFT;
  int ISCALE1;  // non-zero: factors scale only the target degree of freedom's load
};

// Work of the 2-D pile-row sum (cap/fvec2d.h): the rows' captures and forces and one
// pile-solution scratch per thread, made once per run on first use.
struct Fvec2dWork;
struct CAP2DWORK {
  std::shared_ptr<Fvec2dWork> FV2DWORK;
};

// Per-row results of one pass of the 3-D pile-row loops. Each row writes only its own
// entry inside the parallel loop; the sums over the rows are then taken serially in row
// order, so the results do not depend on the number of threads. Sized once per run.
struct CAP3DWORK {
  std::vector<RowCapture> ROWCAP;            // warnings, status and state of each row
  std::vector<std::array<double, 6>> ROWF;   // row force at the cap origin
  std::vector<std::array<double, 36>> ROWK;  // row stiffness at the cap origin
  // Working storage of the pile solutions, one per thread, sized once per run by the
  // pile-row loops (held type-erased: the model does not depend on the pile solution).
  std::shared_ptr<void> PSCRATCH;
  int NPSCRATCH;
};

// Mean ground-surface depth of the pile rows at the latest passive-resistance evaluation of
// an embedded cap (the mean cap-level reaction and the cap deflection are in CAP).
struct CAPPASVST {
  double GSDMEAN;
};

struct CapTables : TGTITR, CAP2DWORK, CAP3DWORK, CAPPASVST {};

}  // namespace torva
