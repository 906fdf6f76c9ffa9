// Single-pile node geometry, per-pile results and envelopes, equivalent pile stiffnesses.
#pragma once

#include "model/limits.h"
#include "model/table.h"

namespace torva {

// A node array of the single-pile solutions, indexed by the solution entry m = 1..107
// (m = 4 the pile head, m = NSEG + 4 the tip; entries 1..3 and beyond the tip serve
// the difference stencils). Also used for arrays indexed by pile node k = 1..NSEG + 1.
using NodeVec = Arr1<double, MAXNODE>;

// T(N1, 0:N2-1): a per-row table whose second index starts at 0 (index 0 holds a row
// value), a row's entries together.
template <class T, int N1, int N2>
class Arr2Z {
 public:
  T& operator()(int i, int j) { return v_(i, j + 1); }
  const T& operator()(int i, int j) const { return v_(i, j + 1); }

 private:
  RowArr2<T, N1, N2> v_;
};

// Node depths of every pile row, written by the node layout of each pile evaluation.
struct NODEPTH {
  RowArr2<double, MAXROWP, MAXNODE> DEPN;   // depth (X) of pile node k, batter-adjusted
  RowArr2<double, MAXROWP, MAXNODE> DEPAX;  // coordinate of pile node k along the pile axis
};

// Results of the analysis just run, per row: pile-top quantities and node quantities.
struct PILERES {
  RowArr2<double, MAXROWP, NPILETOP> PRTOP;
  RowArr3<double, MAXROWP, MAXNODE, NNODEQ> PRNODE;
};

// Minimum envelope: 12 cap values (loads, then displacements at the cap origin), then
// the layout of PILERES.
struct ENVMIN {
  Arr1<double, 12> EMNCAP;
  RowArr2<double, MAXROWP, NPILETOP> EMNTOP;
  RowArr3<double, MAXROWP, MAXNODE, NNODEQ> EMNNODE;
  // Per row, the last solution entry stored into the node envelopes since their last
  // reset (0: none), so that a reset clears only what was written.
  Arr1<int, MAXROWP> ENVNODES;
  // Per row, the last entry of the first result of the series when that result is still
  // the whole envelope (0: none): then both envelopes read PRNODE over entries 4..this,
  // and are written out only when a second result comes.
  Arr1<int, MAXROWP> ENVFIRST;
};

// Maximum envelope, the same layout.
struct ENVMAX {
  Arr1<double, 12> EMXCAP;
  RowArr2<double, MAXROWP, NPILETOP> EMXTOP;
  RowArr3<double, MAXROWP, MAXNODE, NNODEQ> EMXNODE;
};

// Equivalent pile stiffnesses of the last pile solution of each row: head values
// (axial force, axial and torsional secant stiffness) and, along the pile by solution
// entry j = 4..NSEG+4, the distance below the head and the secant soil moduli of the
// two lateral planes; entry 0 of EQDEPN holds the segment length.
struct EQKTAB {
  Arr2<double, MAXROWP, 3> EQTOP;
  Arr2Z<double, MAXROWP, MAXNODE> EQDEPN;
  Arr2Z<double, MAXROWP, MAXNODE> EQKN;
  Arr2Z<double, MAXROWP, MAXNODE> EQKN2;
};

// Equivalent soil-spring stiffness at node i of row g (i = 1 the head), read back from
// the pile-state file.
struct PILEST {
  RowArr2<double, MAXROWP, MAXNODE> KSOIL;
  Arr1<double, MAXROWP> PAXTOP;   // axial force at the pile top
  Arr1<double, MAXROWP> KAXTOP;   // secant axial stiffness of the pile head
  Arr1<double, MAXROWP> KTORTOP;  // secant torsional stiffness of the pile head (3-D)
};

struct PileTables : NODEPTH,
                    PILERES,
                    ENVMIN,
                    ENVMAX,
                    EQKTAB,
                    PILEST {};

}  // namespace torva
