// Printed p-y curves. Each request names a pile row and a depth. A request is refused
// when the depth is not in the soil that the row's pile meets (above the ground, below the
// tip, above the pile head or the cap, outside the soil layers, in a layer of user curves)
// or the row does not exist; at the cap only one curve is printed. For a printable request
// the row's node 1 is moved to the depth and made the only node of its layer, so that the
// dispatcher evaluates exactly that point with the layer's criterion.
#include "soil_py/pyprint.h"

#include <cmath>
#include <string>

#include "input/units.h"
#include "soil_py/pycurve.h"

namespace torva {

namespace {

constexpr double TOLG = double(1.0e-6f);

// The layer that holds depth d: LTOP <= d < LBOT, so that a depth on a boundary belongs to
// the lower layer, as the dispatcher's node ranges have it; 0 when d is in no layer.
int layer_at(const Model& m, double d) {
  for (int L = 1; L <= m.NLAYER && L <= MAXLAYER; ++L)
    if (m.LTOP(L) <= d && d < m.LBOT(L)) return L;
  return 0;
}

void depth_value(Model& m, double x) {
  m.ECHO.F(TOFT(m, x), 10, 2).X(1).A(m.UDEP2.view());
}

void two_empty(Model& m) {
  m.ECHO.nl();
  m.ECHO.nl();
}

// The opening lines: the curve number, then the row line or, at cap level, the depth.
void opening(Model& m, int i, int g, bool cap_level, double d) {
  two_empty(m);
  m.ECHO.X(9).A("CURVE NUMBER              =").I(i, 5).nl();
  two_empty(m);
  if (cap_level) {
    m.ECHO.X(9).A("AT PILE CAP LEVEL, DEPTH  =");
    depth_value(m, d);
    m.ECHO.nl();
  } else {
    m.ECHO.X(9).A("PILE GROUP NUMBER         =").I(g, 5).nl();
  }
  two_empty(m);
}

void not_generated(Model& m, double d, bool wide) {
  m.ECHO.X(9).A(wide ? "CURVE NOT GENERATED SINCE REQUIRED DEPTH,     "
                     : "CURVE NOT GENERATED SINCE REQUIRED DEPTH,  ");
  depth_value(m, d);
  m.ECHO.A(",").nl();
}

void reason(Model& m, std::string_view text, double x) {
  m.ECHO.X(9).A(text);
  depth_value(m, x);
  m.ECHO.nl();
}

// First and second pass: the state of every request.
void request_states(Model& m, int n) {
  for (int i = 1; i <= n; ++i) {
    const int g = m.POPILE(i);
    const double d = m.PODEP(i);
    m.POSTAT(i) = PO_PRINT;
    if (g < 1 || g > m.NROW) {
      m.POSTAT(i) = PO_NOROW;
      continue;
    }
    const double H = m.HEADDEP(g);
    if (d - m.FREELEN(g) - H <= TOLG) m.POSTAT(i) = PO_GROUND;
    if (d > H + m.PILELEN(m.PTYPE(g))) m.POSTAT(i) = PO_TIP;
    if (m.ICAPOPT < 1) {
      if (d <= H) m.POSTAT(i) = PO_HEAD;
    } else if (d <= H - m.CAPTHK) {
      m.POSTAT(i) = PO_CAPTOP;
    }
  }
  if (m.ICAPOPT < 1) return;
  bool first = true;
  for (int i = 1; i <= n; ++i) {
    if (m.POSTAT(i) != PO_PRINT) continue;
    const double H = m.HEADDEP(m.POPILE(i)), d = m.PODEP(i);
    if (H - m.CAPTHK <= d && d <= H) {
      m.POSTAT(i) = first ? PO_CAP : PO_CAP2;
      first = false;
    }
  }
}

// Prints the refusal of request i, or returns false when the request is printable.
bool refused(Model& m, int i, int L) {
  const int st = m.POSTAT(i);
  const int g = m.POPILE(i);
  const double d = m.PODEP(i);
  if (st == PO_NOROW) {
    opening(m, i, g, false, d);
    m.ECHO.X(9).A("CURVE NOT GENERATED SINCE THE REQUIRED PILE GROUP DOES NOT EXIST;").nl();
    m.ECHO.X(9).A("THE MODEL HAS").I(m.NROW, 5).A(" PILE GROUPS").nl();
    return true;
  }
  const double H = m.HEADDEP(g);
  switch (st) {
    case PO_CAP2:
      opening(m, i, g, true, d);
      m.ECHO.X(9).A("CURVE NOT GENERATED SINCE ONLY ONE CURVE ").nl();
      m.ECHO.X(9).A("AT PILE CAP LEVEL CAN BE PRINTED ").nl();
      return true;
    case PO_GROUND:
      opening(m, i, g, false, d);
      not_generated(m, d, false);
      reason(m, "IS ABOVE OR EQUAL TO THE SOIL GROUND FOR REQUIRED PILE, ", m.FREELEN(g) + H);
      return true;
    case PO_TIP:
      opening(m, i, g, false, d);
      not_generated(m, d, false);
      reason(m, "IS BELOW TIP OF REQUIRED PILE, ", H + m.PILELEN(m.PTYPE(g)));
      return true;
    case PO_CAPTOP:
      opening(m, i, g, false, d);
      not_generated(m, d, false);
      reason(m, "IS ABOVE TOP OF PILE CAP, ", H - m.CAPTHK);
      return true;
    case PO_HEAD:
      opening(m, i, g, false, d);
      not_generated(m, d, false);
      reason(m, "IS ABOVE TOP OF REQUIRED PILE, ", H);
      return true;
    default:
      break;
  }
  const bool cap = st == PO_CAP;
  const int nl = m.NLAYER;
  if (nl < 1) {
    opening(m, i, g, cap, d);
    m.ECHO.X(9).A("CURVE NOT GENERATED SINCE NO SOIL LAYERS ARE DEFINED").nl();
    return true;
  }
  if (d <= m.LTOP(1)) {
    opening(m, i, g, cap, d);
    not_generated(m, d, false);
    reason(m, "IS ABOVE OR EQUAL TO THE DEFINED SOIL TOP, ", m.LTOP(1));
    return true;
  }
  if (d >= m.LBOT(nl)) {
    opening(m, i, g, cap, d);
    not_generated(m, d, true);
    reason(m, "IS BELOW OR EQUAL TO THE DEFINED SOIL BOTTOM, ", m.LBOT(nl));
    return true;
  }
  if (L == 0) {  // between two layers: no soil is defined at this depth
    opening(m, i, g, cap, d);
    not_generated(m, d, true);
    m.ECHO.X(9).A("IS NOT WITHIN A DEFINED SOIL LAYER").nl();
    return true;
  }
  if (m.LTYPE(L) == 5) {
    opening(m, i, g, cap, d);
    not_generated(m, d, true);
    m.ECHO.X(9).A("IS WITHIN LAYER ").I(L, 3).A(", WHICH IS SET AS USER DEFINED P-Y CURVES").nl();
    return true;
  }
  return false;
}

}  // namespace

void place_first_node(Model& m, int g, double d) {
  const double along = m.IBATTER == 1 ? std::cos(m.BATTER(g)) : 1.0;
  m.DEPAX(g, 1) = m.DEPAX(g, 1) + (d - m.DEPN(g, 1)) / along;
  m.DEPN(g, 2) = m.DEPN(g, 2) - m.DEPN(g, 1) + d;
  m.DEPN(g, 1) = d;
}

double depth_of_axial(const Model& m, int g, double a) {
  if (m.IBATTER != 1) return a;
  return m.HEADDEP(g) + (a - m.HEADDEP(g)) * std::cos(m.BATTER(g));
}

void PYPRINT(Model& m, int& status) {
  m.NLAYER = m.NLAYIN < MAXLAYER ? m.NLAYIN : MAXLAYER;
  m.IPYPRT = 1;
  const int n = m.NPYOUT < MAXPYOUT ? (m.NPYOUT > 0 ? m.NPYOUT : 0) : MAXPYOUT;
  request_states(m, n);

  two_empty(m);
  m.ECHO.X(5).A("* GENERATED P-Y CURVES *").nl();
  m.ECHO.nl();
  m.ECHO.X(5).A("NUMBER OF CURVES  :").I(m.NPYOUT, 5).nl();
  m.PLOTOUT.X(5).A("* GENERATED P-Y CURVES *").nl();
  m.PLOTOUT.X(5).I(m.NPYOUT, 5).nl();

  NodeArr y, Es, smy, smz, psm, p;
  for (int i = 1; i <= n; ++i) {
    const int g = m.POPILE(i);
    const double d = m.PODEP(i);
    const int L = m.POSTAT(i) == PO_NOROW ? 0 : layer_at(m, d);
    m.IPCUR = i;
    m.NPCUR = m.PONPT(i);
    if (refused(m, i, L)) {
      m.PLOTOUT.I(i, 5).I(g, 5).I(0, 5).nl();
      continue;
    }
    // Node 1 at the requested depth, the only node of layer L.
    place_first_node(m, g, d);
    for (int k = 1; k <= m.NLAYER; ++k) {
      m.NODE1(g, k) = k == L ? 1 : 0;
      if (k >= L) m.NODE2(g, k) = 1;
    }
    if (m.POSTAT(i) == PO_CAP) {
      opening(m, i, g, true, d);
    } else {
      opening(m, i, g, false, d);
      m.ECHO.X(9).A("DEPTH BELOW ORIGIN        =");
      depth_value(m, d);
      m.ECHO.nl();
    }
    m.ECHO.X(9).A("NUMBER OF POINTS ON CURVE =").I(m.NPCUR, 5).nl();
    m.ECHO.nl();
    m.ECHO.X(9).A("P-Y CURVE COMPUTED USING ").A(pyname(m.LTYPE(L))).nl();
    y.fill(0.0);
    Es.fill(0.0);
    smy.fill(0.0);
    smz.fill(0.0);
    psm.fill(0.0);
    p.fill(0.0);
    int st = 0;
    PYCURVE(m, m.PTYPE(g), st, g, g, y, Es, smy, smz, psm, p);
    if (st != 0) status = st;
    m.PLOTOUT.I(i, 5).I(g, 5).I(m.NPCUR, 5).nl();
  }
}

}  // namespace torva
