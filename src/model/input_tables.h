// Tables filled by the input reader, as read (converted once to internal units), and the
// control records of the input file.
#pragma once

#include "model/limits.h"
#include "model/table.h"

namespace torva {

// Capacities of the as-read tables.
inline constexpr int MAXPIN = 50;     // pile properties as read
inline constexpr int MAXSECIN = 100;  // cross sections as read
inline constexpr int MAXNLPT = 100;   // points of a nonlinear-section list
inline constexpr int MAXNV = 25;      // stiffness-estimation values of a load case
inline constexpr int MAXDC = 2500;    // load-versus-depth curves
inline constexpr int MAXDCPT = 101;   // points of a load-versus-depth curve
inline constexpr int MAXCONC = 100;   // concentrated loads of a load case
inline constexpr int MAXDIST = 100;   // distributed-load lines of a load case
inline constexpr int MAXMEM = 100;    // member cases of a combination
inline constexpr int MAXPYOUT = 50;   // requested p-y curves
inline constexpr int MAXPOPT = 25;    // deflections of a requested p-y curve / plot list
inline constexpr int MAXPYSET = 50;   // user p-y sets
inline constexpr int MAXPYCRV = 20;   // curves of a user p-y set
inline constexpr int MAXPYPT = 50;    // points of a user p-y curve
inline constexpr int MAXUSRC = 50;    // user load-settlement / torque-rotation curves
inline constexpr int MAXUSRPT = 50;   // points of a user load-settlement / torque-rotation curve
inline constexpr int MAXMPSET = 150;  // moment-curvature sets (user and generated together)
inline constexpr int MAXMPCRV = 25;   // curves of a moment-curvature set
inline constexpr int MAXMPPT = 200;   // points of a moment-curvature curve
inline constexpr int MAXMPG = 100;    // moment-curvature entries of the nonlinear sections
inline constexpr int MAXPMSET = 100;  // sets of p-y modification factors along depth
inline constexpr int MAXPMPT = 50;    // points of a set of modification factors
inline constexpr int MAXSMPT = 25;    // soil-movement points
inline constexpr int MAXTRGEN = 50;   // generated torque-rotation curves

// General control and run-state record (control items and run-state words).
struct GENCTL {
  int IUNITS;   // unit system: 2 SI, 1 US customary, other generic (converted as US)
  int NROW;     // pile-group rows of the model's dimension
  int ITRANS;   // transformation switch, 1
  int IOPASS;   // output-pass word
  int ISTATE;   // analysis state of the current case
  int IPYUSER;  // 1: user p-y curves
  int IDBG;     // debug switch, always 0
  int IFATAL;   // stop flag, always 0
  int NWBEAR, NWPULL, NWTORS;  // warning counters of the current case
  int IFIRST;   // first-pass flag of the cap analyses
  int NPYSET;   // number of user p-y sets
  int ITRUSER;  // 1: user torque-rotation curves
  int IWFILE;   // warning-file state
  int NDIM;     // model dimension, 2 or 3
  int IBATTER;  // 1: node depths of battered piles projected on the vertical
  int IGENCRV;  // generated-curve print switch
  int IEXTEND;  // 1: axial and torsion curves extended beyond their last point
};

// Run switches beside the current controls.
struct RUNSW {
  int IPYOUT;  // p-y output selector (control item 11)
  int IUSRLS;  // 1: user load-settlement curves
  int IPYPRT;  // 1 while the criteria generate curves for printing or plotting
};

// Reduction factors for closely spaced piles: option and defined movement direction.
struct REDFOPT {
  double REDMOVY, REDMOVZ;
  int IREDFAC;  // 0 none, 1 from the load direction, 2 user factors, 3 from a defined movement
};

// Moment-curvature control words.
struct MPHICNT {
  int NMPHI;   // moment-curvature sets in use (control item 9)
  int IAXFAC;  // non-zero: the axial-load factor column is printed
  int NMPUSR;  // number of user sets
};

// Stiffness-estimation option of the load case being analysed.
struct ESTOPT {
  int ISTFOP;
};

// The pile cap as read.
struct CAP {
  double CAPPMEAN, CAPLEN, CAPWID, CAPTHK, CAPUH, CAPDEQ;
  int ICAPOPT;
};

// Embedded cap and the cap pseudo row.
struct CAPPASS {
  double CAPXTOP, CAPTHKP, CAPWEFF, CAPK50, CAPFULT, CAPYMAX;
  int NCAPINC, ICAPSPR, ICAPMOD, ICAPPY;
};

// Plate finite-element model of the cap.
struct CAPFEOPT {
  double FEXOFF, FEYOFF, FEEMOD, FEPOIS;
  int IFEOPT, FENX, FENY;
};

// Load cases as read.
struct LOADCASE {
  Arr2<double, MAXLC, 7> CASREAL;          // TOLCAP TOLPILE FACINC FACMIN scale TOLCAPD TOLCAPR
  Arr3<double, MAXLC, MAXCONC, 9> LOAD;    // FX FY MZ FZ MY MX, point X Y Z
  Arr2<double, MAXLC, MAXDIST> DLFY, DLFZ; // factors of the distributed-load lines
  Arr2<double, MAXLC, MAXNV> STFDAT;       // stiffness-estimation values
  Arr1<Chars<80>, MAXLC> CASNAME;
  int ICASE;
  int NLC;
  Arr2<int, MAXLC, 51> CASINT;             // integer controls (columns as read)
  Arr3<int, MAXLC, MAXDIST, 7> DLINT;      // distributed-load lines
};

// Load cases given as prescribed cap displacements.
struct LCSPEC {
  Arr2<double, MAXLC, 15> SPVAL;
  Arr1<int, MAXLC> IDISP;
  Arr2<int, MAXLC, 6> ICOND;
};

// Load combinations as read.
struct COMBIN {
  Arr2<double, MAXCOMB, 8> CBREAL;
  Arr2<double, MAXCOMB, MAXMEM> MEMFAC;
  Arr1<Chars<80>, MAXCOMB> CBNAME;
  int NCOMB;
  Arr2<int, MAXCOMB, 41> CBINT;
  Arr2<int, MAXCOMB, MAXMEM> MEMCASE;
};

// Print selections of the envelopes.
struct ENVSEL {
  Arr1<int, NNODEQ> IPRLC, IPRCB;
};

// Result counter and envelope requests (index 1 load cases, 2 combinations).
struct OUTFLAGS {
  int NRESLT;
  Arr1<int, 2> IENVREQ, IENVOUT, IENVSEL;
  int IPROPTE, INODSTE;
};

// Load-versus-depth curves.
struct DLCURVES {
  Arr2<double, MAXDC, MAXDCPT> DCDEP, DCVAL;
  Arr1<int, MAXDC> NPDC;
  int NDC;
  int IAXDL;
};

// Pile-group rows as read, 3-D and 2-D forms.
struct ROWIN {
  Arr2<double, MAXROWP, 14> ROWR3;
  int NROW3;
  Arr2<int, MAXROWP, 10> ROWI3;
  Arr2<double, MAXROWP, 9> ROWR2;
  int NROW2;
  Arr2<int, MAXROWP, 7> ROWI2;
};

// Pile properties as read.
struct PILEIN {
  Arr1<double, MAXPIN> PLENI;
  Arr2<double, MAXPIN, MAXSECT> SFROMI, STOI;
  Arr1<int, MAXPIN> IPNOI;  // property number as written (not used)
  Arr1<int, MAXPIN> NSECTI, NSEGI, PKINDI;
  Arr2<int, MAXPIN, MAXSECT> ISECI;
  int NPROPIN;
};

// Cross sections as read.
struct SECTIN {
  Arr2<double, MAXSECIN, 37> SPROPI;
  Arr1<int, MAXSECIN> ISECNOI;  // section number as written (not used)
  Arr1<int, MAXSECIN> ISHAPEI, ITAPERI, INONLIN, IAISCFAM, IEXTDIA;
  Arr1<int, MAXSECIN> ISPARE1, ISPARE2;  // read, not used
  Arr1<Chars<80>, MAXSECIN> SNAME, SNAME2, SNAME3;
  Arr2<double, MAXSECIN, 35> NLVAL;
  Arr2<int, MAXSECIN, 33> NLINT;
  Arr3<double, MAXSECIN, 2, MAXNLPT> NLPT1, NLPT2;
  Arr2<double, MAXSECIN, MAXNLPT> NLLST;
  int NSECIN;
};

// Soil layers as read.
struct SOILIN {
  Arr1<double, MAXLAYIN> LTOPI, LBOTI;
  Arr3<double, MAXLAYIN, 2, 10> SOILP;  // (layer, top/bottom row, value)
  Arr1<int, MAXLAYIN> LNOI;             // layer number as written (not used)
  Arr1<int, MAXLAYIN> LSOILI, NROWL, NPROPL;
  int NLAYIN;
};

// Requested p-y curves and the deflection lists of the plot pass.
struct PYOUT {
  Arr1<double, MAXPYOUT> PODEP;
  Arr1<int, MAXPYOUT> POPILE;
  Arr2<double, MAXPYOUT, MAXPOPT> POY;
  Arr1<int, MAXPYOUT> PONPT;
  int NPYOUT;
  Arr1<double, MAXPOPT> PLTY, PLTY2;
  Arr1<int, MAXPYOUT> POSTAT;
  int NPCUR, IPCUR;
};

// User p-y curves as read.
struct PYUSRIN {
  Arr2<double, MAXPYSET, MAXPYCRV> PYDEPI;
  Arr3<double, MAXPYSET, MAXPYCRV, MAXPYPT> PYPI, PYYI;
  Arr1<int, MAXPYSET> PYSETI, NCRVI;
  Arr2<int, MAXPYSET, MAXPYCRV> NPTI;
  int NSETPY;
};

// Rows with generated load-settlement and torque-rotation curves.
struct GENLIST {
  int NLSGEN, NTRGEN;
  Arr1<int, MAXROW> LSGEN, TRGEN;
};

// User load-settlement curves as read.
struct LSIN {
  Arr2<double, MAXUSRC, MAXUSRPT> LSLI, LSDI;
  int NLSI;
  Arr1<int, MAXUSRC> LSIDI, NPTLSI;
};

// User torque-rotation curves as read.
struct TRIN {
  Arr2<double, MAXUSRC, MAXUSRPT> TRTI, TRRI;
  Arr1<int, MAXUSRC> TRIDI, NPTTRI;
  int NTRI;
};

// User moment-curvature sets as read.
struct MPHIIN {
  Arr2<double, MAXMPSET, MAXMPCRV> AXLI;
  Arr3<double, MAXMPSET, MAXMPCRV, MAXMPPT> MOMI, PHII;
  Arr1<int, MAXMPSET> MPSETI, NCRVMI;
  Arr2<int, MAXMPSET, MAXMPCRV> NPTMI;
  int NMPSETI;
};

// Moment-curvature curves of the nonlinear cross sections about one bending axis. Point
// slot 0 of MOMG and PHIG holds a value read and not used.
struct MPHIGEN {
  Arr2<double, MAXMPG, MAXMPCRV> AXLG;
  Arr1<int, MAXMPG> ISECG, NCRVG;
  Arr2<int, MAXMPG, MAXMPCRV> NPTG;
  int NMPG;
  double& MOMG(int i, int k, int p) { return momg_(i, k, p + 1); }
  double MOMG(int i, int k, int p) const { return momg_(i, k, p + 1); }
  double& PHIG(int i, int k, int p) { return phig_(i, k, p + 1); }
  double PHIG(int i, int k, int p) const { return phig_(i, k, p + 1); }

