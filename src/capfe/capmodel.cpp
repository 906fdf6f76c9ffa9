#include <cerrno>
#include <cmath>
#include <string>

#include "capfe/capfedrv.h"
#include "capfe/capfem.h"
#include "model/limits.h"
#include "model/messages.h"
#include "model/model.h"
#include "model/status.h"

namespace torva {

namespace {

constexpr double DIR_TINY = double(1.0e-10f);

// One load or pile record: nine values in 13 columns each.
void nine(TextFile& f, const double v[9]) {
  for (int i = 0; i < 9; ++i) f.E(v[i], 13, 5);
  f.nl();
}

void time_line(TextFile& f, const Model& m) {
  f.F(m.FACINC, 10, 4).F(0.0, 10, 4).F(1.0, 10, 4).F(m.FACMIN, 10, 4).I(m.MAXITFND, 10).E(m.TOLCAP, 13, 5).nl();
}

}  // namespace

void CAPMODEL(Model& m, const double loads[6], int& status) {
  const int nx = m.FENX, ny = m.FENY;
  // The input refuses other divisions; a model set up in code meets the same bounds, so
  // that the counts below stay within an int.
  if (nx < 1 || ny < 1 || nx > MAXFEDIV || ny > MAXFEDIV) {
    emit(m, TO_REPORT | TO_RUNLOG,
         " **** FATAL ERROR **** CAP MODEL NEEDS 1 TO " + std::to_string(MAXFEDIV) +
             " ELEMENTS ALONG THE LENGTH AND THE WIDTH");
    if (status == 0) status = ST_INPUTCHECK;
    return;
  }
  FeNames names;
  if (!fe_names(m, names, status)) return;
  FEFILES(m, names, status);
  if (status != 0) return;
  TextFile fm, kw;
  if (!fm.open_write(names.femodel)) return plate_file_failed(m, status, ST_FILEOPEN, names.femodel, errno);
  if (!kw.open_write(names.femodelkw)) return plate_file_failed(m, status, ST_FILEOPEN, names.femodelkw, errno);
  const double len = m.CAPLEN, wid = m.CAPWID;
  const int npoin = (2 * nx + 1) * (ny + 1) + ny * (nx + 1);
  const int nelem = nx * ny;

  // Loads: the resultant at the origin, and the torsion as eight tangential point loads
  // on a circle of radius R whose moments about the vertical axis sum to the torsion.
  double rec[9][9] = {};
  int nclod = 1;
  rec[0][3] = loads[0];
  rec[0][4] = loads[1];
  rec[0][5] = loads[2];
  rec[0][7] = loads[4];
  rec[0][8] = loads[5];
  if (std::abs(loads[3]) > DIR_TINY) {
    nclod = 9;
    const double rr = std::min(m.CAPLEN, std::min(m.CAPTHK, m.CAPWID));
    const double f = loads[3] / (8.0 * rr);
    const double a = 0.7071067811865476;
    const double pt[8][2] = {{rr, 0}, {0, rr}, {-rr, 0}, {0, -rr}, {a * rr, a * rr}, {-a * rr, a * rr},
                             {-a * rr, -a * rr}, {a * rr, -a * rr}};
    const double fv[8][2] = {{0, f}, {-f, 0}, {0, -f}, {f, 0}, {-a * f, a * f}, {-a * f, -a * f},
                             {a * f, -a * f}, {a * f, a * f}};
    for (int i = 0; i < 8; ++i) {
      rec[i + 1][1] = pt[i][0];
      rec[i + 1][2] = pt[i][1];
      rec[i + 1][4] = fv[i][0];
      rec[i + 1][5] = fv[i][1];
    }
  }

  // Numeric file.
  fm.line(" TEST OF TORVA5_FC");
  for (int v : {npoin, nelem, 1, 8, 2, 0, 0, 0, 0, 0, nclod, 0, 0, 0, m.NROW, 1}) fm.I(v, 8);
  fm.nl();
  time_line(fm, m);
  // Elements and nodes of the mesh, both files alike.
  auto element_nodes = [&](int r, int c, int nod[8]) {
    const int s = (r - 1) * (3 * nx + 2) + 1;
    const int n = s + 2 * (c - 1), k = s + 2 * nx + 1 + (c - 1), mm = s + 3 * nx + 2 + 2 * (c - 1);
    const int v[8] = {n, n + 2, mm + 2, mm, n + 1, k + 1, mm + 1, k};
    for (int i = 0; i < 8; ++i) nod[i] = v[i];
  };
  auto for_nodes = [&](auto&& put) {
    const double dx = len / (2.0 * nx), dy = wid / (2.0 * ny);
    double y = wid / 2.0 - m.FEYOFF;
    int node = 0;
    for (int r = 0; r <= ny; ++r) {
      double x = m.FEXOFF - len / 2.0;
      for (int i = 0; i <= 2 * nx; ++i) {
        put(++node, x, y);
        x += dx;
      }
      y -= dy;
      if (r == ny) break;
      x = m.FEXOFF - len / 2.0;
      for (int i = 0; i <= nx; ++i) {
        put(++node, x, y);
        x += 2.0 * dx;
      }
      y -= dy;
    }
  };
  int e = 0;
  for (int r = 1; r <= ny; ++r)
    for (int c = 1; c <= nx; ++c) {
      int nod[8];
      element_nodes(r, c, nod);
      ++e;
      fm.I(e, 8).I(e, 8).I(1, 8);
      for (int v : nod) fm.I(v, 8);
      fm.nl();
    }
  for_nodes([&](int n, double x, double y) { fm.I(n, 8).I(n, 8).F(0.0, 12, 4).F(x, 12, 4).F(y, 12, 4).nl(); });
  fm.I(1, 8).E(m.FEEMOD, 13, 5).E(m.FEPOIS, 13, 5).E(m.CAPTHK, 13, 5).nl();
  for (int i = 0; i < nclod; ++i) nine(fm, rec[i]);
  auto pile = [&](int g, double v[9]) {
    auto dir = [](double x) { return std::abs(x) < DIR_TINY ? 0.0 : std::abs(x); };
    const double c = m.CONNECTY(g) == 1 ? 0.0 : 1.0;
    v[0] = m.CORX(g);
    v[1] = m.CORY(g);
    v[2] = m.CORZ(g);
    v[3] = dir(std::cos(m.ALPHA(g)));
    v[4] = dir(std::cos(m.ANG0(g)) * std::cos(m.BETA(g)));
    v[5] = dir(std::sin(m.ANG0(g)) * std::cos(m.BETA(g)));
    v[6] = v[7] = v[8] = c;
  };
  for (int g = 1; g <= m.NROW; ++g) {
    double v[9];
    pile(g, v);
    nine(fm, v);
  }

  // Keyword file.
  for (const char* k : {"TORVA5_FC", "TITLE", "TEST OF TORVA5_FC", "ELEMENT_DATA", "QUAD8  REDUCED_INTEGRATION"})
    kw.free(k);
  e = 0;
  for (int r = 1; r <= ny; ++r)
    for (int c = 1; c <= nx; ++c) {
      int nod[8];
      element_nodes(r, c, nod);
      kw.A("*").I(++e, 8).I(1, 8);
      for (int v : nod) kw.I(v, 8);
      kw.nl();
    }
  kw.free("END_ELEMENT_DATA");
  kw.free("NODE_DATA");
  for_nodes([&](int n, double x, double y) { kw.A("*").I(n, 8).F(0.0, 12, 4).F(x, 12, 4).F(y, 12, 4).nl(); });
  kw.free("END_NODE_DATA");
  kw.free("MATERIAL_DATA");
  kw.A("*").A("    ALL").E(m.FEEMOD, 13, 5).E(m.FEPOIS, 13, 5).E(m.CAPTHK, 13, 5).nl();
  kw.free("END_MATERIAL_DATA");
  kw.free("CONCENTRATED_LOAD_DATA");
  for (int i = 0; i < nclod; ++i) {
    kw.A("*");
    nine(kw, rec[i]);
  }
  kw.free("END_CONCENTRATED_LOAD_DATA");
  kw.free("TOTAL_CONCENTRATED_STIFFNESS_DATA");
  for (int g = 1; g <= m.NROW; ++g) {
    double v[9];
    pile(g, v);
    kw.A("*");
    nine(kw, v);
  }
  kw.free("END_TOTAL_CONCENTRATED_STIFFNESS_DATA");
  kw.free("TIME_STEPPING_DATA");
  time_line(kw, m);
  kw.free("END_TIME_STEPPING_DATA");
  kw.free("END_DATA");
  for (TextFile* f : {&fm, &kw}) {
    f->close();
    if (f->write_failed()) plate_file_failed(m, status, ST_FILEWRITE, f->path(), f->write_errno());
  }
}

}  // namespace torva
