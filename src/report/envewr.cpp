// Tables L and M of a 3-D analysis and of the envelopes over the load cases and over the
// combinations: pile-head blocks and node tables on the results report, plot-data lines,
// the per-pile scratch records and, from them, the all-piles summary tables.
#include "report/envewr.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "io/platform.h"
#include "io/threads.h"
#include "io/writers.h"
#include "model/messages.h"
#include "pile/pileres.h"
#include "report/captables.h"
#include "report/noderes.h"
#include "report/ptables.h"

namespace torva {

namespace {

constexpr int kNTOP = 25;  // printed pile-top quantities (26 repeats the stress)

// What the two output streams of one row read: the row's working copies.
struct RowCopy : TableMRow {
  double T[kNTOP + 1] = {};  // 1-based
};

// Envelope headings, outcome line and Table L of an envelope.
void envelope_tables(Model& m, int src, int kind, const Arr1<double, 12>& cap) {
  envelope_heading(m, src, kind);
  // REPORT: values in 18 columns after 8 blanks; SUMMARY: 19 columns after 5 blanks.
  for (TextFile* f : {&m.REPORT, &m.SUMMARY}) {
    const CapCols c = f == &m.REPORT ? CapCols{8, 18, 5} : CapCols{5, 19, 4};
    f->nl().nl().nl().X(5).A(kTableL).nl();
    load_disp_tables_3d(m, *f, false, cap.data(), cap.data() + 6, nullptr, nullptr, c);
  }
  table_m_heading(m);
  plot_cap(m, cap.data(), cap.data() + 6, 6);
}

// Stream 0: the row's plot-data lines.
void plot_stream(const Model& m, const RowCopy& r, TextFile& out) {
  plot_row(m, r, out, &r.T[1], &r.T[7], &r.T[14], &r.T[20], 6, r.T[13]);
}

// The pile-head block of one row on the results report.
void head_block(const Model& m, const RowCopy& r, TextFile& out) {
  const std::string_view f3 = m.UFOR3.view(), l2 = m.ULEN2.view(), dash = m.UDASH.view(),
                         rad = m.URAD.view();
  auto values = [&](int from) {
    WRTBLANK(out, 3);
    for (int q = from; q < from + 6; ++q) WRTREAL(out, 13, 4, r.T[q]);
    ENDLINE(out);
  };
  auto stress = [&] {
    out.nl().X(5).A("STR,").A(f3).A(m.USLASH.view()).A(l2).A(m.UPOW.view()).A(m.USQ.view()).nl();
    WRTBLANK(out, 3);
    WRTREAL(out, 13, 4, r.T[13]);
    ENDLINE(out);
  };
  auto displacements = [&](const char* ax) {
    out.nl().X(5);
    for (int i = 0; i < 3; ++i)
      out.A(i == 0 ? " DISP. " : "DISP. ").A(std::string_view(ax + i, 1)).A(",").A(l2).X(3);
    for (int i = 0; i < 3; ++i) {
      out.A("ROT. ").A(std::string_view(ax + i, 1)).A(",").A(rad);
      if (i < 2) out.X(3);
    }
    out.nl();
  };
  auto moments = [&](const char* ax) {
    for (int i = 0; i < 3; ++i) {
      out.A("MOM ").A(std::string_view(ax + i, 1)).A(",").A(f3).A(dash).A(l2);
      if (i < 2) out.X(1);
    }
    out.nl();
  };

  out.nl().nl().X(7).A("* PILE GROUP *").I(r.g, 6).nl();
  out.nl().nl().X(8).A("* PILE TOP DISPLACEMENTS AND REACTIONS *").nl();
  // Global axes, then the pile's local axes: displacements, reactions and the stress.
  for (int local = 0; local < 2; ++local) {
    const char* ax = local ? "xyz" : "XYZ";
    out.nl().nl().X(7)
        .A(local ? "THE PILE COORDINATE SYSTEM (LOCAL AXES)" : "THE GLOBAL STRUCTURAL COORDINATE SYSTEM")
        .nl();
    out.X(7).A(std::string(39, '-')).nl().nl();
    displacements(ax);
    values(local ? 14 : 1);
    out.nl().X(5).A(local ? "  AXIAL," : " FOR. X,").A(f3).X(3).A(local ? "LAT. y," : "FOR. Y,")
        .A(f3).X(3).A(local ? "LAT. z," : "FOR. Z,").A(f3).X(2);
    moments(ax);
    values(local ? 20 : 7);
    stress();
  }
}

// Stream 1: the row's scratch records and its part of the results report.
void report_stream(const Model& m, int src, const RowCopy& r, TextFile& scr, TextFile& rep) {
  write_top_record(scr, r.g, &r.T[1], 6);
  write_top_record(scr, r.g, &r.T[7], 7);
  write_top_record(scr, r.g, &r.T[14], 6);
  double local[7];
  for (int i = 0; i < 6; ++i) local[i] = r.T[20 + i];
  local[6] = r.T[13];
  write_top_record(scr, r.g, local, 7);

  // Print option: 0 the cap only, 1 also the pile heads, 2 also along the piles; the
  // combination envelopes need 2 for their node tables.
  const int popt = src == 0 ? m.IPROPTE : m.IENVOUT(src);
  if (popt > 0) head_block(m, r, rep);
  row_node_output(m, src, r.g, r.lsno, r.last, r.seglen, r.B, scr, rep);
}

}  // namespace

void envelope_heading(Model& m, int src, int kind) {
  const char digit = char('0' + kind);
  const char* word = kind == 1 ? "MINIMUM ENVELOPE" : "MAXIMUM ENVELOPE";
  const char* env = src == 1 ? "LOAD CASE ENV : " : "LOAD COMB. ENV : ";
  const char* name = src == 1 ? "CASE NAME     : " : "COMB. NAME     : ";
  for (TextFile* f : {&m.REPORT, &m.SUMMARY}) {
    f->nl().nl().nl().X(5).A(env).A(std::string_view(&digit, 1)).nl();
    f->X(5).A(name).A(word).nl();
  }
  m.PLOTDATA.A(env).A(std::string_view(&digit, 1)).nl();
  m.CASELOG.A(env).A(std::string_view(&digit, 1)).nl();
  m.CASELOG.X(6).A(word).nl();
  m.CASELOG.line("    1 CALCULATED AND PRINTED");
}

void row_node_output(const Model& m, int src, int g, int lsno, int last, double seglen,
                     const NodeBuf& B, TextFile& scr, TextFile& rep) {
  const int popt = src == 0 ? m.IPROPTE : m.IENVOUT(src);
  const bool nodes = src == 2 ? m.IENVOUT(2) > 1 : popt > 0;
  if (nodes) {
    rep.nl().nl().X(8).A(kEffects).nl().nl();
    PrintFlags F;
    PRTSEL(m, src != 0 ? 1 : 0, lsno, m.IAXVAR, m.NDIM, F);
    WRHEAD(m, rep, HD_REPORT, F);
    const int step = src == 0 ? m.INODSTE : m.IENVSEL(src);
    WRNODES(m, rep, F, last, step, seglen, B);
  }
  PILEMM(m, scr, g, last, seglen, B);
}

void plot_row(const Model& m, const TableMRow& r, TextFile& out, const double* glob_disp,
              const double* glob_react, const double* loc_disp, const double* loc_react, int n,
              double stress) {
  out.A("* PILE GROUP *").I(r.g, 6).nl();
  for (int local = 0; local < 2; ++local) {
    out.X(7).A(local == 0 ? "* PILE TOP DISP. AND REACT. GLOBAL"
                          : "* PILE TOP DISP. AND REACT. LOCAL").nl();
    for (const double* v : {local == 0 ? glob_disp : loc_disp, local == 0 ? glob_react : loc_react}) {
      WRTBLANK(out, 5);
      for (int i = 0; i < n; ++i) {
        WRTREAL(out, 15, 8, v[i]);
        WRTBLANK(out, 2);
      }
    }
    WRTREAL(out, 15, 8, stress);
    ENDLINE(out);
  }
  out.X(8).A(kEffects).nl();
  WRPLOT(out, r.last, r.lsno, m.IAXVAR, m.ICOMB, m.NDIM, r.seglen, r.B);
}

PrintFlags summary_flags(const Model& m, int src) {
  // -1 when some row takes a generated load-settlement curve.
  int ucurve = 1;
  for (int g = 1; g <= m.NROW; ++g)
    if (m.LSNO(g) < 1) ucurve = -1;
  PrintFlags F;
  PRTSEL(m, src != 0 ? 1 : 0, ucurve, m.IAXVAR, m.NDIM, F);
  return F;
}

bool table_m_rows(Model& m, int kind, const std::function<TableMRow&(int)>& slot,
                  const std::function<void(int, int)>& prepare,
                  const std::function<void(int, TextFile&)>& plot,
                  const std::function<void(int, TextFile&, TextFile&)>& report, int& status) {
  const std::string scrname = m.fname(R_PILESCR);
  if (!m.PILESCR.open_write(scrname)) {
    file_failed(m, status, ST_FILEOPEN, scrname, errno);
    return false;
  }
  // The streams of two blocks (plot data, scratch records and report of each slot, a block
  // holding at most the model's rows): the files receive one block's lines, in row order,
  // while the next block is formatted.
  const int slots = std::clamp(m.NROW, 1, TABLEM_BLOCK);
  auto files = std::make_unique<TextFile[]>(std::size_t(6 * slots));
  TextFile* done = nullptr;  // the block formatted last, not yet written
  int ndone = 0;
  const auto write_block = [&m](TextFile* f, int n) {
    for (int i = 0; i < n; ++i) {
      m.PLOTDATA.write_text(f[3 * i].take_text());
      m.PILESCR.write_text(f[3 * i + 1].take_text());
      m.REPORT.write_text(f[3 * i + 2].take_text());
    }
  };
  for (int g0 = 1; g0 <= m.NROW; g0 += TABLEM_BLOCK) {
    const int nb = std::min(TABLEM_BLOCK, m.NROW - g0 + 1);
    TextFile* cur = files.get() + (done == files.get() ? 3 * slots : 0);
    long long nodes = 0;
    for (int i = 0; i < nb; ++i) {
      const int g = g0 + i;
      TableMRow& r = slot(i);
      const int t = m.PTYPE(g);
      r.g = g;
      r.last = m.NSEG(t) + 4;
      nodes += r.last;
      r.seglen = m.SEGLEN(t);
      r.lsno = m.LSNO(g);
      prepare(g, i);
      for (int q = 1; q <= NNODEQ; ++q) {
        for (int k = 4; k <= r.last; ++k) {
          r.B(k, q) = kind == 0 ? m.PRNODE(g, k, q) : NODEENVAT(m, g, k, q, kind == 2);
        }
      }
    }
    // The threads of the row loops share the block's streams; the run's thread counts
    // record the two streams of the printing.
    int use = 0, run = 0;
    // Formatting a node's lines is work of about a node's pile solution.
    const int nthr = LOOPTHR(SETNTHR(m.NTHREQ, use, run, m.NROW, 0), nodes);
    SETNTHR(m.NTHREQ, m.NTHUSE, m.NTHRUN, m.NROW, 1);
    const double t0 = platform::wall_seconds();
    // Two output streams per row: plot data, and scratch records with the report. Each
    // builds its lines in memory; one more task writes the block before to the files, so
    // the output never depends on the thread count. On one thread the streams go straight to
    // their files in that same order (a line a stream leaves open is dropped either way).
    if (nthr == 1 && m.PLOTDATA.cur.empty() && m.PILESCR.cur.empty() && m.REPORT.cur.empty()) {
      if (done != nullptr) write_block(done, ndone);
      done = nullptr;
      for (int i = 0; i < nb; ++i) {
        plot(i, m.PLOTDATA);
        m.PLOTDATA.cur.clear();
        report(i, m.PILESCR, m.REPORT);
        m.PILESCR.cur.clear();
        m.REPORT.cur.clear();
      }
      m.TPRT += platform::wall_seconds() - t0;
      continue;
    }
    for (int i = 0; i < nb; ++i)
      for (int f = 0; f < 3; ++f) cur[3 * i + f].open_memory();
    const int first = done != nullptr ? 1 : 0;
#pragma omp parallel for schedule(dynamic) num_threads(nthr)
    for (int task = 0; task < 2 * nb + first; ++task) {
      if (task < first) {
        write_block(done, ndone);
        continue;
      }
      const int i = (task - first) / 2;
      if ((task - first) % 2 == 0)
        plot(i, cur[3 * i]);
      else
        report(i, cur[3 * i + 1], cur[3 * i + 2]);
    }
    done = cur;
    ndone = nb;
    m.TPRT += platform::wall_seconds() - t0;
  }
  if (done != nullptr) {
    const double t0 = platform::wall_seconds();
    write_block(done, ndone);
    m.TPRT += platform::wall_seconds() - t0;
  }
  m.PILESCR.close();
  if (m.PILESCR.write_failed()) {
    file_failed(m, status, ST_FILEWRITE, scrname, m.PILESCR.write_errno());
    return false;
  }
  return true;
}

void ENVEWR(Model& m, int source, int kind, int& status) {
  if (status != 0) return;
  const int src = source == 1 || source == 2 ? source : 0;
  if (src == 0) kind = 0;
  if (kind == 1 || kind == 2) envelope_tables(m, src, kind, kind == 1 ? m.EMNCAP : m.EMXCAP);
  m.PLOTDATA.line(kTableM);

  // The rows' copies live on the heap: the node buffer alone is 107 x 25 values. A block
  // holds at most the model's rows.
  std::vector<RowCopy> rows(std::size_t(std::clamp(m.NROW, 1, TABLEM_BLOCK)));
  const bool ok = table_m_rows(
      m, kind, [&](int i) -> TableMRow& { return rows[std::size_t(i)]; },
      [&](int g, int i) {
        RowCopy& r = rows[std::size_t(i)];
        for (int q = 1; q <= kNTOP; ++q)
          r.T[q] = kind == 0 ? m.PRTOP(g, q) : kind == 1 ? m.EMNTOP(g, q) : m.EMXTOP(g, q);
      },
      [&](int i, TextFile& plot) { plot_stream(m, rows[std::size_t(i)], plot); },
      [&](int i, TextFile& scr, TextFile& rep) {
        report_stream(m, src, rows[std::size_t(i)], scr, rep);
      },
      status);
  if (!ok) return;

  PTABLES(m, m.NROW, summary_flags(m, src), status);
}

}  // namespace torva
