#include "stiffness/captstf.h"

#include <omp.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "io/threads.h"
#include "io/writers.h"
#include "pile/ptrans.h"
#include "stiffness/pilekcap.h"

namespace torva {

namespace {

// A line of a vector at the origin on PLOTDATA: 7 blanks, then each value and 5 blanks.
void plot_vector(TextFile& p, const Vec6& v, int c) {
  WRTBLANK(p, 7);
  for (int i = 1; i <= c; ++i) {
    WRTREAL(p, 18, 8, v(i));
    WRTBLANK(p, 5);
  }
  ENDLINE(p);
}

void report_vector(TextFile& f, const char* label, const Vec6& v, int c) {
  WRTBLANK(f, 2);
  f.A(label);
  for (int i = 1; i <= c; ++i) WRTREAL(f, 15, 5, v(i));
  ENDLINE(f);
}

// Row g's head stiffness carried to the cap origin: Ht Qt Kh Q H.
void row_at_origin(const Model& m, int g, int iaxial, int& status, std::array<double, 36>& out,
                   std::string& trace) {
  Mat6 Ht, H, Qt, Q, Kh;
  PTRANS(m, g, Ht, H, Qt, Q);
  PILEKCAP(m, g, iaxial, status, Kh, trace);
  // T = Q H, local head movement from the cap movement at the origin.
  double T[36], KT[36];
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) {
      double s = 0.0;
      for (int l = 1; l <= 6; ++l) s += Q(i, l) * H(l, j);
      T[(i - 1) + 6 * (j - 1)] = s;
    }
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) {
      double s = 0.0;
      for (int l = 1; l <= 6; ++l) s += Kh(i, l) * T[(l - 1) + 6 * (j - 1)];
      KT[(i - 1) + 6 * (j - 1)] = s;
    }
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) {
      double s = 0.0;
      for (int l = 1; l <= 6; ++l) s += T[(l - 1) + 6 * (i - 1)] * KT[(l - 1) + 6 * (j - 1)];
      out[std::size_t((i - 1) + 6 * (j - 1))] = s;
    }
}

// 2-D: the head stiffness of one pile of row g carried to the cap origin, Tt Kh T, times
// the number of piles the row stands for (in the leading 3 x 3 block).
void row_at_origin_2d(const Model& m, int g, int iaxial, int& status, std::array<double, 36>& out,
                      std::string& trace) {
  double Tt[9], T[9], Kh[9], KT[9], K[9];
  PTRANS2D(m, g, Tt, T);
  PILEKCAP2D(m, g, iaxial, status, Kh, trace);
  MATVEC3N(KT, Kh, T, 3);
  MATVEC3N(K, Tt, KT, 3);
  out.fill(0.0);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) out[std::size_t(i + 6 * j)] = m.NPILE(g) * K[i + 3 * j];
}

}  // namespace

void TGTLINE(Model& m, TextFile& f, int nl, int ndim, double dcomp, double dtarg) {
  if (m.STFLEV(nl + 1) == 0.0) return;
  const int d = static_cast<int>(m.STFLEV(nl + 2));
  const std::string_view l2 = m.ULEN2.view();
  if (d < 1 || d > 6) {
    f.A(" , COMPUTED =");
    WRTREAL(f, 13, 5, dcomp);
    if (d < 3) f.X(1).A(l2);
    ENDLINE(f);
    return;
  }
  static constexpr const char* kText[7] = {"",
                                           "  DISPLACEMENT X,",
                                           "  DISPLACEMENT Y,",
                                           "  DISPLACEMENT Z,",
                                           "      ROTATION X,",
                                           "      ROTATION Y,",
                                           "      ROTATION Z,"};
  const bool rot2d = ndim == 2 && d == 3;
  const bool translation = d <= 3 && !rot2d;
  WRTBLANK(f, 5);
  f.A(rot2d ? "      ROTATION Z," : kText[d]);
  f.A("  TARGET =");
  WRTREAL(f, 13, 5, dtarg);
  if (translation) f.X(1).A(l2);
  f.A(" , COMPUTED =");
  WRTREAL(f, 13, 5, dcomp);
  if (translation) f.X(1).A(l2);
  ENDLINE(f);
}

void CAPORIGIN(Model& m, int nl, int ndim, int ipoint, double factor, double dcomp,
               double dtarg, const Vec6& capload, const Vec6& capdisp) {
  const int c = ndim == 2 ? 3 : 6;
  m.SUMMARY.nl().X(4).A("   N:").I(ipoint, 5).A("  FACTOR :").F(factor, 10, 4).nl();
  m.PLOTDATA.X(4).A("    1").A("   N:").I(ipoint, 5).A("  FACTOR :").F(factor, 10, 4).nl();
  TGTLINE(m, m.REPORT, nl, ndim, dcomp, dtarg);
  TGTLINE(m, m.SUMMARY, nl, ndim, dcomp, dtarg);
  m.PLOTDATA.X(7).A("* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *").nl();
  plot_vector(m.PLOTDATA, capload, c);
  m.PLOTDATA.X(7).A("* DISPLACEMENT OF PILE CAP AT ORIGIN *").nl();
  plot_vector(m.PLOTDATA, capdisp, c);
  for (TextFile* f : {&m.REPORT, &m.SUMMARY}) {
    report_vector(*f, " LOAD", capload, c);
    report_vector(*f, " DISP", capdisp, c);
  }
}

