#include "stiffness/capstfout.h"

#include <string>

#include "io/writers.h"
#include "pile/matinv.h"
#include "stiffness/estrec.h"

namespace torva {

namespace {

void table(TextFile& f, const double* A, int ndof, int idiag, int row) {
  auto K = [&](int i, int j) { return A[(i - 1) + 6 * (j - 1)]; };
  const bool two = ndof == 3;
  if (idiag == 1) {
    if (row == 0) {
      if (!two) {
        f.X(7);
        for (int i = 1; i <= ndof; ++i) f.X(9).A("K").I(i, 1).I(i, 1).X(3);
      } else {
        f.X(13);
        for (int i = 1; i <= ndof; ++i) f.X(7).A("K").I(i, 1).I(i, 1).X(8);
      }
      f.nl();
      return;
    }
    if (!two) {
      WRTBLANK(f, 7);
      for (int i = 1; i <= ndof; ++i) WRTREAL(f, 15, 5, K(i, i));
    } else {
      WRTBLANK(f, 24);
      for (int i = 1; i <= ndof; ++i) {
        WRTREAL(f, 14, 5, K(i, i));
        WRTBLANK(f, 4);
      }
    }
    ENDLINE(f);
    return;
  }
  if (row == 0) {
    if (!two) {
      f.X(2).A("  DOF");
      for (int c = 1; c <= ndof; ++c) f.I(c, 11).X(4);
    } else {
      f.X(5).A(" DOF ").X(4);
      for (int c = 1; c <= ndof; ++c) f.I(c, 9).X(9);
    }
    f.nl();
    return;
  }
  if (!two) {
    WRTBLANK(f, 2);
    WRTINT(f, 5, row);
    for (int c = 1; c <= ndof; ++c) WRTREAL(f, 15, 5, K(row, c));
  } else {
    f.X(5).I(row, 5).X(4);
    for (int c = 1; c <= ndof; ++c) {
      WRTREAL(f, 14, 5, K(row, c));
      WRTBLANK(f, 4);
    }
  }
  ENDLINE(f);
}

}  // namespace

void CAPSTFOUT(Model& m, int itab, int idiag, int n, int ndof, int ld, const Arr1<double, MAXNV>& lev) {
  (void)ld;
  if (itab != 1) return;
  for (TextFile* f : {&m.REPORT, &m.SUMMARY}) f->nl().nl().X(5).A("* PILE CAP STIFFNESS ESTIMATION *").nl();
  for (TextFile* f : {&m.PLOTDATA, &m.RUNLOG}) f->X(5).A("* PILE CAP STIFFNESS ESTIMATION *").nl();
  m.RUNLOG.flush();
  m.ESTREC1.close();
  if (n <= 0) return;
  for (int k = 1; k <= n; ++k) {
    EstrecReader rd;
    rd.open(m.fname(R_ESTREC1));
    double A[36] = {};
    std::string labels;
    int count = 0;
    bool complete = true;
    for (int i = 1; i <= ndof && complete; ++i) {
      double R[6] = {0, 0, 0, 0, 0, 0}, skip[6];
      int num = 0;
      for (int r = 1; r <= n; ++r) {
        if (!rd.next(num, r == k ? R : skip, ndof)) {
          complete = false;
          break;
        }
      }
      if (!complete) break;
      if (R[i - 1] == 1.0) {
        ++count;
        if (!labels.empty()) labels += ", ";
        labels += "K";
        labels += char('0' + i);
        labels += char('0' + i);
      }
      for (int r = 1; r <= ndof; ++r) A[(r - 1) + 6 * (i - 1)] = 0.0;
      if (idiag == 1) A[(i - 1) + 6 * (i - 1)] = R[i - 1];
      else
        for (int r = 1; r <= ndof; ++r) A[(r - 1) + 6 * (i - 1)] = R[r - 1];
    }
    rd.close();
    for (TextFile* f : {&m.REPORT, &m.SUMMARY}) f->nl();
    for (TextFile* f : {&m.REPORT, &m.SUMMARY, &m.PLOTDATA})
      f->X(4).A("   N:").I(k, 5).A("  FACTOR :").F(lev(k), 10, 4).nl();
    if (!complete) {
      // An analysis left no records for a level: the records that follow would be read out
      // of step, so no table is built from them.
      for (TextFile* f : {&m.SUMMARY, &m.REPORT, &m.RUNLOG}) {
        f->nl().X(5).A("** WARNING **  ").A("ESTIMATION RECORDS ARE INCOMPLETE,").nl();
        f->X(5).A("               ").A("NO STIFFNESS TABLE CAN BE FORMED").nl();
      }
      return;
    }
    int ising = 0;
    MATINV(A, ndof, 6, ising);
    if (ising != 0) {
      for (TextFile* f : {&m.SUMMARY, &m.REPORT}) {
        f->nl().X(5).A("** WARNING **  ").A("FLEXIBILITY MATRIX IS SINGULAR,").nl();
        f->X(5).A("               ").A("NO STIFFNESS TABLE FOR THIS LEVEL").nl();
      }
      continue;
    }
    if (idiag == 1) {
      for (TextFile* f : {&m.REPORT, &m.SUMMARY}) {
        table(*f, A, ndof, 1, 0);
        table(*f, A, ndof, 1, 1);
      }
    } else {
      for (TextFile* f : {&m.REPORT, &m.SUMMARY}) table(*f, A, ndof, 0, 0);
      for (int r = 1; r <= ndof; ++r)
        for (TextFile* f : {&m.REPORT, &m.SUMMARY}) table(*f, A, ndof, 0, r);
    }
    if (count > 0) {
      for (TextFile* f : {&m.SUMMARY, &m.REPORT}) {
        f->nl();
        f->X(5).A("WARNING : STIFFNESS VALUES FOR COMPONENT(S): ").A(labels).A("  ").nl();
        f->X(5).A("WERE NOT ESTIMATED SINCE THERE WAS ").A("NO CONVERGENCE ON PILE CAP ");
        f->A("OR APPLIED FORCE AT CAP IS ZERO").nl();
        f->X(5).A("VALUE OF 1.0 IS PRINTED FOR THE STIFFNESS(ES)").nl();
        f->nl();
      }
    }
    TextFile& p = m.PLOTDATA;
    WRTBLANK(p, 14);
    for (int i = 1; i <= ndof; ++i) {
      WRTREAL(p, 18, 8, A[(i - 1) + 6 * (i - 1)]);
      WRTBLANK(p, 4);
    }
    ENDLINE(p);
    for (int r = 1; r <= ndof; ++r) {
      p.X(5).I(r, 5).X(4);
      for (int c = 1; c <= ndof; ++c) {
        WRTREAL(p, 18, 8, A[(r - 1) + 6 * (c - 1)]);
        WRTBLANK(p, 4);
      }
      ENDLINE(p);
    }
  }
}

}  // namespace torva
