// Tables of the plate finite-element program of a flexible pile cap: its control block.
// The model tables and work arrays of one plate run live in capfe/platerun.h; only the
// control block outlives a run of the plate program.
#pragma once

namespace torva {

// Control block of the plate program: counts of the model, fixed sizes and the state of
// the pseudo-time stepping.
struct FECTRL {
  int NPOIN, NELEM, NMATS, NNODE, NGAUS, NVFIX;
  int NNLOD, NNSTI, NDLOD, NDSTI, NCLOD, NCSTI, NELOD, NESTI, NCTSTI, ISPRING;
  int NDOFN, NDIME, NSTRE, NPROP, NTYPE, NCASE, NEVAB, FRONTCAP;
  double DT, TINI, TEND, DTMIN;
  int MAXITER;
  double TOLER;
  int KSTEP;
  double TCUR, DTCUR;
  int ITER;
  // Fixed sizes of the element routines: membrane and plate strain components, membrane
  // and plate variables per element, membrane, plate and drilling freedoms per node.
  int NSTRM, NSTRP, NEVAM, NEVAP, NDOFM, NDOFP, NDOFD;
  // 1 once the plate program's trace file has been started in this run (later runs of the
  // plate program in the same run append to it).
  int IFETRC;
};

struct CapfeTables : FECTRL {};

}  // namespace torva
