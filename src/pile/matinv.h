// Small dense matrix and 6-vector tools of the cap analyses: in-place inverse by
// Gauss-Jordan elimination with full pivoting, column-major matrix-vector products, and
// the translation/rotation sizes of a 6-vector (translations or forces in 1..3, rotations
// or moments in 4..6).
//
// Matrices are plain column-major arrays: element (i, j) of a matrix with leading
// dimension ld is a[(i-1) + (j-1)*ld]. `Mat6` and `Vec6` are the 6 x 6 and 6 forms used by
// the pile transformations and the pile-head stiffness.
#pragma once

#include "model/table.h"

namespace torva {

using Mat6 = Arr2<double, 6, 6>;
using Vec6 = Arr1<double, 6>;
// The 3-vector, 3 x 3 and flag forms of the 2-D model.
using Vec3 = Arr1<double, 3>;
using Mat3 = Arr2<double, 3, 3>;
using Flags3 = Arr1<int, 3>;

// Largest order MATINV accepts (the size of its pivot bookkeeping).
inline constexpr int MATINV_MAXN = 50;

// Replaces the leading n x n block of `a` (leading dimension ld) by its inverse.
// ierr = 0 on success; 1 when the matrix is singular (a pivot exactly zero, a pivot
// column met twice, or no usable pivot because the remaining elements are not numbers),
// and 1 as well when n > MATINV_MAXN or ld < n (then `a` is untouched). n <= 0 leaves `a`
// untouched with ierr = 0.
void MATINV(double* a, int n, int ld, int& ierr);
inline void MATINV(Mat6& a, int n, int& ierr) { MATINV(a.data(), n, 6, ierr); }

// True when the leading n x n block of `a` (leading dimension ld) is singular relative to
// its own scale: scaled symmetrically to a unit diagonal, an elimination with full
// pivoting meets a pivot below SCALED_PIVOT_MIN times its first. The terms of a cap's
// stiffness mix forces and moments, lengths and rotations, so a bound on the plain pivots
// holds in one set of units and at one cap origin only. A row without a diagonal term (a
// constraint of a prescribed movement) is scaled by its largest term over the scales of the
// others. A term that is not a number, n > MATINV_MAXN or ld < n count as singular; n <= 0
// does not.
inline constexpr double SCALED_PIVOT_MIN = 1.0e-8;
bool SCALED_SINGULAR(const double* a, int n, int ld);
// MATINV of a matrix that SCALED_SINGULAR does not find singular (ierr = 1 when it does, and
// `a` is then untouched): the inverse of the cap's stiffness.
void MATINVS(double* a, int n, int ld, int& ierr);
inline void MATINVS(Mat6& a, int n, int& ierr) { MATINVS(a.data(), n, 6, ierr); }

// Column i of Y = A times column i of X, i = 1..n (6-vectors, A 6 x 6). Each column of X
// is read before the same column of Y is written, so Y may be X. Nothing for n <= 0.
void MATVEC6N(double* y, const double* a, const double* x, int n);
// y = A x for 6 and 12 components (y must not be x).
void MATVEC6(double* y, const double* a, const double* x);
void MATVEC12(double* y, const double* a, const double* x);
inline void MATVEC6(Vec6& y, const Mat6& a, const Vec6& x) { MATVEC6(y.data(), a.data(), x.data()); }

// Euclidean sizes of the translation part (t) and the rotation part (r) of v.
void DNORM(const double* v, double& t, double& r);
// Largest magnitudes of the translation part (t) and the rotation part (r) of v.
void DMAX(const double* v, double& t, double& r);
// b = -a by sign flip (0.0 gives -0.0).
void VNEG6(const double* a, double* b);

}  // namespace torva
