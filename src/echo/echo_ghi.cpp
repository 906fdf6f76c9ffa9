#include "echo/echo_ghi.h"

#include <algorithm>
#include <string>

#include "axial/lscurve.h"
#include "input/units.h"
#include "io/writers.h"
#include "model/messages.h"

namespace torva {

namespace {

void refuse(Model& m, int& status, const std::string& what) {
  emit(m, TO_REPORT | TO_RUNLOG, "");
  emit(m, TO_REPORT | TO_RUNLOG, "     **** FATAL ERROR ****");
  emit(m, TO_REPORT | TO_RUNLOG, "     " + what);
  status = ST_INPUTCHECK;
}

void table_g(Model& m) {
  m.NPYSET = std::clamp(m.NSETPY, 0, MAXPYSET);
  for (int j = 1; j <= m.NPYSET; ++j) {
    m.NCRVPY(j) = std::clamp(m.NCRVI(j), 0, MAXPYCRV);
    for (int c = 1; c <= m.NCRVPY(j); ++c) {
      m.PYDEP(j, c) = m.PYDEPI(j, c);
      m.NPTPY(j, c) = std::clamp(m.NPTI(j, c), 0, MAXPYPT);
      for (int k = 1; k <= m.NPTPY(j, c); ++k) {
        m.PYY(j, c, k) = m.PYYI(j, c, k);
        m.PYP(j, c, k) = m.PYPI(j, c, k);
      }
    }
  }
  TextFile& E = m.ECHO;
  E.nl().nl().nl().X(5).A("* TABLE G *   INPUT P-Y CURVES").nl();
  E.nl().X(7).A("NUM OF SETS :").I(m.NPYSET, 3).nl();
  for (int j = 1; j <= m.NPYSET; ++j) {
    E.nl().nl().X(7).A("SET").I(j, 3).X(10).A("NUM OF CURVES").I(m.NCRVPY(j), 3).nl();
    E.nl();
    for (int c = 1; c <= m.NCRVPY(j); ++c) {
      E.nl().X(8).A("CURVE").I(c, 8).X(6).A("DISTANCE FROM ORIGIN (X-COORD.)").X(3);
      WRTREAL(E, 10, 5, TOFT(m, m.PYDEP(j, c)));
      E.A(m.UDEP3.view());
      ENDLINE(E);
      ENDLINE(E);
      E.X(12).A("POINT").X(13).A("P").A(m.UFOR4.view()).X(17).A("Y").A(m.ULEN3.view()).nl();
      for (int k = 1; k <= m.NPTPY(j, c); ++k) {
        E.X(10).I(k, 5).X(11);
        WRTREAL(E, 12, 5, m.PYP(j, c, k));
        E.X(9);
        WRTREAL(E, 12, 5, m.PYY(j, c, k));
        ENDLINE(E);
      }
    }
  }
}

// One curve block of Tables H and I: x and y columns of n points.
template <class Tab>
void curve_block(Model& m, int i, int n, const Tab& X, const Tab& Y, bool torsion) {
  TextFile& E = m.ECHO;
  E.nl().X(8).A("CURVE").I(i, 3).X(10).A("NUM OF POINTS").I(n, 3).nl().nl();
  if (torsion) {
    E.X(9).A("ROT. ANGLE,").A("Rad.").X(5).A("TORS.MOMEN,").A(m.UFOR3.view());
    E.A(m.UDASH.view()).A(m.ULEN2.view()).nl();
  } else {
    E.X(7).A("DISPLACEMENT,").A(m.ULEN3.view()).X(7).A("AXIAL LOAD,").A(m.UFOR3.view()).nl();
  }
  for (int k = 1; k <= n; ++k) {
    E.X(10);
    WRTREAL(E, 12, 5, X(i, k));
    E.X(9);
    WRTREAL(E, 12, 5, Y(i, k));
    ENDLINE(E);
  }
}

// The generated curves on the plot output: force column first, then the movement.
template <class Cnt, class Tab>
void plot_curves(Model& m, const char* title, int ncurve, const Cnt& npt, const Tab& F,
                 const Tab& U) {
  TextFile& P = m.PLOTOUT;
  P.X(5).A(title).nl();
  P.X(5).I(ncurve, 5).nl();
  for (int i = 1; i <= ncurve; ++i) {
    P.X(5).I(i, 5).nl().X(5).I(i, 5).nl().X(5).I(npt(i), 5).nl();
    for (int k = 1; k <= npt(i); ++k) {
      P.X(10).I(k, 5).X(11);
      WRTREAL(P, 15, 8, F(i, k));
      P.X(9);
      WRTREAL(P, 15, 8, U(i, k));
      ENDLINE(P);
    }
  }
}

// Stores a branch of n points into the mirrored curve of row i of (F, U): the pull-out
// branch reversed and negated at points 1..n, the bearing branch at n+2..2n+1.
template <class Tab>
void mirror(Tab& F, Tab& U, int i, int branch, int n, const CurveArr& f, const CurveArr& u) {
  for (int k = 1; k <= n; ++k) {
    if (branch == 1) {
      F(i, k) = -f(n + 1 - k);
      U(i, k) = -u(n + 1 - k);
    } else {
      F(i, n + 1 + k) = f(k);
      U(i, n + 1 + k) = u(k);
    }
  }
}

bool some_row_generated(const Model& m, bool torsion) {
  for (int g = 1; g <= m.NROW; ++g)
    if ((torsion ? m.TRNO(g) : m.LSNO(g)) == 0) return true;
  return false;
}

// Turns the rows' curve number 0 into references to their generated curves; refuses a
// list row or a generated-curve number outside the model.
bool link_rows(Model& m, bool torsion, int ncurve, int& status) {
  for (int i = 1; i <= ncurve; ++i) {
    const int g = torsion ? m.TRROW(i) : m.LSROW(i);
    if (g < 1 || g > m.NROW) {
      refuse(m, status, std::string(torsion ? "TORQUE-ROTATION" : "LOAD-SETTLEMENT") +
                            " CURVE " + std::to_string(i) + " NAMES PILE ROW " +
                            std::to_string(g) + ", NOT IN THE MODEL");
      return false;
    }
  }
  for (int g = 1; g <= m.NROW; ++g) {
    int& no = torsion ? m.TRNO(g) : m.LSNO(g);
    if (no != 0) continue;
    const int gen = torsion ? m.TRGNO(g) : m.LSGNO(g);
    if (gen < 1 || gen > ncurve) {
      refuse(m, status, "PILE ROW " + std::to_string(g) + " REFERS TO GENERATED CURVE " +
                            std::to_string(gen) + ", NOT IN THE LIST OF " +
                            std::to_string(ncurve));
      return false;
    }
    no = -gen;
  }
  return true;
}

void table_h(Model& m, int& status) {
  TextFile& E = m.ECHO;
  E.nl().nl().nl().X(5).A("* TABLE H *   AXIAL LOAD VS DISPLACEMENT ").nl();
  if (m.IUSRLS == 1) {
    m.NLSU = std::clamp(m.NLSI, 0, MAXUCRV);
    for (int i = 1; i <= m.NLSU; ++i) {
      m.NPTLSU(i) = std::clamp(m.NPTLSI(i), 0, MAXUPT);
      for (int k = 1; k <= m.NPTLSU(i); ++k) {
        m.LSDU(i, k) = m.LSDI(i, k);
        m.LSLU(i, k) = m.LSLI(i, k);
      }
    }
    E.nl().X(5).A("USER DEFINED").A(" AXIAL LOAD-DISPLACEMENT CURVES").nl();
    E.nl().X(7).A("NUM OF CURVES").I(m.NLSU, 3).nl();
    for (int i = 1; i <= m.NLSU; ++i) curve_block(m, i, m.NPTLSU(i), m.LSDU, m.LSLU, false);
  }
  if (m.NLAYER < 1 || !some_row_generated(m, false)) return;
  m.NLSG = std::clamp(m.NLSGEN, 0, MAXROW);
  for (int i = 1; i <= m.NLSG; ++i) m.LSROW(i) = m.LSGEN(i);
  if (!link_rows(m, false, m.NLSG, status)) return;
  m.NPTLS = 19;
  CurveArr load{}, move{};
  for (int i = 1; i <= m.NLSG; ++i) {
    const int g = m.LSROW(i), t = m.PTYPE(g);
    m.LSV1(i, 10) = m.LSV2(i, 10) = m.LSV3(i, 10) = m.LSV4(i, 10) = 0.0;
    int n = 0;
    for (int b = 1; b <= 2; ++b) {
      LSCURVE(m, t, b, i, g, status, n, load, move);
      if (status != 0) return;
      m.NPTLSG(i) = 2 * n + 1;
      mirror(m.LSLG, m.LSDG, i, b, n, load, move);
    }
    m.LSLG(i, n + 1) = 0.0;
    m.LSDG(i, n + 1) = 0.0;
  }
  E.nl().X(5).A("AXIAL LOAD-DISPLACEMENT CURVES").A(" GENERATED INTERNALLY ").nl();
  E.nl().X(7).A("NUM OF CURVES").I(m.NLSG, 3).nl();
  for (int i = 1; i <= m.NLSG; ++i) curve_block(m, i, m.NPTLSG(i), m.LSDG, m.LSLG, false);
  plot_curves(m, "* AXIAL LOAD-DISPLACEMENT CURVES *", m.NLSG, m.NPTLSG, m.LSLG, m.LSDG);
}

void table_i(Model& m, int& status) {
  TextFile& E = m.ECHO;
  E.nl().nl().nl().X(5).A("* TABLE I *   TORS. MOM. VS ANGLE ROT. ").nl();
  if (m.ITRUSER == 1) {
    m.NTRU = std::clamp(m.NTRI, 0, MAXUCRV);
    for (int i = 1; i <= m.NTRU; ++i) {
      m.NPTTRU(i) = std::clamp(m.NPTTRI(i), 0, MAXUPT);
      for (int k = 1; k <= m.NPTTRU(i); ++k) {
        m.TRRU(i, k) = m.TRRI(i, k);
        m.TRTU(i, k) = m.TRTI(i, k);
      }
    }
    E.nl().X(5).A("USER DEFINED TORQUE-ROTATION CURVE").nl();
    E.nl().X(7).A("NUM OF CURVES").I(m.NTRU, 3).nl();
    for (int i = 1; i <= m.NTRU; ++i) curve_block(m, i, m.NPTTRU(i), m.TRRU, m.TRTU, true);
  }
  if (m.NLAYER < 1 || !some_row_generated(m, true)) return;
  m.NTRG = std::clamp(m.NTRGEN, 0, MAXROW);
  for (int i = 1; i <= m.NTRG; ++i) m.TRROW(i) = m.TRGEN(i);
  if (!link_rows(m, true, m.NTRG, status)) return;
  CurveArr torque{}, rot{};
  for (int i = 1; i <= m.NTRG; ++i) {
    const int g = m.TRROW(i), t = m.PTYPE(g);
    int n = 0;
    for (int b = 1; b <= 2; ++b) {
      m.RUNLOG.flush();
      TRCURVE(m, t, b, i, g, status, n, torque, rot);
      if (status != 0) return;
      m.NPTTRG(i) = 2 * n + 1;
      mirror(m.TRTG, m.TRRG, i, b, n, torque, rot);
    }
    m.TRTG(i, n + 1) = 0.0;
    m.TRRG(i, n + 1) = 0.0;
  }
  E.nl().X(5).A("TORQUE-ROTATION CURVES").A(" GENERATED INTERNALLY ").nl();
  E.nl().X(7).A("NUM OF CURVES").I(m.NTRG, 3).nl();
  for (int i = 1; i <= m.NTRG; ++i) curve_block(m, i, m.NPTTRG(i), m.TRRG, m.TRTG, true);
  plot_curves(m, "* TORQUE-ROTATION CURVES *", m.NTRG, m.NPTTRG, m.TRTG, m.TRRG);
}

}  // namespace

void ECHOGHI(Model& m, int& status) {
  if (m.IPYUSER == 1) table_g(m);
  table_h(m, status);
  if (status != 0) return;
  if (m.NDIM == 3) table_i(m, status);
}

}  // namespace torva
