#include "pile/matinv.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

namespace torva {

void MATINV(double* a, int n, int ld, int& ierr) {
  ierr = 0;
  if (n <= 0) return;
  if (n > MATINV_MAXN || ld < n) {  // beyond the pivot bookkeeping or an inconsistent layout
    ierr = 1;
    return;
  }
  auto A = [a, ld](int i, int j) -> double& { return a[(i - 1) + std::ptrdiff_t(j - 1) * ld]; };

  int ipiv[MATINV_MAXN + 1] = {};   // pivot count of every index
  int indxr[MATINV_MAXN + 1] = {};  // row chosen at each step
  int indxc[MATINV_MAXN + 1] = {};  // column chosen at each step
  int irow = 0, icol = 0;

  for (int s = 1; s <= n; ++s) {
    // Full pivot search: the largest remaining element; on a tie the later one in scan
    // order, so that a matrix of equal magnitudes pivots predictably.
    double big = 0.0;
    bool found = false;
    for (int j = 1; j <= n; ++j) {
      if (ipiv[j] == 1) continue;
      for (int k = 1; k <= n; ++k) {
        if (ipiv[k] == 0) {
          const double v = std::abs(A(j, k));
          if (v >= big) {
            big = v;
            irow = j;
            icol = k;
            found = true;
          }
        } else if (ipiv[k] > 1) {
          ierr = 1;
          return;
        }
      }
    }
    if (!found) {  // every remaining element is not a number: no pivot to use
      ierr = 1;
      return;
    }
    ++ipiv[icol];
    if (irow != icol)
      for (int l = 1; l <= n; ++l) std::swap(A(irow, l), A(icol, l));
    indxr[s] = irow;
    indxc[s] = icol;
    if (A(icol, icol) == 0.0) {
      ierr = 1;
      return;
    }
    const double pivinv = 1.0 / A(icol, icol);
    A(icol, icol) = 1.0;
    for (int l = 1; l <= n; ++l) A(icol, l) *= pivinv;
    for (int ll = 1; ll <= n; ++ll) {
      if (ll == icol) continue;
      const double d = A(ll, icol);
      A(ll, icol) = 0.0;
      for (int l = 1; l <= n; ++l) A(ll, l) -= A(icol, l) * d;
    }
  }
  // Undo the row exchanges as column exchanges, last step first.
  for (int s = n; s >= 1; --s)
    if (indxr[s] != indxc[s])
      for (int k = 1; k <= n; ++k) std::swap(A(k, indxr[s]), A(k, indxc[s]));
}

bool SCALED_SINGULAR(const double* a, int n, int ld) {
  if (n <= 0) return false;
  if (n > MATINV_MAXN || ld < n) return true;
  auto A = [a, ld](int i, int j) { return a[(i - 1) + std::ptrdiff_t(j - 1) * ld]; };
  double d[MATINV_MAXN + 1];
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= n; ++j)
      if (!std::isfinite(A(i, j))) return true;
    d[i] = std::sqrt(std::abs(A(i, i)));
  }
  for (int i = 1; i <= n; ++i) {
    if (d[i] > 0.0) continue;
    double big = 0.0;
    for (int j = 1; j <= n; ++j)
      if (d[j] > 0.0) big = std::max({big, std::abs(A(i, j)) / d[j], std::abs(A(j, i)) / d[j]});
    d[i] = big > 0.0 ? big : 1.0;
  }
  double S[MATINV_MAXN][MATINV_MAXN];
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) S[i][j] = A(i + 1, j + 1) / (d[i + 1] * d[j + 1]);
  bool row_done[MATINV_MAXN] = {}, col_done[MATINV_MAXN] = {};
  double first = 0.0;
  for (int step = 0; step < n; ++step) {
    double big = -1.0;
    int r = 0, c = 0;
    for (int i = 0; i < n; ++i) {
      if (row_done[i]) continue;
      for (int j = 0; j < n; ++j)
        if (!col_done[j] && std::abs(S[i][j]) > big) big = std::abs(S[i][j]), r = i, c = j;
    }
    if (step == 0) first = big;
    if (!(big > SCALED_PIVOT_MIN * first)) return true;
    row_done[r] = col_done[c] = true;
    for (int i = 0; i < n; ++i) {
      if (row_done[i]) continue;
      const double f = S[i][c] / S[r][c];
      for (int j = 0; j < n; ++j)
        if (!col_done[j]) S[i][j] -= f * S[r][j];
    }
  }
  return false;
}

void MATINVS(double* a, int n, int ld, int& ierr) {
  ierr = 0;
  if (SCALED_SINGULAR(a, n, ld)) {
    ierr = 1;
    return;
  }
  MATINV(a, n, ld, ierr);
}

void MATVEC6N(double* y, const double* a, const double* x, int n) {
  for (int c = 0; c < n; ++c) {
    double xc[6];
    for (int j = 0; j < 6; ++j) xc[j] = x[6 * c + j];
    double yc[6];
    for (int i = 0; i < 6; ++i) yc[i] = a[i] * xc[0];
    for (int j = 1; j < 6; ++j)
      for (int i = 0; i < 6; ++i) yc[i] += a[6 * j + i] * xc[j];
    for (int i = 0; i < 6; ++i) y[6 * c + i] = yc[i];
  }
}

void MATVEC6(double* y, const double* a, const double* x) { MATVEC6N(y, a, x, 1); }

void MATVEC12(double* y, const double* a, const double* x) {
  for (int i = 0; i < 12; ++i) y[i] = a[i] * x[0];
  for (int j = 1; j < 12; ++j)
    for (int i = 0; i < 12; ++i) y[i] += a[12 * j + i] * x[j];
}

void DNORM(const double* v, double& t, double& r) {
  t = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  r = std::sqrt(v[3] * v[3] + v[4] * v[4] + v[5] * v[5]);
}

void DMAX(const double* v, double& t, double& r) {
  t = std::max({std::abs(v[0]), std::abs(v[1]), std::abs(v[2])});
  r = std::max({std::abs(v[3]), std::abs(v[4]), std::abs(v[5])});
}

void VNEG6(const double* a, double* b) {
  for (int i = 0; i < 6; ++i) b[i] = -a[i];
}

}  // namespace torva
