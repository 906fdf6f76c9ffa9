// The laterally loaded pile of the 3-D analysis: a finite-difference beam-column in the
// two lateral planes of the pile's local axes, on secant p-y springs, iterated until the
// deflected shape closes; and the results of the closed shape.
#pragma once

#include <string>

#include "model/model.h"
#include "soil_py/pycurve.h"
#include "pile/pileres.h"

namespace torva {

// Working storage of one lateral pile solution. One per thread, sized once and lent to
// every call; nothing in it survives from one call to the next but the kept curve
// constants, which are used only while their inputs are unchanged. Arrays are indexed by
// the solution entry m (head 4, tip NSEG + 4) unless marked "by pile node k".
struct Llp3dScratch {
  NodeVec y, z, yold, zold;     // deflections of the two planes, and of the previous solve
  NodeVec EIz, EIy;             // flexural rigidity of the y plane and of the z plane
  NodeVec Es;                   // secant soil modulus, common to both planes
  NodeVec Pax;                  // axial force of the beam-column terms
  NodeVec qy, qz, qy0, qz0;     // lateral load per length: applied, and distributed alone
  NodeVec ay, by, cy, az, bz, cz;  // recursion coefficients of the two planes
  NodeVec smy, smz;             // free-field soil movement, by pile node k
  NodeVec ures, Esp, pr, Fsm;   // p-y input and output by pile node k
  NodeVec um, s1m, s2m, Espm, prm, Fm;  // the same by entry m, for user p-y curves
  NodeVec res[NNODEQ];          // node quantities of the closed shape
  NodeBlock block;              // the node quantities gathered for the result store
  PyKept kept;                  // curve constants of the row last evaluated (kept across calls)
  // Set-up of the row last evaluated, kept across calls while its inputs are unchanged:
  // the property and segments, the generation of the model's inputs, the head depth, free
  // length and top of the soil, the node depths and axial coordinates. It
  // holds the bending stiffness of elastic sections (EIz, EIy) and the initial moduli Es
  // of a row on generated curves whose lookups wrote no warning.
  struct {
    bool valid = false, ei = false, es = false;
    int t = 0, n = 0;
    unsigned long long gen = 0;
    double head = 0, free = 0, top = 0;
    NodeVec depn, depax, EIz, EIy, Es;
  } setup;
  int ns = 0;                   // solves made by the last call
  long long solves = 0;         // solves of both planes made by every call so far
};

// Lateral solution of row g for the head deflection yt and rotation Sy of the y plane
// and zt, Sz of the z plane, axial head force P (compression positive) and head torque
// Tq. Returns the head shears Vy, Vz and head moments My, Mz of the two planes. u (6)
// is the head displacement in local axes and QT (6 x 6, by columns) the row's
// local-to-global rotation, both used by the stored results; MOV and FAX are the axial
// movement and force along the pile (entry 4 the head).
//
// Returns true when the shape closed. On a non-closure or a singular system it writes a
// warning, raises the pile state to 1 and returns false; on a failing p-y lookup it
// returns false with `status` set. The head values are 0 whenever it returns false.
bool LLP3D(Model& m, int g, double yt, double Sy, double zt, double Sz, double P, double Tq,
           double& Vy, double& Vz, double& My, double& Mz, int& status, const double u[6],
           const double QT[36], const NodeVec& MOV, const NodeVec& FAX, Llp3dScratch& s);

// Results of the closed shape of row g (moments, shears, soil reactions, stresses,
// capacity ratios) and their store: in the results pass (IOPASS other than 0 and 2) the
// pile-top values and node quantities with their envelopes; in the equivalent-stiffness
// pass (IOPASS = 2) the row's equivalent stiffnesses. Nothing when IOPASS = 0.
void LLP3DRES(Model& m, int g, double P, double Tq, double Vy, double Vz, double My, double Mz,
              const double u[6], const double QT[36], const NodeVec& MOV, const NodeVec& FAX,
              Llp3dScratch& s);

// Rotates the vector (x, y, z), given in the local axes of row g, into global axes.
void ROTPILE(const Model& m, int g, double x, double y, double z, double& X, double& Y,
             double& Z);

// Head rows (entries 1..4) of a plane of the lateral solution for the head connection
// `code` (1 pinned, 2 fixed, other a rotational spring K): the head deflection yt is
// prescribed and the fictitious node above the head gives zero curvature (pinned), the
// head slope (y(5) - y(3)) / (2h) = -S (fixed), or EI4 y'' = K (S + y') (spring). False
// when the spring condition is degenerate (no bending stiffness and no spring).
bool head_rows(int code, double h, double EI4, double K, double yt, double S, NodeVec& a,
               NodeVec& b, NodeVec& c);

// A failed lateral pile solution of row g: two empty lines and the warning `text`,
// followed by "PILE GROUP" and the row, on the results report and the run log; the pile
// state rises to 1 (the load step fails).
void fail_llp(Model& m, int g, const std::string& text);
// The non-closure of a lateral pile solution within MAXITLLP solves (see fail_llp).
void fail_noclosure(Model& m, int g);

// True when two successive deflected shapes agree within tol at every pile node
// (entries 4..N); a NaN never agrees.
bool llp_closed(int N, double tol, const NodeVec& y, const NodeVec& yold);

// One solve of a plane by the pentadiagonal recursion y(m) = a(m) + b(m) y(m+1) +
// c(m) y(m+2), for entries 4..N = NSEG + 4 with element length h: the head rows a, b, c
// at entries 1..4 must be set; fills the rest, copies y(4..N) into yold and back-
// substitutes y. Returns false on a zero or non-finite pivot or tip determinant (the
// deflections are then left unchanged).
bool llp_solve_plane(int N, double h, const NodeVec& EI, const NodeVec& Es, const NodeVec& Pax,
                     const NodeVec& q, NodeVec& a, NodeVec& b, NodeVec& c, NodeVec& y,
                     NodeVec& yold);

}  // namespace torva
