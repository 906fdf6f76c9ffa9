#include "echo/soilprof.h"

#include <cmath>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "axial/defsidtip.h"
#include "input/units.h"
#include "io/writers.h"
#include "model/messages.h"
#include "model/status.h"
#include "soil/nosoil.h"
#include "soil_py/defaults.h"
#include "soil_py/pycurve.h"

namespace torva {

namespace {

constexpr int kLabelWidth = 51;  // 8 blanks, 31-character label, 12-character unit field
constexpr int kValueWidth = 14;  // a top or bottom value
constexpr int kMarkWidth = 4;    // " (K)" and the other marks

// ---- Input checks ----------------------------------------------------------------------

void refuse(Model& m, int& status, const std::string& why) {
  emit(m, TO_REPORT | TO_RUNLOG, "**** FATAL ERROR ****");
  emit(m, TO_REPORT | TO_RUNLOG, "  SOIL LAYERS NOT ACCEPTED:");
  emit(m, TO_REPORT | TO_RUNLOG, "  " + why);
  status = ST_INPUTCHECK;
}

// The geometry of the layers as read, and the defaults the generic unit system lacks.
bool check_layers(Model& m, int& status) {
  if (m.NLAYIN < 0 || m.NLAYIN > MAXLAYIN) {
    refuse(m, status, "NUMBER OF LAYERS " + std::to_string(m.NLAYIN) + " OUTSIDE 0 TO " +
                          std::to_string(MAXLAYIN));
    return false;
  }
  for (int L = 1; L <= m.NLAYIN; ++L) {
    const std::string layer = "LAYER " + std::to_string(L) + ": ";
    if (!(m.LBOTI(L) > m.LTOPI(L))) {
      refuse(m, status, layer + "THE BOTTOM IS NOT BELOW THE TOP");
      return false;
    }
    if (L > 1 && m.LTOPI(L) < m.LBOTI(L - 1)) {
      refuse(m, status, layer + "THE TOP IS ABOVE THE BOTTOM OF THE LAYER ABOVE");
      return false;
    }
    if (m.IUNITS == 1 || m.IUNITS == 2) continue;
    // Generic units: no tables of default k or stiff-clay E50 (a zero would stay zero).
    const int code = m.LSOILI(L);
    for (int r = 1; r <= 2; ++r) {
      if (takes_default_k(code) && !(m.SOILP(L, r, 4) > 0.0)) {
        refuse(m, status, layer + "GIVE THE P-Y SUBGRADE MODULUS K AT TOP AND BOTTOM;");
        emit(m, TO_REPORT | TO_RUNLOG, "  THE GENERIC UNIT SYSTEM HAS NO DEFAULT FOR IT");
        return false;
      }
      if (takes_stiff_e50(code) && !(m.SOILP(L, r, 6) > 0.0)) {
        refuse(m, status, layer + "GIVE THE STRAIN AT 50% STRESS AT TOP AND BOTTOM;");
        emit(m, TO_REPORT | TO_RUNLOG, "  THE GENERIC UNIT SYSTEM HAS NO DEFAULT FOR IT");
        return false;
      }
    }
  }
  return true;
}

// ---- The analysis layers and the profile ---------------------------------------------

void build_profile(Model& m) {
  renew_py_constants(m);
  m.NLAYER = m.NLAYIN;
  m.NSPX = m.NSPXG = 2 * m.NLAYER;
  for (int L = 1; L <= m.NLAYER; ++L) {
    m.LTYPE(L) = m.LSOILI(L);
    m.LTOP(L) = m.LTOPI(L);
    m.LBOT(L) = m.LBOTI(L);
    for (int r = 1; r <= 2; ++r) {
      const int p = 2 * (L - 1) + r;
      m.SPDEP(p) = m.SPDEPG(p) = r == 1 ? m.LTOP(L) : m.LBOT(L);
      m.SPGAM(p) = m.SOILP(L, r, 1);
      m.SPC(p) = m.SOILP(L, r, 2);
      m.SPPHI(p) = m.SOILP(L, r, 3) * m.PI / 180.0;
      m.SPK(p) = m.SOILP(L, r, 4);
      m.SPER(p) = m.SOILP(L, r, 5);
      m.SPE50(p) = m.SOILP(L, r, 6);
      m.SPJ(p) = m.SOILP(L, r, 7);
      m.SPSIDE(p) = m.SOILP(L, r, 8);
      m.SPTIP(p) = m.SOILP(L, r, 9);
      // The properties the layer's criterion does not use are exactly zero.
      switch (m.LTYPE(L)) {
        case 1: case 3:
          m.SPPHI(p) = m.SPK(p) = m.SPER(p) = m.SPJ(p) = 0.0;
          break;
        case 2: case 10:
          m.SPPHI(p) = m.SPER(p) = m.SPJ(p) = 0.0;
          break;
        case 4: case 8:
          m.SPC(p) = m.SPE50(p) = m.SPER(p) = m.SPJ(p) = 0.0;
          break;
        case 5: case 11:
          m.SPC(p) = m.SPE50(p) = m.SPJ(p) = m.SPK(p) = m.SPER(p) = m.SPPHI(p) = 0.0;
          break;
        case 6:
          m.SPJ(p) = m.SPK(p) = m.SPER(p) = m.SPPHI(p) = 0.0;
          m.SPE50(p) = double(0.0005f);  // vuggy limestone: fixed strain
          break;
        case 7:
          m.SPER(p) = m.SPJ(p) = 0.0;
          break;
        case 9:
          m.SPK(p) = m.SPPHI(p) = 0.0;
          break;
        case 13:
          m.SPK(p) = m.SPER(p) = m.SPPHI(p) = 0.0;
          break;
        case 14:
          m.SPPHI(p) = m.SPER(p) = 0.0;
          break;
        default:
          break;
      }
    }
  }
}

// ---- Table F ---------------------------------------------------------------------------

std::string_view description(int code) {
  switch (code) {
    case 1: return "THE SOIL IS A SOFT CLAY";
    case 2: return "THE SOIL IS A STIFF CLAY WITH FREE WATER";
    case 3: return "THE SOIL IS A STIFF CLAY WITHOUT FREE WATER";
    case 4: return "THE SOIL IS A SAND";
    case 5: return "THE SOIL-RESISTANCE CURVES SPECIFIED BY THE USER";
    case 6: return "THE LAYER IS A VUGGY LIMESTONE";
    case 7: return "THE SOIL IS A SILT";
    case 8: return "THE SOIL IS A SAND USING API CRITERIA";
    case 9: return "THE LAYER IS A WEAK ROCK";
    case 10: return "THE SOIL IS A STIFF CLAY WITHOUT FREE WATER, USING INITIAL K VALUE";
    case 11: return "THE SOIL IS A LIQUEFIED SAND";
    case 13: return "THE SOIL IS A SOFT CLAY WITH USER DEFINED J";
    case 14: return "THE SOIL IS A MOD. SOFT CLAY WITH INITIAL K VALUE";
    default: return "";
  }
}

// The notes that marks turn on, in their printing order.
enum Note { N_E, N_K, N_C, N_P, N_S, N_R, N_T, N_COUNT };

// The note lines, each the legend's two texts joined.
constexpr std::string_view kLegend[N_COUNT] = {
    "           (E) STRAIN AT 50% STRESS",
    "           (K) P-Y SUBGRADE MODULUS for Static Loading",
    "           (C) P-Y SUBGRADE MODULUS for Cyclic Loading",
    "           (P) ULTIMATE UNIT SIDE FRICTION for Driven Piles",
    "           (S) ULTIMATE UNIT SIDE FRICTION for Drilled Shafts",
    "           (R) ULTIMATE UNIT TIP RESISTANCE for Driven Piles",
    "           (T) ULTIMATE UNIT TIP RESISTANCE for Drilled Shafts"};

// One printed value: the number and its mark (empty when the value is not an estimate).
struct Cell {
  double v = 0.0;
  std::string_view mark;
};

class TableF {
 public:
  explicit TableF(Model& m) : f_(m.ECHO) {}

