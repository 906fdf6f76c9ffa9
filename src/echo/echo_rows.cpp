// Table D: the pile-group rows of the analysis, their head connections, group factors and
// the cap pseudo row.
#include <algorithm>
#include <cmath>

#include "echo/echo.h"
#include "input/units.h"
#include "io/writers.h"

namespace torva {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPi = 1.5707963267948966;

std::string_view connection_text(int code) {
  switch (code) {
    case 1: return "PIN";
    case 2: return "FIX";
    case 3: return "RES";
    default: return "???";
  }
}

// The pseudo row NROW+1 stands for the pile cap: a vertical "pile" whose head is the top
// of the cap (the shallowest pile head less the cap thickness), at Y = Z = 0.
void build_cap_row(Model& m) {
  double xmin = 0.0;
  for (int g = 1; g <= m.NROW; ++g) xmin = g == 1 ? m.CORX(g) : std::min(xmin, m.CORX(g));
  const int c = m.NROW + 1;
  // Start from an empty row: the pseudo row has no property and no curves (PTYPE = 0).
  m.NPILE(c) = m.CORX(c) = m.CORY(c) = m.CORZ(c) = m.ANG0(c) = m.BETA(c) = m.ALPHA(c) = 0.0;
  m.SPZ(c) = m.SPY(c) = m.AXFAC(c) = m.FREELEN(c) = m.HEADDEP(c) = m.HEADY(c) = 0.0;
  m.BATTER(c) = m.THETA(c) = 0.0;
  m.PTYPE(c) = m.LSNO(c) = m.PYSETG(c) = m.TRNO(c) = m.PMODTAB(c) = m.LSGNO(c) = m.TRGNO(c) = 0;
  m.CONNECTY(c) = m.CONNECTZ(c) = 0;

  const double xcap = xmin - m.CAPTHK;
  m.CAPXTOP = xcap;
  m.CAPTHKP = m.CAPTHK;
  // CAPWEFF already holds the effective width (CAPWIDTH).
  m.CORX(c) = xcap;
  m.HEADDEP(c) = xcap;
  m.NPILE(c) = 1.0;
  // The ground surface is the top of the first soil layer of the input. Without layers
  // there is no ground: the cap stands free (nothing of it is below a ground surface).
  m.FREELEN(c) = m.NLAYIN >= 1 ? m.LTOPI(1) - xcap : m.CAPTHK;
  if (m.NDIM == 3) {
    m.BETA(c) = kHalfPi;
    m.PI = kPi;
  }
}

void build_rows_2d(Model& m) {
  m.NROW = m.NROW2;
  for (int g = 1; g <= m.NROW; ++g) {
    m.CONNECTY(g) = m.ROWI2(g, 1);
    m.NPILE(g) = double(m.ROWI2(g, 2));
    m.PTYPE(g) = m.ROWI2(g, 3);
    m.PYSETG(g) = m.ROWI2(g, 4);
    m.LSNO(g) = m.ROWI2(g, 5);
    m.PMODTAB(g) = m.ROWI2(g, 6);
    m.LSGNO(g) = m.ROWI2(g, 7);
    m.SPZ(g) = m.ROWR2(g, 1);
    m.SPACING(g) = m.ROWR2(g, 2);
    m.PMULT(g) = m.ROWR2(g, 3);
    m.YMULT(g) = m.ROWR2(g, 4);
    m.AXFAC(g) = m.ROWR2(g, 5);
    m.CORX(g) = m.ROWR2(g, 6);
    m.CORY(g) = m.ROWR2(g, 7);
    m.FREELEN(g) = m.ROWR2(g, 9);
    m.HEADDEP(g) = m.CORX(g);
    m.HEADY(g) = m.CORY(g);
    // The batter, from the vertical, in radians.
    m.PI = kPi;
    m.ALPHA(g) = m.ROWR2(g, 8) * kPi / 180.0;
    m.BATTER(g) = m.ALPHA(g);
  }
  build_cap_row(m);
}

void build_rows_3d(Model& m) {
  m.NROW = m.NROW3;
  for (int g = 1; g <= m.NROW; ++g) {
    m.CONNECTY(g) = m.ROWI3(g, 1);
    m.CONNECTZ(g) = m.ROWI3(g, 2);
    m.PTYPE(g) = m.ROWI3(g, 3);
    m.PYSETG(g) = m.ROWI3(g, 4);
    m.LSNO(g) = m.ROWI3(g, 5);
    m.TRNO(g) = m.ROWI3(g, 6);
    m.PMODTAB(g) = m.ROWI3(g, 7);
    m.LSGNO(g) = m.ROWI3(g, 9);
    m.TRGNO(g) = m.ROWI3(g, 10);
    m.SPZ(g) = m.ROWR3(g, 1);
    m.SPY(g) = m.ROWR3(g, 2);
    m.PMULT(g) = m.PMULTY(g) = m.ROWR3(g, 3);
    m.YMULT(g) = m.YMULTY(g) = m.ROWR3(g, 4);
    m.PMULTZ(g) = m.ROWR3(g, 5);
    m.YMULTZ(g) = m.ROWR3(g, 6);
    m.AXFAC(g) = m.ROWR3(g, 7);
    m.CORX(g) = m.ROWR3(g, 8);
    m.CORY(g) = m.ROWR3(g, 9);
    m.CORZ(g) = m.ROWR3(g, 10);
    m.FREELEN(g) = m.ROWR3(g, 14);
    m.NPILE(g) = 1.0;
    m.HEADDEP(g) = m.CORX(g);
  }
  build_cap_row(m);
  for (int g = 1; g <= m.NROW; ++g) {
    m.ALPHA(g) = m.ROWR3(g, 11) * kPi / 180.0;
    m.BETA(g) = m.ROWR3(g, 12) * kPi / 180.0;
    m.THETA(g) = m.ROWR3(g, 13) * kPi / 180.0;
    m.BATTER(g) = kHalfPi - m.BETA(g);
    m.ANG0(g) = 0.0;
  }
  m.PI = kPi;
}

// The curve number of a row and its mark: the user curve "U", or the generated one "G".
void curve_ref(TextFile& f, int user, int generated) {
  f.I(user != 0 ? user : generated, 5).X(1).A(user != 0 ? "U" : "G", 1);
}

void print_rows_2d(Model& m) {
  TextFile& f = m.ECHO;
  f.nl().X(7).A("GROUP   CONNECT   NO OF PILE   PILE PROP ").A("   P-Y CURVE    L-S CURVE    R-F-L SET");
  if (m.IAXFAC != 0) f.A("   ").A("FACT. AXIAL LOAD");
  f.nl();
  for (int g = 1; g <= m.NROW; ++g) {
    f.X(5).I(g, 5).X(7).A(connection_text(m.CONNECTY(g)), 3).X(5);
    f.I(static_cast<long long>(m.NPILE(g)), 5).X(8).I(m.PTYPE(g), 5).X(7).I(m.PYSETG(g), 5);
    f.X(7);
    curve_ref(f, m.LSNO(g), m.LSGNO(g));
    f.X(7).I(m.PMODTAB(g), 5);
    if (m.IAXFAC != 0) f.X(6).F(m.AXFAC(g), 10, 4);
    f.nl();
  }
  const auto dep2 = m.UDEP2.view(), len2 = m.ULEN2.view();
  f.nl().X(7).A("GROUP").X(5).A("VERT,").A(dep2, 2).X(7).A("HOR,").A(dep2, 2).X(4);
  f.A("SLOPE,").A(len2, 2).A(m.USLASH.view(), 1).A(len2, 2).X(3).A("GROUND,").A(dep2, 2).X(2);
  f.A("SPRING,").A(m.UFOR3.view(), 3).A(m.UDASH.view(), 1).A(len2, 2).X(2).A("SPACING,");
  f.A(dep2, 2).nl();
  for (int g = 1; g <= m.NROW; ++g) {
    WRTBLANK(f, 5);
    WRTINT(f, 5, g);
    WRTBLANK(f, 3);
    WRTREAL(f, 13, 5, TOFT(m, m.HEADDEP(g)));
    WRTREAL(f, 13, 5, TOFT(m, m.HEADY(g)));
    WRTREAL(f, 13, 5, std::tan(m.ALPHA(g)));
    WRTREAL(f, 13, 5, TOFT(m, m.FREELEN(g)));
    WRTREAL(f, 13, 5, m.SPZ(g));
    WRTREAL(f, 13, 5, TOFT(m, m.SPACING(g)));
    ENDLINE(f);
  }
}

void print_rows_3d(Model& m) {
  TextFile& f = m.ECHO;
  f.nl().X(3).A("  GROUP  CONNECTY   CONNECTZ   PILE PROP ");
  f.A(" P-Y CURVE  L-S CURVE  T-R CURVE  R-F-L SET ");
  if (m.IAXFAC != 0) f.A(" FACT.AX.LD");
  f.nl();
  for (int g = 1; g <= m.NROW; ++g) {
    f.X(3).I(g, 5).X(3).X(4).A(connection_text(m.CONNECTY(g)), 3).X(4).X(4);
    f.A(connection_text(m.CONNECTZ(g)), 3).X(4).X(1).I(m.PTYPE(g), 5).X(5).X(1);
    f.I(m.PYSETG(g), 5).X(6);
    curve_ref(f, m.LSNO(g), m.LSGNO(g));
    f.X(4);
    curve_ref(f, m.TRNO(g), m.TRGNO(g));
    f.X(3).X(1).I(m.PMODTAB(g), 5);
    if (m.IAXFAC != 0) f.X(5).X(1).F(m.AXFAC(g), 10, 4);
    f.nl();
  }
  const auto dep2 = m.UDEP2.view(), deg = m.UDEG.view();
  const auto for3 = m.UFOR3.view(), dash = m.UDASH.view(), len2 = m.ULEN2.view();
  f.nl().X(5).A("GROUP").X(1).X(2).A("CorX,").A(dep2, 2).X(4).A("CorY,").A(dep2, 2).X(4);
  f.A("CorZ,").A(dep2, 2).X(1).A(" ALPHA,").A(deg, 3).X(1).A("  BETA,").A(deg, 3).X(1);
  f.A(" THETA,").A(deg, 3).X(2).A("GROUND,").A(dep2, 2).X(1).A("SPz,").A(for3, 3).A(dash, 1);
  f.A(len2, 2).X(1).A("SPy,").A(for3, 3).A(dash, 1).A(len2, 2).nl();
  for (int g = 1; g <= m.NROW; ++g) {
    WRTBLANK(f, 4);
    WRTINT(f, 4, g);
    WRTBLANK(f, 1);
    // The angles as the input gives them, in degrees; the model holds radians.
    const double v[] = {TOFT(m, m.CORX(g)), TOFT(m, m.CORY(g)), TOFT(m, m.CORZ(g)),
                        m.ROWR3(g, 11),     m.ROWR3(g, 12),     m.ROWR3(g, 13),
                        TOFT(m, m.FREELEN(g)), m.SPZ(g),        m.SPY(g)};
    for (double x : v) {
      WRTBLANK(f, 1);
      WRTREAL(f, 10, 3, x);
    }
    ENDLINE(f);
  }
}

}  // namespace

void BUILDROWS(Model& m) {
  if (m.NDIM == 2)
    build_rows_2d(m);
  else
    build_rows_3d(m);
}

void ECHOROWS(Model& m) {
  m.ECHO.nl().nl().nl().X(5).A("* TABLE D *   ARRANGEMENT OF PILE GROUPS").nl();
  if (m.NDIM == 2)
    print_rows_2d(m);
  else
    print_rows_3d(m);
}

}  // namespace torva
