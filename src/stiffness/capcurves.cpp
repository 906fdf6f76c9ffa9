#include "stiffness/capcurves.h"

#include "io/writers.h"
#include "stiffness/estrec.h"

namespace torva {

namespace {

void no_convergence(TextFile& f, int n) {
  f.X(5).I(-n, 5).X(5).A("NO CONVERGENCE ON PILE CAP").nl();
}

// A record file that ends early (an analysis left no records for a level): the levels from
// k on are named instead of being printed from misread records.
void short_file(TextFile& f, int k) {
  f.X(5).A("** WARNING **  ").A("ESTIMATION RECORDS MISSING FROM LEVEL").I(k, 5).nl();
}

}  // namespace

void CAPCURVES(Model& m, int mode, int point, int n, int ndim, int ndof, int& iopen) {
  if (mode != 2) return;
  const int d = point;
  const bool two = ndim == 2;
  const std::string_view l2 = m.ULEN2.view(), f3 = m.UFOR3.view(), rad = m.URAD.view();
  const std::string_view sl = m.USLASH.view(), da = m.UDASH.view();
  m.ESTREC2.close();
  iopen = 0;
  EstrecReader rd;
  rd.open(m.fname(R_ESTREC2));
  iopen = 1;

  TextFile& r = m.REPORT;
  r.nl();
  if (!two) {
    if (d <= 3) r.X(5).A("    N").X(5).A("FORCE,").A(f3).X(1).nl();
    else r.X(5).A("    N").X(2).A("MOMENT,").A(l2).A(da).A(f3).nl();
    r.X(5).A("     ").X(5).A("DISP X,").A(l2).X(1).X(5).A("DISP Y,").A(l2).X(1);
    r.X(5).A("DISP Z,").A(l2).X(1).X(5).A("ROT X,").A(rad).X(1).X(5).A("ROT Y,").A(rad).X(1);
    r.X(5).A("ROT Z,").A(rad).nl();
  } else {
    if (d <= 2) r.X(5).A("    N").X(7).A("FORCE,").A(f3);
    else r.X(5).A("    N").X(5).A("MOMENT,").A(l2).A(da).A(f3).X(3);
    r.X(d <= 2 ? 5 : 0).A("VERT. DISP,").A(l2).X(4).A("HOR. DISP Y,").A(l2).X(4).A("ROTATION Z,").A(rad).nl();
  }
  double v[7];
  for (int k = 1; k <= n; ++k) {
    int N = 0;
    if (!rd.next(N, v, 1 + ndof)) {
      short_file(r, k);
      break;
    }
    const double P = v[0];
    const double* U = v + 1;
    if (N > 0) {
      if (!two) {
        r.X(5);
        WRTINT(r, 5, N);
        WRTREAL(r, 15, 5, P);
        ENDLINE(r);
        WRTBLANK(r, 10);
        for (int j = 0; j < ndof; ++j) WRTREAL(r, 15, 5, U[j]);
        ENDLINE(r);
      } else {
        r.X(5).I(N, 5).X(7);
        WRTREAL(r, 14, 5, P);
        ENDLINE(r);
        WRTBLANK(r, 10);
        for (int j = 0; j < ndof; ++j) {
          WRTREAL(r, 14, 5, U[j]);
          WRTBLANK(r, 4);
        }
        ENDLINE(r);
      }
    } else {
      no_convergence(r, N);
    }
    TextFile& p = m.PLOTDATA;
    p.X(5).I(N, 5).X(4);
    WRTREAL(p, 18, 8, P);
    WRTBLANK(p, 4);
    WRTREAL(p, 18, 8, d >= 1 && d <= ndof ? U[d - 1] : 0.0);
    WRTBLANK(p, 4);
    for (int j = 0; j < ndof; ++j) {
      WRTREAL(p, 18, 8, U[j]);
      WRTBLANK(p, 4);
    }
    ENDLINE(p);
    double skip[7];
    int nb = 0;
    if (!rd.next(nb, skip, ndof)) {
      short_file(r, k);
      break;
    }
  }
  rd.close();
  iopen = 0;

  for (TextFile* f : {&m.REPORT, &m.SUMMARY}) {
    f->nl();
    if (!two && f == &m.REPORT) {
      f->X(5).A("    N");
      for (int j = 1; j <= ndof; ++j) f->X(9).A("S").I(j, 1).I(d, 1).X(3);
    } else {
      f->X(5).A("    N").X(2);
      for (int j = 1; j <= ndof; ++j) f->X(7).A("S").I(j, 1).I(d, 1).X(5);
    }
    f->nl();
    if (!two && d <= 3) {
      f->X(9);
      for (int j = 1; j <= 3; ++j) f->X(7).A(l2).A(sl).A(f3).X(2);
      for (int j = 4; j <= 6; ++j) {
        f->X(6).A(rad).A(sl).A(f3);
        if (j < 6) f->X(2);
      }
    } else if (!two) {
      f->X(9);
      for (int j = 1; j <= 3; ++j) f->X(5).A(l2).A(sl).A(l2).A(da).A(f3).X(1);
      for (int j = 4; j <= 6; ++j) f->X(5).A(rad).A(sl).A(l2).A(da).A(f3);
    } else if (d <= 2) {
      f->X(13);
      f->X(5).A(l2).A(sl).A(f3).X(7);
      f->X(5).A(l2).A(sl).A(f3).X(7);
      f->X(4).A(rad).A(sl).A(f3).X(7);
    } else {
      f->X(17);
      f->A(l2).A(sl).A(l2).A(da).A(f3).X(9);
      f->A(l2).A(sl).A(l2).A(da).A(f3).X(9);
      f->A(rad).A(sl).A(l2).A(da).A(f3).X(8);
    }
    f->nl();
  }
  rd.open(m.fname(R_ESTREC2));
  iopen = 1;
  for (int k = 1; k <= n; ++k) {
    int N = 0, Na = 0;
    double S[6];
    if (!rd.next(Na, v, 1 + ndof) || !rd.next(N, S, ndof)) {
      for (TextFile* f : {&m.REPORT, &m.SUMMARY}) short_file(*f, k);
      break;
    }
    for (TextFile* f : {&m.REPORT, &m.SUMMARY}) {
      if (N <= 0) {
        no_convergence(*f, N);
        continue;
      }
      if (!two) {
        f->X(5);
        WRTINT(*f, 5, N);
        for (int j = 0; j < ndof; ++j) WRTREAL(*f, 15, 5, S[j]);
        ENDLINE(*f);
      } else {
        f->X(5).I(N, 5).X(7);
        for (int j = 0; j < ndof; ++j) {
          WRTREAL(*f, 14, 5, S[j]);
          WRTBLANK(*f, 4);
        }
        ENDLINE(*f);
      }
    }
  }
  rd.close();
  iopen = 0;
}

}  // namespace torva
