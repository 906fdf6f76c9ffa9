#include "capfe/stresout.h"

#include <vector>

#include "model/model.h"
#include "model/status.h"

namespace torva {

namespace {

void stress_heading(TextFile& f, bool with_point) {
  f.A(" ");
  if (with_point) {
    f.A("G,P.").X(2).A("X-COORD.").X(2).A("Y-COORD.");
  } else {
    f.X(4).X(2).X(8).X(2).X(8);
  }
  f.X(3).A("SIGMA_XX").X(4).A("SIGMA_YY").X(4).A("SIGMA_XY").X(3).A("X-MOMENT").X(4).A("Y-MOMENT");
  f.X(3).A("XY-MOMENT").X(2).A("XZ-S,FORCE").X(2).A("YZ-S,FORCE").nl();
}

void extremes(TextFile& f, const char* title, const double* val, const int* el, const int* kp) {
  f.nl();
  f.X(10).A(title).nl();
  f.nl();
  stress_heading(f, false);
  f.X(10).A("STRESS").X(9);
  for (int c = 0; c < 8; ++c) f.E(val[c], 13, 5);
  f.nl();
  f.X(10).A("ELEM. ").X(9).I(el[0], 6);
  for (int c = 1; c < 8; ++c) f.I(el[c], 12);
  f.nl();
  f.X(10).A("IP    ").X(9).I(kp[0], 6);
  for (int c = 1; c < 8; ++c) f.I(kp[c], 12);
  f.nl();
}

}  // namespace

void REACOUT(PlateRun& r) {
  const Model& m = r.m;
  TextFile& f = r.FELIST;
  f.A("   STEP =").I(m.KSTEP, 5).A("   TIME =").F(m.TCUR, 10, 4).nl();
  f.nl();
  f.A(" ").X(5).A("DISPLACEMENTS").nl();
  f.nl();
  f.A(" ").X(5).A("NODE").X(5).A("X-DISP").X(8).A("Y-DISP").X(7).A("Z-DISP").X(8).A("XZ-ROT.").X(7);
  f.A("YZ-ROT.").X(7).A("Z-ROT").nl();
  for (int n = 1; n <= m.NPOIN; ++n) {
    f.I(n, 10);
    for (int i = 0; i < 6; ++i) f.E(r.ASDIS[std::size_t(6 * (n - 1) + i)], 14, 6);
    f.nl();
  }
  f.nl();
  f.A(" ").X(5).A("REACTIONS").nl();
  f.nl();
  f.A(" ").X(5).A("NODE").X(4).A("X-FORCE").X(7).A("Y-FORCE").X(7).A("Z-FORCE").X(6).A("XZ-MOMENT").X(6);
  f.A("YZ-MOMENT").X(5).A("Z-MOMENT").nl();
  for (int n = 1; n <= m.NPOIN; ++n) {
    f.I(n, 10);
    for (int i = 0; i < 6; ++i) f.E(r.GLOBV[std::size_t(6 * (n - 1) + i)], 14, 6);
    f.nl();
  }
}

bool STRESOUT(PlateRun& r) {
  const Model& m = r.m;
  TextFile& f = r.FELIST;
  const int nn = m.NNODE, npts = m.NGAUS * m.NGAUS;
  f.nl();
  f.X(10).A("STRESSES").nl();
  f.nl();
  f.nl();
  stress_heading(f, true);
  r.STRSUM.fill(0.0);
  std::fill(r.STRWT.begin(), r.STRWT.end(), 0.0);
  std::fill(r.STREXACT.begin(), r.STREXACT.end(), 0);

  double vmax[8] = {}, vmin[8] = {};
  int emax[8] = {}, emin[8] = {}, kmax[8] = {}, kmin[8] = {};
  std::vector<double> rec(ELREC_LEN);
  for (int e = 1; e <= m.NELEM; ++e) {
    if (!r.FORT3.read(rec.data(), ELREC_LEN)) {
      r.FELIST.line(" *** ELEMENT SCRATCH FILE CANNOT BE READ");
      r.file_failed(ST_FILEWRITE, r.FORT3);
      return false;
    }
    const double* pltdbg = rec.data();
    const double* memdbg = rec.data() + ELREC_PLT;
    const double* gpxy = rec.data() + ELREC_PLT + ELREC_MEM;
    const int lab = r.ELLAB[std::size_t(e - 1)];
    f.nl();
    f.X(5).A("ELEMENT NO.=").I(lab, 5).nl();
    double um[18], up[27];
    for (int k = 1; k <= nn; ++k) {
      const std::size_t b = std::size_t(6 * (r.LNODS(k, e) - 1));
      um[2 * (k - 1)] = r.ASDIS[b];
      um[2 * (k - 1) + 1] = r.ASDIS[b + 1];
      for (int i = 0; i < 3; ++i) up[3 * (k - 1) + i] = r.ASDIS[b + 2 + std::size_t(i)];
    }
    for (int p = 1; p <= npts; ++p) {
      double s[8];
      for (int i = 0; i < 3; ++i) {
        double v = 0.0;
        for (int j = 0; j < 2 * nn; ++j) v += memdbg[i + 3 * j + 3 * 18 * (p - 1)] * um[j];
        s[i] = v;
      }
      for (int i = 0; i < 5; ++i) {
        double v = 0.0;
        for (int j = 0; j < 3 * nn; ++j) v += pltdbg[i + 5 * j + 5 * 27 * (p - 1)] * up[j];
        s[3 + i] = v;
      }
      const double x = gpxy[2 * (p - 1)], y = gpxy[2 * (p - 1) + 1];
      f.I(p, 5).F(x, 10, 4).F(y, 10, 4);
      for (double v : s) f.E(v, 13, 5);
      f.nl();
      for (int c = 0; c < 8; ++c) {
        if ((e == 1 && p == 1) || s[c] > vmax[c]) {
          vmax[c] = s[c];
          emax[c] = lab;
          kmax[c] = p;
        }
        if ((e == 1 && p == 1) || s[c] < vmin[c]) {
          vmin[c] = s[c];
          emin[c] = lab;
          kmin[c] = p;
        }
      }
      // Smoothing by inverse squared distance; a Gauss point on the node itself gives the
      // node its own values.
      for (int k = 1; k <= nn; ++k) {
        const int n = r.LNODS(k, e);
        const std::size_t ni = std::size_t(n - 1);
        const double dx = r.COORD(1, n) - x, dy = r.COORD(2, n) - y;
        const double d2 = dx * dx + dy * dy;
        if (r.STREXACT[ni]) continue;
        if (d2 == 0.0) {
          r.STREXACT[ni] = 1;
          for (int c = 0; c < 8; ++c) r.STRSUM(c + 1, n) = s[c];
          r.STRWT[ni] = 1.0;
          continue;
        }
        const double pw = 1.0 / d2;
        for (int c = 0; c < 8; ++c) r.STRSUM(c + 1, n) += pw * s[c];
        r.STRWT[ni] += pw;
      }
    }
  }
  extremes(f, "MAXIMUM STRESSES", vmax, emax, kmax);
  extremes(f, "MINIMUM STRESSES", vmin, emin, kmin);

  TextFile& res = r.FERESULT;
  if (m.KSTEP == 1) {
    res.line("STEP_DATA");
    res.line("14");
    res.line("UX UY UZ ROTX ROTY ROTZ SXX SYY SXY MOM_X MOM_Y MOM_XY SH_XZ SH_YZ");
  }
  res.A("STEP").I(m.KSTEP, 8).nl();
  for (int n = 1; n <= m.NPOIN; ++n) {
    const std::size_t ni = std::size_t(n - 1);
    res.I(r.NODLAB[ni], 5);
    for (int i = 0; i < 6; ++i) res.E(r.ASDIS[6 * ni + std::size_t(i)], 12, 4);
    for (int c = 1; c <= 8; ++c) {
      if (r.STRWT[ni] != 0.0) r.STRSUM(c, n) /= r.STRWT[ni];
      res.E(r.STRSUM(c, n), 12, 4);
    }
    res.nl();
  }
  return true;
}

}  // namespace torva
