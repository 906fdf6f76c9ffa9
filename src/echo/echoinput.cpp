// The input echo: writes Tables B to K of the echo report and, step by step, completes
// the analysis model from the as-read tables (already in internal units).
#include <cmath>

#include "echo/echo.h"
#include "echo/echo_ghi.h"
#include "echo/echo_jk.h"
#include "echo/echo_mphi.h"
#include "echo/soilprof.h"
#include "input/units.h"

namespace torva {

void ECHOINPUT(Model& m, int& status) {
  m.ENDWRD = "END ";
  ECHOHEAD(m);
  ECHOCAP(m);
  CAPWIDTH(m);
  // Table C: the estimation defaults are model data, the rest is printed from the tables.
  ESTDEFAULTS(m);
  ECHOLOADS(m);
  // Table D: rows, head fixity, cap pseudo row, angles in radians.
  BUILDROWS(m);
  ECHOROWS(m);
  // Table E: properties, sections, set numbers and section properties, then the report.
  BUILDPROPS(m);
  ECHOPROPS(m);
  ECHONLSECT(m);
  // Table F: soil layers, the soil profile and the requested p-y curves.
  ECHOSOIL(m, status);
  if (status != 0) return;
  // Tables G, H and I: user p-y curves, load-settlement and torque-rotation curves.
  ECHOGHI(m, status);
  if (status != 0) return;
  // Table J: the moment-curvature sets used by the analysis.
  ECHOMPHI(m, status);
  if (status != 0) return;
  // Tables J1, J2 and K: factors along depth, soil movement and the group reduction
  // factors settled for the analysis (the last output of the echo).
  ECHOJK(m, status);
}

void ECHOHEAD(Model& m) {
  TextFile& f = m.ECHO;
  f.nl().nl().nl();
  f.nl().nl().nl().X(16).A("*****").X(5).A("INPUT INFORMATION").X(5).A("*****").nl();
  f.nl().nl().X(5).A(m.TITLE1.view()).nl();
  f.nl().X(5).A("ANALYSIS TYPE = ").I(m.NDIM, 1).A("D ANALYSIS").X(5).nl();
  if (m.IBATTER == 1) f.nl().X(5).A("ADJUST DEPTH FOR BATTER PILES").nl();
  if (m.IGENCRV == 1)
    f.nl().X(5).A("GENERATE LOAD-DISP (AND T-R) CURVES BASED ON").A(" SOIL PROFILE").nl();
  if (m.IEXTEND == 1) f.nl().X(5).A("EXTEND INTERPOLATION FOR L-DP (AND T-R) CURVES").nl();
  const char* units = m.IUNITS == 1 ? "ENGL" : m.IUNITS == 2 ? "METR" : "OPEN";
  f.nl().X(5).A("UNITS SYSTEM  = ").A(units, 4).nl();
}

void ECHOCAP(Model& m) {
  TextFile& f = m.ECHO;
  if (!(m.ICAPOPT >= 1 || m.CAPLEN + m.CAPWID + m.CAPTHK > double(1.0e-10f))) return;
  f.nl().nl().nl().X(5).A("* TABLE B *  PILE CAP OPTIONS").nl();
  const auto dep = m.UDEP2.view();
  f.nl().X(5).A("LENGTH,YY    ( ").A(dep, 2).A(" ) = ").PG(TOFT(m, m.CAPLEN), 12, 4).A("   ").nl();
  f.X(5).A("WIDTH, ZZ    ( ").A(dep, 2).A(" ) = ").PG(TOFT(m, m.CAPWID), 12, 4).A("   ").nl();
  f.X(5).A("THICKNESS,XX ( ").A(dep, 2).A(" ) = ").PG(TOFT(m, m.CAPTHK), 12, 4).nl();
  if (m.CAPDEQ > 0.0)
    f.X(5).A("EQ. DIAMETER ( ").A(dep, 2).A(" ) = ").PG(TOFT(m, m.CAPDEQ), 12, 4).nl();
  if (m.ICAPOPT < 1) {
    f.nl().X(5).A("* PILE CAP DIMENSIONS ARE NOT CONSIDERED").nl();
    f.X(5).A("  FOR THE PILE GROUP ANALYSIS ").nl().nl();
    return;
  }
  f.nl().X(5).A("* PILE CAP IS EMBEDDED AND PASSIVE EARTH").nl();
  f.X(5).A("  RESISTANCE IN FRONT OF PILE CAP WILL ").A("BE CONSIDERED").nl().nl();
  if (m.ICAPOPT != 2) return;
  if (m.ICAPSPR != 0) {
    f.X(5).A("- USING EQUIVALENT LATERAL SPRING").nl();
    f.X(5).A("  INCREMENTS = ").I(m.NCAPINC, 5).nl();
  } else {
    f.X(5).A("- USING EQUIVALENT LATERAL LOAD").nl();
  }
  if (m.ICAPMOD == 0) {
    f.X(5).A("- USE SOIL MODEL FROM SOIL DATA").nl();
  } else if (m.ICAPMOD == 1) {
    f.X(5).A("- USE FHD MODEL BASED ON SOIL ").A("PARAMETERS").nl();
  } else {
    const auto for3 = m.UFOR3.view(), len2 = m.ULEN2.view();
    f.X(5).A("- USE FHD MODEL, PARAMETERS:    ").nl();
    f.X(5).A("  K50    (").A(for3, 3).A("/").A(len2, 2).A("/").A(len2, 2).A(") = ");
    f.PG(m.CAPK50, 12, 4).A("   ").nl();
    f.X(5).A("  F ULT  (").A(for3, 3).A("/").A(len2, 2).A(")    = ").PG(m.CAPFULT, 12, 4);
    f.A("   ").nl();
    f.X(5).A("  Y MAX  (").A(len2, 2).A(")        = ").PG(m.CAPYMAX, 12, 4).nl();
  }
}

// The cap's effective width: its plan diagonal in a 3-D model, or the equivalent diameter
// when one is given and the cap is considered. It is kept apart from the input width
// CAPWID, which stays as read for the plate model of the cap.
void CAPWIDTH(Model& m) {
  double w = m.CAPWID;
  if (m.NDIM == 3) w = std::sqrt(m.CAPLEN * m.CAPLEN + m.CAPWID * m.CAPWID);
  if (m.ICAPOPT > 0 && m.CAPDEQ > 0.0) w = m.CAPDEQ;
  m.CAPWEFF = w;
}

}  // namespace torva
