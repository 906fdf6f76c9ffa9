#include "report/pyplotfile.h"

#include <algorithm>

#include "axial/curvedata.h"
#include "model/model.h"
#include "soil_py/pycurve.h"
#include "soil_py/pyprint.h"

namespace torva {

namespace {

constexpr double kTolChar = double(1.0e-6f);  // a node below this depth has no curve

// Copy c of the plot buffers: deflection and resistance of point i.
double& Y(Model& m, int i, int c) { return m.PLCRV(i, 1, c); }
double& P(Model& m, int i, int c) { return m.PLCRV(i, 2, c); }

void copy_buf(Model& m, int from, int to, int npt) {
  for (int i = 1; i <= npt; ++i) {
    Y(m, i, to) = Y(m, i, from);
    P(m, i, to) = P(m, i, from);
  }
}

void clear_buf(Model& m, int c, int npt) {
  for (int i = 1; i <= npt; ++i) Y(m, i, c) = P(m, i, c) = 0.0;
}

}  // namespace

void PYPLOTFILE(Model& m, int g, int& status) {
  const int t = m.PTYPE(g);
  const int n = m.NPLTPT;
  m.NLAYER = std::min(m.NLAYIN, MAXLAYER);
  m.IPYPRT = 1;
  CDINTS(m, g, n + 1, 1);
  if (n < 1) return;  // refused at input; nothing to divide
  const double h = m.PILELEN(t) / n;
  const bool list = m.IPLTY > 0 && m.NPLTY > 0;
  m.NPCUR = m.IPLTY > 0 ? m.NPLTY : 0;
  m.IPCUR = g;
  const int npt = list ? std::min(m.NPLTY, MAXPOPT) : 17;
  const int mpt = 2 * npt - 1;
  // Buffer 1: the curve generated at a segment middle; 2: the node's curve being written;
  // 3: the scaled curve of the segment below the previous node.
  clear_buf(m, 2, npt);
  clear_buf(m, 3, npt);
  bool cur = false;
  NodeArr y, Es, smy, smz, psm, p;
  y.fill(0.0);
  smy.fill(0.0);
  smz.fill(0.0);
  for (int i = 1; i <= n + 1; ++i) {
    const double zi = m.CORX(g) + (i - 1) * h;
    const bool prev = cur;
    cur = false;
    clear_buf(m, 1, npt);
    copy_buf(m, 3, 2, npt);
    clear_buf(m, 3, npt);
    CDNODE(m, i, zi);
    m.PLCHR = zi;
    if (i <= n) {
      // Node 1 of the row at the segment middle, the only node of the layer that holds
      // it; below the deepest layer no layer holds a node. The plot nodes lie along the
      // axis: the middle's depth, which picks the layer and the soil, is its vertical one.
      const double z = depth_of_axial(m, g, zi + h / 2.0);
      place_first_node(m, g, z);
      if (m.NLAYER >= 1) m.NODE2(g, m.NLAYER) = 1;
      bool found = false;
      for (int L = 1; L <= m.NLAYER; ++L) {
        if (found) {
          m.NODE1(g, L) = 0;
          m.NODE2(g, L) = 1;
        } else if (m.LBOT(L) > z) {
          m.NODE1(g, L) = 1;
          m.NODE2(g, L) = 1;
          found = true;
        } else {
          m.NODE1(g, L) = 0;
        }
      }
      m.IPLTGS = 0;
      Es.fill(0.0);
      psm.fill(0.0);
      p.fill(0.0);
      PYCURVE(m, t, status, g, g, y, Es, smy, smz, psm, p);
      cur = m.IPLTGS == 1;  // the criterion generated a curve below the ground
      for (int k = 1; k <= npt; ++k) P(m, k, 1) *= h / 2.0;
      copy_buf(m, 1, 3, npt);
      if (!prev) {
        copy_buf(m, 1, 2, npt);
      } else if (cur) {
        double y1[MAXPOPT], p1[MAXPOPT], y2[MAXPOPT], p2[MAXPOPT];
        for (int k = 1; k <= npt; ++k) {
          y1[k - 1] = Y(m, k, 1);
          p1[k - 1] = P(m, k, 1);
          y2[k - 1] = Y(m, k, 2);
          p2[k - 1] = P(m, k, 2);
        }
        CDSUM(npt, y1, p1, y2, p2, y2, p2);
        for (int k = 1; k <= npt; ++k) {
          Y(m, k, 2) = y2[k - 1];
          P(m, k, 2) = p2[k - 1];
        }
      }
      // A segment without a curve (its middle below the deepest layer) adds nothing: the
      // node keeps the curve of its upper half segment.
    }
    const int flag = m.PLCHR >= kTolChar ? 1 : 0;
    CDINTS(m, flag, flag == 1 ? mpt : 0, m.IPLTCRV);
    if (flag == 1) {
      double yb[MAXPOPT], pb[MAXPOPT];
      for (int k = 1; k <= npt; ++k) {
        yb[k - 1] = Y(m, k, 2);
        pb[k - 1] = P(m, k, 2);
      }
      CDMIRROR(m, yb, pb, pb, npt);
    }
  }
  m.NPCUR = 0;
}

}  // namespace torva
