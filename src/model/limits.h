// Capacities of the fixed model tables.
#pragma once

namespace torva {

inline constexpr int MAXROW = 2500;       // pile-group rows
inline constexpr int MAXROWP = 2501;      // rows plus the cap pseudo row
inline constexpr int MAXPTYPE = 102;      // pile properties
inline constexpr int MAXSECT = 20;        // sections of a pile property / cross sections
inline constexpr int MAXLAYER = 40;       // analysis soil layers
inline constexpr int MAXLAYIN = 20;       // soil layers of the input table
inline constexpr int MAXPROF = 80;        // soil-profile points (two per layer)
inline constexpr int MAXNODE = 107;       // nodes per pile (NSEG + 1 plus the fictitious nodes)
inline constexpr int MAXSEG = 100;        // pile increments
inline constexpr int MAXLC = 100;         // load cases
inline constexpr int MAXCOMB = 100;       // load combinations
inline constexpr int MAXPILES = 2500;     // individual piles in all rows together
inline constexpr int MAXUCRV = 50;        // user curves
inline constexpr int MAXUPT = 50;         // points of a user curve
inline constexpr int NPILETOP = 26;       // pile-top result quantities
inline constexpr int NNODEQ = 25;         // node result quantities
// Element divisions along each side of the cap model written for the plate program
// (IFEOPT = 2). A 100 x 100 mesh of 8-node elements has 30,401 nodes and 182,406
// equations; the frontal solver writes each equation with a front of some 1,800
// variables, about 2.6 GB for every iteration: beyond it the plate program cannot hold
// the model in reasonable time and disk.
inline constexpr int MAXFEDIV = 100;

}  // namespace torva
