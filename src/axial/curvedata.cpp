#include "axial/curvedata.h"

#include "model/model.h"
#include "model/table.h"

namespace torva {

CurveRec::CurveRec(Model& m) : m_(m), rec_(m.IPLTUNF != 0) {}

CurveRec& CurveRec::I(int v) {
  if (rec_) m_.CURVEREC.i32(v);
  else m_.CURVEDATA.I(v, 10);
  return *this;
}

CurveRec& CurveRec::F(double v) {
  if (rec_) m_.CURVEREC.f64(v);
  else m_.CURVEDATA.F(v, 10, 4);
  return *this;
}

CurveRec& CurveRec::G(double v) {
  if (rec_) m_.CURVEREC.f64(v);
  else m_.CURVEDATA.X(1).PG(v, 15, 8);
  return *this;
}

CurveRec& CurveRec::lead() {
  if (!rec_) m_.CURVEDATA.X(10);
  return *this;
}

void CurveRec::end() {
  if (rec_) m_.CURVEREC.end();
  else m_.CURVEDATA.nl();
}

void CDINTS(Model& m, int a, int b, int c) { CurveRec(m).I(a).I(b).I(c).end(); }

void CDREALS(Model& m, std::initializer_list<double> v) {
  CurveRec r(m);
  r.lead();
  for (double x : v) r.G(x);
  r.end();
}

void CDNODE(Model& m, int i, double x) { CurveRec(m).I(i).F(x).end(); }

void CDMIRROR(Model& m, const double* x, const double* yneg, const double* ypos, int n) {
  for (int k = 1; k < n; ++k) CurveRec(m).I(k).G(-x[n - k]).G(-yneg[n - k]).end();
  for (int k = n; k <= 2 * n - 1; ++k) CurveRec(m).I(k).G(x[k - n]).G(ypos[k - n]).end();
}

void CDSUM(int n, const double* x1, const double* y1, const double* x2, const double* y2,
           double* xo, double* yo) {
  TORVA_ASSERT(n >= 1 && n <= kMaxCurve, "curve longer than the sum buffer");
  const bool first = x1[n - 1] <= x2[n - 1];
  const double* xa = first ? x1 : x2;
  const double* ya = first ? y1 : y2;
  const double* xb = first ? x2 : x1;
  const double* yb = first ? y2 : y1;
  double xs[kMaxCurve], ys[kMaxCurve];
  for (int k = 0; k < n; ++k) {
    int j = 1;
    while (j < n - 1 && xb[j] < xa[k]) ++j;
    const double dx = xb[j] - xb[j - 1];
    // Two equal neighbouring abscissas give no slope: the lower point's ordinate.
    const double add = dx != 0.0 ? yb[j - 1] + (xa[k] - xb[j - 1]) * (yb[j] - yb[j - 1]) / dx
                                 : yb[j - 1];
    xs[k] = xa[k];
    ys[k] = ya[k] + add;
  }
  for (int k = 0; k < n; ++k) {
    xo[k] = xs[k];
    yo[k] = ys[k];
  }
}

}  // namespace torva
