#include "report/captables.h"

#include <string>

#include "io/writers.h"

namespace torva {

void cap_values(TextFile& f, const CapCols& c, const double* v, int n) {
  WRTBLANK(f, c.blanks);
  for (int i = 0; i < n; ++i) WRTREAL(f, c.width, c.digits, v[i]);
  ENDLINE(f);
}

void origin_tables_2d(Model& m, TextFile& f, const double* FV, const double* DV,
                      const CapCols& c, int rot_gap) {
  const std::string_view f4 = m.UFOR4.view(), f3 = m.UFOR3.view(), l2 = m.ULEN2.view();
  f.nl().nl().X(5).A(kLoadAtOrigin).nl();
  f.nl().X(13).A("VERT. LOAD,").A(f4).X(4).A("HORI. LOAD,").A(f4).X(4).A("MOMENT,").A(l2);
  f.A(m.UDASH.view()).A(f3).nl();
  cap_values(f, c, FV, 3);
  f.nl().nl().X(5).A("* DISPLACEMENT OF GROUPED PILE ").A("FOUNDATION AT ORIGIN *").nl();
  f.nl().X(16).A("VERTICAL,").A(l2).X(6).A("HORIZONTAL,").A(l2).X(rot_gap).A("ROTATION,");
  f.A(m.URAD.view()).nl();
  cap_values(f, c, DV, 3);
}

void load_disp_tables_3d(Model& m, TextFile& f, bool at_point, const double* P,
                         const double* D, const char* LA, const char* LB, const CapCols& c) {
  const std::string f4(m.UFOR4.view()), l2(m.ULEN2.view());
  const std::string mom = l2 + std::string(m.UDASH.view()) + std::string(m.UFOR3.view());
  const std::string rad(m.URAD.view());
  // One heading of three columns: each title with its unit label and its mark (a blank
  // between columns without marks), gap[k] blanks before the next title.
  auto heading = [&f](int lead, const char* const title[3], const std::string& unit,
                      const int gap[2], const char* L, int k0) {
    f.X(lead);
    for (int k = 0; k < 3; ++k) {
      f.A(title[k]).A(unit);
      if (L)
        f.A(std::string_view(L + k0 + k - 1, 1));
      else if (k < 2)
        f.X(1);
      if (k < 2) f.X(gap[k]);
    }
    f.nl();
  };
  static const char* const kLoad[3] = {"VERT. LOAD,", "HOR. LOAD Y,", "HOR. LOAD Z,"};
  static const char* const kMom[3] = {"MOMENT X ,", "MOMENT Y,", "MOMENT Z,"};
  static const char* const kDisp[3] = {"  VERTICAL ,", "HORIZONTAL Y,", "HORIZONTAL Z,"};
  static const char* const kRot[3] = {"ANGLE ROT. X,", "ANGLE ROT. Y,", "ANGLE ROT. Z,"};
  static const int kLoadGap[2] = {3, 2}, kMomGap[2] = {3, 3}, kDispGap[2] = {5, 4};
  // A table: its first heading (lead blanks, titles, unit, gaps) and values, then the
  // second heading (moments or rotations) and values.
  auto table = [&](int lead, const char* const t1[3], const std::string& u1, const int g1[2],
                   const char* const t2[3], const std::string& u2, const char* L,
                   const double* v) {
    f.nl().nl();
    heading(lead, t1, u1, g1, L, 1);
    cap_values(f, c, v, 3);
    f.nl();
    heading(10, t2, u2, kMomGap, L, 4);
    cap_values(f, c, v + 3, 3);
  };
  if (at_point)
    f.nl().nl().X(5).A("* CONCENTRATED LOAD").A(" AT SPECIFIED POINT *").nl();
  else
    f.nl().nl().X(5).A(kLoadAtOrigin).nl();
  table(11, kLoad, f4, kLoadGap, kMom, mom, LA, P);
  f.nl().nl().X(5).A("* DISPLACEMENT OF GROUPED PILE ");
  f.A(at_point ? "FOUNDATION AT SPECIFIED POINT *" : "FOUNDATION AT ORIGIN *").nl();
  table(10, kDisp, l2, kDispGap, kRot, rad, LB, D);
}

void plot_cap(Model& m, const double* FV, const double* DV, int n) {
  TextFile& p = m.PLOTDATA;
  p.X(5).A(kTableL).nl();
  p.line(kLoadAtOrigin);
  for (int i = 0; i < n; ++i) {
    WRTREAL(p, 18, 8, FV[i]);
    WRTBLANK(p, 5);
  }
  ENDLINE(p);
  p.line("* DISPLACEMENT OF PILE CAP AT ORIGIN *");
  for (int i = 0; i < n; ++i) {
    WRTREAL(p, 18, 8, DV[i]);
    WRTBLANK(p, 5);
  }
  ENDLINE(p);
}

void table_m_heading(Model& m) {
  for (TextFile* f : {&m.REPORT, &m.SUMMARY}) f->nl().nl().nl().X(5).A(kTableM).nl();
  m.SUMSCR.nl().X(5).A(kTableM).nl();
}

}  // namespace torva
