#include "cap/capreport.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "io/fmt.h"
#include "model/messages.h"
#include "report/captables.h"
#include "stiffness/estrec.h"

namespace torva {

namespace {

constexpr const char* kWarning = "** WARNING **  ";

}  // namespace

std::string progress_head(const Model& m, int kind) {
  std::string s = kind == 0 ? "- ANALYSIS FOR LOAD CASE " : "- ANALYSIS FOR LOAD COMB ";
  put_I(s, m.ICASE, 3);
  s += "/";
  put_I(s, kind == 0 ? m.NLC : m.NCOMB, 3);
  s += " (";
  put_I(s, m.NTHUSE, 2);
  s += "/";
  put_I(s, m.NTHMAX, 2);
  s += " proc.)";
  return s;
}

void scale_soil_movement(Model& m, double t) {
  for (int i = 1; i <= m.NSMPT; ++i) {
    m.SMY(i) = m.SMY0(i) * t;
    m.SMZ(i) = m.SMZ0(i) * t;
  }
}

void step_line(Model& m, int kstep, double tcur, double dtcur) {
  m.RUNLOG.X(5).A("STEP ").I(kstep, 5).A(", TCUR ").F(tcur, 10, 4).A(", DTCUR ").F(dtcur, 10, 4).nl();
  m.RUNLOG.flush();
}

void iteration_lines(Model& m, int kiter, CapNorms& n) {
  n.ErrDsp = n.TotDsp == 0.0 ? n.IncDsp : n.IncDsp / n.TotDsp;
  n.ErrRot = n.TotRot == 0.0 ? n.IncRot : n.IncRot / n.TotRot;
  TextFile& r = m.RUNLOG;
  r.X(5).A("ITERATION ").I(kiter, 4).nl();
  r.X(19).A("- ErrDsp ").E(n.ErrDsp, 13, 5).A(", IncDsp ").E(n.IncDsp, 13, 5);
  r.A(", TotDsp ").E(n.TotDsp, 13, 5).nl();
  r.X(19).A("- ErrRot ").E(n.ErrRot, 13, 5).A(", IncRot ").E(n.IncRot, 13, 5);
  r.A(", TotRot ").E(n.TotRot, 13, 5).nl();
  if (m.IALTTOL == 1) r.X(19).A("- MaxDsp ").E(n.MaxDsp, 13, 5).A(", MaxRot ").E(n.MaxRot, 13, 5).nl();
  r.flush();
}

void trace_vec(TextFile& f, const char* label, const double* v, int n, int w, int d) {
  f.A(label);
  for (int i = 0; i < n; ++i) f.E(v[i], w, d);
  f.nl();
}

bool open_scratch(Model& m, TextFile& f, FileRole r, int& status) {
  if (f.open_write(m.fname(r))) return true;
  file_failed(m, status, ST_FILEOPEN, m.fname(r), errno);
  return false;
}

bool attempt_failed(Model& m, LoadStepper& s, int& kstep) {
  if (s.fail(m.FACMIN)) {
    if (m.ISTATE != 2) no_convergence_warning(m);
    return true;
  }
  --kstep;
  return false;
}

void singular_warning(Model& m) {
  m.REPORT.X(5).A(kWarning).A("DETERMINANT OF STIFFNESS MATRIX IS ZERO").nl();
  m.RUNLOG.nl().nl().X(5).A(kWarning).A("DETERMINANT OF STIFFNESS MATRIX IS ZERO").nl();
  m.RUNLOG.flush();
}

void no_convergence_warning(Model& m) {
  for (TextFile* f : {&m.REPORT, &m.RUNLOG}) {
    f->nl().nl().X(5).A(kWarning).A("PILE CAP DISPL DOES NOT CONVERGE AFTER,");
    f->I(m.MAXITFND, 5).X(2).A("ITERATIONS").nl();
  }
  m.RUNLOG.flush();
}

void pile_warning(Model& m, std::string_view head, std::string_view line2,
                  std::string_view line3, std::string_view curve, std::string_view runlog) {
  m.REPORT.nl().X(5).A(kWarning).A(head).nl();
  m.REPORT.X(20).A(line2).nl();
  m.REPORT.X(20).A(line3).A(curve).nl();
  m.RUNLOG.nl().X(5).A(kWarning).A(runlog).nl();
}

void replay_warnings(Model& m, int nrec) {
  TextFile w;
  if (!w.open_read(m.fname(R_WARNSCR))) return;
  std::string line;
  for (int k = 0; k < nrec && w.read_line(line); ++k) {
    m.REPORT.line(line);
    m.RUNLOG.line(line);
  }
}

namespace {

// Notes an analysis that did not complete in full: which case or combination (and whether
// it was a point of a stiffness estimation), its outcome, and the load factor reached.
void note_incomplete(Model& m, std::string_view outcome, double reached) {
  std::string b = m.ICOMB > 0 ? "     LOAD COMB. " : "     LOAD CASE  ";
  put_I(b, m.ICOMB > 0 ? m.ICOMB : m.ICASE, 5);
  if (m.IESTON == 1 || m.MODSTF == 2) b += ", STIFFNESS ESTIMATION";
  b.append(": ").append(outcome).append(", LOAD REACHED");
  put_F(b, 100.0 * reached, 8, 2);
  m.INCOMPLETE.push_back(b + " %");
}

// True when every pile row is pinned to the cap and the heads lie in one line (in 2-D, meet
// in one point), as a single row's do: the piles then give the cap no moment about that
// line, and its rotation is free.
bool pinned_in_one_line(const Model& m) {
  const int n = m.NROW;
  if (n < 1 || n >= MAXROWP) return false;
  const bool three_d = m.NDIM != 2;
  for (int g = 1; g <= n; ++g)
    if (m.CONNECTY(g) != 1 || (three_d && m.CONNECTZ(g) != 1)) return false;
  auto head = [&](int g) {
    return std::array<double, 3>{m.HEADDEP(g), three_d ? m.CORY(g) : m.HEADY(g),
                                 three_d ? m.CORZ(g) : 0.0};
  };
  auto diff = [](const std::array<double, 3>& a, const std::array<double, 3>& b) {
    return std::array<double, 3>{a[0] - b[0], a[1] - b[1], a[2] - b[2]};
  };
  auto norm = [](const std::array<double, 3>& a) { return std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]); };
  const std::array<double, 3> p0 = head(1);
  std::array<double, 3> d{0.0, 0.0, 0.0};  // towards the head farthest from the first
  for (int g = 2; g <= n; ++g) {
    const std::array<double, 3> e = diff(head(g), p0);
    if (norm(e) > norm(d)) d = e;
  }
  const double len = norm(d);
  const double tol = 1.0e-6 * std::max(1.0, std::max(len, norm(p0)));
  if (len <= tol) return true;  // every head at one point
  if (!three_d) return false;   // rows apart in the plane hold the cap's rotation
  for (int g = 2; g <= n; ++g) {
    const std::array<double, 3> e = diff(head(g), p0);
    const std::array<double, 3> c{e[1] * d[2] - e[2] * d[1], e[2] * d[0] - e[0] * d[2],
                                  e[0] * d[1] - e[1] * d[0]};
    if (norm(c) > tol * len) return false;
  }
  return true;
}

}  // namespace

