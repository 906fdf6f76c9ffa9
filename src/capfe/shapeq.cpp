#include "capfe/shapeq.h"

#include <string>

#include "model/model.h"
#include "model/status.h"

namespace torva {

namespace {

constexpr double SNODE[9] = {-1, 1, 1, -1, 0, 1, 0, -1, 0};
constexpr double TNODE[9] = {-1, -1, 1, 1, -1, 0, 1, 0, 0};

// One-dimensional quadratic Lagrange function through -1, 0, 1 for the node at xi, and its
// derivative.
double lag(double x, double xi) {
  if (xi < 0.0) return 0.5 * x * (x - 1.0);
  if (xi > 0.0) return 0.5 * x * (x + 1.0);
  return 1.0 - x * x;
}
double dlag(double x, double xi) {
  if (xi < 0.0) return x - 0.5;
  if (xi > 0.0) return x + 0.5;
  return -2.0 * x;
}

}  // namespace

void SHAPEQ(FEWORK& w, double s, double t, int nnode) {
  if (nnode == 4) {
    for (int i = 1; i <= 4; ++i) {
      const double si = SNODE[i - 1], ti = TNODE[i - 1];
      w.SHPVAL(i) = 0.25 * (1.0 + s * si) * (1.0 + t * ti);
      w.SHPDER(1, i) = 0.25 * si * (1.0 + t * ti);
      w.SHPDER(2, i) = 0.25 * ti * (1.0 + s * si);
    }
  } else if (nnode == 8) {
    for (int i = 1; i <= 4; ++i) {
      const double si = SNODE[i - 1], ti = TNODE[i - 1];
      const double a = 1.0 + s * si, b = 1.0 + t * ti, c = s * si + t * ti - 1.0;
      w.SHPVAL(i) = 0.25 * a * b * c;
      w.SHPDER(1, i) = 0.25 * si * b * (c + a);
      w.SHPDER(2, i) = 0.25 * ti * a * (c + b);
    }
    for (int i = 5; i <= 8; ++i) {
      const double si = SNODE[i - 1], ti = TNODE[i - 1];
      if (si == 0.0) {
        w.SHPVAL(i) = 0.5 * (1.0 - s * s) * (1.0 + t * ti);
        w.SHPDER(1, i) = -s * (1.0 + t * ti);
        w.SHPDER(2, i) = 0.5 * ti * (1.0 - s * s);
      } else {
        w.SHPVAL(i) = 0.5 * (1.0 + s * si) * (1.0 - t * t);
        w.SHPDER(1, i) = 0.5 * si * (1.0 - t * t);
        w.SHPDER(2, i) = -t * (1.0 + s * si);
      }
    }
  } else if (nnode == 9) {
    for (int i = 1; i <= 9; ++i) {
      const double si = SNODE[i - 1], ti = TNODE[i - 1];
      w.SHPVAL(i) = lag(s, si) * lag(t, ti);
      w.SHPDER(1, i) = dlag(s, si) * lag(t, ti);
      w.SHPDER(2, i) = lag(s, si) * dlag(t, ti);
    }
  }
}

bool JACOB2(PlateRun& r, int ielem, double& djacb, int kgasp) {
  FEWORK& w = r.w;
  const int nnode = r.m.NNODE;
  double xp = 0.0, yp = 0.0;
  for (int i = 1; i <= nnode; ++i) {
    xp += w.SHPVAL(i) * w.ELXY(1, i);
    yp += w.SHPVAL(i) * w.ELXY(2, i);
  }
  w.GPXY(1, kgasp) = xp;
  w.GPXY(2, kgasp) = yp;
  double xjacm[2][2] = {{0.0, 0.0}, {0.0, 0.0}};
  for (int m = 0; m < 2; ++m)
    for (int k = 0; k < 2; ++k)
      for (int i = 1; i <= nnode; ++i) xjacm[m][k] += w.SHPDER(m + 1, i) * w.ELXY(k + 1, i);
  djacb = xjacm[0][0] * xjacm[1][1] - xjacm[0][1] * xjacm[1][0];
  if (!(djacb > 0.0)) {
    r.FELIST.nl().nl();
    r.FELIST.line(" PROGRAM HALTED IN SUBROUTINE JACOB2");
    r.FELIST.X(11).line(" ZERO OR NEGATIVE AREA");
    r.FELIST.X(10).A(" ELEMENT NUMBER ").I(ielem, 5).nl();
    if (r.status == 0) {
      const bool labelled = 1 <= ielem && ielem <= int(r.ELLAB.size());
      r.why = "ELEMENT " + std::to_string(labelled ? r.ELLAB[std::size_t(ielem - 1)] : ielem) +
              " HAS A ZERO OR NEGATIVE AREA: ITS CORNERS MUST RUN COUNTER-CLOCKWISE";
    }
    r.fail(ST_FESOLVE);
    return false;
  }
  const double xjaci[2][2] = {{xjacm[1][1] / djacb, -xjacm[0][1] / djacb},
                              {-xjacm[1][0] / djacb, xjacm[0][0] / djacb}};
  for (int i = 1; i <= nnode; ++i)
    for (int a = 0; a < 2; ++a)
      w.SHPDXY(a + 1, i) = xjaci[a][0] * w.SHPDER(1, i) + xjaci[a][1] * w.SHPDER(2, i);
  return true;
}

void gauss_rule(int ngaus, double pt[3], double wt[3]) {
  for (int i = 0; i < 3; ++i) pt[i] = wt[i] = 0.0;
  if (ngaus == 1) {
    pt[0] = -0.0;
    wt[0] = 2.0;
    return;
  }
  if (ngaus == 2) {
    pt[0] = -double(0.577350269189626f);
    wt[0] = 1.0;
  } else if (ngaus == 3) {
    pt[0] = -double(0.774596669241483f);
    pt[1] = 0.0;
    wt[0] = double(0.555555555555556f);
    wt[1] = double(0.888888888888889f);
  } else {
    return;
  }
  for (int i = 0; i < ngaus / 2; ++i) {
    pt[ngaus - 1 - i] = -pt[i];
    wt[ngaus - 1 - i] = wt[i];
  }
}

void GAUSSLEG(FEWORK& w, int ngaus) {
  double pt[3], wt[3];
  gauss_rule(ngaus, pt, wt);
  for (int i = 1; i <= 3; ++i) {
    w.GAUSSPT(i) = pt[i - 1];
    w.GAUSSWT(i) = wt[i - 1];
  }
}

bool GAUSSAREA(PlateRun& r, int ielem, int i, int j, double& da) {
  FEWORK& w = r.w;
  SHAPEQ(w, w.GAUSSPT(i), w.GAUSSPT(j), r.m.NNODE);
  double djacb = 0.0;
  if (!JACOB2(r, ielem, djacb, gauss_no(i, j, r.m.NGAUS))) return false;
  da = djacb * w.GAUSSWT(i) * w.GAUSSWT(j);
  return true;
}

}  // namespace torva
