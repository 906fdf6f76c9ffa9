#include "capfe/feinput.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>

#include "capfe/shapeq.h"
#include "input/freeread.h"
#include "input/inputcheck.h"
#include "model/messages.h"
#include "model/model.h"
#include "model/status.h"

namespace torva {

namespace {

// Single-precision tolerances of the point location.
constexpr double LOC_TOL = double(1.0e-10f);
constexpr double NODE_TOL = double(1.0e-30f);

// Error numbers after the control-data checks (1 to 12) and the mesh checks (13 to 24):
// counts below zero, step values, material values, references out of range, points in no
// element, more piles than pile rows.
constexpr int E_COUNTS = 25, E_DT = 26, E_DTMIN = 27;
// Misplaced pile records reported one by one before the rest are only counted.
constexpr int kMaxRefused = 20;

constexpr int E_MATERIAL = 28, E_BADREF = 29, E_NOELEM = 30, E_PILEROWS = 31;

void blank_lines(TextFile& f, int n) {
  for (int i = 0; i < n; ++i) f.nl();
}

// Lists the lines of the model file not read yet, then refuses the model.
void post_disaster(PlateRun& r, LineSource& src) {
  blank_lines(r.FELIST, 2);
  r.FELIST.line(" NOW FOLLOWING A LISTING OF POST-DISASTER DATA CARDS");
  r.FELIST.nl();
  std::string line;
  while (src.next(line)) {
    line.resize(80, ' ');
    r.FELIST.X(5).line(line);
  }
  r.fail(ST_FEMODEL);
}

bool read_failed(PlateRun& r, FreeReader& rd) {
  if (rd.ok()) return false;
  refuse_record(r, rd.error());
  return true;
}

bool in(int v, int lo, int hi) { return lo <= v && v <= hi; }

void echo_values(TextFile& f, int label, const double* v) {
  f.X(1).I(label, 7).X(2);
  for (int i = 0; i < 6; ++i) f.E(v[i], 13, 5);
  f.nl();
}

void echo_point(TextFile& f, double x, double y, const double* v) {
  f.X(1).F(x, 10, 4).F(y, 10, 4).X(2);
  for (int i = 0; i < 6; ++i) f.E(v[i], 13, 5);
  f.nl();
}

void echo_edge(TextFile& f, const int* k, const double* v) {
  for (int i = 0; i < 3; ++i) f.I(k[i], 8);
  f.X(2);
  for (int i = 0; i < 3; ++i) f.E(v[i], 13, 5);
  f.nl();
}

}  // namespace

void refuse_record(PlateRun& r, const ReadError& e) {
  for (TextFile* f : {&r.FELIST, &r.FELOG}) {
    f->nl();
    f->A(" *** PLATE MODEL FILE, LINE ").I(e.line, 6).A(": ").A(e.field);
    if (e.kind == ReadFail::invalid)
      f->A(" FOUND ").A(e.found).A(", ALLOWED ").A(e.expected);
    else
      f->A(e.kind == ReadFail::end_of_file ? " MISSING (END OF FILE)" : " UNREADABLE ").A(e.found);
    f->nl();
  }
  report_read_error(r.m, e, "PLATE MODEL FILE: " + r.model_file);
  if (r.status == 0) {
    r.why = "PLATE MODEL FILE " + r.model_file + ", LINE " + std::to_string(e.line) + ", FIELD " + e.field;
    r.why += e.kind == ReadFail::invalid ? ": FOUND " + e.found + ", ALLOWED " + e.expected
                                         : (e.kind == ReadFail::end_of_file ? ": MISSING" : ": UNREADABLE");
  }
  r.fail(ST_FEMODEL);
}

bool check_cap_controls(PlateRun& r, const FreeReader& rd) {
  const Model& m = r.m;
  if (!r.piles_are_rows) return true;
  if (m.ISPRING <= 0) {
    refuse_record(r, rd.make_invalid("ISPRING", std::to_string(m.ISPRING),
                                     "1: THE PILE ROWS OF THE INPUT CARRY THE CAP AS SPRINGS"));
    return false;
  }
  if (m.NCTSTI != m.NROW) {
    refuse_record(r, rd.make_invalid("NCTSTI", std::to_string(m.NCTSTI),
                                     std::to_string(m.NROW) + ": ONE PILE RECORD PER PILE ROW OF THE INPUT (" +
                                         std::to_string(m.NROW) + " ROWS)"));
    return false;
  }
  return true;
}

bool check_cap_piles(PlateRun& r, const FreeReader& rd) {
  const Model& m = r.m;
  if (!r.piles_are_rows || m.NCTSTI <= 0 || m.NPOIN <= 0) return true;
  // The tolerance: a thousandth of the plate's larger plan dimension.
  double x0 = r.COORD(1, 1), x1 = x0, y0 = r.COORD(2, 1), y1 = y0;
  for (int n = 2; n <= m.NPOIN; ++n) {
    x0 = std::min(x0, r.COORD(1, n));
    x1 = std::max(x1, r.COORD(1, n));
    y0 = std::min(y0, r.COORD(2, n));
    y1 = std::max(y1, r.COORD(2, n));
  }
  const double tol = 1.0e-3 * std::max(x1 - x0, y1 - y0);
  int misplaced = 0;
  for (int q = 1; q <= m.NCTSTI; ++q) {
    // Plate x is the row's Z, plate y its Y.
    const double hx = m.CORZ(q), hy = m.CORY(q);
    const double px = r.PIXY(1, q), py = r.PIXY(2, q);
    const double d = std::hypot(px - hx, py - hy);
    if (d <= tol) continue;
    const std::string row = std::to_string(q);
    ReadError e = rd.make_invalid(Fid("X OF PILE", q), real_text(px) + ", " + real_text(py) + ", " + real_text(d) +
                                                           " FROM THE HEAD OF PILE ROW " + row,
                                  "THE HEAD OF PILE ROW " + row + " (X = ITS Z = " + real_text(hx) + ", Y = ITS Y = " +
                                      real_text(hy) + ") WITHIN " + real_text(tol) +
                                      ": PILE RECORD I IS PILE ROW I, IN ROW ORDER");
    e.field = "X, Y OF PILE RECORD " + row;
    if (++misplaced <= kMaxRefused) refuse_record(r, e);
  }
  if (misplaced > kMaxRefused)
    emit(r.m, TO_REPORT | TO_RUNLOG, "     " + std::to_string(misplaced - kMaxRefused) + " FURTHER PILE RECORDS AWAY FROM THEIR ROWS");
  return misplaced == 0;
}

bool size_tables(PlateRun& r) {
  const Model& m = r.m;
  auto n0 = [](int n) { return n > 0 ? n : 0; };
  try {
    const std::size_t ne = std::size_t(n0(m.NELEM)), np = std::size_t(n0(m.NPOIN));
    const std::size_t nev = std::size_t(n0(m.NEVAB));
    if (ne > 0 && nev * nev > (std::size_t(1) << 40) / ne) throw std::bad_alloc();
    r.ELLAB.assign(ne, 0);
    r.MATNO.assign(ne, 0);
    r.LNODS.resize(m.NNODE, m.NELEM);
    r.NODLAB.assign(np, 0);
    r.COORD.resize(2, m.NPOIN);
    r.NOFIX.assign(std::size_t(n0(m.NVFIX)), 0);
    r.IFPRE.resize(6, m.NVFIX);
    r.PRESC.resize(6, m.NVFIX);
    r.PROPS.resize(3, m.NMATS);
    r.NLNOD.assign(std::size_t(n0(m.NNLOD)), 0);
    r.NLVAL.resize(6, m.NNLOD);
    r.NSNOD.assign(std::size_t(n0(m.NNSTI)), 0);
    r.NSVAL.resize(6, m.NNSTI);
    r.DLEL.assign(std::size_t(n0(m.NDLOD)), 0);
    r.DLVAL.resize(6, m.NDLOD);
    r.DSEL.assign(std::size_t(n0(m.NDSTI)), 0);
    r.DSVAL.resize(6, m.NDSTI);
    r.PLXY.resize(2, m.NCLOD);
    r.PLEL.assign(std::size_t(n0(m.NCLOD)), 0);
    r.PLVAL.resize(6, m.NCLOD);
    r.PSXY.resize(2, m.NCSTI);
    r.PSEL.assign(std::size_t(n0(m.NCSTI)), 0);
    r.PSVAL.resize(6, m.NCSTI);
    r.ELINT.resize(3, m.NELOD);
    r.ELDVAL.resize(3, m.NELOD);
    r.ESINT.resize(3, m.NESTI);
    r.ESVAL.resize(3, m.NESTI);
    r.PIXY.resize(2, m.NCTSTI);
    r.PIEL.assign(std::size_t(n0(m.NCTSTI)), 0);
    r.ELMAT.assign(ne * nev * nev, 0.0);
    r.ELVEC.resize(m.NEVAB, m.NELEM);
    for (auto* v : {&r.GLOBV, &r.DSDIS, &r.TSDIS, &r.ASDIS, &r.FIXINC}) v->assign(6 * np, 0.0);
    r.STRSUM.resize(8, m.NPOIN);
    r.STRWT.assign(np, 0.0);
    r.STREXACT.assign(np, 0);
  } catch (const std::exception&) {  // bad_alloc or a length beyond what a vector holds
    r.FELIST.line(" *** PLATE MODEL TOO LARGE: ITS WORK ARRAYS CANNOT BE HELD IN MEMORY");
    r.FELOG.line(" *** PLATE MODEL TOO LARGE: ITS WORK ARRAYS CANNOT BE HELD IN MEMORY");
    r.fail(ST_FEMODEL);
    return false;
  }
  return true;
}

bool CHECK1(PlateRun& r, LineSource& src) {
  const Model& m = r.m;
  bool err[32] = {};
  err[1] = m.NPOIN <= 0;
  err[2] = m.NPOIN > static_cast<long long>(m.NELEM) * m.NNODE;
  err[3] = m.NVFIX < 0 || m.NVFIX > m.NPOIN;
  err[4] = m.NCASE <= 0;
  err[5] = !in(m.NTYPE, 0, 2);
  // Only the 4-, 8- and 9-node quadrilaterals have shape functions.
  err[6] = m.NNODE != 4 && m.NNODE != 8 && m.NNODE != 9;
  err[7] = !in(m.NDOFN, 2, 6);
  err[8] = m.NMATS <= 0 || m.NMATS > m.NELEM;
  err[9] = !in(m.NPROP, 3, 5);
  err[10] = !in(m.NGAUS, 1, 3);
  err[11] = !in(m.NDIME, 1, 3);
  err[12] = !in(m.NSTRE, 2, 8);
  err[E_COUNTS] = m.NNLOD < 0 || m.NNSTI < 0 || m.NDLOD < 0 || m.NDSTI < 0 || m.NCLOD < 0 ||
                  m.NCSTI < 0 || m.NELOD < 0 || m.NESTI < 0 || m.NCTSTI < 0;
  // A step that does not advance the pseudo-time, or halving without a floor, never ends.
  err[E_DT] = !(m.DT > 0.0);
  err[E_DTMIN] = !(m.DTMIN > 0.0);
  bool any = false;
  for (int k = 1; k < 32; ++k) {
    if (!err[k]) continue;
    any = true;
    for (TextFile* f : {&r.FELOG, &r.FELIST}) {
      blank_lines(*f, 2);
      f->A(" *** DIAGNOSIS BY CHECK1, ERROR").I(k, 3).nl();
    }
  }
  if (any) post_disaster(r, src);
  return !any;
}

bool CHECK2(PlateRun& r, LineSource& src, int nbadref) {
  Model& m = r.m;
  const int nn = m.NNODE;
  int nerr[32] = {};
  m.FRONTCAP = 60;
  std::vector<int> nfront(std::size_t(m.NELEM) + 2, 0);
  for (int i = 1; i <= m.NPOIN; ++i)
    for (int j = i + 1; j <= m.NPOIN; ++j)
      if (r.COORD(1, i) == r.COORD(1, j) && r.COORD(2, i) == r.COORD(2, j)) ++nerr[13];
  for (int e = 1; e <= m.NELEM; ++e) {
    const int p = r.MATNO[std::size_t(e - 1)];
    if (p < 1 || p > m.NMATS) ++nerr[14];
    for (int k = 1; k <= nn; ++k) {
      const int n = r.LNODS(k, e);
      if (n == 0) {
        ++nerr[15];
      } else if (n < 0 || n > m.NPOIN) {
        ++nerr[16];
      }
    }
  }
  for (int n = 1; n <= m.NPOIN; ++n) {
    int first = 0, last = 0, lastk = 0;
    for (int e = 1; e <= m.NELEM; ++e) {
      int seen = 0;
      for (int k = 1; k <= nn; ++k) {
        if (std::abs(r.LNODS(k, e)) != n || r.LNODS(k, e) == 0) continue;
        if (seen++ > 0) ++nerr[17];
        if (first == 0) first = e;
        last = e;
        lastk = k;
      }
    }
    if (first != 0) {
      nfront[std::size_t(first)] += m.NDOFN;
      if (last < m.NELEM) nfront[std::size_t(last) + 1] -= m.NDOFN;
      r.LNODS(lastk, last) = -n;
    } else {
      r.FELIST.nl();
      r.FELIST.A(" CHECK WHY NODE").I(n, 4).A(" NEVER APPEARS").nl();
      ++nerr[18];
      if (std::abs(r.COORD(1, n)) + std::abs(r.COORD(2, n)) > NODE_TOL) ++nerr[19];
      for (int j = 1; j <= m.NVFIX; ++j)
        if (r.NOFIX[std::size_t(j - 1)] == n) ++nerr[20];
    }
  }
  int front = 0, maxfront = 0;
  for (int e = 1; e <= m.NELEM; ++e) {
    front += nfront[std::size_t(e)];
    if (front > maxfront) maxfront = front;
  }
  blank_lines(r.FELIST, 2);
  r.FELIST.A(" MAXIMUM FRONTWIDTH ENCOUNTERED =").I(maxfront, 5).nl();
  if (maxfront > 60) m.FRONTCAP = maxfront + 1;
  for (int j = 1; j <= m.NVFIX; ++j) {
    const int n = r.NOFIX[std::size_t(j - 1)];
    if (n < 1 || n > m.NPOIN) ++nerr[22];
    bool fixed = false;
    for (int i = 1; i <= m.NDOFN; ++i) fixed = fixed || r.IFPRE(i, j) > 0;
    if (!fixed) ++nerr[23];
    for (int k = 1; k < j; ++k)
      if (r.NOFIX[std::size_t(k - 1)] == n) ++nerr[24];
  }
  // Materials that would divide by zero or give no stiffness.
  for (int k = 1; k <= m.NMATS; ++k) {
    const double e = r.PROPS(1, k), nu = r.PROPS(2, k), t = r.PROPS(3, k);
    if (!(e > 0.0) || !(t > 0.0) || !(nu > -1.0 && nu <= 0.5)) ++nerr[E_MATERIAL];
  }
  nerr[E_BADREF] += nbadref;
  // Points that no element holds would lose their load, spring or pile.
  for (int q = 1; q <= m.NCLOD; ++q) nerr[E_NOELEM] += r.PLEL[std::size_t(q - 1)] == 0;
  for (int q = 1; q <= m.NCSTI; ++q) nerr[E_NOELEM] += r.PSEL[std::size_t(q - 1)] == 0;
  for (int q = 1; q <= m.NCTSTI; ++q) nerr[E_NOELEM] += r.PIEL[std::size_t(q - 1)] == 0;
  // Pile i of the plate is pile row i of the run.
  if (m.ISPRING > 0 && m.NCTSTI > m.NROW) nerr[E_PILEROWS] = m.NCTSTI - m.NROW;
  bool any = false;
  for (int k = 13; k < 32; ++k) {
    if (nerr[k] == 0) continue;
    any = true;
    blank_lines(r.FELIST, 2);
    r.FELIST.A(" *** DIAGNOSIS BY CHECK2, ERROR").I(k, 3).X(6).A(" ASSOCIATED NUMBER").I(nerr[k], 5).nl();
  }
  for (int e = 1; e <= m.NELEM; ++e)
    for (int k = 1; k <= nn; ++k) r.LNODS(k, e) = std::abs(r.LNODS(k, e));
  if (any) {
    for (int k = 13; k < 32; ++k)
      if (nerr[k] != 0) {
        r.FELOG.A(" *** DIAGNOSIS BY CHECK2, ERROR").I(k, 3).X(6).A(" ASSOCIATED NUMBER").I(nerr[k], 5).nl();
      }
    post_disaster(r, src);
  }
  return !any;
}

void PNTLOC(PlateRun& r, int count, Dyn2<double>& xy, std::vector<int>& elem) {
  Model& m = r.m;
  FEWORK& w = r.w;
  const int nn = m.NNODE;
  for (int q = 1; q <= count; ++q) elem[std::size_t(q - 1)] = 0;
  int nloc = 0;
  for (int e = 1; e <= m.NELEM && nloc < count; ++e) {
    double ex[9], ey[9];
    for (int k = 1; k <= nn; ++k) {
      const int n = r.LNODS(k, e);
      ex[k - 1] = r.COORD(1, n);
      ey[k - 1] = r.COORD(2, n);
    }
    for (int q = 1; q <= count; ++q) {
      if (elem[std::size_t(q - 1)] != 0) continue;
      const double px = xy(1, q), py = xy(2, q);
      double s = 0.0, t = 0.0;
      for (int it = 1; it <= 50; ++it) {
        SHAPEQ(w, s, t, nn);
        double x = 0.0, y = 0.0, xs = 0.0, ys = 0.0, xt = 0.0, yt = 0.0;
        for (int k = 1; k <= nn; ++k) {
          x += w.SHPVAL(k) * ex[k - 1];
          y += w.SHPVAL(k) * ey[k - 1];
          xs += w.SHPDER(1, k) * ex[k - 1];
          ys += w.SHPDER(1, k) * ey[k - 1];
          xt += w.SHPDER(2, k) * ex[k - 1];
          yt += w.SHPDER(2, k) * ey[k - 1];
        }
        // Newton step of the isoparametric map by Cramer's rule, so that elements whose
        // natural axes lie along any direction of the plan are searched alike.
        const double det = xs * yt - ys * xt;
        if (det == 0.0 || !std::isfinite(det)) break;
        const double rx = px - x, ry = py - y;
        const double dt = (ry * xs - ys * rx) / det;
        const double ds = (rx * yt - xt * ry) / det;
        s += ds;
        t += dt;
        if (it == 1) continue;
        // Natural coordinates are of order one: an absolute change settles them, also on
        // the element's centre lines where s or t tends to zero.
        if (std::abs(ds) < LOC_TOL && std::abs(dt) < LOC_TOL) {
          const double lim = 1.0 + LOC_TOL;
          if (std::abs(s) <= lim && std::abs(t) <= lim) {
            elem[std::size_t(q - 1)] = e;
            xy(1, q) = std::max(-1.0, std::min(1.0, s));
            xy(2, q) = std::max(-1.0, std::min(1.0, t));
            ++nloc;
          }
          break;
        }
      }
    }
  }
}

bool FEINPUT(PlateRun& r, FreeReader& rd, LineSource& src) {
  Model& m = r.m;
  TextFile& L = r.FELIST;
  // Control echo.
  blank_lines(L, 2);
  L.A(" NPOIN =").I(m.NPOIN, 4).X(4).A(" NELEM =").I(m.NELEM, 4).X(4).A(" NVFIX =").I(m.NVFIX, 4).X(4);
  L.A(" NCASE =").I(m.NCASE, 4).X(4).A(" NTYPE =").I(m.NTYPE, 4).X(4).A(" NNODE =").I(m.NNODE, 4).X(4);
  L.A(" NDOFN =").I(m.NDOFN, 4).nl().nl();
  L.A(" NMATS =").I(m.NMATS, 4).X(4).A(" NPROP =").I(m.NPROP, 4).X(4).A(" NGAUS =").I(m.NGAUS, 4).X(4);
  L.A(" NDIME =").I(m.NDIME, 4).X(4).A(" NSTRE =").I(m.NSTRE, 4).X(4).A(" NEVAB =").I(m.NEVAB, 4).nl();
  L.nl();
  L.A(" NNLOD =").I(m.NNLOD, 4).X(4).A(" NNSTI =").I(m.NNSTI, 4).X(4).A(" NDLOD =").I(m.NDLOD, 4).X(4);
  L.A(" NDSTI =").I(m.NDSTI, 4).X(4).A(" NCLOD =").I(m.NCLOD, 4).X(4).A(" NCSTI =").I(m.NCSTI, 4);
  L.A(" NCTSTI =").I(m.NCTSTI, 4).nl();
  L.nl();
  L.A("    DT =").F(m.DT, 10, 4).X(4).A("  TINI =").F(m.TINI, 10, 4).X(4).A(" TEND  =").F(m.TEND, 10, 4).X(4);
  L.A(" DTMIN =").F(m.DTMIN, 10, 4).X(4).A(" MAXITER =").I(m.MAXITER, 5).nl();
  if (!CHECK1(r, src)) return false;
  if (!size_tables(r)) return false;

  int nbad = 0;  // references out of range, counted as they are read and never stored
  const int nn = m.NNODE;
  // Elements.
  blank_lines(L, 2);
  L.A(" ELEMENT").X(3).A("PROPERTY").X(6).A("NODE NUMBERS").nl();
  for (int q = 1; q <= m.NELEM; ++q) {
    int ie = 0, lab = 0, prop = 0;
    int nod[9] = {};
    rd.rec().i(ie, "element number").i(lab, "element label").i(prop, "property number");
    for (int k = 0; k < nn; ++k) rd.i(nod[k], Fid("node number", k + 1));
    if (read_failed(r, rd)) return false;
    if (!in(ie, 1, m.NELEM)) {
      ++nbad;
    } else {
      r.ELLAB[std::size_t(ie - 1)] = lab;
      r.MATNO[std::size_t(ie - 1)] = prop;
      for (int k = 1; k <= nn; ++k) r.LNODS(k, ie) = nod[k - 1];
    }
    int col = 0;
    auto put = [&](int v) {
      L.I(v, 8);
      if (++col == 12) {
        L.nl();
        col = 0;
      }
    };
    put(lab);
    put(prop);
    for (int k = 0; k < nn; ++k) put(nod[k]);
    if (col != 0) L.nl();
  }
  // Nodes, until the record of the last node.
  blank_lines(L, 2);
  L.line("   NODAL POINT COORDINATES");
  L.A("     NODE").X(10).A("X").X(12).A("Y").nl();
  for (;;) {
    int ip = 0, lab = 0;
    double x = 0.0, y = 0.0;
    rd.rec().i(ip, "node number").i(lab, "node label").r(x, "X").r(y, "Y");
    if (read_failed(r, rd)) return false;
    if (!in(ip, 1, m.NPOIN)) {
      ++nbad;
      continue;
    }
    r.NODLAB[std::size_t(ip - 1)] = lab;
    r.COORD(1, ip) = x;
    r.COORD(2, ip) = y;
    if (ip == m.NPOIN) break;
  }
  auto label = [&](int n) { return in(n, 1, m.NPOIN) ? r.NODLAB[std::size_t(n - 1)] : n; };
  auto elabel = [&](int e) { return in(e, 1, m.NELEM) ? r.ELLAB[std::size_t(e - 1)] : e; };
  for (int n = 1; n <= m.NPOIN; ++n) L.X(1).I(r.NODLAB[std::size_t(n - 1)], 8).F(r.COORD(1, n), 13, 4).F(r.COORD(2, n), 13, 4).nl();
  // Restraints.
  blank_lines(L, 2);
  L.line(" RESTRAINED NODES");
  L.A("    NODF").X(1).A(" CODF ").X(6).A("FIXED VALUES").nl();
  for (int q = 1; q <= m.NVFIX; ++q) {
    int n = 0;
    rd.rec().i(n, "restrained node");
    for (int i = 1; i <= 6; ++i) rd.i(r.IFPRE(i, q), Fid("restraint code", i));
    for (int i = 1; i <= 6; ++i) rd.r(r.PRESC(i, q), Fid("prescribed value", i));
    if (read_failed(r, rd)) return false;
    r.NOFIX[std::size_t(q - 1)] = n;
    L.X(1).I(label(n), 7).X(2);
    for (int i = 1; i <= 6; ++i) L.I(r.IFPRE(i, q), 1);
    for (int i = 1; i <= 6; ++i) L.E(r.PRESC(i, q), 13, 5);
    L.nl();
  }
  // Materials.
  blank_lines(L, 2);
  L.line("  MATERIAL PROPERTIES");
  L.A("  NUMBER").X(7).A("YOUNG MODULUS POISSON RATIO").A("   THICKNESS   ").nl();
  for (int q = 1; q <= m.NMATS; ++q) {
    int k = 0;
    double v[3] = {};
    rd.rec().i(k, "material number").r(v[0], "Young's modulus").r(v[1], "Poisson's ratio").r(v[2], "thickness");
    if (read_failed(r, rd)) return false;
    if (in(k, 1, m.NMATS)) {
      for (int i = 1; i <= 3; ++i) r.PROPS(i, k) = v[i - 1];
    } else {
      ++nbad;
    }
    L.X(1).I(k, 5).X(7).E(v[0], 14, 6).E(v[1], 14, 6).E(v[2], 14, 6).nl();
  }
  // Nodal and distributed loads and stiffnesses: a node or an element number, six values.
  auto numbered = [&](int count, const char* head, bool by_node, std::vector<int>& refs, Dyn2<double>& val) {
    if (count <= 0) return true;
    const int limit = by_node ? m.NPOIN : m.NELEM;
    blank_lines(L, 2);
    L.line(head);
    L.A(by_node ? "    NODE," : "  ELEMENT").X(6).A("     VALUES").nl();
    for (int q = 1; q <= count; ++q) {
      int k = 0;
      rd.rec().i(k, by_node ? "node number" : "element number");
      for (int i = 1; i <= 6; ++i) rd.r(val(i, q), Fid("value", i));
      if (read_failed(r, rd)) return false;
      if (!in(k, 1, limit)) ++nbad;
      refs[std::size_t(q - 1)] = in(k, 1, limit) ? k : 0;
      echo_values(L, by_node ? label(k) : elabel(k), val.col(q));
    }
    return true;
  };
  auto points = [&](int count, const char* head, Dyn2<double>& xy, std::vector<int>& els, Dyn2<double>& val,
                    bool locate) {
    if (count <= 0) return true;
    blank_lines(L, 2);
    L.line(head);
    L.A("     X        Y ").X(6).A("     VALUES").nl();
    for (int q = 1; q <= count; ++q) {
      rd.rec().r(xy(1, q), "X").r(xy(2, q), "Y");
      for (int i = 1; i <= 6; ++i) rd.r(val(i, q), Fid("value", i));
      if (read_failed(r, rd)) return false;
      echo_point(L, xy(1, q), xy(2, q), val.col(q));
    }
    if (locate) PNTLOC(r, count, xy, els);
    return true;
  };
  auto edges = [&](int count, const char* head, Dyn2<int>& ints, Dyn2<double>& val) {
    if (count <= 0) return true;
    blank_lines(L, 2);
    L.line(head);
    L.A("   ELEM    SIDE    DOF  ").X(6).A("     VALUES").nl();
    for (int q = 1; q <= count; ++q) {
      rd.rec().i(ints(1, q), "element number").i(ints(2, q), "side").i(ints(3, q), "degree of freedom");
      for (int i = 1; i <= 3; ++i) rd.r(val(i, q), Fid("value", i));
      if (read_failed(r, rd)) return false;
      echo_edge(L, ints.col(q), val.col(q));
      if (!in(ints(1, q), 1, m.NELEM) || !in(ints(2, q), 1, 4) || !in(ints(3, q), 1, 6)) {
        ++nbad;
        ints(1, q) = 0;  // never used
      }
    }
    return true;
  };
  if (!numbered(m.NNLOD, " NODAL LOADS", true, r.NLNOD, r.NLVAL)) return false;
  if (!numbered(m.NNSTI, " NODAL STIFFNESSES", true, r.NSNOD, r.NSVAL)) return false;
  if (!numbered(m.NDLOD, " DISTRIBUTED LOADS", false, r.DLEL, r.DLVAL)) return false;
  if (!numbered(m.NDSTI, " DISTRIBUTED STIFFNESSES", false, r.DSEL, r.DSVAL)) return false;
  // The point location needs a mesh whose references are sound: it runs only then (the
  // points of a refused mesh stay unlocated).
  const bool mesh_ok = nbad == 0 && [&] {
    for (int e = 1; e <= m.NELEM; ++e)
      for (int k = 1; k <= nn; ++k)
        if (!in(r.LNODS(k, e), 1, m.NPOIN)) return false;
    return true;
  }();
  if (!points(m.NCLOD, " CONCENTRATED LOADS", r.PLXY, r.PLEL, r.PLVAL, mesh_ok)) return false;
  if (!points(m.NCSTI, " CONCENTRATED STIFFNESSES", r.PSXY, r.PSEL, r.PSVAL, mesh_ok)) return false;
  if (!edges(m.NELOD, " EDGE LOADS", r.ELINT, r.ELDVAL)) return false;
  if (!edges(m.NESTI, " EDGE STIFFNESS", r.ESINT, r.ESVAL)) return false;
  if (m.NCTSTI > 0) {
    blank_lines(L, 2);
    L.line(" CONCENTRATED TOTAL STIFFNESSES");
    L.line("       X          Y ");
    for (int q = 1; q <= m.NCTSTI; ++q) {
      rd.rec().r(r.PIXY(1, q), Fid("X OF PILE", q), true).r(r.PIXY(2, q), Fid("Y OF PILE", q));
      if (read_failed(r, rd)) return false;
      L.X(1).F(r.PIXY(1, q), 10, 4).F(r.PIXY(2, q), 10, 4).nl();
    }
    if (!check_cap_piles(r, rd)) return false;
    if (mesh_ok) PNTLOC(r, m.NCTSTI, r.PIXY, r.PIEL);
  }
  GAUSSLEG(r.w, m.NGAUS);
  return CHECK2(r, src, nbad);
}

}  // namespace torva
