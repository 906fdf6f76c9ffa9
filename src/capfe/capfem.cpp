#include "capfe/capfem.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "capfe/elstif.h"
#include "capfe/feinput.h"
#include "capfe/frontsol.h"
#include "capfe/loadvec.h"
#include "capfe/shapeq.h"
#include "capfe/stresout.h"
#include "input/freeread.h"
#include "model/messages.h"
#include "model/model.h"
#include "model/status.h"
#include "pile/matinv.h"

namespace torva {

namespace {

// Tolerance of the Newton iterations and the floor of the norms, single-precision values.
constexpr double FE_TOLER = double(1.0e-4f);
constexpr double FE_FLOOR = double(1.0e-10f);

void trace_nodes(PlateRun& r, const char* title, const std::vector<double>& a, const std::vector<double>* b) {
  r.FETRACE.free(title);
  for (int n = 1; n <= r.m.NPOIN; ++n) {
    r.FETRACE.I(n, 5);
    for (int i = 0; i < 6; ++i) {
      const std::size_t v = std::size_t(6 * (n - 1) + i);
      r.FETRACE.E(a[v] + (b != nullptr ? (*b)[v] : 0.0), 13, 5);
    }
    r.FETRACE.nl();
  }
}

// Opens the files that "tslab.dat" names; false (status set) when one cannot be opened.
bool open_files(PlateRun& r, TextFile& fedata) {
  Model& m = r.m;
  TextFile names;
  std::string name[5];
  bool ok = names.open_read(FENAMES_FILE);
  for (int i = 0; ok && i < 5; ++i) {
    ok = names.read_line(name[i]);
    const std::size_t e = name[i].find_last_not_of(' ');
    name[i] = e == std::string::npos ? std::string() : name[i].substr(0, e + 1);
  }
  names.close();
  auto refuse = [&](const std::string& what) {
    emit(m, TO_REPORT | TO_RUNLOG, " **** FATAL ERROR **** PLATE MODEL OF THE CAP: " + what);
    if (r.status == 0) r.why = what;
    r.fail(ST_FEMODEL);
    return false;
  };
  if (!ok) return refuse(std::string("FILE-NAME LIST ") + FENAMES_FILE + " IS MISSING OR SHORT");
  r.model_file = name[1];
  if (!fedata.open_read(name[1])) {
    std::error_code ec;
    const bool missing = !name[1].empty() && !std::filesystem::exists(name[1], ec) && !ec;
    return refuse("MODEL FILE " + name[1] + (missing ? " IS MISSING" : " CANNOT BE READ"));
  }
  auto cannot_open = [&](const std::string& path, int err) {
    r.file_failed(ST_FILEOPEN, path, err);
    return false;
  };
  TextFile* const outs[3] = {&r.FELIST, &r.FERESULT, &r.FELOG};
  for (int i = 0; i < 3; ++i)
    if (!outs[i]->open_write(name[i + 2])) return cannot_open(name[i + 2], errno);
  // The trace starts with the first plate run of a run; later runs append to it.
  const bool trace = m.IFETRC == 0 ? r.FETRACE.open_write(FETRACE_FILE) : r.FETRACE.open_append(FETRACE_FILE);
  m.IFETRC = 1;
  if (!trace) return cannot_open(FETRACE_FILE, errno);
  for (const auto& [f, path] : {std::pair{&r.FORT3, kPlateWork[1]}, {&r.FORT4, kPlateWork[2]}, {&r.FORT2, kPlateWork[0]}})
    if (!f->open(path)) return cannot_open(path, f->error());
  return true;
}

bool read_controls(PlateRun& r, FreeReader& rd) {
  Model& m = r.m;
  std::string title;
  rd.fixed_line(title, "title");
  if (rd.ok()) r.FELIST.line(title.substr(0, 72));
  rd.rec()
      .i(m.NPOIN, "NPOIN").i(m.NELEM, "NELEM").i(m.NMATS, "NMATS").i(m.NNODE, "NNODE").i(m.NGAUS, "NGAUS")
      .i(m.NVFIX, "NVFIX").i(m.NNLOD, "NNLOD").i(m.NNSTI, "NNSTI").i(m.NDLOD, "NDLOD").i(m.NDSTI, "NDSTI")
      .i(m.NCLOD, "NCLOD").i(m.NCSTI, "NCSTI").i(m.NELOD, "NELOD").i(m.NESTI, "NESTI").i(m.NCTSTI, "NCTSTI")
      .i(m.ISPRING, "ISPRING");
  rd.rec().r(m.DT, "DT").r(m.TINI, "TINI").r(m.TEND, "TEND").r(m.DTMIN, "DTMIN").i(m.MAXITER, "MAXITER");
  rd.r(m.TOLER, "TOLER");
  if (!rd.ok()) {
    refuse_record(r, rd.error());
    return false;
  }
  m.NDOFN = 6;
  m.NDIME = 2;
  m.NSTRE = 8;
  m.NTYPE = 0;
  m.NPROP = 3;
  m.NCASE = 1;
  m.NEVAB = m.NDOFN * m.NNODE;
  m.NSTRM = 3;
  m.NSTRP = 5;
  m.NEVAM = 2 * m.NNODE;
  m.NEVAP = 3 * m.NNODE;
  m.NDOFM = 2;
  m.NDOFP = 3;
  m.NDOFD = 1;
  return true;
}

// Increments that bring every restrained variable (code 1) to its prescribed value times
// the load factor: zero once it is there, so a prescribed displacement is imposed once
// and not again in every iteration.
void prescribed_increments(PlateRun& r, double lfact) {
  std::fill(r.FIXINC.begin(), r.FIXINC.end(), 0.0);
  for (int k = 1; k <= r.m.NVFIX; ++k) {
    const int n = r.NOFIX[std::size_t(k - 1)];
    for (int i = 1; i <= 6; ++i) {
      const std::size_t v = std::size_t(6 * (n - 1) + i - 1);
      if (r.IFPRE(i, k) == 1) r.FIXINC[v] = r.PRESC(i, k) * lfact - (r.ASDIS[v] + r.TSDIS[v]);
    }
  }
}

// The stepping ended below the final pseudo-time: the step that needed an increment
// below the smallest, and the last converged state, on the results report and the run log.
void increment_warning(PlateRun& r, double tfail, double tlast) {
  const Model& m = r.m;
  std::string a = "     ** WARNING **  PLATE MODEL OF THE CAP: REQUIRED INCREMENT LESS THAN MINIMUM SPECIFIED";
  std::string b = "                    STEP TO TCUR =";
  put_F(b, tfail, 10, 4);
  b += " NOT CONVERGED, HALVED DT =";
  put_F(b, m.DTCUR, 10, 4);
  b += " BELOW DTMIN =";
  put_F(b, m.DTMIN, 10, 4);
  std::string c = "                    LAST CONVERGED AT TCUR =";
  put_F(c, tlast, 10, 4);
  c += " (TEND =";
  put_F(c, m.TEND, 10, 4);
  c += ")";
  emit(r.m, TO_REPORT | TO_RUNLOG, "");
  for (const std::string* l : {&a, &b, &c}) emit(r.m, TO_REPORT | TO_RUNLOG, *l);
}

void stepping(PlateRun& r) {
  Model& m = r.m;
  const int nv = 6 * m.NPOIN;
  double tlast = m.TINI;  // pseudo-time of the last converged state
  while (m.TCUR <= m.TEND) {
    std::string line = "STEP ";
    put_I(line, m.KSTEP, 5);
    line += "   TCUR   =";
    put_F(line, m.TCUR, 10, 4);
    line += "  DT = ";
    put_F(line, m.DTCUR, 10, 4);
    for (TextFile* f : {&r.FELOG, &r.FETRACE}) f->nl().line(line);
    m.ITER = 0;
    VFILL(r.TSDIS.data(), nv, 0.0);
    bool converged = false;
    for (;;) {
      if (r.stop && r.stop()) {
        r.fail(ST_STOP);
        return;
      }
      VFILL(r.ELVEC.col(1), m.NEVAB * m.NELEM, 0.0);
      VFILL(r.DSDIS.data(), nv, 0.0);
      if (!ELSTIF(r)) return;
      r.FETRACE.free("ITER = " + std::to_string(m.ITER) + " " + std::to_string(m.KSTEP));
      if (!LOADVEC(r)) return;
      VFILL(r.GLOBV.data(), nv, 0.0);
      ASSEMV(r, r.GLOBV);
      double rhs = 0.0, rrhs = 0.0;
      NORM6(r.GLOBV.data(), rhs, rrhs, nv);
      VFILL(r.GLOBV.data(), nv, 0.0);
      prescribed_increments(r, load_factor(r));
      if (!FRONTSOL(r)) return;
      trace_nodes(r, "DSDIS", r.DSDIS, nullptr);
      VADD(r.TSDIS.data(), r.DSDIS.data(), nv);
      trace_nodes(r, "TSDIS", r.TSDIS, nullptr);
      trace_nodes(r, "ASDIS + TSDIS", r.ASDIS, &r.TSDIS);
      double d = 0.0, rr = 0.0, u = 0.0, ru = 0.0;
      NORM6(r.DSDIS.data(), d, rr, nv);
      NORM6(r.TSDIS.data(), u, ru, nv);
      ++m.ITER;
      const double err1 = u != 0.0 ? d / u : d;
      const double err2 = ru != 0.0 ? rr / ru : rr;
      for (TextFile* f : {&r.FELOG, &r.FETRACE}) {
        f->A("ITER =").I(m.ITER, 5).A(" ERR1 =").E(err1, 11, 4).A(" D = ").E(d, 11, 4).A(" U =").E(u, 11, 4);
        f->A(" RHS = ").E(rhs, 11, 4).nl();
        f->A("      ").X(5).A(" ERR2 =").E(err2, 11, 4).A(" R = ").E(rr, 11, 4).A(" RU=").E(ru, 11, 4);
        f->A(" RRHS= ").E(rrhs, 11, 4).nl();
      }
      if (m.ITER == 1) continue;
      converged = (err1 <= m.TOLER || d <= FE_FLOOR || u <= FE_FLOOR || rhs <= FE_FLOOR) &&
                  (err2 <= m.TOLER || rr <= FE_FLOOR || ru <= FE_FLOOR || rrhs <= FE_FLOOR);
      if (converged || m.ITER > m.MAXITER) break;
    }
    if (converged) {
      VADD(r.ASDIS.data(), r.TSDIS.data(), nv);
      REACOUT(r);
      if (!STRESOUT(r)) return;
      tlast = m.TCUR;
      ++r.steps;
      r.reached = load_factor(r);
      r.complete = tlast == m.TEND;
      if (m.TCUR + m.DTCUR > m.TEND && m.TEND > (m.TCUR + m.DTCUR) - m.DTCUR) {
        m.TCUR = m.TEND;
      } else {
        m.TCUR = m.TCUR + m.DTCUR;
      }
      ++m.KSTEP;
      if (tlast == m.TEND) break;  // the step that ended at TEND was the last
      continue;
    }
    const double tfail = m.TCUR;
    m.DTCUR = 0.5 * m.DTCUR;
    if (m.DTMIN > m.DTCUR) {
      r.FELOG.line("error, REQUIRED INCREMENT LESS THAN MINIMUM SPECIFIED");
      increment_warning(r, tfail, tlast);
      r.cut = true;
      return;
    }
    // The step restarts from the last converged state with the halved increment (never
    // from below it, and never beyond the end time).
    m.TCUR = std::min(tlast + m.DTCUR, m.TEND);
  }
}

// The pile heads at the final displacement of the plate on the listing: displacements and
// the forces of each pile on the cap, in the pile-row axes (X down, Y, Z), pile i being
// pile row i.
void pile_heads(PlateRun& r, const std::vector<double>& heads) {
  TextFile& f = r.FELIST;
  const char* title[2] = {"PILE HEAD DISPLACEMENTS (PILE-ROW AXES: X DOWN, Y, Z)",
                          "PILE HEAD FORCES ON THE CAP (PILE-ROW AXES: X DOWN, Y, Z)"};
  const char* head[2] = {"      PILE     X-DISP        Y-DISP        Z-DISP        X-ROT.        Y-ROT.        Z-ROT.",
                         "      PILE    X-FORCE       Y-FORCE       Z-FORCE      X-MOMENT      Y-MOMENT      Z-MOMENT"};
  for (int b = 0; b < 2; ++b) {
    f.nl().A(" ").X(5).A(title[b]).nl().nl().line(head[b]);
    for (int q = 1; q <= r.m.NCTSTI; ++q) {
      f.I(q, 10);
      for (int i = 0; i < 6; ++i) f.E(heads[std::size_t(12 * (q - 1) + 6 * b + i)], 14, 6);
      f.nl();
    }
  }
}

}  // namespace

bool PILEFIN(PlateRun& r) {
  Model& m = r.m;
  if (!(m.ISPRING > 0 && m.NCTSTI >= 1)) return true;
  double t[36], a[36];
  PILEAX(t);
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) a[i + j * 6] = t[j + i * 6];
  r.FETRACE.free("ITER = " + std::to_string(m.ITER));
  // Head displacement and force of every pile, listed after the pass.
  std::vector<double> heads(std::size_t(12 * m.NCTSTI), 0.0);
  for (int q = 1; q <= m.NCTSTI; ++q) {
    const int e = r.PIEL[std::size_t(q - 1)];
    SHAPEQ(r.w, r.PIXY(1, q), r.PIXY(2, q), m.NNODE);
    double ui[6] = {0, 0, 0, 0, 0, 0}, up[6], f[6];
    for (int k = 1; k <= m.NNODE; ++k) {
      const std::size_t b = std::size_t(6 * (r.LNODS(k, e) - 1));
      for (int i = 0; i < 6; ++i) ui[i] += r.w.SHPVAL(k) * r.ASDIS[b + std::size_t(i)];
    }
    MATVEC6N(up, a, ui, 1);
    r.FETRACE.free(std::to_string(q));
    r.FETRACE.A("DDD  ");
    for (double v : ui) r.FETRACE.E(v, 13, 5);
    r.FETRACE.nl().A("DD2  ");
    for (double v : up) r.FETRACE.E(v, 13, 5);
    r.FETRACE.nl();
    int pstat = 0;
    r.piles.force(m, q, f, up, pstat);
    if (pstat != 0) {
      r.fail(pstat);
      return false;
    }
    for (int i = 0; i < 6; ++i) {
      heads[std::size_t(12 * (q - 1) + i)] = up[i];
      heads[std::size_t(12 * (q - 1) + 6 + i)] = f[i];
    }
  }
  pile_heads(r, heads);
  return true;
}

