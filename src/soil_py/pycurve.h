// p-y curves of the soil criteria: the dispatcher over the soil layers of a pile row, the
// equivalent depth of a lower layer, the modification factors along depth, and one routine
// per criterion. Every routine is a pure function of its arguments and the read-only model
// tables, apart from the row's own entries of PYCAP and PILELAYR (and the plot buffers in
// plot mode), so rows can be evaluated from parallel threads.
#pragma once

#include <bit>
#include <cstdint>

#include "model/model.h"

namespace torva {

// Whether a[0..n) and b[0..n) agree bit by bit (a NaN agrees with the same NaN, -0 differs
// from 0): the test of kept inputs, so that a kept value is the one derivation would give.
inline bool same_bits(const double* a, const double* b, int n) {
  std::uint64_t d = 0;
  for (int i = 0; i < n; ++i) d |= std::bit_cast<std::uint64_t>(a[i]) ^ std::bit_cast<std::uint64_t>(b[i]);
  return d == 0;
}

// The translation steps over which the cap analyses difference their tangents: the
// pile-head tangent of the 3-D model, 1.0E-7 inch, and the tangent of the whole row sum of
// the 2-D model, 1.0E-5 inch; in metres when IUNITS = 2 (single-precision constants
// widened, as the tangents always used them).
inline constexpr double TANSTEP_3D = double(1.0e-7f);
inline constexpr double TANSTEP_3D_SI = double(1.0e-7f) * double(0.0254f);
inline constexpr double TANSTEP_2D = 9.999999747378752e-06;
inline constexpr double TANSTEP_2D_SI = 2.5399999051378116e-07;
// The translation step of the tangent of the model's cap analysis.
inline double tangent_step(const Model& m) {
  if (m.NDIM == 2) return m.IUNITS == 2 ? TANSTEP_2D_SI : TANSTEP_2D;
  return m.IUNITS == 2 ? TANSTEP_3D_SI : TANSTEP_3D;
}
// The deflection below which a p-y curve without an initial slope is taken as linear: the
// pile-head tangent's step, in either model (the 2-D tangent's wider step would change the
// springs of the nodes that barely move, deep along a pile, by more than print precision).
inline double py_linear_step(const Model& m) { return m.IUNITS == 2 ? TANSTEP_3D_SI : TANSTEP_3D; }

// Node arrays of a pile row, indexed by node 1..NSEG+1 (node 1 is the pile head).
using NodeArr = Arr1<double, MAXNODE>;

// Curve constants of the nodes of one pile row, kept by the thread that evaluates the row
// so that the iterations of its pile solutions only evaluate each curve at a deflection.
// A node's entry holds the criterion's state after the node's constants (with the layer's
// running resistance integral), the node's diameter and equivalent depth, and the inputs
// they were derived from: per layer the pile property, the group factors, the static or
// cyclic controls, the ground and head depths and the generation of the model's curve
// inputs (renew_py_constants); per node its layer, depths, the diameter's coordinate and
// the factors along depth. The inputs are values, not the row's number: a row whose inputs
// agree with another's takes the constants that row derived. A node whose inputs differ in
// any bit, and every node after it in the same call, derives its constants again. Nodes by
// pass (1 the embedded-cap pass at the head, 2 every node) and node.
inline constexpr int PYKEEP_LKEY = 28;
inline constexpr int PYKEEP_NKEY = 14;
inline constexpr int PYKEEP_STATE = 384;
// A call after which every node's constants are kept (found, or derived and stored) records
// its node visits (the `steps`, each with the node as the frame saw it) and the row's
// layout inputs. A later call on the same row whose layout inputs and layer inputs agree
// bit by bit replays those steps: it only evaluates each curve at the new deflection.
// Within one pile solution (PySolution) the inputs do not change between calls: once
// checked they are trusted until it ends.
inline constexpr int PYKEEP_NODE = 96;
struct PyKeptNode {
  double key[PYKEEP_NKEY] = {};
  unsigned long long version = 0;  // the version of its layer's inputs
  bool valid = false;
  double D = 0, xe = 0, pusum = 0;
  alignas(8) unsigned char frame[PYKEEP_NODE] = {};  // the node as the frame saw it
  alignas(16) unsigned char state[PYKEEP_STATE] = {};
};
struct PyKeptStep {
  short pass = 0, n = 0;
  bool curve = false;  // the node is below the ground: its curve is evaluated
};
struct PyKept {
  double lkey[MAXLAYER][PYKEEP_LKEY] = {};
  unsigned long long lversion[MAXLAYER] = {};  // 0: no inputs kept for the layer
  unsigned long long versions = 0;             // versions given so far
  PyKeptNode node[2][MAXNODE];
  // Replay.
  bool solution = false;   // within a pile solution
  bool trusted = false;    // the row's inputs were checked within this solution
  bool recorded = false;   // the steps and inputs below hold a replayable call
  bool replaying = false;  // the call in progress replays
  bool replayable = false; // every node of the call in progress is kept as the next
                           // call would take it (its constants found or stored)
  int g = 0, gf = 0, t = 0, nlayer = 0, tip = 0;  // the recorded call's row
  int ltype[MAXLAYER] = {}, node1[MAXLAYER] = {}, node2[MAXLAYER] = {};
  bool framed[MAXLAYER] = {};     // the layer's criterion took its nodes from the frame
  double eqdepth[MAXLAYER] = {};  // EQDEPTH of the row
  double depn[MAXNODE] = {}, depax[MAXNODE] = {};  // DEPN and DEPAX of the row
  int lstep[MAXLAYER][2] = {};    // per layer: first step and end of its steps
  int nsteps = 0;
  PyKeptStep steps[2 * MAXNODE];
};

// The calls of one pile solution with `kept`. Ends with the scope.
struct PySolution {
  PyKept& kept;
  explicit PySolution(PyKept& k) : kept(k) {
    kept.solution = true;
    kept.trusted = false;
  }
  ~PySolution() {
    kept.solution = false;
    kept.trusted = false;
  }
  PySolution(const PySolution&) = delete;
  PySolution& operator=(const PySolution&) = delete;
};

// A new generation of the curve inputs of the model (a new case's controls, a new soil
// profile, new group factors): no kept constant is used after it.
void renew_py_constants(Model& m);

// The p-y springs of row g (pile property t; t = 0 for the cap pseudo row): for every soil
// layer with nodes on the row, the secant modulus Es, the reaction p and (with soil
// movement) psm = Es x movement at the deflections y. gf is the row whose group factors
// apply. In print mode (IPYPRT = 1, IPLOT = 0) every evaluated node writes its curve to
// the echo report and the plot output; in plot mode (IPLOT = 1) the points go to PLCRV.
// With `kept` (analysis only) the curve constants of the row's nodes are taken from and
// stored into it.
void PYCURVE(Model& m, int t, int& status, int g, int gf, const NodeArr& y, NodeArr& Es,
             const NodeArr& smy, const NodeArr& smz, NodeArr& psm, NodeArr& p,
             PyKept* kept = nullptr);

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

// The ground-surface depth of row g below the cap's reference, set where the curves are
// reported against it. Stored only when it changes: the rows of a parallel loop share cache
// lines of the table, and a store of the same value would still take the line from the others.
inline void SETGSDEPTH(Model& m, int g) {
  if (m.IPYOUT != 0 && m.IPYOUT != 1) return;
  const double v = m.FREELEN(g) + m.HEADDEP(g);
  if (!same_bits(&m.GSDEPTH(g), &v, 1)) m.GSDEPTH(g) = v;
}

}  // namespace torva
