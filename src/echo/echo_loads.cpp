// Table C of the echo: load cases with their loads, estimation data and controls, the
// envelope options, the load combinations and the sets of distributed load.
#include <cmath>
#include <string>

#include "echo/echo.h"
#include "input/units.h"
#include "io/writers.h"
#include "pile/loads.h"

namespace torva {

namespace {

// Integer part of a real held as a code (a value far outside int range is no code).
int code_of(double x) {
  if (!(std::fabs(x) < 1.0e9)) return 0;
  return static_cast<int>(x);
}

// The print-option lines of a control block; a combination writes its node step without
// the blank before "NODE(S)", one column narrower than a load case's line.
void print_option_lines(Model& m, bool combination) {
  TextFile& f = m.ECHO;
  if (m.IPRTOPT == 0) {
    f.X(9).A("PRINT RESULTS ONLY AT PILE CAP").nl();
  } else if (m.IPRTOPT == 1) {
    f.X(9).A("PRINT RESULTS AT PILE CAP AND PILE HEADS").nl();
  } else {
    f.X(9).A("PRINT RESULTS AT PILE CAP, PILE HEADS AND").A(" ALONG PILES").nl();
  }
  if (m.IPRTOPT == 2)
    f.X(9).A("PRINT RESULTS EVERY ").I(m.NPRSTEP, 5).A(combination ? "NODE(S)" : " NODE(S)").nl();
}

// The control block of a case or combination, read from the current-control records.
void print_controls(Model& m, bool combination) {
  TextFile& f = m.ECHO;
  if (m.ISTATIC == 0) {
    f.nl().nl().X(5).A("* THE LOADING IS CYCLIC *").nl();
    f.nl().X(5).A("NO. OF CYCLES =").F(m.CYCLES, 10, 0).nl();
  } else if (m.ISTATIC == 1) {
    f.nl().nl().X(5).A("* THE LOADING IS STATIC *").nl();
  }
  const auto len3 = m.ULEN3.view();
  f.nl().nl().X(5).A("* CONTROL PARAMETERS *").nl();
  f.X(9).A("TOLERANCE ON CONVERGENCE OF PILE CAP MOVEMENT   ").X(4).A(" = ").PG(m.TOLCAP, 12, 5).nl();
  if (m.IALTTOL != 0) {
    f.X(9).A("ALTER. TOLERANCE CONVERGENCE PILE CAP DEFLECTION").X(4).A(" = ");
    f.PG(m.TOLCAPD, 12, 5).A(len3, 3).nl();
    f.X(9).A("ALTER. TOLERANCE CONVERGENCE PILE CAP ROTATION  ").X(4).A(" = ");
    f.PG(m.TOLCAPR, 12, 5).nl();
  }
  f.X(9).A("TOLERANCE ON DETERMINATION OF PILE DEFLECTIONS  ").X(4).A(" = ");
  f.PG(m.TOLPILE, 12, 5).A(len3, 3).nl();
  f.X(9).A("MAX NO OF ITERATIONS ALLOWED FOR FOUNDATION ANALYSIS =").I(m.MAXITFND, 9).nl();
  f.X(9).A("MAXIMUM NO OF ITERATIONS ALLOWED FOR PILE ANALYSIS   =").I(m.MAXITLLP, 9).nl();
  f.X(9).A("FACTOR TO APPLY THE LOAD IN INCREMENTS").X(14).A(" = ").PG(m.FACINC, 12, 5).nl();
  f.X(9).A("MINIMUM FACTOR FOR LOAD INCREMENTS    ").X(14).A(" = ").PG(m.FACMIN, 12, 5).nl();
  if (m.IAXVAR >= 1) {
    f.X(9).A("INCLUDE VARIATION OF AXIAL LOAD AT PILES").nl();
    f.X(9).A("* NOT FOR USER DEFINED LOAD SETTL. CURVE").nl();
  }
  if (m.IEIPREV >= 1) f.X(9).A("USE EI FROM PREVIOUS ITERATION          ").nl();
  print_option_lines(m, combination);
}

void print_resultant_2d(Model& m, const Vec6& R) {
  TextFile& f = m.ECHO;
  const auto for3 = m.UFOR3.view();
  f.nl().nl().X(5).A("* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *").nl();
  f.nl().X(13).A(" VER.LOAD X,").A(for3, 3).X(3).A(" HOR.LOAD Y,").A(for3, 3).X(3);
  f.A(" MOMENT,").A(for3, 3).A(m.UDASH.view(), 1).A(m.ULEN2.view(), 2).nl();
  WRTBLANK(f, 8);
  for (int k : {1, 2, 6}) WRTREAL(f, 18, 5, R(k));
  ENDLINE(f);
}

void print_resultant_3d(Model& m, const Vec6& R) {
  TextFile& f = m.ECHO;
  const auto for3 = m.UFOR3.view(), dash = m.UDASH.view(), len2 = m.ULEN2.view();
  f.nl().nl().X(5).A("* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *").nl();
  f.nl().X(11).A(" VER.LOAD X,").A(for3, 3).X(5).A("HOR.LOAD Y,").A(for3, 3).X(5);
  f.A("HOR.LOAD Z,").A(for3, 3).nl();
  WRTBLANK(f, 8);
  for (int k : {1, 2, 3}) WRTREAL(f, 18, 5, R(k));
  ENDLINE(f);
  f.nl().X(11);
  for (const char* t : {" MOMENT X,", " MOMENT Y,", " MOMENT Z,"}) {
    if (t[8] != 'X') f.X(3);
    f.A(t).A(for3, 3).A(dash, 1).A(len2, 2);
  }
  f.nl();
  WRTBLANK(f, 8);
  for (int k : {4, 5, 6}) WRTREAL(f, 18, 5, R(k));
  ENDLINE(f);
}

void print_concentrated(Model& m, int i) {
  TextFile& f = m.ECHO;
  const int nconc = m.CASINT(i, 15);
  const auto for3 = m.UFOR3.view(), dash = m.UDASH.view(), len2 = m.ULEN2.view(),
             dep2 = m.UDEP2.view();
  f.nl().X(5).A("* CONCENTRATED LOADS *").nl().nl();
  Vec6 R;
  LOADORIG(m, i, R);
  if (m.NDIM == 2) {
    f.X(5).A("  NL     VERT.LOAD     HOR.LOAD      ").A("MOMENT      COORD X      COORD Y").nl();
    f.X(6).A("          ").X(1).A(for3, 3).A("       ").X(3).A(for3, 3).X(7).X(2);
    f.A(for3, 3).A(dash, 1).A(len2, 2).A("    ").A("    ").X(2).A(dep2, 2).X(10).A(dep2, 2).nl();
    for (int n = 1; n <= nconc; ++n) {
      WRTBLANK(f, 5);
      WRTINT(f, 4, n);
      WRTBLANK(f, 1);
      for (int k : {1, 2, 3}) WRTREAL(f, 13, 5, m.LOAD(i, n, k));
      for (int k : {7, 8}) WRTREAL(f, 13, 5, TOFT(m, m.LOAD(i, n, k)));
      ENDLINE(f);
    }
    print_resultant_2d(m, R);
  } else {
    f.X(4).A("NL ").A(" VERT.LOAD HR.LOAD Y HR.LOAD Z").A("  MOMENT X  MOMENT Y  MOMENT Z");
    f.A("   COORD X   COORD Y   COORD Z").nl();
    f.X(4).X(3);
    for (int k = 0; k < 3; ++k) f.X(4).A(for3, 3).X(3);
    for (int k = 0; k < 3; ++k) f.X(3).A(for3, 3).A(dash, 1).A(len2, 2).X(1);
    for (int k = 0; k < 3; ++k) f.X(5).A(dep2, 2).X(3);
    f.nl();
    for (int n = 1; n <= nconc; ++n) {
      WRTBLANK(f, 2);
      WRTINT(f, 4, n);
      WRTBLANK(f, 1);
      for (int k : {1, 2, 4, 6, 5, 3}) WRTREAL(f, 10, 2, m.LOAD(i, n, k));
      for (int k : {7, 8, 9}) WRTREAL(f, 10, 2, TOFT(m, m.LOAD(i, n, k)));
      ENDLINE(f);
    }
    print_resultant_3d(m, R);
  }
}

void print_specified(Model& m, int i) {
  TextFile& f = m.ECHO;
  const auto for3 = m.UFOR3.view(), dash = m.UDASH.view(), len2 = m.ULEN2.view();
  f.nl().X(5).A("* SPECIFIED DISPLACEMENTS/LOADS *").nl().nl();
  // Per degree of freedom: condition column, the two texts and the SPVAL columns of the
  // displacement and of the load; kind 0 a force, 1 a moment, 2 a rotation.
  struct Dof { int cond; const char* disp; const char* load; int ud, uf; bool rot; };
  static const Dof d2[] = {
      {1, "VERT. DISP,", "VERT. LOAD,", 1, 2, false},
      {2, "HOR. DISP.,", "HOR. LOAD ,", 3, 4, false},
      {3, " ROTATION, RAD", " MOMENT Z, ", 5, 6, true},
  };
  static const Dof d3[] = {
      {1, "VERT. DISP,", "VERT. LOAD,", 1, 2, false},
      {2, "HOR.DISP Y,", "HOR.LOAD Y,", 3, 4, false},
      {4, "HOR.DISP Z,", "HOR.LOAD Z,", 7, 8, false},
      {6, "ROTATION X,RAD", "  MOMENT X,", 11, 12, true},
      {5, "ROTATION Y,RAD", "  MOMENT Y,", 9, 10, true},
      {3, "ROTATION Z,RAD", "  MOMENT Z,", 5, 6, true},
  };
  const int ndof = m.NDIM == 2 ? 3 : 6;
  for (int n = 1; n <= ndof; ++n) {
    const Dof& d = m.NDIM == 2 ? d2[n - 1] : d3[n - 1];
    f.X(5).A("- DOF ").I(n, 1).A(" , ");
    const bool displacement = m.ICOND(i, d.cond) == 0;
    double value;
    if (displacement) {
      f.X(5).A(d.disp);
      if (!d.rot) f.A(len2, 3);
      f.X(5);
      WRTBLANK(f, 5);
      value = m.SPVAL(i, d.ud);
    } else {
      f.X(5).A(d.load);
      if (d.rot) {
        f.A(for3, 3).A(dash, 1).A(len2, 2).X(2);
        WRTBLANK(f, 2);
      } else {
        f.A(for3, 3).X(5);
        WRTBLANK(f, 5);
      }
      value = m.SPVAL(i, d.uf);
    }
    WRTREAL(f, 13, 5, value);
    ENDLINE(f);
  }
  // The point of definition.
  static const char* coord[] = {"  COORD. X,", "  COORD. Y,", "  COORD. Z,"};
  for (int k = 0; k < (m.NDIM == 2 ? 2 : 3); ++k) {
    if (k == 0) f.X(5).A("- LOCATION");
    f.X(5).A(coord[k]).A(m.UDEP2.view(), 3).X(5);
    WRTBLANK(f, 5);
    WRTREAL(f, 13, 5, TOFT(m, m.SPVAL(i, 13 + k)));
    ENDLINE(f);
  }
}

void print_distributed(Model& m, int i) {
  TextFile& f = m.ECHO;
  f.nl().X(5).A("* DISTRIBUTED LOADS *").nl().nl();
  f.X(5).A("  NL    AXIS    INI_PILE  END_PILE").A("  INC_PILE    SET_Y ").A("   FACTOR_Y");
  if (m.NDIM != 2) f.A("     SET_Z    FACTOR_Z");
  f.nl();
  bool any_global = false;
  for (int n = 1; n <= m.CASINT(i, 16); ++n) {
    // Every non-zero axis code is applied in the global axes, and printed so.
    const bool global = m.DLINT(i, n, 2) != 0;
    any_global = any_global || global;
    f.X(5).I(n, 4).X(3).A(global ? "GLOBAL" : "LOCAL ", 6);
    for (int k : {3, 4, 5}) f.I(m.DLINT(i, n, k), 8).X(2);
    f.X(4);
    WRTBLANK(f, 2);
    WRTINT(f, 8, m.DLINT(i, n, 6));
    WRTREAL(f, 14, 4, m.DLFY(i, n));
    if (m.NDIM != 2) {
      WRTINT(f, 8, m.DLINT(i, n, 7));
      WRTREAL(f, 14, 4, m.DLFZ(i, n));
    }
    ENDLINE(f);
  }
  if (any_global && m.CASINT(i, 14) == 1) {
    f.nl().X(5).A("NOTE: FOR GLOBAL LOADING, AXIAL ").A("COMPONENT IS CONSIDERED AS ");
    f.A("CONCENTRATED LOAD AT PILE HEAD").nl();
  }
}

void print_levels(Model& m, int i, int nl) {
  TextFile& f = m.ECHO;
  for (int l = 1; l <= nl; ++l) {
    f.X(5).I(l, 4).X(4);
    WRTREAL(f, 13, 5, m.STFDAT(i, l));
    ENDLINE(f);
  }
}

void print_estimation(Model& m, int i) {
  TextFile& f = m.ECHO;
  const int opt = m.CASINT(i, 9), nv = m.CASINT(i, 17);
  m.ISTFOP = opt;
  m.NVSTF = nv;
  if (opt <= 0 || nv < 1) return;
  if (nv <= 12) {
    f.nl().X(5).A("* DATA FOR FOUNDATION STIFFNESS *").nl();
    f.X(5).A("COMPUTED FOR EQUIVALENT ").X(5).A("CONCENTRATED LOAD AT ORIGIN").nl().nl();
    f.nl().X(5).A("* FOUNDATION STIFFNESS LOAD LEVELS *").nl().nl();
    f.X(5).A("  NL       LOAD LEVEL").nl();
    print_levels(m, i, nv);
    return;
  }
  const int nl = nv - 12;
  auto p = [&](int k) { return m.STFDAT(i, nl + k); };
  f.nl().X(5).A("* DATA FOR FOUNDATION STIFFNESS *").nl();
  if (p(11) == 1.0) f.nl().X(5).A("- CONSIDER AXIAL LOADS IN PILES").nl();
  if (p(1) != 0.0) {
    f.nl().X(5).A("- BASED ON TARGET DEFLECTION   ").nl();
    const int d = code_of(p(2));
    struct Target { const char* text; int par; bool label; };
    Target t{nullptr, 0, false};
    if (d == 1) t = {"  DISPLACEMENT X = ", 3, true};
    if (d == 2) t = {"  DISPLACEMENT Y = ", 4, true};
    if (d == 3) t = m.NDIM == 2 ? Target{"  ROTATION Z     = ", 8, false}
                                : Target{"  DISPLACEMENT Z = ", 5, true};
    if (d == 4) t = {"  ROTATION X     = ", 6, false};
    if (d == 5) t = {"  ROTATION Y     = ", 7, false};
    if (d == 6) t = {"  ROTATION Z     = ", 8, false};
    if (t.text != nullptr) {
      f.nl().X(5).A(t.text);
      WRTREAL(f, 13, 5, p(t.par));
      if (t.label) f.A(" ").A(m.ULEN2.view(), 2);
    }
    f.X(5).A("  TOLERANCE (%)  = ");
    WRTREAL(f, 12, 4, p(9));
    ENDLINE(f);
    f.X(5).A("  ITERATIONS     = ");
    WRTINT(f, 5, code_of(p(10)));
    ENDLINE(f);
    f.nl().X(5).A("* FOUNDATION STIFFNESS DISPLACEMENT LEVELS *").nl().nl();
    f.X(5).A("  NL       DISP. LEVEL").nl();
  } else {
    f.nl().X(5).A("- BASED ON TOTAL APPLIED LOAD  ").nl();
    f.nl().X(5).A("* FOUNDATION STIFFNESS LOAD LEVELS *").nl().nl();
    f.X(5).A("  NL       LOAD LEVEL").nl();
  }
  print_levels(m, i, nl);
}

void print_case(Model& m, int i) {
  TextFile& f = m.ECHO;
  f.nl().nl().X(5).A("LOAD CASE    : ").I(i, 5).nl();
  f.X(5).A("CASE NAME    : ").A(m.CASNAME(i).view(), 80).nl();
  f.X(5).A("LOAD TYPE    : ").A(LOADTYPENAME(m.CASINT(i, 8)), 32).nl();
  f.X(5).A("SCALE FACTOR : ");
  WRTREAL(f, 12, 4, m.CASREAL(i, 5));
  ENDLINE(f);
  if (m.CASINT(i, 22) == 1) f.X(5).A("NOTE: LOAD CASE WILL NOT BE ANALYZED").nl();
  if (m.CASINT(i, 15) >= 1) print_concentrated(m, i);
  if (m.IDISP(i) >= 1) print_specified(m, i);
  if (m.CASINT(i, 16) >= 1) print_distributed(m, i);
  print_estimation(m, i);
  SETCURCASE(m, i);
  print_controls(m, false);
}

void print_combination(Model& m, int j) {
  TextFile& f = m.ECHO;
  f.nl().X(5).A("LOAD COMB. : ").I(j, 5).nl();
  f.X(5).A("COMB. NAME : ").A(m.CBNAME(j).view(), 80).nl();
  if (m.CBINT(j, 13) == 1) f.X(5).A("NOTE: LOAD COMB. WILL NOT BE ANALYZED").nl();
  f.X(5).A("BENDING RF : ").PG(m.CBREAL(j, 5), 12, 5).nl();
  f.X(5).A("SHEAR RF   : ").PG(m.CBREAL(j, 6), 12, 5).nl().nl();
  if (m.CBINT(j, 8) >= 1) {
    f.X(5).A("  NL     LOAD NUMBER         LOAD NAME").A("                  LOAD FACTOR").nl();
    for (int n = 1; n <= m.CBINT(j, 8); ++n) {
      const int c = m.MEMCASE(j, n);
      // Member references are checked on input; an unknown one prints without a name.
      const std::string_view name = (c >= 1 && c <= m.NLC) ? m.CASNAME(c).view() : "";
      f.X(5).I(n, 4).I(c, 10).X(10).A(name.substr(0, 26), 26).X(5);
      WRTREAL(f, 12, 5, m.MEMFAC(j, n));
      ENDLINE(f);
    }
  }
  SETCURCOMB(m, j);
  print_controls(m, true);
}

void print_envelopes(Model& m, int which, const char* title) {
  if (m.IENVREQ(which) < 1) return;
  m.ECHO.nl().nl().X(5).A(title).nl().nl();
  m.IPRTOPT = m.IENVOUT(which);
  m.NPRSTEP = m.IENVSEL(which);
  print_option_lines(m, false);
}

void print_load_sets(Model& m) {
  TextFile& f = m.ECHO;
  if (m.NDC < 1) return;
  f.nl().nl().nl().X(5).A("** SETS OF DISTRIBUTED LOAD **").nl().nl();
  f.nl().X(5).A("NUMBER OF SETS :").I(m.NDC, 5).nl();
  for (int c = 1; c <= m.NDC; ++c) {
    f.nl().X(5).A("DIST. LOAD SET : ").I(c, 5).nl();
    if (m.NPDC(c) < 1) continue;
    f.X(5).A("  NL           DEPTH         LOAD ").nl();
    f.X(5).X(15).A("(").A(m.UDEP2.view(), 2).A(")").X(10).A("(").A(m.UFOR3.view(), 3).A(")").nl();
    for (int p = 1; p <= m.NPDC(c); ++p) {
      WRTBLANK(f, 5);
      WRTINT(f, 4, p);
      WRTBLANK(f, 4);
      WRTREAL(f, 12, 4, TOFT(m, m.DCDEP(c, p)));
      WRTBLANK(f, 2);
      WRTREAL(f, 12, 4, m.DCVAL(c, p));
      ENDLINE(f);
    }
  }
}

}  // namespace

std::string LOADTYPENAME(int code) {
  static constexpr const char* kNames[] = {
      "Dead, DL",  "Live, LL", "Seismic, EQ",   "Impact, IM", "Wind, WN", "Water, WT",
      "Ice, IC",   "Soils, Hsl", "Roof Live, Lr", "Rain, Rn",   "Snow, Sn", "Temperature, Tm"};
  std::string name = (code >= 0 && code <= 11) ? kNames[code] : "Special, Sp";
  name.resize(32, ' ');
  return name;
}

// The default load levels of an estimating case given without values: ten levels from
// 0.1 through log10 2 .. log10 9 to 1.0, kept in the case for the analysis.
void ESTDEFAULTS(Model& m) {
  for (int i = 1; i <= m.NLC; ++i) {
    if (m.CASINT(i, 9) <= 0 || m.CASINT(i, 17) != 0) continue;
    m.CASINT(i, 17) = 10;
    m.STFDAT(i, 1) = double(0.1f);
    for (int j = 2; j <= 10; ++j) m.STFDAT(i, j) = std::log10(double(j));
  }
}

void ECHOLOADS(Model& m) {
  TextFile& f = m.ECHO;
  f.nl().nl().nl().X(5).A("* TABLE C *  LOAD AND CONTROL PARAMETERS").nl();
  if (m.NLC >= 1) {
    f.nl().nl().X(5).A("** LOAD CASES **").nl().nl();
    f.nl().X(5).A("NUMBER OF LOAD CASES :").I(m.NLC, 5).nl();
  }
  for (int i = 1; i <= m.NLC; ++i) print_case(m, i);
  print_envelopes(m, 1, "** LOAD CASES ENVELOPES **");
  if (m.NCOMB >= 1) {
    f.nl().nl().nl().X(5).A("** LOAD COMBINATIONS **").nl().nl();
    f.nl().X(5).A("NUMBER OF LOAD COMB. :").I(m.NCOMB, 5).nl();
  }
  for (int j = 1; j <= m.NCOMB; ++j) print_combination(m, j);
  print_envelopes(m, 2, "** LOAD COMBINATION ENVELOPES **");
  print_load_sets(m);
}

}  // namespace torva