  void blank() { f_.nl(); }
  void text(std::string_view s, int lead = 5) { f_.X(lead).A(s).nl(); }

  // The label and unit field of a parameter line.
  void label(std::string_view text31, const std::string& unit12) {
    std::string text(text31);
    text.resize(31, ' ');  // the label's own trailing blanks
    f_.X(8).A(text).A(unit12);
  }
  // Top and bottom values: the top's mark or four blanks, the bottom's mark if any.
  void values(const Cell& t, const Cell& b) {
    WRTREAL(f_, kValueWidth, 5, t.v);
    mark(t.mark, true);
    WRTREAL(f_, kValueWidth, 5, b.v);
    mark(b.mark, false);
    ENDLINE(f_);
  }
  // A continuation line of estimates under the top and/or bottom column.
  void continuation(const Cell* t, const Cell* b) {
    WRTBLANK(f_, kLabelWidth);
    if (t) {
      WRTREAL(f_, kValueWidth, 5, t->v);
      mark(t->mark, true);
    } else {
      WRTBLANK(f_, kValueWidth + kMarkWidth);
    }
    if (b) {
      WRTREAL(f_, kValueWidth, 5, b->v);
      mark(b->mark, false);
    }
    ENDLINE(f_);
  }
  void line(std::string_view text31, const std::string& unit12, const Cell& t, const Cell& b) {
    label(text31, unit12);
    values(t, b);
  }