void CAPTSTF(Model& m, int& status, int iaxial, int nl, int ipoint, double factor,
             const Vec6& capload, const Vec6& capdisp, Mat6& K) {
  const int c = m.NDIM == 2 ? 3 : 6;
  for (int i = 1; i <= c; ++i)
    for (int j = 1; j <= c; ++j) K(i, j) = 0.0;
  m.STIFTRACE.X(5).A("NPILES=").I(m.NROW, 5).nl();

  const int nrow = m.NROW;
  std::vector<std::array<double, 36>> rowk(std::size_t(std::max(nrow, 0)) + 1);
  std::vector<std::string> trace(rowk.size());
  std::vector<int> pivot(rowk.size(), 0);
  std::vector<RowCapture> failed(rowk.size());
  // One linear beam model per row.
  const int nthr = LOOPTHR(std::max(1, std::min(m.NTHUSE, std::max(nrow, 1))), ROWNODES(m));
  // Each row works on its own matrices; the rows are then summed in row order, so the
  // matrix does not depend on the thread count. Rows are handed out as threads come free.
#pragma omp parallel for schedule(guided) num_threads(nthr)
  for (int g = 1; g <= nrow; ++g) {
    guarded_row(failed[std::size_t(g)], [&] {
      int& st = pivot[std::size_t(g)];
      if (m.NDIM == 2) row_at_origin_2d(m, g, iaxial, st, rowk[std::size_t(g)], trace[std::size_t(g)]);
      else row_at_origin(m, g, iaxial, st, rowk[std::size_t(g)], trace[std::size_t(g)]);
    });
  }
  // A row that failed an internal check ends the run with the check's message.
  for (int g = 1; g <= nrow; ++g)
    if (failed[std::size_t(g)].status != 0) {
      replay(m, failed[std::size_t(g)]);
      status = failed[std::size_t(g)].status;
      return;
    }
  // A row whose beam model met a zero pivot contributes only the part above that element:
  // said in row order, the point's stiffness is kept as computed.
  for (int g = 1; g <= nrow; ++g) {
    const int e = pivot[std::size_t(g)];
    if (e == 0) continue;
    for (TextFile* f : {&m.REPORT, &m.RUNLOG}) {
      f->nl().X(5).A("** WARNING **  ").A("ZERO PIVOT IN THE BEAM MODEL OF PILE GROUP").I(g, 5).nl();
      f->X(5).A("               ").A("STIFFNESS BELOW NODE").I(e, 5).A(" NOT INCLUDED").nl();
    }
  }
  for (int g = 1; g <= nrow; ++g) {
    m.STIFTRACE.write_text(trace[std::size_t(g)]);
    for (int i = 1; i <= c; ++i)
      for (int j = 1; j <= c; ++j) K(i, j) += rowk[std::size_t(g)][std::size_t((i - 1) + 6 * (j - 1))];
  }

  m.KMATLOG.X(5).A("* EQV. STIFFNESS MATRIX AT ORIGIN *").nl();
  for (int j = 1; j <= c; ++j) {
    WRTBLANK(m.KMATLOG, 5);
    for (int i = 1; i <= c; ++i) WRTREAL(m.KMATLOG, 19, 5, K(j, i));
    ENDLINE(m.KMATLOG);
  }
  CAPORIGIN(m, nl, m.NDIM, ipoint, factor, m.DCOMP, m.DTARG, capload, capdisp);
  m.REPORT.nl().X(10).A("* EQUIVALENT STIFFNESS MATRIX AT ORIGIN *").nl();
  m.SUMMARY.nl().X(10).A("* EQV. STIFFNESS MATRIX AT ORIGIN *").nl();
  for (TextFile* f : {&m.REPORT, &m.SUMMARY}) {
    f->X(2).A("  DOF");
    for (int i = 1; i <= c; ++i) f->I(i, 11).X(4);
    f->nl();
  }
  for (int j = 1; j <= c; ++j)
    for (TextFile* f : {&m.REPORT, &m.SUMMARY}) {
      WRTBLANK(*f, 2);
      WRTINT(*f, 5, j);
      for (int i = 1; i <= c; ++i) WRTREAL(*f, 15, 5, K(j, i));
      ENDLINE(*f);
    }
  TextFile& p = m.PLOTDATA;
  WRTBLANK(p, 12);
  WRTBLANK(p, 2);
  for (int i = 1; i <= c; ++i) {
    WRTREAL(p, 18, 8, K(i, i));
    WRTBLANK(p, 4);
  }
  ENDLINE(p);
  for (int r = 1; r <= c; ++r) {
    WRTBLANK(p, 5);
    p.I(r, 5);
    WRTBLANK(p, 2);
    WRTBLANK(p, 2);
    for (int i = 1; i <= c; ++i) {
      WRTREAL(p, 18, 8, K(r, i));
      WRTBLANK(p, 4);
    }
    ENDLINE(p);
  }
}

}  // namespace torva
