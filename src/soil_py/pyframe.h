// The common frame of the p-y criteria: the node loop over one soil layer of a pile row in
// up to two passes (the embedded-cap pass at the pile head, then every node), the depth
// below the ground and the equivalent depth, the modification factors, the soil movement,
// the secant modulus and the reaction, and the print and plot output of a curve.
//
// A criterion is a small struct that derives from PyCrit and supplies, statically:
//   static constexpr int code, plot;      criterion code and plot code (plot < 0: none)
//   static constexpr bool eqdepth;        whether lower layers use the equivalent depth
//   bool soil(PyNode&, int& status);      soil values at the node (false: status set)
//   bool plain_depth(const PyNode&);      the criterion's own test: plain depth at a layer top
//   void call_eqdepth(const PyNode&);     PYEQDEPTH with the node's values
//   void constants(const PyNode&);        curve constants at xe (also the PUSUM increment)
//   double curve(double y);               p of the unfactored curve
//   double es0();                         small-deflection modulus
//   int deflist(const PyNode&, double*);  default deflection list (returns its length)
//   void heading(const PyNode&);          printed parameter block, EQ. DEPTH, point heading
// and may redefine resist(), pusum(), point_out(), begin_pass(), cap_store().
// PyCrit<Derived> supplies the frame's defaults of these.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <string>
#include <type_traits>

#include "input/units.h"
#include "io/writers.h"
#include "model/messages.h"
#include "soil/lookups.h"
#include "soil_py/defaults.h"
#include "soil_py/pycurve.h"