bool failed_outcome(Model& m, bool never_converged, int ndof, double reached) {
  const char* outcome;
  if (m.ISTATE == 1)
    outcome = "    6 NO CONVERGENCE ON PILES   ";
  else if (m.ISTATE == 2)
    outcome = "    7 SINGULAR STIFFNESS MATRIX ";
  else if (never_converged)
    outcome = "    3 NO CONVERGENCE ON PILE CAP";
  else
    return false;
  m.CASELOG.line(outcome);
  if (m.ISTATE == 2 && pinned_in_one_line(m)) {
    const bool one = m.NROW == 1;
    for (TextFile* f : {&m.REPORT, &m.RUNLOG}) {
      f->nl().X(5).A(kWarning).A(one ? "THE SINGLE PILE ROW IS PINNED TO THE CAP:"
                                     : m.NDIM == 2 ? "EVERY PILE ROW IS PINNED TO THE CAP, THE HEADS AT ONE POINT:"
                                                   : "EVERY PILE ROW IS PINNED TO THE CAP, THE HEADS IN ONE LINE:")
          .nl();
      f->X(20).A(one || m.NDIM == 2 ? "THE PILES LEAVE THE ROTATION OF THE CAP FREE;"
                                    : "THE PILES LEAVE THE ROTATION OF THE CAP ABOUT THAT LINE FREE;")
          .nl();
      f->X(20).A("FIX THE HEADS (CONNECTION 2) OR GIVE THEM A ROTATIONAL SPRING (3)").nl();
    }
  }
  std::string_view text(outcome);
  text.remove_prefix(6);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  note_incomplete(m, text, never_converged ? 0.0 : reached);
  // A flexibility level without a final solution still leaves its records, so that the
  // tables find one record per level (also when an earlier load step had converged).
  if (m.MODSTF == 2) ESTRECFAIL(m, ndof);
  if (m.IESTON == 1) m.ICONV = -1;
  return true;
}

