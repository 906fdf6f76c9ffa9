// Records of the curve-data file of the plot pass. The file is a text file when control
// item 20 is 0 and a record file otherwise; both forms carry the same records with the same
// items in the same order (one record per text line; integers as 32-bit integers, reals as
// 64-bit reals in the record form).
#pragma once

#include <initializer_list>

namespace torva {

struct Model;

// One record being built: items go to the open text line or to the open binary record.
class CurveRec {
 public:
  explicit CurveRec(Model& m);
  CurveRec& I(int v);     // an integer right-aligned in 10 columns
  CurveRec& F(double v);  // a real in fixed form, 10 columns with 4 decimals
  CurveRec& G(double v);  // a general real: one blank and 1PG15.8
  CurveRec& lead();       // 10 blanks before a list of general reals (text form only)
  void end();

 private:
  Model& m_;
  bool rec_;
};

// Three integers of 10 columns: a block header or the file header.
void CDINTS(Model& m, int a, int b, int c);
// General reals after 10 blanks.
void CDREALS(Model& m, std::initializer_list<double> v);
// A plot node or a segment middle: its number and its coordinate.
void CDNODE(Model& m, int i, double x);
// A curve of n pairs written mirrored about the origin as 2n - 1 points: point k < n is
// (-x(n+1-k), -yneg(n+1-k)), point k >= n is (x(k-n+1), ypos(k-n+1)).
void CDMIRROR(Model& m, const double* x, const double* yneg, const double* ypos, int n);

inline constexpr int kMaxCurve = 64;  // most points of a curve that CDSUM adds

// Sum of two spring curves of n points, each rising from its first point: the curve whose
// last abscissa is smaller (curve 1 when they are equal) gives the abscissas, and the other
// curve's ordinate, interpolated linearly at each of them, is added to its own.
void CDSUM(int n, const double* x1, const double* y1, const double* x2, const double* y2,
           double* xo, double* yo);  // xo, yo may be the arrays of either curve

}  // namespace torva
