// Axial load and movement along a pile by the load-transfer method: t-z curves at depth
// points along the pile, a q-w curve at the tip, and a march from the tip up that adds the
// side load of each segment and its elastic shortening.
//
// The same work set and march serve the generated load-settlement curve (LSCURVE), the
// torque-rotation curve (TRCURVE, with GJ in place of AE) and the distribution of axial
// force along a pile for a head movement (AXSIDE, AXTIP, AXDIST). A work set belongs to one
// call: the routines write nothing shared, so rows can run in parallel threads.
#pragma once

#include "axial/tzqw.h"
#include "model/limits.h"
#include "model/table.h"

namespace torva {

struct Model;

// Bound on the repetitions of one segment's iteration on its middle movement.
inline constexpr int MAXSEGIT = 100;

using NodeArr = Arr1<double, MAXNODE>;

// The axial work set of one pile.
struct AXWORK {
  int NDP;                               // depth points
  DPArr DPX;                             // depth coordinate of point k
  DPArr DPTMAX;                          // ultimate unit side friction at point k
  DPArr DPPHI;                           // friction angle for the axial curves, degrees
  Arr1<int, MAXDPT> DPNPT;               // points of the t-z curve (10)
  TZTab DPT, DPZ;                        // t-z curve of point k
  int NSTIF;                             // entries of the stiffness table (2 per section)
  Arr1<double, 2 * MAXSECT> SECZ;        // section top and bottom below the head
  Arr1<double, 2 * MAXSECT> SECAE;       // AE (or GJ) at those depths
  QWArr TIPW, TIPQ;                      // tip q-w curve
  double TIPK;                           // tip capacity of the q-w curve
  double TIPX;                           // tip coordinate X
  int TIPCODE;                           // soil code at the tip, after the clay override
};

// Unit side load transfer at the coordinate x for the movement u: linear in x between the
// curves of the two depth points around x, 0 above the first point, the last point's curve
// below the last one.
double AXTLOAD(const AXWORK& w, double x, double u);
// Stiffness (AE or GJ) at the depth s below the head along the pile: linear within the
// section, the upper section's bottom value at a boundary, the last value below the pile.
double AXSTIFF(const AXWORK& w, double s);

// Marches from the tip (node 1: force P1, movement W1) to the head (node nseg + 1).
// Segment j has length h along the pile; its middle lies at the coordinate
// xtip - (j - 1/2) hc of the depth points and at the depth len - (j - 1/2) h below the head
// for the stiffness. Its side force is t(uscale * u) * perim * h with u the middle movement,
// iterated to 1e-4. Fills P and W of nodes 1 .. nseg + 1 and returns the number of
// segments whose iteration reached MAXSEGIT (their last estimate is kept).
int AXMARCH(const AXWORK& w, int nseg, double h, double xtip, double hc, double len,
            double perim, double uscale, double P1, double W1, NodeArr& P, NodeArr& W);

// Estimated or profile ultimate unit side friction at the coordinate X for a soil code and
// pile kind: z the depth below the row's ground surface (raised to 1.0 near the surface in
// the driven-pile rules), zb the depth of the drilled-shaft beta rule.
double AXTMAX(Model& m, int code, int kind, double X, double z, double zb, int& status);

// Depth points of row g (property t) with their unit side friction, friction angle and
// t-z curve. The axial form has points at X = 0 and at the row's ground surface, both
// carrying a negligible friction, then three per layer (d below the top, the middle, d
// above the bottom); the torsional form has only the three per layer, the first of them
// carrying the negligible friction, and measures the beta rule from its first point.
void AXPOINTS(Model& m, int g, int t, bool torsion, int& status, AXWORK& w);
// Section table of property t: AE (or GJ with torsion) at the top and bottom of each section.
void AXSECTAB(const Model& m, int t, bool torsion, AXWORK& w);

// Side t-z curves of row g (property t) at its depth points, and the section AE table.
void AXSIDE(Model& m, int g, int t, int& status, AXWORK& w);
// Tip q-w curve of row g for the sign of the head movement D (pull-out: tip area 1e-4).
void AXTIP(Model& m, int g, int t, double D, int& status, AXWORK& w);
// Movement and force of every node for the head movement D (node n at element n + 3),
// starting from the load-transfer solution stored with the row's generated curve.
// istate is set to 4 when the search for the tip movement does not settle (or a segment
// iteration reached its bound); during the cap analysis's main force sum (IWFILE = 1) a
// warning is then written to the results report and the run log (captured per row inside
// a parallel loop and replayed in row order).
void AXDIST(Model& m, int g, int t, double D, NodeArr& AXMOV, NodeArr& AXFRC,
            const AXWORK& w, int& istate);

}  // namespace torva