void partial_load_warning(Model& m, double tconv) {
  if (!(tconv < 1.0)) return;
  for (TextFile* f : {&m.REPORT, &m.SUMMARY}) {
    f->nl().X(5).A(kWarning).A("  TORVA COULD NOT GET SOLUTION FOR 100% OF THE LOAD").nl();
    f->X(20).A("  RESULTS ARE FOR ").F(100.0 * tconv, 8, 2).A("% OF THE TOTAL LOAD").nl();
    f->nl();
  }
}

void solved_outcome(Model& m, double tconv) {
  if (!(tconv < 1.0)) {
    m.CASELOG.line("    1 ANALYSIS COMPLETED");
    return;
  }
  m.CASELOG.A("    2 SOLUTION AT ").F(100.0 * tconv, 8, 2).A(" % OF THE TOTAL LOAD").nl();
  note_incomplete(m, "SOLUTION BELOW THE TOTAL LOAD", tconv);
}

void summary_origin(Model& m, const char* faxes, const char* maxes, const double* FV,
                    const double* DV) {
  TextFile& s = m.SUMSCR;
  const std::string_view f3 = m.UFOR3.view(), l2 = m.ULEN2.view();
  const int nf = int(std::strlen(faxes)), nm = int(std::strlen(maxes));
  const CapCols cols{7, 15, 5};
  auto axis = [](const char* ax, int k) { return std::string_view(ax + k, 1); };
  s.nl().X(5).A(kLoadAtOrigin).nl();
  s.X(8);
  for (int k = 0; k < nf; ++k) s.X(3).A("LOAD ").A(axis(faxes, k)).A(",").A(f3).X(2);
  for (int k = 0; k < nm; ++k) {
    s.X(1).A(" MOM ").A(axis(maxes, k)).A(",").A(l2).A("-").A(f3);
    if (k < nm - 1) s.X(1);
  }
  s.nl();
  cap_values(s, cols, FV, nf + nm);
  s.nl().X(5).A("* DISPLACEMENT OF GROUPED PILE ").A("FOUNDATION AT ORIGIN *").nl();
  s.X(8);
  for (int k = 0; k < nf; ++k) s.X(4).A("DISP ").A(axis(faxes, k)).A(",").A(l2).X(2);
  for (int k = 0; k < nm; ++k) {
    s.X(3).A(" ROT ").A(axis(maxes, k)).A(",").A("RAD");
    if (k < nm - 1) s.X(2);
  }
  s.nl();
  cap_values(s, cols, DV, nf + nm);
}

void pile_state_records(const Model& m, TextFile& f, bool three_d) {
  for (int g = 1; g <= m.NROW; ++g) {
    const int n = m.NSEG(m.PTYPE(g));
    f.A("* PILE GROUP *").I(g, 6).nl();
    f.X(7).A("* PILE TOP EQUIVALENT STIFFNESSES").nl();
    for (int k = 1; k <= (three_d ? 3 : 2); ++k) WRTREAL(f, 17, 8, m.EQTOP(g, k));
    ENDLINE(f);
    f.X(7).A("* EQUIVALENT STIFFNESSES ALONG PILE").nl();
    WRTBLANK(f, 6);
    WRTREAL(f, 16, 8, three_d ? m.EQDEPN(g, 0) : m.EQTOP(g, 3));
    ENDLINE(f);
    for (int j = 4; j <= n + 4; ++j) {
      WRTBLANK(f, 6);
      WRTREAL(f, 16, 8, m.EQDEPN(g, j));
      WRTREAL(f, 17, 8, m.EQKN(g, j));
      if (three_d) WRTREAL(f, 17, 8, m.EQKN2(g, j));
      ENDLINE(f);
    }
  }
}

