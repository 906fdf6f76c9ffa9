// Per-pile result store and running envelopes of the stored results.
#pragma once

#include "model/model.h"

namespace torva {

// The 25 node quantities of one pile, node index fastest: block(j, k) is quantity k at
// solution entry j.
using NodeBlock = Arr2<double, MAXNODE, NNODEQ>;

// Stores the 26 pile-top values of row g (3-D) in PRTOP and updates their envelopes:
// head displacements in global axes UG, head forces in global axes FG, the head stress,
// head displacements and forces in local axes UL, FL, and the stress again.
void PILEENV(Model& m, int g, double sigma, const double UG[6], const double UL[6],
             const double FG[6], const double FL[6]);

// The 2-D store: 13 values into slots 1-7 and 14-20.
void PILEENV2D(Model& m, int g, double a1, double a2, double a3, double a4, double a5, double a6,
               double a7, double a8, double a9, double a10, double a11, double a12, double a13);

// Gathers the 25 node arrays, in the order of the node quantities, into one block.
void PACKNODE(NodeBlock& block, const NodeVec* const (&A)[NNODEQ]);

// Stores block entries j = 4..jlast of row g in PRNODE and updates their envelopes.
// `ndim` and `h` do not change the store.
void NODEENV(Model& m, int g, int jlast, int ndim, double h, const NodeBlock& block);

// The minimum (max false) or maximum node envelope of row g at entry j, quantity q.
double NODEENVAT(const Model& m, int g, int j, int q, bool max);

// Resets node quantities 1..nq of row g's envelopes to 0 over the entries stored since
// the last reset.
void NODEENVRESET(Model& m, int g, int nq);

// The equivalent soil-spring stiffness of row g at nodes 1..NSEG+1, as read back from
// the pile-state file.
void SOILKGET(const Model& m, int g, double* K);

}  // namespace torva
