// p-y curves of the soil criteria: the dispatcher over the soil layers of a pile row, the
// equivalent depth of a lower layer, the modification factors along depth, and one routine
// per criterion. Every routine is a pure function of its arguments and the read-only model
// tables, apart from the row's own entries of PYCAP and PILELAYR (and the plot buffers in
// plot mode), so rows can be evaluated from parallel threads.
#pragma once

#include "model/model.h"

namespace torva {

// Node arrays of a pile row, indexed by node 1..NSEG+1 (node 1 is the pile head).
using NodeArr = Arr1<double, MAXNODE>;

// The p-y springs of row g (pile property t; t = 0 for the cap pseudo row): for every soil
// layer with nodes on the row, the secant modulus Es, the reaction p and (with soil
// movement) psm = Es x movement at the deflections y. gf is the row whose group factors
// apply. In print mode (IPYPRT = 1, IPLOT = 0) every evaluated node writes its curve to
// the echo report and the plot output; in plot mode (IPLOT = 1) the points go to PLCRV.
void PYCURVE(Model& m, int t, int& status, int g, int gf, const NodeArr& y, NodeArr& Es,
             const NodeArr& smy, const NodeArr& smz, NodeArr& psm, NodeArr& p);

// Modification factors pf (on p) and yf (on y) of row g at a depth; set := PMODTAB(g).
// A depth within TOLDEP of the set's first or last point takes that point's factors.
void PYMODFAC(const Model& m, int g, int& set, double depth, double& pf, double& yf);

// Equivalent depth of the top of layer L of row g: the depth below the ground at which the
// layer's own criterion has integrated as much ultimate resistance as the layers above
// (sum of PUSUM). Arguments are the values at the layer's first node; xt the abscissae of
// the sand coefficient curves. Stores EQDEPTH(g, L).
void PYEQDEPTH(Model& m, int g, int L, int t, double D, double c, double ca, double gam,
               double phi, double alpha, double beta, double K0, double Ka, double Kp, double r,
               double J, const double* xt);

// The criteria: each evaluates every node of layer L on row g.
#define TORVA_PYCRIT(NAME)                                                                 \
  void NAME(Model& m, int t, int L, int& status, int g, int gf, const NodeArr& y,         \
            NodeArr& Es, const NodeArr& smy, const NodeArr& smz, NodeArr& psm, NodeArr& p)
TORVA_PYCRIT(PYSOFTCLAY);
TORVA_PYCRIT(PYSOFTCLAYJ);
TORVA_PYCRIT(PYSOFTCLAYK);
TORVA_PYCRIT(PYSTIFFCLAYW);
TORVA_PYCRIT(PYSTIFFCLAY);
TORVA_PYCRIT(PYSTIFFCLAYK);
TORVA_PYCRIT(PYSAND);
TORVA_PYCRIT(PYAPISAND);
TORVA_PYCRIT(PYLIQSAND);
TORVA_PYCRIT(PYSILT);
TORVA_PYCRIT(PYWEAKROCK);
TORVA_PYCRIT(PYVUGGYLS);
TORVA_PYCRIT(PYELASTIC);
TORVA_PYCRIT(PYINPUT);
#undef TORVA_PYCRIT

// The name line texts of criterion code 1..14 (any other code: soft clay).
const char* pyname(int code);

}  // namespace torva