namespace {

// The ordinary tests of cap_converged, displacements (cd) and rotations (cr) apart.
void converged_parts(const Model& m, const CapNorms& n, int kiter, double floor, double late_floor,
                     bool& cd, bool& cr) {
  const auto small = [&](double inc, double tot) {
    return inc <= floor || tot <= floor || (kiter > 40 && (inc <= late_floor || tot <= late_floor));
  };
  cd = m.TOLCAP >= n.ErrDsp || small(n.IncDsp, n.TotDsp) || (m.IALTTOL == 1 && n.MaxDsp <= m.TOLCAPD);
  cr = m.TOLCAP >= n.ErrRot || small(n.IncRot, n.TotRot) || (m.IALTTOL == 1 && n.MaxRot <= m.TOLCAPR);
}

}  // namespace

bool cap_converged(const Model& m, const CapNorms& n, int kiter, double floor, double late_floor) {
  bool cd = false, cr = false;
  converged_parts(m, n, kiter, floor, late_floor, cd, cr);
  return cd && cr;
}

CapNoise cap_noise(const Model& m, bool three_d) {
  CapNoise c;
  double L = m.IUNITS == 2 ? 0.3048 : 12.0;
  for (int g = 1; g <= m.NROW; ++g)
    L = std::max(L, three_d ? std::hypot(m.CORY(g), m.CORZ(g)) : std::fabs(m.CORY(g)));
  c.L = L;
  c.dsp = 10.0 * m.TOLPILE;
  c.rot = c.dsp / L;
  return c;
}

bool cap_stalled(const Model& m, const CapNorms& n, const CapNorms& prev, int kiter, double floor,
                 double late_floor, const CapNoise& noise) {
  bool cd = false, cr = false;
  converged_parts(m, n, kiter, floor, late_floor, cd, cr);
  // Jitter neither shrinks nor grows: an increment larger than the one before is still on
  // its way (a cap that moves less than the noise band, held at rest by part of its
  // passive resistance, takes increments within the band from the start).
  const auto stalled = [](double inc, double last, double band) {
    return inc <= band && inc > 0.5 * last && inc <= last;
  };
  const bool sd = stalled(n.IncDsp, prev.IncDsp, noise.dsp);
  const bool sr = stalled(n.IncRot, prev.IncRot, noise.rot);
  return (cd || sd) && (cr || sr) && !(cd && cr);
}

bool cap_in_equilibrium(const Model& m, const double* res, const double* load, const double* rows,
                        double disp, int ndof, int nt, const CapNoise& noise) {
  double fmax = 0.0, mmax = 0.0;
  for (int i = 0; i < ndof; ++i) {
    double& top = i < nt ? fmax : mmax;
    top = std::max(top, std::fabs(load[i]));
  }
  mmax = std::max(mmax, fmax * noise.L);
  // The movement error the pile closures leave (the noise band), and with the alternative
  // tolerances the movements they accept, through the rows' secant stiffness.
  double e = noise.dsp;
  if (m.IALTTOL == 1) e += std::fabs(m.TOLCAPD) + std::fabs(m.TOLCAPR) * noise.L;
  const double d = std::max(disp, noise.dsp);
  for (int i = 0; i < ndof; ++i) {
    const double tol = m.TOLCAP * (i < nt ? fmax : mmax) + rows[i] / d * e;
    if (!(std::fabs(res[i]) <= tol)) return false;
  }
  return true;
}

double scaled_residual(const double* res, int ndof, int nt, double lever) {
  double s = 0.0;
  for (int i = 0; i < ndof; ++i) {
    const double r = i < nt ? res[i] : res[i] / lever;
    s += r * r;
  }
  return std::sqrt(s);
}

void line_search_failed(Model& m, int kiter, double lam) {
  m.RUNLOG.X(5).A("ITERATION ").I(kiter, 4).nl();
  m.RUNLOG.X(19).A("- LINE SEARCH: NO FRACTION DOWN TO").E(lam, 13, 5).A(" REDUCES THE RESIDUAL").nl();
  m.RUNLOG.flush();
}

void line_search_stopped(Model& m) {
  m.RUNLOG.X(19).A("- LINE SEARCH: MOVEMENTS CARRIED ACROSS ZERO STOPPED AT ZERO").nl();
  m.RUNLOG.flush();
}

void line_search_line(Model& m, double lam) {
  m.RUNLOG.X(19).A("- LINE SEARCH: ").E(lam, 13, 5).A(" OF THE NEWTON INCREMENT").nl();
  m.RUNLOG.flush();
}

}  // namespace torva