namespace torva::pyf {

// A decimal constant of the curve formulas: the single-precision value widened.
constexpr double f32(float v) { return v; }
inline constexpr double TOL6 = f32(1.0e-6f);
inline constexpr double FULLPI = 3.141592653589793;

// Sand coefficient curves A and B (static, cyclic) by normalised depth.
inline constexpr double SANDXT[10] = {0.0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0};
inline constexpr double SANDAS[10] = {f32(2.83f), f32(2.48f), f32(2.11f), f32(1.76f), f32(1.48f),
                                      f32(1.23f), f32(1.06f), f32(0.90f), f32(0.88f), f32(0.88f)};
inline constexpr double SANDBS[10] = {f32(2.14f), f32(1.83f), f32(1.54f), f32(1.27f), f32(1.05f),
                                      f32(0.86f), f32(0.71f), f32(0.53f), f32(0.50f), f32(0.50f)};
inline constexpr double SANDAC[10] = {f32(0.75f), f32(0.93f), f32(1.07f), f32(1.11f), f32(1.03f),
                                      f32(0.98f), f32(0.94f), f32(0.90f), f32(0.88f), f32(0.88f)};
inline constexpr double SANDBC[10] = {f32(0.53f), f32(0.72f), f32(0.83f), f32(0.86f), f32(0.82f),
                                      f32(0.77f), f32(0.70f), f32(0.55f), f32(0.55f), f32(0.55f)};

// Everything the frame knows about the node being evaluated.
struct PyNode {
  int g = 0, gf = 0, t = 0, L = 0, n = 0, pass = 0;
  bool capw = false;    // embedded-cap pass with the cap width (ICAPOPT = 1)
  bool first = false;   // first node of the layer
  bool last = false;    // last node of the layer
  bool analysis = true, print = false, plot = false;
  bool modset = false;  // factors along depth apply to this row
  double d = 0, h = 0, x = 0, xe = 0, D = 0, pf = 1, yf = 1;
};

// Last node of a row: NSEG+1 of its property, or the last node of the cap pseudo pile.
inline int last_node(const Model& m, int t) { return t >= 1 ? m.NSEG(t) + 1 : m.NCAPINC + 1; }

// Modes of the current call.
inline bool is_plot(const Model& m) { return m.IPLOT == 1; }
inline bool is_print(const Model& m) { return m.IPYPRT != 0 && m.IPLOT != 1; }

// Report pieces shared by the criteria.
void eq_depth_line(Model& m, double xe);
void point_heading(Model& m);              // empty line, "Y," and "P," with units
void point_heading_yp(Model& m, int lead); // empty line, "Y" and "P", unit line (lead blanks)
void depth_record(Model& m, double d);     // plot output: the node depth
void echo_point(Model& m, double y, double p);
void plot_point(Model& m, double y, double p, int lead);  // 1P G15.8 after `lead` blanks
void plot_point_trail(Model& m, double y, double p);     // a blank, each value and 2 blanks
std::string stress_lab(const Model& m, bool depth_unit = false);  // force / length**2
std::string modulus_lab(const Model& m);   // force / length**3
std::string weight_lab(const Model& m);    // force / depth**3
std::string fpl_lab(const Model& m);       // force / length

// One point: into the plot buffer (ply, plp) in plot mode; otherwise the printed pair
// (py, pp) on the echo report and the plot output, `lead` blanks before each value.
inline void put_point(Model& m, const PyNode& nd, int i, double ply, double plp, double py,
                      double pp, int lead) {
  if (nd.plot) {
    m.PLCRV(i, 1, 1) = ply;
    m.PLCRV(i, 2, 1) = plp;
  } else {
    echo_point(m, py, pp);
    plot_point(m, py, pp, lead);
  }
}

// Frame step 13: the unfactored curve value at y and the secant modulus with the row's
// group factors and the factors along depth; below SMALL the criterion's Es0 and y x Es0.
// With the model's SMALL and the row's PMULT, YMULT given. Always inlined: it is the body
// of every curve evaluation, and the calls with factors of 1 lose their tests.
template <class C>
[[gnu::always_inline]] inline void frame_resist_at(const C& c, const PyNode& nd, double y,
                                                   double small, double pmult, double ymult,
                                                   double& pc, double& es) {
  if (y >= small) {
    pc = c.curve(y);
    // pc x PMULT / y / YMULT; a factor of 1 leaves the value as it is.
    es = (pmult == 1.0 ? pc : pc * pmult) / y;
    if (ymult != 1.0) es /= ymult;
    if (nd.modset) es *= nd.pf / nd.yf;
  } else {
    es = c.es0();
    pc = y * es;
  }
}
template <class C>
void frame_resist(const Model& m, C& c, const PyNode& nd, double y, double& pc, double& es) {
  frame_resist_at(c, nd, y, m.SMALL, m.PMULT(nd.gf), m.YMULT(nd.gf), pc, es);
}

// A curve without an initial slope (p grows from y = 0 as a power of y below one, so its
// slope there is infinite) is taken in an analysis as linear below the pile-head tangent's
// step, ylin = 1.0E-7 in (py_linear_step): p = y p(ylin) / ylin with the secant at ylin as
// its modulus. The tangent differences the pile response over that step, so it then agrees
// with the springs of a pile that barely moves; the curve's own values stand from ylin on.
// True when y is below ylin and pc, es are set (es with the row's factors, as frame_resist
// gives it).
template <class C>
inline bool linear_below_step(const Model& m, C& c, const PyNode& nd, double y, double& pc,
                              double& es) {
  if (!nd.analysis) return false;
  const double ylin = py_linear_step(m);
  if (!(y < ylin)) return false;
  frame_resist(m, c, nd, ylin, pc, es);
  pc *= y / ylin;
  return true;
}

template <class Derived>
struct PyCrit {
  Model& m;
  double acc = 0.0;  // running integral of the ultimate resistance of the layer
  explicit PyCrit(Model& mm) : m(mm) {}
  void begin_pass() {}
  void pusum(const PyNode&) {}
  void resist(const PyNode& nd, double y, double& pc, double& es) {
    frame_resist(m, static_cast<Derived&>(*this), nd, y, pc, es);
  }
  bool plain_depth(const PyNode&) { return true; }
  void call_eqdepth(const PyNode&) {}
  void cap_store(const PyNode& nd, double y, double pc) {
    (void)y;
    m.PCAPP(nd.g) = pc;
  }
  // The point as printed or plotted: py, pp the printed pair; y and pc the deflection and
  // the resistance of the unfactored curve.
  void point_out(const PyNode& nd, int i, double y, double py, double pp, double pc,
                 double es0) {
    (void)y;
    (void)pc;
    (void)es0;
    put_point(m, nd, i, py, pp, py, pp, 1);
  }
  // The same with the plot-output record of vuggy limestone and elastic subgrade.
  void point_out_trail(const PyNode& nd, int i, double py, double pp) {
    if (nd.plot) {
      put_point(m, nd, i, py, pp, py, pp, 1);
    } else {
      echo_point(m, py, pp);
      plot_point_trail(m, py, pp);
    }
  }
  // PUSUM in its common form: h x increment at every node but the first of a lower layer,
  // with the triangle above a pile head below the ground in layer 1, and the end piece to
  // the layer bottom at the last node when `endpiece` is set.
  // `tri` is the resistance of the triangle (the criterion's pu), `triangle` whether the
  // criterion adds it.
  void pusum_common(const PyNode& nd, double inc, bool triangle, double tri, bool endpiece) {
    if (nd.first) acc = 0.0;
    if (nd.L == 1 && triangle && m.FREELEN(nd.g) <= 0.0 && acc <= 0.0)
      acc = -0.5 * tri * m.FREELEN(nd.g);
    if (!(nd.first && nd.L >= 2)) acc += nd.h * inc;
    if (endpiece && nd.last) acc += (m.LBOT(nd.L) - nd.d) * inc;
    m.PUSUM(nd.g, nd.L) = acc;
  }
};

// The kept curve constants of the PYCURVE call running on this thread (null: none).
inline thread_local PyKept* tl_kept = nullptr;
struct KeptScope {
  PyKept* prev;
  explicit KeptScope(PyKept* k) : prev(tl_kept) { tl_kept = k; }
  ~KeptScope() { tl_kept = prev; }
  KeptScope(const KeptScope&) = delete;
  KeptScope& operator=(const KeptScope&) = delete;
};

// The inputs of the curve constants of a layer's nodes on a row (lk) and of one node
// (nk), as compared bit by bit with the kept ones. The row and the row of its group factors
// enter only through their values, so rows with the same inputs share constants; a
// criterion that reads the group factors as it evaluates a curve takes the row from the
// node in hand (PyNode::gf), which a kept entry's frame holds for the row that took it.
inline void kept_layer_key(const Model& m, const PyNode& nd, double* lk) {
  const int g = nd.g, L = nd.L;
  const double v[] = {double(m.PYGEN), double(nd.t),
                      double(m.LTYPE(L)), nd.modset ? 1.0 : 0.0, m.HEADDEP(g), m.FREELEN(g),
                      m.GSDEPTH(g), m.LTOP(L), m.LBOT(L), double(m.ISTATIC), m.CYCLES,
                      m.PMULT(nd.gf), m.YMULT(nd.gf), double(m.IPYOUT), double(m.ICAPPY),
                      double(m.ICAPOPT), m.CAPWEFF, m.CAPTHK, m.DIAREF, double(m.IUNITS),
                      m.SMALL, double(m.NLAYER), double(m.IPYMOD), double(m.PMODTAB(g))};
  static_assert(sizeof(v) / sizeof(double) <= PYKEEP_LKEY);
  std::fill(lk, lk + PYKEEP_LKEY, 0.0);
  std::copy(std::begin(v), std::end(v), lk);
}
inline void kept_node_key(const Model& m, const PyNode& nd, double* nk) {
  const double v[] = {double(nd.L), double(nd.n), double(nd.pass), nd.capw ? 1.0 : 0.0,
                      nd.first ? 1.0 : 0.0, nd.last ? 1.0 : 0.0, nd.d, nd.h, nd.x, nd.pf,
                      nd.yf, m.DEPAX(nd.g, nd.n), m.EQDEPTH(nd.g, nd.L)};
  static_assert(sizeof(v) / sizeof(double) <= PYKEEP_NKEY);
  std::fill(nk, nk + PYKEEP_NKEY, 0.0);
  std::copy(std::begin(v), std::end(v), nk);
}
inline constexpr int NKEY_EQDEPTH = 12;  // the equivalent depth's place in the node key

// Whether two keys agree bit by bit.
template <int N>
inline bool same_key(const double (&a)[N], const double (&b)[N]) {
  return same_bits(a, b, N);
}

// Whether criterion C keeps the frame's own resist (frame_resist with the row's factors).
template <class C>
inline constexpr bool frame_rule_v =
    std::is_same_v<decltype(&C::resist),
                   void (PyCrit<C>::*)(const PyNode&, double, double&, double&)>;

// The replay's node visits of layer L. `Plain`: no soil movement and group factors of 1,
// for a criterion with the frame's own resist; the same values with fewer tests per node.
template <class C, bool Plain>
const PyKeptNode* py_replay_steps(PyKept& kept, int L, const NodeArr& y, NodeArr& Es,
                                  const NodeArr& smy, const NodeArr& smz, NodeArr& psm,
                                  NodeArr& p, double small, double pmult, double ymult,
                                  bool movement, bool relative) {
  constexpr bool frame_rule = frame_rule_v<C>;
  static_assert(frame_rule || !Plain);
  const PyKeptNode* lastkn = nullptr;  // the last node evaluated leaves its PUSUM
  for (int i = kept.lstep[L - 1][0]; i < kept.lstep[L - 1][1]; ++i) {
    const PyKeptStep st = kept.steps[i];
    const int n = st.n;
    if (!st.curve) {
      Es(n) = 0.0;
      continue;
    }
    PyKeptNode& kn = kept.node[st.pass - 1][n - 1];
    const PyNode& nd = *reinterpret_cast<const PyNode*>(kn.frame);
    C* cur = reinterpret_cast<C*>(kn.state);
    lastkn = &kn;
    const double yn = y(n);
    const double msm = !Plain && movement ? std::sqrt(smy(n) * smy(n) + smz(n) * smz(n)) : 0.0;
    const double yv = !Plain && relative ? std::abs(yn - msm) : std::abs(yn);
    double pc = 0.0, es = 0.0;
    if constexpr (Plain) {
      frame_resist_at(*cur, nd, yv, small, 1.0, 1.0, pc, es);
    } else if constexpr (frame_rule) {
      frame_resist_at(*cur, nd, yv, small, pmult, ymult, pc, es);
    } else {
      cur->resist(nd, yv, pc, es);
    }
    const double pm = Plain ? pc : pc * pmult;
    if (nd.capw) cur->cap_store(nd, yv, pc);
    Es(n) = es;
    if (!Plain && relative) psm(n) = es * msm;
    double r = yn <= msm ? pm : -pm;
    if (nd.modset) r *= nd.pf;
    p(n) = r;
  }
  return lastkn;
}

// The springs of layer L from the node visits recorded in `kept` (see PyKept): the same
// steps as the node loop below takes when every node's constants are kept.
template <class C>
void py_replay(Model& m, PyKept& kept, int L, int gf, const NodeArr& y, NodeArr& Es,
               const NodeArr& smy, const NodeArr& smz, NodeArr& psm, NodeArr& p) {
  static_assert(std::is_trivially_copyable_v<PyNode> && sizeof(PyNode) <= PYKEEP_NODE &&
                alignof(PyNode) <= 8);
  const int g = kept.g;
  SETGSDEPTH(m, g);
  const bool movement = m.NSMPT > 0, relative = m.IPYOUT == 0 && movement;
  const double pmult = m.PMULT(gf), ymult = m.YMULT(gf), small = m.SMALL;
  // The lean form where the criterion allows it (else both calls take the full one).
  constexpr bool lean = frame_rule_v<C>;
  const PyKeptNode* lastkn =
      lean && !movement && pmult == 1.0 && ymult == 1.0
          ? py_replay_steps<C, lean>(kept, L, y, Es, smy, smz, psm, p, small, pmult, ymult,
                                     movement, relative)
          : py_replay_steps<C, false>(kept, L, y, Es, smy, smz, psm, p, small, pmult, ymult,
                                      movement, relative);
  if (lastkn) m.PUSUM(g, L) = lastkn->pusum;
}

// The node loop of one layer of one row (Part of every criterion routine).
template <class C>
void py_frame(Model& m, C& c, int t, int L, int& status, int g, int gf, const NodeArr& y,
              NodeArr& Es, const NodeArr& smy, const NodeArr& smz, NodeArr& psm, NodeArr& p) {
  static_assert(std::is_trivially_copyable_v<C> && sizeof(C) <= PYKEEP_STATE &&
                alignof(C) <= 16);
  PyNode nd;
  nd.g = g;
  nd.gf = gf;
  nd.t = t;
  nd.L = L;
  nd.plot = is_plot(m);
  nd.print = is_print(m);
  nd.analysis = m.IPYPRT == 0;
  nd.modset = m.IPYMOD == 1 && m.PMODTAB(g) >= 1;
  const int n1 = m.NODE1(g, L), n2 = m.NODE2(g, L);
  const int last = last_node(m, t);
  const double captop = m.HEADDEP(g) - m.CAPTHK, capbot = m.HEADDEP(g);
  double ylist[MAXPOPT];
  // Kept constants: `cur` is the criterion state of the node in hand, either c or a kept
  // entry; `chain` stays true while every node so far was taken from the kept entries.
  PyKept* const kept = (nd.analysis && !nd.plot && m.PYGEN != 0) ? tl_kept : nullptr;
  if (kept && kept->replaying) {
    py_replay<C>(m, *kept, L, gf, y, Es, smy, smz, psm, p);
    return;
  }
  if (kept) {
    kept->framed[L - 1] = true;
    kept->lstep[L - 1][0] = kept->lstep[L - 1][1] = kept->nsteps;
  }
  // A visit that can be replayed: recorded while every node so far is kept.
  const auto record = [&](int pass, int n, bool curve) {
    if (!kept || !kept->replayable) return;
    if (kept->nsteps >= int(std::size(kept->steps))) {
      kept->replayable = false;
      return;
    }
    kept->steps[kept->nsteps++] = PyKeptStep{short(pass), short(n), curve};
    kept->lstep[L - 1][1] = kept->nsteps;
  };
  C* cur = &c;
  bool chain = kept != nullptr;
  if (kept) {  // the layer's inputs: new ones take a new version, which no node has yet
    SETGSDEPTH(m, g);
    double lk[PYKEEP_LKEY];
    kept_layer_key(m, nd, lk);
    if (kept->lversion[L - 1] == 0 || !same_key(lk, kept->lkey[L - 1])) {
      std::memcpy(kept->lkey[L - 1], lk, sizeof lk);
      kept->lversion[L - 1] = ++kept->versions;
      chain = false;
    }
  }
  const unsigned long long lversion = kept ? kept->lversion[L - 1] : 0;
  const auto own_state = [&] {
    if (cur != &c) std::memcpy(static_cast<void*>(&c), static_cast<const void*>(cur), sizeof(C));
    cur = &c;
  };

  for (int pass = 1; pass <= 2; ++pass) {
    if (pass == 1 && (m.ICAPOPT <= 0 || n1 != 1)) continue;
    nd.pass = pass;
    own_state();
    c.begin_pass();
    const int nb = pass == 1 ? 1 : n1, ne = pass == 1 ? 1 : n2;
    for (int n = nb; n <= ne; ++n) {
      nd.n = n;
      nd.d = m.DEPN(g, n);
      const bool incap = captop <= nd.d && nd.d <= capbot;
      if (pass == 1 && !nd.analysis && !incap) continue;
      if (pass == 2 && nd.print && m.ICAPOPT == 1 && incap) continue;
      nd.capw = pass == 1 && m.ICAPOPT == 1;
      nd.first = n == n1;
      nd.last = n == n2;
      // The spacing to the next node; none beyond the tip.
      nd.h = n + 1 <= last ? m.DEPN(g, n + 1) - nd.d : 0.0;
      nd.pf = nd.yf = 1.0;
      if (m.IPYMOD == 1) {
        int set;
        PYMODFAC(m, g, set, nd.d, nd.pf, nd.yf);
      }
      SETGSDEPTH(m, g);
      Es(n) = 0.0;
      nd.x = nd.d - m.FREELEN(g) - m.HEADDEP(g);
      if (nd.plot) {
        if (C::plot >= 0) m.IPLTCRV = C::plot;
        m.IPLTGS = nd.x >= TOL6 ? 1 : 0;
        m.PLCHR = nd.x;
      }
      if (nd.x < TOL6) {
        record(pass, n, false);
        continue;
      }
      PyKeptNode* kn = nullptr;
      bool hit = false;
      if (kept) {
        kn = &kept->node[pass - 1][n - 1];
        double key[PYKEEP_NKEY];
        kept_node_key(m, nd, key);
        const bool eqstep =
            C::eqdepth && L >= 2 && nd.first && m.IPYOUT == 0 && m.EQDEPTH(g, L) < TOL6;
        hit = chain && !eqstep && kn->valid && kn->version == lversion &&
              same_key(key, kn->key);
        if (!hit) {
          chain = false;
          kn->valid = false;
          kn->version = lversion;
          std::memcpy(kn->key, key, sizeof key);
        }
      }
      if (hit) {
        nd.D = kn->D;
        nd.xe = kn->xe;
        // The entry may come from another row with the same inputs: a replay sees this one.
        std::memcpy(static_cast<void*>(kn->frame), static_cast<const void*>(&nd), sizeof nd);
        cur = reinterpret_cast<C*>(kn->state);
        m.PUSUM(g, L) = kn->pusum;
        record(pass, n, true);
      } else {
        own_state();
        nd.D = (nd.capw || m.ICAPPY == 1) ? m.CAPWEFF : SECDIAM(m, g, t, m.DEPAX(g, n));
        if (!c.soil(nd, status)) return;
        nd.xe = nd.x;
        if (C::eqdepth && L >= 2) {
          if (nd.first && m.IPYOUT == 0 && m.EQDEPTH(g, L) < TOL6) {
            if (m.LTYPE(L - 1) == m.LTYPE(L) || c.plain_depth(nd))
              m.EQDEPTH(g, L) = m.LTOP(L) - m.FREELEN(g) - m.HEADDEP(g);
            else
              c.call_eqdepth(nd);
          }
          nd.xe = (nd.d - m.LTOP(L)) + m.EQDEPTH(g, L);
        }
        // The printed parameter block shows the curve constants: they come first.
        c.constants(nd);
        if (nd.print) c.heading(nd);
        c.pusum(nd);
        if (kn) {
          kn->key[NKEY_EQDEPTH] = m.EQDEPTH(g, L);
          kn->D = nd.D;
          kn->xe = nd.xe;
          kn->pusum = m.PUSUM(g, L);
          // The node as a hit sees it: its key holds every field but D and xe.
          std::memcpy(static_cast<void*>(kn->frame), static_cast<const void*>(&nd), sizeof nd);
          std::memcpy(static_cast<void*>(kn->state), static_cast<const void*>(&c), sizeof(C));
          kn->valid = true;
          // An equivalent depth still unset derives this node again in the next call.
          if (C::eqdepth && L >= 2 && nd.first && m.IPYOUT == 0 && m.EQDEPTH(g, L) < TOL6)
            kept->replayable = false;
          record(pass, n, true);
        }
      }
      const double msm =
          (nd.analysis && m.NSMPT > 0) ? std::sqrt(smy(n) * smy(n) + smz(n) * smz(n)) : 0.0;
      int np = 1, nlist = 0;
      if (!nd.analysis) {
        np = m.NPCUR > 0 ? std::min(m.NPCUR, MAXPOPT) : (m.NPCUR == 0 ? 17 : 0);
        if (m.NPCUR == 0) nlist = c.deflist(nd, ylist);
        if (m.NPCUR == 0) np = std::min(np, nlist);
      }
      for (int i = 1; i <= np; ++i) {
        double yv;
        if (nd.analysis) {
          yv = std::abs(y(n));
          if (m.IPYOUT == 0 && m.NSMPT > 0) yv = std::abs(y(n) - msm);
        } else if (m.NPCUR > 0) {
          yv = nd.plot ? m.PLTY(i) : m.POY(std::clamp(m.IPCUR, 1, MAXPYOUT), i);
        } else {
          yv = ylist[i - 1];
        }
        double pc = 0.0, es = 0.0;
        cur->resist(nd, yv, pc, es);
        const double pm = pc * m.PMULT(gf);
        if (nd.capw) cur->cap_store(nd, yv, pc);
        Es(n) = es;
        if (nd.analysis) {
          if (m.IPYOUT == 0 && m.NSMPT > 0) psm(n) = es * msm;
          double r = y(n) <= msm ? pm : -pm;
          if (nd.modset) r *= nd.pf;
          p(n) = r;
        } else {
          double py = yv * m.YMULT(gf), pp = pm;
          if (nd.modset) {
            py *= nd.yf;
            pp *= nd.pf;
          }
          if (nd.capw) {
            py = yv;
            pp = pc;
          }
          c.point_out(nd, i, yv, py, pp, pc, c.es0());
        }
      }
    }
  }
}

}  // namespace torva::pyf
