#include "report/envewr2d.h"

#include <string>
#include <vector>

#include "io/writers.h"
#include "report/captables.h"
#include "report/envewr.h"
#include "report/ptables.h"

namespace torva {

namespace {

const std::string kRule39(39, '-');

// The pile-top quantities of a 2-D row: global 1..7 (the stress is 7), local 14..19.
constexpr int kTopQ[13] = {1, 2, 3, 4, 5, 6, 7, 14, 15, 16, 17, 18, 19};

// What the two output streams of one row read: the row's working copies.
struct RowCopy2d : TableMRow {
  double q[13] = {};  // the pile-top quantities in the order of kTopQ
};

// Table L of an envelope, on the results report and the summary report.
void envelope_cap(Model& m, TextFile& f, const Vec3& FV, const Vec3& DV) {
  f.nl().nl().nl().X(5).A(kTableL).nl();
  origin_tables_2d(m, f, FV.data(), DV.data(), CapCols{8, 18, 5}, 4);
}

// Stream 0: the row's plot-data lines.
void plot_stream(const Model& m, const RowCopy2d& r, TextFile& out) {
  plot_row(m, r, out, r.q, r.q + 3, r.q + 7, r.q + 10, 3, r.q[6]);
}

// The pile-top block of one row on the results report.
void head_block(const Model& m, const RowCopy2d& r, TextFile& out) {
  const std::string_view l2 = m.ULEN2.view(), f3 = m.UFOR3.view(), dash = m.UDASH.view();
  std::string stress = "STRESS,";
  stress.append(f3).append(m.USLASH.view()).append(l2).append(m.UPOW.view()).append(m.USQ.view());
  out.nl().nl().X(7).A("* PILE GROUP *").I(r.g, 6).nl();
  out.nl().nl().X(8).A("* PILE TOP DISPLACEMENTS AND REACTIONS *").nl();
  out.nl();
  for (int local = 0; local < 2; ++local) {
    out.nl().X(7).A(local ? "THE PILE COORDINATE SYSTEM (LOCAL AXES)" : "THE GLOBAL STRUCTURAL COORDINATE SYSTEM").nl();
    out.X(7).A(kRule39).nl().nl();
    out.X(8).A(local ? "DISP.x," : "DISP.X,").A(l2).X(3).A(local ? "DISP.y," : "DISP.Y,").A(l2);
    out.X(5).A("SLOPE").X(5);
    if (local)
      out.A("AXIAL,").A(f3).X(4).A("LAT,").A(f3).X(4);
    else
      out.A("FOR.X,").A(f3).X(3).A("FOR.Y,").A(f3).X(3);
    out.A("BM,").A(f3).A(dash).A(l2).X(3).A(stress).nl().nl();
    WRTBLANK(out, 6);
    for (int i = 0; i < 6; ++i) WRTREAL(out, 12, 4, r.q[local ? 7 + i : i]);
    WRTBLANK(out, 4);
    WRTREAL(out, 12, 4, r.q[6]);
    ENDLINE(out);
    if (!local) out.nl();
  }
}

// Stream 1: the row's scratch records and its part of the results report.
void report_stream(const Model& m, int src, const RowCopy2d& r, TextFile& scr, TextFile& rep) {
  const double local_r[4] = {r.q[10], r.q[11], r.q[12], r.q[6]};
  write_top_record_2d(scr, r.g, r.q, 3);
  write_top_record_2d(scr, r.g, r.q + 3, 4);
  write_top_record_2d(scr, r.g, r.q + 7, 3);
  write_top_record_2d(scr, r.g, local_r, 4);
  const int popt = src == 0 ? m.IPROPTE : m.IENVOUT(src);
  if (popt > 0) head_block(m, r, rep);
  row_node_output(m, src, r.g, r.lsno, r.last, r.seglen, r.B, scr, rep);
}

}  // namespace

void PLOTCAP2D(Model& m, const Vec3& FV, const Vec3& DV) { plot_cap(m, FV.data(), DV.data(), 3); }

void ENVEWR2D(Model& m, int source, int kind, int& status) {
  if (status != 0) return;
  const int src = source == 1 || source == 2 ? source : 0;
  if (src == 0) kind = 0;
  if (kind == 1 || kind == 2) {
    Vec3 FV, DV;
    for (int i = 1; i <= 3; ++i) {
      FV(i) = kind == 1 ? m.EMNCAP(i) : m.EMXCAP(i);
      DV(i) = kind == 1 ? m.EMNCAP(6 + i) : m.EMXCAP(6 + i);
    }
    envelope_heading(m, src, kind);
    envelope_cap(m, m.REPORT, FV, DV);
    envelope_cap(m, m.SUMMARY, FV, DV);
    table_m_heading(m);
    PLOTCAP2D(m, FV, DV);
  }
  m.PLOTDATA.line(kTableM);

  std::vector<RowCopy2d> rows(TABLEM_BLOCK);
  const bool ok = table_m_rows(
      m, kind, [&](int i) -> TableMRow& { return rows[std::size_t(i)]; },
      [&](int g, int slot) {
        RowCopy2d& r = rows[std::size_t(slot)];
        for (int i = 0; i < 13; ++i) {
          const int q = kTopQ[i];
          r.q[i] = kind == 0 ? m.PRTOP(g, q) : kind == 1 ? m.EMNTOP(g, q) : m.EMXTOP(g, q);
        }
      },
      [&](int i, TextFile& plot) { plot_stream(m, rows[std::size_t(i)], plot); },
      [&](int i, TextFile& scr, TextFile& rep) {
        report_stream(m, src, rows[std::size_t(i)], scr, rep);
      },
      status);
  if (!ok) return;
  PTABLES2D(m, m.NROW, summary_flags(m, src), status);
}

void PTABLES2D(Model& m, int nrow, const PrintFlags& F, int& status) {
  std::vector<std::string> held;  // the rows' records, read once for the six tables
  for (int kind = 1; kind <= 2 && status == 0; ++kind) {
    m.SUMMARY.nl().nl().X(7);
    m.SUMMARY.A(kind == 1 ? "THE GLOBAL STRUCTURAL COORDINATE SYSTEM" : "THE PILE COORDINATE SYSTEM (LOCAL AXES)").nl();
    m.SUMMARY.X(7).A(kRule39).nl().nl();
    for (int comp = 1; comp <= 2 && status == 0; ++comp) PTABLE2D(m, kind, comp, nrow, status, &held);
  }
  if (status != 0) return;
  for (TextFile* f : {&m.SUMMARY, &m.SUMSCR}) f->nl().X(7).A(kEffects).nl();
  // The along-pile extremes have the layout of the 3-D model.
  for (int comp = 1; comp <= 2 && status == 0; ++comp) PTABLE(m, 3, comp, nrow, F, status, &held);
}

void PTABLE2D(Model& m, int kind, int comp, int nrow, int& status,
              std::vector<std::string>* held) {
  TextFile& S = m.SUMMARY;
  TextFile& X = m.SUMSCR;
  const std::string_view l2 = m.ULEN2.view(), f3 = m.UFOR3.view();
  const bool global = kind == 1;
  const int c = comp == 1 ? 3 : 4;
  if (comp == 1)
    S.X(7).A("* PILE TOP DISPLACEMENTS *").nl();
  else
    S.nl().X(7).A("* PILE TOP REACTIONS *").nl();
  X.nl().X(7).A(comp == 1 ? "* PILE TOP DISPLACEMENTS, " : "* PILE TOP REACTIONS, ");
  X.A(global ? "GLOBAL *" : "LOCAL *").nl();
  std::string cols;
  if (comp == 1) {
    cols.append(global ? " DISP. X," : " DISP. x,").append(l2).append(3, ' ');
    cols.append(global ? "DISP. Y," : "DISP. y,").append(l2).append(3, ' ');
    cols.append(global ? "ROT. Z," : "ROT. z,").append(m.URAD.view()).append(2, ' ');
  } else {
    cols.append(global ? " FOR. X," : "  AXIAL,").append(f3).append(3, ' ');
    cols.append(global ? "FOR. Y," : "LAT. y,").append(f3).append(3, ' ');
    cols.append(global ? "MOM Z," : "MOM z,").append(f3).append(m.UDASH.view()).append(l2).append(2, ' ');
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

  // The rows, read back from the scratch file: record `own` of each row's eight.
  const int own = (kind - 1) * 2 + comp - 1;
  double mn[4] = {}, mx[4] = {}, vals[4] = {};
  int minrow[4] = {1, 1, 1, 1}, maxrow[4] = {1, 1, 1, 1};
  const bool read = read_pile_records(m, nrow, [&](int g, const std::string* rec) {
    const std::string& r = rec[own];
    for (int j = 0; j < c; ++j) vals[j] = scratch_field(r, 18, j, 13, 11);
    WRTBLANK(S, 7);
    WRTINT(S, 6, scratch_int(r, 5, 6));
    WRTBLANK(S, 6);
    for (int j = 0; j < c; ++j) {
      WRTREAL(S, 11, 4, vals[j]);
      WRTBLANK(S, 2);
    }
    ENDLINE(S);
    PTABINIT(g, c, vals, minrow, maxrow, mn, mx);
  }, status, held);
  if (!read) return;
  S.nl();
  for (TextFile* t : {&S, &X})
    for (int which = 0; which < 2; ++which) {
      WRTBLANK(*t, 7);
      t->A(which == 0 ? "  MINIMUM " : "  MAXIMUM ");
      WRTBLANK(*t, 2);
      for (int j = 0; j < c; ++j) {
        WRTREAL(*t, 11, 4, which == 0 ? mn[j] : mx[j]);
        WRTBLANK(*t, 2);
      }
      ENDLINE(*t);
      WRTBLANK(*t, 7);
      t->A("  Pile G. ");
      WRTBLANK(*t, 2);
      for (int j = 0; j < c; ++j) {
        WRTINT(*t, 6, which == 0 ? minrow[j] : maxrow[j]);
        WRTBLANK(*t, 7);
      }
      ENDLINE(*t);
    }
}

}  // namespace torva
