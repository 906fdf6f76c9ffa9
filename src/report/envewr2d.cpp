#include "report/envewr2d.h"

#include <array>
#include <cstdlib>
#include <string>

#include "run/textfile.h"
#include "run/writers.h"

namespace torva {

namespace {

constexpr const char* TABLE_L = "* TABLE L *   COMPUTATION ON PILE CAP";
constexpr const char* TABLE_M = "* TABLE M *   COMPUTATION ON INDIVIDUAL PILE";
constexpr const char* RULE39 = "---------------------------------------";

// The pile-top quantities of a 2-D row: global 1..7, local 14..19.
constexpr int TOPQ[13] = {1, 2, 3, 4, 5, 6, 7, 14, 15, 16, 17, 18, 19};

// Table L of an envelope on the results report or the summary report.
void envelope_cap(Model& m, TextFile& f, const Vec3& FV, const Vec3& DV) {
  const std::string_view f4 = m.UFOR4.view(), f3 = m.UFOR3.view(), l2 = m.ULEN2.view();
  f.nl().nl().nl().X(5).A(TABLE_L).nl();
  f.nl().nl().X(5).A("* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *").nl();
  f.nl().X(13).A("VERT. LOAD,").A(f4).X(4).A("HORI. LOAD,").A(f4).X(4).A("MOMENT,").A(l2);
  f.A(m.UDASH.view()).A(f3).nl();
  WRTBLANK(f, 8);
  for (int i = 1; i <= 3; ++i) WRTREAL(f, 18, 5, FV(i));
  ENDLINE(f);
  f.nl().nl().X(5).A("* DISPLACEMENT OF GROUPED PILE ").A("FOUNDATION AT ORIGIN *").nl();
  f.nl().X(16).A("VERTICAL,").A(l2).X(6).A("HORIZONTAL,").A(l2).X(4).A("ROTATION,").A(m.URAD.view()).nl();
  WRTBLANK(f, 8);
  for (int i = 1; i <= 3; ++i) WRTREAL(f, 18, 5, DV(i));
  ENDLINE(f);
}

// One pile-top line of the plot data: three values, three more, then the stress.
void plot_top(TextFile& f, const double* v3a, const double* v3b, double stress) {
  WRTBLANK(f, 5);
  for (int i = 0; i < 3; ++i) {
    WRTREAL(f, 15, 8, v3a[i]);
    WRTBLANK(f, 2);
  }
  WRTBLANK(f, 5);
  for (int i = 0; i < 3; ++i) {
    WRTREAL(f, 15, 8, v3b[i]);
    WRTBLANK(f, 2);
  }
  WRTREAL(f, 15, 8, stress);
  ENDLINE(f);
}

// A per-pile scratch record: the row number, then each value in E11.4, two blanks apart.
void scratch_record(TextFile& f, int g, std::initializer_list<double> v) {
  f.X(5).I(g, 6).X(6);
  bool first = true;
  for (double x : v) {
    if (!first) f.X(2);
    f.E(x, 11, 4);
    first = false;
  }
  f.nl();
}

// The pile-top block of one row on the results report.
void top_block(Model& m, int g, const double* q) {
  TextFile& f = m.REPORT;
  const std::string_view l2 = m.ULEN2.view(), f3 = m.UFOR3.view();
  std::string stress = "STRESS,";
  stress.append(f3).append(m.USLASH.view()).append(l2).append(m.UPOW.view()).append(m.USQ.view());
  f.nl().nl().X(7).A("* PILE GROUP *").I(g, 6).nl();
  f.nl().nl().X(8).A("* PILE TOP DISPLACEMENTS AND REACTIONS *").nl();
  f.nl();
  f.nl().X(7).A("THE GLOBAL STRUCTURAL COORDINATE SYSTEM").nl();
  f.X(7).A(RULE39).nl();
  f.nl();
  f.X(8).A("DISP.X,").A(l2).X(3).A("DISP.Y,").A(l2).X(5).A("SLOPE").X(5).A("FOR.X,").A(f3);
  f.X(3).A("FOR.Y,").A(f3).X(3).A("BM,").A(f3).A(m.UDASH.view()).A(l2).X(3).A(stress).nl();
  f.nl();
  WRTBLANK(f, 6);
  for (int i = 0; i < 6; ++i) WRTREAL(f, 12, 4, q[i]);
  WRTBLANK(f, 4);
  WRTREAL(f, 12, 4, q[6]);
  ENDLINE(f);
  f.nl().nl().X(7).A("THE PILE COORDINATE SYSTEM (LOCAL AXES)").nl();
  f.X(7).A(RULE39).nl();
  f.nl();
  f.X(8).A("DISP.x,").A(l2).X(3).A("DISP.y,").A(l2).X(5).A("SLOPE").X(5).A("AXIAL,").A(f3);
  f.X(4).A("LAT,").A(f3).X(4).A("BM,").A(f3).A(m.UDASH.view()).A(l2).X(3).A(stress).nl();
  f.nl();
  WRTBLANK(f, 6);
  for (int i = 7; i < 13; ++i) WRTREAL(f, 12, 4, q[i]);
  WRTBLANK(f, 4);
  WRTREAL(f, 12, 4, q[6]);
  ENDLINE(f);
}

}  // namespace

void PLOTCAP2D(Model& m, const Vec3& FV, const Vec3& DV) {
  TextFile& p = m.PLOTDATA;
  p.X(5).A(TABLE_L).nl();
  p.line("* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *");
  for (int i = 1; i <= 3; ++i) {
    WRTREAL(p, 18, 8, FV(i));
    WRTBLANK(p, 5);
  }
  ENDLINE(p);
  p.line("* DISPLACEMENT OF PILE CAP AT ORIGIN *");
  for (int i = 1; i <= 3; ++i) {
    WRTREAL(p, 18, 8, DV(i));
    WRTBLANK(p, 5);
  }
  ENDLINE(p);
}

void ENVEWR2D(Model& m, int source, int kind) {
  // Axial-curve flag: -1 when any row uses a generated load-settlement curve.
  int d = 1;
  for (int g = 1; g <= m.NROW; ++g)
    if (m.LSNO(g) < 1) {
      d = -1;
      break;
    }

  if (kind >= 1) {
    Vec3 FV, DV;
    for (int i = 1; i <= 3; ++i) {
      FV(i) = kind == 1 ? m.EMNCAP(i) : m.EMXCAP(i);
      DV(i) = kind == 1 ? m.EMNCAP(6 + i) : m.EMXCAP(6 + i);
    }
    const char e = kind == 1 ? '1' : '2';
    const std::string_view word = kind == 1 ? "MINIMUM ENVELOPE" : "MAXIMUM ENVELOPE";
    const std::string_view env = source == 1 ? "LOAD CASE ENV : " : "LOAD COMB. ENV : ";
    const std::string_view name = source == 1 ? "CASE NAME     : " : "COMB. NAME     : ";
    for (TextFile* f : {&m.REPORT, &m.SUMMARY}) {
      f->nl().nl().nl().X(5).A(env).A(std::string_view(&e, 1)).nl();
      f->X(5).A(name).A(word).nl();
    }
    m.PLOTDATA.A(env).A(std::string_view(&e, 1)).nl();
    m.CASELOG.A(env).A(std::string_view(&e, 1)).nl();
    m.CASELOG.X(6).A(word).nl();
    m.CASELOG.line("    1 CALCULATED AND PRINTED");
    envelope_cap(m, m.REPORT, FV, DV);
    envelope_cap(m, m.SUMMARY, FV, DV);
    for (TextFile* f : {&m.REPORT, &m.SUMMARY}) f->nl().nl().nl().X(5).A(TABLE_M).nl();
    m.SUMSCR.nl().X(5).A(TABLE_M).nl();
    PLOTCAP2D(m, FV, DV);
  }

  m.PLOTDATA.line(TABLE_M);
  m.PILESCR.open_write(m.fname(R_PILESCR));
  const bool print_tops = (source == 0 && m.IPROPTE > 0) || (source == 1 && m.IENVOUT(1) > 0) ||
                          (source == 2 && m.IENVOUT(2) > 0);
  for (int g = 1; g <= m.NROW; ++g) {
    double q[13];
    for (int i = 0; i < 13; ++i) {
      const int s = TOPQ[i];
      q[i] = kind == 0 ? m.PRTOP(g, s) : kind == 1 ? m.EMNTOP(g, s) : m.EMXTOP(g, s);
    }
    // Plot lines of the pile top (plot data).
    TextFile& p = m.PLOTDATA;
    p.A("* PILE GROUP *").I(g, 6).nl();
    p.X(7).A("* PILE TOP DISP. AND REACT. GLOBAL").nl();
    plot_top(p, q, q + 3, q[6]);
    p.X(7).A("* PILE TOP DISP. AND REACT. LOCAL").nl();
    plot_top(p, q + 7, q + 10, q[6]);
    p.X(8).A("* EFFECTS FOR LATERALLY LOADED PILE *   ").nl();
    // Per-pile scratch records and the pile-top block of the results report.
    scratch_record(m.PILESCR, g, {q[0], q[1], q[2]});
    scratch_record(m.PILESCR, g, {q[3], q[4], q[5], q[6]});
    scratch_record(m.PILESCR, g, {q[7], q[8], q[9]});
    scratch_record(m.PILESCR, g, {q[10], q[11], q[12], q[6]});
    if (print_tops) top_block(m, g, q);
  }
  m.PILESCR.close();
  PTABLES2D(m, source != 0 ? 1 : 0, m.NROW, m.ICOMB, d, m.NDIM);
}

void PTABLES2D(Model& m, int selection, int nrow, int icomb, int d, int ndim) {
  (void)selection;
  (void)icomb;
  (void)d;
  TextFile& s = m.SUMMARY;
  s.nl().nl().X(7).A("THE GLOBAL STRUCTURAL COORDINATE SYSTEM").nl();
  s.X(7).A(RULE39).nl().nl();
  PTABLE2D(m, 1, 1, nrow, ndim);
  PTABLE2D(m, 1, 2, nrow, ndim);
  s.nl().nl().X(7).A("THE PILE COORDINATE SYSTEM (LOCAL AXES)").nl();
  s.X(7).A(RULE39).nl().nl();
  PTABLE2D(m, 2, 1, nrow, ndim);
  PTABLE2D(m, 2, 2, nrow, ndim);
}

void PTABLE2D(Model& m, int kind, int comp, int nrow, int ndim) {
  (void)ndim;
  if (kind < 1 || kind > 2 || comp < 1 || comp > 2) return;
  TextFile& S = m.SUMMARY;
  TextFile& X = m.SUMSCR;
  const std::string_view l2 = m.ULEN2.view(), f3 = m.UFOR3.view(), rad = m.URAD.view(),
                         dash = m.UDASH.view();
  const bool global = kind == 1;
  const int c = comp == 1 ? 3 : 4;
  // Titles.
  if (comp == 1) {
    S.X(7).A("* PILE TOP DISPLACEMENTS *").nl();
  } else {
    S.nl().X(7).A("* PILE TOP REACTIONS *").nl();
  }
  X.nl().X(7).A(comp == 1 ? "* PILE TOP DISPLACEMENTS, " : "* PILE TOP REACTIONS, ");
  X.A(global ? "GLOBAL *" : "LOCAL *").nl();
  // Column texts and their rows of stars.
  std::string cols;
  if (comp == 1) {
    cols.append(global ? " DISP. X," : " DISP. x,").append(l2).append(3, ' ');
    cols.append(global ? "DISP. Y," : "DISP. y,").append(l2).append(3, ' ');
    cols.append(global ? "ROT. Z," : "ROT. z,").append(rad).append(2, ' ');
  } else {
    cols.append(global ? " FOR. X," : "  AXIAL,").append(f3).append(3, ' ');
    cols.append(global ? "FOR. Y," : "LAT. y,").append(f3).append(3, ' ');
    cols.append(global ? "MOM Z," : "MOM z,").append(f3).append(dash).append(l2).append(2, ' ');
    cols.append("STRESS,").append(f3).append(m.USLASH.view()).append(l2).append(m.UPOW.view());
    cols.append(m.USQ.view());
  }
  const int stars[4] = {11, 11, comp == 1 ? 11 : 12, 16};
  std::string rule;
  for (int j = 0; j < c; ++j) rule.append(2, ' ').append(std::size_t(stars[j]), '*');
  S.nl().X(6).A(" PILE GROUP ").A(cols).nl();
  S.X(7).A("**********").A(rule).nl();
  X.X(6).X(12).A(cols).nl();
  X.X(7).X(10).A(rule).nl();

  // Rows, read back from the per-pile scratch file: record r of each row's group.
  const int want = (kind - 1) * 2 + comp;  // R1..R4
  std::array<double, 4> mn{}, mx{};
  std::array<int, 4> imn{1, 1, 1, 1}, imx{1, 1, 1, 1};
  TextFile f;
  if (f.open_read(m.fname(R_PILESCR))) {
    std::string line;
    int rec = 0, i = 0;
    while (f.read_line(line)) {
      if (line.size() < 11) continue;
      rec = rec % 4 + 1;  // the pile-top records come four per row
      if (rec != want) continue;
      ++i;
      const int g = std::atoi(line.substr(5, 6).c_str());
      std::array<double, 4> v{};
      for (int j = 0; j < c; ++j) {
        const std::size_t at = 17 + std::size_t(13 * j);
        v[std::size_t(j)] = at < line.size() ? std::atof(line.substr(at, 11).c_str()) : 0.0;
      }
      WRTBLANK(S, 7);
      WRTINT(S, 6, g);
      WRTBLANK(S, 6);
      for (int j = 0; j < c; ++j) {
        WRTREAL(S, 11, 4, v[std::size_t(j)]);
        WRTBLANK(S, 2);
      }
      ENDLINE(S);
      for (std::size_t j = 0; j < std::size_t(c); ++j) {
        if (i == 1) mn[j] = mx[j] = v[j];
        if (v[j] > mx[j]) {
          mx[j] = v[j];
          imx[j] = i;
        }
        if (mn[j] > v[j]) {
          mn[j] = v[j];
          imn[j] = i;
        }
      }
      if (i >= nrow) break;
    }
  }
  S.nl();
  for (TextFile* t : {&S, &X}) {
    for (int which = 0; which < 2; ++which) {
      const auto& val = which == 0 ? mn : mx;
      const auto& at = which == 0 ? imn : imx;
      WRTBLANK(*t, 7);
      t->A(which == 0 ? "  MINIMUM " : "  MAXIMUM ");
      WRTBLANK(*t, 2);
      for (std::size_t j = 0; j < std::size_t(c); ++j) {
        WRTREAL(*t, 11, 4, val[j]);
        WRTBLANK(*t, 2);
      }
      ENDLINE(*t);
      WRTBLANK(*t, 7);
      t->A("  Pile G. ");
      WRTBLANK(*t, 2);
      for (std::size_t j = 0; j < std::size_t(c); ++j) {
        WRTINT(*t, 6, at[j]);
        WRTBLANK(*t, 7);
      }
      ENDLINE(*t);
    }
  }
}

}  // namespace torva