  bool note[N_COUNT] = {};

 private:
  void mark(std::string_view mk, bool pad) {
    if (!mk.empty()) {
      f_.A(mk);
      note[note_of(mk)] = true;
    } else if (pad) {
      WRTBLANK(f_, kMarkWidth);
    }
  }
  static Note note_of(std::string_view mk) {
    switch (mk[2]) {
      case 'E': return N_E;
      case 'K': return N_K;
      case 'C': return N_C;
      case 'P': return N_P;
      case 'S': return N_S;
      case 'R': return N_R;
      default: return N_T;
    }
  }

  TextFile& f_;
};

// Unit fields of 12 characters.
std::string unit_per(const Model& m, std::string_view len, char power) {
  std::string u = "(";
  u += m.UFOR3.view();
  u += "/";
  u += len;
  u += "**";
  u += power;
  u += ") ";
  return u;
}

// Lines of an estimated pair (side friction or tip resistance): the driven-pile estimate
// first when driven piles are present, the drilled-shaft estimate on its own line under it
// when both kinds are.
void estimate_lines(TableF& tf, std::string_view text31, const std::string& unit,
                    const double given[2], const int has[2], const double driven[2],
                    const double drilled[2], bool D, bool R, std::string_view mk_driven,
                    std::string_view mk_drilled) {
  Cell first[2], second[2];
  for (int r = 0; r < 2; ++r) {
    if (!has[r]) {
      first[r] = {given[r], {}};
      continue;
    }
    first[r] = D ? Cell{driven[r], mk_driven} : Cell{drilled[r], mk_drilled};
    second[r] = {drilled[r], mk_drilled};
  }
  tf.line(text31, unit, first[0], first[1]);
  if (D && R) tf.continuation(has[0] ? &second[0] : nullptr, has[1] ? &second[1] : nullptr);
}

// Table F for the layers of the model. False when an estimate's lookup set the status.
bool print_layers(Model& m, TableF& tf, int& status) {
  TextFile& f = m.ECHO;
  tf.blank();
  tf.blank();
  tf.text("SOILS INFORMATION");
  tf.blank();
  f.X(8).A(" GROUND SURFACE          =");
  WRTREAL(f, 13, 5, TOFT(m, m.LTOP(1)));
  f.X(1).A(m.UDEP3.view());
  ENDLINE(f);
  tf.blank();
  f.X(9);
  // The count in the room it needs (up to 20 layers).
  WRTINT(f, m.NLAYER >= 10 ? 2 : 1, m.NLAYER);
  f.A(" LAYER(S) OF SOIL");
  ENDLINE(f);

  bool D = false, R = false, generated = false;
  for (int g = 1; g <= m.NROW; ++g) {
    const int t = m.PTYPE(g);
    if (t >= 1 && t <= MAXPTYPE) {
      if (m.PILEKIND(t) == 1) D = true;
      if (m.PILEKIND(t) == 2) R = true;
    }
    if (m.LSNO(g) == 0) generated = true;
  }

  const std::string u_depth = std::string(7, ' ') + "(" + std::string(m.UDEP2.view()) + ") ";
  const std::string u_weight = unit_per(m, m.UDEP2.view(), '3');
  const std::string u_stress = unit_per(m, m.UDEP2.view(), '2');
  const std::string u_strength = unit_per(m, m.ULEN2.view(), '2');
  const std::string u_modulus = unit_per(m, m.ULEN2.view(), '3');
  const std::string u_none(12, ' ');

  for (int L = 1; L <= m.NLAYER; ++L) {
    const int code = m.LTYPE(L);
    const int pt = 2 * L - 1, pb = 2 * L;  // top and bottom profile points
    auto pair = [&](const Arr1<double, MAXPROF>& v, double scale) {
      return std::pair<Cell, Cell>{Cell{v(pt) * scale, {}}, Cell{v(pb) * scale, {}}};
    };
    auto is = [code](std::initializer_list<int> codes) {
      for (int c : codes)
        if (c == code) return true;
      return false;
    };

    bool tip_here = false;
    for (int g = 1; g <= m.NROW; ++g) {
      const int t = m.PTYPE(g);
      if (t < 1 || t > MAXPTYPE) continue;
      const double tip = m.CORX(g) + m.PILELEN(t);
      if (m.LTOP(L) <= tip && tip <= m.LBOT(L)) tip_here = true;
    }

    tf.blank();
    f.X(9).A("LAYER");
    WRTINT(f, 3, L);
    ENDLINE(f);
    const bool stress12 = code == 12 && (m.SPC(pt) > 0.0 || m.SPC(pb) > 0.0);
    if (code == 12)
      tf.text(stress12 ? "THE SOIL IS AN ELASTIC SUBGRADE WITH MAXIMUM STRESS TRANSFER"
                       : "THE SOIL IS AN ELASTIC SUBGRADE",
              9);
    else
      tf.text(description(code), 9);
    tf.text(" TOP OF LAYER    BOTTOM OF LAYER ", 9 + 30 + 15);

    tf.line(" X COORDINATE", u_depth, {TOFT(m, m.LTOP(L)), {}}, {TOFT(m, m.LBOT(L)), {}});
    tf.line(" EFFECTIVE UNIT WEIGHT", u_weight, {TOPCF(m, m.SPGAM(pt)), {}},
            {TOPCF(m, m.SPGAM(pb)), {}});
    if (is({1, 2, 3, 7, 10, 13, 14}))
      tf.line(" UNDRAINED COHESION, C", u_stress, {TOPSF(m, m.SPC(pt)), {}},
              {TOPSF(m, m.SPC(pb)), {}});
    if (is({6, 9})) {
      auto [t, b] = pair(m.SPC, 1.0);
      tf.line(" UNIAXIAL COMPRESSIVE STRENGTH", u_strength, t, b);
    }
    if (is({4, 7, 8})) {
      auto [t, b] = pair(m.SPPHI, 180.0 / m.PI);
      tf.line(" FRICTION ANGLE", "  (DEGREES) ", t, b);
    }
    if (is({2, 4, 7, 8, 10, 14})) {
      double ks[2], kc[2];
      int fk[2], fc[2];
      for (int r = 0; r < 2; ++r) {
        const int p = r == 0 ? pt : pb;
        DEFKPY(m.SPC(p), m.SPPHI(p), m.SPGAM(p), m.SPK(p), ks[r], kc[r], m.IUNITS, code, fk[r],
               fc[r]);
      }
      if (!fk[0] && !fk[1]) {
        auto [t, b] = pair(m.SPK, 1.0);
        tf.line(" P-Y SUBGRADE MODULUS", u_modulus, t, b);
      } else {
        const Cell t{ks[0], fk[0] ? " (K)" : ""}, b{ks[1], fk[1] ? " (K)" : ""};
        tf.line(" P-Y SUBGRADE MODULUS", u_modulus, t, b);
        if (!is({4, 8})) {
          const Cell ct{kc[0], " (C)"}, cb{kc[1], " (C)"};
          tf.continuation(fk[0] ? &ct : nullptr, fk[1] ? &cb : nullptr);
        }
      }
    }
    if (is({1, 2, 3, 7, 10, 13, 14})) {
      double e[2];
      int fe[2];
      for (int r = 0; r < 2; ++r) {
        const int p = r == 0 ? pt : pb;
        DEFE50U(m.SPC(p), m.SPE50(p), e[r], m.IUNITS, code, fe[r]);
      }
      if (!fe[0] && !fe[1]) {
        auto [t, b] = pair(m.SPE50, 1.0);
        tf.line(" STRAIN AT 50% STRESS", u_none, t, b);
      } else {
        tf.line(" STRAIN AT 50% STRESS", u_none, {e[0], fe[0] ? " (E)" : ""},
                {e[1], fe[1] ? " (E)" : ""});
      }
    }
    if (code == 9) {
      auto [et, eb] = pair(m.SPER, 1.0);
      tf.line(" YOUNG MODULUS,ER", u_strength, et, eb);
      auto [kt, kb] = pair(m.SPE50, 1.0);
      tf.line(" KRM", u_none, kt, kb);
      auto [rt, rb] = pair(m.SPJ, 1.0);
      tf.line(" RQD", std::string(8, ' ') + "(%) ", rt, rb);
    }
    if (stress12)
      tf.line(" MAXIMUM STRESS TRANSFER", u_stress, {TOPSF(m, m.SPC(pt)), {}},
              {TOPSF(m, m.SPC(pb)), {}});
    if (code == 12) {
      auto [t, b] = pair(m.SPK, 1.0);
      tf.line(" ELASTIC SUBGRADE MODULUS", u_modulus, t, b);
    }
    if (is({13, 14})) {
      auto [t, b] = pair(m.SPJ, 1.0);
      tf.line(" J FACTOR", u_none, t, b);
    }

    // Side friction and tip resistance: estimated only when a row generates its
    // load-settlement curve from the soil.
    int has_side[2] = {0, 0}, has_tip[2] = {0, 0};
    double fdr[2] = {0, 0}, fds[2] = {0, 0}, qdr[2] = {0, 0}, qds[2] = {0, 0};
    if (generated) {
      for (int r = 0; r < 2; ++r) {
        DEFSIDTIP(m, code, r == 0 ? m.LTOP(L) : m.LBOT(L), has_side[r], fdr[r], fds[r],
                  has_tip[r], qdr[r], qds[r], status);
        if (status != 0) return false;
      }
    }
    for (int r = 0; r < 2; ++r) {
      fdr[r] = TOPSF(m, fdr[r]);
      fds[r] = TOPSF(m, fds[r]);
      qdr[r] = TOPSF(m, qdr[r]);
      qds[r] = TOPSF(m, qds[r]);
    }
    const double side[2] = {TOPSF(m, m.SPSIDE(pt)), TOPSF(m, m.SPSIDE(pb))};
    const double tipv[2] = {TOPSF(m, m.SPTIP(pt)), TOPSF(m, m.SPTIP(pb))};
    if (!has_side[0] && !has_side[1])
      tf.line(" ULTIMATE UNIT SIDE FRICTION", u_stress, {side[0], {}}, {side[1], {}});
    else
      estimate_lines(tf, " ULTIMATE UNIT SIDE FRICTION", u_stress, side, has_side, fdr, fds, D,
                     R, " (P)", " (S)");
    if ((!has_tip[0] && !has_tip[1]) || !tip_here)
      tf.line(" ULTIMATE UNIT TIP RESISTANCE", u_stress, {tipv[0], {}}, {tipv[1], {}});
    else
      estimate_lines(tf, " ULTIMATE UNIT TIP RESISTANCE", u_stress, tipv, has_tip, qdr, qds, D,
                     R, " (R)", " (T)");
  }

  bool any = false;
  for (bool b : tf.note) any = any || b;
  if (any) {
    tf.blank();
    tf.text("  Notes :  Program estimated values for listed parameters");
    tf.text("           if zero input values were entered:");
    for (int k = 0; k < N_COUNT; ++k)
      if (tf.note[k]) tf.text(kLegend[k]);
  }
  return true;
}

// The list of requested p-y curves (printed after the analysis).
void print_py_requests(Model& m, TableF& tf) {
  if (m.IPYOUT != 1) return;
  TextFile& f = m.ECHO;
  tf.blank();
  tf.blank();
  tf.text("* DATA TO PRINT GENERATED P-Y CURVES *");
  if (m.NPYOUT < 1) return;
  tf.blank();
  f.X(5).A(" NUMBER OF CURVES TO PRINT : ");
  WRTINT(f, 5, m.NPYOUT);
  ENDLINE(f);
  tf.blank();
  tf.text("  CURVE NUMBER     PILE GROUP         DEPTH (" + std::string(m.UDEP2.view()) + ")   ");
  for (int k = 1; k <= m.NPYOUT && k <= MAXPYOUT; ++k) {
    f.X(5);
    WRTINT(f, 8, k);
    WRTBLANK(f, 8);
    WRTINT(f, 8, m.POPILE(k));
    WRTBLANK(f, 10);
    WRTREAL(f, 14, 5, TOFT(m, m.PODEP(k)));
    ENDLINE(f);
  }
}

// The ground surface of a row is its head depth plus its free length: the p-y, t-z and
// q-w curves take their depth below the ground from it, while the soil properties are
// looked up at the X coordinate of the layers, whose first top is the ground surface of the
// profile. Where the two grounds disagree the curves of that row see soil at a depth that
// is not the profile's, which moves the results much; the run goes on, with a warning
// that names both values. A row whose every curve comes from the input reads no soil and
// is not warned of. At most kGroundRows rows are listed.
constexpr int kGroundRows = 10;

void warn_ground_surfaces(Model& m) {
  if (m.NLAYER < 1) return;
  const double top = m.LTOP(1);
  const double tol = m.TOLDEP > 0.0 ? m.TOLDEP : 1.0e-5;
  const std::string_view unit = m.UDEP2.view();
  auto depth = [&](double x) {
    std::string t;
    put_F(t, TOFT(m, x), 10, 2);
    return t + " " + std::string(unit);
  };
  const unsigned to = TO_REPORT | TO_RUNLOG;
  int n = 0;
  for (int g = 1; g <= m.NROW && g <= MAXROWP; ++g) {
    if (!py_from_soil(m, g) && !ls_from_soil(m, g) && !tr_from_soil(m, g)) continue;
    const double ground = m.HEADDEP(g) + m.FREELEN(g);
    if (!(std::abs(ground - top) > tol)) continue;
    if (++n > kGroundRows) continue;
    emit(m, to, "");
    emit(m, to, "                             **** WARNING ****");
    emit(m, to, "     PILE GROUP " + std::to_string(g) + ": HEAD DEPTH + FREE LENGTH PUTS THE GROUND AT" +
                    depth(ground) + ",");
    emit(m, to, "     THE TOP OF THE FIRST SOIL LAYER IS AT" + depth(top) +
                    "; THE CURVES OF THE ROW TAKE THEIR DEPTH");
    emit(m, to, "     BELOW THE GROUND FROM THE FREE LENGTH: CHECK THE FREE LENGTH AGAINST THE SOIL LAYERS");
  }
  if (n > kGroundRows)
    emit(m, to, "     ... AND " + std::to_string(n - kGroundRows) +
                    " MORE PILE GROUPS WHOSE GROUND IS NOT THE TOP OF THE FIRST SOIL LAYER");
}

}  // namespace

void ECHOSOIL(Model& m, int& status) {
  if (!check_layers(m, status)) return;
  build_profile(m);

  TableF tf(m);
  tf.blank();
  tf.blank();
  tf.blank();
  tf.text("* TABLE F *   SOIL DATA");
  if (m.NLAYER == 0) {
    tf.blank();
    tf.text("  NO SOIL LAYERS DEFINED");
  } else if (!print_layers(m, tf, status)) {
    return;
  }
  print_py_requests(m, tf);
  warn_ground_surfaces(m);
}

}  // namespace torva
