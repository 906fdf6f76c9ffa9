// The analysis driver: every load case, then every load combination, with progress lines,
// stop polls, headings, controls, loads, one cap analysis each, timing and envelopes.
#include <string>

#include "axial/curvedata.h"
#include "axial/tzplotfile.h"
#include "cap/anal2d.h"
#include "cap/anal3d.h"
#include "cap/progress.h"
#include "driver/casepoints.h"
#include "driver/runctl.h"
#include "echo/echo.h"
#include "io/platform.h"
#include "pile/loads.h"
#include "report/envewr.h"
#include "report/envewr2d.h"
#include "report/pileplot.h"
#include "report/pyplotfile.h"
#include "soil_py/pyprint.h"

namespace torva {

namespace {

void titled(TextFile& f, std::string_view text) {
  f.nl().nl().nl().nl().X(17).A("*****").X(5).A(text).X(5).A("*****").nl();
}

std::string case_progress(const char* what, int c, int n, const char* tail) {
  std::string s = what;
  put_I(s, c, 3);
  s += "/";
  put_I(s, n, 3);
  s += tail;
  return s;
}

// Time of the analysis just finished, reported on the run log.
void case_timing(Model& m) {
  const double t = platform::wall_seconds() - m.TSTART;
  m.TCASE = t - m.TPREV;
  WRTIMEX(m);
  m.TPREV = t;
  m.TPAR = m.TSER = m.TPRT = 0.0;
}

// One cap analysis of the model's dimension. The 2-D analysis takes the components of
// its three degrees of freedom (vertical, horizontal, rotation): 1, 2 and 6 of the load
// vectors, and of a point of definition its loads 1 to 3.
void analysis(Model& m, int kind, int& status, Vec6& FVLAST, Vec6& DVLAST, Vec6& loads,
              const Vec6& PTLOAD, Vec6& PTDISP, const Arr1<double, 3>& PTXYZ,
              const Arr1<int, 6>& PTCOND) {
  if (m.NDIM != 2) {
    ANAL3D(m, kind, status, FVLAST, DVLAST, loads, PTLOAD, PTDISP, PTXYZ, PTCOND);
    return;
  }
  constexpr int dof[3] = {1, 2, 6};
  Vec3 l, pl, pd, fl, dl;
  Flags3 cond;
  for (int i = 1; i <= 3; ++i) {
    l(i) = loads(dof[i - 1]);
    pl(i) = PTLOAD(i);
    pd(i) = PTDISP(dof[i - 1]);
    cond(i) = PTCOND(dof[i - 1]);
    fl(i) = FVLAST(dof[i - 1]);
    dl(i) = DVLAST(dof[i - 1]);
  }
  int ipysave = 0;
  ANAL2D(m, kind, ipysave, status, fl, dl, l, pl, pd, PTXYZ, cond);
  for (int i = 1; i <= 3; ++i) {
    FVLAST(dof[i - 1]) = fl(i);
    DVLAST(dof[i - 1]) = dl(i);
  }
}

// The minimum and the maximum envelope of the load cases (src 1) or combinations (2).
void envelopes(Model& m, int src, int& status) {
  for (int kind : {1, 2}) {
    if (m.NDIM == 2)
      ENVEWR2D(m, src, kind, status);
    else
      ENVEWR(m, src, kind, status);
  }
}

}  // namespace

void PLOTPASS(Model& m, int& status) {
  CDINTS(m, m.NROW, m.NDIM, m.IUNITS);
  m.IPLOT = 1;
  m.IPYOUT = 1;
  // Each writer runs with a status word of its own, so that a soil lookup failing on one
  // row leaves the later rows and writers complete; the first code set is returned.
  const auto keep = [&status](int st) {
    if (st != 0 && status == 0) status = st;
  };
  for (int g = 1; g <= m.NROW; ++g) {
    int st = 0;
    PILEPLOT(m, g, st);
    keep(st);
    st = 0;
    PYPLOTFILE(m, g, st);
    keep(st);
    st = 0;
    TZPLOTFILE(m, g, st);
    keep(st);
    if (m.NDIM == 3) {
      st = 0;
      TRPLOTFILE(m, g, st);
      keep(st);
    }
  }
}

void ANALYZE(Model& m, int mode, int& status) {
  m.RUNLOG.nl().nl().nl().X(5).A("COMPUTATION IS PROCEEDING......").nl();
  m.ILINPASS = 0;
  for (TextFile* f : {&m.REPORT, &m.SUMMARY}) {
    f->nl().nl().nl().nl().X(17).A("*****").X(5).A("COMPUTATION RESULTS").X(5).A("*****").nl();
    f->nl().nl().nl().X(5).A(m.TITLE1.view()).nl();
  }
  m.PLOTDATA.line("** COMPUTATION RESULTS **").line(m.TITLE1.view());
  m.CASELOG.line("COMPUTATION RESULTS").line(m.TITLE1.view());
  m.NRESLT = 0;
  m.KMATLOG.open_write(m.fname(R_KMATLOG));

  Vec6 loads, FVLAST, DVLAST, PTLOAD, PTDISP, FO;
  Arr1<double, 3> PTXYZ{};
  Arr1<int, 6> PTCOND{};
  for (int i = 1; i <= 6; ++i) loads(i) = FVLAST(i) = DVLAST(i) = PTLOAD(i) = PTDISP(i) = FO(i) = 0.0;

  for (int c = 1; c <= m.NLC; ++c) {
    m.ICASE = c;
    progress_message(m, {case_progress("- ANALYSIS FOR LOAD CASE ", c, m.NLC, " STARTED"), "", ""});
    if (stop_requested(m)) {
      status = ST_STOP;
      m.KMATLOG.close();
      return;
    }
    m.ICOMB = 0;
    m.ISTFOP = 0;
    if (c == 1) {
      m.SUMSCR.nl().nl().X(17).A("*****").X(5).A("LOAD CASES RESULTS ").X(5).A("*****").nl();
      titled(m.REPORT, "LOAD CASES RESULTS ");
      titled(m.SUMMARY, "LOAD CASES RESULTS ");
      m.PLOTDATA.line("LOAD CASES RESULTS ");
      m.CASELOG.line("LOAD CASES RESULTS ");
      m.NRESLT = 1;
      if (m.NDIM == 2)
        ENVINIT2D(m);
      else
        ENVINIT(m);
    }
    std::string tname = LOADTYPENAME(m.CASINT(c, 8));
    tname.resize(32, ' ');
    for (TextFile* f : {&m.REPORT, &m.SUMMARY}) {
      f->nl().nl().nl().X(5).A("LOAD CASE : ").I(c, 5).nl();
      f->X(5).A("CASE NAME : ").A(m.CASNAME(c).view()).nl();
      f->X(5).A("LOAD TYPE : ").A(tname).nl();
    }
    m.RUNLOG.nl().nl().nl().X(5).A("LOAD CASE : ").I(c, 5).nl();
    m.RUNLOG.X(5).A("CASE NAME : ").A(m.CASNAME(c).view()).nl();
    m.RUNLOG.flush();
    m.PLOTDATA.A("LOAD CASE : ").I(c, 5).nl();
    m.CASELOG.A("LOAD CASE : ").I(c, 5).nl();
    if (m.CASINT(c, 22) == 1) {
      for (TextFile* f : {&m.REPORT, &m.SUMMARY, &m.RUNLOG})
        f->X(5).A("NOTE: LOAD CASE WILL NOT BE ANALYZED").nl();
      m.CASELOG.line("       ANALYSIS TO NOT RUN   ").line("     9 ANALYSIS NOT PERFORMED");
      continue;
    }
    m.SUMSCR.nl().X(5).A("LOAD CASE : ").I(c, 5).nl();
    m.SOLVTRACE.A("LOAD CASE : ").I(c, 5).nl();
    SETCURCASE(m, c);
    m.ISTFOP = m.CASINT(c, 9);
    // The case's analyses: its estimation points, if any, then the full load.
    CASEPOINTS(m, c, status, FVLAST, DVLAST, PTLOAD, PTDISP, PTXYZ, PTCOND, analysis);
    if (status != 0) {
      m.KMATLOG.close();
      return;
    }
    progress_message(m, {case_progress("- ANALYSIS FOR LOAD CASE ", c, m.NLC, " FINISHED"), "", ""});
    m.RUNLOG.A(case_progress("     ANALYSIS FOR LOAD CASE ", c, m.NLC, " FINISHED")).nl().nl();
    m.RUNLOG.flush();
    case_timing(m);
    // A report that cannot be written ends the run here, not hours later.
    if (!check_writes(m, status)) {
      m.KMATLOG.close();
      return;
    }
    if (stop_requested(m)) {
      status = ST_STOP;
      m.KMATLOG.close();
      return;
    }
  }
  m.KMATLOG.close();
  if (m.IENVREQ(1) > 0 && m.NRESLT > 1) {
    envelopes(m, 1, status);
    if (status != 0) return;
  }

  for (int k = 1; k <= m.NCOMB; ++k) {
    m.ICASE = k;
    progress_message(m, {case_progress("- ANALYSIS FOR LOAD COMB. ", k, m.NCOMB, " STARTED"), "", ""});
    if (stop_requested(m)) {
      status = ST_STOP;
      return;
    }
    m.ICOMB = k;
    m.ISTFOP = 0;
    // A combination is one analysis under its full load, never an estimation.
    m.NPSTF = m.IPSTF = m.ISTEP = 1;
    m.MODSTF = m.IESTON = 0;
    if (k == 1) {
      m.SUMSCR.nl().nl().X(17).A("*****").X(5).A("LOAD COMBINATIONS RESULTS ").X(5).A("*****").nl();
      titled(m.REPORT, "LOAD COMBINATIONS RESULTS ");
      titled(m.SUMMARY, "LOAD COMBINATIONS RESULTS ");
      m.PLOTDATA.line("LOAD COMBINATIONS RESULTS ");
      m.CASELOG.line("LOAD COMBINATIONS RESULTS ");
      m.NRESLT = 1;
      if (m.NDIM == 2)
        ENVINIT2D(m);
      else
        ENVINIT(m);
    }
    for (TextFile* f : {&m.REPORT, &m.SUMMARY, &m.RUNLOG}) {
      f->nl().nl().nl().X(5).A("LOAD COMB. : ").I(k, 5).nl();
      f->X(5).A("COMB. NAME : ").A(m.CBNAME(k).view()).nl();
    }
    m.RUNLOG.flush();
    m.PLOTDATA.A("LOAD COMB. : ").I(k, 5).nl();
    m.CASELOG.A("LOAD COMB. : ").I(k, 5).nl();
    if (m.CBINT(k, 13) == 1) {
      for (TextFile* f : {&m.REPORT, &m.SUMMARY, &m.RUNLOG})
        f->X(5).A("NOTE: LOAD COMB WILL NOT BE ANALYZED").nl();
      m.CASELOG.line("       ANALYSIS TO NOT RUN   ").line("     9 ANALYSIS NOT PERFORMED");
      continue;
    }
    m.SUMSCR.nl().X(5).A("LOAD COMB : ").I(k, 5).nl();
    SETCURCOMB(m, k);
    COMBORIG(m, k, loads);
    COMBLOAD(m, k);
    DLOADORIG(m, loads);
    m.CASELOG.X(6).A("ANALYSIS DUE TO TOTAL LOAD").nl();
    status = 0;
    analysis(m, 1, status, FVLAST, DVLAST, loads, PTLOAD, PTDISP, PTXYZ, PTCOND);
    if (status != 0) return;
    progress_message(m, {case_progress("- ANALYSIS FOR LOAD COMB. ", k, m.NCOMB, " FINISHED"), "", ""});
    m.RUNLOG.A(case_progress("     ANALYSIS FOR LOAD COMB. ", k, m.NCOMB, " FINISHED")).nl().nl();
    m.RUNLOG.flush();
    case_timing(m);
    if (!check_writes(m, status)) return;
    if (stop_requested(m)) {
      status = ST_STOP;
      return;
    }
  }
  if (m.IENVREQ(2) > 0 && m.NRESLT > 1) {
    envelopes(m, 2, status);
    if (status != 0) return;
  }

  m.IPYOUT = mode;
  if (m.IPYOUT != 0) {
    m.IPLOT = 0;
    m.ECHO.nl().nl().nl().nl().nl().X(5).A("* TABLE N *   PRINTED P-Y CURVES").nl();
    PYPRINT(m, status);
  }
  if (m.IPLTPASS == 1) PLOTPASS(m, status);
  m.IOPASS = 0;
  m.IPYOUT = 0;
}

}  // namespace torva
