// The analysis model completed by the input echo, and the per-analysis controls and loads.
//
// The echo copies the rows, properties and sections as read into these tables and adds
// what the analysis needs beside them (the cap pseudo row, angles in radians, section
// properties with EI); every later stage reads the model from here, never from the
// as-read tables. The per-analysis records (CURCTL, LLPCTL, CURCOMB, ESTOPT, STFCUR,
// DLTAB) are rewritten before each analysis by the driver through the load assembly.
#pragma once

#include "model/input_tables.h"
#include "model/limits.h"
#include "model/table.h"

namespace torva {

inline constexpr int MAXDLNODE = MAXSEG + 1;  // nodes of the distributed-load table

// The pile-group rows of the analysis: rows 1..NROW and the cap pseudo row NROW+1.
// Lengths in internal units; angles in radians once the echo has built the table.
struct PILEROW {
  Arr1<double, MAXROWP> NPILE;    // identical piles the row stands for (2-D count; 1.0 in 3-D)
  Arr1<double, MAXROWP> CORX;     // head X, vertical, increasing downward
  Arr1<double, MAXROWP> CORY;     // head Y
  Arr1<double, MAXROWP> CORZ;     // head Z (3-D)
  Arr1<double, MAXROWP> ANG0;     // transformation angle, always 0 (3-D rows, pseudo row)
  Arr1<double, MAXROWP> BETA;     // 3-D: angle of the pile axis from the horizontal plane
  Arr1<double, MAXROWP> ALPHA;    // 2-D: batter from the vertical; 3-D: first rotation angle
  Arr1<double, MAXROWP> SPZ;      // rotational head spring (force x length per radian)
  Arr1<double, MAXROWP> SPY;      // 3-D: rotational head spring about the other axis
  Arr1<double, MAXROWP> AXFAC;    // factor on the pile's axial force
  Arr1<double, MAXROWP> FREELEN;  // distance from the pile head down to the ground surface
  Arr1<int, MAXROWP> PTYPE;       // pile property number
  Arr1<int, MAXROWP> LSNO;        // user load-settlement curve (0: generated; < 0 after Table H)
  Arr1<int, MAXROWP> PYSETG;      // user p-y set of the row
  Arr1<int, MAXROWP> TRNO;        // 3-D: user torque-rotation curve (0: generated)
  Arr1<int, MAXROWP> PMODTAB;     // set of p-y modification factors along depth, 0 none
  Arr1<int, MAXROWP> LSGNO;       // the row's generated load-settlement curve
  Arr1<int, MAXROWP> TRGNO;       // 3-D: the row's generated torque-rotation curve
  Arr1<double, MAXROWP> HEADDEP;  // head X used by the analysis (CORX)
  Arr1<double, MAXROWP> HEADY;    // 2-D: head Y used by the 2-D force routines (CORY)
  Arr1<double, MAXROWP> BATTER;   // inclination of the pile axis from the vertical
  Arr1<double, MAXROWP> THETA;    // 3-D: third rotation angle of the pile
};

// Head connection for bending in the Y and Z direction: 1 pinned, 2 fixed, 3 spring.
struct HEADFIX {
  Arr1<int, MAXROWP> CONNECTY;
  Arr1<int, MAXROWP> CONNECTZ;
};

// Pile properties t = 1..NPROPIN.
struct PILEPRP {
  Arr1<double, MAXPTYPE> PILELEN;  // length of the piles of the property
  Arr1<double, MAXPTYPE> SEGLEN;   // PILELEN / NSEG, set with the properties
  Arr1<int, MAXPTYPE> NSEG;        // segments; the pile has NSEG+1 nodes
  Arr1<int, MAXPTYPE> NSECT;       // sections along the pile
  Arr1<int, MAXPTYPE> PILEKIND;    // 1 driven pile, 2 drilled shaft
};

// Sections (t, s) of the pile properties, top values then bottom values. "EIz" is the
// rigidity for deflection in the local x-y plane (bending about z), "EIy" the other.
struct PSECT {
  Arr2<double, MAXPTYPE, MAXSECT> SFROM;  // depth of the section top below the pile head
  Arr2<double, MAXPTYPE, MAXSECT> STO;    // depth of the section bottom below the pile head
  Arr2<double, MAXPTYPE, MAXSECT> SEIZ, SEIY;  // EI at the top: SIZ x SEMOD, SIY x SEMOD
  Arr2<double, MAXPTYPE, MAXSECT> SDIAM;  // diameter (width) at the top
  Arr2<double, MAXPTYPE, MAXSECT> SAREA;  // area at the top
  Arr2<double, MAXPTYPE, MAXSECT> SIZ, SIY;  // moments of inertia at the top
  Arr2<double, MAXPTYPE, MAXSECT> SGJ;    // torsional rigidity at the top
  Arr2<double, MAXPTYPE, MAXSECT> SMN;    // nominal moment capacity at the top
  Arr2<double, MAXPTYPE, MAXSECT> SVN;    // nominal shear capacity at the top
  Arr2<double, MAXPTYPE, MAXSECT> SEIZB, SEIYB, SDIAMB, SAREAB, SIZB, SIYB, SGJB;  // bottom
  Arr2<double, MAXPTYPE, MAXSECT> SDIMZ, SDIMY;  // outer dimensions for bending stresses
  Arr2<int, MAXPTYPE, MAXSECT> ISHAPE;           // shape code for bending stresses
  Arr2<double, MAXPTYPE, MAXSECT> SMNB, SVNB;    // capacities at the bottom
  Arr2<int, MAXPTYPE, MAXSECT> ISEIZ, ISEIY;     // moment-curvature set for EIz, EIy (0 elastic)
  Arr2<int, MAXPTYPE, MAXSECT> ISECT;            // cross section of the input
  Arr2<int, MAXPTYPE, MAXSECT> ITAPER;           // tapered flag of the cross section
  Arr2<double, MAXPTYPE, MAXSECT> SEMOD, SEMODB;  // Young's modulus at top and bottom
};

// Controls of the load case or combination being analysed.
struct CURCTL {
  double TOLCAP, TOLPILE, FACINC, FACMIN, TOLCAPD, TOLCAPR;
  double CYCLES;  // number of cycles of cyclic loading
  int ISTATIC;    // 1 static, 0 cyclic
  int NTHREQ;     // requested threads, 0 automatic
  int MAXITFND;   // iteration limit of the cap analysis
  int IPRTOPT;    // print option: 0 cap, 1 cap and heads, 2 also along the piles
  int NPRSTEP;    // node step of printing along the piles
  int IALTTOL;    // alternative cap tolerances on
  int IAXVAR;     // axial-load variation along the piles
  int IEIPREV;    // EI from the previous iteration
  int ILINPASS;   // linear pass flag of the estimation points
};

struct LLPCTL {
  int MAXITLLP;  // iteration limit of the single-pile solutions
};

// Reduction factors of the current analysis: 1.0 and 1.0 for a load case.
struct CURCOMB {
  double RFBEND, RFSHEAR;
  int ICOMB;  // combination number, 0 for a load case
};

// Stiffness-estimation data of the current load case.
struct STFCUR {
  Arr1<double, MAXNV> STFLEV;  // the case's estimation values
  int NVSTF;   // number of estimation values
  int MODSTF;  // 0 ordinary or stiffness point, 2 flexibility point
  int IPSTF;   // current point
  int ISTEP;   // current step within the point
  int NPSTF;   // points of the case, the last under the full load
};

// Distributed loads at the nodes of every pile row, for the current case or combination.
struct DLTAB {
  RowArr2<double, MAXROWP, MAXDLNODE> DLPOS;  // node position along the pile from the head
  RowArr2<double, MAXROWP, MAXDLNODE> DLWY;   // intensity along local y (force per length)
  RowArr2<double, MAXROWP, MAXDLNODE> DLWZ;   // intensity along local z (3-D)
  Arr1<double, MAXROWP> DLAXIAL;  // axial part of global-axes loads, acting at the pile head
  Arr1<int, MAXROWP> DLNODES;     // table nodes of the row, 0 = no distributed load
};

// Free-field soil movement of each row, resolved into the pile's local directions.
struct SMOVE {
  RowArr2<double, MAXROWP, MAXSMPT> SMPD;  // depth of point p: vertical X coordinate, absolute
  RowArr2<double, MAXROWP, MAXSMPT> SMPY;  // unit-load movement along local y
  RowArr2<double, MAXROWP, MAXSMPT> SMPZ;  // unit-load movement along local z (3-D)
};

struct EchoTables : PILEROW,
                    HEADFIX,
                    PILEPRP,
                    PSECT,
                    CURCTL,
                    LLPCTL,
                    CURCOMB,
                    STFCUR,
                    DLTAB,
                    SMOVE {};

}  // namespace torva
