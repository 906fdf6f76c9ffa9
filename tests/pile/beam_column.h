// The exact deflection of a finite elastic beam-column on a Winkler foundation,
//   EI y'''' + P(x) y'' + k(x) y = 0   on 0 <= x <= L   (P compression positive),
// with P and k constant on each of a few segments, for the closed-form checks of the
// lateral pile solutions.
//
// On a segment the characteristic equation EI r^4 + P r^2 + k = 0 has four roots r_j;
// y = Re sum_j C_j exp(r_j xi) with xi the distance from the segment's start (from its
// end for a root with a positive real part, so every term stays bounded on a long
// segment). The coefficients follow from two conditions at the head, two at the tip and,
// between segments, the continuity of y, y', y'' and y''' (the equation carries P y'',
// so y'''' alone jumps where P or k changes). Each condition is a combination
// c0 y + c1 y' + c2 y'' + c3 y''' = rhs at its end.
#pragma once

#include <cmath>
#include <complex>
#include <cstddef>
#include <utility>
#include <vector>

namespace torva::testing {

struct BcSegment {
  double len, P, k;
};

struct EndCondition {
  double c[4];
  double rhs;
};

class BeamColumn {
 public:
  using cd = std::complex<double>;

  BeamColumn(double EI, std::vector<BcSegment> segs, const EndCondition head[2],
             const EndCondition tip[2])
      : EI_(EI), segs_(std::move(segs)) {
    const std::size_t ns = segs_.size(), n = 4 * ns;
    double x0 = 0.0;
    for (const BcSegment& s : segs_) {
      Seg g;
      g.x0 = x0;
      g.len = s.len;
      g.k = s.k;
      x0 += s.len;
      // r^2 = (-P +- sqrt(P^2 - 4 EI k)) / (2 EI)
      const cd disc = std::sqrt(cd(s.P * s.P - 4.0 * EI * s.k, 0.0));
      const cd r2[2] = {(-s.P + disc) / (2.0 * EI), (-s.P - disc) / (2.0 * EI)};
      for (int j = 0; j < 4; ++j) {
        g.r[j] = (j % 2 == 0 ? 1.0 : -1.0) * std::sqrt(r2[j / 2]);
        g.shift[j] = g.r[j].real() > 0.0 ? s.len : 0.0;
      }
      seg_.push_back(g);
    }
    // One row per condition, one column per coefficient.
    std::vector<cd> A(n * n, 0.0), b(n, 0.0);
    std::size_t row = 0;
    auto put = [&](std::size_t si, double xi, const double c[4], double sign) {
      for (int j = 0; j < 4; ++j) {
        const cd e = std::exp(seg_[si].r[j] * (xi - seg_[si].shift[j]));
        cd v = 0.0, rp = 1.0;
        for (int d = 0; d < 4; ++d, rp *= seg_[si].r[j]) v += c[d] * rp;
        A[row * n + 4 * si + std::size_t(j)] += sign * v * e;
      }
    };
    for (int i = 0; i < 2; ++i, ++row) {
      put(0, 0.0, head[i].c, 1.0);
      b[row] = head[i].rhs;
    }
    for (std::size_t si = 0; si + 1 < ns; ++si)
      for (int d = 0; d < 4; ++d, ++row) {
        double c[4] = {0, 0, 0, 0};
        c[d] = 1.0;
        put(si, seg_[si].len, c, 1.0);
        put(si + 1, 0.0, c, -1.0);
      }
    for (int i = 0; i < 2; ++i, ++row) {
      put(ns - 1, seg_[ns - 1].len, tip[i].c, 1.0);
      b[row] = tip[i].rhs;
    }
    solve(A, b, n);
    for (std::size_t si = 0; si < ns; ++si)
      for (int j = 0; j < 4; ++j) seg_[si].C[j] = b[4 * si + std::size_t(j)];
  }

  // The derivative of order d (0 to 3) of the deflection at x.
  double d(int order, double x) const {
    const Seg& g = seg_at(x);
    cd v = 0.0;
    for (int j = 0; j < 4; ++j)
      v += g.C[j] * std::pow(g.r[j], order) * std::exp(g.r[j] * (x - g.x0 - g.shift[j]));
    return v.real();
  }

  // The soil reaction over the whole length, the integral of k y.
  double soil_force() const {
    double sum = 0.0;
    for (const Seg& g : seg_) {
      cd v = 0.0;
      for (int j = 0; j < 4; ++j)
        v += g.C[j] / g.r[j] *
             (std::exp(g.r[j] * (g.len - g.shift[j])) - std::exp(-g.r[j] * g.shift[j]));
      sum += g.k * v.real();
    }
    return sum;
  }

  // The head moment -EI y''(0), the sign of the pile solutions' head values.
  double head_moment() const { return -EI_ * d(2, 0.0); }

 private:
  struct Seg {
    double x0 = 0, len = 0, k = 0;
    cd r[4], C[4];
    double shift[4];
  };
  const Seg& seg_at(double x) const {
    for (const Seg& g : seg_)
      if (x <= g.x0 + g.len) return g;
    return seg_.back();
  }
  // Gaussian elimination with partial pivoting; the solution replaces b.
  static void solve(std::vector<cd>& A, std::vector<cd>& b, std::size_t n) {
    for (std::size_t c = 0; c < n; ++c) {
      std::size_t p = c;
      for (std::size_t r = c + 1; r < n; ++r)
        if (std::abs(A[r * n + c]) > std::abs(A[p * n + c])) p = r;
      if (p != c) {
        for (std::size_t j = 0; j < n; ++j) std::swap(A[c * n + j], A[p * n + j]);
        std::swap(b[c], b[p]);
      }
      for (std::size_t r = c + 1; r < n; ++r) {
        const cd f = A[r * n + c] / A[c * n + c];
        for (std::size_t j = c; j < n; ++j) A[r * n + j] -= f * A[c * n + j];
        b[r] -= f * b[c];
      }
    }
    for (std::size_t c = n; c-- > 0;) {
      for (std::size_t j = c + 1; j < n; ++j) b[c] -= A[c * n + j] * b[j];
      b[c] /= A[c * n + c];
    }
  }
  double EI_;
  std::vector<BcSegment> segs_;
  std::vector<Seg> seg_;
};

}  // namespace torva::testing
