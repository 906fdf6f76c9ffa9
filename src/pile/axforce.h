// Axial force at the pile head from the row's load-settlement curve, with the axial
// movement and force along the pile when the load case asks for their variation.
#pragma once

#include <string_view>

#include "model/model.h"

namespace torva {

// Axial head force P of row g for the head displacement u (local axes; only u[0], the
// axial component, is read; positive = bearing). Beyond either end of the curve P is the
// end value when IEXTEND = 1, else 0 (and the distribution is skipped); while IWFILE = 1
// each such event leaves a three-line warning record on the warning scratch file and is
// counted in NWBEAR or NWPULL. With IAXVAR = 1 on a generated curve, MOV and FAX receive
// the axial movement and force along the pile (entry k + 3 = pile node k; FAX already
// times AXFAC) and P is the head value of that distribution. P itself is returned
// before the AXFAC factor. `status` carries the load-transfer routines' failures; a
// distribution that does not settle raises the pile state to 4.
void AXFORCE(Model& m, int g, double& P, const double* u, Arr1<double, MAXNODE>& MOV,
             Arr1<double, MAXNODE>& FAX, int& status);

// Slope of the first segment of row g's load-settlement curve that ends at a point of
// non-negative displacement (mode 1, the only mode in use; 0 for other modes, for a
// curve of fewer than two points and for a segment of zero length).
double AXSLOPE(const Model& m, int g, int mode);

// The three-line warning record of a curve end (axial or torsion), on the warning
// scratch file: an empty line; "** WARNING **  " with the case text and the pile group;
// the displacement, the curve's end displacement and the force set, as E12.4.
void curve_warning(Model& m, std::string_view text, int g, std::string_view xlab, double x,
                   double xend, std::string_view flab, double f);

// A tabulated curve X(p), Y(p), p = 1..n, of increasing X, seen through a row's curve
// reference: user curve c > 0 or generated curve -c.
struct CurveView {
  const double* x = nullptr;  // x[p-1] = X(p), stride `step`
  const double* y = nullptr;
  int step = 1;
  int n = 0;  // points; 0 when the reference names no stored curve
  double X(int p) const { return x[std::ptrdiff_t(p - 1) * step]; }
  double Y(int p) const { return y[std::ptrdiff_t(p - 1) * step]; }
};

// The curve named by a row's reference `ref`: user curve ref > 0 in (NU, XU, YU),
// otherwise generated curve -ref in (NG, XG, YG). A reference outside the tables names no
// curve (n = 0); a point count beyond the table is cut to it.
template <class CountU, class TabU, class CountG, class TabG>
CurveView row_curve(int ref, const CountU& NU, const TabU& XU, const TabU& YU, const CountG& NG,
                    const TabG& XG, const TabG& YG) {
  CurveView c;
  if (ref > 0) {
    if (ref > TabU::rows) return c;
    c = {&XU(ref, 1), &YU(ref, 1), TabU::step2, NU(ref)};
    if (c.n > TabU::cols) c.n = TabU::cols;
  } else {
    if (-ref < 1 || -ref > TabG::rows) return c;
    c = {&XG(-ref, 1), &YG(-ref, 1), TabG::step2, NG(-ref)};
    if (c.n > TabG::cols) c.n = TabG::cols;
  }
  if (c.n < 0) c.n = 0;
  return c;
}

// The curve end reached by a value v: p = the first index in 2..n with X(p) >= v, or 0
// when there is none (v beyond the upper end, or fewer than two points).
int curve_segment(const CurveView& c, double v);

// Linear interpolation in segment p (2..n), the product formed before the division.
double curve_interp(const CurveView& c, int p, double v);

// Slope of the first segment ending at X >= 0 (the last segment when none does).
double curve_initial_slope(const CurveView& c);

}  // namespace torva