void run_plate_program(PlateRun& r) {
  Model& m = r.m;
  TextFile fedata;
  if (open_files(r, fedata)) {
    FileLines src(fedata);
    FreeReader rd(src);
    rd.section("PLATE MODEL");
    if (read_controls(r, rd) && check_cap_controls(r, rd) && FEINPUT(r, rd, src)) {
      fedata.close();
      m.DTCUR = m.DT;
      m.TCUR = m.TINI + m.DT;
      m.KSTEP = 1;
      m.TOLER = FE_TOLER;
      stepping(r);
      if (r.status == 0 && m.KSTEP > 1) PILEFIN(r);
      r.FERESULT.line("END_STEP_DATA");
    }
  }
  // A file that failed is named by the caller (see plate_file_failed).
  if (r.status != 0 && r.status != ST_FILEOPEN && r.status != ST_FILEWRITE && r.status != ST_FEMODEL &&
      r.status != ST_STOP) {
    if (r.why.empty() && r.status != ST_FESOLVE) r.why = "A PILE SOLUTION FAILED, SEE ABOVE";
    emit(m, TO_REPORT | TO_RUNLOG,
         " **** FATAL ERROR **** PLATE MODEL OF THE CAP CANNOT BE SOLVED" + (r.why.empty() ? "" : ": " + r.why));
  } else if (r.status == ST_FEMODEL && r.FELIST.is_open() && r.why.empty()) {
    r.why = "REFUSED, SEE ITS LISTING " + r.FELIST.path();
    emit(m, TO_REPORT | TO_RUNLOG, " **** FATAL ERROR **** PLATE MODEL OF THE CAP " + r.why);
  }
  // The end of the run log says what failed.
  if ((r.status == ST_FEMODEL || r.status == ST_FESOLVE) && m.ERRTEXT.empty() && !r.why.empty())
    m.ERRTEXT = r.why;
  for (TextFile* f : {&r.FELIST, &r.FERESULT, &r.FELOG, &r.FETRACE}) {
    f->close();
    if (f->write_failed()) r.file_failed(ST_FILEWRITE, *f);
  }
  r.FORT2.close();
  r.FORT3.close();
  r.FORT4.close();
}