 private:
  Arr3<double, MAXMPG, MAXMPCRV, MAXMPPT + 1> momg_, phig_;
};

// MPHIGEN1: bending about the first axis; MPHIGEN2: about the second axis (3-D). Entry i
// of the second belongs to entry i of the first.
struct MPHIGENS {
  MPHIGEN MPHIGEN1, MPHIGEN2;
};

// p-y modification factors along depth.
struct PYMODSET {
  Arr1<int, MAXPMSET> IDPYMOD, NPTMOD;
  int NPYMOD;
  int IPYMOD;  // control item 17
};

struct PYMOD {
  Arr2<double, MAXPMSET, MAXPMPT> PMDEP, PMPF, PMYF;
};

// Free-field soil movement.
struct SMPROF {
  Arr1<double, MAXSMPT> SMDEP, SMY0, SMZ0, SMY, SMZ;
  double TCURSM;  // current load factor of the movement
  int NSMPT;
  int ISMOVE;  // control item 18
};

// Plot-pass words that the input sets (the curve buffers of the criteria live with them).
struct PYPLOT_in {
  int IPLTPASS;  // control item 19
  int IPLTUNF;   // control item 20: 0 text curve-data file, otherwise records
  int NPTTZPL;   // points of the axial and torsion plot curves, 19
  int NPLTPT;    // plot segments along each pile
  int IPLTY, IPLTY2;
  int NPLTY, NPLTY2;
};

struct InputTables : GENCTL, RUNSW, REDFOPT, MPHICNT, ESTOPT, CAP, CAPPASS, CAPFEOPT,
                     LOADCASE, LCSPEC, COMBIN, ENVSEL, OUTFLAGS, DLCURVES, ROWIN, PILEIN,
                     SECTIN, SOILIN, PYOUT, PYUSRIN, GENLIST, LSIN, TRIN, MPHIIN, MPHIGENS,
                     PYMODSET, PYMOD, SMPROF, PYPLOT_in {};

}  // namespace torva