void plate_file_failed(Model& m, int& status, int code, const std::string& path, int err) {
  // After the run's first failure the file is only named beside it.
  if (status != ST_OK && status != ST_STOP) return file_failed(m, status, code, path, err);
  std::string l = " **** FATAL ERROR **** PLATE MODEL OF THE CAP: A FILE CANNOT BE ";
  l += code == ST_FILEOPEN ? "OPENED: " : "WRITTEN: ";
  l += shown_path(path);
  if (err != 0) l += ": " + upper_reason(err);
  emit(m, TO_REPORT | TO_RUNLOG, l);
  file_failed(m, status, code, path, err);
}

void CAPFEM(Model& m, const PileSprings& piles, int& status, PlateOutcome* outcome,
            const std::function<bool()>& stop) {
  PlateRun r(m, piles);
  r.stop = stop;
  r.piles_are_rows = true;
  run_plate_program(r);
  if (r.status == ST_FILEOPEN || r.status == ST_FILEWRITE)
    plate_file_failed(m, status, r.status, r.failed_file, r.failed_errno);
  else if (r.status != 0 && status == 0)
    status = r.status;
  for (const auto& [path, err] : r.also_failed) file_failed(m, status, ST_FILEWRITE, path, err);
  if (outcome != nullptr) *outcome = {r.status == 0, r.steps, r.reached, r.complete, r.cut};
}

}  // namespace torva
